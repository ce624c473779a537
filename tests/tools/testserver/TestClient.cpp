// The tests' own client side of the login handshake and of enciphered frames.
#include "tests/tools/testserver/TestClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
#include <openssl/rsa.h>

#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>

namespace testclient {

namespace {

constexpr uint32_t DELTA = 0x9E3779B9;

std::mt19937& Random() {
    static std::mt19937 Generator(std::random_device{}());
    return Generator;
}

uint32_t Load(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

void Store(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

std::array<uint32_t, 4> KeyWords(const TKey& Key) {
    return {Load(&Key[0]), Load(&Key[4]), Load(&Key[8]), Load(&Key[12])};
}

template <typename T> using TOwned = std::unique_ptr<T, void (*)(T*)>;

EVP_PKEY* PublicKey() {
    BIGNUM* Modulus = nullptr;
    BN_dec2bn(&Modulus, ModulusText().c_str());
    TOwned<BIGNUM> ModulusOwner(Modulus, BN_free);
    TOwned<BIGNUM> Exponent(BN_new(), BN_free);
    BN_set_word(Exponent.get(), 65537);
    TOwned<OSSL_PARAM_BLD> Build(OSSL_PARAM_BLD_new(), OSSL_PARAM_BLD_free);
    OSSL_PARAM_BLD_push_BN(Build.get(), OSSL_PKEY_PARAM_RSA_N, Modulus);
    OSSL_PARAM_BLD_push_BN(Build.get(), OSSL_PKEY_PARAM_RSA_E, Exponent.get());
    TOwned<OSSL_PARAM> Params(OSSL_PARAM_BLD_to_param(Build.get()), OSSL_PARAM_free);
    TOwned<EVP_PKEY_CTX> Context(EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr), EVP_PKEY_CTX_free);
    EVP_PKEY* Key = nullptr;
    if (EVP_PKEY_fromdata_init(Context.get()) <= 0 ||
        EVP_PKEY_fromdata(Context.get(), &Key, EVP_PKEY_PUBLIC_KEY, Params.get()) <= 0)
        throw std::runtime_error("public key");
    return Key;
}

} // namespace

void ReferenceEncipher(const TKey& Key, std::span<uint8_t> Data) {
    const std::array<uint32_t, 4> k = KeyWords(Key);
    for (size_t i = 0; i + 8 <= Data.size(); i += 8) {
        uint32_t y = Load(&Data[i]), z = Load(&Data[i + 4]), Sum = 0;
        for (int Cycle = 0; Cycle < 32; ++Cycle) {
            y += (((z << 4) ^ (z >> 5)) + z) ^ (Sum + k[Sum & 3]);
            Sum += DELTA;
            z += (((y << 4) ^ (y >> 5)) + y) ^ (Sum + k[(Sum >> 11) & 3]);
        }
        Store(&Data[i], y);
        Store(&Data[i + 4], z);
    }
}

void ReferenceDecipher(const TKey& Key, std::span<uint8_t> Data) {
    const std::array<uint32_t, 4> k = KeyWords(Key);
    for (size_t i = 0; i + 8 <= Data.size(); i += 8) {
        uint32_t y = Load(&Data[i]), z = Load(&Data[i + 4]), Sum = 0xC6EF3720;
        for (int Cycle = 0; Cycle < 32; ++Cycle) {
            z -= (((y << 4) ^ (y >> 5)) + y) ^ (Sum + k[(Sum >> 11) & 3]);
            Sum -= DELTA;
            y -= (((z << 4) ^ (z >> 5)) + z) ^ (Sum + k[Sum & 3]);
        }
        Store(&Data[i], y);
        Store(&Data[i + 4], z);
    }
}

std::string ModulusText() {
    std::ifstream File(EBRUN_TESTSERVER_KEYS "/modulus.txt");
    std::string Text;
    File >> Text;
    return Text;
}

std::array<uint8_t, 128> PublicEncipher(const std::array<uint8_t, 128>& Plain) {
    static TOwned<EVP_PKEY> Key(PublicKey(), EVP_PKEY_free);
    TOwned<EVP_PKEY_CTX> Context(EVP_PKEY_CTX_new(Key.get(), nullptr), EVP_PKEY_CTX_free);
    std::array<uint8_t, 128> Cipher{};
    size_t Length = Cipher.size();
    if (EVP_PKEY_encrypt_init(Context.get()) <= 0 ||
        EVP_PKEY_CTX_set_rsa_padding(Context.get(), RSA_NO_PADDING) <= 0 ||
        EVP_PKEY_encrypt(Context.get(), Cipher.data(), &Length, Plain.data(), Plain.size()) <= 0)
        throw std::runtime_error("public encipherment");
    return Cipher;
}

void Put16(TBytes& Out, uint16_t Value) {
    Out.push_back(static_cast<uint8_t>(Value));
    Out.push_back(static_cast<uint8_t>(Value >> 8));
}

void Put32(TBytes& Out, uint32_t Value) {
    Put16(Out, static_cast<uint16_t>(Value));
    Put16(Out, static_cast<uint16_t>(Value >> 16));
}

void PutString(TBytes& Out, std::string_view Text) {
    Put16(Out, static_cast<uint16_t>(Text.size()));
    Out.insert(Out.end(), Text.begin(), Text.end());
}

bool TReader::take(size_t Count) {
    if (Failed || Count > remaining()) Failed = true;
    return !Failed;
}

uint8_t TReader::u8() { return take(1) ? Data[Position++] : 0; }

uint16_t TReader::u16() {
    uint16_t Low = u8();
    return static_cast<uint16_t>(Low | u8() << 8);
}

uint32_t TReader::u32() {
    uint32_t Low = u16();
    return Low | static_cast<uint32_t>(u16()) << 16;
}

std::string TReader::string() {
    size_t Length = u16();
    if (!take(Length)) return {};
    std::string Text(Data.begin() + Position, Data.begin() + Position + Length);
    Position += Length;
    return Text;
}

namespace {

// The 128-byte block: random fill, then 0, the key and the fields from byte 0; enciphered.
std::array<uint8_t, 128> SealBlock(const TKey& Key, const TBytes& Fields) {
    std::array<uint8_t, 128> Block;
    for (uint8_t& b : Block)
        b = static_cast<uint8_t>(Random()());
    Block[0] = 0;
    std::copy(Key.begin(), Key.end(), Block.begin() + 1);
    std::copy(Fields.begin(), Fields.end(), Block.begin() + 17);
    return PublicEncipher(Block);
}

TBytes PlainFrame(const TBytes& Message) {
    TBytes Frame;
    Put16(Frame, static_cast<uint16_t>(Message.size()));
    Frame.insert(Frame.end(), Message.begin(), Message.end());
    return Frame;
}

} // namespace

TBytes LoginServerFrame(const TLoginFields& Fields) {
    TBytes BlockFields;
    Put32(BlockFields, Fields.Account);
    PutString(BlockFields, Fields.Password);
    TBytes Message{1};
    Put16(Message, 2);
    Put16(Message, Fields.Version);
    for (uint32_t Signature : Fields.Signatures)
        Put32(Message, Signature);
    std::array<uint8_t, 128> Block = SealBlock(Fields.Key, BlockFields);
    Message.insert(Message.end(), Block.begin(), Block.end());
    return PlainFrame(Message);
}

TBytes GameServerFrame(const TKey& Key, uint8_t Gamemaster, uint32_t Account, std::string_view Name,
                       std::string_view Password) {
    TBytes BlockFields{Gamemaster};
    Put32(BlockFields, Account);
    PutString(BlockFields, Name);
    PutString(BlockFields, Password);
    TBytes Message{10};
    Put16(Message, 2);
    Put16(Message, 772);
    std::array<uint8_t, 128> Block = SealBlock(Key, BlockFields);
    Message.insert(Message.end(), Block.begin(), Block.end());
    return PlainFrame(Message);
}

TBytes CommandFrame(const TKey& Key, std::span<const uint8_t> Message) {
    TBytes Plain;
    Put16(Plain, static_cast<uint16_t>(Message.size()));
    Plain.insert(Plain.end(), Message.begin(), Message.end());
    while (Plain.size() % 8 != 0)
        Plain.push_back(static_cast<uint8_t>(Random()()));
    ReferenceEncipher(Key, Plain);
    TBytes Frame;
    Put16(Frame, static_cast<uint16_t>(Plain.size()));
    Frame.insert(Frame.end(), Plain.begin(), Plain.end());
    return Frame;
}

TKey RandomKey() {
    TKey Key;
    for (uint8_t& b : Key)
        b = static_cast<uint8_t>(Random()());
    return Key;
}

TConnection::TConnection(uint16_t Port) : Fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_port = htons(Port);
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (Fd >= 0 && ::connect(Fd, reinterpret_cast<sockaddr*>(&Address), sizeof(Address)) != 0) {
        ::close(Fd);
        Fd = -1;
    }
}

TConnection::~TConnection() {
    if (Fd >= 0) ::close(Fd);
}

bool TConnection::send(std::span<const uint8_t> Data) {
    return ::send(Fd, Data.data(), Data.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(Data.size());
}

TBytes TConnection::read(size_t Count, std::chrono::milliseconds Limit) {
    TBytes Data(Count);
    size_t Done = 0;
    auto Deadline = std::chrono::steady_clock::now() + Limit;
    while (Done < Count) {
        auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline -
                                                                          std::chrono::steady_clock::now());
        pollfd Entry{Fd, POLLIN, 0};
        if (Left.count() <= 0 || ::poll(&Entry, 1, static_cast<int>(Left.count())) <= 0) break;
        ssize_t Got = ::recv(Fd, Data.data() + Done, Count - Done, 0);
        if (Got <= 0) break;
        Done += static_cast<size_t>(Got);
    }
    Data.resize(Done);
    return Data;
}

std::optional<TBytes> TConnection::readToEnd(std::chrono::milliseconds Limit) {
    TBytes All;
    auto Deadline = std::chrono::steady_clock::now() + Limit;
    for (;;) {
        auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline -
                                                                          std::chrono::steady_clock::now());
        pollfd Entry{Fd, POLLIN, 0};
        if (Left.count() <= 0 || ::poll(&Entry, 1, static_cast<int>(Left.count())) <= 0) return std::nullopt;
        uint8_t Chunk[512];
        ssize_t Got = ::recv(Fd, Chunk, sizeof(Chunk), 0);
        if (Got <= 0) return All;
        All.insert(All.end(), Chunk, Chunk + Got);
    }
}

