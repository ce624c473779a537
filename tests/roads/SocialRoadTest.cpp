// The social roads on the real client, two clients sharing one start, in this order: night in the village,
// turning, the VIP list (add, edit for the login notice, online), the party (invite, join, pass the
// leadership, leave, revoke) with its shields, the fight modes and secure mode, a skull for attacking a
// player who keeps her battle line at her last hit point, fighting Tobin until he yields and the values it
// brings, following him a step and stopping, the outfit dialog with its colours, the sign (closed with
// Enter), the book and the house list, both logging out and in again (the VIP goes offline, the list comes
// again), and the VIP removed.
#include "tests/roads/ObjectRoad.h"

#include "foundation/Utils.h"
#include "gui/DialogElements.h"
#include "gui/SkinProperties.h"
#include "screen/ContentWindowsCombat.h"
#include "screen/MainWindow.h"
#include "state/Talk.h"
#include "tools/testserver/Village.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace testserver;

namespace {

const uint32_t ALDRIC = PlayerId("Aldric"), BRENNA = PlayerId("Brenna");
// Brenna enters beside Aldric, who stands on the start field: the first free field around it.
constexpr TPosition BRENNA_FIELD{village::START.X - 1, village::START.Y - 1, village::START.Z};

// Side-window lines: the battle list's names, the VIP list's names by state.
TPattern BattleLine(const std::string& Name) { return Text(Name, {4, 176, 176, 176, LEFT_ALIGN}); }
TPattern VipLine(const std::string& Name, bool Online) {
    return Online ? Text(Name, {4, 96, 248, 96, LEFT_ALIGN}) : Text(Name, {4, 248, 96, 96, LEFT_ALIGN});
}
TPattern Skin(int32_t Number) { return TReference::get().skin(Number); }

class SocialRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        TWorldOptions Night;
        Night.DayStart = std::chrono::hours(23);
        Road = new TRoad(Night);
        TClientSetup Setup;
        Setup.Options = [] { SetNoStretching(true); };
        Aldric = &Road->start(Setup);
        Brenna = &Road->start(Setup);
        Road->login(*Aldric, "Aldric", 1);
    }
    static void TearDownTestSuite() { delete Road; }
    void SetUp() override { ASSERT_TRUE(Aldric->InGame); }

    // The next command the world read from Character, from index From on; it moves From past it.
    static TClientCommand next(const std::string& Character, size_t& From) {
        for (;; From++) {
            const TClientCommand Command = Road->command(From);
            if (Command.Type == 0) return Command; // none came: the test has failed already
            if (Command.Character == Character && Command.Type != COMMAND_PING) return From++, Command;
        }
    }
    // Right-clicks At and chooses Entry from the menu that opens.
    static void choose(TClient& Client, TPoint At, const std::string& Entry) {
        Client.rightClick(At);
        const std::optional<TRect> Found = Client.waitUntilShown(MenuEntry(Entry));
        if (Found) Client.click(Found->centre());
    }
    // Clicks the open dialog's "Ok" (Enter goes to the multi-line fields of the text and VIP dialogs).
    static void confirm(TClient& Client) {
        const std::optional<TRect> Ok = Client.waitUntilShown(ButtonCaption("Ok"));
        if (Ok) Client.click(Ok->centre());
    }
    static std::optional<TRect> shown(TClient& Client, const TPattern& Pattern) {
        return Client.waitUntilShown(Pattern);
    }
    // Opens a side window by its button on the side bar, when it is not open yet.
    static void openSideWindow(TClient& Client, const std::string& Button, const TPattern& Content) {
        if (Client.find(Content)) return;
        const std::optional<TRect> Toggle = shown(Client, ButtonCaption(Button));
        if (Toggle) Client.click(Toggle->centre());
    }

    static inline TRoad* Road = nullptr;
    static inline TClient* Aldric = nullptr;
    static inline TClient* Brenna = nullptr;
};

} // namespace

TEST_F(SocialRoad, NightHasFallenOverTheVillage) {
    const TRect Map = RectOf(Road->layout(*Aldric).MapWindow);
    EXPECT_TRUE(Aldric->waitUntil("a dark map", Map, [](const TImage& Image) {
        size_t Dark = 0;
        for (uint32_t Pixel : Image.Pixels)
            Dark += (Pixel >> 16 & 255) < 80 && (Pixel >> 8 & 255) < 80 && (Pixel & 255) < 96;
        return Dark * 10 >= Image.Pixels.size() * 9; // the grass, the road and the house in moonlight
    }));
}

