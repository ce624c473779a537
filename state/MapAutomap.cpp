// The automap: block cache with least-recently-used replacement, block files, field values and marks.
#include "state/MapAutomap.h"

#include "foundation/Exception.h"
#include "foundation/Script.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"

#include <cstdio>
#include <cstring>

namespace {

// Set up empty by InitMap; blocks are written back when their slot is reused and at program end.
TAutomapBlock AutomapBlocks[AUTOMAP_BLOCKS];
int32_t MostRecentBlock = 0;
int32_t LeastRecentBlock = AUTOMAP_BLOCKS - 1;
uint8_t AutomapChanged = 1;

// A line in the console's default tab about a block file; silent while the chat model has no such tab.
void ReportAutomapFile(const char* Format, const char* FileName) {
    TTextBuffer* Buffer = DefaultTextBuffer();
    if (Buffer == nullptr) return;
    char Text[256];
    snprintf(Text, sizeof Text, Format, FileName);
    AddToTextBuffer(Buffer, 0, Text, TALK_EVENT_STATUS, nullptr, 0);
    SetConsoleChanged();
}

TAutomapBlock& Slot(int32_t Position) {
    CHECK(In(Position, 0, AUTOMAP_BLOCKS - 1), Position);
    return AutomapBlocks[Position];
}

void BlockFileName(char (&FileName)[32], int32_t bx, int32_t by, int32_t bz) {
    snprintf(FileName, sizeof FileName, "%03d%03d%02d.map", bx, by, bz);
}

int32_t CellOf(int32_t x, int32_t y) { return x % 256 * 256 + y % 256; }

void ResetBlock(TAutomapBlock& Block, int32_t bx, int32_t by, int32_t bz) {
    Block.bx = bx;
    Block.by = by;
    Block.bz = bz;
    memset(Block.Colors, 0, sizeof Block.Colors);
    memset(Block.Speeds, 250, sizeof Block.Speeds);
    Block.Modified = 0;
    for (int32_t i = Block.Marks.getMin(); i <= Block.Marks.getMax(); i++)
        Block.Marks.at(i) = TMapMark();
    Block.NumberOfMarks = 0;
}

void StoreMark(TAutomapBlock& Block, int32_t x, int32_t y, int32_t Type, const char* Text) {
    TMapMark& Mark = Block.Marks.at(Block.NumberOfMarks);
    Mark.x = x;
    Mark.y = y;
    Mark.Type = Type;
    CopyString(Mark.Text, Text);
    Block.NumberOfMarks++;
}

// One mark of a block file: x, y, type, text; a mark that does not lie in the block is dropped.
void ReadMark(TBinaryReader& Reader, TAutomapBlock& Block) {
    int32_t x = static_cast<int32_t>(Reader.readQuad());
    int32_t y = static_cast<int32_t>(Reader.readQuad());
    int32_t Type = static_cast<int32_t>(Reader.readQuad());
    std::unique_ptr<char[]> Text = Reader.readNewString();
    if (x >= 0 && y >= 0 && x / 256 == Block.bx && y / 256 == Block.by)
        StoreMark(Block, x, y, Type, Text.get());
}

// A block file is user data: a mark count beyond what the file holds fails "out of data" while the marks
// are read.
void ReadBlockFile(TBinaryReader& Reader, TAutomapBlock& Block) {
    Reader.readBytes(Block.Colors, AUTOMAP_CELLS);
    Reader.readBytes(Block.Speeds, AUTOMAP_CELLS);
    if (Reader.eof()) return;
    uint32_t Count = Reader.readQuad();
    CHECK_TEXT(Count <= 2147483647u, "NumberOfMarks<=2147483647");
    for (uint32_t i = 0; i < Count; i++)
        ReadMark(Reader, Block);
}

// Deleted marks (x and y 0) are left out.
void WriteBlockFile(TBinaryWriter& Writer, TAutomapBlock& Block) {
    Writer.writeBytes(Block.Colors, AUTOMAP_CELLS);
    Writer.writeBytes(Block.Speeds, AUTOMAP_CELLS);
    uint32_t Count = 0;
    for (int32_t i = 0; i < Block.NumberOfMarks; i++)
        if (Block.Marks.at(i).x != 0 || Block.Marks.at(i).y != 0) Count++;
    Writer.writeQuad(Count);
    for (int32_t i = 0; i < Block.NumberOfMarks; i++) {
        const TMapMark& Mark = Block.Marks.at(i);
        if (Mark.x == 0 && Mark.y == 0) continue;
        Writer.writeQuad(static_cast<uint32_t>(Mark.x));
        Writer.writeQuad(static_cast<uint32_t>(Mark.y));
        Writer.writeQuad(static_cast<uint32_t>(Mark.Type));
        Writer.writeString(Mark.Text);
    }
}

void LinkInFront(int32_t Position) {
    TAutomapBlock& Block = AutomapBlocks[Position];
    if (Block.Previous != -1) AutomapBlocks[Block.Previous].Next = Block.Next;
    if (Block.Next != -1) AutomapBlocks[Block.Next].Previous = Block.Previous;
    if (Position == LeastRecentBlock) LeastRecentBlock = Block.Previous;
    Block.Next = MostRecentBlock;
    Block.Previous = -1;
    AutomapBlocks[MostRecentBlock].Previous = Position;
    MostRecentBlock = Position;
}

} // namespace

