// Downloads from the test server over loopback, end to end: the client logs in with its loaded signatures,
// collects the download, writes the new version, installs and reloads it through the event cases and logs
// in again; cut transfers, bad patches and cancelling leave the old files in use.
#include "control/Control.h"
#include "control/ControlDownload.h"
#include "control/MainFrm.h"
#include "foundation/ScriptPatch.h"
#include "foundation/sysinc.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "network/Communication.h"
#include "network/CommunicationDownload.h"
#include "network/Network.h"
#include "platform/Resolver.h"
#include "state/Events.h"
#include "state/Objects.h"
#include "state/Status.h"
#include "tests/foundation/TempDirectory.h"
#include "tools/testserver/Differ.h"
#include "tools/testserver/Downloads.h"
#include "tools/testserver/TestServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

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

// What the controller does with the events of a login besides the cases under test: the download dialog
// (open until the progress reads -1 or the user cancels), message boxes and the character list (recorded,
// not shown), connecting.
class TFlowActions : public TMessageActions {
public:
    bool hasModalWindow() override { return DialogOpen; }
    void destroyModalWindow() override { DialogOpen = false; }
    bool isMouseCaptured() override { return false; }
    void performMessage(int32_t Type, intptr_t Param1, intptr_t Param2) override {
        Performed.push_back(Type);
        if (PerformDownloadEvent(Type)) return;
        if (Type == MESSAGE_DOWNLOAD) {
            DialogOpen = true;
            Dialogs.push_back(MessagePointer<char>(Param1));
        } else if (Type == MESSAGE_MESSAGEBOX) {
            Boxes.push_back(std::string(MessagePointer<char>(Param1)) + ": " + MessagePointer<char>(Param2));
        } else if (Type == MESSAGE_CONNECTLOGIN) {
            ConnectToNextLoginServer();
        } else if (Type != MESSAGE_LOADINGCHARACTERS && Type != MESSAGE_MESSAGEOFTHEDAY &&
                   Type != MESSAGE_CHARACTERLIST) {
            ADD_FAILURE() << "event " << Type;
        }
    }
    void placeModalWindow(bool) override {}
    void moveCreatures() override {}
    void drawFrame() override {}

    bool DialogOpen = false;
    std::vector<int32_t> Performed;
    std::vector<std::string> Dialogs, Boxes;
};

// The client's modules with the real login road (connect, dispatch and close callbacks), the download cases
// and a stand-in event dispatch, against the test server, in a directory holding the generated data files.
class DownloadFlow : public ::testing::Test {
protected:
    void SetUp() override {
        Flow = this;
        Home = fs::current_path();
        fs::current_path(Directory.file(""));
        for (const char* Name : {"Ebrun.dat", "Ebrun.spr", "Ebrun.pic"})
            fs::copy_file(fs::path(EBRUN_DATA_DIR) / Name, Name);
        InitSystem();
        InitObjects();
        InitStatus(0, [] { return true; });
        SetAccount(4711, "mellon");
        InitGraphics(1 << 20);
        SetHostResolver(std::make_shared<TLoopbackResolver>());
        SetLoginServerEndpoint("login.pellarune.test", Server.loginPort());
        InitNetwork(OnConnected, ReceivePackets, OnConnectionFailed);
        InitControlConnection(&Frame);
        InitCommunication();
        SetImmediateDispatchPass([] { Flow->idle(); });
        SetStartPatcherCallback([] { Flow->PatcherStarted = true; });
        Server.setPlan(TRole::Login, DefaultLoginPlan(Server.gamePort()));
    }
    void TearDown() override {
        SetStartPatcherCallback(nullptr);
        SetImmediateDispatchPass(nullptr);
        SetGraphicsSignatureGetters(nullptr, nullptr);
        InitCommunication();
        ExitNetwork();
        SetNetworkWindow(nullptr);
        SetHostResolver(nullptr);
        SetLoginServerEndpoint(LOGIN_SERVER_HOSTNAME, LOGIN_SERVER_PORT);
        ExitGraphics();
        SurfaceExitInstance();
        ExitStatus();
        ExitObjects();
        ExitSystem();
        fs::current_path(Home);
        Flow = nullptr;
    }

