// Fault signals: the fault writer runs, told whether the processor raised the signal or a process sent it,
// also on a stack that has overflowed, and the process ends with exit code 1. An end request that the message
// loop cannot take still ends the process. (The orderly end of SIGTERM and SIGHUP is tested with the client:
// tests/control.)
#include "platform/App.h"
#include "tests/Wait.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* const FAULT_FILE = "fault.txt";

// "fault", the signal's number, then "sent" and whether the sender is this process, or "at" and whether the
// address is known.
void WriteFaultLine(const TFaultSignal& Fault) {
    char Line[] = "fault 00 sent 0\n";
    Line[6] = static_cast<char>('0' + Fault.Signal / 10);
    Line[7] = static_cast<char>('0' + Fault.Signal % 10);
    if (!Fault.Sent) memcpy(Line + 9, "at  ", 4);
    Line[14] = Fault.Sent ? (Fault.Sender == getpid() ? '1' : '0') : (Fault.Address != 0 ? '1' : '0');
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
    for (int Signal : {SIGBUS, SIGILL, SIGFPE}) {
        static int Raised;
        Raised = Signal;
        EXPECT_EQ(ExitCodeOfFault([] { raise(Raised); }), 1) << Signal;
    }
    const std::string Expected = "fault " + std::to_string(SIGSEGV) + " at   1\nfault " +
                                 std::to_string(SIGSEGV) + " at   1\nfault 0" + std::to_string(SIGBUS) +
                                 " sent 1\nfault 0" + std::to_string(SIGILL) + " sent 1\nfault 0" +
                                 std::to_string(SIGFPE) + " sent 1\n";
    EXPECT_EQ(FaultLines(), Expected);
    std::remove(FAULT_FILE);
}

TEST(Signals, AnEndRequestThatNoLoopTakesEndsTheProcess) {
    for (int Signal : {SIGTERM, SIGHUP}) {
        int Ready[2], Never[2];
        ASSERT_EQ(pipe(Ready), 0);
        ASSERT_EQ(pipe(Never), 0);
        const pid_t Child = fork();
        if (Child == 0) {
            HandleEndRequests([] { _exit(0); });
            char Byte = 1;
            if (write(Ready[1], &Byte, 1) != 1) _exit(2);
            // Waits as a message box does, in a call that resumes after the handler.
            while (read(Never[0], &Byte, 1) != 0) {
            }
            _exit(3);
        }
        char Byte = 0;
        ASSERT_EQ(read(Ready[0], &Byte, 1), 1);
        kill(Child, Signal);
        int Status = 0;
        if (!WaitFor([&] { return waitpid(Child, &Status, WNOHANG) == Child; })) {
            kill(Child, SIGKILL);
            waitpid(Child, &Status, 0);
            ADD_FAILURE() << "signal " << Signal << " did not end the process";
        } else {
            EXPECT_TRUE(WIFSIGNALED(Status) && WTERMSIG(Status) == Signal) << Signal;
        }
        for (int End : {Ready[0], Ready[1], Never[0], Never[1]})
            close(End);
    }
}
