// The Direct3D 9 engine: its quad device, the textures of the 22 surfaces, video modes, the lost device and
// presentation.
#include "graphics/surfaceDX9.h"

#include "foundation/Exception.h"
#include "graphics/SurfaceCommon.h"
#include "platform/Window.h"
#include "state/Preferences.h"

#include <algorithm>

namespace {

constexpr int32_t DX9_PAGE_SIZE = 512;
constexpr uint32_t PRIMARY_FILL = 0xFFFF0000u;
constexpr uint32_t OPAQUE_BLACK = 0xFF000000u;

std::unique_ptr<TSurface> CreateDirect3D9() { return std::make_unique<TSurfaceDX9>(); }
bool ProbeDirect3D9(TWindow*) { return TQuadDevice::isAvailable(); }

// The back buffer covers the screen; where the window system reports no screen size, the window's client
// area.
void BackBufferSize(TWindow* Window, int32_t& Width, int32_t& Height) {
    int32_t ScreenWidth = 0, ScreenHeight = 0, ClientWidth = 0, ClientHeight = 0;
    GetScreenSize(ScreenWidth, ScreenHeight);
    Window->getClientSize(ClientWidth, ClientHeight);
    Width = std::max({ScreenWidth, ClientWidth, 1});
    Height = std::max({ScreenHeight, ClientHeight, 1});
}

} // namespace

TEngineBackEnd Direct3D9BackEnd() { return {CreateDirect3D9, ProbeDirect3D9}; }

TSurfaceDX9::TSurfaceDX9()
    : TDisplayEngine("In(Surface,0,NUMBER_OF_SURFACES_DX9-1) [bug0000290]",
                     "In(Surface,0,NUMBER_OF_SURFACES_DX9-1)") {}

// Textures go before the device that made them.
TSurfaceDX9::~TSurfaceDX9() {
    for (std::unique_ptr<TQuadTexture>& T : Texture)
        T.reset();
    StagingTexture.reset();
    LightTexture.reset();
    PageTexture.reset();
    Device.reset();
}

void TSurfaceDX9::InitSurfaces() {
    ReleaseSurfaces();
    for (uint32_t& Key : KeyColor)
        Key = 0;
    CurrentTexture = 0;
    CurrentTarget = -1;
    initDisplay(DX9_PAGE_SIZE);
}

// A device on the window answers; it goes again at once. Failure is an answer, never an exception.
bool TSurfaceDX9::TestEngine() {
    try {
        TSurface::TestEngine();
        if (Window == nullptr || !TQuadDevice::isAvailable()) return false;
        int32_t Width = 0, Height = 0;
        BackBufferSize(Window, Width, Height);
        std::unique_ptr<TQuadDevice> Probe;
        // A software rasterizer is no hardware device: the probe does not offer it.
        return TQuadDevice::create(Window, false, Width, Height, Probe) == PLATFORM_OK && Probe->isHardware();
    } catch (...) {
        return false;
    }
}

void TSurfaceDX9::SetVideoMode(int32_t VMode, const TDisplayMode* GMode) {
    checkVideoMode(VMode, GMode);
    if (VMode == WINDOWED_MODE) {
        TakeClientRectangle(*Window, Rect, WindowRect);
    } else {
        std::unique_ptr<TDisplayMode[]> Modes;
        const int32_t Count = GetDisplayModes(Modes);
        Asked = FullScreen = *GMode;
        if (const TDisplayMode* Match = SubstituteFullScreenMode(GMode, Modes.get(), Count)) {
            Asked = *GMode;
            FullScreen = {Match->Width, Match->Height, Match->Depth, GMode->Refresh};
        }
        // Without any listed mode the request stands, raised to what the surfaces need.
        FullScreen.Width = std::max(FullScreen.Width, 640);
        FullScreen.Height = std::max(FullScreen.Height, 480);
        FullScreen.Depth = std::max(FullScreen.Depth, 16);
        Rect[PRIMARY_SURFACE] = Rect[SCREEN_SURFACE] =
            WindowRect = {0, 0, FullScreen.Width, FullScreen.Height};
    }
    ViewMode = VMode;
}

void TSurfaceDX9::createTexture(int32_t Surface, int32_t Width, int32_t Height, bool Target, int32_t Error) {
    if (Device->createTexture(Width, Height, Target, FILTER_LINEAR, Texture[Surface]) != PLATFORM_OK)
        throw PROGRAM_ERROR(Error);
    SurfaceMemory[Surface] = MEMORY_VIDEO;
    // A new texture's content is undefined: render targets start opaque black, as a cleared back buffer.
    if (Target)
        Device->colorFill(*Texture[Surface], {0, 0, Width, Height},
                          Surface == PRIMARY_SURFACE ? PRIMARY_FILL : OPAQUE_BLACK);
}

void TSurfaceDX9::createPages() {
    const TPageTexture Layout = PageTextureLayout(DX9_PAGE_SIZE);
    if (Device->createTexture(Layout.Width, Layout.Height, false, FILTER_LINEAR, PageTexture) != PLATFORM_OK)
        throw PROGRAM_ERROR(18);
    const TPixelRect& White = Layout.White;
    const std::vector<uint32_t> Texels(static_cast<size_t>(White.width()) * White.height(), 0xFFFFFFFFu);
    Device->update(*PageTexture, White, Texels.data(), White.width() * 4);
    WhiteU = (White.Left + White.width() / 2.0f) / Layout.Width;
    WhiteV = (White.Top + White.height() / 2.0f) / Layout.Height;
    for (int32_t Page = 0; Page < MAXIMUM_PAGES; Page++) {
        SurfaceMemory[SPRITE_SURFACE + Page] = MEMORY_VIDEO;
        NumberOfPages++;
    }
}

