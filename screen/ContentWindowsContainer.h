// The framed side windows of open containers: a scrollable grid of object cells with drag and drop,
// use-with, look, use and object menu, the "up" button to the parent container, and the entry points by
// which the game's messages open, refresh and close them.
#pragma once

#include "gui/DialogElementsScroll.h"
#include "gui/DialogWindow.h"

#include <cstdint>

// The face of the "up" button to the parent container; its pressed face is the skin after it.
inline constexpr int32_t SKIN_HIGHER_CONTAINER = 126;
// The up button's command to the body: the parent container in the same window.
inline constexpr int32_t CONTAINER_UP = 3;

// The body of container window Container (0 to 15). Its frame (kind CONTAINER_WINDOW + Container) is its
// parent. Deleting the body, for whatever reason, tells the server that the container is closed.
class TContainerWindow : public TSideWindowBody {
public:
    explicit TContainerWindow(int32_t Container);
    ~TContainerWindow() override;

    // Grows at most to the full grid (or the current height, when larger); shrinks freely.
    void setSize(int32_t _Width, int32_t _Height) override;
    int32_t getMinimumHeight() const override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    // Takes count and capacity from the inventory, sets the scroll range and renews the frame's title.
    void arrange() override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) override; // swallowed
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override;
    bool getHelpContext(int32_t X, int32_t Y) override;
    void handleEvent(int32_t Identifier) override; // 3: the parent container, once until answered

    int32_t getContentHeight() const override; // the rows of the objects present
    int32_t getMaximumHeight() const override; // the rows of every place
    void updateUpButton(TDialogWindow* Window) override;

    // Back to the top, re-arranged; after the server sent the container again.
    virtual void refresh();
    // Cell index under the point (body coordinates), or -1 over a gap or beside the grid. OnlyObjects: -1
    // also for a cell that holds no object.
    int32_t getIndexAt(int32_t X, int32_t Y, bool OnlyObjects) const;
    int32_t getScrollOffset() const;

    TVerticalScrollBox* ScrollBox;
    int32_t Container;
    int32_t Count = 0;
    int32_t Capacity = 0;
    bool UpButtonShown = false;
};

// Pixel height of the grid for N cells.
int32_t ContainerGridHeight(int32_t N);

// The framed window of Container, ready to be appended to the column of side windows.
TDialogWindow* CreateContainerWindow(int32_t Container);
// What the game's container messages call, on the main window's column of side windows: opens a window for
// a container that has none (appended, making room), or refreshes the one it has.
void OpenContainerWindow(TWindowColumn& Column, int32_t Container);
// Deletes the container's window when there is one.
void CloseContainerWindow(TWindowColumn& Column, int32_t Container);
