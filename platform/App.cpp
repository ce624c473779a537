// The application's message loop over SDL and the event pump, and the process-level services.
#include "platform/App.h"

#include "platform/AppWindow.h"
#include "platform/EventPump.h"
#include "platform/Window.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <pthread.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Loop state for the life of the process; reset by each RunMessageLoop.
struct {
    TAppWindow* Window = nullptr;
    bool QuitPosted = false;
    int32_t ExitCode = 0;
    bool InIdle = false;
    int32_t DeliveryDepth = 0; // > 0 while socket notifications or window messages are being delivered
    std::string CommandLine;
} Loop;

// Signals for the life of the process: recorded by the handlers, on whichever thread the system picks, and
// taken by the message loop. Lock-free atomics, so that a handler on a helper thread and the loop agree.
std::atomic<int> EndSignal{0};        // the end request not taken yet: its signal; 0 for none
std::atomic<int> WaitsOutsideLoop{0}; // > 0 while the process waits where the loop cannot take a request
static_assert(std::atomic<int>::is_always_lock_free);
volatile sig_atomic_t InFault = 0;
void (*EndRequestHandler)() = nullptr;
TFaultWriter FaultWriter = nullptr;
// The process that waits for a message box: set only while it shows one, read in the children it forks.
volatile pid_t BoxParent = 0;

// Async-signal-safe: ends the process as the unhandled signal would. Inside the signal's own handler the
// signal stays blocked until the handler returns; the end comes then.
void EndAtOnce(int Signal) {
    struct sigaction Default {};
    Default.sa_handler = SIG_DFL;
    sigemptyset(&Default.sa_mask);
    sigaction(Signal, &Default, nullptr);
    raise(Signal);
}

extern "C" void OnEndSignal(int Signal) {
    const int Saved = errno; // the interrupted code may be reading it
    EndSignal.store(Signal);
    if (WaitsOutsideLoop.load() > 0) EndAtOnce(Signal);
    WakePumpFromSignal();
    errno = Saved;
}

// Whether si_pid names the sender for a sent signal's code (Linux): kill, sigqueue, tkill and a message
// queue's notification fill it in; a timer's, an I/O completion's and the like put other values there.
bool NamesSender(int Code) {
    return Code == SI_USER || Code == SI_QUEUE || Code == SI_TKILL || Code == SI_MESGQ;
}

extern "C" void OnProcessorFault(int Signal, siginfo_t* Info, void*) {
    if (InFault == 0) {
        InFault = 1;
        // A code of 0 or below: sent by kill, sigqueue, raise, a timer or the like, not raised by the
        // processor.
        const bool Sent = Info->si_code <= 0;
        const TFaultSignal Fault{Signal, Sent,
                                 NamesSender(Info->si_code) ? static_cast<int32_t>(Info->si_pid) : 0,
                                 Sent ? 0 : reinterpret_cast<uintptr_t>(Info->si_addr)};
        if (FaultWriter != nullptr) FaultWriter(Fault);
    }
    _exit(1);
}

// In the child of every fork: a child forked while a message box waits (the window system shows its box from
// a process of its own) is ended by the system when its parent ends, however that ends, so that no box
// outlives the program. It writes no crash report: a fault there ends only that process, and the box then
// counts as not shown.
extern "C" void OnForkInChild() {
    const pid_t Parent = BoxParent;
    if (Parent == 0) return;
    BoxParent = 0;
    FaultWriter = nullptr;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != Parent) _exit(1); // the parent ended before the line above
}

// The end request of a signal, on the loop's thread.
void TakeEndRequest() {
    if (EndSignal.exchange(0) != 0 && EndRequestHandler != nullptr) EndRequestHandler();
}

// Counts a delivery for the frame wait's nesting test, also when a handler throws.
class TDelivery {
public:
    TDelivery() { Loop.DeliveryDepth++; }
    ~TDelivery() { Loop.DeliveryDepth--; }
    TDelivery(const TDelivery&) = delete;
    TDelivery& operator=(const TDelivery&) = delete;
};

void DeliverPumpEvents(int TimeoutMs) {
    TDelivery Delivery;
    PumpEvents(TimeoutMs);
}

