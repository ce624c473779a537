// The handler table and the session's own commands.
#include "tools/testserver/WorldRoads.h"

#include "tools/testserver/GameWorld.h"

#include <stdexcept>
#include <string>

namespace testserver {

void THandlers::add(uint8_t Command, THandler Handler) {
    if (Table[Command]) throw std::logic_error("two handlers of command " + std::to_string(Command));
    Table[Command] = Handler;
}

const THandlers& Handlers() {
    static const THandlers Table = [] {
        THandlers Roads;
        AddSession(Roads);
        AddWalking(Roads);
        AddLooking(Roads);
        AddContainers(Roads);
        AddChat(Roads);
        AddChatOwnChannel(Roads);
        AddChatRequests(Roads);
        AddSocial(Roads);
        AddCombat(Roads);
        AddTexts(Roads);
        AddItems(Roads);
        AddTrade(Roads);
        return Roads;
    }();
    return Table;
}

void AddSession(THandlers& Handlers) {
    // The world takes the player out after the handler; the session then ends.
    Handlers.add(COMMAND_LOGOUT,
                 [](TGameWorld&, TPlayer& Actor, const TClientCommand&) { Actor.LoggedOut = true; });
    Handlers.add(COMMAND_PING,
                 [](TGameWorld&, TPlayer& Actor, const TClientCommand&) { Actor.PingPending = false; });
}

void Ping(TPlayer& Player) {
    Player.send(PingMessage());
    Player.PingPending = true;
}

} // namespace testserver
