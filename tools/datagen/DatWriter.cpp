// Writer of the object-type file Ebrun.dat: type tables built in memory, encoded byte for byte.
#include "tools/datagen/DatWriter.h"

#include "foundation/Exception.h"

#include <algorithm>
#include <cstdio>

namespace {

void PutByte(std::vector<uint8_t>& Out, int Value) { Out.push_back(static_cast<uint8_t>(Value)); }

void PutWord(std::vector<uint8_t>& Out, uint32_t Value) {
    Out.push_back(static_cast<uint8_t>(Value & 0xFF));
    Out.push_back(static_cast<uint8_t>((Value >> 8) & 0xFF));
}

void PutQuad(std::vector<uint8_t>& Out, uint32_t Value) {
    PutWord(Out, Value & 0xFFFF);
    PutWord(Out, Value >> 16);
}

void SetWord(std::vector<uint8_t>& Bytes, size_t Offset, uint32_t Value) {
    Bytes[Offset] = static_cast<uint8_t>(Value & 0xFF);
    Bytes[Offset + 1] = static_cast<uint8_t>((Value >> 8) & 0xFF);
}

TDatType& Numbered(std::vector<TDatType>& Table, int Index) {
    CHECK(Index >= 0 && static_cast<size_t>(Index) < Table.size(), Index);
    return Table[Index];
}

const std::vector<TDatType>& TableOf(const TDatFile& File, int Table) {
    switch (Table) {
    case 0:
        return File.Items;
    case 1:
        return File.Outfits;
    case 2:
        return File.Effects;
    default:
        CHECK(Table == 3, Table);
        return File.Missiles;
    }
}

// The encoded length of a record's flag list without its end byte.
size_t DatFlagListLength(const TDatType& Type) {
    size_t Length = 0;
    for (const TDatFlag& Flag : Type.Flags)
        Length += 1 + 2 * DatFlagDataWords(Flag.Code);
    return Length;
}

// The encoded length of the shape bytes: seven counts and the size byte of a larger type.
size_t DatShapeLength(const TDatType& Type) { return Type.Width > 1 || Type.Height > 1 ? 8 : 7; }

// The encoded length of a record up to its first sprite number.
size_t DatTypeHeadLength(const TDatType& Type) { return DatFlagListLength(Type) + 1 + DatShapeLength(Type); }

} // namespace

int DatFlagDataWords(int Code) {
    switch (Code) {
    case DAT_BANK:
    case DAT_WRITE:
    case DAT_WRITEONCE:
    case DAT_HEIGHT:
    case DAT_AUTOMAP:
    case DAT_LENSHELP:
        return 1;
    case DAT_LIGHT:
    case DAT_SHIFT:
        return 2;
    default:
        return 0;
    }
}

TDatType& TDatType::flag(int Code, uint16_t Value1, uint16_t Value2) {
    CHECK(In(Code, 0, 254), Code);
    Flags.push_back({static_cast<uint8_t>(Code), Value1, Value2});
    return *this;
}

TDatType& TDatType::shape(int Width, int Height, int Layers, int PatternWidth, int PatternHeight,
                          int PatternDepth, int Phases, int Size) {
    for (int Count : {Width, Height, Layers, PatternWidth, PatternHeight, PatternDepth, Phases})
        CHECK(In(Count, 0, 255), Count);
    this->Width = Width;
    this->Height = Height;
    this->Layers = Layers;
    this->PatternWidth = PatternWidth;
    this->PatternHeight = PatternHeight;
    this->PatternDepth = PatternDepth;
    this->Phases = Phases;
    if (Width > 1 || Height > 1)
        this->Size = Size > 0 ? Size : std::min(255, 32 * std::max(Width, Height));
    else
        this->Size = 32;
    CHECK(In(this->Size, 0, 255), this->Size);
    Sprites.assign(spriteCount(), 0);
    return *this;
}

