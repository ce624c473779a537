// Talk and channels: say, whisper and yell to the players in hearing range, private messages, the channel
// list and joining, private and own channels.
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/WorldRoads.h"

#include <cstdlib>

namespace testserver {

namespace {

inline constexpr uint16_t OWN_CHANNEL = 100;
const TChannel CHANNELS[] = {{1, "Pellarune Chat"}, {2, "Trade"}, {3, "Help"}};

// On the speaker's floor: a whisper reaches the fields around the speaker, a say what the listener's box
// shows, a yell twice the box's size around the speaker.
bool Hears(const TPlayer& Listener, TPosition Heard, TPosition Speaker, uint8_t Mode) {
    if (Heard.Z != Speaker.Z) return false;
    int dx = std::abs(Heard.X - Speaker.X), dy = std::abs(Heard.Y - Speaker.Y);
    switch (Mode) {
    case TALK_WHISPER:
        return dx <= 1 && dy <= 1;
    case TALK_YELL:
        return dx <= BOX_X && dy <= BOX_Y;
    default:
        return Listener.sees(Speaker);
    }
}

void Speak(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    const TPosition Where = World.creature(Actor).Position;
    const uint32_t Statement = World.nextStatement();
    for (const std::shared_ptr<TPlayer>& Listener : World.players())
        if (Hears(*Listener, World.creature(*Listener).Position, Where, Command.Mode))
            Listener->send(TalkMessage(Statement, Actor.Name, Command.Mode, Where, Command.Text));
}

// To the addressee; the sender's client shows its own line.
void PrivateMessage(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    TPlayer* Addressee = World.player(Command.Name);
    if (!Addressee)
        return Actor.send(SystemMessage(TALK_STATUS_ONLY, "A player with this name is not online."));
    Addressee->send(PrivateTalkMessage(World.nextStatement(), Actor.Name, Command.Mode, Command.Text));
}

void Talk(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    switch (Command.Mode) {
    case TALK_SAY:
    case TALK_WHISPER:
    case TALK_YELL:
        return Speak(World, Actor, Command);
    case TALK_PRIVATE_MESSAGE:
        return PrivateMessage(World, Actor, Command);
    case TALK_CHANNEL_CALL:
        return Actor.send(ChannelTalkMessage(World.nextStatement(), Actor.Name, Command.Mode, Command.Channel,
                                             Command.Text));
    default:
        return;
    }
}

void GetChannels(TGameWorld&, TPlayer& Actor, const TClientCommand&) {
    Actor.send(ChannelListMessage(CHANNELS));
}

void JoinChannel(TGameWorld&, TPlayer& Actor, const TClientCommand& Command) {
    for (const TChannel& Channel : CHANNELS)
        if (Channel.Id == Command.Channel) Actor.send(OpenChannelMessage(Channel.Id, Channel.Name));
}

void PrivateChannel(TGameWorld&, TPlayer& Actor, const TClientCommand& Command) {
    Actor.send(OpenPrivateChannelMessage(Command.Name));
}

void OpenOwnChannel(TGameWorld&, TPlayer& Actor, const TClientCommand&) {
    Actor.send(OpenOwnChannelMessage(OWN_CHANNEL, Actor.Name + "'s Channel"));
}

} // namespace

void AddChat(THandlers& Handlers) {
    Handlers.add(COMMAND_TALK, Talk);
    Handlers.add(COMMAND_GET_CHANNELS, GetChannels);
    Handlers.add(COMMAND_JOIN_CHANNEL, JoinChannel);
    Handlers.add(COMMAND_PRIVATE_CHANNEL, PrivateChannel);
    Handlers.add(COMMAND_OPEN_OWN_CHANNEL, OpenOwnChannel);
}

} // namespace testserver
