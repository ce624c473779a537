// Texts over the map: talk-box layout, the status line, rising texts, the hint button and the view's keys.
#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "state/EventHints.h"
#include "state/Events.h"
#include "state/MapEffects.h"
#include "state/Preferences.h"
#include "state/Talk.h"
#include "tests/screen/MapBench.h"

#include <cstdlib>
#include <cstring>

namespace {

struct TArea {
    int32_t X, Y, Alignment, EdgeFlags;
};

TArea AreaOf(int32_t Box) {
    TArea A{};
    GetTalkboxArea(Box, A.X, A.Y, A.Alignment, A.EdgeFlags);
    return A;
}

int32_t BoxWidth(int32_t Box) {
    int32_t W = 0;
    for (int32_t i = 0; i < GetTalkboxLines(Box); i++)
        W = std::max(W, GetStringWidth(2, GetTalkboxLine(Box, i)));
    return W;
}

// The left edge of box Box's lines as laid out.
int32_t LeftOf(int32_t Box) {
    const TArea A = AreaOf(Box);
    const int32_t W = BoxWidth(Box);
    return A.Alignment == LEFT_ALIGN ? A.X : A.Alignment == CENTER_ALIGN ? A.X - W / 2 : A.X - W;
}

void Say(int32_t rx, int32_t ry, const char* Speaker, const char* Text) {
    int32_t x = rx, y = ry, z = GetViewLayer();
    LocalToWorld(x, y, z);
    AddTalkboxStatement(TALK_SAY, Speaker, x, y, z, Text);
}

class MapTexts : public MapBench {
protected:
    void SetUp() override {
        MapBench::SetUp();
        fillGround();
    }
    int32_t count(int32_t x, int32_t y, int32_t w, int32_t h, int32_t R, int32_t G, int32_t B) {
        int32_t n = 0;
        for (int32_t j = std::max(y, 0); j < y + h; j++)
            for (int32_t i = std::max(x, 0); i < x + w; i++)
                n += Near(pixel(i, j), R, G, B);
        return n;
    }
};

TEST_F(MapTexts, TwoSpeakersOnOneFieldArePushedApart) {
    Say(6, 6, "Anna", "hello there");
    Say(6, 6, "Bert", "good morning");
    View->arrangeTalkboxes();
    const TArea A = AreaOf(1), B = AreaOf(2);
    const bool Apart = std::abs(LeftOf(1) - LeftOf(2)) > 0 || A.Y != B.Y;
    EXPECT_TRUE(Apart);
    EXPECT_NE(LeftOf(1), LeftOf(2)); // the tie rule moves them in x
}

TEST_F(MapTexts, SpeakerAtTheLeftEdgeIsClampedAndAlignsTowardHim) {
    Say(1, 6, "Anna", "a rather long sentence");
    View->arrangeTalkboxes();
    const TArea A = AreaOf(1);
    EXPECT_EQ(A.EdgeFlags & 1, 1);
    EXPECT_EQ(A.Alignment, LEFT_ALIGN);
    EXPECT_EQ(A.X, 1); // centre W / 2 + 1 less half the width
}

TEST_F(MapTexts, StatusMessageKeepsTheBottomFree) {
    SetStatusMessage("You are hungry.", false);
    Say(8, 11, "Anna", "at the bottom");
    View->arrangeTalkboxes();
    const TArea A = AreaOf(1);
    const int32_t H = GetFontLineHeight(2) * GetTalkboxLines(1);
    EXPECT_LE(A.Y + H, 352 - (GetFontHeight(2) + 10) + 1);
}

TEST_F(MapTexts, SpokenTextWithoutAPlaceIsShownAboveTheMiddle) {
    AddTalkboxStatement(TALK_SAY, "Anna", 0, 0, 0, "from nowhere");
    View->arrangeTalkboxes();
    const TArea A = AreaOf(1);
    EXPECT_EQ(A.EdgeFlags, 3);
    EXPECT_LT(A.Y, 352 / 2);
}

TEST_F(MapTexts, LongStatusMessageIsCutToTheView) {
    SetNoStretching(false);
    View->setSize(240, 176);
    std::string Long(200, 'x');
    SetStatusMessage(Long.c_str(), false);
    View->draw(SCREEN_SURFACE, 0, 0);
    const int32_t Top = 176 - GetFontHeight(2);
    EXPECT_GT(count(0, Top, 240, 3, 255, 255, 255), 0);
    EXPECT_EQ(count(240, Top, 100, 3, 255, 255, 255), 0);
}

TEST_F(MapTexts, CtrlNCyclesTheCreatureInformation) {
    const int32_t Before = GetCreatureInfo();
    EXPECT_TRUE(FireShortcut(0x400 | 'n'));
    EXPECT_EQ(GetCreatureInfo(), (Before + 1) % 3);
    FireShortcut(0x400 | 'n');
    FireShortcut(0x400 | 'n');
    EXPECT_EQ(GetCreatureInfo(), Before);
}

TEST_F(MapTexts, CtrlWEndsTheOldestTalkbox) {
    Say(6, 6, "Anna", "first");
    Say(7, 6, "Bert", "second");
    FireShortcut(0x400 | 'w');
    ASSERT_EQ(GetNumberOfTalkboxes(), 1);
    EXPECT_NE(std::strstr(GetTalkboxLine(1, 0), "Bert"), nullptr);
}

TEST_F(MapTexts, RisingTextUnderARoofShowsOnlyOnThePlayersFloor) {
    AddTextEffect(3, 3, 1, 30, "77"); // a floor above the player, under a roof
    put(3, 3, 2, {ROOF, 0, 0});
    AddTextEffect(4, 9, 0, 30, "55"); // the player's floor, covered
    put(4, 9, 1, {ROOF, 0, 0});
    drawView();
    EXPECT_EQ(count(3 * 32 - 64, 3 * 32 - 48, 64, 40, 0, 255, 0), 0);
    EXPECT_GT(count(4 * 32 - 64, 9 * 32 - 48, 64, 40, 0, 255, 0), 0);
}

const char* HintTitle(int32_t) { return "Hint"; }
const char* HintText(int32_t Hint) { return Hint == 1 ? "Welcome" : "Other"; }

TEST_F(MapTexts, FirstHintOpensAtOnceOthersWaitBehindTheButton) {
    SetHintTexts({HintTitle, HintText});
    SetShowNewHints(true);
    QueueEventHelp(1);
    drawView();
    EXPECT_EQ(View->_HintButton, nullptr);
    int32_t Type = 0;
    intptr_t P1 = 0, P2 = 0;
    PopMessage(Type, P1, P2);
    EXPECT_EQ(Type, MESSAGE_MESSAGEBOX2);
    EXPECT_STREQ(MessagePointer<const char>(P2), "Welcome");
    FreeMessageParameters(Type, P1, P2);

    QueueEventHelp(3);
    drawView();
    ASSERT_NE(View->_HintButton, nullptr);
    EXPECT_EQ(View->_HintButton->X, 480 - 35);
    EXPECT_EQ(PeekMessageType(), MESSAGE_NONE);
    SetShowNewHints(false);
    drawView();
    EXPECT_EQ(View->_HintButton, nullptr);
    SetHintTexts({});
}

} // namespace
