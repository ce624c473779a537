// Data-file patching: the command stream's operations and counts, malformed streams, signatures, the new
// versions' names and modes, and installing.
#include "foundation/ScriptPatch.h"
#include "foundation/sysinc.h"
#include "tests/foundation/TempDirectory.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Runs the test inside its own directory, so that bare names such as the program's are its files.
class TScriptPatch : public ::testing::Test {
protected:
    static void put(const std::string& Name, const std::string& Content) {
        std::ofstream(Name, std::ios::binary) << Content;
    }
    static std::string get(const std::string& Name) {
        std::ifstream In(Name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    }
    static bool apply(const std::string& Name, const std::string& Stream, uint32_t Signature = 0) {
        return ApplyPatch(Name.c_str(), reinterpret_cast<const uint8_t*>(Stream.data()),
                          static_cast<int32_t>(Stream.size()), Signature);
    }
    static bool executable(const std::string& Name) {
        return (fs::status(Name).permissions() & fs::perms::owner_exec) != fs::perms::none;
    }

    TWorkingDirectory Directory;
};

std::string Letters(size_t Count) {
    std::string Text;
    for (size_t i = 0; i < Count; i++)
        Text += static_cast<char>('a' + i % 26);
    return Text;
}

constexpr uint32_t SIGNATURE_ABCD = 0x64636261; // "abcd" read as a little-endian word

// A sync of the test's own: notes what the file held, and answers SyncError.
std::string SyncedContent;
int SyncError = 0;
int RecordingSync(int Descriptor) {
    char Buffer[64];
    const ssize_t Count = pread(Descriptor, Buffer, sizeof(Buffer), 0);
    SyncedContent.assign(Buffer, Count > 0 ? static_cast<size_t>(Count) : 0);
    errno = SyncError;
    return SyncError == 0 ? 0 : -1;
}

} // namespace

TEST_F(TScriptPatch, OperationsAndTheOldFilesPosition) {
    put("Ebrun.dat", "abcdefghij");
    // copy 5, skip 3, insert "xy"; the unread "ij" is not carried over
    ASSERT_TRUE(apply("Ebrun.dat", std::string("\x05\x43\x82xy", 5), SIGNATURE_ABCD));
    EXPECT_EQ(get("Ebrun.da_"), "abcdexy");
    EXPECT_EQ(get("Ebrun.dat"), "abcdefghij");

    // replace 2 writes QR and moves past "ab": the copy that follows takes "c"
    put("Ebrun.spr", "abc");
    ASSERT_TRUE(apply("Ebrun.spr", std::string("\xC2QR\x01", 4)));
    EXPECT_EQ(get("Ebrun.sp_"), "QRc");
}

TEST_F(TScriptPatch, ExtendedCountsOfOneTwoAndFourBytes) {
    std::string Old = Letters(200 + 256 + 3);
    put("Ebrun.pic", Old);
    // copy 200 (one count byte), skip 256 (two), insert 1 (four), copy 3 (inline)
    std::string Stream("\x3D\xC8"
                       "\x7E\x00\x01"
                       "\xBF\x01\x00\x00\x00!"
                       "\x03",
                       12);
    ASSERT_TRUE(apply("Ebrun.pic", Stream));
    EXPECT_EQ(get("Ebrun.pi_"), Old.substr(0, 200) + "!" + Old.substr(456, 3));

    // a count field of 60 is still the count itself; a copy over 65,535 bytes needs four count bytes
    std::string Big = Letters(70100);
    put("Ebrun.dat", Big);
    ASSERT_TRUE(apply("Ebrun.dat", std::string("\x3C\x3F\x70\x11\x01\x00", 6)));
    EXPECT_EQ(get("Ebrun.da_"), Big.substr(0, 60 + 70000));
}

