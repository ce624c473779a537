// Canned scenes drawn from the generated data at 32 and 16 bits and compared exactly with their golden
// images, kept as hashes in golden/Scenes.txt. A scene that differs is written as a PPM file next to the test
// for a person to look at (EBRUN_GOLDEN_DUMP=1 writes every scene); its new hash is in the failure message.
// After a change of the generated art, EBRUN_GOLDEN_UPDATE=1 writes the new hashes into golden/Scenes.txt
// once the images have been looked at.
#include "tests/graphics/CannedScenes.h"

#include "graphics/Engine.h"
#include "tests/graphics/GraphicsTest.h"
#include "tests/platform/PixelTiers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

uint64_t Hash(const TPixelSurface& Screen) {
    return SceneHash(Screen.row(0), SCENE_WIDTH * Screen.getFormat().BytesPerPixel, Screen.getPitch(),
                     SCENE_HEIGHT);
}

void WritePpm(const std::string& Name, TTestEngine& Engine) {
    std::ofstream File(Name, std::ios::binary);
    File << "P6\n" << SCENE_WIDTH << " " << SCENE_HEIGHT << "\n255\n";
    for (int32_t y = 0; y < SCENE_HEIGHT; y++)
        for (int32_t x = 0; x < SCENE_WIDTH; x++) {
            const uint32_t p = Engine.pixel(SCREEN_SURFACE, x, y);
            const char Rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
            File.write(Rgb, 3);
        }
}

// At a depth of bits per pixel, in a tier of the pixel loops; every tier draws the same golden image.
class Scenes : public ::testing::TestWithParam<std::tuple<int32_t, std::string>> {
protected:
    int32_t bits() const { return std::get<0>(GetParam()); }
    void SetUp() override {
        TDisplayFaults Faults;
        Faults.DisplayBits = bits();
        Engine = std::make_unique<TTestEngine>(Faults);
        LoadSceneData();
    }
    void TearDown() override {
        UnloadSceneData();
        Engine.reset();
    }
    void check(const char* Scene, void (*Draw)()) {
        Draw();
        char Actual[17];
        snprintf(Actual, sizeof(Actual), "%016llx",
                 static_cast<unsigned long long>(Hash(*Engine->engine().getPixels(SCREEN_SURFACE))));
        const std::string Key = std::string(Scene) + " " + std::to_string(bits());
        const std::string Ppm =
            std::string(Scene) + "-" + std::to_string(bits()) + "-" + std::get<1>(GetParam()) + ".ppm";
        std::map<std::string, std::string> Golden = GoldenHashes();
        const bool Same = Golden[Key] == Actual;
        if (!Same || std::getenv("EBRUN_GOLDEN_DUMP") != nullptr) WritePpm(Ppm, *Engine);
        if (!Same && std::getenv("EBRUN_GOLDEN_UPDATE") != nullptr) {
            Golden[Key] = Actual;
            WriteGoldenHashes(Golden);
            return;
        }
        EXPECT_TRUE(Same) << Key << " " << Actual << " (image written to " << Ppm << ")";
    }
    TPixelTierScope Tier{std::get<1>(GetParam())};
    std::unique_ptr<TTestEngine> Engine;
};

} // namespace

TEST_P(Scenes, Skins) { check("skins", DrawSkins); }
TEST_P(Scenes, FontsInColours) { check("fonts", DrawFonts); }
TEST_P(Scenes, ObjectsWithPatternsAndCounts) { check("objects", DrawObjects); }
TEST_P(Scenes, OutfitsInFourColours) { check("outfits", DrawOutfits); }
TEST_P(Scenes, Light) { check("light", DrawLight); }

INSTANTIATE_TEST_SUITE_P(Depths, Scenes, ::testing::Combine(::testing::Values(32, 16), PixelTiers()),
                         DepthAndTierName);
