// Pixel buffers in the display's format: fills, plain, colour-keyed and scaled copies and the light multiply.
#include "platform/PixelSurface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#define EBRUN_AVX2 __attribute__((target("avx2")))
#endif
#include <new>
#include <vector>

namespace {

// Scratch memory of the copies (overlapping sources, scaling tables); grows, never shrinks. One thread.
std::vector<uint8_t> Scratch;
std::vector<int32_t> ColumnMap;
std::vector<uint32_t> LightRow; // the light of a quad's part of one row, with room for a round past it

uint8_t* ScratchBytes(size_t Bytes) {
    if (Scratch.size() < Bytes) Scratch.resize(Bytes);
    return Scratch.data();
}

// Rect cut to 0..Width x 0..Height.
TPixelRect CutToBounds(TPixelRect Rect, int32_t Width, int32_t Height) {
    return {std::max(Rect.Left, 0), std::max(Rect.Top, 0), std::min(Rect.Right, Width),
            std::min(Rect.Bottom, Height)};
}

// Sides and moves in 64 bits: a rectangle may span the whole range of its coordinates.
int64_t Span(int32_t Low, int32_t High) { return int64_t{High} - Low; }

bool Inside(const TPixelRect& Rect, int32_t Width, int32_t Height) {
    return Rect.Left >= 0 && Rect.Top >= 0 && Rect.Right <= Width && Rect.Bottom <= Height;
}

bool Intersect(const TPixelRect& A, const TPixelRect& B) {
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

// The tier the loops run. Each copy, run of quads or row reads it once, outside its inner loop.
TPixelTier RunningTier = DefaultPixelTier();

#if defined(EBRUN_AVX2)
bool UseAvx2() { return RunningTier == PIXELS_AVX2; }
#endif

// Copies N pixels (Width when N is 0) other than Key. The rows of one copy never overlap (an overlapping
// source is copied aside first). A fixed N, the width of a tile or a glyph, lets the row be copied without
// any loop bookkeeping.
template <typename P, int N>
__attribute__((always_inline)) inline void KeyedRow(P* __restrict Target, const P* __restrict Source,
                                                    int32_t Width, P Key) {
    const int32_t Count = N > 0 ? N : Width;
    for (int32_t x = 0; x < Count; x++)
        Target[x] = Source[x] == Key ? Target[x] : Source[x];
}

template <typename P, int N>
__attribute__((always_inline)) inline void KeyedRowsOf(uint8_t* To, int32_t ToPitch, const uint8_t* From,
                                                       int32_t FromPitch, int32_t Width, int32_t Height,
                                                       P Key) {
    for (int32_t y = 0; y < Height; y++)
        KeyedRow<P, N>(reinterpret_cast<P*>(To + static_cast<size_t>(y) * ToPitch),
                       reinterpret_cast<const P*>(From + static_cast<size_t>(y) * FromPitch), Width, Key);
}

// Runs Rows.operator()<N> with N the width of a glyph or a tile that Width is (8, 16 or 32), else 0.
template <typename TRows>
__attribute__((always_inline)) inline void WithFixedWidth(int32_t Width, TRows Rows) {
    switch (Width) {
    case 8:
        return Rows.template operator()<8>();
    case 16:
        return Rows.template operator()<16>();
    case 32:
        return Rows.template operator()<32>();
    default:
        return Rows.template operator()<0>();
    }
}

// Height keyed rows, Pitch bytes apart.
template <typename P>
void KeyedRows(uint8_t* To, int32_t ToPitch, const uint8_t* From, int32_t FromPitch, int32_t Width,
               int32_t Height, P Key) {
    WithFixedWidth(Width,
                   [&]<int N>() { KeyedRowsOf<P, N>(To, ToPitch, From, FromPitch, Width, Height, Key); });
}

#if defined(EBRUN_AVX2)
// The keyed row 32 bytes at a time: a round of key pixels only leaves the target untouched (no read, no
// write), a round without any is stored without reading the target (whose read would wait for memory); the
// others are blended with the target.
template <typename P, int N>
EBRUN_AVX2 __attribute__((always_inline)) inline void KeyedRowAvx2(uint8_t* __restrict Target,
                                                                   const uint8_t* __restrict Source,
                                                                   int32_t Width, __m256i Keys, P Key) {
    const int32_t Bytes = static_cast<int32_t>(sizeof(P)) * (N > 0 ? N : Width);
    int32_t i = 0;
    for (; i + 32 <= Bytes; i += 32) {
        const __m256i Pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Source + i));
        const __m256i IsKey =
            sizeof(P) == 4 ? _mm256_cmpeq_epi32(Pixels, Keys) : _mm256_cmpeq_epi16(Pixels, Keys);
        const uint32_t Mask = static_cast<uint32_t>(_mm256_movemask_epi8(IsKey));
        if (Mask == 0xFFFFFFFFu) continue;
        __m256i* At = reinterpret_cast<__m256i*>(Target + i);
        _mm256_storeu_si256(At,
                            Mask == 0 ? Pixels : _mm256_blendv_epi8(Pixels, _mm256_loadu_si256(At), IsKey));
    }
    if (i < Bytes)
        KeyedRow<P, 0>(reinterpret_cast<P*>(Target + i), reinterpret_cast<const P*>(Source + i),
                       (Bytes - i) / static_cast<int32_t>(sizeof(P)), Key);
}

template <typename P, int N>
EBRUN_AVX2 __attribute__((always_inline)) inline void KeyedRowsOfAvx2(uint8_t* To, int32_t ToPitch,
                                                                      const uint8_t* From, int32_t FromPitch,
                                                                      int32_t Width, int32_t Height, P Key) {
    const __m256i Keys = sizeof(P) == 4 ? _mm256_set1_epi32(static_cast<int32_t>(Key))
                                        : _mm256_set1_epi16(static_cast<int16_t>(Key));
    for (int32_t y = 0; y < Height; y++)
        KeyedRowAvx2<P, N>(To + static_cast<size_t>(y) * ToPitch, From + static_cast<size_t>(y) * FromPitch,
                           Width, Keys, Key);
}

template <typename P>
EBRUN_AVX2 void KeyedRowsAvx2(uint8_t* To, int32_t ToPitch, const uint8_t* From, int32_t FromPitch,
                              int32_t Width, int32_t Height, P Key) {
    WithFixedWidth(Width, [&]<int N>() EBRUN_AVX2 {
        KeyedRowsOfAvx2<P, N>(To, ToPitch, From, FromPitch, Width, Height, Key);
    });
}
#endif

