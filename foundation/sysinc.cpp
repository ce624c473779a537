// System helpers: the millisecond clock, files, the text clipboard, the shared text buffer and the
// pseudo-random generator.
#include "foundation/sysinc.h"

#include "foundation/Exception.h"
#include "platform/Clipboard.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

uint32_t SystemMilliseconds() {
    auto Now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(Now).count());
}

// Set by InitSystem and ExitSystem, except Timer (tests) and RandomState (each draw).
struct {
    TMillisecondTimer Timer = SystemMilliseconds;
    std::unique_ptr<char[]> SharedBuffer;
    uint32_t SharedBufferSize = 0;
    uint32_t RandomState = 1;
} System;

// Taken at the first call, which the static initialisation below makes while the program loads.
uint32_t StartTime() {
    static const uint32_t Value = SystemMilliseconds();
    return Value;
}
[[maybe_unused]] const uint32_t StartTimeAtLoad = StartTime();

// Carriage returns are removed; a line feed at the place reached becomes a blank. So CR LF gives one blank,
// while only the first of two CRs before an LF goes.
void FlattenLines(char* Text) {
    size_t Kept = 0;
    for (size_t i = 0; Text[i] != 0; i++) {
        char c = Text[i];
        if (c == '\r') {
            c = Text[++i]; // the character behind a CR is only looked at for being a line feed
            if (c == 0) break;
        }
        Text[Kept++] = c == '\n' ? ' ' : c;
    }
    Text[Kept] = 0;
}

std::filesystem::path SystemPath(const char* FileName) {
    std::string Utf8 = Latin1ToUtf8(FileName);
    return std::filesystem::path(std::u8string(Utf8.begin(), Utf8.end()));
}

} // namespace

void InitSystem() {
    System.SharedBuffer.reset();
    System.SharedBufferSize = 0;
    GrowSharedBuffer(1024);
    System.SharedBuffer[0] = 0;
    SeedRandom(GetSystemTimer());
}

void ExitSystem() {
    System.SharedBuffer.reset();
    System.SharedBufferSize = 0;
}

int32_t GetMilliseconds() { return static_cast<int32_t>(GetSystemTimer() - StartTime()); }

int32_t TimeAfter(int32_t Start, int32_t Duration) {
    return static_cast<int32_t>(static_cast<uint32_t>(Start) + static_cast<uint32_t>(Duration));
}

int32_t TimeUntil(int32_t Deadline, int32_t Now) {
    return static_cast<int32_t>(static_cast<uint32_t>(Deadline) - static_cast<uint32_t>(Now));
}

void SetMillisecondTimer(TMillisecondTimer Timer) {
    System.Timer = Timer != nullptr ? Timer : SystemMilliseconds;
}
uint32_t GetSystemTimer() { return System.Timer(); }
uint32_t GetStartTime() { return StartTime(); }

bool FileExists(const char* FileName) {
    std::error_code Error;
    return FileName != nullptr && std::filesystem::exists(SystemPath(FileName), Error);
}

int64_t GetFileSize(const char* FileName) {
    std::error_code Error;
    if (FileName == nullptr) return -1;
    auto Size = std::filesystem::file_size(SystemPath(FileName), Error);
    return Error ? -1 : static_cast<int64_t>(Size);
}

bool RemoveFile(const char* FileName) {
    return FileName != nullptr && std::remove(Latin1ToUtf8(FileName).c_str()) == 0;
}

bool IsFileWritable(const char* FileName) {
    struct stat Status;
    if (FileName == nullptr || stat(Latin1ToUtf8(FileName).c_str(), &Status) != 0) return false;
    if (Status.st_uid == geteuid()) return (Status.st_mode & S_IWUSR) != 0;
    return (Status.st_mode & (S_IWGRP | S_IWOTH)) != 0 && access(Latin1ToUtf8(FileName).c_str(), W_OK) == 0;
}

int RenameFile(const char* OldName, const char* NewName) {
    if (OldName == nullptr || NewName == nullptr) return -1;
    return std::rename(Latin1ToUtf8(OldName).c_str(), Latin1ToUtf8(NewName).c_str());
}

FILE* OpenFile(const char* FileName, const char* Mode) {
    if (FileName == nullptr) return nullptr;
    return fopen(Latin1ToUtf8(FileName).c_str(), Mode);
}

char* GetClipboardText() {
    std::string Utf8;
    if (!ReadSystemClipboard(Utf8)) return nullptr;
    std::string Text = Utf8ToLatin1(Utf8);
    GrowSharedBuffer(static_cast<uint32_t>(Text.size() + 1)); // room for the terminator
    memcpy(System.SharedBuffer.get(), Text.c_str(), Text.size() + 1);
    FlattenLines(System.SharedBuffer.get());
    return System.SharedBuffer.get();
}

bool IsClipboardEmpty() { return !SystemClipboardHasText(); }

bool SetClipboardText(const char* Text) {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    return WriteSystemClipboard(Latin1ToUtf8(Text));
}

void GrowSharedBuffer(uint32_t Size) {
    if (Size <= System.SharedBufferSize) return;
    std::unique_ptr<char[]> help(new (std::nothrow) char[Size]);
    CHECK_TEXT(help != nullptr, "help!=NULL");
    if (System.SharedBufferSize > 0) memcpy(help.get(), System.SharedBuffer.get(), System.SharedBufferSize);
    System.SharedBuffer = std::move(help);
    System.SharedBufferSize = Size;
}

char* GetSharedBuffer() { return System.SharedBuffer.get(); }
uint32_t GetSharedBufferSize() { return System.SharedBufferSize; }

void SeedRandom(uint32_t Seed) { System.RandomState = Seed; }

int32_t Random() {
    System.RandomState = System.RandomState * 214013u + 2531011u;
    return static_cast<int32_t>((System.RandomState >> 16) & 0x7FFF);
}

std::string Latin1ToUtf8(std::string_view Text) {
    std::string Utf8;
    Utf8.reserve(Text.size());
    for (char c : Text) {
        auto b = static_cast<uint8_t>(c);
        if (b < 0x80) {
            Utf8 += c;
        } else {
            Utf8 += static_cast<char>(0xC0 | b >> 6);
            Utf8 += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return Utf8;
}

std::string Utf8ToLatin1(std::string_view Text) {
    std::string Latin1;
    Latin1.reserve(Text.size());
    size_t i = 0;
    while (i < Text.size()) {
        auto Lead = static_cast<uint8_t>(Text[i]);
        int Extra = Lead < 0x80   ? 0
                    : Lead < 0xC2 ? -1
                    : Lead < 0xE0 ? 1
                    : Lead < 0xF0 ? 2
                    : Lead < 0xF5 ? 3
                                  : -1;
        if (Extra <= 0) {
            Latin1 += Extra == 0 ? static_cast<char>(Lead) : '?';
            i++;
            continue;
        }
        uint32_t Code = Lead & (0x3F >> Extra);
        int k = 1;
        for (; k <= Extra && i + k < Text.size() && (static_cast<uint8_t>(Text[i + k]) & 0xC0) == 0x80; k++)
            Code = Code << 6 | (static_cast<uint8_t>(Text[i + k]) & 0x3F);
        bool Complete = k > Extra;
        Latin1 += Complete && Extra == 1 && Code <= 0xFF ? static_cast<char>(Code) : '?';
        i += k;
    }
    return Latin1;
}
