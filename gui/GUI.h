// The component tree of the GUI toolkit: components and child lists, pointer routing and capture,
// notification bindings, drawing lists, and the deferred end of components that close themselves.
#pragma once

#include <cstdint>
#include <memory>

class TComponent;

// One entry of a component's drawing list, in pixels relative to the component's top-left corner.
// skin 0 marks an empty entry; width and height both 0 draw the skin once at its own size; srcx and srcy
// shift the tiling pattern of a sized piece.
struct TSkinPiece {
    int32_t skin = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t srcx = 0;
    int32_t srcy = 0;
};

// A widget's way of telling its owner that it was used: firing calls Target->handleEvent(Identifier).
// The binding does not own its target; the target must outlive the widgets pointing at it.
struct TNotification {
    TNotification() = default;
    TNotification(TComponent* Target, int32_t Identifier) : Target(Target), Identifier(Identifier) {}

    // Nothing when Target is NULL.
    void fire() const;

    TComponent* Target = nullptr;
    int32_t Identifier = 0;
};

// The binding that fires nothing.
inline const TNotification EmptyNotification{};

// The base of every window, panel, dialog and widget. Coordinates: X and Y relative to the parent; pointer
// handlers get points relative to the receiving component; draw gets absolute surface coordinates.
// Pointer handlers answer true when they consumed the event. Flags (modifier bits) and Kind (1 wheel
// forward, 2 wheel back, 6 held-button tick) are handed down unchanged.
class TComponent {
public:
    TComponent() = default;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    virtual ~TComponent() = default;

    // Child-list operations; on a component without children each fails with "not possible".
    virtual TComponent* addChild(TComponent* Child);
    virtual TComponent* appendChild(TComponent* Child);
    virtual TComponent* removeChild(TComponent* Child); // the caller owns Child afterwards
    virtual void deleteChild(TComponent* Child);
    virtual TComponent* insertChild(TComponent* After, TComponent* Child);
    virtual void swapChildren(TComponent* Child1, TComponent* Child2);
    virtual bool isChild(const TComponent* Child) const;
    virtual TComponent* getFirstChild() const;
    virtual TComponent* getLastChild() const;

    virtual TComponent* getNext() const { return Next; }
    virtual TComponent* getPrevious() const; // NULL for the head; checks "Parent!=NULL"
    virtual TComponent* getParent() const { return Parent; }
    virtual void setSize(int32_t _Width, int32_t _Height);
    virtual void setPosition(int32_t X, int32_t Y);
    virtual int32_t getMinimumWidth() const { return 0; }
    virtual int32_t getMinimumHeight() const { return 0; }
    virtual void draw(int32_t Surface, int32_t X, int32_t Y);
    virtual void arrange() {}

    virtual bool mouseMove(int32_t X, int32_t Y) = 0;
    virtual bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) = 0;
    virtual bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) = 0;
    virtual bool leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) = 0;
    virtual bool rightClick(int32_t X, int32_t Y, uint32_t Flags) = 0;
    virtual bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) = 0;
    // Hands the tool-tip text of the element under the point to SetTooltip.
    virtual void getToolTip(int32_t X, int32_t Y) = 0;
    // Sets the help context (and its extent) of the element under the point; true when one answered.
    virtual bool getHelpContext(int32_t X, int32_t Y) = 0;
    virtual void keyPressed(int32_t /*Key*/) {}
    virtual void handleEvent(int32_t /*Identifier*/) {}
    virtual void parentMoved() {}
    virtual void setCapture(TComponent* Component) = 0;
    virtual void releaseCapture(TComponent* Component) = 0;
    virtual void cancelCapture() = 0;

    int32_t getWidth() const { return Width; }
    int32_t getHeight() const { return Height; }

    // Draws the drawing list with the component's top-left corner at (X, Y) of Surface.
    void drawDrawingList(int32_t Surface, int32_t X, int32_t Y);

    // Read directly by the toolkit. Parent is set exactly while the component is in a child list; Next is
    // NULL whenever Parent is. Width and Height are never negative.
    std::unique_ptr<TSkinPiece[]> DrawingList; // owned; NULL when there are no pieces
    int32_t DrawingListLength = 0;
    TComponent* Parent = nullptr;
    TComponent* Next = nullptr;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Width = 0;
    int32_t Height = 0;

protected:
    // Replaces the drawing list by Length empty pieces.
    void allocateDrawingList(int32_t Length);
};

