// The login status: plain global facts of the running client behind getters and setters.
#include "state/Status.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "state/Events.h"
#include "state/StatusClipboard.h"
#include "state/StatusReports.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct TPickPlace {
    int32_t x = 0, y = 0, z = 0;
};

// An object picked by a click and where it was.
struct TPickedObject {
    TObject Object = EmptyObject;
    int32_t Position = 0;
    TPickPlace Place;
};

// Reset by InitStatus; the character list lives from a login server's answer to the next one or ExitStatus.
struct {
    int32_t ConnectionState = CONNECTIONSTATE_OFFLINE;
    int32_t ActionState = ACTIONSTATE_NONE;
    uint32_t Rights[RIGHT_ANY] = {};
    uint32_t AccountNumber = 0;
    char AccountNumberText[12] = {};
    char Password[30] = {};
    int32_t PremiumDays = 0;
    uint8_t GamemasterFlag = 0;
    std::unique_ptr<TAccountCharacter[]> Characters;
    int32_t AccountCharacters = 0;
    int32_t ActiveCharacter = 0;
    int32_t TickCounter = 0;
    int32_t MouseX = 0, MouseY = 0;
    int32_t ScreenWidth = 0, ScreenHeight = 0;
    int32_t MouseCursor = 0;
    int32_t HeldMouseEvent = 0, HeldMouseTick = 0;
    const char* Tooltip = nullptr;
    int32_t TooltipX = 0, TooltipY = 0;
    uint8_t Blink = 0;
    int32_t BlinkTime = 0;
    TPickPlace Press;
    TPickedObject DragSource, LookTarget, UseTarget;
    TPickPlace Drop;
    uint32_t MenuCreature = 0;
    int32_t PatchProgress = -1;
    TLinkWarningHandler LinkWarningHandler = nullptr;
} Status;

const char* const RuleViolationReasons[32] = {
    "1a) Offensive name",
    "1b) Name containing part of sentence",
    "1b) Name with nonsensical letter combination",
    "1b) Invalid name format",
    "1c) Name not describing person",
    "1c) Name of celebrity",
    "1c) Name referring to country",
    "1c) Name to fake player identity",
    "1c) Name to fake official position",
    "2a) Offensive statement",
    "2b) Spamming",
    "2c) Advertisement not related to game",
    "2c) Real money advertisement",
    "2d) Non-English public statement",
    "2d) Off-topic public statement",
    "2e) Inciting rule violation",
    "3a) Bug abuse",
    "3b) Game weakness abuse",
    "3c) Macro use",
    "3d) Using unofficial software to play",
    "3e) Hacking",
    "3f) Multi-clienting",
    "3g) Account trading",
    "3g) Account sharing",
    "4a) Threatening gamemaster",
    "4b) Pretending to have official position",
    "4b) Pretending to have influence on gamemaster",
    "4c) False report to gamemaster",
    "Excessive unjustified player killing",
    "Destructive behaviour",
    "Spoiling auction",
    "Invalid payment",
};

const char* const RuleViolationActions[8] = {
    "Notation",
    "Name Report",
    "Banishment",
    "Name Report + Banishment",
    "Banishment + Final Warning",
    "Name Report + Banishment + Final Warning",
    "Statement Report",
    "IP Banishment",
};

const TAccountCharacter& Character(int32_t Number) {
    CHECK_TEXT(In(Number, 0, Status.AccountCharacters - 1), "In(Number,0,AccountCharacters-1)", Number);
    return Status.Characters[Number];
}

void SetPicked(TPickedObject& Record, const TObject& Object, int32_t Position, int32_t x, int32_t y,
               int32_t z) {
    Record = TPickedObject{Object, Position, TPickPlace{x, y, z}};
}

const TObject* GetPicked(const TPickedObject& Record, int32_t* Position, int32_t* x, int32_t* y, int32_t* z) {
    *Position = Record.Position;
    *x = Record.Place.x;
    *y = Record.Place.y;
    *z = Record.Place.z;
    return &Record.Object;
}

} // namespace

void InitStatus(uint8_t GamemasterFlag, TLinkWarningHandler linkwarningeventhandler) {
    CHECK_TEXT(linkwarningeventhandler != nullptr, "linkwarningeventhandler!=NULL");
    Status.LinkWarningHandler = linkwarningeventhandler;
    Status.GamemasterFlag = GamemasterFlag;
    InitClipboardGuard();
    ClearRights();
    ClearMessages();
    Status.TickCounter = 0;
    Status.ActionState = ACTIONSTATE_NONE;
    Status.ConnectionState = CONNECTIONSTATE_OFFLINE;
    Status.AccountNumber = 0;
    Status.AccountNumberText[0] = 0;
    std::memset(Status.Password, 0, sizeof(Status.Password));
    SetAccountCharacters(0);
    Status.PremiumDays = 0;
    Status.ActiveCharacter = 0;
    Status.Press = Status.Drop = TPickPlace{};
    Status.DragSource = Status.LookTarget = Status.UseTarget = TPickedObject{};
    Status.MenuCreature = 0;
    Status.Tooltip = nullptr;
    Status.HeldMouseEvent = Status.HeldMouseTick = 0;
    Status.PatchProgress = -1;
}

