// The skills window: values read afresh from the player's data at every drawing.
#include "screen/ContentWindowsSkills.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"
#include "screen/Help.h"
#include "screen/MessageTexts.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int32_t SEPARATOR_LINE = 8;
constexpr int32_t FIRST_SKILL_LINE = 9;
constexpr int32_t TEXT_FONT = 4;
constexpr TSkinColor TEXT_COLOR{176, 176, 176};
constexpr int32_t BAR_OFFSET = 12;      // bar frame below the line's text top
constexpr int32_t BAR_HEIGHT = 5;       // frame; the filling is 2 less
constexpr int32_t DRAWN_BAR_EXTRA = 10; // a line with a bar is drawn one pixel higher than measured

int32_t Margin() { return SkinProperties.SkillsWindow.Margin; }
int32_t BarExtra() { return SkinProperties.SkillsWindow.ProgressHeight; }

} // namespace

TSkillsWindow::TSkillsWindow()
    : TScrolledListBody(GetFontLineHeight(TEXT_FONT), GetFontLineHeight(TEXT_FONT) / 2) {
    arrange();
}

bool TSkillsWindow::getLine(int32_t NumberOfLine, char* Text, int32_t& Value, int32_t& Progress) const try {
    CHECK_TEXT(In(NumberOfLine, 1, Lines), "In(NumberOfLine,1,Lines)", NumberOfLine);
    static const char* const Labels[] = {"Experience",  "Level",    "Hit Points", "Mana",
                                         "Soul Points", "Capacity", "Magic Level"};
    Progress = -1;
    Value = 0;
    switch (NumberOfLine) {
    case 1:
        Value = GetExperience();
        break;
    case 2:
        Value = GetLevel();
        if (GetLevelBar()) Progress = GetLevelPercent();
        break;
    case 3:
        Value = GetHitpoints();
        break;
    case 4:
        Value = GetMana();
        break;
    case 5:
        Value = GetSoulPoints();
        break;
    case 6:
        Value = GetCapacity();
        break;
    case 7:
        Value = GetMagicLevel();
        if (GetMagLevelBar()) Progress = GetMagicLevelPercent();
        break;
    case SEPARATOR_LINE:
        Text[0] = 0;
        return false;
    default: {
        const int32_t Skill = NumberOfLine - FIRST_SKILL_LINE;
        Value = GetSkillLevel(Skill);
        if (GetSkillBar(Skill)) Progress = GetSkillProgress(Skill);
        snprintf(Text, 32, "%s", GetSkillName(Skill));
        break;
    }
    }
    if (NumberOfLine < SEPARATOR_LINE) snprintf(Text, 32, "%s", Labels[NumberOfLine - 1]);
    CHECK_TEXT(Value >= 0, "Value>=0 [bug0000996]", Value);
    CHECK_TEXT(In(Progress, -1, 100), "In(Progress,-1,100) [bug0000038]", Progress);
    return true;
}
CATCH_FRAME(NumberOfLine)

int32_t TSkillsWindow::getContentHeight() const {
    int32_t Sum = 0;
    char Text[32];
    for (int32_t Line = 1; Line <= Lines; Line++) {
        int32_t Value, Progress;
        getLine(Line, Text, Value, Progress);
        Sum += LineHeight + (Progress != -1 ? BarExtra() : 0);
    }
    return Sum;
}

int32_t TSkillsWindow::getMaximumHeight() const { return getContentHeight() + 2 * Margin(); }

int32_t TSkillsWindow::getDefaultHeight() const {
    const int32_t Stored = GetContentWindow(SKILLS_WINDOW);
    return std::max(Stored != 0 ? Stored : getMaximumHeight(), getMinimumHeight());
}

int32_t TSkillsWindow::getPageHeight() const { return Height - 2 * Margin(); }

int32_t TSkillsWindow::textWidth() const { return getListWidth() - 2 * Margin(); }

