// Effects, animated texts and missiles on the map box; the ambient light and its fade.
#include "state/MapEffects.h"

#include "foundation/sysinc.h"
#include "state/Map.h"
#include "state/MapLight.h"
#include "tests/foundation/Thrown.h"
#include "tests/state/WorldTest.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using Ids = std::vector<int32_t>;

uint32_t FakeTimer = 0;
uint32_t ReadFakeTimer() { return FakeTimer; }
void SetClock(int32_t Now) { FakeTimer = GetStartTime() + static_cast<uint32_t>(Now); }

Ids EffectsAt(int32_t rx, int32_t ry, int32_t rz) {
    Ids Numbers;
    for (int32_t Number = GetFirstEffect(rx, ry, rz); Number != -1; Number = GetNextEffect())
        Numbers.push_back(Number);
    return Numbers;
}

class Effects : public testing::Test {
protected:
    void SetUp() override {
        LoadWorldTypes();
        InitMap(nullptr);
        SetViewPosition(100, 100, 7);
        SetMillisecondTimer(ReadFakeTimer);
        SetClock(1000);
    }
    void TearDown() override {
        SetMillisecondTimer(nullptr);
        ExitObjects();
    }
    TWorkingDirectory Scratch;
};

} // namespace

TEST_F(Effects, TableAndLists) {
    for (int32_t i = 0; i < EFFECTS; i++)
        ASSERT_EQ(AddEffect(EFFECT_GRAPHIC, i % MAPSIZE_X, 3, 2), i);
    EXPECT_EQ(AddEffect(EFFECT_GRAPHIC, 1, 1, 1), -1);
    EXPECT_EQ(EffectsAt(1, 1, 1), Ids{});
    ClearMap();
    EXPECT_EQ(EffectsAt(5, 3, 2), Ids{});

    for (const char* Text : {"a", "b", "c"})
        AddTextEffect(4, 4, 0, 30, Text);
    AddTextEffect(40, 4, 0, 30, "d"); // outside the box: shown at (0, 0, 0)
    EXPECT_EQ(EffectsAt(4, 4, 0), (Ids{2, 1, 0}));
    EXPECT_EQ(EffectsAt(0, 0, 0), Ids{3});
    DeleteEffect(1);
    EXPECT_EQ(EffectsAt(4, 4, 0), (Ids{2, 0}));
    DeleteEffect(2);
    EXPECT_EQ(AddEffect(EFFECT_TEXT, 4, 4, 0), 1); // the lowest free record
    EXPECT_EQ(EffectsAt(4, 4, 0), (Ids{1, 0}));
    EXPECT_TRUE(Has(ThrownText([] { DeleteEffect(2); }), "Effect.Status!=0"));
}

TEST_F(Effects, TextsAndGraphicsAge) {
    EXPECT_TRUE(Has(ThrownText([] { AddTextEffect(1, 1, 0, 5, "0123456789"); }), "strlen(Text)<10"));
    AddTextEffect(1, 1, 0, 5, "012345678");
    EXPECT_STREQ(GetTextEffectText(0), "012345678");
    AddGraphicEffect(2, 1, 0, 1); // three phases: gone on the third tick
    AdvanceEffects();
    AdvanceEffects();
    EXPECT_EQ(GetGraphicEffectPhase(1), 3);
    AdvanceEffects();
    EXPECT_EQ(GetEffectStatus(1), EFFECT_FREE);
    EXPECT_EQ(EffectsAt(2, 1, 0), Ids{});
    for (int32_t Tick = 4; Tick <= 10; Tick++)
        AdvanceEffects();
    EXPECT_EQ(GetTextEffectPhase(0), 10);
    AdvanceEffects();
    EXPECT_EQ(GetEffectStatus(0), EFFECT_FREE);
    AddGraphicEffect(2, 1, 0, 1);
    EXPECT_TRUE(Has(ThrownText([] { GetTextEffectText(0); }),
                    "(Effects[EffectNumber].Status = 1), reason:\nEffects[EffectNumber].Status==2"));
}

TEST_F(Effects, MissileDirectionsAndDuration) {
    const int32_t Flights[][4] = {{11, 6, 2, 150}, {8, 2, 0, 300}, {7, 7, 5, 150},  {9, 4, 1, 150},
                                  {9, 2, 0, 300},  {0, 0, 7, 450}, {8, 13, 4, 300}, {5, 9, 5, 300}};
    int32_t Layer = GetViewLayer();
    for (const auto& Flight : Flights) {
        ClearMap();
        AddMissileEffect(8, 6, Layer, Flight[0], Flight[1], Layer, 1);
        EXPECT_EQ(Ids({GetMissileEffectDirection(0), GetEffect(0).Duration}), Ids({Flight[2], Flight[3]}))
            << Flight[0] << "," << Flight[1];
        EXPECT_EQ(GetMissileEffectX(0), 0);
        EXPECT_EQ(EffectsAt(8, 6, Layer), Ids{0});
    }
    EXPECT_EQ(GetEffect(0).OffsetX, 96);                // from x 8 to x 5
    AddMissileEffect(8, 6, Layer, 11, 6, Layer + 1, 1); // to another floor: not shown
    EXPECT_EQ(GetEffectStatus(1), EFFECT_FREE);
}

