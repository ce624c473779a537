// Downloads from the test server over loopback, end to end: the client logs in with its loaded signatures,
// collects the download while its dialog shows the progress, writes the new version, installs and reloads it
// through the idle pass and logs in again; cut transfers, bad patches and cancelling leave the old files in
// use.
#include "control/Control.h"
#include "control/DialogsDownload.h"
#include "control/MainFrm.h"
#include "foundation/ScriptPatch.h"
#include "foundation/sysinc.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"
#include "network/Communication.h"
#include "network/CommunicationDownload.h"
#include "network/Network.h"
#include "platform/Resolver.h"
#include "screen/MainWindow.h"
#include "state/Events.h"
#include "state/Objects.h"
#include "state/Status.h"
#include "tests/foundation/TempDirectory.h"
#include "tests/graphics/GraphicsTest.h"
#include "tools/datagen/DatWriter.h"
#include "tools/testserver/Differ.h"
#include "tools/testserver/Downloads.h"
#include "tools/testserver/TestServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <typeinfo>

namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<uint8_t>;
using namespace testserver;

const char* const DATA_FILES[] = {PROGRAM_FILE_NAME, "Ebrun.dat", "Ebrun.spr", "Ebrun.pic",
                                  PATCHER_FILE_NAME};

TBytes ReadBytes(const std::string& Name) {
    std::ifstream In(Name, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& Name, const TBytes& Bytes) {
    std::ofstream(Name, std::ios::binary)
        .write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

// A later version of a data file: another signature, and for the sprites and pictures bytes that no table
// points to.
TBytes NewVersion(const TBytes& Old, uint8_t FileNumber) {
    TBytes New = Old;
    New[0] ^= 0x5A;
    if (FileNumber != OBJECT_FILE)
        for (int k = 0; k < 300; k++)
            New.push_back(static_cast<uint8_t>(k * 13));
    return New;
}

// The download dialog as the test notes it: its caption and the line that names the file.
const std::string DOWNLOAD_CAPTION = "Updating ... Please wait";
std::string DownloadShown(uint8_t FileNumber) {
    return DOWNLOAD_CAPTION + ": " +
           (FileNumber == OBJECT_FILE   ? "Downloading new object data"
            : FileNumber == SPRITE_FILE ? "Downloading new object graphics"
                                        : "Downloading new pictures");
}

uint32_t LoadedSignature(uint8_t FileNumber) {
    return FileNumber == OBJECT_FILE   ? GetObjectTypeSignature()
           : FileNumber == SPRITE_FILE ? GetSpriteSignature()
                                       : GetPictureSignature();
}

uint32_t ReportedSignature(const TLoginRecord& Login, uint8_t FileNumber) {
    return FileNumber == OBJECT_FILE   ? Login.DatSignature
           : FileNumber == SPRITE_FILE ? Login.SprSignature
                                       : Login.PicSignature;
}

// Every name is this machine.
class TLoopbackResolver : public THostResolver {
public:
    THostLookupResult resolve(const std::string&) override { return {0, "127.0.0.1"}; }
};

// The client's modules with the real login road (connect, dispatch and close callbacks) and the real idle
// pass with its dialogs on the software engine, against the test server, in a directory holding the
// generated data files. The test answers every box and the character list it is shown, and closes the
// download dialog as soon as the download has ended.
class DownloadFlow : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* Name : {"Ebrun.dat", "Ebrun.spr", "Ebrun.pic"})
            fs::copy_file(fs::path(EBRUN_DATA_DIR) / Name, Name);
        InitSystem();
        InitObjects();
        InitStatus(0, [] { return true; });
        SetAccount(4711, "mellon");
        Engine = std::make_unique<TTestEngine>(TDisplayFaults(), 640, 480);
        InitGraphics(1 << 20);
        InitSkins();
        InitSkinProperties();
        InitVideoCache();
        InitMainWindow(640, 480, nullptr, nullptr, nullptr);
        SetHostResolver(std::make_shared<TLoopbackResolver>());
        SetLoginServerEndpoint("login.pellarune.test", Server.loginPort());
        InitNetwork(OnConnected, ReceivePackets, OnConnectionFailed);
        InitControlConnection(&Frame);
        InitCommunication();
        Server.setPlan(TRole::Login, DefaultLoginPlan(Server.gamePort()));
        Recording = this;
        SetModalWindowObserver(record);
    }
    void TearDown() override {
        SetModalWindowObserver(nullptr);
        Recording = nullptr;
        InitCommunication();
        ExitNetwork();
        SetNetworkWindow(nullptr);
        SetGraphicsSignatureGetters(nullptr, nullptr);
        SetHostResolver(nullptr);
        SetLoginServerEndpoint(LOGIN_SERVER_HOSTNAME, LOGIN_SERVER_PORT);
        ExitMainWindow();
        ClearMessages();
        ExitSkins();
        ExitGraphics();
        Engine.reset();
        SetStartPatcherFlag(false);
        SetForceClose(false);
        ExitStatus();
        ExitObjects();
        ExitSystem();
    }

    static TModalDialog* shownDialog() {
        return GetActionState() == ACTIONSTATE_DIALOG ? dynamic_cast<TModalDialog*>(GetModalWindow())
                                                      : nullptr;
    }
    static bool downloadShown() {
        const TModalDialog* Dialog = shownDialog();
        return Dialog != nullptr && dynamic_cast<const TDownloadDialog*>(Dialog->_Dialog) != nullptr;
    }

    // Notes every dialog as it opens, however soon it closes again.
    static void record(TComponent* Window) {
        const auto* Dialog = dynamic_cast<const TModalDialog*>(Window);
        if (Dialog == nullptr) return;
        std::string Shown = Dialog->_Caption;
        if (typeid(*Dialog->_Dialog) == typeid(TTextLabel)) // a message box
            Shown += std::string(": ") + static_cast<const TTextLabel*>(Dialog->_Dialog)->getText();
        else if (const auto* Download = dynamic_cast<const TDownloadDialog*>(Dialog->_Dialog))
            Shown += std::string(": ") + Download->Label->getText();
        Recording->Seen.push_back(Shown);
    }

    // Every dialog but the download dialog is answered at once; that one once the download has ended.
    static void answer() {
        TModalDialog* Dialog = shownDialog();
        if (Dialog == nullptr) return;
        const auto* Download = dynamic_cast<const TDownloadDialog*>(Dialog->_Dialog);
        if (Download == nullptr || GetPatchProgress() == -1) SetActionState(ACTIONSTATE_NONE);
    }

    // One idle pass.
    void idle() {
        answer();
        ProcessMessages();
        answer();
    }

    bool runUntil(const std::function<bool()>& Done, int Milliseconds = 10000) {
        auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
        while (!Done()) {
            if (std::chrono::steady_clock::now() > End) return false;
            PumpEvents(5);
            idle();
        }
        return true;
    }

    // Logs in and runs until the client is offline with nothing left to do after Logins logins in all.
    bool logInUntilSettled(size_t Logins) {
        AddMessage(MESSAGE_CONNECTLOGIN, 0, 0);
        AddMessage(MESSAGE_LOADINGCHARACTERS, 0, 0);
        return runUntil([&] {
            return Server.received().Logins.size() >= Logins &&
                   GetConnectionState() == CONNECTIONSTATE_OFFLINE && GetMessageCount() == 0 &&
                   !IsPatchRunning() && GetModalWindow() == nullptr;
        });
    }

    // The message boxes among the dialogs seen: caption and text.
    std::vector<std::string> boxes() const {
        std::vector<std::string> Boxes;
        for (const std::string& Shown : Seen)
            if (Shown.find(": ") != std::string::npos && Shown.rfind("Message of the Day", 0) != 0 &&
                Shown.rfind(DOWNLOAD_CAPTION, 0) != 0)
                Boxes.push_back(Shown);
        return Boxes;
    }

    TWorkingDirectory Directory;
    std::unique_ptr<TTestEngine> Engine;
    TTestServer Server;
    CFrameMessageTarget Frame;
    std::vector<std::string> Seen; // captions, and a box's text behind its caption, in the order opened
    static inline DownloadFlow* Recording = nullptr;
};

