// The object menu.
#define EBRUN_SOURCE_NAME "ContextMenus.cpp"
#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "network/CommunicationSend.h"
#include "screen/ContextMenusPlayer.h"
#include "state/Creatures.h"
#include "state/CreaturesBuddies.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Inventory.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/StatusClipboard.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"

#include <cstdio>

namespace {

// Object-type flags the menu reads.
constexpr int32_t FLAG_CONTAINER = 4, FLAG_USEWITH = 7, FLAG_UNMOVE = 13, FLAG_TAKE = 16, FLAG_ROTATE = 20;

} // namespace

// ---- TObjectMenu ----

TObjectMenu::TObjectMenu(int32_t X, int32_t Y, int32_t ParentWidth, int32_t ParentHeight) try {
    LookedObject = *GetLookTarget(&LookedObjectPosition, &LookedObjectX, &LookedObjectY, &LookedObjectZ);
    UsedObject = *GetUseTarget(&UsedObjectPosition, &UsedObjectX, &UsedObjectY, &UsedObjectZ);
    MenuCreature = GetMenuCreature();
    CHECK_TEXT(LookedObject.Type != 0, "LookedObject!=0");
    const bool Classic = GetClassicControl();
    const char* Shift = Classic ? nullptr : "(Shift)";
    const char* Ctrl = Classic ? nullptr : "(Ctrl)";
    const char* Alt = Classic ? nullptr : "(Alt)";

    AddEntry(10001, "Look", Shift);
    if (UsedObject.Type != 0) {
        const bool InContainer = UsedObjectX == PLACE_OFF_MAP && UsedObjectY >= PLACE_CONTAINER_BASE;
        if (GetObjectFlag(UsedObject, FLAG_CONTAINER)) {
            AddEntry(InContainer ? 10011 : 10012, "Open", Ctrl);
            if (InContainer) AddEntry(10012, "Open in new window");
        } else if (GetObjectFlag(UsedObject, FLAG_USEWITH)) {
            AddEntry(10003, "Use with ...", Ctrl);
        } else {
            AddEntry(10002, "Use", Ctrl);
        }
        if (GetObjectFlag(UsedObject, FLAG_ROTATE)) AddEntry(10014, "Rotate");
    }
    SeparatorPending = true;
    if (LookedObject.Type != CREATURE && !GetObjectFlag(LookedObject, FLAG_UNMOVE) &&
        GetObjectFlag(LookedObject, FLAG_TAKE))
        AddEntry(10013, "Trade with ...");
    if (LookedObjectX == PLACE_OFF_MAP && LookedObjectY >= PLACE_CONTAINER_BASE &&
        HasParentContainer(LookedObjectY - PLACE_CONTAINER_BASE))
        AddEntry(10010, "Move up");

    const bool Own = MenuCreature != 0 && MenuCreature == GetPlayerID();
    if (MenuCreature != 0 && !Own) {
        const bool Attacked = MenuCreature == GetAttackTarget(), Followed = MenuCreature == GetFollowTarget();
        AddEntry(Attacked ? 10005 : 10004, Attacked ? "Stop Attack" : "Attack", Alt);
        AddEntry(Followed ? 10007 : 10006, Followed ? "Stop Follow" : "Follow");
        SeparatorPending = true;
        const TCreature* Creature = GetCreature(MenuCreature);
        if (Creature != nullptr && IsPlayerID(MenuCreature)) {
            AddPlayerEntries(*this, Creature->Name);
            AddPartyEntry(*this, *Creature);
        }
    }
    if (Own) {
        AddEntry(10008, "Set Outfit");
        if (IsPlayerInParty() && !IsInFight()) AddEntry(10020, "Leave Party");
    }
    if (MenuCreature != 0) {
        SeparatorPending = true;
        AddEntry(10203, "Copy Name");
    }
    SeparatorPending = true;
    // Without a creature there is nobody to report (and no creature ID 0 to look up).
    if (MenuCreature != 0 && IsPlayerID(MenuCreature) && !Own && HasAnyRight())
        AddEntry(10023, "Rule Violation");
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TObjectMenu::handleEvent(int32_t Event) try {
    if (Event == 10020) {
        SendLeaveParty();
        return;
    }
    if (HandleCreatureEvent(Event, MenuCreature)) return;
    switch (Event) {
    case 10001:
        SendLook(LookedObjectX, LookedObjectY, LookedObjectZ, LookedObject.Type, LookedObjectPosition);
        break;
    case 10002:
        SendUseObject(UsedObjectX, UsedObjectY, UsedObjectZ, UsedObject.Type, UsedObjectPosition, 0);
        break;
    case 10003:
        AddMessage(MESSAGE_USEWITHCURSOR, 0, 0);
        break;
    case 10008:
        SendGetOutfit();
        break;
    case 10010: {
        CHECK(LookedObjectX == 0xFFFF, LookedObjectX);
        CHECK(LookedObject.Type != CREATURE);
        const int32_t Count = GetObjectFlag(LookedObject, CUMULATIVE) ? LookedObject.Data : 1;
        SendMoveObject(LookedObjectX, LookedObjectY, LookedObjectZ, LookedObject.Type, LookedObjectPosition,
                       PLACE_OFF_MAP, LookedObjectY, 254, Count);
        break;
    }
    case 10011:
        CHECK(UsedObjectX == 0xFFFF, UsedObjectX);
        CHECK(UsedObjectY >= 64, UsedObjectY);
        SendUseObject(PLACE_OFF_MAP, UsedObjectY, UsedObjectZ, UsedObject.Type, UsedObjectPosition,
                      UsedObjectY - PLACE_CONTAINER_BASE);
        break;
    case 10012:
        SendUseObject(UsedObjectX, UsedObjectY, UsedObjectZ, UsedObject.Type, UsedObjectPosition,
                      GetFreeContainerNumber());
        break;
    case 10013:
        AddMessage(MESSAGE_TRADEWITHCURSOR, 0, 0);
        break;
    case 10014:
        SendRotateObject(UsedObjectX, UsedObjectY, UsedObjectZ, UsedObject.Type, UsedObjectPosition);
        break;
    default:
        UnknownMenuEvent(Event);
    }
}
CATCH_FRAME(Event)
