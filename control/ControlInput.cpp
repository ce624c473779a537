// The controller's input routing: every mouse and key event of the frame window goes to the modal window or
// the main window by the action state, which these handlers also advance.
#include "control/Control.h"

#include "foundation/Exception.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "screen/ContextMenus.h"
#include "screen/Help.h"
#include "screen/MainWindow.h"
#include "state/Preferences.h"
#include "state/Status.h"

namespace {

// Module state for the run.
struct {
    int32_t LastMouseMoveTick = 0; // tick of the last move; 0 after any button, wheel or key event
    bool ShowFramesPerSecond = false;
} Input;

// Shows and hides the frame rate.
constexpr int32_t KEY_ALT_F8 = KEY_ALT | (KEY_F1 + 7);

TMainWindow* Root() {
    TMainWindow* Window = GetMainWindow();
    CHECK_TEXT(Window != nullptr, "MainWindow!=NULL");
    return Window;
}

bool IsModalState() {
    const int32_t State = GetActionState();
    return State == ACTIONSTATE_DIALOG || State == ACTIONSTATE_CONTEXTMENU;
}

// The modal window of states 10 and 11, which must exist.
TComponent* Modal() {
    TComponent* Window = GetModalWindow();
    CHECK_TEXT(Window != nullptr, "ModalWindow!=NULL");
    return Window;
}

// Deletes the modal window once the running handlers are done and gives the console the keyboard back.
void CloseModalWindow() {
    DeleteLater(GetModalWindow());
    SetModalWindow(nullptr);
    Root()->activateConsoleInput(true);
}

// Leaving help mode by a button: the popup goes, the console is not activated.
void DropHelpPopup() {
    if (GetModalWindow() != nullptr) DeleteLater(GetModalWindow());
    SetModalWindow(nullptr);
}

bool ClosesModal(int32_t State) {
    return State == ACTIONSTATE_NONE || State == ACTIONSTATE_USEWITH || State == ACTIONSTATE_TRADEWITH;
}

void EndEvent() {
    Input.LastMouseMoveTick = 0;
    SetTooltip(nullptr);
}

void HelpMove(int32_t x, int32_t y) {
    SetHelpOrigin(0, 0);
    SetHelpExtent(0, 0);
    TMainWindow* Window = Root();
    Window->getHelpContext(x, y);
    TComponent* Popup = GetModalWindow();
    if (HelpContextChanged()) {
        if (Popup != nullptr) DeleteLater(Popup);
        Popup = nullptr;
        if (GetHelpContext() != 0) Popup = new THelpPopup(GetCurrentHelpText());
    }
    if (Popup != nullptr) PlaceHelpPopupInWindow(Popup, Window);
    SetModalWindow(Popup);
}

// LeftButtonDown and LeftButtonDoubleClick: the component's operation differs.
template <typename Press> void LeftPress(int32_t x, int32_t y, uint32_t Keys, Press&& ToComponent) {
    switch (GetActionState()) {
    case ACTIONSTATE_NONE:
        SetMousePressPosition(x, y);
        ToComponent(Root(), x, y, Keys);
        SetActionState(ACTIONSTATE_LEFTBUTTON);
        break;
    case ACTIONSTATE_RIGHTBUTTON:
        if (GetClassicControl()) SetActionState(ACTIONSTATE_BOTHBUTTONS);
        break;
    case ACTIONSTATE_DIALOG:
    case ACTIONSTATE_CONTEXTMENU: {
        TComponent* Window = Modal();
        ToComponent(Window, x - Window->X, y - Window->Y, Keys);
        break;
    }
    default:
        break;
    }
}

} // namespace

bool GetShowFramesPerSecond() { return Input.ShowFramesPerSecond; }
int32_t GetLastMouseMoveTick() { return Input.LastMouseMoveTick; }

void MouseMove(int32_t x, int32_t y) {
    TEventScope Scope;
    try {
        SetMousePosition(x, y);
        SetMouseCursor(1);
        switch (GetActionState()) {
        case ACTIONSTATE_LEFTBUTTON:
            StartDragIfMoved(x, y);
            Root()->mouseMove(x, y);
            break;
        case ACTIONSTATE_HELP:
            HelpMove(x, y);
            break;
        case ACTIONSTATE_DIALOG:
        case ACTIONSTATE_CONTEXTMENU: {
            TComponent* Window = GetModalWindow();
            CHECK_TEXT(Window != nullptr, "ModalWindow!=NULL", GetActionState());
            Window->mouseMove(x - Window->X, y - Window->Y);
            break;
        }
        default:
            Root()->mouseMove(x, y);
            break;
        }
        Input.LastMouseMoveTick = GetTickCounter();
        SetTooltip(nullptr);
    }
    CATCH_FRAME(GetActionState())
}

void LeftButtonDown(int32_t x, int32_t y, uint32_t Keys) try {
    TEventScope Scope;
    LeftPress(x, y, Keys,
              [](TComponent* C, int32_t X, int32_t Y, uint32_t K) { C->leftButtonDown(X, Y, K); });
    SetHeldMouseEvent(6, GetTickCounter());
    EndEvent();
}
CATCH_FRAME(x, y)

