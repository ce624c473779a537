// Tests of the speech, channel, request and system messages and of the effect, light, dialog and VIP
// messages through the dispatcher: talk boxes, console lines, events with their blocks, effects.
#include "GameFixture.h"

#include "state/CreaturesBuddies.h"
#include "state/MapEffects.h"
#include "state/TalkFilter.h"

#include <ctime>

namespace {

TWireWriter Talk(const char* Speaker, uint8_t Mode) {
    TWireWriter Writer;
    Writer.u8(170).u32(1).string(Speaker).u8(Mode);
    return Writer;
}

int32_t DefaultLines() { return DefaultTextBuffer()->getNumberOfLines(); }

std::string LastLine(TTextBuffer* Buffer) {
    TTalkLine* Line = Buffer->seekLine(Buffer->getNumberOfLines() - 1);
    return Line != nullptr ? Line->AfterStamp : "";
}

} // namespace

TEST_F(GameTest, SpeechGoesToTalkBoxesAndTheConsoleByItsMode) {
    AddToIgnoreList("Hugo", false);
    TWireWriter Ignored = Talk("hugo", TALK_WHISPER);
    feed(Ignored.u16(100).u16(100).u8(7).string("psst"));
    EXPECT_EQ(GetNumberOfTalkboxes(), 0);
    EXPECT_EQ(DefaultLines(), 0);
    EXPECT_TRUE(IsIgnoreTimerRunning());

    TWireWriter Animal = Talk("Rat", TALK_ANIMAL_LOW);
    feed(Animal.u16(100).u16(100).u8(7).string("Squeak!"));
    EXPECT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_EQ(DefaultLines(), 0) << "animals are not written down";

    TWireWriter Private = Talk("Anna", TALK_PRIVATE_MESSAGE);
    feed(Private.string("hi"));
    EXPECT_EQ(GetNumberOfTalkboxes(), 2);
    EXPECT_EQ(LastLine(DefaultTextBuffer()), "Anna: hi");

    TWireWriter Unknown = Talk("Anna", TALK_ANONYMOUS_BROADCAST);
    std::string Text = failure(Unknown.string("x"));
    EXPECT_TRUE(Contains(Text, "unknown talk mode (Mode = 13), reason:\n[bug0000649]")) << Text;
}

TEST_F(GameTest, RequestsCarryTheirAgeAndLeaveTheQueueWhenTaken) {
    TWireWriter Open;
    Open.u8(174).u16(4).u8(174).u16(4);
    feed(Open);
    std::vector<TEvent> Events = events();
    ASSERT_EQ(types(Events), (std::vector<int32_t>{MESSAGE_OPENREQUESTQUEUE, MESSAGE_OPENREQUESTQUEUE}));
    EXPECT_EQ(Events[0].Param1, 4) << "the event names the queue by its channel";
    EXPECT_EQ(Events[1].Param1, 4) << "the queue that exists is opened again";
    TTextBuffer* Queue = FindTextBuffer(TALK_GAMEMASTER_REQUEST, nullptr, 4);
    ASSERT_NE(Queue, nullptr);
    EXPECT_TRUE(Queue->isRequestQueue());

    TWireWriter Requests = Talk("Hugo", TALK_GAMEMASTER_REQUEST);
    Requests.u32(30).string("help");
    TWireWriter Old = Talk("Anna", TALK_GAMEMASTER_REQUEST);
    Old.u32(0x80000000u).string("stuck"); // older than a signed offset can say
    Requests.bytes(Old.data());
    feed(Requests);
    ASSERT_EQ(Queue->getNumberOfLines(), 2);
    int64_t Age = static_cast<int64_t>(std::time(nullptr)) - Queue->seekLine(0)->Time;
    EXPECT_TRUE(Age >= 30 && Age <= 32) << Age;

    TWireWriter Taken;
    Taken.u8(175).string("HUGO");
    feed(Taken);
    ASSERT_EQ(Queue->getNumberOfLines(), 1);
    EXPECT_STREQ(Queue->seekLine(0)->_Addressee, "Anna");
}

