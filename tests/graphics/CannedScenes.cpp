// Canned scenes drawn from the generated data through whichever engine is current, and their golden hashes.
#include "tests/graphics/CannedScenes.h"

#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "state/Objects.h"
#include "state/Status.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <vector>

namespace {

const std::string Data = EBRUN_DATA_DIR;

// Every object type of the generated data with its numbers: see tools/datagen/Catalog.h.
enum : int32_t {
    GRASS = 100,
    STONE_FLOOR = 102,
    COBBLES = 105,
    WATER = 108,
    TREE = 131,
    CAMPFIRE = 151,
    GOLD_COINS = 156,
    ARROWS = 158,
    VIAL = 160,
    POOL = 162,
    SWORD = 166,
    SHIELD = 167,
    BACKPACK = 154
};

std::vector<TRectangle> Boxes;

void Object(int32_t x, int32_t y, int32_t Size, TObject Obj, int32_t Grey, TRectangle Clip,
            TTextFormat Format, bool AlwaysShowCount = false) {
    Boxes.push_back({x, y, Size, Size});
    DrawObject(SCREEN_SURFACE, x, y, Size, Obj, Grey, Grey, Grey, Clip.x, Clip.y, Clip.Width, Clip.Height,
               Format, AlwaysShowCount);
}

void Outfit(int32_t x, int32_t y, int32_t Size, int32_t Type, const int32_t* Colours, int32_t Grey,
            TTextFormat Format) {
    Boxes.push_back({x, y, Size, Size});
    DrawOutfit(SCREEN_SURFACE, x, y, Size, Type, Colours, Grey, Grey, Grey, 0, 0, 320, 240, Format);
}

} // namespace

const std::vector<TRectangle>& ObjectBoxes() { return Boxes; }

void DrawSkins() {
    TSurface* S = GetSurface();
    S->FillRectangle(SCREEN_SURFACE, 0, 0, SCENE_WIDTH, SCENE_HEIGHT, 0, 0, 0);
    DrawSkin(SCREEN_SURFACE, 0, 0, SCENE_WIDTH, SCENE_HEIGHT, 51, 17, 5); // tiled background, shifted
    // A dialog frame of 200 x 150 at (10, 10): title bar, sides, bottom, corners.
    DrawSkin(SCREEN_SURFACE, 10, 10, 4, 17, 43, 0, 0);
    DrawSkin(SCREEN_SURFACE, 14, 10, 192, 17, 49, 0, 0);
    DrawSkin(SCREEN_SURFACE, 206, 10, 4, 17, 44, 0, 0);
    DrawSkin(SCREEN_SURFACE, 10, 27, 4, 129, 47, 0, 0);
    DrawSkin(SCREEN_SURFACE, 206, 27, 4, 129, 48, 0, 0);
    DrawSkin(SCREEN_SURFACE, 10, 156, 4, 4, 45, 0, 0);
    DrawSkin(SCREEN_SURFACE, 14, 156, 192, 4, 50, 0, 0);
    DrawSkin(SCREEN_SURFACE, 206, 156, 4, 4, 46, 0, 0);
    DrawSkin(SCREEN_SURFACE, 14, 27, 192, 129, 51, 0, 0);
    DrawSkin(SCREEN_SURFACE, 30, 120, 43, 20, 12, 0, 0); // text buttons up and down
    DrawSkin(SCREEN_SURFACE, 80, 120, 43, 20, 13, 0, 0);
    DrawSkin(SCREEN_SURFACE, 230, 20, 43, 43, 65, 0, 0);   // compass rose
    DrawSkin(SCREEN_SURFACE, 230, 80, 12, 120, 153, 0, 0); // scroll bar track
    DrawSkin(SCREEN_SURFACE, 230, 80, 12, 12, 157, 0, 0);
    for (int32_t i = 0; i < 8; i++)
        DrawSkin(SCREEN_SURFACE, 250 + (i % 4) * 16, 80 + (i / 4) * 16, 12, 12, 218 + i, 0, 0); // VIP icons
    GetSurface()->DrawBorderClipped(SCREEN_SURFACE, 250, 130, 60, 60, 3, 255, 200, 0, 0, 0, 280, 170);
}

