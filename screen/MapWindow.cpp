// The map view's host window, the view's sizes and shortcuts, and the field-cell cache through which the
// static layers of each field reach the map picture.
#include "screen/MapWindow.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/DialogWindow.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "state/Talk.h"

#include <algorithm>

namespace {

constexpr int32_t KEY_CTRL_N = KEY_CTRL | 'N';
constexpr int32_t KEY_CTRL_W = KEY_CTRL | 'W';
constexpr int32_t DARKNESS_PICTURE = 7;

int32_t FloorDiv32(int32_t v) { return v >= 0 ? v / 32 : -((31 - v) / 32); }

} // namespace

// ---- Host window ----

TMapWindow::TMapWindow() try {
    _MapView = new TMapView;
    addChild(_MapView);
    allocateDrawingList(8);
}
CATCH_FRAME()

void TMapWindow::setSize(int32_t W, int32_t H) try {
    const int32_t b = SkinProperties.MapView.Border;
    int32_t VW = std::min(W - 2 * b, (H - 2 * b) * MAP_WIDTH / MAP_HEIGHT + 2);
    if (GetNoStretching()) VW = std::min(VW, MAP_PICTURE_WIDTH);
    // 11/15 in single precision, the product in double: equal to VW * 11 / 15 for every width.
    const int32_t VH = static_cast<int32_t>(VW * static_cast<double>(0.73333335f));
    _MapView->setSize(VW, VH);
    _MapView->setPosition((W - 2 * b - VW) / 2 + b, b);
    TComponent::setSize(W, VH + 2 * b);
    arrange();
}
CATCH_FRAME(W, H)

int32_t TMapWindow::getMinimumWidth() const {
    return _MapView->getMinimumWidth() + 2 * SkinProperties.MapView.Border;
}

int32_t TMapWindow::getMinimumHeight() const {
    return _MapView->getMinimumHeight() + 2 * SkinProperties.MapView.Border;
}

void TMapWindow::arrange() {
    const int32_t x = _MapView->X, y = _MapView->Y, VW = _MapView->Width, VH = _MapView->Height;
    const TSkin &S7 = GetSkin(SKIN_PANEL_BACKGROUND), &S8 = GetSkin(8), &S9 = GetSkin(9), &S10 = GetSkin(10),
                &S11 = GetSkin(11);
    const int32_t w7 = std::max(S7.Width, 1), h7 = std::max(S7.Height, 1);
    const int32_t R = x + VW + S10.Width, B = y + VH + S8.Height, Top = y - S9.Height, Left = x - S11.Width;
    DrawingList[0] = {9, Left, Top, S11.Width + VW + S10.Width, S9.Height, 0, 0};
    DrawingList[1] = {11, Left, y, S11.Width, VH + S8.Height, 0, 0};
    DrawingList[2] = {10, x + VW, y, S10.Width, VH + S8.Height, 0, 0};
    DrawingList[3] = {8, x, y + VH, VW, S8.Height, 0, 0};
    DrawingList[4] = {SKIN_PANEL_BACKGROUND, 0, 0, Width, Top, 0, 0};
    DrawingList[5] = {SKIN_PANEL_BACKGROUND, 0, Top, Left, Height - Top, 0, Top % h7};
    DrawingList[6] = {SKIN_PANEL_BACKGROUND, R, Top, Width - R, Height - Top, R % w7, Top % h7};
    DrawingList[7] = {SKIN_PANEL_BACKGROUND, Left, B, R - Left, Height - B, Left % w7, B % h7};
    TParentComponent::arrange();
}

// ---- View ----

TMapView::TMapView() try {
    for (int32_t Column = 0; Column < CELL_COLUMNS; Column++)
        for (int32_t Row = 0; Row < CELL_ROWS; Row++) {
            TMapCell& Cell = _Cells[Column * CELL_ROWS + Row];
            Cell.CacheX = Column * 32;
            Cell.CacheY = Row * 32;
        }
    SetShortcut(KEY_CTRL_N, this, MAPVIEW_CREATURE_INFO);
    SetShortcut(KEY_CTRL_W, this, MAPVIEW_DELETE_TALKBOX);
}
CATCH_FRAME()

TMapView::~TMapView() {
    RemoveShortcut(KEY_CTRL_N);
    RemoveShortcut(KEY_CTRL_W);
}

int32_t TMapView::getMinimumWidth() const { return SkinProperties.MapView.MinimumWidth; }
int32_t TMapView::getMinimumHeight() const { return SkinProperties.MapView.MinimumHeight; }

// The parameters shadow the members so that a failure names "Width" and "Height".
void TMapView::setSize(int32_t Width, int32_t Height) try {
    SetMapTextChanged();
    TComponent::setSize(Width, Height);
    arrange();
}
CATCH_FRAME(Width, Height)

