// The equipment window, the minimised inventory panel and the builders of both inventory panels.

#include "screen/ContentWindowsInventory.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "screen/ContentWindowsCombat.h"
#include "screen/ContentWindowsObjects.h"
#include "screen/Help.h"
#include "screen/InventoryPieces.h"
#include "screen/MainWindow.h"
#include "screen/MessageTexts.h"
#include "state/Inventory.h"
#include "state/Status.h"
#include "state/Talk.h"

namespace {

constexpr int32_t SLOT_FRAME_SIZE = 34, OBJECT_SIZE = 32;
constexpr int32_t COMBAT_CONTROLS_X = 124, COMBAT_CONTROLS_Y = 19; // in the full panel
constexpr int32_t LABEL_BACKGROUND_SKIN = 98, DROP_FIELD_SKIN = 99;

// A body position's slot frame (its top-left corner in the window) and its empty-slot skin; the object
// lies one pixel inside the frame.
struct TSlot {
    int32_t x, y, EmptySkin;
};
constexpr TSlot SLOTS[BODY_POSITIONS] = {
    {37, 0, 88}, {0, 14, 89},  {74, 14, 90},  {37, 37, 91}, {74, 51, 93},
    {0, 51, 92}, {37, 74, 94}, {37, 111, 95}, {0, 88, 96},  {74, 88, 97},
};

const TSlot& SlotOf(int32_t Position) { return SLOTS[Position - 1]; }

void TileUnderLabel(int32_t Surface, int32_t X, int32_t Y, const TSkinRectangle& Label) {
    const int32_t destx = X + Label.x, desty = Y + Label.y;
    CHECK_TEXT(destx >= 0, "destx>=0", destx);
    CHECK_TEXT(desty >= 0, "desty>=0", desty);
    DrawSkin(Surface, destx, desty, Label.width, Label.height, LABEL_BACKGROUND_SKIN, 0, 0);
}

void DrawSlot(int32_t Surface, int32_t X, int32_t Y, int32_t Position) {
    const TSlot& Slot = SlotOf(Position);
    const int32_t FrameSkin = SkinProperties.InventoryWindow.SlotFrameSkin;
    DrawSkin(Surface, X + Slot.x, Y + Slot.y, GetSkin(FrameSkin).Width, GetSkin(FrameSkin).Height, FrameSkin,
             0, 0);
    const int32_t ObjectX = X + Slot.x + 1, ObjectY = Y + Slot.y + 1;
    const TObject Object = GetBodyObject(Position);
    if (Object.Type != 0) {
        DrawObject(Surface, ObjectX, ObjectY, OBJECT_SIZE, Object, 0, 0, 0, ObjectX, ObjectY, OBJECT_SIZE,
                   OBJECT_SIZE, SkinProperties.ObjectView.CountFormat, false);
    } else {
        const TSkin& Empty = GetSkin(Slot.EmptySkin);
        DrawSkin(Surface, ObjectX, ObjectY, Empty.Width, Empty.Height, Slot.EmptySkin, 0, 0);
    }
    if (DragHovers(ObjectX, ObjectY, OBJECT_SIZE, OBJECT_SIZE))
        DrawDropMarker(Surface, ObjectX - 1, ObjectY - 1, SLOT_FRAME_SIZE, SLOT_FRAME_SIZE, ObjectX - 1,
                       ObjectY - 1, SLOT_FRAME_SIZE, SLOT_FRAME_SIZE);
}

TObjectPlace BodyPlace(int32_t Position) {
    return {PLACE_OFF_MAP, Position, PLACE_INVENTORY_POSITION, PLACE_INVENTORY_POSITION};
}

} // namespace

// ---- TInventoryWindow ----

