// Tests of the client messages: every sender's bytes as the server deciphers them, the talk modes each
// accepts, the walk path each keeps or drops, refusals, and the values their failures name.
#include "SenderFixture.h"

#include "network/CommunicationSend.h"
#include "state/Preferences.h"
#include "state/Talk.h"
#include "tests/foundation/Thrown.h"

#include <functional>

namespace {

struct TSenderCase {
    const char* Name;
    std::function<void()> Send;
    std::vector<uint8_t> Expected;
};

constexpr int INV = PLACE_OFF_MAP;
constexpr int CONTAINER3 = PLACE_CONTAINER_BASE + 3;
const int32_t COLORS[4] = {3, 4, 5, 6};

// Every sender with distinct values in every field: map fields, inventory and container slots as places.
std::vector<TSenderCase> SenderCases() {
    return {
        {"ping answer", [] { SendPingAnswer(); }, TWire(30)},
        {"refresh container", [] { SendRefreshContainer(15); }, TWire(202).u8(15)},
        {"turn north", [] { SendTurnNorth(); }, TWire(111)},
        {"turn east", [] { SendTurnEast(); }, TWire(112)},
        {"turn south", [] { SendTurnSouth(); }, TWire(113)},
        {"turn west", [] { SendTurnWest(); }, TWire(114)},
        {"move container to map", [] { SendMoveObject(INV, CONTAINER3, 11, ITEM, 11, 32001, 31999, 7, 25); },
         TWire(120).object(INV, CONTAINER3, 11, ITEM, 11).u16(32001).u16(31999).u8(7).u8(25)},
        {"use on map", [] { SendUseObject(32002, 31998, 6, ITEM, 2, 4); },
         TWire(130).object(32002, 31998, 6, ITEM, 2).u8(4)},
        {"use two", [] { SendUseTwoObjects(INV, 5, 0, ITEM, 0, INV, CONTAINER3, 7, CRATE, 7); },
         TWire(131).object(INV, 5, 0, ITEM, 0).object(INV, CONTAINER3, 7, CRATE, 7)},
        {"use on creature", [] { SendUseOnCreature(INV, CONTAINER3, 1, ITEM, 1, 0x40000001); },
         TWire(132).object(INV, CONTAINER3, 1, ITEM, 1).u32(0x40000001)},
        {"rotate", [] { SendRotateObject(32003, 32004, 8, CRATE, 9); },
         TWire(133).object(32003, 32004, 8, CRATE, 9)},
        {"look", [] { SendLook(32005, 32006, 15, GROUND, 0); },
         TWire(140).object(32005, 32006, 15, GROUND, 0)},
        {"close container", [] { SendCloseContainer(5); }, TWire(135).u8(5)},
        {"up container", [] { SendUpContainer(6); }, TWire(136).u8(6)},
        {"trade", [] { SendTradeObject(INV, 10, 0, ITEM, 0, 0x40000002); },
         TWire(125).object(INV, 10, 0, ITEM, 0).u32(0x40000002)},
        {"look trade", [] { SendLookTrade(1, 7); }, TWire(126).u8(1).u8(7)},
        {"accept trade", [] { SendAcceptTrade(); }, TWire(127)},
        {"close trade", [] { SendCloseTrade(); }, TWire(128)},
        {"edit text", [] { SendEditText(0xDEADBEEF, "Once upon"); },
         TWire(137).u32(0xDEADBEEF).str("Once upon")},
        {"edit text empty", [] { SendEditText(1, ""); }, TWire(137).u32(1).u16(0)},
        {"edit list", [] { SendEditList(2, 0x12345678, "Alice\nBob"); },
         TWire(138).u8(2).u32(0x12345678).str("Alice\nBob")},
        {"talk", [] { SendTalk(TALK_YELL, "Hey!"); }, TWire(150).u8(3).str("Hey!")},
        {"private talk", [] { SendPrivateTalk(TALK_PRIVATE_MESSAGE, "Brenna", "hi"); },
         TWire(150).u8(4).str("Brenna").str("hi")},
        {"channel talk", [] { SendChannelTalk(TALK_CHANNEL_CALL, 0x0104, "trade"); },
         TWire(150).u8(5).u16(0x0104).str("trade")},
        {"get channels", [] { SendGetChannels(); }, TWire(151)},
        {"join channel", [] { SendJoinChannel(0x0203); }, TWire(152).u16(0x0203)},
        {"leave channel", [] { SendLeaveChannel(0x0304); }, TWire(153).u16(0x0304)},
        {"private channel", [] { SendPrivateChannel("Aldric"); }, TWire(154).str("Aldric")},
        {"process request", [] { SendProcessRequest("Bo"); }, TWire(155).str("Bo")},
        {"remove request", [] { SendRemoveRequest("Cy"); }, TWire(156).str("Cy")},
        {"cancel request", [] { SendCancelRequest(); }, TWire(157)},
        {"open own channel", [] { SendOpenOwnChannel(); }, TWire(170)},
        {"invite to channel", [] { SendInviteToChannel("Dara"); }, TWire(171).str("Dara")},
        {"exclude from channel", [] { SendExcludeFromChannel("Eli"); }, TWire(172).str("Eli")},
        {"attack", [] { SendAttack(0x10203040); }, TWire(161).u32(0x10203040)},
        {"follow", [] { SendFollow(0x50607080); }, TWire(162).u32(0x50607080)},
        {"cancel", [] { SendCancel(); }, TWire(190)},
        {"invite to party", [] { SendInviteToParty(0x01020304); }, TWire(163).u32(0x01020304)},
        {"join party", [] { SendJoinParty(0x05060708); }, TWire(164).u32(0x05060708)},
        {"revoke invitation", [] { SendRevokeInvitation(0x090A0B0C); }, TWire(165).u32(0x090A0B0C)},
        {"pass leadership", [] { SendPassLeadership(0x0D0E0F10); }, TWire(166).u32(0x0D0E0F10)},
        {"leave party", [] { SendLeaveParty(); }, TWire(167)},
        {"set outfit", [] { SendSetOutfit(128, COLORS); }, {0xD3, 0x80, 0x00, 0x03, 0x04, 0x05, 0x06}},
        {"add VIP", [] { SendAddVIP("Fenn"); }, TWire(220).str("Fenn")},
        {"remove VIP", [] { SendRemoveVIP(0x11223344); }, TWire(221).u32(0x11223344)},
        {"bug report", [] { SendBugReport("It broke"); }, TWire(230).str("It broke")},
        {"rule violation", [] { SendRuleViolation("Dorn", 31, 7, "spam", 0x55667788, true); },
         TWire(231).str("Dorn").u8(31).u8(7).str("spam").u32(0x55667788).u8(1)},
        {"error report", [] { SendErrorReport("Crash", "Mon Jan  1 00:00:00 2024", "a\nb", "Comment: x"); },
         TWire(232).str("Crash").str("Mon Jan  1 00:00:00 2024").str("a\nb").str("Comment: x")},
        {"logout", [] { SendLogout(); }, TWire(20)},
        {"stop walk", [] { SendStopWalk(); }, TWire(105)},
    };
}

using ClientMessages = SenderTest;

} // namespace