void DeliverWindowEvents() {
    TDelivery Delivery;
    SDL_Event Event;
    while (!Loop.QuitPosted && SDL_PollEvent(&Event) != 0)
        if (Loop.Window != nullptr) Loop.Window->handleEvent(Event);
    if (Loop.Window == nullptr) return;
    Loop.Window->deliverPosted();
    Loop.Window->fireTimers(SDL_GetTicks());
}

// Latin-1 to UTF-8 for the window system.
std::string Utf8Of(const char* Text) {
    std::string Result;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(Text); *p != 0; p++) {
        if (*p < 0x80) {
            Result += static_cast<char>(*p);
        } else {
            Result += static_cast<char>(0xC0 | *p >> 6);
            Result += static_cast<char>(0x80 | (*p & 0x3F));
        }
    }
    return Result;
}

// Whether the running video driver draws without showing anything (offscreen, dummy): the window system's
// message box would not be seen there, and SDL's try with another system's box may crash.
bool DriverShowsNothing() {
    const char* Driver = SDL_GetCurrentVideoDriver();
    return Driver != nullptr && (strcmp(Driver, "offscreen") == 0 || strcmp(Driver, "dummy") == 0);
}

// The window system's box; false when it cannot be shown.
bool ShowBox(const std::string& Caption, const std::string& Text) {
    static const bool ForksWatched = pthread_atfork(nullptr, nullptr, OnForkInChild) == 0;
    (void)ForksWatched; // without the watch a box may outlive an ended program, but it still shows
    const TWaitOutsideLoop Wait;
    BoxParent = getpid();
    const bool Shown =
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, Caption.c_str(), Text.c_str(), nullptr) == 0;
    BoxParent = 0;
    return Shown;
}

} // namespace

void SetMainAppWindow(TAppWindow* Window) { Loop.Window = Window; }
TAppWindow* GetMainAppWindow() { return Loop.Window; }

int32_t RunMessageLoop(TIdleHandler& Idle) {
    Loop.QuitPosted = false;
    Loop.ExitCode = 0;
    int32_t IdleCount = 0;
    for (;;) {
        DeliverPumpEvents(0);
        TakeEndRequest();
        DeliverWindowEvents();
        if (Loop.QuitPosted) return Loop.ExitCode;
        Loop.InIdle = true;
        bool Again;
        try {
            Again = Idle.onIdle(IdleCount++);
        } catch (...) {
            Loop.InIdle = false;
            throw;
        }
        Loop.InIdle = false;
        if (Loop.QuitPosted) return Loop.ExitCode;
        if (!Again) {
            // Nothing to do until a message: wait in poll() for the sockets, waking for timers and input.
            const uint32_t Wait =
                Loop.Window != nullptr ? Loop.Window->timeToNextTimer(SDL_GetTicks(), 10) : 10;
            DeliverPumpEvents(static_cast<int>(Wait));
            IdleCount = 0;
        }
    }
}

void PostQuitMessage(int32_t ExitCode) {
    Loop.QuitPosted = true;
    Loop.ExitCode = ExitCode;
}

void WaitForFrame(uint32_t Milliseconds) {
    if (!Loop.InIdle || Loop.DeliveryDepth > 0) {
        SDL_Delay(Milliseconds);
        return;
    }
    const uint32_t Start = SDL_GetTicks();
    for (;;) {
        const uint32_t Passed = SDL_GetTicks() - Start;
        if (Passed >= Milliseconds) return;
        DeliverPumpEvents(static_cast<int>(Milliseconds - Passed));
    }
}

void SetCommandLine(int Argc, char** Argv) {
    Loop.CommandLine.clear();
    for (int i = 1; i < Argc; i++) {
        if (i > 1) Loop.CommandLine += ' ';
        Loop.CommandLine += Argv[i];
    }
}

const std::string& GetCommandLine() { return Loop.CommandLine; }

bool InitWindowSystem() {
    // One window: its close request is the program's to answer, not a request to quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (!InitVideoPlatform()) return false;
    const char* Asked = getenv("SDL_VIDEODRIVER");
    if (!DriverShowsNothing() || (Asked != nullptr && *Asked != 0)) return true;
    ExitVideoPlatform();
    SDL_SetError("DISPLAY and WAYLAND_DISPLAY name no display that answers");
    return false;
}

