// Processor faults: the fault writer runs, also on a stack that has overflowed, and the process ends with
// exit code 1. (The end requests of SIGTERM and SIGHUP are tested with the client: tests/control.)
#include "platform/App.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* const FAULT_FILE = "fault.txt";

void WriteFaultLine(int32_t Signal, uintptr_t) {
    char Line[] = "fault 00\n";
    Line[6] = static_cast<char>('0' + Signal / 10);
    Line[7] = static_cast<char>('0' + Signal % 10);
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

TEST(Signals, AProcessorFaultRunsTheWriterAndEndsWithOne) {
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
    const std::string Expected = "fault " + std::to_string(SIGSEGV) + "\nfault " + std::to_string(SIGSEGV) +
                                 "\nfault 0" + std::to_string(SIGBUS) + "\nfault 0" + std::to_string(SIGILL) +
                                 "\nfault 0" + std::to_string(SIGFPE) + "\n";
    EXPECT_EQ(FaultLines(), Expected);
    std::remove(FAULT_FILE);
}
