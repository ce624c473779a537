// The boxes of one text: the reconnect countdown's text, progress and expiry, aborting it and the "Please
// wait" box behind it, the connecting box that makes way for the next event, and the keys of the yes/no and
// logout boxes.
#include "DialogFixture.h"

#include "control/DialogsBoxes.h"
#include "control/DialogsLogin.h"

#include "gui/DialogElementsControls.h"
#include "gui/DialogElementsMultiLine.h"
#include "gui/KeyCodes.h"
#include "state/Status.h"

#include <string>

namespace {

// A receiver of box notifications that records them.
class TReceiver : public TLeafComponent {
public:
    void handleEvent(int32_t Identifier) override { Events.push_back(Identifier); }
    std::vector<int32_t> Events;
};

std::string Countdown(int32_t Value) {
    char Text[64];
    FormatReconnectCountdown(Text, sizeof(Text), Value);
    return Text;
}

using DialogBoxes = DialogTest;

} // namespace

TEST_F(DialogBoxes, ReconnectTextCountsSecondsUpToAMinuteThenStartedMinutes) {
    EXPECT_EQ(Countdown(60), "Trying to reconnect in 6 seconds.");
    EXPECT_EQ(Countdown(19), "Trying to reconnect in 1 second.");
    EXPECT_EQ(Countdown(600), "Trying to reconnect in 60 seconds.");
    EXPECT_EQ(Countdown(601), "Trying to reconnect in 2 minutes.");
    EXPECT_EQ(Countdown(1010), "Trying to reconnect in 2 minutes.");
    EXPECT_EQ(Countdown(2410), "Trying to reconnect in 5 minutes.");
}

TEST_F(DialogBoxes, ReconnectCountsDownAndThenConnectsTheCharacterAgain) {
    AddMessage(MESSAGE_WAITINGLIST, MessageParameter(NewMessageText("Too many players.")), 5);
    ProcessMessages();
    auto* Box = Body<TReconnectDialog>();
    ASSERT_NE(Box, nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Please wait");
    EXPECT_STREQ(Dialog()->OkButton->_Text, "Abort");
    EXPECT_STREQ(Box->CountdownLabel->getText(), "Trying to reconnect in 6 seconds.");
    EXPECT_EQ(Box->ProgressBar->Maximum, 50);
    Ticks(41);
    EXPECT_STREQ(Box->CountdownLabel->getText(), "Trying to reconnect in 1 second.");
    EXPECT_EQ(Box->ProgressBar->Value, 41);
    EXPECT_EQ(GetMessageCount(), 0);
    Ticks(9);
    EXPECT_EQ(QueuedTypes(), (std::vector<int32_t>{MESSAGE_CONNECTGAME, MESSAGE_CONNECTINGGAME}));
    EXPECT_EQ(GetActionState(), ACTIONSTATE_DIALOG) << "the expiry itself does not end the box";
    DrawFrame(false);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE) << "the next frame does, since events wait";
    ClearMessages();
}

TEST_F(DialogBoxes, ReconnectInGameSwitchesCharactersAndAZeroWaitStillReconnects) {
    SetConnectionState(CONNECTIONSTATE_GAME);
    AddMessage(MESSAGE_WAITINGLIST, MessageParameter(NewMessageText("Too many players.")), 0);
    ProcessMessages();
    ASSERT_NE(Body<TReconnectDialog>(), nullptr);
    Ticks(1);
    EXPECT_EQ(QueuedTypes(), std::vector<int32_t>{MESSAGE_CHANGECHARACTER});
    SetConnectionState(CONNECTIONSTATE_OFFLINE);
    ClearMessages();
}

