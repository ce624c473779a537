// The object menu.
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

    AddEntry(MENU_LOOK, "Look", Shift);
    if (UsedObject.Type != 0) {
        const bool InContainer = UsedObjectX == PLACE_OFF_MAP && UsedObjectY >= PLACE_CONTAINER_BASE;
        if (GetObjectFlag(UsedObject, CONTAINER)) {
            AddEntry(InContainer ? MENU_OPEN_HERE : MENU_OPEN_NEW_WINDOW, "Open", Ctrl);
            if (InContainer) AddEntry(MENU_OPEN_NEW_WINDOW, "Open in new window");
        } else if (GetObjectFlag(UsedObject, USEWITH)) {
            AddEntry(MENU_USE_WITH, "Use with ...", Ctrl);
        } else {
            AddEntry(MENU_USE, "Use", Ctrl);
        }
        if (GetObjectFlag(UsedObject, ROTATE)) AddEntry(MENU_ROTATE, "Rotate");
    }
    SeparatorPending = true;
    if (LookedObject.Type != CREATURE && !GetObjectFlag(LookedObject, UNMOVE) &&
        GetObjectFlag(LookedObject, TRADE))
        AddEntry(MENU_TRADE_WITH, "Trade with ...");
    if (LookedObjectX == PLACE_OFF_MAP && LookedObjectY >= PLACE_CONTAINER_BASE &&
        HasParentContainer(LookedObjectY - PLACE_CONTAINER_BASE))
        AddEntry(MENU_MOVE_UP, "Move up");

    const bool Own = MenuCreature != 0 && MenuCreature == GetPlayerID();
    if (MenuCreature != 0 && !Own) {
        const bool Attacked = MenuCreature == GetAttackTarget(), Followed = MenuCreature == GetFollowTarget();
        AddEntry(Attacked ? MENU_STOP_ATTACK : MENU_ATTACK, Attacked ? "Stop Attack" : "Attack", Alt);
        AddEntry(Followed ? MENU_STOP_FOLLOW : MENU_FOLLOW, Followed ? "Stop Follow" : "Follow");
        SeparatorPending = true;
        const TCreature* Creature = GetCreature(MenuCreature);
        if (Creature != nullptr && IsPlayerID(MenuCreature)) {
            AddPlayerEntries(*this, Creature->Name);
            AddPartyEntry(*this, *Creature);
        }
    }
    if (Own) {
        AddEntry(MENU_SET_OUTFIT, "Set Outfit");
        if (IsPlayerInParty() && !IsInFight()) AddEntry(MENU_LEAVE_PARTY, "Leave Party");
    }
    if (MenuCreature != 0) {
        SeparatorPending = true;
        AddEntry(MENU_COPY_CREATURE_NAME, "Copy Name");
    }
    SeparatorPending = true;
    // Without a creature there is nobody to report (and no creature ID 0 to look up).
    if (MenuCreature != 0 && IsPlayerID(MenuCreature) && !Own && HasAnyRight())
        AddEntry(MENU_RULE_VIOLATION, "Rule Violation");
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TObjectMenu::handleEvent(int32_t Event) try {
    if (Event == MENU_LEAVE_PARTY) {
        SendLeaveParty();
        return;
    }
    if (HandleCreatureEvent(Event, MenuCreature)) return;
    switch (Event) {
    case MENU_LOOK:
        SendLook(LookedObjectX, LookedObjectY, LookedObjectZ, LookedObject.Type, LookedObjectPosition);
        break;
    case MENU_USE:
        SendUseObject(UsedObjectX, UsedObjectY, UsedObjectZ, UsedObject.Type, UsedObjectPosition, 0);
        break;
    case MENU_USE_WITH:
        AddMessage(MESSAGE_USEWITHCURSOR, 0, 0);
        break;
    case MENU_SET_OUTFIT:
        SendGetOutfit();
        break;
    case MENU_MOVE_UP: {
        CHECK(LookedObjectX == 0xFFFF, LookedObjectX);
        CHECK(LookedObject.Type != CREATURE);
        const int32_t Count = GetObjectFlag(LookedObject, CUMULATIVE) ? LookedObject.Data : 1;
        SendMoveObject(LookedObjectX, LookedObjectY, LookedObjectZ, LookedObject.Type, LookedObjectPosition,
                       PLACE_OFF_MAP, LookedObjectY, 254, Count);
        break;
    }
    case MENU_OPEN_HERE:
        CHECK(UsedObjectX == 0xFFFF, UsedObjectX);
        CHECK(UsedObjectY >= 64, UsedObjectY);
        SendUseObject(PLACE_OFF_MAP, UsedObjectY, UsedObjectZ, UsedObject.Type, UsedObjectPosition,
                      UsedObjectY - PLACE_CONTAINER_BASE);
        break;
    case MENU_OPEN_NEW_WINDOW:
        SendUseObject(UsedObjectX, UsedObjectY, UsedObjectZ, UsedObject.Type, UsedObjectPosition,
                      GetFreeContainerNumber());
        break;
    case MENU_TRADE_WITH:
        AddMessage(MESSAGE_TRADEWITHCURSOR, 0, 0);
        break;
    case MENU_ROTATE:
        SendRotateObject(UsedObjectX, UsedObjectY, UsedObjectZ, UsedObject.Type, UsedObjectPosition);
        break;
    default:
        UnknownMenuEvent(Event);
    }
}
CATCH_FRAME(Event)
