// The engine module: the current engine number and object, the choice of engine at start-up, the back ends
// this build offers, the texture page size and the frame wait.
#include "graphics/Engine.h"

#include "foundation/Exception.h"
#include "graphics/SurfaceDX.h"
#include "graphics/SurfaceGL.h"
#include "graphics/surfaceDX9.h"
#include "state/Preferences.h"

#include <chrono>
#include <thread>

namespace {

void Sleep(uint32_t Milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds)); }

// Module state, set at start-up and kept for the run (engine switches change the number and the object).
struct {
    TWindow* WindowHandle = nullptr;
    int32_t GraphicEngine = ENGINE_DIRECTDRAW;
    uint8_t EngineCapabilities = 0;
    std::unique_ptr<TSurface> Engine;
    // The back ends of this build, put in place by RegisterEngineBackEnds; ResetEngineModule takes them away.
    TEngineBackEnd BackEnds[3] = {};
    int32_t PageWidth = 256, PageHeight = 256;
    TFrameWait Wait = Sleep;
    bool DisplayChanged = false;
} Module;

std::unique_ptr<TSurface> CreateDirectDraw() { return std::make_unique<TSurfaceDX>(); }

bool IsBuilt(int32_t Engine) {
    return Engine == ENGINE_DIRECTDRAW || (In(Engine, 1, 2) && Module.BackEnds[Engine].Create != nullptr);
}

bool Probe(int32_t Engine, TWindow* Window) {
    const TEngineBackEnd& BackEnd = Module.BackEnds[Engine];
    return BackEnd.Create != nullptr && BackEnd.Probe != nullptr && BackEnd.Probe(Window);
}

enum class TProbeResult { NotAvailable, Works, Fails };

// Direct3D 9: the library loads and a fresh engine object passes its test; the object is destroyed again and
// the engine number returns to Option. Any exception on the way is a surface allocation failure.
TProbeResult ProbeDirect3D9(int32_t Option) {
    try {
        if (!Probe(ENGINE_DIRECT3D9, Module.WindowHandle)) return TProbeResult::NotAvailable;
        Module.GraphicEngine = ENGINE_DIRECT3D9;
        const bool Works = GetSurface()->TestEngine();
        SurfaceExitInstance();
        Module.GraphicEngine = Option;
        return Works ? TProbeResult::Works : TProbeResult::Fails;
    } catch (...) {
        Module.Engine.reset();
        Module.GraphicEngine = Option;
        throw PROGRAM_ERROR(12);
    }
}

} // namespace

void SetEngineBackEnd(int32_t Engine, const TEngineBackEnd& BackEnd) {
    CHECK(Engine == ENGINE_OPENGL || Engine == ENGINE_DIRECT3D9, Engine);
    Module.BackEnds[Engine] = BackEnd;
}

void RegisterEngineBackEnds() {
    SetEngineBackEnd(ENGINE_OPENGL, OpenGLBackEnd());
    SetEngineBackEnd(ENGINE_DIRECT3D9, Direct3D9BackEnd());
}

int32_t GetGraphicEngine() { return Module.GraphicEngine; }
void SetGraphicEngine(int32_t Engine) { Module.GraphicEngine = Engine; }
bool IsEngineBuilt(int32_t Engine) { return IsBuilt(Engine); }
uint8_t GetEngineCapabilities() { return Module.EngineCapabilities; }
TWindow* GetWindowHandle() { return Module.WindowHandle; }

const char* GetEngineTag(int32_t Engine) {
    switch (Engine) {
    case ENGINE_DIRECTDRAW:
        return "DX5";
    case ENGINE_OPENGL:
        return "OGL";
    case ENGINE_DIRECT3D9:
        return "DX9";
    default:
        return "<?>";
    }
}

bool GetDisplayChanged() { return Module.DisplayChanged; }
void SetDisplayChanged(bool Changed) { Module.DisplayChanged = Changed; }

TSurface* GetSurface() {
    if (!Module.Engine) {
        const int32_t Engine = Module.GraphicEngine;
        CHECK_TEXT(IsBuilt(Engine), "engine not available", Engine);
        Module.Engine = Engine == ENGINE_DIRECTDRAW ? CreateDirectDraw() : Module.BackEnds[Engine].Create();
        CHECK_TEXT(Module.Engine != nullptr, "engine not created", Engine);
    }
    return Module.Engine.get();
}

void SurfaceExitInstance() { Module.Engine.reset(); }

void StartGraphicEngine(TWindow* Window, int32_t CommandLineEngine) {
    Module.WindowHandle = Window;
    if (In(CommandLineEngine, 0, 2) && IsBuilt(CommandLineEngine)) {
        Module.GraphicEngine = CommandLineEngine;
        SetEngine(CommandLineEngine);
        return;
    }
    const int32_t Option = GetEngine();
    Module.GraphicEngine = Option;
    bool Chosen = In(Option, 0, 2);

    const TProbeResult Direct3D9 = ProbeDirect3D9(Option);
    if (Direct3D9 == TProbeResult::Works) {
        Module.EngineCapabilities |= CAPABILITY_DIRECT3D9;
        if (!Chosen) {
            Module.GraphicEngine = ENGINE_DIRECT3D9;
            Chosen = true;
        }
    } else if (Direct3D9 == TProbeResult::Fails) {
        Chosen = false;
    }
    // Without any usable OpenGL the choice is still settled below, so that the number is never left unset.
    if (Probe(ENGINE_OPENGL, Window)) {
        Module.EngineCapabilities |= CAPABILITY_OPENGL;
        if (!Chosen) {
            Module.GraphicEngine = ENGINE_OPENGL;
            Chosen = true;
        }
    }

    int32_t Engine = Chosen ? Module.GraphicEngine : ENGINE_DIRECTDRAW;
    if (Engine == ENGINE_DIRECT3D9 && !(Module.EngineCapabilities & CAPABILITY_DIRECT3D9))
        Engine = ENGINE_OPENGL;
    if (Engine == ENGINE_OPENGL && !(Module.EngineCapabilities & CAPABILITY_OPENGL))
        Engine = ENGINE_DIRECTDRAW;
    Module.GraphicEngine = Engine;
    SetEngine(Engine);
}

int32_t GetPageWidth() { return Module.PageWidth; }
int32_t GetPageHeight() { return Module.PageHeight; }
void SetPageSize(int32_t Width, int32_t Height) {
    Module.PageWidth = Width;
    Module.PageHeight = Height;
}

void SetFrameWait(TFrameWait Wait) { Module.Wait = Wait != nullptr ? Wait : Sleep; }
void WaitMilliseconds(uint32_t Milliseconds) { Module.Wait(Milliseconds); }

void ResetEngineModule() {
    Module.Engine.reset();
    Module.WindowHandle = nullptr;
    Module.GraphicEngine = ENGINE_DIRECTDRAW;
    Module.EngineCapabilities = 0;
    for (TEngineBackEnd& BackEnd : Module.BackEnds)
        BackEnd = TEngineBackEnd();
    Module.PageWidth = Module.PageHeight = 256;
    Module.Wait = Sleep;
    Module.DisplayChanged = false;
}
