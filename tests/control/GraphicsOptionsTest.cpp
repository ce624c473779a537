// The graphics option pages: the display-mode lines and the stored mode's selection, the view-mode change on
// OK, the way to the advanced page and back, the engine buttons and the frame-rate preview.
#include "OptionDialogFixture.h"

#include "graphics/Engine.h"
#include "gui/DialogElementsList.h"
#include "gui/DialogElementsScroll.h"
#include "gui/KeyCodes.h"

namespace {

class GraphicsOptions : public OptionDialogTest {
protected:
    void SetUp() override {
        OptionDialogTest::SetUp();
        TDisplayFaults Faults = GetDisplayFaults();
        Faults.Modes = {{800, 600, 16, 60}, {800, 600, 16, 75}, {1024, 768, 32, 0}};
        SetDisplayFaults(Faults);
    }
    void TearDown() override {
        ClearDisplayFaults();
        OptionDialogTest::TearDown();
    }
    static void NoModes() {
        TDisplayFaults Faults = GetDisplayFaults();
        Faults.Modes = {{320, 200, 8, 0}}; // below what the engine offers
        SetDisplayFaults(Faults);
    }
};

std::string ModeLine(const TDisplayMode& Mode) {
    char Line[80];
    FormatDisplayMode(Line, sizeof(Line), Mode);
    return Line;
}

} // namespace

TEST_F(GraphicsOptions, LinesNameTheRefreshOnlyWhenKnownAndTheLastStoredSizeWins) {
    EXPECT_EQ(ModeLine({800, 600, 16, 0}), "800*600, 16 Bits");
    EXPECT_EQ(ModeLine({800, 600, 16, 60}), "800*600, 16 Bits, 60 Hz");
    SetFullscreenMode({800, 600, 16, 60});
    auto* Page = Open<TGraphicsOptionsDialog>(MESSAGE_GRAPHICSOPTIONS);
    ASSERT_NE(Page, nullptr);
    ASSERT_EQ(Page->Resolutions->Lines, 3);
    EXPECT_STREQ(Page->Resolutions->getLine(2), "1024*768, 32 Bits");
    EXPECT_EQ(Page->Resolutions->getSelection(), 1) << "refresh is not compared";
    KeyPressed(KEY_DOWN);
    EXPECT_EQ(Page->Resolutions->getSelection(), 2);
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetFullscreenMode()->Width, 1024);
    EXPECT_TRUE(ViewModeCalls.empty()) << "the page stayed windowed";
}

TEST_F(GraphicsOptions, FullScreenNeedsALineButLeavingItDoesNot) {
    NoModes();
    Click(Open<TGraphicsOptionsDialog>(MESSAGE_GRAPHICSOPTIONS)->Fullscreen);
    KeyPressed(KEY_ENTER);
    EXPECT_TRUE(ViewModeCalls.empty());

    // Built outside the controller: a frame would bring the test engine into full screen.
    SetVideoMode(FULLSCREEN_MODE);
    auto Page = std::make_unique<TGraphicsOptionsDialog>(nullptr, GetSetViewMode(), GetMainWindow());
    EXPECT_TRUE(Page->Fullscreen->isChecked());
    Page->Fullscreen->setChecked(false);
    Page->handleEvent(DIALOG_OK);
    EXPECT_EQ(ViewModeCalls, std::vector<int32_t>{WINDOWED_MODE});

    ClearDisplayFaults();
    SetVideoMode(WINDOWED_MODE);
    TDisplayFaults Faults;
    Faults.Modes = {{800, 600, 16, 60}};
    SetDisplayFaults(Faults);
    Click(Open<TGraphicsOptionsDialog>(MESSAGE_GRAPHICSOPTIONS)->Fullscreen);
    Click(Dialog()->OkButton);
    EXPECT_EQ(ViewModeCalls, (std::vector<int32_t>{WINDOWED_MODE, FULLSCREEN_MODE}));
    EXPECT_EQ(GetFullscreenMode()->Refresh, 60);
}

