// The video cache: 32 x 32 cells over the engine's texture pages holding sprites, recoloured sprites, picture
// tiles and recoloured font tiles, and the tile drawing calls on top of it.
#include "graphics/Engine.h"
#include "graphics/TileCache.h"
#include "graphics/graphics.h"

#include "foundation/Exception.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace {

// Module state: one table per engine generation, rebuilt whenever the engine's surfaces were made anew.
struct {
    std::vector<TVideoCacheItem> Items;
    TTileCacheLists Lists;
} Video;

// The DirectDraw engine takes the key from each transparent copy; the others key their pages at upload.
void KeyPage(TSurface* Engine, int32_t Page, int32_t Red, int32_t Green, int32_t Blue) {
    const int32_t GraphicEngine = GetGraphicEngine();
    if (GraphicEngine == ENGINE_OPENGL || GraphicEngine == ENGINE_DIRECT3D9)
        Engine->SetColorKey(SPRITE_SURFACE + Page, Red, Green, Blue);
}

// Marks the pixels of the uploaded cell that hold the key. Pixels are compared as 16-bit 5-6-5
// pixels, whose conversion drops low bits of the pixel and of the key alike: a pixel that differs there
// differs in every format the engine may draw in.
template <typename TEntry>
void MarkKeyPixels(TVideoCacheItem& Item, const uint8_t* Pixels, const uint8_t* Mask, const int32_t* Colors,
                   const TEntry& Keyed) {
    const auto Coarse = [](int32_t Red, int32_t Green, int32_t Blue) {
        const auto Byte = [](int32_t v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
        return (Byte(Red) >> 3) << 11 | (Byte(Green) >> 2) << 5 | Byte(Blue) >> 3;
    };
    const uint32_t Key = Coarse(Keyed.KeyRed, Keyed.KeyGreen, Keyed.KeyBlue);
    Item.KeyPixels.fill(0);
    Item.KeyRows = 0;
    for (int32_t r = 0; r < TILE_SIZE; r++)
        for (int32_t c = 0; c < TILE_SIZE; c++) {
            const size_t Offset = static_cast<size_t>(r * TILE_SIZE + c) * 3;
            const uint32_t Rgb =
                UploadedPixel(Pixels + Offset, Mask != nullptr ? Mask + Offset : nullptr, Colors);
            if (Coarse(Rgb >> 16, Rgb >> 8 & 0xFF, Rgb & 0xFF) != Key) continue;
            Item.KeyPixels[r] |= 1u << c;
            Item.KeyRows |= 1u << r;
        }
}

// The bits First .. End - 1 of a row or column mask; 0 <= First < End <= 32.
uint32_t Span(int32_t First, int32_t End) {
    return (End >= 32 ? ~0u : (1u << End) - 1) & ~((1u << First) - 1);
}

// Whether the part (Left, Top, Width, Height) of the cell holds a marked pixel; the part lies in the cell.
bool HoldsKey(const TVideoCacheItem& Cell, int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
    const uint32_t Columns = Span(Left, Left + Width);
    for (uint32_t Rows = Cell.KeyRows & Span(Top, Top + Height); Rows != 0; Rows &= Rows - 1)
        if ((Cell.KeyPixels[std::countr_zero(Rows)] & Columns) != 0) return true;
    return false;
}

// Copies the part (Left, Top, Width, Height) of the cell to (x, y) of Surface, keyed with the entry's key
// unless the part holds no key pixel; Clip (x, y, width, height) or nullptr.
template <typename TEntry>
void CopyCell(int32_t Surface, int32_t x, int32_t y, const TVideoCacheItem& Cell, int32_t Left, int32_t Top,
              int32_t Width, int32_t Height, const TEntry& Keyed, const int32_t* Clip) {
    TSurface* Engine = GetSurface();
    const int32_t Page = SPRITE_SURFACE + Cell.Page, FromX = Cell.x + Left, FromY = Cell.y + Top;
    const bool Plain = !HoldsKey(Cell, Left, Top, Width, Height);
    if (Plain && Clip == nullptr)
        Engine->Blit(Surface, x, y, Page, FromX, FromY, Width, Height);
    else if (Plain)
        Engine->BlitClipped(Surface, x, y, Page, FromX, FromY, Width, Height, Clip[0], Clip[1], Clip[2],
                            Clip[3]);
    else if (Clip == nullptr)
        Engine->BlitTransparent(Surface, x, y, Page, FromX, FromY, Width, Height, Keyed.KeyRed,
                                Keyed.KeyGreen, Keyed.KeyBlue);
    else
        Engine->BlitTransparentClipped(Surface, x, y, Page, FromX, FromY, Width, Height, Keyed.KeyRed,
                                       Keyed.KeyGreen, Keyed.KeyBlue, Clip[0], Clip[1], Clip[2], Clip[3]);
}

// Looks the content up and, on a miss, uploads it into the least recently used cell before giving the cell
// its keys. Without cells there is nowhere to upload: nullptr.
template <typename TMatch, typename TUpload>
const TVideoCacheItem* Lookup(int32_t HashValue, TMatch Matches, TUpload Upload) {
    if (Video.Items.empty()) return nullptr;
    int32_t Position = Video.Lists.find(HashValue, [&](int32_t i) { return Matches(Video.Items[i]); });
    if (Position == -1) {
        Position = Video.Lists.tail();
        TVideoCacheItem& Item = Video.Items[Position];
        Video.Lists.unchain(Position);
        Item.Type = EMPTY_ITEM;
        Item.Number = Item.SecondKey = 0;
        std::fill(std::begin(Item.Colors), std::end(Item.Colors), 0);
        Item.KeyPixels = ALL_KEY_PIXELS;
        Item.KeyRows = ~0u;
        Upload(Item);
        GetSurface()->ForgetStretches(); // they may have been made from the cell's old content
        Video.Lists.chain(Position, HashValue, Item.Type);
    }
    Video.Lists.moveToHead(Position);
    return &Video.Items[Position];
}

// The cell part (Left, Top)-(Right, Bottom) of one picture tile through a keyed copy, clipped or not.
struct TPicturePiece {
    int32_t Surface, x, y, PictureNumber;
    const int32_t* Clip; // nullptr: not clipped
};

void DrawPicturePieces(const TPicturePiece& Piece, int32_t SourceX, int32_t SourceY, int32_t Width,
                       int32_t Height) {
    const TPictureEntry& Picture = GetPictureEntry(Piece.PictureNumber);
    const int32_t RowEnd = std::min(Picture.TilesY, (SourceY + Height + 31) / 32);
    const int32_t ColumnEnd = std::min(Picture.TilesX, (SourceX + Width + 31) / 32);
    for (int32_t r = std::max(SourceY / 32, 0); r < RowEnd; r++)
        for (int32_t c = std::max(SourceX / 32, 0); c < ColumnEnd; c++) {
            const TVideoCacheItem* Cell = GetVideoPictureTile(Piece.PictureNumber, c, r);
            if (Cell == nullptr) return;
            const int32_t Left = std::max(SourceX - 32 * c, 0),
                          Right = std::min(SourceX + Width - 32 * c, 32);
            const int32_t Top = std::max(SourceY - 32 * r, 0),
                          Bottom = std::min(SourceY + Height - 32 * r, 32);
            const int32_t ToX = Piece.x + std::max(32 * c - SourceX, 0),
                          ToY = Piece.y + std::max(32 * r - SourceY, 0);
            CopyCell(Piece.Surface, ToX, ToY, *Cell, Left, Top, Right - Left, Bottom - Top, Picture,
                     Piece.Clip);
        }
}

} // namespace

