// Content windows of the side bar and the framed side windows: dragging, frame, title places, resizing,
// minimize and restore.
#include "gui/DialogWindow.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"
#include "state/Preferences.h"

#include <algorithm>

namespace {

int32_t SkinWidth(int32_t Skin) { return GetSkin(Skin).Width; }
int32_t SkinHeight(int32_t Skin) { return GetSkin(Skin).Height; }

// The phase follows Y, so the tiles of stacked windows line up wherever the column puts them.
int32_t PhaseAt(int32_t Y) {
    const int32_t TileHeight = SkinHeight(SKIN_PANEL_BACKGROUND);
    return TileHeight > 0 ? Y % TileHeight : 0;
}

} // namespace

// ---- TContentWindow ----

TContentWindow::TContentWindow(int32_t _Identifier, bool Background)
    : Identifier(_Identifier), Background(Background) {}

TWindowColumn* TContentWindow::getColumn() const { return dynamic_cast<TWindowColumn*>(Parent); }

void TContentWindow::draw(int32_t Surface, int32_t X, int32_t Y) try {
    if (Background) {
        CHECK_TEXT(X >= 0, "x>=0", X);
        CHECK_TEXT(Y >= 0, "y>=0", Y);
        DrawSkin(Surface, X, Y, Width, Height, SKIN_PANEL_BACKGROUND, 0, BackgroundPhase);
    }
    TParentComponent::draw(Surface, X, Y);
}
CATCH_FRAME(X, Y)

void TContentWindow::arrange() try {
    TParentComponent::arrange();
    BackgroundPhase = PhaseAt(Y);
}
CATCH_FRAME()

void TContentWindow::setPosition(int32_t X, int32_t Y) try {
    TParentComponent::setPosition(X, Y);
    BackgroundPhase = PhaseAt(Y);
}
CATCH_FRAME(X, Y)

bool TContentWindow::leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TParentComponent::leftButtonDown(X, Y, Flags)) return true;
    Dragging = true;
    setCapture(nullptr); // the column now routes every pointer event here
    GrabX = X;
    GrabY = Y;
    return true;
}
CATCH_FRAME(X, Y)

bool TContentWindow::mouseMove(int32_t X, int32_t Y) try {
    if (!Dragging) return TParentComponent::mouseMove(X, Y);
    TWindowColumn* Column = getColumn();
    int32_t NewY = this->Y - GrabY + Y; // the grab point stays under the pointer
    if (Parent != nullptr) NewY = std::min(NewY, Parent->getHeight() - Height);
    NewY = std::max(NewY, 0); // a window taller than its column stays at the top
    setPosition(this->X, NewY);
    if (Column != nullptr) Column->rearrange(TWindowColumn::DRAG, this);
    return true;
}
CATCH_FRAME(X, Y)

bool TContentWindow::leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) try {
    if (!Dragging) return TParentComponent::leftButtonUp(X, Y, Flags);
    releaseCapture(nullptr); // ends the drag and lets the column place every window again
    return true;
}
CATCH_FRAME(X, Y)

void TContentWindow::endDrag() {
    if (!Dragging) return;
    Dragging = false;
    if (TWindowColumn* Column = getColumn()) Column->rearrange(TWindowColumn::DRAG, nullptr);
}

void TContentWindow::releaseCapture(TComponent* Component) try {
    endDrag();
    TParentComponent::releaseCapture(Component);
}
CATCH_FRAME()

void TContentWindow::cancelCapture() try {
    endDrag();
    TParentComponent::cancelCapture();
}
CATCH_FRAME()

// ---- TSideWindowBody ----

void TSideWindowBody::setSize(int32_t _Width, int32_t _Height) try {
    TParentComponent::setSize(_Width, std::min(_Height, getMaximumHeight()));
}
CATCH_FRAME(_Width, _Height)

int32_t TSideWindowBody::getDefaultHeight() const { return std::max(getContentHeight(), getMinimumHeight()); }

// ---- TDialogWindow ----

int32_t GetDialogWindowBorderHeight() { return SkinHeight(132) + SkinHeight(133); }

TDialogWindow::TDialogWindow(int32_t _Identifier, TSideWindowBody* _Body, bool Resizable, bool Background) try
    : TContentWindow(_Identifier, Background), Body(_Body) {
    allocateDrawingList(8);
    CHECK_TEXT(_Body != nullptr, "_Body!=NULL");
    addChild(Body);
    if (Resizable) {
        GripHandle = new TResizeHandle(this, false, true, false);
        BorderHandle = new TResizeHandle(this, false, true, true);
        appendChild(GripHandle);
        appendChild(BorderHandle);
    }
}
CATCH_FRAME(_Identifier)

