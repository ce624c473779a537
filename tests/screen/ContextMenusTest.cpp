// The context menu's entries, separators, layout, placement and closing, and the help popup's size and
// placement rule, on the drawing bench.
#include "screen/ContextMenus.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/DialogElementsText.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "state/Status.h"
#include "tests/foundation/Thrown.h"
#include "tests/gui/Probes.h"
#include "tests/gui/SkinScreen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int32_t MENU_FONT = 2;

// A menu kind that records the events its entries fire.
class TRecordingMenu : public TContextMenu {
public:
    void handleEvent(int32_t Event) override { Events.push_back(Event); }
    std::vector<int32_t> Events;
};

class ContextMenu : public ::testing::Test {
protected:
    void SetUp() override { SetActionState(ACTIONSTATE_CONTEXTMENU); }
    static std::vector<std::string> Layout(const TContextMenu& Menu) {
        std::vector<std::string> Lines;
        for (TComponent* Child = Menu.getFirstChild(); Child != nullptr; Child = Child->getNext()) {
            auto* Entry = dynamic_cast<TContextMenuEntry*>(Child);
            Lines.push_back(Entry != nullptr ? Entry->Text : "-");
        }
        return Lines;
    }
    static int32_t TextWidth(const char* Text) { return GetStringWidth(MENU_FONT, Text); }

    TSkinScreen Screen;
};

TEST_F(ContextMenu, AMenuWithoutEntriesShowsOneEmptyEntryThatFiresEventZero) {
    TRecordingMenu Menu;
    Menu.layout(10, 10, 800, 600);
    ASSERT_EQ(Layout(Menu), std::vector<std::string>{""});
    EXPECT_EQ(Menu.getFirstChild()->getWidth(), 44);
    EXPECT_EQ(Menu.getWidth(), 52);
    EXPECT_TRUE(Menu.leftButtonUp(5, 5, 0));
    EXPECT_EQ(Menu.Events, std::vector<int32_t>{0});
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    const std::string Fifty(50, 'x');
    EXPECT_NE(ThrownText([&] { Menu.AddEntry(1, Fifty.c_str()); }).find("(strlen(Text) = 50)"),
              std::string::npos);
}

TEST_F(ContextMenu, PendingSeparatorsGoOnlyBetweenEntriesAndNeverTwice) {
    TRecordingMenu Menu;
    Menu.SeparatorPending = true; // before the first entry: dropped
    Menu.AddEntry(1, "a");
    Menu.SeparatorPending = true;
    Menu.SeparatorPending = true; // set twice: still one line
    Menu.AddEntry(2, "b");
    Menu.AddEntry(3, "c");
    Menu.SeparatorPending = true; // after the last entry: never shown
    Menu.layout(0, 0, 800, 600);
    EXPECT_EQ(Layout(Menu), (std::vector<std::string>{"a", "-", "b", "c"}));
    EXPECT_EQ(Menu.getFirstChild()->getNext()->getHeight(), 8);
}

TEST_F(ContextMenu, EntriesAreAsWideAsTheWidestAndStackedInsideTheFrame) {
    TRecordingMenu Menu;
    Menu.AddEntry(1, "Look", "(Shift)");
    Menu.AddEntry(2, "Open in new window");
    auto* First = Menu.getFirstChild();
    auto* Second = First->getNext();
    EXPECT_EQ(First->getWidth(), TextWidth("Look") + 44 + TextWidth("(Shift)"));
    EXPECT_EQ(Second->getWidth(), TextWidth("Open in new window") + 44);
    const int32_t Widest = std::max(First->getWidth(), Second->getWidth());
    const int32_t Line = GetFontLineHeight(MENU_FONT) + 4;
    Menu.layout(100, 100, 800, 600);
    EXPECT_EQ(First->getWidth(), Widest);
    EXPECT_EQ(Second->getWidth(), Widest);
    EXPECT_EQ(First->X, 4);
    EXPECT_EQ(First->Y, 4);
    EXPECT_EQ(Second->Y, 4 + Line);
    EXPECT_EQ(First->getHeight(), Line);
    EXPECT_EQ(Second->getHeight(), Line + GetFontHeight(MENU_FONT) - GetFontLineHeight(MENU_FONT));
    EXPECT_EQ(Menu.getWidth(), Widest + 8);
    EXPECT_EQ(Menu.getHeight(), Second->Y + Second->getHeight() + 4);
    EXPECT_EQ(Menu.DrawingList[8].skin, 207);
}

TEST_F(ContextMenu, OpensAtThePointerAndFlipsWhereItWouldReachTheEdge) {
    auto Open = [](int32_t X, int32_t Y) {
        auto Menu = std::make_unique<TRecordingMenu>();
        Menu->AddEntry(1, "Attack");
        Menu->layout(X, Y, 800, 600);
        return Menu;
    };
    const auto Probe = Open(0, 0);
    const int32_t W = Probe->getWidth(), H = Probe->getHeight();
    auto Menu = Open(800 - W - 1, 600 - H - 1);
    EXPECT_EQ(Menu->X, 800 - W - 1);
    EXPECT_EQ(Menu->Y, 600 - H - 1);
    Menu = Open(800 - W, 600 - H); // reaching the edge exactly flips
    EXPECT_EQ(Menu->X, 800 - 2 * W);
    EXPECT_EQ(Menu->Y, 600 - 2 * H);
    Menu = Open(10, 5);
    EXPECT_EQ(Menu->X, 10);
    Menu = std::make_unique<TRecordingMenu>();
    Menu->AddEntry(1, "Attack");
    Menu->layout(10, 5, W, H); // a parent smaller than the menu: kept at 0, 0
    EXPECT_EQ(Menu->X, 0);
    EXPECT_EQ(Menu->Y, 0);
}

