// The trade window: the offers kept by the game state shown side by side, looked at, accepted or closed.
#include "screen/ContentWindowsTrade.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "screen/ContentWindowsObjects.h"
#include "screen/ContentWindowsSide.h"
#include "screen/Help.h"
#include "screen/MessageTexts.h"
#include "state/Inventory.h"
#include "state/Objects.h"
#include "state/Status.h"

#include <algorithm>

namespace {

constexpr int32_t CELL_SIZE = 34;
constexpr int32_t PITCH = 36; // of columns and rows
constexpr int32_t COLUMNS = 2;
constexpr int32_t OBJECT_SIZE = 32;
constexpr int32_t FIRST_CELL_X[2] = {3, 82}, FIRST_CELL_Y = 3;
constexpr int32_t HEADER_HEIGHT = 12, CONTROLS_HEIGHT = 26;

int32_t OfferCount(int32_t Side) { return Side == 0 ? GetOwnOfferCount() : GetCounterOfferCount(); }

TObject OfferObject(int32_t Side, int32_t Index) {
    TObject Object;
    if (Side == 0)
        GetOwnOfferObject(Object, Index);
    else
        GetCounterOfferObject(Object, Index);
    return Object;
}

// Skin 7 over the whole strip, the children above it.
void DrawStrip(TParentComponent& Strip, int32_t Surface, int32_t X, int32_t Y) {
    if (Strip.getWidth() > 0 && Strip.getHeight() > 0)
        DrawSkin(Surface, X, Y, Strip.getWidth(), Strip.getHeight(), SKIN_PANEL_BACKGROUND, 0, 0);
    Strip.TParentComponent::draw(Surface, X, Y);
}

// Deletes a child that may be the one whose handler is running.
template <typename T> void Drop(T*& Child) {
    if (Child != nullptr) DeleteLater(Child);
    Child = nullptr;
}

} // namespace

// ---- TTradeOffers ----

TTradeOffers::TTradeOffers()
    : ScrollBox(new TVerticalScrollBox(0, 0, 12, 38, 0, 0, 0, 0, 10)), Separator(new TSeparator(false)) {
    addChild(ScrollBox);
    addChild(Separator);
}

int32_t TTradeOffers::getMinimumHeight() const { return ScrollBox->getMinimumHeight(); }

int32_t TTradeOffers::getContentHeight() const {
    const int32_t Rows = (std::max(GetOwnOfferCount(), GetCounterOfferCount()) + COLUMNS - 1) / COLUMNS;
    return std::max(PITCH * Rows + 4, getMinimumHeight());
}

void TTradeOffers::setSize(int32_t _Width, int32_t _Height) try {
    TParentComponent::setSize(_Width, _Height);
    if (Width <= 0 || Height <= 0) return;
    placeChild(ScrollBox, Width - ScrollBox->getWidth(), 0, ScrollBox->getWidth(), 0);
    placeChild(Separator, SkinProperties.TradeWindow.SeparatorX, 0, SkinProperties.TradeWindow.SeparatorWidth,
               0);
    arrange();
}
CATCH_FRAME(_Width, _Height)

void TTradeOffers::arrange() try {
    TParentComponent::arrange();
    const int32_t Maximum = std::max(getContentHeight(), Height) - Height;
    ScrollBox->getBar()->setRange(0, Maximum, ScrollBox->getBar()->_Value, Height);
}
CATCH_FRAME()

void TTradeOffers::draw(int32_t Surface, int32_t X, int32_t Y) try {
    CHECK_TEXT(X >= 0, "x>=0", X);
    CHECK_TEXT(Y >= 0, "y>=0", Y);
    const int32_t Scroll = ScrollBox->getBar()->_Value;
    const int32_t GridWidth = Width - ScrollBox->getWidth();
    const int32_t TileHeight = GetSkin(SKIN_PANEL_BACKGROUND).Height;
    if (GridWidth > 0 && Height > 0)
        DrawSkin(Surface, X, Y, GridWidth, Height, SKIN_PANEL_BACKGROUND, 0,
                 TileHeight > 0 ? Scroll % TileHeight : 0);
    TParentComponent::draw(Surface, X, Y);
    drawSide(Surface, X, Y, 0);
    drawSide(Surface, X, Y, 1);
}
CATCH_FRAME(X, Y)