TInventoryWindow::TInventoryWindow(TComponent* Target) try {
    const auto& I = SkinProperties.InventoryWindow;
    setSize(I.Window.width, I.Window.height);
    addChild(new TButton(0, 0, SKIN_MINIMIZE, SKIN_MINIMIZE + 1, Target, MAIN_MINIMISE_INVENTORY,
                         MessageTexts[TEXT_TIP_MINIMISE_INVENTORY], false));
    auto Place = [this](TComponent* Child, const TSkinRectangle& R) {
        addChild(Child);
        placeChild(Child, R.x, R.y, R.width, R.height);
    };
    Place(new TCapacityLabel, I.CapacityLabel);
    Place(new TSoulLabel, I.SoulLabel);
    Place(new TPlayerStatesBar(true), I.StatesBar);
    arrange();
}
CATCH_FRAME()

int32_t TInventoryWindow::getSlotAt(int32_t X, int32_t Y) const {
    for (int32_t Position = 1; Position <= BODY_POSITIONS; Position++) {
        const TSlot& Slot = SlotOf(Position);
        if (In(X - Slot.x, 0, SLOT_FRAME_SIZE) && In(Y - Slot.y, 0, SLOT_FRAME_SIZE)) return Position;
    }
    return 0;
}

void TInventoryWindow::draw(int32_t Surface, int32_t X, int32_t Y) try {
    TileUnderLabel(Surface, X, Y, SkinProperties.InventoryWindow.CapacityLabel);
    TileUnderLabel(Surface, X, Y, SkinProperties.InventoryWindow.SoulLabel);
    TParentComponent::draw(Surface, X, Y);
    for (int32_t Position = 1; Position <= BODY_POSITIONS; Position++)
        DrawSlot(Surface, X, Y, Position);
}
CATCH_FRAME(X, Y)

bool TInventoryWindow::leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TParentComponent::leftButtonDown(X, Y, Flags)) return true;
    const int32_t Position = getSlotAt(X, Y);
    if (Position == 0) return false; // the panel beneath may start its own drag
    const TObject Object = GetBodyObject(Position);
    if (Object.Type != 0) SetDragSource(Object, 0, PLACE_OFF_MAP, Position, 0);
    return true;
}
CATCH_FRAME(X, Y)

bool TInventoryWindow::leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TParentComponent::leftButtonUp(X, Y, Flags)) return true;
    const int32_t Position = getSlotAt(X, Y);
    if (Position == 0) return false;
    switch (GetActionState()) {
    case ACTIONSTATE_USEWITH:
        UseHeldObjectWith(GetBodyObject(Position), BodyPlace(Position));
        break;
    case ACTIONSTATE_TRADEWITH:
        SetStatusMessage(MessageTexts[TEXT_SELECT_TRADE_PARTNER], false);
        break;
    case ACTIONSTATE_DRAG: {
        int32_t SourcePosition = 0, x = 0, y = 0, z = 0;
        GetDragSource(&SourcePosition, &x, &y, &z);
        if (x != PLACE_OFF_MAP || y != Position) DropDraggedObject(PLACE_OFF_MAP, Position, 0, Flags);
        break;
    }
    default:
        if ((Flags & KEY_MODIFIERS) != 0) rightClick(X, Y, Flags);
    }
    return true;
}
CATCH_FRAME(X, Y)

bool TInventoryWindow::rightClick(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TParentComponent::rightClick(X, Y, Flags)) return true;
    const int32_t Position = getSlotAt(X, Y);
    if (Position == 0) return false;
    ActOnObject(GetBodyObject(Position), BodyPlace(Position), Flags, GetFreeContainerNumber());
    return true;
}
CATCH_FRAME(X, Y)

bool TInventoryWindow::getHelpContext(int32_t X, int32_t Y) try {
    CHECK_TEXT(Parent != nullptr, "Parent!=NULL");
    SetHelpContext(HELP_INVENTORY);
    MoveHelpOrigin(-this->X, -this->Y);
    SetHelpExtent(Parent->getWidth(), Parent->getHeight());
    return true;
}
CATCH_FRAME(X, Y)

