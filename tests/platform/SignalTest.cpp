// Fault signals: the fault writer runs, told whether the processor raised the signal or a process sent it and
// which, also on a stack that has overflowed, and the process ends with exit code 1. End requests: the
// message loop takes one however late it gets the processor, nothing of it outlives the loop's end, and
// during a wait outside the loop one ends the process at once. (The orderly end of SIGTERM and SIGHUP is
// tested with the client: tests/control.)
#include "platform/App.h"
#include "tests/Wait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const FAULT_FILE = "fault.txt";

// "fault", the signal's number, then "sent" and who sent it (1 this process, 0 none named, 2 another), or
// "at" and whether the address is known.
void WriteFaultLine(const TFaultSignal& Fault) {
    char Line[] = "fault 00 sent 0\n";
    Line[6] = static_cast<char>('0' + Fault.Signal / 10);
    Line[7] = static_cast<char>('0' + Fault.Signal % 10);
    if (!Fault.Sent) memcpy(Line + 9, "at  ", 4);
    Line[14] = Fault.Sent ? (Fault.Sender == getpid() ? '1'
                             : Fault.Sender == 0      ? '0'
                                                      : '2')
                          : (Fault.Address != 0 ? '1' : '0');
    AppendToFileInFault(FAULT_FILE, Line, sizeof(Line) - 1);
}

// Recurses until the stack is gone (the depth limit is never reached).
int Overflow(int Depth, int Limit) {
    volatile char Room[1024];
    Room[Depth % 1024] = static_cast<char>(Depth);
    return Depth < Limit ? Overflow(Depth + 1, Limit) + Room[0] : 0;
}

// The child's exit code after Fault ran with the fault writer in place; -1 when it did not exit.
int ExitCodeOfFault(void (*Fault)()) {
    const pid_t Child = fork();
    if (Child == 0) {
        HandleProcessorFaults(WriteFaultLine);
        Fault();
        _exit(0);
    }
    int Status = 0;
    waitpid(Child, &Status, 0);
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

std::string FaultLines() {
    std::ifstream File(FAULT_FILE);
    return std::string((std::istreambuf_iterator<char>(File)), std::istreambuf_iterator<char>());
}

std::string FaultLine(int Signal, const char* Rest) {
    return std::string("fault ") + (Signal < 10 ? "0" : "") + std::to_string(Signal) + Rest;
}

// Sends Signal to this process with a sent signal's code, and this process's number where the sender goes:
// for a timer's or an I/O completion's code the system puts other values there.
void Queue(int Signal, int Code) {
    siginfo_t Info{};
    Info.si_signo = Signal;
    Info.si_code = Code;
    Info.si_pid = getpid();
    Info.si_uid = getuid();
    syscall(SYS_rt_sigqueueinfo, getpid(), Signal, &Info);
}

// Waits until the child has stopped, keeps it stopped (off the processor) for two seconds, longer than any
// deadline the program might have set itself, then lets it go on. False when it ended instead.
bool HoldStopped(pid_t Child) {
    int Status = 0;
    if (waitpid(Child, &Status, WUNTRACED) != Child || !WIFSTOPPED(Status)) {
        ADD_FAILURE() << "ended instead of stopping: " << (WIFSIGNALED(Status) ? "signal " : "exit code ")
                      << (WIFSIGNALED(Status) ? WTERMSIG(Status) : WEXITSTATUS(Status));
        return false;
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));
    kill(Child, SIGCONT);
    return true;
}

// On its first pass an end request comes, and the process is stopped before the loop has seen it.
class TLateIdler : public TIdleHandler {
public:
    bool onIdle(int32_t) override {
        if (!Requested) {
            Requested = true;
            raise(SIGTERM);
            raise(SIGSTOP);
        }
        return false;
    }
    bool Requested = false;
};

} // namespace

