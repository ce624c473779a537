// The engine interface's shared operations: borders, clipping, frame pacing and the frame-rate measurement.
#include "graphics/Surface.h"

#include "foundation/Exception.h"
#include "foundation/sysinc.h"
#include "graphics/Engine.h"
#include "graphics/SurfaceCommon.h"
#include "graphics/graphics.h"

#include <algorithm>

namespace {

// The colour of the four that a source pixel takes: 0 to 3, or -1 when it keeps its own (always without
// Colors). With a mask the mask pixel decides, without one every pixel but the key (colour 1) takes colour 0.
int32_t RecolourIndex(const uint8_t* Pixel, const uint8_t* Mask, const int32_t* Colors) {
    if (Colors == nullptr) return -1;
    if (Mask == nullptr)
        return Pixel[0] != Colors[3] || Pixel[1] != Colors[4] || Pixel[2] != Colors[5] ? 0 : -1;
    if (Mask[0] == 255 && Mask[1] == 255 && Mask[2] == 0) return 0;
    if (Mask[0] == 255 && Mask[1] == 0 && Mask[2] == 0) return 1;
    if (Mask[0] == 0 && Mask[1] == 255 && Mask[2] == 0) return 2;
    if (Mask[0] == 0 && Mask[1] == 0 && Mask[2] == 255) return 3;
    return -1;
}

// The pixel as uploaded with its colour Index of RecolourIndex.
uint32_t RecolouredPixel(const uint8_t* Pixel, int32_t Index, const int32_t* Colors) {
    if (Index < 0) return static_cast<uint32_t>(Pixel[0]) << 16 | Pixel[1] << 8 | Pixel[2];
    const uint32_t Brightness = (30 * Pixel[0] + 59 * Pixel[1] + 11 * Pixel[2]) / 100;
    const auto Channel = [&](int32_t c) {
        return static_cast<uint32_t>(std::clamp(Colors[3 * Index + c], 0, 255)) * Brightness / 256;
    };
    return Channel(0) << 16 | Channel(1) << 8 | Channel(2);
}

} // namespace

uint32_t UploadedPixel(const uint8_t* Pixel, const uint8_t* Mask, const int32_t* Colors) {
    return RecolouredPixel(Pixel, RecolourIndex(Pixel, Mask, Colors), Colors);
}

uint32_t UploadedTexel(const uint8_t* Pixel, const uint8_t* Mask, const int32_t* Colors, uint32_t Key) {
    const int32_t Index = RecolourIndex(Pixel, Mask, Colors);
    const uint32_t Texel = 0xFF000000u | RecolouredPixel(Pixel, Index, Colors);
    return Index < 0 && Texel == Key ? Texel & 0x00FFFFFFu : Texel;
}

TSurface::TSurface() = default;
TSurface::~TSurface() = default;

void TSurface::SelectSurface(int32_t) {}
void TSurface::SetFilter(int32_t) {}
void TSurface::AttachClipper() {}
void TSurface::AddDirtyRectangle(int32_t, int32_t, int32_t, int32_t) {}

void TSurface::SetColorKey(int32_t Surface, int32_t Red, int32_t Green, int32_t Blue) {
    SetSurfaceColorKey(Surface, Red, Green, Blue);
}

bool TSurface::TestEngine() {
    Window = GetWindowHandle();
    return true;
}

void TSurface::InitVideo(int32_t VMode, const TDisplayMode* GMode) {
    try {
        SetVideoMode(VMode, GMode);
        CreateSurfaces();
    } catch (PROGRAM_ERROR) {
        try {
            ReleaseSurfaces();
        } catch (...) {
        }
        throw;
    }
}

void TSurface::switchViewMode(TWindow* NewWindow, int32_t VMode, const TDisplayMode* GMode, bool Force,
                              const TDisplayMode& InUse) {
    if (Force) {
        ReleaseSurfaces();
        Window = NewWindow;
        InitVideo(VMode, GMode);
    } else if (VMode == WINDOWED_MODE && ViewMode == 0) {
        Window = NewWindow;
        InitVideo(WINDOWED_MODE, nullptr);
    } else if (VMode == WINDOWED_MODE && ViewMode == WINDOWED_MODE) {
        if (NewWindow != Window) {
            Window = NewWindow;
            AttachClipper();
        }
        WindowMoved();
    } else if (VMode == WINDOWED_MODE && ViewMode == FULLSCREEN_MODE) {
        ReleaseSurfaces();
        Window = NewWindow;
        InitVideo(WINDOWED_MODE, nullptr);
    } else if (VMode == FULLSCREEN_MODE) {
        const bool Same = ViewMode == FULLSCREEN_MODE && GMode != nullptr && GMode->Width == InUse.Width &&
                          GMode->Height == InUse.Height && GMode->Depth == InUse.Depth;
        if (!Same) {
            ReleaseSurfaces();
            Window = NewWindow;
            InitVideo(FULLSCREEN_MODE, GMode);
        }
    }
}