TEST_F(ClientMessages, EverySenderPutsItsFieldsInOrderAtTheirWidths) {
    for (const TSenderCase& Case : SenderCases()) {
        SCOPED_TRACE(Case.Name);
        Case.Send();
        EXPECT_EQ(Sent(), Case.Expected);
    }
    SetAttackMode(2);
    SetChaseMode(1);
    SetSecureMode(true);
    SendFightModes();
    EXPECT_EQ(Sent(), (std::vector<uint8_t>{160, 2, 1, 1}));
    // Full-width arguments are cut to the field.
    SendLookTrade(0x101, 0x1FF);
    EXPECT_EQ(Sent(), (std::vector<uint8_t>{126, 1, 0xFF}));
}

TEST_F(ClientMessages, WithoutAConnectionEverySenderReturnsAndSendsNothing) {
    Disconnect(true);
    for (const TSenderCase& Case : SenderCases()) {
        SCOPED_TRACE(Case.Name);
        EXPECT_EQ(ThrownText(Case.Send), "no exception");
    }
    // The refresh mark stands all the same.
    SendRefreshField(VX + 1, VY - 2, VZ);
    EXPECT_EQ(FieldRefreshRequested(9, 4, GetViewLayer()), 1);
    EXPECT_TRUE(NothingSent());
}

