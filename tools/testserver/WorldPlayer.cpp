// A player's outbox and the pieces of its client's picture that every road builds on.
#include "tools/testserver/WorldPlayer.h"

#include "tools/testserver/GameMessages.h"

#include <utility>

namespace testserver {

TPlayer::TPlayer(std::string Name, uint32_t Id, uint32_t Account, bool Gamemaster)
    : Name(std::move(Name)), Id(Id), Account(Account), Gamemaster(Gamemaster) {
    OpenContainers.fill(-1);
}

void TPlayer::send(TMessage Message) {
    if (Outbox.empty()) Outbox.emplace_back();
    Outbox.back().push_back(std::move(Message));
}

void TPlayer::send(std::vector<TMessage> Messages) {
    for (TMessage& Message : Messages)
        send(std::move(Message));
}

void TPlayer::endBatch() {
    if (!Outbox.empty() && !Outbox.back().empty()) Outbox.emplace_back();
}

TOutbox TPlayer::takeOutbox() {
    if (!Outbox.empty() && Outbox.back().empty()) Outbox.pop_back();
    return std::exchange(Outbox, {});
}

std::vector<uint8_t> TPlayer::creatureBytes(const TCreature& Creature) {
    TWireWriter Bytes;
    auto Shield = Shields.find(Creature.Id);
    WriteCreature(Bytes, Creature, !Known.insert(Creature.Id).second,
                  Shield != Shields.end() ? Shield->second : 0);
    return Bytes.take();
}

TMessage TPlayer::fullMap(const TWorld& World) {
    View = World.creature(Id)->Position;
    TWireWriter Bytes;
    TFieldWriter Fields(Bytes, World, Known);
    WriteArea(Fields, View, 0, 0, BOX_X - 1, BOX_Y - 1);
    Fields.finish();
    return FullMapMessage(View, Bytes.data());
}

} // namespace testserver
