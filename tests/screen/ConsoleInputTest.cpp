// The console's input line: talk modes from the talk-mode button and the prefixes, private messages and
// their echo, channel commands, the account-data guard, history and hotkeys.
#include "ConsoleFixture.h"

#include "gui/DialogElements.h"
#include "gui/KeyCodes.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"

namespace {

class ConsoleInput : public ConsoleWindowFixture {
protected:
    ConsoleInput() { build(); }
    void clickTalkMode() {
        Console->TalkModeButton->leftButtonDown(2, 2, 0);
        Console->TalkModeButton->leftButtonUp(2, 2, 0);
    }
    static std::string newestLine(TTextBuffer* Buffer) {
        const int32_t Count = Buffer->getNumberOfLines();
        return Count > 0 ? Buffer->seekLine(Count - 1)->AfterStamp : "<none>";
    }
};

TEST_F(ConsoleInput, TalkModeButtonLastsOneLine) {
    EXPECT_EQ(send("hi there"), "talk 1 hi there");
    clickTalkMode();
    EXPECT_EQ(Console->TalkModeButton->getState(), 1);
    EXPECT_EQ(send("HEY"), "talk 3 HEY");
    EXPECT_EQ(Console->TalkModeButton->getState(), 0) << "back to the say icon";
    EXPECT_EQ(send("calm"), "talk 1 calm");
    clickTalkMode();
    clickTalkMode();
    EXPECT_EQ(send("psst"), "talk 2 psst");
    EXPECT_EQ(input(), "");
}

TEST_F(ConsoleInput, PrivatePrefixSendsEchoesAndKeepsTheAddressee) {
    TTextBuffer* Talk = CreateTextBuffer(TALK_PRIVATE_MESSAGE, TALK_PRIVATE_MESSAGE, "Brenna", -1);
    EXPECT_EQ(send("  *Brenna* how are you"), "private 4 Brenna how are you");
    EXPECT_EQ(newestLine(Talk), "Aldo: how are you");
    EXPECT_EQ(input(), "*Brenna* ");
    Console->Input->clearText();

    Console->openTab(Talk, "Brenna");
    tick(60);
    Console->openTab(Talk, "Brenna");
    ASSERT_EQ(currentTab()->getTextBuffer(), Talk);
    EXPECT_EQ(send("fine"), "private 4 Brenna fine") << "the tab's partner without a prefix";
    EXPECT_EQ(send("*brenna* again"), "private 4 brenna again");
    EXPECT_EQ(input(), "") << "already the tab's partner";
}

TEST_F(ConsoleInput, PrivateMessageToOneselfIsEchoedOnly) {
    TTextBuffer* Self = CreateTextBuffer(TALK_PRIVATE_MESSAGE, TALK_PRIVATE_MESSAGE, "Aldo", -1);
    EXPECT_EQ(send("*ALDO* note"), "");
    EXPECT_EQ(newestLine(Self), "Aldo: note");
}

TEST_F(ConsoleInput, BrokenOrEmptyNamePrefixSendsNothing) {
    EXPECT_EQ(send("*Brenna hello"), "");
    EXPECT_EQ(input(), "");
    EXPECT_EQ(send("** hello"), "");
    EXPECT_EQ(send("@Gm@ hi"), "private 11 Gm hi");
    EXPECT_EQ(send("$Anon$ hi"), "private 15 Anon hi");
}

TEST_F(ConsoleInput, NumberSignPrefixes) {
    EXPECT_EQ(send("#whisper hidden plan"), "talk 2 hidden plan");
    EXPECT_EQ(send("#y loud"), "talk 3 loud");
    EXPECT_EQ(send("#Zed text after"), "talk 1 text after") << "an unknown letter keeps the mode";
    EXPECT_EQ(send("#b news"), "talk 9 news");
    EXPECT_EQ(send("#"), "");
    EXPECT_EQ(send("#C hello"), "");
    ASSERT_NE(GetStatusMessage(), nullptr);
    EXPECT_STREQ(GetStatusMessage(), "This is not a chat channel.");
}

TEST_F(ConsoleInput, ChannelInvitationsNeedTheOwnChannel) {
    EXPECT_EQ(send("#I Corin"), "");
    TTextBuffer* Own = Console->openChannel(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, 20, "Aldo");
    Own->setOwnChannel(true);
    EXPECT_EQ(send("#invite Corin"), "invite Corin");
    EXPECT_EQ(send("#x Corin"), "exclude Corin");
}

TEST_F(ConsoleInput, ChannelTabsSendChannelCalls) {
    tick(60);
    Console->openChannel(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, 3, "Trade");
    EXPECT_EQ(send("sell sword"), "channel 5 3 sell sword");
    EXPECT_EQ(send("#d quiet"), "channel 14 3 quiet");
}

TEST_F(ConsoleInput, AccountDataIsNeverSent) {
    EXPECT_EQ(send("my number is 123456"), "");
    int32_t Type;
    intptr_t Caption, Zero;
    PopMessage(Type, Caption, Zero);
    EXPECT_EQ(Type, 12);
    EXPECT_STREQ(reinterpret_cast<const char*>(Caption), "Account Data Warning");
    EXPECT_EQ(send("*Brenna* pw secret"), "");
    EXPECT_EQ(input(), "") << "no prefix is kept";
    SetAccount(123456, "");
    ClearMessages();
    EXPECT_EQ(send("no secrets here"), "talk 1 no secrets here") << "an empty password never triggers";
}

TEST_F(ConsoleInput, HistoryRecallsAndFilesLines) {
    send("first");
    send("second");
    send("second");
    EXPECT_EQ(Console->History->getNumberOfLines(), 2) << "the newest entry is not repeated";
    Console->keyPressed(KEY_UP);
    EXPECT_EQ(input(), "second");
    Console->keyPressed(KEY_UP);
    EXPECT_EQ(input(), "first");
    Console->keyPressed(KEY_UP);
    EXPECT_EQ(input(), "first") << "nothing older";
    Console->keyPressed(KEY_DOWN);
    Console->keyPressed(KEY_DOWN);
    EXPECT_EQ(input(), "") << "down past the newest empties the line";
    type("draft");
    Console->keyPressed(KEY_DOWN);
    EXPECT_EQ(input(), "");
    EXPECT_EQ(Console->History->getNumberOfLines(), 3) << "the unsent line is filed";
    Console->keyPressed(KEY_UP);
    EXPECT_EQ(input(), "draft");
}

TEST_F(ConsoleInput, HotkeysBySetAndAutoSend) {
    SetHotkey(12, "shift one", false);
    SetHotkey(24, "ctrl one", false);
    SetHotkey(11, "exura", true);
    Console->keyPressed(KEY_F1 | KEY_SHIFT);
    EXPECT_EQ(input(), "shift one");
    Console->keyPressed(KEY_F1 | KEY_CTRL);
    EXPECT_EQ(input(), "ctrl one");
    sentMessages();
    Console->keyPressed(KEY_F12);
    EXPECT_EQ(sentMessages(), std::vector<std::string>{"talk 1 exura"});
    EXPECT_EQ(input(), "");
}

TEST_F(ConsoleInput, WaitingRequestTakesNoInput) {
    tick(60);
    Console->openRequestTab("Someone is cheating");
    Console->Input->clearText();
    EXPECT_EQ(send("hello?"), "");
    EXPECT_EQ(input(), "");
}

TEST_F(ConsoleInput, CopyGoesToTheHolderOfTheSelection) {
    type("abc");
    Console->keyPressed(KEY_CTRL | 'a');
    EXPECT_TRUE(Console->Input->hasSelection());
    Console->keyPressed(KEY_CTRL | 'x');
    EXPECT_EQ(input(), "") << "Ctrl+X cut the selected input";
}

} // namespace