void TMapView::arrange() {
    if (_HintButton == nullptr) return;
    const TSkinRectangle& R = SkinProperties.MapView.HintButton;
    placeChild(_HintButton, R.x, R.y, R.width, R.height);
}

void TMapView::draw(int32_t Surface, int32_t X, int32_t Y) { DrawMap(Surface, X, Y); }

bool TMapView::isFloorShown(int32_t rx, int32_t ry, int32_t rz) const {
    if (rx < 0 || rx >= MAPSIZE_X || ry < 0 || ry >= MAPSIZE_Y) return false;
    return _FieldFloor[rx][ry] <= rz;
}

// ---- Field cells ----

TMapCell& TMapView::getCell(int32_t FieldX, int32_t FieldY) {
    CHECK(In(FieldX, 0, MAPSIZE_X - 1), FieldX);
    CHECK(In(FieldY, 0, MAPSIZE_Y - 1), FieldY);
    const int32_t Column = ((_ViewX + FieldX) % CELL_COLUMNS + CELL_COLUMNS) % CELL_COLUMNS;
    const int32_t Row = ((_ViewY + FieldY) % CELL_ROWS + CELL_ROWS) % CELL_ROWS;
    return _Cells[Column * CELL_ROWS + Row];
}

bool TMapView::cellMeetsPicture(int32_t rx, int32_t ry) const {
    const int32_t x = rx * 32 - _OffsetX, y = ry * 32 - _OffsetY;
    return x > -32 && y > -32 && x < MAP_PICTURE_WIDTH && y < MAP_PICTURE_HEIGHT;
}

void TMapView::drawCellLayer(const TMapCell& Cell, int32_t Sprite, int32_t DX, int32_t DY) {
    if (Sprite == 0)
        DrawPicturePartClipped(CACHE_SURFACE, Cell.CacheX + DX, Cell.CacheY + DY, DARKNESS_PICTURE, 0, 0, 32,
                               32, Cell.CacheX, Cell.CacheY, 32, 32);
    else
        DrawSpriteClipped(CACHE_SURFACE, Cell.CacheX + DX, Cell.CacheY + DY, Sprite, Cell.CacheX, Cell.CacheY,
                          32, 32);
}

// The square is cleared first: a field whose lowest layer does not cover it must not show what the square
// held for another field or an earlier frame.
void TMapView::redrawCellLayers(TMapCell& Cell, int32_t Count) {
    GetSurface()->FillRectangle(CACHE_SURFACE, Cell.CacheX, Cell.CacheY, 32, 32, 0, 0, 0);
    for (int32_t i = 0; i < Count; i++)
        drawCellLayer(Cell, Cell.Sprite[i], Cell.DX[i], Cell.DY[i]);
}

void TMapView::addCellLayer(int32_t rx, int32_t ry, int32_t Sprite, int32_t DX, int32_t DY) {
    if (!cellMeetsPicture(rx, ry)) return;
    TMapCell& Cell = getCell(rx, ry);
    if (Cell.Count == CELL_LAYERS || _DirectCells) flushCell(rx, ry);
    if (Cell.Flushed) {
        const int32_t x = rx * 32 - _OffsetX, y = ry * 32 - _OffsetY;
        const int32_t Left = std::max(x, 0), Top = std::max(y, 0);
        const int32_t Right = std::min(x + 32, MAP_PICTURE_WIDTH),
                      Bottom = std::min(y + 32, MAP_PICTURE_HEIGHT);
        if (Sprite == 0)
            DrawPicturePartClipped(TEMP_SURFACE, x + DX, y + DY, DARKNESS_PICTURE, 0, 0, 32, 32, Left, Top,
                                   Right - Left, Bottom - Top);
        else
            DrawSpriteClipped(TEMP_SURFACE, x + DX, y + DY, Sprite, Left, Top, Right - Left, Bottom - Top);
        return;
    }
    const int32_t n = Cell.Count;
    if (n < Cell.CachedCount && Cell.Sprite[n] == Sprite && Cell.DX[n] == DX && Cell.DY[n] == DY) {
        Cell.Count++;
        return;
    }
    if (n < Cell.CachedCount || n == 0) redrawCellLayers(Cell, n);
    drawCellLayer(Cell, Sprite, DX, DY);
    Cell.Sprite[n] = Sprite;
    Cell.DX[n] = DX;
    Cell.DY[n] = DY;
    Cell.Count = Cell.CachedCount = n + 1;
}

