// A client program under test: its process, its window on the X server, input through xdotool and pictures
// read back from the screen.
#include "tests/roads/Client.h"

#include "platform/Screenshot.h"
#include "state/Preferences.h"
#include "tests/Wait.h"
#include "tests/roads/Reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Room between two windows, so that a pointer between them is in neither.
constexpr int32_t WINDOW_GAP = 10;
// A frame-rate limit keeps each client off a whole core while the tests wait for it.
constexpr int32_t FRAME_RATE = 20;

// The one pointer of the X server: the client whose window holds it, and where; parked while it is in no
// window since a client start put it there.
struct {
    const TClient* Owner = nullptr;
    TPoint At;
    bool Parked = false;
} Pointer;

// The window that has the keyboard.
std::string FocusedWindow;

// Argument and environment vectors for the spawn calls; valid while Strings lives.
std::vector<char*> CStrings(std::vector<std::string>& Strings) {
    std::vector<char*> Result;
    for (std::string& S : Strings)
        Result.push_back(S.data());
    Result.push_back(nullptr);
    return Result;
}

// The environment of this process with the client's own settings, and then the setup's changes, in place of
// the same names.
std::vector<std::string> ClientEnvironment(const TClientSetup& Setup) {
    std::vector<std::pair<std::string, std::optional<std::string>>> Own = {
        {"SDL_VIDEODRIVER", "x11"},
        {"EBRUN_NO_MESSAGE_BOX", "1"},
        // The window is made for OpenGL, whose libraries keep allocations past their unloading.
        {"ASAN_OPTIONS", "detect_leaks=0:abort_on_error=1"},
        // Only a press on the very pixel of the last one may be its second click, so that two single clicks
        // at different places never join into a double click, however late the client takes the first.
        {"SDL_MOUSE_DOUBLE_CLICK_RADIUS", "0"},
        // SDL joins two presses by when the client reads them, not by when they came. Read 50 ms apart they
        // are two single clicks: clicks merely sent close together then split nearly always, not once in a
        // while on a loaded machine, and doubleClick has the client read both of its presses in one pass.
        {"SDL_MOUSE_DOUBLE_CLICK_TIME", "50"},
        // SDL's own grab of the pointer at each press, and its end at each release, waits for the X server's
        // answer in the middle of reading the events: three waits between the two presses of a double click,
        // which a busy X server stretches beyond the double-click time. The client grabs the pointer itself
        // at each press, once SDL has read them all.
        {"SDL_MOUSE_AUTO_CAPTURE", "0"},
    };
    Own.insert(Own.end(), Setup.Environment.begin(), Setup.Environment.end());
    std::vector<std::string> Environment;
    for (char** Entry = environ; *Entry != nullptr; Entry++)
        Environment.push_back(*Entry);
    for (const auto& [Name, Value] : Own) {
        std::erase_if(Environment, [&](const std::string& Text) { return Text.rfind(Name + "=", 0) == 0; });
        if (Value) Environment.push_back(Name + "=" + *Value);
    }
    return Environment;
}

// The exit code of a child that has ended, -1 while it runs; 128 + the signal for one that was killed.
int32_t Reap(pid_t Child, bool Wait) {
    int Status = 0;
    const pid_t Done = waitpid(Child, &Status, Wait ? 0 : WNOHANG);
    if (Done != Child) return -1;
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
}

// Runs a program (searched in PATH) with the arguments; its exit code, standard output in Output when given.
int32_t RunProgram(const std::vector<std::string>& Command, std::string* Output = nullptr) {
    std::vector<std::string> Arguments = Command;
    std::vector<char*> Argv = CStrings(Arguments);
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    int Pipe[2] = {-1, -1};
    if (Output != nullptr && pipe(Pipe) == 0) {
        posix_spawn_file_actions_adddup2(&Actions, Pipe[1], 1);
        posix_spawn_file_actions_addclose(&Actions, Pipe[0]);
    }
    pid_t Child = -1;
    const int Error = posix_spawnp(&Child, Argv[0], &Actions, nullptr, Argv.data(), environ);
    posix_spawn_file_actions_destroy(&Actions);
    if (Pipe[1] >= 0) close(Pipe[1]);
    if (Output != nullptr && Pipe[0] >= 0) {
        char Buffer[4096];
        ssize_t Read;
        while ((Read = read(Pipe[0], Buffer, sizeof(Buffer))) > 0)
            Output->append(Buffer, static_cast<size_t>(Read));
        close(Pipe[0]);
    }
    if (Error != 0) return -1;
    return Reap(Child, true);
}

