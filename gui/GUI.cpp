// The component tree of the GUI toolkit: child lists, placement, pointer routing, capture, notifications,
// drawing lists and the deferred end of components.
#include "gui/GUI.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "gui/GUIServices.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Event scopes open now, and the components waiting for the outermost one to close. Empty at rest.
struct TDeferredDeletion {
    int32_t Depth = 0;
    std::vector<TComponent*> Pending;
};
TDeferredDeletion Deferred;

void DeletePending() {
    while (!Deferred.Pending.empty()) {
        std::vector<TComponent*> Batch;
        Batch.swap(Deferred.Pending);
        for (TComponent* Component : Batch)
            delete Component;
    }
}

[[noreturn]] void NotPossible() { CHECK_TEXT(false, "not possible"); }

// Cuts one axis of a child to 0 .. Limit: a start before 0 moves to 0 and shortens the extent; a far edge
// (as it was) beyond Limit shortens the extent to reach Limit. True when anything was cut.
bool ClipAxis(int32_t& Position, int32_t& Extent, int32_t Limit) {
    bool Cut = false;
    int32_t FarEdge = Position + Extent;
    if (Position < 0) {
        Extent += Position;
        Position = 0;
        Cut = true;
    }
    if (FarEdge > Limit) {
        Extent = Limit - Position;
        Cut = true;
    }
    return Cut;
}

// The position a placement gives: a negative coordinate counts from the far edge.
int32_t PlacedCoordinate(int32_t Value, int32_t Extent) { return Value >= 0 ? Value : Extent + Value; }

} // namespace

void TNotification::fire() const try {
    if (Target == nullptr) return;
    TEventScope Scope;
    Target->handleEvent(Identifier);
}
CATCH_FRAME(Identifier)

TEventScope::TEventScope() { Deferred.Depth++; }

TEventScope::~TEventScope() {
    Deferred.Depth--;
    if (Deferred.Depth == 0) DeletePending();
}

void DeleteLater(TComponent* Component) try {
    CHECK_TEXT(Component != nullptr, "Component!=NULL");
    if (Component->Parent != nullptr) Component->Parent->removeChild(Component);
    if (Deferred.Depth == 0) {
        delete Component;
        return;
    }
    if (std::find(Deferred.Pending.begin(), Deferred.Pending.end(), Component) == Deferred.Pending.end())
        Deferred.Pending.push_back(Component);
}
CATCH_FRAME()

bool HitsChild(const TComponent* Child, int32_t X, int32_t Y) {
    int64_t DX = static_cast<int64_t>(X) - Child->X, DY = static_cast<int64_t>(Y) - Child->Y;
    return DX >= 0 && DX < Child->Width && DY >= 0 && DY < Child->Height;
}

// ---- TComponent ----

TComponent* TComponent::addChild(TComponent*) { NotPossible(); }
TComponent* TComponent::appendChild(TComponent*) { NotPossible(); }
TComponent* TComponent::removeChild(TComponent*) { NotPossible(); }
void TComponent::deleteChild(TComponent*) { NotPossible(); }
TComponent* TComponent::insertChild(TComponent*, TComponent*) { NotPossible(); }
void TComponent::swapChildren(TComponent*, TComponent*) { NotPossible(); }
bool TComponent::isChild(const TComponent*) const { NotPossible(); }
TComponent* TComponent::getFirstChild() const { NotPossible(); }
TComponent* TComponent::getLastChild() const { NotPossible(); }

TComponent* TComponent::getPrevious() const try {
    CHECK_TEXT(Parent != nullptr, "Parent!=NULL");
    for (TComponent* Sibling = Parent->getFirstChild(); Sibling != nullptr; Sibling = Sibling->getNext())
        if (Sibling->getNext() == this) return Sibling;
    return nullptr;
}
CATCH_FRAME()

void TComponent::setSize(int32_t _Width, int32_t _Height) {
    CHECK(_Width >= 0, _Width);
    CHECK(_Height >= 0, _Height);
    Width = _Width;
    Height = _Height;
}

void TComponent::setPosition(int32_t X, int32_t Y) {
    this->X = X;
    this->Y = Y;
}

