// The player entries and actions shared by the object, battle-list, VIP and chat-line menus.
#define EBRUN_SOURCE_NAME "ContextMenus.cpp"
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
    Menu.AddEntry(10100, TMenuText("Message to %s", Name).Text);
    if (HasOwnPrivateChannel()) Menu.AddEntry(10016, "Invite to private chat");
    if (!IsBuddyName(Name)) Menu.AddEntry(10015, "Add to VIP list");
    Menu.AddEntry(10101, TMenuText(IsTalkFiltered(0, Name, -1) ? "Unignore %s" : "Ignore %s", Name).Text);
}

void AddPartyEntry(TContextMenu& Menu, const TCreature& Creature) {
    const int32_t Own = GetPlayerPartyFlag(), Other = Creature.PARTYFlag;
    switch (Own) {
    case 0:
    case 2:
        if (Other == 1)
            Menu.AddEntry(10019, TMenuText("Join %s's Party", Creature.Name).Text);
        else
            Menu.AddEntry(10018, "Invite to Party");
        break;
    case 1:
        if (Other == 2) Menu.AddEntry(10021, TMenuText("Revoke %s's Invitation", Creature.Name).Text);
        break;
    case 3:
        break;
    case 4:
        if (Other == 2)
            Menu.AddEntry(10021, TMenuText("Revoke %s's Invitation", Creature.Name).Text);
        else if (Other == 3)
            Menu.AddEntry(10022, TMenuText("Pass Leadership to %s", Creature.Name).Text);
        else
            Menu.AddEntry(10018, "Invite to Party");
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
    case 10004:
    case 10005:
        SetAttackTarget(Event == 10004 ? CreatureID : 0);
        SendAttack(Event == 10004 ? CreatureID : 0);
        return true;
    case 10006:
    case 10007:
        SetFollowTarget(Event == 10006 ? CreatureID : 0);
        SendFollow(Event == 10006 ? CreatureID : 0);
        return true;
    case 10015:
    case 10016:
    case 10100:
    case 10101:
    case 10203:
    case 10018:
    case 10019:
    case 10021:
    case 10022:
    case 10023:
        break;
    default:
        return false;
    }
    const TCreature* Creature = CreatureID != 0 ? GetCreature(CreatureID) : nullptr;
    if (Creature == nullptr) return true;
    const char* Name = Creature->Name;
    switch (Event) {
    case 10015:
        SendAddVIP(Name);
        break;
    case 10016:
        SendInviteToChannel(Name);
        break;
    case 10100:
        SendPrivateChannel(Name);
        break;
    case 10101:
        ToggleIgnore(Name);
        break;
    case 10203:
        CopyTextToClipboard(Name);
        break;
    case 10018:
        SendInviteToParty(Creature->CreatureID);
        break;
    case 10019:
        SendJoinParty(Creature->CreatureID);
        break;
    case 10021:
        SendRevokeInvitation(Creature->CreatureID);
        break;
    case 10022:
        SendPassLeadership(Creature->CreatureID);
        break;
    case 10023:
        PostRuleViolation(Name);
        break;
    }
    return true;
}

void UnknownMenuEvent(int32_t Event) {
    ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "unknown event", "Event", Event);
}
