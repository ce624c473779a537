// The DirectDraw engine: its display device, the 22 surfaces, video modes, lost surfaces and presentation.
#include "graphics/SurfaceDX.h"

#include "foundation/Exception.h"
#include "graphics/Engine.h"
#include "graphics/SurfaceCommon.h"
#include "platform/Window.h"
#include "state/Preferences.h"

#include <algorithm>

namespace {

constexpr int32_t DX_PAGE_SIZE = 320;
constexpr int32_t REQUIRED_PAGES = 8; // pages beyond these are made only in video memory

} // namespace

TSurfaceDX::TSurfaceDX()
    : TDisplayEngine("In(Surface,0,NUMBER_OF_SURFACES-1) [bug0000290]",
                     "In(Surface,0,NUMBER_OF_SURFACES-1)") {}

TSurfaceDX::~TSurfaceDX() = default;

TPixelSurface* TSurfaceDX::surface(int32_t Surface) const {
    CHECK_TEXT(In(Surface, 0, NUMBER_OF_SURFACES - 1), "In(Surface,0,NUMBER_OF_SURFACES-1)", Surface);
    return Surfaces[Surface].get();
}

void TSurfaceDX::InitSurfaces() {
    Light.reset();
    Direct3D = false;
    for (std::shared_ptr<TPixelSurface>& S : Surfaces)
        S.reset();
    initDisplay(DX_PAGE_SIZE);
}

bool TSurfaceDX::TestEngine() { return true; }

void TSurfaceDX::WindowMoved() {
    TDisplayEngine::WindowMoved();
    if (ViewMode != WINDOWED_MODE || Window == nullptr) return;
    // A window of another size has other pixels; where it no longer offers them, an off-screen surface of the
    // screen's size takes over.
    if (!WindowPixels || DirectDraw->isWindowSurface(*Surfaces[SCREEN_SURFACE])) return;
    Surfaces[SCREEN_SURFACE].reset();
    if (drawIntoWindow()) return;
    int32_t ScreenWidth = 0, ScreenHeight = 0;
    GetScreenSize(ScreenWidth, ScreenHeight);
    createOffscreenSurface(SCREEN_SURFACE, std::max(ScreenWidth, Rect[SCREEN_SURFACE].Right),
                           std::max(ScreenHeight, Rect[SCREEN_SURFACE].Bottom), false);
}

// In a window, SCREEN_SURFACE is the window's own pixels where the window allows, so that presenting a frame
// copies nothing; false leaves SCREEN_SURFACE as it is.
bool TSurfaceDX::drawIntoWindow() {
    std::shared_ptr<TPixelSurface> Pixels;
    WindowPixels = DirectDraw->createWindowSurface(Pixels) == PLATFORM_OK;
    if (WindowPixels) Surfaces[SCREEN_SURFACE] = std::move(Pixels);
    return WindowPixels;
}

void TSurfaceDX::AttachClipper() {
    CHECK_TEXT(DirectDraw != nullptr, "DirectDraw!=NULL");
    CHECK_TEXT(Window != nullptr, "hWindow!=NULL");
    CHECK_TEXT(Surfaces[PRIMARY_SURFACE] != nullptr, "Surface[PRIMARY_SURFACE]!=NULL");
    // The display device keeps every presentation inside the window's client area; nothing to attach.
}

void TSurfaceDX::SetVideoMode(int32_t VMode, const TDisplayMode* GMode) {
    checkVideoMode(VMode, GMode);
    if (VMode == WINDOWED_MODE) {
        if (DirectDraw->setCooperativeLevel(Window, false) != PLATFORM_OK) throw PROGRAM_ERROR(10);
        TakeClientRectangle(*Window, Rect, WindowRect);
    } else {
        FullScreen = Asked = *GMode;
        if (DirectDraw->setCooperativeLevel(Window, true) != PLATFORM_OK) throw PROGRAM_ERROR(10);
        if (DirectDraw->setDisplayMode(GMode->Width, GMode->Height, GMode->Depth) != PLATFORM_OK)
            throw PROGRAM_ERROR(11);
        Rect[PRIMARY_SURFACE] = Rect[SCREEN_SURFACE] = WindowRect = {0, 0, GMode->Width, GMode->Height};
    }
    ViewMode = VMode;
}

