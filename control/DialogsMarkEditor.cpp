// The automap mark editor: a description and one of 14 icon types for a new mark or a copy of an existing
// one; its factory.
#include "control/DialogsMarkEditor.h"

#include "foundation/Exception.h"
#include "screen/MessageTexts.h"
#include "state/Events.h"
#include "state/Status.h"

#include <cstdio>

namespace {

constexpr int32_t MARK_TYPES = 14;

} // namespace

TMarkEditDialog::TMarkEditDialog(TCoordinate* _Coordinate, TMapMark* _Mark) try : Coordinate{}, Mark{} {
    // Both blocks stay the event's (the dispatcher frees them); the dialog keeps copies.
    CHECK_TEXT(_Coordinate != nullptr, "_Coordinate != NULL");
    Coordinate = *_Coordinate;
    if (_Mark != nullptr) Mark = *_Mark;
    Mark.Text[MAPMARK_TEXT - 1] = 0;

    TComponent::setSize(250, 97);
    PlaceLabel(this, MessageTexts[TEXT_MARK_DESCRIPTION], 0, 0);
    Description = new TEditField(MAPMARK_TEXT, false);
    addChild(Description);
    placeChild(Description, 0, 15, 0, 16);
    PlaceLabel(this, MessageTexts[TEXT_MARK_TYPE], 0, 46);
    for (int32_t i = 0; i < MARK_TYPES; i++) {
        TypeButtons[i] =
            new TIconButton(20 * (i % 7), 61 + 20 * (i / 7), 74 + i, 24, 25, nullptr, 0, nullptr);
        addChild(TypeButtons[i]);
        TypeButtons[i]->setRadioButtonGroup(&TypeGroup);
        if (i == Mark.Type) TypeGroup.Selected = TypeButtons[i];
    }
    Description->setText(Mark.Text);
    Description->setFocus(true);
}
CATCH_FRAME()

void TMarkEditDialog::keyPressed(int32_t Key) { HandleDialogKey(this, Description, Key); }

void TMarkEditDialog::handleEvent(int32_t Identifier) try {
    switch (Identifier) {
    case DIALOG_OK: {
        snprintf(Mark.Text, sizeof(Mark.Text), "%s", Description->getText());
        int32_t Type = 0;
        for (int32_t i = 0; i < MARK_TYPES; i++)
            if (TypeGroup.Selected == TypeButtons[i]) Type = i;
        // An existing mark stays at its own field, whichever field was clicked.
        if (Mark.x != 0 && Mark.y != 0) {
            DeleteMapMark(TCoordinate{Mark.x, Mark.y, Coordinate.z}, Coordinate.z);
            Coordinate.x = Mark.x;
            Coordinate.y = Mark.y;
        }
        AddMapMark(Coordinate, Mark.Text, Type);
        SetActionState(ACTIONSTATE_NONE);
        break;
    }
    case DIALOG_CANCEL:
        SetActionState(ACTIONSTATE_NONE);
        break;
    default:
        UnknownEvent(Identifier);
    }
}
CATCH_FRAME(Identifier)

TModalDialog* CreateMarkEditDialog(TCoordinate* Coordinate, TMapMark* Mark) {
    return FrameBody("Edit Mark", new TMarkEditDialog(Coordinate, Mark), "Ok", DIALOG_OK, CANCEL_BODY);
}