void DrawFonts() {
    GetSurface()->FillRectangle(SCREEN_SURFACE, 0, 0, SCENE_WIDTH, SCENE_HEIGHT, 20, 24, 28);
    PrintText(SCREEN_SURFACE, 4, 4, 2, 200, 200, 200, "DX5 59.94 fps", LEFT_ALIGN);
    PrintText(SCREEN_SURFACE, 4, 30, 1, 224, 224, 224, "Font one: Hello, world!", LEFT_ALIGN);
    PrintText(SCREEN_SURFACE, 160, 50, 1, 255, 0, 0, "centred red", CENTER_ALIGN);
    PrintText(SCREEN_SURFACE, 316, 70, 3, 0, 200, 50, "right aligned in font three", RIGHT_ALIGN);
    PrintText(SCREEN_SURFACE, 4, 90, 4, 40, 80, 255, "Font four \xC4\xD6\xDC \xE4\xF6\xFC \xDF \xE9\t~",
              LEFT_ALIGN);
    PrintText(SCREEN_SURFACE, 4, 110, 2, 255, 255, 0, "Big yellow text", LEFT_ALIGN);
    PrintTextClipped(SCREEN_SURFACE, 4, 140, 2, 0, 255, 255, "Clipped at the box", LEFT_ALIGN, 20, 145, 100,
                     8);
    PrintTextLength(SCREEN_SURFACE, 4, 170, 4, 255, 128, 0, "Only the first part is printed", 14, LEFT_ALIGN);
    PrintFormattedText(SCREEN_SURFACE, 316, 200, {1, 128, 255, 128, RIGHT_ALIGN}, "0123456789 !?.,:;()[]");
    GetSurface()->DrawHorizontalLine(SCREEN_SURFACE, 4, 225, 312, 90, 90, 90);
}

void DrawObjects() {
    Boxes.clear();
    GetSurface()->FillRectangle(SCREEN_SURFACE, 0, 0, SCENE_WIDTH, SCENE_HEIGHT, 60, 50, 40);
    const TTextFormat Count{2, 255, 255, 255, RIGHT_ALIGN};
    const TRectangle All{0, 0, 320, 240};
    const int32_t Counts[] = {1, 2, 3, 4, 5, 10, 25, 50, 100};
    for (int32_t i = 0; i < 9; i++)
        Object(4 + 34 * i, 4, 32, {GOLD_COINS, Counts[i], 0}, 0, All, Count);
    for (int32_t Liquid = 0; Liquid < 8; Liquid++) {
        Object(4 + 34 * Liquid, 40, 32, {VIAL, Liquid, 0}, 0, All, Count);
        Object(4 + 34 * Liquid, 76, 32, {POOL, Liquid, 0}, 0, All, Count);
    }
    const TTextFormat Small{3, 255, 255, 0, LEFT_ALIGN};
    Object(4, 112, 64, {TREE, 0, 0}, 0, All, Count);
    Object(72, 112, 32, {TREE, 0, 0}, 71, All, Count);
    Object(72, 150, 20, {SWORD, 1, 0}, 71, All, Count, true);
    Object(110, 112, 48, {SHIELD, 0, 0}, 71, All, Count);
    Object(170, 112, 32, {ARROWS, 37, 0}, 0, All, Small);
    Object(210, 112, 32, {CAMPFIRE, 0, 0}, 0, All, Count);
    Object(250, 112, 32, {BACKPACK, 0, 0}, 0, {255, 112, 20, 20}, Count); // clipped
    Object(4, 190, 32, {GOLD_COINS, 100, 0}, 0, All, {4, 255, 255, 0, CENTER_ALIGN});
}

void DrawOutfits() {
    Boxes.clear();
    GetSurface()->FillRectangle(SCREEN_SURFACE, 0, 0, SCENE_WIDTH, SCENE_HEIGHT, 30, 40, 30);
    const TTextFormat Count{2, 255, 255, 255, RIGHT_ALIGN};
    const int32_t Colours[6][4] = {{0, 94, 114, 57}, {132, 76, 19, 38}, {21, 40, 59, 78},
                                   {7, 8, 9, 10},    {113, 95, 96, 97}, {55, 66, 77, 88}};
    // Outfits 1 to 6 unscaled, 7 to 12 scaled into boxes of 48 pixels.
    for (int32_t Type = 1; Type <= 12; Type++)
        Outfit(4 + ((Type - 1) % 6) * 52, Type <= 6 ? 4 : 60, Type <= 6 ? 32 : 48, Type,
               Colours[(Type - 1) % 6], 0, Count);
    GetSurface()->StretchOnSkin = 1; // as the battle list draws: scaled into a slot
    Outfit(4, 150, 18, 2, Colours[1], 71, Count);
    GetSurface()->StretchOnSkin = 0;
    Outfit(40, 150, 48, 3, Colours[2], 71, Count);
    const int32_t Item[4] = {SWORD, 0, 0, 0};
    Outfit(100, 150, 32, 0, Item, 71, Count);
}