void TTradeOffers::drawSide(int32_t Surface, int32_t X, int32_t Y, int32_t Side) const {
    const int32_t Scroll = ScrollBox->getBar()->_Value;
    const int32_t Count = OfferCount(Side);
    for (int32_t i = 0; i < Count; i++) {
        const int32_t Column = i % COLUMNS, Row = i / COLUMNS;
        const int32_t Top = FIRST_CELL_Y + PITCH * Row - Scroll;
        const int32_t Left = FIRST_CELL_X[Side] + PITCH * Column;
        if (Top + CELL_SIZE <= 0 || Top > Height - 1) continue;
        const int32_t DestY = std::max(Top, 0);
        CHECK_TEXT(X + Left >= 0, "x+DestX>=0", X + Left);
        CHECK_TEXT(Y + DestY >= 0, "y+DestY>=0", Y + DestY);
        // A cell cut by the bottom edge is cut there too, so it never spills over the buttons.
        DrawSkin(Surface, X + Left, Y + DestY, CELL_SIZE, std::min(Top + CELL_SIZE, Height) - DestY,
                 SKIN_OBJECT_CELL, 0, 0);
        DrawObject(Surface, X + Left + 1, Y + Top + 1, OBJECT_SIZE, OfferObject(Side, i), 0, 0, 0, X, Y,
                   Width, Height, TTextFormat{2, 192, 192, 192, RIGHT_ALIGN}, false);
    }
}

void TTradeOffers::getObjectAt(int32_t X, int32_t Y, int32_t& Side, int32_t& Index) const {
    const int32_t Scroll = ScrollBox->getBar()->_Value;
    for (Side = 0; Side < 2; Side++) {
        const int32_t dx = X - FIRST_CELL_X[Side], dy = Y + Scroll - FIRST_CELL_Y;
        if (dx < 0 || dy < 0) continue;
        const int32_t Column = dx / PITCH, Row = dy / PITCH;
        if (Column >= COLUMNS || dx - PITCH * Column > CELL_SIZE || dy - PITCH * Row > CELL_SIZE) continue;
        Index = COLUMNS * Row + Column;
        if (Index < OfferCount(Side)) return;
    }
    Side = Index = -1;
}

bool TTradeOffers::look(int32_t X, int32_t Y) {
    const int32_t State = GetActionState();
    if (State == ACTIONSTATE_DRAG || State == ACTIONSTATE_USEWITH || State == ACTIONSTATE_TRADEWITH)
        return true;
    int32_t Side, Index;
    getObjectAt(X, Y, Side, Index);
    if (Side >= 0) SendLookTrade(Side, Index);
    return true;
}

bool TTradeOffers::leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) try {
    TParentComponent::leftButtonDown(X, Y, Flags);
    return true;
}
CATCH_FRAME(X, Y)

bool TTradeOffers::leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) try {
    return TParentComponent::leftButtonUp(X, Y, Flags) || look(X, Y);
}
CATCH_FRAME(X, Y)

bool TTradeOffers::rightClick(int32_t X, int32_t Y, uint32_t Flags) try {
    return TParentComponent::rightClick(X, Y, Flags) || look(X, Y);
}
CATCH_FRAME(X, Y)

bool TTradeOffers::mouseScroll(int32_t X, int32_t Y, uint32_t Kind) try {
    if (TParentComponent::mouseScroll(X, Y, Kind)) return true;
    if (Kind != 1 && Kind != 2) return false;
    return ScrollBox->mouseScroll(X - ScrollBox->X, Y - ScrollBox->Y, Kind);
}
CATCH_FRAME(X, Y)

// ---- TTradeHeader ----

TTradeHeader::TTradeHeader() : Separator(new TSeparator(true)) {
    const TTextFormat& F = SkinProperties.TradeWindow.HeaderFormat;
    for (TTextLabel** Label : {&OwnLabel, &PartnerLabel}) {
        *Label = new TTextLabel(0, 0, 1, 1, F.Font, F.Red, F.Green, F.Blue, F.Alignment, "", false);
        addChild(*Label);
    }
    addChild(Separator);
}

