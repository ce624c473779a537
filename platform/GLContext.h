// The OpenGL layer of the OpenGL engine: a context on the program's window, entry points, the off-screen
// buffer (a framebuffer object) and the few immediate-mode drawing calls the engine makes. Every call works
// on the context current at that moment.
#pragma once

#include <cstdint>
#include <memory>

class TWindow;

// An entry point as the driver hands it out; the caller casts it to the function's real type.
using TGLProc = void (*)();

// A GL context made for one window. Deleting it makes no context current first when it is current.
class TGLContext {
public:
    // nullptr when the window offers no double-buffered RGBA format of ColourBits or refuses the context
    // (then GetPlatformError says why).
    static std::unique_ptr<TGLContext> create(TWindow& Window, int32_t ColourBits);
    ~TGLContext();
    TGLContext(const TGLContext&) = delete;
    TGLContext& operator=(const TGLContext&) = delete;

    bool makeCurrent();
    bool isCurrent() const;
    // Shows the window's buffer: a swap when the context is double-buffered, a flush otherwise.
    void swapBuffers();
    bool isDoubleBuffered() const { return DoubleBuffered; }

private:
    TGLContext(TWindow& Window, void* Native, bool DoubleBuffered)
        : Window(Window), Native(Native), DoubleBuffered(DoubleBuffered) {}

    TWindow& Window;
    void* Native;
    bool DoubleBuffered;
};

void GLMakeNoneCurrent();

// Texts of the current context.
enum class TGLText { Extensions, Version, Renderer };
const char* GLGetString(TGLText Which);
TGLProc GLGetProcAddress(const char* Name);

// Whether a renderer name is a software rasterizer (llvmpipe, softpipe or one calling itself software): what
// the probe counts as a generic, unaccelerated pixel format.
bool IsSoftwareRenderer(const char* Renderer);

// State of a fresh context as the engine draws: identity model-view, alpha test "greater than 0", no
// lighting, no depth test, no blending, texturing on with each texel multiplied by its vertex colour, vertex
// arrays of TGLVertex, texture unpacking by single bytes.
void GLInitState();

// Projection and viewport of Width x Height pixels at (x, y) of the target, one unit per pixel; YDown puts
// row 0 at the top (the window), otherwise at the bottom (a texture, where surface row y is texel row y).
void GLSetProjection(int32_t x, int32_t y, int32_t Width, int32_t Height, bool YDown);
// Draws into and reads from the window's buffer (the back buffer when double-buffered).
void GLSelectWindowBuffer(bool DoubleBuffered);

// Textures: RGBA8 (RGB8 without Alpha: every texel opaque), nearest filter, clamped to the edge, content
// undefined until written.
uint32_t GLCreateTexture(int32_t Width, int32_t Height, bool Alpha = true);
void GLDeleteTexture(uint32_t Texture);
void GLBindTexture(uint32_t Texture);
// Filter of the bound texture: linear or nearest.
void GLSetTextureFilter(bool Linear);
// Rgba: Width x Height texels of 4 bytes, rows from texel row y on.
void GLWriteTexture(uint32_t Texture, int32_t x, int32_t y, int32_t Width, int32_t Height,
                    const uint8_t* Rgba);
// Rows of Width x Height texels of 4 bytes blue, green, red, alpha, Pitch bytes apart, into the texture at
// (x, y); a texture without alpha drops the fourth byte.
void GLWriteTextureRows(uint32_t Texture, int32_t x, int32_t y, int32_t Width, int32_t Height,
                        const uint8_t* Bgrx, int32_t Pitch);
// The whole level 0 of the texture, 4 bytes blue, green, red, alpha per texel (0xAARRGGBB in memory);
// Bgra holds TextureWidth x TextureHeight x 4 bytes.
void GLReadTexture(uint32_t Texture, uint8_t* Bgra);

// A corner of a batched triangle: position in units of the projection, texture coordinates 0 to 1, and the
// colour each texel is multiplied by (white keeps it).
struct TGLVertex {
    float x, y, u, v;
    uint8_t Red, Green, Blue, Alpha;
};
// Draws Count vertices as triangles of the bound texture.
void GLDrawTriangles(const TGLVertex* Vertices, int32_t Count);
// Multiplies the target by the bound texture (its colour only) under Count vertices' triangles: each channel
// becomes (d t + 127) / 255, rounded as the device's blending rounds.
void GLMultiplyTriangles(const TGLVertex* Vertices, int32_t Count);
// Rows of Width x Height pixels from (x, y) of the read buffer as 4 bytes blue, green, red, 0, top row first
// for a window buffer (YDown) or bottom row first for the off-screen buffer.
void GLReadPixels(int32_t x, int32_t y, int32_t Width, int32_t Height, bool YDown, int32_t WindowHeight,
                  uint8_t* Bgrx);

// The entry points of the framebuffer-object extension that the off-screen framebuffer uses, as the extension
// loader fetched them; any of them empty makes the framebuffer fail.
struct TGLFramebufferCalls {
    TGLProc GenFramebuffers, BindFramebuffer, DeleteFramebuffers, CheckFramebufferStatus;
    TGLProc FramebufferTexture2D;
};

// The off-screen framebuffer, made in the current context: drawing goes straight into the texture it is
// selected with, as into the window; leaving selects the window again.
class TGLFramebuffer {
public:
    // nullptr when an entry point is missing or the driver refuses to draw into an RGBA8 texture.
    static std::unique_ptr<TGLFramebuffer> create(const TGLFramebufferCalls& Calls);
    ~TGLFramebuffer();
    TGLFramebuffer(const TGLFramebuffer&) = delete;
    TGLFramebuffer& operator=(const TGLFramebuffer&) = delete;

    void select(uint32_t Texture);
    void leave();

private:
    explicit TGLFramebuffer(const TGLFramebufferCalls& Calls) : Calls(Calls) {}

    TGLFramebufferCalls Calls;
    uint32_t Framebuffer = 0;
};
