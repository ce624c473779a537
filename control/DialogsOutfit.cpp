// The outfit dialog: the looks the server offers and the colours of the four body parts; its factory.
#include "control/DialogsOutfit.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/graphics.h"
#include "gui/DialogElementsFrame.h"
#include "gui/DialogElementsViews.h"
#include "network/CommunicationSend.h"
#include "screen/MessageTexts.h"
#include "state/Objects.h"
#include "state/Status.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t NEXT_LOOK = 6;
constexpr int32_t PART_BASE = 1000;
constexpr int32_t COLOR_BASE = 2000;
constexpr int32_t COLOR_COLUMNS = 19;

} // namespace

TOutfitDialog::TOutfitDialog(const int32_t* Data) try {
    CHECK_TEXT(Data != nullptr, "Data!=NULL");
    TOutfitData Record;
    memcpy(&Record, Data, sizeof(Record));
    FirstLookType = std::min(Record.FirstLookType, Record.LastLookType);
    LastLookType = std::max(Record.FirstLookType, Record.LastLookType);
    // Only looks this client knows can be drawn; the server's range is held to them.
    const int32_t KnownLooks = std::max(GetNumberOfOutfitTypes(), 1);
    FirstLookType = Clamp(FirstLookType, 1, KnownLooks);
    LastLookType = Clamp(LastLookType, 1, KnownLooks);
    LookType = Clamp(Record.LookType, FirstLookType, LastLookType);
    memcpy(Colors, Record.Colors, sizeof(Colors));
    TComponent::setSize(384, 133);

    OutfitView = new TOutfitView(LookType, 2, Colors, nullptr);
    PlaceChild(this, new TWindowFrame(OutfitView, 0, 9, 0, 11, 10, 0, 8, 0, 8), 0, 0, 68, 68);
    addChild(new TTextButton(13, 72, "Next", this, NEXT_LOOK, nullptr));
    const char* const PartNames[4] = {"Head", "Body", "Legs", "Feet"};
    for (int32_t P = 0; P < 4; P++) {
        PartButtons[P] = new TTextButton(81, 24 * P, PartNames[P], this, PART_BASE + P, nullptr);
        PartButtons[P]->setRadioButtonGroup(&PartGroup);
        addChild(PartButtons[P]);
    }
    for (int32_t i = 0; i < COLORS; i++) {
        int32_t Red, Green, Blue;
        GetOutfitColor(i, Red, Green, Blue);
        ColorButtons[i] = new TColorButton(137 + 13 * (i % COLOR_COLUMNS), 13 * (i / COLOR_COLUMNS), Red,
                                           Green, Blue, 22, 23, this, COLOR_BASE + i, nullptr);
        ColorButtons[i]->setRadioButtonGroup(&ColorGroup);
        addChild(ColorButtons[i]);
    }
    PlaceChild(this, MessageLabel(MessageTexts[TEXT_CHOOSE_OUTFIT]), 0, 105, 0, 28);
    PartGroup.Selected = PartButtons[0];
    handleEvent(PART_BASE);
}
CATCH_FRAME()

void TOutfitDialog::handleEvent(int32_t Identifier) try {
    if (In(Identifier, PART_BASE, PART_BASE + 3)) {
        CurrentPart = Identifier - PART_BASE;
        const int32_t Color = Colors[CurrentPart];
        ColorGroup.Selected = In(Color, 0, COLORS - 1) ? ColorButtons[Color] : nullptr;
    } else if (In(Identifier, COLOR_BASE, COLOR_BASE + COLORS - 1)) {
        Colors[CurrentPart] = Identifier - COLOR_BASE;
        OutfitView->setMask(CurrentPart + 1, Colors[CurrentPart]);
        OutfitView->arrange();
    } else if (Identifier == NEXT_LOOK) {
        LookType = LookType >= LastLookType ? FirstLookType : LookType + 1;
        OutfitView->setLookType(LookType);
        OutfitView->arrange();
    } else if (Identifier == DIALOG_OK) {
        SendSetOutfit(LookType, Colors);
        SetActionState(ACTIONSTATE_NONE);
    } else if (Identifier == DIALOG_CANCEL) {
        SetActionState(ACTIONSTATE_NONE);
    }
}
CATCH_FRAME(Identifier)

TModalDialog* CreateOutfitDialog(const int32_t* Data) {
    if (Data == nullptr) return nullptr;
    return FrameBody("Select Outfit", new TOutfitDialog(Data), "Ok");
}