class DataFileUpdate : public DownloadFlow,
                       public ::testing::WithParamInterface<std::tuple<uint8_t, bool>> {};

} // namespace

TEST_P(DataFileUpdate, IsInstalledReloadedAndReportedAtTheNextLogin) {
    const auto [FileNumber, WholeFile] = GetParam();
    const char* Name = DATA_FILES[FileNumber];
    const TBytes Old = ReadBytes(Name), New = NewVersion(Old, FileNumber);
    TDownload Download;
    Download.FileNumber = FileNumber;
    Download.WholeFile = WholeFile;
    Download.Payload = WholeFile ? New : MakePatch(Old, New);
    Server.queuePlan(TRole::Login, DownloadPlan({Download}));

    ASSERT_TRUE(logInUntilSettled(2));
    EXPECT_EQ(ReadBytes(Name), New);
    EXPECT_FALSE(fs::exists(std::string(Name, strlen(Name) - 1) + "_"));
    EXPECT_EQ(LoadedSignature(FileNumber), DataFileSignature(New));
    TReceived Received = Server.received();
    ASSERT_EQ(Received.Logins.size(), 2u);
    EXPECT_EQ(ReportedSignature(Received.Logins[0], FileNumber), DataFileSignature(Old));
    EXPECT_EQ(ReportedSignature(Received.Logins[1], FileNumber), DataFileSignature(New));
    EXPECT_EQ(std::count(Seen.begin(), Seen.end(), DownloadShown(FileNumber)), 1);
    EXPECT_TRUE(boxes().empty()) << ::testing::PrintToString(Seen);
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(Seen.back(), "Select Character") << "the second login reaches the list";
    EXPECT_TRUE(Received.Errors.empty());
}

