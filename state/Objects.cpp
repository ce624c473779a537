// Object types of Ebrun.dat: loading the four tables, flag tests, value getters and sprite patterns.
#include "state/Objects.h"

#include "foundation/Container.h"
#include "foundation/Exception.h"
#include "foundation/Script.h"
#include "foundation/Utils.h"

#include <cstring>

namespace {

// One table of types, indexed by type number from Low to High.
struct TTypeTable {
    std::unique_ptr<TFixedArray<TObjectType>> Entries; // NULL while not loaded
    int32_t Low = 1;
    int32_t High = 0;
};

// Loaded at start-up and by a reload; the signature survives freeing.
struct TObjectTables {
    TTypeTable Objects;
    TTypeTable Outfits;
    TTypeTable Effects;
    TTypeTable Missiles;
    uint32_t Signature = 0;
} Tables;

int32_t FlagWord(const TObjectType& Entry) {
    int32_t Word;
    memcpy(&Word, Entry.Flags, sizeof Word);
    return Word;
}

void SetFlag(TObjectType& Entry, int32_t Flag) {
    Entry.Flags[Flag / 8] |= static_cast<uint8_t>(1 << (Flag % 8));
}

const TObjectType& Lookup(const TTypeTable& Table, int32_t Number, const char* NotLoaded) {
    if (!Table.Entries) ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, NotLoaded);
    return Table.Entries->at(Number);
}

const TObjectType& ObjectEntry(int32_t Type) {
    return Lookup(Tables.Objects, Type, "ObjectProperties!=NULL");
}
const TObjectType& OutfitEntry(int32_t Number) {
    return Lookup(Tables.Outfits, Number, "OutfitProperties!=NULL");
}
const TObjectType& EffectEntry(int32_t Number) {
    return Lookup(Tables.Effects, Number, "EffectProperties!=NULL");
}
const TObjectType& MissileEntry(int32_t Number) {
    return Lookup(Tables.Missiles, Number, "MissileProperties!=NULL");
}

void RequireFlag(const TObjectType& Entry, int32_t Flag, const char* Condition) {
    if (!GetEntryFlag(Entry, Flag))
        ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, Condition, "*(int*)Entry.Flags", FlagWord(Entry));
}

// The flag list up to its end byte 255; codes 32 to 254 carry no data and set nothing.
void ReadFlagList(TBinaryReader& Reader, TObjectType& Entry) {
    for (;;) {
        int32_t Code = Reader.readByte();
        if (Code == 0xFF) return;
        if (Code < 32) SetFlag(Entry, Code);
        switch (Code) {
        case BANK:
            Entry.BankSpeed = Reader.readWord();
            break;
        case 8:
        case 9:
            Entry.Flag8Value = Reader.readWord();
            break;
        case LIGHT:
            Entry.LightBrightness = Reader.readWord();
            Entry.LightColor = Reader.readWord();
            break;
        case SHIFT:
            Entry.ShiftX = Reader.readWord();
            Entry.ShiftY = Reader.readWord();
            break;
        case HEIGHT:
            Entry.Elevation = Reader.readWord();
            break;
        case AUTOMAP:
            Entry.AutomapColor = Reader.readWord();
            break;
        case LENSHELP:
            Entry.LensHelp = Reader.readWord();
            break;
        default:
            break;
        }
    }
}

void ReadShape(TBinaryReader& Reader, TObjectType& Entry) {
    Entry.Width = Reader.readByte();
    Entry.Height = Reader.readByte();
    Entry.Size = Entry.Width > 1 || Entry.Height > 1 ? Reader.readByte() : 32;
    Entry.Layers = Reader.readByte();
    Entry.PatternWidth = Reader.readByte();
    Entry.PatternHeight = Reader.readByte();
    Entry.PatternDepth = Reader.readByte();
    Entry.Phases = Reader.readByte();
}

