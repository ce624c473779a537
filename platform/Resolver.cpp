// Host-name look-ups: one helper thread per look-up, the answer posted to the pump's thread.
#include "platform/Resolver.h"

#include "platform/SocketErrors.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <netdb.h>
#include <system_error>
#include <thread>
#include <unordered_map>

namespace {

struct TPendingLookup {
    TWindowMessageTarget* Target;
    char* Buffer;
    int BufferSize;
};

// Look-up state of the pump's thread, for the life of the program; helper threads never touch it.
struct {
    std::shared_ptr<THostResolver> Resolver;
    std::unordered_map<THostLookupHandle, TPendingLookup> Pending;
    THostLookupHandle LastHandle = 0;
} Lookups;

std::shared_ptr<THostResolver> CurrentResolver() {
    if (!Lookups.Resolver) Lookups.Resolver = std::make_shared<TSystemResolver>();
    return Lookups.Resolver;
}

// Runs on the pump's thread: a cancelled look-up's answer is dropped here.
void DeliverAnswer(THostLookupHandle Handle, const THostLookupResult& Result) {
    auto Entry = Lookups.Pending.find(Handle);
    if (Entry == Lookups.Pending.end()) return;
    TPendingLookup Lookup = Entry->second;
    Lookups.Pending.erase(Entry);
    size_t Length = 0;
    if (Lookup.Buffer != nullptr && Lookup.BufferSize > 0) {
        Length = Result.Error == 0
                     ? std::min(Result.Address.size(), static_cast<size_t>(Lookup.BufferSize - 1))
                     : 0;
        std::memcpy(Lookup.Buffer, Result.Address.data(), Length);
        Lookup.Buffer[Length] = 0;
    }
    uintptr_t LParam = (static_cast<uintptr_t>(Result.Error & 0xFFFF) << 16) | (Length & 0xFFFF);
    Lookup.Target->onWindowMessage(WM_HOSTNAME_RESOLVED, Handle, LParam);
}

} // namespace

THostLookupResult TSystemResolver::resolve(const std::string& HostName) {
    addrinfo Hints{};
    Hints.ai_family = AF_INET;
    Hints.ai_socktype = SOCK_STREAM;
    addrinfo* Answer = nullptr;
    int Code = getaddrinfo(HostName.c_str(), nullptr, &Hints, &Answer);
    THostLookupResult Result;
    if (Code != 0) {
        Result.Error = LookupErrorFromResolver(Code, errno);
        return Result;
    }
    char Text[INET_ADDRSTRLEN] = {};
    const sockaddr_in* First = reinterpret_cast<const sockaddr_in*>(Answer->ai_addr);
    if (Answer->ai_family == AF_INET && inet_ntop(AF_INET, &First->sin_addr, Text, sizeof(Text)) != nullptr)
        Result.Address = Text;
    else
        Result.Error = WSANO_DATA;
    freeaddrinfo(Answer);
    return Result;
}

std::shared_ptr<THostResolver> SetHostResolver(std::shared_ptr<THostResolver> Resolver) {
    std::shared_ptr<THostResolver> Previous = CurrentResolver();
    Lookups.Resolver = std::move(Resolver);
    return Previous;
}

THostLookupHandle StartHostLookup(TWindowMessageTarget* Target, const char* HostName, char* Buffer,
                                  int BufferSize, int& Error) {
    Error = 0;
    if (Target == nullptr || HostName == nullptr) {
        Error = WSAEFAULT;
        return 0;
    }
    THostLookupHandle Handle = ++Lookups.LastHandle;
    if (Handle == 0) Handle = ++Lookups.LastHandle;
    std::shared_ptr<THostResolver> Resolver = CurrentResolver();
    std::string Name(HostName);
    try {
        // Detached: a look-up that blocks must not hold up the program's end; its late answer is dropped.
        std::thread([Resolver, Name, Handle] {
            THostLookupResult Result = Resolver->resolve(Name);
            PostToPumpThread([Handle, Result] { DeliverAnswer(Handle, Result); });
        }).detach();
    } catch (const std::system_error&) {
        Error = WSAENOBUFS;
        return 0;
    }
    Lookups.Pending[Handle] = {Target, Buffer, BufferSize};
    return Handle;
}

bool CancelHostLookup(THostLookupHandle Handle) { return Lookups.Pending.erase(Handle) > 0; }

int GetPendingHostLookups() { return static_cast<int>(Lookups.Pending.size()); }
