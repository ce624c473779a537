// Layouts of the world's game messages.
#include "tools/testserver/GameMessages.h"

namespace testserver {

namespace {

TMessage WithBody(uint8_t Type, std::span<const uint8_t> Body) {
    return TWireWriter().u8(Type).bytes(Body).take();
}

uint8_t CheckedCount(size_t Count, const char* What) {
    if (Count > 255) throw TWireError(std::string(What) + " of " + std::to_string(Count) + " entries");
    return static_cast<uint8_t>(Count);
}

} // namespace

TWireWriter& WritePosition(TWireWriter& Writer, TPosition Where) {
    return Writer.u16(static_cast<uint16_t>(Where.X))
        .u16(static_cast<uint16_t>(Where.Y))
        .u8(static_cast<uint8_t>(Where.Z));
}

void WriteItem(TWireWriter& Writer, const TObjectTypes& Types, const TThing& Item) {
    Writer.u16(Item.Type);
    for (int i = Types.dataBytes(Item.Type); i > 0; --i)
        Writer.u8(Item.Data);
}

void WriteCreature(TWireWriter& Writer, const TCreature& Creature, bool Known, uint8_t Shield) {
    if (Known) {
        Writer.u16(KNOWN_CREATURE).u32(Creature.Id).u8(Creature.Facing);
        return;
    }
    Writer.u16(UNKNOWN_CREATURE).u32(0).u32(Creature.Id).string(Creature.Name);
    Writer.u8(Creature.Health).u8(Creature.Facing).u16(Creature.Outfit);
    for (uint8_t Color : Creature.Colors)
        Writer.u8(Color);
    Writer.u8(0).u8(0).u16(Creature.Speed).u8(Creature.Skull).u8(Shield); // no light
}

TMessage EnterGameMessage(uint32_t PlayerId, uint16_t BeatMs, bool BugReports) {
    return TWireWriter().u8(10).u32(PlayerId).u16(BeatMs).u8(BugReports ? 1 : 0).take();
}

TMessage PingMessage() { return TWireWriter().u8(30).take(); }

TMessage FullMapMessage(TPosition View, std::span<const uint8_t> Fields) {
    TWireWriter Writer;
    WritePosition(Writer.u8(100), View);
    return Writer.bytes(Fields).take();
}

TMessage MapSliceMessage(TSlice Side, std::span<const uint8_t> Fields) {
    return WithBody(static_cast<uint8_t>(Side), Fields);
}

TMessage FieldMessage(TPosition Where, std::span<const uint8_t> Field) {
    TWireWriter Writer;
    WritePosition(Writer.u8(105), Where);
    return Writer.bytes(Field).take();
}

TMessage AddObjectMessage(TPosition Where, std::span<const uint8_t> Object) {
    TWireWriter Writer;
    WritePosition(Writer.u8(106), Where);
    return Writer.bytes(Object).take();
}

TMessage ChangeObjectMessage(TPosition Where, uint8_t StackPosition, std::span<const uint8_t> Object) {
    TWireWriter Writer;
    WritePosition(Writer.u8(107), Where).u8(StackPosition);
    return Writer.bytes(Object).take();
}

TMessage DeleteObjectMessage(TPosition Where, uint8_t StackPosition) {
    TWireWriter Writer;
    WritePosition(Writer.u8(108), Where).u8(StackPosition);
    return Writer.take();
}

TMessage MoveCreatureMessage(TPosition From, uint8_t StackPosition, TPosition To) {
    TWireWriter Writer;
    WritePosition(WritePosition(Writer.u8(109), From).u8(StackPosition), To);
    return Writer.take();
}

TMessage FloorUpMessage(std::span<const uint8_t> Floors) { return WithBody(190, Floors); }

TMessage FloorDownMessage(std::span<const uint8_t> Floors) { return WithBody(191, Floors); }

TMessage WalkCancelMessage(uint8_t Facing) { return TWireWriter().u8(181).u8(Facing).take(); }

TMessage OpenContainerMessage(uint8_t Number, uint16_t Type, std::string_view Name, uint8_t Capacity,
                              bool HasParent, std::span<const TThing> Items, const TObjectTypes& Types) {
    TWireWriter Writer;
    Writer.u8(110).u8(Number).u16(Type).string(Name).u8(Capacity).u8(HasParent ? 1 : 0);
    Writer.u8(CheckedCount(Items.size(), "container"));
    for (const TThing& Item : Items)
        WriteItem(Writer, Types, Item);
    return Writer.take();
}

TMessage CloseContainerMessage(uint8_t Number) { return TWireWriter().u8(111).u8(Number).take(); }

TMessage SetBodyMessage(uint8_t BodyPosition, std::span<const uint8_t> Object) {
    return TWireWriter().u8(120).u8(BodyPosition).bytes(Object).take();
}

TMessage AmbientLightMessage(uint8_t Brightness, uint8_t Color) {
    return TWireWriter().u8(130).u8(Brightness).u8(Color).take();
}

TMessage GraphicEffectMessage(TPosition Where, uint8_t EffectType) {
    TWireWriter Writer;
    WritePosition(Writer.u8(131), Where).u8(EffectType);
    return Writer.take();
}

TMessage PlayerDataMessage(const TPlayerValues& v) {
    TWireWriter Writer;
    Writer.u8(160).u16(v.Hitpoints).u16(v.MaxHitpoints).u16(v.Capacity).u32(v.Experience).u16(v.Level);
    Writer.u8(v.LevelProgress).u16(v.Mana).u16(v.MaxMana).u8(v.MagicLevel).u8(v.MagicLevelProgress);
    return Writer.u8(v.SoulPoints).take();
}

TMessage PlayerSkillsMessage(const std::array<uint8_t, 7>& Levels, const std::array<uint8_t, 7>& Progress) {
    TWireWriter Writer;
    Writer.u8(161);
    for (size_t i = 0; i < Levels.size(); ++i)
        Writer.u8(Levels[i]).u8(Progress[i]);
    return Writer.take();
}

TMessage PlayerStateMessage(uint8_t Flags) { return TWireWriter().u8(162).u8(Flags).take(); }

TMessage TalkMessage(uint32_t Statement, std::string_view Speaker, uint8_t Mode, TPosition Where,
                     std::string_view Text) {
    TWireWriter Writer;
    WritePosition(Writer.u8(170).u32(Statement).string(Speaker).u8(Mode), Where);
    return Writer.string(Text).take();
}

TMessage PrivateTalkMessage(uint32_t Statement, std::string_view Speaker, uint8_t Mode,
                            std::string_view Text) {
    return TWireWriter().u8(170).u32(Statement).string(Speaker).u8(Mode).string(Text).take();
}

TMessage ChannelTalkMessage(uint32_t Statement, std::string_view Speaker, uint8_t Mode, uint16_t Channel,
                            std::string_view Text) {
    return TWireWriter().u8(170).u32(Statement).string(Speaker).u8(Mode).u16(Channel).string(Text).take();
}

TMessage ChannelListMessage(std::span<const TChannel> Channels) {
    TWireWriter Writer;
    Writer.u8(171).u8(CheckedCount(Channels.size(), "channel list"));
    for (const TChannel& Channel : Channels)
        Writer.u16(Channel.Id).string(Channel.Name);
    return Writer.take();
}

TMessage OpenChannelMessage(uint16_t Channel, std::string_view Name) {
    return TWireWriter().u8(172).u16(Channel).string(Name).take();
}

TMessage OpenPrivateChannelMessage(std::string_view Name) {
    return TWireWriter().u8(173).string(Name).take();
}

TMessage OpenOwnChannelMessage(uint16_t Channel, std::string_view Name) {
    return TWireWriter().u8(178).u16(Channel).string(Name).take();
}

TMessage SystemMessage(uint8_t Mode, std::string_view Text) {
    return TWireWriter().u8(180).u8(Mode).string(Text).take();
}

} // namespace testserver