template <typename P> void FillRows(uint8_t* First, int32_t Pitch, int32_t Width, int32_t Height, P Value) {
    for (int32_t y = 0; y < Height; y++)
        std::fill_n(reinterpret_cast<P*>(First + static_cast<size_t>(y) * Pitch), Width, Value);
}

// Same-size copy of Width x Height pixels between row pointers; Key skips source pixels equal to it.
template <typename P>
void CopyRows(uint8_t* To, int32_t ToPitch, const uint8_t* From, int32_t FromPitch, int32_t Width,
              int32_t Height, bool Keyed, P Key) {
    if (!Keyed) {
        // A tile's or a glyph's rows in a fixed length need no library call.
        WithFixedWidth(Width, [&]<int N>() {
            for (int32_t y = 0; y < Height; y++)
                std::memcpy(To + static_cast<size_t>(y) * ToPitch, From + static_cast<size_t>(y) * FromPitch,
                            sizeof(P) * (N > 0 ? N : Width));
        });
        return;
    }
#if defined(EBRUN_AVX2)
    if (UseAvx2()) return KeyedRowsAvx2(To, ToPitch, From, FromPitch, Width, Height, Key);
#endif
    KeyedRows(To, ToPitch, From, FromPitch, Width, Height, Key);
}

// The columns of a scaled copy: target pixel x takes source pixel Columns[x]. In rounds of eight target
// pixels: where a round takes its pixels from the eight source pixels from First on (an enlargement), Place
// and Bytes put them in order (as 32-bit and as 16-bit pixels); First is -1 where they lie further apart or
// would read past the source row.
struct TGatherRound {
    int32_t First;
    int32_t Place[8];
    uint8_t Bytes[16];
};

struct TColumns {
    const int32_t* Columns;
    const TGatherRound* Rounds;
    int32_t Width;
};

std::vector<TGatherRound> GatherRounds;

// What the columns of a scaled copy depend on: the first target column's place in the uncut target
// rectangle, the target columns, the uncut rectangle's width and the source's width.
struct TColumnsKey {
    int32_t First, Width, FullWidth, SourceWidth;
    bool operator==(const TColumnsKey&) const = default;
};
TColumnsKey Planned{0, 0, 0, 0}; // the key of ColumnMap and GatherRounds

// Target column x takes source column ((2 (First + x) + 1) SourceWidth) / (2 FullWidth). The plan is kept
// for the next copy of the same columns: a picture stretched in parts, or again in the next frame.
TColumns PlanColumns(int32_t First, int32_t Width, int32_t FullWidth, int32_t SourceWidth) {
    const TColumnsKey Key{First, Width, FullWidth, SourceWidth};
    if (Key == Planned) return {ColumnMap.data(), GatherRounds.data(), Width};
    if (ColumnMap.size() < static_cast<size_t>(Width)) ColumnMap.resize(Width);
    for (int32_t x = 0; x < Width; x++)
        ColumnMap[x] = static_cast<int32_t>((2 * static_cast<int64_t>(First + x) + 1) * SourceWidth /
                                            (2 * static_cast<int64_t>(FullWidth)));
    GatherRounds.resize(static_cast<size_t>(Width / 8));
    for (int32_t r = 0; r < Width / 8; r++) {
        const int32_t* C = ColumnMap.data() + 8 * r;
        TGatherRound& Round = GatherRounds[r];
        Round.First = C[7] - C[0] < 8 && C[0] + 8 <= SourceWidth ? C[0] : -1;
        for (int32_t i = 0; i < 8; i++) {
            Round.Place[i] = C[i] - C[0];
            Round.Bytes[2 * i] = static_cast<uint8_t>(2 * Round.Place[i]);
            Round.Bytes[2 * i + 1] = static_cast<uint8_t>(2 * Round.Place[i] + 1);
        }
    }
    Planned = Key;
    return {ColumnMap.data(), GatherRounds.data(), Width};
}

#if defined(EBRUN_AVX2)
EBRUN_AVX2 void GatherRowAvx2(uint32_t* Target, const uint32_t* Source, const TColumns& Plan) {
    int32_t x = 0;
    for (const TGatherRound* Round = Plan.Rounds; x + 8 <= Plan.Width; x += 8, Round++) {
        __m256i Pixels;
        if (Round->First >= 0)
            Pixels = _mm256_permutevar8x32_epi32(
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Source + Round->First)),
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Round->Place)));
        else
            Pixels = _mm256_i32gather_epi32(
                reinterpret_cast<const int*>(Source),
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Plan.Columns + x)), 4);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(Target + x), Pixels);
    }
    for (; x < Plan.Width; x++)
        Target[x] = Source[Plan.Columns[x]];
}

EBRUN_AVX2 void GatherRowAvx2(uint16_t* Target, const uint16_t* Source, const TColumns& Plan) {
    int32_t x = 0;
    for (const TGatherRound* Round = Plan.Rounds; x + 8 <= Plan.Width; x += 8, Round++) {
        if (Round->First < 0) {
            for (int32_t i = 0; i < 8; i++)
                Target[x + i] = Source[Plan.Columns[x + i]];
            continue;
        }
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(Target + x),
            _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Source + Round->First)),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(Round->Bytes))));
    }
    for (; x < Plan.Width; x++)
        Target[x] = Source[Plan.Columns[x]];
}
#endif

template <typename P> void GatherRow(P* Target, const P* Source, const TColumns& Plan) {
#if defined(EBRUN_AVX2)
    if (UseAvx2()) return GatherRowAvx2(Target, Source, Plan);
#endif
    for (int32_t x = 0; x < Plan.Width; x++)
        Target[x] = Source[Plan.Columns[x]];
}