void LeftButtonDoubleClick(int32_t x, int32_t y, uint32_t Keys) try {
    TEventScope Scope;
    const bool WasModal = IsModalState();
    LeftPress(x, y, Keys,
              [](TComponent* C, int32_t X, int32_t Y, uint32_t K) { C->leftDoubleClick(X, Y, K); });
    if (WasModal && ClosesModal(GetActionState())) CloseModalWindow();
    SetHeldMouseEvent(6, GetTickCounter());
    EndEvent();
}
CATCH_FRAME(x, y)

void LeftButtonUp(int32_t x, int32_t y, uint32_t Keys) try {
    TEventScope Scope;
    TMainWindow* Window = Root();
    switch (GetActionState()) {
    case ACTIONSTATE_NONE:
        if (Window->getCapture() != nullptr) {
            Window->leftButtonUp(x, y, Keys);
            Window->cancelCapture();
        }
        break;
    case ACTIONSTATE_LEFTBUTTON:
    case ACTIONSTATE_DRAG:
    case ACTIONSTATE_USEWITH:
    case ACTIONSTATE_TRADEWITH:
        Window->leftButtonUp(x, y, Keys);
        SetActionState(ACTIONSTATE_NONE);
        break;
    case ACTIONSTATE_BOTHBUTTONS:
        SetActionState(ACTIONSTATE_BOTHBUTTONS_LEFTUP);
        break;
    case ACTIONSTATE_BOTHBUTTONS_RIGHTUP:
        Window->leftButtonUp(x, y, KEY_SHIFT);
        SetActionState(ACTIONSTATE_NONE);
        break;
    case ACTIONSTATE_HELP:
        DropHelpPopup();
        SetActionState(ACTIONSTATE_NONE);
        break;
    case ACTIONSTATE_DIALOG:
    case ACTIONSTATE_CONTEXTMENU: {
        TComponent* Popup = Modal();
        Popup->leftButtonUp(x - Popup->X, y - Popup->Y, Keys);
        if (ClosesModal(GetActionState())) CloseModalWindow();
        break;
    }
    default:
        break;
    }
    SetHeldMouseEvent(0, 0);
    EndEvent();
}
CATCH_FRAME(x, y)

void RightButtonDown(int32_t, int32_t, uint32_t) try {
    TEventScope Scope;
    const int32_t State = GetActionState();
    if (State == ACTIONSTATE_NONE)
        SetActionState(ACTIONSTATE_RIGHTBUTTON);
    else if (State == ACTIONSTATE_LEFTBUTTON && GetClassicControl())
        SetActionState(ACTIONSTATE_BOTHBUTTONS);
    EndEvent();
}
CATCH_FRAME()

void RightButtonUp(int32_t x, int32_t y, uint32_t Keys) try {
    TEventScope Scope;
    TMainWindow* Window = Root();
    switch (GetActionState()) {
    case ACTIONSTATE_NONE:
        if (Window->getCapture() != nullptr) Window->cancelCapture();
        break;
    case ACTIONSTATE_RIGHTBUTTON:
        Window->rightClick(x, y, Keys);
        SetActionState(ACTIONSTATE_NONE);
        break;
    case ACTIONSTATE_BOTHBUTTONS:
        SetActionState(ACTIONSTATE_BOTHBUTTONS_RIGHTUP);
        break;
    case ACTIONSTATE_BOTHBUTTONS_LEFTUP:
        Window->leftButtonUp(x, y, KEY_SHIFT);
        SetActionState(ACTIONSTATE_NONE);
        break;
    case ACTIONSTATE_USEWITH:
    case ACTIONSTATE_TRADEWITH:
        SetActionState(ACTIONSTATE_NONE);
        break;
    case ACTIONSTATE_HELP:
        DropHelpPopup();
        SetActionState(ACTIONSTATE_NONE);
        break;
    case ACTIONSTATE_DIALOG:
    case ACTIONSTATE_CONTEXTMENU: {
        TComponent* Popup = Modal();
        Popup->rightClick(x - Popup->X, y - Popup->Y, Keys);
        if (GetActionState() == ACTIONSTATE_NONE) CloseModalWindow();
        break;
    }
    default:
        break;
    }
    EndEvent();
}
CATCH_FRAME(x, y)

void MouseWheel(int32_t x, int32_t y, int32_t Direction) try {
    TEventScope Scope;
    const uint32_t Kind = static_cast<uint32_t>(Direction);
    if (IsModalState()) {
        TComponent* Window = Modal();
        Window->mouseScroll(x - Window->X, y - Window->Y, Kind);
    } else if (GetActionState() != ACTIONSTATE_HELP) {
        Root()->mouseScroll(x, y, Kind);
    }
    EndEvent();
}
CATCH_FRAME(x, y)

void KeyPressed(int32_t Key) try {
    TEventScope Scope;
    if (Key == KEY_ALT_F8) {
        Input.ShowFramesPerSecond = !Input.ShowFramesPerSecond;
        return;
    }
    if (GetActionState() == ACTIONSTATE_HELP) SetActionState(ACTIONSTATE_NONE);
    if (TComponent* Window = GetModalWindow(); Window != nullptr) {
        Window->keyPressed(Key);
        if (GetActionState() == ACTIONSTATE_NONE) CloseModalWindow();
    } else if (!FireShortcut(Key)) {
        Root()->keyPressed(Key);
    }
    EndEvent();
}
CATCH_FRAME(Key)
