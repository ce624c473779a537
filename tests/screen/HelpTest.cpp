// The help-text buffer, and the help menu and hints list bodies with the events they post.
#include "screen/Help.h"
#include "gui/KeyCodes.h"

#include "gui/DialogElementsList.h"
#include "gui/GUIServices.h"
#include "state/EventHints.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "tests/gui/SkinScreen.h"
#include "tests/state/StateTest.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

class Help : public ::testing::Test {
protected:
    void SetUp() override {
        ResetOptions();
        ResetEventHelps();
        ClearMessages();
        SetActionState(ACTIONSTATE_DIALOG);
        OpenedURLs.clear();
    }
    void TearDown() override {
        ClearMessages();
        SetActionState(ACTIONSTATE_NONE);
    }

    // The queued events' types, front first; the queue is emptied.
    static std::vector<int32_t> Posted() {
        std::vector<int32_t> Types;
        for (int32_t Type = 0; (Type = PeekMessageType()) != MESSAGE_NONE;) {
            intptr_t P1 = 0, P2 = 0;
            PopMessage(Type, P1, P2);
            FreeMessageParameters(Type, P1, P2);
            Types.push_back(Type);
        }
        return Types;
    }

    static void OpenURL(const char* Url) { OpenedURLs.push_back(Url); }

    static inline std::vector<std::string> OpenedURLs;
    TSkinScreen Screen;
};

using Types = std::vector<int32_t>;

bool StartsWith(const char* Text, const char* Prefix) {
    return std::strncmp(Text, Prefix, strlen(Prefix)) == 0;
}

} // namespace

TEST_F(Help, HelpBufferIsReusedAndEmptiedForAnUnknownContext) {
    const char* Automap = GetHelpText(10);
    EXPECT_TRUE(StartsWith(Automap, "<B>Automap<N>"));
    EXPECT_EQ(GetHelpText(1111), Automap); // one buffer, overwritten
    EXPECT_TRUE(StartsWith(Automap, "<B>Signs<N>"));
    for (int32_t Context : {0, 1, 9, 24, 1003, 1113})
        EXPECT_TRUE(FailsWith([=] { GetHelpText(Context); }, "unknown handle")) << Context;
    EXPECT_STREQ(Automap, "");

    SetHelpContext(1001);
    EXPECT_TRUE(StartsWith(GetCurrentHelpText(), "<B>Your Character<N>"));
    SetHelpContext(0);
}

TEST_F(Help, HelpMenuPostsItsEventsAndCloses) {
    THelpDialog Menu(OpenURL);
    EXPECT_EQ(Menu.Width, 250);
    EXPECT_EQ(Menu.Height, 185);

    Menu.handleEvent(HELPDIALOG_HINTS); // "Hints": the list, then this menu again
    EXPECT_EQ(Posted(), (Types{MESSAGE_HINTS, MESSAGE_HELP}));
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);

    SetActionState(ACTIONSTATE_DIALOG);
    Menu.handleEvent(HELPDIALOG_CLIENT);
    EXPECT_EQ(Posted(), Types{MESSAGE_HELPCURSOR});
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);

    Menu.handleEvent(HELPDIALOG_RULE_VIOLATION);
    EXPECT_EQ(Posted(), Types{MESSAGE_RULEVIOLATION});
    Menu.handleEvent(HELPDIALOG_MANUAL);
    Menu.handleEvent(HELPDIALOG_FAQ);
    EXPECT_EQ(OpenedURLs, (std::vector<std::string>{"https://www.pellarune.example/guide/?subtopic=manual",
                                                    "https://www.pellarune.example/guide/?subtopic=faq"}));

    SetActionState(ACTIONSTATE_DIALOG);
    Menu.keyPressed('x');
    EXPECT_EQ(GetActionState(), 10);
    Menu.keyPressed(KEY_ESCAPE);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    EXPECT_TRUE(FailsWith([&] { Menu.handleEvent(708); }, "unknown event"));
    EXPECT_EQ(Posted(), Types{});
}

TEST_F(Help, HintsListShowsKnownHintsInNumberOrder) {
    {
        THintsDialog Fresh;
        EXPECT_EQ(Fresh.HintList->Lines, 0);
    }
    QueueEventHelp(12);
    QueueEventHelp(1);
    QueueEventHelp(3);
    THintsDialog List;
    ASSERT_EQ(List.HintList->Lines, 3);
    EXPECT_STREQ(List.HintList->getLine(0), "First Login");
    EXPECT_STREQ(List.HintList->getLine(1), "Brackwold Crossroad");
    EXPECT_STREQ(List.HintList->getLine(2), "Depot");

    List.handleEvent(HELPDIALOG_OK); // nothing selected: only closes
    EXPECT_EQ(GetMessageCount(), 0);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
}

TEST_F(Help, ChosenHintOpensBeforeQueuedEventsAndTheListReturns) {
    QueueEventHelp(12);
    THintsDialog List;
    AddMessage(MESSAGE_OPTIONS, 0, 0); // already waiting
    List.HintList->select(0);
    List.keyPressed(KEY_ENTER);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);

    int32_t Type = 0;
    intptr_t P1 = 0, P2 = 0;
    PopMessage(Type, P1, P2);
    ASSERT_EQ(Type, MESSAGE_MESSAGEBOX2);
    EXPECT_STREQ(MessagePointer<const char>(P1), "Depot");
    EXPECT_STREQ(MessagePointer<const char>(P2), GetEventHelpText(12));
    EXPECT_NE(MessagePointer<const char>(P2), GetEventHelpText(12)); // the event owns a copy
    FreeMessageParameters(Type, P1, P2);
    EXPECT_EQ(Posted(), (Types{MESSAGE_HINTS, MESSAGE_OPTIONS}));
}
