// The fight-mode buttons of the inventory panels and the side-bar panel of the hit-point and mana bars.
#pragma once

#include "gui/DialogElements.h"
#include "gui/DialogWindow.h"

#include <memory>

// Offensive, balanced and defensive; stand and chase; the secure mode; "Stop", "Options" and "Help". A
// mode chosen is stored in the options and all three modes are sent at once. Target (the main window, not
// owned) receives 32 stop, 8 options and 701 help.
class TCombatControls : public TParentComponent {
public:
    TCombatControls(TComponent* Target, bool Maximised);
    ~TCombatControls() override; // the buttons go before the groups they point at

    void draw(int32_t Surface, int32_t X, int32_t Y) override; // shows the ChaseMode option as it stands
    bool getHelpContext(int32_t X, int32_t Y) override;
    void handleEvent(int32_t Identifier) override; // 100-102 fight, 103-104 chase, 105 secure mode

    bool Maximised;
    std::unique_ptr<TRadioButtonGroup> FightModeGroup;
    std::unique_ptr<TRadioButtonGroup> ChaseModeGroup;
    TButton* StandButton = nullptr;
    TButton* ChaseButton = nullptr;
    TToggleButton* SecureModeButton = nullptr; // pressed: secure mode off

private:
    void selectChaseMode(int32_t Mode);
};

// The hit-point and mana bars with their numbers, read from the player at every frame.
class TStatusWindow : public TContentWindow {
public:
    TStatusWindow();

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void arrange() override; // rebuilds the symbols and bar backgrounds
    bool getHelpContext(int32_t X, int32_t Y) override;
};

// Fill width of a bar Full pixels wide for Value of Maximum: full unless the value is below the maximum.
int32_t BarFillWidth(int32_t Value, int32_t Maximum, int32_t Full);
