// How many pieces of a dragged stack to move, and its factory.
#include "control/DialogsMoveCount.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/graphics.h"
#include "gui/DialogElementsScroll.h"
#include "network/CommunicationSend.h"
#include "screen/MessageTexts.h"
#include "state/Status.h"

namespace {

constexpr int32_t MAX_MOVE_COUNT = 100;

} // namespace

TMoveCountDialog::TMoveCountDialog() try {
    const TObject* Dragged = GetDragSource(&SourcePosition, &SourceX, &SourceY, &SourceZ);
    CHECK_TEXT(Dragged != nullptr && Dragged->Type != 0, "DraggedObject!=0");
    CHECK_TEXT(In(Dragged->Data, 1, MAX_MOVE_COUNT), "In(DraggedObject.Data,1,100)");
    Object = *Dragged;
    MaximumCount = Object.Data;
    GetDropPosition(&DestinationX, &DestinationY, &DestinationZ);
    TComponent::setSize(200, 44);
    PlaceChild(this, MessageLabel(MessageTexts[TEXT_MOVE_COUNT]), 45, 2, 0, 28);
    Slider = PlaceChild(this, new THorizontalScrollBox(1, MaximumCount, MaximumCount, 1, 1, nullptr, 0), 45,
                        32, 0, 12);
}
CATCH_FRAME()

int32_t TMoveCountDialog::getCount() const { return Slider->getBar()->_Value; }

void TMoveCountDialog::setCount(int32_t Value) { Slider->getBar()->setValue(Clamp(Value, 1, MaximumCount)); }

void TMoveCountDialog::draw(int32_t Surface, int32_t X, int32_t Y) {
    Object.Data = getCount();
    const TTextFormat CountFormat{2, 192, 192, 192, RIGHT_ALIGN};
    DrawObject(Surface, X, Y, 32, Object, 0, 0, 0, X, Y, 32, 32, CountFormat, false);
    TParentComponent::draw(Surface, X, Y);
}

void TMoveCountDialog::keyPressed(int32_t Key) try {
    if (Key == KEY_ENTER) return handleEvent(DIALOG_OK);
    if (Key == KEY_ESCAPE) return handleEvent(DIALOG_CANCEL);
    if (Key >= '0' && Key <= '9') {
        setCount(Key - '0' + 10 * LastDigit);
        LastDigit = Key - '0';
        return;
    }
    const int32_t Count = getCount();
    switch (Key) {
    case KEY_PAGE_UP:
        return setCount(Count + 10);
    case KEY_PAGE_DOWN:
        return setCount(Count - 10);
    case KEY_HOME:
        return setCount(MaximumCount);
    case KEY_END:
        return setCount(1);
    case KEY_UP:
        return setCount(Count + 1);
    case KEY_DOWN:
        return setCount(Count - 1);
    default:
        Slider->keyPressed(Key);
    }
}
CATCH_FRAME(Key)

void TMoveCountDialog::handleEvent(int32_t Identifier) try {
    if (Identifier == DIALOG_OK) {
        const int32_t Count = getCount();
        if (Count > 0)
            SendMoveObject(SourceX, SourceY, SourceZ, Object.Type, SourcePosition, DestinationX, DestinationY,
                           DestinationZ, Count);
    }
    SetActionState(ACTIONSTATE_NONE);
}
CATCH_FRAME(Identifier)

TModalDialog* CreateMoveCountDialog() {
    int32_t Position, x, y, z;
    const TObject* Dragged = GetDragSource(&Position, &x, &y, &z);
    if (Dragged == nullptr || Dragged->Type == 0 || !In(Dragged->Data, 1, MAX_MOVE_COUNT)) {
        SetActionState(ACTIONSTATE_NONE);
        return nullptr;
    }
    TMoveCountDialog* Body = new TMoveCountDialog;
    TModalDialog* Frame = new TModalDialog("Move Objects", Body);
    Frame->setOkButton("Ok", TNotification(Body, DIALOG_OK));
    Frame->setCancelButton("Cancel", TNotification(Body, DIALOG_CANCEL));
    return Frame;
}
