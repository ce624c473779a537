// System helpers: the millisecond clock, files, the text clipboard, the shared text buffer and the
// pseudo-random generator.
#include "foundation/sysinc.h"

#include "foundation/Exception.h"
#include "platform/Clipboard.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <iterator>
#include <memory>
#include <new>
#include <set>
#include <sys/file.h>
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
// Seconds a temporary of an earlier version, which took no lock, stays unchanged before it counts as left.
constexpr int64_t EARLIER_LEFTOVER_AGE = 3600;

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

// Syncs the directory that holds Path, so that a rename in it survives a power cut. Runs once the file is
// in place, so a directory that cannot be opened or synced costs only that.
void SyncDirectoryOf(const std::filesystem::path& Path) {
    std::filesystem::path Directory = Path.parent_path();
    int Descriptor = open(Directory.empty() ? "." : Directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Descriptor < 0) return;
    Synced(Descriptor);
    close(Descriptor);
}

// The temporary names of the program's own, '?' a lower-case hexadecimal digit and '#' a decimal one:
// first those a save makes now; then those earlier versions made beside the options file and an automap
// block, which took no lock.
constexpr const char* TEMP_PATTERN = "Ebrun.????????????????.tmp";
constexpr const char* EARLIER_TEMP_PATTERNS[] = {"Ebrun.cfg.????????.tmp", "########.map.????????.tmp"};

bool FitsPattern(std::string_view Name, std::string_view Pattern) {
    if (Name.size() != Pattern.size()) return false;
    for (size_t i = 0; i < Name.size(); i++) {
        const char c = Name[i];
        const bool Digit = c >= '0' && c <= '9';
        if (Pattern[i] == '#' ? !Digit : Pattern[i] == '?' ? !Digit && (c < 'a' || c > 'f') : c != Pattern[i])
            return false;
    }
    return true;
}

// A name that fits TEMP_PATTERN and differs between processes and between calls; uniqueness itself comes
// from O_EXCL. Short, so that it fits in any directory its file does.
std::string TempName() {
    static uint32_t Serial = 0;
    const uint64_t Mixed = (static_cast<uint64_t>(getpid()) << 32 | Serial++) * 0x9E3779B97F4A7C15u ^
                           static_cast<uint64_t>(SystemMilliseconds()) * 40503u;
    char Name[32];
    std::snprintf(Name, sizeof Name, "Ebrun.%016llx.tmp", static_cast<unsigned long long>(Mixed));
    return Name;
}