void TSurface::SetPixel(int32_t Surface, int32_t x, int32_t y, int32_t Red, int32_t Green, int32_t Blue) {
    FillRectangle(Surface, x, y, 1, 1, Red, Green, Blue);
}

void TSurface::FillRectangleClipped(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                                    int32_t Red, int32_t Green, int32_t Blue, int32_t ClipX, int32_t ClipY,
                                    int32_t ClipWidth, int32_t ClipHeight) {
    int32_t Rectangle[4] = {x, y, x + Width, y + Height}, Adjust[4] = {};
    if (!ClipRectangle(ClipX, ClipY, ClipWidth, ClipHeight, Rectangle, Adjust)) return;
    FillRectangle(Surface, Rectangle[0], Rectangle[1], Rectangle[2] - Rectangle[0],
                  Rectangle[3] - Rectangle[1], Red, Green, Blue);
}

void TSurface::DrawHorizontalLine(int32_t Surface, int32_t x, int32_t y, int32_t Length, int32_t Red,
                                  int32_t Green, int32_t Blue) {
    FillRectangle(Surface, x, y, Length, 1, Red, Green, Blue);
}

void TSurface::DrawVerticalLine(int32_t Surface, int32_t x, int32_t y, int32_t Length, int32_t Red,
                                int32_t Green, int32_t Blue) {
    FillRectangle(Surface, x, y, 1, Length, Red, Green, Blue);
}

void TSurface::Blit(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX,
                    int32_t FromY, int32_t Width, int32_t Height) {
    CHECK_TEXT(Width > 0 && Height > 0, "FromRect.width>0 && FromRect.height>0", Width, Height);
    const TRectangle Clip = GetSurfaceRect(ToSurface);
    BlitClipped(ToSurface, x, y, FromSurface, FromX, FromY, Width, Height, Clip.x, Clip.y, Clip.Width,
                Clip.Height);
}

void TSurface::BlitTransparent(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX,
                               int32_t FromY, int32_t Width, int32_t Height, int32_t KeyRed, int32_t KeyGreen,
                               int32_t KeyBlue) {
    CHECK_TEXT(Width > 0 && Height > 0, "FromRect.width>0 && FromRect.height>0", Width, Height);
    const TRectangle Clip = GetSurfaceRect(ToSurface);
    BlitTransparentClipped(ToSurface, x, y, FromSurface, FromX, FromY, Width, Height, KeyRed, KeyGreen,
                           KeyBlue, Clip.x, Clip.y, Clip.Width, Clip.Height);
}

void TSurface::BlitTransparentClipped(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface,
                                      int32_t FromX, int32_t FromY, int32_t Width, int32_t Height, int32_t,
                                      int32_t, int32_t, int32_t ClipX, int32_t ClipY, int32_t ClipWidth,
                                      int32_t ClipHeight) {
    BlitClipped(ToSurface, x, y, FromSurface, FromX, FromY, Width, Height, ClipX, ClipY, ClipWidth,
                ClipHeight);
}

void TSurface::StretchBlitTransparent(int32_t ToSurface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                                      int32_t FromSurface, int32_t FromX, int32_t FromY, int32_t FromWidth,
                                      int32_t FromHeight, int32_t KeyRed, int32_t KeyGreen, int32_t KeyBlue,
                                      int32_t, int32_t, int32_t) {
    if (Width == FromWidth && Height == FromHeight)
        BlitTransparent(ToSurface, x, y, FromSurface, FromX, FromY, Width, Height, KeyRed, KeyGreen, KeyBlue);
    else
        StretchBlit(ToSurface, x, y, Width, Height, FromSurface, FromX, FromY, FromWidth, FromHeight);
}

