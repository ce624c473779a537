// The device of the Direct3D 9 engine over an SDL renderer: textures, fills, quad batches, read-back,
// presentation and the lost-device states.
#include "platform/QuadDevice.h"

#include "platform/Window.h"

#include <SDL.h>

#include <cstddef>
#include <cstring>

static_assert(sizeof(TQuadVertex) == sizeof(SDL_Vertex) &&
                  offsetof(TQuadVertex, Red) == offsetof(SDL_Vertex, color) &&
                  offsetof(TQuadVertex, u) == offsetof(SDL_Vertex, tex_coord),
              "a quad vertex is handed to the renderer as it is");

namespace {

// Set by tests; reset by ClearQuadDeviceFaults.
TQuadDeviceFaults Faults;

// The renderer to use: the named one, else "opengl" (whose results match the software engine exactly), else
// none; -1 means SDL's own choice among the accelerated renderers.
int32_t DriverIndex(const std::string& Name) {
    const int Count = SDL_GetNumRenderDrivers();
    for (int i = 0; i < Count; i++) {
        SDL_RendererInfo Info;
        if (SDL_GetRenderDriverInfo(i, &Info) == 0 && Name == Info.name) return i;
    }
    return -1;
}

SDL_Rect SdlRect(TPixelRect Rect) { return {Rect.Left, Rect.Top, Rect.width(), Rect.height()}; }

} // namespace

void SetQuadDeviceFaults(const TQuadDeviceFaults& NewFaults) { Faults = NewFaults; }
const TQuadDeviceFaults& GetQuadDeviceFaults() { return Faults; }
void ClearQuadDeviceFaults() { Faults = TQuadDeviceFaults(); }

TQuadTexture::~TQuadTexture() { SDL_DestroyTexture(Native); }

bool TQuadDevice::isAvailable() {
    if (Faults.NoLibrary) return false;
    const int Count = SDL_GetNumRenderDrivers();
    for (int i = 0; i < Count; i++) {
        SDL_RendererInfo Info;
        if (SDL_GetRenderDriverInfo(i, &Info) == 0 && (Info.flags & SDL_RENDERER_TARGETTEXTURE) != 0)
            return true;
    }
    return false;
}

TPlatformResult TQuadDevice::create(TWindow* Window, bool FullScreen, int32_t Width, int32_t Height,
                                    std::unique_ptr<TQuadDevice>& Device) {
    Device.reset();
    if (Faults.NoDevice || Window == nullptr) return PLATFORM_UNSUPPORTED;
    SDL_Window* Native = Window->getNative();
    int32_t WindowedWidth = 0, WindowedHeight = 0;
    Window->getClientSize(WindowedWidth, WindowedHeight);
    if (FullScreen) {
        SDL_DisplayMode Mode{SDL_PIXELFORMAT_UNKNOWN, Width, Height, 0, nullptr};
        if (SDL_SetWindowDisplayMode(Native, &Mode) != 0 ||
            SDL_SetWindowFullscreen(Native, SDL_WINDOW_FULLSCREEN) != 0)
            return PLATFORM_UNSUPPORTED;
    }
    Uint32 Flags = SDL_RENDERER_TARGETTEXTURE;
    int32_t Index = DriverIndex(Faults.Driver.empty() ? "opengl" : Faults.Driver);
    if (Index < 0 && !Faults.Driver.empty()) return PLATFORM_UNSUPPORTED;
    if (Faults.Driver.empty()) Flags |= SDL_RENDERER_ACCELERATED; // the hardware device only
    SDL_Renderer* Renderer = SDL_CreateRenderer(Native, Index, Flags);
    if (Renderer == nullptr && Index >= 0 && Faults.Driver.empty())
        Renderer = SDL_CreateRenderer(Native, -1, Flags);
    if (Renderer == nullptr) {
        if (FullScreen) {
            SDL_SetWindowFullscreen(Native, 0);
            SDL_SetWindowSize(Native, WindowedWidth, WindowedHeight);
        }
        return PLATFORM_FAILED;
    }
    Device.reset(new TQuadDevice(Window, Renderer, FullScreen, WindowedWidth, WindowedHeight));
    return PLATFORM_OK;
}

