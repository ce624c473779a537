// The drawing of the world in the map view: floors, fields, objects, creatures, effects and missiles, the
// light and darkness over the picture, and the creature bars, names and marks over the finished map.
#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "screen/MapWindow.h"
#include "state/CreaturesPlayer.h"
#include "state/MapEffects.h"
#include "state/MapLight.h"
#include "state/Objects.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr int32_t INVISIBLE_EFFECT = 13;
constexpr int32_t CREATURES_PER_FIELD = 10;
constexpr int32_t MAX_ELEVATION = 24;

struct TColour {
    int32_t Red, Green, Blue;
};
constexpr TColour AimedColour = {248, 248, 248};
constexpr TColour AttackedColour = {224, 64, 64}, AttackedAimedColour = {248, 164, 164};
constexpr TColour FollowedColour = {64, 224, 64}, FollowedAimedColour = {180, 248, 180};
constexpr TColour HiddenColour = {192, 192, 192};

// The point's objects in drawing order up to the first empty one, copied, so that no walk of the map
// disturbs the caller's.
void ReadPoint(TPointObjects& Point, int32_t rx, int32_t ry, int32_t rz) {
    const TMapPoint& Source = GetMapPoint(GetPointIndex(rx, ry, rz));
    Point.Count = 0;
    Point.HasCreature = false;
    Point.FirstEffect = Source.EffectNumber;
    for (int32_t i = 0; i < std::min(Source.ObjectCount, OBJECTS_PER_POINT); i++) {
        const TObject& Obj = Source.Objects[Source.DrawOrder[i]];
        if (Obj.Type == 0) break;
        Point.Objects[Point.Count++] = Obj;
        Point.HasCreature |= Obj.Type == CREATURE;
    }
}

// Counts the frames DrawMap draws; 0 is left out, it stands for "no frame".
uint32_t NextFrame(uint32_t Frame) { return Frame + 1 == 0 ? 1 : Frame + 1; }

bool InBox(int32_t rx, int32_t ry, int32_t rz) {
    return In(rx, 0, MAPSIZE_X - 1) && In(ry, 0, MAPSIZE_Y - 1) && In(rz, 0, MAPSIZE_Z - 1);
}

} // namespace

const TPointObjects& TMapView::readPoint(size_t i, int32_t rx, int32_t ry, int32_t rz) {
    if (_Points.empty()) {
        _Points.resize(MAPSIZE_X * MAPSIZE_Y * MAPSIZE_Z);
        _PointsRead.resize(_Points.size());
    }
    ReadPoint(_Points[i], rx, ry, rz);
    _PointsRead[i] = _PointsFrame;
    return _Points[i];
}

bool TMapView::floorHasCreature(int32_t rz) {
    for (int32_t x = 0; x < MAPSIZE_X; x++)
        for (int32_t y = 0; y < MAPSIZE_Y; y++)
            if (pointObjects(x, y, rz).HasCreature) return true;
    return false;
}

bool TMapView::firstObjectHas(int32_t rx, int32_t ry, int32_t rz, int32_t Flag) {
    const TPointObjects& Point = pointObjects(rx, ry, rz);
    return Point.Count > 0 && typeLook(Point.Objects[0].Type).has(Flag);
}

const TTypeLook& TMapView::typeLook(int32_t Type) {
    if (Type >= 0 && static_cast<size_t>(Type) < _Types.size() && _PointsFrame != 0 &&
        _Types[Type].Frame == _PointsFrame)
        return _Types[Type];
    TTypeLook Look;
    for (int32_t Flag = 0; Flag < 32; Flag++)
        Look.Flags |= static_cast<uint32_t>(GetObjectFlag(Type, Flag)) << Flag;
    if (Type != CREATURE) {
        Look.Width = GetObjectWidth(Type);
        Look.Height = GetObjectHeight(Type);
        Look.Layers = GetObjectLayers(Type);
        Look.PatternWidth = GetObjectPatternWidth(Type);
        Look.PatternHeight = GetObjectPatternHeight(Type);
        Look.PatternDepth = GetObjectPatternDepth(Type);
        Look.Phases = GetObjectPhases(Type);
        if (Look.has(SHIFT)) Look.ShiftX = GetObjectShiftX(Type), Look.ShiftY = GetObjectShiftY(Type);
        if (Look.has(HEIGHT)) Look.Elevation = GetObjectElevation(Type);
    }
    Look.Frame = _PointsFrame;
    if (static_cast<size_t>(Type) >= _Types.size()) _Types.resize(Type + 1);
    return _Types[Type] = Look;
}

