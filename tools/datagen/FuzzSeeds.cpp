// Small files cut from the generated data, as the seed corpus of the fuzz harnesses of the three readers.
#include "tools/datagen/FuzzSeeds.h"

#include "tools/datagen/Fonts.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int SEED_SPRITES = 8, SPRITES_LOOKED_AT = 400;

// The empty sprite and the sparsest others: few bytes, yet runs of every length.
TSpriteFile SparseSprites(const TDataSet& Set) {
    std::vector<std::pair<int, int>> ByInk; // coloured pixels, number
    for (int Number = 2; Number <= std::min(SPRITES_LOOKED_AT, Set.Sprites.count()); Number++)
        if (Set.Sprites.sprite(Number).opaqueCount() > 0)
            ByInk.push_back({Set.Sprites.sprite(Number).opaqueCount(), Number});
    std::sort(ByInk.begin(), ByInk.end());
    TSpriteFile Sprites;
    Sprites.Signature = Set.Sprites.Signature;
    Sprites.add(Set.Sprites.sprite(1));
    for (int i = 0; i < SEED_SPRITES - 1 && i < static_cast<int>(ByInk.size()); i++)
        Sprites.add(Set.Sprites.sprite(ByInk[i].second));
    return Sprites;
}

std::string In(const std::string& Directory, const char* Sub, const char* Name) {
    return Directory + "/" + Sub + "/" + Name;
}

// The set's pictures with only those of the given numbers kept, the others one transparent tile.
TPictureFile OnlyPictures(const TDataSet& Set, std::initializer_list<int> Numbers) {
    TPictureFile File;
    File.Signature = Set.Pictures.Signature;
    for (int Number : Numbers) {
        while (static_cast<int>(File.Pictures.size()) < Number)
            File.Pictures.push_back(TPicture{TCanvas(TILE_SIDE, TILE_SIDE)});
        File.Pictures[Number - 1] = Set.Pictures.Pictures.at(Number - 1);
    }
    return File;
}

} // namespace

void WriteFuzzSeeds(const TDataSet& Set, const std::string& Directory) {
    WriteBytesToFile(In(Directory, "objects", "generated"), EncodeDatFile(Set.Dat));
    for (const auto& [Name, Break] : {std::pair{"truncated-sprites", TDatBreak::TRUNCATED_SPRITES},
                                      std::pair{"huge-patterns", TDatBreak::HUGE_PATTERNS},
                                      std::pair{"trailing-bytes", TDatBreak::TRAILING_BYTES}})
        WriteBytesToFile(In(Directory, "objects", Name), EncodeBrokenDatFile(Set.Dat, Break));

    const TSpriteFile Sprites = SparseSprites(Set);
    WriteBytesToFile(In(Directory, "sprites", "generated"), EncodeSpriteFile(Sprites));
    WriteBytesToFile(In(Directory, "sprites", "run-past-tile"),
                     EncodeBrokenSpriteFile(Sprites, TImageBreak::RUN_PAST_TILE));

    TPictureFile Fonts = OnlyPictures(Set, {FONT_LAYOUTS[0].Picture, FONT_LAYOUTS[1].Picture,
                                            FONT_LAYOUTS[2].Picture, FONT_LAYOUTS[3].Picture});
    WriteBytesToFile(In(Directory, "pictures", "fonts"), EncodePictureFile(Fonts));
    const TPictureFile SmallFont = OnlyPictures(Set, {FONT_LAYOUTS[2].Picture});
    WriteBytesToFile(In(Directory, "pictures", "small-font"), EncodePictureFile(SmallFont));
    WriteBytesToFile(In(Directory, "pictures", "offset-past-end"),
                     EncodeBrokenPictureFile(SmallFont, TImageBreak::OFFSET_PAST_END));
}