// The product of the seven counts reaches 255^7 and so is formed in 64 bits. The numbers are read in
// blocks, so a count the rest of the file cannot hold fails "out of data" before more memory is taken than
// the file has bytes.
void ReadSprites(TBinaryReader& Reader, TObjectType& Entry) {
    constexpr int64_t BLOCK = 4096;
    int64_t SpriteCount = int64_t{Entry.Width} * Entry.Height * Entry.Layers * Entry.PatternWidth *
                          Entry.PatternHeight * Entry.PatternDepth * Entry.Phases;
    uint8_t Raw[2 * BLOCK];
    Entry.Sprites.reserve(static_cast<size_t>(SpriteCount < BLOCK ? SpriteCount : BLOCK));
    for (int64_t Done = 0; Done < SpriteCount;) {
        int32_t Count = static_cast<int32_t>(SpriteCount - Done < BLOCK ? SpriteCount - Done : BLOCK);
        Reader.readBytes(Raw, 2 * Count);
        for (int32_t i = 0; i < Count; i++)
            Entry.Sprites.push_back(LoadLE16(Raw + 2 * i));
        Done += Count;
    }
}

void CreateTable(TTypeTable& Table, int32_t Low, int32_t High) {
    Table.Entries = std::make_unique<TFixedArray<TObjectType>>(Low, High);
    Table.Low = Low;
    Table.High = High;
}

void ReadTable(TBinaryReader& Reader, TTypeTable& Table) {
    for (int32_t Number = Table.Low; Number <= Table.High; Number++)
        ReadObjectType(Reader, Table.Entries->at(Number));
}

void FreeTable(TTypeTable& Table) {
    Table.Entries.reset(); // each record owns its sprite list
    Table.Low = 1;
    Table.High = 0;
}

} // namespace

void InitObjects() try {
    FreeObjectTypes();
    try {
        LoadObjectTypes("Ebrun.dat");
    } catch (const TMyException&) {
        throw PROGRAM_ERROR(1);
    }
}
CATCH_FRAME()

void ExitObjects() try { FreeObjectTypes(); }
CATCH_FRAME()

void ReloadObjects() try {
    ExitObjects();
    InitObjects();
}
CATCH_FRAME()

void LoadObjectTypes(const char* FileName) try {
    CHECK_TEXT(FileName != nullptr, "FileName!=NULL");
    FreeObjectTypes();
    TBinaryReader Reader;
    Reader.open(FileName);
    Tables.Signature = Reader.readQuad();
    int32_t N = Reader.readWord();
    int32_t M = Reader.readWord();
    int32_t E = Reader.readWord();
    int32_t D = Reader.readWord();
    CreateTable(Tables.Objects, 100, N);
    CreateTable(Tables.Outfits, 1, M);
    CreateTable(Tables.Effects, 1, E);
    CreateTable(Tables.Missiles, 1, D);
    ReadTable(Reader, Tables.Objects);
    ReadTable(Reader, Tables.Outfits);
    ReadTable(Reader, Tables.Effects);
    ReadTable(Reader, Tables.Missiles);
    Reader.close();
}
CATCH_FRAME()

void ReadObjectType(TBinaryReader& Reader, TObjectType& Entry) try {
    Entry = TObjectType();
    ReadFlagList(Reader, Entry);
    ReadShape(Reader, Entry);
    ReadSprites(Reader, Entry);
}
CATCH_FRAME()

void FreeObjectTypes() try {
    FreeTable(Tables.Objects);
    FreeTable(Tables.Outfits);
    FreeTable(Tables.Effects);
    FreeTable(Tables.Missiles);
}
CATCH_FRAME()

uint32_t GetObjectTypeSignature() { return Tables.Signature; }
int32_t GetHighestObjectType() { return Tables.Objects.Entries ? Tables.Objects.High : 0; }
int32_t GetNumberOfOutfitTypes() { return Tables.Outfits.High; }
int32_t GetNumberOfEffectTypes() { return Tables.Effects.High; }
int32_t GetNumberOfMissileTypes() { return Tables.Missiles.High; }

// ---- flag tests

bool GetEntryFlag(const TObjectType& Entry, int32_t Flag) {
    CHECK(In(Flag, 0, 31), Flag);
    return (Entry.Flags[Flag / 8] >> (Flag % 8) & 1) != 0;
}

bool GetObjectFlag(int32_t Type, int32_t Flag) try {
    if (Type == CREATURE) return Flag == 12;
    if (!In(Type, Tables.Objects.Low, Tables.Objects.High))
        ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__,
                          "In(Type,ObjectProperties->low(),ObjectProperties->high())", "Type", Type,
                          "ObjectProperties->high()", Tables.Objects.High);
    return GetEntryFlag(Tables.Objects.Entries->at(Type), Flag);
}
CATCH_FRAME(Type, Flag)

