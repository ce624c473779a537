// Pixel buffers in the display's format: fills, plain, colour-keyed and scaled copies and the light multiply.
#include "platform/PixelSurface.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace {

// Scratch memory of the copies (overlapping sources, scaling tables); grows, never shrinks. One thread.
std::vector<uint8_t> Scratch;
std::vector<int32_t> ColumnMap;

uint8_t* ScratchBytes(size_t Bytes) {
    if (Scratch.size() < Bytes) Scratch.resize(Bytes);
    return Scratch.data();
}

// Cuts Rect to 0..Width x 0..Height and reports how far its left and top moved.
TPixelRect CutToBounds(TPixelRect Rect, int32_t Width, int32_t Height, int32_t& MovedX, int32_t& MovedY) {
    TPixelRect Cut{std::max(Rect.Left, 0), std::max(Rect.Top, 0), std::min(Rect.Right, Width),
                   std::min(Rect.Bottom, Height)};
    MovedX = Cut.Left - Rect.Left;
    MovedY = Cut.Top - Rect.Top;
    return Cut;
}

bool Inside(const TPixelRect& Rect, int32_t Width, int32_t Height) {
    return Rect.Left >= 0 && Rect.Top >= 0 && Rect.Right <= Width && Rect.Bottom <= Height;
}

