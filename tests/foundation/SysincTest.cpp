// The millisecond clock, the random generator, the shared buffer, files and the clipboard text.
#include "foundation/sysinc.h"
#include "platform/Clipboard.h"
#include "tests/foundation/TempDirectory.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

uint32_t FakeNow = 0;
uint32_t FakeTimer() { return FakeNow; }

// Restores the system timer when a test ends, also a failing one.
struct TFakeClock {
    TFakeClock() { SetMillisecondTimer(FakeTimer); }
    ~TFakeClock() { SetMillisecondTimer(nullptr); }
};

std::string Pasted(const std::string& Latin1) {
    EXPECT_TRUE(SetClipboardText(Latin1.c_str()));
    const char* Text = GetClipboardText();
    return Text != nullptr ? Text : "NULL";
}

} // namespace

TEST(System, ClockCountsFromLoadAndWraps) {
    EXPECT_LT(uint32_t(GetMilliseconds()), 60000u) << "time since load, not since boot";
    TFakeClock Clock;
    FakeNow = GetStartTime() + 5;
    EXPECT_EQ(GetMilliseconds(), 5);
    FakeNow = GetStartTime() - 1;
    EXPECT_EQ(GetMilliseconds(), -1);
    FakeNow = GetStartTime() + 0x80000000u;
    EXPECT_EQ(GetMilliseconds(), -2147483647 - 1);
}

TEST(System, ClockArithmeticHoldsAcrossBothWraps) {
    EXPECT_EQ(TimeAfter(INT32_MAX - 9, 20), INT32_MIN + 10);
    EXPECT_EQ(TimeAfter(-10, 20), 10);
    EXPECT_EQ(TimeUntil(INT32_MIN + 10, INT32_MAX - 9), 20);
    EXPECT_EQ(TimeUntil(INT32_MAX - 9, INT32_MIN + 10), -20);
    EXPECT_EQ(TimeUntil(10, -10), 20);
    TFakeClock Clock;
    FakeNow = GetStartTime() - 5;
    EXPECT_EQ(TimeUntil(3), 8);
}

TEST(System, RandomFollowsTheClassicRecurrenceSeededFromTheTimer) {
    SeedRandom(1);
    for (int32_t Value : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464})
        EXPECT_EQ(Random(), Value);
    TFakeClock Clock;
    FakeNow = 12345;
    SeedRandom(12345);
    int32_t First = Random();
    InitSystem();
    EXPECT_EQ(Random(), First);
    ExitSystem();
}

TEST(System, SharedBufferGrowsKeepingItsContentsAndNeverShrinks) {
    InitSystem();
    EXPECT_EQ(GetSharedBufferSize(), 1024u);
    strcpy(GetSharedBuffer(), "kept");
    GrowSharedBuffer(100);
    EXPECT_EQ(GetSharedBufferSize(), 1024u);
    GrowSharedBuffer(5000);
    EXPECT_STREQ(GetSharedBuffer(), "kept");
    ExitSystem();
    EXPECT_EQ(GetSharedBuffer(), nullptr);
    EXPECT_EQ(GetSharedBufferSize(), 0u);
}

TEST(System, FilesWithLatin1Names) {
    TTempDirectory Directory;
    std::string Name = Directory.write("a.txt", "x");
    EXPECT_TRUE(FileExists(Directory.file(".").c_str())); // a directory counts
    EXPECT_EQ(RenameFile(Name.c_str(), Directory.file("b.txt").c_str()), 0);
    EXPECT_FALSE(FileExists(Name.c_str()));
    EXPECT_TRUE(RemoveFile(Directory.file("b.txt").c_str()));
    EXPECT_FALSE(RemoveFile(Directory.file("b.txt").c_str()));

    std::string Latin1 = Directory.file("\xC4rger.txt");
    FILE* File = OpenFile(Latin1.c_str(), "wb");
    ASSERT_NE(File, nullptr);
    fclose(File);
    EXPECT_TRUE(std::filesystem::exists(Directory.file("\xC3\x84rger.txt")));
    EXPECT_TRUE(FileExists(Latin1.c_str()));
}