void InitVideoCache() try {
    TSurface* Engine = GetSurface();
    Engine->ForgetStretches();
    const int32_t Pages = Engine->GetNumberOfPages();
    const TRectangle Page = Engine->GetSurfaceRect(SPRITE_SURFACE);
    const int32_t Columns = std::max(Page.Width / 32, 0),
                  CellsPerPage = Columns * std::max(Page.Height / 32, 0);
    const int32_t VideoCacheSize = Pages > 0 ? CellsPerPage * Pages : 0;
    Video.Items.assign(VideoCacheSize, TVideoCacheItem{});
    for (int32_t i = 0; i < VideoCacheSize; i++) {
        const int32_t r = i % CellsPerPage;
        Video.Items[i].Page = i / CellsPerPage;
        Video.Items[i].x = (r % Columns) * 32;
        Video.Items[i].y = (r / Columns) * 32;
    }
    Video.Lists.init(VideoCacheSize, "In(Position,0,VideoCacheSize-1)");
}
CATCH_FRAME()

void ResetVideoCache() try {
    ExitVideoCache();
    InitVideoCache();
}
CATCH_FRAME()

void ExitVideoCache() {
    Video.Items.clear();
    Video.Lists.init(0, "In(Position,0,VideoCacheSize-1)");
}

int32_t GetVideoCacheSize() { return static_cast<int32_t>(Video.Items.size()); }