bool Intersect(const TPixelRect& A, const TPixelRect& B) {
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

template <typename P> void FillRows(uint8_t* First, int32_t Pitch, int32_t Width, int32_t Height, P Value) {
    for (int32_t y = 0; y < Height; y++)
        std::fill_n(reinterpret_cast<P*>(First + static_cast<size_t>(y) * Pitch), Width, Value);
}

// Same-size copy of Width x Height pixels between row pointers; Key skips source pixels equal to it.
template <typename P>
void CopyRows(uint8_t* To, int32_t ToPitch, const uint8_t* From, int32_t FromPitch, int32_t Width,
              int32_t Height, bool Keyed, P Key) {
    for (int32_t y = 0; y < Height; y++) {
        P* Target = reinterpret_cast<P*>(To + static_cast<size_t>(y) * ToPitch);
        const P* Source = reinterpret_cast<const P*>(From + static_cast<size_t>(y) * FromPitch);
        if (!Keyed) {
            std::memcpy(Target, Source, sizeof(P) * Width);
            continue;
        }
        for (int32_t x = 0; x < Width; x++)
            Target[x] = Source[x] == Key ? Target[x] : Source[x];
    }
}

// Scaled copy: target pixel (x, y) takes source pixel (Columns[x], ((2 (FirstRow + y) + 1) FromHeight) / (2
// FullHeight)), FirstRow being the target row's place in the uncut target rectangle of FullHeight rows.
template <typename P>
void ScaleRows(uint8_t* To, int32_t ToPitch, int32_t Width, int32_t Height, const uint8_t* From,
               int32_t FromPitch, const int32_t* Columns, int32_t FirstRow, int32_t FullHeight,
               int32_t FromHeight, bool Keyed, P Key) {
    for (int32_t y = 0; y < Height; y++) {
        int64_t Row = (2 * static_cast<int64_t>(FirstRow + y) + 1) * FromHeight /
                      (2 * static_cast<int64_t>(FullHeight));
        const P* Source = reinterpret_cast<const P*>(From + static_cast<size_t>(Row) * FromPitch);
        P* Target = reinterpret_cast<P*>(To + static_cast<size_t>(y) * ToPitch);
        for (int32_t x = 0; x < Width; x++) {
            P Value = Source[Columns[x]];
            if (!Keyed || Value != Key) Target[x] = Value;
        }
    }
}

// Source rows of a copy; when the source overlaps the target on the same surface they are copied aside first.
struct TSourceRows {
    const uint8_t* First;
    int32_t Pitch;
};

TSourceRows DetachedSource(const uint8_t* First, int32_t Pitch, int32_t RowBytes, int32_t Rows,
                           bool Overlap) {
    if (!Overlap) return {First, Pitch};
    uint8_t* Copy = ScratchBytes(static_cast<size_t>(RowBytes) * Rows);
    for (int32_t y = 0; y < Rows; y++)
        std::memcpy(Copy + static_cast<size_t>(y) * RowBytes, First + static_cast<size_t>(y) * Pitch,
                    RowBytes);
    return {Copy, RowBytes};
}

// One colour channel of a shaded quad along a row: the exact value floor(V / E) kept as quotient and
// remainder, so that stepping along the row adds without drift.
struct TChannelWalk {
    int64_t Quotient, Remainder, StepQuotient, StepRemainder, Denominator;

    void start(int64_t V, int64_t Step, int64_t E) {
        Denominator = E;
        Quotient = FloorDiv(V, E);
        Remainder = V - Quotient * E;
        StepQuotient = FloorDiv(Step, E);
        StepRemainder = Step - StepQuotient * E;
    }
    void next() {
        Quotient += StepQuotient;
        Remainder += StepRemainder;
        if (Remainder >= Denominator) {
            Remainder -= Denominator;
            Quotient++;
        }
    }
    uint32_t value() const { return static_cast<uint32_t>(std::clamp<int64_t>(Quotient, 0, 255)); }
    static int64_t FloorDiv(int64_t A, int64_t B) { return A >= 0 ? A / B : -((-A + B - 1) / B); }
};

inline uint32_t Multiply255(uint32_t d, uint32_t l) { return (d * l + 127) / 255; }

template <typename P> P MultiplyPixel(P Pixel, uint32_t r, uint32_t g, uint32_t b);

template <> uint32_t MultiplyPixel<uint32_t>(uint32_t Pixel, uint32_t r, uint32_t g, uint32_t b) {
    return Multiply255((Pixel >> 16) & 0xFF, r) << 16 | Multiply255((Pixel >> 8) & 0xFF, g) << 8 |
           Multiply255(Pixel & 0xFF, b);
}

template <> uint16_t MultiplyPixel<uint16_t>(uint16_t Pixel, uint32_t r, uint32_t g, uint32_t b) {
    uint32_t r5 = Pixel >> 11, g6 = (Pixel >> 5) & 0x3F, b5 = Pixel & 0x1F;
    uint32_t R = Multiply255(r5 << 3 | r5 >> 2, r) >> 3;
    uint32_t G = Multiply255(g6 << 2 | g6 >> 4, g) >> 2;
    uint32_t B = Multiply255(b5 << 3 | b5 >> 2, b) >> 3;
    return static_cast<uint16_t>(R << 11 | G << 5 | B);
}

// Corner colours of one quad, clamped: [corner][channel], corners top left, top right, bottom left, bottom
// right.
struct TQuadColors {
    int64_t C[4][3];
};

// Multiplies the pixels k = k0 .. k1-1 of quad row j (surface row pointer Row at the quad's x) by the
// interpolated colour. With Q = 4wh, the colour times Q is, in the upper-left triangle,
// C00 Q + (C10 - C00)(2k + 1) 2h + (C01 - C00)(2j + 1) 2w and, in the lower-right one,
// C11 Q + (C01 - C11)(2w - 2k - 1) 2h + (C10 - C11)(2h - 2j - 1) 2w; rounding adds Q / 2.
template <typename P>
void ShadeRowSegment(P* Row, const TQuadColors& Q, int64_t w, int64_t h, int64_t j, int32_t k0, int32_t k1,
                     bool Upper) {
    if (k0 >= k1) return;
    const int64_t Denominator = 4 * w * h, E = 2 * Denominator;
    TChannelWalk Walk[3];
    for (int c = 0; c < 3; c++) {
        int64_t N, Step;
        if (Upper) {
            N = Q.C[0][c] * Denominator + (Q.C[1][c] - Q.C[0][c]) * (2 * k0 + 1) * 2 * h +
                (Q.C[2][c] - Q.C[0][c]) * (2 * j + 1) * 2 * w;
            Step = (Q.C[1][c] - Q.C[0][c]) * 4 * h;
        } else {
            N = Q.C[3][c] * Denominator + (Q.C[2][c] - Q.C[3][c]) * (2 * w - 2 * k0 - 1) * 2 * h +
                (Q.C[1][c] - Q.C[3][c]) * (2 * h - 2 * j - 1) * 2 * w;
            Step = (Q.C[3][c] - Q.C[2][c]) * 4 * h;
        }
        Walk[c].start(2 * N + Denominator, 2 * Step, E);
    }
    for (int32_t k = k0; k < k1; k++) {
        Row[k] = MultiplyPixel<P>(Row[k], Walk[0].value(), Walk[1].value(), Walk[2].value());
        for (TChannelWalk& W : Walk)
            W.next();
    }
}

template <typename P>
void ShadeQuad(uint8_t* Pixels, int32_t Pitch, int32_t SurfaceWidth, int32_t SurfaceHeight, const int32_t* R,
               const TQuadColors& Q) {
    const int64_t w = R[2], h = R[3];
    const int32_t x0 = std::max(R[0], 0),
                  x1 = static_cast<int32_t>(std::min<int64_t>(R[0] + w, SurfaceWidth));
    const int32_t y0 = std::max(R[1], 0),
                  y1 = static_cast<int32_t>(std::min<int64_t>(R[1] + h, SurfaceHeight));
    for (int32_t y = y0; y < y1; y++) {
        const int64_t j = y - R[1];
        // Pixels k with (2k + 1) h + (2j + 1) w <= 2wh lie in the upper-left triangle.
        const int64_t M = 2 * w * h - (2 * j + 1) * w;
        const int64_t UpperCount = M < h ? 0 : std::min<int64_t>(w, (M - h) / (2 * h) + 1);
        const int32_t kStart = x0 - R[0], kEnd = x1 - R[0];
        const int32_t Split = static_cast<int32_t>(std::clamp<int64_t>(UpperCount, kStart, kEnd));
        P* Row = reinterpret_cast<P*>(Pixels + static_cast<size_t>(y) * Pitch) + R[0];
        ShadeRowSegment<P>(Row, Q, w, h, j, kStart, Split, true);
        ShadeRowSegment<P>(Row, Q, w, h, j, Split, kEnd, false);
    }
}

} // namespace