void HandleEndRequests(void (*Handler)()) {
    EndRequestHandler = Handler;
    PrepareSignalWake();
    struct sigaction Action {};
    Action.sa_handler = OnEndSignal;
    sigemptyset(&Action.sa_mask);
    sigaddset(&Action.sa_mask, SIGTERM);
    sigaddset(&Action.sa_mask, SIGHUP);
    Action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &Action, nullptr);
    sigaction(SIGHUP, &Action, nullptr);
}

TWaitOutsideLoop::TWaitOutsideLoop() {
    WaitsOutsideLoop.fetch_add(1);
    // After the mark: a request recorded from now on sees it, and one recorded before is seen here.
    const int Pending = EndSignal.load();
    if (Pending != 0) EndAtOnce(Pending);
}

TWaitOutsideLoop::~TWaitOutsideLoop() { WaitsOutsideLoop.fetch_sub(1); }

void HandleProcessorFaults(TFaultWriter Writer) {
    FaultWriter = Writer;
    // Never freed: a fault may come until the process ends. A stack overflow has no stack left to run on.
    static std::unique_ptr<char[]> FaultStack;
    const size_t Size = std::max<size_t>(SIGSTKSZ, 64 * 1024);
    if (!FaultStack) {
        FaultStack = std::make_unique<char[]>(Size);
        stack_t Stack{};
        Stack.ss_sp = FaultStack.get();
        Stack.ss_size = Size;
        sigaltstack(&Stack, nullptr);
    }
    struct sigaction Action {};
    Action.sa_sigaction = OnProcessorFault;
    sigemptyset(&Action.sa_mask);
    Action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    for (int Signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE})
        sigaction(Signal, &Action, nullptr);
}

bool AppendToFileInFault(const char* FileName, const char* Bytes, size_t Length) {
    // Only a regular file takes the report; a pipe under the name must not hold the end of the process.
    const int File = open(FileName, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (File < 0) return false;
    struct stat Status;
    if (fstat(File, &Status) != 0 || !S_ISREG(Status.st_mode)) {
        close(File);
        return false;
    }
    bool Written = true;
    while (Length > 0 && Written) {
        const ssize_t Count = write(File, Bytes, Length);
        Written = Count > 0 || (Count < 0 && errno == EINTR);
        if (Count > 0) Bytes += Count, Length -= static_cast<size_t>(Count);
    }
    close(File);
    return Written;
}

void WriteToErrorStreamInFault(const char* Bytes, size_t Length) {
    while (Length > 0) {
        const ssize_t Count = write(STDERR_FILENO, Bytes, Length);
        if (Count <= 0 && errno != EINTR) return;
        if (Count > 0) Bytes += Count, Length -= static_cast<size_t>(Count);
    }
}

int64_t GetCalendarSecondsInFault() {
    timespec Now{};
    clock_gettime(CLOCK_REALTIME, &Now);
    return static_cast<int64_t>(Now.tv_sec);
}

void ExitWindowSystem() { ExitVideoPlatform(); }

void ShowErrorBox(const char* Text, const char* Caption) {
    const std::string Utf8Text = Utf8Of(Text), Utf8Caption = Utf8Of(Caption);
    // The box needs the video part; started here for the fatal paths that end before any window exists.
    const bool Video = SDL_WasInit(SDL_INIT_VIDEO) != 0 || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (Video && !DriverShowsNothing() && getenv("EBRUN_NO_MESSAGE_BOX") == nullptr &&
        ShowBox(Utf8Caption, Utf8Text))
        return;
    fprintf(stderr, "%s\n%s\n", Utf8Caption.c_str(), Utf8Text.c_str());
    fflush(stderr);
}

void ExitProcess(int32_t ExitCode) {
    fflush(nullptr);
    std::exit(ExitCode);
}

std::string ReplaceProcess(const char* Program) {
    fflush(nullptr);
    std::string Path = std::string("./") + Program;
    char* Arguments[] = {const_cast<char*>(Program), nullptr};
    execv(Path.c_str(), Arguments);
    return std::string("cannot start ") + Program + ": " + strerror(errno);
}

bool OpenWebPage(const char* Url) { return SDL_OpenURL(Url) == 0; }
