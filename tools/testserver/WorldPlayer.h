// One player in a live world: who it is, the picture its client holds (view position, known creatures,
// open container windows), its walk, and the messages that wait for its session.
#pragma once

#include "tools/testserver/GameMessages.h"
#include "tools/testserver/MapView.h"
#include "tools/testserver/Wire.h"
#include "tools/testserver/World.h"
#include "tools/testserver/WorldChatState.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace testserver {

inline constexpr size_t CONTAINER_WINDOWS = 16;
inline constexpr uint16_t CONTAINER_PLACES = 64; // place Y of container window 0

// What waits for one session, in batches: each batch is what one action of the world sent to the player
// and goes out in frames of its own.
using TOutbox = std::vector<std::vector<TMessage>>;

// Owned by the world and guarded by its lock, like everything the world's handlers touch.
class TPlayer {
public:
    using TClock = std::chrono::steady_clock;

    TPlayer(std::string Name, uint32_t Id, uint32_t Account, bool Gamemaster);

    const std::string Name; // as the game login gave it
    const uint32_t Id;      // of its creature
    const uint32_t Account; // of the game login
    const bool Gamemaster;  // the game login's gamemaster flag

    // Queues for the player's session, which sends within one slice of its loop.
    void send(TMessage Message);
    void send(std::vector<TMessage> Messages);
    // Ends the current batch; the world calls it after each action.
    void endBatch();
    TOutbox takeOutbox();

    // Whether the client's box holds Where.
    bool sees(TPosition Where) const { return InView(View, Where); }
    // A creature as this client is to read it: in full the first time, then the id and facing.
    std::vector<uint8_t> creatureBytes(const TCreature& Creature);
    // The whole box around the player's creature, whose field becomes the view position.
    TMessage fullMap(const TWorld& World);

    // The client's picture, kept in step with the messages built for it.
    TPosition View{};
    TCreatureBook Known;
    std::array<int, CONTAINER_WINDOWS> OpenContainers; // the container index shown in each window, -1 closed

    // The player's side of a trade: the partner's creature id (0: no trade), the offered thing's spot and
    // type, and whether the player has accepted the partner's offer.
    struct TTradeSide {
        uint32_t Partner = 0;
        TSpot Offered;
        uint16_t Type = 0;
        bool Accepted = false;
    } Trade;

    std::deque<uint8_t> Path;        // direction codes still to walk
    TClock::time_point NextStepAt{}; // paced walking: when the last step has ended
    bool PingPending = false;        // a ping was sent and its answer (command 30) has not come yet
    bool LoggedOut = false;          // set by the logout command; the world then takes the player out
    TChatState Chat;

    // Fighting: the values the client shows, the modes it sent, whom it attacks or follows.
    TPlayerValues Values;
    std::array<uint8_t, 7> Skills{10, 10, 12, 10, 14, 11, 10}, SkillProgress{};
    uint8_t AttackMode = 0, ChaseMode = 0, SecureMode = 1;
    uint32_t AttackTarget = 0, FollowTarget = 0;
    TClock::time_point NextRoundAt{}; // of the fight against AttackTarget

    // Party: the leader's id while in a party (its own when leading), the players it invited, and the shield
    // this client shows on each creature.
    uint32_t PartyLeader = 0;
    std::set<uint32_t> Invited;
    std::map<uint32_t, uint8_t> Shields;

    int LightSent = -1; // brightness << 8 | colour of the ambient light the client has; -1 none yet

    // The text dialogs open in the client, by the identifier they were sent with: the field of the thing.
    std::map<uint32_t, TPosition> OpenTexts;

private:
    TOutbox Outbox;
};

} // namespace testserver
