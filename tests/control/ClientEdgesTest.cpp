// The client program at the edges of a desktop, from outside (run under tests/isolated): without a display
// it says so and ends; its window carries the crest as its icon; SIGHUP and SIGTERM end it orderly however
// late it takes them, and at once while a message box waits, with the box; a fault signal leaves a crash
// report, naming the sender where the signal carries one, that the next start offers; a message box whose
// process crashes, or that no driver could show, writes none, and the box of a patcher that cannot start
// shows also on an X server that resets once its last client has gone.
#include "gui/SkinProperties.h"
#include "tests/roads/Road.h"
#include "tools/testserver/Downloads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

bool Contains(const std::string& Text, const std::string& Part) {
    return Text.find(Part) != std::string::npos;
}

std::string ReadFile(const fs::path& Name) {
    std::ifstream File(Name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(File)), std::istreambuf_iterator<char>());
}

// What a shell command writes to its standard output.
std::string Command(const std::string& Line) {
    std::string Output;
    FILE* Pipe = popen(Line.c_str(), "r");
    if (Pipe == nullptr) return Output;
    char Buffer[256];
    while (fgets(Buffer, sizeof(Buffer), Pipe) != nullptr)
        Output += Buffer;
    pclose(Pipe);
    return Output;
}

// The numbers of a property as xprop prints it: "NAME(TYPE) = n, n, ...".
std::vector<uint32_t> Numbers(const std::string& Property) {
    std::vector<uint32_t> Values;
    const size_t Equals = Property.find(" = ");
    if (Equals == std::string::npos) return Values;
    for (const char* p = Property.c_str() + Equals + 3; *p != 0;) {
        char* End = nullptr;
        Values.push_back(static_cast<uint32_t>(std::strtoul(p, &End, 10)));
        if (End == p) break;
        p = End;
        while (*p == ',' || *p == ' ' || *p == '\n')
            p++;
    }
    return Values;
}

// The processes whose parent is Parent (by default this one, once those that have ended are reaped). While
// this process is a child subreaper, what the client leaves running when it ends comes here.
std::vector<pid_t> ChildProcesses(pid_t Parent = getpid()) {
    if (Parent == getpid())
        while (waitpid(-1, nullptr, WNOHANG) > 0) {
        }
    std::vector<pid_t> Found;
    std::error_code Error;
    for (fs::directory_iterator Entry("/proc", Error), End; !Error && Entry != End; Entry.increment(Error)) {
        const std::string Name = Entry->path().filename();
        if (Name.find_first_not_of("0123456789") != std::string::npos) continue;
        // "pid (name) state parent ..."; the name may hold blanks and parentheses. Read through a stream,
        // which turns the failed read of a process that has just ended into an empty line.
        std::string Stat;
        std::ifstream File(Entry->path() / "stat");
        std::getline(File, Stat);
        const size_t Close = Stat.rfind(") ");
        if (Close != std::string::npos && std::atoi(Stat.c_str() + Close + 4) == Parent)
            Found.push_back(std::atoi(Name.c_str()));
    }
    return Found;
}

// Whether a signal sent to the process waits still for its handler to be started.
bool Pending(pid_t Process, int Signal) {
    std::ifstream Status("/proc/" + std::to_string(Process) + "/status");
    uint64_t Waiting = 0;
    for (std::string Line; std::getline(Status, Line);)
        if (Line.rfind("SigPnd:", 0) == 0 || Line.rfind("ShdPnd:", 0) == 0)
            Waiting |= std::strtoull(Line.c_str() + 7, nullptr, 16);
    return (Waiting >> (Signal - 1) & 1) != 0;
}

bool Stopped(pid_t Process) {
    siginfo_t Info{};
    return waitid(P_PID, static_cast<id_t>(Process), &Info, WSTOPPED | WNOHANG | WNOWAIT) == 0 &&
           Info.si_pid == Process;
}

// The box of a missing Ebrun.dat as the standard error stream gets it when no box shows: caption and text.
const std::string MISSING_DAT = "Pellarune\nCannot find file \"Ebrun.dat\".";

// The top-level windows named "Pellarune" (the client's window, a message box), by their numbers.
std::vector<unsigned long> WindowsNamedPellarune() {
    std::vector<unsigned long> Windows;
    std::istringstream Lines(Command("xwininfo -root -children"));
    for (std::string Line; std::getline(Lines, Line);)
        if (Contains(Line, " \"Pellarune\": (")) Windows.push_back(std::stoul(Line, nullptr, 0));
    return Windows;
}

