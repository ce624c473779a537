// Known answers for the test server's own codec: XTEA through the byte-swapping wrapper, raw RSA, frames,
// the login commands and the server messages.
#include "tests/tools/testserver/TestClient.h"
#include "tools/testserver/Logins.h"
#include "tools/testserver/Messages.h"
#include "tools/testserver/Rsa.h"
#include "tools/testserver/Wire.h"
#include "tools/testserver/Xtea.h"

#include <gtest/gtest.h>

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <random>

using namespace testserver;

namespace {

std::vector<uint8_t> Hex(std::string_view Text) {
    std::vector<uint8_t> Bytes;
    for (size_t i = 0; i + 1 < Text.size(); i += 2)
        Bytes.push_back(static_cast<uint8_t>(std::stoi(std::string(Text.substr(i, 2)), nullptr, 16)));
    return Bytes;
}

// The published vectors write words big-endian; the wire keeps them little-endian.
std::vector<uint8_t> SwapWords(std::vector<uint8_t> Bytes) {
    for (size_t i = 0; i + 4 <= Bytes.size(); i += 4)
        std::reverse(Bytes.begin() + i, Bytes.begin() + i + 4);
    return Bytes;
}

TXteaKey KeyOf(const std::vector<uint8_t>& Bytes) {
    TXteaKey Key;
    std::copy(Bytes.begin(), Bytes.end(), Key.begin());
    return Key;
}

const TRsaPrivateKey& ServerKey() {
    static TRsaPrivateKey Key(DefaultPrivateKeyPem());
    return Key;
}

} // namespace

TEST(XteaTest, PublishedVectorsThroughTheWireByteOrder) {
    struct TVector {
        const char *Key, *Plain, *Cipher;
    } const Vectors[] = {
        {"000102030405060708090a0b0c0d0e0f", "4142434445464748", "497df3d072612cb5"},
        {"000102030405060708090a0b0c0d0e0f", "4141414141414141", "e78f2d13744341d8"},
        {"000102030405060708090a0b0c0d0e0f", "5a5b6e278948d77f", "4141414141414141"},
        {"00000000000000000000000000000000", "4142434445464748", "a0390589f8b8efa5"},
        {"00000000000000000000000000000000", "4141414141414141", "ed23375a821a8c2d"},
        {"00000000000000000000000000000000", "70e1225d6e4e7655", "4141414141414141"},
    };
    for (const TVector& v : Vectors) {
        TXteaCipher Cipher(KeyOf(SwapWords(Hex(v.Key))));
        std::vector<uint8_t> Block = SwapWords(Hex(v.Plain));
        Cipher.encipher(Block);
        EXPECT_EQ(Block, SwapWords(Hex(v.Cipher))) << v.Plain;
        Cipher.decipher(Block);
        EXPECT_EQ(Block, SwapWords(Hex(v.Plain))) << v.Plain;
    }
}

TEST(XteaTest, AgreesWithThePlainAlgorithmOnRandomBlocksAndRefusesPartialBlocks) {
    std::mt19937 Random(7);
    for (int Round = 0; Round < 50; ++Round) {
        TXteaKey Key;
        for (uint8_t& b : Key)
            b = static_cast<uint8_t>(Random());
        std::vector<uint8_t> Data(8 * (1 + Round % 5));
        for (uint8_t& b : Data)
            b = static_cast<uint8_t>(Random());
        std::vector<uint8_t> Expected = Data;
        testclient::ReferenceEncipher(Key, Expected);
        TXteaCipher(Key).encipher(Data);
        ASSERT_EQ(Data, Expected);
    }
    std::vector<uint8_t> Partial(12);
    EXPECT_THROW(TXteaCipher(TXteaKey{}).decipher(Partial), TWireError);
}

TEST(RsaTest, TheBuiltInKeyMatchesTheClientsModulus) {
    BIO* Input =
        BIO_new_mem_buf(DefaultPrivateKeyPem().data(), static_cast<int>(DefaultPrivateKeyPem().size()));
    EVP_PKEY* Key = PEM_read_bio_PrivateKey(Input, nullptr, nullptr, nullptr);
    BIGNUM* Modulus = nullptr;
    ASSERT_EQ(EVP_PKEY_get_bn_param(Key, OSSL_PKEY_PARAM_RSA_N, &Modulus), 1);
    char* Decimal = BN_bn2dec(Modulus);
    EXPECT_EQ(std::string(Decimal), testclient::ModulusText());
    EXPECT_EQ(testclient::ModulusText().size(), 309u);
    OPENSSL_free(Decimal);
    BN_free(Modulus);
    EVP_PKEY_free(Key);
    BIO_free(Input);
}

