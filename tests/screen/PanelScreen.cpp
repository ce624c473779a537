// The side-bar panels' drawing bench: private folder, self-naming skin picture, block fonts.
#include "tests/screen/PanelScreen.h"

#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"

#include <array>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

// Skin pixels have blue 16 to 19 (the high bits of x and y); the background is the only blue 200; text is
// white recoloured, never with such a blue.
constexpr uint8_t BACKGROUND_BLUE = 200;

std::array<uint8_t, 3> CoordinateColor(int32_t x, int32_t y) {
    return {static_cast<uint8_t>(x & 255), static_cast<uint8_t>(y & 255),
            static_cast<uint8_t>(16 + (x >> 8) + 2 * (y >> 8))};
}

std::array<uint8_t, 3> Solid(int32_t, int32_t) { return {255, 255, 255}; }

} // namespace

TPanelScreen::TPanelScreen() {
    char Previous[PATH_MAX];
    PreviousFolder = getcwd(Previous, sizeof(Previous)) != nullptr ? Previous : ".";
    char Template[] = "/tmp/ebrun-panels-XXXXXX";
    Folder = mkdtemp(Template);
    if (chdir(Folder.c_str()) != 0) std::abort();
    WriteFile("Ebrun.spr", SpriteFileBytes({SpriteOf(FilledTile(1, 2, 3))}));
    std::vector<TTestPicture> Pictures;
    for (int32_t Number = 1; Number <= 8; Number++)
        Pictures.push_back(Number == SKIN_PICTURE ? PictureOf(11, 9, CoordinateColor)
                                                  : PictureOf(16, 4, Solid));
    WriteFile("Ebrun.pic", PictureFileBytes(Pictures));
    Engine = std::make_unique<TTestEngine>();
    InitGraphics(4 << 20);
    InitSkins();
    InitVideoCache();
    InitSkinProperties();
    clear();
}

TPanelScreen::~TPanelScreen() {
    ExitSkins();
    ExitGraphics();
    Engine.reset();
    if (chdir(PreviousFolder.c_str()) != 0) std::abort();
    std::error_code Ignored;
    std::filesystem::remove_all(Folder, Ignored);
}

void TPanelScreen::beginFrame() {
    Engine->engine().ChangeVideoMode(Engine->window(), WINDOWED_MODE, nullptr, false);
}

void TPanelScreen::clear() {
    TRectangle Screen = GetSurface()->GetSurfaceRect(SCREEN_SURFACE);
    GetSurface()->FillRectangle(SCREEN_SURFACE, 0, 0, Screen.Width, Screen.Height, 0, 0, BACKGROUND_BLUE);
}

uint32_t TPanelScreen::pixel(int32_t x, int32_t y, int32_t Surface) { return Engine->pixel(Surface, x, y); }

bool TPanelScreen::isBackground(int32_t x, int32_t y) { return pixel(x, y) == rgb(0, 0, BACKGROUND_BLUE); }

TSkinSource TPanelScreen::source(int32_t x, int32_t y) {
    const uint32_t Pixel = pixel(x, y);
    const int32_t Red = Pixel >> 16 & 255, Green = Pixel >> 8 & 255, Blue = Pixel & 255;
    if (Blue < 16 || Blue > 19) return {-1, -1};
    const int32_t High = Blue - 16;
    return {Red + 256 * (High & 1), Green + 256 * (High >> 1)};
}

TSkinSource TPanelScreen::skinPixel(int32_t Skin, int32_t dx, int32_t dy) {
    const TSkin& S = GetSkin(Skin);
    return {S.x + dx, S.y + dy};
}