INSTANTIATE_TEST_SUITE_P(FilesOneToThree, DataFileUpdate,
                         ::testing::Combine(::testing::Values(OBJECT_FILE, SPRITE_FILE, PICTURE_FILE),
                                            ::testing::Bool()));

// The object types sent twice in one answer, each time whole or as a patch. Nothing is installed before the
// connection closes, so a patch is made from the file the login reported, which is still the one on disk. The
// last one sent is installed, loaded and reported, without a box. It is shorter than the first one and than
// the old file, so that a write or an install that leaves bytes of the file it replaces shows.
class SentTwice : public DownloadFlow, public ::testing::WithParamInterface<std::tuple<bool, bool>> {};

TEST_P(SentTwice, TheLastOneSentIsInstalledReloadedAndReported) {
    const auto [FirstWhole, LastWhole] = GetParam();
    const TBytes Old = ReadBytes("Ebrun.dat"), First = NewVersion(Old, OBJECT_FILE);
    TDatFile Small; // one type in each table
    Small.Signature = DataFileSignature(First) ^ 0x3300;
    Small.addItem();
    Small.addOutfit();
    Small.addEffect();
    Small.addMissile();
    const TBytes Last = EncodeDatFile(Small);
    ASSERT_LT(Last.size(), std::min(Old.size(), First.size()));
    TDownload Download[2];
    for (int k = 0; k < 2; k++) {
        Download[k].FileNumber = OBJECT_FILE;
        Download[k].WholeFile = k == 0 ? FirstWhole : LastWhole;
        const TBytes& New = k == 0 ? First : Last;
        Download[k].Payload = Download[k].WholeFile ? New : MakePatch(Old, New);
    }
    Server.queuePlan(TRole::Login, DownloadPlan({Download[0], Download[1]}));

    ASSERT_TRUE(logInUntilSettled(2)) << ::testing::PrintToString(Seen);
    EXPECT_TRUE(boxes().empty()) << ::testing::PrintToString(Seen);
    EXPECT_EQ(ReadBytes("Ebrun.dat"), Last);
    EXPECT_FALSE(fs::exists("Ebrun.da_"));
    EXPECT_EQ(GetObjectTypeSignature(), DataFileSignature(Last));
    TReceived Received = Server.received();
    ASSERT_EQ(Received.Logins.size(), 2u);
    EXPECT_EQ(Received.Logins[1].DatSignature, DataFileSignature(Last));
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(Seen.back(), "Select Character");
}

