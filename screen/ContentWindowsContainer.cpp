// The container windows of the side-window column: the grid body, its frame and the open and close entries.

#include "screen/ContentWindowsContainer.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "gui/DialogElements.h"
#include "gui/DialogElementsText.h"
#include "gui/DialogElementsViews.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "screen/ContentWindowsObjects.h"
#include "screen/ContentWindowsSide.h"
#include "screen/Help.h"
#include "screen/MessageTexts.h"
#include "state/Inventory.h"
#include "state/Status.h"
#include "state/Talk.h"

#include <algorithm>

namespace {

// The grid, in pixels of the body.
constexpr int32_t COLUMNS = 4;
constexpr int32_t GRID_LEFT = 7, GRID_TOP = 4;
constexpr int32_t CELL_SIZE = 34, CELL_PITCH = 37, OBJECT_SIZE = 32;
constexpr int32_t MINIMUM_HEIGHT = 41;
constexpr int32_t SCROLL_WIDTH = 12, SCROLL_HEIGHT = 38, SCROLL_STEP = 10;

TObjectView* NewTitleIcon(int32_t Container) {
    TObject Object;
    GetContainerOwnObject(Object, Container);
    return new TObjectView(Object, SkinProperties.SidePanel.BodyValues, false);
}

TTextLabel* NewTitleLabel(int32_t Container) {
    const TTextFormat& F = SkinProperties.SidePanel.TitleFormat;
    return new TTextLabel(F.Font, F.Red, F.Green, F.Blue, F.Alignment, GetContainerName(Container));
}

// The part of a cell that lies in a body Height pixels high: its top and height, none when Visible is 0.
struct TCellSpan {
    int32_t Top, Visible;
};

TCellSpan VisibleSpan(int32_t Top, int32_t Height) {
    if (Top + CELL_SIZE < 1 || Top > Height - 1) return {0, 0};
    int32_t VisibleTop = Top, Visible = CELL_SIZE;
    if (Top < 0) {
        Visible = Top + CELL_SIZE;
        VisibleTop = 0;
    }
    Visible = std::min(Visible, Height - 1 - VisibleTop);
    return {VisibleTop, Visible};
}

} // namespace

int32_t ContainerGridHeight(int32_t N) {
    return GRID_TOP + 3 + CELL_PITCH * ((std::max(N, 0) + 3) / COLUMNS);
}

TContainerWindow::TContainerWindow(int32_t Container) try
    : ScrollBox(new TVerticalScrollBox(0, 0, SCROLL_WIDTH, SCROLL_HEIGHT, 0, 0, 0, 0, SCROLL_STEP)),
      Container(Container) {
    CHECK_TEXT(In(Container, 0, OPEN_CONTAINERS - 1), "In(Container,0,OPEN_CONTAINERS-1)", Container);
    addChild(ScrollBox);
    arrange();
}
CATCH_FRAME(Container)

TContainerWindow::~TContainerWindow() { SendCloseContainer(Container); }

int32_t TContainerWindow::getScrollOffset() const { return ScrollBox->getBar()->_Value; }

int32_t TContainerWindow::getContentHeight() const { return ContainerGridHeight(Count); }

int32_t TContainerWindow::getMaximumHeight() const { return ContainerGridHeight(Capacity); }

int32_t TContainerWindow::getMinimumHeight() const {
    return std::max(MINIMUM_HEIGHT, ScrollBox->getMinimumHeight());
}

void TContainerWindow::setSize(int32_t _Width, int32_t _Height) try {
    const int32_t ScrollbarX = _Width - ScrollBox->getWidth();
    CHECK_TEXT(ScrollbarX > 0, "ScrollbarX>0", ScrollbarX);
    const int32_t Full = getMaximumHeight();
    const int32_t Applied = _Height > Full && Height < _Height ? std::max(Height, Full) : _Height;
    TComponent::setSize(_Width, Applied);
    moveChild(ScrollBox, ScrollbarX, 0);
    ScrollBox->setSize(ScrollBox->getWidth(), Applied);
    arrange();
}
CATCH_FRAME(_Width, _Height)

// A container that is no longer open keeps its last count and capacity and its title: the window goes when
// the main window is told, and until then it draws only its background.
void TContainerWindow::arrange() try {
    TParentComponent::arrange();
    const bool Open = IsContainerOpen(Container);
    if (Open) {
        Count = GetContainerObjectCount(Container);
        Capacity = GetContainerCapacity(Container);
    }
    const int32_t Full = std::max(getMaximumHeight(), Height);
    TVerticalScrollBar* Bar = ScrollBox->getBar();
    Bar->setRange(0, Full - Height, Bar->_Value, Height);
    auto* Frame = dynamic_cast<TDialogWindow*>(Parent);
    if (Frame == nullptr || !Open) return;
    Frame->setButton4(NewTitleIcon(Container));
    Frame->setButton5(NewTitleLabel(Container));
}
CATCH_FRAME()