bool TSurfaceDX::createOffscreenSurface(int32_t Index, int32_t Width, int32_t Height, bool VideoOnly,
                                        uint32_t Caps) {
    if (DirectDraw->createSurface(Width, Height, Caps | SURFACE_VIDEO_MEMORY, Surfaces[Index]) ==
        PLATFORM_OK) {
        SurfaceMemory[Index] = MEMORY_VIDEO;
        return true;
    }
    if (VideoOnly || DirectDraw->createSurface(Width, Height, Caps, Surfaces[Index]) != PLATFORM_OK)
        return false;
    SurfaceMemory[Index] = MEMORY_SYSTEM;
    return true;
}

void TSurfaceDX::CreateSurfaces() {
    checkNothingMade(Direct3D, "Surface", [](const TDisplayEngine& E, int32_t S) {
        return static_cast<const TSurfaceDX&>(E).Surfaces[S] != nullptr;
    });

    TDisplayModeInfo Display;
    if (DirectDraw->getDisplayMode(Display) != PLATFORM_OK || Display.BitsPerPixel < 16)
        throw PROGRAM_ERROR(8);

    if (ViewMode == WINDOWED_MODE) {
        if (DirectDraw->createSurface(0, 0, SURFACE_PRIMARY, Surfaces[PRIMARY_SURFACE]) != PLATFORM_OK)
            throw PROGRAM_ERROR(12);
        AttachClipper();
        SurfaceMemory[PRIMARY_SURFACE] = MEMORY_VIDEO;
        int32_t ScreenWidth = Display.Width, ScreenHeight = Display.Height;
        GetScreenSize(ScreenWidth, ScreenHeight);
        if (!createOffscreenSurface(SCREEN_SURFACE, ScreenWidth, ScreenHeight, false))
            throw PROGRAM_ERROR(13);
    } else {
        if (DirectDraw->createSurface(0, 0, SURFACE_PRIMARY | SURFACE_FLIP, Surfaces[PRIMARY_SURFACE]) !=
            PLATFORM_OK)
            throw PROGRAM_ERROR(12);
        SurfaceMemory[PRIMARY_SURFACE] = MEMORY_VIDEO;
        Surfaces[SCREEN_SURFACE] = DirectDraw->getBackBuffer();
        if (Surfaces[SCREEN_SURFACE] == nullptr) throw PROGRAM_ERROR(13);
        SurfaceMemory[SCREEN_SURFACE] = MEMORY_VIDEO;
    }

    createLightPart();
    if (!Direct3D && !createOffscreenSurface(TEMP_SURFACE, TEMP_WIDTH, TEMP_HEIGHT, false))
        throw PROGRAM_ERROR(14);
    if (!createOffscreenSurface(STRETCH_SURFACE, KEPT_STRETCH_PAGE, KEPT_STRETCH_PAGE, false))
        throw PROGRAM_ERROR(15);
    if (!createOffscreenSurface(CACHE_SURFACE, CACHE_WIDTH, CACHE_HEIGHT, false)) throw PROGRAM_ERROR(16);
    if (!createOffscreenSurface(AUTOMAP_SURFACE, AUTOMAP_SIZE, AUTOMAP_SIZE, false)) throw PROGRAM_ERROR(17);
    for (int32_t Page = 0; Page < MAXIMUM_PAGES; Page++) {
        const bool Required = Page < REQUIRED_PAGES;
        if (!createOffscreenSurface(SPRITE_SURFACE + Page, GetPageWidth(), GetPageHeight(), !Required)) {
            if (Required) throw PROGRAM_ERROR(18);
            break;
        }
        NumberOfPages++;
    }
    // Only now, so that the surfaces share the video memory as they would beside an off-screen
    // SCREEN_SURFACE.
    if (ViewMode == WINDOWED_MODE) drawIntoWindow();
    Lost = false;
    Renewed = true;
}