// Scaled copy: target pixel (x, y) takes source pixel (Plan.Columns[x], ((2 (FirstRow + y) + 1) FromHeight) /
// (2 FullHeight)), FirstRow being the target row's place in the uncut target rectangle of FullHeight rows. A
// row that takes the same source row as the one above is a copy of it when nothing is keyed.
template <typename P>
void ScaleRows(uint8_t* To, int32_t ToPitch, int32_t Height, const uint8_t* From, int32_t FromPitch,
               const TColumns& Plan, int32_t FirstRow, int32_t FullHeight, int32_t FromHeight, bool Keyed,
               P Key) {
    const int32_t Width = Plan.Width;
    const int32_t* Columns = Plan.Columns;
    int64_t Previous = -1;
    for (int32_t y = 0; y < Height; y++) {
        const int64_t Row = (2 * static_cast<int64_t>(FirstRow + y) + 1) * FromHeight /
                            (2 * static_cast<int64_t>(FullHeight));
        P* Target = reinterpret_cast<P*>(To + static_cast<size_t>(y) * ToPitch);
        if (!Keyed && Row == Previous) {
            std::memcpy(Target, To + static_cast<size_t>(y - 1) * ToPitch, sizeof(P) * Width);
            continue;
        }
        Previous = Row;
        const P* Source = reinterpret_cast<const P*>(From + static_cast<size_t>(Row) * FromPitch);
        if (Keyed) {
            for (int32_t x = 0; x < Width; x++) {
                const P Value = Source[Columns[x]];
                if (Value != Key) Target[x] = Value;
            }
        } else {
            GatherRow(Target, Source, Plan);
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

// The light multiply of a channel d by a light l (0 to 255) as the graphics device's blending computes it:
// (x + (x >> 8) + 128) >> 8 with x = d l. That is d l / 255 rounded to the nearest, except for x = 255 k +
// 128 with k of 129 or more, which gives k, not k + 1.
inline uint32_t Multiply255(uint32_t d, uint32_t l) {
    const uint32_t x = d * l;
    return (x + (x >> 8) + 128) >> 8;
}

template <typename P> P MultiplyPixel(P Pixel, uint32_t r, uint32_t g, uint32_t b);

template <> uint32_t MultiplyPixel<uint32_t>(uint32_t Pixel, uint32_t r, uint32_t g, uint32_t b) {
    return Multiply255((Pixel >> 16) & 0xFF, r) << 16 | Multiply255((Pixel >> 8) & 0xFF, g) << 8 |
           Multiply255(Pixel & 0xFF, b);
}

// At 16 bits each channel is multiplied in its own precision and rounded once, as blending into a 5-6-5
// target does, c of 5 or 6 bits in place of d.
template <> uint16_t MultiplyPixel<uint16_t>(uint16_t Pixel, uint32_t r, uint32_t g, uint32_t b) {
    return static_cast<uint16_t>(Multiply255(Pixel >> 11, r) << 11 |
                                 Multiply255((Pixel >> 5) & 0x3F, g) << 5 | Multiply255(Pixel & 0x1F, b));
}

// The colour of one triangle of a quad as a plane over the quad's pixels, per channel in 16.16 fixed point
// with half a unit added: at pixel (k, j) of the quad the channel is (Base + k Dk + j Dj) >> 16. Both slopes
// are rounded once per quad; over a quad of up to 65,535 pixels a side they drift by less than half a unit.
struct TColourPlane {
    int32_t Base[3], Dk[3], Dj[3];
};

int32_t Fixed(int64_t Numerator, int64_t Denominator) {
    const int64_t Scaled = Numerator * 65536;
    return static_cast<int32_t>(Scaled >= 0 ? (2 * Scaled + Denominator) / (2 * Denominator)
                                            : -((-2 * Scaled + Denominator) / (2 * Denominator)));
}

// The plane through a corner colour C at pixel centre (0.5, 0.5) moving by Along over the width and by Down
// over the height: C + Along (k + 0.5) / w + Down (j + 0.5) / h.
void SetPlane(TColourPlane& Plane, int c, int32_t C, int32_t Along, int32_t Down, int32_t w, int32_t h) {
    Plane.Dk[c] = Fixed(Along, w);
    Plane.Dj[c] = Fixed(Down, h);
    Plane.Base[c] = C * 65536 + Fixed(Along, 2 * w) + Fixed(Down, 2 * h) + 0x8000;
}

// The light of Count pixels as X-8-8-8 values: per channel (red, green, blue) 16.16 from Start, half a unit
// added, moving by Step per pixel.
__attribute__((always_inline)) inline void LightSpan(uint32_t* Light, int32_t Count, const int32_t* Start,
                                                     const int32_t* Step) {
    uint32_t r = static_cast<uint32_t>(Start[0]), g = static_cast<uint32_t>(Start[1]),
             b = static_cast<uint32_t>(Start[2]);
    const uint32_t dr = static_cast<uint32_t>(Step[0]), dg = static_cast<uint32_t>(Step[1]),
                   db = static_cast<uint32_t>(Step[2]);
    for (int32_t i = 0; i < Count; i++, r += dr, g += dg, b += db)
        Light[i] = (r & 0xFF0000) | (g >> 8 & 0xFF00) | b >> 16;
}

#if defined(EBRUN_AVX2)
// Eight lights as X-8-8-8 values from their channels in 16.16, as LightSpan packs them.
EBRUN_AVX2 inline __m256i PackedLights(__m256i r, __m256i g, __m256i b) {
    return _mm256_or_si256(
        _mm256_or_si256(_mm256_and_si256(r, _mm256_set1_epi32(0xFF0000)),
                        _mm256_and_si256(_mm256_srli_epi32(g, 8), _mm256_set1_epi32(0xFF00))),
        _mm256_srli_epi32(b, 16));
}

// Eight lights at a time; the last round may write up to seven lights past Count (the row has room for them,
// and the next span or nothing reads them).
EBRUN_AVX2 void LightSpanAvx2(uint32_t* Light, int32_t Count, const int32_t* Start, const int32_t* Step) {
    const __m256i Steps = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i r =
        _mm256_add_epi32(_mm256_set1_epi32(Start[0]), _mm256_mullo_epi32(Steps, _mm256_set1_epi32(Step[0])));
    __m256i g =
        _mm256_add_epi32(_mm256_set1_epi32(Start[1]), _mm256_mullo_epi32(Steps, _mm256_set1_epi32(Step[1])));
    __m256i b =
        _mm256_add_epi32(_mm256_set1_epi32(Start[2]), _mm256_mullo_epi32(Steps, _mm256_set1_epi32(Step[2])));
    const __m256i dr = _mm256_set1_epi32(8 * Step[0]), dg = _mm256_set1_epi32(8 * Step[1]),
                  db = _mm256_set1_epi32(8 * Step[2]);
    for (int32_t i = 0; i < Count; i += 8) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(Light + i), PackedLights(r, g, b));
        r = _mm256_add_epi32(r, dr);
        g = _mm256_add_epi32(g, dg);
        b = _mm256_add_epi32(b, db);
    }
}
#endif

// Multiplies Count pixels by the light beside them, one by one.
template <typename P> void MultiplyEach(P* Pixels, const uint32_t* Light, int32_t Count) {
    for (int32_t i = 0; i < Count; i++)
        Pixels[i] = MultiplyPixel<P>(Pixels[i], Light[i] >> 16 & 0xFF, Light[i] >> 8 & 0xFF, Light[i] & 0xFF);
}

#if defined(__SSE2__)
// Multiply255 in 16-bit lanes (no lane overflows: x + (x >> 8) + 128 stays below 65,536).
inline __m128i Multiply255Lanes(__m128i d, __m128i l) {
    const __m128i X = _mm_mullo_epi16(d, l);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(X, _mm_srli_epi16(X, 8)), _mm_set1_epi16(128)), 8);
}

