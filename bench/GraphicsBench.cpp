// Speed of the software engine at 1024 x 768 on the generated data, each scene as a ratio to a plain memcpy
// of one frame measured in the same run: a screenful of colour-keyed tiles in three layers with 200 glyphs,
// and the map's light pass (shaded quads over the map picture in TEMP_SURFACE, then its stretch onto the
// screen). Prints the median of many frames per scene at 32 and at 16 bits per pixel.
#include "graphics/Engine.h"
#include "graphics/SurfaceDX.h"
#include "graphics/graphics.h"
#include "platform/Display.h"
#include "platform/Window.h"
#include "state/Objects.h"
#include "state/Preferences.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int32_t WIDTH = 1024, HEIGHT = 768, FRAMES = 200;
const std::string Data = EBRUN_DATA_DIR;

double MedianMilliseconds(const std::function<void()>& Frame) {
    for (int i = 0; i < 10; i++) // warm the caches
        Frame();
    std::vector<double> Times;
    for (int i = 0; i < FRAMES; i++) {
        const auto Start = std::chrono::steady_clock::now();
        Frame();
        Times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count());
    }
    std::nth_element(Times.begin(), Times.begin() + FRAMES / 2, Times.end());
    return Times[FRAMES / 2];
}

// Three layers of 32 x 32 keyed tiles over the whole screen (ground, item, creature on every field, field by
// field as the map view draws them) and 200 glyphs.
void TilesAndText() {
    const int32_t Sprites = GetNumberOfSprites();
    int32_t n = 0;
    for (int32_t y = 0; y < HEIGHT; y += 32)
        for (int32_t x = 0; x < WIDTH; x += 32, n++)
            for (int32_t Layer = 0; Layer < 3; Layer++)
                DrawSprite(SCREEN_SURFACE, x, y, 2 + (n * 37 + Layer * 101) % (Sprites - 1));
    for (int32_t Line = 0; Line < 10; Line++)
        PrintText(SCREEN_SURFACE, 20, 40 + 60 * Line, 1 + Line % 4, 200, 220 - 10 * Line, 100 + 10 * Line,
                  "Twenty glyphs a line", LEFT_ALIGN);
}

// The map picture (15 x 11 fields) in TEMP_SURFACE, lit by 32 x 22 quads of 15 x 16 pixels, stretched onto
// the screen at twice its size.
struct TLightPass {
    std::vector<int32_t> Rectangles, Colors;
    TLightPass() {
        for (int32_t y = 0; y < 22; y++)
            for (int32_t x = 0; x < 32; x++) {
                Rectangles.insert(Rectangles.end(), {15 * x, 16 * y, 15, 16});
                for (int32_t Corner = 0; Corner < 4; Corner++) {
                    const int32_t l =
                        255 - 3 * (std::abs(x + Corner % 2 - 16) + std::abs(y + Corner / 2 - 11));
                    Colors.insert(Colors.end(), {l, l * 9 / 10, l * 7 / 10});
                }
            }
    }
    void shade() const {
        GetSurface()->DrawShadedQuads(TEMP_SURFACE, static_cast<int32_t>(Rectangles.size() / 4),
                                      Rectangles.data(), Colors.data());
    }
    static void stretch() {
        GetSurface()->StretchBlit(SCREEN_SURFACE, 32, 32, 960, 704, TEMP_SURFACE, 0, 0, 480, 352);
    }
};

void DrawMapPicture() {
    int32_t n = 0;
    for (int32_t y = 0; y < 352; y += 32)
        for (int32_t x = 0; x < 480; x += 32)
            DrawSprite(TEMP_SURFACE, x, y, 2 + (n++ * 13) % (GetNumberOfSprites() - 1));
}

void Run(int32_t Bits) {
    TDisplayFaults Faults;
    Faults.DisplayBits = Bits;
    SetDisplayFaults(Faults);
    std::unique_ptr<TWindow> Window = TWindow::create("bench", WIDTH, HEIGHT, false);
    if (!Window) {
        std::fprintf(stderr, "no window: %s\n", GetPlatformError());
        std::exit(1);
    }
    ResetEngineModule();
    StartGraphicEngine(Window.get(), ENGINE_DIRECTDRAW);
    TSurfaceDX* Engine = dynamic_cast<TSurfaceDX*>(GetSurface());
    Engine->InitSurfaces();
    Engine->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
    InitVideoCache();

    const size_t FrameBytes = static_cast<size_t>(WIDTH) * HEIGHT * (Bits / 8);
    std::vector<uint8_t> From(FrameBytes, 1), To(FrameBytes);
    const double Memcpy = MedianMilliseconds([&] {
        std::memcpy(To.data(), From.data(), FrameBytes);
        From[To[FrameBytes / 2] % FrameBytes]++; // keeps the copy from being optimised away
    });
    const double Tiles = MedianMilliseconds(TilesAndText);
    DrawMapPicture();
    const TLightPass Light;
    const double Shading = MedianMilliseconds([&] {
        DrawMapPicture();
        Light.shade();
    });
    const double MapOnly = MedianMilliseconds(DrawMapPicture);
    const double Stretch = MedianMilliseconds(TLightPass::stretch);
    const double Lighting = Shading - MapOnly + Stretch;
    std::printf("%2d bits: memcpy of the frame %.3f ms\n", Bits, Memcpy);
    std::printf("         tiles (3 x 768 keyed) + 200 glyphs  %.3f ms  = %5.1f x memcpy\n", Tiles,
                Tiles / Memcpy);
    std::printf(
        "         light pass (704 quads + stretch)    %.3f ms  = %5.1f x memcpy (quads %.3f, stretch %.3f)\n",
        Lighting, Lighting / Memcpy, Shading - MapOnly, Stretch);
    Engine->ExitSurfaces();
    SurfaceExitInstance();
}

} // namespace

int main() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    ResetOptions();
    OpenSpriteFile((Data + "/Ebrun.spr").c_str());
    OpenPictureFile((Data + "/Ebrun.pic").c_str());
    LoadObjectTypes((Data + "/Ebrun.dat").c_str());
    InitMemoryCache(10485760);
    InitFonts();
    Run(32);
    Run(16);
    ExitGraphics();
    return 0;
}
