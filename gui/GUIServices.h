// The toolkit's global services: component countdown timers, the keyboard shortcut table and the hover
// help state.
#pragma once

#include "gui/GUI.h"

#include <cstdint>

// A countdown that tells its target on every client tick until it runs out. The timer table holds it
// while it is active; the owner (usually its target) deletes it, also from within the target's handler.
class TComponentTimer {
public:
    // Count tenths of a second; Count 0 (or less) makes an inactive, unregistered timer that never fires.
    TComponentTimer(int32_t Count, TComponent* Target, int32_t Identifier);
    virtual ~TComponentTimer();
    TComponentTimer(const TComponentTimer&) = delete;
    TComponentTimer& operator=(const TComponentTimer&) = delete;

    int32_t getRemaining() const { return Remaining / 100; } // tenths of a second, truncated
    bool isExpired() const { return !Active || Remaining == 0; }
    // Counts Elapsed milliseconds down, stopping at 0, and tells the target: once per call while the
    // countdown runs and once more on the call that reaches 0, after which the timer is inactive. Only
    // UpdateTimers calls it.
    void elapse(int32_t Elapsed);

    int32_t Remaining; // milliseconds, never below 0
    bool Active;       // true while counting and registered
    TNotification Notification;
};

// The timer table: cells hold registered timers or NULL; it does not own them.
void RegisterTimer(TComponentTimer* Timer);   // into the lowest free cell
void UnregisterTimer(TComponentTimer* Timer); // nothing when not registered
// Once per 100 ms tick: passes the milliseconds since the previous call (0 on the first) to every active
// timer, lowest cell first. Timers registered or unregistered by a handler are seen or skipped from the
// next cell on.
void UpdateTimers();

// Key codes: the character or key number in the low 9 bits, 0x200 Shift, 0x400 Ctrl, 0x800 Alt.
void ResetShortcuts(); // empties the table (start-up)
// Replaces the binding of an entry with exactly this Key, else appends one. A letter should be given in
// upper case: FireShortcut folds what it is asked for to upper case and drops Shift.
void SetShortcut(int32_t Key, TComponent* Target, int32_t Identifier);
// The last entry takes the removed one's place; nothing when the key is absent.
void RemoveShortcut(int32_t Key);
// Fires the first entry matching Key without its Shift bit and with a lower-case letter raised; true when
// one fired.
bool FireShortcut(int32_t Key);
int32_t GetNumberOfShortcuts();

// The help context under the pointer and the screen rectangle of the element it belongs to.
// Reset at start-up: context 1, changed flag clear, and the queue of pending event hints emptied.
void ResetHelpState();
void SetHelpOrigin(int32_t X, int32_t Y);
void MoveHelpOrigin(int32_t DX, int32_t DY);
void SetHelpExtent(int32_t Width, int32_t Height);
// Sets the changed flag when Context differs from the current number.
void SetHelpContext(int32_t Context);
int32_t GetHelpContext();
bool HelpContextChanged(); // returns the changed flag and clears it
void GetHelpRectangle(int32_t* X, int32_t* Y, int32_t* Width, int32_t* Height);
