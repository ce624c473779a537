// Rule-violation requests: a player files one statement, which waits in the queue of every gamemaster who
// has it open; a gamemaster takes it up (it leaves the queues), answers, and removes it, or the player
// cancels it; one open request per player. The gamemaster's own report on a player is acknowledged.
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/WorldChat.h"
#include "tools/testserver/WorldChatMessages.h"
#include "tools/testserver/WorldRoads.h"

#include <chrono>

namespace testserver {

namespace {

// Every gamemaster with the queue open gets Message.
void ToQueue(TGameWorld& World, const TMessage& Message) {
    for (const std::shared_ptr<TPlayer>& Player : World.players())
        if (Player->Gamemaster && Player->Chat.Channels.contains(REQUEST_QUEUE)) Player->send(Message);
}

TMessage QueueLine(TGameWorld& World, const TPlayer& Filer) {
    const TChatRequest& Request = *Filer.Chat.Request;
    const auto Waited = std::chrono::duration_cast<std::chrono::seconds>(World.now() - Request.Filed);
    return RequestTalkMessage(Request.Statement, Filer.Name, static_cast<uint32_t>(Waited.count()),
                              Request.Text);
}

void File(TGameWorld& World, TPlayer& Actor, const std::string& Text) {
    if (Actor.Chat.Request) return; // the first one stays
    Actor.Chat.Request = TChatRequest{Text, World.now(), World.nextStatement(), {}};
    ToQueue(World, QueueLine(World, Actor));
}

// The player whose request Gamemaster has taken up; null when there is none.
TPlayer* TakenBy(TGameWorld& World, const TPlayer& Gamemaster, const std::string& Name) {
    TPlayer* Filer = World.player(Name);
    if (!Filer || !Filer->Chat.Request || Filer->Chat.Request->Gamemaster != Gamemaster.Name) return nullptr;
    return Filer;
}

void ProcessRequest(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    TPlayer* Filer = Actor.Gamemaster ? World.player(Command.Name) : nullptr;
    if (!Filer || !Filer->Chat.Request || !Filer->Chat.Request->Gamemaster.empty())
        return Actor.send(SystemMessage(TALK_STATUS_ONLY, "This request is not waiting."));
    Filer->Chat.Request->Gamemaster = Actor.Name;
    ToQueue(World, RequestTakenMessage(Filer->Name));
}

void RemoveRequest(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    TPlayer* Filer = Actor.Gamemaster ? World.player(Command.Name) : nullptr;
    if (!Filer || !Filer->Chat.Request) return;
    if (Filer->Chat.Request->Gamemaster.empty()) ToQueue(World, RequestTakenMessage(Filer->Name));
    Filer->Chat.Request.reset();
    Filer->send(RequestClosedMessage());
}

void CancelRequest(TGameWorld& World, TPlayer& Actor, const TClientCommand&) {
    if (!Actor.Chat.Request) return;
    if (TPlayer* Gamemaster = World.player(Actor.Chat.Request->Gamemaster))
        Gamemaster->send(RequestFinishedMessage(Actor.Name));
    else
        ToQueue(World, RequestTakenMessage(Actor.Name));
    Actor.Chat.Request.reset();
}

void RuleViolation(TGameWorld&, TPlayer& Actor, const TClientCommand& Command) {
    if (!Actor.Gamemaster) return;
    Actor.send(SystemMessage(TALK_EVENT_STATUS, "Your report on " + Command.Name + " has been received."));
}

} // namespace

void OpenRequestQueue(TGameWorld& World, TPlayer& Actor) {
    Actor.Chat.Channels.insert(REQUEST_QUEUE);
    Actor.send(RequestQueueMessage(REQUEST_QUEUE));
    for (const std::shared_ptr<TPlayer>& Filer : World.players())
        if (Filer->Chat.Request && Filer->Chat.Request->Gamemaster.empty())
            Actor.send(QueueLine(World, *Filer));
}

void RequestTalk(TGameWorld& World, TPlayer& Actor, const TClientCommand& Command) {
    if (Command.Mode == TALK_GAMEMASTER_REQUEST) return File(World, Actor, Command.Text);
    if (Command.Mode == TALK_GAMEMASTER_ANSWER) {
        if (TPlayer* Filer = TakenBy(World, Actor, Command.Name))
            Filer->send(
                PrivateTalkMessage(World.nextStatement(), Actor.Name, TALK_GAMEMASTER_ANSWER, Command.Text));
        return;
    }
    const std::string Gamemaster = Actor.Chat.Request ? Actor.Chat.Request->Gamemaster : std::string();
    if (TPlayer* Taker = Gamemaster.empty() ? nullptr : World.player(Gamemaster))
        Taker->send(PrivateTalkMessage(World.nextStatement(), Actor.Name, TALK_PLAYER_ANSWER, Command.Text));
}

void AddChatRequests(THandlers& Handlers) {
    Handlers.add(COMMAND_PROCESS_REQUEST, ProcessRequest);
    Handlers.add(COMMAND_REMOVE_REQUEST, RemoveRequest);
    Handlers.add(COMMAND_CANCEL_REQUEST, CancelRequest);
    Handlers.add(COMMAND_RULE_VIOLATION, RuleViolation);
}

} // namespace testserver