// An X server of the test's own that resets whenever its last client has gone, as a bare xinit or kiosk
// session does; DISPLAY names it while the object lives. A client of the test's own holds it until release,
// so that no connection the test makes meets a reset. A reset clears the root window's properties, so the
// mark set at the start tells whether one came.
class TResettingServer {
public:
    TResettingServer() {
        int Pipe[2];
        if (pipe(Pipe) != 0) return;
        Server = Spawn({"Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-r", "-screen", "0", "1280x1024x24"},
                       Pipe[1], 3);
        close(Pipe[1]);
        std::string Number;
        char Byte;
        while (read(Pipe[0], &Byte, 1) == 1 && Byte != '\n')
            Number += Byte;
        close(Pipe[0]);
        if (Server < 0 || Number.empty()) return;
        if (const char* Old = getenv("DISPLAY")) OldDisplay = Old;
        setenv("DISPLAY", (":" + Number).c_str(), 1);
        // The holder prints the mark's state once it is connected, and again when it changes.
        HolderOutput = fs::temp_directory_path() / ("pellarune-holder-" + std::to_string(getpid()));
        const int Output = open(HolderOutput.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        Holder = Spawn({"xprop", "-root", "-spy", MARK}, Output, 1);
        close(Output);
        WaitFor([&] { return !ReadFile(HolderOutput).empty(); });
        Command(std::string("xprop -root -f ") + MARK + " 8s -set " + MARK + " kept");
    }
    ~TResettingServer() {
        release();
        if (Server > 0) {
            kill(Server, SIGTERM);
            waitpid(Server, nullptr, 0);
        }
        fs::remove(HolderOutput);
        if (OldDisplay.empty())
            unsetenv("DISPLAY");
        else
            setenv("DISPLAY", OldDisplay.c_str(), 1);
    }
    TResettingServer(const TResettingServer&) = delete;
    TResettingServer& operator=(const TResettingServer&) = delete;

    // Ends the test's own client: the next to leave the server last makes it reset.
    void release() {
        if (Holder > 0) {
            kill(Holder, SIGTERM);
            waitpid(Holder, nullptr, 0);
        }
        Holder = -1;
    }
    // False once the server has reset.
    bool marked() const { return Contains(Command(std::string("xprop -root ") + MARK), "\"kept\""); }

private:
    static constexpr const char* MARK = "_PELLARUNE_TEST_MARK";

    // Starts a program found in PATH with Descriptor as its descriptor Target.
    static pid_t Spawn(std::vector<std::string> Arguments, int Descriptor, int Target) {
        std::vector<char*> Argv;
        for (std::string& Argument : Arguments)
            Argv.push_back(Argument.data());
        Argv.push_back(nullptr);
        posix_spawn_file_actions_t Actions;
        posix_spawn_file_actions_init(&Actions);
        posix_spawn_file_actions_adddup2(&Actions, Descriptor, Target);
        pid_t Child = -1;
        if (posix_spawnp(&Child, Argv[0], &Actions, nullptr, Argv.data(), environ) != 0) Child = -1;
        posix_spawn_file_actions_destroy(&Actions);
        return Child;
    }

    pid_t Server = -1, Holder = -1;
    fs::path HolderOutput;
    std::string OldDisplay;
};

} // namespace

