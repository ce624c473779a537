// The layout record: construction defaults, the values of every group, and their use in placing pieces.
#include "gui/SkinProperties.h"
#include "graphics/graphics.h"
#include "gui/DialogWindow.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<int32_t> Words(const TSkinProperties& P) {
    std::vector<int32_t> Result(sizeof(P) / sizeof(int32_t));
    std::memcpy(Result.data(), &P, Result.size() * sizeof(int32_t));
    return Result;
}

// Every text format reads font 4, (224, 224, 224), left; every other word 0. A member without its initialiser
// or a format that lost its default shows up here.
TEST(SkinPropertiesRecordTest, ConstructionLeavesOnlyDefaultFormats) {
    const TSkinProperties Fresh;
    const std::vector<int32_t> W = Words(Fresh);
    const int32_t DefaultFormat[5] = {4, 224, 224, 224, LEFT_ALIGN};
    int32_t Formats = 0;
    for (size_t i = 0; i < W.size();) {
        if (i + 5 <= W.size() && std::memcmp(&W[i], DefaultFormat, sizeof(DefaultFormat)) == 0) {
            Formats++;
            i += 5;
        } else {
            EXPECT_EQ(W[i], 0) << "word " << i;
            i++;
        }
    }
    EXPECT_EQ(Formats, 27);
}

// A side window puts the pieces of its title bar where the record's side-panel members say; a piece read
// from another member lands elsewhere.
TEST(SkinPropertiesRecordTest, ASideWindowPlacesItsTitleBarByTheRecord) {
    InitSkins();
    InitSkinProperties();
    auto& Panel = SkinProperties.SidePanel;
    Panel.Button1 = {3, 1};
    Panel.Button2 = {150, 2};
    Panel.Button4 = {20, 3, 12, 11};
    Panel.Button5 = {40, 4, 90, 10};
    TDialogWindow Window(1, new TSideWindowBody, false, false);
    Window.setSize(Panel.Width, 100);
    TComponent* Pieces[4] = {new TLeafComponent, new TLeafComponent, new TLeafComponent, new TLeafComponent};
    Window.setButton1(Pieces[0]);
    Window.setButton2(Pieces[1]);
    Window.setButton4(Pieces[2]);
    Window.setButton5(Pieces[3]);
    std::vector<std::string> Places;
    for (const TComponent* Piece : Pieces)
        Places.push_back(std::to_string(Piece->X) + "," + std::to_string(Piece->Y) + " " +
                         std::to_string(Piece->getWidth()) + "x" + std::to_string(Piece->getHeight()));
    EXPECT_EQ(Places, (std::vector<std::string>{"3,1 0x0", "150,2 0x0", "20,3 12x11", "40,4 90x10"}));
    InitSkinProperties();
    ExitSkins();
}

// One or two values per group, chosen so that a member moved into a neighbour or a group written one word
// off reads a different number.
TEST(SkinPropertiesRecordTest, InitFillsEveryGroup) {
    InitSkinProperties();
    const TSkinProperties& P = SkinProperties;
    EXPECT_EQ(P.MapView.Border, 5);
    EXPECT_EQ(P.MapView.HintButton.x, -35);
    EXPECT_EQ(P.MapView.HintButton.height, 32);
    EXPECT_EQ(P.SidePanel.BodyValues[2], 56);
    EXPECT_EQ(P.Automap.Height, 117);
    EXPECT_EQ(P.Automap.View.width, 106);
    EXPECT_EQ(P.Automap.FloorDownSkins[1], 73);
    EXPECT_EQ(P.Automap.Rose.x, 124);
    EXPECT_EQ(P.GeneralControls.Height, 26);
    EXPECT_EQ(P.GeneralControls.LogoutButton.x, 124);
    EXPECT_EQ(P.InventoryWindow.Window.height, 163);
    EXPECT_EQ(P.InventoryWindow.DropField.height, 42);
    EXPECT_EQ(P.PlayerStates.SmallBar.width, 90);
    EXPECT_EQ(P.PlayerStates.NumberOfIcons, 9);
    EXPECT_EQ(P.PlayerStates.IconPitch, 10);
    EXPECT_EQ(P.CombatControls.Maximised.Height, 134);
    EXPECT_EQ(P.CombatControls.Maximised.Help.y, 108);
    EXPECT_EQ(P.CombatControls.Minimised.Width, 111);
    EXPECT_EQ(P.CombatControls.Minimised.Help.x, 90);
    EXPECT_EQ(P.SmallLabels.NumberFormat.Alignment, CENTER_ALIGN);
    EXPECT_EQ(P.SmallLabels.Number.y, 11);
    EXPECT_EQ(P.StatusWindow.Height, 32);
    EXPECT_EQ(P.StatusWindow.ManaText.y, 18);
    EXPECT_EQ(P.SkillsWindow.ProgressHeight, 9);
    EXPECT_EQ(P.BattleWindow.LineHeight, 22);
    EXPECT_EQ(P.TradeWindow.HeaderFormat.Blue, 0);
    EXPECT_EQ(P.TradeWindow.RowHeight, 36);
    EXPECT_EQ(P.BuddylistWindow.Logo.y, 2);
    EXPECT_EQ(P.HorizontalScrollBar.BoxHeight, 12);
    EXPECT_EQ(P.Buttons.ExtraFormats[2].Blue, 255);
    EXPECT_EQ(P.ObjectView.Margin, 1);
    EXPECT_EQ(P.ListBox.SelectionBorder, 1);
    EXPECT_EQ(P.Console.Text.height, -22);
    EXPECT_EQ(P.Console.MoveLeftButton.x, -82);
    EXPECT_EQ(P.Console.NoTalkFormat.Red, 160);
    EXPECT_EQ(P.ConsoleTab.UnreadFormat.Green, 96);
    EXPECT_EQ(P.ConsoleTab.FlashLength, 10);
    EXPECT_EQ(P.ConsoleTab.TextView.width, -17);
    EXPECT_EQ(P.DialogFrame.CaptionFormat.Alignment, CENTER_ALIGN);
    EXPECT_EQ(P.DialogFrame.BodyMargins.height, -60);
    EXPECT_EQ(P.DialogFrame.ButtonHeight, 20);
}

// A minimised side panel is its title bar; panels, the column and the main window's side bar share a width.
TEST(SkinPropertiesRecordTest, SidePanelsShareOneWidth) {
    InitSkinProperties();
    EXPECT_EQ(SkinProperties.SidePanel.TitleHeight, 19);
    EXPECT_EQ(SkinProperties.SidePanel.Width, 176);
    EXPECT_EQ(SkinProperties.MainWindow.SideBarWidth, SkinProperties.SidePanel.Width);
}

} // namespace
