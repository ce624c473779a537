// The application object: start-up, idle pass, message loop with the patcher hand-over, fatal paths.
#include "control/Player.h"

#include "control/Control.h"
#include "control/MainFrm.h"
#include "foundation/Exception.h"
#include "foundation/ScriptPatch.h"
#include "foundation/Utils.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "network/Network.h"
#include "platform/AppWindow.h"
#include "platform/Window.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>

namespace {

// Module state of the application for the run.
struct {
    int32_t CommandLineEngine = -1;
} Player;

constexpr int32_t COMMAND_LINE_SIZE = 1024;

enum class TPending { None, Host, Port, Engine };

// The engine number of a token: an optional sign and the leading digits; 0 without digits.
int32_t ReadNumber(const char* Token) {
    int32_t Sign = 1;
    if (*Token == '-' || *Token == '+') Sign = *Token++ == '-' ? -1 : 1;
    int64_t Value = 0;
    while (IsDigit(*Token) && Value < 0x7FFFFFFF)
        Value = Value * 10 + (*Token++ - '0');
    return static_cast<int32_t>(Sign * std::min<int64_t>(Value, 0x7FFFFFFF));
}

// The inner frame of start-up and the message loop: a PROGRAM_ERROR shows its box, everything else becomes a
// TMyException for the crash report of the outer frame.
template <typename Body> void RunFramed(Body&& Run) {
    try {
        try {
            Run();
        } catch (const PROGRAM_ERROR& Code) {
            ShowProgramError(Code);
        } catch (const TMyException& Cause) {
            throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "exception occurred", "", 0, "", 0, Cause);
        } catch (const std::bad_alloc& Error) {
            throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "bad_alloc_exception occurred", "", 0, "", 0,
                               Error.what());
        } catch (const std::out_of_range& Error) {
            throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "out_of_range_exception occurred", "", 0, "", 0,
                               Error.what());
        } catch (const std::exception& Error) {
            throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "exception occurred", "", 0, "", 0, Error.what());
        } catch (const char* Text) {
            throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "const char* exception occurred", "", 0, "", 0,
                               Text != nullptr ? Text : "");
        } catch (...) {
            throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "unknown exception occurred", "", 0, "", 0, "");
        }
    } catch (const TMyException& Exception) {
        WriteErrorReport(Exception);
    }
}

[[noreturn]] void ExitForMissingDisplay() {
    fprintf(stderr,
            "Pellarune: cannot show the window: %s.\nStart it on a desktop, or name a video driver in "
            "SDL_VIDEODRIVER.\n",
            GetPlatformError());
    ExitProcess(1);
}

// A step of its own frame: PROGRAM_ERROR unchanged, everything else wrapped.
template <typename Body> void Guarded(Body&& Run) try { Run(); }
CATCH_FRAME()

} // namespace

void ParseCommandLine(const char* Line, bool& Gamemaster, int32_t& Engine) {
    char Buffer[COMMAND_LINE_SIZE];
    CopyString(Buffer, Line != nullptr ? Line : "", COMMAND_LINE_SIZE);
    TPending Pending = TPending::None;
    char* Save = nullptr;
    for (char* Token = strtok_r(Buffer, " \t\n", &Save); Token != nullptr;
         Token = strtok_r(nullptr, " \t\n", &Save)) {
        if (CompareNoCase(Token, "gamemaster", -1) == 0)
            Gamemaster = true;
        else if (CompareNoCase(Token, "host", -1) == 0)
            Pending = TPending::Host;
        else if (CompareNoCase(Token, "port", -1) == 0)
            Pending = TPending::Port;
        else if (CompareNoCase(Token, "engine", -1) == 0)
            Pending = TPending::Engine;
        else {
            if (Pending == TPending::Engine) Engine = ReadNumber(Token);
            Pending = TPending::None;
        }
    }
}

int32_t GetCommandLineEngine() { return Player.CommandLineEngine; }

std::string ProgramErrorMessage(int32_t Code) {
    return std::string(GetProgramErrorText(Code)) + " (Error Code " + std::to_string(Code) + ")\r\n\r\n" +
           GetProgramErrorAdvice(Code);
}

