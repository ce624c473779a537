// The console window: its controls by tab, opening, selecting and closing tabs, the focus delay, the help
// channel, requests, re-joined and remembered channels, saving a channel, and the ignore indicator.
#include "ConsoleFixture.h"

#include "gui/DialogElements.h"
#include "gui/KeyCodes.h"
#include "screen/MessageTexts.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class ConsoleWindow : public ConsoleWindowFixture {
protected:
    TTextBuffer* open(int32_t Channel, const char* Caption) {
        return Console->openChannel(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, Channel, Caption);
    }
    std::string captions() {
        std::string Text;
        for (TComponent* Tab = Console->TabBar->getFirstChild(); Tab != nullptr; Tab = Tab->getNext())
            Text += std::string(Text.empty() ? "" : " ") + static_cast<TConsoleTab*>(Tab)->getCaption();
        return Text;
    }
};

TEST_F(ConsoleWindow, DefaultTabHasNoCloseOrServerMessagesButton) {
    build();
    EXPECT_EQ(currentTab(), Console->DefaultTab);
    EXPECT_FALSE(present(Console->CloseButton));
    EXPECT_FALSE(present(Console->ServerMessagesButton));
    EXPECT_TRUE(present(Console->TalkModeButton));
    EXPECT_TRUE(present(Console->IgnoreButton));
    EXPECT_FALSE(present(Console->MoveRightButton));
    EXPECT_TRUE(FireShortcut(1093)) << "Ctrl+E";
    EXPECT_EQ(currentTab(), Console->DefaultTab);
    EXPECT_EQ(Console->TabBar->X, 18);
    EXPECT_EQ(Console->TabBar->getWidth(), 600 - 18 - 82);
    EXPECT_EQ(Console->Input->Y, 150 - 20);
    EXPECT_EQ(Console->getMinimumHeight(), 106);
    EXPECT_THROW(Console->handleEvent(999), TMyException);
}

TEST_F(ConsoleWindow, ChannelTabsShowTheirButtonsAndServerMessageState) {
    build();
    tick(60);
    TTextBuffer* Trade = open(3, "Trade");
    EXPECT_EQ(currentTab()->getTextBuffer(), Trade);
    EXPECT_TRUE(present(Console->CloseButton));
    EXPECT_EQ(Console->CloseButton->X, 600 - 64);
    EXPECT_FALSE(present(Console->TalkModeButton));
    EXPECT_EQ(Console->Input->Format.Blue, 255);
    EXPECT_TRUE(FireShortcut(1101)) << "Ctrl+M";
    EXPECT_TRUE(Trade->ShowServerMessages);
    EXPECT_TRUE(Console->getServerMessages());
    Console->setServerMessages(false);
    EXPECT_FALSE(Trade->ShowServerMessages);
    FireShortcut(1092);
    EXPECT_EQ(currentTab(), Console->DefaultTab) << "Ctrl+D";
    EXPECT_THROW(Console->getServerMessages(), TMyException);
}

TEST_F(ConsoleWindow, ClosingSelectsTheRightNeighbourElseTheLeft) {
    build();
    tick(60);
    open(1, "A");
    TTextBuffer* B = open(2, "B");
    open(3, "C");
    Console->TabBar->selectTab(Console->TabBar->findTab(B));
    sentMessages();
    Console->handleEvent(CONSOLE_CLOSE_TAB);
    EXPECT_EQ(sentMessages(), std::vector<std::string>{"leave 2"});
    EXPECT_STREQ(currentTab()->getCaption(), "C");
    EXPECT_EQ(Console->CurrentConsole->getTextBuffer(), currentTab()->getTextBuffer());
    Console->closeCurrentTab();
    EXPECT_STREQ(currentTab()->getCaption(), "A") << "the last tab on the right";
    EXPECT_EQ(captions(), "Default A");
}