const TVideoCacheItem* GetVideoSprite(int32_t SpriteNumber) try {
    const int32_t NumberOfSprites = GetNumberOfSprites();
    CHECK(In(SpriteNumber, 1, NumberOfSprites), SpriteNumber, NumberOfSprites);
    return Lookup(
        CacheBucket(SpriteNumber),
        [&](const TVideoCacheItem& I) {
            return I.Type == SPRITE_ITEM && I.Number == SpriteNumber && I.SecondKey == 0;
        },
        [&](TVideoCacheItem& Item) {
            const TMemoryCacheItem* Tile = GetMemorySprite(SpriteNumber);
            const TSpriteEntry& Entry = GetSpriteEntry(SpriteNumber);
            TSurface* Engine = GetSurface();
            KeyPage(Engine, Item.Page, Entry.KeyRed, Entry.KeyGreen, Entry.KeyBlue);
            Engine->WritePixels(SPRITE_SURFACE + Item.Page, Item.x, Item.y, 32, 32, Tile->Data);
            MarkKeyPixels(Item, Tile->Data, nullptr, nullptr, Entry);
            Item.Type = SPRITE_ITEM;
            Item.Number = SpriteNumber;
        });
}
CATCH_FRAME(SpriteNumber)

const TVideoCacheItem* GetVideoMaskedSprite(int32_t SpriteNumber, int32_t MaskNumber,
                                            const int32_t* Colors) try {
    const int32_t NumberOfSprites = GetNumberOfSprites();
    CHECK(In(SpriteNumber, 1, NumberOfSprites), SpriteNumber, NumberOfSprites);
    CHECK(In(MaskNumber, 1, NumberOfSprites), MaskNumber, NumberOfSprites);
    CHECK_TEXT(Colors != nullptr, "Colors!=NULL");
    return Lookup(
        CacheBucket(SpriteNumber, MaskNumber, 0, ColourDigest(Colors, 12)),
        [&](const TVideoCacheItem& I) {
            return I.Type == SPRITE_ITEM && I.Number == SpriteNumber && I.SecondKey == MaskNumber &&
                   std::equal(I.Colors, I.Colors + 12, Colors);
        },
        [&](TVideoCacheItem& Item) {
            // The sprite's tile is copied first: fetching the mask may reuse its slot in a small memory
            // cache.
            uint8_t Sprite[TILE_BYTES];
            std::memcpy(Sprite, GetMemorySprite(SpriteNumber)->Data, TILE_BYTES);
            const TMemoryCacheItem* Mask = GetMemorySprite(MaskNumber);
            const TSpriteEntry& Entry = GetSpriteEntry(SpriteNumber);
            TSurface* Engine = GetSurface();
            KeyPage(Engine, Item.Page, Entry.KeyRed, Entry.KeyGreen, Entry.KeyBlue);
            Engine->WriteColoredPixels(SPRITE_SURFACE + Item.Page, Item.x, Item.y, 32, 32, Sprite, Mask->Data,
                                       Colors);
            MarkKeyPixels(Item, Sprite, Mask->Data, Colors, Entry);
            Item.Type = SPRITE_ITEM;
            Item.Number = SpriteNumber;
            Item.SecondKey = MaskNumber;
            std::copy(Colors, Colors + 12, Item.Colors);
        });
}
CATCH_FRAME(SpriteNumber, MaskNumber)

const TVideoCacheItem* GetVideoPictureTile(int32_t PictureNumber, int32_t TileX, int32_t TileY) try {
    const int32_t NumberOfPictures = GetNumberOfPictures();
    CHECK(In(PictureNumber, 1, NumberOfPictures), PictureNumber, NumberOfPictures);
    return Lookup(
        CacheBucket(PictureNumber, TileX, TileY),
        [&](const TVideoCacheItem& I) {
            return I.Type == PICTURE_ITEM && I.Number == PictureNumber && I.SecondKey == TileX &&
                   I.Colors[0] == TileY;
        },
        [&](TVideoCacheItem& Item) {
            const TMemoryCacheItem* Tile = GetMemoryPictureTile(PictureNumber, TileX, TileY);
            const TPictureEntry& Picture = GetPictureEntry(PictureNumber);
            TSurface* Engine = GetSurface();
            KeyPage(Engine, Item.Page, Picture.KeyRed, Picture.KeyGreen, Picture.KeyBlue);
            Engine->WritePixels(SPRITE_SURFACE + Item.Page, Item.x, Item.y, 32, 32, Tile->Data);
            MarkKeyPixels(Item, Tile->Data, nullptr, nullptr, Picture);
            Item.Type = PICTURE_ITEM;
            Item.Number = PictureNumber;
            Item.SecondKey = TileX;
            Item.Colors[0] = TileY;
        });
}
CATCH_FRAME(PictureNumber)