void InitAutomap() {
    for (int32_t Position = 0; Position < AUTOMAP_BLOCKS; Position++) {
        TAutomapBlock& Block = AutomapBlocks[Position];
        Block.bx = -1;
        Block.Modified = 0;
        Block.NumberOfMarks = 0;
        Block.Previous = Position - 1;
        Block.Next = Position + 1 < AUTOMAP_BLOCKS ? Position + 1 : -1;
    }
    MostRecentBlock = 0;
    LeastRecentBlock = AUTOMAP_BLOCKS - 1;
    AutomapChanged = 1;
}

TAutomapBlock& GetAutomapBlock(int32_t bx, int32_t by, int32_t bz) try {
    CHECK(bx >= 0);
    CHECK(by >= 0);
    CHECK(bz >= 0);
    int32_t Position = MostRecentBlock;
    for (int32_t Seen = 0; Position != -1 && Seen < AUTOMAP_BLOCKS; Seen++) {
        const TAutomapBlock& Block = AutomapBlocks[Position];
        if (Block.bx == bx && Block.by == by && Block.bz == bz) break;
        Position = Block.Next;
    }
    if (Position == -1) {
        Position = LeastRecentBlock;
        SaveAutomapBlock(Position);
        LoadAutomapBlock(Position, bx, by, bz);
    }
    if (Position != MostRecentBlock) LinkInFront(Position);
    return AutomapBlocks[Position];
}
CATCH_FRAME()

void LoadAutomapBlock(int32_t Position, int32_t bx, int32_t by, int32_t bz) try {
    CHECK(In(bx, 0, 999));
    CHECK(In(by, 0, 999));
    CHECK_TEXT(In(bz, 0, 99), "In(bz,0, 99)");
    TAutomapBlock& Block = Slot(Position);
    ResetBlock(Block, bx, by, bz);
    char FileName[32];
    BlockFileName(FileName, bx, by, bz);
    TBinaryReader Reader;
    try {
        Reader.open(FileName);
    } catch (const TMyException&) {
        return; // never saved: the block starts empty
    }
    try {
        ReadBlockFile(Reader, Block);
    } catch (const TMyException&) {
        ResetBlock(Block, bx, by, bz);
        ReportAutomapFile("Map file '%s' was corrupted!", FileName);
    }
}
CATCH_FRAME()

void SaveAutomapBlock(int32_t Position) try {
    TAutomapBlock& Block = Slot(Position);
    if (Block.bx == -1 || Block.Modified == 0) return;
    CHECK(In(Block.bx, 0, 999));
    CHECK(In(Block.by, 0, 999));
    CHECK_TEXT(In(Block.bz, 0, 99), "In(Block.bz,0, 99)");
    char FileName[32];
    BlockFileName(FileName, Block.bx, Block.by, Block.bz);
    try {
        if (!SaveThroughTempFile<TBinaryWriter>(
                FileName, [&](TBinaryWriter& Writer) { WriteBlockFile(Writer, Block); }))
            ReportAutomapFile("Could not save file '%s'!", FileName);
    } catch (const TMyException&) {
        ReportAutomapFile("Error while saving file '%s'!", FileName);
    }
    Block.Modified = 0;
}
CATCH_FRAME()

void SaveAutomap() try {
    for (int32_t Position = 0; Position < AUTOMAP_BLOCKS; Position++)
        SaveAutomapBlock(Position);
}
CATCH_FRAME()

