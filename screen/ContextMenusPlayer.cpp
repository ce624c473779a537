// The player entries and actions shared by the object, battle-list, VIP and chat-line menus.
#include "screen/ContextMenusPlayer.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "network/CommunicationSend.h"
#include "state/Creatures.h"
#include "state/CreaturesBuddies.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Status.h"
#include "state/StatusClipboard.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"

#include <cstdio>

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
