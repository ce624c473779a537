// Pixel buffers in the display's format with fills, plain, colour-keyed and scaled copies and the light
// multiply.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// Results of the surface and display calls; PLATFORM_OK is 0 like the driver codes they stand in for.
enum TPlatformResult : int32_t {
    PLATFORM_OK = 0,
    PLATFORM_SURFACE_LOST,        // the surface lost its memory; release and create it again
    PLATFORM_INVALID_RECT,        // a rectangle is empty or reaches outside its surface
    PLATFORM_NOT_DRAWABLE,        // the primary surface is the display itself and holds no pixels
    PLATFORM_OUT_OF_VIDEO_MEMORY, // the video memory budget is used up
    PLATFORM_OUT_OF_MEMORY,
    PLATFORM_EXCLUSIVE_ELSEWHERE, // another program holds the display exclusively
    PLATFORM_UNSUPPORTED,         // no such mode, format or capability
    PLATFORM_FAILED,              // the window system refused; see GetPlatformError
};

// Bit layout of a pixel. Buffers exist in two formats only: 16-bit 5-6-5 and 32-bit X-8-8-8 with the X byte
// 0.
struct TPixelFormat {
    int32_t BitsPerPixel;
    int32_t BytesPerPixel;
    uint32_t RedMask, GreenMask, BlueMask;
};

inline constexpr TPixelFormat PIXEL_FORMAT_565{16, 2, 0xF800, 0x07E0, 0x001F};
inline constexpr TPixelFormat PIXEL_FORMAT_8888{32, 4, 0xFF0000, 0x00FF00, 0x0000FF};

// The buffer format used for a display of Bits bits per pixel: 5-6-5 at 16 bits, X-8-8-8 otherwise.
const TPixelFormat& PixelFormatForBits(int32_t Bits);