// Multiplies Count pixels by the light beside them. X-8-8-8 pixels four at a time in 16-bit lanes; the X
// byte becomes 0.
void MultiplyRow(uint32_t* Pixels, const uint32_t* Light, int32_t Count) {
    const __m128i Zero = _mm_setzero_si128();
    int32_t i = 0;
    for (; i + 4 <= Count; i += 4) {
        const __m128i D = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Pixels + i));
        const __m128i L = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Light + i));
        const __m128i Low = Multiply255Lanes(_mm_unpacklo_epi8(D, Zero), _mm_unpacklo_epi8(L, Zero));
        const __m128i High = Multiply255Lanes(_mm_unpackhi_epi8(D, Zero), _mm_unpackhi_epi8(L, Zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Pixels + i), _mm_packus_epi16(Low, High));
    }
    MultiplyEach(Pixels + i, Light + i, Count - i);
}

// One channel of eight lights (the byte at Shift) in 16-bit lanes.
inline __m128i LightChannel(__m128i Low, __m128i High, int Shift) {
    const __m128i Byte = _mm_set1_epi32(0xFF);
    return _mm_packs_epi32(_mm_and_si128(_mm_srl_epi32(Low, _mm_cvtsi32_si128(Shift)), Byte),
                           _mm_and_si128(_mm_srl_epi32(High, _mm_cvtsi32_si128(Shift)), Byte));
}

// 5-6-5 pixels, eight at a time.
void MultiplyRow(uint16_t* Pixels, const uint32_t* Light, int32_t Count) {
    const __m128i Mask5 = _mm_set1_epi16(0x1F), Mask6 = _mm_set1_epi16(0x3F);
    int32_t i = 0;
    for (; i + 8 <= Count; i += 8) {
        const __m128i P = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Pixels + i));
        const __m128i Low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Light + i));
        const __m128i High = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Light + i + 4));
        const __m128i R = Multiply255Lanes(_mm_srli_epi16(P, 11), LightChannel(Low, High, 16));
        const __m128i G =
            Multiply255Lanes(_mm_and_si128(_mm_srli_epi16(P, 5), Mask6), LightChannel(Low, High, 8));
        const __m128i B = Multiply255Lanes(_mm_and_si128(P, Mask5), LightChannel(Low, High, 0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Pixels + i),
                         _mm_or_si128(_mm_or_si128(_mm_slli_epi16(R, 11), _mm_slli_epi16(G, 5)), B));
    }
    MultiplyEach(Pixels + i, Light + i, Count - i);
}
#else
// Other processors: pixel by pixel.
template <typename P> void MultiplyRow(P* Pixels, const uint32_t* Light, int32_t Count) {
    MultiplyEach(Pixels, Light, Count);
}
#endif

#if defined(EBRUN_AVX2)
EBRUN_AVX2 inline __m256i Multiply255Lanes(__m256i d, __m256i l) {
    const __m256i X = _mm256_mullo_epi16(d, l);
    return _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_add_epi16(X, _mm256_srli_epi16(X, 8)), _mm256_set1_epi16(128)), 8);
}

// Eight X-8-8-8 pixels by lights given as their blue and red (Even: the even bytes in 16-bit lanes) and their
// green (Odd: the odd bytes, the X byte's 0). Each byte is multiplied in its 16-bit lane; the odd results are
// kept in the lanes' high bytes. The X byte becomes 0.
EBRUN_AVX2 inline void MultiplySplit(uint32_t* Pixels, __m256i Even, __m256i Odd) {
    const __m256i LowByte = _mm256_set1_epi16(0xFF),
                  HighByte = _mm256_set1_epi16(static_cast<int16_t>(0xFF00)), Half = _mm256_set1_epi16(128);
    const __m256i D = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Pixels));
    const __m256i E = _mm256_mullo_epi16(_mm256_and_si256(D, LowByte), Even);
    const __m256i O = _mm256_mullo_epi16(_mm256_srli_epi16(D, 8), Odd);
    const __m256i EvenProducts =
        _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(E, _mm256_srli_epi16(E, 8)), Half), 8);
    const __m256i OddProducts =
        _mm256_and_si256(_mm256_add_epi16(_mm256_add_epi16(O, _mm256_srli_epi16(O, 8)), Half), HighByte);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(Pixels), _mm256_or_si256(EvenProducts, OddProducts));
}

// Eight X-8-8-8 pixels by their eight lights.
EBRUN_AVX2 inline void MultiplyLanes(uint32_t* Pixels, __m256i L) {
    MultiplySplit(Pixels, _mm256_and_si256(L, _mm256_set1_epi16(0xFF)), _mm256_srli_epi16(L, 8));
}

// The pixels of a row past its last whole round, multiplied in a round of their own through a copy; Light
// has room for a round past Count.
template <typename P, typename TRound>
EBRUN_AVX2 __attribute__((always_inline)) inline void MultiplyTail(P* Pixels, int32_t Count, TRound Round) {
    if (Count <= 0) return;
    P Copy[32 / sizeof(P)] = {};
    std::memcpy(Copy, Pixels, sizeof(P) * Count);
    Round(Copy);
    std::memcpy(Pixels, Copy, sizeof(P) * Count);
}

EBRUN_AVX2 void MultiplyRowAvx2(uint32_t* Pixels, const uint32_t* Light, int32_t Count) {
    int32_t i = 0;
    for (; i + 8 <= Count; i += 8)
        MultiplyLanes(Pixels + i, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Light + i)));
    MultiplyTail(Pixels + i, Count - i, [&](uint32_t* Copy) EBRUN_AVX2 {
        MultiplyLanes(Copy, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Light + i)));
    });
}