void TComponent::allocateDrawingList(int32_t Length) {
    CHECK(Length >= 0, Length);
    DrawingList = Length > 0 ? std::make_unique<TSkinPiece[]>(Length) : nullptr;
    DrawingListLength = Length;
}

// The failure of a sized piece whose absolute position is off the surface's top or left edge.
[[noreturn]] static void ThrowPieceOutside(int32_t Surface, int32_t X, int32_t Y, int32_t Length, int32_t i,
                                           const TSkinPiece& Piece) {
    std::string Text = "dialog origin outside main window (surface: " + std::to_string(Surface) +
                       " x: " + std::to_string(X) + " y: " + std::to_string(Y) +
                       " DrawingListLength: " + std::to_string(Length) + " i: " + std::to_string(i) +
                       " DrawingList.Skin: " + std::to_string(Piece.skin);
    if (Piece.skin == 170) Text += " (CONSOLETEXT_CORNER_TOPRIGHT)";
    Text += " DrawingList.x: " + std::to_string(Piece.x) + " DrawingList.y: " + std::to_string(Piece.y) +
            " DrawingList.width: " + std::to_string(Piece.width) +
            " DrawingList.height: " + std::to_string(Piece.height) +
            " DrawingList.srcx: " + std::to_string(Piece.srcx) +
            " DrawingList.srcy: " + std::to_string(Piece.srcy) + ")";
    ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, Text.c_str());
}

void TComponent::draw(int32_t Surface, int32_t X, int32_t Y) { drawDrawingList(Surface, X, Y); }

void TComponent::drawDrawingList(int32_t Surface, int32_t X, int32_t Y) try {
    for (int32_t i = 0; i < DrawingListLength; i++) {
        const TSkinPiece& Piece = DrawingList[i];
        if (Piece.skin == 0) continue;
        // A negative number would index the skin table from below.
        CHECK_TEXT(Piece.skin < GetNumberOfSkins() && Piece.skin >= 0, "DrawingList[i].skin<NumberOfSkins", i,
                   Piece.skin);
        if (Piece.width == 0 && Piece.height == 0) {
            const TSkin& Skin = GetSkin(Piece.skin);
            DrawPicturePart(Surface, X + Piece.x, Y + Piece.y, SKIN_PICTURE, Skin.x, Skin.y, Skin.Width,
                            Skin.Height);
            continue;
        }
        if (X + Piece.x < 0 || Y + Piece.y < 0) ThrowPieceOutside(Surface, X, Y, DrawingListLength, i, Piece);
        DrawSkin(Surface, X + Piece.x, Y + Piece.y, Piece.width, Piece.height, Piece.skin, Piece.srcx,
                 Piece.srcy);
    }
}
CATCH_FRAME(X, Y)

// The failure of a skin without size in the clipped tiling.
[[noreturn]] static void ThrowEmptySkin(int32_t Surface, int32_t X, int32_t Y, int32_t Width, int32_t Height,
                                        int32_t Skin, int32_t OffsetX, int32_t OffsetY, int32_t ClipX,
                                        int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight) {
    auto N = [](int32_t Value) { return std::to_string(Value); };
    std::string Text = "some assertions failed (surface: " + N(Surface) + " x: " + N(X) + " y: " + N(Y) +
                       " width: " + N(Width) + " height: " + N(Height) + " skin: " + N(Skin) +
                       " skinwidth: " + N(GetSkin(Skin).Width) + " skinheight: " + N(GetSkin(Skin).Height) +
                       " skinoffsetx: " + N(OffsetX) + " skinoffsety: " + N(OffsetY) +
                       " cliprect: " + N(ClipX) + "/" + N(ClipY) + "/" + N(ClipWidth) + "/" + N(ClipHeight) +
                       ")";
    ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, Text.c_str());
}

