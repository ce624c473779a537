// The communication module: the login messages with their RSA blocks, the login server's answers, the game
// server's session notices and the handler tables of both phases.
#include "network/Communication.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "network/CommunicationDownload.h"
#include "network/LoginKey.h"
#include "network/Network.h"
#include "network/RSA.h"
#include "platform/SecureRandom.h"
#include "state/Events.h"
#include "state/Objects.h"
#include "state/Preferences.h"
#include "state/Status.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr const char* SORRY = "Sorry";
constexpr const char* FOR_YOUR_INFORMATION = "For Your Information";
constexpr int32_t CHARACTER_TEXT_SIZE = 30; // name and world buffers, terminator included
constexpr int32_t PACKET_TYPES = 256;

// Settings of the login messages, for the life of the program; the outfit flag is cleared by every game
// login.
struct {
    TSignatureGetter SpriteSignature = nullptr;
    TSignatureGetter PictureSignature = nullptr;
    std::string Modulus = LOGIN_RSA_MODULUS;
    bool OutfitRequested = false;
} Communication;

// A text read from a message, owned until it is posted with an event.
struct TFreeMessageBlock {
    void operator()(char* Text) const { FreeMessageBlock(Text); }
};
using TMessageText = std::unique_ptr<char, TFreeMessageBlock>;

TMessageText ReadMessageText() { return TMessageText(GetNewString()); }

void PostMessageBox(const char* Title, TMessageText Text) {
    AddMessage(MESSAGE_MESSAGEBOX, MessageParameter(Title), MessageParameter(Text.get()));
    Text.release();
}

// ---- Login messages ----

// The plain RSA block of a login; wiped when it goes, since it holds the key and the password.
struct TLoginBlock {
    uint8_t Bytes[RSA_BLOCK_SIZE];
    int32_t SecretEnd = 1; // bytes 1..SecretEnd-1 hold the key, the account and the password
    ~TLoginBlock() { explicit_bzero(Bytes, sizeof(Bytes)); }
};

void DrawSecureBytes(uint8_t* Buffer, size_t Count) {
    bool Drawn = GetSecureRandomBytes(Buffer, Count);
    CHECK_TEXT(Drawn, "secure random source failed");
}

// Draws a new session key, puts it in use and writes the block's head: 0 and the key. The rest of the
// block is random fill until the fields are written over it.
TWriteBuffer StartLoginBlock(TLoginBlock& Block) {
    DrawSecureBytes(Block.Bytes, sizeof(Block.Bytes));
    uint8_t Key[SESSION_KEY_SIZE];
    DrawSecureBytes(Key, sizeof(Key));
    SetSymmetricKey(Key);
    TWriteBuffer Writer(Block.Bytes, RSA_BLOCK_SIZE);
    Writer.writeByte(0);
    Writer.writeBytes(Key, SESSION_KEY_SIZE);
    explicit_bzero(Key, sizeof(Key));
    return Writer;
}

// The block's bytes as "%03d " in rows of 16, each row after a line break; the secret fields show as "***"
// so that a crash report never holds the key or the password.
std::string BlockRows(const TLoginBlock& Block, bool BreakAfterLast) {
    std::string Rows;
    char Number[8];
    for (int32_t i = 0; i < RSA_BLOCK_SIZE; i++) {
        if (i % 16 == 0) Rows += '\n';
        if (i >= 1 && i < Block.SecretEnd)
            Rows += "*** ";
        else {
            std::snprintf(Number, sizeof(Number), "%03d ", Block.Bytes[i]);
            Rows += Number;
        }
    }
    if (BreakAfterLast) Rows += '\n';
    return Rows;
}

