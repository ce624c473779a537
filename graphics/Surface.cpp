// The engine interface's shared operations: borders, clipping, frame pacing and the frame-rate measurement.
#define EBRUN_SOURCE_NAME "graphics.cpp"
#include "graphics/Surface.h"

#include "foundation/sysinc.h"
#include "graphics/Engine.h"

#include <algorithm>

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
    SetVideoMode(VMode, GMode);
    CreateSurfaces();
}

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
