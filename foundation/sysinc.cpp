// System helpers: the millisecond clock, files, the text clipboard, the shared text buffer and the
// pseudo-random generator.
#include "foundation/sysinc.h"

#include "foundation/Exception.h"
#include "platform/Clipboard.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fcntl.h>
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
    TCalendarClock CalendarClock = nullptr;
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

// Followed before a path counts as a loop of links, as the system's own limit.
constexpr int LINK_HOPS = 40;
// Names tried for a new file beside another before giving up.
constexpr int TEMP_NAME_TRIES = 100;

TFileSync FileSync = fsync;

// The file Path stands for, symbolic links followed; a dangling link's target as it is named, which a
// replacement then creates. Empty when the links form a loop or one cannot be read.
std::filesystem::path FollowLinks(std::filesystem::path Path) {
    namespace fs = std::filesystem;
    for (int Hop = 0; Hop < LINK_HOPS; Hop++) {
        std::error_code Error;
        if (!fs::is_symlink(fs::symlink_status(Path, Error))) return Path;
        fs::path Target = fs::read_symlink(Path, Error);
        if (Error) return {};
        Path = Path.parent_path() / Target; // an absolute target replaces the whole path
    }
    return {};
}

// False only for a write error: a file system that cannot sync (EINVAL, EROFS, ENOTSUP) loses nothing by it.
bool Synced(int Descriptor) {
    if (FileSync(Descriptor) == 0) return true;
    return errno == EINVAL || errno == EROFS || errno == ENOTSUP || errno == EOPNOTSUPP;
}

// Syncs the directory that holds Path, so that a rename in it survives a power cut. A directory that
// cannot be opened for reading cannot be synced either, which is no failure of the data.
bool SyncedDirectoryOf(const std::filesystem::path& Path) {
    std::filesystem::path Directory = Path.parent_path();
    int Descriptor = open(Directory.empty() ? "." : Directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Descriptor < 0) return true;
    bool Result = Synced(Descriptor);
    close(Descriptor);
    return Result;
}

// A suffix that differs between processes and between calls; uniqueness itself comes from O_EXCL.
std::string TempSuffix() {
    static uint32_t Serial = 0;
    uint32_t Mixed = static_cast<uint32_t>(getpid()) * 2654435761u ^ SystemMilliseconds() * 40503u ^ Serial++;
    char Suffix[24];
    std::snprintf(Suffix, sizeof Suffix, ".%08x.tmp", static_cast<unsigned>(Mixed));
    return Suffix;
}

