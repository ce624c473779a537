// Tests of the login messages: frame and RSA block layouts as OpenSSL deciphers them, fresh keys and fill,
// the key put in use, and the texts of a failed RSA step.
#include "ClientConnection.h"
#include "NetworkFixture.h"

#include "foundation/Exception.h"
#include "network/Communication.h"
#include "network/LoginKey.h"
#include "network/XTEA.h"
#include "state/Objects.h"
#include "tools/datagen/DatWriter.h"
#include "tools/testserver/Rsa.h"

#include <cstring>
#include <filesystem>
#include <random>
#include <span>

namespace {

uint32_t SpriteSignature() { return 0x5350520A; }
uint32_t PictureSignature() { return 0x5049430B; }

uint32_t Quad(const std::vector<uint8_t>& Bytes, size_t At) {
    return Bytes[At] | Bytes[At + 1] << 8 | Bytes[At + 2] << 16 | static_cast<uint32_t>(Bytes[At + 3]) << 24;
}
uint16_t Word(const std::vector<uint8_t>& Bytes, size_t At) {
    return static_cast<uint16_t>(Bytes[At] | Bytes[At + 1] << 8);
}

class CommunicationTest : public NetworkTest {
protected:
    void SetUp() override {
        NetworkTest::SetUp();
        SetGraphicsSignatureGetters(SpriteSignature, PictureSignature);
        ASSERT_TRUE(ConnectToPeer(Peer, [] { return Connected == 1; }));
    }
    void TearDown() override {
        SetGraphicsSignatureGetters(nullptr, nullptr);
        SetLoginModulus(LOGIN_RSA_MODULUS);
        NetworkTest::TearDown();
    }

    // The RSA block at Offset of a received frame, deciphered with the servers' private key.
    static std::vector<uint8_t> Deciphered(const std::vector<uint8_t>& Frame, size_t Offset) {
        testserver::TRsaPrivateKey Key(testserver::DefaultPrivateKeyPem());
        std::span<const uint8_t, 128> Cipher(Frame.data() + Offset, 128);
        testserver::TRsaBlock Plain = Key.decipher(Cipher);
        return std::vector<uint8_t>(Plain.begin(), Plain.end());
    }

    // Proves which key the client now enciphers with: a one-byte command deciphered with Key.
    void ExpectKeyInUse(const std::vector<uint8_t>& Key) {
        BeginPacket(0x1E);
        PutByte(0x42);
        SendPacket(true);
        std::vector<uint8_t> Frame = Peer.receiveExactly(10);
        ASSERT_EQ(Frame.size(), 10u);
        TXTEACipher Cipher;
        Cipher.setKey(Key.data());
        Cipher.decryptBlocks(Frame.data() + 2, 1);
        EXPECT_EQ(std::vector<uint8_t>(Frame.begin() + 2, Frame.begin() + 6),
                  (std::vector<uint8_t>{2, 0, 0x1E, 0x42}));
    }

    TLoopbackPeer Peer;
};

} // namespace

TEST_F(CommunicationTest, LoginServerLoginHasItsExactLayoutAndPutsItsKeyInUse) {
    std::filesystem::path Dat = std::filesystem::temp_directory_path() /
                                ("pellarune-login-" + std::to_string(std::random_device()()) + ".dat");
    TDatFile File;
    File.Signature = 0x44415409;
    File.addItem();
    File.addOutfit();
    File.addEffect();
    File.addMissile();
    WriteBytesToFile(Dat.string(), EncodeDatFile(File));
    LoadObjectTypes(Dat.c_str());
    std::filesystem::remove(Dat);

    SendLoginServerLogin(123456789, "tenletters");
    std::vector<uint8_t> Frame = Peer.receiveExactly(147);
    ExitObjects();
    ASSERT_EQ(Frame.size(), 147u);
    EXPECT_EQ(Word(Frame, 0), 145);
    EXPECT_EQ(Frame[2], 1);
    EXPECT_EQ(Word(Frame, 3), 2);
    EXPECT_EQ(Word(Frame, 5), 772);
    EXPECT_EQ(Quad(Frame, 7), 0x44415409u) << "Ebrun.dat's signature";
    EXPECT_EQ(Quad(Frame, 11), 0x5350520Au) << "the sprite file's";
    EXPECT_EQ(Quad(Frame, 15), 0x5049430Bu) << "the picture file's";

    std::vector<uint8_t> Block = Deciphered(Frame, 19);
    EXPECT_EQ(Block[0], 0);
    EXPECT_EQ(Quad(Block, 17), 123456789u);
    EXPECT_EQ(Word(Block, 21), 10);
    EXPECT_EQ(std::string(Block.begin() + 23, Block.begin() + 33), "tenletters");
    ExpectKeyInUse(std::vector<uint8_t>(Block.begin() + 1, Block.begin() + 17));
}