void TMapView::flushCell(int32_t rx, int32_t ry) {
    if (rx < 0 || rx >= MAPSIZE_X || ry < 0 || ry >= MAPSIZE_Y || !cellMeetsPicture(rx, ry)) return;
    TMapCell& Cell = getCell(rx, ry);
    if (Cell.Flushed) return;
    if (_DirectCells) return clearSquare(rx, ry, Cell);
    if (Cell.Count < Cell.CachedCount) {
        redrawCellLayers(Cell, Cell.Count);
        Cell.CachedCount = Cell.Count;
    }
    Cell.Flushed = 1;
    GetSurface()->Blit(TEMP_SURFACE, rx * 32 - _OffsetX, ry * 32 - _OffsetY, CACHE_SURFACE, Cell.CacheX,
                       Cell.CacheY, 32, 32);
}

// Every cell of row ry not flushed yet; neighbouring points whose cells lie side by side on CACHE_SURFACE go
// to the picture in one copy.
void TMapView::flushRow(int32_t ry) {
    int32_t First = -1, Run = 0; // the run of cells waiting for their copy: first point and length
    const auto Copy = [&] {
        if (Run > 0)
            GetSurface()->Blit(TEMP_SURFACE, First * 32 - _OffsetX, ry * 32 - _OffsetY, CACHE_SURFACE,
                               getCell(First, ry).CacheX, getCell(First, ry).CacheY, 32 * Run, 32);
        Run = 0;
    };
    for (int32_t rx = 0; rx < MAPSIZE_X; rx++) {
        TMapCell& Cell = getCell(rx, ry);
        if (_DirectCells) {
            if (cellMeetsPicture(rx, ry) && !Cell.Flushed) clearSquare(rx, ry, Cell);
            continue;
        }
        if (!cellMeetsPicture(rx, ry) || Cell.Flushed) {
            Copy();
            continue;
        }
        if (Run > 0 && Cell.CacheX != getCell(First, ry).CacheX + 32 * Run) Copy();
        if (Run == 0) First = rx;
        Run++;
        if (Cell.Count < Cell.CachedCount) {
            redrawCellLayers(Cell, Cell.Count);
            Cell.CachedCount = Cell.Count;
        }
        Cell.Flushed = 1;
    }
    Copy();
}

// What copying the square of a cell without layers would draw; later layers are drawn over it directly.
void TMapView::clearSquare(int32_t rx, int32_t ry, TMapCell& Cell) {
    Cell.Flushed = 1;
    GetSurface()->FillRectangle(TEMP_SURFACE, rx * 32 - _OffsetX, ry * 32 - _OffsetY, 32, 32, 0, 0, 0);
}

void TMapView::flushSquare(int32_t QX, int32_t QY) {
    const int32_t a = (QX + _OffsetX) / 32, b = (QY + _OffsetY) / 32;
    flushCell(a, b);
    flushCell(a + 1, b);
    flushCell(a, b + 1);
    flushCell(a + 1, b + 1);
}

void TMapView::drawSprite(int32_t PX, int32_t PY, int32_t rz, bool Direct, int32_t Sprite, int32_t Mask,
                          const int32_t* Colours) {
    const int32_t ax = PX + _OffsetX, ay = PY + _OffsetY;
    const int32_t fx = FloorDiv32(ax), fy = FloorDiv32(ay);
    const int32_t DX = ax - fx * 32, DY = ay - fy * 32;
    struct {
        int32_t x, y, dx, dy;
        bool Used;
    } const Parts[4] = {{fx, fy, DX, DY, true},
                        {fx + 1, fy, DX - 32, DY, DX != 0},
                        {fx, fy + 1, DX, DY - 32, DY != 0},
                        {fx + 1, fy + 1, DX - 32, DY - 32, DX != 0 && DY != 0}};
    const bool Cached = !Direct && Mask == 0;
    bool Touched = false;
    for (const auto& Part : Parts) {
        if (!Part.Used || !isFloorShown(Part.x, Part.y, rz)) continue;
        Touched = true;
        if (Cached)
            addCellLayer(Part.x, Part.y, Sprite, Part.dx, Part.dy);
        else
            flushCell(Part.x, Part.y);
    }
    if (Cached || !Touched) return;
    if (Mask != 0)
        DrawOutfitSprite(TEMP_SURFACE, PX, PY, Sprite, Mask, Colours);
    else
        DrawSprite(TEMP_SURFACE, PX, PY, Sprite);
}

void TMapView::drawDarkness(int32_t PX, int32_t PY, int32_t Brightness) {
    CHECK(In(Brightness, 0, 255), Brightness);
    const int32_t Tile = Brightness >= 1 && Brightness <= 27 ? 1 : Brightness / 28;
    if (Tile > 7) return;
    DrawPicturePart(TEMP_SURFACE, PX, PY, DARKNESS_PICTURE, Tile * 32, 0, 32, 32);
}
