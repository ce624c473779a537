// The window column of the side bar: stacking, the layout strategies, drag reordering and the free-area
// frame.
#include "foundation/Exception.h"
#include "graphics/Engine.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/DialogWindow.h"
#include "gui/SkinProperties.h"
#include "state/Preferences.h"

#include <algorithm>

namespace {

int32_t SkinWidth(int32_t Skin) { return GetSkin(Skin).Width; }
int32_t SkinHeight(int32_t Skin) { return GetSkin(Skin).Height; }

// Sets Busy for its span and gives back the value it found, also when a layout step fails.
class TBusyScope {
public:
    explicit TBusyScope(bool& Busy) : Busy(Busy), Was(Busy) { Busy = true; }
    ~TBusyScope() { Busy = Was; }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    bool& Busy;
    bool Was;
};

// Marks the span of one rearrangement; afterwards every free height is recorded again.
class TLayoutScope {
public:
    TLayoutScope(bool& Busy, bool& RecordFreeHeight) : Busy(Busy), RecordFreeHeight(RecordFreeHeight) {
        Busy = true;
    }
    ~TLayoutScope() {
        RecordFreeHeight = true;
        Busy = false;
    }
    TLayoutScope(const TLayoutScope&) = delete;
    TLayoutScope& operator=(const TLayoutScope&) = delete;

private:
    bool& Busy;
    bool& RecordFreeHeight;
};

} // namespace

TWindowColumn::TWindowColumn() { allocateDrawingList(9); }

// ---- the window list ----

TComponent* TWindowColumn::addChild(TComponent* Window) try {
    TParentComponent::addChild(Window);
    Window->setSize(Width, Window->getHeight());
    return Window;
}
CATCH_FRAME()

TComponent* TWindowColumn::appendChild(TComponent* Window) try {
    TParentComponent::appendChild(Window);
    Window->setSize(Width, Window->getHeight());
    return Window;
}
CATCH_FRAME()

TComponent* TWindowColumn::insertChild(TComponent* After, TComponent* Window) try {
    TParentComponent::insertChild(After, Window);
    Window->setSize(Width, Window->getHeight());
    return Window;
}
CATCH_FRAME()

TComponent* TWindowColumn::removeChild(TComponent* Window) try {
    if (Window == DraggedWindow) DraggedWindow = nullptr;
    return TParentComponent::removeChild(Window);
}
CATCH_FRAME()

void TWindowColumn::deleteChild(TComponent* Window) try {
    TParentComponent::deleteChild(Window);
    rearrange(PLACE_ONLY, nullptr);
}
CATCH_FRAME()

void TWindowColumn::closeWindow(TContentWindow* Window) try {
    CHECK_TEXT(Window != nullptr, "Window!=NULL");
    CHECK_TEXT(Window->getParent() == this, "Window->Parent==this");
    DeleteLater(Window);
    rearrange(PLACE_ONLY, nullptr);
}
CATCH_FRAME()

void TWindowColumn::dropWindow(TComponent* Window) { DeleteLater(Window); }

TContentWindow* TWindowColumn::findWindow(int32_t Identifier) const try {
    for (TComponent* Child = FirstChild; Child != nullptr; Child = Child->getNext()) {
        auto* Window = dynamic_cast<TContentWindow*>(Child);
        if (Window != nullptr && Window->Identifier == Identifier) return Window;
    }
    return nullptr;
}
CATCH_FRAME(Identifier)

void TWindowColumn::saveOpenWindows() const try {
    for (TComponent* Child = FirstChild; Child != nullptr; Child = Child->getNext()) {
        auto* Window = dynamic_cast<TContentWindow*>(Child);
        if (Window != nullptr && Window->Identifier < CONTAINER_WINDOW) AddOpenDialog(Window->Identifier);
    }
}
CATCH_FRAME()

// ---- size ----

int32_t TWindowColumn::sumOfHeights() const {
    int32_t Sum = 0;
    for (TComponent* Child = FirstChild; Child != nullptr; Child = Child->getNext())
        Sum += Child->getHeight();
    return Sum;
}

int32_t TWindowColumn::getFreeHeight() try {
    const int32_t Free = ContentHeight - sumOfHeights();
    if (RecordFreeHeight) LastFreeHeight = Free;
    return Free;
}
CATCH_FRAME()

int32_t TWindowColumn::getMinimumWidth() const { return SkinProperties.SidePanel.Width; }

int32_t TWindowColumn::getMinimumHeight() const { return sumOfHeights(); }

