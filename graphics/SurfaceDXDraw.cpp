// The DirectDraw engine's drawing: fills, copies with and without key, the smooth stretch through the two
// scratch surfaces, uploads with recolouring and the light. A surface that was not made draws nothing.
#define EBRUN_SOURCE_NAME "SurfaceDX.cpp"
#include "graphics/SurfaceDX.h"

#include "foundation/Exception.h"
#include "graphics/SurfaceCommon.h"

#include <algorithm>
#include <bit>

namespace {

uint32_t Channel(uint32_t Mask, int32_t Value) {
    if (Mask == 0) return 0;
    const int Shift = std::countr_zero(Mask);
    const int Width = std::countr_one(Mask >> Shift);
    return (static_cast<uint32_t>(std::clamp(Value, 0, 255)) >> (8 - Width)) << Shift;
}


} // namespace

uint32_t TSurfaceDX::convertColor(const TPixelSurface& Target, int32_t Red, int32_t Green,
                                  int32_t Blue) const {
    const TPixelFormat& Format = Target.getFormat();
    if (Format.BitsPerPixel < 16) return 0;
    return Channel(Format.RedMask, Red) | Channel(Format.GreenMask, Green) | Channel(Format.BlueMask, Blue);
}

void TSurfaceDX::FillRectangle(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                               int32_t Red, int32_t Green, int32_t Blue) {
    TPixelSurface* Target = surface(Surface);
    if (Target == nullptr) return;
    Target->fill({x, y, x + Width, y + Height}, convertColor(*Target, Red, Green, Blue));
}

void TSurfaceDX::WritePixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                             const uint8_t* Pixels) {
    writePixels(Surface, x, y, Width, Height, Pixels, nullptr, nullptr);
}

void TSurfaceDX::WriteColoredPixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                                    const uint8_t* Pixels, const uint8_t* MaskPixels, const int32_t* Colors) {
    if (Colors == nullptr) return;
    writePixels(Surface, x, y, Width, Height, Pixels, MaskPixels, Colors);
}

// Converts and writes the part of the block that lies inside the surface; with Colors the pixels are
// recoloured.
void TSurfaceDX::writePixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                             const uint8_t* Pixels, const uint8_t* MaskPixels, const int32_t* Colors) {
    TPixelSurface* Target = surface(Surface);
    TLockedPixels Locked;
    if (Target == nullptr || Pixels == nullptr || Target->lock(Locked) != PLATFORM_OK) return;
    const int32_t Bpp = Target->getFormat().BytesPerPixel;
    const int32_t c0 = std::max(0, -x), c1 = std::min(Width, Target->getWidth() - x);
    const int32_t r0 = std::max(0, -y), r1 = std::min(Height, Target->getHeight() - y);
    for (int32_t r = r0; r < r1; r++) {
        uint8_t* Row = Locked.Pixels + static_cast<size_t>(y + r) * Locked.Pitch;
        for (int32_t c = c0; c < c1; c++) {
            const size_t Offset = (static_cast<size_t>(r) * Width + c) * 3;
            const uint32_t Rgb =
                UploadedPixel(Pixels + Offset, MaskPixels != nullptr ? MaskPixels + Offset : nullptr, Colors);
            const uint32_t Value = convertColor(*Target, Rgb >> 16, Rgb >> 8 & 0xFF, Rgb & 0xFF);
            uint8_t* At = Row + static_cast<size_t>(x + c) * Bpp;
            if (Bpp == 2)
                *reinterpret_cast<uint16_t*>(At) = static_cast<uint16_t>(Value);
            else
                *reinterpret_cast<uint32_t*>(At) = Value;
        }
    }
    Target->unlock();
}

