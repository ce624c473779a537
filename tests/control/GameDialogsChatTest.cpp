// The channel, invite and exclude, bug and rule violation report, and VIP dialogs opened by their events:
// what they send or store on OK, and that an empty name or text sends nothing.
#include "GameDialogFixture.h"

#include "control/DialogsChannels.h"
#include "control/DialogsVIP.h"
#include "gui/DialogElementsControls.h"
#include "gui/DialogElementsList.h"
#include "gui/DialogElementsMultiLine.h"
#include "gui/KeyCodes.h"
#include "state/Creatures.h"
#include "state/CreaturesBuddies.h"
#include "state/CreaturesPlayer.h"
#include "state/Talk.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"

#include <cstring>
#include <string>

namespace {

constexpr uint32_t PLAYER = 0x10000001;

// Event 18 as the channel list handler posts it.
void OpenChannels(const std::vector<std::pair<uint32_t, std::string>>& Channels) {
    uint32_t* Block = static_cast<uint32_t*>(NewMessageBlock((Channels.size() + 1) * sizeof(uint32_t)));
    char* Names = static_cast<char*>(NewMessageBlock(Channels.size() * CHANNEL_NAME_LENGTH + 1));
    Block[0] = static_cast<uint32_t>(Channels.size());
    for (size_t i = 0; i < Channels.size(); i++) {
        Block[i + 1] = Channels[i].first;
        memcpy(Names + i * CHANNEL_NAME_LENGTH, Channels[i].second.c_str(), Channels[i].second.size() + 1);
    }
    AddMessage(MESSAGE_CHANNELLIST, MessageParameter(Block), MessageParameter(Names));
    ProcessMessages();
}

} // namespace

class ChatDialogs : public GameDialogTest {
protected:
    void SetUp() override {
        GameDialogTest::SetUp();
        InitCreatures();
        SetPlayerID(PLAYER);
        CopyString(NewCreature(0, PLAYER)->Name, "Aldric");
    }
    void doubleClickLine(int32_t Line) {
        TListBox* List = Body<TChannelDialog>()->List;
        int32_t x = 5, y = 3 + Line * 14;
        for (const TComponent* C = List; C != nullptr; C = C->Parent)
            x += C->X, y += C->Y;
        LeftButtonDown(x, y, 0);
        LeftButtonUp(x, y, 0);
        LeftButtonDoubleClick(x, y, 0);
        LeftButtonUp(x, y, 0);
    }
};

TEST_F(ChatDialogs, ATypedNameOpensAPrivateConversationAndTheSelectionIsIgnored) {
    OpenChannels({{1, "Trade"}, {OWN_CHANNEL_ID, "Private Chat Channel"}});
    TChannelDialog* Channels = Body<TChannelDialog>();
    ASSERT_NE(Channels, nullptr);
    EXPECT_EQ(Caption(), "New Channel");
    EXPECT_STREQ(Channels->List->getLine(1), "Private Chat Channel");
    EXPECT_EQ(Channels->List->getSelection(), -1);
    Channels->List->select(0);
    Type("Brenna");
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(154).str("Brenna")));
}

TEST_F(ChatDialogs, OnesOwnNameInOtherCaseIsRefused) {
    OpenChannels({{1, "Trade"}});
    Type("aLDRIC");
    Click(Dialog()->OkButton);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_STREQ(GetStatusMessage(), "You cannot set up a private message channel with yourself.");
    EXPECT_TRUE(NothingSent());
}

TEST_F(ChatDialogs, ALineOpensByDoubleClickOrOkAndTheOwnChannelIsOpenedNotJoined) {
    OpenChannels({{1, "Trade"}, {OWN_CHANNEL_ID, "Private Chat Channel"}});
    doubleClickLine(1);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(170)));
    OpenChannels({{1, "Trade"}, {OWN_CHANNEL_ID, "Private Chat Channel"}});
    Body<TChannelDialog>()->List->select(0);
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(152).u16(1)));
    // Nothing typed and nothing selected: closes without a message.
    OpenChannels({{1, "Trade"}});
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_TRUE(NothingSent());
}