// Bounds that arrive swapped change roles.
int32_t ClampValue(int32_t v, int32_t lo, int32_t hi) {
    if (hi < lo) std::swap(lo, hi);
    return v < lo ? lo : v > hi ? hi : v;
}

void TMapView::setAmbientLight(int32_t rx, int32_t ry, int32_t Brightness) {
    TRGBColor Colour;
    GetAmbientLightColor(Colour);
    const int32_t B = ClampValue(Brightness, 0, 255);
    _Light[rx][ry][0] = Colour.Red * B / 255;
    _Light[rx][ry][1] = Colour.Green * B / 255;
    _Light[rx][ry][2] = Colour.Blue * B / 255;
}

void TMapView::addLight(int32_t CX, int32_t CY, int32_t rz, int32_t B, int32_t Red, int32_t Green,
                        int32_t Blue) {
    if (B <= 0) return;
    const int32_t cx = (CX + _OffsetX) / 32, cy = (CY + _OffsetY) / 32;
    const int32_t Colour[3] = {Red, Green, Blue};
    for (int32_t fx = std::max(cx - B + 1, 0); fx <= std::min(cx + B - 1, MAPSIZE_X - 1); fx++)
        for (int32_t fy = std::max(cy - B + 1, 0); fy <= std::min(cy + B - 1, MAPSIZE_Y - 1); fy++) {
            const double ddx = fx * 32 + 16 - CX - _OffsetX, ddy = fy * 32 + 16 - CY - _OffsetY;
            const int32_t d = static_cast<int32_t>(std::sqrt(ddx * ddx + ddy * ddy));
            const int32_t I = B * 32 - d;
            TObject Ground;
            GetMapObject(Ground, fx, fy, rz, 0);
            const bool OnGround = Ground.Type != 0 && GetObjectFlag(Ground.Type, BANK);
            for (int32_t c = 0; c < 3; c++) {
                int32_t v = Colour[c] * I / 160;
                if (!OnGround) v = v * 4 / 5;
                v = ClampValue(v, 0, 255);
                _Light[fx][fy][c] = std::max(_Light[fx][fy][c], v);
            }
        }
}

void TMapView::chooseFloors(int32_t L) {
    _TopFloor = 7;
    static constexpr int32_t Cross[5][2] = {{7, 6}, {8, 5}, {8, 6}, {8, 7}, {9, 6}};
    for (const auto& Point : Cross) {
        const int32_t x = Point[0], y = Point[1];
        if (!PointLacksCap(x, y, L)) continue;
        for (int32_t rz = L + 1; rz <= 7; rz++) {
            const int32_t d = rz - L;
            if (x - d < 0 || y - d < 0) break;
            if (rz - 1 < _TopFloor && firstObjectHas(x - d, y - d, rz, BANK) &&
                !firstObjectHas(x - d, y - d, rz, GRATE_VIEW))
                _TopFloor = rz - 1;
            if (rz - 1 < _TopFloor &&
                (firstObjectHas(x, y, rz, BANK) || firstObjectHas(x, y, rz, SORT_LOW)) &&
                !firstObjectHas(x, y, rz, GRATE_VIEW))
                _TopFloor = rz - 1;
        }
    }
    // The points of the floors drawn, up front and in the order the map stores them, so that the processor
    // fetches them ahead instead of waiting for each as the choice below and the drawing jump between floors.
    for (int32_t rz = 0; rz <= _TopFloor; rz++)
        for (int32_t y = 0; y < MAPSIZE_Y; y++)
            for (int32_t x = 0; x < MAPSIZE_X; x++)
                pointObjects(x, y, rz);
    for (int32_t x = 0; x < MAPSIZE_X; x++)
        for (int32_t y = 0; y < MAPSIZE_Y; y++) {
            _FieldFloor[x][y] = 0;
            for (int32_t rz = _TopFloor; rz >= 1; rz--)
                if (firstObjectHas(x, y, rz, ROOF_MARK)) {
                    _FieldFloor[x][y] = rz;
                    break;
                }
        }
}

