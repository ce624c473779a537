// The own private chat channel: opening it, inviting players (who then find it in their channel list) and
// excluding them (which closes it for them).
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/WorldChat.h"
#include "tools/testserver/WorldChatMessages.h"
#include "tools/testserver/WorldRoads.h"

namespace testserver {

namespace {

// The lowest identifier from FIRST_PRIVATE_CHANNEL that no online player's own channel has.
uint16_t FreeChannel(TGameWorld& World) {
    uint16_t Id = FIRST_PRIVATE_CHANNEL;
    while (OwnerOf(World, Id))
        ++Id;
    return Id;
}

void OpenOwnChannel(TGameWorld& World, TPlayer& Actor, const TClientCommand&) {
    if (Actor.Chat.OwnChannel == 0) Actor.Chat.OwnChannel = FreeChannel(World);
    Actor.Chat.Channels.insert(Actor.Chat.OwnChannel);
    Actor.send(OpenOwnChannelMessage(Actor.Chat.OwnChannel, OwnChannelName(Actor)));
}

// Both notes go to the status line and the default tab.
void Note(TPlayer& Player, const std::string& Text) { Player.send(SystemMessage(TALK_EVENT_STATUS, Text)); }

void Invite(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    if (Actor.Chat.OwnChannel == 0) return Note(Actor, "You have no private chat channel.");
    TPlayer* Guest = World.player(Command.Name);
    if (!Guest || Guest == &Actor) return Note(Actor, "A player with this name is not online.");
    Actor.Chat.Invited.insert(LowerCase(Guest->Name));
    Note(Actor, Guest->Name + " has been invited.");
    Note(*Guest, Actor.Name + " invites you to " + OwnChannelName(Actor) + ".");
}

void Exclude(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    if (Actor.Chat.OwnChannel == 0) return Note(Actor, "You have no private chat channel.");
    if (!Actor.Chat.Invited.erase(LowerCase(Command.Name)))
        return Note(Actor, Command.Name + " is not invited.");
    Note(Actor, Command.Name + " has been excluded.");
    TPlayer* Guest = World.player(Command.Name);
    if (Guest && Guest->Chat.Channels.erase(Actor.Chat.OwnChannel))
        Guest->send(ChannelClosedMessage(Actor.Chat.OwnChannel));
}

} // namespace

TPlayer* OwnerOf(TGameWorld& World, uint16_t Channel) {
    for (const std::shared_ptr<TPlayer>& Player : World.players())
        if (Channel != 0 && Player->Chat.OwnChannel == Channel) return Player.get();
    return nullptr;
}

std::string OwnChannelName(const TPlayer& Owner) { return Owner.Name + "'s Channel"; }

bool MayJoin(const TPlayer& Owner, const TPlayer& Player) {
    return &Owner == &Player || Owner.Chat.Invited.contains(LowerCase(Player.Name));
}

std::vector<std::pair<uint16_t, std::string>> InvitedChannels(TGameWorld& World, const TPlayer& Player) {
    std::vector<std::pair<uint16_t, std::string>> Channels;
    for (const std::shared_ptr<TPlayer>& Owner : World.players())
        if (Owner->Chat.OwnChannel != 0 && Owner.get() != &Player && MayJoin(*Owner, Player))
            Channels.emplace_back(Owner->Chat.OwnChannel, OwnChannelName(*Owner));
    return Channels;
}

void AddChatOwnChannel(THandlers& Handlers) {
    Handlers.add(COMMAND_OPEN_OWN_CHANNEL, OpenOwnChannel);
    Handlers.add(COMMAND_INVITE_TO_CHANNEL, Invite);
    Handlers.add(COMMAND_EXCLUDE_FROM_CHANNEL, Exclude);
}

} // namespace testserver
