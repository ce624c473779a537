// The connection to login and game servers and the wire framing: server list, look-up, time-out, socket
// notifications, error texts, send and receive buffers with XTEA.
#include "network/Network.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "platform/Resolver.h"
#include "platform/Socket.h"
#include "platform/SocketErrors.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The socket of the connection; its notifications arrive from the event pump.
class CConnectionSocket : public TAsyncSocket {
protected:
    void onConnect(int ErrorCode) override;
    void onReceive(int ErrorCode) override;
    void onClose(int ErrorCode) override;
};

constexpr int32_t HOSTNAME_RESOLVE_BUFFER_SIZE = 1024;
constexpr int32_t LASTPACKETSIZE = 16;
constexpr const char* CONNECTION_FAILED = "Connection failed";

// Connection state, for the life of the program; the server list is refilled by InitLoginServers, the socket
// and the look-up change with every attempt.
struct {
    TLoginServer LoginServers[NUMBEROFSERVER];
    TLoginServer TestLoginServer = {"", TEST_SERVER_PORT, 1, 0, 0};
    char LoginHostName[100] = {};
    int32_t LoginPort = LOGIN_SERVER_PORT;
    int32_t CurrentServer = 0;
    int32_t RecursionProtection = 0;
    CConnectionSocket* Socket = nullptr;
    TWindowMessageTarget* NetworkWindow = nullptr;
    std::unique_ptr<char[]> HostnameResolveBuffer;
    THostLookupHandle LookupHandle = 0;
    int32_t ConnectionTimeoutCounter = 0;
    int32_t ConnectionTimeoutLimit = 0;
    TNetworkHandler ConnectHandler = nullptr;
    TNetworkHandler ReceiveHandler = nullptr;
    TNetworkHandler CloseHandler = nullptr;
} Net;

// Send and receive buffers, for the life of the program; the receive counters are cleared by every new
// connection attempt.
struct {
    uint8_t SendBuffer[SENDBUFFERSIZE] = {};
    TWriteBuffer PacketWriter{SendBuffer, SENDBUFFERSIZE};
    uint8_t ReceiveBuffer[RECEIVEBUFFERSIZE] = {};
    // The held bytes start at ReadOffset; they move to the front of the buffer once per receive pass.
    int32_t ReadOffset = 0;
    int32_t ReceivedBytes = 0; // held, from ReadOffset
    int32_t ReadyBytes = 0;    // from ReadOffset, forming complete frames
    int32_t ConsumedBytes = 0; // the frame taken last, at ReadOffset, dropped at the next NextPacket
    TReadBuffer PacketReader{ReceiveBuffer, 0};
    uint8_t LastPacket[LASTPACKETSIZE] = {};
    TXTEACipher SymmetricKey;
} Wire;

// The entry tried now: the test server while the option is on.
TLoginServer& CurrentEntry() {
    return GetTestServer() ? Net.TestLoginServer : Net.LoginServers[Net.CurrentServer];
}

// A new connection starts with an empty buffer; messages of the last one that were left unread (its frame
// was cut short by a disconnect) must not be read from it.
void ClearReceiveCounters() {
    Wire.ReadOffset = Wire.ReceivedBytes = Wire.ReadyBytes = Wire.ConsumedBytes = 0;
    Wire.PacketReader.Data = Wire.ReceiveBuffer;
    Wire.PacketReader.Position = Wire.PacketReader.Size = 0;
}

// Drops the pending look-up, whose answer would otherwise be written to the look-up buffer.
void CancelLookup() {
    if (Net.LookupHandle != 0) CancelHostLookup(Net.LookupHandle);
    Net.LookupHandle = 0;
}

void DeleteSocket() {
    delete Net.Socket;
    Net.Socket = nullptr;
}

// Counts nested ConnectToNextLoginServer calls, also when one of them throws.
class TRecursionGuard {
public:
    TRecursionGuard() { Net.RecursionProtection++; }
    ~TRecursionGuard() { Net.RecursionProtection--; }
    TRecursionGuard(const TRecursionGuard&) = delete;
    TRecursionGuard& operator=(const TRecursionGuard&) = delete;
};

