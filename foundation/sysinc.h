// System helpers: the millisecond clock, files, the text clipboard, the shared text buffer and the
// pseudo-random generator. The first module started and the last one ended.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

void InitSystem(); // allocates the 1024-byte shared buffer and seeds the random generator from the timer
void ExitSystem(); // releases the shared buffer

// Milliseconds since the program was loaded; wraps after 2^32 ms as the system timer does.
int32_t GetMilliseconds();
// Readings of the wrapping clock are added and compared modulo 2^32, so both hold across the wrap for
// spans under 2^31 ms: the reading Duration ms after Start, and the ms from Now until Deadline (negative
// once it has passed).
int32_t TimeAfter(int32_t Start, int32_t Duration);
int32_t TimeUntil(int32_t Deadline, int32_t Now = GetMilliseconds());

// The system millisecond timer: monotonic, 32 bits, wrapping. Tests put their own in its place;
// nullptr restores the system's.
using TMillisecondTimer = uint32_t (*)();
void SetMillisecondTimer(TMillisecondTimer Timer);
uint32_t GetSystemTimer();
uint32_t GetStartTime(); // the timer's value when the program was loaded

// Calendar time in seconds, as the C library's time() gives it: the skulls' removal and the console lines'
// stamps read it. Tests put their own in its place; nullptr restores time().
using TCalendarClock = int64_t (*)();
void SetCalendarClock(TCalendarClock Clock);
int64_t CalendarTime();

// File names are Latin-1, like every text of the client; the system sees them in UTF-8.
bool FileExists(const char* FileName);     // a directory of that name counts as well
int64_t GetFileSize(const char* FileName); // bytes of a regular file; -1 for anything else
// Removes the name only where it stands for a regular file: a link to one goes itself and its target stays;
// a pipe, a device, a socket, a directory or a dangling link stays. True when the name was removed.
bool RemoveFile(const char* FileName);
// Whether the file's mode lets this user write it: the owner's write bit for an own file, else the group's
// or others' bit as well as the system's leave. Also an administrator gets no right the mode withholds.
bool IsFileWritable(const char* FileName);
int RenameFile(const char* OldName, const char* NewName); // 0 on success
// A stream as fopen gives it; NULL when the file cannot be opened. Only a regular file (links followed) is
// opened, to read as to write: a pipe, a device, a socket or a directory of that name gives NULL at once,
// never a wait.
FILE* OpenFile(const char* FileName, const char* Mode);
// Copies From's bytes into a new file To and syncs it; never replaces a file (a link included) of that
// name. A failed copy leaves no file To.
enum TCopyResult { COPY_DONE, COPY_NAME_TAKEN, COPY_FAILED };
TCopyResult CopyToNewFile(const char* From, const char* To);
// Puts the file's bytes on the disk: true once they are there, and where the file system cannot sync; false
// when the file cannot be opened or the sync reports a write error.
bool SyncFile(const char* FileName);

// A file that replaces another whole or not at all. It is made beside the file that FileName stands for
// (symbolic links followed, so a link stays a link and its target gets the new content), under a short name
// of the program's own that no other file has ("Ebrun.", 16 hexadecimal digits, ".tmp"; locked while it
// lives), and renamed over that file by commit once its bytes are on the disk. Until then it is removed when
// the object ends. The first replacement in a directory in a run removes the temporaries there that saves
// cut short left behind, never one that a running save holds.
// Where the directory refuses new files (its mode, an immutable directory, a read-only mount) but the file
// itself may be written, the new content is gathered in memory and commit writes it over the old file in
// place, followed by Filler up to the old file's size, and cuts the file to size only once that is on the
// disk. Filler is a byte that the file's reader skips after the content, so the file reads as the old or
// the new content wherever the save is cut short; only a write torn inside itself (a power cut during it)
// can leave a mix.
class TFileReplacement {
public:
    TFileReplacement(const char* FileName, char Filler);
    ~TFileReplacement();
    TFileReplacement(const TFileReplacement&) = delete;
    TFileReplacement& operator=(const TFileReplacement&) = delete;

    // A new stream for the new content, owned by the caller, who closes it before commit and before this
    // object ends; NULL when the new file could not be made nor the old one opened for writing in place (a
    // directory that refuses it, links in a loop, a name that stands for no regular file, a save in place
    // of another client under way) or no stream opened.
    FILE* openStream();
    // Syncs the new file; when Ready (if given) then agrees, renames it over the old one and syncs the
    // directory, or writes it over the old one in place as told above. False when Ready refused. Throws
    // TMyException when the stream did not give Size bytes, when a sync of the file reports a write error,
    // when the rename fails or the disk is full for a save in place. A file system that cannot sync is no
    // failure, nor is the directory's sync once the file is in place.
    bool commit(int64_t Size, bool (*Ready)() = nullptr);

private:
    void openInPlace();
    bool renameOver(int64_t Size, bool (*Ready)());
    bool writeInPlace(int64_t Size, bool (*Ready)());

    std::string Name;         // as the caller gave it, for error texts
    std::string Target, Temp; // the system's names; Temp empty once renamed, and for a save in place
    int Descriptor = -1;      // the new file, locked; for a save in place the old one
    bool InPlace = false;
    char Filler;             // in place: after the new content, up to the old size, until the cut
    bool Gathering = false;  // in place: the stream is made, and gathers into Content
    char* Content = nullptr; // in place: the new content once the stream is closed, and its size
    size_t ContentSize = 0;
};

// The system's fsync; tests put their own in its place, nullptr restores the system's.
using TFileSync = int (*)(int Descriptor);
void SetFileSync(TFileSync Sync);

// The clipboard's text in Latin-1, carriage returns removed and line feeds turned into blanks, in the
// shared buffer (valid until the next call of this or of GrowSharedBuffer); NULL when the clipboard
// cannot be read.
char* GetClipboardText();
bool IsClipboardEmpty();
bool SetClipboardText(const char* Text); // false when the clipboard refuses the text

// Makes the shared buffer at least Size bytes, keeping its contents; it never shrinks.
void GrowSharedBuffer(uint32_t Size);
char* GetSharedBuffer();
uint32_t GetSharedBufferSize();

// The run's one pseudo-random generator: state = state * 214013 + 2531011 (mod 2^32), each draw bits 16
// to 30 of the new state (0..32767). Seeded once by InitSystem; the state is 1 before that.
void SeedRandom(uint32_t Seed);
int32_t Random();

// Conversions at the system boundary; a character beyond Latin-1 or a malformed sequence becomes '?'.
std::string Latin1ToUtf8(std::string_view Text);
std::string Utf8ToLatin1(std::string_view Text);