size_t TDatType::spriteCount() const {
    size_t Product = 1;
    for (int Count : {Width, Height, Layers, PatternWidth, PatternHeight, PatternDepth, Phases})
        Product *= static_cast<size_t>(Count);
    return Product;
}

size_t TDatType::spriteIndex(int X, int Y, int Layer, int PatternX, int PatternY, int PatternZ,
                             int Phase) const {
    CHECK(In(X, 1, Width), X, Width);
    CHECK(In(Y, 1, Height), Y, Height);
    CHECK(In(Layer, 1, Layers), Layer, Layers);
    CHECK(In(PatternX, 1, PatternWidth), PatternX, PatternWidth);
    CHECK(In(PatternY, 1, PatternHeight), PatternY, PatternHeight);
    CHECK(In(PatternZ, 1, PatternDepth), PatternZ, PatternDepth);
    CHECK(In(Phase, 1, Phases), Phase, Phases);
    size_t k = static_cast<size_t>(Phase - 1);
    k = k * PatternDepth + (PatternZ - 1);
    k = k * PatternHeight + (PatternY - 1);
    k = k * PatternWidth + (PatternX - 1);
    k = k * Layers + (Layer - 1);
    k = k * Height + (Y - 1);
    return k * Width + (X - 1);
}

TDatType& TDatType::sprite(int X, int Y, int Layer, int PatternX, int PatternY, int PatternZ, int Phase,
                           uint16_t Number) {
    Sprites.at(spriteIndex(X, Y, Layer, PatternX, PatternY, PatternZ, Phase)) = Number;
    return *this;
}

bool TDatType::hasFlag(int Code) const {
    return std::any_of(Flags.begin(), Flags.end(), [Code](const TDatFlag& F) { return F.Code == Code; });
}

TDatType& TDatFile::addItem() { return Items.emplace_back(); }
TDatType& TDatFile::addOutfit() { return Outfits.emplace_back(); }
TDatType& TDatFile::addEffect() { return Effects.emplace_back(); }
TDatType& TDatFile::addMissile() { return Missiles.emplace_back(); }
TDatType& TDatFile::item(int Type) { return Numbered(Items, Type - 100); }
TDatType& TDatFile::outfit(int Number) { return Numbered(Outfits, Number - 1); }
TDatType& TDatFile::effect(int Number) { return Numbered(Effects, Number - 1); }
TDatType& TDatFile::missile(int Number) { return Numbered(Missiles, Number - 1); }

std::vector<uint8_t> EncodeDatType(const TDatType& Type) {
    CHECK(Type.Sprites.size() == Type.spriteCount(), static_cast<int32_t>(Type.Sprites.size()));
    std::vector<uint8_t> Out;
    Out.reserve(DatTypeHeadLength(Type) + 2 * Type.Sprites.size());
    for (const TDatFlag& Flag : Type.Flags) {
        PutByte(Out, Flag.Code);
        int Words = DatFlagDataWords(Flag.Code);
        if (Words >= 1) PutWord(Out, Flag.Value1);
        if (Words == 2) PutWord(Out, Flag.Value2);
    }
    PutByte(Out, DAT_END);
    PutByte(Out, Type.Width);
    PutByte(Out, Type.Height);
    if (Type.Width > 1 || Type.Height > 1) PutByte(Out, Type.Size);
    for (int Count : {Type.Layers, Type.PatternWidth, Type.PatternHeight, Type.PatternDepth, Type.Phases})
        PutByte(Out, Count);
    for (uint16_t Number : Type.Sprites)
        PutWord(Out, Number);
    return Out;
}

