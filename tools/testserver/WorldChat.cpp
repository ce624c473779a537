// Talk and channels: say, whisper and yell to the players in hearing range, private messages (townsfolk
// answer), the gamemasters' broadcasts, the channel list, joining and leaving, channel talk to every member,
// and private conversations.
#include "tools/testserver/WorldChat.h"
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/WorldChatMessages.h"
#include "tools/testserver/WorldRoads.h"

#include <cstdlib>

namespace testserver {

namespace {

const TChannel CHANNELS[] = {{1, "Pellarune Chat"}, {2, "Trade"}, {7, "Help"}};
constexpr uint16_t OWN_CHANNEL_ENTRY = 65535; // the list's line that opens the own channel

// Townsfolk answer a private message with their line.
struct TTownspersonAnswer {
    std::string_view Name, Answer;
};
const TTownspersonAnswer ANSWERS[] = {
    {"Gregor", "Greetings, traveller. The chest by the house holds a bag."},
    {"Mira", "I have no time for chatter."},
};

const TTownspersonAnswer* Townsperson(std::string_view Name) {
    for (const TTownspersonAnswer& Entry : ANSWERS)
        if (SameName(Entry.Name, Name)) return &Entry;
    return nullptr;
}

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
    const TMessage Said = TalkMessage(World.nextStatement(), Actor.Name, Command.Mode, Where, Command.Text);
    for (const std::shared_ptr<TPlayer>& Listener : World.players())
        if (Hears(*Listener, World.creature(*Listener).Position, Where, Command.Mode)) Listener->send(Said);
}

// To the addressee (an anonymous message as a notice); the sender's client shows its own line. A townsperson
// answers at once.
void PrivateMessage(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    TPlayer* Addressee = World.player(Command.Name);
    if (Addressee && Command.Mode == TALK_ANONYMOUS_MESSAGE)
        return Addressee->send(SystemMessage(TALK_ADMIN_MESSAGE, Command.Text));
    if (Addressee)
        return Addressee->send(
            PrivateTalkMessage(World.nextStatement(), Actor.Name, Command.Mode, Command.Text));
    if (const TTownspersonAnswer* Answer = Townsperson(Command.Name))
        return Actor.send(
            PrivateTalkMessage(World.nextStatement(), Answer->Name, TALK_PRIVATE_MESSAGE, Answer->Answer));
    Actor.send(SystemMessage(TALK_STATUS_ONLY, "A player with this name is not online."));
}

void Broadcast(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    const uint32_t Statement = World.nextStatement();
    const TMessage Said = Command.Mode == TALK_ANONYMOUS_BROADCAST
                              ? SystemMessage(TALK_ADMIN_MESSAGE, Command.Text)
                              : PrivateTalkMessage(Statement, Actor.Name, Command.Mode, Command.Text);
    for (const std::shared_ptr<TPlayer>& Listener : World.players())
        Listener->send(Said);
}

// To every member of the channel, the speaker too, when the speaker is one; anonymous without a name.
void ChannelTalk(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    if (!Actor.Chat.Channels.contains(Command.Channel)) return;
    const std::string Speaker = Command.Mode == TALK_ANONYMOUS_CHANNELCALL ? "" : Actor.Name;
    const TMessage Said =
        ChannelTalkMessage(World.nextStatement(), Speaker, Command.Mode, Command.Channel, Command.Text);
    for (const std::shared_ptr<TPlayer>& Member : World.players())
        if (Member->Chat.Channels.contains(Command.Channel)) Member->send(Said);
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
        return ChannelTalk(World, Actor, Command);
    case TALK_GAMEMASTER_REQUEST:
    case TALK_GAMEMASTER_ANSWER:
    case TALK_PLAYER_ANSWER:
        return RequestTalk(World, Actor, Command);
    default:
        break;
    }
    if (!Actor.Gamemaster) return; // the other modes are the gamemasters'
    switch (Command.Mode) {
    case TALK_GAMEMASTER_BROADCAST:
    case TALK_ANONYMOUS_BROADCAST:
        return Broadcast(World, Actor, Command);
    case TALK_GAMEMASTER_CHANNELCALL:
    case TALK_ANONYMOUS_CHANNELCALL:
        return ChannelTalk(World, Actor, Command);
    case TALK_GAMEMASTER_MESSAGE:
    case TALK_ANONYMOUS_MESSAGE:
        return PrivateMessage(World, Actor, Command);
    default:
        return;
    }
}

void GetChannels(TGameWorld& World, TPlayer& Actor, const TClientCommand&) {
    std::vector<std::pair<uint16_t, std::string>> Names = InvitedChannels(World, Actor);
    if (Actor.Gamemaster) Names.emplace_back(REQUEST_QUEUE, "Rule Violations");
    Names.emplace_back(OWN_CHANNEL_ENTRY, "Private Chat Channel");
    std::vector<TChannel> List(std::begin(CHANNELS), std::end(CHANNELS));
    for (const auto& [Id, Name] : Names)
        List.push_back({Id, Name});
    Actor.send(ChannelListMessage(List));
}

void JoinChannel(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    const uint16_t Id = Command.Channel;
    if (Id == REQUEST_QUEUE && Actor.Gamemaster) return OpenRequestQueue(World, Actor);
    for (const TChannel& Channel : CHANNELS)
        if (Channel.Id == Id) {
            Actor.Chat.Channels.insert(Id);
            return Actor.send(OpenChannelMessage(Id, Channel.Name));
        }
    if (TPlayer* Owner = OwnerOf(World, Id); Owner && MayJoin(*Owner, Actor)) {
        Actor.Chat.Channels.insert(Id);
        return Actor.send(OpenChannelMessage(Id, OwnChannelName(*Owner)));
    }
    Actor.send(SystemMessage(TALK_STATUS_ONLY, "You are not invited to this channel."));
}

// The owner leaving the own channel closes it for every member.
void LeaveChannel(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    Actor.Chat.Channels.erase(Command.Channel);
    if (Command.Channel != Actor.Chat.OwnChannel) return;
    for (const std::shared_ptr<TPlayer>& Member : World.players())
        if (Member->Chat.Channels.erase(Command.Channel)) Member->send(ChannelClosedMessage(Command.Channel));
    Actor.Chat.OwnChannel = 0;
    Actor.Chat.Invited.clear();
}

// A conversation with a player who is online or a townsperson; the name as the world writes it.
void PrivateChannel(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    if (const TPlayer* Partner = World.player(Command.Name))
        return Actor.send(OpenPrivateChannelMessage(Partner->Name));
    if (const TTownspersonAnswer* Partner = Townsperson(Command.Name))
        return Actor.send(OpenPrivateChannelMessage(Partner->Name));
    Actor.send(SystemMessage(TALK_STATUS_ONLY, "A player with this name is not online."));
}

} // namespace

void AddChat(THandlers& Handlers) {
    Handlers.add(COMMAND_TALK, Talk);
    Handlers.add(COMMAND_GET_CHANNELS, GetChannels);
    Handlers.add(COMMAND_JOIN_CHANNEL, JoinChannel);
    Handlers.add(COMMAND_LEAVE_CHANNEL, LeaveChannel);
    Handlers.add(COMMAND_PRIVATE_CHANNEL, PrivateChannel);
}

} // namespace testserver