bool GetObjectFlag(const TObject& Obj, int32_t Flag) { return GetObjectFlag(Obj.Type, Flag); }

bool GetOutfitFlag(int32_t Number, int32_t Flag) try { return GetEntryFlag(OutfitEntry(Number), Flag); }
CATCH_FRAME(Number, Flag)

bool GetEffectFlag(int32_t Number, int32_t Flag) try { return GetEntryFlag(EffectEntry(Number), Flag); }
CATCH_FRAME(Number, Flag)

bool GetMissileFlag(int32_t Number, int32_t Flag) try { return GetEntryFlag(MissileEntry(Number), Flag); }
CATCH_FRAME(Number, Flag)

// ---- value getters

int32_t GetEntryBankSpeed(const TObjectType& Entry) try {
    RequireFlag(Entry, BANK, "GetEntryFlag(Entry,BANK)");
    return Entry.BankSpeed;
}
CATCH_FRAME()

int32_t GetEntryLightBrightness(const TObjectType& Entry) try {
    RequireFlag(Entry, LIGHT, "GetEntryFlag(Entry,LIGHT)");
    return Entry.LightBrightness;
}
CATCH_FRAME()

int32_t GetEntryLightColor(const TObjectType& Entry) try {
    RequireFlag(Entry, LIGHT, "GetEntryFlag(Entry,LIGHT)");
    return Entry.LightColor;
}
CATCH_FRAME()

int32_t GetEntryShiftX(const TObjectType& Entry) try {
    RequireFlag(Entry, SHIFT, "GetEntryFlag(Entry,SHIFT)");
    return Entry.ShiftX;
}
CATCH_FRAME()

int32_t GetEntryShiftY(const TObjectType& Entry) try {
    RequireFlag(Entry, SHIFT, "GetEntryFlag(Entry,SHIFT)");
    return Entry.ShiftY;
}
CATCH_FRAME()

int32_t GetEntryElevation(const TObjectType& Entry) try {
    RequireFlag(Entry, HEIGHT, "GetEntryFlag(Entry,HEIGHT)");
    return Entry.Elevation;
}
CATCH_FRAME()

int32_t GetEntryAutomapColor(const TObjectType& Entry) try {
    RequireFlag(Entry, AUTOMAP, "GetEntryFlag(Entry,AUTOMAP)");
    return Entry.AutomapColor;
}
CATCH_FRAME()

int32_t GetEntryLensHelp(const TObjectType& Entry) try {
    RequireFlag(Entry, LENSHELP, "GetEntryFlag(Entry,LENSHELP)");
    return Entry.LensHelp;
}
CATCH_FRAME()

int32_t GetObjectBankSpeed(int32_t Type) try { return GetEntryBankSpeed(ObjectEntry(Type)); }
CATCH_FRAME(Type)
int32_t GetObjectLightBrightness(int32_t Type) try { return GetEntryLightBrightness(ObjectEntry(Type)); }
CATCH_FRAME(Type)
int32_t GetObjectLightColor(int32_t Type) try { return GetEntryLightColor(ObjectEntry(Type)); }
CATCH_FRAME(Type)
int32_t GetObjectShiftX(int32_t Type) try { return GetEntryShiftX(ObjectEntry(Type)); }
CATCH_FRAME(Type)
int32_t GetObjectShiftY(int32_t Type) try { return GetEntryShiftY(ObjectEntry(Type)); }
CATCH_FRAME(Type)
int32_t GetObjectElevation(int32_t Type) try { return GetEntryElevation(ObjectEntry(Type)); }
CATCH_FRAME(Type)
int32_t GetObjectAutomapColor(int32_t Type) try { return GetEntryAutomapColor(ObjectEntry(Type)); }
CATCH_FRAME(Type)
int32_t GetObjectLensHelp(int32_t Type) try { return GetEntryLensHelp(ObjectEntry(Type)); }
CATCH_FRAME(Type)
int32_t GetObjectWidth(int32_t Type) try { return ObjectEntry(Type).Width; }
CATCH_FRAME(Type)
int32_t GetObjectHeight(int32_t Type) try { return ObjectEntry(Type).Height; }
CATCH_FRAME(Type)
int32_t GetObjectSize(int32_t Type) try { return ObjectEntry(Type).Size; }
CATCH_FRAME(Type)
int32_t GetObjectLayers(int32_t Type) try { return ObjectEntry(Type).Layers; }
CATCH_FRAME(Type)
int32_t GetObjectPatternWidth(int32_t Type) try { return ObjectEntry(Type).PatternWidth; }
CATCH_FRAME(Type)
int32_t GetObjectPatternHeight(int32_t Type) try { return ObjectEntry(Type).PatternHeight; }
CATCH_FRAME(Type)
int32_t GetObjectPatternDepth(int32_t Type) try { return ObjectEntry(Type).PatternDepth; }
CATCH_FRAME(Type)
int32_t GetObjectPhases(int32_t Type) try { return ObjectEntry(Type).Phases; }
CATCH_FRAME(Type)

