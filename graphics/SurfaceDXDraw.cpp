// The DirectDraw engine's drawing: fills, copies with and without key, the smooth stretch through the two
// scratch surfaces, uploads with recolouring and the light. A surface that was not made draws nothing.
#include "graphics/SurfaceDX.h"

#include "foundation/Exception.h"
#include "graphics/SurfaceCommon.h"

#include <algorithm>

void TSurfaceDX::FillRectangle(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                               int32_t Red, int32_t Green, int32_t Blue) {
    TPixelSurface* Target = surface(Surface);
    if (Target == nullptr) return;
    Target->fill({x, y, x + Width, y + Height}, PixelOfColour(Target->getFormat(), Red, Green, Blue));
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
            const uint32_t Value = PixelOfColour(Target->getFormat(), Rgb >> 16, Rgb >> 8 & 0xFF, Rgb & 0xFF);
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
    const int32_t Clip[4] = {ClipX, ClipY, ClipWidth, ClipHeight};
    copy(ToSurface, x, y, FromSurface, FromX, FromY, Width, Height, nullptr, Clip);
}

void TSurfaceDX::BlitTransparentClipped(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface,
                                        int32_t FromX, int32_t FromY, int32_t Width, int32_t Height,
                                        int32_t KeyRed, int32_t KeyGreen, int32_t KeyBlue, int32_t ClipX,
                                        int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight) {
    const int32_t Key[3] = {KeyRed, KeyGreen, KeyBlue}, Clip[4] = {ClipX, ClipY, ClipWidth, ClipHeight};
    copy(ToSurface, x, y, FromSurface, FromX, FromY, Width, Height, Key, Clip);
}

void TSurfaceDX::Blit(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX,
                      int32_t FromY, int32_t Width, int32_t Height) {
    CHECK_TEXT(Width > 0 && Height > 0, "FromRect.width>0 && FromRect.height>0", Width, Height);
    copy(ToSurface, x, y, FromSurface, FromX, FromY, Width, Height, nullptr, nullptr);
}

void TSurfaceDX::BlitTransparent(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX,
                                 int32_t FromY, int32_t Width, int32_t Height, int32_t KeyRed,
                                 int32_t KeyGreen, int32_t KeyBlue) {
    CHECK_TEXT(Width > 0 && Height > 0, "FromRect.width>0 && FromRect.height>0", Width, Height);
    const int32_t Key[3] = {KeyRed, KeyGreen, KeyBlue};
    copy(ToSurface, x, y, FromSurface, FromX, FromY, Width, Height, Key, nullptr);
}

// Every copy: Key (red, green, blue) or nullptr for a plain copy; Clip (x, y, width, height) or nullptr for
// the target's rectangle, whose cutting the target surface does itself where the rectangle is all of it.
void TSurfaceDX::copy(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX,
                      int32_t FromY, int32_t Width, int32_t Height, const int32_t* Key, const int32_t* Clip) {
    TPixelSurface* Target = surface(ToSurface);
    TPixelSurface* Source = surface(FromSurface);
    if (Target == nullptr || Source == nullptr) return;
    const TPixelRect& Whole = Rect[ToSurface];
    const int32_t Box[4] = {Whole.Left, Whole.Top, Whole.width(), Whole.height()};
    const bool SurfaceCuts = Clip == nullptr && Whole.Left == 0 && Whole.Top == 0 &&
                             Whole.Right == Target->getWidth() && Whole.Bottom == Target->getHeight();
    if (Clip == nullptr) Clip = Box;
    int32_t To[4] = {x, y, x + Width, y + Height}, Adjust[4] = {};
    if (!SurfaceCuts && !ClipRectangle(Clip[0], Clip[1], Clip[2], Clip[3], To, Adjust)) return;
    if (Key != nullptr) Source->setSourceKey(PixelOfColour(Source->getFormat(), Key[0], Key[1], Key[2]));
    const TPixelRect From{FromX + Adjust[0], FromY + Adjust[1], FromX + Width + Adjust[2],
                          FromY + Height + Adjust[3]};
    Target->blit({To[0], To[1], To[2], To[3]}, *Source, From, Key != nullptr);
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
    if (Target != nullptr) Target->setSourceKey(PixelOfColour(Target->getFormat(), Red, Green, Blue));
}