INSTANTIATE_TEST_SUITE_P(WholeOrPatch, SentTwice, ::testing::Combine(::testing::Bool(), ::testing::Bool()));

TEST_F(DownloadFlow, NewProgramWaitsForThePatcher) {
    const TBytes Old(5000, 'p');
    TBytes New = Old;
    New.insert(New.begin() + 100, {'n', 'e', 'w'});
    WriteBytes(PROGRAM_FILE_NAME, Old);
    for (bool WholeFile : {true, false}) {
        SCOPED_TRACE(WholeFile ? "whole" : "patch");
        SetStartPatcherFlag(false);
        fs::remove(PROGRAM_UPDATE_FILE_NAME);
        TDownload Download;
        Download.FileNumber = PROGRAM_FILE;
        Download.WholeFile = WholeFile;
        Download.Payload = WholeFile ? New : MakePatch(Old, New);
        Server.queuePlan(TRole::Login, DownloadPlan({Download}));
        AddMessage(MESSAGE_CONNECTLOGIN, 0, 0);
        ASSERT_TRUE(runUntil([&] { return GetStartPatcherFlag(); }));
        EXPECT_EQ(ReadBytes(PROGRAM_UPDATE_FILE_NAME), New);
        EXPECT_NE(fs::status(PROGRAM_UPDATE_FILE_NAME).permissions() & fs::perms::owner_exec,
                  fs::perms::none);
        EXPECT_EQ(ReadBytes(PROGRAM_FILE_NAME), Old);
        ASSERT_FALSE(boxes().empty());
        EXPECT_EQ(boxes().back().substr(0, 10), "Updating: ");
        EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE); // event 64 waited for the close
    }
}

// Sent twice in the answer: the last one counts.
TEST_F(DownloadFlow, NewPatcherIsInstalledWithoutANewLogin) {
    const TBytes Patcher = {'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n'};
    TDownload Earlier, Download;
    Earlier.FileNumber = Download.FileNumber = PATCHER_FILE;
    Earlier.Payload = {'#', '!'};
    Download.Payload = Patcher;
    Server.queuePlan(TRole::Login, DownloadPlan({Earlier, Download}));
    ASSERT_TRUE(logInUntilSettled(1));
    EXPECT_TRUE(boxes().empty()) << ::testing::PrintToString(Seen);
    EXPECT_EQ(ReadBytes(PATCHER_FILE_NAME), Patcher);
    EXPECT_NE(fs::status(PATCHER_FILE_NAME).permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_FALSE(runUntil([&] { return Server.received().Logins.size() > 1; }, 300));
}

TEST_F(DownloadFlow, CutTransferLeavesTheOldFileUntilCancelled) {
    const TBytes Old = ReadBytes("Ebrun.spr");
    TDownload Download;
    Download.FileNumber = SPRITE_FILE;
    Download.Payload = NewVersion(Old, SPRITE_FILE);
    Download.CutAfter = Download.Payload.size() / 2;
    Server.queuePlan(TRole::Login, DownloadPlan({Download}));
    AddMessage(MESSAGE_CONNECTLOGIN, 0, 0);
    ASSERT_TRUE(
        runUntil([] { return GetPatchProgress() >= 49 && GetConnectionState() == CONNECTIONSTATE_OFFLINE; }));
    EXPECT_TRUE(IsPatchRunning()); // until the dialog's Cancel
    EXPECT_TRUE(downloadShown());
    CancelPatch();
    SetActionState(ACTIONSTATE_NONE);
    ASSERT_TRUE(runUntil([&] { return !downloadShown() && GetMessageCount() == 0; }));
    EXPECT_FALSE(IsPatchRunning());
    EXPECT_EQ(ReadBytes("Ebrun.spr"), Old);
    EXPECT_FALSE(fs::exists("Ebrun.sp_"));
    EXPECT_EQ(GetSpriteSignature(), DataFileSignature(Old));
    EXPECT_EQ(Server.received().Logins.size(), 1u);
}

TEST_F(DownloadFlow, CancelMidwayClosesTheConnection) {
    const TBytes Old = ReadBytes("Ebrun.pic");
    TDownload Download;
    Download.FileNumber = PICTURE_FILE;
    Download.Payload = NewVersion(Old, PICTURE_FILE);
    Download.CutAfter = Download.Payload.size() / 3;
    TPlan Plan = DownloadPlan({Download});
    Plan.CloseAfterAnswer = false; // the server holds the connection, as if the rest were still coming
    Server.queuePlan(TRole::Login, Plan);
    AddMessage(MESSAGE_CONNECTLOGIN, 0, 0);
    ASSERT_TRUE(runUntil([] { return GetPatchProgress() >= 33; }));
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_LOGIN);
    CancelPatch();
    SetActionState(ACTIONSTATE_NONE);
    EXPECT_FALSE(IsConnected());
    EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE);
    EXPECT_EQ(GetMessageCount(), 0);
    ASSERT_TRUE(runUntil([&] { return !downloadShown(); }));
    EXPECT_EQ(ReadBytes("Ebrun.pic"), Old);
    EXPECT_FALSE(fs::exists("Ebrun.pi_"));
}

