// The binary file reader and writer: layout on disk, short reads, and the failure texts.
#include "foundation/Script.h"
#include "tests/foundation/TempDirectory.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// The inner text of a failure that passed one catch frame, without its location.
std::string Inner(const std::string& Text) {
    const std::string Head = "exception occurred, reason:\n";
    if (Text.rfind(Head, 0) != 0) return "not framed: " + Text;
    return AfterLocation(Text.substr(Head.size()), "Script.cpp");
}

} // namespace

TEST(BinaryFile, WriterLayoutReadsBack) {
    TTempDirectory Directory;
    std::string Name = Directory.file("data.bin");
    TBinaryWriter w;
    w.open(Name.c_str());
    w.writeByte(0xAB);
    w.writeWord(0x1234);
    w.writeQuad(0x01020304);
    w.writeString("");
    w.writeString(std::string(65536 + 2, 'h').c_str()); // the length word and the text agree
    const uint8_t Raw[] = {9, 8};
    w.writeBytes(Raw, 2);
    w.writeBytes(Raw, 0); // writes nothing and fails nothing
    w.close();
    EXPECT_EQ(Directory.read("data.bin"),
              std::string("\xAB\x34\x12\x04\x03\x02\x01\0\0\x02\0hh\x09\x08", 15));

    TBinaryReader r;
    r.open(Name.c_str());
    EXPECT_EQ(r.readByte(), 0xAB);
    EXPECT_EQ(r.readWord(), 0x1234);
    EXPECT_EQ(r.readQuad(), 0x01020304u);
    EXPECT_STREQ(r.readNewString().get(), "");
    EXPECT_STREQ(r.readNewString().get(), "hh");
    uint8_t Out[2] = {};
    EXPECT_FALSE(r.eof());
    r.readBytes(Out, 2);
    EXPECT_EQ(Out[1], 8);
    EXPECT_TRUE(r.eof());
    r.seek(3);
    EXPECT_EQ(r.readQuad(), 0x01020304u);
}

TEST(BinaryFile, ShortReadsAreOutOfDataNamingTheFile) {
    TTempDirectory Directory;
    std::string Name = Directory.write("short.bin", std::string("\x01\x02\x03", 3));
    TBinaryReader r;
    r.open(Name.c_str());
    r.seek(2);
    EXPECT_EQ(Inner(ThrownFrom("Script.cpp", [&] { r.readWord(); })), "out of data, reason:\n" + Name);
    EXPECT_TRUE(r.eof()); // the one byte left was consumed
    r.seek(0);
    uint8_t Out[5];
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { r.readBytes(Out, 5); }),
              "out of data (Count = 5), reason:\n" + Name);
    r.seek(100); // beyond the end is allowed; the read after it is not
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { r.readByte(); }), "out of data, reason:\n" + Name);
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { r.seek(-1); }),
              "negative offset (Offset = -1), reason:\n" + Name);
    r.seek(0);
    EXPECT_EQ(Inner(ThrownFrom("Script.cpp", [&] { r.readNewString(); })),
              "out of data (Count = 513), reason:\n" + Name);
    TBinaryReader e;
    e.open(Directory.write("empty", "").c_str());
    EXPECT_TRUE(e.eof());
}

TEST(BinaryFile, BadBuffersCountsAndClosedFiles) {
    TTempDirectory Directory;
    TBinaryReader r;
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { r.readByte(); }), "no file open");
    EXPECT_EQ(Inner(ThrownFrom("Script.cpp", [&] { r.readQuad(); })), "no file open");
    r.open(Directory.write("f", "abcd").c_str());
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { r.readBytes(nullptr, 1); }), "Buffer==NULL");
    uint8_t Out[4];
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { r.readBytes(Out, -1); }),
              "assertion failed (Count = -1), reason:\nCount>=0");
    EXPECT_EQ(r.readByte(), 'a');
    TBinaryWriter w;
    // Two frames, the string's and the length word's, around the inner failure.
    EXPECT_EQ(Inner(Inner(ThrownFrom("Script.cpp", [&] { w.writeString("x"); }))), "no file open");
    w.open(Directory.file("g").c_str());
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { w.writeBytes(Out, -1); }),
              "assertion failed (Count = -1), reason:\nCount>=0");
}

