// The communication module: the login messages with their RSA blocks, the login server's answers, the game
// server's session notices and the handler tables of both phases.
#include "network/Communication.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "network/CommunicationDownload.h"
#include "network/CommunicationHandlers.h"
#include "network/CommunicationSend.h"
#include "network/LoginKey.h"
#include "network/Network.h"
#include "network/RSA.h"
#include "platform/SecureRandom.h"
#include "state/EventHints.h"
#include "state/Events.h"
#include "state/Objects.h"
#include "state/Preferences.h"
#include "state/Status.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

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
    TGameClientHooks* GameClient = nullptr;
} Communication;

// A text read from a message, owned until it is posted with an event.
using TMessageText = TMessageBlock<char>;

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
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, Failure + BlockRows(Block, true), "", 0, "", 0,
                           Reason);
    } catch (...) {
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__,
                           Failure + " with unknown exception" + BlockRows(Block, false), "", 0, "", 0, "");
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

// The game-phase messages whose handlers are followed by the controller's or the game screen's part.

void DispatchEnterGame() {
    SetConnectionState(CONNECTIONSTATE_GAME);
    if (Communication.GameClient != nullptr) Communication.GameClient->enterGame();
    ReceiveEnterGame();
    QueueEventHelp(HINT_FIRST_LOGIN);
    SendFightModes();
    AddMessage(MESSAGE_SENDERRORREPORTS, 0, 0);
}

void DispatchOpenContainer() {
    int32_t Container = 0;
    ReceiveOpenContainer(Container);
    if (Communication.GameClient != nullptr) Communication.GameClient->openContainerWindow(Container);
}

void DispatchCloseContainer() {
    int32_t Container = 0;
    ReceiveCloseContainer(Container);
    if (Communication.GameClient != nullptr) Communication.GameClient->closeContainerWindow(Container);
}

void DispatchOwnOffer() {
    ReceiveOwnOffer();
    if (Communication.GameClient != nullptr) Communication.GameClient->openTradeWindow();
}

void DispatchCounterOffer() {
    ReceiveCounterOffer();
    if (Communication.GameClient != nullptr) Communication.GameClient->refreshTradeWindow();
}

void DispatchCloseTrade() {
    ReceiveCloseTrade();
    if (Communication.GameClient != nullptr) Communication.GameClient->closeTradeWindow();
}

TPacketTable MakeGameTable() {
    TPacketTable Table{};
    const std::pair<int32_t, TPacketHandler> Handlers[] = {
        {10, DispatchEnterGame},       {11, ReceiveRights},
        {20, ReceiveGameError},        {21, ReceiveGameInformation},
        {22, ReceiveWaitingList},      {30, ReceivePing},
        {100, ReceiveFullMap},         {101, ReceiveMapNorth},
        {102, ReceiveMapEast},         {103, ReceiveMapSouth},
        {104, ReceiveMapWest},         {105, ReceiveMapField},
        {106, ReceiveAddObject},       {107, ReceiveChangeObject},
        {108, ReceiveDeleteObject},    {109, ReceiveMoveCreature},
        {110, DispatchOpenContainer},  {111, DispatchCloseContainer},
        {112, ReceiveContainerAdd},    {113, ReceiveContainerChange},
        {114, ReceiveContainerDelete}, {120, ReceiveSetBodyObject},
        {121, ReceiveClearBodyObject}, {125, DispatchOwnOffer},
        {126, DispatchCounterOffer},   {127, DispatchCloseTrade},
        {130, ReceiveAmbientLight},    {131, ReceiveGraphicEffect},
        {132, ReceiveTextEffect},      {133, ReceiveMissile},
        {134, ReceiveCreatureMark},    {140, ReceiveCreatureHealth},
        {141, ReceiveCreatureLight},   {142, ReceiveCreatureOutfit},
        {143, ReceiveCreatureSpeed},   {144, ReceiveCreatureSkull},
        {145, ReceiveCreatureShield},  {150, ReceiveTextDialog},
        {151, ReceiveListDialog},      {160, ReceivePlayerData},
        {161, ReceivePlayerSkills},    {162, ReceivePlayerState},
        {163, ReceiveClearTarget},     {170, ReceiveTalk},
        {171, ReceiveChannelList},     {172, ReceiveOpenChannel},
        {173, ReceivePrivateChannel},  {174, ReceiveRequestQueue},
        {175, ReceiveRequestTaken},    {176, ReceiveRequestFinished},
        {177, ReceiveRequestClosed},   {178, ReceiveOwnChannel},
        {179, ReceiveChannelClosed},   {180, ReceiveSystemMessage},
        {181, ReceiveWalkCancel},      {190, ReceiveFloorUp},
        {191, ReceiveFloorDown},       {200, ReceiveOutfitDialog},
        {210, ReceiveAddBuddy},        {211, ReceiveBuddyLogin},
        {212, ReceiveBuddyLogout},
    };
    for (const auto& [Type, Handler] : Handlers)
        Table[static_cast<size_t>(Type)] = Handler;
    return Table;
}

const TPacketTable LoginTable = MakeLoginTable();
const TPacketTable GameTable = MakeGameTable();

} // namespace

void SetGraphicsSignatureGetters(TSignatureGetter SpriteSignature, TSignatureGetter PictureSignature) {
    Communication.SpriteSignature = SpriteSignature;
    Communication.PictureSignature = PictureSignature;
}

bool HasGraphicsSignatureGetters() {
    return Communication.SpriteSignature != nullptr && Communication.PictureSignature != nullptr;
}

uint32_t GetLoadedSpriteSignature() { return GraphicsSignature(Communication.SpriteSignature); }

uint32_t GetLoadedPictureSignature() { return GraphicsSignature(Communication.PictureSignature); }

void SetLoginModulus(const char* ModulusM) {
    CHECK_TEXT(ModulusM != nullptr, "ModulusM!=NULL");
    Communication.Modulus = ModulusM;
}

void SendLoginServerLogin(uint32_t AccountID, const char* Password) try {
    CHECK_TEXT(Password != nullptr, "Password!=NULL");
    DropUnfinishedDownload();
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

void SetGameClientHooks(TGameClientHooks* Hooks) { Communication.GameClient = Hooks; }
bool HasGameClientHooks() { return Communication.GameClient != nullptr; }

void SetOutfitRequested(bool Value) { Communication.OutfitRequested = Value; }
bool GetOutfitRequested() { return Communication.OutfitRequested; }

void ReceiveLoginError() try {
    ReceiveRefusal();
    ResetLoginServers(); // the server answered: the round of login servers is over
}
CATCH_FRAME()

void ReceiveLoginInformation() try { PostMessageBox(FOR_YOUR_INFORMATION, ReadMessageText()); }
CATCH_FRAME()

// The new number is written to the options file before the box is offered: a box that ends the program
// must not come back at every login.
void ReceiveMessageOfTheDay() try {
    TMessageText Text = ReadMessageText();
    if (!SetMessageOfTheDay(Text.get())) return;
    SaveOptions();
    AddMessage(MESSAGE_MESSAGEOFTHEDAY, 0, 0);
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