TQuadDevice::TQuadDevice(TWindow* Window, SDL_Renderer* Renderer, bool FullScreen, int32_t WindowedWidth,
                         int32_t WindowedHeight)
    : Window(Window), Renderer(Renderer), FullScreen(FullScreen), WindowedWidth(WindowedWidth),
      WindowedHeight(WindowedHeight) {
    SDL_AddEventWatch(watchEvents, this);
}

TQuadDevice::~TQuadDevice() {
    SDL_DelEventWatch(watchEvents, this);
    SDL_DestroyRenderer(Renderer);
    if (FullScreen) {
        SDL_SetWindowFullscreen(Window->getNative(), 0);
        SDL_SetWindowSize(Window->getNative(), WindowedWidth, WindowedHeight);
    }
}

int TQuadDevice::watchEvents(void* Device, SDL_Event* Event) {
    if (Event->type == SDL_RENDER_TARGETS_RESET || Event->type == SDL_RENDER_DEVICE_RESET)
        static_cast<TQuadDevice*>(Device)->TargetsReset = true;
    return 0;
}

TPlatformResult TQuadDevice::createTexture(int32_t Width, int32_t Height, bool Target, TTextureFilter Filter,
                                           std::unique_ptr<TQuadTexture>& Texture) {
    return makeTexture(Width, Height, SDL_PIXELFORMAT_ARGB8888,
                       Target ? SDL_TEXTUREACCESS_TARGET : SDL_TEXTUREACCESS_STATIC, SDL_BLENDMODE_BLEND,
                       Filter, Texture);
}

// An opaque format, so that the multiply takes the colour alone: with alpha 0 it would keep the target too.
TPlatformResult TQuadDevice::createMultiplyTexture(int32_t Width, int32_t Height,
                                                   std::unique_ptr<TQuadTexture>& Texture) {
    return makeTexture(Width, Height, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STATIC, SDL_BLENDMODE_MUL,
                       FILTER_POINT, Texture);
}