// A component that never has children. It consumes every pointer event; a double click is a second
// press; capture requests go up to the parent.
class TLeafComponent : public TComponent {
public:
    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override;
    void getToolTip(int32_t X, int32_t Y) override;
    bool getHelpContext(int32_t X, int32_t Y) override;
    // A leaf that wants the mouse calls setCapture on itself; the argument is not used.
    void setCapture(TComponent* Component) override;
    void releaseCapture(TComponent* Component) override;
    void cancelCapture() override {}
};

// A component that owns an ordered, singly linked child list. The head is drawn first (beneath its
// siblings) and asked first for pointer events. Capture is NULL or the child on the path to the component
// that holds the mouse.
class TParentComponent : public TComponent {
public:
    ~TParentComponent() override; // deletes the children head first, each unlinked first

    TComponent* addChild(TComponent* Child) override;
    TComponent* appendChild(TComponent* Child) override;
    TComponent* removeChild(TComponent* Child) override;
    void deleteChild(TComponent* Child) override;
    TComponent* insertChild(TComponent* After, TComponent* Child) override; // After NULL: at the head
    void swapChildren(TComponent* Child1, TComponent* Child2) override;
    bool isChild(const TComponent* Child) const override;
    TComponent* getFirstChild() const override { return FirstChild; }
    TComponent* getLastChild() const override;

    void setPosition(int32_t X, int32_t Y) override; // then parentMoved() of every child
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void arrange() override;

    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override;
    void getToolTip(int32_t X, int32_t Y) override;
    bool getHelpContext(int32_t X, int32_t Y) override;
    void setCapture(TComponent* Component) override;
    void releaseCapture(TComponent* Component) override;
    void cancelCapture() override; // clears the chain below, not above

    virtual TComponent* getCapture() const { return Capture; }
    // A negative X or Y counts from the right or bottom edge.
    virtual void moveChild(TComponent* Child, int32_t X, int32_t Y);
    // As moveChild; a Width or Height of 0 or less stretches to that edge less its amount.
    virtual void placeChild(TComponent* Child, int32_t X, int32_t Y, int32_t Width, int32_t Height);
    virtual void fitToChildren(bool Virtual);
    // Moves the children |Left|, |Top| in from the edges and sizes the container to their extent plus the
    // margins' amounts, at least its minimum size. Virtual: through the overridable setSize.
    virtual void fitToChildren(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, bool Virtual);
    // Sizes the container to Child plus the margins that lie outside it; the child is not moved.
    virtual void fitToChild(TComponent* Child, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom,
                            bool Virtual);
    // Cuts the children to the container; children left with a negative size, or with any part outside
    // when DeleteOutside, are deleted.
    virtual void clipChildren(bool DeleteOutside);

    TComponent* FirstChild = nullptr;
    TComponent* Capture = nullptr;

private:
    // Gives a pointer event to the capturing child, else to the children under the point, head first,
    // until one consumes it.
    template <typename Handler> bool route(int32_t X, int32_t Y, Handler&& Call);
    TComponent* findChildAt(int32_t X, int32_t Y) const;
    TComponent* findPredecessor(TComponent* Child, bool& Found) const;
};

// Tiles Skin over the rectangle (X, Y, Width, Height) of Surface as DrawSkin does, drawing only what falls
// inside the clip rectangle. OffsetX and OffsetY shift the pattern of the first column and row.
void DrawSkinClipped(int32_t Surface, int32_t X, int32_t Y, int32_t Width, int32_t Height, int32_t Skin,
                     int32_t ClipX, int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight, int32_t OffsetX,
                     int32_t OffsetY);

// True when (X, Y), in the parent's coordinates, lies on Child (last column and row included).
bool HitsChild(const TComponent* Child, int32_t X, int32_t Y);

// Marks the span of an event handler. Components and timers given to DeleteLater while one is open end
// when the outermost one closes. The routed pointer handlers, notifications, UpdateTimers and
// FireShortcut open one; the client control opens one around each input entry and tick.
class TEventScope {
public:
    TEventScope();
    ~TEventScope();
    TEventScope(const TEventScope&) = delete;
    TEventScope& operator=(const TEventScope&) = delete;
};

// Ends a component that closes itself (or one on the stack of the running handler) safely: it is unlinked
// from its parent at once, releasing any capture it holds, so no further input reaches it, and deleted
// when the outermost event scope closes (at once outside any handler). The toolkit owns it from here on.
// deleteChild stays immediate.
void DeleteLater(TComponent* Component);
