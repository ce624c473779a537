// The login status: connection and action state, account and character list, rights, the tick counter, mouse
// and tooltip state, the pick records of the last clicks and the progress of a data-file patch.
#pragma once

#include "state/Objects.h"

#include <cstdint>

enum CONNECTIONSTATE : int32_t {
    CONNECTIONSTATE_OFFLINE = 0,
    CONNECTIONSTATE_RESOLVING = 1,    // the login server's host name is being looked up
    CONNECTIONSTATE_CONNECTLOGIN = 2, // connecting to a login server
    CONNECTIONSTATE_LOGINSENT = 3,
    CONNECTIONSTATE_LOGIN = 4, // receiving the login server's answer
    CONNECTIONSTATE_CONNECTGAME = 5,
    CONNECTIONSTATE_GAMESENT = 6,
    CONNECTIONSTATE_GAMELOGIN = 7, // receiving the game server's first answer
    CONNECTIONSTATE_GAME = 8,
};

// What the mouse is doing; decides where input goes.
enum ACTIONSTATE : int32_t {
    ACTIONSTATE_NONE = 0,
    ACTIONSTATE_LEFTBUTTON = 1,
    ACTIONSTATE_RIGHTBUTTON = 2,
    ACTIONSTATE_BOTHBUTTONS = 3,
    ACTIONSTATE_BOTHBUTTONS_RIGHTUP = 4, // both were held, the right one was released first
    ACTIONSTATE_BOTHBUTTONS_LEFTUP = 5,  // both were held, the left one was released first
    ACTIONSTATE_DRAG = 6,
    ACTIONSTATE_USEWITH = 7,
    ACTIONSTATE_TRADEWITH = 8,
    ACTIONSTATE_HELP = 9,
    ACTIONSTATE_DIALOG = 10,
    ACTIONSTATE_CONTEXTMENU = 11,
};

inline constexpr int32_t RIGHT_ANY = 50;       // number of rights
inline constexpr int32_t RIGHT_BUGREPORT = 40; // any bit allows bug reports

struct TAccountCharacter {
    char Name[30];
    char World[30];
    uint8_t Address[4]; // in the order of the dotted text
    char AddressText[16];
    int32_t Port;
};

// Called when a copied text holds a link; raises the link warning (sets the action state 0, posts event 11).
using TLinkWarningHandler = bool (*)();

// Start-up, after the map and creature modules: stores the flag and the handler (checked not NULL), then
// zeroes rights, the event queue, tick counter, action and connection state, account, password, character
// list, premium days, active character, pick records, menu creature, tooltip and held mouse event; patch
// progress -1.
void InitStatus(uint8_t GamemasterFlag, TLinkWarningHandler linkwarningeventhandler);
// Frees the character list and the events still queued.
void ExitStatus();
TLinkWarningHandler GetLinkWarningHandler();

void SetConnectionState(int32_t State);
int32_t GetConnectionState();
void SetActionState(int32_t State);
int32_t GetActionState();

int32_t GetTickCounter();   // 100 ms timer ticks since start
void IncreaseTickCounter(); // first step of every timer tick

void SetMousePosition(int32_t x, int32_t y);
int32_t GetMouseX();
int32_t GetMouseY();
// The pointer shapes; each is also the skin of the program's own pointer.
enum POINTER_SHAPE : int32_t {
    POINTER_ARROW = 1,
    POINTER_RESIZE_VERTICAL = 2,
    POINTER_WAIT = 3,
    POINTER_CROSSHAIR = 4, // the use-with and trade-with cursors
    POINTER_DRAG = 5,
    POINTER_HELP = 6,
};
void SetMouseCursor(int32_t Shape);
// The shape of the action state, else the shape set.
int32_t GetMouseCursor();
void SetHeldMouseEvent(int32_t Event, int32_t Tick);
int32_t GetHeldMouseEvent();
int32_t GetHeldMouseTick();
void SetScreenSize(int32_t Width, int32_t Height);
int32_t GetScreenWidth();
int32_t GetScreenHeight();
void SetTooltip(const char* Text); // not owned; NULL: none
const char* GetTooltip();
void SetTooltipPosition(int32_t x, int32_t y);
void GetTooltipPosition(int32_t* x, int32_t* y);
uint8_t GetBlink();
// Once per frame: flips the blink flag when more than 300 ms passed since the last flip.
void UpdateBlink();
void SetPatchProgress(int32_t Percent); // -1: none or finished
int32_t GetPatchProgress();

// Checks "Password!=NULL" and "strlen(Password)<30"; keeps the number, its "%d" text and the password.
void SetAccount(uint32_t AccountNumber, const char* Password);
uint32_t GetAccountNumber();
const char* GetAccountNumberText();
const char* GetPassword();
void SetPremiumDays(int32_t Days); // 0: free account
int32_t GetPremiumDays();
uint8_t GetGamemasterFlag();

// Frees the old list and makes Count empty entries (none for Count <= 0).
void SetAccountCharacters(int32_t Count);
int32_t GetAccountCharacters();
// Checks the number, "Name!=NULL", "strlen(Name)<30", "World!=NULL", "strlen(World)<30".
void SetAccountCharacter(int32_t Number, const char* Name, const char* World, const uint8_t Address[4],
                         int32_t Port);
void SetActiveCharacter(int32_t Number);
int32_t GetActiveCharacter();
const char* GetCharacterName(int32_t Number);
const char* GetCharacterWorld(int32_t Number);
const char* GetCharacterAddress(int32_t Number); // the dotted text
int32_t GetCharacterPort(int32_t Number);

void ClearRights();
void SetRight(int32_t rightid, uint32_t Mask);
// actionid -1: any action of the right; else bit actionid (0..31) of its mask.
bool CheckRight(int32_t rightid, int32_t actionid);
bool HasAnyRight(); // any of the rule-violation rights 0..31
const char* GetRuleViolationReason(int32_t rightid);
const char* GetRuleViolationAction(int32_t actionid);

// Pick records of the last clicks; x 65535 marks places in the inventory or a container.
// Stores the press position and clears the drag source's object (nothing to drag until SetDragSource).
void SetMousePressPosition(int32_t x, int32_t y);
void SetDragSource(const TObject& Object, int32_t Position, int32_t x, int32_t y, int32_t z);
const TObject* GetDragSource(int32_t* Position, int32_t* x, int32_t* y, int32_t* z);
// Starts dragging (action state 6) when a drag source is set and the mouse is 4 or more pixels away from the
// press position in x or in y.
void StartDragIfMoved(int32_t x, int32_t y);
void SetLookTarget(const TObject& Object, int32_t Position, int32_t x, int32_t y, int32_t z);
const TObject* GetLookTarget(int32_t* Position, int32_t* x, int32_t* y, int32_t* z);
void SetUseTarget(const TObject& Object, int32_t Position, int32_t x, int32_t y, int32_t z);
const TObject* GetUseTarget(int32_t* Position, int32_t* x, int32_t* y, int32_t* z);
void SetMenuCreature(uint32_t ID); // 0: none
uint32_t GetMenuCreature();
void SetDropPosition(int32_t x, int32_t y, int32_t z);
void GetDropPosition(int32_t* x, int32_t* y, int32_t* z);
