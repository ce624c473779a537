// The engine module: choice of engine at start-up, the engine object's life, frame pacing and clipping.
#include "graphics/Engine.h"

#include "foundation/Exception.h"
#include "foundation/sysinc.h"
#include "graphics/SurfaceDX.h"
#include "state/Preferences.h"
#include "tests/graphics/GraphicsTest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A back end that only records that it was made and what its test answers.
struct TFakeEngine : TSurfaceDX {
    static inline bool Answer = true;
    static inline int32_t Made = 0;
    TFakeEngine() { Made++; }
    bool TestEngine() override {
        TSurface::TestEngine();
        return Answer;
    }
};

std::unique_ptr<TSurface> MakeFake() { return std::make_unique<TFakeEngine>(); }
bool Yes(TWindow*) { return true; }
bool No(TWindow*) { return false; }

class EngineChoice : public ::testing::Test {
protected:
    void SetUp() override {
        ResetEngineModule();
        ResetOptions();
        TFakeEngine::Answer = true;
        TFakeEngine::Made = 0;
    }
    void TearDown() override { ResetEngineModule(); }

    // Direct3D 9 and OpenGL back ends whose probes answer as given.
    void offer(bool Direct3D9Loads, bool OpenGLUsable) {
        SetEngineBackEnd(ENGINE_DIRECT3D9, {MakeFake, Direct3D9Loads ? Yes : No});
        SetEngineBackEnd(ENGINE_OPENGL, {MakeFake, OpenGLUsable ? Yes : No});
    }
};

} // namespace

TEST_F(EngineChoice, CommandLineTakesABuiltEngineWithoutProbing) {
    offer(false, false);
    SetEngine(0);
    StartGraphicEngine(nullptr, ENGINE_OPENGL);
    EXPECT_EQ(GetGraphicEngine(), ENGINE_OPENGL);
    EXPECT_EQ(GetEngine(), ENGINE_OPENGL);
    EXPECT_EQ(GetEngineCapabilities(), 0);
    EXPECT_EQ(TFakeEngine::Made, 0);
}

TEST_F(EngineChoice, UndecidedPrefersDirect3D9ThenOpenGLThenDirectDraw) {
    offer(true, true);
    StartGraphicEngine(nullptr, -1);
    EXPECT_EQ(GetGraphicEngine(), ENGINE_DIRECT3D9);
    EXPECT_EQ(GetEngineCapabilities(), 3);
    EXPECT_EQ(TFakeEngine::Made, 1); // the probe's object, destroyed again
    EXPECT_EQ(GetEngine(), ENGINE_DIRECT3D9);

    SetUp();
    offer(false, true);
    StartGraphicEngine(nullptr, -1);
    EXPECT_EQ(GetGraphicEngine(), ENGINE_OPENGL);

    SetUp();
    StartGraphicEngine(nullptr, -1); // neither engine built
    EXPECT_EQ(GetGraphicEngine(), ENGINE_DIRECTDRAW);
    EXPECT_EQ(GetEngine(), ENGINE_DIRECTDRAW);
}

TEST_F(EngineChoice, StoredChoiceFallsBackWhileItsEngineIsUnusable) {
    offer(true, true);
    TFakeEngine::Answer = false; // Direct3D 9 loads but its device fails
    SetEngine(ENGINE_DIRECT3D9);
    StartGraphicEngine(nullptr, -1);
    EXPECT_EQ(GetGraphicEngine(), ENGINE_OPENGL);
    EXPECT_EQ(GetEngine(), ENGINE_OPENGL);
    EXPECT_EQ(GetEngineCapabilities(), CAPABILITY_OPENGL);

    SetUp();
    offer(false, false); // OpenGL only in software
    SetEngine(ENGINE_OPENGL);
    StartGraphicEngine(nullptr, -1);
    EXPECT_EQ(GetGraphicEngine(), ENGINE_DIRECTDRAW);
    EXPECT_EQ(GetEngine(), ENGINE_DIRECTDRAW);

    SetUp();
    offer(true, true);
    SetEngine(ENGINE_DIRECTDRAW);
    StartGraphicEngine(nullptr, -1);
    EXPECT_EQ(GetGraphicEngine(), ENGINE_DIRECTDRAW);
    EXPECT_EQ(GetEngineCapabilities(), 3);
}

