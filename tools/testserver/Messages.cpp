// Layouts of the server messages of the login phase and of the game session notices.
#include "tools/testserver/Messages.h"

namespace testserver {

namespace {

TMessage TextMessage(uint8_t Type, std::string_view Text) {
    return TWireWriter().u8(Type).string(Text).take();
}

} // namespace

TMessage LoginErrorMessage(std::string_view Text) { return TextMessage(10, Text); }

TMessage LoginInformationMessage(std::string_view Text) { return TextMessage(11, Text); }

TMessage MessageOfTheDayMessage(uint32_t Number, std::string_view Text) {
    return TextMessage(20, std::to_string(Number) + "\n" + std::string(Text));
}

TMessage LoginRetryMessage() { return TMessage{40}; }

TMessage CharacterListMessage(std::span<const TCharacter> Characters, uint16_t PremiumDays) {
    if (Characters.size() > 255)
        throw TWireError("character list of " + std::to_string(Characters.size()) + " entries");
    TWireWriter Writer;
    Writer.u8(100).u8(static_cast<uint8_t>(Characters.size()));
    for (const TCharacter& Entry : Characters)
        Writer.string(Entry.Name).string(Entry.World).bytes(Entry.Address).u16(Entry.Port);
    return Writer.u16(PremiumDays).take();
}

TMessage GameErrorMessage(std::string_view Text) { return TextMessage(20, Text); }

TMessage GameInformationMessage(std::string_view Text) { return TextMessage(21, Text); }

TMessage WaitingListMessage(std::string_view Text, uint8_t Seconds) {
    return TWireWriter().u8(22).string(Text).u8(Seconds).take();
}

} // namespace testserver
