// Events 47 to 51 taken by the idle pass's dispatch as the program takes them: the console of the real game
// screen opens the tabs of channels, conversations, the own channel, the request queue and the player's own
// request, which it sends; each event's heap parameters are freed once (the sanitizers watch that).
#include "GameDialogFixture.h"

#include "gui/KeyCodes.h"
#include "screen/ConsoleWindow.h"
#include "screen/ContextMenus.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Inventory.h"
#include "state/MapAutomap.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"

#include <string>
#include <vector>

namespace {

class ChatDispatch : public GameScreenDialogTest {
protected:
    void SetUp() override {
        GameScreenDialogTest::SetUp();
        Ticks(50); // past the console's first five seconds: a new tab takes the selection
    }

    static TConsoleWindow& Console() { return *dynamic_cast<TConsoleWindow*>(GetMainWindow()->Console); }
    static std::string CurrentCaption() { return Console().TabBar->getCurrentTab()->getCaption(); }
    static std::vector<std::string> Captions() {
        std::vector<std::string> Result;
        for (const TComponent* C = Console().TabBar->getFirstChild(); C != nullptr; C = C->getNext())
            Result.push_back(static_cast<const TConsoleTab*>(C)->getCaption());
        return Result;
    }
    // An event whose second parameter is a heap name, as the chat message handlers post them.
    static void Post(int32_t Type, intptr_t Param1, const char* Name) {
        AddMessage(Type, Param1, MessageParameter(NewMessageText(Name)));
    }
};

} // namespace

TEST_F(ChatDispatch, ChannelConversationAndOwnChannelEventsOpenTheirTabs) {
    Post(MESSAGE_OPENCHANNEL, 2, "Trade");
    Post(MESSAGE_OPENPRIVATECHANNEL, 0, ""); // nobody to write to: no tab, and no tab for everybody
    Post(MESSAGE_OPENPRIVATECHANNEL, 0, "Brenna");
    Post(MESSAGE_OPENOWNCHANNEL, 100, "Aldric's Channel");
    Post(MESSAGE_OPENCHANNEL, 2, "Trade"); // joined again: the tab is there
    ProcessMessages();
    EXPECT_EQ(GetMessageCount(), 0) << "no event opens a modal window";
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Default", "Trade", "Brenna", "Aldric's Channel"}));
    EXPECT_EQ(CurrentCaption(), "Trade") << "the last opened tab is selected";

    TTextBuffer* Trade = FindTextBuffer(TALK_CHANNEL_CALL, nullptr, 2);
    ASSERT_NE(Trade, nullptr);
    EXPECT_FALSE(Trade->isPrivateChannel());
    EXPECT_FALSE(Trade->isOwnChannel());
    TTextBuffer* Brenna = FindTextBuffer(TALK_PRIVATE_MESSAGE, "brenna", -1);
    ASSERT_NE(Brenna, nullptr);
    EXPECT_STREQ(Brenna->getAddressee(), "Brenna");
    TTextBuffer* Own = FindTextBuffer(TALK_CHANNEL_CALL, nullptr, 100);
    ASSERT_NE(Own, nullptr);
    EXPECT_TRUE(Own->isOwnChannel() && Own->isPrivateChannel());
    EXPECT_TRUE(HasOwnPrivateChannel());
    EXPECT_TRUE(NothingSent());
}

TEST_F(ChatDispatch, TheRequestQueueEventFindsItsBufferWhenTakenSoATabThatWentMeanwhileLeavesNothingBehind) {
    // As the server's message does: the queue is registered at once, its tab opens when the event is taken.
    const auto Announce = [] {
        CreateTextBuffer(TALK_GAMEMASTER_REQUEST, TALK_SAY, nullptr, 5);
        AddMessage(MESSAGE_OPENREQUESTQUEUE, 5, 0);
    };
    const auto Queue = [] { return FindTextBuffer(TALK_GAMEMASTER_REQUEST, nullptr, 5); };
    Announce();
    ProcessMessages();
    EXPECT_EQ(CurrentCaption(), "Rule Violations");
    EXPECT_EQ(Console().getCurrentTextBuffer(), Queue());

    // Announced again while the tab's channel menu is open; the menu closes the tab before the event is
    // taken.
    Open(MESSAGE_CHANNELTABMENU);
    Announce();
    ProcessMessages();
    ASSERT_NE(GetModalWindow(), nullptr);
    EXPECT_EQ(GetMessageCount(), 1) << "the event waits behind the menu";
    GetModalWindow()->handleEvent(MENU_CLOSE_CHANNEL);
    SetActionState(ACTIONSTATE_NONE);
    ProcessMessages();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Default"})) << "the closed queue stays closed";
    EXPECT_EQ(Queue(), nullptr);

    // Announced again, and the game screen goes (with the tab and its buffer) before the event is taken.
    Announce();
    ProcessMessages();
    Announce();
    GetMainWindow()->setGameScreen(false);
    ProcessMessages();
    EXPECT_EQ(Queue(), nullptr);
    // Announced without a game screen: the queue that no tab took is given back.
    Announce();
    ProcessMessages();
    EXPECT_EQ(Queue(), nullptr);
    GetMainWindow()->setGameScreen(true);
}

TEST_F(ChatDispatch, TheReportedStatementIsSentFromItsRequestTabAndASecondRequestIsRefused) {
    Open(MESSAGE_RULEVIOLATION);
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetMessageCount(), 0) << "an empty statement posts nothing";
    Open(MESSAGE_RULEVIOLATION);
    EXPECT_EQ(Caption(), "Report Rule Violation");
    Type(std::string(300, 's'));
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetModalWindow(), nullptr);
    ProcessMessages();
    EXPECT_EQ(Sent(), TWire(150).u8(TALK_GAMEMASTER_REQUEST).str(std::string(255, 's')));
    EXPECT_EQ(CurrentCaption(), "Report Rule Violation");
    TTextBuffer* Request = Console().getCurrentTextBuffer();
    EXPECT_EQ(Request->getReceiveTalkMode(), TALK_GAMEMASTER_ANSWER);
    EXPECT_FALSE(Request->isOpen()) << "the input waits for a gamemaster";
    EXPECT_EQ(Request->getNumberOfLines(), 2);

    Console().handleEvent(CONSOLE_DEFAULT_TAB);
    AddMessage(MESSAGE_OPENREQUEST, MessageParameter(NewMessageText("again")), 0);
    ProcessMessages();
    EXPECT_EQ(CurrentCaption(), "Report Rule Violation") << "the pending request is shown";
    EXPECT_STREQ(GetStatusMessage(), "You have already submitted a request. Please be patient.");
    EXPECT_TRUE(NothingSent());
    Open(MESSAGE_RULEVIOLATION);
    EXPECT_EQ(GetModalWindow(), nullptr) << "no dialog while the request is open";
}
