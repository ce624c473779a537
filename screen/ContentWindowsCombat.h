// The fight-mode buttons of the inventory panels and the side-bar panel of the hit-point and mana bars.
#pragma once

#include "gui/DialogElements.h"
#include "gui/DialogWindow.h"

#include <memory>

// The buttons' faces, each pressed face the skin after it; the help texts show them. The secure-mode toggle
// shows SKIN_SECURE_ON up and SKIN_SECURE_OFF pressed; the small forms of "Options" and "Help" are those of
// the minimised controls.
enum COMBAT_SKIN : int32_t {
    SKIN_OFFENSIVE = 103,
    SKIN_BALANCED = 105,
    SKIN_DEFENSIVE = 107,
    SKIN_STAND = 109,
    SKIN_CHASE = 111,
    SKIN_SECURE_ON = 113,
    SKIN_SECURE_OFF = 114,
    SKIN_SMALL_OPTIONS = 115,
    SKIN_SMALL_HELP = 117,
};

// Offensive, balanced and defensive; stand and chase; the secure mode; "Stop", "Options" and "Help". A
// mode chosen is stored in the options and all three modes are sent at once. Target (the main window, not
// owned) receives MAIN_STOP, MAIN_OPTIONS and MAIN_HELP.
class TCombatControls : public TParentComponent {
public:
    TCombatControls(TComponent* Target, bool Maximised);
    ~TCombatControls() override; // the buttons go before the groups they point at

    void draw(int32_t Surface, int32_t X, int32_t Y) override; // shows the ChaseMode option as it stands
    bool getHelpContext(int32_t X, int32_t Y) override;
    void handleEvent(int32_t Identifier) override; // the mode buttons

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