void Xdotool(std::vector<std::string> Arguments, std::string* Output = nullptr) {
    // A display that stops answering must not hang the test run.
    Arguments.insert(Arguments.begin(), {"timeout", "20", "xdotool"});
    const int32_t Code = RunProgram(Arguments, Output);
    if (Code != 0) {
        std::string Line;
        for (const std::string& Word : Arguments)
            Line += Word + " ";
        ADD_FAILURE() << Line << "ended with " << Code;
    }
}

// The value of NAME=value in xdotool's --shell output.
int32_t ShellValue(const std::string& Text, const std::string& Name) {
    const size_t At = Text.find(Name + "=");
    return At == std::string::npos ? -1 : std::atoi(Text.c_str() + At + Name.size() + 1);
}

std::vector<std::string> Words(const std::string& Text) {
    std::vector<std::string> Result;
    size_t Start = 0;
    while (Start < Text.size()) {
        const size_t End = std::min(Text.find(' ', Start), Text.size());
        if (End > Start) Result.push_back(Text.substr(Start, End - Start));
        Start = End + 1;
    }
    return Result;
}

// The pointer patterns of the six shapes, made once.
const std::vector<TPattern>& PointerPatterns() {
    static const std::vector<TPattern> Patterns = [] {
        std::vector<TPattern> All;
        for (int32_t Shape = 1; Shape <= 6; Shape++)
            All.push_back(TReference::get().pointer(Shape));
        return All;
    }();
    return Patterns;
}

// Writes the client's Ebrun.cfg through the options module; whether the client draws its own pointer.
bool WriteOptions(const fs::path& Directory, const TRect& Window, const TClientSetup& Setup) {
    bool OwnPointer = false;
    InDirectory(Directory, [&] {
        LoadOptions();
        SetWindowedMode(Window.x, Window.y, Window.Width, Window.Height, false);
        SetWindowsMousepointer(false);
        SetConfineFramerate(FRAME_RATE);
        // The first login's hint would open over the game screen.
        SetShowNewHints(false);
        if (Setup.Options) Setup.Options();
        OwnPointer = !GetWindowsMousepointer();
        SaveOptions();
        ResetOptions();
    });
    return OwnPointer;
}

} // namespace

TClient::TClient(int32_t Slot, const TClientSetup& Setup) : Setup(Setup) {
    Directory = fs::temp_directory_path() /
                ("pellarune-road-" + std::to_string(getpid()) + "-" + std::to_string(Slot));
    fs::remove_all(Directory);
    fs::create_directories(Directory);
    for (const std::string& File : Setup.DataFiles)
        fs::copy_file(fs::path(EBRUN_DATA_DIR) / File, Directory / File);
    if (Setup.OptionsFile) {
        Placed = {(Slot % 2) * (Setup.Width + WINDOW_GAP), (Slot / 2) * (Setup.Height + WINDOW_GAP),
                  Setup.Width, Setup.Height};
        DrawsPointer = WriteOptions(Directory, Placed, Setup);
    }
    launch();
}

void TClient::restart(const std::vector<std::string>& Launcher) {
    EXPECT_FALSE(running()) << "a client is restarted once it has ended";
    launch(Launcher);
}