// ---- TMinimisedInventoryWindow ----

TMinimisedInventoryWindow::TMinimisedInventoryWindow() try : TContentWindow(SMALL_INVENTORY_WINDOW, true) {
    const TSkinRectangle& F = SkinProperties.InventoryWindow.DropField;
    allocateDrawingList(1);
    DrawingList[0] = TSkinPiece{DROP_FIELD_SKIN, F.x, F.y, F.width, F.height, 0, 0};
}
CATCH_FRAME()

void TMinimisedInventoryWindow::draw(int32_t Surface, int32_t X, int32_t Y) try {
    TContentWindow::draw(Surface, X, Y);
    const TSkinRectangle& F = SkinProperties.InventoryWindow.DropField;
    if (DragHovers(X + F.x, Y + F.y, F.width, F.height))
        DrawDropMarker(Surface, X + F.x, Y + F.y, F.width, F.height, X + F.x, Y + F.y, F.width, F.height);
}
CATCH_FRAME(X, Y)

bool TMinimisedInventoryWindow::leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) try {
    const bool Handled = TContentWindow::leftButtonUp(X, Y, Flags);
    const TSkinRectangle& F = SkinProperties.InventoryWindow.DropField;
    if (In(X - F.x, 0, F.width - 1) && In(Y - F.y, 0, F.height - 1) && GetActionState() == ACTIONSTATE_DRAG)
        DropDraggedObject(PLACE_OFF_MAP, 0, 0, Flags);
    return Handled;
}
CATCH_FRAME(X, Y)

bool TMinimisedInventoryWindow::getHelpContext(int32_t X, int32_t Y) try {
    if (TContentWindow::getHelpContext(X, Y)) return true;
    SetHelpContext(HELP_SMALL_INVENTORY);
    SetHelpExtent(Width, Height);
    return true;
}
CATCH_FRAME(X, Y)

// ---- Builders ----

TContentWindow* CreateInventoryPanel(TComponent* Target) try {
    auto* Panel = new TContentWindow(INVENTORY_WINDOW, true);
    Panel->setSize(SkinProperties.SidePanel.Width, SkinProperties.InventoryWindow.Height);
    const TSkinRectangle& W = SkinProperties.InventoryWindow.Window;
    Panel->moveChild(Panel->addChild(new TInventoryWindow(Target)), W.x, W.y);
    Panel->moveChild(Panel->addChild(new TCombatControls(Target, true)), COMBAT_CONTROLS_X,
                     COMBAT_CONTROLS_Y);
    Panel->arrange();
    return Panel;
}
CATCH_FRAME()

TContentWindow* CreateSmallInventoryPanel(TComponent* Target) try {
    const auto& I = SkinProperties.InventoryWindow;
    auto* Panel = new TMinimisedInventoryWindow;
    Panel->setSize(SkinProperties.SidePanel.Width, I.SmallHeight);
    Panel->moveChild(Panel->addChild(new TCombatControls(Target, false)), I.SmallCombatControls.x,
                     I.SmallCombatControls.y);
    TButton* Maximise = new TButton(0, 0, SKIN_RESTORE, SKIN_RESTORE + 1, Target, MAIN_MAXIMISE_INVENTORY,
                                    MessageTexts[TEXT_TIP_MAXIMISE_INVENTORY], false);
    Panel->moveChild(Panel->addChild(Maximise), 8, 4);
    const TSkinRectangle Labels[3] = {{22, 4, 32, 21}, {22, 25, 32, 21}, {22, 48, 94, 13}};
    TComponent* Pieces[3] = {new TCapacityLabel, new TSoulLabel, new TPlayerStatesBar(false)};
    for (int32_t i = 0; i < 3; i++) {
        Panel->addChild(Pieces[i]);
        Panel->placeChild(Pieces[i], Labels[i].x, Labels[i].y, Labels[i].width, Labels[i].height);
    }
    return Panel;
}
CATCH_FRAME()