TEST_F(DialogBoxes, AbortingTheReconnectShowsThePleaseWaitBoxThenTheCharacterList) {
    AddMessage(MESSAGE_WAITINGLIST, MessageParameter(NewMessageText("Wait.")), 100);
    ProcessMessages();
    ASSERT_NE(Body<TReconnectDialog>(), nullptr);
    EXPECT_STREQ(Body<TReconnectDialog>()->CountdownLabel->getText(), "Trying to reconnect in 2 minutes.");
    KeyPressed(KEY_ESCAPE);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(QueuedTypes(), (std::vector<int32_t>{MESSAGE_WAITFORCHARACTERS, MESSAGE_CHARACTERLIST}));
    ProcessMessages();
    ASSERT_NE(Body<TWaitBox>(), nullptr);
    EXPECT_STREQ(Body<TWaitBox>()->getText(), "Please wait for your character list.");
    Ticks(19);
    EXPECT_NE(GetModalWindow(), nullptr);
    Ticks(1);
    ProcessMessages();
    ASSERT_NE(Body<TCharacterListDialog>(), nullptr) << "two seconds later the list opens";
}

TEST_F(DialogBoxes, AbortingThePleaseWaitBoxEmptiesTheQueue) {
    AddMessage(MESSAGE_WAITFORCHARACTERS, 20, 0);
    AddMessage(MESSAGE_CHARACTERLIST, 300, 0);
    ProcessMessages();
    ASSERT_NE(Body<TWaitBox>(), nullptr);
    Click(Dialog()->OkButton);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetMessageCount(), 0);
    ProcessMessages();
    EXPECT_EQ(GetModalWindow(), nullptr) << "no character list";

    // Without a time-out the box waits for Abort.
    AddMessage(MESSAGE_WAITFORCHARACTERS, 0, 0);
    ProcessMessages();
    ASSERT_NE(Body<TWaitBox>(), nullptr);
    EXPECT_EQ(Body<TWaitBox>()->Countdown, nullptr);
}