void TMapView::lightFloor(int32_t rz, int32_t L) {
    if (rz > 0 && rz == L)
        for (auto& Column : _Light)
            for (auto& Point : Column)
                for (int32_t& c : Point)
                    c = c * 4 / 5;
    const int32_t Ambient = _ViewZ > 7 ? 0 : GetAmbientBrightness();
    for (int32_t x = 0; x < MAPSIZE_X; x++)
        for (int32_t y = 0; y < MAPSIZE_Y; y++) {
            if (rz != 0 && !firstObjectHas(x, y, rz, BANK)) continue;
            int32_t Old[3];
            std::copy(_Light[x][y], _Light[x][y] + 3, Old);
            setAmbientLight(x, y, Ambient);
            if (rz > 0 && PointHasLightAbove(x, y, rz))
                for (int32_t c = 0; c < 3; c++)
                    _Light[x][y][c] = std::max(_Light[x][y][c], Old[c] * 4 / 5);
        }
    if (rz != _ViewZ + L - 8 || rz >= 7) return;
    for (int32_t x = 1; x < MAPSIZE_X; x++)
        for (int32_t y = 1; y < MAPSIZE_Y; y++)
            if (PointHasLightAbove(x - 1, y - 1, rz + 1)) setAmbientLight(x, y, GetAmbientBrightness() - 1);
}

void TMapView::DrawMap(int32_t Surface, int32_t X, int32_t Y) try {
    TSurface* Engine = GetSurface();
    const bool Light = GetLightEffects() && Engine->SupportsLightEffects();
    MoveMissiles();
    const TCreature* Player = GetPlayerID() != 0 ? GetCreature(GetPlayerID()) : nullptr;
    // Between entering the game and the first map the player's creature is not known yet: nothing to show.
    if (Player == nullptr) {
        Engine->FillRectangle(Surface, X, Y, Width, Height, 0, 0, 0);
        return;
    }
    // Every point is read once in this frame; afterwards, calls read the map again.
    struct TFrameGuard {
        uint32_t& Frame;
        ~TFrameGuard() { Frame = 0; }
    } Guard{_PointsFrame};
    static uint32_t Frames = 0;
    _PointsFrame = Frames = NextFrame(Frames);
    _OffsetX = Player->getOffsetX() + 32;
    _OffsetY = Player->getOffsetY() + 32;
    const int32_t L = GetViewLayer();
    chooseFloors(L);
    _LabelCount = 0;
    _TextEffectCount = 0;
    GetViewPosition(_ViewX, _ViewY, _ViewZ);
    const bool Renewed = Engine->SurfacesRenewed(2);
    _DirectCells = !Engine->ComposedCopiesPay();
    for (TMapCell& Cell : _Cells) {
        if (Renewed) Cell.CachedCount = 0;
        Cell.Count = 0;
        Cell.Flushed = 0;
    }
    for (int32_t rz = 0; rz <= _TopFloor; rz++) {
        _FloorHasCreature[rz] = floorHasCreature(rz);
        lightFloor(rz, L);
        for (int32_t x = 0; x < MAPSIZE_X; x++)
            for (int32_t y = 0; y < MAPSIZE_Y; y++)
                drawField(x * 32 - _OffsetX, y * 32 - _OffsetY, x, y, rz, 0);
    }
    // Where composing pays (the software engine, whose stretch takes the nearest pixel), the light and the
    // stretch follow the rows of cells down the picture, each part as soon as what it needs is complete,
    // while its pixels are still at hand. Engines that draw on the device do each in one batch.
    const bool ByRows = Light && !_DirectCells;
    const bool Stretched = !GetNoStretching();
    int32_t Shown = 0; // picture rows stretched so far
    for (int32_t y = 0; y < MAPSIZE_Y; y++) {
        flushRow(y);
        if (!ByRows) continue;
        drawLight(y, y + 1);
        if (Stretched) Shown = stretchRows(Surface, X, Y, Shown, y * 32 - _OffsetY + 16);
    }
    if (Light)
        drawLight(ByRows ? MAPSIZE_Y : 0, MAPSIZE_Y + 1);
    else
        for (int32_t x = 0; x < MAPSIZE_X; x++)
            for (int32_t y = 0; y < MAPSIZE_Y; y++)
                drawDarkness(x * 32 - _OffsetX, y * 32 - _OffsetY, _Light[x][y][0]);
    _CropX = _CropY = 0;
    if (Stretched) {
        stretchRows(Surface, X, Y, Shown, MAP_PICTURE_HEIGHT);
    } else {
        CHECK_TEXT(Width <= MAP_PICTURE_WIDTH, "getWidth()<=MAP_WIDTH*32");
        CHECK_TEXT(Height <= MAP_PICTURE_HEIGHT, "getHeight()<=MAP_HEIGHT*32");
        _CropX = (MAP_PICTURE_WIDTH - Width) / 2;
        _CropY = (MAP_PICTURE_HEIGHT - Height) / 2;
        Engine->Blit(Surface, X, Y, TEMP_SURFACE, _CropX, _CropY, Width, Height);
    }
    if (GetCreatureInfo() != 0) drawCreatureInfo(Surface, X, Y);
    drawTexts(Surface, X, Y);
    TParentComponent::draw(Surface, X, Y);
}
CATCH_FRAME(X, Y)

