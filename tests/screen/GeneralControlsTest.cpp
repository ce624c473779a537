// Tests of the general controls panel: toggles that mirror the window column, bindings, help and dragging.
#include "screen/GeneralControls.h"
#include "gui/DialogWindow.h"
#include "gui/GUIServices.h"
#include "state/Status.h"
#include "tests/foundation/Thrown.h"
#include "tests/gui/Probes.h"
#include "tests/screen/PanelScreen.h"

#include <gtest/gtest.h>

namespace {

class GeneralControlsTest : public ::testing::Test {
protected:
    GeneralControlsTest() {
        Column.setSize(176, 400);
        SideWindows.setSize(176, 400);
        Column.appendChild(Panel);
        SetTooltip(nullptr);
    }

    TDialogWindow* openWindow(int32_t Kind) {
        auto* Window = new TDialogWindow(Kind, new TSideWindowBody, false, false);
        Window->setSize(176, 60);
        SideWindows.appendChild(Window);
        return Window;
    }
    void click(int32_t X, int32_t Y) {
        Column.leftButtonDown(X, Y, 0);
        Column.leftButtonUp(X, Y, 0);
    }

    TPanelScreen Screen;
    TEventLog Log;
    TProbeParent Target{Log, "main"};
    TWindowColumn SideWindows;
    TWindowColumn Column;
    TGeneralControls* Panel = new TGeneralControls(&SideWindows, &Target);
};

TEST_F(GeneralControlsTest, ToggleFollowsTheColumnAtEveryDrawing) {
    EXPECT_EQ(Panel->getWidth(), 176);
    EXPECT_EQ(Panel->getHeight(), 26);
    TDialogWindow* Skills = openWindow(SKILLS_WINDOW);
    Panel->draw(SCREEN_SURFACE, 0, 100);
    EXPECT_TRUE(Panel->SkillsButton->State);
    EXPECT_FALSE(Panel->BattleButton->State);
    EXPECT_EQ(Screen.source(8, 103), TPanelScreen::skinPixel(15, 0, 0));
    EXPECT_EQ(Screen.source(45, 103), TPanelScreen::skinPixel(14, 0, 0));
    Panel->SkillsButton->getToolTip(3, 3);
    EXPECT_STREQ(GetTooltip(), "Close skills window (Ctrl+S)");

    SideWindows.deleteChild(Skills); // as its own close button does
    openWindow(BUDDY_WINDOW);
    Panel->draw(SCREEN_SURFACE, 0, 100);
    EXPECT_FALSE(Panel->SkillsButton->State);
    EXPECT_TRUE(Panel->VIPButton->State);
    EXPECT_EQ(Screen.source(8, 103), TPanelScreen::skinPixel(14, 0, 0));
    EXPECT_EQ(Screen.source(82, 103), TPanelScreen::skinPixel(15, 0, 0));
    Panel->SkillsButton->getToolTip(3, 3);
    EXPECT_STREQ(GetTooltip(), "Open skills window (Ctrl+S)");
}

TEST_F(GeneralControlsTest, ButtonsFireTheirIdentifiersToTheTarget) {
    click(8 + 5, 3 + 5);
    click(45 + 5, 3 + 5);
    click(82 + 5, 3 + 5);
    click(124 + 40, 3 + 19);
    EXPECT_EQ(Log, (TEventLog{"main:event 14", "main:event 15", "main:event 22", "main:event 507"}));
    Panel->LogoutButton->getToolTip(1, 1);
    EXPECT_STREQ(GetTooltip(), "Leave the game (Ctrl+Q or Ctrl+L)");
    EXPECT_STREQ(Panel->LogoutButton->_Text, "Logout");
    EXPECT_EQ(Panel->LogoutButton->getWidth(), 43);
    EXPECT_EQ(Panel->VIPButton->getWidth(), 34);
}

TEST_F(GeneralControlsTest, PressBesideTheButtonsStartsADrag) {
    Column.leftButtonDown(2, 20, 0);
    EXPECT_TRUE(Panel->Dragging);
    Column.leftButtonUp(2, 20, 0);
    EXPECT_FALSE(Panel->Dragging);
    EXPECT_TRUE(Log.empty());
}

TEST_F(GeneralControlsTest, WholePanelHasOneHelpText) {
    SetHelpContext(1);
    EXPECT_TRUE(Column.getHelpContext(10, 5));
    EXPECT_EQ(GetHelpContext(), 16);
    int32_t x, y, w, h;
    GetHelpRectangle(&x, &y, &w, &h);
    EXPECT_EQ(w, 176);
    EXPECT_EQ(h, 26);
}

TEST_F(GeneralControlsTest, ColumnIsRequired) {
    const std::string Text = ThrownText([this] { TGeneralControls Broken(nullptr, &Target); });
    EXPECT_NE(Text.find("reason:\n_CheckObject!=NULL"), std::string::npos) << Text;
    EXPECT_EQ(Text.rfind("GeneralControls.cpp ", 0), 0u) << Text;
}

} // namespace