TEST_F(ChatDialogs, AnEmptyChannelListOpensNothing) {
    OpenChannels({});
    EXPECT_EQ(GetModalWindow(), nullptr);
}

TEST_F(ChatDialogs, InviteExcludeAndAddVIPSendTheName) {
    Open(MESSAGE_INVITE);
    EXPECT_EQ(Caption(), "Invite player to private chat channel");
    Type("Brenna");
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(171).str("Brenna")));
    Open(MESSAGE_EXCLUDE);
    EXPECT_EQ(Caption(), "Exclude player from private chat channel");
    Type("Cedric");
    Click(Dialog()->OkButton);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(172).str("Cedric")));
    Open(MESSAGE_ADDVIP);
    EXPECT_EQ(Caption(), "Add to VIP list");
    Type("Dunja");
    Click(Dialog()->OkButton);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(220).str("Dunja")));
    Open(MESSAGE_ADDVIP);
    KeyPressed(KEY_ENTER); // an empty name closes without a message
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_TRUE(NothingSent());
}

TEST_F(ChatDialogs, TheBugReportIsSentWithItsLineBreaks) {
    Open(MESSAGE_BUGREPORT);
    EXPECT_EQ(Caption(), "Reporting");
    Type("Door");
    KeyPressed(KEY_ENTER);
    Type("stuck");
    Click(Dialog()->OkButton);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(230).str("Door\nstuck")));
    Open(MESSAGE_BUGREPORT);
    Click(Dialog()->OkButton);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_TRUE(NothingSent());
}

TEST_F(ChatDialogs, ASecondRequestIsRefusedWhileOneIsOpen) {
    InitTalk();
    ASSERT_NE(CreateTextBuffer(TALK_GAMEMASTER_ANSWER, TALK_GAMEMASTER_REQUEST, nullptr, -1), nullptr);
    Open(MESSAGE_RULEVIOLATION);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_STREQ(GetStatusMessage(),
                 "You have already submitted a request. Please close the current request.");
    ExitTalk();
}

TEST_F(ChatDialogs, EditingAVIPStoresIconDescriptionAndNotification) {
    ResetBuddyList();
    AddBuddy(77, "Dunja", true);
    Open(MESSAGE_EDITVIP, 77);
    TEditVIPDialog* Edit = Body<TEditVIPDialog>();
    ASSERT_NE(Edit, nullptr);
    EXPECT_EQ(Caption(), "Change player in VIP list");
    EXPECT_EQ(Edit->getIconType(), 0);
    EXPECT_FALSE(Edit->NotifyBox->isChecked());
    Click(Edit->IconButtons[7]);
    Click(Edit->NotifyBox);
    Type("Guild");
    KeyPressed(KEY_ENTER); // a line of the description
    Type("mate");
    Click(Dialog()->OkButton);
    int32_t Position = GetBuddyPosition(77);
    EXPECT_EQ(GetBuddyIcon(Position), 7);
    EXPECT_STREQ(GetBuddyListDescription(Position), "Guild\nmate");
    EXPECT_TRUE(GetBuddyNotifyLogin(Position));

    // Cleared again: the stored notes go.
    Open(MESSAGE_EDITVIP, 77);
    Edit = Body<TEditVIPDialog>();
    EXPECT_EQ(Edit->getIconType(), 7);
    Edit->Description->setText("");
    Click(Edit->IconButtons[0]);
    Click(Edit->NotifyBox);
    Click(Dialog()->OkButton);
    Position = GetBuddyPosition(77);
    EXPECT_EQ(GetBuddyIcon(Position), 0);
    EXPECT_STREQ(GetBuddyListDescription(Position), "");
    EXPECT_TRUE(NothingSent());
}

TEST_F(ChatDialogs, ACharacterNoLongerInTheVIPListOpensNothing) {
    ResetBuddyList();
    Open(MESSAGE_EDITVIP, 78);
    EXPECT_EQ(GetModalWindow(), nullptr);
}