void TSurfaceDX9::CreateSurfaces() {
    checkNothingMade(Device != nullptr, "Surface9", [](const TDisplayEngine& E, int32_t S) {
        return static_cast<const TSurfaceDX9&>(E).texture(S) != nullptr;
    });

    TDisplayModeInfo Display;
    if (DirectDraw->getDisplayMode(Display) != PLATFORM_OK || Display.BitsPerPixel < 16)
        throw PROGRAM_ERROR(8);
    if (!TQuadDevice::isAvailable()) throw PROGRAM_ERROR(12);
    const bool Full = ViewMode == FULLSCREEN_MODE;
    int32_t Width = FullScreen.Width, Height = FullScreen.Height;
    if (!Full) BackBufferSize(Window, Width, Height);
    if (TQuadDevice::create(Window, Full, Width, Height, Device) != PLATFORM_OK) throw PROGRAM_ERROR(12);
    // The back buffer keeps its content across presentations, as the copy swap effect does.
    createTexture(SCREEN_SURFACE, Width, Height, true, 12);

    QuadBatch.clear();
    QuadBatch.reserve(QUAD_BATCH_VERTICES);
    LightQuadBatch.clear();
    LightQuadBatch.reserve(QUAD_BATCH_VERTICES);
    // A new device draws into its back buffer with no texture: the indices start again with it.
    CurrentTexture = 0;
    CurrentTarget = -1;
    FlushCount = 0;

    createTexture(PRIMARY_SURFACE, TEMP_WIDTH, TEMP_HEIGHT, true, 14);
    if (Device->createTexture(AUTOMAP_SIZE, AUTOMAP_SIZE, false, FILTER_POINT, StagingTexture) != PLATFORM_OK)
        throw PROGRAM_ERROR(14);
    createTexture(TEMP_SURFACE, TEMP_WIDTH, TEMP_HEIGHT, true, 14);
    createTexture(STRETCH_SURFACE, KEPT_STRETCH_PAGE, KEPT_STRETCH_PAGE, true, 15);
    createTexture(CACHE_SURFACE, CACHE_WIDTH, CACHE_HEIGHT, true, 16);
    createTexture(AUTOMAP_SURFACE, AUTOMAP_SIZE, AUTOMAP_SIZE, true, 17);
    createPages();
    Lost = false;
    Renewed = true;
}

void TSurfaceDX9::ReleaseSurfaces() {
    if (DirectDraw == nullptr) return;
    QuadBatch.clear();
    LightQuadBatch.clear();
    StagingTexture.reset();
    LightTexture.reset();
    PageTexture.reset();
    for (int32_t i = 0; i < NUMBER_OF_SURFACES_DX9; i++) {
        Texture[i].reset();
        SurfaceMemory[i] = MEMORY_NONE;
    }
    NumberOfPages = 0;
    Device.reset();
    ViewMode = 0;
}

// A device that may be reset is reset, and the engine starts afresh: the next ChangeVideoMode finds ViewMode
// 0 and makes everything again, while the lost flag keeps the frame from being drawn until then.
void TSurfaceDX9::RestoreSurfaces(int32_t, const TDisplayMode*) {
    if (Device == nullptr || Device->testCooperativeLevel() != DEVICE_NOT_RESET) {
        Lost = false;
        return;
    }
    Lost = true;
    Device->reset();
    ReleaseSurfaces();
    InitSurfaces();
    Lost = true;
}

void TSurfaceDX9::Present() {
    if (ViewMode == 0 || Device == nullptr) return;
    WaitFrame();
    FlushQuads();
    const TPixelRect& Screen = Rect[SCREEN_SURFACE];
    if (Screen.width() > 0 && Screen.height() > 0) Device->present(*Texture[SCREEN_SURFACE], Screen);
}

void TSurfaceDX9::SetViewport(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height) {
    CHECK_TEXT(In(Surface, 0, NUMBER_OF_SURFACES_DX9 - 1), "In(Surface,0,NUMBER_OF_SURFACES_DX9-1)", Surface);
    if (Surface != PRIMARY_SURFACE) Rect[Surface] = {x, y, x + Width, y + Height};
}

bool TSurfaceDX9::SupportsLightEffects() { return Device != nullptr; }

bool TSurfaceDX9::readPixels(int32_t Surface, TPixelRect Area, uint32_t* Out) {
    TQuadTexture* Source = texture(Surface);
    if (Source == nullptr) return false;
    FlushQuads();
    const int32_t x = originX(Surface), y = originY(Surface);
    return Device->read(*Source, {Area.Left + x, Area.Top + y, Area.Right + x, Area.Bottom + y}, Out,
                        Area.width() * 4) == PLATFORM_OK;
}

int32_t TSurfaceDX9::originX(int32_t Surface) const {
    return Surface >= SPRITE_SURFACE ? PageX(Surface - SPRITE_SURFACE, DX9_PAGE_SIZE) : 0;
}

int32_t TSurfaceDX9::originY(int32_t Surface) const {
    return Surface >= SPRITE_SURFACE ? PageY(Surface - SPRITE_SURFACE, DX9_PAGE_SIZE) : 0;
}