TEST(BinaryFile, SecondOpenFailsAndKeepsTheFirst) {
    TTempDirectory Directory;
    std::string First = Directory.write("first", "A");
    TBinaryReader r;
    r.open(First.c_str());
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { r.open("other"); }), "file still open, reason:\n" + First);
    EXPECT_EQ(r.readByte(), 'A');
    std::string Missing = Directory.file("missing");
    TBinaryReader m;
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { m.open(Missing.c_str()); }),
              "failed to open file, reason:\n" + Missing);
}

namespace {

// A disk that is always full: a device, which the writers take only as a stream opened elsewhere.
FILE* FullDevice() { return fopen("/dev/full", "wb"); }

} // namespace

TEST(BinaryFile, FailedWritesNameTheFile) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    TBinaryWriter w;
    w.open(FullDevice(), "/dev/full");
    std::vector<uint8_t> Block(100000);
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { w.writeBytes(Block.data(), 100000); }),
              "failed to write file (Count = 100000), reason:\n/dev/full");
}

TEST(BinaryFile, AWriteLostInTheFinalFlushIsReportedOnClose) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    TBinaryWriter b;
    b.open(FullDevice(), "/dev/full");
    b.writeByte(1);
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { b.close(); }), "failed to write file, reason:\n/dev/full");
    TScriptWriter s;
    s.open(FullDevice(), "/dev/full");
    s.writeText("Key");
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { s.close(); }), "failed to write file, reason:\n/dev/full");
}

namespace {

void WriteNew(TBinaryWriter& w) { w.writeQuad(0x64636261); }

// What the sync stand-in saw at each call, and the error it answers with (0: success).
struct TSyncCall {
    bool Directory;
    std::string Target; // the old file's content at that moment
};
std::vector<TSyncCall> SyncCalls;
std::string SyncTarget;
int SyncFileError = 0, SyncDirectoryError = 0;

int RecordingSync(int Descriptor) {
    struct stat Status;
    fstat(Descriptor, &Status);
    std::ifstream In(SyncTarget, std::ios::binary);
    SyncCalls.push_back({S_ISDIR(Status.st_mode), std::string(std::istreambuf_iterator<char>(In), {})});
    errno = S_ISDIR(Status.st_mode) ? SyncDirectoryError : SyncFileError;
    return errno == 0 ? 0 : -1;
}

} // namespace

