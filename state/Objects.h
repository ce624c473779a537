// Object types of Ebrun.dat: the four type tables, their loading, flag tests, value getters and sprite
// patterns.
#pragma once

#include <cstdint>
#include <vector>

class TBinaryReader;

// Flag numbers of a type's flag set (31 is not used).
enum OBJECT_FLAG : int32_t {
    BANK = 0,              // the ground of a field
    SORT_AFTER_GROUND = 1, // sorts right after the ground; the pickers pass over it
    SORT_LOW = 2,          // sorts after those; the pickers pass over it
    DRAW_ON_TOP = 3,       // drawn after the field's creatures; the pickers pass over it
    CONTAINER = 4,
    CUMULATIVE = 5,
    TAKE_AT_ONCE = 6, // taken at once as use and drop target
    USEWITH = 7,      // used with something else
    WRITE = 8,        // its text can be rewritten
    WRITEONCE = 9,    // its text can be written while empty
    LIQUIDCONTAINER = 10,
    LIQUIDPOOL = 11,
    UNPASS = 12, // blocks walking
    UNMOVE = 13,
    CAP = 14,   // caps the floors drawn above the player
    AVOID = 15, // the path finder avoids its field
    TRADE = 16, // can be offered in a trade
    HANG = 17,
    HOOKSOUTH = 18, // a wall hook of the first kind
    HOOKEAST = 19,  // a wall hook of the second kind
    ROTATE = 20,
    LIGHT = 21,
    GRATE_VIEW = 22, // a ground that does not cap the floors drawn above
    LIGHT_ABOVE = 23,
    SHIFT = 24,
    HEIGHT = 25,
    REDRAW_NEIGHBOURS = 26, // the fields west, north-west and north are drawn once more after it
    CLOCK_ANIMATION = 27,   // an outfit animated by the clock, also while standing
    AUTOMAP = 28,
    LENSHELP = 29,
    ROOF_MARK = 30,
};

// One type of any of the four tables. The counts are 0..255; the value fields hold the file's unsigned
// 16-bit values and are 0 where the record lacks their flag.
struct TObjectType {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Size = 0; // pixels of the square the whole picture fills
    int32_t Layers = 0;
    int32_t PatternWidth = 0;
    int32_t PatternHeight = 0;
    int32_t PatternDepth = 0;
    int32_t Phases = 0;
    std::vector<uint16_t> Sprites; // product of the seven counts; 0 is an empty cell
    uint8_t Flags[4] = {};         // flag n is bit n mod 8 of byte n div 8
    int32_t BankSpeed = 0;
    int32_t Flag8Value = 0; // value of flag 8 or 9; nothing reads it
    int32_t LightBrightness = 0;
    int32_t LightColor = 0; // index of the 216-colour cube
    int32_t ShiftX = 0;     // pixels
    int32_t ShiftY = 0;
    int32_t Elevation = 0; // pixels
    int32_t AutomapColor = 0;
    int32_t LensHelp = 0; // help-text number
};

// The object type that stands for a creature on a map point.
inline constexpr int32_t CREATURE = 99;

// One object on a map point, in a container or an inventory slot; copied by value.
struct TObject {
    int32_t Type;  // 0 none, 99 a creature, 100 and above an item type
    int32_t Data;  // count, liquid or creature id
    int32_t Data2; // on a map point: the hook flag (18 or 19) for a HANG object
};

inline constexpr TObject EmptyObject = {0, 0, 0};

// Module start and stop. InitObjects loads "Ebrun.dat" from the working directory; any failure of the load
// becomes PROGRAM_ERROR 1. The tables stay unchanged from the end of InitObjects to ExitObjects.
void InitObjects();
void ExitObjects();
void ReloadObjects();

// Frees the old tables, then reads the whole file; throws TMyException on any fault of the file.
void LoadObjectTypes(const char* FileName);
// Reads one record at the reader's position; a sprite list longer than the rest of the file fails
// "out of data" having taken no more memory than the file holds.
void ReadObjectType(TBinaryReader& Reader, TObjectType& Entry);
void FreeObjectTypes();

// The first four bytes of the file as last loaded; 0 before the first load, kept when the tables are freed.
uint32_t GetObjectTypeSignature();

// Bounds of the tables: item types 100..GetHighestObjectType(), the others 1..their count; 0 while nothing
// is loaded.
int32_t GetHighestObjectType();
int32_t GetNumberOfOutfitTypes();
int32_t GetNumberOfEffectTypes();
int32_t GetNumberOfMissileTypes();