void TContainerWindow::refresh() try {
    ScrollBox->getBar()->setValue(0);
    arrange();
    updateUpButton(dynamic_cast<TDialogWindow*>(Parent));
}
CATCH_FRAME()

void TContainerWindow::updateUpButton(TDialogWindow* Window) try {
    UpButtonShown = IsContainerOpen(Container) && HasParentContainer(Container);
    if (Window == nullptr) return;
    if (UpButtonShown)
        Window->showButton();
    else
        Window->hideButton();
}
CATCH_FRAME()

void TContainerWindow::draw(int32_t Surface, int32_t X, int32_t Y) try {
    const bool Open = IsContainerOpen(Container);
    if (Open && GetContainerObjectCount(Container) != Count) arrange();
    if (isMinimized()) return;
    TParentComponent::draw(Surface, X, Y);
    CHECK_TEXT(X >= 0, "x>=0", X);
    CHECK_TEXT(Y >= 0, "y>=0", Y);
    const int32_t Offset = getScrollOffset();
    const int32_t GridWidth = Width - ScrollBox->getWidth();
    const int32_t TileHeight = GetSkin(SKIN_PANEL_BACKGROUND).Height;
    if (GridWidth > 0 && Height > 0 && TileHeight > 0)
        DrawSkin(Surface, X, Y, GridWidth, Height, SKIN_PANEL_BACKGROUND, 0, Offset % TileHeight);
    if (!Open) return;
    const TSkin& Cell = GetSkin(SKIN_OBJECT_CELL);
    for (int32_t i = 0; i < Capacity; i++) {
        const int32_t Column = i % COLUMNS, Row = i / COLUMNS;
        const int32_t Left = X + GRID_LEFT + CELL_PITCH * Column, Top = GRID_TOP + CELL_PITCH * Row - Offset;
        const TCellSpan Span = VisibleSpan(Top, Height);
        if (Span.Visible <= 0) continue;
        const int32_t ClipY = Y + Span.Top;
        DrawPicturePart(Surface, Left, ClipY, SKIN_PICTURE, Cell.x, Cell.y, CELL_SIZE, Span.Visible);
        if (i < Count) {
            TObject Object;
            GetContainerObject(Object, Container, i);
            DrawObject(Surface, Left + 1, Y + Top + 1, OBJECT_SIZE, Object, 0, 0, 0, Left, ClipY, CELL_SIZE,
                       Span.Visible, SkinProperties.ObjectView.CountFormat, false);
        }
        if (DragHovers(Left, ClipY, CELL_SIZE, Span.Visible))
            DrawDropMarker(Surface, Left, Y + Top, CELL_SIZE, CELL_SIZE, Left, ClipY, CELL_SIZE,
                           Span.Visible);
    }
}
CATCH_FRAME(X, Y)

int32_t TContainerWindow::getIndexAt(int32_t X, int32_t Y, bool OnlyObjects) const try {
    const int32_t GridX = X - GRID_LEFT, GridY = Y + getScrollOffset() - GRID_TOP;
    const int32_t Column = GridX / CELL_PITCH, Row = GridY / CELL_PITCH;
    if (Column >= COLUMNS || Column < 0 || Row < 0) return -1;
    if (GridX % CELL_PITCH > CELL_SIZE || GridY % CELL_PITCH > CELL_SIZE) return -1;
    const int32_t Index = COLUMNS * Row + Column;
    if (OnlyObjects && (!IsContainerOpen(Container) || Index >= GetContainerObjectCount(Container)))
        return -1;
    return Index;
}
CATCH_FRAME(X, Y)

bool TContainerWindow::leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TParentComponent::leftButtonDown(X, Y, Flags)) return true;
    const int32_t Index = getIndexAt(X, Y, true);
    if (Index == -1) return true;
    TObject Object;
    GetContainerObject(Object, Container, Index);
    if (Object.Type != 0)
        SetDragSource(Object, Index, PLACE_OFF_MAP, PLACE_CONTAINER_BASE + Container, Index);
    return true;
}
CATCH_FRAME(X, Y)

