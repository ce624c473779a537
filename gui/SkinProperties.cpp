// The skin layout record and its constants.
#include "gui/SkinProperties.h"

TSkinProperties SkinProperties;

namespace {

TTextFormat Format(int32_t Font, int32_t Red, int32_t Green, int32_t Blue, int32_t Alignment) {
    return TTextFormat{Font, Red, Green, Blue, Alignment};
}

void InitFrame(TSkinProperties& P) {
    // Hot spots of the pointer skins 1 to 6: arrow tip, centre of the resize arrows, finger tip, cross hair
    // centres, arrow tip.
    const TSkinPoint HotSpots[6] = {{1, 1}, {4, 10}, {5, 1}, {9, 9}, {9, 9}, {1, 1}};
    for (int32_t i = 0; i < 6; i++)
        P.Frame.PointerHotSpots[i] = HotSpots[i];
    P.Frame.TooltipFormat = Format(2, 224, 224, 224, LEFT_ALIGN);
    P.Frame.TooltipMargin = 2;
    P.Frame.TooltipBackground = {48, 48, 48};
    P.Frame.TooltipFrame = {0, 0, 0};
}

void InitPopups(TSkinProperties& P) {
    P.Popups.HelpMenu = {0, 0, 250, 185};
    P.Popups.HelpMenuRowDistance = 33;
    P.Popups.HelpMenuLabelX = 99;
    P.Popups.HintsBody = {0, 0, 200, 119};
    P.Popups.InfoPanel = {0, 0, 190, 111};
    P.Popups.MessageFormat = Format(4, 192, 192, 192, LEFT_ALIGN);
}

void InitStartScreen(TSkinProperties& P) {
    P.StartScreen.TitlePicture = 1;
    P.StartScreen.TitleWidth = 640;
    P.StartScreen.TitleHeight = 480;
    P.StartScreen.Panel = {60, -240, 86, 140};
    const int32_t Rows[5] = {0, 30, 60, 90, 120};
    for (int32_t i = 0; i < 5; i++)
        P.StartScreen.ButtonRows[i] = Rows[i];
    P.StartScreen.ButtonSkinUp = 18;
    P.StartScreen.ButtonSkinDown = 19;
    const int32_t Frame[9] = {52, 58, 53, 56, 57, 54, 59, 55, 60};
    for (int32_t i = 0; i < 9; i++)
        P.StartScreen.PanelFrame[i] = Frame[i];
    P.StartScreen.PanelMargin = 10;
}

void InitMainWindowAndPopups(TSkinProperties& P) {
    P.MainWindow.SideBarWidth = 176;
    P.MainWindow.SplitterHeight = 5;
    P.ContextMenu.TextFormat = Format(2, 224, 224, 224, LEFT_ALIGN);
    P.ContextMenu.HighlightColor = {128, 128, 128};
    P.ContextMenu.TextInset = 2;
    P.ContextMenu.ShortcutGap = 40;
    P.ContextMenu.SeparatorHeight = 8;
    P.ContextMenu.Margins = {4, 4, -4, -4};
    P.HelpPopup.MinimumWidth = 43;
    P.HelpPopup.MinimumHeight = 43;
    P.HelpPopup.MaximumWidth = 322;
    P.HelpPopup.MaximumHeight = 447;
    P.HelpPopup.TextMargins = {4, 4, -4, -4};
    P.HelpPopup.SizeStep = 4;
    P.HelpPopup.SizeRemainder = 3;
    P.HelpPopup.Distance = 3;
}

void InitSidePanel(TSkinProperties& P) {
    P.SidePanel.Width = 176;
    P.SidePanel.DragColor = {0, 0, 0};
    P.SidePanel.Button4 = {4, 2, 12, 12};
    P.SidePanel.Button2 = {-15, 2};
    P.SidePanel.MinimizeButton = {-28, 2};
    P.SidePanel.Button1 = {-39, 2};
    P.SidePanel.Button5 = {20, 4, -41, 10};
    P.SidePanel.TitleFormat = Format(4, 144, 144, 144, LEFT_ALIGN);
    P.SidePanel.TitleHeight = 19;
    P.SidePanel.Body = {4, 15, -4, -4};
    P.SidePanel.GripHandle = {3, -16, 13, 13};
    P.SidePanel.BorderHandle = {0, -4, 0, 0};
    P.SidePanel.BodyValues[0] = 56;
    P.SidePanel.BodyValues[1] = 56;
    P.SidePanel.BodyValues[2] = 56;
}

void InitSideBarElements(TSkinProperties& P) {
    P.StatusWindow.HitpointsBar = {26, 4, 90, 11};
    P.StatusWindow.ManaBar = {26, 17, 90, 11};
    P.StatusWindow.HitpointsText = {127, 5, 39, 9};
    P.StatusWindow.ManaText = {127, 18, 39, 9};
    P.StatusWindow.TextFormat = Format(4, 176, 176, 176, LEFT_ALIGN);
    P.PlayerStates.NumberOfIcons = 9;
    P.ObjectView.CountFormat = Format(2, 192, 192, 192, RIGHT_ALIGN);
    P.ObjectView.Margin = 1;
    P.BuddylistWindow.Logo = {2, 2};
}

void InitScrollBars(TSkinProperties& P) {
    P.VerticalScrollBar.MinimumHeight = 14;
    P.VerticalScrollBar.Width = 12;
    P.VerticalScrollBar.BoxMinimumHeight = 38;
    P.VerticalScrollBar.BoxWidth = 12;
    P.HorizontalScrollBar.MinimumWidth = 14;
    P.HorizontalScrollBar.Height = 12;
    P.HorizontalScrollBar.BoxMinimumWidth = 38;
    P.HorizontalScrollBar.BoxHeight = 12;
}

void InitButtonsAndCheckBox(TSkinProperties& P) {
    P.Buttons.TextFormat = Format(3, 255, 255, 255, CENTER_ALIGN);
    P.Buttons.DisabledTextFormat = Format(3, 192, 192, 192, CENTER_ALIGN);
    P.Buttons.PressedOffset = 1;
    P.Buttons.Texture = {2, 2};
    P.Buttons.BlinkInterval = 100;
    P.Buttons.ExtraFormats[0] = Format(4, 224, 224, 224, LEFT_ALIGN);
    P.Buttons.ExtraFormats[1] = Format(4, 255, 255, 255, LEFT_ALIGN);
    P.Buttons.ExtraFormats[2] = Format(4, 160, 160, 255, LEFT_ALIGN);
    P.CheckBox.Item = {6, 5};
    P.CheckBox.Text = {24, 4, -10, -6};
    P.CheckBox.TextFormat = Format(4, 176, 176, 176, LEFT_ALIGN);
    P.CheckBox.DisabledTextFormat = Format(4, 112, 112, 112, LEFT_ALIGN);
}

void InitTextElements(TSkinProperties& P) {
    P.EditField.Background = {54, 54, 54};
    P.EditField.DisabledBackground = {71, 71, 71};
    P.EditField.Cursor = {255, 255, 255};
    P.EditField.TextFormat = Format(4, 224, 224, 224, LEFT_ALIGN);
    P.EditField.ReadOnlyTextFormat = Format(4, 176, 176, 176, LEFT_ALIGN);
    P.EditField.Selection = {128, 128, 128};
    P.EditField.Margin = 3;
    P.ListBox.BackgroundColor = {64, 64, 64};
    P.ListBox.Format = Format(4, 176, 176, 176, LEFT_ALIGN);
    P.ListBox.Margin = 3;
    P.ListBox.SelectionColor = {112, 112, 112};
    P.ListBox.SelectedFormat = Format(4, 255, 255, 255, LEFT_ALIGN);
    P.ListBox.SelectionBorder = 1;
}

} // namespace

void InitSkinProperties() {
    InitFrame(SkinProperties);
    InitPopups(SkinProperties);
    InitStartScreen(SkinProperties);
    InitMainWindowAndPopups(SkinProperties);
    InitSidePanel(SkinProperties);
    InitSideBarElements(SkinProperties);
    InitScrollBars(SkinProperties);
    InitButtonsAndCheckBox(SkinProperties);
    InitTextElements(SkinProperties);
}