// One channel of sixteen X-8-8-8 lights in 16-bit lanes, put back in order after packing.
EBRUN_AVX2 inline __m256i LightChannel(__m256i Low, __m256i High, int Shift) {
    const __m256i Byte = _mm256_set1_epi32(0xFF);
    const __m256i Packed =
        _mm256_packs_epi32(_mm256_and_si256(_mm256_srl_epi32(Low, _mm_cvtsi32_si128(Shift)), Byte),
                           _mm256_and_si256(_mm256_srl_epi32(High, _mm_cvtsi32_si128(Shift)), Byte));
    return _mm256_permute4x64_epi64(Packed, 0xD8);
}

// Sixteen 5-6-5 pixels by the red, green and blue of their lights in 16-bit lanes.
EBRUN_AVX2 inline void MultiplyChannels(uint16_t* Pixels, __m256i Red, __m256i Green, __m256i Blue) {
    const __m256i Mask5 = _mm256_set1_epi16(0x1F), Mask6 = _mm256_set1_epi16(0x3F);
    const __m256i P = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Pixels));
    const __m256i R = Multiply255Lanes(_mm256_srli_epi16(P, 11), Red);
    const __m256i G = Multiply255Lanes(_mm256_and_si256(_mm256_srli_epi16(P, 5), Mask6), Green);
    const __m256i B = Multiply255Lanes(_mm256_and_si256(P, Mask5), Blue);
    _mm256_storeu_si256(
        reinterpret_cast<__m256i*>(Pixels),
        _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi16(R, 11), _mm256_slli_epi16(G, 5)), B));
}

// Sixteen 5-6-5 pixels by the lights of the first eight (Low) and of the next eight (High).
EBRUN_AVX2 inline void MultiplyLanes(uint16_t* Pixels, __m256i Low, __m256i High) {
    MultiplyChannels(Pixels, LightChannel(Low, High, 16), LightChannel(Low, High, 8),
                     LightChannel(Low, High, 0));
}

EBRUN_AVX2 void MultiplyRowAvx2(uint16_t* Pixels, const uint32_t* Light, int32_t Count) {
    int32_t i = 0;
    const auto Round = [&](uint16_t* At) EBRUN_AVX2 {
        MultiplyLanes(At, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Light + i)),
                      _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Light + i + 8)));
    };
    for (; i + 16 <= Count; i += 16)
        Round(Pixels + i);
    MultiplyTail(Pixels + i, Count - i, Round);
}
#endif

// The two triangle planes of one quad; a quad whose corners are of one colour has that light everywhere (and
// its planes are left unset).
struct TQuadPlanes {
    TColourPlane Upper, Lower;
    bool Uniform;
    uint32_t Light; // the uniform light as X-8-8-8
};

// Quads of one size side by side in a row, the light's grid: Count quads of Width x Height from (Left, Top),
// quad m at Left + m Width.
struct TQuadRun {
    int32_t Left, Top, Width, Height, Count;
    const TQuadPlanes* Planes;
};

// The light of quad row j from quad pixel k on, Count pixels of Plane; LightSpan is the build to use.
template <typename TSpan>
__attribute__((always_inline)) inline void LightPlane(TSpan LightSpan, uint32_t* Light, int32_t Count,
                                                      const TColourPlane& Plane, int32_t k, int32_t j) {
    if (Count <= 0) return;
    int32_t Start[3];
    for (int c = 0; c < 3; c++)
        Start[c] = Plane.Base[c] + k * Plane.Dk[c] + j * Plane.Dj[c];
    LightSpan(Light, Count, Start, Plane.Dk);
}

// A quad is two triangles split from its top right to its bottom left corner: pixel (k, j) lies in the upper
// one when (2k + 1) h + (2j + 1) w <= 2wh, so the split is the same in every quad of a run. Row by row of the
// surface, each quad's part of the row is multiplied: by WholeQuad where the quad lies wholly inside the
// surface and WholeQuad takes it (it answers whether it did), else by its light laid out first.
template <typename P, typename TSpan, typename TMultiply, typename TWhole>
__attribute__((always_inline)) inline void
ShadeRunWith(TSpan LightSpan, TMultiply MultiplyRow, TWhole WholeQuad, uint8_t* Pixels, int32_t Pitch,
             int32_t SurfaceWidth, int32_t SurfaceHeight, const TQuadRun& Run) {
    const int32_t w = Run.Width, h = Run.Height;
    const int32_t x0 = std::max(Run.Left, 0), x1 = static_cast<int32_t>(std::min<int64_t>(
                                                  Run.Left + int64_t{w} * Run.Count, SurfaceWidth));
    const int32_t y0 = std::max(Run.Top, 0),
                  y1 = static_cast<int32_t>(std::min<int64_t>(int64_t{Run.Top} + h, SurfaceHeight));
    if (x0 >= x1 || y0 >= y1) return;
    const int32_t First = static_cast<int32_t>((int64_t{x0} - Run.Left) / w);
    const int32_t Last = static_cast<int32_t>((int64_t{x1} - Run.Left + w - 1) / w);
    if (LightRow.size() < static_cast<size_t>(w) + 16) LightRow.resize(static_cast<size_t>(w) + 16);
    uint32_t* Light = LightRow.data();
    // The upper triangle's pixels in row j: k < UpperCount with (2k + 1) h <= M = 2wh - (2j + 1) w. M falls
    // by 2w from row to row; the count follows it down.
    int64_t M = 2 * int64_t{w} * h - (2 * int64_t{y0 - Run.Top} + 1) * w;
    int64_t UpperCount = M < h ? 0 : std::min<int64_t>(w, (M - h) / (2 * h) + 1);
    for (int32_t y = y0; y < y1; y++, M -= 2 * int64_t{w}) {
        const int32_t j = y - Run.Top;
        while (UpperCount > 0 && (2 * UpperCount - 1) * h > M)
            UpperCount--;
        P* Row = reinterpret_cast<P*>(Pixels + static_cast<size_t>(y) * Pitch);
        for (int32_t m = First; m < Last; m++) {
            const TQuadPlanes& Planes = Run.Planes[m];
            const int64_t QuadLeft = Run.Left + int64_t{w} * m;
            const int32_t kStart = static_cast<int32_t>(std::max<int64_t>(x0 - QuadLeft, 0));
            const int32_t kEnd = static_cast<int32_t>(std::min<int64_t>(x1 - QuadLeft, w));
            const int32_t Split = static_cast<int32_t>(std::clamp<int64_t>(UpperCount, kStart, kEnd));
            if (kStart == 0 && kEnd == w && WholeQuad(Row + QuadLeft, Planes, w, j, Split)) continue;
            if (Planes.Uniform) {
                std::fill_n(Light, kEnd - kStart, Planes.Light);
            } else {
                LightPlane(LightSpan, Light, Split - kStart, Planes.Upper, kStart, j);
                LightPlane(LightSpan, Light + (Split - kStart), kEnd - Split, Planes.Lower, Split, j);
            }
            MultiplyRow(Row + (QuadLeft + kStart), Light, kEnd - kStart);
        }
    }
}

