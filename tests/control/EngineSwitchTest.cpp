// The controller's engine switch on the software engine: the engine in use again, and engines that cannot
// run here.
#include "control/Control.h"
#include "graphics/Engine.h"
#include "graphics/SurfaceDX.h"
#include "platform/Window.h"
#include "state/Preferences.h"

#include <gtest/gtest.h>

namespace {

// A Direct3D 9 stand-in whose test fails, as on a machine without it.
class TFailingEngine : public TSurfaceDX {
public:
    bool TestEngine() override { return false; }
};

} // namespace

TEST(EngineSwitch, OnlyAnEngineThatPassesItsTestReplacesTheOneInUse) {
    ResetOptions();
    ResetEngineModule();
    std::unique_ptr<TWindow> Window = TWindow::create("engine", 320, 240, false);
    ASSERT_NE(Window, nullptr);
    StartGraphicEngine(Window.get(), ENGINE_DIRECTDRAW);
    GetSurface()->InitSurfaces();
    TSurface* InUse = GetSurface();

    ChangeEngine(ENGINE_DIRECTDRAW);
    EXPECT_EQ(GetSurface(), InUse);

    // OpenGL is not in this build: it counts as failing its test.
    ChangeEngine(ENGINE_OPENGL);
    EXPECT_EQ(GetGraphicEngine(), ENGINE_DIRECTDRAW);
    EXPECT_EQ(GetEngine(), ENGINE_DIRECTDRAW);

    TEngineBackEnd Failing;
    Failing.Create = []() -> std::unique_ptr<TSurface> { return std::make_unique<TFailingEngine>(); };
    Failing.Probe = [](TWindow*) { return true; };
    SetEngineBackEnd(ENGINE_DIRECT3D9, Failing);
    ChangeEngine(ENGINE_DIRECT3D9);
    EXPECT_EQ(GetGraphicEngine(), ENGINE_DIRECTDRAW);
    EXPECT_EQ(GetEngine(), ENGINE_DIRECTDRAW);
    EXPECT_EQ(dynamic_cast<TFailingEngine*>(GetSurface()), nullptr);

    GetSurface()->ExitSurfaces();
    ResetEngineModule();
}