// Enciphers the block in place with the servers' public key. Server names the server in the error text.
void EncipherLoginBlock(TLoginBlock& Block, const char* Server) {
    std::string Failure = std::string("Asymmetric encryption for ") + Server + " server failed";
    try {
        TRSAPublicKey PublicKey;
        PublicKey.setModulus(Communication.Modulus.c_str());
        PublicKey.encrypt(Block.Bytes);
    } catch (const std::string& Reason) {
        throw TMyException(__FILE__, __LINE__, Failure + BlockRows(Block, true), "", 0, "", 0, Reason);
    } catch (...) {
        throw TMyException(__FILE__, __LINE__, Failure + " with unknown exception" + BlockRows(Block, false),
                           "", 0, "", 0, "");
    }
}

uint32_t GraphicsSignature(TSignatureGetter Getter) { return Getter != nullptr ? Getter() : 0; }

// ---- Login-phase and session messages ----

// A refusal: the box, then the connection ends.
void ReceiveRefusal() {
    PostMessageBox(SORRY, ReadMessageText());
    Disconnect(false);
    SetConnectionState(CONNECTIONSTATE_OFFLINE);
}

struct TListedCharacter {
    char Name[CHARACTER_TEXT_SIZE];
    char World[CHARACTER_TEXT_SIZE];
    uint8_t Address[4];
    int32_t Port;
};

using TPacketTable = std::array<TPacketHandler, PACKET_TYPES>;

TPacketTable MakeLoginTable() {
    TPacketTable Table{};
    Table[10] = ReceiveLoginError;
    Table[11] = ReceiveLoginInformation;
    Table[20] = ReceiveMessageOfTheDay;
    Table[40] = ReceiveLoginRetry;
    Table[100] = ReceiveCharacterList;
    Table[30] = ReceivePatchStart;
    Table[31] = ReceiveFileStart;
    Table[32] = ReceivePatchBlock;
    return Table;
}

TPacketTable MakeGameTable() {
    TPacketTable Table{};
    Table[20] = ReceiveGameError;
    Table[21] = ReceiveGameInformation;
    Table[22] = ReceiveWaitingList;
    // The game world's messages join with their handlers: 10, 11, 30; the map 100-109, 181, 190, 191;
    // containers, inventory and trade 110-114, 120, 121, 125-127; effects and light 130-133; creatures
    // 134, 140-145; dialogs 150, 151, 200; the player 160-163; chat 170-180; VIPs 210-212.
    return Table;
}

const TPacketTable LoginTable = MakeLoginTable();
const TPacketTable GameTable = MakeGameTable();

} // namespace

void SetGraphicsSignatureGetters(TSignatureGetter SpriteSignature, TSignatureGetter PictureSignature) {
    Communication.SpriteSignature = SpriteSignature;
    Communication.PictureSignature = PictureSignature;
}

uint32_t GetLoadedSpriteSignature() { return GraphicsSignature(Communication.SpriteSignature); }

uint32_t GetLoadedPictureSignature() { return GraphicsSignature(Communication.PictureSignature); }

void SetLoginModulus(const char* ModulusM) {
    CHECK_TEXT(ModulusM != nullptr, "ModulusM!=NULL");
    Communication.Modulus = ModulusM;
}

void SendLoginServerLogin(uint32_t AccountID, const char* Password) try {
    CHECK_TEXT(Password != nullptr, "Password!=NULL");
    TLoginBlock Block;
    TWriteBuffer Writer = StartLoginBlock(Block);
    Writer.writeQuad(AccountID);
    Writer.writeString(Password);
    Block.SecretEnd = Writer.Position;
    EncipherLoginBlock(Block, "login");
    BeginPacket(1);
    PutWord(LOGIN_PROTOCOL_CONSTANT);
    PutWord(CLIENT_VERSION);
    PutQuad(GetObjectTypeSignature());
    PutQuad(GetLoadedSpriteSignature());
    PutQuad(GetLoadedPictureSignature());
    PutBytes(Block.Bytes, RSA_BLOCK_SIZE);
    SendPacket(false);
}
CATCH_FRAME(AccountID)

