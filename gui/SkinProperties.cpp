// The skin layout record and its constants.
#include "gui/SkinProperties.h"

TSkinProperties SkinProperties;

namespace {

TTextFormat Format(int32_t Font, int32_t Red, int32_t Green, int32_t Blue, int32_t Alignment) {
    return TTextFormat{Font, Red, Green, Blue, Alignment};
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
    InitSidePanel(SkinProperties);
    InitSideBarElements(SkinProperties);
    InitScrollBars(SkinProperties);
    InitButtonsAndCheckBox(SkinProperties);
    InitTextElements(SkinProperties);
}