void DrawSkinClipped(int32_t Surface, int32_t X, int32_t Y, int32_t Width, int32_t Height, int32_t Skin,
                     int32_t ClipX, int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight, int32_t OffsetX,
                     int32_t OffsetY) try {
    if (Skin == 0 || Width == 0 || Height == 0) return;
    CHECK_TEXT(In(Skin, 0, LASTSKIN - 1), "In(skin,0,LASTSKIN-1)", Skin);
    CHECK_TEXT(Width > 0, "width>0", Width);
    CHECK_TEXT(Height > 0, "height>0", Height);
    const TSkin& S = GetSkin(Skin);
    if (S.Width < 1 || S.Height < 1)
        ThrowEmptySkin(Surface, X, Y, Width, Height, Skin, OffsetX, OffsetY, ClipX, ClipY, ClipWidth,
                       ClipHeight);
    const TRectangle Clip = {ClipX, ClipY, ClipWidth, ClipHeight};
    TileSkin(Surface, X, Y, Width, Height, S, OffsetX, OffsetY, &Clip);
}
CATCH_FRAME(Skin)

// ---- TLeafComponent ----

bool TLeafComponent::mouseMove(int32_t, int32_t) { return true; }
bool TLeafComponent::leftButtonDown(int32_t, int32_t, uint32_t) { return true; }
bool TLeafComponent::leftButtonUp(int32_t, int32_t, uint32_t) { return true; }
bool TLeafComponent::leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) {
    return leftButtonDown(X, Y, Flags);
}
bool TLeafComponent::rightClick(int32_t, int32_t, uint32_t) { return true; }
bool TLeafComponent::mouseScroll(int32_t, int32_t, uint32_t) { return true; }
void TLeafComponent::getToolTip(int32_t, int32_t) {}

bool TLeafComponent::getHelpContext(int32_t, int32_t) {
    SetHelpContext(0);
    return false;
}

void TLeafComponent::setCapture(TComponent*) {
    if (Parent != nullptr) Parent->setCapture(this);
}

void TLeafComponent::releaseCapture(TComponent*) {
    if (Parent != nullptr) Parent->releaseCapture(this);
}

// ---- TParentComponent: the child list ----

TParentComponent::~TParentComponent() {
    while (FirstChild != nullptr)
        deleteChild(FirstChild);
}

TComponent* TParentComponent::addChild(TComponent* Child) {
    CHECK_TEXT(Child != nullptr, "Child!=NULL");
    CHECK_TEXT(Child->Parent == nullptr, "Child->Parent==NULL");
    Child->Next = FirstChild;
    FirstChild = Child;
    Child->Parent = this;
    return Child;
}

TComponent* TParentComponent::appendChild(TComponent* Child) {
    CHECK_TEXT(Child != nullptr, "Child!=NULL");
    CHECK_TEXT(Child->Parent == nullptr, "Child->Parent==NULL");
    Child->Next = nullptr;
    if (FirstChild == nullptr) {
        FirstChild = Child;
    } else {
        TComponent* Tail = FirstChild;
        while (Tail->Next != nullptr)
            Tail = Tail->Next;
        Tail->Next = Child;
    }
    Child->Parent = this;
    return Child;
}

TComponent* TParentComponent::insertChild(TComponent* After, TComponent* Child) try {
    CHECK_TEXT(Child != nullptr, "Child!=NULL");
    CHECK_TEXT(Child->Parent == nullptr, "Child->Parent==NULL");
    if (After == nullptr) return addChild(Child);
    TComponent* Search = FirstChild;
    while (Search != nullptr && Search != After)
        Search = Search->Next;
    CHECK_TEXT(Search != nullptr, "Search!=NULL");
    Child->Next = After->Next;
    After->Next = Child;
    Child->Parent = this;
    return Child;
}
CATCH_FRAME()

// The sibling in front of Child (NULL for the head); Found tells whether Child is in the list at all.
TComponent* TParentComponent::findPredecessor(TComponent* Child, bool& Found) const {
    TComponent* Before = nullptr;
    for (TComponent* Search = FirstChild; Search != nullptr; Search = Search->Next) {
        if (Search == Child) {
            Found = true;
            return Before;
        }
        Before = Search;
    }
    Found = false;
    return nullptr;
}