// Flag tests; Flag is 0..31. Type 99 (a creature) carries flag 12 only.
bool GetEntryFlag(const TObjectType& Entry, int32_t Flag);
bool GetObjectFlag(int32_t Type, int32_t Flag);
bool GetObjectFlag(const TObject& Obj, int32_t Flag);
bool GetOutfitFlag(int32_t Number, int32_t Flag);
bool GetEffectFlag(int32_t Number, int32_t Flag);
bool GetMissileFlag(int32_t Number, int32_t Flag);

// Value getters of one record; each fails when the record lacks the value's flag.
int32_t GetEntryBankSpeed(const TObjectType& Entry);
int32_t GetEntryLightBrightness(const TObjectType& Entry);
int32_t GetEntryLightColor(const TObjectType& Entry);
int32_t GetEntryShiftX(const TObjectType& Entry);
int32_t GetEntryShiftY(const TObjectType& Entry);
int32_t GetEntryElevation(const TObjectType& Entry);
int32_t GetEntryAutomapColor(const TObjectType& Entry);
int32_t GetEntryLensHelp(const TObjectType& Entry);

int32_t GetObjectBankSpeed(int32_t Type);
int32_t GetObjectLightBrightness(int32_t Type);
int32_t GetObjectLightColor(int32_t Type);
int32_t GetObjectShiftX(int32_t Type);
int32_t GetObjectShiftY(int32_t Type);
int32_t GetObjectElevation(int32_t Type);
int32_t GetObjectAutomapColor(int32_t Type);
int32_t GetObjectLensHelp(int32_t Type);
int32_t GetObjectWidth(int32_t Type);
int32_t GetObjectHeight(int32_t Type);
int32_t GetObjectSize(int32_t Type);
int32_t GetObjectLayers(int32_t Type);
int32_t GetObjectPatternWidth(int32_t Type);
int32_t GetObjectPatternHeight(int32_t Type);
int32_t GetObjectPatternDepth(int32_t Type);
int32_t GetObjectPhases(int32_t Type);

int32_t GetOutfitLightBrightness(int32_t Number);
int32_t GetOutfitLightColor(int32_t Number);
int32_t GetOutfitShiftX(int32_t Number);
int32_t GetOutfitShiftY(int32_t Number);
int32_t GetOutfitWidth(int32_t Number);
int32_t GetOutfitHeight(int32_t Number);
int32_t GetOutfitSize(int32_t Number);
int32_t GetOutfitLayers(int32_t Number);
int32_t GetOutfitPhases(int32_t Number);

int32_t GetEffectLightBrightness(int32_t Number);
int32_t GetEffectLightColor(int32_t Number);
int32_t GetEffectWidth(int32_t Number);
int32_t GetEffectHeight(int32_t Number);
int32_t GetEffectLayers(int32_t Number);
int32_t GetEffectPhases(int32_t Number);

int32_t GetMissileLightBrightness(int32_t Number);
int32_t GetMissileLightColor(int32_t Number);
int32_t GetMissileWidth(int32_t Number);
int32_t GetMissileHeight(int32_t Number);
int32_t GetMissileLayers(int32_t Number);

// Sprite numbers (0: nothing to draw). Every argument is 1-based and checked against its count;
// Direction is 0..3 for outfits and 0..7 (north, clockwise) for missiles.
uint16_t GetSpriteNumber(const TObjectType& Entry, int32_t X, int32_t Y, int32_t Layer, int32_t PatternX,
                         int32_t PatternY, int32_t PatternZ, int32_t Phase);
uint16_t GetObjectSprite(int32_t Type, int32_t X, int32_t Y, int32_t Layer, int32_t PatternX,
                         int32_t PatternY, int32_t PatternZ, int32_t Phase);
uint16_t GetOutfitSprite(int32_t Number, int32_t X, int32_t Y, int32_t Layer, int32_t Direction,
                         int32_t Phase);
uint16_t GetEffectSprite(int32_t Number, int32_t X, int32_t Y, int32_t Layer, int32_t Phase);
uint16_t GetMissileSprite(int32_t Number, int32_t X, int32_t Y, int32_t Layer, int32_t Direction);

// Picture variant of an item by its data (1-based results). A type with a pattern count of 0 is treated as
// having one variant along that axis.
void GetCumulativePattern(const TObject& Obj, int32_t& PatternX, int32_t& PatternY);
void GetLiquidPattern(const TObject& Obj, int32_t& PatternX, int32_t& PatternY);
void GetHangPattern(const TObject& Obj, int32_t& PatternX, int32_t& PatternY);
