// The map view's mouse on a canned map, with what it sends read back by a loopback game server: walking,
// drag and drop, use-with and trade cursors, right click by both control schemes, and help contexts.
#include "gui/GUIServices.h"
#include "state/CreaturesPlayer.h"
#include "state/MapLight.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"
#include "tests/network/ClientConnection.h"
#include "tests/network/ClientMessages.h"
#include "tests/network/NetworkFixture.h"
#include "tests/screen/MapBench.h"

#include <cstring>

namespace {

constexpr uint8_t KEY[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
constexpr uint32_t SHIFT = 0x200, CTRL = 0x400;

bool NoWarning() { return true; }

// The view position of the centre of box point (rx, ry): the view is the unstretched 480 x 352 picture.
int32_t At(int32_t r) { return r * 32 - 32 + 16; }

class MapMouse : public MapBench {
protected:
    void SetUp() override {
        MapBench::SetUp();
        fillGround();
        InitStatus(0, NoWarning);
        SetNetworkWindow(&Window);
        ASSERT_TRUE(StartClientOnPeer(Peer, KEY));
    }
    void TearDown() override {
        ExitNetwork();
        SetNetworkWindow(nullptr);
        ExitStatus();
        MapBench::TearDown();
    }
    // The next message the server received, deciphered (command byte first).
    std::vector<uint8_t> sent() { return ReadClientMessage(Peer, KEY); }
    bool nothingSent() { return Peer.receive(1, 50).empty(); }
    int32_t takeEvent() {
        int32_t Type = 0;
        intptr_t P1 = 0, P2 = 0;
        PopMessage(Type, P1, P2);
        FreeMessageParameters(Type, P1, P2);
        return Type;
    }
    void drag(int32_t FromX, int32_t FromY, int32_t ToX, int32_t ToY, uint32_t Flags) {
        SetMousePressPosition(At(FromX), At(FromY));
        View->leftButtonDown(At(FromX), At(FromY), 0);
        SetActionState(ACTIONSTATE_DRAG);
        View->leftButtonUp(At(ToX), At(ToY), Flags);
        SetActionState(ACTIONSTATE_NONE);
    }

    TLoopbackPeer Peer;
    TForwardingWindow Window;
};

TEST_F(MapMouse, DarkFieldsAwayFromThePlayerCannotBeSeen) {
    SetAmbientLight(-1, 0);
    SetAmbientLight(0, 215);
    drawView();
    View->rightClick(At(10), At(6), 0);
    ASSERT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_STREQ(GetTalkboxLine(1, 0), "You can't see anything.");
    EXPECT_EQ(PeekMessageType(), MESSAGE_NONE);
    View->rightClick(At(9), At(7), 0); // a dark neighbour of the player
    EXPECT_EQ(takeEvent(), MESSAGE_OBJECTMENU);
}

TEST_F(MapMouse, DraggedStackMovesWholeWithCtrlOneWithShiftElseAsks) {
    put(5, 5, 0, {COINS, 5, 0});
    drawView();
    drag(5, 5, 6, 5, CTRL);
    std::vector<uint8_t> Move = sent();
    ASSERT_FALSE(Move.empty());
    EXPECT_EQ(Move[0], 120);
    EXPECT_EQ(Move.back(), 5);
    drag(5, 5, 6, 5, SHIFT);
    Move = sent();
    ASSERT_FALSE(Move.empty());
    EXPECT_EQ(Move.back(), 1);
    drag(5, 5, 6, 5, 0);
    EXPECT_EQ(takeEvent(), MESSAGE_MOVECOUNT);
    int32_t x = 0, y = 0, z = 0;
    GetDropPosition(&x, &y, &z);
    EXPECT_EQ(x, 100 - 8 + 6);
    EXPECT_EQ(y, 100 - 6 + 5);
    drag(5, 5, 5, 5, CTRL); // onto its own field
    EXPECT_TRUE(nothingSent());
}

TEST_F(MapMouse, SinglePieceAlwaysMovesOne) {
    put(5, 5, 0, {COINS, 1, 0});
    drawView();
    drag(5, 5, 6, 5, 0);
    const std::vector<uint8_t> Move = sent();
    ASSERT_FALSE(Move.empty());
    EXPECT_EQ(Move.back(), 1);
    EXPECT_EQ(PeekMessageType(), MESSAGE_NONE);
}

TEST_F(MapMouse, UseWithGoesOnAMonsterOrOnAPlayersField) {
    put(5, 5, 0, {USABLE, 0, 0});
    addCreature(MONSTER, 6, 5, "Orc");
    addCreature(OTHER_PLAYER, 7, 4, "Anna");
    drawView();
    View->rightClick(At(5), At(5), CTRL);
    EXPECT_EQ(takeEvent(), MESSAGE_USEWITHCURSOR);
    SetActionState(ACTIONSTATE_USEWITH);
    View->leftButtonUp(At(6), At(5), 0);
    std::vector<uint8_t> Use = sent();
    ASSERT_FALSE(Use.empty());
    EXPECT_EQ(Use[0], 132);
    uint32_t Target = 0;
    std::memcpy(&Target, Use.data() + Use.size() - 4, 4);
    EXPECT_EQ(Target, MONSTER);
    View->leftButtonUp(At(7), At(4), 0);
    Use = sent();
    ASSERT_FALSE(Use.empty());
    EXPECT_EQ(Use[0], 131);
    EXPECT_EQ(Use[Use.size() - 3] | Use[Use.size() - 2] << 8, CREATURE);
    SetActionState(ACTIONSTATE_NONE);
}

TEST_F(MapMouse, ClassicControlAttacksAndStopsWithPlainClicks) {
    SetClassicControl(true);
    addCreature(MONSTER, 6, 5, "Orc");
    drawView();
    View->rightClick(At(6), At(5), 0);
    std::vector<uint8_t> Attack = sent();
    ASSERT_EQ(Attack.size(), 5u);
    EXPECT_EQ(Attack[0], 161);
    EXPECT_EQ(GetAttackTarget(), MONSTER);
    View->rightClick(At(6), At(5), 0);
    Attack = sent();
    ASSERT_EQ(Attack.size(), 5u);
    EXPECT_EQ(Attack[1] | Attack[2] | Attack[3] | Attack[4], 0);
    EXPECT_EQ(GetAttackTarget(), 0u);
}

TEST_F(MapMouse, ModifiedLeftClickActsAsRightClick) {
    put(4, 4, 0, {HERB, 0, 0});
    drawView();
    View->leftButtonUp(At(4), At(4), SHIFT);
    const std::vector<uint8_t> Look = sent();
    ASSERT_FALSE(Look.empty());
    EXPECT_EQ(Look[0], 140);
    EXPECT_EQ(Look[6] | Look[7] << 8, HERB);
}

TEST_F(MapMouse, PlainLeftClickWalks) {
    drawView();
    View->leftButtonUp(At(11), At(6), 0);
    const std::vector<uint8_t> Walk = sent();
    ASSERT_FALSE(Walk.empty());
    EXPECT_EQ(Walk[0], 100);
}

TEST_F(MapMouse, TradeNeedsAnotherPlayer) {
    put(5, 5, 0, {HERB, 0, 0});
    addCreature(MONSTER, 6, 5, "Orc");
    addCreature(OTHER_PLAYER, 7, 4, "Anna");
    drawView();
    SetLookTarget({HERB, 0, 0}, 1, 100 - 8 + 5, 100 - 6 + 5, 7);
    SetActionState(ACTIONSTATE_TRADEWITH);
    View->leftButtonUp(At(6), At(5), 0);
    EXPECT_STREQ(GetStatusMessage(), "Select a player to trade with.");
    View->leftButtonUp(At(7), At(4), 0);
    const std::vector<uint8_t> Trade = sent();
    ASSERT_FALSE(Trade.empty());
    EXPECT_EQ(Trade[0], 125);
    SetActionState(ACTIONSTATE_NONE);
}

TEST_F(MapMouse, HelpContextsNameCreaturesContainersAndLenses) {
    put(4, 4, 0, {LENS, 0, 0});
    put(5, 4, 0, {CHEST, 0, 0});
    drawView();
    EXPECT_TRUE(View->getHelpContext(At(4), At(4)));
    EXPECT_EQ(GetHelpContext(), 1105);
    EXPECT_TRUE(View->getHelpContext(At(5), At(4)));
    EXPECT_EQ(GetHelpContext(), 1002);
    EXPECT_TRUE(View->getHelpContext(At(8), At(6)));
    EXPECT_EQ(GetHelpContext(), 1001);
    EXPECT_FALSE(View->getHelpContext(At(3), At(3))); // bare ground
}

} // namespace