// A nearest-pixel stretch of the picture's Q rows to the view's P rows, Q : P the scale in lowest terms, maps
// each whole Q rows to P rows as the stretch of the whole picture does. So the rows from From, a multiple of
// Q, are stretched up to the last whole Q rows before Ready, or to the end when Ready reaches it; answers
// where that stopped.
int32_t TMapView::stretchRows(int32_t Surface, int32_t X, int32_t Y, int32_t From, int32_t Ready) {
    const int32_t Common = std::gcd(Height, MAP_PICTURE_HEIGHT);
    const int32_t Q = MAP_PICTURE_HEIGHT / Common, P = Height / Common;
    const int32_t To = Ready >= MAP_PICTURE_HEIGHT ? MAP_PICTURE_HEIGHT : std::max(Ready, 0) / Q * Q;
    if (To <= From) return From;
    GetSurface()->StretchBlit(Surface, X, Y + From / Q * P, Width, (To - From) / Q * P, TEMP_SURFACE, 0, From,
                              MAP_PICTURE_WIDTH, To - From);
    return To;
}

// Quad row y covers the lower half of field row y - 1 and the upper half of field row y. Quads that lie
// wholly outside the picture are left out: what they would light is never shown.
void TMapView::drawLight(int32_t FirstRow, int32_t EndRow) {
    constexpr int32_t Columns = MAPSIZE_X + 1, Quads = Columns * (MAPSIZE_Y + 1);
    int32_t Rectangles[Quads * 4], Colours[Quads * 12];
    int32_t n = 0;
    // Row by row, so that the quads of a row lie side by side and are shaded together.
    for (int32_t y = FirstRow; y < EndRow; y++)
        for (int32_t x = 0; x < Columns; x++) {
            int32_t* R = Rectangles + 4 * n;
            R[0] = x * 32 - _OffsetX - 16;
            R[1] = y * 32 - _OffsetY - 16;
            R[2] = R[3] = 32;
            if (R[0] >= MAP_PICTURE_WIDTH || R[1] >= MAP_PICTURE_HEIGHT || R[0] + 32 <= 0 || R[1] + 32 <= 0)
                continue;
            const int32_t Corners[4][2] = {{x - 1, y - 1}, {x, y - 1}, {x - 1, y}, {x, y}};
            for (int32_t c = 0; c < 4; c++) {
                const int32_t cx = ClampValue(Corners[c][0], 0, MAPSIZE_X - 1);
                const int32_t cy = ClampValue(Corners[c][1], 0, MAPSIZE_Y - 1);
                std::copy(_Light[cx][cy], _Light[cx][cy] + 3, Colours + 12 * n + 3 * c);
            }
            n++;
        }
    GetSurface()->DrawShadedQuads(TEMP_SURFACE, n, Rectangles, Colours);
}