    // One idle pass; the download dialog closes itself once the progress reads -1.
    void idle() {
        if (Actions.DialogOpen && GetPatchProgress() == -1) SetActionState(ACTIONSTATE_NONE);
        DispatchMessages(Actions);
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
                   !IsPatchRunning() && !Actions.DialogOpen;
        });
    }

    static inline DownloadFlow* Flow = nullptr;
    TTempDirectory Directory;
    fs::path Home;
    TTestServer Server;
    CFrameMessageTarget Frame;
    TFlowActions Actions;
    bool PatcherStarted = false;
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
    EXPECT_EQ(Actions.Dialogs, std::vector<std::string>({Name}));
    EXPECT_TRUE(Actions.Boxes.empty());
    EXPECT_EQ(Actions.Performed.back(), MESSAGE_CHARACTERLIST) << "the second login reaches the list";
    EXPECT_TRUE(Received.Errors.empty());
}

INSTANTIATE_TEST_SUITE_P(FilesOneToThree, DataFileUpdate,
                         ::testing::Combine(::testing::Values(OBJECT_FILE, SPRITE_FILE, PICTURE_FILE),
                                            ::testing::Bool()));

TEST_F(DownloadFlow, NewProgramWaitsForThePatcher) {
    const TBytes Old(5000, 'p');
    TBytes New = Old;
    New.insert(New.begin() + 100, {'n', 'e', 'w'});
    WriteBytes(PROGRAM_FILE_NAME, Old);
    for (bool WholeFile : {true, false}) {
        SCOPED_TRACE(WholeFile ? "whole" : "patch");
        PatcherStarted = false;
        fs::remove(PROGRAM_UPDATE_FILE_NAME);
        TDownload Download;
        Download.FileNumber = PROGRAM_FILE;
        Download.WholeFile = WholeFile;
        Download.Payload = WholeFile ? New : MakePatch(Old, New);
        Server.queuePlan(TRole::Login, DownloadPlan({Download}));
        AddMessage(MESSAGE_CONNECTLOGIN, 0, 0);
        ASSERT_TRUE(runUntil([&] { return PatcherStarted; }));
        EXPECT_EQ(ReadBytes(PROGRAM_UPDATE_FILE_NAME), New);
        EXPECT_NE(fs::status(PROGRAM_UPDATE_FILE_NAME).permissions() & fs::perms::owner_exec,
                  fs::perms::none);
        EXPECT_EQ(ReadBytes(PROGRAM_FILE_NAME), Old);
        ASSERT_FALSE(Actions.Boxes.empty());
        EXPECT_EQ(Actions.Boxes.back().substr(0, 10), "Updating: ");
        EXPECT_EQ(GetConnectionState(), CONNECTIONSTATE_OFFLINE); // event 64 waited for the close
    }
}

TEST_F(DownloadFlow, NewPatcherIsInstalledWithoutANewLogin) {
    const TBytes Patcher = {'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n'};
    TDownload Download;
    Download.FileNumber = PATCHER_FILE;
    Download.Payload = Patcher;
    Server.queuePlan(TRole::Login, DownloadPlan({Download}));
    ASSERT_TRUE(logInUntilSettled(1));
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
    EXPECT_TRUE(Actions.DialogOpen);
    CancelPatch();
    SetActionState(ACTIONSTATE_NONE);
    ASSERT_TRUE(runUntil([&] { return !Actions.DialogOpen && GetMessageCount() == 0; }));
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
    ASSERT_TRUE(runUntil([&] { return !Actions.DialogOpen; }));
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
    EXPECT_EQ(Actions.Boxes, std::vector<std::string>({"Error: Cannot patch file Ebrun.spr."}));
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
    EXPECT_EQ(Actions.Boxes, std::vector<std::string>({"Error: Cannot patch file Ebrun.dat."}));
    EXPECT_EQ(ReadBytes("Ebrun.dat"), OnDisk);
    EXPECT_FALSE(fs::exists("Ebrun.da_"));
    EXPECT_EQ(ReadBytes("Ebrun.pic"), Pictures);
    EXPECT_FALSE(fs::exists("Ebrun.pi_"));
    EXPECT_FALSE(runUntil([&] { return Server.received().Logins.size() > 1; }, 300));
}