TEST_F(TScriptPatch, EmptyStreamAndSignatures) {
    put("Ebrun.dat", "abcdefgh");
    ASSERT_TRUE(apply("Ebrun.dat", "", SIGNATURE_ABCD));
    EXPECT_TRUE(fs::exists("Ebrun.da_"));
    EXPECT_EQ(get("Ebrun.da_"), "");
    fs::remove("Ebrun.da_");
    ASSERT_TRUE(ApplyPatch("Ebrun.dat", nullptr, 0, 0)); // an empty stream needs no block
    EXPECT_EQ(get("Ebrun.da_"), "");

    // the check reads the word and starts the stream at offset 0 again
    ASSERT_TRUE(apply("Ebrun.dat", "\x06", SIGNATURE_ABCD));
    EXPECT_EQ(get("Ebrun.da_"), "abcdef");

    fs::remove("Ebrun.da_");
    EXPECT_FALSE(apply("Ebrun.dat", "\x06", SIGNATURE_ABCD + 1));
    EXPECT_FALSE(fs::exists("Ebrun.da_"));

    put("Ebrun.spr", "ab"); // too short to hold a signature
    EXPECT_FALSE(apply("Ebrun.spr", "", 1));
    EXPECT_FALSE(fs::exists("Ebrun.sp_"));
}

TEST_F(TScriptPatch, MalformedStreamsLeaveNothingBehind) {
    const std::string Old = "abcdefghij";
    const std::vector<std::string> Streams = {
        std::string("\x3D", 1),                 // one-byte count missing
        std::string("\x3E\x01", 2),             // two-byte count cut short
        std::string("\x3F\x01\x00\x00", 4),     // four-byte count cut short
        std::string("\x83xy", 3),               // insert 3 with 2 data bytes
        std::string("\xC5QRS", 4),              // replace 5 with 3 data bytes
        std::string("\xBF\xFF\xFF\xFF\x7F", 5), // insert of 2^31 - 1 bytes in a 5-byte stream
        std::string("\x0B", 1),                 // copy 11 of 10
        std::string("\x05\x46", 2),             // skip past the end
        std::string("\x3F\xFF\xFF\xFF\xFF", 5), // copy 2^32 - 1 bytes
        std::string("\x08\xC3QRS", 5),          // replace past the end of the old file
    };
    for (const std::string& Stream : Streams) {
        SCOPED_TRACE(::testing::PrintToString(Stream));
        put("Ebrun.dat", Old);
        put("Ebrun.da_", "an older new version");
        EXPECT_FALSE(apply("Ebrun.dat", Stream));
        EXPECT_EQ(get("Ebrun.dat"), Old);
        EXPECT_FALSE(fs::exists("Ebrun.da_"));
    }
}

TEST_F(TScriptPatch, UnusableArgumentsAnswerFalse) {
    put("Ebrun.dat", "abcdefgh");
    EXPECT_FALSE(ApplyPatch("Ebrun.dat", nullptr, 1, 0));
    EXPECT_FALSE(ApplyPatch("Ebrun.dat", reinterpret_cast<const uint8_t*>("\x01"), -1, 0));
    EXPECT_FALSE(ApplyPatch(nullptr, reinterpret_cast<const uint8_t*>("\x01"), 1, 0));
    EXPECT_FALSE(apply("missing.dat", ""));
    EXPECT_FALSE(fs::exists("missing.da_"));
    // a name ending in '_' would be read and written as one file
    put("odd_", "abcd");
    EXPECT_FALSE(apply("odd_", "\x04"));
    EXPECT_EQ(get("odd_"), "abcd");
    EXPECT_FALSE(WritePatchedFile("Ebrun.dat", nullptr, 4));
    EXPECT_FALSE(WritePatchedFile("x", reinterpret_cast<const uint8_t*>("a"), 1));
    // the new version cannot be created in a missing directory
    EXPECT_FALSE(WritePatchedFile("nowhere/Ebrun.dat", reinterpret_cast<const uint8_t*>("a"), 1));
}

