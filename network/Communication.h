// The communication module: the two login messages with their RSA blocks, the handlers of the login
// server's answers and of the game server's session notices, and the handler tables of both phases.
#pragma once

#include <cstdint>

inline constexpr int32_t CLIENT_VERSION = 772;
// The u16 sent behind both login commands.
inline constexpr int32_t LOGIN_PROTOCOL_CONSTANT = 2;
inline constexpr int32_t SESSION_KEY_SIZE = 16;
// Message lengths of the two login commands (the plain frame adds the u16 length word).
inline constexpr int32_t LOGIN_SERVER_MESSAGE_SIZE = 145;
inline constexpr int32_t GAME_SERVER_MESSAGE_SIZE = 133;
// Character-list countdown in tenths of a second that the list event carries.
inline constexpr int32_t CHARACTERLIST_TIMEOUT = 300;

// The graphics engine's getters of the sprite and picture file signatures, which the login sends. Set by the
// controller at start-up, which fails while they are not; without them the login sends 0, the signature of
// a file not opened.
using TSignatureGetter = uint32_t (*)();
void SetGraphicsSignatureGetters(TSignatureGetter SpriteSignature, TSignatureGetter PictureSignature);
bool HasGraphicsSignatureGetters();
// The signatures through those getters, 0 while unset; a downloaded patch of either file must match them.
uint32_t GetLoadedSpriteSignature();
uint32_t GetLoadedPictureSignature();

// The servers' RSA modulus as decimal text (copied); LOGIN_RSA_MODULUS unless a local set-up gives another.
void SetLoginModulus(const char* ModulusM);

// The login messages, sent plain on a fresh connection. Each draws a new session key from the system's
// secure random source and sets it before anything is sent; the RSA block's fill comes from there too.
// A failure of the RSA step throws "Asymmetric encryption for ... server failed" and sends nothing.
void SendLoginServerLogin(uint32_t AccountID, const char* Password);
void SendGameServerLogin(uint32_t AccountID, const char* Name, const char* Password);

// An outfit request (command 210) is outstanding; the controller clears it when a game login is sent.
void SetOutfitRequested(bool Value);
bool GetOutfitRequested();

// Handlers of the login phase; each reads exactly its message body behind the type byte.
void ReceiveLoginError();       // 10: "Sorry" box, disconnect, offline
void ReceiveLoginInformation(); // 11: "For Your Information" box
void ReceiveMessageOfTheDay();  // 20: stored; event 40 when its number is new
void ReceiveLoginRetry();       // 40: this login server is overloaded, the next one is tried
// 100: the whole list is read before the stored one is replaced, so a short message leaves the old list.
void ReceiveCharacterList();

// Handlers of the game phase: the game server's session notices; the others are in CommunicationHandlers.h.
void ReceiveGameError();       // 20: "Sorry" box, disconnect, offline
void ReceiveGameInformation(); // 21: "For Your Information" box
void ReceiveWaitingList();     // 22: the reconnect countdown

// What the game-phase handlers hand on to the client control and the game screen once a message has been
// read: entering the game and the side windows of containers and trades. The controller installs it at
// start-up, which fails while none is installed; without it the handlers only change the game state.
class TGameClientHooks {
public:
    virtual ~TGameClientHooks() = default;
    // Message 10, after the connection state became 8 and before the body is read: builds the game screen
    // and clears the last session's map, creatures, inventory, talk and light.
    virtual void enterGame() = 0;
    virtual void openContainerWindow(int32_t Container) = 0;  // 110: opens or refreshes it
    virtual void closeContainerWindow(int32_t Container) = 0; // 111: also for a container not open
    virtual void openTradeWindow() = 0;                       // 125
    virtual void refreshTradeWindow() = 0;                    // 126
    virtual void closeTradeWindow() = 0;                      // 127
};
void SetGameClientHooks(TGameClientHooks* Hooks); // not owned; NULL: none
bool HasGameClientHooks();

using TPacketHandler = void (*)();
// The handler of a message type (0..255) in the login phase (connection state 4) and in the game phase
// (every other state); NULL for a type that phase does not list.
TPacketHandler GetLoginPacketHandler(int32_t Type);
TPacketHandler GetGamePacketHandler(int32_t Type);