const TPixelFormat& PixelFormatForBits(int32_t Bits) {
    return Bits == 16 ? PIXEL_FORMAT_565 : PIXEL_FORMAT_8888;
}

int64_t SurfaceBytes(int32_t Width, int32_t Height, const TPixelFormat& Format) {
    return static_cast<int64_t>(Width) * Height * Format.BytesPerPixel;
}

TPixelSurface::TPixelSurface(int32_t Width, int32_t Height, const TPixelFormat& Format, TSurfaceMemory Memory,
                             uint32_t Caps, std::shared_ptr<TVideoMemoryPool> Pool)
    : Width(std::max(Width, 0)), Height(std::max(Height, 0)), Pitch(this->Width * Format.BytesPerPixel),
      Format(Format), Memory(Memory), Caps(Caps), Pool(std::move(Pool)) {
    if (!isPrimary()) Pixels = std::make_unique<uint8_t[]>(static_cast<size_t>(Pitch) * this->Height);
}

TPixelSurface::~TPixelSurface() {
    if (Pool) Pool->giveBack(SurfaceBytes(Width, Height, Format));
}

TPlatformResult TPixelSurface::drawable() const {
    if (Lost) return PLATFORM_SURFACE_LOST;
    if (isPrimary()) return PLATFORM_NOT_DRAWABLE;
    return PLATFORM_OK;
}

TPlatformResult TPixelSurface::lock(TLockedPixels& Locked) {
    TPlatformResult Result = drawable();
    if (Result != PLATFORM_OK) return Result;
    Locked.Pixels = Pixels.get();
    Locked.Pitch = Pitch;
    return PLATFORM_OK;
}

uint32_t TPixelSurface::getPixel(int32_t x, int32_t y) const {
    if (isPrimary() || x < 0 || y < 0 || x >= Width || y >= Height) return 0;
    const uint8_t* At = row(y) + static_cast<size_t>(x) * Format.BytesPerPixel;
    if (Format.BytesPerPixel == 2) return *reinterpret_cast<const uint16_t*>(At);
    return *reinterpret_cast<const uint32_t*>(At);
}

TPlatformResult TPixelSurface::fill(TPixelRect Rect, uint32_t Pixel) {
    TPlatformResult Result = drawable();
    if (Result != PLATFORM_OK) return Result;
    if (Rect.width() <= 0 || Rect.height() <= 0) return PLATFORM_INVALID_RECT;
    int32_t MovedX, MovedY;
    TPixelRect Cut = CutToBounds(Rect, Width, Height, MovedX, MovedY);
    if (Cut.width() <= 0 || Cut.height() <= 0) return PLATFORM_OK;
    uint8_t* First = row(Cut.Top) + static_cast<size_t>(Cut.Left) * Format.BytesPerPixel;
    if (Format.BytesPerPixel == 2)
        FillRows<uint16_t>(First, Pitch, Cut.width(), Cut.height(), static_cast<uint16_t>(Pixel));
    else
        FillRows<uint32_t>(First, Pitch, Cut.width(), Cut.height(), Pixel);
    return PLATFORM_OK;
}

TPlatformResult TPixelSurface::blit(TPixelRect To, const TPixelSurface& From, TPixelRect FromRect,
                                    bool UseSourceKey) {
    TPlatformResult Result = drawable();
    if (Result == PLATFORM_OK) Result = From.drawable();
    if (Result != PLATFORM_OK) return Result;
    if (From.Format.BytesPerPixel != Format.BytesPerPixel) return PLATFORM_UNSUPPORTED;
    if (To.width() <= 0 || To.height() <= 0 || FromRect.width() <= 0 || FromRect.height() <= 0)
        return PLATFORM_INVALID_RECT;
    if (To.width() == FromRect.width() && To.height() == FromRect.height())
        return copyFrom(To, From, FromRect, UseSourceKey);
    if (!Inside(FromRect, From.Width, From.Height)) return PLATFORM_INVALID_RECT;
    return scaleFrom(To, From, FromRect, UseSourceKey);
}

