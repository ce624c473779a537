// The display device of the software engine: display modes, full screen, surface creation with a video memory
// budget, the light device and presentation into the window; failures can be injected for tests.
#include "platform/Display.h"

#include "platform/Window.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// Video memory of a device when no budget is injected: enough for every surface at any desktop size.
constexpr int64_t DEFAULT_VIDEO_MEMORY = 256LL << 20;

TDisplayFaults Faults;

// Every surface made by any device, so that a display change can mark them lost. Pruned on each creation.
std::vector<std::weak_ptr<TPixelSurface>> LivingSurfaces;

int32_t BitsOfSdlFormat(Uint32 Format) {
    int Bytes = SDL_BYTESPERPIXEL(Format);
    return Bytes == 2 ? 16 : Bytes == 3 ? 24 : 32;
}

Uint32 SdlFormatOf(const TPixelFormat& Format) {
    return Format.BytesPerPixel == 2 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
}

// Whether Widen565Rows gives what SDL converts 5-6-5 pixels to in Format: asked once per format, with every
// value of each channel.
bool WideningMatchesSdl(Uint32 Format) {
    static std::vector<std::pair<Uint32, bool>> Answers;
    for (const auto& [Asked, Matches] : Answers)
        if (Asked == Format) return Matches;
    bool Matches = SDL_BITSPERPIXEL(Format) == 24 || SDL_BITSPERPIXEL(Format) == 32;
    if (Matches) {
        uint16_t Values[128];
        for (int32_t i = 0; i < 32; i++)
            Values[i] = static_cast<uint16_t>(i << 11), Values[32 + i] = static_cast<uint16_t>(i);
        for (int32_t i = 0; i < 64; i++)
            Values[64 + i] = static_cast<uint16_t>(i << 5);
        uint32_t Sdl[128], Ours[128];
        Widen565Rows(reinterpret_cast<uint8_t*>(Ours), sizeof Ours, reinterpret_cast<const uint8_t*>(Values),
                     sizeof Values, 128, 1);
        Matches = SDL_BYTESPERPIXEL(Format) == 4 &&
                  SDL_ConvertPixels(128, 1, SDL_PIXELFORMAT_RGB565, Values, sizeof Values, Format, Sdl,
                                    sizeof Sdl) == 0 &&
                  std::equal(Sdl, Sdl + 128, Ours);
    }
    Answers.emplace_back(Format, Matches);
    return Matches;
}

void Register(const std::shared_ptr<TPixelSurface>& Surface) {
    std::erase_if(LivingSurfaces, [](const std::weak_ptr<TPixelSurface>& S) { return S.expired(); });
    LivingSurfaces.push_back(Surface);
}

} // namespace

void SetDisplayFaults(const TDisplayFaults& NewFaults) { Faults = NewFaults; }
const TDisplayFaults& GetDisplayFaults() { return Faults; }
void ClearDisplayFaults() { Faults = TDisplayFaults(); }

void LoseAllSurfaces() {
    for (const std::weak_ptr<TPixelSurface>& S : LivingSurfaces)
        if (std::shared_ptr<TPixelSurface> Surface = S.lock()) Surface->markLost();
}

TPlatformResult TLightDevice::drawShadedQuads(int32_t Count, const int32_t* Rectangles,
                                              const int32_t* Colors) {
    if (WithoutEffect) return Target->isLost() ? PLATFORM_SURFACE_LOST : PLATFORM_OK;
    return Target->multiplyShadedQuads(Count, Rectangles, Colors);
}

TDisplayDevice::TDisplayDevice()
    : Pool(std::make_shared<TVideoMemoryPool>(Faults.VideoMemoryBytes >= 0 ? Faults.VideoMemoryBytes
                                                                           : DEFAULT_VIDEO_MEMORY)) {}

TPlatformResult TDisplayDevice::create(std::unique_ptr<TDisplayDevice>& Device) {
    Device.reset();
    if (Faults.NoDevice) return PLATFORM_UNSUPPORTED;
    if (!InitVideoPlatform()) return PLATFORM_FAILED;
    Device.reset(new TDisplayDevice());
    return PLATFORM_OK;
}

// The window may be gone by now: leaving full screen is the engine's business (normal cooperative level).
TDisplayDevice::~TDisplayDevice() { ExitVideoPlatform(); }

TPlatformResult TDisplayDevice::getCaps(TDisplayCaps& Caps) const {
    bool Scales = !Faults.NoHardwareStretch;
    Caps = {Scales, Scales, Scales, Scales};
    return PLATFORM_OK;
}

int32_t TDisplayDevice::displayBits() const {
    if (Faults.DisplayBits > 0) return Faults.DisplayBits;
    if (FullScreen) return FullScreenMode.BitsPerPixel;
    SDL_DisplayMode Desktop;
    if (SDL_GetDesktopDisplayMode(0, &Desktop) != 0) return 32;
    return BitsOfSdlFormat(Desktop.format);
}