TPlatformResult TQuadDevice::makeTexture(int32_t Width, int32_t Height, uint32_t Format, int32_t Access,
                                         int32_t Blend, TTextureFilter Filter,
                                         std::unique_ptr<TQuadTexture>& Texture) {
    Texture.reset();
    TexturesMade++;
    if (Faults.FailingTexture > 0 && TexturesMade == Faults.FailingTexture)
        return PLATFORM_OUT_OF_VIDEO_MEMORY;
    SDL_Texture* Native = SDL_CreateTexture(Renderer, Format, Access, Width, Height);
    if (Native == nullptr) return PLATFORM_OUT_OF_VIDEO_MEMORY;
    SDL_SetTextureBlendMode(Native, static_cast<SDL_BlendMode>(Blend));
    SDL_SetTextureScaleMode(Native, Filter == FILTER_POINT ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    Texture.reset(new TQuadTexture(Native, Width, Height));
    return PLATFORM_OK;
}

bool TQuadDevice::selectTarget(TQuadTexture* Target) {
    SDL_Texture* Native = Target != nullptr ? Target->Native : nullptr;
    return SDL_GetRenderTarget(Renderer) == Native || SDL_SetRenderTarget(Renderer, Native) == 0;
}

TPlatformResult TQuadDevice::colorFill(TQuadTexture& Target, TPixelRect Rect, uint32_t Argb) {
    if (!selectTarget(&Target)) return PLATFORM_FAILED;
    const SDL_Rect Fill = SdlRect(Rect);
    SDL_SetRenderDrawBlendMode(Renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(Renderer, static_cast<Uint8>(Argb >> 16), static_cast<Uint8>(Argb >> 8),
                           static_cast<Uint8>(Argb), static_cast<Uint8>(Argb >> 24));
    return SDL_RenderFillRect(Renderer, &Fill) == 0 ? PLATFORM_OK : PLATFORM_FAILED;
}

TPlatformResult TQuadDevice::drawTriangles(TQuadTexture& Target, TQuadTexture& Texture,
                                           const TQuadVertex* Vertices, int32_t Count) {
    if (Count <= 0) return PLATFORM_OK;
    if (!selectTarget(&Target)) return PLATFORM_FAILED;
    return SDL_RenderGeometry(Renderer, Texture.Native, reinterpret_cast<const SDL_Vertex*>(Vertices), Count,
                              nullptr, 0) == 0
               ? PLATFORM_OK
               : PLATFORM_FAILED;
}

TPlatformResult TQuadDevice::update(TQuadTexture& Texture, TPixelRect Rect, const uint32_t* Texels,
                                    int32_t Pitch) {
    if (Rect.Left < 0 || Rect.Top < 0 || Rect.Right > Texture.Width || Rect.Bottom > Texture.Height ||
        Rect.width() <= 0 || Rect.height() <= 0)
        return PLATFORM_INVALID_RECT;
    const SDL_Rect Area = SdlRect(Rect);
    return SDL_UpdateTexture(Texture.Native, &Area, Texels, Pitch) == 0 ? PLATFORM_OK : PLATFORM_FAILED;
}

TPlatformResult TQuadDevice::read(TQuadTexture& Texture, TPixelRect Rect, uint32_t* Texels, int32_t Pitch) {
    if (Rect.Left < 0 || Rect.Top < 0 || Rect.Right > Texture.Width || Rect.Bottom > Texture.Height ||
        Rect.width() <= 0 || Rect.height() <= 0)
        return PLATFORM_INVALID_RECT;
    if (!selectTarget(&Texture)) return PLATFORM_FAILED;
    const SDL_Rect Area = SdlRect(Rect);
    return SDL_RenderReadPixels(Renderer, &Area, SDL_PIXELFORMAT_ARGB8888, Texels, Pitch) == 0
               ? PLATFORM_OK
               : PLATFORM_FAILED;
}

TPlatformResult TQuadDevice::present(TQuadTexture& Screen, TPixelRect From) {
    if (!selectTarget(nullptr)) return PLATFORM_FAILED;
    const SDL_Rect Source = SdlRect(From), Target{0, 0, From.width(), From.height()};
    SDL_SetTextureBlendMode(Screen.Native, SDL_BLENDMODE_NONE);
    const int Result = SDL_RenderCopy(Renderer, Screen.Native, &Source, &Target);
    SDL_SetTextureBlendMode(Screen.Native, SDL_BLENDMODE_BLEND);
    SDL_RenderPresent(Renderer);
    return Result == 0 ? PLATFORM_OK : PLATFORM_FAILED;
}

TDeviceState TQuadDevice::testCooperativeLevel() const {
    if (Faults.State != DEVICE_OK) return Faults.State;
    return TargetsReset ? DEVICE_NOT_RESET : DEVICE_OK;
}

TPlatformResult TQuadDevice::reset() {
    if (testCooperativeLevel() != DEVICE_NOT_RESET) return PLATFORM_FAILED;
    TargetsReset = false;
    if (Faults.State == DEVICE_NOT_RESET) Faults.State = DEVICE_OK;
    return PLATFORM_OK;
}

const char* TQuadDevice::getDriverName() const {
    SDL_RendererInfo Info;
    return SDL_GetRendererInfo(Renderer, &Info) == 0 ? Info.name : "";
}

bool TQuadDevice::isHardware() const {
    if (!Faults.Driver.empty()) return true;
    if (std::strcmp(getDriverName(), "software") == 0) return false;
    using TGetString = const unsigned char* (*)(unsigned int);
    // GL_RENDERER of the renderer's current context, for the GL based renderers.
    const auto GetString = reinterpret_cast<TGetString>(SDL_GL_GetProcAddress("glGetString"));
    if (std::strncmp(getDriverName(), "opengl", 6) != 0 || GetString == nullptr) return true;
    const unsigned char* Name = GetString(0x1F01);
    if (Name == nullptr) return true;
    const char* Text = reinterpret_cast<const char*>(Name);
    return std::strstr(Text, "llvmpipe") == nullptr && std::strstr(Text, "softpipe") == nullptr &&
           std::strstr(Text, "Software") == nullptr && std::strstr(Text, "software") == nullptr;
}
