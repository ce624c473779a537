// Message writer and reader, and the sealing and opening of enciphered frames.
#include "tools/testserver/Wire.h"

#include "tools/testserver/Xtea.h"

namespace testserver {

TWireWriter& TWireWriter::u8(uint8_t Value) {
    Data.push_back(Value);
    return *this;
}

TWireWriter& TWireWriter::u16(uint16_t Value) {
    Data.push_back(static_cast<uint8_t>(Value));
    Data.push_back(static_cast<uint8_t>(Value >> 8));
    return *this;
}

TWireWriter& TWireWriter::u32(uint32_t Value) {
    u16(static_cast<uint16_t>(Value));
    return u16(static_cast<uint16_t>(Value >> 16));
}

TWireWriter& TWireWriter::string(std::string_view Text) {
    if (Text.size() > 0xFFFF) throw TWireError("string of " + std::to_string(Text.size()) + " bytes");
    u16(static_cast<uint16_t>(Text.size()));
    Data.insert(Data.end(), Text.begin(), Text.end());
    return *this;
}

TWireWriter& TWireWriter::bytes(std::span<const uint8_t> Bytes) {
    Data.insert(Data.end(), Bytes.begin(), Bytes.end());
    return *this;
}

std::span<const uint8_t> TWireReader::take(size_t Count) {
    if (Count > remaining())
        throw TWireError("read of " + std::to_string(Count) + " bytes at " + std::to_string(Position) +
                         " of " + std::to_string(Data.size()));
    std::span<const uint8_t> Part = Data.subspan(Position, Count);
    Position += Count;
    return Part;
}

uint8_t TWireReader::u8() { return take(1)[0]; }

uint16_t TWireReader::u16() {
    std::span<const uint8_t> b = take(2);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint32_t TWireReader::u32() {
    uint32_t Low = u16();
    return Low | static_cast<uint32_t>(u16()) << 16;
}

std::string TWireReader::string() {
    std::span<const uint8_t> Text = take(u16());
    return std::string(Text.begin(), Text.end());
}

std::span<const uint8_t> TWireReader::bytes(size_t Count) { return take(Count); }

std::vector<uint8_t> SealFrame(const TXteaCipher& Cipher, std::span<const uint8_t> Messages,
                               std::mt19937& Random, const uint16_t* InnerLength) {
    size_t Body = (Messages.size() + 2 + 7) / 8 * 8;
    if (Body > MAX_SERVER_FRAME_BODY)
        throw TWireError("messages of " + std::to_string(Messages.size()) + " bytes exceed one frame");
    TWireWriter Frame;
    Frame.u16(static_cast<uint16_t>(Body));
    Frame.u16(InnerLength ? *InnerLength : static_cast<uint16_t>(Messages.size()));
    Frame.bytes(Messages);
    while (Frame.data().size() < Body + 2)
        Frame.u8(static_cast<uint8_t>(Random()));
    std::vector<uint8_t> Bytes = Frame.take();
    Cipher.encipher(std::span(Bytes).subspan(2));
    return Bytes;
}

std::span<const uint8_t> OpenFrame(const TXteaCipher& Cipher, std::span<uint8_t> Body) {
    if (Body.empty() || Body.size() % 8 != 0)
        throw TWireError("enciphered frame of " + std::to_string(Body.size()) + " bytes");
    Cipher.decipher(Body);
    size_t Inner = static_cast<size_t>(Body[0] | Body[1] << 8);
    if (Inner > Body.size() - 2)
        throw TWireError("inner length " + std::to_string(Inner) + " in a frame of " +
                         std::to_string(Body.size()) + " bytes");
    return Body.subspan(2, Inner);
}

} // namespace testserver
