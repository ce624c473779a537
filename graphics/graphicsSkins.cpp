// The skin table: the numbered rectangles of the skin picture, and skin drawing with tiling and offsets.
#include "graphics/Engine.h"
#include "graphics/graphics.h"

#include "foundation/Exception.h"

#include <algorithm>
#include <vector>

namespace {

// Module state: filled by InitSkins after the picture file is open, freed by ExitSkins.
std::vector<TSkin> Skins;

} // namespace

void InitSkins() { Skins.assign(std::begin(SKIN_RECTANGLES), std::end(SKIN_RECTANGLES)); }

void ExitSkins() { Skins.clear(); }

int32_t GetNumberOfSkins() { return static_cast<int32_t>(Skins.size()); }

const TSkin& GetSkin(int32_t Skin) {
    const int32_t NumberOfSkins = GetNumberOfSkins();
    CHECK(In(Skin, 0, NumberOfSkins - 1), Skin, NumberOfSkins);
    return Skins[Skin];
}

void DrawSkin(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height, int32_t Skin,
              int32_t OffsetX, int32_t OffsetY) try {
    if (Skin == 0 || Width == 0 || Height == 0) return;
    CHECK_TEXT(x >= 0, "x>=0", x);
    CHECK_TEXT(y >= 0, "y>=0", y);
    CHECK_TEXT(In(Skin, 0, LASTSKIN - 1), "In(skin,0,LASTSKIN-1)", Skin);
    const TSkin& S = GetSkin(Skin);
    CHECK_TEXT(S.Width > 0, "Skins[skin].width>0", S.Width);
    CHECK_TEXT(S.Height > 0, "Skins[skin].height>0", S.Height);
    CHECK_TEXT(Width > 0, "width>0", Width);
    CHECK_TEXT(Height > 0, "height>0", Height);
    TileSkin(Surface, x, y, Width, Height, S, OffsetX, OffsetY);
}
CATCH_FRAME(Surface, Skin)

namespace {

void DrawSkinPiece(int32_t Surface, int32_t x, int32_t y, int32_t SourceX, int32_t SourceY, int32_t Width,
                   int32_t Height, const TRectangle* Clip) {
    if (Clip == nullptr)
        DrawPicturePart(Surface, x, y, SKIN_PICTURE, SourceX, SourceY, Width, Height);
    else
        DrawPicturePartClipped(Surface, x, y, SKIN_PICTURE, SourceX, SourceY, Width, Height, Clip->x, Clip->y,
                               Clip->Width, Clip->Height);
}

} // namespace

namespace {

// The pieces of the tiling of an area whose first column and row start FirstX and FirstY into the skin.
void TilePieces(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height, const TSkin& S,
                int32_t FirstX, int32_t FirstY, const TRectangle* Clip) {
    for (int32_t py = 0; py < Height;) {
        const int32_t Top = py == 0 ? FirstY : 0, PieceHeight = std::min(S.Height - Top, Height - py);
        for (int32_t px = 0; px < Width;) {
            const int32_t Left = px == 0 ? FirstX : 0, PieceWidth = std::min(S.Width - Left, Width - px);
            DrawSkinPiece(Surface, x + px, y + py, S.x + Left, S.y + Top, PieceWidth, PieceHeight, Clip);
            px += PieceWidth;
        }
        py += PieceHeight;
    }
}

// Whether a tiling may be drawn as its first skin-sized corner and copies of what is drawn: the engine copies
// within a surface cheaply, the area lies wholly on the surface and the skin has no key pixel, so that the
// surface holds the pattern itself.
bool Repeatable(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height, const TSkin& S) {
    TSurface* Engine = GetSurface();
    if (!Engine->ComposedCopiesPay()) return false;
    const TRectangle On = Engine->GetSurfaceRect(Surface);
    return x >= On.x && y >= On.y && x + Width <= On.x + On.Width && y + Height <= On.y + On.Height &&
           !PicturePartHoldsKey(SKIN_PICTURE, S.x, S.y, S.Width, S.Height);
}

// Fills the area from its drawn top-left corner of CornerWidth x CornerHeight, whose sides are the pattern's
// periods (or the whole side), by doubling copies: first along the corner's rows, then down the area.
void RepeatCorner(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height, int32_t CornerWidth,
                  int32_t CornerHeight) {
    TSurface* Engine = GetSurface();
    for (int32_t Done = CornerWidth; Done < Width; Done *= 2)
        Engine->Blit(Surface, x + Done, y, Surface, x, y, std::min(Done, Width - Done), CornerHeight);
    for (int32_t Done = CornerHeight; Done < Height; Done *= 2)
        Engine->Blit(Surface, x, y + Done, Surface, x, y, Width, std::min(Done, Height - Done));
}

} // namespace

void TileSkin(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height, const TSkin& S,
              int32_t OffsetX, int32_t OffsetY, const TRectangle* Clip) {
    if (Width == S.Width && Height == S.Height) {
        DrawSkinPiece(Surface, x, y, S.x, S.y, Width, Height, Clip);
        return;
    }
    // Offsets are taken modulo the skin's size, so that every piece has a width and every row ends.
    const int32_t FirstX = OffsetX > 0 ? OffsetX % S.Width : 0, FirstY = OffsetY > 0 ? OffsetY % S.Height : 0;
    if (Clip == nullptr && (Width > S.Width || Height > S.Height) &&
        Repeatable(Surface, x, y, Width, Height, S)) {
        const int32_t CornerWidth = std::min(Width, S.Width), CornerHeight = std::min(Height, S.Height);
        TilePieces(Surface, x, y, CornerWidth, CornerHeight, S, FirstX, FirstY, nullptr);
        RepeatCorner(Surface, x, y, Width, Height, CornerWidth, CornerHeight);
        return;
    }
    TilePieces(Surface, x, y, Width, Height, S, FirstX, FirstY, Clip);
}