TEST_F(SocialRoad, CtrlAndTheArrowKeysTurnThePlayer) {
    size_t Sent = Road->commandCount();
    Aldric->key("ctrl+Up ctrl+Right ctrl+Down ctrl+Left");
    for (uint8_t Turn : {COMMAND_TURN_NORTH, COMMAND_TURN_EAST, COMMAND_TURN_SOUTH, COMMAND_TURN_WEST})
        EXPECT_EQ(next("Aldric", Sent).Type, Turn);
}

TEST_F(SocialRoad, AVipAddedThroughTheVipWindowShowsOffline) {
    openSideWindow(*Aldric, "VIP", MenuEntry("Add new VIP"));
    const std::optional<TRect> Title = shown(*Aldric, Text("VIP", SkinProperties.SidePanel.TitleFormat));
    ASSERT_TRUE(Title);
    size_t Sent = Road->commandCount();
    choose(*Aldric, {Title->x + 40, Title->y + 40}, "Add new VIP");
    ASSERT_TRUE(shown(*Aldric, DialogCaption("Add to VIP list")));
    Aldric->type("Brenna");
    Aldric->key("Return");
    const TClientCommand Add = next("Aldric", Sent);
    EXPECT_EQ(Add.Type, COMMAND_ADD_VIP);
    EXPECT_EQ(Add.Name, "Brenna");
    EXPECT_TRUE(shown(*Aldric, VipLine("Brenna", false)));
}

TEST_F(SocialRoad, AVipEditedForTheLoginNoticeIsAnnouncedWhenSheLogsIn) {
    const std::optional<TRect> Line = shown(*Aldric, VipLine("Brenna", false));
    ASSERT_TRUE(Line);
    const size_t Sent = Road->commandCount();
    choose(*Aldric, Line->centre(), "Edit Brenna");
    ASSERT_TRUE(shown(*Aldric, DialogCaption("Change player in VIP list")));
    const std::optional<TRect> Notify =
        shown(*Aldric, Text("Notify at login", SkinProperties.CheckBox.TextFormat));
    ASSERT_TRUE(Notify);
    Aldric->click(Notify->centre());
    Aldric->type("Neighbour");
    confirm(*Aldric);
    EXPECT_TRUE(Aldric->waitUntilGone(DialogCaption("Change player in VIP list"), Aldric->area()));
    EXPECT_EQ(Road->commandCount(), Sent) << "what the client keeps of a VIP is its own";

    Road->login(*Brenna, "Brenna", 2);
    ASSERT_TRUE(Brenna->InGame);
    EXPECT_TRUE(shown(*Aldric, VipLine("Brenna", true)));
    EXPECT_TRUE(shown(*Aldric, StatusLine("Brenna has logged in.")));
}

TEST_F(SocialRoad, APartyFormsPassesItsLeadershipAndEndsWithItsShields) {
    openSideWindow(*Aldric, "Battle", BattleLine("Tobin"));
    openSideWindow(*Brenna, "Battle", BattleLine("Tobin"));
    std::optional<TRect> Line = shown(*Aldric, BattleLine("Brenna"));
    ASSERT_TRUE(Line);
    size_t Sent = Road->commandCount();
    choose(*Aldric, Line->centre(), "Invite to Party");
    TClientCommand Command = next("Aldric", Sent);
    EXPECT_EQ(Command.Type, COMMAND_INVITE_TO_PARTY);
    EXPECT_EQ(Command.CreatureId, BRENNA);
    EXPECT_TRUE(shown(*Aldric, Skin(249))) << "Brenna's line: invited";

    choose(*Brenna, FieldCentreOf(Road->layout(*Brenna), BRENNA_FIELD, village::START),
           "Join Aldric's Party");
    Command = next("Brenna", Sent);
    EXPECT_EQ(Command.Type, COMMAND_JOIN_PARTY);
    EXPECT_EQ(Command.CreatureId, ALDRIC);
    EXPECT_TRUE(shown(*Aldric, Skin(250))) << "Brenna's line: a member";
    EXPECT_TRUE(shown(*Brenna, Skin(251))) << "Aldric's line: the leader";

    Line = shown(*Aldric, BattleLine("Brenna"));
    ASSERT_TRUE(Line);
    choose(*Aldric, Line->centre(), "Pass Leadership to Brenna");
    EXPECT_EQ(next("Aldric", Sent).Type, COMMAND_PASS_LEADERSHIP);
    EXPECT_TRUE(shown(*Aldric, Skin(251))) << "Brenna's line: the leader";

    choose(*Aldric, FieldCentreOf(Road->layout(*Aldric), village::START, village::START), "Leave Party");
    EXPECT_EQ(next("Aldric", Sent).Type, COMMAND_LEAVE_PARTY);
    EXPECT_TRUE(Aldric->waitUntilGone(Skin(251), Aldric->area()));

    Line = shown(*Aldric, BattleLine("Brenna"));
    ASSERT_TRUE(Line);
    choose(*Aldric, Line->centre(), "Invite to Party");
    EXPECT_EQ(next("Aldric", Sent).Type, COMMAND_INVITE_TO_PARTY);
    ASSERT_TRUE(shown(*Aldric, Skin(249)));
    choose(*Aldric, Line->centre(), "Revoke Brenna's Invitation");
    EXPECT_EQ(next("Aldric", Sent).Type, COMMAND_REVOKE_INVITATION);
    EXPECT_TRUE(Aldric->waitUntilGone(Skin(249), Aldric->area()));
}

