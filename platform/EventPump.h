// The one thread's event pump: socket readiness and work posted from helper threads, delivered on the pump's
// thread.
#pragma once

#include <cstdint>
#include <functional>

// A receiver of window messages (the frame window); messages reach it only from PumpEvents, on the pump's
// thread.
class TWindowMessageTarget {
public:
    virtual ~TWindowMessageTarget() = default;
    virtual void onWindowMessage(uint32_t Message, uintptr_t WParam, uintptr_t LParam) = 0;
};

// WM_USER + 1: the answer of an asynchronous host-name look-up; WParam the look-up's handle, LParam the error
// code in the high 16 bits and the answer's length in the low 16 bits.
inline constexpr uint32_t WM_HOSTNAME_RESOLVED = 0x401;

// Waits at most TimeoutMs milliseconds (0: not at all; negative: until something happens) in poll() for
// socket readiness or posted work, then delivers everything that is ready: posted work first, in the order
// posted, then the sockets' notifications. Returns the number of deliveries. An exception thrown by a
// notification passes out of PumpEvents; the deliveries not made yet stay ready for the next call.
int PumpEvents(int TimeoutMs);

// Thread-safe: runs Work on the pump's thread during a later PumpEvents, and wakes a pump that waits.
void PostToPumpThread(std::function<void()> Work);

// Async-signal-safe: a PumpEvents that waits returns soon. PrepareSignalWake must have run before the signal
// handler that calls it was installed.
void PrepareSignalWake();
void WakePumpFromSignal();
