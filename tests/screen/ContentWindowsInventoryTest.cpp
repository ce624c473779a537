// The inventory panels: slot hit tests, drag sources and drops, use-with and trade cursors, the right click
// by both control schemes, the minimised drop field, and the slots drawn on the software engine.
#include "screen/ContentWindowsInventory.h"

#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "state/Inventory.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"
#include "tests/foundation/Thrown.h"
#include "tests/screen/SideWindowBench.h"

namespace {

class InventoryPanelTest : public SideWindowBench {
protected:
    void SetUp() override {
        SideWindowBench::SetUp();
        Panel = CreateInventoryPanel(&Target);
        Window = dynamic_cast<TInventoryWindow*>(Panel->FirstChild->Next);
        ASSERT_NE(Window, nullptr);
    }
    void TearDown() override {
        delete Panel;
        SideWindowBench::TearDown();
    }
    // A point inside the object picture of a body position, in window coordinates.
    static int32_t slotX(int32_t Position) { return SLOT_X[Position - 1] + 10; }
    static int32_t slotY(int32_t Position) { return SLOT_Y[Position - 1] + 10; }
    void dropOn(int32_t Position, uint32_t Flags) {
        SetActionState(ACTIONSTATE_DRAG);
        EXPECT_TRUE(Window->leftButtonUp(slotX(Position), slotY(Position), Flags));
        SetActionState(ACTIONSTATE_NONE);
    }
    void dragStackFromMap(int32_t Count) {
        SetMousePressPosition(0, 0);
        SetDragSource({STACK, Count, 0}, 2, 32000, 32001, 7);
    }

