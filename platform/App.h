// The application's frame of work: the message loop with its idle passes, serving the window, the timers and
// the sockets' event pump; the command line, message boxes, the end of the process and hand-overs to other
// programs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class TAppWindow;

// Called whenever no message waits; answers true to be called again at once, false to let the loop wait
// for the next message or timer.
class TIdleHandler {
public:
    virtual ~TIdleHandler() = default;
    virtual bool onIdle(int32_t Count) = 0;
};

// The window whose messages the loop delivers; nullptr while there is none.
void SetMainAppWindow(TAppWindow* Window);
TAppWindow* GetMainAppWindow();

// Runs until PostQuitMessage: every pass delivers the sockets' notifications and posted work, the window
// system's events, a posted close and the due timers, then one idle call. Exceptions from any handler leave
// the loop. Answers the exit code given to PostQuitMessage.
int32_t RunMessageLoop(TIdleHandler& Idle);
void PostQuitMessage(int32_t ExitCode);

// The engines' frame pacing waits here: during an idle pass that is not nested in a notification, the
// sockets are served (poll with a time-out) while waiting; elsewhere it only sleeps.
void WaitForFrame(uint32_t Milliseconds);

// The command line without the program's name: the arguments joined by blanks.
void SetCommandLine(int Argc, char** Argv);
const std::string& GetCommandLine();

// Starts the window system's video part (the engines' hints first). False when there is no display
// (GetPlatformError says why), also when SDL_VIDEODRIVER names no driver and the window system fell back to
// one that shows nothing: the program would run unseen.
bool InitWindowSystem();
void ExitWindowSystem();

// SIGTERM and SIGHUP ask the program to end: the signal handler only records the request and wakes the event
// pump; the message loop takes it on its own thread, however late it gets there, and calls Handler. Only
// during a TWaitOutsideLoop does a request end the process at once, as an unhandled signal would. A request
// that comes once the loop has ended is never taken. SIGINT stays the window system's close request.
void HandleEndRequests(void (*Handler)());

// Marks, for its lifetime, a wait that does not return to the message loop (such as the window system's
// message box): an end request during it, or one recorded and not yet taken as it begins, ends the process at
// once.
class TWaitOutsideLoop {
public:
    TWaitOutsideLoop();
    ~TWaitOutsideLoop();
    TWaitOutsideLoop(const TWaitOutsideLoop&) = delete;
    TWaitOutsideLoop& operator=(const TWaitOutsideLoop&) = delete;
};

// A fault signal as it came: raised by the processor at Address, or sent (kill, raise, a timer, ...).
struct TFaultSignal {
    int32_t Signal;
    bool Sent;
    int32_t Sender;    // the sending process; 0 when not Sent or when the signal names none (a timer's)
    uintptr_t Address; // 0 when Sent
};

// A fault signal (SIGSEGV, SIGBUS, SIGILL, SIGFPE) calls Writer on a stack prepared here, then ends the
// process with exit code 1. Writer runs inside the signal handler: it may use only memory prepared in
// advance and the fault-safe services below. A fault inside Writer ends the process at once, also with exit
// code 1.
using TFaultWriter = void (*)(const TFaultSignal& Fault);
void HandleProcessorFaults(TFaultWriter Writer);
// Fault-safe (async-signal-safe): appends Length bytes to the file, made when missing; false when it cannot,
// and at once when the name stands for no regular file.
bool AppendToFileInFault(const char* FileName, const char* Bytes, size_t Length);
// Fault-safe: writes Length bytes to the standard error stream.
void WriteToErrorStreamInFault(const char* Bytes, size_t Length);
// Fault-safe: seconds since 1970 of the calendar clock.
int64_t GetCalendarSecondsInFault();

// A modal box with a stop icon; Text and Caption are Latin-1. Without a display, on a video driver that shows
// nothing (offscreen, dummy), or when the box fails, the caption and the text go to the standard error stream.
// The box waits outside the message loop (TWaitOutsideLoop); a process the window system starts to show it
// ends with this one, however this one ends, and never writes a crash report: a fault there only fails the
// box. Starts the video part when it is not running, and leaves it running.
void ShowErrorBox(const char* Text, const char* Caption);

// Ends the process at once with the exit code (open files are flushed).
[[noreturn]] void ExitProcess(int32_t ExitCode);

// Replaces the running process by Program from the working directory, with no argument besides its own name.
// Returns only when that fails; the text then says why. The video part may still run: its connection to the
// window system does not pass to Program.
std::string ReplaceProcess(const char* Program);

// Opens a web page in the user's browser; false when the system cannot.
bool OpenWebPage(const char* Url);
