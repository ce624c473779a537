// The download handlers over loopback: progress, the events of a finished file, and every message the
// handlers refuse, with the running download left intact.
#include "ClientConnection.h"
#include "NetworkFixture.h"

#include "foundation/Exception.h"
#include "network/Communication.h"
#include "network/CommunicationDownload.h"
#include "tests/foundation/TempDirectory.h"
#include "tools/testserver/Downloads.h"
#include "tools/testserver/Xtea.h"

#include <filesystem>
#include <random>

namespace {

namespace fs = std::filesystem;
using TServerMessage = testserver::TMessage;

const testserver::TXteaKey KEY = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6};

TServerMessage Block(size_t Size, uint8_t Fill) {
    return testserver::DownloadBlockMessage(std::vector<uint8_t>(Size, Fill));
}

class DownloadTest : public NetworkTest {
protected:
    void SetUp() override {
        NetworkTest::SetUp();
        InitCommunication();
        SetSymmetricKey(KEY.data());
        ASSERT_TRUE(ConnectToPeer(Peer, [] { return Connected == 1; }));
        SetConnectionState(CONNECTIONSTATE_LOGIN);
        OnReceived = [this] { dispatch(); };
    }
    void TearDown() override {
        InitCommunication();
        NetworkTest::TearDown();
    }

    // The login-phase dispatch of the download messages; an error ends it, as it ends the real one.
    void dispatch() {
        for (int32_t Type; Error.empty() && (Type = GetPacketType()) != -1;) {
            try {
                if (Type == 30)
                    ReceivePatchStart();
                else if (Type == 31)
                    ReceiveFileStart();
                else if (Type == 32)
                    ReceivePatchBlock();
                else
                    ADD_FAILURE() << "message type " << Type;
            } catch (const TMyException& Failure) {
                Error = Failure.getText();
            }
            Progress.push_back(GetPatchProgress());
        }
    }

    // Sends each message in a frame of its own and pumps until all were handled or one failed.
    void deliver(const std::vector<TServerMessage>& Messages) {
        testserver::TXteaCipher Cipher(KEY);
        size_t Before = Progress.size();
        for (const TServerMessage& Message : Messages)
            Peer.send(testserver::SealFrame(Cipher, Message, Random));
        PumpUntil([&] { return Progress.size() >= Before + Messages.size() || !Error.empty(); });
    }

    static std::vector<int32_t> Types(const std::vector<TQueuedEvent>& Events) {
        std::vector<int32_t> List;
        for (const TQueuedEvent& Event : Events)
            List.push_back(Event.Type);
        return List;
    }
    static std::string Read(const std::string& Name) {
        std::ifstream In(Name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    }
    // The error's innermost text ends so.
    bool failedWith(const std::string& Text) const {
        return Error.size() >= Text.size() &&
               Error.compare(Error.size() - Text.size(), Text.size(), Text) == 0;
    }
    static void Write(const std::string& Name, const std::string& Text) {
        std::ofstream(Name, std::ios::binary) << Text;
    }

    TWorkingDirectory Directory;
    TLoopbackPeer Peer;
    std::mt19937 Random{772};
    std::vector<int32_t> Progress;
    std::string Error;
};

} // namespace

TEST_F(DownloadTest, WholeFileInBlocksWithProgressAndItsEvents) {
    Write("Ebrun.pic", "old pictures");
    AddMessage(MESSAGE_MESSAGEOFTHEDAY, 0, 0); // queued before the download
    deliver({testserver::FileStartMessage(3, 1000), Block(400, 'a'), Block(0, 0), Block(400, 'b')});
    EXPECT_EQ(Progress, std::vector<int32_t>({0, 40, 40, 80}));
    EXPECT_TRUE(IsPatchRunning());
    EXPECT_EQ(PeekMessageType(), MESSAGE_DOWNLOAD);
    deliver({Block(200, 'c')});
    EXPECT_EQ(Error, "");
    EXPECT_EQ(Progress.back(), -1);
    EXPECT_FALSE(IsPatchRunning());
    EXPECT_EQ(Read("Ebrun.pi_"), std::string(400, 'a') + std::string(400, 'b') + std::string(200, 'c'));
    EXPECT_EQ(Read("Ebrun.pic"), "old pictures");
    std::vector<TQueuedEvent> Events = TakeEvents();
    EXPECT_EQ(Types(Events), std::vector<int32_t>({MESSAGE_WAITFORDISCONNECT, MESSAGE_INSTALLPICTURES,
                                                   MESSAGE_DOWNLOAD, MESSAGE_MESSAGEOFTHEDAY,
                                                   MESSAGE_RELOADPICTURES, MESSAGE_CHANGECHARACTER}));
    EXPECT_STREQ(MessagePointer<char>(Events[2].Param1), "Ebrun.pic");
    EXPECT_EQ(Events[2].Param2, 1000);
}

