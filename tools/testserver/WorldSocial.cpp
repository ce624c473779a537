// The VIP lists of the accounts with the on- and offline notices, parties with their shields, and the
// outfit dialog.
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/SocialMessages.h"
#include "tools/testserver/TestServer.h"
#include "tools/testserver/Village.h"
#include "tools/testserver/WorldRoads.h"

#include <algorithm>

namespace testserver {

namespace {

// ---- VIP lists ----

// The name of a character of the known accounts as they spell it; empty for none.
std::string CharacterName(std::string_view Name) {
    for (const TAccount& Account : DefaultAccounts())
        for (const TCharacter& Character : Account.Characters)
            if (SameName(Character.Name, Name)) return Character.Name;
    return {};
}

TMessage VipEntry(TGameWorld& World, const std::string& Name) {
    return AddVipMessage(PlayerId(Name), Name, World.player(Name) != nullptr);
}

// Tells every player whose account's list holds Player that it came or went.
void TellVipLists(TGameWorld& World, const TPlayer& Player, bool Online) {
    for (const std::shared_ptr<TPlayer>& Other : World.players()) {
        if (Other.get() == &Player) continue;
        const std::vector<std::string>& List = World.vips(Other->Account);
        if (std::ranges::find(List, LowerCase(Player.Name), LowerCase) != List.end())
            Other->send(VipOnlineMessage(PlayerId(Player.Name), Online));
    }
}

void AddVip(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    const std::string Name = CharacterName(Command.Name);
    if (Name.empty())
        return Actor.send(SystemMessage(TALK_STATUS_ONLY, "A player with this name does not exist."));
    std::vector<std::string>& List = World.vips(Actor.Account);
    if (std::ranges::find(List, Name) != List.end())
        return Actor.send(SystemMessage(TALK_STATUS_ONLY, "This player is already in your list."));
    List.push_back(Name);
    Actor.send(VipEntry(World, Name));
}

void RemoveVip(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    std::erase_if(World.vips(Actor.Account),
                  [&](const std::string& Name) { return PlayerId(Name) == Command.CreatureId; });
}

// ---- Parties ----

bool InParty(const TPlayer& Player) { return Player.PartyLeader != 0; }

bool IsInvited(TGameWorld& World, const TPlayer& Player) {
    return std::ranges::any_of(World.players(), [&](const std::shared_ptr<TPlayer>& Leader) {
        return Leader->Invited.contains(Player.Id);
    });
}

// The shield the viewer's client shows on Player.
uint8_t ShieldOf(TGameWorld& World, const TPlayer& Viewer, const TPlayer& Player) {
    if (InParty(Player) && Viewer.PartyLeader == Player.PartyLeader)
        return Player.PartyLeader == Player.Id ? SHIELD_LEADER : SHIELD_MEMBER;
    if (&Viewer == &Player) {
        if (!Player.Invited.empty()) return SHIELD_INVITING;
        return IsInvited(World, Player) ? SHIELD_INVITED : SHIELD_NONE;
    }
    if (Player.Invited.contains(Viewer.Id)) return SHIELD_INVITING;
    if (Viewer.Invited.contains(Player.Id)) return SHIELD_INVITED;
    return SHIELD_NONE;
}

// Sends every shield that changed to the clients that see its creature.
void ShowShields(TGameWorld& World) {
    for (const std::shared_ptr<TPlayer>& Viewer : World.players())
        for (const std::shared_ptr<TPlayer>& Player : World.players()) {
            const uint8_t Shield = ShieldOf(World, *Viewer, *Player);
            uint8_t& Shown = Viewer->Shields[Player->Id];
            if (Shield == Shown) continue;
            Shown = Shield;
            if (Viewer->Known.contains(Player->Id)) Viewer->send(CreatureShieldMessage(Player->Id, Shield));
        }
}

void Invite(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    TPlayer* Guest = World.player(Command.CreatureId);
    if (!Guest || Guest == &Actor) return;
    if (InParty(Actor) && Actor.PartyLeader != Actor.Id)
        return Actor.send(SystemMessage(TALK_STATUS_ONLY, "You may not invite players."));
    if (InParty(*Guest))
        return Actor.send(SystemMessage(TALK_STATUS_ONLY, Guest->Name + " is already in a party."));
    Actor.Invited.insert(Guest->Id);
    Guest->send(SystemMessage(TALK_EVENT_STATUS, Actor.Name + " has invited you to a party."));
    ShowShields(World);
}

void Join(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    TPlayer* Leader = World.player(Command.CreatureId);
    if (!Leader || !Leader->Invited.erase(Actor.Id) || InParty(Actor)) return;
    Leader->PartyLeader = Leader->Id;
    Actor.PartyLeader = Leader->Id;
    Actor.Invited.clear();
    for (const std::shared_ptr<TPlayer>& Member : World.players())
        if (Member->PartyLeader == Leader->Id && Member.get() != &Actor)
            Member->send(SystemMessage(TALK_EVENT_STATUS, Actor.Name + " has joined the party."));
    Actor.send(SystemMessage(TALK_EVENT_STATUS, "You have joined " + Leader->Name + "'s party."));
    ShowShields(World);
}

void Revoke(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    if (Actor.Invited.erase(Command.CreatureId)) ShowShields(World);
}

void PassLeadership(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    TPlayer* Heir = World.player(Command.CreatureId);
    if (!Heir || Actor.PartyLeader != Actor.Id || Heir->PartyLeader != Actor.Id || Heir == &Actor) return;
    for (const std::shared_ptr<TPlayer>& Member : World.players())
        if (Member->PartyLeader == Actor.Id) Member->PartyLeader = Heir->Id;
    Heir->Invited = std::move(Actor.Invited);
    Actor.Invited.clear();
    Heir->send(SystemMessage(TALK_EVENT_STATUS, "You are now the leader of the party."));
    ShowShields(World);
}

// A party of one is no party: the last member left alone leaves too.
void LeaveParty(TGameWorld& World, TPlayer& Actor) {
    const uint32_t Leader = Actor.PartyLeader;
    if (Leader == 0) { // a party still forming: its invitations end
        Actor.Invited.clear();
        return ShowShields(World);
    }
    Actor.PartyLeader = 0;
    std::vector<TPlayer*> Rest;
    for (const std::shared_ptr<TPlayer>& Member : World.players())
        if (Member->PartyLeader == Leader) Rest.push_back(Member.get());
    if (Leader == Actor.Id && !Rest.empty()) {
        for (TPlayer* Member : Rest)
            Member->PartyLeader = Rest.front()->Id;
        Rest.front()->Invited = std::move(Actor.Invited);
    }
    Actor.Invited.clear();
    if (Rest.size() == 1 && Rest.front()->Invited.empty()) Rest.front()->PartyLeader = 0;
    Actor.send(SystemMessage(TALK_EVENT_STATUS, "You have left the party."));
    ShowShields(World);
}

void Leave(TGameWorld& World, TPlayer& Actor, const TClientCommand&) { LeaveParty(World, Actor); }

// ---- Outfits ----

constexpr uint16_t FIRST_OUTFIT = village::OUTFIT_CITIZEN, LAST_OUTFIT = village::OUTFIT_MAGE;

void GetOutfit(TGameWorld& World, TPlayer& Actor, const TClientCommand&) {
    const TCreature& Creature = World.creature(Actor);
    Actor.send(OutfitDialogMessage(Creature.Outfit, Creature.Colors, FIRST_OUTFIT, LAST_OUTFIT));
}

// A look outside the range, or a colour beyond the 133 of the palette, is refused.
void SetOutfit(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    if (Command.Outfit < FIRST_OUTFIT || Command.Outfit > LAST_OUTFIT ||
        std::ranges::any_of(Command.Colors, [](uint8_t Color) { return Color > 132; }))
        return;
    TCreature& Creature = World.creature(Actor);
    Creature.Outfit = Command.Outfit;
    Creature.Colors = Command.Colors;
    World.toViewers(Creature.Position, [&](TPlayer& Viewer) {
        Viewer.send(CreatureOutfitMessage(Creature.Id, Creature.Outfit, Creature.Colors));
    });
}

} // namespace

void EnterSocial(TGameWorld& World, TPlayer& Player) {
    for (const std::string& Name : World.vips(Player.Account))
        Player.send(VipEntry(World, Name));
    TellVipLists(World, Player, true);
}

void LeaveSocial(TGameWorld& World, TPlayer& Player) {
    LeaveParty(World, Player);
    for (const std::shared_ptr<TPlayer>& Other : World.players())
        if (Other->Invited.erase(Player.Id)) ShowShields(World);
    TellVipLists(World, Player, false);
}

void AddSocial(THandlers& Handlers) {
    Handlers.add(COMMAND_ADD_VIP, AddVip);
    Handlers.add(COMMAND_REMOVE_VIP, RemoveVip);
    Handlers.add(COMMAND_INVITE_TO_PARTY, Invite);
    Handlers.add(COMMAND_JOIN_PARTY, Join);
    Handlers.add(COMMAND_REVOKE_INVITATION, Revoke);
    Handlers.add(COMMAND_PASS_LEADERSHIP, PassLeadership);
    Handlers.add(COMMAND_LEAVE_PARTY, Leave);
    Handlers.add(COMMAND_GET_OUTFIT, GetOutfit);
    Handlers.add(COMMAND_SET_OUTFIT, SetOutfit);
}

} // namespace testserver
