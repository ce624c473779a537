// The event pump: poll() over the registered sockets and a wake-up descriptor for work posted by helper
// threads.
#include "platform/EventPump.h"

#include "platform/EventPumpInternal.h"
#include "platform/Socket.h"

#include <cerrno>
#include <csignal>
#include <deque>
#include <memory>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// Posted work; shared with helper threads that may outlive a pump pass, so it is held by shared pointers.
struct TPostQueue {
    std::mutex Lock;
    std::deque<std::function<void()>> Work;
    int WakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);

    ~TPostQueue() {
        if (WakeFd >= 0) close(WakeFd);
    }
    // An eventfd counter only needs to become non-zero; a failed write means it already is.
    void wake() {
        uint64_t One = 1;
        ssize_t Written = write(WakeFd, &One, sizeof(One));
        (void)Written;
    }
    void drainWake() {
        uint64_t Count;
        ssize_t Read = read(WakeFd, &Count, sizeof(Count));
        (void)Read;
    }
};

// Never destroyed: a detached look-up thread may still post while the program ends.
std::shared_ptr<TPostQueue> PostQueue() {
    static auto* Queue = new std::shared_ptr<TPostQueue>(std::make_shared<TPostQueue>());
    return *Queue;
}

// The post queue's wake-up descriptor for signal handlers, which may not touch the queue itself.
volatile sig_atomic_t SignalWakeFd = -1;

struct TRegisteredSocket {
    uint64_t Id;
    TAsyncSocket* Socket;
};

// Pump state, for the life of the program. The poll lists are kept between passes so that a pass allocates
// nothing.
struct {
    std::vector<TRegisteredSocket> Sockets;
    uint64_t NextId = 1;
    std::vector<pollfd> Fds;
    std::vector<uint64_t> Ids;
} Pump;

// Lends the kept poll lists, emptied, to one pass and takes them back at its end; a pass nested in a
// notification finds none lent and makes its own.
struct TPollLists {
    TPollLists() : Fds(std::move(Pump.Fds)), Ids(std::move(Pump.Ids)) {
        Fds.clear();
        Ids.clear();
    }
    ~TPollLists() {
        Pump.Fds = std::move(Fds);
        Pump.Ids = std::move(Ids);
    }
    TPollLists(const TPollLists&) = delete;
    TPollLists& operator=(const TPollLists&) = delete;

    std::vector<pollfd> Fds;
    std::vector<uint64_t> Ids; // of the sockets behind Fds[1...]
};

TAsyncSocket* FindSocket(uint64_t Id) {
    for (const TRegisteredSocket& Entry : Pump.Sockets)
        if (Entry.Id == Id) return Entry.Socket;
    return nullptr;
}

// Runs the work posted so far, one item at a time, so work posted meanwhile waits for the next pass.
int RunPostedWork() {
    std::shared_ptr<TPostQueue> Queue = PostQueue();
    size_t Count;
    {
        std::lock_guard<std::mutex> Guard(Queue->Lock);
        Count = Queue->Work.size();
    }
    for (size_t i = 0; i < Count; i++) {
        std::function<void()> Work;
        {
            std::lock_guard<std::mutex> Guard(Queue->Lock);
            Work = std::move(Queue->Work.front());
            Queue->Work.pop_front();
        }
        Work();
    }
    return static_cast<int>(Count);
}

bool HasPostedWork() {
    std::shared_ptr<TPostQueue> Queue = PostQueue();
    std::lock_guard<std::mutex> Guard(Queue->Lock);
    return !Queue->Work.empty();
}

} // namespace

uint64_t RegisterPumpSocket(TAsyncSocket* Socket) {
    uint64_t Id = Pump.NextId++;
    Pump.Sockets.push_back({Id, Socket});
    return Id;
}

void UnregisterPumpSocket(uint64_t Id) {
    for (size_t i = 0; i < Pump.Sockets.size(); i++) {
        if (Pump.Sockets[i].Id == Id) {
            Pump.Sockets.erase(Pump.Sockets.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

void PrepareSignalWake() { SignalWakeFd = PostQueue()->WakeFd; }

void WakePumpFromSignal() {
    const int Fd = SignalWakeFd;
    if (Fd < 0) return;
    const uint64_t One = 1;
    const ssize_t Written = write(Fd, &One, sizeof(One));
    (void)Written; // a full counter wakes the pump all the same
}

void PostToPumpThread(std::function<void()> Work) {
    std::shared_ptr<TPostQueue> Queue = PostQueue();
    {
        std::lock_guard<std::mutex> Guard(Queue->Lock);
        Queue->Work.push_back(std::move(Work));
    }
    Queue->wake();
}

int PumpEvents(int TimeoutMs) {
    std::shared_ptr<TPostQueue> Queue = PostQueue();
    TPollLists Lists;
    std::vector<pollfd>& Fds = Lists.Fds;
    std::vector<uint64_t>& Ids = Lists.Ids;
    Fds.push_back({Queue->WakeFd, POLLIN, 0});
    for (const TRegisteredSocket& Entry : Pump.Sockets) {
        short Events = Entry.Socket->pollEvents();
        if (Events == 0) continue;
        Fds.push_back({Entry.Socket->getHandle(), Events, 0});
        Ids.push_back(Entry.Id);
    }
    if (HasPostedWork()) TimeoutMs = 0;
    int Ready = poll(Fds.data(), Fds.size(), TimeoutMs);
    if (Ready < 0 && errno != EINTR) return 0;
    if (Fds[0].revents != 0) Queue->drainWake();
    int Delivered = RunPostedWork();
    for (size_t i = 1; Ready > 0 && i < Fds.size(); i++) {
        if (Fds[i].revents == 0) continue;
        // A notification may have deleted this socket or closed its descriptor: ask the registry again.
        TAsyncSocket* Socket = FindSocket(Ids[i - 1]);
        if (Socket == nullptr || Socket->getHandle() != Fds[i].fd) continue;
        if (Socket->handleEvents(Fds[i].revents)) Delivered++;
    }
    return Delivered;
}
