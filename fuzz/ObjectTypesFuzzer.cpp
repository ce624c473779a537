// libFuzzer harness of the object-type file: each input is a whole Ebrun.dat, loaded as the client loads it.
// Oracle: the file loads exactly when a reader written from the layout alone (tests/tools/datagen) reads it,
// and then the tables tell every count, flag and value that reader found, and the first and last sprite.
#include "foundation/Exception.h"
#include "fuzz/FuzzSupport.h"
#include "state/Objects.h"
#include "tests/tools/datagen/FileReaders.h"

#include <optional>
#include <stdexcept>

namespace {

using FileReaders::TRecord;

constexpr const char* FILE_NAME = "Ebrun.dat";

std::optional<FileReaders::TDat> ReadByLayout(const std::vector<uint8_t>& Bytes) {
    try {
        return FileReaders::ReadDat(Bytes);
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
}

// The value flags and the getters of their first and second value.
struct TValueFlag {
    int32_t Flag;
    int32_t (*First)(int32_t Type);
    int32_t (*Second)(int32_t Type);
};
constexpr TValueFlag VALUE_FLAGS[] = {
    {BANK, GetObjectBankSpeed, nullptr},       {LIGHT, GetObjectLightBrightness, GetObjectLightColor},
    {SHIFT, GetObjectShiftX, GetObjectShiftY}, {HEIGHT, GetObjectElevation, nullptr},
    {AUTOMAP, GetObjectAutomapColor, nullptr}, {LENSHELP, GetObjectLensHelp, nullptr},
};

int64_t SpriteCount(const TRecord& R) {
    return int64_t{R.Width} * R.Height * R.Layers * R.PatternWidth * R.PatternHeight * R.PatternDepth *
           R.Phases;
}

void CompareItem(int32_t Type, const TRecord& R) {
    Expect(GetObjectWidth(Type) == R.Width && GetObjectHeight(Type) == R.Height &&
               GetObjectSize(Type) == R.Size,
           "item extent");
    Expect(GetObjectLayers(Type) == R.Layers && GetObjectPatternWidth(Type) == R.PatternWidth &&
               GetObjectPatternHeight(Type) == R.PatternHeight &&
               GetObjectPatternDepth(Type) == R.PatternDepth && GetObjectPhases(Type) == R.Phases,
           "item patterns");
    for (int32_t Flag = 0; Flag < 32; Flag++)
        Expect(GetObjectFlag(Type, Flag) == R.has(Flag), "item flag");
    for (const TValueFlag& V : VALUE_FLAGS) {
        if (!R.has(V.Flag)) continue;
        Expect(V.First(Type) == static_cast<int32_t>(R.Values1[V.Flag]), "item value");
        Expect(V.Second == nullptr || V.Second(Type) == static_cast<int32_t>(R.Values2[V.Flag]),
               "item value");
    }
    if (SpriteCount(R) == 0) return;
    Expect(GetObjectSprite(Type, 1, 1, 1, 1, 1, 1, 1) == R.Sprites.front(), "first sprite");
    Expect(GetObjectSprite(Type, R.Width, R.Height, R.Layers, R.PatternWidth, R.PatternHeight, R.PatternDepth,
                           R.Phases) == R.Sprites.back(),
           "last sprite");
}

// The records of a table of outfits, effects or missiles: the extent Shape compares and every flag.
template <typename TShape>
void CompareTable(const std::vector<TRecord>& Records, bool (*Flag)(int32_t, int32_t), TShape Shape,
                  const char* What) {
    for (size_t i = 0; i < Records.size(); i++) {
        const int32_t n = static_cast<int32_t>(i) + 1;
        Expect(Shape(n, Records[i]), What);
        for (int32_t f = 0; f < 32; f++)
            Expect(Flag(n, f) == Records[i].has(f), What);
    }
}

void CompareOthers(const FileReaders::TDat& Dat) {
    CompareTable(
        Dat.Outfits, GetOutfitFlag,
        [](int32_t n, const TRecord& R) {
            return GetOutfitWidth(n) == R.Width && GetOutfitHeight(n) == R.Height &&
                   GetOutfitSize(n) == R.Size && GetOutfitLayers(n) == R.Layers &&
                   GetOutfitPhases(n) == R.Phases;
        },
        "outfit");
    CompareTable(
        Dat.Effects, GetEffectFlag,
        [](int32_t n, const TRecord& R) {
            return GetEffectWidth(n) == R.Width && GetEffectHeight(n) == R.Height &&
                   GetEffectLayers(n) == R.Layers && GetEffectPhases(n) == R.Phases;
        },
        "effect");
    CompareTable(
        Dat.Missiles, GetMissileFlag,
        [](int32_t n, const TRecord& R) {
            return GetMissileWidth(n) == R.Width && GetMissileHeight(n) == R.Height &&
                   GetMissileLayers(n) == R.Layers;
        },
        "missile");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::vector<uint8_t> Bytes(Data, Data + Size);
    WriteInput(FILE_NAME, Bytes);
    const std::optional<FileReaders::TDat> Expected = ReadByLayout(Bytes);
    if (!ReadsAsTheLayout([] { LoadObjectTypes(FILE_NAME); }, Expected.has_value())) return 0;
    Expect(GetObjectTypeSignature() == Expected->Signature, "signature");
    Expect(GetHighestObjectType() == Expected->HighestItem, "highest item type");
    Expect(GetNumberOfOutfitTypes() == static_cast<int32_t>(Expected->Outfits.size()) &&
               GetNumberOfEffectTypes() == static_cast<int32_t>(Expected->Effects.size()) &&
               GetNumberOfMissileTypes() == static_cast<int32_t>(Expected->Missiles.size()),
           "table sizes");
    for (size_t i = 0; i < Expected->Items.size(); i++)
        CompareItem(100 + static_cast<int32_t>(i), Expected->Items[i]);
    CompareOthers(*Expected);
    FreeObjectTypes();
    return 0;
}