void TSurface::StretchBlitTransparentClipped(int32_t ToSurface, int32_t x, int32_t y, int32_t Width,
                                             int32_t Height, int32_t FromSurface, int32_t FromX,
                                             int32_t FromY, int32_t FromWidth, int32_t FromHeight,
                                             int32_t KeyRed, int32_t KeyGreen, int32_t KeyBlue,
                                             int32_t BackgroundRed, int32_t BackgroundGreen,
                                             int32_t BackgroundBlue, int32_t ClipX, int32_t ClipY,
                                             int32_t ClipWidth, int32_t ClipHeight) {
    if (Width == FromWidth && Height == FromHeight) {
        BlitTransparentClipped(ToSurface, x, y, FromSurface, FromX, FromY, FromWidth, FromHeight, KeyRed,
                               KeyGreen, KeyBlue, ClipX, ClipY, ClipWidth, ClipHeight);
        return;
    }
    CheckStretchScratch(GetSurfaceRect(TEMP_SURFACE), GetSurfaceRect(STRETCH_SURFACE), ToSurface, FromSurface,
                        Width, Height, FromWidth, FromHeight);
    if (Width <= 0 || Height <= 0 || FromWidth <= 0 || FromHeight <= 0) return;
    const int32_t Source[10] = {FromSurface, FromX,  FromY,  FromWidth, FromHeight,
                                Width,       Height, KeyRed, KeyGreen,  KeyBlue};
    int32_t Place = -1, PlaceX = 0, PlaceY = 0;
    const bool Kept = StretchOnSkin && Width <= KEPT_STRETCH_SIZE && Height <= KEPT_STRETCH_SIZE &&
                      keptStretch(Source, Place);
    if (Place >= 0) {
        // The places fill the grid's cells row by row, past the scratch's two cells in each of the first two
        // rows.
        const int32_t Cell = Place + (Place < KEPT_STRETCH_COLUMNS - 2 ? 2 : 4);
        PlaceX = Cell % KEPT_STRETCH_COLUMNS * KEPT_STRETCH_SIZE;
        PlaceY = Cell / KEPT_STRETCH_COLUMNS * KEPT_STRETCH_SIZE;
    }
    if (!Kept) {
        if (StretchOnSkin)
            DrawSkin(TEMP_SURFACE, 0, 0, FromWidth + 1, FromHeight + 1, STRETCH_SKIN, 0, 0);
        else
            FillRectangle(TEMP_SURFACE, 0, 0, FromWidth + 1, FromHeight + 1, BackgroundRed, BackgroundGreen,
                          BackgroundBlue);
        BlitTransparent(TEMP_SURFACE, 0, 0, FromSurface, FromX, FromY, FromWidth, FromHeight, KeyRed,
                        KeyGreen, KeyBlue);
        StretchBlit(STRETCH_SURFACE, PlaceX, PlaceY, Width, Height, TEMP_SURFACE, 0, 0, FromWidth,
                    FromHeight);
        if (!StretchOnSkin) keyStretchedBackground(BackgroundRed, BackgroundGreen, BackgroundBlue);
        // Only now: drawing the skin may upload a tile, which forgets every kept stretch.
        if (Place >= 0) {
            std::copy(Source, Source + 10, KeptStretches[Place].Source);
            KeptStretches[Place].LastUse = ++StretchUses;
        }
    }
    BlitTransparentClipped(ToSurface, x, y, STRETCH_SURFACE, PlaceX, PlaceY, Width, Height, BackgroundRed,
                           BackgroundGreen, BackgroundBlue, ClipX, ClipY, ClipWidth, ClipHeight);
}

bool TSurface::keptStretch(const int32_t (&Source)[10], int32_t& Place) {
    Place = 0;
    for (int32_t i = 0; i < KEPT_STRETCHES; i++) {
        TKeptStretch& K = KeptStretches[i];
        if (K.LastUse != 0 && std::equal(Source, Source + 10, K.Source)) {
            Place = i;
            K.LastUse = ++StretchUses;
            return true;
        }
        if (K.LastUse < KeptStretches[Place].LastUse) Place = i;
    }
    return false;
}

void TSurface::ForgetStretches() {
    for (TKeptStretch& K : KeptStretches)
        K.LastUse = 0;
}

void TSurface::keyStretchedBackground(int32_t, int32_t, int32_t) {}