TEST(RsaTest, PublicEncipheringIsUndoneAndValuesAboveTheModulusAreRefused) {
    std::array<uint8_t, 128> Plain;
    std::mt19937 Random(3);
    for (uint8_t& b : Plain)
        b = static_cast<uint8_t>(Random());
    Plain[0] = 0;
    std::array<uint8_t, 128> Cipher = testclient::PublicEncipher(Plain);
    EXPECT_NE(Cipher, Plain);
    EXPECT_EQ(ServerKey().decipher(Cipher), Plain);

    std::array<uint8_t, 128> AboveModulus;
    AboveModulus.fill(0xFF);
    EXPECT_THROW(ServerKey().decipher(AboveModulus), TWireError);
    EXPECT_THROW(TRsaPrivateKey("not a key"), TWireError);
}

TEST(WireTest, WriterAndReaderAgreeAndTheReaderRefusesOverruns) {
    TWireWriter Writer;
    Writer.u8(0x12).u16(0x3456).u32(0x789ABCDE).string("Hi");
    EXPECT_EQ(Writer.data(),
              (std::vector<uint8_t>{0x12, 0x56, 0x34, 0xDE, 0xBC, 0x9A, 0x78, 2, 0, 'H', 'i'}));
    TWireReader Reader(Writer.data());
    EXPECT_EQ(Reader.u8(), 0x12);
    EXPECT_EQ(Reader.u16(), 0x3456);
    EXPECT_EQ(Reader.u32(), 0x789ABCDEu);
    EXPECT_EQ(Reader.string(), "Hi");
    EXPECT_THROW(Reader.u8(), TWireError);

    const uint8_t LongString[] = {5, 0, 'a', 'b'};
    TWireReader Short(LongString);
    EXPECT_THROW(Short.string(), TWireError);
    EXPECT_THROW(TWireWriter().string(std::string(0x10000, 'x')), TWireError);
}

TEST(WireTest, SealedFramesArePaddedToWholeBlocksOnly) {
    const TXteaKey Key = testclient::RandomKey();
    TXteaCipher Cipher(Key);
    std::mt19937 Random(1);
    // P + 2 = 8: no padding; P + 2 = 9: seven padding bytes.
    for (auto [P, Expected] : {std::pair<size_t, size_t>{6, 10}, {7, 18}, {0, 10}, {14, 18}}) {
        std::vector<uint8_t> Messages(P, 0xAB);
        std::vector<uint8_t> Frame = SealFrame(Cipher, Messages, Random);
        ASSERT_EQ(Frame.size(), Expected) << P;
        EXPECT_EQ(Frame[0] | Frame[1] << 8, static_cast<int>(Expected - 2));
        auto Opened = testclient::OpenFrames(Key, Frame);
        ASSERT_TRUE(Opened);
        EXPECT_EQ(Opened->at(0), Messages);
    }
    // The largest body below 16,382 bytes that is a multiple of 8 is 16,376: 16,374 message bytes.
    std::vector<uint8_t> Largest(16374), TooLong(16375);
    EXPECT_EQ(SealFrame(Cipher, Largest, Random).size(), 16378u);
    EXPECT_THROW(SealFrame(Cipher, TooLong, Random), TWireError);
}

TEST(WireTest, OpeningAClientFrameChecksBothLengths) {
    const TXteaKey Key = testclient::RandomKey();
    TXteaCipher Cipher(Key);
    const uint8_t Command[] = {140, 1, 2, 3};
    testclient::TBytes Frame = testclient::CommandFrame(Key, Command);
    std::span<const uint8_t> Opened = OpenFrame(Cipher, std::span(Frame).subspan(2));
    EXPECT_EQ(std::vector<uint8_t>(Opened.begin(), Opened.end()), std::vector<uint8_t>(Command, Command + 4));

    std::vector<uint8_t> Empty, Twelve(12);
    EXPECT_THROW(OpenFrame(Cipher, Empty), TWireError);
    EXPECT_THROW(OpenFrame(Cipher, Twelve), TWireError);
    // An inner length of 7 does not fit an 8-byte body after its own two bytes.
    std::vector<uint8_t> Inner = {7, 0, 1, 2, 3, 4, 5, 6};
    testclient::ReferenceEncipher(Key, Inner);
    EXPECT_THROW(OpenFrame(Cipher, Inner), TWireError);
}