const char* ErrorText(int32_t ErrorCode) {
    switch (ErrorCode) {
    case WSAEINVAL:
    case WSAEADDRNOTAVAIL:
        return "Invalid server address.";
    case WSAEMSGSIZE:
        return "Connection error.";
    case WSAENETDOWN:
    case WSAENETUNREACH:
        return "Network is unreachable.";
    case WSAETIMEDOUT:
        return "Connection timeout.";
    case WSAECONNREFUSED:
        return "Connection refused.";
    case WSAEHOSTUNREACH:
        return "Server is unreachable.";
    case WSAHOST_NOT_FOUND:
        return "Server name does not exist.";
    case WSATRY_AGAIN:
        return "Could not resolve server name.";
    case WSANO_DATA:
        return "Error while resolving the server name.";
    case ERROR_SERVER_OVERLOADED:
        return "Login server is overloaded. Please try again later.";
    case ERROR_DISCONNECTED:
        return "Disconnected from server.";
    default:
        return nullptr;
    }
}

// Appends to a terminated text of CONNECTION_ERROR_TEXT_SIZE bytes, cutting what does not fit.
void Append(char* Message, const char* Piece) {
    size_t Used = std::strlen(Message);
    std::snprintf(Message + Used, CONNECTION_ERROR_TEXT_SIZE - Used, "%s", Piece);
}

} // namespace

// Posts "Connection failed" with the text for ErrorCode, and for a game server the character list again.
void ReportConnectionFailure(int32_t ErrorCode, int32_t ErrorType) {
    char* Text = static_cast<char*>(NewMessageBlock(CONNECTION_ERROR_TEXT_SIZE));
    try {
        ConnectionErrorMessage(Text, ErrorCode, ErrorType);
    } catch (...) {
        FreeMessageBlock(Text);
        throw;
    }
    AddMessage(MESSAGE_MESSAGEBOX, MessageParameter(CONNECTION_FAILED), MessageParameter(Text));
    if (ErrorType == ERRORTYPE_GAMESERVER) AddMessage(MESSAGE_CHARACTERLIST, 300, 0);
}

void InitNetwork(TNetworkHandler ConnectHandler, TNetworkHandler ReceiveHandler,
                 TNetworkHandler CloseHandler) {
    CHECK_TEXT(ConnectHandler != nullptr, "ConnectHandler!=NULL");
    CHECK_TEXT(ReceiveHandler != nullptr, "ReceiveHandler!=NULL");
    CHECK_TEXT(CloseHandler != nullptr, "CloseHandler!=NULL");
    Net.ConnectHandler = ConnectHandler;
    Net.ReceiveHandler = ReceiveHandler;
    Net.CloseHandler = CloseHandler;
    ClearReceiveCounters();
    Wire.PacketReader.Size = Wire.PacketReader.Position = 0;
    Net.Socket = nullptr;
    CancelLookup();
    Net.HostnameResolveBuffer = std::make_unique<char[]>(HOSTNAME_RESOLVE_BUFFER_SIZE);
    InitLoginServers();
}

void ExitNetwork() {
    CancelLookup();
    DeleteSocket();
    Net.HostnameResolveBuffer.reset();
}

void SetNetworkWindow(TWindowMessageTarget* Window) { Net.NetworkWindow = Window; }

void SetTestServerAddress(const char* Address) {
    CHECK_TEXT(Address != nullptr, "Address!=NULL");
    CHECK(strlen(Address) < 100);
    std::snprintf(Net.TestLoginServer.Address, sizeof(Net.TestLoginServer.Address), "%s", Address);
}

void SetTestServerPort(int32_t Port) { Net.TestLoginServer.Port = Port; }

void SetLoginServerEndpoint(const char* HostName, int32_t Port) {
    CHECK_TEXT(HostName != nullptr, "HostName!=NULL");
    CHECK(strlen(HostName) < 100);
    std::snprintf(Net.LoginHostName, sizeof(Net.LoginHostName), "%s", HostName);
    Net.LoginPort = Port;
}

void InitLoginServers() {
    for (TLoginServer& Entry : Net.LoginServers) {
        std::snprintf(Entry.Address, sizeof(Entry.Address), "%s",
                      Net.LoginHostName[0] != 0 ? Net.LoginHostName : LOGIN_SERVER_HOSTNAME);
        Entry.Port = Net.LoginPort;
        Entry.Untried = 1;
        Entry.Resolved = 0;
        Entry.LastError = 0;
    }
    Net.TestLoginServer.Untried = 1;
    Net.TestLoginServer.Resolved = 0;
    Net.TestLoginServer.LastError = 0;
    Net.CurrentServer = Random() % NUMBEROFSERVER;
}

