// The combat controls (modes stored and sent, buttons in line with the options, the main window's buttons)
// and the status bars panel (fill widths, numbers, drawn on the software engine).
#include "screen/ContentWindowsCombat.h"

#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "state/CreaturesPlayer.h"
#include "state/Preferences.h"
#include "tests/gui/Probes.h"
#include "tests/screen/SideWindowBench.h"

namespace {

class CombatControlsTest : public SideWindowBench {
protected:
    void click(TCombatControls& Controls, TSkinPoint At) {
        Controls.leftButtonDown(At.x + 3, At.y + 3, 0);
        Controls.leftButtonUp(At.x + 3, At.y + 3, 0);
    }
    const TCombatLayout& Large = SkinProperties.CombatControls.Maximised;
    const TCombatLayout& Small = SkinProperties.CombatControls.Minimised;
    TEventLog Log;
    TProbeParent Target{Log, "main"};
};

TEST_F(CombatControlsTest, ChoosingAModeStoresItAndSendsAllThree) {
    SetAttackMode(1);
    SetChaseMode(1);
    SetSecureMode(true);
    TCombatControls Controls(&Target, true);
    EXPECT_EQ(Controls.FightModeGroup->Selected, Controls.FightModeGroup->Members.at(0));
    EXPECT_EQ(Controls.ChaseModeGroup->Selected, Controls.ChaseButton);
    click(Controls, Large.Balanced);
    EXPECT_EQ(GetAttackMode(), 2);
    EXPECT_EQ(sent(), TWire(160).u8(2).u8(1).u8(1));
    EXPECT_TRUE(nothingSent());
    click(Controls, Large.Stand);
    EXPECT_EQ(sent(), TWire(160).u8(2).u8(0).u8(1));
    EXPECT_EQ(Controls.ChaseModeGroup->Selected, Controls.StandButton);

    // Pressed means secure mode off.
    EXPECT_FALSE(Controls.SecureModeButton->State);
    click(Controls, Large.SecureMode);
    EXPECT_TRUE(Controls.SecureModeButton->State);
    EXPECT_FALSE(GetSecureMode());
    EXPECT_EQ(sent(), TWire(160).u8(2).u8(0).u8(0));
    Controls.SecureModeButton->getToolTip(1, 1);
    EXPECT_STREQ(GetTooltip(), "You can attack any character");
    Controls.handleEvent(106);
    EXPECT_TRUE(nothingSent());
}

TEST_F(CombatControlsTest, ButtonsFollowTheOptions) {
    SetAttackMode(0);
    SetChaseMode(1);
    SetSecureMode(false);
    TCombatControls Controls(&Target, false);
    EXPECT_EQ(Controls.FightModeGroup->Selected, nullptr);
    EXPECT_TRUE(Controls.SecureModeButton->State);
    SetChaseMode(0); // changed elsewhere: shown at the next frame, nothing sent
    Controls.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Controls.ChaseModeGroup->Selected, Controls.StandButton);
    SetChaseMode(7);
    Controls.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Controls.ChaseModeGroup->Selected, Controls.StandButton);
    EXPECT_TRUE(nothingSent());
}

TEST_F(CombatControlsTest, StopOptionsAndHelpGoToTheMainWindowInBothLayouts) {
    TCombatControls Full(&Target, true), Minimised(&Target, false);
    for (TCombatControls* Controls : {&Full, &Minimised}) {
        const TCombatLayout& L = Controls == &Full ? Large : Small;
        click(*Controls, L.Stop);
        click(*Controls, L.Options);
        click(*Controls, L.Help);
    }
    EXPECT_EQ(Log, (TEventLog{"main:event 32", "main:event 8", "main:event 701", "main:event 32",
                              "main:event 8", "main:event 701"}));
    EXPECT_TRUE(nothingSent());

    Target.addChild(&Full);
    Target.setSize(176, 170);
    Target.moveChild(&Full, 124, 19);
    SetHelpOrigin(0, 0);
    EXPECT_TRUE(Target.getHelpContext(130, 30));
    EXPECT_EQ(GetHelpContext(), 14);
    int32_t x, y, w, h;
    GetHelpRectangle(&x, &y, &w, &h);
    EXPECT_EQ((std::vector<int32_t>{x, y, w, h}), (std::vector<int32_t>{0, 0, 176, 170}));
    Target.removeChild(&Full);
}

TEST(StatusBars, FillFollowsTheValueBelowTheMaximum) {
    EXPECT_EQ(BarFillWidth(45, 180, 90), 22);
    EXPECT_EQ(BarFillWidth(180, 180, 90), 90);
    EXPECT_EQ(BarFillWidth(200, 180, 90), 90);
    EXPECT_EQ(BarFillWidth(0, 0, 90), 90); // nothing received yet
    EXPECT_EQ(BarFillWidth(-5, 0, 90), 90);
    EXPECT_EQ(BarFillWidth(-5, 100, 90), 0);
}

TEST(StatusBars, DrawnFromThePlayersValues) {
    TPanelScreen Screen;
    SetHitpoints(45, 180);
    SetMana(0, 50);
    TStatusWindow Window;
    EXPECT_EQ(Window.Identifier, STATUS_WINDOW);
    Window.draw(SCREEN_SURFACE, 0, 10);
    EXPECT_EQ(Screen.source(26 + 21, 10 + 4), TPanelScreen::skinPixel(121, 21, 0));
    EXPECT_EQ(Screen.source(26 + 22, 10 + 4), TPanelScreen::skinPixel(120, 22, 0));
    EXPECT_EQ(Screen.source(26, 10 + 17), TPanelScreen::skinPixel(123, 0, 0)); // no mana
    EXPECT_EQ(Screen.source(9, 10 + 5), TPanelScreen::skinPixel(119, 0, 0));
    EXPECT_EQ(Screen.source(127, 10 + 5), TSkinSource({-1, -1})); // the number's first glyph
    SetHitpoints(180, 180);
    Window.draw(SCREEN_SURFACE, 0, 10);
    EXPECT_EQ(Screen.source(26 + 89, 10 + 4), TPanelScreen::skinPixel(121, 89 % GetSkin(121).Width, 0));
}

} // namespace
