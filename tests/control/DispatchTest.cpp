// The idle pass's event dispatch on the real main window: which events open which dialog, centring and the
// modal state, events waiting behind an open dialog, events that open nothing, and a factory's copies of
// the event's freed parameters.
#include "DialogFixture.h"

#include "control/DialogsBoxes.h"
#include "control/DialogsLogin.h"
#include "control/DialogsText.h"
#include "gui/DialogElements.h"
#include "gui/DialogElementsMultiLine.h"
#include "gui/DialogElementsText.h"
#include "gui/KeyCodes.h"
#include "screen/ContextMenus.h"
#include "state/Status.h"

#include <cstring>

namespace {

// The start screen's button with this caption.
const TComponent* StartButton(const char* Caption) {
    const TWindowFrame* Panel = GetMainWindow()->StartScreen->ButtonPanel;
    for (const TComponent* C = Panel->_Window->getFirstChild(); C != nullptr; C = C->getNext())
        if (const auto* Button = dynamic_cast<const TTextButton*>(C);
            Button && !strcmp(Button->_Text, Caption))
            return C;
    return nullptr;
}

using Dispatch = DialogTest;

} // namespace

TEST_F(Dispatch, EnterGameOpensTheCentredLoginDialogAndQueuedEventsWaitBehindIt) {
    const TComponent* Enter = StartButton("Enter Game");
    ASSERT_NE(Enter, nullptr);
    Click(Enter);
    EXPECT_EQ(QueuedTypes(), std::vector<int32_t>{MESSAGE_LOGINDIALOG});
    ProcessMessages();
    ASSERT_NE(Body<TLoginDialog>(), nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Enter Game");
    EXPECT_EQ(GetActionState(), ACTIONSTATE_DIALOG);
    EXPECT_EQ(Dialog()->X, 400 - Dialog()->Width / 2);
    EXPECT_EQ(Dialog()->Y, 300 - Dialog()->Height / 2);

    AddMessage(MESSAGE_MESSAGEOFTHEDAY, 0, 0);
    AddMessage(MESSAGE_ACCOUNTDATAWARNING, MessageParameter("Warning"), 0);
    ProcessMessages();
    EXPECT_NE(Body<TLoginDialog>(), nullptr);
    EXPECT_EQ(GetMessageCount(), 2) << "nothing is taken while a dialog is open";

    KeyPressed(KEY_ESCAPE);
    EXPECT_EQ(GetModalWindow(), nullptr) << "the key that ended it closed it";
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    ProcessMessages();
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Message of the Day");
    EXPECT_EQ(GetMessageCount(), 1) << "one box at a time";

    // A dialog whose handler ended it outside the input routing goes on the next pass.
    Dialog()->handleEvent(DIALOG_OK);
    ProcessMessages();
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Warning");
    EXPECT_EQ(GetMessageCount(), 0);
}

TEST_F(Dispatch, EventsThatOpenNothingAreHandledInTheSamePass) {
    // Nothing is dragged, no error reports are stored, the start screen has no console: none opens a window.
    AddMessage(MESSAGE_MOVECOUNT, 0, 0);
    AddMessage(MESSAGE_ERRORREPORTDIALOG, 0, 0);
    AddMessage(MESSAGE_CHATTEXTMENU, 0, 0);
    AddMessage(MESSAGE_MESSAGEBOX, MessageParameter("Sorry"), MessageParameter(NewMessageText("Closed.")));
    ProcessMessages();
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Sorry");
    EXPECT_STREQ(Body<TTextLabel>()->getText(), "Closed.") << "the box keeps its own copy of the freed text";
    EXPECT_EQ(GetMessageCount(), 0);
}

TEST_F(Dispatch, FactoriesKeepCopiesOfTheFreedParametersAndMenusKeepTheirPlace) {
    int32_t* Record = static_cast<int32_t*>(NewMessageBlock(2 * sizeof(int32_t)));
    Record[0] = 1;
    Record[1] = 42;
    TEditField Field(20, false);
    SetMousePosition(5, 7);
    AddMessage(MESSAGE_EDITLIST, MessageParameter(Record), MessageParameter(NewMessageText("a\nb")));
    AddMessage(MESSAGE_EDITFIELDMENU, MessageParameter(&Field), 0);
    ProcessMessages();
    ASSERT_NE(Body<TListEditDialog>(), nullptr);
    EXPECT_EQ(Body<TListEditDialog>()->ListID, 42u);
    EXPECT_STREQ(Body<TListEditDialog>()->TextField->getText(), "a\nb");
    KeyPressed(KEY_ESCAPE);
    ProcessMessages();
    ASSERT_NE(dynamic_cast<TEditMenu*>(GetModalWindow()), nullptr);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_CONTEXTMENU);
    EXPECT_EQ(GetModalWindow()->X, 5) << "a menu is not centred";
    EXPECT_EQ(GetModalWindow()->Y, 7);
    KeyPressed(KEY_ESCAPE);
    EXPECT_EQ(GetModalWindow(), nullptr);
}

TEST_F(Dispatch, LinkWarningAnswersTheMainWindow) {
    AddMessage(MESSAGE_LINKWARNING, MessageParameter("Link Copy Warning"), 0);
    ProcessMessages();
    ASSERT_NE(Body<TYesNoBox>(), nullptr);
    EXPECT_EQ(Body<TYesNoBox>()->Yes.Identifier, 33);
    EXPECT_EQ(Body<TYesNoBox>()->No.Identifier, 2);
    KeyPressed('n'); // the main window's 2 ends the box
    EXPECT_EQ(GetModalWindow(), nullptr);
}
