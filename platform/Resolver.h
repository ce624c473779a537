// Asynchronous host-name look-up on a helper thread, answered through the event pump as a window message.
#pragma once

#include "platform/EventPump.h"

#include <cstdint>
#include <memory>
#include <string>

// The answer of one look-up: Error 0 and the first IPv4 address as dotted text, or a Windows Sockets code.
struct THostLookupResult {
    int Error = 0;
    std::string Address;
};

// Looks names up. resolve() runs on a helper thread and may block; tests install a fake.
class THostResolver {
public:
    virtual ~THostResolver() = default;
    virtual THostLookupResult resolve(const std::string& HostName) = 0;
};

// The system's resolver: getaddrinfo for IPv4 stream addresses.
class TSystemResolver : public THostResolver {
public:
    THostLookupResult resolve(const std::string& HostName) override;
};

// Installs the resolver used by look-ups started from now on (NULL: the system's); returns the one before.
std::shared_ptr<THostResolver> SetHostResolver(std::shared_ptr<THostResolver> Resolver);

using THostLookupHandle = uint32_t; // 0: none

// Starts looking HostName up. The answer comes during a later PumpEvents: the address text, terminated and
// cut to BufferSize - 1 bytes, is written to Buffer, then Target gets WM_HOSTNAME_RESOLVED with the handle
// and (error << 16 | text length). Buffer and Target must stay valid until the answer or the cancel. Returns
// the handle, or 0 with Error set when the look-up cannot be started.
THostLookupHandle StartHostLookup(TWindowMessageTarget* Target, const char* HostName, char* Buffer,
                                  int BufferSize, int& Error);

// Forgets a pending look-up: its answer, whenever it comes, is dropped. False when it was not pending.
bool CancelHostLookup(THostLookupHandle Handle);

// Number of look-ups started and neither answered nor cancelled.
int GetPendingHostLookups();