TEST_F(ContextMenu, RightClickEscapeAndReleasesOutsideCloseWithoutAction) {
    TRecordingMenu Menu;
    Menu.AddEntry(7, "Copy");
    Menu.layout(0, 0, 800, 600);
    Menu.keyPressed('a');
    EXPECT_EQ(GetActionState(), ACTIONSTATE_CONTEXTMENU);
    Menu.keyPressed(KEY_ESCAPE);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    SetActionState(ACTIONSTATE_CONTEXTMENU);
    EXPECT_TRUE(Menu.rightClick(5, 5, 0));
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    SetActionState(ACTIONSTATE_CONTEXTMENU);
    EXPECT_TRUE(Menu.leftButtonUp(-20, 300, 0));
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    EXPECT_TRUE(Menu.Events.empty());
}

TEST_F(ContextMenu, TheHighlightBarUnderThePointerHasTheGlyphHeight) {
    TRecordingMenu Menu;
    Menu.AddEntry(1, "Look");
    Menu.layout(20, 20, 640, 480);
    TComponent* Entry = Menu.getFirstChild();
    const int32_t EX = Menu.X + Entry->X, EY = Menu.Y + Entry->Y;
    Screen.clear();
    SetMousePosition(EX + 3, EY + 3);
    Menu.draw(SCREEN_SURFACE, Menu.X, Menu.Y);
    const uint32_t Bar = Screen.pixel(EX + 1, EY);
    int32_t Rows = 0;
    while (Screen.pixel(EX + 1, EY + Rows) == Bar)
        Rows++;
    EXPECT_EQ(Rows, GetFontHeight(MENU_FONT) + 4);
    Screen.clear();
    SetMousePosition(0, 0);
    Menu.draw(SCREEN_SURFACE, Menu.X, Menu.Y);
    EXPECT_NE(Screen.pixel(EX + 1, EY), Bar);
}

// ---- help popup ----

class HelpPopup : public ::testing::Test {
protected:
    HelpPopup() { Parent.TComponent::setSize(800, 600); }
    // The help rectangle as the last help query left it.
    static void HelpRectangle(int32_t X, int32_t Y, int32_t Width, int32_t Height) {
        SetHelpOrigin(X, Y);
        SetHelpExtent(Width, Height);
    }
    TSkinScreen Screen;
    TEventLog Log;
    TProbeParent Parent{Log, "main"};
};

TEST_F(HelpPopup, SizesAreThreeModuloFourWithinTheLimits) {
    THelpPopup Short("Hi");
    EXPECT_EQ(Short.getWidth(), 43);
    EXPECT_EQ(Short.getHeight(), 43);
    std::string Long;
    for (int i = 0; i < 400; i++)
        Long += "word ";
    THelpPopup Tall(Long.c_str());
    EXPECT_LE(Tall.getWidth(), 322);
    EXPECT_EQ(Tall.getWidth() % 4, 3);
    EXPECT_EQ(Tall.getHeight(), 447);
    Short.setSize(100, 50);
    EXPECT_EQ(Short.getWidth(), 103);
    EXPECT_EQ(Short.getHeight(), 51);
    EXPECT_EQ(Short.TextBox->X, 4);
    EXPECT_EQ(Short.TextBox->getWidth(), 95);
    Short.setSize(99, 47);
    EXPECT_EQ(Short.getWidth(), 99);
    EXPECT_EQ(Short.getHeight(), 47);
    EXPECT_EQ(Short.DrawingList[0].skin, 52);
    EXPECT_NE(ThrownText([] { THelpPopup None(nullptr); }).find("HelpText!=NULL"), std::string::npos);
}

TEST_F(HelpPopup, GoesLeftOfTheElementThenRightThenBelowOrAbove) {
    THelpPopup Popup("Some help");
    const int32_t W = Popup.getWidth(), H = Popup.getHeight();
    HelpRectangle(400, 200, 50, 20);
    PlacePopup(Popup, Parent);
    EXPECT_EQ(Popup.X, 400 - W - 3);
    EXPECT_EQ(Popup.Y, 200);
    HelpRectangle(10, 200, 50, 20); // no room on the left
    PlacePopup(Popup, Parent);
    EXPECT_EQ(Popup.X, 63);
    EXPECT_EQ(Popup.Y, 200);
    HelpRectangle(10, 600 - 20, 780, 10); // too wide for either side, bottom edges level would reach out
    PlacePopup(Popup, Parent);
    EXPECT_EQ(Popup.X, 10);
    EXPECT_EQ(Popup.Y, 600 - 20 - H - 3);
    EXPECT_EQ(Popup.getWidth(), W);
    int32_t x = 0, y = 0; // a candidate at 0 is taken as 3
    EXPECT_TRUE(FitsInParent(x, y, 43, 43, Parent));
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 3);
}

TEST_F(HelpPopup, WithoutRoomItGoesToTheTopCornerAwayFromThePointer) {
    THelpPopup Popup("Some help");
    const int32_t W = Popup.getWidth();
    HelpRectangle(1, 1, 797, 597);
    SetMousePosition(100, 100);
    PlacePopup(Popup, Parent);
    EXPECT_EQ(Popup.X, 800 - W - 3);
    EXPECT_EQ(Popup.Y, 3);
    SetMousePosition(400, 100);
    PlacePopup(Popup, Parent);
    EXPECT_EQ(Popup.X, 3);
    EXPECT_EQ(Popup.Y, 3);
}

} // namespace