TEST_F(ConsoleWindow, TabsOpenedInTheFirstSecondsStayUnselected) {
    AddOpenChannel(4);
    AddOpenChannel(6);
    build();
    EXPECT_EQ(sentMessages(), (std::vector<std::string>{"join 4", "join 6"}));
    open(4, "Game-Chat");
    EXPECT_EQ(currentTab(), Console->DefaultTab);
    EXPECT_FALSE(Console->TabBar->findTab(FindTextBuffer(TALK_CHANNEL_CALL, nullptr, 4))->isActive());
    tick(50);
    open(5, "Trade");
    EXPECT_STREQ(currentTab()->getCaption(), "Trade");
}

TEST_F(ConsoleWindow, HelpChannelWelcomesOnceWithoutUnreadMark) {
    build();
    TTextBuffer* Help = open(7, "Help");
    TConsoleTab* Tab = Console->TabBar->findTab(Help);
    ASSERT_EQ(Help->getNumberOfLines(), 1);
    EXPECT_STREQ(Help->seekLine(0)->AfterStamp, MessageTexts[TEXT_HELP_CHANNEL_WELCOME]);
    EXPECT_EQ(Help->seekLine(0)->_Mode, TALK_ADMIN_MESSAGE);
    Console->draw(SCREEN_SURFACE, 0, 400);
    EXPECT_FALSE(Tab->Unread);
    open(7, "Help");
    EXPECT_EQ(Help->getNumberOfLines(), 1);
}

TEST_F(ConsoleWindow, RuleViolationRequestIsSentOnceAndWaits) {
    build();
    tick(60);
    Console->openRequestTab("He is cheating");
    EXPECT_EQ(sentMessages(), std::vector<std::string>{"talk 6 He is cheating"});
    TTextBuffer* Request = Console->getCurrentTextBuffer();
    EXPECT_STREQ(currentTab()->getCaption(), "Report Rule Violation");
    EXPECT_FALSE(Request->isOpen());
    ASSERT_EQ(Request->getNumberOfLines(), 2);
    EXPECT_STREQ(Request->seekLine(0)->AfterStamp, "Aldo: He is cheating");
    EXPECT_STREQ(Request->seekLine(1)->AfterStamp, MessageTexts[TEXT_WAIT_FOR_GAMEMASTER]);
    Console->draw(SCREEN_SURFACE, 0, 400);
    EXPECT_TRUE(Console->Input->isDisabled()) << "closed until a gamemaster answers";

    FireShortcut(1092);
    sentMessages();
    Console->openRequestTab("Again");
    EXPECT_TRUE(sentMessages().empty());
    EXPECT_EQ(Console->getCurrentTextBuffer(), Request);
    EXPECT_STREQ(GetStatusMessage(), "You have already submitted a request. Please be patient.");
    Console->closeCurrentTab();
    EXPECT_EQ(sentMessages(), std::vector<std::string>{"cancel"});
}

TEST_F(ConsoleWindow, TabKeyScrollsRightThenWraps) {
    build();
    tick(60);
    for (int32_t Channel = 1; Channel <= 5; Channel++)
        open(Channel, std::string(1, static_cast<char>('A' + Channel - 1)).c_str());
    FireShortcut(1092);
    EXPECT_EQ(captions(), "Default A B C E") << "the selected E took the last place, D waits on the right";
    Console->draw(SCREEN_SURFACE, 0, 400);
    EXPECT_TRUE(present(Console->MoveLeftButton));
    EXPECT_FALSE(present(Console->MoveRightButton));
    for (int32_t i = 0; i < 3; i++)
        Console->keyPressed(KEY_TAB);
    EXPECT_STREQ(currentTab()->getCaption(), "C");
    Console->keyPressed(KEY_TAB);
    EXPECT_STREQ(currentTab()->getCaption(), "E");
    Console->keyPressed(KEY_TAB);
    EXPECT_STREQ(currentTab()->getCaption(), "D") << "the bar scrolled right";
    EXPECT_EQ(captions(), "A B C E D");
    Console->draw(SCREEN_SURFACE, 0, 400);
    EXPECT_TRUE(present(Console->MoveRightButton));
    Console->keyPressed(KEY_TAB);
    EXPECT_EQ(currentTab(), Console->DefaultTab) << "wrapped to the first tab";
    EXPECT_EQ(captions(), "Default A B C E");
    Console->keyPressed(KEY_TAB | KEY_SHIFT);
    EXPECT_STREQ(currentTab()->getCaption(), "D") << "Shift+Tab from the first wraps to the last";
}

