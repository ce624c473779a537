// libFuzzer harness of the sprite file: each input is a whole Ebrun.spr; its table is read and every sprite
// decoded as the client does. Oracle: the table and every tile agree with a reader written from the layout
// alone (TileOracle.h); an empty sprite decodes to black with a black key.
#include "foundation/Exception.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/TileOracle.h"
#include "graphics/graphics.h"
#include "tests/tools/datagen/FileReaders.h"

#include <optional>
#include <stdexcept>

namespace {

constexpr const char* FILE_NAME = "Ebrun.spr";

std::optional<FileReaders::TSpr> ReadTableByLayout(const std::vector<uint8_t>& Bytes) {
    try {
        return FileReaders::ReadSpriteTable(Bytes);
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
}

void CheckSprite(const std::vector<uint8_t>& Bytes, int32_t Number, uint32_t Offset) {
    uint8_t Tile[TILE_BYTES];
    bool Decoded = true;
    try {
        LoadSprite(Number, Tile);
    } catch (PROGRAM_ERROR Code) {
        Refused(Code);
        Decoded = false;
    }
    const TSpriteEntry& Entry = GetSpriteEntry(Number);
    if (Offset == 0) {
        Expect(Decoded && Entry.KeyRed == 0 && Entry.KeyGreen == 0 && Entry.KeyBlue == 0, "empty sprite key");
        for (uint8_t Byte : Tile)
            Expect(Byte == 0, "empty sprite pixel");
        return;
    }
    uint8_t Key[3] = {};
    if (Decoded) {
        Expect(uint64_t{Offset} + 3 <= Bytes.size(), "a key past the end was read");
        for (int32_t i = 0; i < 3; i++)
            Key[i] = Bytes[Offset + i];
        Expect(Entry.KeyRed == Key[0] && Entry.KeyGreen == Key[1] && Entry.KeyBlue == Key[2], "sprite key");
    }
    CompareTile(Bytes, uint64_t{Offset} + 3, Key, Decoded ? Tile : nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::vector<uint8_t> Bytes(Data, Data + Size);
    WriteInput(FILE_NAME, Bytes);
    const std::optional<FileReaders::TSpr> Table = ReadTableByLayout(Bytes);
    if (!ReadsAsTheLayout([] { OpenSpriteFile(FILE_NAME); }, Table.has_value())) return 0;
    Expect(GetSpriteSignature() == Table->Signature, "signature");
    Expect(GetNumberOfSprites() == static_cast<int32_t>(Table->Offsets.size()), "number of sprites");
    for (int32_t Number = 1; Number <= GetNumberOfSprites(); Number++) {
        Expect(GetSpriteEntry(Number).Offset == Table->Offsets[Number - 1], "sprite offset");
        CheckSprite(Bytes, Number, Table->Offsets[Number - 1]);
    }
    return 0;
}