TComponent* TParentComponent::removeChild(TComponent* Child) try {
    CHECK_TEXT(Child != nullptr, "Child!=NULL");
    CHECK_TEXT(Child->Parent == this, "Child->Parent==this");
    if (Child == Capture) {
        Child->cancelCapture();
        Child->releaseCapture(nullptr);
    }
    bool Found;
    TComponent* Before = findPredecessor(Child, Found);
    CHECK_TEXT(Found, "Search!=NULL");
    if (Before == nullptr)
        FirstChild = Child->Next;
    else
        Before->Next = Child->Next;
    Child->Parent = nullptr;
    Child->Next = nullptr;
    return Child;
}
CATCH_FRAME()

void TParentComponent::deleteChild(TComponent* Child) try {
    removeChild(Child);
    delete Child;
}
CATCH_FRAME()

void TParentComponent::swapChildren(TComponent* Child1, TComponent* Child2) try {
    CHECK_TEXT(Child1 != nullptr, "Child1!=NULL");
    CHECK_TEXT(Child2 != nullptr, "Child2!=NULL");
    CHECK_TEXT(Child1->Parent == this, "Child1->Parent==this");
    CHECK_TEXT(Child2->Parent == this, "Child2->Parent==this");
    CHECK_TEXT(FirstChild != nullptr, "FirstChild!=NULL");
    bool Found1, Found2;
    TComponent* Before1 = findPredecessor(Child1, Found1);
    CHECK_TEXT(Found1, "Search1!=NULL");
    TComponent* Before2 = findPredecessor(Child2, Found2);
    CHECK_TEXT(Found2, "Search2!=NULL");
    CHECK_TEXT(Before1 != Before2, "Before1!=Before2");
    // Neighbours: the later one takes the earlier one's place.
    if (Before1 == Child2 || Before2 == Child1) {
        TComponent* Earlier = Before1 == Child2 ? Child2 : Child1;
        TComponent* Later = Earlier == Child1 ? Child2 : Child1;
        TComponent* BeforeEarlier = Earlier == Child1 ? Before1 : Before2;
        if (BeforeEarlier == nullptr)
            FirstChild = Later;
        else
            BeforeEarlier->Next = Later;
        Earlier->Next = Later->Next;
        Later->Next = Earlier;
        return;
    }
    removeChild(Child1);
    removeChild(Child2);
    insertChild(Before2, Child1);
    insertChild(Before1, Child2);
}
CATCH_FRAME()

bool TParentComponent::isChild(const TComponent* Child) const {
    for (TComponent* Search = FirstChild; Search != nullptr; Search = Search->Next)
        if (Search == Child) return true;
    return false;
}

TComponent* TParentComponent::getLastChild() const {
    TComponent* Tail = FirstChild;
    while (Tail != nullptr && Tail->Next != nullptr)
        Tail = Tail->Next;
    return Tail;
}

// ---- TParentComponent: geometry and drawing ----

void TParentComponent::draw(int32_t Surface, int32_t X, int32_t Y) try {
    drawDrawingList(Surface, X, Y);
    for (TComponent* Child = FirstChild; Child != nullptr; Child = Child->Next)
        Child->draw(Surface, X + Child->X, Y + Child->Y);
}
CATCH_FRAME(X, Y)

void TParentComponent::setPosition(int32_t X, int32_t Y) try {
    TComponent::setPosition(X, Y);
    for (TComponent* Child = FirstChild; Child != nullptr; Child = Child->Next)
        Child->parentMoved();
}
CATCH_FRAME(X, Y)

void TParentComponent::arrange() try {
    for (TComponent* Child = FirstChild; Child != nullptr; Child = Child->Next)
        Child->arrange();
}
CATCH_FRAME()

void TParentComponent::moveChild(TComponent* Child, int32_t X, int32_t Y) try {
    CHECK_TEXT(Child != nullptr, "Child!=NULL");
    CHECK_TEXT(Child->Parent == this, "Child->Parent==this");
    CHECK(Width > 0, Width);
    CHECK(Height > 0, Height);
    Child->setPosition(PlacedCoordinate(X, Width), PlacedCoordinate(Y, Height));
}
CATCH_FRAME(X, Y)