void TTradeHeader::setSize(int32_t _Width, int32_t _Height) try {
    TParentComponent::setSize(_Width, _Height);
    if (Width <= 0 || Height <= 0) return;
    const TSkinRectangle& Own = SkinProperties.TradeWindow.OwnLabel;
    const TSkinRectangle& Partner = SkinProperties.TradeWindow.PartnerLabel;
    placeChild(OwnLabel, Own.x, Own.y, Own.width, Own.height);
    placeChild(PartnerLabel, Partner.x, Partner.y, Partner.width, Partner.height);
    placeChild(Separator, 0, -2, 0, 2);
}
CATCH_FRAME(_Width, _Height)

void TTradeHeader::arrange() try {
    TParentComponent::arrange();
    if (GetOwnOfferCount() > 0) OwnLabel->setText(GetOwnOffer().Name, false);
    if (GetCounterOfferCount() > 0) PartnerLabel->setText(GetCounterOffer().Name, false);
}
CATCH_FRAME()

void TTradeHeader::draw(int32_t Surface, int32_t X, int32_t Y) { DrawStrip(*this, Surface, X, Y); }

// ---- TTradeControls ----

TTradeControls::TTradeControls() : Separator(new TSeparator(true)) {
    addChild(Separator);
    setLabel(MessageTexts[TEXT_WAIT_FOR_COUNTEROFFER]);
}

void TTradeControls::setLabel(const char* Text) {
    Drop(Label);
    Label = new TTextLabel(4, 4, 113, 20, 3, 255, 255, 255, CENTER_ALIGN, Text, false);
    addChild(Label);
}

void TTradeControls::setSize(int32_t _Width, int32_t _Height) try {
    TParentComponent::setSize(_Width, _Height);
    if (Width <= 0 || Height <= 0) return;
    placeChild(Separator, 0, 0, 0, 2);
    if (CloseButton != nullptr) moveChild(CloseButton, 121, 4);
    if (AcceptButton != nullptr) moveChild(AcceptButton, 74, 4);
    if (Label != nullptr) placeChild(Label, 4, 4, 113, 20);
}
CATCH_FRAME(_Width, _Height)

void TTradeControls::draw(int32_t Surface, int32_t X, int32_t Y) { DrawStrip(*this, Surface, X, Y); }

void TTradeControls::setCloseButton(bool Cancel) try {
    Drop(CloseButton);
    CloseButton =
        new TTextButton(0, 0, Cancel ? "Cancel" : "Reject", CloseBinding.Target, CloseBinding.Identifier,
                        MessageTexts[Cancel ? TEXT_TIP_CANCEL_OFFER : TEXT_TIP_REJECT_OFFER]);
    addChild(CloseButton);
    resize();
}
CATCH_FRAME()

void TTradeControls::showAccept(TComponent* EventComponent) try {
    CHECK_TEXT(EventComponent != nullptr, "EventComponent!=NULL");
    setCloseButton(false);
    Drop(Label);
    // A second report of the partner's offer replaces the button rather than stacking another.
    Drop(AcceptButton);
    AcceptButton =
        new TTextButton(0, 0, "Accept", EventComponent, TRADE_ACCEPT, MessageTexts[TEXT_TIP_ACCEPT_OFFER]);
    addChild(AcceptButton);
    resize();
    arrange();
}
CATCH_FRAME()

void TTradeControls::showWaiting() try {
    Drop(AcceptButton);
    setLabel(MessageTexts[TEXT_WAIT_FOR_ACCEPT]);
    resize();
    arrange();
}
CATCH_FRAME()

// ---- TTradeWindow ----

TTradeWindow::TTradeWindow()
    : Controls(new TTradeControls), Offers(new TTradeOffers), Header(new TTradeHeader) {
    addChild(Controls);
    addChild(Offers);
    addChild(Header);
    setSize(SkinProperties.TradeWindow.Width, SkinProperties.TradeWindow.Height);
}

