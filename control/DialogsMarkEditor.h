// The automap mark editor: a description and one of 14 icon types for a new mark or a copy of an existing
// one; its factory.
#pragma once

#include "control/DialogsFrame.h"
#include "gui/DialogElements.h"
#include "state/MapAutomap.h"

#include <cstdint>

class TMarkEditDialog : public TParentComponent {
public:
    // Copies both; Mark NULL for a new mark. Checks "_Coordinate != NULL".
    TMarkEditDialog(TCoordinate* _Coordinate, TMapMark* _Mark);
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 stores the mark, 2 ends

    TCoordinate Coordinate;
    TMapMark Mark;
    TEditField* Description;
    TRadioButtonGroup TypeGroup;
    TIconButton* TypeButtons[14];
};

TModalDialog* CreateMarkEditDialog(TCoordinate* Coordinate, TMapMark* Mark);