TPlatformResult TDisplayDevice::getDisplayMode(TDisplayModeInfo& Mode) const {
    if (FullScreen) {
        Mode = FullScreenMode;
    } else {
        SDL_DisplayMode Desktop;
        if (SDL_GetDesktopDisplayMode(0, &Desktop) != 0) return PLATFORM_FAILED;
        Mode = {Desktop.w, Desktop.h, 0, Desktop.refresh_rate};
    }
    Mode.BitsPerPixel = displayBits();
    return PLATFORM_OK;
}

TPlatformResult TDisplayDevice::enumDisplayModes(std::vector<TDisplayModeInfo>& Modes) const {
    Modes.clear();
    if (!Faults.Modes.empty()) {
        Modes = Faults.Modes;
        return PLATFORM_OK;
    }
    int Count = SDL_GetNumDisplayModes(0);
    if (Count < 0) return PLATFORM_FAILED;
    for (int i = 0; i < Count; i++) {
        SDL_DisplayMode Mode;
        // The offscreen driver reports one 0 x 0 mode, which is no mode at all.
        if (SDL_GetDisplayMode(0, i, &Mode) != 0 || Mode.w <= 0 || Mode.h <= 0) continue;
        Modes.push_back({Mode.w, Mode.h, BitsOfSdlFormat(Mode.format), Mode.refresh_rate});
    }
    return PLATFORM_OK;
}

TPlatformResult TDisplayDevice::testCooperativeLevel() const {
    return Faults.ExclusiveElsewhere ? PLATFORM_EXCLUSIVE_ELSEWHERE : PLATFORM_OK;
}

TPlatformResult TDisplayDevice::setCooperativeLevel(TWindow* NewWindow, bool NewExclusive) {
    if (NewWindow == nullptr) return PLATFORM_UNSUPPORTED;
    if (FullScreen && !NewExclusive) {
        if (Faults.Modes.empty() && Window != nullptr) {
            SDL_SetWindowFullscreen(Window->getNative(), 0);
            Window->setClientSize(WindowedWidth, WindowedHeight);
        }
        FullScreen = false;
        BackBuffer.reset();
    }
    Window = NewWindow;
    Exclusive = NewExclusive;
    return PLATFORM_OK;
}

TPlatformResult TDisplayDevice::setDisplayMode(int32_t Width, int32_t Height, int32_t Bits) {
    if (!Exclusive || Window == nullptr || Bits < 16) return PLATFORM_UNSUPPORTED;
    if (!FullScreen) Window->getClientSize(WindowedWidth, WindowedHeight);
    int32_t Refresh = 0;
    if (!Faults.Modes.empty()) {
        auto Found = std::find_if(Faults.Modes.begin(), Faults.Modes.end(), [&](const TDisplayModeInfo& M) {
            return M.Width == Width && M.Height == Height && M.BitsPerPixel == Bits;
        });
        if (Found == Faults.Modes.end()) return PLATFORM_UNSUPPORTED;
        Refresh = Found->RefreshRate;
    } else {
        SDL_DisplayMode Wanted{0, Width, Height, 0, nullptr}, Closest;
        if (SDL_GetClosestDisplayMode(0, &Wanted, &Closest) == nullptr || Closest.w != Width ||
            Closest.h != Height)
            return PLATFORM_UNSUPPORTED;
        if (SDL_SetWindowDisplayMode(Window->getNative(), &Closest) != 0 ||
            SDL_SetWindowFullscreen(Window->getNative(), SDL_WINDOW_FULLSCREEN) != 0)
            return PLATFORM_FAILED;
        Refresh = Closest.refresh_rate;
    }
    FullScreen = true;
    FullScreenMode = {Width, Height, Bits, Refresh};
    return PLATFORM_OK;
}

TPlatformResult TDisplayDevice::createSurface(int32_t Width, int32_t Height, uint32_t Caps,
                                              std::shared_ptr<TPixelSurface>& Surface) {
    Surface.reset();
    const int32_t Bits = displayBits();
    if (Bits < 16) return PLATFORM_UNSUPPORTED;
    if (Faults.FailingSurface == SurfacesMade + 1) return PLATFORM_OUT_OF_MEMORY;
    const TPixelFormat& Format = PixelFormatForBits(Bits);
    if (Caps & SURFACE_PRIMARY) {
        if (Window == nullptr || ((Caps & SURFACE_FLIP) && !FullScreen)) return PLATFORM_UNSUPPORTED;
        if (FullScreen) {
            Width = FullScreenMode.Width;
            Height = FullScreenMode.Height;
        } else {
            Window->getClientSize(Width, Height);
        }
        Surface = std::make_shared<TPixelSurface>(Width, Height, Format, MEMORY_VIDEO, Caps);
        if (Caps & SURFACE_FLIP) {
            BackBuffer = std::make_shared<TPixelSurface>(Width, Height, Format, MEMORY_VIDEO, 0);
            Register(BackBuffer);
        }
    } else {
        if (Width <= 0 || Height <= 0) return PLATFORM_INVALID_RECT;
        const int64_t Bytes = SurfaceBytes(Width, Height, Format);
        if (Caps & SURFACE_VIDEO_MEMORY) {
            if (!Pool->take(Bytes)) return PLATFORM_OUT_OF_VIDEO_MEMORY;
            Surface = std::make_shared<TPixelSurface>(Width, Height, Format, MEMORY_VIDEO, Caps, Pool);
        } else {
            Surface = std::make_shared<TPixelSurface>(Width, Height, Format, MEMORY_SYSTEM, Caps);
        }
    }
    Register(Surface);
    SurfacesMade++;
    return PLATFORM_OK;
}

