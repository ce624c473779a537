// What every harness shares: a working directory of its own, inputs written as files, and the two ways an
// input ends: with the client's own error (expected) or with an oracle that does not hold (a finding).
#pragma once

#include "foundation/Exception.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Makes a new directory the working directory, in memory where the system offers /dev/shm; it is removed
// when the harness ends normally. A harness that defines no LLVMFuzzerInitialize of its own starts there.
void EnterScratchDirectory();

void WriteInput(const char* FileName, const uint8_t* Data, size_t Size);
void WriteInput(const char* FileName, const std::vector<uint8_t>& Bytes);
// The whole file; empty when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const char* FileName);

// The client refused the input with its own error, as it should for a bad file. EBRUN_FUZZ_VERBOSE set in
// the environment prints it.
void Refused(const TMyException& Error);
void Refused(int32_t ProgramError);

// An oracle does not hold: prints What and aborts, so that libFuzzer keeps the input as a finding.
[[noreturn]] void Finding(const std::string& What);
inline void Expect(bool Holds, const char* What) {
    if (!Holds) Finding(What);
}

// Runs Read, the client's reading of a whole file, and checks that it refuses the file (with a failed check
// or a PROGRAM_ERROR) exactly when a reader of the layout does; true when both read it.
template <typename TRead> bool ReadsAsTheLayout(TRead&& Read, bool LayoutReads) {
    try {
        Read();
    } catch (PROGRAM_ERROR Code) {
        Refused(Code);
        Expect(!LayoutReads, "a file the layout allows was refused");
        return false;
    } catch (const TMyException& Error) {
        Refused(Error);
        Expect(!LayoutReads, "a file the layout allows was refused");
        return false;
    }
    Expect(LayoutReads, "a file the layout refuses was read");
    return true;
}
