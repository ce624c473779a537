// What every harness shares: a working directory of its own, inputs written as files, findings reported.
#include "fuzz/FuzzSupport.h"

#include "foundation/Exception.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;

fs::path ScratchDirectory;

void RemoveScratchDirectory() {
    std::error_code Ignored;
    fs::current_path(fs::temp_directory_path(), Ignored);
    fs::remove_all(ScratchDirectory, Ignored);
}

bool Verbose() { return std::getenv("EBRUN_FUZZ_VERBOSE") != nullptr; }

} // namespace

// Stands unless the harness defines its own.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int*, char***) {
    EnterScratchDirectory();
    return 0;
}

void EnterScratchDirectory() {
    const fs::path Base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    ScratchDirectory = Base / ("pellarune-fuzz-" + std::to_string(std::random_device()()));
    fs::create_directories(ScratchDirectory);
    fs::current_path(ScratchDirectory);
    std::atexit(RemoveScratchDirectory);
}

void WriteInput(const char* FileName, const uint8_t* Data, size_t Size) {
    std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
    Out.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    if (!Out) Finding(std::string("cannot write the input file ") + FileName);
}

void WriteInput(const char* FileName, const std::vector<uint8_t>& Bytes) {
    WriteInput(FileName, Bytes.data(), Bytes.size());
}

std::vector<uint8_t> ReadFileBytes(const char* FileName) {
    // In one read: the harnesses compare whole data files after every input.
    std::ifstream In(FileName, std::ios::binary | std::ios::ate);
    std::vector<uint8_t> Bytes(In ? static_cast<size_t>(In.tellg()) : 0);
    In.seekg(0);
    if (!In.read(reinterpret_cast<char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size())))
        return {};
    return Bytes;
}

void Refused(const TMyException& Error) {
    if (Verbose()) std::fprintf(stderr, "refused: %s\n", Error.getText().c_str());
}

void Refused(int32_t ProgramError) {
    if (Verbose()) std::fprintf(stderr, "refused: PROGRAM_ERROR %d\n", ProgramError);
}

void Finding(const std::string& What) {
    std::fprintf(stderr, "finding: %s\n", What.c_str());
    std::abort();
}