void ExitStatus() {
    ExitErrorReports();
    SetAccountCharacters(0);
    ExitClipboardGuard();
    ClearMessages();
}

TLinkWarningHandler GetLinkWarningHandler() { return Status.LinkWarningHandler; }

void SetConnectionState(int32_t State) { Status.ConnectionState = State; }
int32_t GetConnectionState() { return Status.ConnectionState; }
void SetActionState(int32_t State) { Status.ActionState = State; }
int32_t GetActionState() { return Status.ActionState; }

int32_t GetTickCounter() { return Status.TickCounter; }
void IncreaseTickCounter() { Status.TickCounter++; }

void SetMousePosition(int32_t x, int32_t y) {
    Status.MouseX = x;
    Status.MouseY = y;
}
int32_t GetMouseX() { return Status.MouseX; }
int32_t GetMouseY() { return Status.MouseY; }
void SetMouseCursor(int32_t Shape) { Status.MouseCursor = Shape; }

int32_t GetMouseCursor() {
    switch (Status.ActionState) {
    case ACTIONSTATE_HELP:
        return POINTER_HELP;
    case ACTIONSTATE_DRAG:
        return POINTER_DRAG;
    case ACTIONSTATE_USEWITH:
    case ACTIONSTATE_TRADEWITH:
        return POINTER_CROSSHAIR;
    default:
        return Status.MouseCursor;
    }
}

void SetHeldMouseEvent(int32_t Event, int32_t Tick) {
    Status.HeldMouseEvent = Event;
    Status.HeldMouseTick = Tick;
}
int32_t GetHeldMouseEvent() { return Status.HeldMouseEvent; }
int32_t GetHeldMouseTick() { return Status.HeldMouseTick; }

void SetScreenSize(int32_t Width, int32_t Height) {
    Status.ScreenWidth = Width;
    Status.ScreenHeight = Height;
}
int32_t GetScreenWidth() { return Status.ScreenWidth; }
int32_t GetScreenHeight() { return Status.ScreenHeight; }

void SetTooltip(const char* Text) { Status.Tooltip = Text; }
const char* GetTooltip() { return Status.Tooltip; }
void SetTooltipPosition(int32_t x, int32_t y) {
    Status.TooltipX = x;
    Status.TooltipY = y;
}
void GetTooltipPosition(int32_t* x, int32_t* y) {
    *x = Status.TooltipX;
    *y = Status.TooltipY;
}

uint8_t GetBlink() { return Status.Blink; }

void UpdateBlink() {
    int32_t Now = GetMilliseconds();
    // Read unsigned: a blink time ahead of the clock counts as long past.
    if (static_cast<uint32_t>(TimeUntil(Now, Status.BlinkTime)) > 300) {
        Status.Blink = Status.Blink != 0 ? 0 : 1;
        Status.BlinkTime = Now;
    }
}

void SetPatchProgress(int32_t Percent) { Status.PatchProgress = Percent; }
int32_t GetPatchProgress() { return Status.PatchProgress; }

void SetAccount(uint32_t AccountNumber, const char* Password) {
    CHECK_TEXT(Password != nullptr, "Password!=NULL");
    CHECK(strlen(Password) < 30);
    Status.AccountNumber = AccountNumber;
    std::snprintf(Status.AccountNumberText, sizeof(Status.AccountNumberText), "%d",
                  static_cast<int32_t>(AccountNumber));
    CopyString(Status.Password, Password);
}

uint32_t GetAccountNumber() { return Status.AccountNumber; }
const char* GetAccountNumberText() { return Status.AccountNumberText; }
const char* GetPassword() { return Status.Password; }
void SetPremiumDays(int32_t Days) { Status.PremiumDays = Days; }
int32_t GetPremiumDays() { return Status.PremiumDays; }
uint8_t GetGamemasterFlag() { return Status.GamemasterFlag; }

void SetAccountCharacters(int32_t Count) {
    Status.Characters.reset();
    Status.AccountCharacters = Count > 0 ? Count : 0;
    if (Count > 0) Status.Characters = std::make_unique<TAccountCharacter[]>(static_cast<size_t>(Count));
}

int32_t GetAccountCharacters() { return Status.AccountCharacters; }