void DrawLight() {
    TSurface* S = GetSurface();
    const int32_t Ground[4] = {GRASS, STONE_FLOOR, COBBLES, WATER};
    for (int32_t y = 0; y < 11; y++)
        for (int32_t x = 0; x < 15; x++) {
            const int32_t Type = Ground[(x / 4 + y / 3) % 4];
            DrawSprite(TEMP_SURFACE, 32 * x, 32 * y,
                       GetObjectSprite(Type, 1, 1, 1, 1 + x % GetObjectPatternWidth(Type),
                                       1 + y % GetObjectPatternHeight(Type), 1, 1));
        }
    DrawSprite(TEMP_SURFACE, 32 * 7, 32 * 5, GetObjectSprite(CAMPFIRE, 1, 1, 1, 1, 1, 1, 1));
    // The map's light grid: 19 x 15 quads from the centre of one field to the next, reaching 48 pixels past
    // the picture's top and left; a corner's light falls off with its distance from the fire at (7.5, 5.5).
    std::vector<int32_t> Rectangles, Colors;
    for (int32_t y = 0; y < 15; y++)
        for (int32_t x = 0; x < 19; x++) {
            Rectangles.insert(Rectangles.end(), {32 * x - 48, 32 * y - 48, 32, 32});
            for (int32_t Corner = 0; Corner < 4; Corner++) {
                const double dx = x + Corner % 2 - 9.0, dy = y + Corner / 2 - 7.0;
                const int32_t l = std::max(40, 255 - static_cast<int32_t>(30 * std::sqrt(dx * dx + dy * dy)));
                Colors.insert(Colors.end(), {l, l * 9 / 10, l * 7 / 10});
            }
        }
    S->DrawShadedQuads(TEMP_SURFACE, 19 * 15, Rectangles.data(), Colors.data());
    S->StretchBlit(SCREEN_SURFACE, 0, 0, SCENE_WIDTH, SCENE_HEIGHT, TEMP_SURFACE, 0, 0, 480, 352);
}

void LoadSceneData() {
    OpenSpriteFile((Data + "/Ebrun.spr").c_str());
    OpenPictureFile((Data + "/Ebrun.pic").c_str());
    LoadObjectTypes((Data + "/Ebrun.dat").c_str());
    InitMemoryCache(10485760);
    InitFonts();
    InitSkins();
    InitVideoCache();
    while (GetTickCounter() % 12600 != 0) // every animation at its first phase
        IncreaseTickCounter();
}

void UnloadSceneData() {
    ExitSkins();
    ExitGraphics();
    FreeObjectTypes();
}

uint64_t SceneHash(const uint8_t* Pixels, int32_t RowBytes, int32_t Pitch, int32_t Height) {
    uint64_t h = 1469598103934665603ULL;
    for (int32_t y = 0; y < Height; y++)
        for (int32_t i = 0; i < RowBytes; i++) {
            h ^= Pixels[static_cast<size_t>(y) * Pitch + i];
            h *= 1099511628211ULL;
        }
    return h;
}

std::map<std::string, std::string> GoldenHashes() {
    std::map<std::string, std::string> Hashes;
    std::ifstream File(EBRUN_GOLDEN_FILE);
    std::string Scene, Kind, Value;
    while (File >> Scene >> Kind >> Value)
        Hashes[Scene + " " + Kind] = Value;
    return Hashes;
}

void WriteGoldenHashes(const std::map<std::string, std::string>& Hashes) {
    std::ofstream File(EBRUN_GOLDEN_FILE, std::ios::trunc);
    for (const auto& [Name, Hash] : Hashes)
        File << Name << " " << Hash << "\n";
}
