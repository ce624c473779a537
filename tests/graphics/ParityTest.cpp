// The three engines draw the canned scenes and are compared with one another, pixel for pixel, at 32 and at
// 16 bits per pixel, in every tier of the pixel loops (all three light through them). At 16 bits the software
// engine draws in 5-6-5 while the others keep 8 bits per channel; their pictures are compared as a 5-6-5
// display shows them. Where the filter of a stretch is the engine's own (linear here, nearest on the software
// engine) the pictures may differ, within the bound each test states. Pictures that differ are written as PPM
// files.
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "platform/Display.h"
#include "state/Objects.h"
#include "tests/graphics/CannedScenes.h"
#include "tests/graphics/EngineParity.h"
#include "tests/platform/PixelTiers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

constexpr int32_t MAP_WIDTH = 480, MAP_HEIGHT = 352;

// What one engine drew at one depth: the screen after each scene, and the sources and results of the
// stretches.
struct TDrawn {
    std::map<std::string, TPicture> Screen;
    std::map<std::string, std::vector<TRectangle>> Boxes;
    TPicture LitMap;   // TEMP_SURFACE after the light scene's quads, before its stretch
    TPicture Shrunk;   // the light scene: the lit map stretched to 320 x 240
    TPicture Enlarged; // the lit map's top left 240 x 176 stretched to twice its size
};

struct TScene {
    const char* Name;
    void (*Draw)();
};
const TScene Scenes[] = {{"skins", DrawSkins},
                         {"fonts", DrawFonts},
                         {"objects", DrawObjects},
                         {"outfits", DrawOutfits},
                         {"light", DrawLight}};

TDrawn Draw(int32_t Engine, int32_t Bits) {
    TParityEngine E(Engine, Bits);
    LoadSceneData();
    TDrawn Drawn;
    for (const TScene& Scene : Scenes) {
        Scene.Draw();
        Drawn.Screen[Scene.Name] = E.read(SCREEN_SURFACE, 0, 0, SCENE_WIDTH, SCENE_HEIGHT);
        Drawn.Boxes[Scene.Name] = ObjectBoxes();
    }
    Drawn.Shrunk = Drawn.Screen["light"];
    Drawn.LitMap = E.read(TEMP_SURFACE, 0, 0, MAP_WIDTH, MAP_HEIGHT);
    GetSurface()->StretchBlit(SCREEN_SURFACE, 0, 0, MAP_WIDTH, MAP_HEIGHT, TEMP_SURFACE, 0, 0, MAP_WIDTH / 2,
                              MAP_HEIGHT / 2);
    Drawn.Enlarged = E.read(SCREEN_SURFACE, 0, 0, MAP_WIDTH, MAP_HEIGHT);
    UnloadSceneData();
    return Drawn;
}

// Every engine's pictures at one depth in the current tier, drawn once for all tests of the run.
const TDrawn& Drawn(int32_t Engine, int32_t Bits) {
    static std::map<std::tuple<int32_t, int32_t, TPixelTier>, TDrawn> Cache;
    const auto Key = std::make_tuple(Engine, Bits, GetPixelTier());
    if (Cache.find(Key) == Cache.end()) Cache[Key] = Draw(Engine, Bits);
    return Cache[Key];
}

// A picture as a display of Bits bits shows it.
TPicture Shown(const TPicture& Picture, int32_t Bits) { return Bits == 16 ? ReducedTo565(Picture) : Picture; }

void ExpectSame(const TPicture& A, const TPicture& B, const std::string& What) {
    const TDifference D = Compare(A, B);
    EXPECT_EQ(D.Pixels, 0) << What << ": largest difference " << D.Largest;
    if (D.Pixels != 0) {
        WritePpm(What + "-a.ppm", A);
        WritePpm(What + "-b.ppm", B);
    }
}