const TVideoCacheItem* GetVideoFontTile(int32_t FontNumber, int32_t TileX, int32_t TileY, int32_t Red,
                                        int32_t Green, int32_t Blue) try {
    CHECK(In(FontNumber, 1, NumberOfFonts), FontNumber);
    const int32_t PictureNumber = GetFont(FontNumber).Picture;
    const int32_t Colour[3] = {Red, Green, Blue};
    return Lookup(
        CacheBucket(PictureNumber, TileX, TileY, ColourDigest(Colour, 3)),
        [&](const TVideoCacheItem& I) {
            return I.Type == PICTURE_ITEM && I.Number == PictureNumber && I.SecondKey == TileX &&
                   I.Colors[0] == TileY && I.Colors[1] == Red && I.Colors[2] == Green && I.Colors[3] == Blue;
        },
        [&](TVideoCacheItem& Item) {
            const TMemoryCacheItem* Tile = GetMemoryPictureTile(PictureNumber, TileX, TileY);
            const TPictureEntry& Picture = GetPictureEntry(PictureNumber);
            const int32_t Colors[12] = {Red, Green, Blue, Picture.KeyRed, Picture.KeyGreen, Picture.KeyBlue};
            TSurface* Engine = GetSurface();
            KeyPage(Engine, Item.Page, Picture.KeyRed, Picture.KeyGreen, Picture.KeyBlue);
            Engine->WriteColoredPixels(SPRITE_SURFACE + Item.Page, Item.x, Item.y, 32, 32, Tile->Data,
                                       nullptr, Colors);
            MarkKeyPixels(Item, Tile->Data, nullptr, Colors, Picture);
            Item.Type = PICTURE_ITEM;
            Item.Number = PictureNumber;
            Item.SecondKey = TileX;
            Item.Colors[0] = TileY;
            Item.Colors[1] = Red;
            Item.Colors[2] = Green;
            Item.Colors[3] = Blue;
        });
}
CATCH_FRAME(FontNumber)

void DrawSprite(int32_t Surface, int32_t x, int32_t y, int32_t SpriteNumber) try {
    if (SpriteNumber == 0) return;
    const TVideoCacheItem* Cell = GetVideoSprite(SpriteNumber);
    if (Cell == nullptr) return;
    CopyCell(Surface, x, y, *Cell, 0, 0, 32, 32, GetSpriteEntry(SpriteNumber), nullptr);
}
CATCH_FRAME(Surface, SpriteNumber)

void DrawSpriteClipped(int32_t Surface, int32_t x, int32_t y, int32_t SpriteNumber, int32_t ClipX,
                       int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight) try {
    if (SpriteNumber < 1) return;
    const TVideoCacheItem* Cell = GetVideoSprite(SpriteNumber);
    if (Cell == nullptr) return;
    const int32_t Clip[4] = {ClipX, ClipY, ClipWidth, ClipHeight};
    CopyCell(Surface, x, y, *Cell, 0, 0, 32, 32, GetSpriteEntry(SpriteNumber), Clip);
}
CATCH_FRAME(Surface, SpriteNumber)

void DrawSpriteStretched(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                         int32_t SpriteNumber, int32_t BackgroundRed, int32_t BackgroundGreen,
                         int32_t BackgroundBlue, int32_t ClipX, int32_t ClipY, int32_t ClipWidth,
                         int32_t ClipHeight) try {
    if (SpriteNumber == 0) return;
    const TVideoCacheItem* Cell = GetVideoSprite(SpriteNumber);
    if (Cell == nullptr) return;
    const TSpriteEntry& Key = GetSpriteEntry(SpriteNumber);
    GetSurface()->StretchBlitTransparentClipped(Surface, x, y, Width, Height, SPRITE_SURFACE + Cell->Page,
                                                Cell->x, Cell->y, 32, 32, Key.KeyRed, Key.KeyGreen,
                                                Key.KeyBlue, BackgroundRed, BackgroundGreen, BackgroundBlue,
                                                ClipX, ClipY, ClipWidth, ClipHeight);
}
CATCH_FRAME(Surface, SpriteNumber)