TDialogWindow::~TDialogWindow() {
    if (Identifier == SKILLS_WINDOW || Identifier == BATTLE_WINDOW || Identifier == BUDDY_WINDOW)
        SetContentWindow(Identifier, Body->getHeight());
    TComponent* const Owned[] = {Button1, Button2, MinimizeButton, Button4,
                                 Button5, Body,    GripHandle,     BorderHandle};
    for (TComponent* Element : Owned)
        if (Element != nullptr && Element->getParent() != this) delete Element;
}

int32_t TDialogWindow::getMinimumHeight() const try {
    return GetDialogWindowBorderHeight() + (IsMinimized ? 0 : Body->getMinimumHeight());
}
CATCH_FRAME()

void TDialogWindow::placeBodyAndHandles() {
    const TSkinRectangle& B = SkinProperties.SidePanel.Body;
    placeChild(Body, B.x, B.y, B.width, B.height);
    // A body that refused part of its height makes the window lower.
    fitToChild(Body, B.x, B.y, B.width, B.height, false);
    if (GripHandle != nullptr) {
        const TSkinRectangle& G = SkinProperties.SidePanel.GripHandle;
        placeChild(GripHandle, G.x, G.y, G.width, G.height);
    }
    if (BorderHandle != nullptr) {
        const TSkinRectangle& S = SkinProperties.SidePanel.BorderHandle;
        placeChild(BorderHandle, S.x, S.y, S.width, S.height);
    }
}

void TDialogWindow::setSize(int32_t _Width, int32_t _Height) try {
    TWindowColumn* Column = getColumn(); // NULL while the window is built
    int32_t Direction = 0;
    if (!IsMinimized) {
        Direction = _Height > Height ? 1 : _Height < Height ? -1 : 0;
        TComponent::setSize(_Width, std::max(_Height, getMinimumHeight()));
        placeBodyAndHandles();
    } else {
        TComponent::setSize(_Width, SkinProperties.SidePanel.TitleHeight);
    }
    arrange();
    if (Column == nullptr) return;
    if (Direction > 0)
        Column->rearrange(TWindowColumn::GREW, this);
    else if (Direction < 0)
        Column->rearrange(TWindowColumn::SHRANK, this);
    else
        Column->rearrange(TWindowColumn::PLACE_ONLY, nullptr);
    Column->rearrange(TWindowColumn::FIT, nullptr);
}
CATCH_FRAME(_Width, _Height)

void TDialogWindow::arrange() try {
    TContentWindow::arrange();
    if (Identifier >= CONTAINER_WINDOW) {
        CHECK_TEXT(Body != nullptr, "Body!=NULL");
        Body->updateUpButton(this);
    }
    const int32_t W = Width, H = Height;
    auto w = SkinWidth;
    auto h = SkinHeight;
    DrawingList[0] = TSkinPiece{128, 0, 0, 0, 0, 0, 0};
    DrawingList[1] = TSkinPiece{132, w(128), 0, W - w(129) - w(128), h(132), 0, 0};
    DrawingList[2] = TSkinPiece{129, W - w(129), 0, 0, 0, 0, 0};
    DrawingList[3] = TSkinPiece{134, 0, h(128), w(134), H - h(130) - h(128), 0, 0};
    DrawingList[4] = TSkinPiece{135, W - w(135), h(132), w(135), H - h(131) - h(129), 0, 0};
    DrawingList[5] = TSkinPiece{130, 0, H - h(130), 0, 0, 0, 0};
    DrawingList[6] = TSkinPiece{133, w(130), H - h(133), W - w(131) - w(130), h(133), 0, 0};
    DrawingList[7] = TSkinPiece{131, W - w(131), H - h(131), 0, 0, 0, 0};
}
CATCH_FRAME()

TResizeHandle* TDialogWindow::handleAt(int32_t X, int32_t Y) const {
    if (IsMinimized || Dragging || Capture != nullptr) return nullptr;
    for (TResizeHandle* Handle : {GripHandle, BorderHandle})
        if (Handle != nullptr && Handle->getParent() == this && HitsChild(Handle, X, Y)) return Handle;
    return nullptr;
}

// The handles win over the body, which covers the grip's area.
bool TDialogWindow::leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) try {
    TResizeHandle* Handle = handleAt(X, Y);
    if (Handle != nullptr && Handle->leftButtonDown(X - Handle->X, Y - Handle->Y, Flags)) return true;
    return TContentWindow::leftButtonDown(X, Y, Flags);
}
CATCH_FRAME(X, Y)