void TWindowColumn::setSize(int32_t Width, int32_t Height) try {
    TComponent::setSize(Width, Height);
    ContentWidth = Width;
    ContentHeight = Height;
    {
        // The windows' own layouts would run with the list half resized and may close windows under the
        // walk; the fit below does their work once.
        TBusyScope Scope(Busy);
        for (TComponent* Child = FirstChild; Child != nullptr; Child = Child->getNext())
            Child->setSize(Width, Child->getHeight());
    }
    rearrange(FIT, nullptr);
}
CATCH_FRAME(Width, Height)

// ---- layout ----

void TWindowColumn::rearrange(int32_t Strategy, TContentWindow* Work) try {
    if (Busy) return;
    TLayoutScope Scope(Busy, RecordFreeHeight);
    runStrategy(Strategy, Work);
    arrange(); // records the free height unless strategy 4 turned recording off
}
CATCH_FRAME(Strategy)

void TWindowColumn::runStrategy(int32_t Strategy, TContentWindow* Work) {
    switch (Strategy) {
    case DRAG:
        dragReorder(Work);
        placeWindows(true);
        break;
    case GREW:
        placeWindows(false);
        shrinkToFit();
        break;
    case SHRANK:
        CHECK_TEXT(Work != nullptr, "Work!=NULL");
        RecordFreeHeight = false;
        placeWindows(false);
        growBelow(Work);
        placeWindows(false);
        break;
    case FIT:
        placeWindows(false);
        fitTopDown();
        placeWindows(false); // a window behind a closed one moves up at once
        break;
    case ADD:
        CHECK_TEXT(Work != nullptr, "Work!=NULL");
        makeRoom(Work);
        appendChild(Work);
        placeWindows(false);
        break;
    case PLACE_ONLY:
        placeWindows(false);
        break;
    default:
        CHECK_TEXT(false, "unknown strategy", Strategy);
    }
}

void TWindowColumn::placeWindows(bool SkipDragged) {
    int32_t Top = 0;
    for (TComponent* Child = FirstChild; Child != nullptr; Child = Child->getNext()) {
        if (!SkipDragged || Child != DraggedWindow) Child->setPosition(0, Top);
        Top += Child->getHeight(); // the dragged window keeps its slot in the stack
    }
}

void TWindowColumn::dragReorder(TContentWindow* Work) {
    if (Work == nullptr) {
        DraggedWindow = nullptr; // the drag ended: every window is placed again
        return;
    }
    TComponent* Previous = nullptr;
    TComponent* Search = FirstChild;
    while (Search != nullptr && Search != Work) {
        Previous = Search;
        Search = Search->getNext();
    }
    CHECK_TEXT(Search != nullptr, "Search!=NULL");
    DraggedWindow = Work; // only a window of this column: the pointer is drawn from
    TComponent* Following = Work->getNext();
    // The dragged window keeps its slot, so at most one of the two swaps applies.
    if (Previous != nullptr && Work->Y < Previous->Y + Previous->getHeight() / 2)
        swapChildren(Previous, Work);
    else if (Following != nullptr && Work->Y + Work->getHeight() > Following->Y + Following->getHeight() / 2)
        swapChildren(Following, Work);
}

bool TWindowColumn::shrinkToFit() {
    for (int32_t Free = getFreeHeight(); Free < 0; Free = getFreeHeight()) {
        const int32_t Excess = -Free;
        TComponent* Window = getLastChild();
        while (Window != nullptr && Window->getHeight() <= Window->getMinimumHeight())
            Window = Window->getPrevious();
        if (Window == nullptr) return false;
        const int32_t DeltaHeight = std::min(Window->getHeight() - Window->getMinimumHeight(), Excess);
        CHECK_TEXT(DeltaHeight > 0, "DeltaHeight>0", DeltaHeight);
        const int32_t Before = Window->getHeight();
        Window->setSize(Window->getWidth(), Before - DeltaHeight);
        const int32_t Shrunk = Before - Window->getHeight();
        if (Shrunk <= 0) return false; // a window that keeps its height would be asked forever
        for (TComponent* Below = Window->getNext(); Below != nullptr; Below = Below->getNext())
            Below->setPosition(Below->X, Below->Y - Shrunk);
    }
    return true;
}

void TWindowColumn::growBelow(TContentWindow* Work) {
    TComponent* Window = getLastChild();
    if (Window == Work) return; // the freed height stays free at the bottom
    int32_t Gain = getFreeHeight() - LastFreeHeight;
    while (Window != nullptr && Gain > 0 && Window != Work) {
        const int32_t Before = Window->getHeight();
        Window->setSize(Window->getWidth(), Before + Gain);
        Gain -= Window->getHeight() - Before;
        Window = Window->getPrevious();
    }
}