// Each channel of every pixel of Stretched (the whole of Source scaled onto it) lies between the smallest and
// the largest value of the two by two source pixels around the point its centre maps to, the edge pixels
// standing in for any past the edge: a linear filter mixes those four, the nearest pixel is one of them.
// Answers the pixels outside that bound.
int32_t OutsideTheMixedTexels(const TPicture& Source, const TPicture& Stretched) {
    const auto Texels = [](int32_t i, int32_t Length, int32_t SourceLength, int32_t& First, int32_t& Second) {
        const double s = (i + 0.5) * SourceLength / Length - 0.5;
        First = std::clamp(static_cast<int32_t>(std::floor(s)), 0, SourceLength - 1);
        Second = std::clamp(static_cast<int32_t>(std::floor(s)) + 1, 0, SourceLength - 1);
    };
    int32_t Outside = 0;
    for (int32_t y = 0; y < Stretched.Height; y++)
        for (int32_t x = 0; x < Stretched.Width; x++) {
            int32_t x0, x1, y0, y1;
            Texels(x, Stretched.Width, Source.Width, x0, x1);
            Texels(y, Stretched.Height, Source.Height, y0, y1);
            const uint32_t Near[4] = {Source.at(x0, y0), Source.at(x1, y0), Source.at(x0, y1),
                                      Source.at(x1, y1)};
            for (int32_t Shift = 0; Shift < 24; Shift += 8) {
                const auto Channel = [Shift](uint32_t P) { return static_cast<int32_t>((P >> Shift) & 255); };
                int32_t Low = 255, High = 0;
                for (uint32_t P : Near) {
                    Low = std::min(Low, Channel(P));
                    High = std::max(High, Channel(P));
                }
                const int32_t Value = Channel(Stretched.at(x, y));
                if (Value < Low - 1 || Value > High + 1) {
                    Outside++;
                    break;
                }
            }
        }
    return Outside;
}

TPicture TopLeft(const TPicture& Picture, int32_t Width, int32_t Height) {
    TPicture Cut{Width, Height, {}};
    for (int32_t y = 0; y < Height; y++)
        for (int32_t x = 0; x < Width; x++)
            Cut.Pixels.push_back(Picture.at(x, y));
    return Cut;
}

class Parity : public TDepthTieredTest {
protected:
    TPicture shown(int32_t Engine, const TPicture TDrawn::*Which) const {
        return Shown(Drawn(Engine, bits()).*Which, bits());
    }
    TPicture screen(int32_t Engine, const char* Scene) const {
        return Shown(Drawn(Engine, bits()).Screen.at(Scene), bits());
    }
    std::string name(int32_t Engine, const char* What) const {
        return std::string(What) + "-" + std::to_string(bits()) + "-" + PixelTierName(GetPixelTier()) +
               "-engine" + std::to_string(Engine);
    }
};

using FullScreenParity = TTieredTest;
using KeptStretches = TTieredTest;

} // namespace

TEST_P(Parity, SkinsAndTextAreTheSameOnEveryEngine) {
    for (const char* Scene : {"skins", "fonts"})
        for (int32_t Engine : {1, 2})
            ExpectSame(screen(0, Scene), screen(Engine, Scene), name(Engine, Scene));
}

// At 16 bits the software engine lights the 5-6-5 picture while the others light 8 bits per channel, which
// the display then cuts to 5-6-5: they may differ by one step of a channel, never more.
TEST_P(Parity, LightIsTheSameOnEveryEngine) {
    for (int32_t Engine : {1, 2}) {
        const TPicture Software = shown(0, &TDrawn::LitMap), Other = shown(Engine, &TDrawn::LitMap);
        if (bits() == 32) {
            ExpectSame(Software, Other, name(Engine, "light"));
            continue;
        }
        int32_t Steps = 0;
        for (size_t i = 0; i < Software.Pixels.size(); i++)
            for (const auto& [Shift, Bits] : {std::pair{16, 5}, std::pair{8, 6}, std::pair{0, 5}}) {
                const auto Step = [Shift, Bits](uint32_t P) {
                    return static_cast<int32_t>((P >> Shift & 255) >> (8 - Bits));
                };
                Steps = std::max(Steps, std::abs(Step(Software.Pixels[i]) - Step(Other.Pixels[i])));
            }
        EXPECT_LE(Steps, 1) << Engine;
    }
}

