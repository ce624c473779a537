// The update roads on the real client, one client start shared by the cases in this order: new data files
// patched at login, installed and reloaded while the client runs; then a new patcher and a new program,
// after which the patcher takes the client's place and starts it again.
#include "tests/roads/Road.h"

#include "gui/SkinProperties.h"
#include "tools/testserver/Downloads.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace testserver;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ReadBytes(const fs::path& File) {
    std::ifstream In(File, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> Bytes(const std::string& Text) { return std::vector<uint8_t>(Text.begin(), Text.end()); }

// A patcher as a real one works: it notes its number of arguments, puts the new program in the old one's
// place and starts it.
const std::string PATCHER = "#!/bin/sh\n"
                            "echo \"$#\" >> patcher.txt\n"
                            "mv Ebrun.bak pellarune\n"
                            "exec ./pellarune engine 0\n";
// The new program: the build's client under another name.
const std::string PROGRAM = "#!/bin/sh\nexec " EBRUN_CLIENT " \"$@\"\n";

TPattern DialogLine(const std::string& Line) { return Text(Line, SkinProperties.Popups.MessageFormat); }

// Which of some patterns a client showed at any time while a test waited for it. A download dialog stays
// two seconds at least; several come one after the other, in an order that depends on how the frames
// arrive, since the download's events go to the front of the queue.
class TSeen {
public:
    explicit TSeen(std::vector<TPattern> Patterns)
        : Patterns(std::move(Patterns)), Shown(this->Patterns.size()) {}
    void look(const TImage& Image) {
        for (size_t i = 0; i < Patterns.size(); i++)
            Shown[i] = Shown[i] || Patterns[i].findIn(Image);
    }
    // The names of those not shown.
    std::string missing() const {
        std::string Names;
        for (size_t i = 0; i < Patterns.size(); i++)
            if (!Shown[i]) Names += Patterns[i].Name + "; ";
        return Names;
    }

private:
    std::vector<TPattern> Patterns;
    std::vector<bool> Shown;
};

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
    for (const uint8_t File : {OBJECT_FILE, SPRITE_FILE, PICTURE_FILE}) {
        const char* Names[] = {"", "Ebrun.dat", "Ebrun.spr", "Ebrun.pic"};
        Old[File] = New[File] = ReadBytes(fs::path(EBRUN_DATA_DIR) / Names[File]);
        New[File].at(0) ^= 0x5A;
        if (File == SPRITE_FILE) New[File].back() ^= 0x40;
        Catalogue->setNewVersion(File, New[File]);
        Catalogue->addOldVersion(File, Old[File]);
    }
    TTestServer& Server = Road->server();
    Server.setPlan(TRole::Login, UpdatePlan(Catalogue, DefaultLoginPlan(Server.gamePort())));
    const std::string Window = Client->windowId();

    ASSERT_TRUE(Road->submitLogin(*Client));
    // Each file's dialog; then, installed and reloaded, the client logs in again by itself.
    TSeen Dialogs({DialogLine("Downloading new object data"), DialogLine("Downloading new object graphics"),
                   DialogLine("Downloading new pictures")});
    const TPattern List = DialogCaption("Select Character"), News = DialogCaption("Message of the Day");
    ASSERT_TRUE(Client->waitUntil("the character list or the message of the day", Client->area(),
                                  [&](const TImage& Image) {
                                      Dialogs.look(Image);
                                      return List.findIn(Image) || News.findIn(Image);
                                  }));
    EXPECT_EQ(Dialogs.missing(), "");
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
    Server.setPlan(TRole::Login, DefaultLoginPlan(Server.gamePort()));
    Server.queuePlan(TRole::Login, DownloadPlan({Patcher, Program}));

    ASSERT_TRUE(Road->submitLogin(*Client));
    // The box's caption is also the start of the download dialogs' caption: the box is known by its text.
    const TPattern Box = DialogLine("Program will now shut down and run an external patching program.");
    TSeen Dialogs({DialogLine("Downloading patch.exe"), DialogLine("Downloading pellarune")});
    ASSERT_TRUE(
        Client->waitUntil("the box that announces the patcher", Client->area(), [&](const TImage& Image) {
            Dialogs.look(Image);
            return Box.findIn(Image).has_value();
        }));
    const fs::path Directory = Client->directory();
    EXPECT_EQ(ReadBytes(Directory / "Ebrun.bak"), Bytes(PROGRAM));
    Client->key("Return");

    // The patcher takes the client's place once every download dialog has shown; the old window is then
    // gone, and the client's window comes again from the same process.
    Client->waitUntil("the patcher's start", Client->area(), [&](const TImage& Image) {
        Dialogs.look(Image);
        return fs::exists(Directory / "patcher.txt");
    });
    EXPECT_EQ(Dialogs.missing(), "");
    ASSERT_TRUE(fs::exists(Directory / "patcher.txt")) << Client->errors();
    ASSERT_TRUE(Client->waitForWindow());
    std::ifstream Record(Directory / "patcher.txt");
    std::string Started;
    std::getline(Record, Started);
    EXPECT_EQ(Started, "0") << "started with no argument";
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
