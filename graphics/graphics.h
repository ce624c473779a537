// The drawing layer above the engines: sprite and picture files, the memory and video caches of 32 x 32
// tiles, tile drawing, the bitmap fonts, object and outfit drawing and the skins.
#pragma once

#include "graphics/SkinTable.h"
#include "graphics/Surface.h"
#include "state/Objects.h"

#include <array>
#include <cstdint>
#include <memory>

// ---- Sprite and picture files ----

inline constexpr int32_t MAX_PATH_LENGTH = 1024; // file names are shorter
inline constexpr int32_t TILE_SIZE = 32;
inline constexpr int32_t TILE_PIXELS = TILE_SIZE * TILE_SIZE;
inline constexpr int32_t TILE_BYTES = TILE_PIXELS * 3; // red, green, blue per pixel, rows top to bottom

// The pictures with a fixed role.
inline constexpr int32_t SKIN_PICTURE = 4;

// One sprite of the sprite file: its offset (0 = empty sprite) and its key colour, known once decoded.
struct TSpriteEntry {
    uint32_t Offset;
    int32_t KeyRed, KeyGreen, KeyBlue;
};

// One picture of the picture file: its size in tiles, the offsets of its tiles row by row and its key colour.
struct TPictureEntry {
    int32_t TilesX, TilesY;
    std::unique_ptr<uint32_t[]> Offsets;
    int32_t KeyRed, KeyGreen, KeyBlue;
};

// Read the header and offset table; a file that cannot be read is PROGRAM_ERROR 2 (sprites) or 3 (pictures).
void OpenSpriteFile(const char* FileName);
void OpenPictureFile(const char* FileName);
// Decode one tile into Buffer (TILE_BYTES). An unreadable or corrupt tile (offsets outside the file, runs
// past the tile) is PROGRAM_ERROR 4 (sprites) or 5 (pictures); nothing is ever written outside Buffer.
void LoadSprite(int32_t SpriteNumber, uint8_t* Buffer);
void LoadPictureTile(int32_t PictureNumber, int32_t TileX, int32_t TileY, uint8_t* Buffer);

uint32_t GetSpriteSignature();
uint32_t GetPictureSignature();
int32_t GetNumberOfSprites();
int32_t GetNumberOfPictures();
// Numbers are 1-based and checked.
const TSpriteEntry& GetSpriteEntry(int32_t SpriteNumber);
const TPictureEntry& GetPictureEntry(int32_t PictureNumber);

// After a download replaced "Ebrun.spr" or "Ebrun.pic": empty the caches and read the file again (pictures:
// and the fonts).
void ReloadSprites();
void ReloadPictures();

// Module start: both files from the working directory, the memory cache with MemoryCacheBytes, the fonts.
void InitGraphics(int32_t MemoryCacheBytes);
// Module stop: every table and cache freed.
void ExitGraphics();

// ---- Memory cache of decoded tiles ----

enum : int32_t { EMPTY_ITEM = 0, SPRITE_ITEM = 1, PICTURE_ITEM = 2 };

struct TMemoryCacheItem {
    uint8_t* Data; // TILE_BYTES, owned by the cache
    int32_t Type;
    int32_t Key1; // sprite or picture number
    int32_t Key2; // TileX
    int32_t Key3; // TileY
};

// Slots = Bytes / TILE_BYTES; a budget smaller than one tile is refused (a failed check).
void InitMemoryCache(int32_t Bytes);
void ResetMemoryCache();
void ExitMemoryCache();
int32_t GetMemoryCacheSize();
// The slot that holds the decoded tile, decoding it on a miss. Valid until the next lookup.
const TMemoryCacheItem* GetMemorySprite(int32_t SpriteNumber);
const TMemoryCacheItem* GetMemoryPictureTile(int32_t PictureNumber, int32_t TileX, int32_t TileY);

// ---- Video cache and tile drawing ----

inline constexpr std::array<uint32_t, TILE_SIZE> ALL_KEY_PIXELS = [] {
    std::array<uint32_t, TILE_SIZE> All{};
    All.fill(~0u);
    return All;
}();