bool TDisplayDevice::hasLight() const { return !Faults.NoLightDevice; }

TPlatformResult TDisplayDevice::createLightDevice(std::shared_ptr<TPixelSurface> Target,
                                                  std::unique_ptr<TLightDevice>& Light) {
    Light.reset();
    if (!hasLight() || Target == nullptr || !(Target->getCaps() & SURFACE_RENDERABLE))
        return PLATFORM_UNSUPPORTED;
    Light = std::make_unique<TLightDevice>(std::move(Target), Faults.LightWithoutEffect);
    return PLATFORM_OK;
}

TPlatformResult TDisplayDevice::createWindowSurface(std::shared_ptr<TPixelSurface>& Surface) {
    Surface.reset();
    if (Window == nullptr || FullScreen) return PLATFORM_UNSUPPORTED;
    SDL_Surface* Target = SDL_GetWindowSurface(Window->getNative());
    const TPixelFormat& Format = PixelFormatForBits(displayBits());
    if (Target == nullptr || SDL_MUSTLOCK(Target) || Target->format->format != SdlFormatOf(Format))
        return PLATFORM_UNSUPPORTED;
    Surface = std::make_shared<TPixelSurface>(Target->w, Target->h, Target->pitch, Format,
                                              static_cast<uint8_t*>(Target->pixels));
    Register(Surface);
    return PLATFORM_OK;
}

bool TDisplayDevice::isWindowSurface(const TPixelSurface& Surface) const {
    if (Window == nullptr) return false;
    SDL_Surface* Target = SDL_GetWindowSurface(Window->getNative());
    return Target != nullptr && Target->pixels == Surface.row(0) && Target->w == Surface.getWidth() &&
           Target->h == Surface.getHeight();
}

TPlatformResult TDisplayDevice::present(const TPixelSurface& Screen, TPixelRect From) {
    if (Window == nullptr) return PLATFORM_UNSUPPORTED;
    if (Screen.isLost()) return PLATFORM_SURFACE_LOST;
    if (Screen.isPrimary()) return PLATFORM_NOT_DRAWABLE;
    SDL_Window* Native = Window->getNative();
    SDL_Surface* Target = SDL_GetWindowSurface(Native);
    if (Target == nullptr) return PLATFORM_FAILED;
    if (Target->pixels == Screen.row(0))
        return SDL_UpdateWindowSurface(Native) == 0 ? PLATFORM_OK : PLATFORM_FAILED;
    From.Left = std::max(From.Left, 0);
    From.Top = std::max(From.Top, 0);
    const int32_t Width = std::min({From.width(), Screen.getWidth() - From.Left, Target->w});
    const int32_t Height = std::min({From.height(), Screen.getHeight() - From.Top, Target->h});
    if (Width > 0 && Height > 0) {
        if (SDL_MUSTLOCK(Target) && SDL_LockSurface(Target) != 0) return PLATFORM_FAILED;
        const int32_t Bpp = Screen.getFormat().BytesPerPixel;
        const uint8_t* Source = Screen.row(From.Top) + static_cast<size_t>(From.Left) * Bpp;
        uint8_t* Pixels = static_cast<uint8_t*>(Target->pixels);
        const Uint32 SourceFormat = SdlFormatOf(Screen.getFormat());
        int Converted = 0;
        if (Target->format->format == SourceFormat) {
            for (int32_t y = 0; y < Height; y++)
                std::memcpy(Pixels + static_cast<size_t>(y) * Target->pitch,
                            Source + static_cast<size_t>(y) * Screen.getPitch(),
                            static_cast<size_t>(Width) * Bpp);
        } else if (Bpp == 2 && WideningMatchesSdl(Target->format->format)) {
            Widen565Rows(Pixels, Target->pitch, Source, Screen.getPitch(), Width, Height);
        } else {
            Converted = SDL_ConvertPixels(Width, Height, SourceFormat, Source, Screen.getPitch(),
                                          Target->format->format, Pixels, Target->pitch);
        }
        if (SDL_MUSTLOCK(Target)) SDL_UnlockSurface(Target);
        if (Converted != 0) return PLATFORM_FAILED;
    }
    return SDL_UpdateWindowSurface(Native) == 0 ? PLATFORM_OK : PLATFORM_FAILED;
}
