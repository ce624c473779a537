// The controller's side of the connection: connect and close callbacks, the server-message dispatcher with
// the ring of the last message types, leaving the game and the character switch.
#include "control/Control.h"

#include "foundation/Exception.h"
#include "foundation/sysinc.h"
#include "graphics/graphics.h"
#include "network/Communication.h"
#include "network/Network.h"
#include "screen/MainWindow.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"

namespace {

// Set by InitControlConnection; the ring lives for the whole run, the switch from event 63 to the next close.
struct {
    uint8_t LastPacketTypes[LASTPACKETTYPES] = {};
    int32_t LastPacketTypeIndex = 0;
    bool CharacterSwitchPending = false;
    int32_t CharacterSwitchDeadline = 0; // GetMilliseconds() time
} Control;

void RecordPacketType(int32_t Type) {
    Control.LastPacketTypes[Control.LastPacketTypeIndex] = static_cast<uint8_t>(Type);
    Control.LastPacketTypeIndex = (Control.LastPacketTypeIndex + 1) % LASTPACKETTYPES;
}

// Hands one message to its handler by the phase that the connection state selects.
void DispatchPacket(int32_t Type) {
    if (GetConnectionState() == CONNECTIONSTATE_LOGINSENT) SetConnectionState(CONNECTIONSTATE_LOGIN);
    if (GetConnectionState() == CONNECTIONSTATE_LOGIN) {
        TPacketHandler Handler = GetLoginPacketHandler(Type);
        if (Handler == nullptr)
            throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "unknown packet type during login", "Type", Type,
                               "", 0, "");
        Handler();
        // the download dialog opens and moves while the rest of the download is still arriving
        if (In(Type, 30, 32)) ProcessMessagesNow();
        return;
    }
    if (GetConnectionState() == CONNECTIONSTATE_GAMESENT) SetConnectionState(CONNECTIONSTATE_GAMELOGIN);
    TPacketHandler Handler = GetGamePacketHandler(Type);
    if (Handler == nullptr)
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "unknown packet type during game", "Type", Type, "",
                           0, "");
    Handler();
}

void PostLoginAgain() {
    AddMessage(MESSAGE_CONNECTLOGIN, 0, 0);
    AddMessage(MESSAGE_LOADINGCHARACTERS, 0, 0);
}

// Leaving the game on the screen, when there is one: the start screen again, an open modal window gone, the
// console active.
void LeaveGameScreen() {
    TMainWindow* Root = GetMainWindow();
    if (Root == nullptr) return;
    Root->setGameScreen(false);
    if (GetModalWindow() != nullptr) DeleteModalWindow();
    Root->activateConsoleInput(true);
}

} // namespace

void InitControlConnection(TWindowMessageTarget* Window) {
    SetNetworkWindow(Window);
    SetGraphicsSignatureGetters(GetSpriteSignature, GetPictureSignature);
    for (uint8_t& Type : Control.LastPacketTypes)
        Type = 0;
    Control.LastPacketTypeIndex = 0;
    Control.CharacterSwitchPending = false;
}

void OnConnected() {
    int32_t OldConnectionState = GetConnectionState();
    try {
        if (OldConnectionState == CONNECTIONSTATE_CONNECTLOGIN) {
            SetConnectionState(CONNECTIONSTATE_LOGINSENT);
            SendLoginServerLogin(GetAccountNumber(), GetPassword());
        } else if (OldConnectionState == CONNECTIONSTATE_CONNECTGAME) {
            SetConnectionState(CONNECTIONSTATE_GAMESENT);
            SetOutfitRequested(false);
            CHECK(In(GetActiveCharacter(), 0, GetAccountCharacters() - 1), GetActiveCharacter(),
                  OldConnectionState);
            SendGameServerLogin(GetAccountNumber(), GetCharacterName(GetActiveCharacter()), GetPassword());
        } else {
            SetConnectionState(CONNECTIONSTATE_OFFLINE);
            Disconnect(true);
            SetActionState(ACTIONSTATE_NONE);
        }
    }
    CATCH_FRAME()
}

void OnConnectionFailed() try {
    int32_t State = GetConnectionState();
    bool WasInGame = State == CONNECTIONSTATE_GAME;
    if (WasInGame)
        LeaveGame();
    else if (State == CONNECTIONSTATE_GAMESENT)
        ReportConnectionFailure(ERROR_DISCONNECTED, ERRORTYPE_GAMESERVER);
    else if (State == CONNECTIONSTATE_LOGINSENT)
        ReportConnectionFailure(ERROR_DISCONNECTED, ERRORTYPE_LOGINSERVER);
    else if (State == CONNECTIONSTATE_LOGIN)
        ResetLoginServers(); // the server answered: the round of login servers is over
    SetConnectionState(CONNECTIONSTATE_OFFLINE);
    if (!Control.CharacterSwitchPending) return;
    Control.CharacterSwitchPending = false;
    if (!WasInGame)
        PostLoginAgain();
    else if (TimeUntil(Control.CharacterSwitchDeadline) > 0) {
        AddMessage(MESSAGE_CONNECTGAME, 0, 0);
        AddMessage(MESSAGE_CONNECTINGGAME, 0, 0);
    }
}
CATCH_FRAME()

void ReceivePackets() {
    int32_t Type = -1;
    try {
        for (;;) {
            // A handler that dropped the connection leaves the rest of its frame to the table of the new
            // state; the frames behind it were meant for the connection that is gone.
            Type = IsConnected() ? GetPacketType() : GetPacketTypeInFrame();
            if (Type == -1) return;
            RecordPacketType(Type);
            DispatchPacket(Type);
        }
    }
    CATCH_FRAME(Type)
}

void LeaveGame() try {
    LeaveGameScreen();
    SetActionState(ACTIONSTATE_NONE);
    SaveOptions();
    if (!Control.CharacterSwitchPending) AddMessage(MESSAGE_CHARACTERLIST, CHARACTERLIST_TIMEOUT, 0);
}
CATCH_FRAME()

void RequestCharacterSwitch() try {
    if (GetConnectionState() == CONNECTIONSTATE_OFFLINE) {
        PostLoginAgain();
        return;
    }
    Control.CharacterSwitchPending = true;
    Control.CharacterSwitchDeadline = TimeAfter(GetMilliseconds(), CHARACTER_SWITCH_DELAY);
}
CATCH_FRAME()

bool IsCharacterSwitchPending() { return Control.CharacterSwitchPending; }

uint8_t GetLastPacketType(int32_t Slot) {
    CHECK(In(Slot, 0, LASTPACKETTYPES - 1), Slot);
    return Control.LastPacketTypes[Slot];
}

int32_t GetLastPacketTypeIndex() { return Control.LastPacketTypeIndex; }