void TParentComponent::placeChild(TComponent* Child, int32_t X, int32_t Y, int32_t Width,
                                  int32_t Height) try {
    CHECK_TEXT(Child != nullptr, "Child!=NULL");
    CHECK_TEXT(Child->Parent == this, "Child->Parent==this");
    CHECK(this->Width > 0, this->Width);
    CHECK(this->Height > 0, this->Height);
    int32_t NewX = PlacedCoordinate(X, this->Width), NewY = PlacedCoordinate(Y, this->Height);
    Child->setPosition(NewX, NewY);
    int32_t NewWidth = Width > 0 ? Width : this->Width - NewX + Width;
    int32_t NewHeight = Height > 0 ? Height : this->Height - NewY + Height;
    Child->setSize(NewWidth, NewHeight);
}
CATCH_FRAME(X, Y)

void TParentComponent::fitToChild(TComponent* Child, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom,
                                  bool Virtual) try {
    CHECK_TEXT(Child != nullptr, "Child!=NULL");
    CHECK(Child->getWidth() > 0);
    CHECK(Child->getHeight() > 0);
    int32_t NewWidth = Child->getWidth() + std::max(Left, 0) + std::max(-Right, 0);
    int32_t NewHeight = Child->getHeight() + std::max(Top, 0) + std::max(-Bottom, 0);
    NewWidth = std::max(NewWidth, getMinimumWidth());
    NewHeight = std::max(NewHeight, getMinimumHeight());
    if (Virtual)
        setSize(NewWidth, NewHeight);
    else
        TComponent::setSize(NewWidth, NewHeight);
}
CATCH_FRAME()

void TParentComponent::fitToChildren(bool Virtual) { fitToChildren(0, 0, 0, 0, Virtual); }

void TParentComponent::fitToChildren(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom,
                                     bool Virtual) try {
    if (FirstChild == nullptr) return;
    int32_t LeastX = INT_MAX, LeastY = INT_MAX, RightEdge = 0, BottomEdge = 0;
    for (TComponent* Child = FirstChild; Child != nullptr; Child = Child->Next) {
        LeastX = std::min(LeastX, Child->X);
        LeastY = std::min(LeastY, Child->Y);
        RightEdge = std::max(RightEdge, Child->X + Child->Width);
        BottomEdge = std::max(BottomEdge, Child->Y + Child->Height);
    }
    CHECK_TEXT(RightEdge > 0, "Width>0", RightEdge);
    CHECK_TEXT(BottomEdge > 0, "Height>0", BottomEdge);
    CHECK(LeastX < INT_MAX);
    CHECK(LeastY < INT_MAX);
    int32_t ShiftX = std::abs(Left) - LeastX, ShiftY = std::abs(Top) - LeastY;
    for (TComponent* Child = FirstChild; Child != nullptr; Child = Child->Next)
        Child->setPosition(Child->X + ShiftX, Child->Y + ShiftY);
    int32_t NewWidth = RightEdge - LeastX + std::abs(Left) + std::abs(Right);
    int32_t NewHeight = BottomEdge - LeastY + std::abs(Top) + std::abs(Bottom);
    NewWidth = std::max(NewWidth, getMinimumWidth());
    NewHeight = std::max(NewHeight, getMinimumHeight());
    if (Virtual)
        setSize(NewWidth, NewHeight);
    else
        TComponent::setSize(NewWidth, NewHeight);
}
CATCH_FRAME()

void TParentComponent::clipChildren(bool DeleteOutside) try {
    TComponent* Child = FirstChild;
    while (Child != nullptr) {
        TComponent* Following = Child->Next; // Child may be deleted
        int32_t NewX = Child->X, NewY = Child->Y, NewWidth = Child->Width, NewHeight = Child->Height;
        bool CutX = ClipAxis(NewX, NewWidth, Width), CutY = ClipAxis(NewY, NewHeight, Height);
        bool Changed = CutX || CutY;
        if (NewWidth < 0 || NewHeight < 0 || (Changed && DeleteOutside)) {
            deleteChild(Child);
        } else if (Changed) {
            Child->setPosition(NewX, NewY);
            Child->setSize(NewWidth, NewHeight);
        }
        Child = Following;
    }
}
CATCH_FRAME()

