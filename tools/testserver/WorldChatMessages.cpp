// Builders of the chat roads' own server messages.
#include "tools/testserver/WorldChatMessages.h"

#include "tools/testserver/GameMessages.h"

namespace testserver {

TMessage RightsMessage(const std::array<uint8_t, RULE_VIOLATION_REASONS>& Masks) {
    return TWireWriter().u8(11).bytes(Masks).take();
}

TMessage RequestTalkMessage(uint32_t Statement, std::string_view Speaker, uint32_t Seconds,
                            std::string_view Text) {
    return TWireWriter()
        .u8(170)
        .u32(Statement)
        .string(Speaker)
        .u8(TALK_GAMEMASTER_REQUEST)
        .u32(Seconds)
        .string(Text)
        .take();
}

TMessage RequestQueueMessage(uint16_t Channel) { return TWireWriter().u8(174).u16(Channel).take(); }
TMessage RequestTakenMessage(std::string_view Name) { return TWireWriter().u8(175).string(Name).take(); }
TMessage RequestFinishedMessage(std::string_view Name) { return TWireWriter().u8(176).string(Name).take(); }
TMessage RequestClosedMessage() { return TWireWriter().u8(177).take(); }
TMessage ChannelClosedMessage(uint16_t Channel) { return TWireWriter().u8(179).u16(Channel).take(); }

} // namespace testserver
