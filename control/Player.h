// The application object: start-up in its fixed order, the idle pass, the message loop's end with the
// hand-over to the patcher, the two fatal paths, and the crash report written to and read from "error.txt".
#pragma once

#include "platform/App.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class CMainFrame;
class TMyException;

// The test server's host name, used while the TestServer option is on.
inline constexpr const char* TEST_SERVER_HOST = "127.0.0.1";

class CClientApp : public TIdleHandler {
public:
    CClientApp();
    ~CClientApp() override;

    // True when the program is to run; false when the window cannot be made. The fatal paths end the
    // process from here.
    bool InitInstance();
    // The message loop to its end; then the patcher, or the loop's exit code.
    int32_t Run();
    // Handles a mouse move, updates the cursor and runs the controller's dispatch; always asks again.
    bool onIdle(int32_t Count) override;

private:
    void initInstance();
    void startEngine();

    std::unique_ptr<CMainFrame> Frame;
    int32_t LastMouseX = 0, LastMouseY = 0;
    int32_t LastCursor = 1;
};

// After the message loop: when a download asked for the patcher (StartPatcher), PATCHER_FILE_NAME from the
// working directory takes the process's place. Answers ExitCode when none was asked for, 1 after telling
// the user why the patcher could not start.
int32_t HandOverToPatcher(int32_t ExitCode);

// The command line's keywords (without regard to case): "gamemaster" sets the flag; "host" and "port" take a
// value that is dropped; "engine" takes a signed decimal number (0 when it has no digits). The line is cut
// at 1023 characters and split at blank, tab and line feed.
void ParseCommandLine(const char* Line, bool& Gamemaster, int32_t& Engine);
// The command line's engine number, -1 when none was given.
int32_t GetCommandLineEngine();

// The message box of a PROGRAM_ERROR: its text, " (Error Code n)" and its advice.
std::string ProgramErrorMessage(int32_t Code);
[[noreturn]] void ShowProgramError(int32_t Code);
// The one end of both fatal paths: connection shut, display windowed, window hidden, message box, exit 1.
[[noreturn]] void AbortProgram(const char* Text, const char* Caption);

// Appends the crash report of Exception to "error.txt" and ends the program.
[[noreturn]] void WriteErrorReport(const TMyException& Exception);
// Writes the report's text (without ending anything) to File; the sections that fail write their own line.
void WriteErrorReportText(FILE* File, const TMyException& Exception);
// The crash report of a fault signal: PrepareFaultReport makes at start-up what WriteFaultReport, a
// fault writer of HandleProcessorFaults, needs; it appends the report to "error.txt" and tells the player on
// the standard error stream.
void PrepareFaultReport();
void WriteFaultReport(const TFaultSignal& Fault);
// Reads the reports of "error.txt" into the error-report records.
void ReadErrorReports();
