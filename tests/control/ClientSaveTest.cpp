// The client program saving its options where its directory takes no new files (run under tests/isolated):
// killed between the write over the old file and the cut to the new size, it leaves options that the next
// run keeps, and that run's own save lands whole.
#include "state/Preferences.h"
#include "tests/foundation/TempDirectory.h"
#include "tests/roads/Client.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string ReadFile(const fs::path& Name) {
    std::ifstream File(Name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(File)), std::istreambuf_iterator<char>());
}

// Runs the client without capabilities: an administrator then obeys a directory's mode as any user does.
const std::vector<std::string> WITHOUT_CAPABILITIES = {"setpriv", "--inh-caps=-all", "--bounding-set=-all",
                                                       "--"};

// Runs the client, without capabilities, traced and killed as it cuts File to size. Only the main thread,
// which saves, is traced; the tracer runs beside it (-D), so the client stays the process started.
std::vector<std::string> KilledAtTheCut(const fs::path& File) {
    std::vector<std::string> Words = {"strace", "-D", "-qq", "-o", "/dev/null", "-P", File.string()};
    Words.insert(Words.end(), {"-e", "trace=ftruncate", "-e", "inject=ftruncate:signal=KILL", "--"});
    Words.insert(Words.end(), WITHOUT_CAPABILITIES.begin(), WITHOUT_CAPABILITIES.end());
    return Words;
}

} // namespace

TEST(ClientSave, KilledBetweenItsWriteAndItsCutASaveInPlaceLeavesOptionsTheNextRunKeeps) {
    TClientSetup Setup;
    Setup.Options = [] { SetHotkey(0, "kept across a cut", false); };
    TClient Client(0, Setup);
    // Of this start only the options file the harness wrote is wanted.
    Client.signal(SIGKILL);
    Client.waitForExit(30s);
    const fs::path File = Client.directory() / "Ebrun.cfg";
    // Blanks around each '=': the old file is longer, so that the new content ends in one of its lines.
    std::string Old = ReadFile(File);
    for (size_t At = 0; (At = Old.find(" = ", At)) != std::string::npos; At += 5)
        Old.replace(At, 3, "  =  ");
    std::ofstream(File, std::ios::binary) << Old;
    const std::vector<std::string> Files = Listing(Client.directory());
    fs::permissions(Client.directory(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);

    Client.restart(KilledAtTheCut(File));
    ASSERT_TRUE(Client.waitForWindow());
    EXPECT_EQ(Client.terminate(30s), 128 + SIGKILL) << Client.errors();
    EXPECT_EQ(fs::file_size(File), Old.size()) << "killed before the cut";

    Client.restart(WITHOUT_CAPABILITIES);
    ASSERT_TRUE(Client.waitForWindow());
    EXPECT_EQ(Client.terminate(30s), 0) << Client.errors();
    const std::string Saved = ReadFile(File);
    EXPECT_NE(Saved.find("\r\nHotkey = (0,\"kept across a cut\")\r\n"), std::string::npos) << Saved;
    // As the writer ends it, with nothing left of the old file nor of what filled its rest.
    const size_t LastLine = Saved.rfind('\n', Saved.size() - 2) + 1;
    EXPECT_EQ(Saved.compare(LastLine, 9, "Engine = "), 0) << Saved;
    EXPECT_TRUE(Saved.ends_with("\r\n")) << Saved;
    EXPECT_EQ(Saved.find("  "), std::string::npos) << Saved;
    EXPECT_EQ(Listing(Client.directory()), Files);
    fs::permissions(Client.directory(), fs::perms::owner_write, fs::perm_options::add);
}
