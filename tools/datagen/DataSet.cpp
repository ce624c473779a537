// The three data files built together: object types, sprites and pictures, and their broken variants.
#include "tools/datagen/DataSet.h"

#include "tools/datagen/Pictures.h"
#include "tools/datagen/Skins.h"

#include "foundation/Exception.h"

namespace {

// FNV-1a over the bytes after the signature; never 0, which the client reads as "nothing loaded".
uint32_t ContentSignature(const std::vector<uint8_t>& Bytes) {
    uint32_t Hash = 2166136261u;
    for (size_t i = 4; i < Bytes.size(); i++)
        Hash = (Hash ^ Bytes[i]) * 16777619u;
    return Hash == 0 ? 1 : Hash;
}

// Puts the content signature into the first four bytes of an encoded file.
std::vector<uint8_t> Signed(std::vector<uint8_t> Bytes) {
    CHECK(Bytes.size() >= 4, static_cast<int32_t>(Bytes.size()));
    uint32_t Signature = ContentSignature(Bytes);
    for (int i = 0; i < 4; i++)
        Bytes[i] = static_cast<uint8_t>(Signature >> (8 * i));
    return Bytes;
}

std::string Join(const std::string& Directory, const char* Name) { return Directory + "/" + Name; }

} // namespace

TDataSet BuildDataSet(const TDataOptions& Options) {
    TDataSet Set;
    BuildCatalog(TCatalogOptions{Options.RealSize}, Set.Dat, Set.Sprites);
    std::vector<TPicture>& P = Set.Pictures.Pictures;
    P.push_back(BuildTitlePicture(Options.Fonts));
    P.push_back(BuildEmblemPicture());
    P.push_back(RenderFontPicture(1, Options.Fonts));
    P.push_back(BuildSkinPicture());
    P.push_back(RenderFontPicture(2, Options.Fonts));
    P.push_back(RenderFontPicture(3, Options.Fonts));
    P.push_back(BuildDarknessPicture());
    P.push_back(RenderFontPicture(4, Options.Fonts));
    return Set;
}

TDataFiles EncodeDataSet(const TDataSet& Set) {
    TDataFiles Files;
    Files.Dat = Signed(EncodeDatFile(Set.Dat));
    Files.Spr = Signed(EncodeSpriteFile(Set.Sprites));
    Files.Pic = Signed(EncodePictureFile(Set.Pictures));
    return Files;
}

void WriteDataFiles(const TDataFiles& Files, const std::string& Directory) {
    WriteBytesToFile(Join(Directory, "Ebrun.dat"), Files.Dat);
    WriteBytesToFile(Join(Directory, "Ebrun.spr"), Files.Spr);
    WriteBytesToFile(Join(Directory, "Ebrun.pic"), Files.Pic);
}

void WriteBrokenVariants(const TDataSet& Set, const std::string& Directory) {
    const struct {
        const char* Name;
        TDatBreak Break;
    } DatBreaks[] = {
        {"dat-truncated-header.dat", TDatBreak::TRUNCATED_HEADER},
        {"dat-truncated-sprites.dat", TDatBreak::TRUNCATED_SPRITES},
        {"dat-missing-end-byte.dat", TDatBreak::MISSING_END_BYTE},
        {"dat-too-few-items.dat", TDatBreak::TOO_FEW_ITEMS},
        {"dat-no-outfits.dat", TDatBreak::NO_OUTFITS},
        {"dat-no-effects.dat", TDatBreak::NO_EFFECTS},
        {"dat-no-missiles.dat", TDatBreak::NO_MISSILES},
        {"dat-counts-past-end.dat", TDatBreak::COUNTS_PAST_END},
        {"dat-trailing-bytes.dat", TDatBreak::TRAILING_BYTES},
        {"dat-huge-patterns.dat", TDatBreak::HUGE_PATTERNS},
    };
    for (const auto& b : DatBreaks)
        WriteBytesToFile(Join(Directory, b.Name), EncodeBrokenDatFile(Set.Dat, b.Break));
    const struct {
        const char* Sprites;
        const char* Pictures;
        TImageBreak Break;
    } ImageBreaks[] = {
        {"spr-truncated-table.spr", "pic-truncated-table.pic", TImageBreak::TRUNCATED_TABLE},
        {"spr-offset-past-end.spr", "pic-offset-past-end.pic", TImageBreak::OFFSET_PAST_END},
        {"spr-run-past-tile.spr", "pic-run-past-tile.pic", TImageBreak::RUN_PAST_TILE},
    };
    for (const auto& b : ImageBreaks) {
        WriteBytesToFile(Join(Directory, b.Sprites), EncodeBrokenSpriteFile(Set.Sprites, b.Break));
        WriteBytesToFile(Join(Directory, b.Pictures), EncodeBrokenPictureFile(Set.Pictures, b.Break));
    }
}