TEST_F(SocialRoad, TheCombatControlsSendTheFightModes) {
    // The mode buttons look much alike: they are found where the layout puts them.
    const TCombatControls* Controls = Find<TCombatControls>(&Road->layout(*Aldric));
    ASSERT_NE(Controls, nullptr);
    size_t Sent = Road->commandCount();
    const TComponent* const Buttons[] = {Controls->StandButton, Controls->ChaseButton,
                                         Controls->SecureModeButton};
    for (const TComponent* Button : Buttons)
        Aldric->click(RectOf(Button).centre());
    TClientCommand Modes = next("Aldric", Sent);
    EXPECT_EQ(Modes.Type, COMMAND_FIGHT_MODES);
    EXPECT_EQ(Modes.ChaseMode, 0) << "stand";
    Modes = next("Aldric", Sent);
    EXPECT_EQ(Modes.ChaseMode, 1) << "chase";
    Modes = next("Aldric", Sent);
    EXPECT_EQ(Modes.SecureMode, 0) << "secure mode off";
}

TEST_F(SocialRoad, AttackingBrennaWithoutSecureModeBringsAWhiteSkullAndLeavesHerListedAtOnePercent) {
    const TPattern Name = BattleLine("Brenna");
    const std::optional<TRect> Line = shown(*Aldric, Name);
    ASSERT_TRUE(Line);
    // The first blow leaves her 1 hit point of 150: alive, so at least 1 percent.
    Road->world()->perform([](TGameWorld& World) { World.player("Brenna")->Values.Hitpoints = 2; });
    size_t Sent = Road->commandCount();
    Aldric->click(Line->centre());
    const TClientCommand Attack = next("Aldric", Sent);
    EXPECT_EQ(Attack.Type, COMMAND_ATTACK);
    EXPECT_EQ(Attack.CreatureId, BRENNA);
    EXPECT_TRUE(shown(*Brenna, Skin(242))) << "the white skull on Aldric's line";
    EXPECT_TRUE(Road->waitForWorld("Brenna at 1 percent", [](TGameWorld& World) {
        return World.creature(*World.player("Brenna")).Health == 1;
    }));
    // Her line's health bar (120 pixels for 100 percent, below the unmarked name) down to its first column in
    // the colour of the dying.
    const TPoint LineCorner{Line->x + Name.Origin.x - 23, Line->y + Name.Origin.y - 2};
    const TRect Bar{LineCorner.x + 24, LineCorner.y + 15, 120, 3};
    Aldric->move({Line->x, Line->y + 100});
    EXPECT_TRUE(Aldric->waitUntil("Brenna's health bar at 1 percent", Bar, [&Bar](const TImage& Image) {
        constexpr uint32_t DYING = 0x600000;
        return std::ranges::count(Image.Pixels, DYING) == Bar.Height && Image.at({Bar.x, Bar.y}) == DYING;
    }));

    const std::optional<TRect> Stop = shown(*Aldric, ButtonCaption("Stop"));
    ASSERT_TRUE(Stop);
    Aldric->click(Stop->centre());
    for (TClientCommand Command = next("Aldric", Sent); Command.Type != COMMAND_CANCEL && Command.Type != 0;)
        Command = next("Aldric", Sent);
    EXPECT_TRUE(shown(*Aldric, Name)) << "her line, no longer marked";
}