TEST(SaveThroughTempFile, OnlyAWholeNewFileReplacesTheOld) {
    TTempDirectory Directory;
    std::string Name = Directory.write("data.bin", "old");
    auto Fail = [](TBinaryWriter& w) {
        w.writeByte('x');
        w.writeString(nullptr);
    };

    std::string Thrown = ThrownText([&] { SaveThroughTempFile<TBinaryWriter>(Name.c_str(), Fail); });
    EXPECT_NE(Thrown.find("Text!=NULL"), std::string::npos) << Thrown;
    EXPECT_FALSE(SaveThroughTempFile<TBinaryWriter>(Name.c_str(), WriteNew, [] { return false; }));
    // Bytes lost on the way to the disk: the file holds fewer than were written.
    {
        TFileReplacement Replacement(Name.c_str(), 0);
        FILE* Stream = Replacement.openStream();
        ASSERT_NE(Stream, nullptr);
        fputs("ab", Stream);
        fclose(Stream);
        Thrown = ThrownText([&] { Replacement.commit(3); });
        EXPECT_NE(Thrown.find("FileSize==Size"), std::string::npos) << Thrown;
    }
    EXPECT_EQ(Directory.read("data.bin"), "old");
    EXPECT_EQ(Listing(Directory.file("")), std::vector<std::string>{"data.bin"});
    // No new file can be made where the directory is missing.
    EXPECT_FALSE(SaveThroughTempFile<TBinaryWriter>(Directory.file("missing/data.bin").c_str(), WriteNew));

    // The leftover of an earlier save is no obstacle, and the save leaves nothing beside the file.
    std::filesystem::create_directories(Directory.file("data.bin.tmp/inside"));
    EXPECT_TRUE(SaveThroughTempFile<TBinaryWriter>(Name.c_str(), WriteNew, [] { return true; }));
    EXPECT_EQ(Directory.read("data.bin"), "abcd");
    EXPECT_EQ(Listing(Directory.file("")), (std::vector<std::string>{"data.bin", "data.bin.tmp"}));

    // The new file has the old one's permissions, not those the process gives a file it makes.
    const auto Kept = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                      std::filesystem::perms::group_read;
    std::filesystem::permissions(Name, Kept);
    const mode_t Mask = umask(0);
    EXPECT_TRUE(SaveThroughTempFile<TBinaryWriter>(Name.c_str(), WriteNew));
    umask(Mask);
    EXPECT_EQ(std::filesystem::status(Name).permissions(), Kept);
}

TEST(SaveThroughTempFile, ALinkStaysAndItsTargetGetsTheContent) {
    namespace fs = std::filesystem;
    TTempDirectory Directory;
    fs::create_directory(Directory.file("real"));
    Directory.write("real/data.bin", "old");
    fs::create_symlink("real/data.bin", Directory.file("data.bin")); // relative to the link's directory
    fs::create_symlink("data.bin", Directory.file("chain"));
    fs::create_symlink(fs::absolute(Directory.file("real/new.bin")), Directory.file("new.bin")); // dangling
    fs::create_symlink("loop", Directory.file("loop"));
    ASSERT_EQ(mkfifo(Directory.file("real/pipe").c_str(), 0600), 0);
    fs::create_symlink("real/pipe", Directory.file("pipe"));
    const std::string Longest(251, 'n'); // with ".bin" as long as a name can be: no room for a suffix
    Directory.write("real/" + Longest + ".bin", "old");
    fs::create_symlink("real/" + Longest + ".bin", Directory.file("long"));

    EXPECT_TRUE(SaveThroughTempFile<TBinaryWriter>(Directory.file("chain").c_str(), WriteNew));
    EXPECT_TRUE(SaveThroughTempFile<TBinaryWriter>(Directory.file("long").c_str(), WriteNew));
    EXPECT_TRUE(SaveThroughTempFile<TBinaryWriter>(Directory.file("new.bin").c_str(), WriteNew));
    EXPECT_FALSE(SaveThroughTempFile<TBinaryWriter>(Directory.file("loop").c_str(), WriteNew));
    EXPECT_FALSE(SaveThroughTempFile<TBinaryWriter>(Directory.file("pipe").c_str(), WriteNew));
    for (const char* Link : {"data.bin", "chain", "new.bin", "loop", "pipe", "long"})
        EXPECT_TRUE(fs::is_symlink(Directory.file(Link))) << Link;
    EXPECT_EQ(Directory.read("real/data.bin"), "abcd");
    EXPECT_EQ(Directory.read("real/new.bin"), "abcd");
    EXPECT_EQ(Directory.read("real/" + Longest + ".bin"), "abcd");
    EXPECT_TRUE(fs::is_fifo(Directory.file("real/pipe")));
    EXPECT_EQ(Listing(Directory.file("real")),
              (std::vector<std::string>{"data.bin", "new.bin", Longest + ".bin", "pipe"}));
}