TEST_F(ClientMessages, ActionsOnTheMapDropTheWalkPathAndOthersKeepIt) {
    struct {
        const char* Name;
        std::function<void()> Send;
        bool Keeps;
    } Cases[] = {
        {"move from map", [] { SendMoveObject(VX, VY, VZ, ITEM, 1, INV, 5, 0, 1); }, false},
        {"move from inventory", [] { SendMoveObject(INV, 5, 0, ITEM, 0, VX, VY, VZ, 1); }, true},
        {"move from container", [] { SendMoveObject(INV, CONTAINER3, 2, ITEM, 2, VX, VY, VZ, 1); }, true},
        {"use on map", [] { SendUseObject(VX, VY, VZ, ITEM, 1, 0); }, false},
        {"use in container", [] { SendUseObject(INV, CONTAINER3, 2, ITEM, 2, 3); }, true},
        {"use two, first on map", [] { SendUseTwoObjects(VX, VY, VZ, ITEM, 1, INV, 5, 0, ITEM, 0); }, false},
        {"use two, second on map", [] { SendUseTwoObjects(INV, 5, 0, ITEM, 0, VX, VY, VZ, ITEM, 1); }, false},
        {"use two off the map", [] { SendUseTwoObjects(INV, 5, 0, ITEM, 0, INV, CONTAINER3, 1, ITEM, 1); },
         true},
        {"use on creature from inventory", [] { SendUseOnCreature(INV, 5, 0, ITEM, 0, 7); }, false},
        {"trade from inventory", [] { SendTradeObject(INV, 5, 0, ITEM, 0, 7); }, false},
        {"attack", [] { SendAttack(7); }, false},
        {"stop attacking", [] { SendAttack(0); }, true},
        {"follow", [] { SendFollow(7); }, false},
        {"stop following", [] { SendFollow(0); }, true},
        {"look", [] { SendLook(VX, VY, VZ, ITEM, 1); }, true},
        {"rotate", [] { SendRotateObject(VX, VY, VZ, ITEM, 1); }, true},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        QueueSteps(3);
        Case.Send();
        EXPECT_FALSE(Sent().empty());
        EXPECT_EQ(GetNumberOfPlayerSteps(), Case.Keeps ? 3 : 0);
    }
}

TEST_F(ClientMessages, AnUnmovableObjectIsRefusedWhereverItLies) {
    const std::pair<int, int> From[] = {{VX, VY}, {INV, 5}, {INV, CONTAINER3}};
    for (auto [X, Y] : From) {
        QueueSteps(2);
        SetStatusMessage(nullptr);
        SendMoveObject(X, Y, 0, FIXED, 0, VX + 1, VY, VZ, 1);
        EXPECT_EQ(Status(), "You cannot move this object.");
        EXPECT_EQ(GetNumberOfPlayerSteps(), 2) << "a refused move keeps the walk path";
    }
    EXPECT_TRUE(NothingSent());
    // A creature can be moved: type 99 is no object type of the file.
    SendMoveObject(VX, VY, VZ, CREATURE, 1, VX + 1, VY, VZ, 1);
    EXPECT_EQ(Sent()[0], 120);
}

