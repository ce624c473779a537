// Layouts of the container, body position and trade messages.
#include "tools/testserver/ItemMessages.h"

#include "tools/testserver/GameMessages.h"

namespace testserver {

namespace {

TMessage OfferMessage(uint8_t Type, std::string_view Trader, std::span<const TThing> Items,
                      const TObjectTypes& Types) {
    if (Items.size() > 255) throw TWireError("an offer of " + std::to_string(Items.size()) + " items");
    TWireWriter Writer;
    Writer.u8(Type).string(Trader).u8(static_cast<uint8_t>(Items.size()));
    for (const TThing& Item : Items)
        WriteItem(Writer, Types, Item);
    return Writer.take();
}

} // namespace

TMessage ContainerAddMessage(uint8_t Number, const TThing& Item, const TObjectTypes& Types) {
    TWireWriter Writer;
    WriteItem(Writer.u8(112).u8(Number), Types, Item);
    return Writer.take();
}

TMessage ContainerChangeMessage(uint8_t Number, uint8_t Slot, const TThing& Item, const TObjectTypes& Types) {
    TWireWriter Writer;
    WriteItem(Writer.u8(113).u8(Number).u8(Slot), Types, Item);
    return Writer.take();
}

TMessage ContainerDeleteMessage(uint8_t Number, uint8_t Slot) {
    return TWireWriter().u8(114).u8(Number).u8(Slot).take();
}

TMessage ClearBodyMessage(uint8_t BodyPosition) { return TWireWriter().u8(121).u8(BodyPosition).take(); }

TMessage OwnOfferMessage(std::string_view Trader, std::span<const TThing> Items, const TObjectTypes& Types) {
    return OfferMessage(125, Trader, Items, Types);
}

TMessage CounterOfferMessage(std::string_view Trader, std::span<const TThing> Items,
                             const TObjectTypes& Types) {
    return OfferMessage(126, Trader, Items, Types);
}

TMessage CloseTradeMessage() { return {127}; }

} // namespace testserver