TEST(SaveThroughTempFile, TheFileIsSyncedBeforeTheRenameAndTheDirectoryAfter) {
    TTempDirectory Directory;
    std::string Name = Directory.write("data.bin", "old");
    SyncTarget = Name;
    SyncCalls.clear();
    SetFileSync(RecordingSync);
    EXPECT_TRUE(SaveThroughTempFile<TBinaryWriter>(Name.c_str(), WriteNew));
    ASSERT_EQ(SyncCalls.size(), 2u);
    EXPECT_FALSE(SyncCalls[0].Directory);
    EXPECT_EQ(SyncCalls[0].Target, "old");
    EXPECT_TRUE(SyncCalls[1].Directory);
    EXPECT_EQ(SyncCalls[1].Target, "abcd");

    // A file system that cannot sync saves all the same; a write error fails the save.
    const auto Save = [&]() -> std::string { // "saved", "refused" or the failure's text
        Directory.write("data.bin", "old");
        bool Saved = false;
        const std::string Thrown =
            ThrownText([&] { Saved = SaveThroughTempFile<TBinaryWriter>(Name.c_str(), WriteNew); });
        return Thrown != "no exception" ? Thrown : Saved ? "saved" : "refused";
    };
    SyncFileError = EINVAL;
    SyncDirectoryError = ENOTSUP;
    EXPECT_EQ(Save(), "saved");
    EXPECT_EQ(Directory.read("data.bin"), "abcd");
    SyncFileError = EIO;
    EXPECT_NE(Save().find("failed to write file"), std::string::npos);
    EXPECT_EQ(Directory.read("data.bin"), "old");
    EXPECT_EQ(Listing(Directory.file("")), std::vector<std::string>{"data.bin"});
    // Once renamed, the new file is in place: a directory that then fails to sync fails no save.
    SyncFileError = 0;
    SyncDirectoryError = EIO;
    EXPECT_EQ(Save(), "saved");
    EXPECT_EQ(Directory.read("data.bin"), "abcd");
    SetFileSync(nullptr);
    SyncDirectoryError = 0;
}

namespace {

// "saved", "refused" or "thrown", then what FileName holds after the save ("-" when there is no file).
std::string SaveOutcome(const char* FileName, void (*Write)(TBinaryWriter&), bool (*Ready)() = nullptr) {
    bool Saved = false;
    const std::string Thrown =
        ThrownText([&] { Saved = SaveThroughTempFile<TBinaryWriter>(FileName, Write, Ready); });
    std::ifstream In(FileName, std::ios::binary);
    const std::string Content = In ? std::string(std::istreambuf_iterator<char>(In), {}) : "-";
    return (Thrown != "no exception" ? "thrown " : Saved ? "saved " : "refused ") + Content;
}

void WriteNothingWhole(TBinaryWriter& w) {
    w.writeByte('x');
    w.writeString(nullptr);
}

// A client in the middle of a save of FileName: it makes its new file and writes it, says on Made whether
// it could ('!' or '-'), and commits when the pipe Hold ends; its exit code is 0 when the save then landed.
pid_t SaveUnderWay(const std::string& FileName, int Made, const int Hold[2]) {
    const pid_t Child = fork();
    if (Child != 0) return Child;
    close(Hold[1]);
    TFileReplacement Replacement(FileName.c_str(), 0);
    FILE* Stream = Replacement.openStream();
    const bool Written = Stream != nullptr && fputs("late", Stream) >= 0 && fclose(Stream) == 0;
    char Byte;
    if (write(Made, Written ? "!" : "-", 1) != 1 || !Written) _exit(1);
    while (read(Hold[0], &Byte, 1) > 0) {
    }
    bool Landed = false;
    ThrownText([&] { Landed = Replacement.commit(4); });
    _exit(Landed ? 0 : 1);
}

} // namespace

