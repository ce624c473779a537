// The update roads on the real client, one client start shared by the cases in this order: new data files
// patched at login, installed and reloaded while the client runs; then a new patcher and a new program,
// after which the patcher takes the client's place and starts it again.
#include "tests/roads/Road.h"

#include "gui/SkinProperties.h"
#include "tools/testserver/Downloads.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace testserver;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ReadBytes(const fs::path& File) {
    std::ifstream In(File, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> Bytes(const std::string& Text) { return std::vector<uint8_t>(Text.begin(), Text.end()); }

// A patcher as a real one works: it notes its number of arguments and how many connections (sockets) it got
// from the client beside the standard streams, puts the new program in the old one's place and starts it.
const std::string PATCHER = "#!/bin/sh\n"
                            "echo \"$#\" >> patcher.txt\n"
                            "ls -l /proc/$$/fd | grep -v ' [012] -> ' | grep -c socket: >> patcher.txt\n"
                            "mv Ebrun.bak pellarune\n"
                            "exec ./pellarune engine 0\n";
// The new program: the build's client under another name.
const std::string PROGRAM = "#!/bin/sh\nexec " EBRUN_CLIENT " \"$@\"\n";

TPattern DialogLine(const std::string& Line) { return Text(Line, SkinProperties.Popups.MessageFormat); }

// A download that the test server holds after its start message until the client shows its dialog, so that
// the dialog is seen however slowly the screen is looked at.
struct THeldDownload {
    std::string Line; // of its dialog
    std::shared_ptr<THold> Hold = std::make_shared<THold>();
};

// Lets the downloads go on one after the other, each once the client shows its dialog; the next dialog comes
// when this one has gone. False, with the test failed, when a dialog does not show.
bool ShowEachDialog(TClient& Client, const std::vector<THeldDownload>& Downloads) {
    for (const THeldDownload& Download : Downloads) {
        if (!Client.waitUntilShown(DialogLine(Download.Line))) return false;
        Download.Hold->release();
    }
    return true;
}

class UpdateRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Road = new TRoad;
        Client = &Road->start();
    }
    static void TearDownTestSuite() { delete Road; }

    static inline TRoad* Road = nullptr;
    static inline TClient* Client = nullptr;
};

} // namespace

TEST_F(UpdateRoad, NewDataFilesArePatchedInstalledAndReloadedWithoutARestart) {
    // New versions: other signatures, and the sprites' last pixel in another blue.
    std::vector<uint8_t> Old[4], New[4];
    auto Catalogue = std::make_shared<TUpdateCatalogue>();
    const std::vector<THeldDownload> Held = {
        {"Downloading new object data"}, {"Downloading new object graphics"}, {"Downloading new pictures"}};
    for (const uint8_t File : {OBJECT_FILE, SPRITE_FILE, PICTURE_FILE}) {
        const char* Names[] = {"", "Ebrun.dat", "Ebrun.spr", "Ebrun.pic"};
        Old[File] = New[File] = ReadBytes(fs::path(EBRUN_DATA_DIR) / Names[File]);
        New[File].at(0) ^= 0x5A;
        if (File == SPRITE_FILE) New[File].back() ^= 0x40;
        Catalogue->setNewVersion(File, New[File]);
        Catalogue->addOldVersion(File, Old[File]);
        Catalogue->hold(File, Held[File - OBJECT_FILE].Hold);
    }
    TTestServer& Server = Road->server();
    Server.setPlan(TRole::Login, UpdatePlan(Catalogue, DefaultLoginPlan(Server.gamePort())));
    const std::string Window = Client->windowId();

    ASSERT_TRUE(Road->submitLogin(*Client));
    // Each file's dialog, in the order of the files, since a file comes only once the last one's dialog has
    // shown; then, installed and reloaded, the client logs in again by itself.
    ASSERT_TRUE(ShowEachDialog(*Client, Held));
    const TPattern List = DialogCaption("Select Character"), News = DialogCaption("Message of the Day");
    ASSERT_TRUE(Client->waitUntilShown({&List, &News}, Client->area()));
    const TReceived Got = Server.received();
    ASSERT_EQ(Got.Logins.size(), 2u) << "one login again for the three files";
    EXPECT_EQ(Got.Logins[0].DatSignature, DataFileSignature(Old[OBJECT_FILE]));
    EXPECT_EQ(Got.Logins[1].DatSignature, DataFileSignature(New[OBJECT_FILE]));
    EXPECT_EQ(Got.Logins[1].SprSignature, DataFileSignature(New[SPRITE_FILE]));
    EXPECT_EQ(Got.Logins[1].PicSignature, DataFileSignature(New[PICTURE_FILE]));
    EXPECT_EQ(ReadBytes(Client->directory() / "Ebrun.spr"), New[SPRITE_FILE]);
    EXPECT_FALSE(fs::exists(Client->directory() / "Ebrun.sp_"));

    if (Client->find(News)) Client->key("Return");
    ASSERT_TRUE(Client->waitUntilShown(List));
    Road->chooseCharacter(*Client, "Aldric");
    EXPECT_TRUE(Client->waitUntilShown(Welcome("Aldric")));
    EXPECT_EQ(Client->windowId(), Window) << "the same window all along";
}