TEST_F(Effects, MissilesFlyOnTheClock) {
    int32_t Layer = GetViewLayer();
    AddMissileEffect(8, 6, Layer, 11, 6, Layer, 1); // 96 pixels in 150 ms
    SetClock(1075);
    MoveMissiles();
    EXPECT_EQ(GetEffect(0).OffsetX, -48);
    // The pixel position lies in the field west of the target, so the missile moved into its list.
    EXPECT_EQ(EffectsAt(10, 6, Layer), Ids{0});
    EXPECT_EQ(EffectsAt(8, 6, Layer), Ids{});
    EXPECT_EQ(GetMissileEffectX(0), -16);
    SetClock(1150);
    MoveMissiles();
    EXPECT_EQ(EffectsAt(11, 6, Layer), Ids{0});
    SetClock(1151);
    MoveMissiles();
    EXPECT_EQ(EffectsAt(11, 6, Layer), Ids{});

    AddMissileEffect(4, 4, Layer, 4, 4, Layer, 1);
    EXPECT_EQ(GetEffect(0).Duration, 0);
    MoveMissiles();
    EXPECT_EQ(GetEffectStatus(0), EFFECT_MISSILE);
    SetClock(1152);
    MoveMissiles();
    EXPECT_EQ(GetEffectStatus(0), EFFECT_FREE);
}

// A flight that starts just before the clock turns negative (2^31 ms) or wraps to 0 (2^32 ms) goes on at
// its pace instead of jumping to the target.
TEST_F(Effects, MissilesFlyAcrossTheClockWrap) {
    int32_t Layer = GetViewLayer();
    for (int32_t Start : {INT32_MAX - 74, -75}) {
        ClearMap();
        SetClock(Start);
        AddMissileEffect(8, 6, Layer, 11, 6, Layer, 1); // 96 pixels in 150 ms
        SetClock(TimeAfter(Start, 75));
        MoveMissiles();
        EXPECT_EQ(GetEffect(0).OffsetX, -48) << Start;
        SetClock(TimeAfter(Start, 150));
        MoveMissiles();
        EXPECT_EQ(Ids({GetEffectStatus(0), GetEffect(0).OffsetX}), Ids({EFFECT_MISSILE, 0})) << Start;
        SetClock(TimeAfter(Start, 151));
        MoveMissiles();
        EXPECT_EQ(GetEffectStatus(0), EFFECT_FREE) << Start;
    }
}

TEST(AmbientLight, CubeColoursAndFading) {
    const int32_t Colours[][4] = {{215, 255, 255, 255}, {36, 51, 0, 0},       {6, 0, 51, 0},
                                  {1, 0, 0, 51},        {255, 255, 255, 255}, {-3, 0, 0, 0}};
    for (const auto& Colour : Colours) {
        TRGBColor Cube = TRGBColor(Colour[0]);
        EXPECT_EQ(Ids({Cube.Red, Cube.Green, Cube.Blue}), Ids({Colour[1], Colour[2], Colour[3]}))
            << Colour[0];
    }
    SetAmbientLight(-1, 0);
    SetAmbientLight(40, 215);
    SetAmbientLight(50, 0);
    TRGBColor Shown;
    GetAmbientLightColor(Shown);
    EXPECT_EQ(Ids({GetAmbientBrightness(), Shown.Red}), Ids({40, 255}));
    FadeAmbientLight();
    GetAmbientLightColor(Shown);
    EXPECT_EQ(Ids({GetAmbientBrightness(), Shown.Red, Shown.Green, Shown.Blue}), Ids({41, 254, 254, 254}));
}

// Until the server's first light after entering the game the target is -1; the shown light must stay
// usable for the map view meanwhile, also when the game is entered twice without a light.
TEST(AmbientLight, NoFadeBeforeTheFirstLight) {
    SetAmbientLight(-1, 0);
    SetAmbientLight(0, 0);
    SetAmbientLight(-1, 0);
    for (int i = 0; i < 3; i++)
        FadeAmbientLight();
    EXPECT_EQ(GetAmbientBrightness(), 0);
    SetAmbientLight(-1, 0);
    EXPECT_EQ(GetAmbientBrightness(), 0);
    SetAmbientLight(7, 1);
    EXPECT_EQ(GetAmbientBrightness(), 7);
}