// ---- TParentComponent: routing and capture ----

template <typename Handler> bool TParentComponent::route(int32_t X, int32_t Y, Handler&& Call) {
    TEventScope Scope;
    if (Capture != nullptr) return Call(Capture, X - Capture->X, Y - Capture->Y);
    // The next sibling is read after the call: a child that ends itself in its handler is only unlinked
    // (DeleteLater), which ends the walk.
    for (TComponent* Child = FirstChild; Child != nullptr; Child = Child->Next)
        if (HitsChild(Child, X, Y) && Call(Child, X - Child->X, Y - Child->Y)) return true;
    return false;
}

bool TParentComponent::mouseMove(int32_t X, int32_t Y) try {
    return route(X, Y, [](TComponent* Child, int32_t CX, int32_t CY) { return Child->mouseMove(CX, CY); });
}
CATCH_FRAME(X, Y)

bool TParentComponent::leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) try {
    return route(X, Y, [Flags](TComponent* Child, int32_t CX, int32_t CY) {
        return Child->leftButtonDown(CX, CY, Flags);
    });
}
CATCH_FRAME(X, Y)

bool TParentComponent::leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) try {
    return route(X, Y, [Flags](TComponent* Child, int32_t CX, int32_t CY) {
        return Child->leftButtonUp(CX, CY, Flags);
    });
}
CATCH_FRAME(X, Y)

bool TParentComponent::leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) try {
    return route(X, Y, [Flags](TComponent* Child, int32_t CX, int32_t CY) {
        return Child->leftDoubleClick(CX, CY, Flags);
    });
}
CATCH_FRAME(X, Y)

bool TParentComponent::rightClick(int32_t X, int32_t Y, uint32_t Flags) try {
    return route(X, Y, [Flags](TComponent* Child, int32_t CX, int32_t CY) {
        return Child->rightClick(CX, CY, Flags);
    });
}
CATCH_FRAME(X, Y)

bool TParentComponent::mouseScroll(int32_t X, int32_t Y, uint32_t Kind) try {
    return route(
        X, Y, [Kind](TComponent* Child, int32_t CX, int32_t CY) { return Child->mouseScroll(CX, CY, Kind); });
}
CATCH_FRAME(X, Y)

TComponent* TParentComponent::findChildAt(int32_t X, int32_t Y) const {
    for (TComponent* Child = FirstChild; Child != nullptr; Child = Child->Next)
        if (HitsChild(Child, X, Y)) return Child;
    return nullptr;
}

void TParentComponent::getToolTip(int32_t X, int32_t Y) try {
    TComponent* Child = findChildAt(X, Y);
    if (Child != nullptr) Child->getToolTip(X - Child->X, Y - Child->Y);
}
CATCH_FRAME(X, Y)

bool TParentComponent::getHelpContext(int32_t X, int32_t Y) try {
    for (TComponent* Child = FirstChild; Child != nullptr; Child = Child->Next) {
        if (HitsChild(Child, X, Y) && Child->getHelpContext(X - Child->X, Y - Child->Y)) {
            MoveHelpOrigin(Child->X, Child->Y);
            return true;
        }
    }
    SetHelpContext(0);
    return false;
}
CATCH_FRAME(X, Y)

void TParentComponent::setCapture(TComponent* Component) try {
    CHECK_TEXT(Capture == nullptr, "Capture==NULL");
    Capture = Component;
    if (Parent != nullptr) Parent->setCapture(this);
}
CATCH_FRAME()

void TParentComponent::releaseCapture(TComponent* Component) try {
    CHECK_TEXT(Capture == Component, "Capture==Component");
    Capture = nullptr;
    if (Parent != nullptr) Parent->releaseCapture(this);
}
CATCH_FRAME()

void TParentComponent::cancelCapture() try {
    if (Capture == nullptr) return;
    Capture->cancelCapture();
    Capture = nullptr;
}
CATCH_FRAME()
