// The object menu and the creature entries it shares with the other person menus.
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

TMenuText::TMenuText(const char* Format, const char* Name) { std::snprintf(Text, sizeof Text, Format, Name); }

void AddPlayerEntries(TContextMenu& Menu, const char* Name) {
    Menu.AddEntry(MENU_MESSAGE_TO, TMenuText("Message to %s", Name).Text);
    if (HasOwnPrivateChannel()) Menu.AddEntry(MENU_INVITE_TO_CHANNEL, "Invite to private chat");
    if (!IsBuddyName(Name)) Menu.AddEntry(MENU_ADD_TO_VIP, "Add to VIP list");
    Menu.AddEntry(MENU_IGNORE,
                  TMenuText(IsTalkFiltered(0, Name, -1) ? "Unignore %s" : "Ignore %s", Name).Text);
}

void AddPartyEntry(TContextMenu& Menu, const TCreature& Creature) {
    const int32_t Own = GetPlayerPartyFlag(), Other = Creature.PARTYFlag;
    switch (Own) {
    case 0:
    case 2:
        if (Other == 1)
            Menu.AddEntry(MENU_JOIN_PARTY, TMenuText("Join %s's Party", Creature.Name).Text);
        else
            Menu.AddEntry(MENU_INVITE_TO_PARTY, "Invite to Party");
        break;
    case 1:
        if (Other == 2)
            Menu.AddEntry(MENU_REVOKE_INVITATION, TMenuText("Revoke %s's Invitation", Creature.Name).Text);
        break;
    case 3:
        break;
    case 4:
        if (Other == 2)
            Menu.AddEntry(MENU_REVOKE_INVITATION, TMenuText("Revoke %s's Invitation", Creature.Name).Text);
        else if (Other == 3)
            Menu.AddEntry(MENU_PASS_LEADERSHIP, TMenuText("Pass Leadership to %s", Creature.Name).Text);
        else
            Menu.AddEntry(MENU_INVITE_TO_PARTY, "Invite to Party");
        break;
    default:
        ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "unknown player party flag", "GetPlayerPartyFlag()",
                          Own);
    }
}

bool ToggleIgnore(const char* Name) {
    if (IsTalkFiltered(0, Name, -1)) {
        RemoveFromIgnoreList(Name);
        return false;
    }
    AddToIgnoreList(Name, false);
    return true;
}

void PostRuleViolation(const char* Name) {
    if (!HasAnyRight()) return;
    auto* Buffer = static_cast<char*>(NewMessageBlock(30));
    CopyString(Buffer, Name, 30);
    AddMessage(MESSAGE_GAMEMASTERRULEVIOLATION, MessageParameter(Buffer), 0);
}

bool HandleCreatureEvent(int32_t Event, uint32_t CreatureID) {
    switch (Event) {
    case MENU_ATTACK:
    case MENU_STOP_ATTACK:
        SetAttackTarget(Event == MENU_ATTACK ? CreatureID : 0);
        SendAttack(Event == MENU_ATTACK ? CreatureID : 0);
        return true;
    case MENU_FOLLOW:
    case MENU_STOP_FOLLOW:
        SetFollowTarget(Event == MENU_FOLLOW ? CreatureID : 0);
        SendFollow(Event == MENU_FOLLOW ? CreatureID : 0);
        return true;
    case MENU_ADD_TO_VIP:
    case MENU_INVITE_TO_CHANNEL:
    case MENU_MESSAGE_TO:
    case MENU_IGNORE:
    case MENU_COPY_CREATURE_NAME:
    case MENU_INVITE_TO_PARTY:
    case MENU_JOIN_PARTY:
    case MENU_REVOKE_INVITATION:
    case MENU_PASS_LEADERSHIP:
    case MENU_RULE_VIOLATION:
        break;
    default:
        return false;
    }
    const TCreature* Creature = CreatureID != 0 ? GetCreature(CreatureID) : nullptr;
    if (Creature == nullptr) return true;
    const char* Name = Creature->Name;
    switch (Event) {
    case MENU_ADD_TO_VIP:
        SendAddVIP(Name);
        break;
    case MENU_INVITE_TO_CHANNEL:
        SendInviteToChannel(Name);
        break;
    case MENU_MESSAGE_TO:
        SendPrivateChannel(Name);
        break;
    case MENU_IGNORE:
        ToggleIgnore(Name);
        break;
    case MENU_COPY_CREATURE_NAME:
        CopyTextToClipboard(Name);
        break;
    case MENU_INVITE_TO_PARTY:
        SendInviteToParty(Creature->CreatureID);
        break;
    case MENU_JOIN_PARTY:
        SendJoinParty(Creature->CreatureID);
        break;
    case MENU_REVOKE_INVITATION:
        SendRevokeInvitation(Creature->CreatureID);
        break;
    case MENU_PASS_LEADERSHIP:
        SendPassLeadership(Creature->CreatureID);
        break;
    case MENU_RULE_VIOLATION:
        PostRuleViolation(Name);
        break;
    }
    return true;
}

void UnknownMenuEvent(int32_t Event) {
    ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "unknown event", "Event", Event);
}

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
        if (GetObjectFlag(UsedObject, FLAG_CONTAINER)) {
            AddEntry(InContainer ? MENU_OPEN_HERE : MENU_OPEN_NEW_WINDOW, "Open", Ctrl);
            if (InContainer) AddEntry(MENU_OPEN_NEW_WINDOW, "Open in new window");
        } else if (GetObjectFlag(UsedObject, FLAG_USEWITH)) {
            AddEntry(MENU_USE_WITH, "Use with ...", Ctrl);
        } else {
            AddEntry(MENU_USE, "Use", Ctrl);
        }
        if (GetObjectFlag(UsedObject, FLAG_ROTATE)) AddEntry(MENU_ROTATE, "Rotate");
    }
    SeparatorPending = true;
    if (LookedObject.Type != CREATURE && !GetObjectFlag(LookedObject, FLAG_UNMOVE) &&
        GetObjectFlag(LookedObject, FLAG_TAKE))
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