void TMapView::drawField(int32_t PX, int32_t PY, int32_t x, int32_t y, int32_t rz, int32_t Mode) try {
    int32_t WX = x, WY = y, WZ = rz;
    LocalToWorld(WX, WY, WZ);
    const TPointObjects& Point = pointObjects(x, y, rz);
    if (Point.Count == 0 && rz == 0 && Mode == 0 && isFloorShown(x, y, 0)) drawSprite(PX, PY, rz, false, 0);
    int32_t E = 0;
    const TObject* Top = nullptr;
    bool Overlaps = false;
    for (int32_t i = 0; i < Point.Count; i++) {
        const TObject& Obj = Point.Objects[i];
        const bool IsCreature = Obj.Type == CREATURE;
        const TTypeLook Look = typeLook(Obj.Type); // a copy: later look-ups may move the table
        if (Mode == 0 && !IsCreature && Look.has(LIGHT)) {
            const TRGBColor Colour(GetObjectLightColor(Obj.Type));
            addLight(PX - Look.ShiftX - E + 16, PY - Look.ShiftY - E + 16, rz,
                     GetObjectLightBrightness(Obj.Type), Colour.Red, Colour.Green, Colour.Blue);
        }
        if (Look.has(DRAW_ON_TOP)) {
            Top = &Obj;
        } else if (!IsCreature && Mode != 1) {
            drawObject(PX - E, PY - E, rz, Obj, WX, WY, WZ);
            if (Look.has(REDRAW_NEIGHBOURS)) Overlaps = true;
        }
        if (Look.has(HEIGHT)) E = std::min(E + Look.Elevation, MAX_ELEVATION);
    }
    if (Overlaps) {
        if (x > 0 && y > 0) drawField(PX - 32, PY - 32, x - 1, y - 1, rz, 1);
        if (x > 0) drawField(PX - 32, PY, x - 1, y, rz, 1);
        if (y > 0) drawField(PX, PY - 32, x, y - 1, rz, 1);
    }
    drawCreatures(PX, PY, x, y, rz, Mode, E);
    drawEffects(PX, PY, x, y, rz, Mode, E);
    if (Top != nullptr) drawObject(PX, PY, rz, *Top, WX, WY, WZ);
}
CATCH_FRAME(x, y)

void TMapView::drawObject(int32_t PX, int32_t PY, int32_t rz, const TObject& Obj, int32_t WX, int32_t WY,
                          int32_t WZ) {
    CHECK(Obj.Type != 0);
    const int32_t T = Obj.Type;
    const TTypeLook Look = typeLook(T);
    const int32_t Phases = std::max(Look.Phases, 1);
    int32_t PatternX = WX % std::max(Look.PatternWidth, 1) + 1;
    int32_t PatternY = WY % std::max(Look.PatternHeight, 1) + 1;
    const int32_t PatternZ = WZ % std::max(Look.PatternDepth, 1) + 1;
    const int32_t Phase = GetTickCounter() / 5 % Phases + 1;
    if (Look.has(CUMULATIVE)) GetCumulativePattern(Obj, PatternX, PatternY);
    if (Look.has(LIQUIDCONTAINER) || Look.has(LIQUIDPOOL)) GetLiquidPattern(Obj, PatternX, PatternY);
    if (Look.has(HANG)) GetHangPattern(Obj, PatternX, PatternY);
    for (int32_t w = 1; w <= Look.Width; w++)
        for (int32_t h = 1; h <= Look.Height; h++)
            for (int32_t Layer = 1; Layer <= Look.Layers; Layer++) {
                const int32_t Sprite = GetObjectSprite(T, w, h, Layer, PatternX, PatternY, PatternZ, Phase);
                if (Sprite > 0)
                    drawSprite(PX - (w - 1) * 32 - Look.ShiftX, PY - (h - 1) * 32 - Look.ShiftY, rz,
                               Phases > 1, Sprite);
            }
}