TEST_F(DialogBoxes, ConnectingBoxStaysUntilAnEventIsQueued) {
    AddMessage(MESSAGE_LOADINGCHARACTERS, 0, 0);
    ProcessMessages();
    ASSERT_NE(Body<TWaitBox>(), nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Connecting");
    EXPECT_EQ(Dialog()->OkButton->Notification.Target, GetMainWindow());
    EXPECT_EQ(Dialog()->OkButton->Notification.Identifier, DIALOG_ABORT);
    for (int i = 0; i < 3; i++)
        ProcessMessages();
    EXPECT_EQ(GetActionState(), ACTIONSTATE_DIALOG);
    AddMessage(MESSAGE_MESSAGEOFTHEDAY, 0, 0);
    ProcessMessages(); // its frame ends the box
    ProcessMessages(); // the next pass deletes it and opens the message
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Message of the Day");
}

TEST_F(DialogBoxes, YesNoAndLogoutKeys) {
    TReceiver Receiver;
    TModalDialog* Frame = CreateYesNoBox("Question", "Sure?", &Receiver, 506, 2);
    SetModalWindow(Frame);
    SetActionState(ACTIONSTATE_DIALOG);
    for (int32_t Key : {int32_t{'y'}, 'Y' | 0x200, int32_t{'n'}, int32_t{'N'}, int32_t{'x'}, 'y' | 0x400})
        Frame->keyPressed(Key);
    KeyPressed(KEY_ENTER);
    KeyPressed(KEY_ESCAPE);
    EXPECT_EQ(Receiver.Events, (std::vector<int32_t>{506, 506, 2, 2, 506, 2})) << "the box never ends itself";
    EXPECT_EQ(GetModalWindow(), Frame);
    DeleteModalWindow();

    Receiver.Events.clear();
    Frame = CreateLogoutBox("Warning", "Leaving?", &Receiver);
    SetModalWindow(Frame);
    KeyPressed('E');
    EXPECT_EQ(Receiver.Events, std::vector<int32_t>{7});
    EXPECT_EQ(GetModalWindow(), Frame) << "Exit leaves the box open";
    KeyPressed('c');
    EXPECT_EQ(Receiver.Events, std::vector<int32_t>{7});
    EXPECT_EQ(GetModalWindow(), nullptr) << "c closes it without firing";

    Frame = CreateLogoutBox("Warning", "Leaving?", &Receiver);
    SetModalWindow(Frame);
    SetActionState(ACTIONSTATE_DIALOG);
    KeyPressed('l');
    EXPECT_EQ(Receiver.Events, (std::vector<int32_t>{7, 506}));
    EXPECT_EQ(GetModalWindow(), nullptr);
}

namespace {

// Text of Words words of 3 to 9 letters, without line feeds.
std::string Words(int32_t Count) {
    std::string Text;
    for (int32_t i = 0; i < Count; i++)
        Text.append(i > 0 ? " " : "").append(3 + i % 7, static_cast<char>('a' + i % 26));
    return Text;
}

// The open dialog lies inside the main window and draws.
void ExpectInsideTheWindowAndDrawn() {
    const TComponent* Box = GetModalWindow();
    ASSERT_NE(Box, nullptr);
    const TComponent* Root = GetMainWindow();
    EXPECT_GE(Box->X, 0);
    EXPECT_GE(Box->Y, 0);
    EXPECT_LE(Box->X + Box->Width, Root->Width);
    EXPECT_LE(Box->Y + Box->Height, Root->Height);
    DrawFrame(false);
}

} // namespace

TEST_F(DialogBoxes, LongServerTextsAreWrappedToTheWindowAndShownWhole) {
    // A login refusal of 300 characters becomes lines no wider than the window leaves the box.
    const std::string Refusal = Words(50).substr(0, 300);
    AddMessage(MESSAGE_MESSAGEBOX, MessageParameter("Sorry"),
               MessageParameter(NewMessageText(Refusal.c_str())));
    ProcessMessages();
    ExpectInsideTheWindowAndDrawn();
    auto* Label = Body<TTextLabel>();
    ASSERT_NE(Label, nullptr);
    EXPECT_GT(Label->LineCount, 1);
    std::string Joined;
    for (int32_t i = 0; i < Label->LineCount; i++)
        Joined.append(i > 0 ? " " : "").append(Label->getLine(i));
    EXPECT_EQ(Joined, Refusal);
    KeyPressed(KEY_ENTER);
    ProcessMessages();

    // A message of the day taller than the window scrolls inside the box.
    const std::string Long = std::string("7\n").append(Words(2000));
    ASSERT_TRUE(SetMessageOfTheDay(Long.c_str()));
    AddMessage(MESSAGE_MESSAGEOFTHEDAY, 0, 0);
    ProcessMessages();
    ExpectInsideTheWindowAndDrawn();
    auto* Field = Body<TMultiLineEditField>();
    ASSERT_NE(Field, nullptr);
    EXPECT_EQ(std::string(Field->Text.get()), Long.substr(2));
    KeyPressed(KEY_ENTER);
    ProcessMessages();

    // A waiting-list text of 256 characters.
    AddMessage(MESSAGE_WAITINGLIST, MessageParameter(NewMessageText(Words(50).substr(0, 256).c_str())), 9);
    ProcessMessages();
    ExpectInsideTheWindowAndDrawn();
    ClearMessages();
}

TEST_F(DialogBoxes, ADialogWiderThanTheShrunkWindowKeepsItsCornerInside) {
    AddMessage(MESSAGE_MESSAGEBOX, MessageParameter("Sorry"),
               MessageParameter(NewMessageText(Words(40).c_str())));
    ProcessMessages();
    ASSERT_GT(GetModalWindow()->Width, 600);
    ResizeScreen(550, 450);
    EXPECT_EQ(GetModalWindow()->X, 0);
    DrawFrame(false);
    // Dragged by its title bar as far up and left as the pointer goes.
    const TComponent* Box = GetModalWindow();
    LeftButtonDown(Box->X + 20, Box->Y + 5, 0);
    MouseMove(0, 0);
    LeftButtonUp(0, 0, 0);
    EXPECT_GE(GetModalWindow()->X, 0);
    EXPECT_GE(GetModalWindow()->Y, 0);
    DrawFrame(false);
}
