// The map view of the game screen and its framed host window: the field-cell cache, the drawing of the world,
// the texts over it and its mouse handling.
#pragma once

#include "gui/GUI.h"
#include "state/Creatures.h"
#include "state/Map.h"

#include <cstdint>
#include <vector>

inline constexpr int32_t MAP_WIDTH = 15;  // fields of the map picture, west to east
inline constexpr int32_t MAP_HEIGHT = 11; // fields of the map picture, north to south
inline constexpr int32_t MAP_PICTURE_WIDTH = MAP_WIDTH * 32;
inline constexpr int32_t MAP_PICTURE_HEIGHT = MAP_HEIGHT * 32;
inline constexpr int32_t CELL_COLUMNS = 16;
inline constexpr int32_t CELL_ROWS = 12;
inline constexpr int32_t CELL_LAYERS = 10;
inline constexpr int32_t MAP_LABELS = 150;
inline constexpr int32_t MAP_TEXT_EFFECTS = 200;

// The hint texts that the hint button opens (title and body of hint 1..14). Filled by the help module; while
// it is not, no hint button is offered.
struct THintTexts {
    const char* (*Title)(int32_t Hint) = nullptr;
    const char* (*Text)(int32_t Hint) = nullptr;
};
void SetHintTexts(const THintTexts& Texts);

// One 32 x 32 square of CACHE_SURFACE holding the composed static layers of one screen point.
struct TMapCell {
    int32_t CacheX = 0, CacheY = 0;
    int32_t CachedCount = 0; // layers the square holds
    int32_t Sprite[CELL_LAYERS] = {};
    int32_t DX[CELL_LAYERS] = {}, DY[CELL_LAYERS] = {}; // offset inside the square, -31..31
    int32_t Count = 0;                                  // layers used this frame
    uint8_t Flushed = 0;                                // copied to the picture this frame
};

// The objects of one point in drawing order (the counts first: an empty point's record is one cache line).
struct TPointObjects {
    int32_t Count = 0;
    bool HasCreature = false;
    int32_t FirstEffect = -1; // the head of the point's effects, -1 for none
    TObject Objects[OBJECTS_PER_POINT];
};

// What the drawing asks of an object type: its flags (bit n for flag n) and the counts and values it uses,
// a value 0 where the type lacks its flag.
struct TTypeLook {
    uint32_t Frame = 0; // the frame it was read in
    uint32_t Flags = 0;
    int32_t Width = 0, Height = 0, Layers = 0, PatternWidth = 0, PatternHeight = 0, PatternDepth = 0,
            Phases = 0;
    int32_t ShiftX = 0, ShiftY = 0, Elevation = 0;
    bool has(int32_t Flag) const { return (Flags >> Flag & 1) != 0; }
};

struct TMapLabel {
    uint32_t CreatureID;
    int32_t x, y; // picture pixels: the top centre of the creature's square
};

struct TMapTextEffect {
    int32_t EffectNumber;
    int32_t x, y; // picture pixels
    int32_t rx, ry, rz;
};

// What the map view's shortcuts and its hint button send it.
enum MAPVIEW_COMMAND : int32_t {
    MAPVIEW_HINT = 27,
    MAPVIEW_CREATURE_INFO = 600, // the next choice of names and health bars over creatures
    MAPVIEW_DELETE_TALKBOX = 601,
};

class TMapView : public TParentComponent {
public:
    TMapView();
    ~TMapView() override;

    int32_t getMinimumWidth() const override;
    int32_t getMinimumHeight() const override;
    void setSize(int32_t Width, int32_t Height) override;
    void arrange() override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    // 600 cycles the creature information, 601 ends the oldest talk box, 27 opens the waiting hint.
    void handleEvent(int32_t Identifier) override;

    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;
    bool getHelpContext(int32_t X, int32_t Y) override;

    // The box point and floor under a view position (view pixels).
    void getField(int32_t X, int32_t Y, int32_t& rx, int32_t& ry, int32_t& rz);
    // The creature whose square of the last frame holds the view position; 0 when none.
    uint32_t getCreatureAt(int32_t X, int32_t Y);

    // Field cells (public for the drawing's tests).
    TMapCell& getCell(int32_t rx, int32_t ry);
    void addCellLayer(int32_t rx, int32_t ry, int32_t Sprite, int32_t DX, int32_t DY);
    void flushCell(int32_t rx, int32_t ry);
    // Mask 0: a plain sprite. Colours: four outfit colours, red, green, blue each (only with a mask).
    void drawSprite(int32_t PX, int32_t PY, int32_t rz, bool Direct, int32_t Sprite, int32_t Mask = 0,
                    const int32_t* Colours = nullptr);

    void DrawMap(int32_t Surface, int32_t X, int32_t Y);
    void drawField(int32_t PX, int32_t PY, int32_t rx, int32_t ry, int32_t rz, int32_t Mode);
    void drawObject(int32_t PX, int32_t PY, int32_t rz, const TObject& Obj, int32_t WX, int32_t WY,
                    int32_t WZ);
    void drawCreature(int32_t PX, int32_t PY, int32_t rz, const TCreature* Creature);
    void addLight(int32_t CX, int32_t CY, int32_t rz, int32_t Brightness, int32_t Red, int32_t Green,
                  int32_t Blue);
    void setAmbientLight(int32_t rx, int32_t ry, int32_t Brightness);
    void drawDarkness(int32_t PX, int32_t PY, int32_t Brightness);
    bool isFloorShown(int32_t rx, int32_t ry, int32_t rz) const;
    void arrangeTalkboxes();

