// Builders of the messages of objects in containers, body positions and trades, type byte first; an item is
// written as WriteItem writes it (u16 type and its data bytes).
#pragma once

#include "tools/testserver/Wire.h"
#include "tools/testserver/World.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace testserver {

TMessage ContainerAddMessage(uint8_t Number, const TThing& Item, const TObjectTypes& Types); // 112
TMessage ContainerChangeMessage(uint8_t Number, uint8_t Slot, const TThing& Item,
                                const TObjectTypes& Types);    // 113
TMessage ContainerDeleteMessage(uint8_t Number, uint8_t Slot); // 114
TMessage ClearBodyMessage(uint8_t BodyPosition);               // 121
// 125 the own offer, 126 the partner's: string the offering character, u8 count, count items. Throws
// TWireError for more than 255 items.
TMessage OwnOfferMessage(std::string_view Trader, std::span<const TThing> Items, const TObjectTypes& Types);
TMessage CounterOfferMessage(std::string_view Trader, std::span<const TThing> Items,
                             const TObjectTypes& Types);
TMessage CloseTradeMessage(); // 127

} // namespace testserver