// The light part: a renderable TEMP_SURFACE with a light device on it that passes the light test. When any
// step fails the light effect is unavailable and TEMP_SURFACE is made plain afterwards.
void TSurfaceDX::createLightPart() {
    if (!DirectDraw->hasLight()) return;
    Direct3D = createOffscreenSurface(TEMP_SURFACE, TEMP_WIDTH, TEMP_HEIGHT, false, SURFACE_RENDERABLE) &&
               DirectDraw->createLightDevice(Surfaces[TEMP_SURFACE], Light) == PLATFORM_OK;
    if (Direct3D && testLightEffects()) return;
    Direct3D = false;
    Light.reset();
    Surfaces[TEMP_SURFACE].reset();
    SurfaceMemory[TEMP_SURFACE] = MEMORY_NONE;
}

bool TSurfaceDX::testLightEffects() {
    FillRectangle(TEMP_SURFACE, 0, 0, 32, 32, 255, 255, 255);
    const int32_t Black[12] = {};
    drawShadedQuad(0, 0, 32, 32, Black);
    TLockedPixels Locked;
    if (Surfaces[TEMP_SURFACE]->lock(Locked) != PLATFORM_OK) return false;
    const int32_t Bpp = Surfaces[TEMP_SURFACE]->getFormat().BytesPerPixel;
    bool Dark = Surfaces[TEMP_SURFACE]->getFormat().BitsPerPixel >= 16;
    const uint8_t* Pixel = Locked.Pixels + 16 * Locked.Pitch + 16 * Bpp;
    for (int32_t i = 0; i < Bpp; i++)
        Dark = Dark && Pixel[i] == 0;
    Surfaces[TEMP_SURFACE]->unlock();
    return Dark;
}

void TSurfaceDX::ReleaseSurfaces() {
    if (DirectDraw == nullptr) return;
    if (ViewMode == FULLSCREEN_MODE && Window != nullptr) DirectDraw->setCooperativeLevel(Window, false);
    Surfaces[SCREEN_SURFACE].reset();
    SurfaceMemory[SCREEN_SURFACE] = MEMORY_NONE;
    WindowPixels = false;
    for (int32_t i = 0; i < NUMBER_OF_SURFACES; i++) {
        Surfaces[i].reset();
        SurfaceMemory[i] = MEMORY_NONE;
    }
    NumberOfPages = 0;
    Light.reset();
    Direct3D = false;
    ViewMode = 0;
}

void TSurfaceDX::RestoreSurfaces(int32_t VMode, const TDisplayMode* GMode) {
    CHECK_TEXT(DirectDraw != nullptr, "DirectDraw!=NULL");
    if (DirectDraw->testCooperativeLevel() == PLATFORM_EXCLUSIVE_ELSEWHERE) {
        Lost = true;
        return;
    }
    Lost = false;
    for (const std::shared_ptr<TPixelSurface>& S : Surfaces)
        if (S != nullptr && S->isLost()) {
            ReleaseSurfaces();
            InitVideo(VMode, GMode);
            return;
        }
}

void TSurfaceDX::Present() {
    if (ViewMode == 0) return;
    WaitFrame();
    const TPixelSurface* Screen = Surfaces[SCREEN_SURFACE].get();
    if (Screen == nullptr) return;
    // A failed presentation only loses this frame; a lost surface is mended by the next frame's restore.
    if (ViewMode == WINDOWED_MODE)
        DirectDraw->present(*Screen, Rect[SCREEN_SURFACE]);
    else
        DirectDraw->present(*Screen, {0, 0, Screen->getWidth(), Screen->getHeight()});
}

bool TSurfaceDX::SupportsLightEffects() { return Direct3D; }
