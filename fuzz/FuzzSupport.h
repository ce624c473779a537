// What every harness shares: a working directory of its own, inputs written as files, and the two ways an
// input ends: with the client's own error (expected) or with an oracle that does not hold (a finding).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TMyException;

// Makes a new directory the working directory, in memory where the system offers /dev/shm; it is removed
// when the harness ends normally.
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
