// The toolkit's global services: component countdown timers, keyboard shortcuts and the hover help state.
#include "gui/GUIServices.h"

#include "foundation/Container.h"
#include "foundation/Exception.h"
#include "foundation/sysinc.h"
#include "gui/KeyCodes.h"
#include "state/EventHints.h"

#include <climits>

namespace {

struct TShortcut {
    int32_t Key = 0;
    TNotification Notification;
};

// Module state. The timer table lives as long as the program; the shortcut table is emptied at start-up
// (ResetShortcuts); the help state is reset at start-up (ResetHelpState).
struct TServices {
    TDynamicArray<TComponentTimer*> Timers{0, 0, 2, nullptr};
    bool TimersStarted = false;
    int32_t LastUpdate = 0; // millisecond clock of the previous UpdateTimers

    TDynamicArray<TShortcut> Shortcuts{0, 50, 10, TShortcut{}};
    int32_t NumberOfShortcuts = 0;

    int32_t HelpX = 0, HelpY = 0, HelpWidth = 0, HelpHeight = 0;
    int32_t HelpContext = 0;
    bool HelpChanged = false;
};

TServices& Services() {
    static TServices State;
    return State;
}

// A shortcut key as compared: Shift dropped, a lower-case letter raised.
int32_t FoldShortcutKey(int32_t Key) {
    Key &= ~KEY_SHIFT;
    int32_t Character = Key & KEY_CODE_MASK;
    if (Character >= 'a' && Character <= 'z') Key -= 32;
    return Key;
}

} // namespace

// ---- Timers ----

TComponentTimer::TComponentTimer(int32_t Count, TComponent* Target, int32_t Identifier)
    : Remaining(0), Active(false), Notification(Target, Identifier) {
    // A negative count would never reach 0 and tell its target forever.
    if (Count <= 0) return;
    Remaining = Count > INT_MAX / 100 ? INT_MAX : Count * 100;
    RegisterTimer(this);
    Active = true;
}

TComponentTimer::~TComponentTimer() {
    UnregisterTimer(this);
    Active = false;
}

void TComponentTimer::elapse(int32_t Elapsed) try {
    if (!Active) return;
    if (Remaining > 0) Remaining = Elapsed >= Remaining ? 0 : Remaining - Elapsed;
    if (Remaining == 0) {
        UnregisterTimer(this);
        Active = false;
    }
    // Last, from a copy: the target may delete this timer in its handler.
    TNotification Told = Notification;
    Told.fire();
}
CATCH_FRAME(Elapsed)

void RegisterTimer(TComponentTimer* Timer) try {
    TDynamicArray<TComponentTimer*>& Timers = Services().Timers;
    int32_t Index = Timers.getMin();
    while (Index <= Timers.getMax() && Timers.at(Index) != nullptr)
        Index++;
    Timers.at(Index) = Timer;
}
CATCH_FRAME()

void UnregisterTimer(TComponentTimer* Timer) try {
    TDynamicArray<TComponentTimer*>& Timers = Services().Timers;
    for (int32_t Index = Timers.getMin(); Index <= Timers.getMax(); Index++) {
        if (Timers.at(Index) == Timer) {
            Timers.at(Index) = nullptr;
            return;
        }
    }
}
CATCH_FRAME()

void UpdateTimers() try {
    TServices& State = Services();
    int32_t Now = GetMilliseconds();
    if (!State.TimersStarted) {
        State.TimersStarted = true;
        State.LastUpdate = Now;
    }
    int32_t Elapsed = TimeUntil(Now, State.LastUpdate);
    State.LastUpdate = Now;
    TEventScope Scope;
    for (int32_t Index = State.Timers.getMin(); Index <= State.Timers.getMax(); Index++) {
        TComponentTimer* Timer = State.Timers.at(Index);
        if (Timer != nullptr && Timer->Active && Timer->Remaining != 0) Timer->elapse(Elapsed);
    }
}
CATCH_FRAME()

// ---- Shortcuts ----

void ResetShortcuts() { Services().NumberOfShortcuts = 0; }

int32_t GetNumberOfShortcuts() { return Services().NumberOfShortcuts; }

void SetShortcut(int32_t Key, TComponent* Target, int32_t Identifier) try {
    TServices& State = Services();
    int32_t Index = 0;
    while (Index < State.NumberOfShortcuts && State.Shortcuts.at(Index).Key != Key)
        Index++;
    State.Shortcuts.at(Index) = TShortcut{Key, TNotification(Target, Identifier)};
    if (Index == State.NumberOfShortcuts) State.NumberOfShortcuts++;
}
CATCH_FRAME(Key, Identifier)

void RemoveShortcut(int32_t Key) try {
    TServices& State = Services();
    for (int32_t Index = 0; Index < State.NumberOfShortcuts; Index++) {
        if (State.Shortcuts.at(Index).Key == Key) {
            State.NumberOfShortcuts--;
            State.Shortcuts.at(Index) = State.Shortcuts.at(State.NumberOfShortcuts);
            return;
        }
    }
}
CATCH_FRAME(Key)

bool FireShortcut(int32_t Key) try {
    TServices& State = Services();
    int32_t Folded = FoldShortcutKey(Key);
    for (int32_t Index = 0; Index < State.NumberOfShortcuts; Index++) {
        if (State.Shortcuts.at(Index).Key == Folded) {
            // A copy: the handler may change the table.
            TNotification Notification = State.Shortcuts.at(Index).Notification;
            Notification.fire();
            return true;
        }
    }
    return false;
}
CATCH_FRAME(Key)

// ---- Help state ----

void ResetHelpState() {
    TServices& State = Services();
    State.HelpContext = 1;
    State.HelpChanged = false;
    ResetEventHelps();
}

void SetHelpOrigin(int32_t X, int32_t Y) {
    Services().HelpX = X;
    Services().HelpY = Y;
}

void MoveHelpOrigin(int32_t DX, int32_t DY) {
    Services().HelpX += DX;
    Services().HelpY += DY;
}

void SetHelpExtent(int32_t Width, int32_t Height) {
    Services().HelpWidth = Width;
    Services().HelpHeight = Height;
}

void SetHelpContext(int32_t Context) {
    TServices& State = Services();
    if (Context != State.HelpContext) State.HelpChanged = true;
    State.HelpContext = Context;
}

int32_t GetHelpContext() { return Services().HelpContext; }

bool HelpContextChanged() {
    bool Changed = Services().HelpChanged;
    Services().HelpChanged = false;
    return Changed;
}

void GetHelpRectangle(int32_t* X, int32_t* Y, int32_t* Width, int32_t* Height) {
    const TServices& State = Services();
    *X = State.HelpX;
    *Y = State.HelpY;
    *Width = State.HelpWidth;
    *Height = State.HelpHeight;
}