// The sprites sent again replace their new version, which the events already queued install and reload.
TEST_F(DownloadTest, DataFilesOfOneAnswerAreInstalledAndReloadedAndLogInAgainOnce) {
    Write("Ebrun.spr", "old sprites");
    Write("Ebrun.pic", "old pictures");
    deliver({testserver::FileStartMessage(2, 3), Block(3, 's'), testserver::FileStartMessage(3, 2),
             Block(2, 'p'), testserver::FileStartMessage(2, 2), Block(2, 'S')});
    EXPECT_EQ(Error, "");
    EXPECT_EQ(Read("Ebrun.sp_"), "SS");
    EXPECT_EQ(Types(TakeEvents()),
              std::vector<int32_t>({MESSAGE_DOWNLOAD, MESSAGE_WAITFORDISCONNECT, MESSAGE_INSTALLPICTURES,
                                    MESSAGE_DOWNLOAD, MESSAGE_WAITFORDISCONNECT, MESSAGE_INSTALLSPRITES,
                                    MESSAGE_DOWNLOAD, MESSAGE_RELOADSPRITES, MESSAGE_CHANGECHARACTER,
                                    MESSAGE_RELOADPICTURES}));
}

TEST_F(DownloadTest, ADownloadLeftUnfinishedIsDroppedAtTheNextLoginWhoseAnswerSendsItAgain) {
    deliver({testserver::FileStartMessage(1, 100), Block(40, 'a')});
    ASSERT_TRUE(IsPatchRunning());
    SetGraphicsSignatureGetters([] { return 1u; }, [] { return 2u; });
    SendLoginServerLogin(1, "pw");
    SetGraphicsSignatureGetters(nullptr, nullptr);
    SetSymmetricKey(KEY.data()); // the answer's, as the login chose it
    EXPECT_FALSE(IsPatchRunning());
    EXPECT_EQ(GetPatchProgress(), -1);
    deliver({testserver::FileStartMessage(1, 2), Block(2, 'b')});
    EXPECT_EQ(Error, "");
    EXPECT_EQ(Read("Ebrun.da_"), "bb");
}

TEST_F(DownloadTest, EmptyDownloadCompletesWithItsFirstBlock) {
    deliver({testserver::FileStartMessage(1, 0), Block(0, 0)});
    EXPECT_EQ(Error, "");
    EXPECT_EQ(Progress, std::vector<int32_t>({0, -1}));
    EXPECT_TRUE(fs::exists("Ebrun.da_"));
    EXPECT_EQ(Read("Ebrun.da_"), "");
}

TEST_F(DownloadTest, StartMessagesAreCheckedBeforeAnythingChanges) {
    struct TCase {
        TServerMessage Start;
        std::string Error;
    } Cases[] = {
        {testserver::PatchStartMessage(4, 10), "no patch for patch.exe"},
        {testserver::PatchStartMessage(5, 10), "unknown patch file number"},
        {testserver::FileStartMessage(255, 10), "unknown patch file number"},
        {testserver::FileStartMessage(1, MAX_PATCH_DATA_SIZE + 1),
         "assertion failed (Size = 134217729), reason:\nPatchDataSize<=MAX_PATCH_DATA_SIZE"},
        {testserver::FileStartMessage(1, 0xFFFFFFFF),
         "assertion failed (Size = -1), reason:\nPatchDataSize<=MAX_PATCH_DATA_SIZE"},
    };
    CancelPatch(); // nothing runs: not even the connection is touched
    EXPECT_TRUE(IsConnected());
    for (const TCase& Case : Cases) {
        Error.clear();
        deliver({Case.Start});
        EXPECT_TRUE(failedWith(Case.Error)) << Error;
        EXPECT_EQ(Error.rfind("CommunicationDownload.cpp ", 0), 0u) << Error;
        EXPECT_FALSE(IsPatchRunning());
        EXPECT_EQ(GetMessageCount(), 0);
        EXPECT_EQ(GetPatchProgress(), -1);
    }
}

TEST_F(DownloadTest, RunningDownloadSurvivesRefusedMessages) {
    Write("Ebrun.dat", "old");
    deliver({testserver::FileStartMessage(1, 6), Block(2, 'x')});
    deliver({testserver::FileStartMessage(2, 100)});
    EXPECT_TRUE(
        failedWith("assertion failed (OldPatchFileNumber = 1) (OldPatchDataSize-OldPatchDataCount = 4), "
                   "reason:\nPatchData==NULL"))
        << Error;
    Error.clear();
    deliver({testserver::PatchStartMessage(1, 100)});
    EXPECT_TRUE(failedWith("assertion failed, reason:\nPatchData==NULL")) << Error;
    // a block one byte too long copies nothing
    Error.clear();
    deliver({Block(5, 'y')});
    EXPECT_TRUE(failedWith("assertion failed, reason:\nPatchDataCount+BlockSize<=PatchDataSize")) << Error;
    EXPECT_NE(Error.find("(BlockSize = 5)"), std::string::npos) << Error;
    uint8_t Unread[5];
    GetBytes(Unread, 5); // the refused block's bytes, which the ended dispatch left in its frame
    Error.clear();
    deliver({Block(4, 'z')});
    EXPECT_EQ(Error, "");
    EXPECT_EQ(Read("Ebrun.da_"), "xxzzzz");
    EXPECT_EQ(Read("Ebrun.dat"), "old");

    deliver({Block(1, 'w')});
    EXPECT_TRUE(failedWith("assertion failed, reason:\nPatchData!=NULL")) << Error;
}
