// The battle list window: the creatures around the player, with their marks and health, and the clicks
// that attack, look at or open the creature menu.
#pragma once

#include "screen/ContentWindowsSide.h"

#include <cstdint>

struct TCreature;

class TBattleWindow : public TScrolledListBody {
public:
    TBattleWindow();
    // The aimed creature is 0 once the list is gone; its tool tip is withdrawn.
    ~TBattleWindow() override;

    // The line under a point of the body, 0 for the first; -1 for none.
    int32_t getLineAt(int32_t X, int32_t Y) const;

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override; // always taken
    // Uses or trades onto the creature in the cursor states, else clicks as rightClick (plain: attack).
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    // Alt attacks or stops, Shift looks, anything else asks for the creature menu.
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;
    void getToolTip(int32_t X, int32_t Y) override; // the full name of a shortened one
    bool getHelpContext(int32_t X, int32_t Y) override;
    int32_t getDefaultHeight() const override;
    int32_t getContentHeight() const override; // the listed creatures' lines plus 1

    int32_t LineCount = -1; // lines at the last drawing
    char ToolTipText[30] = {};

private:
    // The creature of the line under a point, or NULL.
    TCreature* creatureAt(int32_t X, int32_t Y) const;
    void drawLine(int32_t Surface, int32_t X, int32_t Y, int32_t Top, const TCreature& Creature);
};

// The framed battle list window (identifier 7).
TDialogWindow* CreateBattleWindow();