TEST_F(UpdateRoad, ANewProgramHandsOverToThePatcherWhichStartsTheClientAgain) {
    if (Client->InGame) Road->logout(*Client);
    Client->key("Escape");
    ASSERT_TRUE(Client->waitUntilGone(DialogCaption("Select Character"), Client->area()));
    TTestServer& Server = Road->server();
    TDownload Patcher, Program;
    Patcher.FileNumber = PATCHER_FILE;
    Patcher.Payload = Bytes(PATCHER);
    Program.FileNumber = PROGRAM_FILE;
    Program.Payload = Bytes(PROGRAM);
    const std::vector<THeldDownload> Held = {{"Downloading patch.exe"}, {"Downloading pellarune"}};
    Patcher.Hold = Held[0].Hold;
    Program.Hold = Held[1].Hold;
    Server.setPlan(TRole::Login, DefaultLoginPlan(Server.gamePort()));
    Server.queuePlan(TRole::Login, DownloadPlan({Patcher, Program}));

    ASSERT_TRUE(Road->submitLogin(*Client));
    ASSERT_TRUE(ShowEachDialog(*Client, Held));
    // The box's caption is also the start of the download dialogs' caption: the box is known by its text.
    ASSERT_TRUE(Client->waitUntilShown(
        DialogLine("Program will now shut down and run an external patching program.")));
    const fs::path Directory = Client->directory();
    EXPECT_EQ(ReadBytes(Directory / "Ebrun.bak"), Bytes(PROGRAM));
    Client->key("Return");

    // The patcher takes the client's place; the old window is then gone, and the client's window comes again
    // from the same process.
    ASSERT_TRUE(WaitFor([&] { return fs::exists(Directory / "patcher.txt"); })) << Client->errors();
    ASSERT_TRUE(Client->waitForWindow());
    std::ifstream Record(Directory / "patcher.txt");
    std::string Started, Sockets;
    std::getline(Record, Started);
    std::getline(Record, Sockets);
    EXPECT_EQ(Started, "0") << "started with no argument";
    EXPECT_EQ(Sockets, "0") << "the patcher got a connection of the client's";
    EXPECT_EQ(ReadBytes(Directory / "patch.exe"), Bytes(PATCHER));
    EXPECT_EQ(ReadBytes(Directory / "pellarune"), Bytes(PROGRAM)) << "the patcher put the new program in";
    EXPECT_FALSE(fs::exists(Directory / "error.txt"));

    const size_t Logins = Server.received().Logins.size();
    Road->login(*Client, "Aldric");
    EXPECT_EQ(Server.received().Logins.size(), Logins + 1) << "the usual answer: no download again";
    EXPECT_TRUE(Client->waitUntilShown(Welcome("Aldric")));
}

TEST_F(UpdateRoad, ADownloadThatItsConnectionCutShortIsDroppedAndTheNextLoginGetsItWhole) {
    if (Client->InGame) Road->logout(*Client);
    Client->key("Escape");
    ASSERT_TRUE(Client->waitUntilGone(DialogCaption("Select Character"), Client->area()));
    std::vector<uint8_t> New = ReadBytes(Client->directory() / "Ebrun.dat");
    New.at(1) ^= 0x5A;
    auto Catalogue = std::make_shared<TUpdateCatalogue>();
    Catalogue->setNewVersion(OBJECT_FILE, New);
    TTestServer& Server = Road->server();
    Server.setPlan(TRole::Login, UpdatePlan(Catalogue, DefaultLoginPlan(Server.gamePort()), 500));
    Server.queuePlan(TRole::Login, UpdatePlan(Catalogue, DefaultLoginPlan(Server.gamePort()), 500, 1000));

    // The server closes after 1,000 bytes; the dialog waits at 36 per cent until the player closes it.
    ASSERT_TRUE(Road->submitLogin(*Client));
    ASSERT_TRUE(Client->waitUntilShown(DialogLine("Downloading new object data")));
    Client->key("Escape");
    ASSERT_TRUE(Client->waitUntilGone(DialogLine("Downloading new object data"), Client->area()));

    const size_t Logins = Server.received().Logins.size();
    ASSERT_TRUE(Road->submitLogin(*Client));
    ASSERT_TRUE(Server.waitUntil([&](const TReceived& Got) { return Got.Logins.size() == Logins + 2; }, 20s))
        << "the client logs in again once the whole file is installed; its errors:\n"
        << Client->errors();
    EXPECT_EQ(Server.received().Logins.back().DatSignature, DataFileSignature(New));
    EXPECT_EQ(ReadBytes(Client->directory() / "Ebrun.dat"), New);
    EXPECT_TRUE(Client->running());
    EXPECT_FALSE(fs::exists(Client->directory() / "error.txt"));
}