bool TDialogWindow::mouseMove(int32_t X, int32_t Y) try {
    TResizeHandle* Handle = handleAt(X, Y);
    if (Handle != nullptr && Handle->mouseMove(X - Handle->X, Y - Handle->Y)) return true;
    return TContentWindow::mouseMove(X, Y);
}
CATCH_FRAME(X, Y)

bool TDialogWindow::leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) try {
    if (!TParentComponent::leftDoubleClick(X, Y, Flags)) handleEvent(DIALOGWINDOW_MINIMIZE);
    return true;
}
CATCH_FRAME(X, Y)

void TDialogWindow::handleEvent(int32_t Identifier) try {
    switch (static_cast<DIALOGWINDOW_COMMAND>(Identifier)) {
    case DIALOGWINDOW_CLOSE:
        // The close button's own handler is still running: the column ends the window afterwards.
        if (TWindowColumn* Column = getColumn()) Column->closeWindow(this);
        break;
    case DIALOGWINDOW_MINIMIZE:
        if (IsMinimized)
            restore();
        else
            minimize();
        break;
    }
}
CATCH_FRAME(Identifier)

void TDialogWindow::minimize() try {
    CHECK_TEXT(IsMinimized == false, "IsMinimized==false");
    IsMinimized = true;
    RestoredHeight = Height;
    Body->setMinimized();
    for (TComponent* Element : {static_cast<TComponent*>(GripHandle), static_cast<TComponent*>(BorderHandle),
                                static_cast<TComponent*>(Body)})
        if (Element != nullptr && Element->getParent() == this) removeChild(Element);
    if (MinimizeButton != nullptr) MinimizeButton->setSkins(SKIN_RESTORE, SKIN_RESTORE + 1);
    setSize(Width, SkinProperties.SidePanel.TitleHeight);
}
CATCH_FRAME()

void TDialogWindow::restore() try {
    CHECK_TEXT(IsMinimized == true, "IsMinimized==true");
    IsMinimized = false;
    Body->clearMinimized();
    for (TComponent* Element : {static_cast<TComponent*>(Body), static_cast<TComponent*>(GripHandle),
                                static_cast<TComponent*>(BorderHandle)})
        if (Element != nullptr && Element->getParent() == nullptr) appendChild(Element);
    if (MinimizeButton != nullptr) MinimizeButton->setSkins(SKIN_MINIMIZE, SKIN_MINIMIZE + 1);
    setSize(Width, RestoredHeight);
}
CATCH_FRAME()

void TDialogWindow::replacePlace(TComponent*& Place, TComponent* Element) {
    if (Place != nullptr) {
        if (Place->getParent() == this)
            deleteChild(Place);
        else
            delete Place;
    }
    Place = Element;
    if (Element != nullptr) addChild(Element);
}

void TDialogWindow::setButton1(TComponent* Element) try {
    replacePlace(Button1, Element);
    if (Element != nullptr)
        moveChild(Element, SkinProperties.SidePanel.Button1.x, SkinProperties.SidePanel.Button1.y);
}
CATCH_FRAME()

void TDialogWindow::setButton2(TComponent* Element) try {
    replacePlace(Button2, Element);
    if (Element != nullptr)
        moveChild(Element, SkinProperties.SidePanel.Button2.x, SkinProperties.SidePanel.Button2.y);
}
CATCH_FRAME()

void TDialogWindow::setMinimizeButton(TButton* Element) try {
    TComponent* Place = MinimizeButton;
    replacePlace(Place, Element);
    MinimizeButton = Element;
    const TSkinPoint& P = SkinProperties.SidePanel.MinimizeButton;
    if (Element != nullptr) moveChild(Element, P.x, P.y);
}
CATCH_FRAME()

void TDialogWindow::setButton4(TComponent* Element) try {
    replacePlace(Button4, Element);
    const TSkinRectangle& R = SkinProperties.SidePanel.Button4;
    if (Element != nullptr) placeChild(Element, R.x, R.y, R.width, R.height);
}
CATCH_FRAME()

void TDialogWindow::setButton5(TComponent* Element) try {
    replacePlace(Button5, Element);
    const TSkinRectangle& R = SkinProperties.SidePanel.Button5;
    if (Element != nullptr) placeChild(Element, R.x, R.y, R.width, R.height);
}
CATCH_FRAME()

void TDialogWindow::showButton() try {
    if (Button1 != nullptr && Button1->getParent() == nullptr) addChild(Button1);
}
CATCH_FRAME()

void TDialogWindow::hideButton() try {
    if (Button1 != nullptr && Button1->getParent() == this) removeChild(Button1);
}
CATCH_FRAME()