TEST(ClientEdges, WithoutADisplayItSaysSoAndEndsWithOne) {
    TClientSetup Setup;
    Setup.OptionsFile = false;
    Setup.Environment = {
        {"SDL_VIDEODRIVER", std::nullopt}, {"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}};
    TClient Client(0, Setup);
    EXPECT_EQ(Client.waitForExit(30s), 1);
    EXPECT_TRUE(Contains(Client.errors(), "Pellarune: cannot show the window: ")) << Client.errors();
    EXPECT_FALSE(fs::exists(Client.directory() / "Ebrun.cfg")) << "nothing ran, so nothing is saved";
    EXPECT_FALSE(fs::exists(Client.directory() / "error.txt"));
}

// The box of a missing data file waits inside the window system, where no end request can be taken: the
// signal ends the program at once, and the box goes with it.
TEST(ClientEdges, AnEndRequestEndsTheProgramWhileAMessageBoxWaits) {
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    const std::string Windows = Command("xwininfo -root -children");
    TClientSetup Setup;
    Setup.DataFiles = {"Ebrun.spr", "Ebrun.pic"};
    Setup.Environment = {{"EBRUN_NO_MESSAGE_BOX", std::nullopt}};
    TClient Client(0, Setup);
    ASSERT_TRUE(WaitFor([&] {
                    return !Client.running() ||
                           Contains(Command("xwininfo -root -children"), "\"Pellarune\": (");
                }) &&
                Client.running())
        << Client.errors();
    Client.signal(SIGTERM);
    EXPECT_EQ(Client.waitForExit(30s), 128 + SIGTERM);
    EXPECT_TRUE(WaitFor([] { return ChildProcesses().empty(); })) << "a process of the client is left";
    EXPECT_TRUE(WaitFor([&] { return Command("xwininfo -root -children") == Windows; }))
        << "a window of the client is left:\n"
        << Command("xwininfo -root -children");
    for (pid_t Left : ChildProcesses())
        kill(Left, SIGKILL);
    WaitFor([] { return ChildProcesses().empty(); });
    prctl(PR_SET_CHILD_SUBREAPER, 0);
}

// The window system shows its box from a process of its own, whose fault is not the client's: that process
// ends without a report, and the text goes to the standard error stream as without a display.
TEST(ClientEdges, AMessageBoxWhoseProcessCrashesLeavesNoReportAndItsTextOnTheErrorStream) {
    TClientSetup Setup;
    Setup.DataFiles = {"Ebrun.spr", "Ebrun.pic"};
    Setup.Environment = {{"EBRUN_NO_MESSAGE_BOX", std::nullopt}};
    TClient Client(0, Setup);
    std::vector<pid_t> Box;
    ASSERT_TRUE(WaitFor([&] {
                    Box = ChildProcesses(Client.process());
                    return !Client.running() || (!Box.empty() && !WindowsNamedPellarune().empty());
                }) &&
                Client.running())
        << Client.errors();
    kill(Box.front(), SIGSEGV);
    EXPECT_EQ(Client.waitForExit(30s), 1);
    EXPECT_TRUE(Contains(Client.errors(), MISSING_DAT)) << Client.errors();
    EXPECT_FALSE(fs::exists(Client.directory() / "error.txt")) << ReadFile(Client.directory() / "error.txt");
}

// Where the video driver shows nothing, no box is asked for, though DISPLAY names an X server: SDL's try with
// the X server's box crashed there.
TEST(ClientEdges, OnADriverThatShowsNothingAFatalErrorGoesToTheErrorStreamWithoutAReport) {
    for (const char* Driver : {"offscreen", "dummy"}) {
        TClientSetup Setup;
        Setup.DataFiles = {"Ebrun.spr", "Ebrun.pic"};
        Setup.Environment = {{"SDL_VIDEODRIVER", Driver}, {"EBRUN_NO_MESSAGE_BOX", std::nullopt}};
        TClient Client(0, Setup);
        EXPECT_EQ(Client.waitForExit(30s), 1) << Driver;
        EXPECT_TRUE(Contains(Client.errors(), MISSING_DAT)) << Driver << ": " << Client.errors();
        EXPECT_FALSE(fs::exists(Client.directory() / "error.txt"))
            << Driver << ": " << ReadFile(Client.directory() / "error.txt");
    }
}

// The box that says why the patcher did not start is shown while the client is still connected to the X
// server: one that resets once its last client has gone refuses a connection made anew, or drops it.
TEST(ClientEdges, AMissingPatcherIsToldInABoxAlsoOnAnXServerThatResetsWhenItsLastClientLeaves) {
    TResettingServer XServer;
    ASSERT_TRUE(XServer.marked()) << "the test's own X server did not start";
    TRoad Road;
    TClientSetup Setup;
    Setup.Environment = {{"EBRUN_NO_MESSAGE_BOX", std::nullopt}};
    TClient& Client = Road.start(Setup);
    testserver::TDownload Program;
    Program.FileNumber = testserver::PROGRAM_FILE;
    Program.Payload = {'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n'};
    testserver::TTestServer& Server = Road.server();
    Server.setPlan(testserver::TRole::Login, testserver::DefaultLoginPlan(Server.gamePort()));
    Server.queuePlan(testserver::TRole::Login, testserver::DownloadPlan({Program}));
    ASSERT_TRUE(Road.submitLogin(Client));
    ASSERT_TRUE(Client.waitUntilShown(Text("Program will now shut down and run an external patching program.",
                                           SkinProperties.Popups.MessageFormat)));
    // The key is read once its sender has gone: from then on the client is the X server's only one.
    XServer.release();
    Client.signal(SIGSTOP);
    ASSERT_TRUE(WaitFor([&] { return Stopped(Client.process()); }));
    Client.key("Return");
    Client.signal(SIGCONT);

    // The client's window goes, and a box of the same name comes and is mapped, so that it can take the key.
    std::vector<unsigned long> Box;
    ASSERT_TRUE(WaitFor([&] {
                    Box = WindowsNamedPellarune();
                    return !Client.running() ||
                           (!Box.empty() && std::ranges::find(Box, std::stoul(Client.windowId())) == Box.end() &&
                            Contains(Command("xwininfo -id " + std::to_string(Box.front())), "IsViewable"));
                }) &&
                Client.running())
        << Client.errors();
    EXPECT_TRUE(XServer.marked()) << "the X server reset: the client had left it before its box";
    Command("xdotool windowfocus --sync " + std::to_string(Box.front()) + " key Return");
    EXPECT_EQ(Client.waitForExit(30s), 1);
    EXPECT_FALSE(Contains(Client.errors(), "cannot start patch.exe")) << "the box did not show:\n"
                                                                      << Client.errors();
    EXPECT_FALSE(fs::exists(Client.directory() / "error.txt")) << ReadFile(Client.directory() / "error.txt");
}

TEST(ClientEdges, TheWindowShowsTheCrestAsIconAndAHangUpEndsItOrderlyHoweverLateItIsTaken) {
    TClientSetup Setup;
    Setup.OptionsFile = false;
    TClient Client(0, Setup);
    ASSERT_TRUE(Client.waitForWindow());
    const std::vector<uint32_t> Icon =
        Numbers(Command("xprop -id " + Client.windowId() + " -f _NET_WM_ICON 32c _NET_WM_ICON"));
    ASSERT_EQ(Icon.size(), 2u + 64 * 64);
    EXPECT_EQ(Icon[0], 64u);
    EXPECT_EQ(Icon[1], 64u);
    EXPECT_EQ(Icon[2], 0u) << "the corner is the picture's key colour: transparent";
    EXPECT_EQ(Icon[2 + 30 * 64 + 20] >> 24, 0xFFu) << "the crest is opaque";

    // A closing session sends SIGHUP and then SIGTERM. Once the handlers have run, the process gets no
    // processor for seconds, mostly before the loop has taken the request (a frame's wait only serves the
    // sockets).
    Client.signal(SIGHUP);
    Client.signal(SIGTERM);
    WaitFor([&] { return !Pending(Client.process(), SIGHUP) && !Pending(Client.process(), SIGTERM); },
            WAIT_LIMIT, [] { std::this_thread::yield(); });
    Client.signal(SIGSTOP);
    ASSERT_TRUE(WaitFor([&] { return Stopped(Client.process()) || !Client.running(); }));
    std::this_thread::sleep_for(2s);
    Client.signal(SIGCONT);
    EXPECT_EQ(Client.waitForExit(30s), 0);
    EXPECT_TRUE(Contains(ReadFile(Client.directory() / "Ebrun.cfg"), "WindowedMode = ("));
    EXPECT_FALSE(fs::exists(Client.directory() / "error.txt"));
}

TEST(ClientEdges, ASentFaultSignalLeavesAReportThatTheNextStartOffers) {
    TClient Client(0, {});
    ASSERT_TRUE(Client.waitForWindow());
    Client.signal(SIGSEGV);
    EXPECT_EQ(Client.waitForExit(30s), 1);
    const fs::path ErrorFile = Client.directory() / "error.txt";
    const std::string Report = ReadFile(ErrorFile);
    EXPECT_TRUE(Contains(Report, "\nDebug Assertion 7.72 SIGSEGV\n")) << Report;
    EXPECT_TRUE(Contains(Report, "\nSIGSEGV: signal sent by process " + std::to_string(getpid()) +
                                     ", not a processor fault\n"))
        << Report;
    const std::string Dashes(64, '-');
    EXPECT_EQ(Report.substr(Report.size() - 65), "\n" + Dashes);
    EXPECT_TRUE(Contains(Client.errors(), "Pellarune Error - Debug\n"));

    // The next start opens the "Error Report" dialog; its Cancel (Escape) throws the report away.
    Client.restart();
    ASSERT_TRUE(Client.waitForWindow());
    Client.key("Escape");
    EXPECT_TRUE(WaitFor([&] { return !fs::exists(ErrorFile); }));
    // With or without a dialog open, the end request of a session manager ends the program orderly.
    EXPECT_EQ(Client.terminate(30s), 0);
    EXPECT_FALSE(fs::exists(ErrorFile));
}

// A timer's code puts the timer's number where a sender goes: the report names no process.
TEST(ClientEdges, ASignalWhoseCodeNamesNoSenderIsReportedAsSentWithoutAProcess) {
    TClient Client(0, {});
    ASSERT_TRUE(Client.waitForWindow());
    siginfo_t Timer{};
    Timer.si_signo = SIGBUS;
    Timer.si_code = SI_TIMER;
    Timer.si_pid = getpid();
    ASSERT_EQ(syscall(SYS_rt_sigqueueinfo, Client.process(), SIGBUS, &Timer), 0);
    EXPECT_EQ(Client.waitForExit(30s), 1);
    const std::string Report = ReadFile(Client.directory() / "error.txt");
    EXPECT_TRUE(Contains(Report, "\nSIGBUS: signal sent, not a processor fault\n")) << Report;
}