void SetAccountCharacter(int32_t Number, const char* Name, const char* World, const uint8_t Address[4],
                         int32_t Port) {
    CHECK_TEXT(In(Number, 0, Status.AccountCharacters - 1), "In(Number,0,AccountCharacters-1)", Number);
    CHECK_TEXT(Name != nullptr, "Name!=NULL");
    CHECK(strlen(Name) < 30);
    CHECK_TEXT(World != nullptr, "World!=NULL");
    CHECK(strlen(World) < 30);
    TAccountCharacter& Entry = Status.Characters[Number];
    CopyString(Entry.Name, Name);
    CopyString(Entry.World, World);
    std::memcpy(Entry.Address, Address, sizeof(Entry.Address));
    std::snprintf(Entry.AddressText, sizeof(Entry.AddressText), "%d.%d.%d.%d", Address[0], Address[1],
                  Address[2], Address[3]);
    Entry.Port = Port;
}

void SetActiveCharacter(int32_t Number) {
    Character(Number);
    Status.ActiveCharacter = Number;
}

int32_t GetActiveCharacter() { return Status.ActiveCharacter; }
const char* GetCharacterName(int32_t Number) { return Character(Number).Name; }
const char* GetCharacterWorld(int32_t Number) { return Character(Number).World; }
const char* GetCharacterAddress(int32_t Number) { return Character(Number).AddressText; }
int32_t GetCharacterPort(int32_t Number) { return Character(Number).Port; }

void ClearRights() {
    for (uint32_t& Mask : Status.Rights)
        Mask = 0;
}

void SetRight(int32_t rightid, uint32_t Mask) {
    CHECK(In(rightid, 0, RIGHT_ANY - 1), rightid);
    Status.Rights[rightid] = Mask;
}

bool CheckRight(int32_t rightid, int32_t actionid) {
    CHECK(In(rightid, 0, RIGHT_ANY - 1), rightid);
    CHECK(In(actionid, -1, 31), actionid);
    uint32_t Mask = Status.Rights[rightid];
    return actionid == -1 ? Mask != 0 : (Mask >> actionid & 1) != 0;
}

bool HasAnyRight() {
    for (int32_t i = 0; i < 32; i++)
        if (Status.Rights[i] != 0) return true;
    return false;
}

const char* GetRuleViolationReason(int32_t rightid) {
    if (!In(rightid, 0, 31))
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "unknown right", "rightid", rightid, "", 0, "");
    return RuleViolationReasons[rightid];
}

const char* GetRuleViolationAction(int32_t actionid) {
    if (!In(actionid, 0, 7))
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "unknown action", "actionid", actionid, "", 0, "");
    return RuleViolationActions[actionid];
}

void SetMousePressPosition(int32_t x, int32_t y) {
    Status.Press = TPickPlace{x, y, 0};
    Status.DragSource.Object = EmptyObject;
}

void SetDragSource(const TObject& Object, int32_t Position, int32_t x, int32_t y, int32_t z) {
    SetPicked(Status.DragSource, Object, Position, x, y, z);
}

const TObject* GetDragSource(int32_t* Position, int32_t* x, int32_t* y, int32_t* z) {
    return GetPicked(Status.DragSource, Position, x, y, z);
}

void StartDragIfMoved(int32_t x, int32_t y) {
    if (Status.ActionState == ACTIONSTATE_DRAG || Status.DragSource.Object.Type == 0) return;
    if (std::abs(x - Status.Press.x) >= 4 || std::abs(y - Status.Press.y) >= 4)
        Status.ActionState = ACTIONSTATE_DRAG;
}

void SetLookTarget(const TObject& Object, int32_t Position, int32_t x, int32_t y, int32_t z) {
    SetPicked(Status.LookTarget, Object, Position, x, y, z);
}

const TObject* GetLookTarget(int32_t* Position, int32_t* x, int32_t* y, int32_t* z) {
    return GetPicked(Status.LookTarget, Position, x, y, z);
}

void SetUseTarget(const TObject& Object, int32_t Position, int32_t x, int32_t y, int32_t z) {
    SetPicked(Status.UseTarget, Object, Position, x, y, z);
}

const TObject* GetUseTarget(int32_t* Position, int32_t* x, int32_t* y, int32_t* z) {
    return GetPicked(Status.UseTarget, Position, x, y, z);
}

void SetMenuCreature(uint32_t ID) { Status.MenuCreature = ID; }
uint32_t GetMenuCreature() { return Status.MenuCreature; }

void SetDropPosition(int32_t x, int32_t y, int32_t z) { Status.Drop = TPickPlace{x, y, z}; }

void GetDropPosition(int32_t* x, int32_t* y, int32_t* z) {
    *x = Status.Drop.x;
    *y = Status.Drop.y;
    *z = Status.Drop.z;
}
