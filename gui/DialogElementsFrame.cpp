// The nine-piece window frame and the resize grip.
#include "gui/DialogElementsFrame.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "state/Status.h"

#include <algorithm>

// ---- TWindowFrame ----

TWindowFrame::TWindowFrame(TComponent* _Window, int32_t Inset)
    : TWindowFrame(_Window, 26, 32, 27, 30, 31, 28, 33, 29, 0, Inset) {}

TWindowFrame::TWindowFrame(TComponent* _Window, int32_t TopLeft, int32_t Top, int32_t TopRight, int32_t Left,
                           int32_t Right, int32_t BottomLeft, int32_t Bottom, int32_t BottomRight,
                           int32_t Inset)
    : TWindowFrame(_Window, TopLeft, Top, TopRight, Left, Right, BottomLeft, Bottom, BottomRight, 0, Inset) {}

TWindowFrame::TWindowFrame(TComponent* _Window, int32_t TopLeft, int32_t Top, int32_t TopRight, int32_t Left,
                           int32_t Right, int32_t BottomLeft, int32_t Bottom, int32_t BottomRight,
                           int32_t Centre, int32_t Inset)
    : _Window(_Window), TopLeft(TopLeft), Top(Top), TopRight(TopRight), Left(Left), Right(Right),
      BottomLeft(BottomLeft), Bottom(Bottom), BottomRight(BottomRight), Centre(Centre), Inset(Inset) {
    CHECK_TEXT(_Window != nullptr, "_Window!=NULL");
    allocateDrawingList(9);
    addChild(_Window);
}

namespace {

int32_t w(int32_t Skin) { return GetSkin(Skin).Width; }
int32_t h(int32_t Skin) { return GetSkin(Skin).Height; }

} // namespace

int32_t TWindowFrame::getMinimumWidth() const { return w(Left) + w(Right) + 2 * Inset; }

int32_t TWindowFrame::getMinimumHeight() const { return h(Top) + h(Bottom) + 2 * Inset; }

void TWindowFrame::setSize(int32_t Width, int32_t Height) try {
    CHECK(Width >= getMinimumWidth(), Width);
    CHECK(Height >= getMinimumHeight(), Height);
    TParentComponent::setSize(Width, Height);
    arrange();
    _Window->setPosition(WindowX, WindowY);
    _Window->setSize(WindowWidth, WindowHeight);
    _Window->arrange();
}
CATCH_FRAME(Width, Height)

void TWindowFrame::arrange() {
    const int32_t W = Width, H = Height;
    DrawingList[0] = TSkinPiece{TopLeft, 0, 0, 0, 0, 0, 0};
    DrawingList[1] = TSkinPiece{Top, w(TopLeft), 0, W - w(TopRight) - w(TopLeft), h(Top), 0, 0};
    DrawingList[2] = TSkinPiece{TopRight, W - w(TopRight), 0, 0, 0, 0, 0};
    DrawingList[3] = TSkinPiece{Left, 0, h(TopLeft), w(Left), H - h(BottomLeft) - h(TopLeft), 0, 0};
    DrawingList[4] =
        TSkinPiece{Right, W - w(Right), h(TopRight), w(Right), H - h(BottomRight) - h(TopRight), 0, 0};
    DrawingList[5] = TSkinPiece{BottomLeft, 0, H - h(BottomLeft), 0, 0, 0, 0};
    DrawingList[6] =
        TSkinPiece{Bottom, w(BottomLeft), H - h(Bottom), W - w(BottomRight) - w(BottomLeft), h(Bottom), 0, 0};
    DrawingList[7] = TSkinPiece{BottomRight, W - w(BottomRight), H - h(BottomRight), 0, 0, 0, 0};
    if (Centre != 0)
        DrawingList[8] =
            TSkinPiece{Centre, w(Left), h(Top), W - w(Right) - w(Left), H - h(Bottom) - h(Top), 0, 0};
    else
        DrawingList[8] = TSkinPiece{};
    WindowX = w(Left) + Inset;
    WindowY = h(Top) + Inset;
    WindowWidth = W - w(Right) - w(Left) - 2 * Inset;
    WindowHeight = H - h(Bottom) - h(Top) - 2 * Inset;
}

void TWindowFrame::fitToWindow() try {
    setSize(_Window->getWidth() + getMinimumWidth(), _Window->getHeight() + getMinimumHeight());
}
CATCH_FRAME()

// ---- TResizeHandle ----

TResizeHandle::TResizeHandle(TComponent* _ToResize, bool ResizeX, bool ResizeY, bool Hidden)
    : _ToResize(_ToResize), ResizeX(ResizeX), ResizeY(ResizeY), Hidden(Hidden) {
    CHECK_TEXT(_ToResize != nullptr, "_ToResize!=NULL");
    allocateDrawingList(1);
    arrange();
}

void TResizeHandle::setSize(int32_t Width, int32_t Height) {
    TLeafComponent::setSize(Width, Height);
    arrange();
}

void TResizeHandle::arrange() {
    DrawingList[0] = Hidden ? TSkinPiece{} : TSkinPiece{42, 0, 0, Width, Height, 0, 0};
}

// A drag past the target's top or left edge gives size 0, not a failed check.
void TResizeHandle::resize(int32_t X, int32_t Y) {
    int32_t NewWidth = _ToResize->getWidth(), NewHeight = _ToResize->getHeight();
    if (ResizeX) NewWidth = std::max(NewWidth - GrabX + X, 0);
    if (ResizeY) NewHeight = std::max(NewHeight - GrabY + Y, 0);
    _ToResize->setSize(NewWidth, NewHeight);
}

bool TResizeHandle::mouseMove(int32_t X, int32_t Y) try {
    if (Dragging || (X >= 0 && X < Width && Y >= 0 && Y < Height)) SetMouseCursor(POINTER_RESIZE_VERTICAL);
    CHECK_TEXT(_ToResize != nullptr, "ToResize!=NULL");
    if (Dragging) resize(X, Y);
    return true;
}
CATCH_FRAME(X, Y)

bool TResizeHandle::leftButtonDown(int32_t X, int32_t Y, uint32_t) try {
    CHECK_TEXT(_ToResize != nullptr, "ToResize!=NULL");
    if (!Dragging) {
        Dragging = true;
        setCapture(this);
    }
    GrabX = X;
    GrabY = Y;
    return true;
}
CATCH_FRAME(X, Y)

bool TResizeHandle::leftButtonUp(int32_t X, int32_t Y, uint32_t) try {
    CHECK_TEXT(_ToResize != nullptr, "ToResize!=NULL");
    if (Dragging) {
        resize(X, Y);
        releaseCapture(this);
    }
    return true;
}
CATCH_FRAME(X, Y)

void TResizeHandle::releaseCapture(TComponent* Component) {
    Dragging = false;
    TLeafComponent::releaseCapture(Component);
}

void TResizeHandle::cancelCapture() { Dragging = false; }
