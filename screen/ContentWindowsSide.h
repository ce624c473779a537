// The parts the framed side-window bodies share: the framing of a body into its side window, and the
// scrolled list body with its scroll box at the right edge.
#pragma once

#include "gui/DialogElementsScroll.h"
#include "gui/DialogWindow.h"

#include <cstdint>

// Frames Body as a resizable side window without background: close and minimize buttons, Icon and the
// title, 176 wide and as high as the border plus the body's default height. The window owns the body.
// Container windows take the two buttons alone.
TDialogWindow* FrameSideWindow(int32_t Identifier, TSideWindowBody* Body, const char* Title, int32_t Icon);
void AddTitleButtons(TDialogWindow* Window);

// Sets help context Context over the whole framed window that holds Body (checks "Parent!=NULL").
bool SetSideWindowHelp(const TComponent* Body, int32_t Context);

// The status keeps the tool tip it is given without owning it: a body that goes withdraws its text.
void ReleaseTooltip(const char* Text);

// A body that lists lines above SKIN_PANEL_BACKGROUND and scrolls them with a box at its right edge.
class TScrolledListBody : public TSideWindowBody {
public:
    // LineHeight: the height of one line, the least useful body height.
    TScrolledListBody(int32_t LineHeight, int32_t ButtonStep);

    // Checks "ScrollbarX>0"; the box goes to the right edge at full height.
    void setSize(int32_t _Width, int32_t _Height) override;
    // Scroll range 0..max(content, page) - page, the value kept within it.
    void arrange() override;
    int32_t getMinimumHeight() const override;
    // Wheel steps that no child takes go to the scroll box.
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override;
    bool leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) override; // taken; nothing happens

    int32_t getScrollValue() const { return ScrollBox->getBar()->_Value; }
    // The width of the line area: the body less the scroll box.
    int32_t getListWidth() const { return Width - ScrollBox->getWidth(); }

    TVerticalScrollBox* ScrollBox;
    int32_t LineHeight;

protected:
    // The height the scroll box pages through.
    virtual int32_t getPageHeight() const { return Height; }
    // The height remembered for content-window Kind, else the content height; at least the minimum.
    int32_t getRememberedHeight(int32_t Kind) const;
    // Checks "x>=0" and "y>=0"; tiles SKIN_PANEL_BACKGROUND over the line area, its phase following the
    // scroll value.
    void drawBackground(int32_t Surface, int32_t X, int32_t Y) const;
};