// Removes Path when it is a regular file that no running save holds: one that can be locked. A file
// system without locks thus keeps every temporary.
void RemoveUnlocked(const std::filesystem::path& Path) {
    int Descriptor = open(Path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (Descriptor < 0) return;
    struct stat Status;
    if (fstat(Descriptor, &Status) == 0 && S_ISREG(Status.st_mode) &&
        flock(Descriptor, LOCK_EX | LOCK_NB) == 0)
        unlink(Path.c_str());
    close(Descriptor);
}

// Removes from Directory what saves cut short left there: temporaries of the program's own names that no
// running save holds, those of earlier versions only once unchanged for EARLIER_LEFTOVER_AGE. Never
// anything but a regular file of such a name. Once per directory and run: leftovers come from ended runs.
void RemoveLeftovers(const std::filesystem::path& Directory) {
    namespace fs = std::filesystem;
    static std::set<std::string> Cleared; // directories this run has cleared of leftovers
    const fs::path Where = Directory.empty() ? "." : Directory;
    std::error_code Error;
    if (!Cleared.insert(fs::absolute(Where, Error).lexically_normal().string()).second) return;
    for (fs::directory_iterator Entry(Where, Error), End; !Error && Entry != End; Entry.increment(Error)) {
        const std::string Name = Entry->path().filename().string();
        const bool Earlier = std::any_of(std::begin(EARLIER_TEMP_PATTERNS), std::end(EARLIER_TEMP_PATTERNS),
                                         [&](const char* Pattern) { return FitsPattern(Name, Pattern); });
        struct stat Status;
        if ((!Earlier && !FitsPattern(Name, TEMP_PATTERN)) || lstat(Entry->path().c_str(), &Status) != 0 ||
            !S_ISREG(Status.st_mode))
            continue;
        if (!Earlier || Status.st_mtime < std::time(nullptr) - EARLIER_LEFTOVER_AGE)
            RemoveUnlocked(Entry->path());
    }
}

// Takes the lock that keeps a new temporary from the removal of leftovers. False when a removal took the
// file first (holds its lock, or has unlinked it).
bool LockedWhileNamed(int Descriptor) {
    if (flock(Descriptor, LOCK_EX | LOCK_NB) != 0) return errno != EWOULDBLOCK; // no locks: none removes it
    struct stat Status;
    return fstat(Descriptor, &Status) == 0 && Status.st_nlink > 0;
}

// A new, locked file of a temporary name in Directory, its name in Temp; -1 with errno set when none can
// be made.
int CreateTemp(const std::filesystem::path& Directory, std::string& Temp) {
    for (int Try = 0; Try < TEMP_NAME_TRIES; Try++) {
        Temp = (Directory / TempName()).string();
        const int Descriptor = open(Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (Descriptor < 0) {
            if (errno == EEXIST) continue;
            break;
        }
        if (LockedWhileNamed(Descriptor)) return Descriptor;
        close(Descriptor); // taken for a leftover, and removed as one
    }
    const int Error = errno;
    Temp.clear();
    errno = Error;
    return -1;
}

// Errors of a new file's creation that mean the directory takes none while a file in it may still be
// written: its mode, an immutable directory, a read-only mount under a writable file. A full disk or quota
// is no such reason: writing in place there could leave neither the old file nor the new.
bool RefusesNewFiles(int Error) { return Error == EACCES || Error == EPERM || Error == EROFS; }

// Writes all Size bytes of Data at the file's start.
bool WrittenWhole(int Descriptor, const char* Data, size_t Size) {
    for (size_t Done = 0; Done < Size;) {
        const ssize_t Count = pwrite(Descriptor, Data + Done, Size - Done, static_cast<off_t>(Done));
        if (Count < 0 && errno == EINTR) continue;
        if (Count <= 0) return false;
        Done += static_cast<size_t>(Count);
    }
    return true;
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
    if (FileName == nullptr) return false;
    const std::string Name = Latin1ToUtf8(FileName);
    struct stat Status;
    return stat(Name.c_str(), &Status) == 0 && S_ISREG(Status.st_mode) && unlink(Name.c_str()) == 0;
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

// The open flags of an fopen Mode ("r", "w" or "a", then '+', 'b', 'x' or 'e' in any order).
int OpenFlagsOf(const char* Mode) {
    const bool Update = std::strchr(Mode, '+') != nullptr;
    int Flags = Mode[0] == 'r' ? (Update ? O_RDWR : O_RDONLY) : (Update ? O_RDWR : O_WRONLY) | O_CREAT;
    if (Mode[0] == 'w') Flags |= O_TRUNC;
    if (Mode[0] == 'a') Flags |= O_APPEND;
    if (Mode[0] != 'r' && std::strchr(Mode, 'x') != nullptr) Flags |= O_EXCL;
    return Flags;
}

// A stream on Utf8Name as fopen opens it with Mode, only when the name stands for a regular file.
// O_NONBLOCK keeps the open from waiting for a pipe's other end; the opened descriptor itself is looked at,
// so the name cannot change between the look and the open; reads and writes block again as a stream's expect.
FILE* OpenRegularFile(const char* Utf8Name, const char* Mode) {
    const int Descriptor = open(Utf8Name, OpenFlagsOf(Mode) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
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
    if (Mode[0] != 'r' && Mode[0] != 'w' && Mode[0] != 'a') return nullptr;
    return OpenRegularFile(Latin1ToUtf8(FileName).c_str(), Mode);
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
    if (!Error && SyncFile(To)) return COPY_DONE;
    std::filesystem::remove(SystemPath(To), Error);
    return COPY_FAILED;
}

bool SyncFile(const char* FileName) {
    if (FileName == nullptr) return false;
    const int Descriptor = open(SystemPath(FileName).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (Descriptor < 0) return false;
    const bool Durable = Synced(Descriptor);
    close(Descriptor);
    return Durable;
}

TFileReplacement::TFileReplacement(const char* FileName, char Filler) : Filler(Filler) {
    if (FileName == nullptr) return;
    Name = FileName;
    Target = FollowLinks(SystemPath(FileName)).string();
    // Only a regular file is replaced: a device, a pipe or a directory under the name stays as it is.
    struct stat Status;
    const bool Exists = !Target.empty() && stat(Target.c_str(), &Status) == 0;
    if (Target.empty() || (Exists && !S_ISREG(Status.st_mode))) return;
    const std::filesystem::path Directory = std::filesystem::path(Target).parent_path();
    RemoveLeftovers(Directory);
    Descriptor = CreateTemp(Directory, Temp);
    if (Descriptor < 0 && Exists && RefusesNewFiles(errno)) openInPlace();
    // The new file keeps the permissions of the one it replaces.
    if (Descriptor >= 0 && !InPlace && Exists) fchmod(Descriptor, Status.st_mode & 0777);
}

// Opened without truncating, and without waiting on whatever the name has become meanwhile; locked, so
// that two saves in place never mix their bytes.
void TFileReplacement::openInPlace() {
    Descriptor = open(Target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat Status;
    if (Descriptor >= 0 && (fstat(Descriptor, &Status) != 0 || !S_ISREG(Status.st_mode) ||
                            (flock(Descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK))) {
        close(Descriptor);
        Descriptor = -1;
    }
    InPlace = Descriptor >= 0;
}

TFileReplacement::~TFileReplacement() {
    if (!Temp.empty()) unlink(Temp.c_str());
    if (Descriptor >= 0) close(Descriptor);
    free(Content);
}

FILE* TFileReplacement::openStream() {
    if (Descriptor < 0) return nullptr;
    if (InPlace) {
        // Gathered in memory, so that nothing but a whole new content touches the old file.
        if (Gathering) return nullptr;
        FILE* Stream = open_memstream(&Content, &ContentSize);
        Gathering = Stream != nullptr;
        return Stream;
    }
    int Copy = dup(Descriptor);
    if (Copy < 0) return nullptr;
    FILE* Stream = fdopen(Copy, "wb");
    if (Stream == nullptr) close(Copy);
    return Stream;
}

bool TFileReplacement::commit(int64_t Size, bool (*Ready)()) {
    CHECK_TEXT(Descriptor >= 0, "Descriptor>=0");
    const bool Committed = InPlace ? writeInPlace(Size, Ready) : renameOver(Size, Ready);
    close(Descriptor); // its lock kept the new file from the removal of leftovers until the file had its name
    Descriptor = -1;
    return Committed;
}

bool TFileReplacement::renameOver(int64_t Size, bool (*Ready)()) {
    struct stat Status;
    // Sizes differ when bytes were lost on the way to the disk without an error.
    CHECK_TEXT(fstat(Descriptor, &Status) == 0 && Status.st_size == Size, "FileSize==Size");
    if (!Synced(Descriptor)) FailedWrite(__LINE__, Name);
    if (Ready != nullptr && !Ready()) return false;
    CHECK_TEXT(rename(Temp.c_str(), Target.c_str()) == 0, "rename(Temp,Target)==0");
    Temp.clear();
    SyncDirectoryOf(Target);
    return true;
}

// The new content and, up to the old size, filler go over the old bytes in one write; that is on the disk
// before the file is cut to the new size. Cut short between two of these calls, the file holds the old
// content, the new one with filler, or the new one.
bool TFileReplacement::writeInPlace(int64_t Size, bool (*Ready)()) {
    // Fewer bytes gathered than written: the stream is still open, or bytes were lost on the way.
    CHECK_TEXT(Content != nullptr && static_cast<int64_t>(ContentSize) == Size, "FileSize==Size");
    if (Ready != nullptr && !Ready()) return false;
    struct stat Status;
    if (fstat(Descriptor, &Status) != 0) FailedWrite(__LINE__, Name);
    const size_t PaddedSize = std::max(ContentSize, static_cast<size_t>(Status.st_size));
    // The room first, so that a full disk stops the save before the old file is touched.
    if (fallocate(Descriptor, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(PaddedSize)) != 0 &&
        (errno == ENOSPC || errno == EDQUOT))
        FailedWrite(__LINE__, Name);
    if (PaddedSize > ContentSize) {
        char* Padded = static_cast<char*>(realloc(Content, PaddedSize));
        if (Padded == nullptr) FailedWrite(__LINE__, Name);
        Content = Padded;
        memset(Content + ContentSize, Filler, PaddedSize - ContentSize);
    }
    if (!WrittenWhole(Descriptor, Content, PaddedSize) || !Synced(Descriptor)) FailedWrite(__LINE__, Name);
    if (PaddedSize > ContentSize && (ftruncate(Descriptor, Size) != 0 || !Synced(Descriptor)))
        FailedWrite(__LINE__, Name);
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