void DrawOutfitSprite(int32_t Surface, int32_t x, int32_t y, int32_t SpriteNumber, int32_t MaskNumber,
                      const int32_t* Colors) try {
    if (MaskNumber == 0) {
        DrawSprite(Surface, x, y, SpriteNumber);
        return;
    }
    const TVideoCacheItem* Cell = GetVideoMaskedSprite(SpriteNumber, MaskNumber, Colors);
    if (Cell == nullptr) return;
    CopyCell(Surface, x, y, *Cell, 0, 0, 32, 32, GetSpriteEntry(SpriteNumber), nullptr);
}
CATCH_FRAME(Surface, SpriteNumber)

void DrawOutfitSpriteStretched(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                               int32_t SpriteNumber, int32_t MaskNumber, const int32_t* Colors,
                               int32_t BackgroundRed, int32_t BackgroundGreen, int32_t BackgroundBlue,
                               int32_t ClipX, int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight) try {
    if (MaskNumber == 0) {
        DrawSpriteStretched(Surface, x, y, Width, Height, SpriteNumber, BackgroundRed, BackgroundGreen,
                            BackgroundBlue, ClipX, ClipY, ClipWidth, ClipHeight);
        return;
    }
    const TVideoCacheItem* Cell = GetVideoMaskedSprite(SpriteNumber, MaskNumber, Colors);
    if (Cell == nullptr) return;
    const TSpriteEntry& Key = GetSpriteEntry(SpriteNumber);
    GetSurface()->StretchBlitTransparentClipped(Surface, x, y, Width, Height, SPRITE_SURFACE + Cell->Page,
                                                Cell->x, Cell->y, 32, 32, Key.KeyRed, Key.KeyGreen,
                                                Key.KeyBlue, BackgroundRed, BackgroundGreen, BackgroundBlue,
                                                ClipX, ClipY, ClipWidth, ClipHeight);
}
CATCH_FRAME(Surface, SpriteNumber)

bool PicturePartHoldsKey(int32_t PictureNumber, int32_t SourceX, int32_t SourceY, int32_t Width,
                         int32_t Height) try {
    const TPictureEntry& Picture = GetPictureEntry(PictureNumber);
    if (SourceX < 0 || SourceY < 0 || SourceX + Width > 32 * Picture.TilesX ||
        SourceY + Height > 32 * Picture.TilesY)
        return true;
    for (int32_t r = SourceY / 32; r <= (SourceY + Height - 1) / 32; r++)
        for (int32_t c = SourceX / 32; c <= (SourceX + Width - 1) / 32; c++) {
            const TVideoCacheItem* Cell = GetVideoPictureTile(PictureNumber, c, r);
            if (Cell == nullptr) return true;
            const int32_t Left = std::max(SourceX - 32 * c, 0), Top = std::max(SourceY - 32 * r, 0);
            if (HoldsKey(*Cell, Left, Top, std::min(SourceX + Width - 32 * c, 32) - Left,
                         std::min(SourceY + Height - 32 * r, 32) - Top))
                return true;
        }
    return false;
}
CATCH_FRAME(PictureNumber)

void DrawPicture(int32_t Surface, int32_t x, int32_t y, int32_t PictureNumber) try {
    const TPictureEntry& Picture = GetPictureEntry(PictureNumber);
    DrawPicturePieces({Surface, x, y, PictureNumber, nullptr}, 0, 0, 32 * Picture.TilesX,
                      32 * Picture.TilesY);
}
CATCH_FRAME(Surface, PictureNumber)

void DrawPicturePart(int32_t Surface, int32_t x, int32_t y, int32_t PictureNumber, int32_t SourceX,
                     int32_t SourceY, int32_t Width, int32_t Height) try {
    if (Width < 1 || Height < 1) return;
    DrawPicturePieces({Surface, x, y, PictureNumber, nullptr}, SourceX, SourceY, Width, Height);
}
CATCH_FRAME(Surface, PictureNumber)

void DrawPicturePartClipped(int32_t Surface, int32_t x, int32_t y, int32_t PictureNumber, int32_t SourceX,
                            int32_t SourceY, int32_t Width, int32_t Height, int32_t ClipX, int32_t ClipY,
                            int32_t ClipWidth, int32_t ClipHeight) try {
    CHECK(Width > 0, Width);
    CHECK(Height > 0, Height);
    const int32_t Clip[4] = {ClipX, ClipY, ClipWidth, ClipHeight};
    DrawPicturePieces({Surface, x, y, PictureNumber, Clip}, SourceX, SourceY, Width, Height);
}
CATCH_FRAME(Surface, PictureNumber)