// A colour as a pixel of Format, each channel cut to 0..255; 5-6-5 keeps the high bits of each.
inline uint32_t PixelOfColour(const TPixelFormat& Format, int32_t Red, int32_t Green, int32_t Blue) {
    const auto Byte = [](int32_t v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    if (Format.BytesPerPixel == 2) return (Byte(Red) >> 3) << 11 | (Byte(Green) >> 2) << 5 | Byte(Blue) >> 3;
    return Byte(Red) << 16 | Byte(Green) << 8 | Byte(Blue);
}

// What a surface was created as (bits of TPixelSurface::getCaps).
enum : uint32_t {
    SURFACE_PRIMARY = 1,      // the display itself: no pixels of its own, shown by the display device
    SURFACE_VIDEO_MEMORY = 2, // taken from the video memory budget only
    SURFACE_RENDERABLE = 4,   // a light device may draw into it
    SURFACE_FLIP = 8,         // primary with one back buffer (full screen)
};

// Where a surface's memory comes from; the numbers are those the engine reports.
enum TSurfaceMemory : int32_t { MEMORY_NONE = 0, MEMORY_VIDEO = 1, MEMORY_SYSTEM = 2 };

// Left and top inclusive, right and bottom exclusive, in pixels of one surface.
struct TPixelRect {
    int32_t Left, Top, Right, Bottom;
    int32_t width() const { return Right - Left; }
    int32_t height() const { return Bottom - Top; }
};

struct TLockedPixels {
    uint8_t* Pixels; // first byte of row 0
    int32_t Pitch;   // bytes from one row to the next
};

class TVideoMemoryPool;

// A rectangle of pixels in one format. The primary surface stands for the display and holds no pixels: every
// drawing call on it answers PLATFORM_NOT_DRAWABLE. A lost surface keeps its size but refuses every call with
// PLATFORM_SURFACE_LOST until it is released. Copies and fills never write outside the target: destination
// rectangles are cut to the target, and a copy reads only inside its source.
class TPixelSurface {
public:
    TPixelSurface(int32_t Width, int32_t Height, const TPixelFormat& Format, TSurfaceMemory Memory,
                  uint32_t Caps = 0, std::shared_ptr<TVideoMemoryPool> Pool = nullptr);
    // A surface over pixels that another owner keeps (the window's own), Pitch bytes from row to row; they
    // must outlive it.
    TPixelSurface(int32_t Width, int32_t Height, int32_t Pitch, const TPixelFormat& Format, uint8_t* Pixels);
    ~TPixelSurface();
    TPixelSurface(const TPixelSurface&) = delete;
    TPixelSurface& operator=(const TPixelSurface&) = delete;

    int32_t getWidth() const { return Width; }
    int32_t getHeight() const { return Height; }
    int32_t getPitch() const { return Pitch; }
    const TPixelFormat& getFormat() const { return Format; }
    TSurfaceMemory getMemory() const { return Memory; }
    uint32_t getCaps() const { return Caps; }
    bool isPrimary() const { return (Caps & SURFACE_PRIMARY) != 0; }
    bool isLost() const { return Lost; }
    void markLost() { Lost = true; }

    // The source key: pixels of this value are skipped when this surface is the source of a keyed copy.
    void setSourceKey(uint32_t Key) { SourceKey = Key; }
    uint32_t getSourceKey() const { return SourceKey; }

    TPlatformResult lock(TLockedPixels& Locked);
    void unlock() {}

    // Fills Rect (cut to the surface) with Pixel.
    TPlatformResult fill(TPixelRect Rect, uint32_t Pixel);

    // Copies FromRect of From onto To of this surface. Equal sizes copy pixel for pixel, cut to both
    // surfaces; different sizes scale by the nearest source pixel to each target pixel centre, which then
    // requires FromRect to lie inside From and To to be less than 2^31 pixels a side. With UseSourceKey,
    // source pixels equal to From's source key are skipped. From may be this surface; overlapping areas copy
    // as if through a separate buffer.
    TPlatformResult blit(TPixelRect To, const TPixelSurface& From, TPixelRect FromRect, bool UseSourceKey);

    // Multiplies the pixels under each of Count rectangles {x, y, width, height} by a colour interpolated
    // from its four corners (Colors: twelve values per rectangle, red, green, blue of top left, top right,
    // bottom left and bottom right, 0 to 255). The quad is two triangles split from top right to bottom left;
    // colours are taken at pixel centres (in 16.16 fixed point) and rounded to whole values; each channel
    // becomes (x + (x >> 8) + 128) >> 8 with x = d l, rounded once as the graphics device's blending does; at
    // 16 bits d is the channel's own 5- or 6-bit value.
    // Quads wider or higher than 65,535 pixels are left out.
    TPlatformResult multiplyShadedQuads(int32_t Count, const int32_t* Rectangles, const int32_t* Colors);

    // Raw rows for the platform layer's own copies (presentation, tests); nullptr for the primary surface.
    const uint8_t* row(int32_t y) const { return Pixels ? Pixels + static_cast<size_t>(y) * Pitch : nullptr; }
    uint8_t* row(int32_t y) { return Pixels ? Pixels + static_cast<size_t>(y) * Pitch : nullptr; }
    uint32_t getPixel(int32_t x, int32_t y) const;

private:
    TPlatformResult drawable() const;
    TPlatformResult copyFrom(TPixelRect To, const TPixelSurface& From, TPixelRect FromRect,
                             bool UseSourceKey);
    TPlatformResult scaleFrom(TPixelRect To, const TPixelSurface& From, TPixelRect FromRect,
                              bool UseSourceKey);

    int32_t Width, Height, Pitch;
    TPixelFormat Format;
    TSurfaceMemory Memory;
    uint32_t Caps;
    bool Lost = false;
    uint32_t SourceKey = 0;
    std::unique_ptr<uint8_t[]> Owned; // the pixels, unless another owner keeps them
    uint8_t* Pixels = nullptr;
    std::shared_ptr<TVideoMemoryPool> Pool; // gets the surface's bytes back when it is destroyed
};

// Bytes of video memory left for surfaces that ask for it; shared by a display device and its surfaces.
class TVideoMemoryPool {
public:
    explicit TVideoMemoryPool(int64_t Bytes) : Free(Bytes) {}
    bool take(int64_t Bytes) {
        if (Bytes > Free) return false;
        Free -= Bytes;
        return true;
    }
    void giveBack(int64_t Bytes) { Free += Bytes; }
    int64_t getFree() const { return Free; }

private:
    int64_t Free;
};

// The builds of the pixel loops (keyed copies, scaling, the light multiply, widening), plainest first: the
// plain build runs on every processor, the AVX2 build on x86-64 processors that have AVX2. All give the same
// pixels.
enum TPixelTier : int32_t { PIXELS_PLAIN, PIXELS_AVX2 };

// The tiers this processor runs, plainest first.
std::vector<TPixelTier> GetPixelTiers();
// The tier's name, as the environment variable EBRUN_PIXELS takes it: "plain" or "avx2".
const char* PixelTierName(TPixelTier Tier);
// The tier the loops start with: the plain one when EBRUN_PIXELS is "plain" (for a processor that misbehaves
// in the wider builds), else the widest the processor runs.
TPixelTier DefaultPixelTier();
TPixelTier GetPixelTier();
// Makes the loops run Tier from now on; false, and nothing changed, where the processor lacks it.
bool SetPixelTier(TPixelTier Tier);

// Widens Width x Height 5-6-5 pixels to X-8-8-8 pixels with the X byte 0xFF, as SDL 2 converts them: a 5-bit
// channel c becomes c 255 / 31, the 6-bit green c 97 / 24, both rounded down; the rows are Pitch bytes apart.
void Widen565Rows(uint8_t* To, int32_t ToPitch, const uint8_t* From, int32_t FromPitch, int32_t Width,
                  int32_t Height);

// Bytes one surface of this size takes in Format.
int64_t SurfaceBytes(int32_t Width, int32_t Height, const TPixelFormat& Format);
