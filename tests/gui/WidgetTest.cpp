// Tests of the buttons, the window frame and resize grip, the image views and the layout record.
#include "graphics/graphics.h"
#include "gui/DialogElements.h"
#include "gui/DialogElementsFrame.h"
#include "gui/DialogElementsViews.h"
#include "gui/SkinProperties.h"
#include "state/Status.h"
#include "tests/foundation/Thrown.h"
#include "tests/gui/Probes.h"

#include <gtest/gtest.h>

namespace {

// The skin table and the layout record, without picture files: buttons take their size from the table.
class WidgetTest : public ::testing::Test {
protected:
    WidgetTest() {
        InitSkins();
        InitSkinProperties();
        Place(&Root, 0, 0, 400, 300);
    }
    ~WidgetTest() override { ExitSkins(); }

    template <typename T> T* add(T* Widget) {
        Root.appendChild(Widget);
        return Widget;
    }
    void click(int32_t X, int32_t Y) {
        Root.leftButtonDown(X, Y, 0);
        Root.leftButtonUp(X, Y, 0);
    }

    TEventLog Log;
    TProbeParent Root{Log, "root"};
};

TEST_F(WidgetTest, ReleasingOutsideFiresNothingAndMovingBackShowsItPressed) {
    TButton* Button = add(new TButton(10, 10, 12, 13, &Root, 5, nullptr, false));
    Root.leftButtonDown(15, 15, 0);
    EXPECT_TRUE(Button->isPressed());
    EXPECT_EQ(Root.getCapture(), Button);
    Root.mouseMove(200, 200);
    EXPECT_FALSE(Button->isPressed());
    Root.mouseMove(52, 29); // the last pixel of the face
    EXPECT_TRUE(Button->isPressed());
    Root.mouseMove(53, 29);
    Root.leftButtonUp(53, 29, 0);
    EXPECT_FALSE(Button->isPressed());
    EXPECT_EQ(Root.getCapture(), nullptr);
    EXPECT_TRUE(Log.empty());
    click(52, 29);
    EXPECT_EQ(Log, (TEventLog{"root:event 5"}));
}

TEST_F(WidgetTest, ADisabledButtonNeitherCapturesNorFires) {
    TButton* Button = add(new TButton(0, 0, 12, 13, &Root, 5, nullptr, false));
    Button->setEnabled(false);
    EXPECT_TRUE(Root.leftButtonDown(5, 5, 0));
    EXPECT_EQ(Root.getCapture(), nullptr);
    EXPECT_FALSE(Button->isPressed());
    Root.leftButtonUp(5, 5, 0);
    EXPECT_TRUE(Log.empty());
}

TEST_F(WidgetTest, ARepeatingButtonFiresOnEveryHeldTickOverIt) {
    add(new TButton(0, 0, 12, 13, &Root, 3, nullptr, true));
    TButton* Plain = add(new TButton(100, 0, 12, 13, &Root, 4, nullptr, false));
    Root.leftButtonDown(5, 5, 0);
    Root.mouseScroll(5, 5, 6);
    Root.mouseScroll(5, 5, 6);
    Root.mouseMove(300, 5);
    Root.mouseScroll(300, 5, 6); // outside: no repeat
    Root.mouseMove(5, 5);
    Root.leftButtonUp(5, 5, 0);
    Root.mouseScroll(5, 5, 6); // released: no repeat
    EXPECT_EQ(Log, (TEventLog{"root:event 3", "root:event 3", "root:event 3"}));
    Log.clear();
    Root.leftButtonDown(105, 5, 0);
    EXPECT_TRUE(Plain->mouseScroll(5, 5, 6));
    EXPECT_FALSE(Plain->mouseScroll(5, 5, 1)); // the wheel passes on
    Root.leftButtonUp(105, 5, 0);
    EXPECT_EQ(Log, (TEventLog{"root:event 4"}));
}

TEST_F(WidgetTest, ACancelledCaptureEndsThePress) {
    TButton* Button = add(new TButton(0, 0, 12, 13, &Root, 5, nullptr, false));
    Root.leftButtonDown(5, 5, 0);
    Root.cancelCapture();
    EXPECT_FALSE(Button->isPressed());
    Root.leftButtonUp(5, 5, 0); // a release without a press
    EXPECT_TRUE(Log.empty());
    click(5, 5);
    EXPECT_EQ(Log, (TEventLog{"root:event 5"}));
}

TEST_F(WidgetTest, RadioGroupSelectsOnReleaseInsideAndKeepsTheSelection) {
    TRadioButtonGroup Group;
    TButton* A = add(new TButton(0, 0, 12, 13, &Root, 1, nullptr, false));
    TButton* B = add(new TButton(50, 0, 12, 13, &Root, 2, nullptr, false));
    A->setRadioButtonGroup(&Group);
    B->setRadioButtonGroup(&Group);
    EXPECT_EQ(Group.Count, 2);
    EXPECT_EQ(Group.Members.at(1), B);
    click(55, 5);
    EXPECT_EQ(Group.Selected, B);
    EXPECT_TRUE(B->isPressed());
    Root.leftButtonDown(5, 5, 0);
    Root.leftButtonUp(300, 5, 0); // released outside: the selection stays
    EXPECT_EQ(Group.Selected, B);
    EXPECT_FALSE(A->isPressed());
    EXPECT_NE(ThrownText([&] { A->setRadioButtonGroup(&Group); }).find("RadioButtonGroup==NULL"),
              std::string::npos);
    EXPECT_EQ(Group.Count, 2);
}

// Records the toggle's state as its handler sees it.
class TToggleWatcher : public TProbeParent {
public:
    using TProbeParent::TProbeParent;
    void handleEvent(int32_t) override { Log.push_back(Toggle->State ? "on" : "off"); }
    TToggleButton* Toggle = nullptr;
};

TEST_F(WidgetTest, AToggleFlipsBeforeItFiresAndShowsTheToolTipOfItsState) {
    TToggleWatcher Watcher(Log, "watcher");
    auto* Toggle = add(new TToggleButton(0, 0, 12, 13, &Watcher, 1, "Off tip", "On tip", false));
    Watcher.Toggle = Toggle;
    Toggle->getToolTip(0, 0);
    EXPECT_STREQ(GetTooltip(), "Off tip");
    click(5, 5);
    EXPECT_TRUE(Toggle->isPressed());
    Toggle->getToolTip(0, 0);
    EXPECT_STREQ(GetTooltip(), "On tip");
    click(5, 5);
    EXPECT_FALSE(Toggle->isPressed());
    EXPECT_EQ(Log, (TEventLog{"on", "off"}));
    SetTooltip(nullptr);
}

TEST_F(WidgetTest, AMultiStateButtonCyclesItsBindingsAndFaces) {
    TProbeParent Other(Log, "other");
    const TButtonState States[] = {{12, 13, TNotification(&Root, 10)},
                                   {14, 15, TNotification(&Other, 11)},
                                   {16, 17, TNotification(&Root, 12)}};
    auto* Button = add(new TMultiStateButton(0, 0, nullptr, 3, States));
    for (int i = 0; i < 4; i++)
        click(5, 5);
    EXPECT_EQ(Log, (TEventLog{"root:event 10", "other:event 11", "root:event 12", "root:event 10"}));
    EXPECT_EQ(Button->getState(), 1);
    EXPECT_EQ(Button->_ButtonUp, 14);
    Button->resetState();
    EXPECT_EQ(Button->_ButtonUp, 12);
    EXPECT_EQ(Log.size(), 4u);
}

TEST_F(WidgetTest, CaptionsBelowFiftyCharactersAreTakenLongerOnesCutOrRefused) {
    std::string Caption49(49, 'x'), Caption50(50, 'y');
    auto* Button = add(new TTextButton(0, 0, Caption49.c_str(), &Root, 1, nullptr));
    EXPECT_EQ(std::string(Button->_Text), Caption49);
    EXPECT_EQ(Button->_ButtonUp, 12);
    EXPECT_NE(ThrownText([&] {
                  TTextButton Long(0, 0, Caption50.c_str(), &Root, 1, nullptr);
              }).find("strlen(_Text)<50"),
              std::string::npos);
    Button->setText(Caption50.c_str());
    EXPECT_EQ(std::string(Button->_Text), std::string(49, 'y'));
    EXPECT_NE(ThrownText([&] { Button->setSkins(12, -1); }).find("_ButtonDown>=0"), std::string::npos);
}

// A window whose close button ends it while the button is still handling the release.
class TClosable : public TProbeParent {
public:
    using TProbeParent::TProbeParent;
    void handleEvent(int32_t) override { DeleteLater(this); }
};

TEST_F(WidgetTest, AButtonMayCloseTheWindowItIsIn) {
    auto* Window = add(new TClosable(Log, "window"));
    Place(Window, 100, 100, 100, 100);
    Window->appendChild(new TButton(0, 0, 136, 137, Window, 10, "Close this window", false));
    click(105, 105);
    EXPECT_EQ(Log, (TEventLog{"window:deleted"}));
    EXPECT_EQ(Root.getFirstChild(), nullptr);
    EXPECT_EQ(Root.getCapture(), nullptr);
}

TEST_F(WidgetTest, FitToWindowKeepsTheWindowsSize) {
    auto* Window = new TProbeLeaf(Log, "window");
    Window->setSize(200, 100);
    TWindowFrame Frame(Window, 0);
    EXPECT_EQ(Frame.getFirstChild(), Window);
    Frame.fitToWindow();
    EXPECT_EQ(Frame.getWidth(), 204);
    EXPECT_EQ(Frame.getHeight(), 104);
    EXPECT_EQ(Window->X, 2);
    EXPECT_EQ(Window->Y, 2);
    EXPECT_EQ(Window->getWidth(), 200);
    EXPECT_EQ(Window->getHeight(), 100);
}

TEST_F(WidgetTest, AFrameWithAnInsetKeepsItsWindowFurtherIn) {
    auto* Window = new TProbeLeaf(Log, "window");
    TWindowFrame Frame(Window, 43, 43, 43, 43, 43, 43, 43, 43, 5); // 4 x 17 pieces
    EXPECT_EQ(Frame.getMinimumWidth(), 18);
    EXPECT_EQ(Frame.getMinimumHeight(), 44);
    Frame.setSize(100, 80);
    EXPECT_EQ(Window->X, 9);
    EXPECT_EQ(Window->Y, 22);
    EXPECT_EQ(Window->getWidth(), 82);
    EXPECT_EQ(Window->getHeight(), 36);
    EXPECT_EQ(Frame.DrawingList[4].x, 96);
    EXPECT_EQ(Frame.DrawingList[8].skin, 0);
}

TEST_F(WidgetTest, AFrameBelowItsMinimumSizeIsRefusedUnchanged) {
    auto* Window = new TProbeLeaf(Log, "window");
    TWindowFrame Frame(Window, 2);
    Frame.setSize(50, 50);
    EXPECT_NE(ThrownText([&] { Frame.setSize(7, 50); }).find("Width>=getMinimumWidth()"), std::string::npos);
    EXPECT_EQ(Frame.getWidth(), 50);
    EXPECT_EQ(Window->getWidth(), 42);
    EXPECT_NE(ThrownText([] { TWindowFrame Bad(nullptr, 0); }).find("_Window!=NULL"), std::string::npos);
}

TEST_F(WidgetTest, AVerticalGripChangesOnlyTheHeightAndStopsAtZero) {
    auto* Target = add(new TProbeParent(Log, "target"));
    Place(Target, 0, 0, 176, 100);
    auto* Grip = add(new TResizeHandle(Target, false, true, false));
    Place(Grip, 10, 90, 13, 13);
    EXPECT_EQ(Grip->DrawingList[0].skin, 42);
    EXPECT_EQ(Grip->DrawingList[0].width, 13);
    SetMouseCursor(1);
    Root.mouseMove(15, 95);
    EXPECT_EQ(GetMouseCursor(), 2);
    SetMouseCursor(1);
    Root.leftButtonDown(15, 95, 0); // grabbed at (5, 5)
    Root.mouseMove(300, 125);
    EXPECT_EQ(GetMouseCursor(), 2); // while dragging, wherever the pointer is
    EXPECT_EQ(Target->getWidth(), 176);
    EXPECT_EQ(Target->getHeight(), 130);
    Grip->setPosition(10, 120); // as the target's owner would
    Root.mouseMove(0, -500);
    EXPECT_EQ(Target->getHeight(), 0);
    Root.leftButtonUp(0, -500, 0);
    EXPECT_EQ(Root.getCapture(), nullptr);
    EXPECT_FALSE(Grip->Dragging);
    SetMouseCursor(1);
}

TEST_F(WidgetTest, AHiddenGripDrawsNothingButResizesAndACancelEndsTheDrag) {
    auto* Target = add(new TProbeParent(Log, "target"));
    Place(Target, 0, 0, 50, 50);
    auto* Grip = add(new TResizeHandle(Target, true, true, true));
    Place(Grip, 40, 40, 10, 10);
    EXPECT_EQ(Grip->DrawingList[0].skin, 0);
    Root.leftButtonDown(40, 40, 0);
    Root.mouseMove(50, 45);
    EXPECT_EQ(Target->getWidth(), 60);
    EXPECT_EQ(Target->getHeight(), 55);
    Root.cancelCapture();
    Root.mouseMove(45, 45); // over the grip, no button held
    EXPECT_EQ(Target->getWidth(), 60);
}

TEST_F(WidgetTest, ImageViewsLetClicksThroughToTheComponentBelow) {
    TProbeLeaf* Below = add(new TProbeLeaf(Log, "below"));
    Place(Below, 0, 0, 100, 100);
    Root.addChild(new TSkinImage(65));
    const int32_t Colors[4] = {1, 2, 3, 4};
    auto* Outfit = new TOutfitView(128, 0, Colors, nullptr);
    Root.addChild(Outfit);
    Place(Outfit, 0, 0, 64, 64);
    auto* Object = new TObjectView(TObject{100, 1, 0}, nullptr, false);
    Root.addChild(Object);
    Place(Object, 0, 0, 32, 32);
    click(10, 10);
    Root.rightClick(10, 10, 0);
    Root.leftDoubleClick(10, 10, 0);
    EXPECT_EQ(Log,
              (TEventLog{"below:down 10,10", "below:up 10,10", "below:right 10,10", "below:down 10,10"}));
    EXPECT_FALSE(TSkinImage(65).mouseScroll(1, 1, 1));
}

TEST_F(WidgetTest, OutfitMasksOneToFourOnly) {
    const int32_t Colors[4] = {1, 2, 3, 4};
    TOutfitView View(128, 7, Colors, nullptr);
    View.setMask(4, 99);
    EXPECT_EQ(View.Colors[3], 99);
    EXPECT_NE(ThrownText([&] { View.setMask(0, 5); }).find("In(Mask,1,4)"), std::string::npos);
    EXPECT_NE(ThrownText([&] { View.setMask(5, 5); }).find("In(Mask,1,4)"), std::string::npos);
    EXPECT_EQ(View.Colors[0], 1);
}

TEST(SkinPropertiesTest, StartsAtTheDefaultsAndIsFilledByInit) {
    TSkinProperties Fresh;
    EXPECT_EQ(Fresh.Buttons.TextFormat.Font, 4);
    EXPECT_EQ(Fresh.Buttons.TextFormat.Green, 224);
    EXPECT_EQ(Fresh.Buttons.TextFormat.Alignment, LEFT_ALIGN);
    EXPECT_EQ(Fresh.SidePanel.TitleHeight, 0);

    InitSkinProperties();
    EXPECT_EQ(SkinProperties.SidePanel.TitleHeight, 19);
    EXPECT_EQ(SkinProperties.SidePanel.Width, 176);
    EXPECT_EQ(SkinProperties.Buttons.TextFormat.Font, 3);
    EXPECT_EQ(SkinProperties.Buttons.TextFormat.Alignment, CENTER_ALIGN);
    EXPECT_EQ(SkinProperties.ObjectView.CountFormat.Alignment, RIGHT_ALIGN);
}

} // namespace