void TSurface::DrawBorder(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                          int32_t LineWidth, int32_t Red, int32_t Green, int32_t Blue) {
    if (Width < 2 * LineWidth || Height < 2 * LineWidth) {
        FillRectangle(Surface, x, y, Width, Height, Red, Green, Blue);
        return;
    }
    if (LineWidth <= 0) return;
    FillRectangle(Surface, x, y, Width, LineWidth, Red, Green, Blue);
    FillRectangle(Surface, x, y + Height - LineWidth, Width, LineWidth, Red, Green, Blue);
    const int32_t Inner = Height - 2 * LineWidth;
    if (Inner <= 0) return;
    FillRectangle(Surface, x, y + LineWidth, LineWidth, Inner, Red, Green, Blue);
    FillRectangle(Surface, x + Width - LineWidth, y + LineWidth, LineWidth, Inner, Red, Green, Blue);
}

void TSurface::DrawBorderClipped(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                                 int32_t LineWidth, int32_t Red, int32_t Green, int32_t Blue, int32_t ClipX,
                                 int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight) {
    auto Band = [&](int32_t bx, int32_t by, int32_t bw, int32_t bh) {
        FillRectangleClipped(Surface, bx, by, bw, bh, Red, Green, Blue, ClipX, ClipY, ClipWidth, ClipHeight);
    };
    if (Width < 2 * LineWidth || Height < 2 * LineWidth) {
        Band(x, y, Width, Height);
        return;
    }
    if (LineWidth <= 0) return;
    Band(x, y, Width, LineWidth);
    Band(x, y + Height - LineWidth, Width, LineWidth);
    const int32_t Inner = Height - 2 * LineWidth;
    if (Inner <= 0) return;
    Band(x, y + LineWidth, LineWidth, Inner);
    Band(x + Width - LineWidth, y + LineWidth, LineWidth, Inner);
}

bool TSurface::ClipRectangle(int32_t ClipX, int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight,
                             int32_t* Rectangle, int32_t* Adjust) {
    const int32_t ClipRight = ClipX + ClipWidth, ClipBottom = ClipY + ClipHeight;
    int32_t& Left = Rectangle[0];
    int32_t& Top = Rectangle[1];
    int32_t& Right = Rectangle[2];
    int32_t& Bottom = Rectangle[3];
    if (Left >= ClipRight || Top >= ClipBottom || Right <= ClipX || Bottom <= ClipY) return false;
    if (Left < ClipX) {
        Adjust[0] += ClipX - Left;
        Left = ClipX;
    }
    if (Top < ClipY) {
        Adjust[1] += ClipY - Top;
        Top = ClipY;
    }
    if (Right > ClipRight) {
        Adjust[2] -= Right - ClipRight;
        Right = ClipRight;
    }
    if (Bottom > ClipBottom) {
        Adjust[3] -= Bottom - ClipBottom;
        Bottom = ClipBottom;
    }
    return true;
}

double TSurface::now() {
    const uint32_t Clock = static_cast<uint32_t>(GetMilliseconds());
    Unwrapped += static_cast<uint32_t>(Clock - LastClock);
    LastClock = Clock;
    return Unwrapped;
}

void TSurface::ResetFrameClock() {
    LastClock = static_cast<uint32_t>(GetMilliseconds());
    Unwrapped = LastClock;
    LastMeasurement = NextFrame = Unwrapped;
    TargetFrameRate = 65535;
    FramePeriod = 1000.0 / TargetFrameRate;
    FramesPerSecond = 0;
    FrameCount = 0;
}

int32_t TSurface::SetFrameRate(int32_t Rate) {
    TargetFrameRate = Rate >= 10 && Rate <= 200 ? Rate : 65535;
    FramePeriod = 1000.0 / TargetFrameRate;
    return Rate;
}

void TSurface::WaitFrame() {
    const double Now = now();
    FrameCount++;
    if (Now - LastMeasurement > 1000) {
        FramesPerSecond = FrameCount * 1000.0 / (Now - LastMeasurement);
        FrameCount = 0;
        LastMeasurement = Now;
    }
    NextFrame += FramePeriod;
    if (NextFrame > Now) {
        WaitMilliseconds(static_cast<uint32_t>(NextFrame - Now));
        return;
    }
    // No catching up with several quick frames after a slow one.
    if (Now - NextFrame > 1) NextFrame = Now - 1;
}
