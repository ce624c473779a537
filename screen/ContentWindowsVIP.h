// The VIP list window: the player's VIPs with their icons, green online, red offline, white just after
// logging in; the VIP menu on a right click and a private conversation on a double click.
#pragma once

#include "gui/SkinProperties.h"
#include "screen/ContentWindowsSide.h"

#include <cstdint>
#include <memory>

class TBuddylistWindow : public TScrolledListBody {
public:
    TBuddylistWindow();
    // Withdraws its tool tip from the status before freeing it.
    ~TBuddylistWindow() override;

    // The line under a point of the body, the VIP list's position; -1 for none and while minimized.
    int32_t getLineAt(int32_t X, int32_t Y) const;
    // The colour of the name on Line.
    TSkinColor getNameColor(int32_t Line) const;

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;      // asks for the VIP menu
    bool leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) override; // opens a private conversation
    void getToolTip(int32_t X, int32_t Y) override;                      // the full name of a long one
    bool getHelpContext(int32_t X, int32_t Y) override;
    int32_t getDefaultHeight() const override;
    int32_t getContentHeight() const override; // the shown lines plus 10

    int32_t LineCount = -1;              // lines at the last drawing
    std::unique_ptr<char[]> ToolTipText; // 36 characters while a tool tip was needed

private:
    void drawLine(int32_t Surface, int32_t X, int32_t Y, int32_t Line, int32_t Top) const;
};

// The framed VIP list window (identifier 9).
TDialogWindow* CreateBuddylistWindow();
