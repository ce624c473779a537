// A drawing bench for the toolkit: software engine and data files whose skin picture names its own pixels.
#include "tests/gui/SkinScreen.h"

#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"

#include <array>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// Blue 16 to 19 carries the high bits of x and y; the background is the only pixel with blue 200.
constexpr uint8_t BACKGROUND_BLUE = 200;

std::array<uint8_t, 3> CoordinateColor(int32_t x, int32_t y) {
    return {static_cast<uint8_t>(x & 255), static_cast<uint8_t>(y & 255),
            static_cast<uint8_t>(16 + (x >> 8) + 2 * (y >> 8))};
}

std::array<uint8_t, 3> Transparent(int32_t, int32_t) { return {255, 0, 255}; }

// Tests of this binary run side by side in one folder: a reader sees the old file or the new one, whole.
void ReplaceFile(const std::string& Name, const std::vector<uint8_t>& Bytes) {
    std::string Temporary = Name + "." + std::to_string(getpid());
    WriteFile(Temporary, Bytes);
    std::rename(Temporary.c_str(), Name.c_str());
}

} // namespace

TSkinScreen::TSkinScreen() {
    ReplaceFile("Ebrun.spr", SpriteFileBytes({SpriteOf(FilledTile(1, 2, 3))}));
    // Pictures 1 to 8; 4 is the skin picture (352 x 272), the font pictures are transparent.
    std::vector<TTestPicture> Pictures;
    for (int32_t Number = 1; Number <= 8; Number++)
        Pictures.push_back(Number == SKIN_PICTURE ? PictureOf(11, 9, CoordinateColor)
                                                  : PictureOf(16, 4, Transparent));
    ReplaceFile("Ebrun.pic", PictureFileBytes(Pictures));
    Engine = std::make_unique<TTestEngine>();
    InitGraphics(4 << 20);
    InitSkins();
    InitVideoCache();
    InitSkinProperties();
    clear();
}

TSkinScreen::~TSkinScreen() {
    ExitSkins();
    ExitGraphics();
    Engine.reset();
}

void TSkinScreen::clear() {
    TRectangle Screen = GetSurface()->GetSurfaceRect(SCREEN_SURFACE);
    GetSurface()->FillRectangle(SCREEN_SURFACE, 0, 0, Screen.Width, Screen.Height, 0, 0, BACKGROUND_BLUE);
}

TSource TSkinScreen::source(int32_t x, int32_t y) {
    uint32_t Pixel = Engine->pixel(SCREEN_SURFACE, x, y);
    int32_t Red = Pixel >> 16 & 255, Green = Pixel >> 8 & 255, Blue = Pixel & 255;
    if (Blue == BACKGROUND_BLUE) return {-1, -1};
    int32_t High = Blue - 16;
    return {Red + 256 * (High & 1), Green + 256 * (High >> 1)};
}

uint32_t TSkinScreen::pixel(int32_t x, int32_t y) { return Engine->pixel(SCREEN_SURFACE, x, y); }

TSource TSkinScreen::skinPixel(int32_t Skin, int32_t dx, int32_t dy) {
    const TSkin& S = GetSkin(Skin);
    return {S.x + dx, S.y + dy};
}