int32_t GetOutfitLightBrightness(int32_t Number) try { return GetEntryLightBrightness(OutfitEntry(Number)); }
CATCH_FRAME(Number)
int32_t GetOutfitLightColor(int32_t Number) try { return GetEntryLightColor(OutfitEntry(Number)); }
CATCH_FRAME(Number)
int32_t GetOutfitShiftX(int32_t Number) try { return GetEntryShiftX(OutfitEntry(Number)); }
CATCH_FRAME(Number)
int32_t GetOutfitShiftY(int32_t Number) try { return GetEntryShiftY(OutfitEntry(Number)); }
CATCH_FRAME(Number)
int32_t GetOutfitWidth(int32_t Number) try { return OutfitEntry(Number).Width; }
CATCH_FRAME(Number)
int32_t GetOutfitHeight(int32_t Number) try { return OutfitEntry(Number).Height; }
CATCH_FRAME(Number)
int32_t GetOutfitSize(int32_t Number) try { return OutfitEntry(Number).Size; }
CATCH_FRAME(Number)
int32_t GetOutfitLayers(int32_t Number) try { return OutfitEntry(Number).Layers; }
CATCH_FRAME(Number)
int32_t GetOutfitPhases(int32_t Number) try { return OutfitEntry(Number).Phases; }
CATCH_FRAME(Number)

int32_t GetEffectLightBrightness(int32_t Number) try { return GetEntryLightBrightness(EffectEntry(Number)); }
CATCH_FRAME(Number)
int32_t GetEffectLightColor(int32_t Number) try { return GetEntryLightColor(EffectEntry(Number)); }
CATCH_FRAME(Number)
int32_t GetEffectWidth(int32_t Number) try { return EffectEntry(Number).Width; }
CATCH_FRAME(Number)
int32_t GetEffectHeight(int32_t Number) try { return EffectEntry(Number).Height; }
CATCH_FRAME(Number)
int32_t GetEffectLayers(int32_t Number) try { return EffectEntry(Number).Layers; }
CATCH_FRAME(Number)
int32_t GetEffectPhases(int32_t Number) try { return EffectEntry(Number).Phases; }
CATCH_FRAME(Number)

int32_t GetMissileLightBrightness(int32_t Number) try {
    return GetEntryLightBrightness(MissileEntry(Number));
}
CATCH_FRAME(Number)
int32_t GetMissileLightColor(int32_t Number) try { return GetEntryLightColor(MissileEntry(Number)); }
CATCH_FRAME(Number)
int32_t GetMissileWidth(int32_t Number) try { return MissileEntry(Number).Width; }
CATCH_FRAME(Number)
int32_t GetMissileHeight(int32_t Number) try { return MissileEntry(Number).Height; }
CATCH_FRAME(Number)
int32_t GetMissileLayers(int32_t Number) try { return MissileEntry(Number).Layers; }
CATCH_FRAME(Number)

// ---- sprites

// X varies fastest and Phase slowest, the order of the sprite numbers in the file.
uint16_t GetSpriteNumber(const TObjectType& Entry, int32_t X, int32_t Y, int32_t Layer, int32_t PatternX,
                         int32_t PatternY, int32_t PatternZ, int32_t Phase) {
    CHECK(In(X, 1, Entry.Width), X, Entry.Width);
    CHECK(In(Y, 1, Entry.Height), Y, Entry.Height);
    CHECK(In(Layer, 1, Entry.Layers), Layer, Entry.Layers);
    CHECK(In(PatternX, 1, Entry.PatternWidth), PatternX, Entry.PatternWidth);
    CHECK(In(PatternY, 1, Entry.PatternHeight), PatternY, Entry.PatternHeight);
    CHECK(In(PatternZ, 1, Entry.PatternDepth), PatternZ, Entry.PatternDepth);
    CHECK(In(Phase, 1, Entry.Phases), Phase, Entry.Phases);
    int64_t k = Phase - 1;
    k = k * Entry.PatternDepth + PatternZ - 1;
    k = k * Entry.PatternHeight + PatternY - 1;
    k = k * Entry.PatternWidth + PatternX - 1;
    k = k * Entry.Layers + Layer - 1;
    k = k * Entry.Height + Y - 1;
    k = k * Entry.Width + X - 1;
    return Entry.Sprites[k];
}