TEST_F(SocialRoad, FightingTobinUntilHeYieldsBringsExperience) {
    const std::optional<TRect> Line = shown(*Aldric, BattleLine("Tobin"));
    ASSERT_TRUE(Line);
    size_t Sent = Road->commandCount();
    Aldric->click(Line->centre());
    const TClientCommand Attack = next("Aldric", Sent);
    EXPECT_EQ(Attack.Type, COMMAND_ATTACK);
    EXPECT_EQ(Attack.CreatureId, village::TOBIN);
    // The attacked creature's line is framed red while the pointer is elsewhere.
    const TRect Frame{Line->x - 30, Line->y - 4, 20, 24};
    Aldric->move({Line->x, Line->y + 100});
    auto Framed = [](const TImage& Image) {
        return std::ranges::find(Image.Pixels, 0xE04040u) != Image.Pixels.end();
    };
    EXPECT_TRUE(Aldric->waitUntil("the attack mark on Tobin's line", Frame, Framed));
    const TRect Console = RectOf(Road->layout(*Aldric).Console);
    EXPECT_TRUE(Aldric->waitUntilShown(ConsoleLine("You have defeated Tobin.", ::TALK_EVENT_STATUS), Console,
                                       std::chrono::seconds(30)));

    EXPECT_TRUE(Aldric->waitUntil("the attack mark gone", Frame, std::not_fn(Framed)));
    const int32_t Rounds = 100 / 20; // Tobin loses a fifth of his health in each and strikes back
    const std::string Hitpoints = std::to_string(TPlayerValues{}.Hitpoints - Rounds * village::TOBIN_STRIKES);
    EXPECT_TRUE(shown(*Aldric, Text(Hitpoints, SkinProperties.StatusWindow.TextFormat)));

    openSideWindow(*Aldric, "Skills", Text("Experience", {4, 176, 176, 176, LEFT_ALIGN}));
    char Experience[14];
    FormatThousands(static_cast<int32_t>(TPlayerValues{}.Experience + 150), Experience);
    EXPECT_TRUE(shown(*Aldric, Text(Experience, {4, 176, 176, 176, RIGHT_ALIGN})));
}

TEST_F(SocialRoad, FollowingTobinAndStopping) {
    const std::optional<TRect> Line = shown(*Aldric, BattleLine("Tobin"));
    ASSERT_TRUE(Line);
    size_t Sent = Road->commandCount();
    choose(*Aldric, Line->centre(), "Follow");
    const TClientCommand Follow = next("Aldric", Sent);
    EXPECT_EQ(Follow.Type, COMMAND_FOLLOW);
    EXPECT_EQ(Follow.CreatureId, village::TOBIN);
    // Tobin stands two fields off diagonally: the follower steps once, to his side.
    auto At = [](TPosition Field) {
        return [Field](TGameWorld& World) {
            const TPlayer* Me = World.player("Aldric");
            return Me && Me->Path.empty() && World.creature(*Me).Position == Field;
        };
    };
    const TPosition BesideTobin{village::START.X + 1, village::START.Y + 1, village::START.Z};
    EXPECT_TRUE(Road->waitForWorld("Aldric beside Tobin", At(BesideTobin)));
    Aldric->key("Escape");
    EXPECT_EQ(next("Aldric", Sent).Type, COMMAND_CANCEL);
    // Back to the start field, where the later roads begin.
    Aldric->key("KP_Home");
    EXPECT_TRUE(Road->waitForWorld("Aldric back on the start field", At(village::START)));
}

TEST_F(SocialRoad, TheOutfitDialogShowsItsColoursAndSendsTheChosenLook) {
    size_t Sent = Road->commandCount();
    choose(*Aldric, FieldCentreOf(Road->layout(*Aldric), village::START, village::START), "Set Outfit");
    EXPECT_EQ(next("Aldric", Sent).Type, COMMAND_GET_OUTFIT);
    ASSERT_TRUE(shown(*Aldric, DialogCaption("Select Outfit")));

    constexpr int32_t LEGS_COLOR = 57;
    int32_t Red, Green, Blue;
    GetOutfitColor(LEGS_COLOR, Red, Green, Blue);
    TColorButton Button(0, 0, Red, Green, Blue, 22, 23, nullptr, 0, nullptr);
    const std::optional<TRect> Color = shown(*Aldric, TReference::get().component(Button, "colour 57"));
    ASSERT_TRUE(Color) << "the colour buttons show their colours";
    const std::optional<TRect> Legs = shown(*Aldric, ButtonCaption("Legs"));
    const std::optional<TRect> Next = shown(*Aldric, ButtonCaption("Next"));
    ASSERT_TRUE(Legs && Next);
    Aldric->click(Legs->centre());
    Aldric->click(Color->centre());
    Aldric->click(Next->centre());
    Aldric->key("Return");
    const TClientCommand Set = next("Aldric", Sent);
    EXPECT_EQ(Set.Type, COMMAND_SET_OUTFIT);
    EXPECT_EQ(Set.Outfit, village::OUTFIT_MAGE) << "the knight's next look";
    EXPECT_EQ(Set.Colors[2], LEGS_COLOR);
}