void ResetLoginServers() {
    for (TLoginServer& Entry : Net.LoginServers)
        Entry.Untried = 1;
    Net.TestLoginServer.Untried = 1;
}

bool SelectLoginServer(TLoginServer** Entry) try {
    CHECK_TEXT(Net.CurrentServer < NUMBEROFSERVER, "CurrentServer<NUMBEROFSERVER");
    if (GetTestServer()) {
        *Entry = &Net.TestLoginServer;
        bool Untried = Net.TestLoginServer.Untried != 0;
        ResetLoginServers();
        return Untried;
    }
    for (int32_t Attempt = 0; Attempt < NUMBEROFSERVER; Attempt++) {
        *Entry = &Net.LoginServers[Net.CurrentServer];
        if ((*Entry)->Untried == 1) return true;
        Net.CurrentServer = (Net.CurrentServer + 1) % NUMBEROFSERVER;
    }
    *Entry = &Net.LoginServers[Net.CurrentServer];
    return false;
}
CATCH_FRAME()

int32_t GetLoginServerError() try {
    if (GetTestServer()) return Net.TestLoginServer.LastError;
    for (const TLoginServer& Entry : Net.LoginServers)
        if (Entry.LastError == ERROR_SERVER_OVERLOADED) return ERROR_SERVER_OVERLOADED;
    CHECK_TEXT(Net.CurrentServer < NUMBEROFSERVER, "CurrentServer<NUMBEROFSERVER");
    return Net.LoginServers[Net.CurrentServer].LastError;
}
CATCH_FRAME()

void SetLoginServerAddress(const char* ipaddress) {
    CHECK_TEXT(Net.CurrentServer < NUMBEROFSERVER, "CurrentServer<NUMBEROFSERVER");
    CHECK_TEXT(ipaddress != nullptr, "ipaddress!=NULL");
    CHECK(strlen(ipaddress) < 100);
    TLoginServer& Entry = CurrentEntry();
    std::snprintf(Entry.Address, sizeof(Entry.Address), "%s", ipaddress);
    Entry.Resolved = 1;
}

void SetLoginServerError(int32_t errorcode) try {
    CHECK_TEXT(Net.CurrentServer < NUMBEROFSERVER, "CurrentServer<NUMBEROFSERVER");
    TLoginServer& Entry = CurrentEntry();
    Entry.Untried = 0;
    Entry.LastError = errorcode;
}
CATCH_FRAME(errorcode)

void ConnectToNextLoginServer() try {
    TRecursionGuard Guard;
    CHECK_TEXT(Net.RecursionProtection <= NUMBEROFSERVER + 1, "RecursionProtection<=NUMBEROFSERVER+1");
    TLoginServer* Entry = nullptr;
    if (!SelectLoginServer(&Entry)) {
        ReportConnectionFailure(GetLoginServerError(), ERRORTYPE_LOGINSERVER);
        ResetLoginServers();
        return;
    }
    if (Entry->Resolved == 0) {
        SetConnectionState(CONNECTIONSTATE_RESOLVING);
        ResolveHostname(Entry->Address);
        return;
    }
    SetConnectionState(CONNECTIONSTATE_CONNECTLOGIN);
    if (CreateSocket() != 0) {
        ResetLoginServers();
        return;
    }
    int32_t Error = ConnectToAddress(Entry->Address, Entry->Port, true);
    if (Error != 0) {
        SetLoginServerError(Error);
        ConnectToNextLoginServer();
    }
}
CATCH_FRAME()

void ConnectToGameServer() try {
    SetConnectionState(CONNECTIONSTATE_CONNECTGAME);
    int32_t Character = GetActiveCharacter();
    const char* Address = GetCharacterAddress(Character);
    int32_t Port = GetCharacterPort(Character);
    int32_t Error = CreateSocket();
    if (Error == 0) Error = ConnectToAddress(Address, Port, false);
    if (Error != 0) ReportConnectionFailure(Error, ERRORTYPE_GAMESERVER);
}
CATCH_FRAME()

