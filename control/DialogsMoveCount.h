// How many pieces of a dragged stack to move, and its factory.
#pragma once

#include "control/DialogsFrame.h"
#include "state/Objects.h"

#include <cstdint>

class THorizontalScrollBox;

// How many pieces of the dragged stack to move; the drag source and drop place are read once, at building.
class TMoveCountDialog : public TParentComponent {
public:
    TMoveCountDialog(); // checks "DraggedObject!=0" and "In(DraggedObject.Data,1,100)"

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 sends the move; every identifier ends
    int32_t getCount() const;

    TObject Object;
    int32_t SourcePosition = 0;
    int32_t SourceX = 0, SourceY = 0, SourceZ = 0;
    int32_t DestinationX = 0, DestinationY = 0, DestinationZ = 0;
    THorizontalScrollBox* Slider = nullptr;
    int32_t LastDigit = 0;
    int32_t MaximumCount = 1;

private:
    void setCount(int32_t Value);
};

// NULL (and the action state none) unless the drag source is an object of 1 to 100 pieces.
TModalDialog* CreateMoveCountDialog();