template <typename P>
void ShadeRun(uint8_t* Pixels, int32_t Pitch, int32_t SurfaceWidth, int32_t SurfaceHeight,
              const TQuadRun& Run) {
    ShadeRunWith<P>([](uint32_t* Light, int32_t Count, const int32_t* Start,
                       const int32_t* Step) { LightSpan(Light, Count, Start, Step); },
                    [](P* Row, const uint32_t* Light, int32_t Count) { MultiplyRow(Row, Light, Count); },
                    [](P*, const TQuadPlanes&, int32_t, int32_t, int32_t) { return false; }, Pixels, Pitch,
                    SurfaceWidth, SurfaceHeight, Run);
}

#if defined(EBRUN_AVX2)
// A plane's red, green and blue (16.16) at eight pixels side by side, and their step to the next eight.
struct TLaneChannels {
    __m256i r, g, b, dr, dg, db;
};

// The plane in row j from pixel k on.
EBRUN_AVX2 __attribute__((always_inline)) inline TLaneChannels PlaneLanes(const TColourPlane& Plane,
                                                                          int32_t k, int32_t j) {
    const __m256i Lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const auto At = [&](int c) EBRUN_AVX2 {
        return _mm256_add_epi32(_mm256_set1_epi32(Plane.Base[c] + k * Plane.Dk[c] + j * Plane.Dj[c]),
                                _mm256_mullo_epi32(Lanes, _mm256_set1_epi32(Plane.Dk[c])));
    };
    return {At(0),
            At(1),
            At(2),
            _mm256_set1_epi32(8 * Plane.Dk[0]),
            _mm256_set1_epi32(8 * Plane.Dk[1]),
            _mm256_set1_epi32(8 * Plane.Dk[2])};
}

// The channels of the eight pixels, C stepped on.
EBRUN_AVX2 __attribute__((always_inline)) inline TLaneChannels NextChannels(TLaneChannels& C) {
    const TLaneChannels These = C;
    C.r = _mm256_add_epi32(C.r, C.dr);
    C.g = _mm256_add_epi32(C.g, C.dg);
    C.b = _mm256_add_epi32(C.b, C.db);
    return These;
}

