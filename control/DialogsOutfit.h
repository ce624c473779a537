// The outfit dialog: the looks the server offers and the colours of the four body parts; its factory.
#pragma once

#include "control/DialogsFrame.h"
#include "gui/DialogElements.h"

#include <cstdint>

class TOutfitView;

// The outfit record of event 16: seven words.
struct TOutfitData {
    int32_t LookType;
    int32_t Colors[4]; // head, body, legs, feet
    int32_t FirstLookType, LastLookType;
};

class TOutfitDialog : public TParentComponent {
public:
    static constexpr int32_t COLORS = 133;
    explicit TOutfitDialog(const int32_t* Data); // checks "Data!=NULL"

    // 1 sends, 2 ends, 6 next look, 1000..1003 part, 2000..2132 colour; others are ignored.
    void handleEvent(int32_t Identifier) override;

    TOutfitView* OutfitView;
    TTextButton* PartButtons[4];
    TRadioButtonGroup PartGroup;
    TColorButton* ColorButtons[COLORS];
    TRadioButtonGroup ColorGroup;
    int32_t Colors[4];
    int32_t LookType;
    int32_t FirstLookType, LastLookType;
    int32_t CurrentPart = 0;
};

TModalDialog* CreateOutfitDialog(const int32_t* Data);