void TMapView::drawCreature(int32_t PX, int32_t PY, int32_t rz, const TCreature* Creature) {
    CHECK_TEXT(Creature != nullptr, "Creature!=NULL");
    CHECK_TEXT(Creature->OutfitType != 0, "Creature->OutfitType!=0");
    const int32_t Outfit = Creature->OutfitType;
    int32_t Colours[12];
    const int32_t Parts[4] = {Creature->OutfitHead, Creature->OutfitBody, Creature->OutfitLegs,
                              Creature->OutfitFeet};
    for (int32_t p = 0; p < 4; p++)
        GetOutfitColor(Parts[p], Colours[3 * p], Colours[3 * p + 1], Colours[3 * p + 2]);
    const int32_t Phases = std::max(GetOutfitPhases(Outfit), 1);
    const int32_t Phase = GetOutfitFlag(Outfit, CLOCK_ANIMATION) ? GetTickCounter() / 3 % Phases + 1
                                                                 : Creature->getAnimationPhase(Phases);
    const int32_t Direction = Creature->getDirection();
    const bool Masked = GetOutfitLayers(Outfit) >= 2;
    const bool Shifted = GetOutfitFlag(Outfit, SHIFT);
    const int32_t sx = Shifted ? GetOutfitShiftX(Outfit) : 0, sy = Shifted ? GetOutfitShiftY(Outfit) : 0;
    for (int32_t w = 1; w <= GetOutfitWidth(Outfit); w++)
        for (int32_t h = 1; h <= GetOutfitHeight(Outfit); h++) {
            const int32_t Sprite = GetOutfitSprite(Outfit, w, h, 1, Direction, Phase);
            const int32_t Mask = Masked ? GetOutfitSprite(Outfit, w, h, 2, Direction, Phase) : 0;
            if (Sprite > 0)
                drawSprite(PX - (w - 1) * 32 - sx, PY - (h - 1) * 32 - sy, rz, true, Sprite, Mask, Colours);
        }
}

namespace {

struct TFieldCreature {
    const TCreature* Creature;
    int32_t dx, dy, sx, sy;
};

// The creature's picture displacement; false for an invisible creature that is not the player.
bool CreatureShift(const TCreature& C, int32_t& sx, int32_t& sy) {
    sx = sy = 0;
    if (C.OutfitType != 0) {
        if (GetOutfitFlag(C.OutfitType, SHIFT))
            sx = GetOutfitShiftX(C.OutfitType), sy = GetOutfitShiftY(C.OutfitType);
        return true;
    }
    if (C.OutfitHead != 0) {
        if (GetObjectFlag(C.OutfitHead, SHIFT))
            sx = GetObjectShiftX(C.OutfitHead), sy = GetObjectShiftY(C.OutfitHead);
        return true;
    }
    if (C.CreatureID != GetPlayerID()) return false;
    sx = sy = 8;
    return true;
}

// Ascending by dy, then dx; equal keys change places too, so the order of equals is reversed.
void SortCreatures(TFieldCreature* List, int32_t n) {
    for (int32_t i = 0; i + 1 < n; i++)
        for (int32_t j = i + 1; j < n; j++)
            if (!(List[i].dy < List[j].dy || (List[i].dy == List[j].dy && List[i].dx < List[j].dx)))
                std::swap(List[i], List[j]);
}

bool FrameColour(const TCreature& C, TColour& Colour) {
    const bool Aimed = C.CreatureID == GetAimedCreature();
    bool Found = Aimed;
    if (Aimed) Colour = AimedColour;
    if (C.CreatureID == GetAttackTarget()) {
        Colour = Aimed ? AttackedAimedColour : AttackedColour;
        Found = true;
    } else if (C.CreatureID == GetFollowTarget()) {
        Colour = Aimed ? FollowedAimedColour : FollowedColour;
        Found = true;
    }
    return Found;
}

} // namespace