struct TVideoCacheItem {
    int32_t Page, x, y; // where the cell lies: texture page (0-based) and pixel position in it
    int32_t Type;
    int32_t Number;    // sprite or picture number
    int32_t SecondKey; // mask sprite (0 = plain sprite), or TileX of a picture tile
    // Recoloured sprite: the four outfit colours (red, green, blue each); picture tile: [0] is TileY and, for
    // a font tile, [1..3] the text colour.
    int32_t Colors[12];
    // Bit c of KeyPixels[r] set when pixel (c, r) of the uploaded cell may be one that a keyed copy skips in
    // either pixel format, bit r of KeyRows when row r has any; a part without such pixels is copied plainly.
    std::array<uint32_t, TILE_SIZE> KeyPixels = ALL_KEY_PIXELS;
    uint32_t KeyRows = ~0u;
};

// Lays the cells over the engine's texture pages; with no pages there are no cells and tile drawing draws
// nothing (as before the first mode set).
void InitVideoCache();
void ResetVideoCache();
void ExitVideoCache();
int32_t GetVideoCacheSize();
// The cell that holds the content, uploading it on a miss; nullptr when there are no cells.
const TVideoCacheItem* GetVideoSprite(int32_t SpriteNumber);
const TVideoCacheItem* GetVideoMaskedSprite(int32_t SpriteNumber, int32_t MaskNumber, const int32_t* Colors);
const TVideoCacheItem* GetVideoPictureTile(int32_t PictureNumber, int32_t TileX, int32_t TileY);
const TVideoCacheItem* GetVideoFontTile(int32_t FontNumber, int32_t TileX, int32_t TileY, int32_t Red,
                                        int32_t Green, int32_t Blue);

void DrawSprite(int32_t Surface, int32_t x, int32_t y, int32_t SpriteNumber);
void DrawSpriteClipped(int32_t Surface, int32_t x, int32_t y, int32_t SpriteNumber, int32_t ClipX,
                       int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight);
void DrawSpriteStretched(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                         int32_t SpriteNumber, int32_t BackgroundRed, int32_t BackgroundGreen,
                         int32_t BackgroundBlue, int32_t ClipX, int32_t ClipY, int32_t ClipWidth,
                         int32_t ClipHeight);
// Colors: four colours (head, body, legs, feet), red, green, blue each.
void DrawOutfitSprite(int32_t Surface, int32_t x, int32_t y, int32_t SpriteNumber, int32_t MaskNumber,
                      const int32_t* Colors);
void DrawOutfitSpriteStretched(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                               int32_t SpriteNumber, int32_t MaskNumber, const int32_t* Colors,
                               int32_t BackgroundRed, int32_t BackgroundGreen, int32_t BackgroundBlue,
                               int32_t ClipX, int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight);
// Whether the part of the picture may hold a pixel that a keyed copy skips, as the tile drawing decides it
// (uploading the tiles); true when there are no cells or the part reaches outside the picture.
bool PicturePartHoldsKey(int32_t PictureNumber, int32_t SourceX, int32_t SourceY, int32_t Width,
                         int32_t Height);
void DrawPicture(int32_t Surface, int32_t x, int32_t y, int32_t PictureNumber);
void DrawPicturePart(int32_t Surface, int32_t x, int32_t y, int32_t PictureNumber, int32_t SourceX,
                     int32_t SourceY, int32_t Width, int32_t Height);
void DrawPicturePartClipped(int32_t Surface, int32_t x, int32_t y, int32_t PictureNumber, int32_t SourceX,
                            int32_t SourceY, int32_t Width, int32_t Height, int32_t ClipX, int32_t ClipY,
                            int32_t ClipWidth, int32_t ClipHeight);

// ---- Bitmap fonts and text ----

inline constexpr int32_t NumberOfFonts = 4;
inline constexpr int32_t FONT_GLYPHS = 224; // character codes 32 to 255

enum : int32_t { LEFT_ALIGN = 0, CENTER_ALIGN = 1, RIGHT_ALIGN = 2 };

struct TTextFormat {
    int32_t Font;
    int32_t Red, Green, Blue;
    int32_t Alignment;
};