TPlatformResult TPixelSurface::copyFrom(TPixelRect To, const TPixelSurface& From, TPixelRect FromRect,
                                        bool UseSourceKey) {
    const int32_t Bpp = Format.BytesPerPixel;
    int32_t dx, dy, sx, sy;
    To = CutToBounds(To, Width, Height, dx, dy);
    FromRect = {FromRect.Left + dx, FromRect.Top + dy, FromRect.Left + dx + To.width(),
                FromRect.Top + dy + To.height()};
    FromRect = CutToBounds(FromRect, From.Width, From.Height, sx, sy);
    To = {To.Left + sx, To.Top + sy, To.Left + sx + FromRect.width(), To.Top + sy + FromRect.height()};
    if (To.width() <= 0 || To.height() <= 0) return PLATFORM_OK;
    TSourceRows Source =
        DetachedSource(From.row(FromRect.Top) + static_cast<size_t>(FromRect.Left) * Bpp, From.Pitch,
                       FromRect.width() * Bpp, FromRect.height(), &From == this && Intersect(To, FromRect));
    uint8_t* Target = row(To.Top) + static_cast<size_t>(To.Left) * Bpp;
    if (Bpp == 2)
        CopyRows<uint16_t>(Target, Pitch, Source.First, Source.Pitch, To.width(), To.height(), UseSourceKey,
                           static_cast<uint16_t>(From.SourceKey));
    else
        CopyRows<uint32_t>(Target, Pitch, Source.First, Source.Pitch, To.width(), To.height(), UseSourceKey,
                           From.SourceKey);
    return PLATFORM_OK;
}

TPlatformResult TPixelSurface::scaleFrom(TPixelRect To, const TPixelSurface& From, TPixelRect FromRect,
                                         bool UseSourceKey) {
    const int32_t Bpp = Format.BytesPerPixel;
    const TPixelRect Full = To;
    int32_t dx, dy;
    To = CutToBounds(To, Width, Height, dx, dy);
    if (To.width() <= 0 || To.height() <= 0) return PLATFORM_OK;
    TSourceRows Source =
        DetachedSource(From.row(FromRect.Top) + static_cast<size_t>(FromRect.Left) * Bpp, From.Pitch,
                       FromRect.width() * Bpp, FromRect.height(), &From == this && Intersect(To, FromRect));
    // Target column i of the full rectangle takes source column ((2i + 1) * source width) / (2 * target
    // width).
    if (ColumnMap.size() < static_cast<size_t>(To.width())) ColumnMap.resize(To.width());
    for (int32_t x = 0; x < To.width(); x++)
        ColumnMap[x] = static_cast<int32_t>((2 * static_cast<int64_t>(dx + x) + 1) * FromRect.width() /
                                            (2 * static_cast<int64_t>(Full.width())));
    uint8_t* Target = row(To.Top) + static_cast<size_t>(To.Left) * Bpp;
    if (Bpp == 2)
        ScaleRows<uint16_t>(Target, Pitch, To.width(), To.height(), Source.First, Source.Pitch,
                            ColumnMap.data(), dy, Full.height(), FromRect.height(), UseSourceKey,
                            static_cast<uint16_t>(From.SourceKey));
    else
        ScaleRows<uint32_t>(Target, Pitch, To.width(), To.height(), Source.First, Source.Pitch,
                            ColumnMap.data(), dy, Full.height(), FromRect.height(), UseSourceKey,
                            From.SourceKey);
    return PLATFORM_OK;
}

TPlatformResult TPixelSurface::multiplyShadedQuads(int32_t Count, const int32_t* Rectangles,
                                                   const int32_t* Colors) {
    TPlatformResult Result = drawable();
    if (Result != PLATFORM_OK) return Result;
    if (Count < 0 || (Count > 0 && (Rectangles == nullptr || Colors == nullptr)))
        return PLATFORM_INVALID_RECT;
    for (int32_t i = 0; i < Count; i++) {
        const int32_t* R = Rectangles + 4 * i;
        if (R[2] <= 0 || R[3] <= 0) continue;
        TQuadColors Q;
        for (int Corner = 0; Corner < 4; Corner++)
            for (int c = 0; c < 3; c++)
                Q.C[Corner][c] = std::clamp(Colors[12 * i + 3 * Corner + c], 0, 255);
        if (Format.BytesPerPixel == 2)
            ShadeQuad<uint16_t>(Pixels.get(), Pitch, Width, Height, R, Q);
        else
            ShadeQuad<uint32_t>(Pixels.get(), Pitch, Width, Height, R, Q);
    }
    return PLATFORM_OK;
}
