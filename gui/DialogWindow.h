// The windows of the side bar: content windows that the player drags within their column, framed side
// windows with title places, resize grips and minimize, and the column that stacks them.
#pragma once

#include "gui/DialogElements.h"
#include "gui/DialogElementsFrame.h"
#include "gui/GUI.h"

#include <cstdint>

class TDialogWindow;
class TWindowColumn;

// Content-window kinds: the identifiers the columns find their windows by. A container window is
// CONTAINER_WINDOW + the container's number.
enum : int32_t {
    INVENTORY_WINDOW = 1,
    SMALL_INVENTORY_WINDOW = 2,
    AUTOMAP_WINDOW = 3,
    STATUS_WINDOW = 4,
    CONTROLS_WINDOW = 5,
    SKILLS_WINDOW = 6,
    BATTLE_WINDOW = 7,
    TRADE_WINDOW = 8,
    BUDDY_WINDOW = 9,
    CONTAINER_WINDOW = 64,
};

// The tile behind the side-bar windows, their lists and the strips of the game screen between its parts.
inline constexpr int32_t SKIN_PANEL_BACKGROUND = 7;

// A window of the side bar. Its parent is a TWindowColumn (or nothing while it is built); a press that no
// child takes starts a drag that moves the window up and down and lets the column reorder the stack.
class TContentWindow : public TParentComponent {
public:
    // Background: SKIN_PANEL_BACKGROUND tiled over the whole window behind everything else.
    TContentWindow(int32_t _Identifier, bool Background);

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void arrange() override;
    void setPosition(int32_t X, int32_t Y) override; // keeps the background phase in step
    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    void releaseCapture(TComponent* Component) override; // ends a drag
    void cancelCapture() override;                       // ends a drag

    // The column this window lives in, NULL while it is in none.
    TWindowColumn* getColumn() const;

    int32_t Identifier;
    int32_t BackgroundPhase = 0; // vertical offset into the background tile, so stacked tiles line up
    bool Background;
    bool Dragging = false;
    int32_t GrabX = 0, GrabY = 0; // the press that started the drag, in window coordinates

private:
    void endDrag();
};

// The content of a framed side window. The window tells it when it is minimized and restored and sizes it;
// its creator asks it for the height to start with.
class TSideWindowBody : public TParentComponent {
public:
    // Keeps the height at or below getMaximumHeight: a body may refuse part of a height it is given.
    void setSize(int32_t _Width, int32_t _Height) override;

    virtual void setMinimized() { Minimized = true; }
    virtual void clearMinimized() { Minimized = false; }
    virtual bool isMinimized() const { return Minimized; }
    // The body height a newly opened window starts with: the content height, at least the minimum.
    virtual int32_t getDefaultHeight() const;
    virtual int32_t getMaximumHeight() const { return INT32_MAX; }
    // The height the whole content needs.
    virtual int32_t getContentHeight() const { return Height; }
    // Called by the arrange of a container window (kind 64 and above): shows or hides the window's
    // "up" button by whether the container has a parent container.
    virtual void updateUpButton(TDialogWindow* /*Window*/) {}

    bool Minimized = false;
};

// Height of a framed window's title bar plus its bottom border (skins 132 and 133).
int32_t GetDialogWindowBorderHeight();

// What a framed side window's title buttons send it.
enum DIALOGWINDOW_COMMAND : int32_t {
    DIALOGWINDOW_MINIMIZE = 9, // minimize or restore
    DIALOGWINDOW_CLOSE = 10,
};

// The faces of the title buttons, each pressed face the skin after it: close; minimize, which shows the
// restore face while the window is minimized.
enum DIALOGWINDOW_SKIN : int32_t {
    SKIN_CLOSE = 136,
    SKIN_MINIMIZE = 138,
    SKIN_RESTORE = 140,
};

// A framed side window: the frame, a title bar of five places (1 extra button, 2 close, the minimize
// button, 4 icon, 5 title), the body, and with Resizable a grip and a border strip that resize it. The
// window owns the body, the handles and the place elements, linked or not.
class TDialogWindow : public TContentWindow {
public:
    TDialogWindow(int32_t _Identifier, TSideWindowBody* _Body, bool Resizable, bool Background);
    // Skills, battle list and VIP list remember their body height for the next opening.
    ~TDialogWindow() override;

