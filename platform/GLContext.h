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
// lighting, no depth test, no blending, texture unpacking by single bytes.
void GLInitState();

// Projection and viewport of Width x Height pixels, one unit per pixel; YDown puts row 0 at the top (the
// window), otherwise at the bottom (the off-screen buffer, where surface row y is buffer row y).
void GLSetProjection(int32_t Width, int32_t Height, bool YDown);
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
// The whole level 0 of the texture, 4 bytes blue, green, red, alpha per texel (0xAARRGGBB in memory);
// Bgra holds TextureWidth x TextureHeight x 4 bytes.
void GLReadTexture(uint32_t Texture, uint8_t* Bgra);
// Copies Width x Height pixels from (0, 0) of the read buffer into the texture at (0, 0).
void GLCopyToTexture(uint32_t Texture, int32_t Width, int32_t Height);

// The alpha test "greater than 0" that keeps texels of alpha 0 from being drawn; off only while a texture is
// copied into the off-screen buffer as it is.
void GLSetAlphaTest(bool On);

// Drawing; coordinates in units of the projection, colours 0 to 255.
void GLFillRectangle(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, int32_t Red, int32_t Green,
                     int32_t Blue);
// The bound texture over the rectangle, in white, texture corners (U0, V0) at (Left, Top) and (U1, V1) at
// (Right, Bottom).
void GLTexturedQuad(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, float U0, float V0, float U1,
                    float V1);
// Rows of Width x Height texels of 4 bytes blue, green, red, alpha, Pitch bytes apart, into the texture at
// (x, y); a texture without alpha drops the fourth byte.
void GLWriteTextureRows(uint32_t Texture, int32_t x, int32_t y, int32_t Width, int32_t Height,
                        const uint8_t* Bgrx, int32_t Pitch);
// Multiplies the rectangle of the target by the bound texture (its colour only), texture corners (U0, V0) at
// (Left, Top) and (U1, V1) at (Right, Bottom): each channel becomes (d t + 127) / 255.
void GLMultiplyTexture(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, float U0, float V0, float U1,
                       float V1);
// Rows of Width x Height pixels from (x, y) of the read buffer as 4 bytes blue, green, red, 0, top row first
// for a window buffer (YDown) or bottom row first for the off-screen buffer.
void GLReadPixels(int32_t x, int32_t y, int32_t Width, int32_t Height, bool YDown, int32_t WindowHeight,
                  uint8_t* Bgrx);

// The entry points of the framebuffer-object extension that the off-screen buffer uses, as the extension
// loader fetched them; any of them empty makes the buffer fail.
struct TGLFramebufferCalls {
    TGLProc GenFramebuffers, BindFramebuffer, DeleteFramebuffers, CheckFramebufferStatus;
    TGLProc GenRenderbuffers, BindRenderbuffer, DeleteRenderbuffers, RenderbufferStorage;
    TGLProc FramebufferRenderbuffer;
};

// The off-screen buffer: a framebuffer object with an RGBA8 colour buffer of a fixed size, made in the
// current context. Selecting it sends drawing and reading there; leaving selects the window again.
class TGLFramebuffer {
public:
    // nullptr when an entry point is missing or the driver refuses the buffer.
    static std::unique_ptr<TGLFramebuffer> create(const TGLFramebufferCalls& Calls, int32_t Width,
                                                  int32_t Height);
    ~TGLFramebuffer();
    TGLFramebuffer(const TGLFramebuffer&) = delete;
    TGLFramebuffer& operator=(const TGLFramebuffer&) = delete;

    void select();
    void leave();
    int32_t getWidth() const { return Width; }
    int32_t getHeight() const { return Height; }

private:
    TGLFramebuffer(const TGLFramebufferCalls& Calls, int32_t Width, int32_t Height)
        : Calls(Calls), Width(Width), Height(Height) {}

    TGLFramebufferCalls Calls;
    int32_t Width, Height;
    uint32_t Framebuffer = 0, Colour = 0;
};