TEST_F(TScriptPatch, ProgramAndPatcherVersionsAreExecutable) {
    put(PROGRAM_FILE_NAME, "old program");
    ASSERT_TRUE(apply(PROGRAM_FILE_NAME, std::string("\x04\x80\x83new", 6)));
    EXPECT_EQ(get(PROGRAM_UPDATE_FILE_NAME), "old new");
    EXPECT_TRUE(executable(PROGRAM_UPDATE_FILE_NAME));
    // the program is left to the external patcher: installing looks for its other name and finds nothing
    EXPECT_EQ(ThrownFrom("ScriptPatch.cpp", [] { InstallPatchedFile(PROGRAM_FILE_NAME); }),
              "file does not exists, reason:\npellarun_");
    EXPECT_EQ(get(PROGRAM_FILE_NAME), "old program");

    const std::string Patcher = "#!/bin/sh\n";
    ASSERT_TRUE(WritePatchedFile(PATCHER_FILE_NAME, reinterpret_cast<const uint8_t*>(Patcher.data()),
                                 static_cast<int32_t>(Patcher.size())));
    EXPECT_TRUE(executable("Patch.ex_"));
    EXPECT_EQ(InstallPatchedFile(PATCHER_FILE_NAME), 0);
    EXPECT_EQ(get(PATCHER_FILE_NAME), Patcher);
    EXPECT_TRUE(executable(PATCHER_FILE_NAME));

    // data files keep the ordinary mode
    ASSERT_TRUE(WritePatchedFile("Ebrun.dat", reinterpret_cast<const uint8_t*>("abcd"), 4));
    EXPECT_FALSE(executable("Ebrun.da_"));
}

TEST_F(TScriptPatch, InstallReplacesTheOldFileOrKeepsIt) {
    put("Ebrun.spr", "old");
    ASSERT_TRUE(WritePatchedFile("Ebrun.spr", reinterpret_cast<const uint8_t*>("newer"), 5));
    EXPECT_EQ(get("Ebrun.spr"), "old");
    EXPECT_EQ(InstallPatchedFile("Ebrun.spr"), 0);
    EXPECT_EQ(get("Ebrun.spr"), "newer");
    EXPECT_FALSE(fs::exists("Ebrun.sp_"));

    // a second install finds nothing and keeps the installed file
    EXPECT_EQ(ThrownFrom("ScriptPatch.cpp", [] { InstallPatchedFile("Ebrun.spr"); }),
              "file does not exists, reason:\nEbrun.sp_");
    EXPECT_EQ(get("Ebrun.spr"), "newer");
    EXPECT_EQ(ThrownFrom("ScriptPatch.cpp", [] { InstallPatchedFile(nullptr); }), "no file name");

    // a rename that fails leaves the old file in place
    fs::create_directory("Ebrun.pi_");
    put("Ebrun.pic", "pictures");
    EXPECT_NE(InstallPatchedFile("Ebrun.pic"), 0);
    EXPECT_EQ(get("Ebrun.pic"), "pictures");
}

TEST_F(TScriptPatch, ANewVersionIsOnTheDiskBeforeItCanBeInstalled) {
    put("Ebrun.spr", "old");
    SetFileSync(RecordingSync);
    ASSERT_TRUE(WritePatchedFile("Ebrun.spr", reinterpret_cast<const uint8_t*>("newer"), 5));
    EXPECT_EQ(SyncedContent, "newer");
    // A write error that only the sync reports: no new version; a file system that cannot sync is no error.
    SyncError = EIO;
    EXPECT_FALSE(apply("Ebrun.spr", std::string("\x03", 1)));
    EXPECT_FALSE(fs::exists("Ebrun.sp_"));
    SyncError = EINVAL;
    EXPECT_TRUE(apply("Ebrun.spr", std::string("\x03", 1)));
    EXPECT_EQ(get("Ebrun.sp_"), "old");
    SyncError = 0;
    SetFileSync(nullptr);
}