TTradeWindow::~TTradeWindow() {
    if (GetOwnOfferCount() > 0) SendCloseTrade();
    ClearOffers();
}

int32_t TTradeWindow::getMinimumHeight() const {
    return std::max(SkinProperties.TradeWindow.MinimumHeight, Offers->getMinimumHeight());
}

int32_t TTradeWindow::getMaximumHeight() const {
    return Offers->getContentHeight() + HEADER_HEIGHT + CONTROLS_HEIGHT;
}

void TTradeWindow::setSize(int32_t _Width, int32_t _Height) try {
    const int32_t Minimum = getMinimumHeight(), Maximum = getMaximumHeight();
    TComponent::setSize(_Width, std::clamp(_Height, std::min(Minimum, Maximum), Maximum));
    placeChild(Header, 0, 0, 0, HEADER_HEIGHT);
    placeChild(Offers, 0, HEADER_HEIGHT, 0, -CONTROLS_HEIGHT);
    placeChild(Controls, 0, -CONTROLS_HEIGHT, 0, 0);
    arrange();
}
CATCH_FRAME(_Width, _Height)

void TTradeWindow::draw(int32_t Surface, int32_t X, int32_t Y) {
    if (!isMinimized()) TSideWindowBody::draw(Surface, X, Y);
}

bool TTradeWindow::leftDoubleClick(int32_t, int32_t, uint32_t) { return true; }

bool TTradeWindow::getHelpContext(int32_t, int32_t) { return SetSideWindowHelp(this, HELP_TRADE); }

void TTradeWindow::handleEvent(int32_t Event) try {
    switch (static_cast<TRADE_COMMAND>(Event)) {
    case TRADE_COUNTEROFFER:
        Controls->showAccept(this);
        arrange();
        break;
    case TRADE_ACCEPT:
        SendAcceptTrade();
        Controls->showWaiting();
        arrange();
        break;
    }
}
CATCH_FRAME(Event)

TDialogWindow* CreateTradeWindow() try {
    auto* Body = new TTradeWindow;
    TDialogWindow* Window = FrameSideWindow(TRADE_WINDOW, Body, "Trade", 145);
    Body->Controls->CloseBinding = TNotification(Window, DIALOGWINDOW_CLOSE);
    Body->Controls->setCloseButton(true);
    Window->arrange();
    return Window;
}
CATCH_FRAME()

// ---- Entry points of the game messages ----

namespace {

TTradeWindow* FindTradeBody(TWindowColumn* DialogWindow) {
    CHECK_TEXT(DialogWindow != nullptr, "DialogWindow!=NULL");
    auto* Window = dynamic_cast<TDialogWindow*>(DialogWindow->findWindow(TRADE_WINDOW));
    return Window != nullptr ? dynamic_cast<TTradeWindow*>(Window->Body) : nullptr;
}

} // namespace

TDialogWindow* OpenTradeWindow(TWindowColumn* DialogWindow) try {
    CHECK_TEXT(DialogWindow != nullptr, "DialogWindow!=NULL");
    CHECK_TEXT(!DialogWindow->hasContentWindow(TRADE_WINDOW),
               "!DialogWindow->hasContentWindow(TRADE_WINDOW)");
    TDialogWindow* Window = CreateTradeWindow();
    DialogWindow->rearrange(TWindowColumn::ADD, Window);
    return Window;
}
CATCH_FRAME()

void RefreshTradeWindow(TWindowColumn* DialogWindow) try {
    if (TTradeWindow* Body = FindTradeBody(DialogWindow)) Body->handleEvent(TRADE_COUNTEROFFER);
}
CATCH_FRAME()

void CloseTradeWindow(TWindowColumn* DialogWindow) try {
    CHECK_TEXT(DialogWindow != nullptr, "DialogWindow!=NULL");
    // The trade is over on the server: no close goes back.
    ClearOffers();
    if (TContentWindow* Window = DialogWindow->findWindow(TRADE_WINDOW)) DialogWindow->closeWindow(Window);
}
CATCH_FRAME()
