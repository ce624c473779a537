// Adding a character to the VIP list and editing a VIP's icon, description and login notice; their
// factories.
#pragma once

#include "control/DialogsFrame.h"
#include "gui/DialogElements.h"

#include <cstdint>

class TMultiLineEditField;

class TAddVIPDialog : public TParentComponent {
public:
    TAddVIPDialog();
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override;

    TEditField* NameField;
};

class TEditVIPDialog : public TParentComponent {
public:
    static constexpr int32_t ICONS = 11;
    explicit TEditVIPDialog(uint32_t CharacterID); // checks "Position >= 0"

    void keyPressed(int32_t Key) override;         // to the description
    void handleEvent(int32_t Identifier) override; // 1 stores; every identifier ends
    int32_t getIconType() const;                   // 0 when none is selected

    uint32_t CharacterID;
    TRadioButtonGroup IconGroup;
    TCheckBox* NotifyBox;
    TMultiLineEditField* Description;
    TIconButton* IconButtons[ICONS];
};

TModalDialog* CreateAddVIPDialog();
TModalDialog* CreateEditVIPDialog(uint32_t CharacterID); // NULL for a character not in the VIP list
