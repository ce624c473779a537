// The map view's hint button with the real hint texts: offered for a queued hint, each hint shown once.
#include "screen/Help.h"
#include "screen/MapWindow.h"
#include "state/EventHints.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "tests/screen/MapBench.h"

#include <string>

namespace {

class HelpHintButton : public MapBench {
protected:
    void SetUp() override {
        MapBench::SetUp();
        fillGround();
    }
    void TearDown() override {
        SetHintTexts({});
        MapBench::TearDown();
    }

    // The box the button opened: its caption and text, "" when nothing was posted.
    static std::string OpenedHint(std::string& Caption) {
        int32_t Type = 0;
        intptr_t P1 = 0, P2 = 0;
        PopMessage(Type, P1, P2);
        if (Type != MESSAGE_MESSAGEBOX2) return "";
        Caption = MessagePointer<const char>(P1);
        std::string Text = MessagePointer<const char>(P2);
        FreeMessageParameters(Type, P1, P2);
        return Text;
    }
};

} // namespace

TEST_F(HelpHintButton, QueuedHintIsOfferedAndShownOnce) {
    InstallHintTexts();
    SetShowNewHints(true);
    drawView();
    EXPECT_EQ(View->_HintButton, nullptr); // nothing queued

    QueueEventHelp(13); // a marked player came into view
    drawView();
    ASSERT_NE(View->_HintButton, nullptr);
    EXPECT_EQ(PeekMessageType(), MESSAGE_NONE); // waits for the press
    View->handleEvent(MAPVIEW_HINT);
    std::string Caption;
    const std::string Text = OpenedHint(Caption);
    EXPECT_EQ(Caption, "Player Killing");
    EXPECT_EQ(Text.rfind("<b>Watch out!", 0), 0u);
    EXPECT_EQ(View->_HintButton, nullptr);
    EXPECT_EQ(PeekEventHelp(), 0);

    // Known from now on: meeting a marked player again offers nothing.
    QueueEventHelp(13);
    drawView();
    EXPECT_EQ(View->_HintButton, nullptr);
    EXPECT_TRUE(IsKnownHint(13));
}

TEST_F(HelpHintButton, FirstLoginOpensWithoutThePress) {
    InstallHintTexts();
    SetShowNewHints(true);
    QueueEventHelp(1);
    QueueEventHelp(7);
    drawView();
    std::string Caption;
    EXPECT_EQ(OpenedHint(Caption).rfind("<b>Welcome to Ebrun!", 0), 0u);
    EXPECT_EQ(Caption, "First Login");
    drawView();
    ASSERT_NE(View->_HintButton, nullptr); // the second one waits for the press
    View->handleEvent(MAPVIEW_HINT);
    EXPECT_EQ(OpenedHint(Caption).rfind("<b>Congratulations!", 0), 0u);
    EXPECT_EQ(Caption, "First Experience Points");
}