TEST(SaveThroughTempFile, ADirectoryThatRefusesNewFilesHasTheFileWrittenInPlace) {
    TTempDirectory Directory;
    Directory.write("data.bin", "old and longer");
    Directory.write("busy.bin", "old");
    const std::string Outcomes = InDirectoryRefusingNewFiles(Directory.file(""), [] {
        std::string Outcome = SaveOutcome("data.bin", WriteNothingWhole);
        Outcome += ", " + SaveOutcome("data.bin", WriteNew, [] { return false; });
        Outcome += ", " + SaveOutcome("data.bin", WriteNew);
        Outcome += ", " + SaveOutcome("new.bin", WriteNew);
        // Another client's save in place of the same file is under way.
        const int Other = open("busy.bin", O_RDONLY | O_CLOEXEC);
        if (flock(Other, LOCK_EX) != 0) return std::string("no lock");
        Outcome += ", " + SaveOutcome("busy.bin", WriteNew);
        close(Other);
        return Outcome;
    });
    EXPECT_EQ(Outcomes, "thrown old and longer, refused old and longer, saved abcd, refused -, refused old");
    EXPECT_EQ(Listing(Directory.file("")), (std::vector<std::string>{"busy.bin", "data.bin"}));
}

TEST(SaveThroughTempFile, LeftoversOfSavesCutShortGoButNoSaveUnderWay) {
    namespace fs = std::filesystem;
    TTempDirectory Directory;
    const std::string Name = Directory.write("data.bin", "old");
    // What stays: names near the program's own or another program's, a link and a pipe under names of its
    // own, and a temporary of an earlier version (which took no lock) that may still be written.
    const std::vector<std::string> Kept = {"00000007.map.89abcdef.tmp",
                                           "Ebrun.0123456789ABCDEF.tmp",
                                           "Ebrun.0123456789abcdef.tmp",
                                           "Ebrun.fedcba9876543210.tmp",
                                           "data.bin",
                                           "notes.0123abcd.tmp"};
    const auto Aged = [&](const std::string& File) {
        Directory.write(File, "left");
        fs::last_write_time(Directory.file(File), fs::file_time_type::clock::now() - std::chrono::hours(2));
    };
    Aged("notes.0123abcd.tmp");
    Aged("Ebrun.cfg.0123abcd.tmp"); // earlier versions', unchanged for long
    Aged("00100007.map.0123abcd.tmp");
    Directory.write("00000007.map.89abcdef.tmp", "left");
    Directory.write("Ebrun.0123456789ABCDEF.tmp", "left");
    fs::create_symlink("data.bin", Directory.file("Ebrun.0123456789abcdef.tmp"));
    ASSERT_EQ(mkfifo(Directory.file("Ebrun.fedcba9876543210.tmp").c_str(), 0600), 0);

    // One client's save is under way, another's is cut short by its end.
    int Made[2], Hold[2];
    ASSERT_EQ(pipe(Made), 0);
    ASSERT_EQ(pipe(Hold), 0);
    char Byte = 0;
    const pid_t UnderWay = SaveUnderWay(Name, Made[1], Hold);
    ASSERT_TRUE(read(Made[0], &Byte, 1) == 1 && Byte == '!');
    const std::vector<std::string> WhileUnderWay = Listing(Directory.file(""));
    const pid_t CutShort = SaveUnderWay(Name, Made[1], Hold);
    ASSERT_TRUE(read(Made[0], &Byte, 1) == 1 && Byte == '!');
    kill(CutShort, SIGKILL);
    waitpid(CutShort, nullptr, 0);
    EXPECT_EQ(Listing(Directory.file("")).size(), WhileUnderWay.size() + 1);

    EXPECT_TRUE(SaveThroughTempFile<TBinaryWriter>(Name.c_str(), WriteNew));
    EXPECT_EQ(Listing(Directory.file("")), WhileUnderWay);
    close(Hold[1]);
    int Status = -1;
    waitpid(UnderWay, &Status, 0);
    EXPECT_EQ(Status, 0) << "the save under way landed";
    EXPECT_EQ(Directory.read("data.bin"), "late");
    EXPECT_EQ(Listing(Directory.file("")), Kept);
    for (int Descriptor : {Made[0], Made[1], Hold[0]})
        close(Descriptor);
}
