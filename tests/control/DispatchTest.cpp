// The idle pass's event dispatch on the real main window: which events open which dialog, centring and the
// modal state, events waiting behind an open dialog, events that open nothing, and the seam of the windows
// built by other modules.
#include "DialogFixture.h"

#include "foundation/Exception.h"
#include "gui/DialogElements.h"
#include "gui/DialogElementsText.h"

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

// A window of another module that records where it was placed and deletes nothing of its own.
class TMenuProbe : public TLeafComponent {
public:
    TMenuProbe() {
        setPosition(5, 7);
        TComponent::setSize(30, 20);
    }
};

std::vector<std::string> FactoryLog;

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

    KeyPressed(27);
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
    // Options are not built here, no error reports are stored: neither opens a window.
    AddMessage(MESSAGE_OPTIONS, 0, 0);
    AddMessage(MESSAGE_ERRORREPORTDIALOG, 0, 0);
    AddMessage(MESSAGE_OBJECTMENU, 0, 0);
    AddMessage(MESSAGE_MESSAGEBOX, MessageParameter("Sorry"), MessageParameter(NewMessageText("Closed.")));
    ProcessMessages();
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Sorry");
    EXPECT_STREQ(Body<TTextLabel>()->getText(), "Closed.") << "the box keeps its own copy of the freed text";
    EXPECT_EQ(GetMessageCount(), 0);
}

TEST_F(Dispatch, WindowsOfOtherModulesComeFromTheirFactoriesAndMenusKeepTheirPlace) {
    FactoryLog.clear();
    SetWindowFactory(MESSAGE_EDITLIST, [](intptr_t Param1, intptr_t Param2) -> TComponent* {
        FactoryLog.push_back(MessagePointer<char>(Param1) + std::string("|") + MessagePointer<char>(Param2));
        return nullptr;
    });
    SetWindowFactory(MESSAGE_OBJECTMENU, [](intptr_t, intptr_t) -> TComponent* { return new TMenuProbe; });
    AddMessage(MESSAGE_EDITLIST, MessageParameter(NewMessageText("a")),
               MessageParameter(NewMessageText("b")));
    AddMessage(MESSAGE_OBJECTMENU, 0, 0);
    ProcessMessages();
    EXPECT_EQ(FactoryLog, std::vector<std::string>{"a|b"});
    ASSERT_NE(dynamic_cast<TMenuProbe*>(GetModalWindow()), nullptr);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_CONTEXTMENU);
    EXPECT_EQ(GetModalWindow()->X, 5) << "a menu is not centred";
    SetWindowFactory(MESSAGE_EDITLIST, nullptr);
    SetWindowFactory(MESSAGE_OBJECTMENU, nullptr);
    SetActionState(ACTIONSTATE_NONE); // the menu's entry was chosen
    AddMessage(MESSAGE_OBJECTMENU, 0, 0);
    ProcessMessages();
    EXPECT_EQ(GetModalWindow(), nullptr) << "without its factory the menu opens nothing";
    EXPECT_THROW(SetWindowFactory(MESSAGE_CONNECTLOGIN, nullptr), TMyException);
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
