// The oracle of the sprite and picture harnesses: a strict reading of a tile against the client's.
#include "fuzz/TileOracle.h"

#include "fuzz/FuzzSupport.h"
#include "tests/tools/datagen/FileReaders.h"

#include <optional>
#include <stdexcept>

void CompareTile(const std::vector<uint8_t>& File, uint64_t RunsOffset, const uint8_t Key[3],
                 const uint8_t* Decoded) {
    std::optional<FileReaders::TTile> Strict;
    try {
        if (RunsOffset <= File.size()) Strict = FileReaders::DecodeRuns(File, RunsOffset);
    } catch (const std::runtime_error&) {
    }
    if (Decoded == nullptr) {
        Expect(!Strict, "a tile the layout allows was refused");
        return;
    }
    if (!Strict) return;
    for (int32_t Pixel = 0; Pixel < 1024; Pixel++) {
        const uint8_t* Got = Decoded + 3 * Pixel;
        const uint8_t* Want = Strict->Coloured[Pixel] ? Strict->Pixels[Pixel].data() : Key;
        Expect(Got[0] == Want[0] && Got[1] == Want[1] && Got[2] == Want[2], "decoded pixel");
    }
}