// A reader never waits on what its name stands for: a pipe, a device or a directory is no file to read,
// while it exists all the same; a link to a regular file is read through.
TEST(System, OnlyARegularFileIsOpenedToReadOrWrite) {
    TTempDirectory Directory;
    const std::string Pipe = Directory.file("pipe");
    EXPECT_TRUE(ReturnsBesideAPipe(Pipe, [&] { EXPECT_EQ(OpenFile(Pipe.c_str(), "rb"), nullptr); }));
    EXPECT_TRUE(FileExists(Pipe.c_str()));
    // With a reader at its other end a pipe opens to write without waiting, yet is no file to write.
    const int Reader = open(Pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(Reader, 0);
    for (const char* Mode : {"a", "wb"})
        EXPECT_EQ(OpenFile(Pipe.c_str(), Mode), nullptr) << Mode;
    close(Reader);
    std::filesystem::create_symlink("/dev/null", Directory.file("device"));
    std::filesystem::create_symlink("a.txt", Directory.file("link"));
    Directory.write("a.txt", "x");
    for (const std::string Name : {"", "device"})
        for (const char* Mode : {"r", "a", "w"})
            EXPECT_EQ(OpenFile(Directory.file(Name).c_str(), Mode), nullptr) << Name << " " << Mode;
    FILE* File = OpenFile(Directory.file("link").c_str(), "a");
    ASSERT_NE(File, nullptr);
    EXPECT_EQ(fputc('y', File), 'y');
    fclose(File);
    File = OpenFile(Directory.file("link").c_str(), "r");
    ASSERT_NE(File, nullptr);
    EXPECT_EQ(fgetc(File), 'x');
    EXPECT_EQ(fgetc(File), 'y');
    fclose(File);
    File = OpenFile(Directory.file("new").c_str(), "wb");
    ASSERT_NE(File, nullptr);
    fclose(File);
    EXPECT_EQ(Directory.read("new"), "");
}

// Only a regular file is removed: a link to one goes itself, its target stays; what is no regular file stays.
TEST(System, OnlyARegularFileIsRemoved) {
    TTempDirectory Directory;
    ASSERT_EQ(mkfifo(Directory.file("pipe").c_str(), 0600), 0);
    std::filesystem::create_directory(Directory.file("directory"));
    std::filesystem::create_symlink("/dev/null", Directory.file("device"));
    std::filesystem::create_symlink("gone", Directory.file("dangling"));
    for (const char* Name : {"pipe", "directory", "device", "dangling"}) {
        EXPECT_FALSE(RemoveFile(Directory.file(Name).c_str())) << Name;
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(Directory.file(Name)))) << Name;
    }
    Directory.write("a.txt", "x");
    std::filesystem::create_symlink("a.txt", Directory.file("link"));
    EXPECT_TRUE(RemoveFile(Directory.file("link").c_str()));
    EXPECT_FALSE(std::filesystem::is_symlink(Directory.file("link")));
    EXPECT_EQ(Directory.read("a.txt"), "x");
}

TEST(Clipboard, LineEndsBecomeBlanks) {
    EXPECT_EQ(Pasted("a\r\nb\r\n"), "a b ");
    EXPECT_EQ(Pasted("a\r\r\nb"), "a\r b");
    EXPECT_EQ(Pasted("a\nb\r"), "a b");
    EXPECT_EQ(Pasted(""), "");
    EXPECT_FALSE(IsClipboardEmpty());
    EXPECT_EQ(ThrownFrom("sysinc.cpp", [] { SetClipboardText(nullptr); }),
              "assertion failed, reason:\nText!=NULL");
}

// The line ends as they were once flattened, removing one CR at a time.
std::string FlattenedByRemoval(std::string Text) {
    for (size_t i = 0; i < Text.size(); i++) {
        if (Text[i] == '\r') {
            Text.erase(i, 1);
            if (i == Text.size()) break;
        }
        if (Text[i] == '\n') Text[i] = ' ';
    }
    return Text;
}

TEST(Clipboard, LineEndsFlattenInOnePassAsByRemoval) {
    const char Letters[] = {'\r', '\n', 'a'};
    for (int32_t Length = 1; Length <= 6; Length++) {
        int32_t Count = 1;
        for (int32_t i = 0; i < Length; i++)
            Count *= 3;
        for (int32_t Number = 0; Number < Count; Number++) {
            std::string Text;
            for (int32_t n = Number, i = 0; i < Length; i++, n /= 3)
                Text += Letters[n % 3];
            ASSERT_EQ(Pasted(Text), FlattenedByRemoval(Text)) << testing::PrintToString(Text);
        }
    }
    std::string Long, Flat;
    for (int32_t i = 0; i < 200000; i++) {
        Long += "line\r\n";
        Flat += "line ";
    }
    EXPECT_EQ(Pasted(Long), Flat);
}

TEST(Clipboard, TextCrossesTheBoundaryAsUtf8AndFitsWithItsTerminator) {
    EXPECT_TRUE(SetClipboardText("gr\xFC\xDF"));
    std::string Utf8;
    ASSERT_TRUE(ReadSystemClipboard(Utf8));
    EXPECT_EQ(Utf8, "gr\xC3\xBC\xC3\x9F");
    ASSERT_TRUE(WriteSystemClipboard("\xE2\x82\xAC 5 \xC3\xA4"));
    EXPECT_STREQ(GetClipboardText(), "? 5 \xE4");

    InitSystem();
    std::string Long(3000, 'q');
    EXPECT_EQ(Pasted(Long), Long);
    EXPECT_EQ(GetSharedBufferSize(), 3001u);
    EXPECT_EQ(Pasted("short"), "short");
    EXPECT_EQ(GetSharedBufferSize(), 3001u);
    ExitSystem();
}

TEST(Clipboard, MalformedUtf8BecomesQuestionMarks) {
    std::string All;
    for (int c = 1; c < 256; c++)
        All += static_cast<char>(c);
    EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8(All)), All);
    EXPECT_EQ(Utf8ToLatin1("\xC3"), "?");
    EXPECT_EQ(Utf8ToLatin1("\xC3x"), "?x");
    EXPECT_EQ(Utf8ToLatin1("\xC0\x80"), "??");
    EXPECT_EQ(Utf8ToLatin1("\xE0\x81\x81"), "?"); // an overlong 'A'
    EXPECT_EQ(Utf8ToLatin1("\xF0\x9F\x98\x80!"), "?!");
}