    static constexpr int32_t SLOT_X[10] = {37, 0, 74, 37, 74, 0, 37, 37, 0, 74};
    static constexpr int32_t SLOT_Y[10] = {0, 14, 14, 37, 51, 51, 74, 111, 88, 88};
    TParentComponent Target;
    TContentWindow* Panel = nullptr;
    TInventoryWindow* Window = nullptr;
};

TEST_F(InventoryPanelTest, SlotFramesAnswerOneMorePixelThanTheirSize) {
    EXPECT_EQ(Window->getSlotAt(34, 20), 2);
    EXPECT_EQ(Window->getSlotAt(35, 20), 0);
    EXPECT_EQ(Window->getSlotAt(37, 20), 1);
    EXPECT_EQ(Window->getSlotAt(74 + 34, 88 + 34), 10);
    // A press beside every slot is left to the panel, which starts dragging itself.
    SetBodyObject(2, {PLAIN, 0, 0});
    Panel->leftButtonDown(8 + 35, 4 + 20, 0);
    EXPECT_TRUE(Panel->Dragging);
    Panel->leftButtonUp(8 + 35, 4 + 20, 0);
    Panel->leftButtonDown(8 + 34, 4 + 20, 0);
    EXPECT_FALSE(Panel->Dragging);
    int32_t Position = -1, x = 0, y = 0, z = -1;
    EXPECT_EQ(GetDragSource(&Position, &x, &y, &z)->Type, PLAIN);
    EXPECT_EQ((std::vector<int32_t>{Position, x, y, z}), (std::vector<int32_t>{0, OFF_MAP, 2, 0}));
}

TEST_F(InventoryPanelTest, StackDroppedOnAnEmptySlotAsksForTheCountUnlessAModifierDecides) {
    dragStackFromMap(25);
    dropOn(6, 0);
    EXPECT_EQ(takeEvents(), std::vector<int32_t>{13});
    int32_t x = 0, y = 0, z = -1;
    GetDropPosition(&x, &y, &z);
    EXPECT_EQ((std::vector<int32_t>{x, y, z}), (std::vector<int32_t>{OFF_MAP, 6, 0}));
    EXPECT_TRUE(nothingSent());

    dropOn(6, CTRL);
    EXPECT_EQ(sent(), TWire(120).object(32000, 32001, 7, STACK, 2).place(OFF_MAP, 6, 0).u8(25));
    dropOn(6, SHIFT);
    EXPECT_EQ(sent(), TWire(120).object(32000, 32001, 7, STACK, 2).place(OFF_MAP, 6, 0).u8(1));
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(InventoryPanelTest, ObjectDroppedBackOnItsSlotStaysAndElsewhereMoves) {
    SetBodyObject(4, {PLAIN, 0, 0});
    EXPECT_TRUE(Window->leftButtonDown(slotX(4), slotY(4), 0));
    dropOn(4, 0);
    EXPECT_TRUE(nothingSent());
    dropOn(1, 0);
    EXPECT_EQ(sent(), TWire(120).object(OFF_MAP, 4, 0, PLAIN, 0).place(OFF_MAP, 1, 0).u8(1));
    // An empty slot is no drag source.
    SetMousePressPosition(0, 0);
    EXPECT_TRUE(Window->leftButtonDown(slotX(7), slotY(7), 0));
    int32_t Position, x, y, z;
    EXPECT_EQ(GetDragSource(&Position, &x, &y, &z)->Type, 0);
}

TEST_F(InventoryPanelTest, RightClickByTheControlScheme) {
    SetBodyObject(3, {BAG, 0, 0});
    OpenContainer(0, {BAG, 0, 0}, "Bag", 8, false);
    SetClassicControl(false);
    EXPECT_TRUE(Window->rightClick(slotX(3), slotY(3), 0));
    EXPECT_EQ(takeEvents(), std::vector<int32_t>{52});
    int32_t Position, x, y, z;
    EXPECT_EQ(GetLookTarget(&Position, &x, &y, &z)->Type, BAG);
    EXPECT_EQ((std::vector<int32_t>{x, y, z}), (std::vector<int32_t>{OFF_MAP, 3, 0}));
    EXPECT_EQ(GetUseTarget(&Position, &x, &y, &z)->Type, BAG);

    Window->rightClick(slotX(3), slotY(3), CTRL); // opens in the lowest free container number
    EXPECT_EQ(sent(), TWire(130).object(OFF_MAP, 3, 0, BAG, 0).u8(1));

    SetClassicControl(true);
    Window->rightClick(slotX(3), slotY(3), 0);
    EXPECT_EQ(sent(), TWire(130).object(OFF_MAP, 3, 0, BAG, 0).u8(1));
    Window->rightClick(slotX(3), slotY(3), CTRL);
    EXPECT_EQ(takeEvents(), std::vector<int32_t>{52});
    SetBodyObject(6, {TOOL, 0, 0});
    Window->rightClick(slotX(6), slotY(6), 0);
    EXPECT_EQ(takeEvents(), std::vector<int32_t>{44});

    // Shift on a plain left click (no drag) looks, with either scheme; an empty slot does nothing.
    Window->leftButtonUp(slotX(6), slotY(6), SHIFT);
    EXPECT_EQ(sent(), TWire(140).object(OFF_MAP, 6, 0, TOOL, 0));
    Window->leftButtonUp(slotX(8), slotY(8), SHIFT);
    Window->leftButtonUp(slotX(6), slotY(6), 0);
    EXPECT_TRUE(nothingSent());
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(InventoryPanelTest, UseWithAndTradeCursorsOverASlot) {
    SetBodyObject(5, {PLAIN, 0, 0});
    SetUseTarget({TOOL, 0, 0}, 1, 32000, 32002, 7);
    SetActionState(ACTIONSTATE_USEWITH);
    Window->leftButtonUp(slotX(7), slotY(7), 0); // empty slot: nothing
    Window->leftButtonUp(slotX(5), slotY(5), 0);
    EXPECT_EQ(sent(), TWire(131).object(32000, 32002, 7, TOOL, 1).object(OFF_MAP, 5, 0, PLAIN, 0));
    SetUseTarget({CREATURE, 5, 0}, 1, 32000, 32002, 7);
    const std::string Text = ThrownText([this] { Window->leftButtonUp(slotX(5), slotY(5), 0); });
    EXPECT_NE(Text.find("SrcObj.Type!=CREATURE"), std::string::npos) << Text;

    SetActionState(ACTIONSTATE_TRADEWITH);
    Window->leftButtonUp(slotX(5), slotY(5), 0);
    ASSERT_NE(GetStatusMessage(), nullptr);
    EXPECT_STREQ(GetStatusMessage(), "Select a player to trade with.");
    SetActionState(ACTIONSTATE_NONE);
    EXPECT_TRUE(nothingSent());
}

TEST_F(InventoryPanelTest, MinimisedDropFieldSendsToAnySlot) {
    TContentWindow* Small = CreateSmallInventoryPanel(&Target);
    EXPECT_EQ(Small->Identifier, SMALL_INVENTORY_WINDOW);
    EXPECT_EQ(Small->getHeight(), 64);
    SetBodyObject(4, {PLAIN, 0, 0});
    Window->leftButtonDown(slotX(4), slotY(4), 0);
    SetActionState(ACTIONSTATE_DRAG);
    Small->leftButtonUp(22 + 31, 4 + 41, 0);
    EXPECT_EQ(sent(), TWire(120).object(OFF_MAP, 4, 0, PLAIN, 0).place(OFF_MAP, 0, 0).u8(1));
    Small->leftButtonUp(22 + 32, 4 + 10, 0); // beside the field
    dragStackFromMap(3);
    Small->leftButtonUp(30, 10, 0);
    EXPECT_EQ(takeEvents(), std::vector<int32_t>{13});
    SetActionState(ACTIONSTATE_NONE);
    EXPECT_TRUE(nothingSent());
    delete Small;
}

TEST_F(InventoryPanelTest, HelpCoversTheWholePanel) {
    SetHelpOrigin(0, 0);
    EXPECT_TRUE(Panel->getHelpContext(8 + 50, 4 + 50));
    EXPECT_EQ(GetHelpContext(), 12);
    int32_t x, y, w, h;
    GetHelpRectangle(&x, &y, &w, &h);
    EXPECT_EQ((std::vector<int32_t>{x, y, w, h}), (std::vector<int32_t>{0, 0, 176, 170}));
}

TEST_F(InventoryPanelTest, SlotsDrawEmptySkinsObjectsAndTheDropMarker) {
    SetBodyObject(1, {PLAIN, 0, 0});
    SetMousePosition(10 + 38 + 5, 20 + 112 + 5); // over the feet's picture
    SetActionState(ACTIONSTATE_DRAG);
    Window->draw(SCREEN_SURFACE, 10, 20);
    SetActionState(ACTIONSTATE_NONE);
    EXPECT_EQ(Screen.source(10 + 1 + 3, 20 + 15 + 4), TPanelScreen::skinPixel(89, 3, 4)); // empty neck
    EXPECT_EQ(Screen.source(10 + 37, 20 + 14), TPanelScreen::skinPixel(102, 0, 14));      // slot frame
    EXPECT_EQ(Screen.source(10 + 38 + 5, 20 + 1 + 5), TSkinSource({-1, -1}));             // head object
    EXPECT_EQ(Screen.pixel(10 + 37, 20 + 111 + 10), TPanelScreen::rgb(255, 255, 255));    // marker
    EXPECT_EQ(Screen.pixel(10 + 37 + 33, 20 + 111 + 33), TPanelScreen::rgb(255, 255, 255));
    EXPECT_EQ(Screen.source(10 + 38, 20 + 112 + 1), TPanelScreen::skinPixel(95, 0, 1));
    EXPECT_NE(Screen.pixel(10 + 0, 20 + 51), TPanelScreen::rgb(255, 255, 255));     // no marker elsewhere
    EXPECT_EQ(Screen.source(10 + 74, 20 + 124), TPanelScreen::skinPixel(98, 0, 0)); // under the capacity
}

} // namespace
