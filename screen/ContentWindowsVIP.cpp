// The VIP list window: drawn from the VIP list's sorted entries on every frame.
#include "screen/ContentWindowsVIP.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "screen/Help.h"
#include "state/CreaturesBuddies.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int32_t VIP_LINE_HEIGHT = 16;
constexpr int32_t NAME_X = 20, NAME_Y = 4, NAME_WIDTH = 132, NAME_FONT = 4;
constexpr int32_t ICON_SIZE = 12, FIRST_ICON_SKIN = 217;
constexpr int32_t TOOLTIP_LENGTH = 36;

// Characters of Name that fit the name's room; below its length when the name must be shortened.
int32_t FitLength(const char* Name) { return GetTextFitLength(NAME_FONT, Name, NAME_WIDTH); }

} // namespace

TBuddylistWindow::TBuddylistWindow() : TScrolledListBody(VIP_LINE_HEIGHT, VIP_LINE_HEIGHT / 2) { arrange(); }

TBuddylistWindow::~TBuddylistWindow() { ReleaseTooltip(ToolTipText.get()); }

int32_t TBuddylistWindow::getContentHeight() const { return GetNumberOfShownBuddies() * LineHeight + 10; }

int32_t TBuddylistWindow::getDefaultHeight() const { return getRememberedHeight(BUDDY_WINDOW); }

int32_t TBuddylistWindow::getLineAt(int32_t X, int32_t Y) const {
    if (isMinimized()) return -1;
    const int32_t Offset = Y + getScrollValue();
    if (Offset < 0 || X < 0 || X > getListWidth()) return -1;
    const int32_t Line = Offset / LineHeight;
    return Line < GetNumberOfShownBuddies() ? Line : -1;
}

TSkinColor TBuddylistWindow::getNameColor(int32_t Line) const {
    if (IsBuddyNewlyOnline(Line)) return {248, 248, 248};
    return IsBuddyOnline(Line) ? TSkinColor{96, 248, 96} : TSkinColor{248, 96, 96};
}

void TBuddylistWindow::draw(int32_t Surface, int32_t X, int32_t Y) try {
    const int32_t Count = GetNumberOfShownBuddies();
    if (Count != LineCount) {
        LineCount = Count;
        arrange();
    }
    if (isMinimized()) return;
    drawBackground(Surface, X, Y);
    TScrolledListBody::draw(Surface, X, Y);
    for (int32_t Line = 0; Line < Count; Line++) {
        const int32_t Top = LineHeight * Line - getScrollValue();
        if (Top + LineHeight <= 0) continue;
        if (Top > Height - 1) break;
        drawLine(Surface, X, Y, Line, Top);
    }
}
CATCH_FRAME(X, Y)

void TBuddylistWindow::drawLine(int32_t Surface, int32_t X, int32_t Y, int32_t Line, int32_t Top) const {
    const int32_t W = getListWidth();
    const int32_t Icon = GetBuddyIcon(Line);
    // The icon number comes from the options file: one without a skin shows no icon.
    if (Icon > 0 && FIRST_ICON_SKIN + Icon < GetNumberOfSkins()) {
        const TSkinPoint& Logo = SkinProperties.BuddylistWindow.Logo;
        CHECK_TEXT(X + Logo.x >= 0, "x+ItemX+SkinProperties.BuddylistWindow.Logo.x>=0", X + Logo.x);
        CHECK_TEXT(Y + Top + Logo.y >= 0, "y+ItemY+SkinProperties.BuddylistWindow.Logo.y>=0",
                   Y + Top + Logo.y);
        DrawSkinClipped(Surface, X + Logo.x, Y + Top + Logo.y, ICON_SIZE, ICON_SIZE, FIRST_ICON_SKIN + Icon,
                        X, Y, W, Height, 0, 0);
    }
    char Name[30];
    snprintf(Name, sizeof(Name), "%s", GetBuddyName(Line));
    const int32_t Fit = FitLength(Name);
    if (Fit < static_cast<int32_t>(strlen(Name))) ShortenText(Name, Fit);
    const TSkinColor Color = getNameColor(Line);
    PrintTextClipped(Surface, X + NAME_X, Y + Top + NAME_Y, NAME_FONT, Color.red, Color.green, Color.blue,
                     Name, LEFT_ALIGN, X, Y, W, Height);
}

bool TBuddylistWindow::rightClick(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TScrolledListBody::rightClick(X, Y, Flags)) return true;
    const int32_t Line = getLineAt(X, Y);
    AddMessage(MESSAGE_VIPMENU, Line < 0 ? 0 : static_cast<intptr_t>(GetBuddyID(Line)), 0);
    return true;
}
CATCH_FRAME(X, Y)

bool TBuddylistWindow::leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) try {
    if (TSideWindowBody::leftDoubleClick(X, Y, Flags)) return true; // the children, not the base list's
    const int32_t Line = getLineAt(X, Y);
    if (Line >= 0) SendPrivateChannel(GetBuddyName(Line));
    return true;
}
CATCH_FRAME(X, Y)

void TBuddylistWindow::getToolTip(int32_t X, int32_t Y) try {
    const int32_t Line = getLineAt(X, Y);
    if (Line < 0) return;
    const char* Name = GetBuddyName(Line);
    if (FitLength(Name) >= static_cast<int32_t>(strlen(Name))) return;
    ReleaseTooltip(ToolTipText.get());
    ToolTipText = std::make_unique<char[]>(TOOLTIP_LENGTH);
    snprintf(ToolTipText.get(), TOOLTIP_LENGTH, "%s", Name);
    SetTooltip(ToolTipText.get());
}
CATCH_FRAME(X, Y)

bool TBuddylistWindow::getHelpContext(int32_t, int32_t) { return SetSideWindowHelp(this, HELP_VIP); }

TDialogWindow* CreateBuddylistWindow() {
    return FrameSideWindow(BUDDY_WINDOW, new TBuddylistWindow, "VIP", 143);
}