TEST_F(GameTest, ServerEndsConversationsAndChannels) {
    TTextBuffer* Answer = CreateTextBuffer(TALK_PLAYER_ANSWER, TALK_GAMEMASTER_ANSWER, "Hugo", -1);
    TTextBuffer* Channel = CreateTextBuffer(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, 9);
    TWireWriter Messages;
    Messages.u8(176).string("Hugo").u8(179).u16(9).u8(177).u8(179).u16(10);
    feed(Messages);
    EXPECT_EQ(LastLine(Answer), "Hugo has finished the request.");
    EXPECT_FALSE(Answer->isOpen());
    EXPECT_EQ(LastLine(Channel),
              "The channel has been closed. You need to re-join the channel if you get invited.");
    EXPECT_FALSE(Channel->isOpen());
}

TEST_F(GameTest, ChannelMessagesPostTheirEventsWithNameBlocks) {
    TWireWriter Messages;
    Messages.u8(171).u8(0);
    Messages.u8(171).u8(2).u16(1).string("Trade").u16(8).string(std::string(40, 'g'));
    Messages.u8(172).u16(3).string("Help");
    Messages.u8(173).string("Anna");
    Messages.u8(178).u16(11).string(std::string(45, 'o'));
    feed(Messages);
    std::vector<TEvent> Events = events();
    ASSERT_EQ(types(Events),
              (std::vector<int32_t>{MESSAGE_CHANNELLIST, MESSAGE_CHANNELLIST, MESSAGE_OPENCHANNEL,
                                    MESSAGE_OPENPRIVATECHANNEL, MESSAGE_OPENOWNCHANNEL}));
    EXPECT_EQ(MessagePointer<uint32_t>(Events[0].Param1)[0], 0u);
    EXPECT_EQ(Events[0].Param2, 0) << "no name slots without channels";
    const uint32_t* Channels = MessagePointer<uint32_t>(Events[1].Param1);
    EXPECT_EQ((std::vector<uint32_t>{Channels[0], Channels[1], Channels[2]}),
              (std::vector<uint32_t>{2, 1, 8}));
    const char* Names = MessagePointer<char>(Events[1].Param2);
    EXPECT_STREQ(Names, "Trade");
    EXPECT_EQ(std::string(Names + 30), std::string(29, 'g'));
    EXPECT_EQ(Events[2].Param1, 3);
    EXPECT_STREQ(MessagePointer<char>(Events[2].Param2), "Help");
    EXPECT_STREQ(MessagePointer<char>(Events[3].Param2), "Anna");
    EXPECT_EQ(Events[4].Param1, 11);
    EXPECT_EQ(std::string(MessagePointer<char>(Events[4].Param2)), std::string(39, 'o'));
}

TEST_F(GameTest, SystemMessagesByMode) {
    TWireWriter StatusOnly;
    StatusOnly.u8(180).u8(TALK_STATUS_ONLY).string("You are hungry.");
    feed(StatusOnly);
    EXPECT_STREQ(GetStatusMessage(), "You are hungry.");
    EXPECT_EQ(DefaultLines(), 0);

    TWireWriter Status;
    Status.u8(180).u8(TALK_EVENT_STATUS).string("Saved.");
    feed(Status);
    EXPECT_STREQ(GetStatusMessage(), "Saved.");
    EXPECT_EQ(DefaultLines(), 1);
    EXPECT_EQ(GetNumberOfTalkboxes(), 0);

    TWireWriter Info;
    Info.u8(180).u8(TALK_INFO_MESSAGE).string("You see a rat.");
    feed(Info);
    EXPECT_EQ(GetNumberOfTalkboxes(), 1);

    TWireWriter Beyond;
    Beyond.u8(180).u8(TALK_MODE_BEYONDLAST).string("x");
    std::string Text = failure(Beyond);
    EXPECT_TRUE(Contains(Text, "(Mode = 27), reason:\nMode>=0&&Mode<TALK_MODE_BEYONDLAST")) << Text;
}