void TClient::launch(const std::vector<std::string>& Launcher) {
    std::vector<std::string> Arguments = Launcher;
    Arguments.insert(Arguments.end(), {EBRUN_CLIENT, "engine", "0"});
    Arguments.insert(Arguments.end(), Setup.Arguments.begin(), Setup.Arguments.end());
    std::vector<std::string> Environment = ClientEnvironment(Setup);
    std::vector<char*> Argv = CStrings(Arguments), Envp = CStrings(Environment);
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addchdir_np(&Actions, Directory.c_str());
    posix_spawn_file_actions_addopen(&Actions, 2, "stderr.txt", O_WRONLY | O_CREAT | O_APPEND, 0644);
    const int Error = posix_spawnp(&Process, Argv[0], &Actions, nullptr, Argv.data(), Envp.data());
    posix_spawn_file_actions_destroy(&Actions);
    if (Error != 0) {
        Process = -1;
        ADD_FAILURE() << "cannot start " << Argv[0];
    }
}

bool TClient::waitForWindow() {
    std::string Found;
    WaitFor(
        [&] {
            RunProgram({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(Process)}, &Found);
            return !Found.empty() || !running();
        },
        30s);
    const std::vector<std::string> Windows = Words(Found.substr(0, Found.find('\n')));
    if (Windows.empty()) {
        ADD_FAILURE() << "the client's window did not come; its errors:\n" << errors();
        return false;
    }
    WindowId = Windows.front();
    std::string Geometry;
    Xdotool({"getwindowgeometry", "--shell", WindowId}, &Geometry);
    Area = {ShellValue(Geometry, "X"), ShellValue(Geometry, "Y"), ShellValue(Geometry, "WIDTH"),
            ShellValue(Geometry, "HEIGHT")};
    if (Placed.Width > 0) {
        EXPECT_EQ(Area, Placed) << "the client's window is not where its options put it";
    }
    // Between the places of the windows, so that it is in no client's window until a test moves it. Only
    // now: the X server puts the pointer back in the middle of the screen whenever its last client leaves.
    if (!Pointer.Parked) {
        Xdotool({"mousemove", std::to_string(Area.Width + WINDOW_GAP / 2),
                 std::to_string(Area.Height + WINDOW_GAP / 2)});
        Pointer = {nullptr, {}, true};
    }
    return true;
}

TClient::~TClient() {
    if (Pointer.Owner == this) Pointer.Owner = nullptr;
    if (Process >= 0) {
        kill(Process, SIGKILL);
        Reap(Process, true);
    }
    std::error_code Ignored;
    if (!::testing::Test::HasFailure()) fs::remove_all(Directory, Ignored);
}