struct TFont {
    int32_t Picture;
    int32_t CharsPerLine;
    int32_t CharWidth, CharHeight; // glyph cell in pixels
    int32_t Width[FONT_GLYPHS];    // measured glyph widths, character code 32 + i at index i
    int32_t Height[FONT_GLYPHS];
    int32_t Spacing; // pixels after every glyph; may be negative
    int32_t MaxHeight;
    int32_t LineHeight;
};

void InitFont(int32_t FontNumber, int32_t Picture, int32_t CharsPerLine, int32_t CharWidth,
              int32_t CharHeight, int32_t Spacing, int32_t LineHeight);
void InitFonts();
void ExitFonts();
const TFont& GetFont(int32_t FontNumber);
int32_t GetFontHeight(int32_t FontNumber);
int32_t GetFontLineHeight(int32_t FontNumber);
int32_t GetTextHeight(int32_t FontNumber, const char* Text);
int32_t GetTextWidth(int32_t FontNumber, const char* Text, int32_t Length);
int32_t GetStringWidth(int32_t FontNumber, const char* Text);
int32_t GetTextFitLength(int32_t FontNumber, const char* Text, int32_t Width);
void GetTextOrigin(int32_t& x, int32_t& y, int32_t Left, int32_t Top, int32_t Width, int32_t Height,
                   const TTextFormat& Format);
void PrintTextLength(int32_t Surface, int32_t x, int32_t y, int32_t FontNumber, int32_t Red, int32_t Green,
                     int32_t Blue, const char* Text, int32_t Length, int32_t Alignment);
void PrintText(int32_t Surface, int32_t x, int32_t y, int32_t FontNumber, int32_t Red, int32_t Green,
               int32_t Blue, const char* Text, int32_t Alignment);
void PrintTextClipped(int32_t Surface, int32_t x, int32_t y, int32_t FontNumber, int32_t Red, int32_t Green,
                      int32_t Blue, const char* Text, int32_t Alignment, int32_t ClipX, int32_t ClipY,
                      int32_t ClipWidth, int32_t ClipHeight);
void PrintFormattedText(int32_t Surface, int32_t x, int32_t y, TTextFormat Format, const char* Text);
void PrintFormattedTextClipped(int32_t Surface, int32_t x, int32_t y, TTextFormat Format, const char* Text,
                               int32_t ClipX, int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight);
void PrintFormattedTextLength(int32_t Surface, int32_t x, int32_t y, TTextFormat Format, const char* Text,
                              int32_t Length);

// ---- Objects and outfits ----

// Draws an object type's picture scaled into the Size x Size box at (x, y), its pattern chosen by count or
// liquid, animated by the tick counter, and the count of a stackable object above 1 (or always with
// AlwaysShowCount) at the lower right in CountFormat. Type 0 draws nothing.
void DrawObject(int32_t Surface, int32_t x, int32_t y, int32_t Size, TObject Object, int32_t BackgroundRed,
                int32_t BackgroundGreen, int32_t BackgroundBlue, int32_t ClipX, int32_t ClipY,
                int32_t ClipWidth, int32_t ClipHeight, TTextFormat CountFormat, bool AlwaysShowCount);
// Draws an outfit standing and facing direction 2, recoloured with the four outfit colour indices of Colors
// (head, body, legs, feet). OutfitType 0 draws the object type Colors[0] instead (0: nothing).
void DrawOutfit(int32_t Surface, int32_t x, int32_t y, int32_t Size, int32_t OutfitType,
                const int32_t* Colors, int32_t BackgroundRed, int32_t BackgroundGreen, int32_t BackgroundBlue,
                int32_t ClipX, int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight, TTextFormat CountFormat);

// ---- Skins ----

void InitSkins();
void ExitSkins();
int32_t GetNumberOfSkins();
const TSkin& GetSkin(int32_t Skin);
// Fills the area with Skin, tiled, its pattern starting at (OffsetX, OffsetY) inside the skin.
void DrawSkin(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height, int32_t Skin,
              int32_t OffsetX, int32_t OffsetY);
// The tiling of DrawSkin without its checks, for a skin and an area of positive size; with Clip only what
// falls inside that rectangle is drawn. An area of the skin's size is drawn once, the offsets unused.
void TileSkin(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height, const TSkin& S,
              int32_t OffsetX, int32_t OffsetY, const TRectangle* Clip = nullptr);
