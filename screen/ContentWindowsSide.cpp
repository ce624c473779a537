// The framing of side-window bodies and the scrolled list body they share.
#include "screen/ContentWindowsSide.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "gui/DialogElements.h"
#include "gui/DialogElementsText.h"
#include "gui/DialogElementsViews.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "screen/MessageTexts.h"
#include "state/Preferences.h"
#include "state/Status.h"

#include <algorithm>

TDialogWindow* FrameSideWindow(int32_t Identifier, TSideWindowBody* Body, const char* Title,
                               int32_t Icon) try {
    auto* Window = new TDialogWindow(Identifier, Body, true, false);
    Window->setSize(SkinProperties.SidePanel.Width, GetDialogWindowBorderHeight() + Body->getDefaultHeight());
    AddTitleButtons(Window);
    Window->setButton4(new TSkinImage(Icon));
    const TTextFormat& F = SkinProperties.SidePanel.TitleFormat;
    Window->setButton5(new TTextLabel(F.Font, F.Red, F.Green, F.Blue, F.Alignment, Title));
    Window->arrange();
    return Window;
}
CATCH_FRAME(Identifier)

void AddTitleButtons(TDialogWindow* Window) {
    Window->setButton2(new TButton(0, 0, SKIN_CLOSE, SKIN_CLOSE + 1, Window, DIALOGWINDOW_CLOSE,
                                   MessageTexts[TEXT_TIP_CLOSE_WINDOW], false));
    Window->setMinimizeButton(new TButton(0, 0, SKIN_MINIMIZE, SKIN_MINIMIZE + 1, Window,
                                          DIALOGWINDOW_MINIMIZE, MessageTexts[TEXT_TIP_MINIMISE_WINDOW],
                                          false));
}

bool SetSideWindowHelp(const TComponent* Body, int32_t Context) try {
    const TComponent* Parent = Body->getParent();
    CHECK_TEXT(Parent != nullptr, "Parent!=NULL");
    SetHelpContext(Context);
    SetHelpExtent(Parent->getWidth(), Parent->getHeight());
    MoveHelpOrigin(-Body->X, -Body->Y);
    return true;
}
CATCH_FRAME(Context)

void ReleaseTooltip(const char* Text) {
    if (Text != nullptr && GetTooltip() == Text) SetTooltip(nullptr);
}

TScrolledListBody::TScrolledListBody(int32_t LineHeight, int32_t ButtonStep)
    : ScrollBox(new TVerticalScrollBox(0, 0, 12, 38, 0, 0, 0, 0, ButtonStep)), LineHeight(LineHeight) {
    addChild(ScrollBox);
}

void TScrolledListBody::setSize(int32_t _Width, int32_t _Height) try {
    const int32_t ScrollbarX = _Width - ScrollBox->getWidth();
    CHECK(ScrollbarX > 0, ScrollbarX);
    TSideWindowBody::setSize(_Width, _Height);
    ScrollBox->setPosition(ScrollbarX, 0);
    ScrollBox->setSize(ScrollBox->getWidth(), Height);
    arrange();
}
CATCH_FRAME(_Width, _Height)

void TScrolledListBody::arrange() try {
    TSideWindowBody::arrange();
    const int32_t Page = std::max(getPageHeight(), 0);
    const int32_t Maximum = std::max(getContentHeight(), Page) - Page;
    ScrollBox->getBar()->setRange(0, Maximum, getScrollValue(), Page);
}
CATCH_FRAME()

int32_t TScrolledListBody::getMinimumHeight() const {
    return std::max(LineHeight, ScrollBox->getMinimumHeight());
}

bool TScrolledListBody::mouseScroll(int32_t X, int32_t Y, uint32_t Kind) try {
    if (TSideWindowBody::mouseScroll(X, Y, Kind)) return true;
    if (Kind != 1 && Kind != 2) return false;
    return ScrollBox->mouseScroll(X - ScrollBox->X, Y - ScrollBox->Y, Kind);
}
CATCH_FRAME(X, Y)

bool TScrolledListBody::leftDoubleClick(int32_t, int32_t, uint32_t) { return true; }

int32_t TScrolledListBody::getRememberedHeight(int32_t Kind) const {
    const int32_t Stored = GetContentWindow(Kind);
    return std::max(Stored != 0 ? Stored : getContentHeight(), getMinimumHeight());
}

void TScrolledListBody::drawBackground(int32_t Surface, int32_t X, int32_t Y) const {
    CHECK_TEXT(X >= 0, "x>=0", X);
    CHECK_TEXT(Y >= 0, "y>=0", Y);
    const int32_t TileHeight = GetSkin(SKIN_PANEL_BACKGROUND).Height;
    const int32_t Phase = TileHeight > 0 ? getScrollValue() % TileHeight : 0;
    if (getListWidth() > 0 && Height > 0)
        DrawSkin(Surface, X, Y, getListWidth(), Height, SKIN_PANEL_BACKGROUND, 0, Phase);
}