    int32_t _LabelCount = 0;
    TMapLabel _Labels[MAP_LABELS] = {};
    int32_t _TextEffectCount = 0;
    TMapTextEffect _TextEffects[MAP_TEXT_EFFECTS] = {};
    int32_t _Light[MAPSIZE_X][MAPSIZE_Y][3] = {};
    int32_t _ViewX = 0, _ViewY = 0, _ViewZ = 0;
    int32_t _TopFloor = 0;
    int32_t _FieldFloor[MAPSIZE_X][MAPSIZE_Y] = {};
    int32_t _OffsetX = 0, _OffsetY = 0;
    TMapCell _Cells[CELL_COLUMNS * CELL_ROWS];
    TComponent* _HintButton = nullptr;
    int32_t _CropX = 0, _CropY = 0; // the picture's part shown without stretching
    // This frame's layers go straight to the picture, each field's square cleared before its first layer,
    // instead of through CACHE_SURFACE: for engines to which every change of source costs a draw call.
    bool _DirectCells = false;

private:
    // The objects of a point: read once per frame while DrawMap draws (the map does not change meanwhile),
    // read afresh for every call outside it.
    const TPointObjects& pointObjects(int32_t rx, int32_t ry, int32_t rz) {
        const size_t i = (static_cast<size_t>(rz) * MAPSIZE_Y + ry) * MAPSIZE_X + rx;
        if (_PointsFrame != 0 && i < _PointsRead.size() && _PointsRead[i] == _PointsFrame) return _Points[i];
        return readPoint(i, rx, ry, rz);
    }
    const TPointObjects& readPoint(size_t i, int32_t rx, int32_t ry, int32_t rz);
    bool firstObjectHas(int32_t rx, int32_t ry, int32_t rz, int32_t Flag);
    // An object type as the drawing asks of it: read once per frame while DrawMap draws, afresh outside it.
    const TTypeLook& typeLook(int32_t Type);
    bool floorHasCreature(int32_t rz);
    void flushSquare(int32_t QX, int32_t QY);
    void flushRow(int32_t ry);
    void clearSquare(int32_t rx, int32_t ry, TMapCell& Cell);
    void redrawCellLayers(TMapCell& Cell, int32_t Count);
    void drawCellLayer(const TMapCell& Cell, int32_t Sprite, int32_t DX, int32_t DY);
    bool cellMeetsPicture(int32_t rx, int32_t ry) const;
    void chooseFloors(int32_t Layer);
    void lightFloor(int32_t rz, int32_t Layer);
    int32_t stretchRows(int32_t Surface, int32_t X, int32_t Y, int32_t From, int32_t Ready);
    // The light's quad rows FirstRow .. EndRow - 1 (0 .. MAPSIZE_Y).
    void drawLight(int32_t FirstRow, int32_t EndRow);
    void drawCreatures(int32_t PX, int32_t PY, int32_t rx, int32_t ry, int32_t rz, int32_t Mode, int32_t E);
    void drawFieldCreature(const TCreature& C, int32_t QX, int32_t QY, int32_t sx, int32_t sy, int32_t rz,
                           int32_t Mode);
    void drawEffects(int32_t PX, int32_t PY, int32_t rx, int32_t ry, int32_t rz, int32_t Mode, int32_t E);
    void drawCreatureInfo(int32_t Surface, int32_t X, int32_t Y);
    void drawMarks(int32_t Surface, int32_t X, int32_t Y, const TCreature& Creature, int32_t sx, int32_t sy);
    void drawTexts(int32_t Surface, int32_t X, int32_t Y);
    void updateHintButton();
    void pictureToView(int32_t& x, int32_t& y) const;
    bool isRoofed(int32_t rx, int32_t ry, int32_t rz);
    bool isDark(int32_t rx, int32_t ry) const;
    void useTarget();
    void attackToggle();

    // The points' objects, box point (rx, ry, rz) at (rz * MAPSIZE_Y + ry) * MAPSIZE_X + rx, each with the
    // frame it was read in; _PointsFrame is the frame DrawMap draws, 0 outside it.
    std::vector<TPointObjects> _Points;
    std::vector<uint32_t> _PointsRead;
    std::vector<TTypeLook> _Types; // by type
    uint32_t _PointsFrame = 0;
    bool _FloorHasCreature[MAPSIZE_Z] = {}; // per floor, as DrawMap found it in the frame it draws
};

// The framed host of the map view.
class TMapWindow : public TParentComponent {
public:
    TMapWindow();

    void setSize(int32_t Width, int32_t Height) override;
    int32_t getMinimumWidth() const override;
    int32_t getMinimumHeight() const override;
    void arrange() override;

    TMapView* _MapView = nullptr; // the only child
};
