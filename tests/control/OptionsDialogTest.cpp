// The options dialog and its small pages: a page opens before the options dialog comes back, the file is
// written only when the options dialog closes, and the general, console and network pages show and store
// their options.
#include "OptionDialogFixture.h"

#include "gui/KeyCodes.h"
#include "state/Talk.h"

namespace {

using OptionsDialog = OptionDialogTest;

} // namespace

TEST_F(OptionsDialog, APageOpensFirstAndTheOptionsDialogReturnsAfterIt) {
    auto* Options = Open<TOptionsDialog>(MESSAGE_OPTIONS);
    ASSERT_NE(Options, nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Options");
    EXPECT_EQ(Dialog()->CancelButton, nullptr);
    SetMessageOfTheDay("7\nWelcome back.");
    Click(Button(Options, "Motd"));
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(QueuedTypes(), (std::vector<int32_t>{MESSAGE_MESSAGEOFTHEDAY, MESSAGE_OPTIONS}));
    ProcessMessages();
    EXPECT_STREQ(Dialog()->_Caption, "Message of the Day");
    KeyPressed(KEY_ENTER);
    ProcessMessages();
    EXPECT_NE(Body<TOptionsDialog>(), nullptr);
    EXPECT_EQ(GetMessageCount(), 0);
}

TEST_F(OptionsDialog, AConfirmedPageChangesTheOptionAndOnlyClosingTheOptionsWritesTheFile) {
    SetClassicControl(false);
    Click(Button(Open<TOptionsDialog>(MESSAGE_OPTIONS), "General"));
    ProcessMessages();
    auto* General = Body<TGeneralOptionsDialog>();
    ASSERT_NE(General, nullptr);
    Click(General->ClassicControl);
    Click(Dialog()->OkButton);
    EXPECT_TRUE(GetClassicControl());
    EXPECT_FALSE(OptionsFileWritten());
    ProcessMessages();
    ASSERT_NE(Body<TOptionsDialog>(), nullptr);
    KeyPressed(KEY_ESCAPE); // Escape saves as OK does
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_TRUE(OptionsFileWritten());
    ResetOptions();
    LoadOptions();
    EXPECT_TRUE(GetClassicControl());
}

TEST_F(OptionsDialog, GeneralPageShowsTheOptionsAndStoresCreatureNamesAsTwoOrZero) {
    SetCreatureInfo(1);
    SetAutoChaseOff(true);
    SetShowNewHints(false);
    auto* General = Open<TGeneralOptionsDialog>(MESSAGE_GENERALOPTIONS);
    ASSERT_NE(General, nullptr);
    EXPECT_TRUE(General->CreatureNames->isChecked());
    EXPECT_TRUE(General->AutoChaseOff->isChecked());
    EXPECT_FALSE(General->ShowHints->isChecked());
    EXPECT_STREQ(Dialog()->ExtraButton->_Text, "Help");
    Click(Dialog()->ExtraButton);
    ASSERT_EQ(OpenedPages.size(), 1u);
    EXPECT_EQ(OpenedPages[0], "https://www.pellarune.example/guide/?subtopic=manual&section=options");
    ASSERT_NE(GetModalWindow(), nullptr) << "help leaves the page open";
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetCreatureInfo(), 2);

    Click(Open<TGeneralOptionsDialog>(MESSAGE_GENERALOPTIONS)->CreatureNames);
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetCreatureInfo(), 0);
}

TEST_F(OptionsDialog, ConsoleAndNetworkPagesStoreTheirBoxesAfterHelp) {
    SetInfoMessages(true);
    SetPrivateMessages(false);
    auto* Console = Open<TConsoleOptionsDialog>(MESSAGE_CONSOLEOPTIONS);
    ASSERT_NE(Console, nullptr);
    EXPECT_TRUE(Console->Boxes[0]->isChecked());
    EXPECT_FALSE(Console->Boxes[4]->isChecked());
    Click(Dialog()->ExtraButton);
    Click(Console->Boxes[0]);
    Click(Console->Boxes[4]);
    Click(Dialog()->OkButton);
    EXPECT_FALSE(GetInfoMessages());
    EXPECT_TRUE(GetPrivateMessages());

    SetTestServer(false);
    Click(Open<TNetworkOptionsDialog>(MESSAGE_NETWORKOPTIONS)->TestServer);
    KeyPressed(KEY_ESCAPE);
    EXPECT_FALSE(GetTestServer()) << "Escape leaves the option";
    Click(Open<TNetworkOptionsDialog>(MESSAGE_NETWORKOPTIONS)->TestServer);
    Click(Dialog()->ExtraButton);
    KeyPressed(KEY_ENTER);
    EXPECT_TRUE(GetTestServer());
    EXPECT_EQ(OpenedPages,
              (std::vector<std::string>{
                  "https://www.pellarune.example/guide/?subtopic=manual&section=options#consoleoptions",
                  "https://www.pellarune.example/guide/?subtopic=manual&section=options#networkoptions"}));
}
