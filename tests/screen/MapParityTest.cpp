// The map view drawn by the three engines and compared with one another: the street lit at night and in a
// cave (the light grid reaching past the picture on every side), and the map stretched to twice its size, at
// 32 and at 16 bits per pixel. At 16 bits the software engine lights the 5-6-5 picture while the others light
// 8 bits per channel, which the display then cuts to 5-6-5; the stretch filters linearly on the other two
// engines and takes the nearest pixel on the software engine. Each runs in every tier of the pixel loops (all
// three engines light through them). Pictures that differ are written as PPM files.
#include "graphics/Engine.h"
#include "screen/MapWindow.h"
#include "state/Map.h"
#include "state/MapLight.h"
#include "state/Preferences.h"
#include "tests/graphics/EngineParity.h"
#include "tests/platform/PixelTiers.h"
#include "tests/screen/MapStreet.h"
#include "tests/state/WorldTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

constexpr int32_t PICTURE_WIDTH = 480, PICTURE_HEIGHT = 352;

struct TMapPictures {
    TPicture Night, Cave;        // the unstretched view, names and bars over the lit map
    TPicture Picture, Stretched; // the lit street at night, and the view twice its size
    TPicture CaveAgain;          // the cave's next frame, with the crate gone from its field
};

// The view of the street on the floor Z, lit by the light of Ambient and the street's own lights. Again:
// the next frame of the same view, after one field lost an object (the software engine's field cells kept
// from the frame before, the others drawing every field anew).
TPicture DrawStreet(TParityEngine& E, int32_t Z, int32_t Ambient, TPicture* Picture = nullptr,
                    TPicture* Stretched = nullptr, TPicture* Again = nullptr) {
    InitStreetModules(Z);
    BuildStreet(false);
    SetAmbientLight(-1, 0); // at once, not fading from the day
    SetAmbientLight(Ambient, 215);
    SetLightEffects(true);
    SetNoStretching(true);
    TMapView View;
    View.setSize(PICTURE_WIDTH, PICTURE_HEIGHT);
    View.draw(SCREEN_SURFACE, 0, 0);
    const TPicture Shown = E.read(SCREEN_SURFACE, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
    if (Again != nullptr) {
        EXPECT_FALSE(DeleteMapObject(10, 8, GetViewLayer(), 1)); // the crate under the coins
        View.draw(SCREEN_SURFACE, 0, 0);
        *Again = E.read(SCREEN_SURFACE, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
    }
    if (Picture != nullptr) {
        *Picture = E.read(TEMP_SURFACE, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
        SetNoStretching(false);
        SetCreatureInfo(0); // names and bars are drawn over the stretched picture, at their own size
        View.setSize(2 * PICTURE_WIDTH, 2 * PICTURE_HEIGHT);
        View.draw(SCREEN_SURFACE, 0, 0);
        *Stretched = E.read(SCREEN_SURFACE, 0, 0, 2 * PICTURE_WIDTH, 2 * PICTURE_HEIGHT);
    }
    ExitStreetModules();
    return Shown;
}

// One engine's pictures at one depth in the current tier, drawn once for all tests of the run.
const TMapPictures& Drawn(int32_t Engine, int32_t Bits) {
    static std::map<std::tuple<int32_t, int32_t, TPixelTier>, TMapPictures> Cache;
    const auto Key = std::make_tuple(Engine, Bits, GetPixelTier());
    if (Cache.find(Key) == Cache.end()) {
        TWorkingDirectory Scratch;
        TParityEngine E(Engine, Bits, 1024, 768);
        TMapPictures& P = Cache[Key];
        P.Night = DrawStreet(E, 7, 40, &P.Picture, &P.Stretched);
        P.Cave = DrawStreet(E, 10, 255, nullptr, nullptr, &P.CaveAgain); // no ambient light under ground
    }
    return Cache[Key];
}

TPicture Shown(const TPicture& Picture, int32_t Bits) { return Bits == 16 ? ReducedTo565(Picture) : Picture; }

// The largest difference of two pictures in steps of a 5-6-5 channel.
int32_t LargestStep(const TPicture& A, const TPicture& B) {
    int32_t Steps = 0;
    for (size_t i = 0; i < A.Pixels.size(); i++)
        for (const auto& [Shift, Bits] : {std::pair{16, 5}, std::pair{8, 6}, std::pair{0, 5}}) {
            const auto Step = [Shift, Bits](uint32_t P) {
                return static_cast<int32_t>((P >> Shift & 255) >> (8 - Bits));
            };
            Steps = std::max(Steps, std::abs(Step(A.Pixels[i]) - Step(B.Pixels[i])));
        }
    return Steps;
}

// Pixels of Stretched (Source at twice its size) whose channels leave the range of the two by two source
// pixels around the point their centre maps to, edge pixels standing in for any past the edge.
int32_t OutsideTheMixedPixels(const TPicture& Source, const TPicture& Stretched) {
    const auto Texels = [](int32_t i, int32_t Length, int32_t& First, int32_t& Second) {
        const int32_t s = static_cast<int32_t>(std::floor((i + 0.5) / 2 - 0.5));
        First = std::clamp(s, 0, Length - 1);
        Second = std::clamp(s + 1, 0, Length - 1);
    };
    int32_t Outside = 0;
    for (int32_t y = 0; y < Stretched.Height; y++)
        for (int32_t x = 0; x < Stretched.Width; x++) {
            int32_t x0, x1, y0, y1;
            Texels(x, Source.Width, x0, x1);
            Texels(y, Source.Height, y0, y1);
            const uint32_t Near[4] = {Source.at(x0, y0), Source.at(x1, y0), Source.at(x0, y1),
                                      Source.at(x1, y1)};
            bool Inside = true;
            for (int32_t Shift = 0; Shift < 24; Shift += 8) {
                int32_t Low = 255, High = 0;
                for (uint32_t P : Near) {
                    Low = std::min(Low, static_cast<int32_t>((P >> Shift) & 255));
                    High = std::max(High, static_cast<int32_t>((P >> Shift) & 255));
                }
                const int32_t Value = (Stretched.at(x, y) >> Shift) & 255;
                Inside = Inside && Value >= Low - 1 && Value <= High + 1;
            }
            Outside += !Inside;
        }
    return Outside;
}

class MapParity : public TDepthTieredTest {
protected:
    TPicture shown(int32_t Engine, const TPicture TMapPictures::*Which) const {
        return Shown(Drawn(Engine, bits()).*Which, bits());
    }
    void expectSame(int32_t Engine, const TPicture TMapPictures::*Which, const char* What) {
        const TPicture A = shown(0, Which), B = shown(Engine, Which);
        if (bits() == 16) {
            EXPECT_LE(LargestStep(A, B), 1) << What << " " << Engine;
            return;
        }
        const TDifference D = Compare(A, B);
        EXPECT_EQ(D.Pixels, 0) << What << " " << Engine << ": largest difference " << D.Largest;
        if (D.Pixels != 0)
            WritePpm(std::string(What) + "-" + PixelTierName(GetPixelTier()) + "-engine" +
                         std::to_string(Engine) + ".ppm",
                     B);
    }
};

} // namespace

TEST_P(MapParity, TheLitStreetIsTheSameOnEveryEngineAtNightAndInACave) {
    EXPECT_GT(Compare(shown(0, &TMapPictures::Cave), shown(0, &TMapPictures::CaveAgain)).Pixels, 0);
    for (int32_t Engine : {1, 2}) {
        expectSame(Engine, &TMapPictures::Night, "night");
        expectSame(Engine, &TMapPictures::Cave, "cave");
        expectSame(Engine, &TMapPictures::CaveAgain, "cave-again");
    }
}

TEST_P(MapParity, TheStretchedMapStaysWithinThePixelsItsFilterMixes) {
    const TDifference Smoothing =
        Compare(shown(1, &TMapPictures::Stretched), shown(2, &TMapPictures::Stretched));
    EXPECT_EQ(Smoothing.Pixels, 0) << "largest difference " << Smoothing.Largest;
    for (int32_t Engine : ENGINES)
        EXPECT_EQ(OutsideTheMixedPixels(shown(Engine, &TMapPictures::Picture),
                                        shown(Engine, &TMapPictures::Stretched)),
                  0)
            << Engine;
}

INSTANTIATE_TEST_SUITE_P(Depths, MapParity, DepthsAndTiers(), DepthAndTierName);