TEST_F(EngineChoice, NumberNeverStaysUnsetAndNoCallDrawsThroughNothing) {
    SetEngine(7);
    StartGraphicEngine(nullptr, 1); // OpenGL is not built here
    EXPECT_EQ(GetGraphicEngine(), ENGINE_DIRECTDRAW);
    TSurface* First = GetSurface();
    ASSERT_NE(dynamic_cast<TSurfaceDX*>(First), nullptr);
    EXPECT_EQ(GetSurface(), First);
    SurfaceExitInstance();
    EXPECT_NE(GetSurface(), nullptr);

    SurfaceExitInstance();
    offer(false, false);
    StartGraphicEngine(nullptr, ENGINE_OPENGL);
    SetEngineBackEnd(ENGINE_OPENGL, {}); // its back end goes away while its number is current
    EXPECT_THROW(GetSurface(), TMyException);
}

TEST_F(EngineChoice, ProbeFailureIsAVideoError) {
    SetEngineBackEnd(ENGINE_DIRECT3D9, {[]() -> std::unique_ptr<TSurface> { throw 1; }, Yes});
    EXPECT_EQ(ProgramErrorOf([] { StartGraphicEngine(nullptr, -1); }), 12);
}

namespace {

uint32_t FakeClock = 0;
uint32_t Clock() { return FakeClock; }
std::vector<uint32_t> Waits;
void RecordWait(uint32_t Milliseconds) {
    Waits.push_back(Milliseconds);
    FakeClock += Milliseconds;
}

class FramePacing : public ::testing::Test {
protected:
    void SetUp() override {
        FakeClock = 1000;
        Waits.clear();
        SetMillisecondTimer(Clock);
        SetFrameWait(RecordWait);
    }
    void TearDown() override {
        SetMillisecondTimer(nullptr);
        SetFrameWait(nullptr);
    }
    TSurfaceDX Engine;
};

} // namespace

TEST_F(FramePacing, SleepsToTheScheduleAndMeasuresOncePerSecond) {
    Engine.ResetFrameClock();
    EXPECT_EQ(Engine.SetFrameRate(9), 9); // below 10 and above 200: no limit
    EXPECT_NEAR(Engine.getFramePeriod(), 1000.0 / 65535, 1e-9);
    Engine.SetFrameRate(201);
    EXPECT_NEAR(Engine.getFramePeriod(), 1000.0 / 65535, 1e-9);
    Engine.SetFrameRate(200);
    EXPECT_EQ(Engine.getFramePeriod(), 5.0);
    Engine.SetFrameRate(50);
    for (int i = 0; i < 60; i++) {
        FakeClock += 3; // drawing takes 3 ms
        Engine.WaitFrame();
    }
    ASSERT_EQ(Waits.size(), 60u);
    EXPECT_EQ(Waits[1], 17u);
    EXPECT_NEAR(Engine.GetFramesPerSecond(), 50.0, 1.0);

    // A slow frame does not buy several quick ones afterwards.
    Waits.clear();
    FakeClock += 500;
    Engine.WaitFrame();
    FakeClock += 3;
    Engine.WaitFrame();
    ASSERT_EQ(Waits.size(), 1u);
    EXPECT_EQ(Waits[0], 16u);
}

TEST_F(FramePacing, SurvivesTheWrapOfTheMillisecondClock) {
    FakeClock = 0xFFFFFF00u;
    Engine.ResetFrameClock();
    Engine.SetFrameRate(100);
    for (int i = 0; i < 150; i++) {
        FakeClock += 2;
        Engine.WaitFrame();
    }
    for (uint32_t Wait : Waits)
        EXPECT_LE(Wait, 10u);
    EXPECT_NEAR(Engine.GetFramesPerSecond(), 100.0, 2.0);
}

TEST(ClipRectangle, CutsAndReportsTheAmounts) {
    int32_t Touching[4] = {110, 0, 120, 10}, Adjust[4] = {};
    EXPECT_FALSE(TSurface::ClipRectangle(10, 0, 100, 100, Touching, Adjust)); // left == clip right
    int32_t R[4] = {5, -3, 130, 50};
    EXPECT_TRUE(TSurface::ClipRectangle(10, 0, 100, 40, R, Adjust));
    EXPECT_EQ(R[0], 10);
    EXPECT_EQ(R[1], 0);
    EXPECT_EQ(R[2], 110);
    EXPECT_EQ(R[3], 40);
    EXPECT_EQ(Adjust[0], 5);
    EXPECT_EQ(Adjust[1], 3);
    EXPECT_EQ(Adjust[2], -20);
    EXPECT_EQ(Adjust[3], -10);
}
