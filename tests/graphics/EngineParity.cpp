// The three engines one after another on the offscreen driver, read back alike, and their comparison.
#include "tests/graphics/EngineParity.h"

#include "graphics/Engine.h"
#include "graphics/SurfaceDX.h"
#include "graphics/SurfaceGL.h"
#include "graphics/surfaceDX9.h"
#include "platform/Display.h"
#include "platform/QuadDevice.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

uint32_t Widened565(uint32_t Pixel) {
    const uint32_t r = Pixel >> 11, g = (Pixel >> 5) & 63, b = Pixel & 31;
    return (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
}

} // namespace

TParityEngine::TParityEngine(int32_t Engine, int32_t Bits, int32_t Width, int32_t Height) : Engine(Engine) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    ResetEngineModule();
    TDisplayFaults Display;
    Display.DisplayBits = Bits;
    SetDisplayFaults(Display);
    TQuadDeviceFaults Device;
    Device.Driver = "opengl"; // named: a software rasterizer passes as the hardware device
    SetQuadDeviceFaults(Device);
    Window = TWindow::create("parity", Width, Height, false);
    if (Window == nullptr)
        throw std::runtime_error(std::string("no offscreen window: ") + GetPlatformError());
    RegisterEngineBackEnds();
    StartGraphicEngine(Window.get(), Engine);
    TSurface* S = GetSurface();
    S->InitSurfaces();
    if (!S->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false) || S->GetNumberOfPages() == 0 ||
        (Engine == ENGINE_OPENGL && !dynamic_cast<TSurfaceGL*>(S)->hasOffscreenBuffer()) ||
        (Engine == ENGINE_DIRECT3D9 &&
         std::string(dynamic_cast<TSurfaceDX9*>(S)->getDriverName()) != "opengl"))
        throw std::runtime_error("engine " + std::to_string(Engine) + " cannot draw here");
}

TParityEngine::~TParityEngine() {
    GetSurface()->ExitSurfaces();
    SurfaceExitInstance();
    ResetEngineModule();
    ClearQuadDeviceFaults();
    ClearDisplayFaults();
}

TPicture TParityEngine::read(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height) {
    TPicture Picture{Width, Height, std::vector<uint32_t>(static_cast<size_t>(Width) * Height)};
    TSurface* S = GetSurface();
    if (Engine == ENGINE_DIRECTDRAW) {
        const TPixelSurface* Pixels = dynamic_cast<TSurfaceDX*>(S)->getPixels(Surface);
        const bool Narrow = Pixels->getFormat().BytesPerPixel == 2;
        for (int32_t r = 0; r < Height; r++)
            for (int32_t c = 0; c < Width; c++) {
                const uint32_t Value = Pixels->getPixel(x + c, y + r);
                Picture.Pixels[static_cast<size_t>(r) * Width + c] = Narrow ? Widened565(Value) : Value;
            }
    } else if (Engine == ENGINE_OPENGL) {
        std::vector<uint8_t> Bgrx(Picture.Pixels.size() * 4);
        dynamic_cast<TSurfaceGL*>(S)->readPixels(Surface, x, y, Width, Height, Bgrx.data());
        for (size_t i = 0; i < Picture.Pixels.size(); i++)
            Picture.Pixels[i] = Bgrx[4 * i + 2] << 16 | Bgrx[4 * i + 1] << 8 | Bgrx[4 * i];
    } else {
        dynamic_cast<TSurfaceDX9*>(S)->readPixels(Surface, {x, y, x + Width, y + Height},
                                                  Picture.Pixels.data());
        for (uint32_t& P : Picture.Pixels)
            P &= 0xFFFFFF;
    }
    return Picture;
}

TPicture ReducedTo565(const TPicture& Picture) {
    TPicture Reduced = Picture;
    for (uint32_t& P : Reduced.Pixels)
        P = Widened565((P >> 19 & 31) << 11 | (P >> 10 & 63) << 5 | (P >> 3 & 31));
    return Reduced;
}

TDifference Compare(const TPicture& A, const TPicture& B) {
    return Compare(A, B, [](int32_t, int32_t) { return true; });
}

TDifference Compare(const TPicture& A, const TPicture& B,
                    const std::function<bool(int32_t, int32_t)>& Inside) {
    TDifference D;
    for (int32_t y = 0; y < A.Height; y++)
        for (int32_t x = 0; x < A.Width; x++) {
            const uint32_t a = A.at(x, y), b = B.at(x, y);
            if (a == b || !Inside(x, y)) continue;
            D.Pixels++;
            for (int32_t Shift = 0; Shift < 24; Shift += 8)
                D.Largest = std::max(D.Largest, std::abs(static_cast<int32_t>((a >> Shift) & 255) -
                                                         static_cast<int32_t>((b >> Shift) & 255)));
        }
    return D;
}

void WritePpm(const std::string& Name, const TPicture& Picture) {
    std::FILE* File = std::fopen(Name.c_str(), "wb");
    if (File == nullptr) return;
    std::fprintf(File, "P6\n%d %d\n255\n", Picture.Width, Picture.Height);
    for (uint32_t P : Picture.Pixels) {
        const unsigned char Rgb[3] = {static_cast<unsigned char>(P >> 16), static_cast<unsigned char>(P >> 8),
                                      static_cast<unsigned char>(P)};
        std::fwrite(Rgb, 1, 3, File);
    }
    std::fclose(File);
}
