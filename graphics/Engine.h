// The engine module: the current engine number and object, the choice of engine at start-up, the back ends
// this build offers, the texture page size and the frame wait.
#pragma once

#include "graphics/Surface.h"

#include <cstdint>
#include <memory>

// Bits of the capability byte found at start-up.
inline constexpr uint8_t CAPABILITY_OPENGL = 1;
inline constexpr uint8_t CAPABILITY_DIRECT3D9 = 2;

// A back end besides DirectDraw, filled in by the engines that the build offers. Without Create the engine is
// not built: its probe answers "not available" and GetSurface never makes it.
struct TEngineBackEnd {
    std::unique_ptr<TSurface> (*Create)() = nullptr;
    // Whether the engine can run here: Direct3D 9, the library loads (its TestEngine is asked afterwards);
    // OpenGL, the window offers a hardware pixel format with the required extensions.
    bool (*Probe)(TWindow* Window) = nullptr;
};
void SetEngineBackEnd(int32_t Engine, const TEngineBackEnd& BackEnd);
// Offers every back end of this build to the engine choice; the program's start-up calls it once, before
// StartGraphicEngine.
void RegisterEngineBackEnds();

int32_t GetGraphicEngine();
// The controller's engine switch sets the number before the new object is made.
void SetGraphicEngine(int32_t Engine);
// Whether this build has the engine (DirectDraw always).
bool IsEngineBuilt(int32_t Engine);
uint8_t GetEngineCapabilities();
TWindow* GetWindowHandle();

// The engine's tag in the frame-rate text: "DX5", "OGL", "DX9", or "<?>" for any other number.
const char* GetEngineTag(int32_t Engine);

// Set by the frame window when the display changed in windowed mode; the OpenGL engine reads and clears it.
bool GetDisplayChanged();
void SetDisplayChanged(bool Changed);

// The engine object, made on first use for the current engine number. Throws when the number names no engine
// of this build, so that no caller ever draws through nothing.
TSurface* GetSurface();
// Destroys the engine object; the next GetSurface makes one for the then current number.
void SurfaceExitInstance();

// Chooses the engine once at start-up: CommandLineEngine 0 to 2 (the "engine" word; -1 none) is taken without
// a probe when this build has it; otherwise the stored option, the probes of Direct3D 9 and OpenGL and
// DirectDraw as the fallback. The choice is stored in the options and is always 0, 1 or 2 afterwards.
void StartGraphicEngine(TWindow* Window, int32_t CommandLineEngine);

// Size of one texture page in pixels; 256 x 256 until an engine sets its own.
int32_t GetPageWidth();
int32_t GetPageHeight();
void SetPageSize(int32_t Width, int32_t Height);

// How frame pacing waits. The loop that owns the sockets puts its own wait (poll with a time-out) here;
// nullptr restores plain sleeping.
using TFrameWait = void (*)(uint32_t Milliseconds);
void SetFrameWait(TFrameWait Wait);
void WaitMilliseconds(uint32_t Milliseconds);

// Back to the state of program start (tests): no engine object, engine number 0, no capabilities, no window,
// no extra back ends, page size 256 x 256, plain sleeping, no display change.
void ResetEngineModule();