TEST(LoginsTest, CommandOneGivesEveryFieldOfHeaderAndBlock) {
    testclient::TLoginFields Fields;
    Fields.Key = testclient::RandomKey();
    Fields.Account = 1234567;
    Fields.Password = "secret1234";
    Fields.Signatures[0] = 0x11223344;
    Fields.Signatures[1] = 0x55667788;
    Fields.Signatures[2] = 0x99AABBCC;
    testclient::TBytes Frame = testclient::LoginServerFrame(Fields);
    ASSERT_EQ(Frame.size(), 147u);
    TLoginRecord Record = ParseLoginServerLogin(std::span(Frame).subspan(2), ServerKey());
    EXPECT_EQ(Record.Constant, 2);
    EXPECT_EQ(Record.Version, 772);
    EXPECT_EQ(Record.DatSignature, 0x11223344u);
    EXPECT_EQ(Record.SprSignature, 0x55667788u);
    EXPECT_EQ(Record.PicSignature, 0x99AABBCCu);
    EXPECT_EQ(Record.Key, Fields.Key);
    EXPECT_EQ(Record.Account, 1234567u);
    EXPECT_EQ(Record.Password, "secret1234");
    EXPECT_EQ(Record.Block[0], 0);
    EXPECT_EQ(Record.Block[21], 10); // the password's length word
}

TEST(LoginsTest, CommandTenGivesGamemasterFlagNameAndPassword) {
    const testclient::TKey Key = testclient::RandomKey();
    testclient::TBytes Frame = testclient::GameServerFrame(Key, 1, 42, "Aldric", "pw");
    ASSERT_EQ(Frame.size(), 135u);
    TGameLoginRecord Record = ParseGameServerLogin(std::span(Frame).subspan(2), ServerKey());
    EXPECT_EQ(Record.Version, 772);
    EXPECT_EQ(Record.Key, Key);
    EXPECT_EQ(Record.GamemasterFlag, 1);
    EXPECT_EQ(Record.Account, 42u);
    EXPECT_EQ(Record.CharacterName, "Aldric");
    EXPECT_EQ(Record.Password, "pw");
}

TEST(LoginsTest, BrokenCommandsAreRefused) {
    testclient::TLoginFields Fields;
    testclient::TBytes Login = testclient::LoginServerFrame(Fields);
    std::span<const uint8_t> Message = std::span(Login).subspan(2);
    // Wrong command byte, or the login command sent to the other role.
    EXPECT_THROW(ParseGameServerLogin(Message, ServerKey()), TWireError);
    testclient::TBytes Longer(Message.begin(), Message.end());
    Longer.push_back(0);
    EXPECT_THROW(ParseLoginServerLogin(Longer, ServerKey()), TWireError);
    EXPECT_THROW(ParseLoginServerLogin(Message.first(144), ServerKey()), TWireError);
    EXPECT_THROW(ParseLoginServerLogin({}, ServerKey()), TWireError);

    // A block that does not start with 0, and a password length that runs past the block.
    std::array<uint8_t, 128> Block{};
    Block[0] = 1;
    testclient::TBytes Bad(Message.begin(), Message.begin() + 17);
    std::array<uint8_t, 128> Cipher = testclient::PublicEncipher(Block);
    testclient::TBytes NonZero = Bad;
    NonZero.insert(NonZero.end(), Cipher.begin(), Cipher.end());
    EXPECT_THROW(ParseLoginServerLogin(NonZero, ServerKey()), TWireError);
    Block[0] = 0;
    Block[21] = 106; // 23 + 106 > 128
    Cipher = testclient::PublicEncipher(Block);
    Bad.insert(Bad.end(), Cipher.begin(), Cipher.end());
    EXPECT_THROW(ParseLoginServerLogin(Bad, ServerKey()), TWireError);
}

TEST(MessagesTest, LoginPhaseLayouts) {
    const TCharacter Characters[] = {{"Ann", "W", {10, 0, 0, 200}, 7172}};
    EXPECT_EQ(CharacterListMessage(Characters, 30),
              (TMessage{100, 1, 3, 0, 'A', 'n', 'n', 1, 0, 'W', 10, 0, 0, 200, 0x04, 0x1C, 30, 0}));
    EXPECT_EQ(CharacterListMessage({}, 0), (TMessage{100, 0, 0, 0}));
    EXPECT_THROW(CharacterListMessage(std::vector<TCharacter>(256), 0), TWireError);
    EXPECT_EQ(MessageOfTheDayMessage(17, "Hi"), (TMessage{20, 5, 0, '1', '7', '\n', 'H', 'i'}));
    EXPECT_EQ(LoginErrorMessage("No"), (TMessage{10, 2, 0, 'N', 'o'}));
    EXPECT_EQ(LoginInformationMessage(""), (TMessage{11, 0, 0}));
    EXPECT_EQ(LoginRetryMessage(), TMessage{40});
}
