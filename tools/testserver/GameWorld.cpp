// The live world: entering and leaving, the lock around every command and tick, the townsfolk's clock,
// and the services the roads' handlers use.
#include "tools/testserver/GameWorld.h"

#include "tools/testserver/Village.h"
#include "tools/testserver/WorldChatMessages.h"
#include "tools/testserver/WorldRoads.h"
#include "tools/testserver/WorldThings.h"

#include <algorithm>

namespace testserver {

namespace {

// How far from the start a free field is looked for, in rings of fields around it.
constexpr int START_SEARCH = 8;

struct TLook {
    uint16_t Outfit;
    std::array<uint8_t, 4> Colors;
};
// Players' looks, chosen by creature id; Aldric, the first default character, keeps the first.
const TLook LOOKS[] = {{village::OUTFIT_KNIGHT, {96, 87, 114, 76}},
                       {village::OUTFIT_MAGE, {79, 94, 101, 115}},
                       {village::OUTFIT_CITIZEN, {58, 68, 109, 95}}};

bool IsPlayerId(uint32_t Id) { return Id < 0x40000000; }

std::string PositionText(TPosition Where) {
    return std::to_string(Where.X) + "," + std::to_string(Where.Y) + "," + std::to_string(Where.Z);
}

} // namespace

TGameWorld::TGameWorld(std::shared_ptr<const TWorldSetup> Setup, const std::atomic<uint32_t>* CreatureSteps)
    : Setup(std::move(Setup)), CreatureSteps(CreatureSteps), World(this->Setup->Village) {}

std::shared_ptr<TPlayer> TGameWorld::enter(const TLogin& Login, TClock::time_point At) {
    std::lock_guard Lock(Mutex);
    Now = At;
    if (player(Login.Name)) return nullptr;
    TPosition Start = freeFieldNear(options().Start.value_or(World.Start));
    if (Players.empty()) { // the townsfolk's steps count from the first player's arrival
        StepsDone = CreatureSteps ? CreatureSteps->load() : 0;
        NextCreatureStep = Now + options().CreatureInterval;
    }
    if (Started == TClock::time_point{}) Started = Now;
    auto Player = std::make_shared<TPlayer>(Login.Name, freeId(Login.Name), Login.Account, Login.Gamemaster);
    Players.push_back(Player);
    TCreature& Creature = addPlayerCreature(*Player, Start);
    sendEntry(*Player);
    showCreatureChange(Creature, {TCreatureChange::TKind::Appeared, Start, Start, 0}, Player.get());
    EnterSocial(*this, *Player);
    endAction();
    return Player;
}

void TGameWorld::leave(TPlayer& Player) {
    std::lock_guard Lock(Mutex);
    if (!player(Player.Id)) return;
    remove(Player);
    endAction();
}

TOutbox TGameWorld::act(TPlayer& Player, const TClientCommand& Command, TClock::time_point At) {
    std::lock_guard Lock(Mutex);
    Now = At;
    THandler Handler = Handlers().find(Command.Type);
    if (Handler && Command.Known && player(Player.Id)) Handler(*this, Player, Command);
    if (Player.LoggedOut && player(Player.Id)) remove(Player);
    endAction();
    return Player.takeOutbox();
}

TOutbox TGameWorld::tick(TPlayer& Player, TClock::time_point At) {
    std::lock_guard Lock(Mutex);
    Now = At;
    for (uint32_t Asked = CreatureSteps ? CreatureSteps->load() : 0; StepsDone != Asked; ++StepsDone) {
        stepCreatures();
        endAction();
    }
    const std::chrono::milliseconds Interval = options().CreatureInterval;
    if (Interval.count() > 0 && Now >= NextCreatureStep) {
        stepCreatures();
        NextCreatureStep = Now + Interval;
        endAction();
    }
    if (Player.FollowTarget != 0 && player(Player.Id)) FollowOn(*this, Player);
    if (!Player.Path.empty() && player(Player.Id)) {
        WalkOn(*this, Player);
        endAction();
    }
    if (Player.AttackTarget != 0 && player(Player.Id)) {
        FightOn(*this, Player);
        endAction();
    }
    ShineOn(*this, Player);
    endAction();
    return Player.takeOutbox();
}

void TGameWorld::perform(const std::function<void(TGameWorld&)>& Act) {
    std::lock_guard Lock(Mutex);
    Now = TClock::now();
    Act(*this);
    endAction();
}

void TGameWorld::inspect(const std::function<void(const TGameWorld&)>& Look) const {
    std::lock_guard Lock(Mutex);
    Look(*this);
}

int TGameWorld::timeOfDay() const {
    const auto Seconds = std::chrono::duration_cast<std::chrono::seconds>(Now - Started).count();
    const int64_t Minutes = options().DayStart.count() + Seconds * options().DaySpeed;
    return static_cast<int>(Minutes % (24 * 60));
}

TPlayer* TGameWorld::player(std::string_view Name) {
    for (const std::shared_ptr<TPlayer>& Player : Players)
        if (SameName(Player->Name, Name)) return Player.get();
    return nullptr;
}

TPlayer* TGameWorld::player(uint32_t Id) {
    for (const std::shared_ptr<TPlayer>& Player : Players)
        if (Player->Id == Id) return Player.get();
    return nullptr;
}

TBody& TGameWorld::body(const TPlayer& Player) {
    auto [Found, New] = Bodies.try_emplace(LowerCase(Player.Name));
    if (New) { // the village's start equipment, with containers of the character's own
        Found->second = World.Body;
        for (TThing& Item : Found->second)
            if (Item.Contents >= 0) Item.Contents = World.copyContainer(Item.Contents, -1);
    }
    return Found->second;
}

void TGameWorld::toViewers(TPosition Where, const std::function<void(TPlayer&)>& Send) {
    for (const std::shared_ptr<TPlayer>& Player : Players)
        if (Player->sees(Where)) Send(*Player);
}

void TGameWorld::showCreatureChange(const TCreature& Creature, const TCreatureChange& Change,
                                    const TPlayer* Except) {
    using enum TCreatureChange::TKind;
    uint8_t Left = static_cast<uint8_t>(Change.FromPosition);
    for (const std::shared_ptr<TPlayer>& Viewer : Players) {
        if (Viewer.get() == Except) continue;
        TPlayer& p = *Viewer;
        bool InFrom = p.sees(Change.From), InTo = p.sees(Change.To);
        if (Change.Kind == Appeared && InTo) {
            p.send(AddObjectMessage(Change.To, p.creatureBytes(Creature)));
            p.send(GraphicEffectMessage(Change.To, village::EFFECT_TELEPORT));
        } else if (Change.Kind == Moved && InFrom && InTo) {
            p.send(MoveCreatureMessage(Change.From, Left, Change.To));
        } else if (Change.Kind == Moved && InFrom) {
            p.send(DeleteObjectMessage(Change.From, Left));
        } else if (Change.Kind == Moved && InTo) {
            p.send(AddObjectMessage(Change.To, p.creatureBytes(Creature)));
        } else if (Change.Kind == Disappeared && InFrom) {
            p.send(DeleteObjectMessage(Change.From, Left));
            p.send(GraphicEffectMessage(Change.From, village::EFFECT_PUFF));
        }
    }
}

const TThing* TGameWorld::thingAt(const TPlayer& Player, const TPlace& Place, uint8_t StackPosition) {
    return ThingAt(*this, Player, SpotOf(Player, Place, StackPosition));
}

TPosition TGameWorld::freeFieldNear(TPosition Start) const {
    for (int Ring = 0; Ring <= START_SEARCH; ++Ring)
        for (int dy = -Ring; dy <= Ring; ++dy)
            for (int dx = -Ring; dx <= Ring; ++dx) {
                TPosition Where{Start.X + dx, Start.Y + dy, Start.Z};
                bool OnRing = std::max(std::abs(dx), std::abs(dy)) == Ring;
                if (OnRing && World.enterable(Where)) return Where;
            }
    throw TWireError("no free field near the start field " + PositionText(Start));
}

uint32_t TGameWorld::freeId(std::string_view Name) const {
    uint32_t Id = PlayerId(Name);
    while (World.creature(Id))
        Id = IsPlayerId(Id + 1) ? Id + 1 : 0x10000000;
    return Id;
}

TCreature& TGameWorld::addPlayerCreature(const TPlayer& Player, TPosition Where) {
    const TLook& Look = LOOKS[(Player.Id - PLAYER_ID) % std::size(LOOKS)];
    TCreature Creature;
    Creature.Id = Player.Id;
    Creature.Name = Player.Name;
    Creature.Outfit = Look.Outfit;
    Creature.Colors = Look.Colors;
    TCreature& Added = World.addCreature(std::move(Creature));
    World.place(Added, Where);
    return Added;
}

// Enter game, the full map, light, body, player values and a welcome line.
void TGameWorld::sendEntry(TPlayer& Player) {
    Player.send(EnterGameMessage(Player.Id, BEAT_MS, true));
    Player.send(Player.fullMap(World));
    ShineOn(*this, Player);
    const TBody& Body = body(Player);
    for (uint8_t Position = 1; Position <= BODY_POSITIONS; ++Position) {
        if (Body[Position].Type == 0) continue;
        TWireWriter Item;
        WriteItem(Item, World.types(), Body[Position]);
        Player.send(SetBodyMessage(Position, Item.data()));
    }
    Player.send(PlayerDataMessage(Player.Values));
    Player.send(PlayerSkillsMessage(Player.Skills, Player.SkillProgress));
    Player.send(PlayerStateMessage(0));
    if (Player.Gamemaster) Player.send(RightsMessage(GAMEMASTER_RIGHTS));
    Player.send(
        SystemMessage(TALK_EVENT_STATUS, "Welcome to the Pellarune test world, " + Player.Name + "."));
}

void TGameWorld::remove(TPlayer& Player) {
    CancelTrade(*this, Player);
    LeaveSocial(*this, Player);
    TCreature& Creature = creature(Player);
    TPosition From = Creature.Position;
    int Left = World.lift(Creature);
    showCreatureChange(Creature, {TCreatureChange::TKind::Disappeared, From, From, Left}, &Player);
    World.removeCreature(Player.Id);
    std::erase_if(Players, [&](const std::shared_ptr<TPlayer>& p) { return p.get() == &Player; });
}

void TGameWorld::stepCreatures() {
    for (TCreature& Creature : World.creatures())
        if (!IsPlayerId(Creature.Id)) showCreatureChange(Creature, World.act(Creature));
}

void TGameWorld::endAction() {
    for (const std::shared_ptr<TPlayer>& Player : Players)
        Player->endBatch();
}

std::shared_ptr<TGameWorld> TWorldRegistry::of(const std::shared_ptr<const TWorldSetup>& Setup) {
    std::lock_guard Lock(Mutex);
    std::shared_ptr<TGameWorld>& World = Worlds[Setup.get()];
    if (!World) World = std::make_shared<TGameWorld>(Setup, CreatureSteps);
    return World;
}

} // namespace testserver
