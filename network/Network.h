// The one connection to a login or game server: server list, host-name look-up, time-out, the socket and its
// notifications, connection error texts, and the wire framing with XTEA.
#pragma once

#include "network/XTEA.h"
#include "platform/EventPump.h"

#include <cstdint>

inline constexpr int32_t NUMBEROFSERVER = 4;
inline constexpr int32_t LOGIN_SERVER_PORT = 7171;
inline constexpr int32_t TEST_SERVER_PORT = 7172;
// Our endpoints: a local set-up runs the login and test servers on this machine.
inline constexpr const char* LOGIN_SERVER_HOSTNAME = "127.0.0.1";
inline constexpr const char* TEST_SERVER_HOSTNAME = "127.0.0.1";
inline constexpr const char* WEBSITE_HOSTNAME = "www.pellarune.example";

inline constexpr int32_t CONNECTION_TIMEOUT_TICKS = 150;
inline constexpr int32_t CONNECTION_ERROR_TEXT_SIZE = 1024;
// Error codes of our own beside the Windows Sockets codes.
inline constexpr int32_t ERROR_SERVER_OVERLOADED = 200001;
inline constexpr int32_t ERROR_DISCONNECTED = 200002;
// Error types of ConnectionErrorMessage.
inline constexpr int32_t ERRORTYPE_LOGINSERVER = 1;
inline constexpr int32_t ERRORTYPE_GAMESERVER = 2;

inline constexpr int32_t SENDBUFFERSIZE = 2048;
inline constexpr int32_t RECEIVEBUFFERSIZE = 16384;

struct TLoginServer {
    char Address[100]; // host name, or the dotted address once looked up
    int32_t Port;
    uint8_t Untried;   // 1: may be tried in this round
    uint8_t Resolved;  // 1: Address holds the looked-up address
    int32_t LastError; // code of the last failed attempt
};

// The callbacks of the client control: connected, complete frames received, connection closed.
using TNetworkHandler = void (*)();

// Set-up and end. InitNetwork checks and keeps the three handlers, clears the receive counters and fills the
// server list; the test server's address and port are set before and kept.
void InitNetwork(TNetworkHandler ConnectHandler, TNetworkHandler ReceiveHandler,
                 TNetworkHandler CloseHandler);
void ExitNetwork(); // deletes the socket without shutdown, cancels a pending look-up
void SetNetworkWindow(TWindowMessageTarget* Window); // receives the look-up answers
void SetTestServerAddress(const char* Address);
void SetTestServerPort(int32_t Port);
// The login servers' host name and port that InitLoginServers gives all four entries; LOGIN_SERVER_HOSTNAME
// and LOGIN_SERVER_PORT unless set (a local set-up or a test on another port).
void SetLoginServerEndpoint(const char* HostName, int32_t Port);
void InitLoginServers();

// Connecting: internal events 61 and 62.
void ConnectToNextLoginServer();
void ConnectToGameServer();
// The look-up answer (window message 0x401), as the frame window hands it on.
void ReceiveHostnameAnswer(uintptr_t WParam, uintptr_t LParam);

bool ResolveHostname(const char* Hostname);
const char* GetResolvedAddress();
void SetLoginServerAddress(const char* ipaddress);
void SetLoginServerError(int32_t errorcode);
bool SelectLoginServer(TLoginServer** Entry);
int32_t GetLoginServerError();
void ResetLoginServers();
int32_t CreateSocket();                                                         // 0 or the error code
int32_t ConnectToAddress(const char* IPAddress, int32_t Port, bool ArmTimeout); // 0 or the error code
void SetConnectionTimeout(int32_t Ticks);                                       // 0 disarms
void CheckConnectionTimeout();                                                  // every 100 ms tick

void Disconnect(bool force);
void ShutdownConnection(); // on a fatal stop: both directions, nothing else
bool IsConnected();        // a socket exists

// The user's text for a failed connection, into Message (CONNECTION_ERROR_TEXT_SIZE bytes).
void ConnectionErrorMessage(char* Message, int32_t ErrorCode, int32_t ErrorType);
// Posts event 1 "Connection failed" with that text; for a game server also event 10 (300, 0), the
// character list again.
void ReportConnectionFailure(int32_t ErrorCode, int32_t ErrorType);

// Read access for tests and the crash report.
const TLoginServer* GetLoginServer(int32_t Number); // 0..3, or NUMBEROFSERVER for the test server
int32_t GetCurrentServer();
int32_t GetConnectionTimeoutCounter();
int32_t GetConnectionTimeoutLimit();

// Sending: BeginPacket, the puts, SendPacket. A new BeginPacket discards a message begun and not sent.
void BeginPacket(int32_t CommandType);
void PutByte(uint8_t Data);
void PutWord(uint16_t Data);
void PutQuad(uint32_t Data);
void PutString(const char* Text); // u16 length and the characters without terminator
void PutBytes(const uint8_t* Buffer, int32_t Count);
// Frames the message and hands it to the socket: plain (the two logins) or XTEA-enciphered with random
// padding to a multiple of 8. Without a socket the message is dropped. The socket keeps what the system does
// not take at once and sends it in order.
void SendPacket(bool Encrypt);

// Receiving, for the dispatcher and its handlers. GetPacketType gives the next message's type byte (0..255),
// taking and deciphering the next complete frame when the current one is used up, or -1 when none is left.
// Reads never pass the current frame's message bytes.
int32_t GetPacketType();
// As GetPacketType, but -1 at the end of the current frame: the frames behind it stay unread.
int32_t GetPacketTypeInFrame();
uint8_t GetByte();
uint16_t GetWord();
uint32_t GetQuad();
void GetString(char* Buffer, int32_t MaxLength); // cut to MaxLength - 1 characters, the rest skipped
char* GetNewString();                            // the caller frees it with FreeMessageBlock
void GetBytes(uint8_t* Buffer, int32_t Count);

// The socket's receive notification: collects bytes into frames and calls the receive handler once when at
// least one frame was completed. A frame that can never fit the receive buffer is a protocol error.
void OnReceive(int32_t ErrorCode);
// Takes Count bytes as the socket's receive would, with or without a socket, and goes on as OnReceive; for
// driving the dispatcher without a peer (the fuzz harness, the handler tests). Count must fit the buffer's
// free room.
void ReceiveBytes(const uint8_t* Bytes, int32_t Count);

void SetSymmetricKey(const uint8_t* Key); // 16 bytes; used from the next frame on, in both directions
const uint8_t* GetLastPacket();           // the first 16 bytes of the last deciphered frame
int32_t GetReceivedBytes();
int32_t GetReadyBytes();
