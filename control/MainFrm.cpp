// The frame window: the receiver of the window messages that the network layer sends it.
#include "control/MainFrm.h"

#include "foundation/Exception.h"
#include "network/Network.h"

void CMainFrame::onWindowMessage(uint32_t Message, uintptr_t WParam, uintptr_t LParam) {
    if (Message == WM_HOSTNAME_RESOLVED) OnHostResolved(WParam, LParam);
}

void CMainFrame::OnHostResolved(uintptr_t WParam, uintptr_t LParam) try {
    ReceiveHostnameAnswer(WParam, LParam);
}
CATCH_FRAME()