// The last object in draw order wins for speed and colour; creatures and objects of flags 12 and 15 make
// the field unwalkable.
void ComputeAutomapField(int32_t rx, int32_t ry, int32_t rz, int32_t& Color, int32_t& Speed) try {
    Color = 0;
    Speed = 250;
    bool Blocked = false;
    TObject Obj;
    GetFirstObject(Obj, rx, ry, rz);
    if (Obj.Type == 0) {
        Speed = 255;
        return;
    }
    for (; Obj.Type != 0; GetNextObject(Obj)) {
        if (GetObjectFlag(Obj, BANK)) {
            Speed = GetObjectBankSpeed(Obj.Type);
            if (Speed > 250) Speed = 250;
        }
        if (GetObjectFlag(Obj, AUTOMAP)) Color = GetObjectAutomapColor(Obj.Type);
        if (GetObjectFlag(Obj, UNPASS) || GetObjectFlag(Obj, AVOID)) Blocked = true;
    }
    if (Blocked) Speed = 255;
}
CATCH_FRAME()

void UpdateAutomapField(int32_t rx, int32_t ry) try {
    int32_t x, y, z;
    GetViewPosition(x, y, z);
    x += rx - 8;
    y += ry - 6;
    CHECK(In(z, 0, 15));
    int32_t Color, Speed;
    ComputeAutomapField(rx, ry, GetViewLayer(), Color, Speed);
    if (x < 0 || y < 0) return; // outside every block
    TAutomapBlock& Block = GetAutomapBlock(x / 256, y / 256, z);
    Block.Colors[CellOf(x, y)] = static_cast<uint8_t>(Clamp(Color, 0, 215));
    Block.Speeds[CellOf(x, y)] = static_cast<uint8_t>(Speed);
    Block.Modified = 1;
    AutomapChanged = 1;
}
CATCH_FRAME()

void GetAutomapColor(TRGBColor& Color, int32_t x, int32_t y, int32_t z) try {
    CHECK(In(z, 0, 15));
    if (x < 0 || y < 0) {
        Color = TRGBColor(0);
        return;
    }
    Color = TRGBColor(GetAutomapBlock(x / 256, y / 256, z).Colors[CellOf(x, y)]);
}
CATCH_FRAME()

bool IsAutomapFieldBlocked(int32_t x, int32_t y, int32_t z) try {
    CHECK(In(z, 0, 15));
    if (x < 0 || y < 0) return true;
    return GetAutomapBlock(x / 256, y / 256, z).Speeds[CellOf(x, y)] > 254;
}
CATCH_FRAME()

int32_t GetAutomapSpeed(int32_t x, int32_t y, int32_t z) try {
    CHECK(In(z, 0, 15));
    if (x < 0 || y < 0) return 1;
    return GetAutomapBlock(x / 256, y / 256, z).Speeds[CellOf(x, y)];
}
CATCH_FRAME()

void GetAutomapMarks(int32_t bx, int32_t by, int32_t z, TDynamicArray<TMapMark>& Marks, int32_t& Count) try {
    CHECK(In(z, 0, 15));
    Count = 0;
    if (bx < 0 || by < 0) return;
    TAutomapBlock& Block = GetAutomapBlock(bx, by, z);
    Count = Block.NumberOfMarks;
    for (int32_t i = 0; i < Count; i++)
        Marks.at(i) = Block.Marks.at(i);
}
CATCH_FRAME()

void AddMapMark(const TCoordinate& Coordinate, const char* Text, int32_t Type) try {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    CHECK(Coordinate.x > 0);
    CHECK(Coordinate.y > 0);
    CHECK(In(Coordinate.z, 0, 15));
    TAutomapBlock& Block = GetAutomapBlock(Coordinate.x / 256, Coordinate.y / 256, Coordinate.z);
    StoreMark(Block, Coordinate.x, Coordinate.y, Type, Text);
    Block.Modified = 1;
    AutomapChanged = 1;
}
CATCH_FRAME()

void DeleteMapMark(const TCoordinate& Coordinate, int32_t z) try {
    CHECK(In(z, 0, 15));
    TAutomapBlock& Block = GetAutomapBlock(Coordinate.x / 256, Coordinate.y / 256, z);
    for (int32_t i = 0; i < Block.NumberOfMarks; i++) {
        TMapMark& Mark = Block.Marks.at(i);
        if (Mark.x != Coordinate.x || Mark.y != Coordinate.y) continue;
        Mark.x = 0;
        Mark.y = 0;
        Block.Modified = 1;
        AutomapChanged = 1;
    }
}
CATCH_FRAME()

uint8_t GetAutomapChanged() {
    uint8_t Changed = AutomapChanged;
    AutomapChanged = 0;
    return Changed;
}

const TAutomapBlock& GetAutomapSlot(int32_t Position) { return Slot(Position); }
int32_t GetMostRecentBlock() { return MostRecentBlock; }
int32_t GetLeastRecentBlock() { return LeastRecentBlock; }