void TSurfaceDX::BlitClipped(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX,
                             int32_t FromY, int32_t Width, int32_t Height, int32_t ClipX, int32_t ClipY,
                             int32_t ClipWidth, int32_t ClipHeight) {
    int32_t To[4] = {x, y, x + Width, y + Height}, Adjust[4] = {};
    if (!ClipRectangle(ClipX, ClipY, ClipWidth, ClipHeight, To, Adjust)) return;
    TPixelSurface* Target = surface(ToSurface);
    TPixelSurface* Source = surface(FromSurface);
    if (Target == nullptr || Source == nullptr) return;
    Target->blit(
        {To[0], To[1], To[2], To[3]}, *Source,
        {FromX + Adjust[0], FromY + Adjust[1], FromX + Width + Adjust[2], FromY + Height + Adjust[3]}, false);
}

void TSurfaceDX::BlitTransparentClipped(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface,
                                        int32_t FromX, int32_t FromY, int32_t Width, int32_t Height,
                                        int32_t KeyRed, int32_t KeyGreen, int32_t KeyBlue, int32_t ClipX,
                                        int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight) {
    int32_t To[4] = {x, y, x + Width, y + Height}, Adjust[4] = {};
    if (!ClipRectangle(ClipX, ClipY, ClipWidth, ClipHeight, To, Adjust)) return;
    SetSurfaceColorKey(FromSurface, KeyRed, KeyGreen, KeyBlue);
    TPixelSurface* Target = surface(ToSurface);
    TPixelSurface* Source = surface(FromSurface);
    if (Target == nullptr || Source == nullptr) return;
    Target->blit(
        {To[0], To[1], To[2], To[3]}, *Source,
        {FromX + Adjust[0], FromY + Adjust[1], FromX + Width + Adjust[2], FromY + Height + Adjust[3]}, true);
}

void TSurfaceDX::StretchBlit(int32_t ToSurface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                             int32_t FromSurface, int32_t FromX, int32_t FromY, int32_t FromWidth,
                             int32_t FromHeight) {
    TPixelSurface* Target = surface(ToSurface);
    TPixelSurface* Source = surface(FromSurface);
    if (Target == nullptr || Source == nullptr) return;
    Target->blit({x, y, x + Width, y + Height}, *Source,
                 {FromX, FromY, FromX + FromWidth, FromY + FromHeight}, false);
}

void TSurfaceDX::StretchBlitTransparent(int32_t ToSurface, int32_t x, int32_t y, int32_t Width,
                                        int32_t Height, int32_t FromSurface, int32_t FromX, int32_t FromY,
                                        int32_t FromWidth, int32_t FromHeight, int32_t KeyRed,
                                        int32_t KeyGreen, int32_t KeyBlue, int32_t BackgroundRed,
                                        int32_t BackgroundGreen, int32_t BackgroundBlue) {
    const TRectangle Clip = GetSurfaceRect(ToSurface);
    StretchBlitTransparentClipped(ToSurface, x, y, Width, Height, FromSurface, FromX, FromY, FromWidth,
                                  FromHeight, KeyRed, KeyGreen, KeyBlue, BackgroundRed, BackgroundGreen,
                                  BackgroundBlue, Clip.x, Clip.y, Clip.Width, Clip.Height);
}

void TSurfaceDX::DrawShadedQuads(int32_t Surface, int32_t Count, const int32_t* Rectangles,
                                 const int32_t* Colors) {
    if (Surface != TEMP_SURFACE || !Light || Count <= 0 || Rectangles == nullptr || Colors == nullptr) return;
    Light->drawShadedQuads(Count, Rectangles, Colors);
}

void TSurfaceDX::drawShadedQuad(int32_t x, int32_t y, int32_t Width, int32_t Height, const int32_t* Colors) {
    const int32_t Rectangle[4] = {x, y, Width, Height};
    if (Light) Light->drawShadedQuads(1, Rectangle, Colors);
}

void TSurfaceDX::SetSurfaceColorKey(int32_t Surface, int32_t Red, int32_t Green, int32_t Blue) {
    TPixelSurface* Target = surface(Surface);
    if (Target != nullptr) Target->setSourceKey(convertColor(*Target, Red, Green, Blue));
}
