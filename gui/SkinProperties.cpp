// The skin layout record and its constants.
#include "gui/SkinProperties.h"

#include "gui/DialogElements.h"

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

void InitMapView(TSkinProperties& P) {
    P.MapView.Border = 5;
    P.MapView.MinimumWidth = 240;
    P.MapView.MinimumHeight = 176;
    P.MapView.HintButton = {-35, 5, 32, 32};
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
    P.StartScreen.ButtonSkinUp = SKIN_WIDE_BUTTON;
    P.StartScreen.ButtonSkinDown = SKIN_WIDE_BUTTON + 1;
    for (int32_t i = 0; i < 9; i++)
        P.StartScreen.PanelFrame[i] = POPUP_FRAME_SKINS[i];
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

void InitAutomapAndControls(TSkinProperties& P) {
    P.Automap.Height = 117;
    P.Automap.MapFrame = {8, 4, 108, 108};
    P.Automap.View = {9, 5, 106, 106};
    P.Automap.ZoomIn = {124, 71};
    P.Automap.ZoomOut = {124, 50};
    P.Automap.FloorUp = {147, 50};
    P.Automap.FloorDown = {147, 71};
    const int32_t Skins[4] = {SKIN_AUTOMAP_ZOOM_IN, SKIN_AUTOMAP_ZOOM_OUT, SKIN_AUTOMAP_FLOOR_UP,
                              SKIN_AUTOMAP_FLOOR_DOWN};
    int32_t* const Targets[4] = {P.Automap.ZoomInSkins, P.Automap.ZoomOutSkins, P.Automap.FloorUpSkins,
                                 P.Automap.FloorDownSkins};
    for (int32_t i = 0; i < 4; i++) {
        Targets[i][0] = Skins[i];
        Targets[i][1] = Skins[i] + 1;
    }
    P.Automap.CentreButton = {124, 92};
    P.Automap.Rose = {124, 5};
    P.Automap.RoseSkin = SKIN_AUTOMAP_ROSE;
    P.Automap.MarkSkin = SKIN_MAP_MARKS;
    P.GeneralControls.Height = 26;
    P.GeneralControls.SkillsButton = {8, 3};
    P.GeneralControls.BattleButton = {45, 3};
    P.GeneralControls.VIPButton = {82, 3};
    P.GeneralControls.LogoutButton = {124, 3};
    P.GeneralControls.ToggleSkinUp = 14;
    P.GeneralControls.ToggleSkinDown = 15;
    P.GeneralControls.ToggleWidth = 34;
    P.GeneralControls.ToggleHeight = 20;
}

void InitInventory(TSkinProperties& P) {
    P.InventoryWindow.Height = 170;
    P.InventoryWindow.SmallHeight = 64;
    P.InventoryWindow.Window = {8, 4, 108, 163};
    P.InventoryWindow.SmallCombatControls = {56, 4};
    P.InventoryWindow.CapacityLabel = {74, 124, 34, 21};
    P.InventoryWindow.SoulLabel = {0, 124, 34, 21};
    P.InventoryWindow.StatesBar = {0, 147, 108, 13};
    P.InventoryWindow.SlotFrameSkin = 102;
    P.InventoryWindow.DropField = {22, 4, 32, 42};
    P.PlayerStates.LargeBar = {2, 2, 104, 9};
    P.PlayerStates.SmallBar = {2, 2, 90, 9};
    P.PlayerStates.NumberOfIcons = 9;
    P.PlayerStates.IconPitch = 10;
    P.ObjectView.CountFormat = Format(2, 192, 192, 192, RIGHT_ALIGN);
}

void InitCombatControls(TSkinProperties& P) {
    P.CombatControls.Maximised = {43,       134,      {0, 0},  {0, 20}, {0, 40}, {23, 0},
                                  {23, 20}, {23, 40}, {0, 62}, {0, 86}, {0, 108}};
    P.CombatControls.Minimised = {111,      42,       {0, 0},  {20, 0},  {40, 0}, {0, 22},
                                  {20, 22}, {40, 22}, {68, 0}, {68, 22}, {90, 22}};
    P.SmallLabels.Caption = {17, 2};
    P.SmallLabels.Number = {17, 11};
    P.SmallLabels.CaptionFormat = Format(3, 255, 255, 255, CENTER_ALIGN);
    P.SmallLabels.NumberFormat = Format(4, 176, 176, 176, CENTER_ALIGN);
}

void InitSideWindows(TSkinProperties& P) {
    P.StatusWindow.Height = 32;
    P.StatusWindow.HitpointsBar = {26, 4, 90, 11};
    P.StatusWindow.ManaBar = {26, 17, 90, 11};
    P.StatusWindow.HitpointsText = {127, 5, 39, 9};
    P.StatusWindow.ManaText = {127, 18, 39, 9};
    P.StatusWindow.TextFormat = Format(4, 176, 176, 176, LEFT_ALIGN);
    P.SkillsWindow.Margin = 10;
    P.SkillsWindow.ProgressHeight = 9;
    P.BattleWindow.LineHeight = 22;
    P.BattleWindow.OutfitSize = 18;
    P.TradeWindow.Width = 170;
    P.TradeWindow.Height = 100;
    P.TradeWindow.MinimumHeight = 78;
    P.TradeWindow.OwnLabel = {3, 2, 71, 9};
    P.TradeWindow.PartnerLabel = {82, 2, 71, 9};
    P.TradeWindow.HeaderFormat = Format(3, 255, 255, 0, LEFT_ALIGN);
    P.TradeWindow.SeparatorX = 77;
    P.TradeWindow.SeparatorWidth = 2;
    P.TradeWindow.RowHeight = 36;
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
    P.ObjectView.Margin = 1;
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

void InitConsole(TSkinProperties& P) {
    P.Console.TabBar = {18, 0, -82, 18};
    P.Console.Input = {23, -20, -4, 16};
    P.Console.Text = {4, 21, -4, -22};
    P.Console.MinimumHeight = 106;
    P.Console.TalkModeButton = {5, -20};
    P.Console.CloseButton = {-64, 0};
    P.Console.ServerMessagesButton = {-48, 0};
    P.Console.IgnoreButton = {-16, 0};
    P.Console.OpenChannelButton = {-32, 0};
    P.Console.MoveRightButton = {0, 0};
    P.Console.MoveLeftButton = {-82, 0};
    P.Console.TalkFormat = Format(4, 224, 224, 224, LEFT_ALIGN);
    P.Console.NoTalkFormat = Format(4, 160, 160, 255, LEFT_ALIGN);
    P.ConsoleTab.Width = 96;
    P.ConsoleTab.Height = 18;
    P.ConsoleTab.CaptionMargin = 4;
    P.ConsoleTab.Caption = {48, 4};
    P.ConsoleTab.SelectedFormat = Format(2, 224, 224, 224, CENTER_ALIGN);
    P.ConsoleTab.UnselectedFormat = Format(2, 128, 128, 128, CENTER_ALIGN);
    P.ConsoleTab.UnreadFormat = Format(2, 248, 96, 96, CENTER_ALIGN);
    P.ConsoleTab.FlashFormat = Format(2, 248, 248, 248, CENTER_ALIGN);
    P.ConsoleTab.SelectedSkin = 186;
    P.ConsoleTab.UnselectedSkin = 187;
    P.ConsoleTab.FlashLength = 10;
    P.ConsoleTab.SelectionColor = {128, 128, 128};
    P.ConsoleTab.TextView = {5, 5, -17, -5};
}

void InitDialogFrame(TSkinProperties& P) {
    P.DialogFrame.CaptionFormat = Format(4, 144, 144, 144, CENTER_ALIGN);
    P.DialogFrame.BodyMargins = {18, 32, -18, -60};
    P.DialogFrame.MinimumWidth = 162;
    P.DialogFrame.MinimumHeight = 68;
    P.DialogFrame.ButtonSkinUp = SKIN_TEXT_BUTTON;
    P.DialogFrame.ButtonSkinDown = SKIN_TEXT_BUTTON + 1;
    P.DialogFrame.ButtonWidth = 43;
    P.DialogFrame.ButtonHeight = 20;
}

} // namespace

void InitSkinProperties() {
    InitFrame(SkinProperties);
    InitMapView(SkinProperties);
    InitPopups(SkinProperties);
    InitStartScreen(SkinProperties);
    InitMainWindowAndPopups(SkinProperties);
    InitSidePanel(SkinProperties);
    InitAutomapAndControls(SkinProperties);
    InitInventory(SkinProperties);
    InitCombatControls(SkinProperties);
    InitSideWindows(SkinProperties);
    InitScrollBars(SkinProperties);
    InitButtonsAndCheckBox(SkinProperties);
    InitTextElements(SkinProperties);
    InitConsole(SkinProperties);
    InitDialogFrame(SkinProperties);
}