void TSkillsWindow::draw(int32_t Surface, int32_t X, int32_t Y) try {
    if (isMinimized()) return;
    drawBackground(Surface, X, Y);
    TScrolledListBody::draw(Surface, X, Y);
    int32_t Offset = -getScrollValue();
    char Text[32];
    for (int32_t Line = 1; Line <= Lines; Line++) {
        int32_t Value, Progress;
        getLine(Line, Text, Value, Progress);
        const int32_t h = LineHeight + (Progress != -1 ? DRAWN_BAR_EXTRA : 0);
        const int32_t Top = Margin() + Offset;
        Offset += h;
        if (Top + h <= 0) continue;
        if (Top > Height - 1) break;
        drawLine(Surface, X, Y, Line, Top, h);
    }
}
CATCH_FRAME(X, Y)

void TSkillsWindow::drawLine(int32_t Surface, int32_t X, int32_t Y, int32_t Line, int32_t Top,
                             int32_t h) const {
    char Text[32];
    int32_t Value, Progress;
    const int32_t W = textWidth();
    const int32_t VisibleTop = std::max(Top, 0);
    const int32_t VisibleHeight = std::min(Top + h, Height) - VisibleTop;
    const int32_t ClipX = X + Margin(), ClipY = Y + VisibleTop;
    const TSkinColor& C = TEXT_COLOR;
    if (!getLine(Line, Text, Value, Progress)) {
        const int32_t Row = Top + GetFontHeight(TEXT_FONT) / 2 - 1;
        if (Row >= 0 && Row < Height && W > 0)
            GetSurface()->DrawHorizontalLine(Surface, X + Margin(), Y + Row, W, C.red, C.green, C.blue);
        return;
    }
    PrintTextClipped(Surface, X + Margin(), Y + Top, TEXT_FONT, C.red, C.green, C.blue, Text, LEFT_ALIGN,
                     ClipX, ClipY, W, VisibleHeight);
    char Number[14];
    PrintTextClipped(Surface, X + Margin() + W - 1, Y + Top, TEXT_FONT, C.red, C.green, C.blue,
                     FormatThousands(Value, Number), RIGHT_ALIGN, ClipX, ClipY, W, VisibleHeight);
    if (Progress == -1) return;
    const int32_t BarY = Y + Top + BAR_OFFSET;
    GetSurface()->DrawBorderClipped(Surface, X + Margin(), BarY, W, BAR_HEIGHT, 1, 0, 0, 0, ClipX, ClipY, W,
                                    VisibleHeight);
    const int32_t Green = Line < SEPARATOR_LINE ? 0 : 192, Red = Line < SEPARATOR_LINE ? 192 : 0;
    const int32_t Filling = (W - 2) * Progress / 100;
    if (Filling > 0)
        GetSurface()->FillRectangleClipped(Surface, X + Margin() + 1, BarY + 1, Filling, BAR_HEIGHT - 2, Red,
                                           Green, 0, ClipX, ClipY, W, VisibleHeight);
}

bool TSkillsWindow::rightClick(int32_t, int32_t, uint32_t) {
    AddMessage(MESSAGE_SKILLSMENU, MessageParameter(static_cast<TSkillsMenuHost*>(this)), 0);
    return true;
}

void TSkillsWindow::getToolTip(int32_t X, int32_t Y) try {
    if (isMinimized()) return;
    int32_t Offset = -getScrollValue();
    char Text[32];
    for (int32_t Line = 1; Line <= Lines; Line++) {
        int32_t Value, Progress;
        getLine(Line, Text, Value, Progress);
        const int32_t h = LineHeight + (Progress != -1 ? BarExtra() : 0);
        const int32_t Top = Margin() + Offset;
        Offset += h;
        if (Top + h <= 0) continue;
        if (Top > Height - 1) break;
        const int32_t VisibleTop = std::max(Top, 0), VisibleBottom = std::min(Top + h, Height) - 1;
        if (Progress != -1 && Y >= VisibleTop && Y <= VisibleBottom && X >= Margin() &&
            X <= Margin() + textWidth()) {
            snprintf(ToolTipText, sizeof(ToolTipText), MessageTexts[TEXT_TIP_PERCENT_TO_GO], 100 - Progress);
            SetTooltip(ToolTipText);
            return;
        }
    }
}
CATCH_FRAME(X, Y)

bool TSkillsWindow::getHelpContext(int32_t, int32_t) { return SetSideWindowHelp(this, HELP_SKILLS); }

TDialogWindow* CreateSkillsWindow() {
    return FrameSideWindow(SKILLS_WINDOW, new TSkillsWindow, "Skills", 142);
}