TEST_F(SocialRoad, TheSignIsReadTheBookWrittenAndTheHouseListEdited) {
    TPoint Sign = FieldCentreOf(Road->layout(*Aldric), village::START, village::SIGN_FIELD);
    size_t Sent = Road->commandCount();
    Aldric->rightClick(Sign, "ctrl");
    EXPECT_EQ(next("Aldric", Sent).Type, COMMAND_USE);
    EXPECT_TRUE(shown(*Aldric, DialogCaption("Show Text")));
    EXPECT_TRUE(shown(*Aldric, Text("Mind the pond.", SkinProperties.EditField.ReadOnlyTextFormat)));
    Aldric->key("Return"); // a text the player cannot change: Enter closes it, as its Ok does
    ASSERT_TRUE(Aldric->waitUntilGone(DialogCaption("Show Text"), Aldric->area()));

    Aldric->rightClick(FieldCentreOf(Road->layout(*Aldric), village::START, village::BOOK_FIELD), "ctrl");
    const TClientCommand Use = next("Aldric", Sent);
    EXPECT_EQ(Use.Type, COMMAND_USE) << "the sign's text is not sent back";
    constexpr TPosition BOOK = village::BOOK_FIELD;
    EXPECT_EQ(Use.Place, (TPlace{BOOK.X, BOOK.Y, BOOK.Z}));
    ASSERT_TRUE(shown(*Aldric, DialogCaption("Edit Text")));
    Aldric->type("Dear diary");
    confirm(*Aldric);
    const TClientCommand Written = next("Aldric", Sent);
    EXPECT_EQ(Written.Type, COMMAND_EDIT_TEXT);
    EXPECT_EQ(Written.Text, "Dear diary");

    Aldric->rightClick(FieldCentreOf(Road->layout(*Aldric), village::START, village::HOUSE_SIGN_FIELD),
                       "ctrl");
    EXPECT_EQ(next("Aldric", Sent).Type, COMMAND_USE);
    ASSERT_TRUE(shown(*Aldric, DialogCaption("Edit List")));
    Aldric->type(" Cedric");
    confirm(*Aldric);
    const TClientCommand Edited = next("Aldric", Sent);
    EXPECT_EQ(Edited.Type, COMMAND_EDIT_LIST);
    EXPECT_EQ(Edited.ListKind, village::GUEST_LIST);
    EXPECT_EQ(Edited.Text, "Aldric\nBrenna Cedric");
}

TEST_F(SocialRoad, TheVipGoesOfflineWhenSheLeavesAndTheListComesAgainAtTheNextLogin) {
    Road->logout(*Brenna);
    EXPECT_TRUE(shown(*Aldric, VipLine("Brenna", false)));
    Road->logout(*Aldric);
    Road->chooseCharacter(*Aldric, "Aldric");
    ASSERT_TRUE(Aldric->InGame);
    EXPECT_TRUE(shown(*Aldric, VipLine("Brenna", false))) << "the server sends the list again at login";
    Road->chooseCharacter(*Brenna, "Brenna");
    ASSERT_TRUE(Brenna->InGame);
    EXPECT_TRUE(shown(*Aldric, VipLine("Brenna", true)));
}

TEST_F(SocialRoad, RemovingTheVipTakesHerOffTheList) {
    const std::optional<TRect> Line = shown(*Aldric, VipLine("Brenna", true));
    ASSERT_TRUE(Line);
    size_t Sent = Road->commandCount();
    choose(*Aldric, Line->centre(), "Remove Brenna");
    const TClientCommand Remove = next("Aldric", Sent);
    EXPECT_EQ(Remove.Type, COMMAND_REMOVE_VIP);
    EXPECT_EQ(Remove.CreatureId, BRENNA);
    EXPECT_TRUE(Aldric->waitUntilGone(VipLine("Brenna", true), Aldric->area()));
}