[[noreturn]] void FailedWrite(int32_t Line, const std::string& FileName) {
    throw TMyException(EBRUN_SOURCE_NAME, Line, "failed to write file", "", 0, "", 0, FileName);
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

void SetCalendarClock(TCalendarClock Clock) { System.CalendarClock = Clock; }
int64_t CalendarTime() {
    return System.CalendarClock != nullptr ? System.CalendarClock()
                                           : static_cast<int64_t>(std::time(nullptr));
}
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

namespace {

// A stream on Utf8Name opened for reading (Mode "r..."), only when the name stands for a regular file.
// O_NONBLOCK keeps the open from waiting for a pipe's writer; the opened descriptor itself is looked at, so
// the name cannot change between the look and the open; reads block again as a stream's reads expect.
FILE* OpenRegularFile(const char* Utf8Name, const char* Mode) {
    const int Access = std::strchr(Mode, '+') != nullptr ? O_RDWR : O_RDONLY;
    const int Descriptor = open(Utf8Name, Access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (Descriptor < 0) return nullptr;
    struct stat Status;
    const int Flags = fcntl(Descriptor, F_GETFL);
    FILE* Stream = nullptr;
    if (fstat(Descriptor, &Status) == 0 && S_ISREG(Status.st_mode) && Flags != -1 &&
        fcntl(Descriptor, F_SETFL, Flags & ~O_NONBLOCK) == 0)
        Stream = fdopen(Descriptor, Mode);
    if (Stream == nullptr) close(Descriptor);
    return Stream;
}

} // namespace

FILE* OpenFile(const char* FileName, const char* Mode) {
    if (FileName == nullptr || Mode == nullptr) return nullptr;
    const std::string Utf8Name = Latin1ToUtf8(FileName);
    if (Mode[0] == 'r') return OpenRegularFile(Utf8Name.c_str(), Mode);
    return fopen(Utf8Name.c_str(), Mode);
}

TCopyResult CopyToNewFile(const char* From, const char* To) {
    std::error_code Error;
    if (From == nullptr || To == nullptr) return COPY_FAILED;
    // A dangling link of the name counts as taken: the copy would be written through it.
    if (std::filesystem::symlink_status(SystemPath(To), Error).type() !=
        std::filesystem::file_type::not_found)
        return COPY_NAME_TAKEN;
    std::filesystem::copy_file(SystemPath(From), SystemPath(To), std::filesystem::copy_options::none, Error);
    if (Error == std::errc::file_exists) return COPY_NAME_TAKEN;
    // The copy is on the disk before the caller replaces its original.
    int Descriptor = Error ? -1 : open(SystemPath(To).c_str(), O_RDONLY | O_CLOEXEC);
    const bool Durable = Descriptor >= 0 && Synced(Descriptor);
    if (Descriptor >= 0) close(Descriptor);
    if (Durable) return COPY_DONE;
    std::filesystem::remove(SystemPath(To), Error);
    return COPY_FAILED;
}

TFileReplacement::TFileReplacement(const char* FileName) {
    if (FileName == nullptr) return;
    Name = FileName;
    Target = FollowLinks(SystemPath(FileName)).string();
    // Only a regular file is replaced: a device, a pipe or a directory under the name stays as it is.
    struct stat Status;
    const bool Exists = !Target.empty() && stat(Target.c_str(), &Status) == 0;
    if (Target.empty() || (Exists && !S_ISREG(Status.st_mode))) return;
    for (int Try = 0; Try < TEMP_NAME_TRIES && Descriptor < 0; Try++) {
        Temp = Target + TempSuffix();
        Descriptor = open(Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (Descriptor < 0 && errno != EEXIST) break;
    }
    if (Descriptor < 0) {
        Temp.clear();
        return;
    }
    // The new file keeps the permissions of the one it replaces.
    if (Exists) fchmod(Descriptor, Status.st_mode & 0777);
}

TFileReplacement::~TFileReplacement() {
    if (Descriptor >= 0) close(Descriptor);
    if (!Temp.empty()) unlink(Temp.c_str());
}

FILE* TFileReplacement::openStream() {
    if (Descriptor < 0) return nullptr;
    int Copy = dup(Descriptor);
    if (Copy < 0) return nullptr;
    FILE* Stream = fdopen(Copy, "wb");
    if (Stream == nullptr) close(Copy);
    return Stream;
}

bool TFileReplacement::commit(int64_t Size, bool (*Ready)()) {
    CHECK_TEXT(Descriptor >= 0, "Descriptor>=0");
    struct stat Status;
    // Sizes differ when bytes were lost on the way to the disk without an error.
    CHECK_TEXT(fstat(Descriptor, &Status) == 0 && Status.st_size == Size, "FileSize==Size");
    if (!Synced(Descriptor)) FailedWrite(__LINE__, Name);
    close(Descriptor);
    Descriptor = -1;
    if (Ready != nullptr && !Ready()) return false;
    CHECK_TEXT(rename(Temp.c_str(), Target.c_str()) == 0, "rename(Temp,Target)==0");
    Temp.clear();
    if (!SyncedDirectoryOf(Target)) FailedWrite(__LINE__, Name);
    return true;
}

void SetFileSync(TFileSync Sync) { FileSync = Sync != nullptr ? Sync : fsync; }

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