void SendGameServerLogin(uint32_t AccountID, const char* Name, const char* Password) try {
    CHECK_TEXT(Name != nullptr, "Name!=NULL");
    CHECK_TEXT(Password != nullptr, "Password!=NULL");
    TLoginBlock Block;
    TWriteBuffer Writer = StartLoginBlock(Block);
    Writer.writeByte(GetGamemasterFlag() != 0 ? 1 : 0);
    Writer.writeQuad(AccountID);
    Writer.writeString(Name);
    Writer.writeString(Password);
    Block.SecretEnd = Writer.Position;
    EncipherLoginBlock(Block, "game");
    BeginPacket(10);
    PutWord(LOGIN_PROTOCOL_CONSTANT);
    PutWord(CLIENT_VERSION);
    PutBytes(Block.Bytes, RSA_BLOCK_SIZE);
    SendPacket(false);
}
CATCH_FRAME(AccountID)

void SetOutfitRequested(bool Value) { Communication.OutfitRequested = Value; }
bool GetOutfitRequested() { return Communication.OutfitRequested; }

void ReceiveLoginError() try {
    ReceiveRefusal();
    ResetLoginServers(); // the server answered: the round of login servers is over
}
CATCH_FRAME()

void ReceiveLoginInformation() try { PostMessageBox(FOR_YOUR_INFORMATION, ReadMessageText()); }
CATCH_FRAME()

void ReceiveMessageOfTheDay() try {
    TMessageText Text = ReadMessageText();
    if (SetMessageOfTheDay(Text.get())) AddMessage(MESSAGE_MESSAGEOFTHEDAY, 0, 0);
}
CATCH_FRAME()

void ReceiveLoginRetry() try {
    SetConnectionTimeout(0);
    Disconnect(false);
    SetConnectionState(CONNECTIONSTATE_OFFLINE);
    SetLoginServerError(ERROR_SERVER_OVERLOADED);
    ConnectToNextLoginServer();
}
CATCH_FRAME()

void ReceiveCharacterList() {
    int32_t Count = 0;
    try {
        Count = GetByte();
        // Count is at most 255; nothing is stored before every entry has been read.
        std::unique_ptr<TListedCharacter[]> List(new TListedCharacter[static_cast<size_t>(Count)]);
        for (int32_t i = 0; i < Count; i++) {
            TListedCharacter& Entry = List[static_cast<size_t>(i)];
            GetString(Entry.Name, CHARACTER_TEXT_SIZE);
            GetString(Entry.World, CHARACTER_TEXT_SIZE);
            GetBytes(Entry.Address, 4);
            Entry.Port = GetWord();
        }
        int32_t PremiumDays = GetWord();
        SetAccountCharacters(Count);
        for (int32_t i = 0; i < Count; i++) {
            const TListedCharacter& Entry = List[static_cast<size_t>(i)];
            SetAccountCharacter(i, Entry.Name, Entry.World, Entry.Address, Entry.Port);
        }
        SetPremiumDays(PremiumDays);
        AddMessage(MESSAGE_CHARACTERLIST, CHARACTERLIST_TIMEOUT, 0);
    }
    CATCH_FRAME(Count)
}

void ReceiveGameError() try { ReceiveRefusal(); }
CATCH_FRAME()

void ReceiveGameInformation() try { PostMessageBox(FOR_YOUR_INFORMATION, ReadMessageText()); }
CATCH_FRAME()

void ReceiveWaitingList() try {
    TMessageText Text = ReadMessageText();
    int32_t Seconds = GetByte();
    AddMessage(MESSAGE_WAITINGLIST, MessageParameter(Text.get()), Seconds);
    Text.release();
}
CATCH_FRAME()

TPacketHandler GetLoginPacketHandler(int32_t Type) {
    CHECK(In(Type, 0, PACKET_TYPES - 1), Type);
    return LoginTable[static_cast<size_t>(Type)];
}

TPacketHandler GetGamePacketHandler(int32_t Type) {
    CHECK(In(Type, 0, PACKET_TYPES - 1), Type);
    return GameTable[static_cast<size_t>(Type)];
}