TEST_F(DownloadFlow, PatchThatReadsPastTheOldFileLeavesIt) {
    const TBytes Sprites = ReadBytes("Ebrun.spr");
    TDownload Overrun;
    Overrun.FileNumber = SPRITE_FILE;
    Overrun.WholeFile = false;
    AppendPatchCommand(Overrun.Payload, TPatchOperation::Copy, static_cast<uint32_t>(Sprites.size() + 1));
    Server.queuePlan(TRole::Login, DownloadPlan({Overrun}));
    ASSERT_TRUE(logInUntilSettled(1));
    EXPECT_EQ(boxes(), std::vector<std::string>({"Error: Cannot patch file Ebrun.spr."}));
    EXPECT_EQ(ReadBytes("Ebrun.spr"), Sprites);
    EXPECT_FALSE(fs::exists("Ebrun.sp_"));
    EXPECT_EQ(GetSpriteSignature(), DataFileSignature(Sprites));
}

// The objects on disk have changed since they were loaded: their patch does not match, and the pictures sent
// behind it in the same answer are not taken.
TEST_F(DownloadFlow, MismatchingPatchEndsTheAnswer) {
    const TBytes Loaded = ReadBytes("Ebrun.dat"), Pictures = ReadBytes("Ebrun.pic");
    TBytes OnDisk = Loaded;
    OnDisk[2] ^= 0x01;
    WriteBytes("Ebrun.dat", OnDisk);
    TDownload Objects, Whole;
    Objects.FileNumber = OBJECT_FILE;
    Objects.WholeFile = false;
    Objects.Payload = MakePatch(Loaded, NewVersion(Loaded, OBJECT_FILE));
    Whole.FileNumber = PICTURE_FILE;
    Whole.Payload = NewVersion(Pictures, PICTURE_FILE);
    // both in one frame each, sent together: the second is already received when the first fails
    Server.queuePlan(TRole::Login, DownloadPlan({Objects, Whole}));
    ASSERT_TRUE(logInUntilSettled(1));
    EXPECT_EQ(boxes(), std::vector<std::string>({"Error: Cannot patch file Ebrun.dat."}));
    EXPECT_EQ(ReadBytes("Ebrun.dat"), OnDisk);
    EXPECT_FALSE(fs::exists("Ebrun.da_"));
    EXPECT_EQ(ReadBytes("Ebrun.pic"), Pictures);
    EXPECT_FALSE(fs::exists("Ebrun.pi_"));
    EXPECT_FALSE(runUntil([&] { return Server.received().Logins.size() > 1; }, 300));
}