bool TContainerWindow::leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TParentComponent::leftButtonUp(X, Y, Flags)) return true;
    const int32_t PlaceY = PLACE_CONTAINER_BASE + Container;
    switch (GetActionState()) {
    case ACTIONSTATE_USEWITH: {
        const int32_t Index = getIndexAt(X, Y, true);
        if (Index == -1) break;
        TObject Object;
        GetContainerObject(Object, Container, Index);
        UseHeldObjectWith(Object, {PLACE_OFF_MAP, PlaceY, Index, Index});
        break;
    }
    case ACTIONSTATE_TRADEWITH:
        SetStatusMessage(MessageTexts[TEXT_SELECT_TRADE_PARTNER], false);
        break;
    case ACTIONSTATE_DRAG: {
        const int32_t Index = getIndexAt(X, Y, false);
        int32_t Position = 0, x = 0, y = 0, z = 0;
        GetDragSource(&Position, &x, &y, &z);
        if (x != PLACE_OFF_MAP || y != PlaceY || z != Index)
            DropDraggedObject(PLACE_OFF_MAP, PlaceY, Index, Flags);
        break;
    }
    default:
        if ((Flags & KEY_MODIFIERS) != 0) rightClick(X, Y, Flags);
    }
    return true;
}
CATCH_FRAME(X, Y)

bool TContainerWindow::leftDoubleClick(int32_t /*X*/, int32_t /*Y*/, uint32_t /*Flags*/) { return true; }

bool TContainerWindow::rightClick(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TParentComponent::rightClick(X, Y, Flags)) return true;
    const int32_t Index = getIndexAt(X, Y, true);
    if (Index == -1) return true;
    TObject Object;
    GetContainerObject(Object, Container, Index);
    ActOnObject(Object, {PLACE_OFF_MAP, PLACE_CONTAINER_BASE + Container, Index, Index}, Flags, Container);
    return true;
}
CATCH_FRAME(X, Y)

bool TContainerWindow::mouseScroll(int32_t X, int32_t Y, uint32_t Kind) try {
    if (TParentComponent::mouseScroll(X, Y, Kind)) return true;
    if (Kind != 1 && Kind != 2) return false;
    return ScrollBox->mouseScroll(X - ScrollBox->X, Y - ScrollBox->Y, Kind);
}
CATCH_FRAME(X, Y)

bool TContainerWindow::getHelpContext(int32_t X, int32_t Y) try {
    CHECK_TEXT(Parent != nullptr, "Parent!=NULL");
    SetHelpContext(HELP_CONTAINERS);
    MoveHelpOrigin(-this->X, -this->Y);
    SetHelpExtent(Parent->getWidth(), Parent->getHeight());
    return true;
}
CATCH_FRAME(X, Y)

void TContainerWindow::handleEvent(int32_t Identifier) try {
    if (Identifier != CONTAINER_UP || !UpButtonShown) return;
    UpButtonShown = false;
    SendUpContainer(Container);
}
CATCH_FRAME(Identifier)

// ---- The framed window and its entries ----

TDialogWindow* CreateContainerWindow(int32_t Container) try {
    auto* Body = new TContainerWindow(Container);
    auto* Frame = new TDialogWindow(CONTAINER_WINDOW + Container, Body, true, false);
    Frame->setSize(SkinProperties.SidePanel.Width, GetDialogWindowBorderHeight() + Body->getContentHeight());
    AddTitleButtons(Frame);
    Frame->setButton1(new TButton(0, 0, SKIN_HIGHER_CONTAINER, SKIN_HIGHER_CONTAINER + 1, Body, CONTAINER_UP,
                                  MessageTexts[TEXT_TIP_HIGHER_CONTAINER], false));
    Frame->arrange(); // the body's arrange sets the title icon and caption
    return Frame;
}
CATCH_FRAME(Container)

namespace {

TDialogWindow* FindContainerWindow(TWindowColumn& Column, int32_t Container) {
    CHECK_TEXT(In(Container, 0, OPEN_CONTAINERS - 1), "In(Container,0,OPEN_CONTAINERS-1)", Container);
    return dynamic_cast<TDialogWindow*>(Column.findWindow(CONTAINER_WINDOW + Container));
}

} // namespace

void OpenContainerWindow(TWindowColumn& Column, int32_t Container) try {
    if (TDialogWindow* Window = FindContainerWindow(Column, Container)) {
        Window->arrange();
        static_cast<TContainerWindow*>(Window->Body)->refresh();
        return;
    }
    Column.rearrange(TWindowColumn::ADD, CreateContainerWindow(Container));
}
CATCH_FRAME(Container)

void CloseContainerWindow(TWindowColumn& Column, int32_t Container) try {
    if (TDialogWindow* Window = FindContainerWindow(Column, Container)) Column.deleteChild(Window);
}
CATCH_FRAME(Container)