void TMapView::drawCreatures(int32_t PX, int32_t PY, int32_t x, int32_t y, int32_t rz, int32_t Mode,
                             int32_t E) {
    if (_PointsFrame != 0 && !_FloorHasCreature[rz]) return;
    TFieldCreature List[CREATURES_PER_FIELD];
    int32_t n = 0;
    for (int32_t nx = x - 1; nx <= x + 1; nx++)
        for (int32_t ny = y - 1; ny <= y + 1; ny++) {
            if (!InBox(nx, ny, rz)) continue;
            const TPointObjects& Point = pointObjects(nx, ny, rz);
            if (!Point.HasCreature) continue;
            for (int32_t i = 0; i < Point.Count && n < CREATURES_PER_FIELD; i++) {
                if (Point.Objects[i].Type != CREATURE || Point.Objects[i].Data == 0) continue;
                const TCreature* C = GetCreature(static_cast<uint32_t>(Point.Objects[i].Data));
                int32_t sx = 0, sy = 0;
                if (C == nullptr || !CreatureShift(*C, sx, sy)) continue;
                const int32_t dx = (nx - x) * 32 - sx + C->getOffsetX();
                const int32_t dy = (ny - y) * 32 - sy + C->getOffsetY();
                if (In(dx, -31, 0) && In(dy, -31, 0)) List[n++] = {C, dx, dy, sx, sy};
            }
        }
    SortCreatures(List, n);
    for (int32_t i = 0; i < n; i++)
        drawFieldCreature(*List[i].Creature, PX + List[i].dx - E, PY + List[i].dy - E, List[i].sx, List[i].sy,
                          rz, Mode);
}

// One creature whose square starts at (QX, QY): its frames, its picture shifted by (sx, sy), and in the
// normal pass its label and light.
void TMapView::drawFieldCreature(const TCreature& C, int32_t QX, int32_t QY, int32_t sx, int32_t sy,
                                 int32_t rz, int32_t Mode) {
    TColour Colour;
    int32_t Inset = 0;
    if (FrameColour(C, Colour)) {
        flushSquare(QX, QY);
        GetSurface()->DrawBorderClipped(TEMP_SURFACE, QX, QY, 32, 32, 2, Colour.Red, Colour.Green,
                                        Colour.Blue, 0, 0, MAP_PICTURE_WIDTH, MAP_PICTURE_HEIGHT);
        Inset = 2;
    }
    if (C.isMarked()) {
        flushSquare(QX, QY);
        const TRGBColor Mark(C.MarkColor);
        GetSurface()->DrawBorderClipped(TEMP_SURFACE, QX + Inset, QY + Inset, 32 - 2 * Inset, 32 - 2 * Inset,
                                        2, Mark.Red, Mark.Green, Mark.Blue, 0, 0, MAP_PICTURE_WIDTH,
                                        MAP_PICTURE_HEIGHT);
    }
    const int32_t DX = QX + sx, DY = QY + sy;
    if (C.OutfitType == 0 && C.OutfitHead == 0) {
        // The invisibility shimmer needs phases 2 to 4 of its effect type; a data file without it shows none.
        if (INVISIBLE_EFFECT <= GetNumberOfEffectTypes() && GetEffectPhases(INVISIBLE_EFFECT) >= 4) {
            flushSquare(DX - 8, DY - 8);
            DrawSprite(TEMP_SURFACE, DX - 8, DY - 8,
                       GetEffectSprite(INVISIBLE_EFFECT, 1, 1, 1, GetTickCounter() / 3 % 3 + 2));
        }
    } else if (C.OutfitType == 0) {
        drawObject(DX, DY, rz, TObject{C.OutfitHead, 0, 0}, 0, 0, 0);
    } else {
        drawCreature(DX, DY, rz, &C);
    }
    if (Mode != 0) return;
    const uint32_t PlayerID = GetPlayerID();
    if ((IsBattleListMember(&C) || C.CreatureID == PlayerID) && rz == GetViewLayer() &&
        _LabelCount < MAP_LABELS)
        _Labels[_LabelCount++] = {C.CreatureID, QX + 16, QY};
    const TRGBColor Own(C.LightColor);
    addLight(QX + 16, QY + 16, rz, C.LightBrightness, Own.Red, Own.Green, Own.Blue);
    if (C.OutfitType != 0 && GetOutfitFlag(C.OutfitType, LIGHT)) {
        const TRGBColor Outfit(GetOutfitLightColor(C.OutfitType));
        addLight(QX + 16, QY + 16, rz, GetOutfitLightBrightness(C.OutfitType), Outfit.Red, Outfit.Green,
                 Outfit.Blue);
    }
    if (C.CreatureID == PlayerID && C.LightBrightness < 2) addLight(QX + 16, QY + 16, rz, 2, 255, 255, 255);
}