TEST_F(CommunicationTest, GameServerLoginHasItsExactLayout) {
    InitStatus(1, NoWarning); // started as gamemaster
    SendGameServerLogin(0xFEDCBA98, "Brenna", "pw");
    std::vector<uint8_t> Frame = Peer.receiveExactly(135);
    ASSERT_EQ(Frame.size(), 135u);
    EXPECT_EQ(Word(Frame, 0), 133);
    EXPECT_EQ(Frame[2], 10);
    EXPECT_EQ(Word(Frame, 3), 2);
    EXPECT_EQ(Word(Frame, 5), 772);

    std::vector<uint8_t> Block = Deciphered(Frame, 7);
    EXPECT_EQ(Block[0], 0);
    EXPECT_EQ(Block[17], 1) << "the gamemaster flag";
    EXPECT_EQ(Quad(Block, 18), 0xFEDCBA98u);
    EXPECT_EQ(Word(Block, 22), 6);
    EXPECT_EQ(std::string(Block.begin() + 24, Block.begin() + 30), "Brenna");
    EXPECT_EQ(Word(Block, 30), 2);
    EXPECT_EQ(std::string(Block.begin() + 32, Block.begin() + 34), "pw");
    ExpectKeyInUse(std::vector<uint8_t>(Block.begin() + 1, Block.begin() + 17));

    InitStatus(0, NoWarning);
    SendGameServerLogin(1, "Aldric", "pw");
    EXPECT_EQ(Deciphered(Peer.receiveExactly(135), 7)[17], 0) << "not started as gamemaster";
}

TEST_F(CommunicationTest, ConsecutiveLoginsDrawNewKeysAndNewFill) {
    SendLoginServerLogin(7, "same");
    std::vector<uint8_t> First = Deciphered(Peer.receiveExactly(147), 19);
    SendLoginServerLogin(7, "same");
    std::vector<uint8_t> Second = Deciphered(Peer.receiveExactly(147), 19);
    ASSERT_EQ(std::vector<uint8_t>(First.begin() + 17, First.begin() + 27),
              std::vector<uint8_t>(Second.begin() + 17, Second.begin() + 27));
    EXPECT_NE(std::vector<uint8_t>(First.begin() + 1, First.begin() + 17),
              std::vector<uint8_t>(Second.begin() + 1, Second.begin() + 17));
    // 101 bytes of fill: a chance match of 16 bytes in a row is out of the question.
    EXPECT_NE(std::vector<uint8_t>(First.begin() + 27, First.begin() + 43),
              std::vector<uint8_t>(Second.begin() + 27, Second.begin() + 43));
    EXPECT_NE(std::vector<uint8_t>(First.begin() + 27, First.end()), std::vector<uint8_t>(101, 0));
}

TEST_F(CommunicationTest, FailedRsaStepNamesTheServerShowsTheBlockWithoutSecretsAndSendsNothing) {
    SetLoginModulus("0");
    std::string Text;
    try {
        SendLoginServerLogin(42, "hunter2");
    } catch (const TMyException& Error) {
        Text = Error.getText();
    }
    size_t Head = Text.find("Asymmetric encryption for login server failed\n000 *** ");
    ASSERT_NE(Head, std::string::npos) << Text;
    EXPECT_NE(Text.find("exception occurred (AccountID = 42)"), std::string::npos) << Text;
    EXPECT_EQ(Text.find("hunter2"), std::string::npos);
    std::string Rows = Text.substr(Head + std::strlen("Asymmetric encryption for login server failed"));
    const std::string Reason = ", reason:\nm_ModulusM is null";
    ASSERT_GE(Rows.size(), Reason.size());
    EXPECT_EQ(Rows.substr(Rows.size() - Reason.size()), Reason);
    Rows.resize(Rows.size() - Reason.size());
    ASSERT_EQ(Rows.size(), 8 * (1 + 16 * 4) + 1u)
        << "8 rows of 16 \"%03d \", each after a line break, one after";
    std::string Hidden = "\n000 ";
    for (int i = 1; i < 30; i++)
        Hidden += i == 16 ? "\n*** " : "*** ";
    EXPECT_EQ(Rows.substr(0, Hidden.size()), Hidden) << "key, account and password (bytes 1..29) are hidden";
    EXPECT_NE(Rows.substr(Hidden.size(), 3), "***");
    EXPECT_EQ(Rows.back(), '\n');
    EXPECT_TRUE(Peer.receive(1, 50).empty()) << "nothing is sent";

    SetLoginModulus("12x4");
    try {
        SendGameServerLogin(1, "Aldric", "pw");
        ADD_FAILURE() << "a broken modulus must fail";
    } catch (const TMyException& Error) {
        EXPECT_NE(Error.getText().find("Asymmetric encryption for game server failed\n"), std::string::npos);
        EXPECT_NE(Error.getText().find(", reason:\nfailed to convert decimal text to large number, reason: "
                                       "digit out of range"),
                  std::string::npos)
            << Error.getText();
    }
}
