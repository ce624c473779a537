// The application's frame of work: the message loop with its idle passes, serving the window, the timers and
// the sockets' event pump; the command line, message boxes, the end of the process and hand-overs to other
// programs.
#pragma once

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

// Starts the window system's video part (the engines' hints first); false when there is no display.
bool InitWindowSystem();
void ExitWindowSystem();

// A modal box with a stop icon; Text and Caption are Latin-1. Without a display (or when the box fails) the
// caption and the text go to the standard error stream.
void ShowErrorBox(const char* Text, const char* Caption);

// Ends the process at once with the exit code (open files are flushed).
[[noreturn]] void ExitProcess(int32_t ExitCode);

// Replaces the running process by Program from the working directory, with no argument besides its own name.
// Returns only when that fails; the text then says why.
std::string ReplaceProcess(const char* Program);

// Opens a web page in the user's browser; false when the system cannot.
bool OpenWebPage(const char* Url);
