// A minimal PNG writer (8-bit RGB, zlib-compressed) for the contact sheet.
#include "tools/datagen/Png.h"

#include "foundation/Exception.h"

#include <zlib.h>

namespace {

void PutBigQuad(std::vector<uint8_t>& Out, uint32_t Value) {
    for (int Shift = 24; Shift >= 0; Shift -= 8)
        Out.push_back(static_cast<uint8_t>((Value >> Shift) & 0xFF));
}

void PutChunk(std::vector<uint8_t>& Out, const char* Type, const std::vector<uint8_t>& Data) {
    PutBigQuad(Out, static_cast<uint32_t>(Data.size()));
    size_t Start = Out.size();
    Out.insert(Out.end(), Type, Type + 4);
    Out.insert(Out.end(), Data.begin(), Data.end());
    uLong Crc = crc32(0L, Out.data() + Start, static_cast<uInt>(Out.size() - Start));
    PutBigQuad(Out, static_cast<uint32_t>(Crc));
}

} // namespace

std::vector<uint8_t> EncodePng(const TCanvas& Image, TColor Background) {
    CHECK(Image.width() > 0 && Image.height() > 0, Image.width(), Image.height());
    std::vector<uint8_t> Raw;
    Raw.reserve(static_cast<size_t>(Image.height()) * (1 + 3 * Image.width()));
    for (int y = 0; y < Image.height(); y++) {
        Raw.push_back(0); // no filter
        for (int x = 0; x < Image.width(); x++) {
            TColor c = Image.opaque(x, y) ? Image.get(x, y) : Background;
            Raw.insert(Raw.end(), {c.r, c.g, c.b});
        }
    }
    uLongf Size = compressBound(static_cast<uLong>(Raw.size()));
    std::vector<uint8_t> Packed(Size);
    int Result = compress2(Packed.data(), &Size, Raw.data(), static_cast<uLong>(Raw.size()), 6);
    CHECK(Result == Z_OK, Result);
    Packed.resize(Size);

    std::vector<uint8_t> Out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> Header;
    PutBigQuad(Header, static_cast<uint32_t>(Image.width()));
    PutBigQuad(Header, static_cast<uint32_t>(Image.height()));
    Header.insert(Header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no filter, no interlace
    PutChunk(Out, "IHDR", Header);
    PutChunk(Out, "IDAT", Packed);
    PutChunk(Out, "IEND", {});
    return Out;
}