bool ResolveHostname(const char* Hostname) try {
    CHECK_TEXT(Hostname != nullptr, "Hostname!=NULL");
    // One look-up at a time: an older one still pending would answer for the wrong entry.
    CancelLookup();
    int Error = 0;
    Net.LookupHandle = StartHostLookup(Net.NetworkWindow, Hostname, Net.HostnameResolveBuffer.get(),
                                       HOSTNAME_RESOLVE_BUFFER_SIZE, Error);
    if (Net.LookupHandle != 0) {
        SetConnectionTimeout(CONNECTION_TIMEOUT_TICKS);
        return true;
    }
    ReportConnectionFailure(Error, ERRORTYPE_LOGINSERVER);
    SetConnectionState(CONNECTIONSTATE_OFFLINE);
    return false;
}
CATCH_FRAME()

const char* GetResolvedAddress() try {
    CHECK_TEXT(Net.HostnameResolveBuffer != nullptr, "HostnameResolveBuffer!=NULL");
    return Net.HostnameResolveBuffer.get();
}
CATCH_FRAME()

void ReceiveHostnameAnswer(uintptr_t WParam, uintptr_t LParam) try {
    // A stale answer (of a look-up given up since) is not this attempt's.
    if (WParam != Net.LookupHandle) return;
    Net.LookupHandle = 0;
    int32_t Error = static_cast<int32_t>(LParam >> 16 & 0xFFFF);
    SetConnectionTimeout(0);
    if (Error != 0) {
        SetConnectionState(CONNECTIONSTATE_OFFLINE);
        SetLoginServerError(Error);
        ConnectToNextLoginServer();
    } else if (GetConnectionState() == CONNECTIONSTATE_RESOLVING) {
        SetLoginServerAddress(GetResolvedAddress());
        SetConnectionState(CONNECTIONSTATE_CONNECTLOGIN);
        ConnectToNextLoginServer();
    } else {
        SetConnectionState(CONNECTIONSTATE_OFFLINE);
        Disconnect(true);
        ReportConnectionFailure(-1, ERRORTYPE_LOGINSERVER);
    }
}
CATCH_FRAME()

int32_t CreateSocket() try {
    if (Net.Socket != nullptr) Disconnect(false);
    Net.Socket = new CConnectionSocket;
    int32_t Error = Net.Socket->create();
    if (Error != 0) {
        DeleteSocket();
        SetConnectionState(CONNECTIONSTATE_OFFLINE);
    }
    return Error;
}
CATCH_FRAME()

int32_t ConnectToAddress(const char* IPAddress, int32_t Port, bool ArmTimeout) try {
    CHECK_TEXT(IPAddress != nullptr, "IPAddress!=NULL");
    CHECK_TEXT(Net.Socket != nullptr, "Socket!=NULL");
    int32_t Error = Net.Socket->connect(IPAddress, Port);
    if (Error != 0 && Error != WSAEWOULDBLOCK) {
        DeleteSocket();
        SetConnectionState(CONNECTIONSTATE_OFFLINE);
        return Error;
    }
    ClearReceiveCounters();
    if (ArmTimeout) SetConnectionTimeout(CONNECTION_TIMEOUT_TICKS);
    return 0;
}
CATCH_FRAME()

void SetConnectionTimeout(int32_t Ticks) {
    Net.ConnectionTimeoutCounter = 0;
    Net.ConnectionTimeoutLimit = Ticks > 0 ? Ticks : 0;
}

void CheckConnectionTimeout() try {
    if (Net.ConnectionTimeoutLimit == 0) return;
    if (++Net.ConnectionTimeoutCounter <= Net.ConnectionTimeoutLimit) return;
    SetConnectionTimeout(0);
    SetLoginServerError(WSAETIMEDOUT);
    Disconnect(false);
    SetConnectionState(CONNECTIONSTATE_OFFLINE);
    ConnectToNextLoginServer();
}
CATCH_FRAME()

void Disconnect(bool force) try {
    if (force || GetConnectionState() == CONNECTIONSTATE_RESOLVING) CancelLookup();
    if (Net.Socket == nullptr) return;
    Net.Socket->shutdown(TAsyncSocket::SD_SEND);
    // Discard what is still in flight, but no more than a buffer's worth: a peer that keeps sending must not
    // hold the client here.
    uint8_t Discard[256];
    for (int32_t Read = 0; Read < RECEIVEBUFFERSIZE; Read += static_cast<int32_t>(sizeof(Discard))) {
        int Count = Net.Socket->receive(Discard, sizeof(Discard));
        if (Count == 0 || Count == SOCKET_ERROR) break;
    }
    Net.Socket->shutdown(TAsyncSocket::SD_BOTH);
    Net.Socket->close();
    DeleteSocket();
    SetConnectionTimeout(0);
}
CATCH_FRAME((force ? 1 : 0))