bool TClient::running() const {
    if (Process < 0) return false;
    // Only looks; the exit code stays for terminate to collect.
    siginfo_t Info{};
    return waitid(P_PID, static_cast<id_t>(Process), &Info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           Info.si_pid == 0;
}

std::string TClient::errors() const {
    std::ifstream In(Directory / "stderr.txt");
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

int32_t TClient::waitForExit(std::chrono::seconds Limit) {
    if (Process < 0) return -1;
    int32_t Code = -1;
    WaitFor([&] { return (Code = Reap(Process, false)) >= 0; }, Limit);
    if (Code < 0) {
        kill(Process, SIGKILL);
        Reap(Process, true);
    }
    Process = -1;
    if (Pointer.Owner == this) Pointer.Owner = nullptr;
    if (FocusedWindow == WindowId) FocusedWindow.clear();
    return Code;
}

int32_t TClient::terminate(std::chrono::seconds Limit) {
    signal(SIGTERM);
    return waitForExit(Limit);
}

void TClient::signal(int Signal) const {
    if (Process >= 0) kill(Process, Signal);
}

bool TClient::suspend() {
    signal(SIGSTOP);
    siginfo_t Info{};
    int Result = -1;
    if (Process >= 0) {
        do
            Result = waitid(P_PID, static_cast<id_t>(Process), &Info, WSTOPPED | WEXITED | WNOWAIT);
        while (Result != 0 && errno == EINTR);
    }
    if (Result == 0 && Info.si_code == CLD_STOPPED) return true;
    ADD_FAILURE() << "the client did not stop; its errors:\n" << errors();
    return false;
}

// ---- input ----

void TClient::focus() {
    if (FocusedWindow == WindowId) return;
    Xdotool({"windowfocus", "--sync", WindowId});
    FocusedWindow = WindowId;
}

void TClient::move(TPoint At) {
    if (Pointer.Owner != this || !(Pointer.At == At)) {
        const TPoint Screen = onScreen(At);
        // Not --sync: it waits a quarter of a minute when the pointer is already there.
        Xdotool({"mousemove", std::to_string(Screen.x), std::to_string(Screen.y)});
        Pointer = {this, At, false};
    }
    if (!DrawsPointer) return;
    const TRect Near{At.x - 1, At.y - 1, 3, 3};
    waitUntil("the pointer at " + std::to_string(At.x) + "," + std::to_string(At.y), Near,
              [&](const TImage&) { return pointerShape(At) != 0; });
}

void TClient::withModifiers(const std::string& Modifiers, const std::vector<std::string>& Action) {
    std::vector<std::string> Arguments;
    if (!Modifiers.empty()) {
        focus();
        Arguments = {"keydown", Modifiers};
    }
    Arguments.insert(Arguments.end(), Action.begin(), Action.end());
    if (!Modifiers.empty()) Arguments.insert(Arguments.end(), {"keyup", Modifiers});
    Xdotool(Arguments);
}

void TClient::click(TPoint At, const std::string& Modifiers) {
    move(At);
    withModifiers(Modifiers, {"click", "1"});
}

void TClient::rightClick(TPoint At, const std::string& Modifiers) {
    move(At);
    withModifiers(Modifiers, {"click", "3"});
}

void TClient::doubleClick(TPoint At) {
    move(At);
    // Stopped, the client reads nothing until both presses wait for it; it then reads them in one pass of
    // its event loop.
    if (!suspend()) return;
    Xdotool({"click", "--repeat", "2", "--delay", "30", "1"});
    // The X server writes out what it has for its clients before it takes a new connection: once a second
    // one has had its answer, the presses are in the client's socket.
    std::string Ignored;
    Xdotool({"getmouselocation"}, &Ignored);
    signal(SIGCONT);
}

void TClient::drag(TPoint From, TPoint To, const std::string& Modifiers) {
    move(From);
    std::vector<std::string> Press = {"mousedown", "1"}, Release = {"mouseup", "1"};
    if (!Modifiers.empty()) {
        // Held from the press to the release: the drop reads them.
        focus();
        Press.insert(Press.begin(), {"keydown", Modifiers});
        Release.insert(Release.end(), {"keyup", Modifiers});
    }
    Xdotool(Press);
    move(To);
    Xdotool(Release);
}

void TClient::wheel(TPoint At, int32_t Notches) {
    move(At);
    Xdotool(
        {"click", "--repeat", std::to_string(std::abs(Notches)), "--delay", "30", Notches > 0 ? "4" : "5"});
}

void TClient::key(const std::string& Keys) {
    focus();
    std::vector<std::string> Arguments = {"key", "--delay", "30"};
    for (const std::string& Word : Words(Keys))
        Arguments.push_back(Word);
    Xdotool(Arguments);
}

void TClient::type(const std::string& Text) {
    focus();
    Xdotool({"type", "--delay", "30", "--", Text});
}

// ---- what the client shows ----

TImage TClient::shot(const TRect& Part) const {
    TImage Image{Part, {}};
    const TPoint Screen = onScreen({Part.x, Part.y});
    if (!ReadScreenArea(Screen.x, Screen.y, Part.Width, Part.Height, Image.Pixels)) Image.Pixels.clear();
    return Image;
}

TRect TClient::pointerCover() const {
    if (Pointer.Owner != this) return {};
    // The box of the shape drawn now: a box for every shape would also hide the pixels that tell a pattern
    // from its neighbours (one colour button from the next), so that a neighbour matched in its place.
    const std::vector<TPattern>& Shapes = PointerPatterns();
    const int32_t Shown = pointerShape(Pointer.At);
    if (Shown != 0) {
        const TPattern& Shape = Shapes[static_cast<size_t>(Shown) - 1];
        return {Pointer.At.x - Shape.Origin.x, Pointer.At.y - Shape.Origin.y, Shape.Width, Shape.Height};
    }
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    for (const TPattern& Shape : Shapes) {
        Left = std::max(Left, Shape.Origin.x);
        Top = std::max(Top, Shape.Origin.y);
        Right = std::max(Right, Shape.Width - Shape.Origin.x);
        Bottom = std::max(Bottom, Shape.Height - Shape.Origin.y);
    }
    return {Pointer.At.x - Left, Pointer.At.y - Top, Left + Right, Top + Bottom};
}

int32_t TClient::pointerShape(TPoint At) const {
    const TRect Cover{At.x - 64, At.y - 64, 128, 128};
    const TRect Part{std::max(Cover.x, 0), std::max(Cover.y, 0),
                     std::min(Cover.x + Cover.Width, Area.Width) - std::max(Cover.x, 0),
                     std::min(Cover.y + Cover.Height, Area.Height) - std::max(Cover.y, 0)};
    if (Part.Width <= 0 || Part.Height <= 0) return 0;
    const TImage Image = shot(Part);
    if (Image.empty()) return 0;
    const std::vector<TPattern>& Shapes = PointerPatterns();
    for (size_t i = 0; i < Shapes.size(); i++)
        if (Shapes[i].matchesAt(Image, {At.x - Shapes[i].Origin.x, At.y - Shapes[i].Origin.y}))
            return static_cast<int32_t>(i) + 1;
    return 0;
}

std::optional<TRect> TClient::find(const TPattern& Pattern, const TRect& Part) const {
    const TImage Image = shot(Part);
    if (Image.empty()) return std::nullopt;
    return Pattern.findIn(Image, pointerCover());
}

bool TClient::waitUntil(const std::string& Name, const TRect& Part,
                        const std::function<bool(const TImage&)>& Condition, TDeadline Limit) const {
    bool Shown = false;
    WaitFor(
        [&] {
            const TImage Image = shot(Part);
            Shown = !Image.empty() && Condition(Image);
            return Shown || !running();
        },
        Limit);
    if (Shown) return true;
    ADD_FAILURE() << "not shown in time: " << Name << (running() ? "" : " (the client has ended)")
                  << "; what it showed is in " << keep(shot(area()));
    return false;
}

std::optional<TRect> TClient::waitUntilShown(const TPattern& Pattern, const TRect& Part,
                                             TDeadline Limit) const {
    return waitUntilShown(std::vector<const TPattern*>{&Pattern}, Part, Limit);
}

std::optional<TRect> TClient::waitUntilShown(const std::vector<const TPattern*>& Patterns, const TRect& Part,
                                             TDeadline Limit) const {
    std::string Name;
    for (const TPattern* Pattern : Patterns)
        Name += (Name.empty() ? "" : " or ") + Pattern->Name;
    std::optional<TRect> Found;
    waitUntil(
        Name, Part,
        [&](const TImage& Image) {
            for (const TPattern* Pattern : Patterns)
                if ((Found = Pattern->findIn(Image, pointerCover()))) return true;
            return false;
        },
        Limit);
    return Found;
}

bool TClient::waitUntilGone(const TPattern& Pattern, const TRect& Part, TDeadline Limit) const {
    return waitUntil(
        "no " + Pattern.Name, Part,
        [&](const TImage& Image) { return !Pattern.findIn(Image, pointerCover()); }, Limit);
}

std::string TClient::keep(const TImage& Image) const {
    static int32_t Count = 0;
    const auto* Test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string Name =
        std::string(Test != nullptr ? Test->name() : "road") + "-" + std::to_string(++Count) + ".png";
    return Image.save(Name) ? fs::absolute(Name).string() : "(no picture: " + Name + " not written)";
}