TEST_F(ClientMessages, EachTalkSenderTakesOnlyItsOwnModes) {
    const std::vector<int32_t> Say = {1, 2, 3, 6, 8, 9, 13}, Private = {4, 7, 11, 15}, Channel = {5, 10, 14};
    auto Accepted = [](const std::vector<int32_t>& Modes, int32_t Mode) {
        return std::find(Modes.begin(), Modes.end(), Mode) != Modes.end();
    };
    for (int32_t Mode = 0; Mode < TALK_MODE_BEYONDLAST; Mode++) {
        SCOPED_TRACE(Mode);
        std::string Named = "exception occurred (Mode = " + std::to_string(Mode) + ")";
        std::string Text = ThrownText([&] { SendTalk(Mode, "x"); });
        if (Accepted(Say, Mode))
            EXPECT_EQ(Sent(), TWire(150).u8(Mode).str("x").Bytes);
        else
            EXPECT_NE(Text.find(Named + ", reason:\nCommunicationSend.cpp "), std::string::npos) << Text;
        Text = ThrownText([&] { SendPrivateTalk(Mode, "Al", "x"); });
        if (Accepted(Private, Mode))
            EXPECT_EQ(Sent(), TWire(150).u8(Mode).str("Al").str("x").Bytes);
        else
            EXPECT_NE(Text.find(Named), std::string::npos) << Text;
        Text = ThrownText([&] { SendChannelTalk(Mode, 9, "x"); });
        if (Accepted(Channel, Mode))
            EXPECT_EQ(Sent(), TWire(150).u8(Mode).u16(9).str("x").Bytes);
        else
            EXPECT_NE(Text.find(Named + " (ChannelID = 9)"), std::string::npos) << Text;
    }
    EXPECT_TRUE(NothingSent());
}

TEST_F(ClientMessages, FailedChecksSendNothingAndTheFramesNameTheirValues) {
    struct {
        std::function<void()> Send;
        std::string Check, Frame;
    } Cases[] = {
        {[] { SendTalk(TALK_PRIVATE_MESSAGE, "x"); },
         "assertion failed (Mode = 4), reason:\nMode==TALK_SAY || Mode==TALK_WHISPER || Mode==TALK_YELL || "
         "Mode==TALK_GAMEMASTER_REQUEST || Mode==TALK_PLAYER_ANSWER || Mode==TALK_GAMEMASTER_BROADCAST || "
         "Mode==TALK_ANONYMOUS_BROADCAST",
         "(Mode = 4)"},
        {[] { SendTalk(TALK_SAY, nullptr); }, "assertion failed, reason:\nText!=NULL", "(Mode = 1)"},
        {[] { SendPrivateTalk(TALK_PRIVATE_MESSAGE, nullptr, "x"); }, "Addressee!=NULL", "(Mode = 4)"},
        {[] { SendPrivateTalk(TALK_PRIVATE_MESSAGE, "Al", nullptr); }, "Text!=NULL", "(Mode = 4)"},
        {[] { SendChannelTalk(TALK_SAY, 7, "x"); },
         "Mode==TALK_CHANNEL_CALL || Mode==TALK_GAMEMASTER_CHANNELCALL || Mode==TALK_ANONYMOUS_CHANNELCALL",
         "(Mode = 1) (ChannelID = 7)"},
        {[] { SendChannelTalk(TALK_CHANNEL_CALL, 8, nullptr); }, "Text!=NULL", "(Mode = 5) (ChannelID = 8)"},
        {[] { SendMoveObject(VX, VY, VZ, 5000, 3, VX, VY, VZ, 1); }, "In(Type,",
         "(ObjectType = 5000) (Position = 3)"},
        {[] { SendEditText(9, nullptr); }, "Text!=NULL", "(ObjectNumber = 9)"},
        {[] { SendEditList(2, 77, nullptr); }, "Text!=NULL", "(Type = 2) (Identifier = 77)"},
        {[] { SendSetOutfit(128, nullptr); }, "Colors!=NULL", "(OutfitType = 128) (Colors[0] = 0)"},
        {[] { SendAddVIP(nullptr); }, "Name!=NULL", "exception occurred, reason"},
        {[] { SendRuleViolation(nullptr, 1, 2, "c", 85, true); }, "Text!=NULL",
         "(StatementID = 85) ((IPBanishment?1:0) = 1)"},
        {[] { SendRuleViolation("Dorn", 1, 2, nullptr, 86, false); }, "Text!=NULL",
         "(StatementID = 86) ((IPBanishment?1:0) = 0)"},
        {[] { SendWalkPath(); }, "assertion failed (Steps = 0), reason:\nSteps>0",
         "exception occurred, reason"},
        {[] { SendErrorReport("t", "t", nullptr, "c"); }, "Text!=NULL", "exception occurred, reason"},
        {[] { SendPrivateChannel(nullptr); }, "Text!=NULL", "exception occurred, reason"},
        {[] { SendRefreshField(VX + 10, VY, VZ); },
         "assertion failed (rx = 18), reason:\nIn(rx,0,MAPSIZE_X-1)", "(x = 32010) (y = 32000)"},
    };
    for (const auto& Case : Cases) {
        std::string Text = ThrownText(Case.Send);
        SCOPED_TRACE(Text);
        EXPECT_EQ(Text.rfind("Communication", 0), 0u);
        EXPECT_NE(Text.find(Case.Check), std::string::npos);
        EXPECT_NE(Text.find(Case.Frame), std::string::npos);
    }
    EXPECT_TRUE(NothingSent());
}