// The channels of pixels k .. k + 7 of a quad row from C, which holds the upper plane's channels left of
// Split and is turned to the lower one's at the eight pixels that reach Split (blended where Split lies
// inside them).
EBRUN_AVX2 __attribute__((always_inline)) inline TLaneChannels
QuadChannels(TLaneChannels& C, const TColourPlane& Lower, int32_t k, int32_t j, int32_t Split) {
    if (k + 8 <= Split || k > Split) return NextChannels(C);
    const __m256i IsUpper =
        _mm256_cmpgt_epi32(_mm256_set1_epi32(Split - k), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    const TLaneChannels Upper = C;
    C = PlaneLanes(Lower, k, j);
    TLaneChannels These = NextChannels(C);
    These.r = _mm256_blendv_epi8(These.r, Upper.r, IsUpper);
    These.g = _mm256_blendv_epi8(These.g, Upper.g, IsUpper);
    These.b = _mm256_blendv_epi8(These.b, Upper.b, IsUpper);
    return These;
}

// One channel of sixteen pixels in 16-bit lanes from its 16.16 values, eight in Low and eight in High, each
// below 2^24.
EBRUN_AVX2 inline __m256i ChannelLanes(__m256i Low, __m256i High) {
    return _mm256_permute4x64_epi64(
        _mm256_packus_epi32(_mm256_srli_epi32(Low, 16), _mm256_srli_epi32(High, 16)), 0xD8);
}

// Row j of a whole quad w pixels wide, w a multiple of 16, multiplied without laying its light out. Inside a
// quad of at most WHOLE_QUAD_SIDE pixels a side every channel value lies in 0 .. 2^24: its exact value at a
// pixel centre of its triangle is 0 to 255 units, half a unit is added, and the rounding of the slopes drifts
// by at most (k + j + 2) / 2 of 1/65,536 of a unit. So the 5-6-5 pixels take each channel straight from its
// upper 16 bits, as the X-8-8-8 lights would give it, and so do the X-8-8-8 pixels, split into even and odd
// bytes.
constexpr int32_t WHOLE_QUAD_SIDE = 16384;

template <typename P>
EBRUN_AVX2 void ShadeQuadRowAvx2(P* Row, const TQuadPlanes& Planes, int32_t w, int32_t j, int32_t Split) {
    if (Planes.Uniform) {
        const __m256i L = _mm256_set1_epi32(static_cast<int32_t>(Planes.Light));
        for (int32_t k = 0; k < w; k += 32 / sizeof(P))
            if constexpr (sizeof(P) == 4)
                MultiplyLanes(Row + k, L);
            else
                MultiplyLanes(Row + k, L, L);
        return;
    }
    TLaneChannels C = PlaneLanes(Planes.Upper, 0, j);
    for (int32_t k = 0; k < w; k += 32 / sizeof(P))
        if constexpr (sizeof(P) == 4) {
            const TLaneChannels L = QuadChannels(C, Planes.Lower, k, j, Split);
            MultiplySplit(Row + k,
                          _mm256_or_si256(_mm256_and_si256(L.r, _mm256_set1_epi32(0xFF0000)),
                                          _mm256_srli_epi32(L.b, 16)),
                          _mm256_srli_epi32(L.g, 16));
        } else {
            const TLaneChannels Low = QuadChannels(C, Planes.Lower, k, j, Split);
            const TLaneChannels High = QuadChannels(C, Planes.Lower, k + 8, j, Split);
            MultiplyChannels(Row + k, ChannelLanes(Low.r, High.r), ChannelLanes(Low.g, High.g),
                             ChannelLanes(Low.b, High.b));
        }
}

template <typename P>
EBRUN_AVX2 void ShadeRunAvx2(uint8_t* Pixels, int32_t Pitch, int32_t SurfaceWidth, int32_t SurfaceHeight,
                             const TQuadRun& Run) {
    const bool Fits = Run.Width % 16 == 0 && Run.Width <= WHOLE_QUAD_SIDE && Run.Height <= WHOLE_QUAD_SIDE;
    ShadeRunWith<P>(
        [](uint32_t* Light, int32_t Count, const int32_t* Start, const int32_t* Step)
            EBRUN_AVX2 { LightSpanAvx2(Light, Count, Start, Step); },
        [](P* Row, const uint32_t* Light, int32_t Count) EBRUN_AVX2 { MultiplyRowAvx2(Row, Light, Count); },
        [Fits](P* Row, const TQuadPlanes& Planes, int32_t w, int32_t j, int32_t Split) EBRUN_AVX2 {
            if (Fits) ShadeQuadRowAvx2(Row, Planes, w, j, Split);
            return Fits;
        },
        Pixels, Pitch, SurfaceWidth, SurfaceHeight, Run);
}
#endif

// Shades a run with the widest build the processor runs.
template <typename P>
void ShadeRunFastest(uint8_t* Pixels, int32_t Pitch, int32_t SurfaceWidth, int32_t SurfaceHeight,
                     const TQuadRun& Run) {
#if defined(EBRUN_AVX2)
    if (UseAvx2()) return ShadeRunAvx2<P>(Pixels, Pitch, SurfaceWidth, SurfaceHeight, Run);
#endif
    ShadeRun<P>(Pixels, Pitch, SurfaceWidth, SurfaceHeight, Run);
}

// The corners of quad i clamped to 0..255 as planes; false when they are all white (multiplying by 255 keeps
// every value) or the quad is empty or beyond the fixed-point range of the planes.
bool QuadPlanes(const int32_t* R, const int32_t* Colors, TQuadPlanes& Planes) {
    if (R[2] <= 0 || R[3] <= 0 || R[2] > 65535 || R[3] > 65535) return false;
    int32_t C[4][3];
    bool White = true;
    for (int Corner = 0; Corner < 4; Corner++)
        for (int c = 0; c < 3; c++) {
            C[Corner][c] = std::clamp(Colors[3 * Corner + c], 0, 255);
            White = White && C[Corner][c] == 255;
        }
    if (White) return false;
    Planes.Uniform = std::equal(&C[0][0], &C[0][0] + 9, &C[1][0]);
    Planes.Light = static_cast<uint32_t>(C[0][0]) << 16 | static_cast<uint32_t>(C[0][1]) << 8 |
                   static_cast<uint32_t>(C[0][2]);
    if (Planes.Uniform) return true; // its light is all it needs
    const int32_t w = R[2], h = R[3];
    for (int c = 0; c < 3; c++) {
        SetPlane(Planes.Upper, c, C[0][c], C[1][c] - C[0][c], C[2][c] - C[0][c], w, h);
        SetPlane(Planes.Lower, c, C[1][c] + C[2][c] - C[3][c], C[3][c] - C[2][c], C[3][c] - C[1][c], w, h);
    }
    return true;
}

std::vector<TQuadPlanes> RunPlanes; // the planes of the run being shaded

// 1053 c >> 7 is c 255 / 31 and 33110 (8 c) >> 16 is c 97 / 24, both rounded down, for every c of 5 and 6
// bits, in 16-bit lanes.
uint32_t Widened(uint16_t Pixel) {
    const uint32_t r = Pixel >> 11, g = Pixel >> 5 & 0x3F, b = Pixel & 0x1F;
    return 0xFF000000u | 1053 * r >> 7 << 16 | 33110 * (8 * g) >> 16 << 8 | 1053 * b >> 7;
}

void WidenRow(uint32_t* Target, const uint16_t* Source, int32_t Width) {
    for (int32_t x = 0; x < Width; x++)
        Target[x] = Widened(Source[x]);
}

#if defined(EBRUN_AVX2)
// Sixteen pixels at a time: the channels in 16-bit lanes, then blue with green and red with the X byte
// interleaved into 32-bit pixels (in-lane, so the two halves are put in order when stored).
EBRUN_AVX2 void WidenRowAvx2(uint32_t* Target, const uint16_t* Source, int32_t Width) {
    const __m256i Mask5 = _mm256_set1_epi16(0x1F), Mask6 = _mm256_set1_epi16(0x3F);
    const __m256i Times1053 = _mm256_set1_epi16(1053), Green = _mm256_set1_epi16(static_cast<int16_t>(33110)),
                  X = _mm256_set1_epi16(static_cast<int16_t>(0xFF00));
    int32_t x = 0;
    for (; x + 16 <= Width; x += 16) {
        const __m256i P = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Source + x));
        const __m256i R = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(P, 11), Times1053), 7);
        const __m256i B = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_and_si256(P, Mask5), Times1053), 7);
        const __m256i G =
            _mm256_mulhi_epu16(_mm256_slli_epi16(_mm256_and_si256(_mm256_srli_epi16(P, 5), Mask6), 3), Green);
        const __m256i BlueGreen = _mm256_or_si256(B, _mm256_slli_epi16(G, 8)), RedX = _mm256_or_si256(R, X);
        const __m256i Low = _mm256_unpacklo_epi16(BlueGreen, RedX),
                      High = _mm256_unpackhi_epi16(BlueGreen, RedX);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(Target + x),
                            _mm256_permute2x128_si256(Low, High, 0x20));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(Target + x + 8),
                            _mm256_permute2x128_si256(Low, High, 0x31));
    }
    WidenRow(Target + x, Source + x, Width - x);
}
#endif

} // namespace

std::vector<TPixelTier> GetPixelTiers() {
    std::vector<TPixelTier> Tiers{PIXELS_PLAIN};
#if defined(EBRUN_AVX2)
    __builtin_cpu_init(); // the tier is chosen while the program's constructors run
    if (__builtin_cpu_supports("avx2")) Tiers.push_back(PIXELS_AVX2);
#endif
    return Tiers;
}

const char* PixelTierName(TPixelTier Which) { return Which == PIXELS_AVX2 ? "avx2" : "plain"; }

TPixelTier DefaultPixelTier() {
    const char* Asked = std::getenv("EBRUN_PIXELS");
    if (Asked != nullptr && std::strcmp(Asked, PixelTierName(PIXELS_PLAIN)) == 0) return PIXELS_PLAIN;
    return GetPixelTiers().back();
}

TPixelTier GetPixelTier() { return RunningTier; }

bool SetPixelTier(TPixelTier NewTier) {
    const std::vector<TPixelTier> Tiers = GetPixelTiers();
    if (std::find(Tiers.begin(), Tiers.end(), NewTier) == Tiers.end()) return false;
    RunningTier = NewTier;
    return true;
}