void TWindowColumn::fitTopDown() {
    int32_t Remaining = ContentHeight;
    TComponent* Window = FirstChild;
    while (Window != nullptr) {
        if (Window->getHeight() <= Remaining) {
            Remaining -= Window->getHeight();
            Window = Window->getNext();
            continue;
        }
        bool Close = Remaining < Window->getMinimumHeight();
        if (!Close) {
            Window->setSize(ContentWidth, Remaining);
            Window->arrange();
            Close = Window->getHeight() > Remaining;
            if (!Close) Remaining -= Window->getHeight();
        }
        TComponent* Next = Window->getNext();
        if (Close) dropWindow(Window);
        Window = Next;
    }
}

void TWindowColumn::makeRoom(TContentWindow* Work) {
    int32_t Free = ContentHeight - sumOfHeights();
    if (Free >= Work->getHeight()) return;
    const int32_t Target = std::max(Free, Work->getMinimumHeight());
    TComponent* Window = getLastChild();
    while (Window != nullptr && Free < Target) {
        TComponent* Previous = Window->getPrevious();
        const int32_t Before = Window->getHeight();
        Window->setSize(Window->getWidth(), std::max(Before - (Target - Free), 0));
        Free += Before - Window->getHeight();
        if (Free >= Target) break;
        Free += Window->getHeight();
        dropWindow(Window);
        Window = Previous;
    }
    // Not below the minimum: when even that does not fit, the column overflows at the bottom.
    Work->setSize(Work->getWidth(), std::max(std::min(Free, Work->getHeight()), Work->getMinimumHeight()));
}

// ---- drawing ----

void TWindowColumn::draw(int32_t Surface, int32_t X, int32_t Y) try {
    const TSkinColor& Slot = SkinProperties.SidePanel.DragColor;
    int32_t Above = 0;
    for (TComponent* Child = FirstChild; Child != nullptr; Child = Child->getNext()) {
        if (Child == DraggedWindow)
            GetSurface()->FillRectangle(Surface, X, Y + Above, Width, Child->getHeight(), Slot.red,
                                        Slot.green, Slot.blue);
        else
            Child->draw(Surface, X + Child->X, Y + Child->Y);
        Above += Child->getHeight();
    }
    drawDrawingList(Surface, X, Y);
    // The dragged window floats above the others while it follows the pointer.
    if (DraggedWindow != nullptr) DraggedWindow->draw(Surface, X + DraggedWindow->X, Y + DraggedWindow->Y);
}
CATCH_FRAME(X, Y)

void TWindowColumn::arrange() try {
    for (int32_t i = 0; i < DrawingListLength; i++)
        DrawingList[i] = TSkinPiece{};
    const int32_t F = getFreeHeight();
    if (F <= 0) return;
    const int32_t Y0 = Height - F, W = Width, Bottom = Height;
    auto w = SkinWidth;
    auto h = SkinHeight;
    // A piece left without height or width stays empty.
    auto Set = [this](int32_t i, int32_t Skin, int32_t X, int32_t Y, int32_t PieceWidth, int32_t PieceHeight,
                      int32_t SourceY) {
        if (PieceWidth > 0 && PieceHeight > 0)
            DrawingList[i] = TSkinPiece{Skin, X, Y, PieceWidth, PieceHeight, 0, SourceY};
    };
    Set(0, 26, 0, Y0, w(26), std::min(F, h(26)), 0);
    Set(1, 32, w(26), Y0, W - w(27) - w(26), std::min(F, h(32)), 0);
    Set(2, 27, W - w(27), Y0, w(27), std::min(F, h(27)), 0);
    const int32_t LeftCorner = std::min(F - h(26), h(28)), Edge = std::min(F - h(32), h(33)),
                  RightCorner = std::min(F - h(27), h(29));
    Set(3, 28, 0, Bottom - LeftCorner, w(26), LeftCorner, 0);
    Set(4, 33, w(28), Bottom - Edge, W - w(29) - w(28), Edge, 0);
    Set(5, 29, W - w(29), Bottom - RightCorner, w(29), RightCorner, 0);
    Set(6, 30, 0, Y0 + h(26), w(30), F - h(28) - h(26), 0);
    const int32_t TileHeight = h(7);
    Set(7, 7, w(30), Y0 + h(32), W - w(31) - w(30), F - h(33) - h(32),
        TileHeight > 0 && Y0 >= 0 ? Y0 % TileHeight : 0);
    Set(8, 31, W - w(31), Y0 + h(27), w(31), F - h(29) - h(27), 0);
}
CATCH_FRAME()
