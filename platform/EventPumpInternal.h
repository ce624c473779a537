// The pump's registry of sockets, shared by the socket class and the pump only.
#pragma once

#include <cstdint>

class TAsyncSocket;

// Registered sockets are polled by every PumpEvents; the id tells a socket deleted during a pass from a new
// one at the same address.
uint64_t RegisterPumpSocket(TAsyncSocket* Socket);
void UnregisterPumpSocket(uint64_t Id);