void ShutdownConnection() {
    if (Net.Socket != nullptr) Net.Socket->shutdown(TAsyncSocket::SD_BOTH);
}

bool IsConnected() { return Net.Socket != nullptr; }

void ConnectionErrorMessage(char* Message, int32_t ErrorCode, int32_t ErrorType) try {
    CHECK_TEXT(Message != nullptr, "Message!=NULL");
    bool TestServer = GetTestServer();
    if (!TestServer)
        CHECK_TEXT(ErrorType == ERRORTYPE_LOGINSERVER || ErrorType == ERRORTYPE_GAMESERVER,
                   "unknown error type", ErrorType);
    Message[0] = 0;
    bool Refused = ErrorCode == WSAECONNREFUSED;
    if (TestServer)
        Append(Message, "Cannot connect to the test server.\n\nError: ");
    else if (ErrorType == ERRORTYPE_LOGINSERVER)
        Append(Message, "Cannot connect to a login server.\n\nError: ");
    else
        Append(Message, "Cannot connect to the game server.\n\nError: ");
    char Number[16];
    std::snprintf(Number, sizeof(Number), "%d", ErrorCode);
    Append(Message, ErrorText(ErrorCode) != nullptr ? ErrorText(ErrorCode) : Number);
    char Advice[512];
    if (TestServer) {
        if (Refused)
            std::snprintf(
                Advice, sizeof(Advice),
                "\n\nThe test server is offline. Check %s\nfor more information on any current test.",
                WEBSITE_HOSTNAME);
        else
            std::snprintf(Advice, sizeof(Advice), "\n\nCheck %s for more information on \nany current test.",
                          WEBSITE_HOSTNAME);
        Append(Message, Advice);
        Append(Message, "\nIf you don't want to use the test server go to\nthe network option and uncheck "
                        "\"Test Server Login\".");
    } else if (Refused) {
        const char* Offline = ErrorType == ERRORTYPE_LOGINSERVER ? "All login server are offline"
                                                                 : "The game server is offline";
        std::snprintf(Advice, sizeof(Advice), "\n\n%s. Check %s\nfor more information.", Offline,
                      WEBSITE_HOSTNAME);
        Append(Message, Advice);
    }
    std::snprintf(Advice, sizeof(Advice),
                  "\n\nFor more information take a look at the FAQs in the \nguide section at %s.",
                  WEBSITE_HOSTNAME);
    Append(Message, Advice);
}
CATCH_FRAME(ErrorCode)

const TLoginServer* GetLoginServer(int32_t Number) {
    CHECK(In(Number, 0, NUMBEROFSERVER), Number);
    return Number == NUMBEROFSERVER ? &Net.TestLoginServer : &Net.LoginServers[Number];
}

int32_t GetCurrentServer() { return Net.CurrentServer; }
int32_t GetConnectionTimeoutCounter() { return Net.ConnectionTimeoutCounter; }
int32_t GetConnectionTimeoutLimit() { return Net.ConnectionTimeoutLimit; }

void CConnectionSocket::onConnect(int ErrorCode) try {
    SetConnectionTimeout(0);
    if (ErrorCode == 0) {
        // A login server may still ask the client to go elsewhere, which fails this entry: its round ends
        // only once it has answered (the controller resets it then). A round reset here would let servers
        // that all ask for a retry send the client round and round for ever.
        bool LoginServer = GetConnectionState() == CONNECTIONSTATE_CONNECTLOGIN;
        Net.ConnectHandler();
        if (!LoginServer) ResetLoginServers();
    } else if (GetConnectionState() == CONNECTIONSTATE_CONNECTLOGIN) {
        // The failed socket stays until the next CreateSocket tears it down.
        SetConnectionState(CONNECTIONSTATE_OFFLINE);
        SetLoginServerError(ErrorCode);
        ConnectToNextLoginServer();
    } else {
        ReportConnectionFailure(ErrorCode, ERRORTYPE_GAMESERVER);
        Disconnect(false);
        SetConnectionState(CONNECTIONSTATE_OFFLINE);
    }
}
CATCH_FRAME(ErrorCode)

void CConnectionSocket::onReceive(int ErrorCode) { OnReceive(ErrorCode); }

void CConnectionSocket::onClose(int) try {
    Disconnect(false);
    Net.CloseHandler();
}
CATCH_FRAME()