void Widen565Rows(uint8_t* To, int32_t ToPitch, const uint8_t* From, int32_t FromPitch, int32_t Width,
                  int32_t Height) {
    for (int32_t y = 0; y < Height; y++) {
        uint32_t* Target = reinterpret_cast<uint32_t*>(To + static_cast<size_t>(y) * ToPitch);
        const uint16_t* Source = reinterpret_cast<const uint16_t*>(From + static_cast<size_t>(y) * FromPitch);
#if defined(EBRUN_AVX2)
        if (UseAvx2()) {
            WidenRowAvx2(Target, Source, Width);
            continue;
        }
#endif
        WidenRow(Target, Source, Width);
    }
}

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
    if (isPrimary()) return;
    Owned = std::make_unique<uint8_t[]>(static_cast<size_t>(Pitch) * this->Height);
    Pixels = Owned.get();
}

TPixelSurface::TPixelSurface(int32_t Width, int32_t Height, int32_t Pitch, const TPixelFormat& Format,
                             uint8_t* Pixels)
    : Width(std::max(Width, 0)), Height(std::max(Height, 0)), Pitch(Pitch), Format(Format),
      Memory(MEMORY_VIDEO), Caps(0), Pixels(Pixels) {}

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
    Locked.Pixels = Pixels;
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
    if (Rect.Right <= Rect.Left || Rect.Bottom <= Rect.Top) return PLATFORM_INVALID_RECT;
    const TPixelRect Cut = CutToBounds(Rect, Width, Height);
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
    if (To.Right <= To.Left || To.Bottom <= To.Top || FromRect.Right <= FromRect.Left ||
        FromRect.Bottom <= FromRect.Top)
        return PLATFORM_INVALID_RECT;
    if (Span(To.Left, To.Right) == Span(FromRect.Left, FromRect.Right) &&
        Span(To.Top, To.Bottom) == Span(FromRect.Top, FromRect.Bottom))
        return copyFrom(To, From, FromRect, UseSourceKey);
    if (!Inside(FromRect, From.Width, From.Height) || Span(To.Left, To.Right) > INT32_MAX ||
        Span(To.Top, To.Bottom) > INT32_MAX)
        return PLATFORM_INVALID_RECT;
    return scaleFrom(To, From, FromRect, UseSourceKey);
}

TPlatformResult TPixelSurface::copyFrom(TPixelRect To, const TPixelSurface& From, TPixelRect FromRect,
                                        bool UseSourceKey) {
    const int32_t Bpp = Format.BytesPerPixel;
    // Target pixel (x, y) takes source pixel (x + dx, y + dy); what is copied lies inside the target
    // rectangle, this surface and the source moved back by (dx, dy).
    const int64_t dx = Span(To.Left, FromRect.Left), dy = Span(To.Top, FromRect.Top);
    const int64_t Left = std::max<int64_t>({To.Left, 0, -dx}), Top = std::max<int64_t>({To.Top, 0, -dy});
    const int64_t Right = std::min<int64_t>({To.Right, Width, From.Width - dx}),
                  Bottom = std::min<int64_t>({To.Bottom, Height, From.Height - dy});
    if (Left >= Right || Top >= Bottom) return PLATFORM_OK;
    // Both now lie inside their surfaces.
    To = {static_cast<int32_t>(Left), static_cast<int32_t>(Top), static_cast<int32_t>(Right),
          static_cast<int32_t>(Bottom)};
    FromRect = {static_cast<int32_t>(Left + dx), static_cast<int32_t>(Top + dy),
                static_cast<int32_t>(Right + dx), static_cast<int32_t>(Bottom + dy)};
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
    To = CutToBounds(To, Width, Height);
    if (To.width() <= 0 || To.height() <= 0) return PLATFORM_OK;
    const int32_t dx = To.Left - Full.Left, dy = To.Top - Full.Top;
    TSourceRows Source =
        DetachedSource(From.row(FromRect.Top) + static_cast<size_t>(FromRect.Left) * Bpp, From.Pitch,
                       FromRect.width() * Bpp, FromRect.height(), &From == this && Intersect(To, FromRect));
    const TColumns Plan = PlanColumns(dx, To.width(), Full.width(), FromRect.width());
    uint8_t* Target = row(To.Top) + static_cast<size_t>(To.Left) * Bpp;
    if (Bpp == 2)
        ScaleRows<uint16_t>(Target, Pitch, To.height(), Source.First, Source.Pitch, Plan, dy, Full.height(),
                            FromRect.height(), UseSourceKey, static_cast<uint16_t>(From.SourceKey));
    else
        ScaleRows<uint32_t>(Target, Pitch, To.height(), Source.First, Source.Pitch, Plan, dy, Full.height(),
                            FromRect.height(), UseSourceKey, From.SourceKey);
    return PLATFORM_OK;
}

TPlatformResult TPixelSurface::multiplyShadedQuads(int32_t Count, const int32_t* Rectangles,
                                                   const int32_t* Colors) {
    TPlatformResult Result = drawable();
    if (Result != PLATFORM_OK) return Result;
    if (Count < 0 || (Count > 0 && (Rectangles == nullptr || Colors == nullptr)))
        return PLATFORM_INVALID_RECT;
    // Quads that continue a row of equal quads are shaded with it, row by row of the surface.
    for (int32_t i = 0; i < Count;) {
        const int32_t* R = Rectangles + 4 * i;
        RunPlanes.resize(1);
        if (!QuadPlanes(R, Colors + 12 * i, RunPlanes[0])) {
            i++;
            continue;
        }
        int32_t n = 1;
        for (TQuadPlanes Next; i + n < Count; n++) {
            const int32_t* Q = Rectangles + 4 * (i + n);
            if (Q[1] != R[1] || Q[2] != R[2] || Q[3] != R[3] || Q[0] != R[0] + int64_t{R[2]} * n ||
                !QuadPlanes(Q, Colors + 12 * (i + n), Next))
                break;
            RunPlanes.push_back(Next);
        }
        const TQuadRun Run{R[0], R[1], R[2], R[3], n, RunPlanes.data()};
        if (Format.BytesPerPixel == 2)
            ShadeRunFastest<uint16_t>(Pixels, Pitch, Width, Height, Run);
        else
            ShadeRunFastest<uint32_t>(Pixels, Pitch, Width, Height, Run);
        i += n;
    }
    return PLATFORM_OK;
}