// The linear filter mixes neighbouring pixels where the software engine takes the nearest one: the two
// smoothing engines agree exactly, and every engine's pixel stays within the source pixels its filter mixes,
// never reaching past the picture.
TEST_P(Parity, StretchesStayWithinTheSourcePixelsTheyMix) {
    ExpectSame(shown(1, &TDrawn::Shrunk), shown(2, &TDrawn::Shrunk), name(2, "shrunk"));
    ExpectSame(shown(1, &TDrawn::Enlarged), shown(2, &TDrawn::Enlarged), name(2, "enlarged"));
    for (int32_t Engine : ENGINES) {
        const TPicture Source = shown(Engine, &TDrawn::LitMap);
        EXPECT_EQ(OutsideTheMixedTexels(Source, shown(Engine, &TDrawn::Shrunk)), 0) << Engine;
        EXPECT_EQ(OutsideTheMixedTexels(TopLeft(Source, MAP_WIDTH / 2, MAP_HEIGHT / 2),
                                        shown(Engine, &TDrawn::Enlarged)),
                  0)
            << Engine;
    }
}

// Scaled sprites are smoothed over their background by the two smoothing engines, which agree exactly; the
// software engine's nearest pixels differ from them only inside the boxes the objects were drawn into.
TEST_P(Parity, ScaledSpritesDifferOnlyInsideTheirBoxes) {
    for (const char* Scene : {"objects", "outfits"}) {
        ExpectSame(screen(1, Scene), screen(2, Scene), name(2, Scene));
        const std::vector<TRectangle>& Boxes = Drawn(0, bits()).Boxes.at(Scene);
        const auto Outside = [&Boxes](int32_t x, int32_t y) {
            return std::none_of(Boxes.begin(), Boxes.end(), [x, y](const TRectangle& B) {
                return x >= B.x && x < B.x + B.Width && y >= B.y && y < B.y + B.Height;
            });
        };
        EXPECT_EQ(Compare(screen(0, Scene), screen(1, Scene), Outside).Pixels, 0) << Scene;
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, Parity, DepthsAndTiers(), DepthAndTierName);

// Full screen at a size the display does not offer: OpenGL and Direct3D 9 both take the last listed mode and
// write it into the caller's record; the software engine, given that record, draws the same frame.
TEST_P(FullScreenParity, TheSubstituteModeIsTakenAndShownAlike) {
    TDisplayFaults Display;
    Display.Modes = {{640, 480, 32, 60}, {800, 600, 32, 60}};
    std::map<int32_t, TPicture> Frames;
    TDisplayMode Record{1000, 700, 32, 0};
    for (int32_t Engine : {1, 2, 0}) {
        TParityEngine E(Engine, 32, 800, 600);
        Display.DisplayBits = 32;
        SetDisplayFaults(Display);
        LoadSceneData();
        if (Engine != 0) Record = {1000, 700, 32, 0};
        ASSERT_TRUE(GetSurface()->ChangeVideoMode(E.window(), FULLSCREEN_MODE, &Record, false));
        EXPECT_EQ(Record.Width, 800) << Engine;
        EXPECT_EQ(Record.Height, 600) << Engine;
        EXPECT_EQ(GetSurface()->getViewMode(), FULLSCREEN_MODE);
        EXPECT_EQ(GetSurface()->GetSurfaceRect(SCREEN_SURFACE).Width, 800);
        ResetVideoCache();
        GetSurface()->FillRectangle(SCREEN_SURFACE, 0, 0, 800, 600, 0, 0, 0);
        DrawSkins();
        DrawFonts();
        DrawSkin(SCREEN_SURFACE, 320, 240, 480, 360, 51, 0, 0); // out to the far corner
        Frames[Engine] = E.read(SCREEN_SURFACE, 0, 0, 800, 600);
        UnloadSceneData();
    }
    for (int32_t Engine : {1, 2})
        ExpectSame(Frames[0], Frames[Engine], "fullscreen-engine" + std::to_string(Engine));
}

// A stretch onto the skin is kept for the next frame; once the video cache writes a cell (here: another
// sprite put where the first one lay), the kept ones are made again from the pixels the cell holds now.
TEST_P(KeptStretches, FollowThePixelsOfTheirSourceCell) {
    for (int32_t Engine : ENGINES) {
        TParityEngine E(Engine, 32);
        LoadSceneData();
        TSurface* S = GetSurface();
        const int32_t Sword = GetObjectSprite(166, 1, 1, 1, 1, 1, 1, 1),
                      Shield = GetObjectSprite(167, 1, 1, 1, 1, 1, 1, 1);
        S->FillRectangle(SCREEN_SURFACE, 0, 0, 100, 30, 0, 0, 0);
        S->StretchOnSkin = 1;
        const auto Stretched = [&](int32_t x, int32_t Sprite) {
            DrawSpriteStretched(SCREEN_SURFACE, x, 0, 20, 20, Sprite, 71, 71, 71, 0, 0, 640, 480);
            return E.read(SCREEN_SURFACE, x, 0, 20, 20);
        };
        const TPicture First = Stretched(0, Sword);
        ExpectSame(Stretched(0, Sword), First, "kept-" + std::to_string(Engine));
        // A stretch onto a plain background makes that colour transparent in its own square only: the kept
        // one keeps its pixels of that colour.
        const uint32_t Colour = First.at(10, 10);
        S->StretchOnSkin = 0;
        DrawSpriteStretched(SCREEN_SURFACE, 90, 0, 20, 20, Sword, Colour >> 16 & 255, Colour >> 8 & 255,
                            Colour & 255, 0, 0, 640, 480);
        S->StretchOnSkin = 1;
        S->FillRectangle(SCREEN_SURFACE, 0, 0, 20, 20, 0, 0, 0);
        ExpectSame(Stretched(0, Sword), First, "kept-beside-plain-" + std::to_string(Engine));
        const TVideoCacheItem Cell = *GetVideoSprite(Sword);
        const TPicture ShieldShown = Stretched(30, Shield); // an upload: forgets the kept ones
        S->WritePixels(SPRITE_SURFACE + Cell.Page, Cell.x, Cell.y, 32, 32, GetMemorySprite(Shield)->Data);
        const TSpriteEntry& Key = GetSpriteEntry(Sword);
        S->StretchBlitTransparentClipped(SCREEN_SURFACE, 60, 0, 20, 20, SPRITE_SURFACE + Cell.Page, Cell.x,
                                         Cell.y, 32, 32, Key.KeyRed, Key.KeyGreen, Key.KeyBlue, 71, 71, 71, 0,
                                         0, 640, 480);
        ExpectSame(E.read(SCREEN_SURFACE, 60, 0, 20, 20), ShieldShown, "refilled-" + std::to_string(Engine));
        S->StretchOnSkin = 0;
        UnloadSceneData();
    }
}

// Copies whose source reaches past its page, one past the corner of the pages' texture: each draws the part
// inside its page as the software engine does, and the other copies and fills of their batch are drawn too.
TEST(CopyParity, ASourcePastItsPageDrawsItsInsidePart) {
    std::map<int32_t, TPicture> Frames;
    for (int32_t Engine : ENGINES) {
        TParityEngine E(Engine, 32);
        TSurface* S = GetSurface();
        const int32_t Page = S->GetSurfaceRect(SPRITE_SURFACE).Width; // the engines' pages differ in size
        std::vector<uint8_t> Rgb;
        for (int32_t y = 0; y < Page; y++)
            for (int32_t x = 0; x < Page; x++)
                Rgb.insert(Rgb.end(), {static_cast<uint8_t>(40 + std::min({x, Page - 1 - x, 100})),
                                       static_cast<uint8_t>(60 + std::min(y, 100)), 200});
        S->WritePixels(SPRITE_SURFACE, 0, 0, Page, Page, Rgb.data());
        std::fill(Rgb.begin(), Rgb.end(), 90);
        S->WritePixels(SPRITE_SURFACE + 1, 0, 0, Page, Page, Rgb.data()); // the page right of it
        S->FillRectangle(SCREEN_SURFACE, 0, 0, 100, 40, 10, 20, 30);
        S->BlitClipped(SCREEN_SURFACE, 40, 0, SPRITE_SURFACE, 0, 0, 16, 16, 0, 0, 640, 480);
        S->BlitClipped(SCREEN_SURFACE, 0, 0, SPRITE_SURFACE, -4, -6, 16, 16, 0, 0, 640, 480);
        S->BlitClipped(SCREEN_SURFACE, 60, 20, SPRITE_SURFACE, Page - 8, 3, 16, 16, 0, 0, 640, 480);
        Frames[Engine] = E.read(SCREEN_SURFACE, 0, 0, 100, 40);
    }
    for (int32_t Engine : {1, 2})
        ExpectSame(Frames[0], Frames[Engine], "copy-past-page-engine" + std::to_string(Engine));
}

INSTANTIATE_TEST_SUITE_P(Tiers, FullScreenParity, PixelTiers(), TierName);
INSTANTIATE_TEST_SUITE_P(Tiers, KeptStretches, PixelTiers(), TierName);
