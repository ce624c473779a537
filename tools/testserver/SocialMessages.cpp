// Layouts of the messages of fighting, parties, looks, texts and the VIP list.
#include "tools/testserver/SocialMessages.h"

#include "tools/testserver/GameMessages.h"

namespace testserver {

namespace {

TMessage CreatureByte(uint8_t Type, uint32_t Creature, uint8_t Value) {
    return TWireWriter().u8(Type).u32(Creature).u8(Value).take();
}

} // namespace

TMessage TextEffectMessage(TPosition Where, uint8_t Color, std::string_view Text) {
    TWireWriter Writer;
    WritePosition(Writer.u8(132), Where).u8(Color);
    return Writer.string(Text).take();
}

TMessage CreatureMarkMessage(uint32_t Creature, uint8_t Color) { return CreatureByte(134, Creature, Color); }

TMessage CreatureHealthMessage(uint32_t Creature, uint8_t Percent) {
    return CreatureByte(140, Creature, Percent);
}

TMessage CreatureOutfitMessage(uint32_t Creature, uint16_t Outfit, const std::array<uint8_t, 4>& Colors) {
    TWireWriter Writer;
    Writer.u8(142).u32(Creature).u16(Outfit);
    for (uint8_t Color : Colors)
        Writer.u8(Color);
    return Writer.take();
}

TMessage CreatureSkullMessage(uint32_t Creature, uint8_t Skull) { return CreatureByte(144, Creature, Skull); }

TMessage CreatureShieldMessage(uint32_t Creature, uint8_t Shield) {
    return CreatureByte(145, Creature, Shield);
}

TMessage TextDialogMessage(uint32_t Identifier, uint16_t Type, uint16_t MaxLength, std::string_view Text,
                           std::string_view Author) {
    return TWireWriter().u8(150).u32(Identifier).u16(Type).u16(MaxLength).string(Text).string(Author).take();
}

TMessage ListDialogMessage(uint8_t Kind, uint32_t Identifier, std::string_view Text) {
    return TWireWriter().u8(151).u8(Kind).u32(Identifier).string(Text).take();
}

TMessage ClearTargetMessage() { return TWireWriter().u8(163).take(); }

TMessage OutfitDialogMessage(uint16_t Outfit, const std::array<uint8_t, 4>& Colors, uint16_t First,
                             uint16_t Last) {
    TWireWriter Writer;
    Writer.u8(200).u16(Outfit);
    for (uint8_t Color : Colors)
        Writer.u8(Color);
    return Writer.u16(First).u16(Last).take();
}

TMessage AddVipMessage(uint32_t Character, std::string_view Name, bool Online) {
    return TWireWriter().u8(210).u32(Character).string(Name).u8(Online ? 1 : 0).take();
}

TMessage VipOnlineMessage(uint32_t Character, bool Online) {
    return TWireWriter().u8(Online ? 211 : 212).u32(Character).take();
}

} // namespace testserver