std::vector<uint8_t> EncodeDatFile(const TDatFile& File) {
    std::vector<uint8_t> Out;
    PutQuad(Out, File.Signature);
    for (int Table = 0; Table < 4; Table++) {
        size_t Count = TableOf(File, Table).size();
        if (Table == 0) Count += 99;
        CHECK(Count <= 0xFFFF, static_cast<int32_t>(Count), Table);
        PutWord(Out, static_cast<uint32_t>(Count));
    }
    for (int Table = 0; Table < 4; Table++) {
        for (const TDatType& Type : TableOf(File, Table)) {
            std::vector<uint8_t> Record = EncodeDatType(Type);
            Out.insert(Out.end(), Record.begin(), Record.end());
        }
    }
    return Out;
}

size_t DatRecordOffset(const TDatFile& File, int Table, int Number) {
    int First = Table == 0 ? 100 : 1;
    const std::vector<TDatType>& Types = TableOf(File, Table);
    CHECK(In(Number, First, First + static_cast<int>(Types.size()) - 1), Number, Table);
    size_t Offset = 12;
    for (int Before = 0; Before <= Table; Before++) {
        const std::vector<TDatType>& Run = TableOf(File, Before);
        size_t Records = Before == Table ? static_cast<size_t>(Number - First) : Run.size();
        for (size_t i = 0; i < Records; i++)
            Offset += DatTypeHeadLength(Run[i]) + 2 * Run[i].Sprites.size();
    }
    return Offset;
}

std::vector<uint8_t> EncodeBrokenDatFile(const TDatFile& File, TDatBreak Break) {
    CHECK(!File.Items.empty() && !File.Missiles.empty());
    std::vector<uint8_t> Bytes = EncodeDatFile(File);
    const TDatType& LastMissile = File.Missiles.back();
    size_t LastOffset = DatRecordOffset(File, 3, static_cast<int>(File.Missiles.size()));
    switch (Break) {
    case TDatBreak::TRUNCATED_HEADER:
        Bytes.resize(7);
        break;
    case TDatBreak::TRUNCATED_SPRITES:
        CHECK(!LastMissile.Sprites.empty());
        Bytes.resize(Bytes.size() - 1);
        break;
    case TDatBreak::MISSING_END_BYTE:
        Bytes.erase(Bytes.begin() + DatRecordOffset(File, 0, 100) + DatFlagListLength(File.Items[0]));
        break;
    case TDatBreak::TOO_FEW_ITEMS:
        SetWord(Bytes, 4, 99);
        break;
    case TDatBreak::NO_OUTFITS:
        SetWord(Bytes, 6, 0);
        break;
    case TDatBreak::NO_EFFECTS:
        SetWord(Bytes, 8, 0);
        break;
    case TDatBreak::NO_MISSILES:
        SetWord(Bytes, 10, 0);
        break;
    case TDatBreak::COUNTS_PAST_END:
        SetWord(Bytes, 10, static_cast<uint32_t>(File.Missiles.size() + 1));
        break;
    case TDatBreak::TRAILING_BYTES:
        for (int i = 0; i < 64; i++)
            PutByte(Bytes, 0xA5 ^ i);
        break;
    case TDatBreak::HUGE_PATTERNS: {
        // Width and height 255 bring a size byte with them: all eight shape bytes become 255.
        auto Shape = Bytes.begin() + LastOffset + DatFlagListLength(LastMissile) + 1;
        Shape = Bytes.erase(Shape, Shape + DatShapeLength(LastMissile));
        Bytes.insert(Shape, 8, 0xFF);
        break;
    }
    }
    return Bytes;
}

void WriteBytesToFile(const std::string& FileName, const std::vector<uint8_t>& Bytes) {
    FILE* Out = std::fopen(FileName.c_str(), "wb");
    if (Out == nullptr)
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "failed to open file", "", 0, "", 0, FileName);
    size_t Written = Bytes.empty() ? 0 : std::fwrite(Bytes.data(), 1, Bytes.size(), Out);
    bool Closed = std::fclose(Out) == 0;
    if (Written != Bytes.size() || !Closed)
        throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "failed to write file", "", 0, "", 0, FileName);
}