    // Not below the minimum height; tells the column whether the window grew or shrank.
    void setSize(int32_t _Width, int32_t _Height) override;
    int32_t getMinimumHeight() const override; // border, plus the body's minimum unless minimized
    void arrange() override;
    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) override; // toggles minimize
    void handleEvent(int32_t Identifier) override;                       // DIALOGWINDOW_COMMAND
    virtual void minimize();
    virtual void restore();

    // Replace the element of a place (the old one is deleted); the window must already have its size.
    void setButton1(TComponent* Element);
    void setButton2(TComponent* Element);
    void setMinimizeButton(TButton* Element);
    void setButton4(TComponent* Element);
    void setButton5(TComponent* Element);
    void showButton(); // links Button1 when it is not
    void hideButton(); // unlinks Button1; the window keeps it

    TSideWindowBody* Body;
    TResizeHandle* GripHandle = nullptr;
    TResizeHandle* BorderHandle = nullptr;
    TComponent* Button1 = nullptr;
    TComponent* Button2 = nullptr;
    TButton* MinimizeButton = nullptr;
    TComponent* Button4 = nullptr;
    TComponent* Button5 = nullptr;
    bool IsMinimized = false;
    int32_t RestoredHeight = 0;

private:
    void replacePlace(TComponent*& Place, TComponent* Element);
    void placeBodyAndHandles();
    // The handle under (X, Y), unless minimized, dragged or a child holds the mouse.
    TResizeHandle* handleAt(int32_t X, int32_t Y) const;
};

// A vertical stack of side-bar windows, top-down from the column's top edge in list order, all as wide as
// the column. Windows that leave room at the bottom get a framed empty area below them. Every change of
// a window re-lays the stack through rearrange.
class TWindowColumn : public TParentComponent {
public:
    TWindowColumn();

    // Strategies of rearrange.
    enum : int32_t {
        DRAG = 1,        // Work is dragged (NULL: the drag ended)
        GREW = 2,        // a window grew: shrink from the bottom
        SHRANK = 4,      // Work shrank: the freed height goes to the last window
        FIT = 8,         // fit everything into the column's height top-down
        ADD = 16,        // make room for Work and append it
        PLACE_ONLY = 32, // only re-place
    };

    // Windows entering take the column's width; these do not re-lay out.
    TComponent* addChild(TComponent* Window) override;
    TComponent* appendChild(TComponent* Window) override;
    TComponent* insertChild(TComponent* After, TComponent* Window) override;
    // Forgets a dragged window as it leaves.
    TComponent* removeChild(TComponent* Window) override;
    // Deletes the window at once and re-places the others.
    void deleteChild(TComponent* Window) override;
    // As deleteChild, safe for a window that closes itself from its own handler: the window ends when
    // the running event ends.
    void closeWindow(TContentWindow* Window);
    void setSize(int32_t Width, int32_t Height) override;
    int32_t getMinimumWidth() const override;
    int32_t getMinimumHeight() const override; // the sum of the windows' heights
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void arrange() override; // the free-area frame

    // Nothing while a rearrangement runs.
    virtual void rearrange(int32_t Strategy, TContentWindow* Work);

    TContentWindow* findWindow(int32_t Identifier) const;
    bool hasContentWindow(int32_t Kind) const { return findWindow(Kind) != nullptr; }
    // Records the open windows below kind 64 in the options, top-down.
    void saveOpenWindows() const;
    // ContentHeight less the windows' heights (negative on overflow); recorded while RecordFreeHeight.
    int32_t getFreeHeight();

    int32_t ContentWidth = 0, ContentHeight = 0;
    TContentWindow* DraggedWindow = nullptr; // not owned
    bool Busy = false;
    int32_t LastFreeHeight = 0;
    bool RecordFreeHeight = true;

private:
    int32_t sumOfHeights() const;
    void placeWindows(bool SkipDragged);
    void dragReorder(TContentWindow* Work);
    bool shrinkToFit();
    void growBelow(TContentWindow* Work);
    void fitTopDown();
    void makeRoom(TContentWindow* Work);
    // Takes a window out inside a layout; it ends when the running event ends.
    void dropWindow(TComponent* Window);
    void runStrategy(int32_t Strategy, TContentWindow* Work);
};
