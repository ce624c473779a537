// The hotkey page: the list lines and their colours, editing the selected hotkey with its send flag, and
// storing on OK, with the options file written only when the options dialog is not coming back.
#include "OptionDialogFixture.h"

namespace {

using HotkeyOptions = OptionDialogTest;

std::string Line(THotkeyOptionsDialog* Page, int32_t N, TTextFormat* Format = nullptr) {
    TTextFormat Style;
    std::string Text = Page->List->getLine(N, Style);
    if (Format != nullptr) *Format = Style;
    return Text;
}

} // namespace

TEST_F(HotkeyOptions, LinesNameTheKeyAndAutoSendLinesAreWhite) {
    SetHotkey(12, "exura", true);
    SetHotkey(35, "hi", false);
    auto* Page = Open<THotkeyOptionsDialog>(MESSAGE_HOTKEYOPTIONS);
    ASSERT_NE(Page, nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Hotkey Options");
    TTextFormat Style;
    EXPECT_EQ(Line(Page, 0, &Style), "F1: ");
    EXPECT_EQ(Style.Red, 176);
    EXPECT_EQ(Line(Page, 12, &Style), "Shift+F1: exura");
    EXPECT_EQ(Style.Red, 255);
    EXPECT_EQ(Line(Page, 35), "Control+F12: hi");
    EXPECT_NE(ExceptionTextOf([Page] { Page->formatLine(36); }).find("In(Number,0,HOTKEYS-1)"),
              std::string::npos);
}

TEST_F(HotkeyOptions, EditingTheSelectedHotkeyFollowsItsTextWithTheSendBox) {
    auto* Page = Open<THotkeyOptionsDialog>(MESSAGE_HOTKEYOPTIONS);
    ASSERT_NE(Page, nullptr);
    Type("x");
    EXPECT_EQ(Line(Page, 0), "F1: ") << "nothing is selected yet";
    KeyPressed(KEY_DOWN); // F1
    EXPECT_FALSE(Page->AutoSend->Enabled);
    Type("hey");
    EXPECT_EQ(Line(Page, 0), "F1: hey");
    EXPECT_TRUE(Page->AutoSend->Enabled);
    EXPECT_FALSE(Page->AutoSend->isChecked());
    Click(Page->AutoSend);
    TTextFormat Style;
    Line(Page, 0, &Style);
    EXPECT_EQ(Style.Red, 255) << "ticking recolours the line at once";
    for (int32_t i = 0; i < 3; i++)
        KeyPressed(KEY_BACKSPACE);
    EXPECT_FALSE(Page->AutoSend->isChecked());
    EXPECT_FALSE(Page->AutoSend->Enabled);
    Type("a");
    EXPECT_TRUE(Page->AutoSend->Enabled);
    EXPECT_FALSE(Page->AutoSend->isChecked());
    Click(Page->AutoSend);
    KeyPressed(KEY_DOWN); // F2: F1 keeps its text and flag in the copy
    Type("b");
    bool Flag = true;
    EXPECT_STREQ(GetHotkey(0, Flag), "") << "nothing is stored before OK";
    KeyPressed(KEY_ENTER);
    EXPECT_STREQ(GetHotkey(0, Flag), "a");
    EXPECT_TRUE(Flag);
    EXPECT_STREQ(GetHotkey(1, Flag), "b");
    EXPECT_FALSE(Flag);
    EXPECT_TRUE(OptionsFileWritten()) << "opened on its own, the page writes the file";
}

TEST_F(HotkeyOptions, FromTheOptionsDialogOkLeavesTheFileToItAndEscapeDropsEdits) {
    Click(Button(Open<TOptionsDialog>(MESSAGE_OPTIONS), "Hotkeys"));
    ProcessMessages();
    ASSERT_NE(Body<THotkeyOptionsDialog>(), nullptr);
    KeyPressed(KEY_DOWN);
    Type("go");
    KeyPressed(KEY_ENTER);
    bool Flag;
    EXPECT_STREQ(GetHotkey(0, Flag), "go");
    EXPECT_FALSE(OptionsFileWritten());
    ProcessMessages();
    KeyPressed(KEY_ENTER);
    EXPECT_TRUE(OptionsFileWritten());

    Open<THotkeyOptionsDialog>(MESSAGE_HOTKEYOPTIONS);
    KeyPressed(KEY_DOWN);
    Type("ne");
    KeyPressed(KEY_ESCAPE);
    EXPECT_STREQ(GetHotkey(0, Flag), "go");
}