std::optional<TBytes> TConnection::readFrame(const TKey& Key, std::chrono::milliseconds Limit) {
    TBytes Length = read(2, Limit);
    if (Length.size() != 2) return std::nullopt;
    TBytes Frame = Length;
    TBytes Body = read(static_cast<size_t>(Length[0] | Length[1] << 8));
    Frame.insert(Frame.end(), Body.begin(), Body.end());
    std::optional<std::vector<TBytes>> Messages = OpenFrames(Key, Frame);
    if (!Messages || Messages->size() != 1) return std::nullopt;
    return Messages->front();
}

std::optional<std::vector<TBytes>> OpenFrames(const TKey& Key, std::span<const uint8_t> Bytes) {
    std::vector<TBytes> Frames;
    while (!Bytes.empty()) {
        if (Bytes.size() < 2) return std::nullopt;
        size_t Length = static_cast<size_t>(Bytes[0] | Bytes[1] << 8);
        if (Length == 0 || Length % 8 != 0 || Bytes.size() < Length + 2) return std::nullopt;
        TBytes Body(Bytes.begin() + 2, Bytes.begin() + 2 + static_cast<ptrdiff_t>(Length));
        ReferenceDecipher(Key, Body);
        size_t Inner = static_cast<size_t>(Body[0] | Body[1] << 8);
        if (Inner > Length - 2) return std::nullopt;
        Frames.emplace_back(Body.begin() + 2, Body.begin() + 2 + static_cast<ptrdiff_t>(Inner));
        Bytes = Bytes.subspan(Length + 2);
    }
    return Frames;
}

} // namespace testclient