TEST_F(GraphicsOptions, AdvancedDropsThePageAndBringsItBackAfterTheAdvancedPage) {
    Click(Button(Open<TOptionsDialog>(MESSAGE_OPTIONS), "Graphics"));
    ProcessMessages();
    auto* Page = Body<TGraphicsOptionsDialog>();
    ASSERT_NE(Page, nullptr);
    Click(Page->Fullscreen);
    Click(Button(Page, "Advanced"));
    EXPECT_EQ(QueuedTypes(), (std::vector<int32_t>{MESSAGE_ADVANCEDGRAPHICSOPTIONS, MESSAGE_GRAPHICSOPTIONS,
                                                   MESSAGE_OPTIONS}));
    ProcessMessages();
    auto* Advanced = Body<TAdvancedGraphicsOptionsDialog>();
    ASSERT_NE(Advanced, nullptr);
    EXPECT_EQ(Advanced->MainWindow, GetMainWindow());
    KeyPressed(KEY_ESCAPE);
    ProcessMessages();
    ASSERT_NE(Body<TGraphicsOptionsDialog>(), nullptr);
    EXPECT_FALSE(Body<TGraphicsOptionsDialog>()->Fullscreen->isChecked());
    EXPECT_TRUE(ViewModeCalls.empty());
}

TEST_F(GraphicsOptions, EngineButtonsGoToTheMainWindowsSwitchAndShowTheEngineThatRuns) {
    auto* Advanced = Open<TAdvancedGraphicsOptionsDialog>(MESSAGE_ADVANCEDGRAPHICSOPTIONS);
    ASSERT_NE(Advanced, nullptr);
    EXPECT_EQ(Advanced->EngineGroup.Selected, Advanced->EngineButtons[0]);
    EXPECT_TRUE(Advanced->EngineButtons[0]->isEnabled());
    EXPECT_EQ(Advanced->EngineButtons[1]->isEnabled(), (GetEngineCapabilities() & 2) != 0);
    EXPECT_EQ(Advanced->EngineButtons[2]->isEnabled(), (GetEngineCapabilities() & 1) != 0);
    for (TTextButton* Button : Advanced->EngineButtons)
        Button->setEnabled(true);
    Click(Advanced->EngineButtons[1]);
    Click(Advanced->EngineButtons[2]);
    Click(Advanced->EngineButtons[0]);
    EXPECT_EQ(EngineSwitchCalls, (std::vector<int32_t>{ENGINE_DIRECT3D9, ENGINE_OPENGL, ENGINE_DIRECTDRAW}));
    Click(Advanced->EngineButtons[1]); // the switch was only recorded: DirectDraw still runs
    DrawFrame(false);
    EXPECT_EQ(Advanced->EngineGroup.Selected, Advanced->EngineButtons[0]);
    KeyPressed(KEY_ESCAPE);

    SetVideoMode(FULLSCREEN_MODE);
    TAdvancedGraphicsOptionsDialog FullScreen(nullptr, GetMainWindow());
    for (TTextButton* Button : FullScreen.EngineButtons)
        EXPECT_FALSE(Button->isEnabled());
    SetVideoMode(WINDOWED_MODE);
}

TEST_F(GraphicsOptions, TheSliderPreviewsTheLimitCancelUndoesItAndOkStoresTheBoxes) {
    SetConfineFramerate(0);
    SetNoStretching(false);
    auto* Advanced = Open<TAdvancedGraphicsOptionsDialog>(MESSAGE_ADVANCEDGRAPHICSOPTIONS);
    ASSERT_NE(Advanced, nullptr);
    EXPECT_EQ(Advanced->getFramerate(), 201) << "a stored value below 10 is no limit";
    Advanced->Framerate->Bar->setValue(50);
    EXPECT_DOUBLE_EQ(GetSurface()->getFramePeriod(), 20.0);
    KeyPressed(KEY_ESCAPE);
    EXPECT_DOUBLE_EQ(GetSurface()->getFramePeriod(), 1000.0 / 65535);
    EXPECT_EQ(GetConfineFramerate(), 0);

    Advanced = Open<TAdvancedGraphicsOptionsDialog>(MESSAGE_ADVANCEDGRAPHICSOPTIONS);
    Advanced->Framerate->Bar->setValue(40);
    Click(Advanced->NoStretching);
    Click(Advanced->WindowsMousepointer);
    const bool Pointer = Advanced->WindowsMousepointer->isChecked();
    Click(Button(Dialog(), "Help"));
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetConfineFramerate(), 40);
    EXPECT_DOUBLE_EQ(GetSurface()->getFramePeriod(), 25.0);
    EXPECT_TRUE(GetNoStretching());
    EXPECT_EQ(GetWindowsMousepointer(), Pointer);
    EXPECT_EQ(OpenedPages,
              std::vector<std::string>{
                  "https://www.pellarune.example/guide/?subtopic=manual&section=options#graphicsoptions"});
}