void ShowProgramError(int32_t Code) { AbortProgram(ProgramErrorMessage(Code).c_str(), "Pellarune"); }

void AbortProgram(const char* Text, const char* Caption) {
    try {
        ShutdownConnection();
    } catch (...) {
    }
    try {
        if (GetVideoMode() != WINDOWED_MODE) SetViewMode(WINDOWED_MODE);
    } catch (...) {
    }
    try {
        if (GetMainAppWindow() != nullptr) GetMainAppWindow()->hide();
    } catch (...) {
    }
    ShowErrorBox(Text, Caption);
    ExitProcess(1);
}

CClientApp::CClientApp() = default;
CClientApp::~CClientApp() = default;

bool CClientApp::InitInstance() {
    // Before anything reads or writes a file: a program nobody can see is no use.
    if (!InitWindowSystem()) ExitForMissingDisplay();
    PrepareFaultReport();
    HandleProcessorFaults(WriteFaultReport);
    HandleEndRequests(QuitProgram);
    bool Created = false;
    RunFramed([&] {
        initInstance();
        Created = Frame != nullptr;
    });
    return Created;
}

void CClientApp::initInstance() {
    ReadErrorReports();
    bool Gamemaster = false;
    ParseCommandLine(GetCommandLine().c_str(), Gamemaster, Player.CommandLineEngine);
    SetTestServerAddress(TEST_SERVER_HOST);
    SetTestServerPort(TEST_SERVER_PORT);
    Guarded([&] { Frame = std::make_unique<CMainFrame>(Gamemaster); });
    if (!Frame->create()) {
        Frame.reset();
        return;
    }
    TAppWindow* Window = Frame->getAppWindow();
    startEngine();
    Guarded([] { DrawFrame(false); });
    Frame->setIcon();
    SetMainAppWindow(Window);
    int32_t x = 0, y = 0, Width = 0, Height = 0;
    bool Maximized = false;
    GetWindowedMode(x, y, Width, Height, Maximized);
    Window->show(Maximized);
    Window->getCursorPosition(LastMouseX, LastMouseY);
    MouseMove(LastMouseX, LastMouseY);
    AddMessage(MESSAGE_ERRORREPORTDIALOG, 0, 0);
}

void CClientApp::startEngine() {
    try {
        SetFrameWait(WaitForFrame);
        RegisterEngineBackEnds();
        StartGraphicEngine(Frame->getAppWindow()->getWindow(), Player.CommandLineEngine);
        SetEngineStarted(true);
        GetSurface()->InitSurfaces();
        InitVideoCache();
    } catch (...) {
        throw PROGRAM_ERROR(12);
    }
}

bool CClientApp::onIdle(int32_t) {
    try {
        TAppWindow* Window = Frame != nullptr ? Frame->getAppWindow() : nullptr;
        if (Window == nullptr || Window->isDestroyed()) return true;
        int32_t x = 0, y = 0;
        Window->getCursorPosition(x, y);
        if (x != LastMouseX || y != LastMouseY) {
            LastMouseX = x;
            LastMouseY = y;
            MouseMove(x, y);
        }
        if (GetMouseCursor() != LastCursor) {
            UpdateCursor();
            LastCursor = GetMouseCursor();
        }
        ProcessMessages();
    }
    CATCH_FRAME()
    return true;
}

int32_t CClientApp::Run() {
    int32_t ExitCode = 0;
    RunFramed([&] {
        ExitCode = RunMessageLoop(*this);
        SetMainAppWindow(nullptr);
        Frame.reset();
    });
    // The video part ends only after the hand-over: a box saying why the patcher did not start needs it, and
    // starting it anew can fail, on an X server that resets once its last client has gone.
    ExitCode = HandOverToPatcher(ExitCode);
    ExitWindowSystem();
    return ExitCode;
}

int32_t HandOverToPatcher(int32_t ExitCode) {
    if (!GetStartPatcherFlag()) return ExitCode;
    const std::string Failure = ReplaceProcess(PATCHER_FILE_NAME);
    ShowErrorBox(Failure.c_str(), "Pellarune");
    return 1;
}