uint16_t GetObjectSprite(int32_t Type, int32_t X, int32_t Y, int32_t Layer, int32_t PatternX,
                         int32_t PatternY, int32_t PatternZ, int32_t Phase) try {
    return GetSpriteNumber(ObjectEntry(Type), X, Y, Layer, PatternX, PatternY, PatternZ, Phase);
}
CATCH_FRAME(Type)

uint16_t GetOutfitSprite(int32_t Number, int32_t X, int32_t Y, int32_t Layer, int32_t Direction,
                         int32_t Phase) try {
    return GetSpriteNumber(OutfitEntry(Number), X, Y, Layer, Direction + 1, 1, 1, Phase);
}
CATCH_FRAME(Number)

uint16_t GetEffectSprite(int32_t Number, int32_t X, int32_t Y, int32_t Layer, int32_t Phase) try {
    return GetSpriteNumber(EffectEntry(Number), X, Y, Layer, 1, 1, 1, Phase);
}
CATCH_FRAME(Number)

uint16_t GetMissileSprite(int32_t Number, int32_t X, int32_t Y, int32_t Layer, int32_t Direction) {
    // The eight directions run clockwise over the border of a 3 x 3 pattern grid from its top middle cell.
    static constexpr int32_t PatternXOf[8] = {2, 3, 3, 3, 2, 1, 1, 1};
    static constexpr int32_t PatternYOf[8] = {1, 1, 2, 3, 3, 3, 2, 1};
    CHECK(In(Direction, 0, 7), Direction);
    try {
        return GetSpriteNumber(MissileEntry(Number), X, Y, Layer, PatternXOf[Direction],
                               PatternYOf[Direction], 1, 1);
    }
    CATCH_FRAME(Number, Direction)
}

// ---- patterns

namespace {

int32_t Variants(int32_t Count) { return Count > 0 ? Count : 1; }

} // namespace

void GetCumulativePattern(const TObject& Obj, int32_t& PatternX, int32_t& PatternY) try {
    CHECK(GetObjectFlag(Obj, CUMULATIVE));
    const TObjectType& Entry = ObjectEntry(Obj.Type);
    int32_t Count = Obj.Data, x, y;
    if (Count < 5) {
        x = Count < 2 ? 0 : Count - 1;
        y = 0;
    } else {
        x = Count < 10 ? 0 : Count < 25 ? 1 : Count < 50 ? 2 : 3;
        y = 1;
    }
    PatternX = x % Variants(Entry.PatternWidth) + 1;
    PatternY = y % Variants(Entry.PatternHeight) + 1;
}
CATCH_FRAME()

void GetLiquidPattern(const TObject& Obj, int32_t& PatternX, int32_t& PatternY) try {
    CHECK_TEXT(GetObjectFlag(Obj, LIQUIDPOOL) || GetObjectFlag(Obj, LIQUIDCONTAINER),
               "GetObjectFlag(Obj,LIQUIDPOOL) || GetObjectFlag(Obj,LIQUIDCONTAINER)");
    const TObjectType& Entry = ObjectEntry(Obj.Type);
    PatternX = Obj.Data % 4 % Variants(Entry.PatternWidth) + 1;
    PatternY = Obj.Data / 4 % Variants(Entry.PatternHeight) + 1;
}
CATCH_FRAME()

void GetHangPattern(const TObject& Obj, int32_t& PatternX, int32_t& PatternY) try {
    CHECK(GetObjectFlag(Obj, HANG));
    const TObjectType& Entry = ObjectEntry(Obj.Type);
    PatternX = 1;
    if (Obj.Data2 == HOOKSOUTH && Entry.PatternWidth >= 2) PatternX = 2;
    if (Obj.Data2 == HOOKEAST && Entry.PatternWidth >= 3) PatternX = 3;
    PatternY = 1;
}
CATCH_FRAME()