void TMapView::drawEffects(int32_t PX, int32_t PY, int32_t x, int32_t y, int32_t rz, int32_t Mode,
                           int32_t E) {
    if (pointObjects(x, y, rz).FirstEffect == -1) return;
    int32_t Numbers[EFFECTS];
    int32_t n = 0;
    for (int32_t e = GetFirstEffect(x, y, rz); e != -1 && n < EFFECTS; e = GetNextEffect())
        Numbers[n++] = e;
    for (int32_t i = 0; i < n; i++) {
        const int32_t e = Numbers[i];
        CHECK_TEXT(In(e, 0, EFFECTS - 1), "effect number out of range [bug0000913]", e);
        const int32_t Status = GetEffectStatus(e);
        if (Status == EFFECT_GRAPHIC && GetGraphicEffectType(e) != -1) {
            const int32_t T = GetGraphicEffectType(e), Phase = GetGraphicEffectPhase(e);
            for (int32_t w = 1; w <= GetEffectWidth(T); w++)
                for (int32_t h = 1; h <= GetEffectHeight(T); h++)
                    for (int32_t Layer = 1; Layer <= GetEffectLayers(T); Layer++) {
                        const int32_t Sprite = GetEffectSprite(T, w, h, Layer, Phase);
                        if (Sprite > 0)
                            drawSprite(PX - (w - 1) * 32 - E, PY - (h - 1) * 32 - E, rz, false, Sprite);
                    }
            if (Mode == 0 && GetEffectFlag(T, LIGHT)) {
                const int32_t B =
                    std::min({Phase, GetEffectPhases(T) - Phase + 1, GetEffectLightBrightness(T)});
                const TRGBColor Colour(GetEffectLightColor(T));
                addLight(PX - E + 16, PY - E + 16, rz, B, Colour.Red, Colour.Green, Colour.Blue);
            }
        } else if (Status == EFFECT_TEXT && Mode == 0) {
            if (_TextEffectCount < MAP_TEXT_EFFECTS)
                _TextEffects[_TextEffectCount++] = {e, PX - E + 16, PY - 2 * GetTextEffectPhase(e) - E,
                                                    x, y,           rz};
        } else if (Status == EFFECT_MISSILE && GetMissileEffectType(e) != -1) {
            const int32_t T = GetMissileEffectType(e), Direction = GetMissileEffectDirection(e);
            const int32_t mx = GetMissileEffectX(e), my = GetMissileEffectY(e);
            for (int32_t w = 1; w <= GetMissileWidth(T); w++)
                for (int32_t h = 1; h <= GetMissileHeight(T); h++)
                    for (int32_t Layer = 1; Layer <= GetMissileLayers(T); Layer++) {
                        const int32_t Sprite = GetMissileSprite(T, w, h, Layer, Direction);
                        if (Sprite > 0)
                            drawSprite(PX + mx - (w - 1) * 32 - E, PY + my - (h - 1) * 32 - E, rz, true,
                                       Sprite);
                    }
            if (Mode == 0 && GetMissileFlag(T, LIGHT)) {
                const TRGBColor Colour(GetMissileLightColor(T));
                addLight(PX + mx - E + 16, PY + my - E + 16, rz, GetMissileLightBrightness(T), Colour.Red,
                         Colour.Green, Colour.Blue);
            }
        }
    }
}