// ---- Wire framing ----

void BeginPacket(int32_t CommandType) try {
    CHECK(In(CommandType, 0, 255), CommandType);
    Wire.PacketWriter.Position = 0;
    Wire.PacketWriter.writeWord(0);
    Wire.PacketWriter.writeWord(0);
    Wire.PacketWriter.writeByte(static_cast<uint8_t>(CommandType));
}
CATCH_FRAME(CommandType)

void PutByte(uint8_t Data) try { Wire.PacketWriter.writeByte(Data); }
CATCH_FRAME(Data)

void PutWord(uint16_t Data) try { Wire.PacketWriter.writeWord(Data); }
CATCH_FRAME(Data)

void PutQuad(uint32_t Data) try { Wire.PacketWriter.writeQuad(Data); }
CATCH_FRAME(Data)

void PutString(const char* Text) try {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    Wire.PacketWriter.writeString(Text);
}
CATCH_FRAME()

void PutBytes(const uint8_t* Buffer, int32_t Count) {
    CHECK_TEXT(Buffer != nullptr, "Buffer!=NULL");
    Wire.PacketWriter.writeBytes(Buffer, Count);
}

void SendPacket(bool Encrypt) try {
    if (Net.Socket == nullptr) return;
    TWriteBuffer& Writer = Wire.PacketWriter;
    int32_t MessageLength = Writer.Position - 4;
    if (!Encrypt) {
        Writer.Position = 0;
        Writer.writeWord(0);
        Writer.writeWord(static_cast<uint16_t>(MessageLength));
        Net.Socket->send(Wire.SendBuffer + 2, MessageLength + 2);
        return;
    }
    int32_t Length = MessageLength + 2;
    for (; Length % 8 != 0; Length++)
        Writer.writeByte(static_cast<uint8_t>(Random() % 256));
    Writer.Position = 0;
    Writer.writeWord(static_cast<uint16_t>(Length));
    Writer.writeWord(static_cast<uint16_t>(MessageLength));
    Wire.SymmetricKey.encryptBlocks(Wire.SendBuffer + 2, Length / 8);
    Net.Socket->send(Wire.SendBuffer, Length + 2);
}
CATCH_FRAME()

namespace {

// Moves the held bytes to the front of the buffer; the reader follows the frame it may still be reading.
void CompactReceiveBuffer() {
    if (Wire.ReadOffset == 0) return;
    if (Wire.ReceivedBytes > 0)
        std::memmove(Wire.ReceiveBuffer, Wire.ReceiveBuffer + Wire.ReadOffset,
                     static_cast<size_t>(Wire.ReceivedBytes));
    Wire.ReadOffset = 0;
    Wire.PacketReader.Data = Wire.ReceiveBuffer;
}

// Marks the complete frames among the held bytes ready and calls the receive handler once when at least
// one was completed.
void CollectFrames() {
    bool Completed = false;
    while (Wire.ReceivedBytes >= Wire.ReadyBytes + 2) {
        const uint8_t* Frame = Wire.ReceiveBuffer + Wire.ReadOffset + Wire.ReadyBytes;
        int32_t PacketSize = LoadLE16(Frame);
        // A frame longer than the buffer could never complete and would stall the connection for good.
        CHECK_TEXT(PacketSize + 2 <= RECEIVEBUFFERSIZE, "packet size does not fit to receive buffer",
                   PacketSize);
        if (PacketSize + 2 > Wire.ReceivedBytes - Wire.ReadyBytes) break;
        Wire.ReadyBytes += PacketSize + 2;
        Completed = true;
    }
    if (Completed) Net.ReceiveHandler();
}

} // namespace

void OnReceive(int32_t ErrorCode) try {
    if (ErrorCode != 0 || Net.Socket == nullptr) return;
    CompactReceiveBuffer();
    int Count =
        Net.Socket->receive(Wire.ReceiveBuffer + Wire.ReceivedBytes, RECEIVEBUFFERSIZE - Wire.ReceivedBytes);
    if (Count == 0 || Count == SOCKET_ERROR) return;
    Wire.ReceivedBytes += Count;
    CollectFrames();
}
CATCH_FRAME(ErrorCode)