TEST_F(ClientMessages, OneOutfitRequestAtATime) {
    SendGetOutfit();
    EXPECT_EQ(Sent(), TWire(210).Bytes);
    EXPECT_TRUE(GetOutfitRequested());
    SendGetOutfit();
    EXPECT_TRUE(NothingSent());
    SetOutfitRequested(false); // the controller handled the outfit dialog
    SendGetOutfit();
    EXPECT_EQ(Sent(), TWire(210).Bytes);
}

TEST_F(ClientMessages, RefreshFieldMarksTheBoxFieldItAsksFor) {
    SendRefreshField(VX - 8, VY + 7, VZ);
    EXPECT_EQ(Sent(), TWire(201).u16(VX - 8).u16(VY + 7).u8(VZ).Bytes);
    EXPECT_EQ(FieldRefreshRequested(0, 13, GetViewLayer()), 1);
    EXPECT_EQ(FieldRefreshRequested(1, 13, GetViewLayer()), 0);
    // A field outside the box is refused before the request goes out.
    EXPECT_NE(ThrownText([] { SendRefreshField(VX - 9, VY, VZ); }), "no exception");
    EXPECT_NE(ThrownText([] { SendRefreshField(VX, VY + 8, VZ); }), "no exception");
    EXPECT_TRUE(NothingSent());
}

TEST_F(ClientMessages, AFullErrorReportIsCutToFitOneMessage) {
    const std::string Title(63, 'T'), Time(25, 'D'), Comment = std::string("Comment: ").append(502, 'c');
    std::string Text(2047, 'x');
    Text[0] = 'F';
    SendErrorReport(Title.c_str(), Time.c_str(), Text.c_str(), Comment.c_str());
    std::vector<uint8_t> Message = Sent();
    ASSERT_EQ(static_cast<int32_t>(Message.size()), MAX_CLIENT_MESSAGE_LENGTH);
    int32_t Room = MAX_CLIENT_MESSAGE_LENGTH - 1 - 8 - 63 - 25 - 511;
    EXPECT_EQ(Message, TWire(232).str(Title).str(Time).str(Text.substr(0, Room)).str(Comment).Bytes);
}
