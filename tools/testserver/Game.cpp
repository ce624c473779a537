// The world's answers: entering, walking with its moves, slices and floor changes, looking, using
// containers, talk and channels, and the townsfolk's steps.
#include "tools/testserver/Game.h"

#include "tools/testserver/GameMessages.h"
#include "tools/testserver/Village.h"

#include <cstdlib>

namespace testserver {

namespace {

using namespace std::chrono_literals;

// A view change of more fields than this after a move goes as a full map instead of slices.
constexpr int MAX_SLICES = 3;
constexpr size_t CONTAINER_WINDOWS = 16;
constexpr uint16_t CONTAINER_SLOTS = 64; // place Y of slot 0 of container window 0

const TChannel CHANNELS[] = {{1, "Pellarune Chat"}, {2, "Trade"}, {3, "Help"}};

// As the client times a step: ground speed * 1000 / speed, up to whole beats; a diagonal step three times
// as long, not rounded.
std::chrono::milliseconds StepDuration(uint16_t GroundSpeed, uint16_t Speed, bool Diagonal) {
    if (Speed == 0) return 1000ms;
    if (Diagonal) return std::chrono::milliseconds(GroundSpeed * 3000 / Speed);
    int Duration = GroundSpeed * 1000 / Speed;
    return std::chrono::milliseconds((Duration + BEAT_MS - 1) / BEAT_MS * BEAT_MS);
}

std::string PositionText(TPosition Where) {
    return std::to_string(Where.X) + "," + std::to_string(Where.Y) + "," + std::to_string(Where.Z);
}

} // namespace

std::string DefaultDatFile() {
#ifdef EBRUN_TESTSERVER_DAT
    return EBRUN_TESTSERVER_DAT;
#else
    return {};
#endif
}

std::shared_ptr<const TWorldSetup> LoadWorld(const std::string& DatFile, TWorldOptions Options) {
    auto Types = std::make_shared<const TObjectTypes>(TObjectTypes::load(DatFile));
    return std::make_shared<const TWorldSetup>(TWorldSetup{village::BuildVillage(Types), Options});
}

TGame::TGame(const TWorldSetup& Setup, std::string Name)
    : World(Setup.Village), Options(Setup.Options), PlayerName(std::move(Name)) {
    OpenContainers.fill(-1);
    TPosition Start = Options.Start.value_or(World.Start);
    if (!World.enterable(Start)) throw TWireError("the start field " + PositionText(Start) + " is not free");
    TCreature Player;
    Player.Id = PLAYER_ID;
    Player.Name = PlayerName;
    Player.Outfit = village::OUTFIT_KNIGHT;
    Player.Colors = {96, 87, 114, 76};
    World.place(World.addCreature(std::move(Player)), Start);
    View = Start;
}

const TCreature& TGame::player() const { return *World.creature(PLAYER_ID); }

TCreature& TGame::me() { return *World.creature(PLAYER_ID); }

std::vector<TMessage> TGame::enter() {
    std::vector<TMessage> Out{EnterGameMessage(PLAYER_ID, BEAT_MS, true), fullMap(),
                              AmbientLightMessage(250, 215)};
    for (uint8_t Position = 1; Position <= BODY_POSITIONS; ++Position) {
        if (World.Body[Position].Type == 0) continue;
        TWireWriter Item;
        WriteItem(Item, World.types(), World.Body[Position]);
        Out.push_back(SetBodyMessage(Position, Item.data()));
    }
    Out.push_back(PlayerDataMessage({}));
    Out.push_back(PlayerSkillsMessage({10, 10, 12, 10, 14, 11, 10}, {}));
    Out.push_back(PlayerStateMessage(0));
    Out.push_back(
        SystemMessage(TALK_EVENT_STATUS, "Welcome to the Pellarune test world, " + PlayerName + "."));
    return Out;
}

std::vector<TMessage> TGame::handle(const TClientCommand& Command, TClock::time_point Now) {
    if (!Command.Read) return {};
    if (!Command.Steps.empty()) { // a path or one step
        Path.assign(Command.Steps.begin(), Command.Steps.end());
        return walkOn(Now);
    }
    if (Command.Type >= COMMAND_TURN_NORTH && Command.Type <= COMMAND_TURN_WEST)
        return turn(static_cast<uint8_t>(Command.Type - COMMAND_TURN_NORTH));
    switch (Command.Type) {
    case COMMAND_LOGOUT:
        LoggedOut = true;
        return {};
    case COMMAND_STOP:
        Path.clear();
        return {WalkCancelMessage(me().Facing)};
    case COMMAND_USE:
        return use(Command);
    case COMMAND_LOOK:
        return look(Command);
    case COMMAND_TALK:
        return talk(Command);
    case COMMAND_CLOSE_CONTAINER:
    case COMMAND_UP_CONTAINER:
    case COMMAND_REFRESH_CONTAINER:
        return containerCommand(Command);
    case COMMAND_GET_CHANNELS:
    case COMMAND_JOIN_CHANNEL:
    case COMMAND_PRIVATE_CHANNEL:
    case COMMAND_OPEN_OWN_CHANNEL:
        return channelCommand(Command);
    case COMMAND_REFRESH_FIELD: {
        TPosition Where{Command.Place.X, Command.Place.Y, Command.Place.Z};
        TWireWriter Field;
        TFieldWriter Fields(Field, World, Known);
        Fields.field(Where);
        Fields.finish();
        return {FieldMessage(Where, Field.data())};
    }
    default:
        return {};
    }
}

std::vector<TMessage> TGame::walkOn(TClock::time_point Now) {
    std::vector<TMessage> Out;
    while (!Path.empty() && (!Options.PaceWalking || Now >= NextStepAt)) {
        int Code = Path.front();
        Path.pop_front();
        step(Code, Now, Out);
        if (Options.PaceWalking) break;
    }
    return Out;
}

std::optional<TGame::TClock::time_point> TGame::nextStepAt() const {
    if (Path.empty()) return std::nullopt;
    return NextStepAt;
}

void TGame::step(int Code, TClock::time_point Now, std::vector<TMessage>& Out) {
    TCreature& Player = me();
    TPosition From = Player.Position;
    int dx = StepX(Code), dy = StepY(Code);
    Player.Facing = FacingOf(dx, dy, Player.Facing);
    TPosition To{From.X + dx, From.Y + dy, From.Z};
    TPosition Target = World.floorChange(To).value_or(To);
    if ((dx == 0 && dy == 0) || !World.enterable(Target)) {
        Path.clear();
        Out.push_back(WalkCancelMessage(Player.Facing));
        return;
    }
    bool Covered = InView(View, Target);
    uint8_t Left = static_cast<uint8_t>(World.lift(Player));
    World.place(Player, Target);
    if (Covered)
        Out.push_back(MoveCreatureMessage(From, Left, Target));
    else
        Out.push_back(DeleteObjectMessage(From, Left));
    follow(From, Target, Covered, Out);
    uint16_t GroundSpeed = World.types().groundSpeed(World.field(Target)->stack().front().Type);
    NextStepAt = Now + StepDuration(GroundSpeed, Player.Speed, dx != 0 && dy != 0);
}

// Brings the client's view to the player at To: one floor change at most, then slices; anything else,
// and a destination the client's box did not hold unless the floor change describes it, as a full map.
void TGame::follow(TPosition From, TPosition To, bool Covered, std::vector<TMessage>& Out) {
    int dz = To.Z - View.Z;
    TPosition After = View;
    if (dz != 0) After = {View.X - dz, View.Y - dz, View.Z + dz};
    bool DescribedByFloorChange = From.Z == SURFACE && To.Z == SURFACE + 1;
    if ((!Covered && !DescribedByFloorChange) || std::abs(dz) > 1 || std::abs(To.X - After.X) > MAX_SLICES ||
        std::abs(To.Y - After.Y) > MAX_SLICES) {
        Out.push_back(fullMap());
        return;
    }
    if (dz < 0) floorUp(Out);
    if (dz > 0) floorDown(Out);
    while (View.X < To.X)
        slice(TSlice::East, Out);
    while (View.X > To.X)
        slice(TSlice::West, Out);
    while (View.Y < To.Y)
        slice(TSlice::South, Out);
    while (View.Y > To.Y)
        slice(TSlice::North, Out);
}

void TGame::slice(TSlice Side, std::vector<TMessage>& Out) {
    int x0 = 0, y0 = 0, x1 = BOX_X - 1, y1 = BOX_Y - 1;
    switch (Side) {
    case TSlice::North:
        --View.Y;
        y1 = 0;
        break;
    case TSlice::East:
        ++View.X;
        x0 = BOX_X - 1;
        break;
    case TSlice::South:
        ++View.Y;
        y0 = BOX_Y - 1;
        break;
    case TSlice::West:
        --View.X;
        x1 = 0;
        break;
    }
    TWireWriter Bytes;
    TFieldWriter Fields(Bytes, World, Known);
    WriteArea(Fields, View, x0, y0, x1, y1);
    Fields.finish();
    Out.push_back(MapSliceMessage(Side, Bytes.data()));
}

void TGame::floorUp(std::vector<TMessage>& Out) {
    View = {View.X + 1, View.Y + 1, View.Z - 1};
    TWireWriter Bytes;
    TFieldWriter Fields(Bytes, World, Known);
    if (View.Z > SURFACE) WriteFloor(Fields, View, 4);
    if (View.Z == SURFACE)
        for (int rz = 2; rz < BOX_Z; ++rz)
            WriteFloor(Fields, View, rz);
    Fields.finish();
    Out.push_back(FloorUpMessage(Bytes.data()));
}

void TGame::floorDown(std::vector<TMessage>& Out) {
    View = {View.X - 1, View.Y - 1, View.Z + 1};
    TWireWriter Bytes;
    TFieldWriter Fields(Bytes, World, Known);
    if (View.Z > SURFACE + 1 && View.Z < 14) WriteFloor(Fields, View, 0);
    if (View.Z == SURFACE + 1)
        for (int rz = 2; rz >= 0; --rz)
            WriteFloor(Fields, View, rz);
    Fields.finish();
    Out.push_back(FloorDownMessage(Bytes.data()));
}

TMessage TGame::fullMap() {
    View = me().Position;
    TWireWriter Bytes;
    TFieldWriter Fields(Bytes, World, Known);
    WriteArea(Fields, View, 0, 0, BOX_X - 1, BOX_Y - 1);
    Fields.finish();
    return FullMapMessage(View, Bytes.data());
}

std::vector<uint8_t> TGame::creatureBytes(const TCreature& Creature) {
    TWireWriter Bytes;
    WriteCreature(Bytes, Creature, !Known.insert(Creature.Id).second);
    return Bytes.take();
}

std::vector<TMessage> TGame::stepCreatures() {
    std::vector<TMessage> Out;
    for (TCreature& Creature : World.creatures())
        if (Creature.Id != PLAYER_ID) showCreatureChange(Creature, World.act(Creature), Out);
    return Out;
}

void TGame::showCreatureChange(const TCreature& Creature, const TCreatureChange& Change,
                               std::vector<TMessage>& Out) {
    using enum TCreatureChange::TKind;
    bool InFrom = InView(View, Change.From), InTo = InView(View, Change.To);
    uint8_t Left = static_cast<uint8_t>(Change.FromPosition);
    if (Change.Kind == Appeared && InTo) {
        Out.push_back(AddObjectMessage(Change.To, creatureBytes(Creature)));
        Out.push_back(GraphicEffectMessage(Change.To, village::EFFECT_TELEPORT));
    } else if (Change.Kind == Moved && InFrom && InTo) {
        Out.push_back(MoveCreatureMessage(Change.From, Left, Change.To));
    } else if (Change.Kind == Moved && InFrom) {
        Out.push_back(DeleteObjectMessage(Change.From, Left));
    } else if (Change.Kind == Moved && InTo) {
        Out.push_back(AddObjectMessage(Change.To, creatureBytes(Creature)));
    } else if (Change.Kind == Disappeared && InFrom) {
        Out.push_back(DeleteObjectMessage(Change.From, Left));
        Out.push_back(GraphicEffectMessage(Change.From, village::EFFECT_PUFF));
    }
}

const TThing* TGame::thingAt(const TPlace& Place, uint8_t StackPosition) const {
    if (Place.onMap()) {
        const TField* Field = World.field({Place.X, Place.Y, Place.Z});
        if (!Field || StackPosition >= Field->stack().size()) return nullptr;
        return &Field->stack()[StackPosition];
    }
    if (Place.Y >= 1 && Place.Y <= BODY_POSITIONS) {
        const TThing& Item = World.Body[Place.Y];
        return Item.Type != 0 ? &Item : nullptr;
    }
    if (Place.Y < CONTAINER_SLOTS || Place.Y >= CONTAINER_SLOTS + CONTAINER_WINDOWS) return nullptr;
    int Index = OpenContainers[Place.Y - CONTAINER_SLOTS];
    if (Index < 0) return nullptr;
    const std::vector<TThing>& Items = World.container(Index).Items;
    return Place.Z < Items.size() ? &Items[Place.Z] : nullptr;
}

std::vector<TMessage> TGame::look(const TClientCommand& Command) const {
    const TThing* Thing = thingAt(Command.Place, Command.StackPosition);
    std::string Text = "You see nothing special.";
    if (Thing && Thing->Type != CREATURE)
        Text = "You see " + World.describe(*Thing) + ".";
    else if (Thing && Thing->CreatureId == PLAYER_ID)
        Text = "You see yourself.";
    else if (const TCreature* Creature = Thing ? World.creature(Thing->CreatureId) : nullptr)
        Text = "You see " + Creature->Name + ".";
    return {SystemMessage(TALK_EVENT_STATUS, Text)};
}

std::vector<TMessage> TGame::use(const TClientCommand& Command) {
    const TThing* Thing = thingAt(Command.Place, Command.StackPosition);
    if (Thing && Thing->Contents >= 0 && Command.Container < CONTAINER_WINDOWS)
        return openContainer(Command.Container, Thing->Contents);
    return {SystemMessage(TALK_STATUS_ONLY, "You cannot use this object.")};
}

std::vector<TMessage> TGame::openContainer(uint8_t Number, int Index) {
    OpenContainers[Number] = Index;
    const TContainer& Container = World.container(Index);
    return {OpenContainerMessage(Number, Container.Type, World.name(Container.Type), Container.Capacity,
                                 Container.Parent >= 0, Container.Items, World.types())};
}

std::vector<TMessage> TGame::containerCommand(const TClientCommand& Command) {
    uint8_t Number = Command.Container;
    if (Number >= CONTAINER_WINDOWS) return {};
    int Index = OpenContainers[Number];
    if (Command.Type == COMMAND_CLOSE_CONTAINER) {
        OpenContainers[Number] = -1;
        return {CloseContainerMessage(Number)};
    }
    if (Index < 0) return {};
    if (Command.Type == COMMAND_REFRESH_CONTAINER) return openContainer(Number, Index);
    int Parent = World.container(Index).Parent;
    return Parent >= 0 ? openContainer(Number, Parent) : std::vector<TMessage>{};
}

std::vector<TMessage> TGame::talk(const TClientCommand& Command) {
    switch (Command.Mode) {
    case TALK_SAY:
    case TALK_WHISPER:
    case TALK_YELL:
        return {TalkMessage(++Statement, PlayerName, Command.Mode, me().Position, Command.Text)};
    case TALK_CHANNEL_CALL:
        return {ChannelTalkMessage(++Statement, PlayerName, Command.Mode, Command.Channel, Command.Text)};
    case TALK_PRIVATE_MESSAGE:
        return {SystemMessage(TALK_STATUS_ONLY, "A player with this name is not online.")};
    default:
        return {};
    }
}

std::vector<TMessage> TGame::channelCommand(const TClientCommand& Command) {
    switch (Command.Type) {
    case COMMAND_GET_CHANNELS:
        return {ChannelListMessage(CHANNELS)};
    case COMMAND_PRIVATE_CHANNEL:
        return {OpenPrivateChannelMessage(Command.Name)};
    case COMMAND_OPEN_OWN_CHANNEL:
        return {OpenOwnChannelMessage(OWN_CHANNEL, PlayerName + "'s Channel")};
    default:
        for (const TChannel& Channel : CHANNELS)
            if (Channel.Id == Command.Channel) return {OpenChannelMessage(Channel.Id, Channel.Name)};
        return {};
    }
}

std::vector<TMessage> TGame::turn(uint8_t Facing) {
    TCreature& Player = me();
    Player.Facing = Facing;
    int Position = World.field(Player.Position)->find(PLAYER_ID);
    return {ChangeObjectMessage(Player.Position, static_cast<uint8_t>(Position), creatureBytes(Player))};
}

} // namespace testserver