TEST_F(ConsoleWindow, SavingAppendsEachCopyToTheCaptionsFile) {
    build();
    tick(60);
    TTextBuffer* Buffer = open(3, "  Saved Test Channel ");
    AddToTextBuffer(Buffer, 0, "first line", TALK_CHANNEL_CALL, "Brenna", 0);
    std::remove("Saved Test Channel.txt");
    ASSERT_TRUE(Console->saveCurrentChannel());
    ASSERT_TRUE(Console->saveCurrentChannel());
    EXPECT_STREQ(GetStatusMessage(), "Channel appended to Saved Test Channel.txt");
    std::ifstream File("Saved Test Channel.txt");
    std::stringstream Text;
    Text << File.rdbuf();
    const std::string Content = Text.str();
    EXPECT_EQ(Content.rfind("\nChannel saved at ", 0), 0u);
    EXPECT_NE(Content.find("\nBrenna: first line\n\nChannel saved at "), std::string::npos);
    std::remove("Saved Test Channel.txt");
    // Only a file takes the copy: a pipe, even one with a reader, is refused at once.
    ASSERT_EQ(mkfifo("Saved Test Channel.txt", 0600), 0);
    const int Reader = ::open("Saved Test Channel.txt", O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    EXPECT_FALSE(Console->saveCurrentChannel());
    close(Reader);
    std::remove("Saved Test Channel.txt");
}

TEST_F(ConsoleWindow, ChannelNamesCannotLeaveTheWorkingDirectory) {
    build();
    tick(60);
    open(3, "../escape/x");
    ASSERT_TRUE(Console->saveCurrentChannel());
    EXPECT_STREQ(GetStatusMessage(), "Channel appended to _.._escape_x.txt");
    EXPECT_EQ(std::remove("_.._escape_x.txt"), 0);
}

TEST_F(ConsoleWindow, IgnoreButtonShowsSuppressedMessages) {
    build();
    Console->draw(SCREEN_SURFACE, 0, 400);
    EXPECT_EQ(Console->IgnoreButton->_ButtonUp, 192);
    StartIgnoreTimer();
    Console->draw(SCREEN_SURFACE, 0, 400);
    EXPECT_EQ(Console->IgnoreButton->_ButtonUp, 193);
    sentMessages();
    FireShortcut(1103);
    EXPECT_EQ(sentMessages(), std::vector<std::string>{"channels"});
    FireShortcut(1097);
    EXPECT_EQ(PeekMessageType(), 21);
}

TEST_F(ConsoleWindow, DestructionRemembersChannelsAndHeightAndLeaves) {
    build();
    tick(60);
    open(3, "Trade");
    open(12, "Private");
    Console->setSize(600, 180);
    sentMessages();
    Root.deleteChild(Console);
    Console = nullptr;
    std::unique_ptr<int32_t[]> Channels;
    ASSERT_EQ(GetOpenChannels(Channels), 1);
    EXPECT_EQ(Channels[0], 3);
    EXPECT_EQ(GetConsoleHeight(), 180);
    EXPECT_EQ(sentMessages(), (std::vector<std::string>{"leave 3", "leave 12"}));
    EXPECT_EQ(GetNumberOfShortcuts(), 0);
}

TEST_F(ConsoleWindow, NewTextIsWrappedIntoTheViewWhenDrawn) {
    build();
    AddToTextBuffer(DefaultTextBuffer(), 0, "hello world", TALK_SAY, "Brenna", 0);
    Console->draw(SCREEN_SURFACE, 0, 400);
    ConsoleTextView* View = Console->CurrentConsole->View;
    ASSERT_EQ(View->getLastLineNumber(), 0);
    EXPECT_EQ(std::string(View->getLine(0)->_LineText, View->getLine(0)->_LineLength), "Brenna: hello world");
    EXPECT_EQ(View->getCurrentLineNumber(), 0);
}

} // namespace
