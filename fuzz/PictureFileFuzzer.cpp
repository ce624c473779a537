// libFuzzer harness of the picture file: each input is a whole Ebrun.pic; its table is read, every tile
// decoded, and the four fonts built from it as the client builds them. Oracle: the table and every tile
// agree with a reader written from the layout alone (TileOracle.h); built fonts measure every glyph inside
// its cell.
#include "foundation/Exception.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/TileOracle.h"
#include "graphics/graphics.h"
#include "tests/tools/datagen/FileReaders.h"

#include <optional>
#include <stdexcept>

namespace {

constexpr const char* FILE_NAME = "Ebrun.pic";
constexpr int32_t FONT_PICTURES = 8;                     // the fonts use pictures up to 8
constexpr int32_t MEMORY_CACHE_BYTES = 256 * TILE_BYTES; // every tile of the four fonts
constexpr int32_t COMPARED_TILES = 64;                   // per input: the decoding is the same for every tile

std::optional<std::vector<FileReaders::TPic>> ReadTableByLayout(const std::vector<uint8_t>& Bytes) {
    try {
        return FileReaders::ReadPictureTable(Bytes);
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
}

// Compares the tiles of a picture while Budget lasts.
void CheckPicture(const std::vector<uint8_t>& Bytes, int32_t Number, const FileReaders::TPic& Expected,
                  int32_t& Budget) {
    const TPictureEntry& Entry = GetPictureEntry(Number);
    Expect(Entry.TilesX == Expected.TilesX && Entry.TilesY == Expected.TilesY, "picture size");
    Expect(Entry.KeyRed == Expected.Key[0] && Entry.KeyGreen == Expected.Key[1] &&
               Entry.KeyBlue == Expected.Key[2],
           "picture key");
    for (int32_t y = 0; y < Entry.TilesY; y++)
        for (int32_t x = 0; x < Entry.TilesX && Budget-- > 0; x++) {
            uint8_t Tile[TILE_BYTES];
            bool Decoded = true;
            try {
                LoadPictureTile(Number, x, y, Tile);
            } catch (PROGRAM_ERROR Code) {
                Refused(Code);
                Decoded = false;
            }
            CompareTile(Bytes, Expected.Offsets[y * Entry.TilesX + x], Expected.Key.data(),
                        Decoded ? Tile : nullptr);
        }
}

// The fonts from whatever the pictures hold: a glyph measures at least 1 and at most its cell.
void BuildFonts() {
    ResetMemoryCache();
    try {
        InitFonts();
        for (int32_t Number = 1; Number <= NumberOfFonts; Number++) {
            const TFont& Font = GetFont(Number);
            for (int32_t g = 0; g < FONT_GLYPHS; g++)
                Expect(In(Font.Width[g], 1, Font.CharWidth) && In(Font.Height[g], 1, Font.CharHeight),
                       "glyph measure");
            Expect(GetStringWidth(Number, "Soul: 100") > 0, "text width");
        }
    } catch (PROGRAM_ERROR Code) {
        Refused(Code);
    } catch (const TMyException& Error) {
        Refused(Error);
    }
    ExitFonts();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterScratchDirectory();
    InitMemoryCache(MEMORY_CACHE_BYTES);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::vector<uint8_t> Bytes(Data, Data + Size);
    WriteInput(FILE_NAME, Bytes);
    const auto Table = ReadTableByLayout(Bytes);
    if (!ReadsAsTheLayout([] { OpenPictureFile(FILE_NAME); }, Table.has_value())) return 0;
    Expect(GetNumberOfPictures() == static_cast<int32_t>(Table->size()), "number of pictures");
    int32_t Budget = COMPARED_TILES;
    for (int32_t Number = 1; Number <= GetNumberOfPictures(); Number++)
        CheckPicture(Bytes, Number, (*Table)[Number - 1], Budget);
    if (GetNumberOfPictures() >= FONT_PICTURES) BuildFonts();
    return 0;
}