TEST_F(GameTest, EffectsAndLightReachTheMapBox) {
    TWireWriter Messages;
    Messages.u8(130).u8(60).u8(215);
    Messages.u8(131).u16(0).u16(0).u8(0).u8(2);
    Messages.u8(132).u16(0).u16(0).u8(0).u8(30).string("123456789012");
    Messages.u8(133).u16(0).u16(0).u8(0).u16(1).u16(1).u8(1).u8(1); // to another floor: nothing
    Messages.u8(133).u16(0).u16(0).u8(0).u16(3).u16(0).u8(0).u8(2);
    feed(Messages);
    EXPECT_EQ(GetAmbientBrightness(), 60);
    std::vector<int32_t> Kinds;
    std::string Shown;
    for (int32_t Effect = GetFirstEffect(8, 6, 7); Effect != -1; Effect = GetNextEffect()) {
        Kinds.push_back(GetEffectStatus(Effect));
        if (GetEffectStatus(Effect) == EFFECT_TEXT) Shown = GetTextEffectText(Effect);
    }
    EXPECT_EQ(Kinds, (std::vector<int32_t>{EFFECT_MISSILE, EFFECT_TEXT, EFFECT_GRAPHIC}));
    EXPECT_EQ(Shown, "123456789") << "the rest of the text was read past";

    TWireWriter NoEffect;
    NoEffect.u8(131).u16(0).u16(0).u8(0).u8(EFFECT_TYPES + 1);
    EXPECT_TRUE(Contains(failure(NoEffect), "In(Type,1,GetNumberOfEffectTypes())"));
    TWireWriter NoMissile;
    NoMissile.u8(133).u16(0).u16(0).u8(0).u16(1).u16(0).u8(0).u8(0);
    EXPECT_TRUE(Contains(failure(NoMissile), "Type>0"));
    TWireWriter UnknownMissile;
    UnknownMissile.u8(133).u16(0).u16(0).u8(0).u16(1).u16(0).u8(0).u8(MISSILE_TYPES + 1);
    EXPECT_TRUE(Contains(failure(UnknownMissile), "Type<=GetNumberOfMissileTypes()"));
}

TEST_F(GameTest, DialogsAndVIPs) {
    TWireWriter Messages;
    Messages.u8(150).u32(0xDEADBEEF).u16(THING).u16(7).string("first").string("second");
    Messages.u8(151).u8(3).u32(42).string("Anna\nHugo");
    Messages.u8(200).u16(130).u8(1).u8(2).u8(3).u8(4).u16(136).u16(128);
    Messages.u8(210).u32(9).string("Hugo").u8(2);
    Messages.u8(210).u32(10).string("Anna").u8(1);
    feed(Messages);
    ASSERT_EQ(GetNumberOfBuddies(), 2);
    EXPECT_FALSE(IsBuddyOnline(GetBuddyPosition(9))) << "only 1 is online";
    EXPECT_TRUE(IsBuddyOnline(GetBuddyPosition(10)));
    TWireWriter Logins;
    Logins.u8(212).u32(10).u8(211).u32(9);
    feed(Logins);
    EXPECT_TRUE(IsBuddyOnline(GetBuddyPosition(9)));
    EXPECT_FALSE(IsBuddyOnline(GetBuddyPosition(10)));
    std::vector<TEvent> Events = events();
    ASSERT_EQ(types(Events), (std::vector<int32_t>{MESSAGE_EDITTEXT, MESSAGE_EDITLIST, MESSAGE_OUTFIT,
                                                   MESSAGE_ADDVIPNAME, MESSAGE_ADDVIPNAME}));
    const int32_t* Text = MessagePointer<int32_t>(Events[0].Param1);
    EXPECT_EQ((std::vector<int32_t>{Text[0], Text[1], Text[2]}),
              (std::vector<int32_t>{static_cast<int32_t>(0xDEADBEEF), THING, 7}));
    const intptr_t* Pair = MessagePointer<intptr_t>(Events[0].Param2);
    EXPECT_STREQ(MessagePointer<char>(Pair[0]), "second") << "the second text comes first";
    EXPECT_STREQ(MessagePointer<char>(Pair[1]), "first");
    const int32_t* List = MessagePointer<int32_t>(Events[1].Param1);
    EXPECT_EQ((std::vector<int32_t>{List[0], List[1]}), (std::vector<int32_t>{3, 42}));
    EXPECT_STREQ(MessagePointer<char>(Events[1].Param2), "Anna\nHugo");
    const int32_t* Outfit = MessagePointer<int32_t>(Events[2].Param1);
    EXPECT_EQ(std::vector<int32_t>(Outfit, Outfit + 7), (std::vector<int32_t>{130, 1, 2, 3, 4, 136, 128}));
    EXPECT_STREQ(MessagePointer<char>(Events[3].Param1), "Hugo");
}