TEST(Signals, AFaultSignalRunsTheWriterAndEndsWithOne) {
    std::remove(FAULT_FILE);
    EXPECT_EQ(ExitCodeOfFault([] {
                  // A page of no access: the store faults in the processor, not in a sanitizer's check.
                  void* Page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
                  *static_cast<volatile int*>(Page) = 1;
              }),
              1);
    EXPECT_EQ(ExitCodeOfFault([] { Overflow(0, 1 << 30); }), 1);
    std::string Expected = FaultLine(SIGSEGV, " at   1\n") + FaultLine(SIGSEGV, " at   1\n");
    for (int Signal : {SIGBUS, SIGILL, SIGFPE}) {
        static int Raised;
        Raised = Signal;
        EXPECT_EQ(ExitCodeOfFault([] { raise(Raised); }), 1) << Signal;
        Expected += FaultLine(Signal, " sent 1\n");
    }
    // Only some codes of a sent signal name its sender.
    for (const auto& [Code, Sender] :
         {std::pair{SI_QUEUE, '1'}, {SI_MESGQ, '1'}, {SI_TIMER, '0'}, {SI_ASYNCIO, '0'}, {SI_SIGIO, '0'}}) {
        static int Queued;
        Queued = Code;
        EXPECT_EQ(ExitCodeOfFault([] { Queue(SIGBUS, Queued); }), 1) << Code;
        Expected += FaultLine(SIGBUS, " sent ") + Sender + "\n";
    }
    EXPECT_EQ(FaultLines(), Expected);
    std::remove(FAULT_FILE);
    // A pipe under the report's name takes nothing, even with a reader at its other end.
    ASSERT_EQ(mkfifo(FAULT_FILE, 0600), 0);
    const int Reader = open(FAULT_FILE, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    EXPECT_EQ(ExitCodeOfFault([] { raise(SIGBUS); }), 1);
    char Byte;
    EXPECT_LE(read(Reader, &Byte, 1), 0);
    close(Reader);
    std::remove(FAULT_FILE);
}

TEST(Signals, AnEndRequestDuringAWaitOutsideTheLoopEndsTheProcessAtOnce) {
    for (int Signal : {SIGTERM, SIGHUP}) {
        for (bool Pending : {false, true}) {
            static int Requested;
            Requested = Pending ? Signal : 0;
            int Ready[2], Never[2];
            ASSERT_EQ(pipe(Ready), 0);
            ASSERT_EQ(pipe(Never), 0);
            const pid_t Child = fork();
            if (Child == 0) {
                close(Ready[0]);
                HandleEndRequests([] { _exit(0); });
                // Recorded, with no loop to take it, before the wait begins.
                if (Requested != 0) raise(Requested);
                const TWaitOutsideLoop Wait;
                char Byte = 1;
                if (write(Ready[1], &Byte, 1) != 1) _exit(2);
                // Waits as a message box does, in a call that resumes after the handler.
                while (read(Never[0], &Byte, 1) != 0) {
                }
                _exit(3);
            }
            close(Ready[1]);
            char Byte = 0;
            // A pending request ends the child before it is ready: the pipe then ends without a byte.
            EXPECT_EQ(read(Ready[0], &Byte, 1), Pending ? 0 : 1);
            if (!Pending) kill(Child, Signal);
            int Status = 0;
            if (!WaitFor([&] { return waitpid(Child, &Status, WNOHANG) == Child; })) {
                kill(Child, SIGKILL);
                waitpid(Child, &Status, 0);
                ADD_FAILURE() << "signal " << Signal << " did not end the process";
            } else {
                EXPECT_TRUE(WIFSIGNALED(Status) && WTERMSIG(Status) == Signal) << Signal << " " << Pending;
            }
            for (int End : {Ready[0], Never[0], Never[1]})
                close(End);
        }
    }
}

// The loop takes a request that it sees only after the process was stopped for seconds; a second request
// during the orderly end changes nothing, and the patcher that follows runs its course.
TEST(Signals, AnEndRequestIsTakenHoweverLateTheLoopGetsToIt) {
    const fs::path Directory = fs::temp_directory_path() / ("pellarune-signals-" + std::to_string(getpid()));
    fs::create_directories(Directory);
    {
        std::ofstream Patcher(Directory / "patch.exe");
        Patcher << "#!/bin/sh\nkill -STOP $$\nexit 42\n";
    }
    fs::permissions(Directory / "patch.exe", fs::perms::owner_all);
    const pid_t Child = fork();
    if (Child == 0) {
        if (chdir(Directory.c_str()) != 0) _exit(2);
        HandleEndRequests([] { PostQuitMessage(5); });
        TLateIdler Idle;
        if (RunMessageLoop(Idle) != 5) _exit(3);
        // The orderly end: a second request, as a closing session sends, then the hand-over.
        raise(SIGHUP);
        ReplaceProcess("patch.exe");
        _exit(4);
    }
    // Stopped after the request, then the patcher stops itself once it has started.
    const bool Held = HoldStopped(Child) && HoldStopped(Child);
    int Status = 0;
    if (Held) {
        ASSERT_TRUE(WaitFor([&] { return waitpid(Child, &Status, WNOHANG) == Child; }));
        EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 42)
            << (WIFSIGNALED(Status) ? "ended by signal " + std::to_string(WTERMSIG(Status)) : "");
    }
    fs::remove_all(Directory);
}
