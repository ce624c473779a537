// The frame window: the receiver of the window messages that the network layer sends it.
#pragma once

#include "platform/EventPump.h"

#include <cstdint>

class CMainFrame : public TWindowMessageTarget {
public:
    // Messages other than the look-up answer are not the frame's concern yet and are dropped.
    void onWindowMessage(uint32_t Message, uintptr_t WParam, uintptr_t LParam) override;

    // The answer of the asynchronous host-name look-up (WM_HOSTNAME_RESOLVED): WParam the look-up's handle,
    // the error in the high 16 bits of LParam. Continues the login with the looked-up address, or with the
    // next login server on an error; an answer outside the look-up state ends the attempt with
    // "Connection failed".
    void OnHostResolved(uintptr_t WParam, uintptr_t LParam);
};