void ReceiveBytes(const uint8_t* Bytes, int32_t Count) try {
    CHECK_TEXT(Bytes != nullptr, "Bytes!=NULL");
    CompactReceiveBuffer();
    CHECK(In(Count, 0, RECEIVEBUFFERSIZE - Wire.ReceivedBytes), Count, Wire.ReceivedBytes);
    std::memcpy(Wire.ReceiveBuffer + Wire.ReceivedBytes, Bytes, static_cast<size_t>(Count));
    Wire.ReceivedBytes += Count;
    CollectFrames();
}
CATCH_FRAME(Count)

namespace {

// Takes the next complete frame: deciphers it in place and points the reader at its messages. False when no
// complete frame is ready.
bool NextPacket() {
    TReadBuffer& Reader = Wire.PacketReader;
    Wire.ReadOffset += Wire.ConsumedBytes;
    Wire.ReceivedBytes -= Wire.ConsumedBytes;
    Wire.ReadyBytes -= Wire.ConsumedBytes;
    Wire.ConsumedBytes = 0;
    if (Wire.ReceivedBytes == 0) Wire.ReadOffset = 0; // nothing held: nothing to move either
    if (Wire.ReadyBytes <= 0) return false;
    uint8_t* Frame = Wire.ReceiveBuffer + Wire.ReadOffset;
    Reader.Data = Frame;
    Reader.Size = 4;
    Reader.Position = 0;
    int32_t PacketSize = Reader.readWord();
    CHECK_TEXT(PacketSize % 8 == 0, "packet size does not fit to symmetric encryption", PacketSize);
    // An empty frame has no room for the message length; one more byte would be the next frame's.
    CHECK_TEXT(PacketSize > 0, "packet size does not fit to message length", PacketSize);
    Wire.SymmetricKey.decryptBlocks(Frame + 2, PacketSize / 8);
    int32_t MessageLength = Reader.readWord();
    CHECK_TEXT(MessageLength <= PacketSize - 2, "message length does not fit to packet size", PacketSize,
               MessageLength);
    Reader.Size = MessageLength + 4;
    Wire.ConsumedBytes = PacketSize + 2;
    std::memset(Wire.LastPacket, 0, sizeof(Wire.LastPacket));
    std::memcpy(Wire.LastPacket, Frame + 2, static_cast<size_t>(std::min(PacketSize, LASTPACKETSIZE)));
    return true;
}

} // namespace

int32_t GetPacketType() try {
    TReadBuffer& Reader = Wire.PacketReader;
    // A frame without messages is skipped, so it cannot hold up the frames behind it.
    while (Reader.Position == Reader.Size)
        if (!NextPacket()) return -1;
    return Reader.readByte();
}
CATCH_FRAME()

int32_t GetPacketTypeInFrame() try {
    TReadBuffer& Reader = Wire.PacketReader;
    return Reader.Position == Reader.Size ? -1 : Reader.readByte();
}
CATCH_FRAME()

uint8_t GetByte() try { return Wire.PacketReader.readByte(); }
CATCH_FRAME()

uint16_t GetWord() try { return Wire.PacketReader.readWord(); }
CATCH_FRAME()

uint32_t GetQuad() try { return Wire.PacketReader.readQuad(); }
CATCH_FRAME()

void GetString(char* Buffer, int32_t MaxLength) try {
    CHECK_TEXT(Buffer != nullptr, "Buffer!=NULL");
    Wire.PacketReader.readString(Buffer, MaxLength);
}
CATCH_FRAME(MaxLength)

char* GetNewString() try {
    TReadBuffer& Reader = Wire.PacketReader;
    // The length word sizes the block; readString reads it again with the characters, checking both.
    const int32_t Start = Reader.Position;
    const int32_t Length = Reader.readWord();
    Reader.Position = Start;
    char* Text = static_cast<char*>(NewMessageBlock(static_cast<size_t>(Length) + 1));
    try {
        Reader.readString(Text, -1);
    } catch (...) {
        FreeMessageBlock(Text);
        throw;
    }
    return Text;
}
CATCH_FRAME()

void GetBytes(uint8_t* Buffer, int32_t Count) try { Wire.PacketReader.readBytes(Buffer, Count); }
CATCH_FRAME()

void SetSymmetricKey(const uint8_t* Key) { Wire.SymmetricKey.setKey(Key); }

const uint8_t* GetLastPacket() { return Wire.LastPacket; }
int32_t GetReceivedBytes() { return Wire.ReceivedBytes; }
int32_t GetReadyBytes() { return Wire.ReadyBytes; }
