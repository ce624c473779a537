// The OpenGL engine: probe, context and off-screen framebuffer life, surface textures, selection of the
// surface drawn on, video modes and presentation.
#include "graphics/SurfaceGL.h"

#include "foundation/Exception.h"
#include "graphics/SurfaceCommon.h"
#include "graphics/glh_extensions.h"
#include "platform/Window.h"
#include "state/Preferences.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// The extension that gives the off-screen framebuffer (on Windows a pbuffer and its pixel format).
constexpr const char* REQUIRED_EXTENSIONS = "GL_EXT_framebuffer_object ";
constexpr int32_t GL_PAGE_SIZE = 256;

// The diagnostics a developer reads; the player never sees them.
void DebugOutput(const char* Text) { fprintf(stderr, "%s\n", Text); }

TGLFramebufferCalls FramebufferCalls() {
    return {GetExtensionEntryPoint("glGenFramebuffersEXT"), GetExtensionEntryPoint("glBindFramebufferEXT"),
            GetExtensionEntryPoint("glDeleteFramebuffersEXT"),
            GetExtensionEntryPoint("glCheckFramebufferStatusEXT"),
            GetExtensionEntryPoint("glFramebufferTexture2DEXT")};
}

std::unique_ptr<TSurface> CreateOpenGL() { return std::make_unique<TSurfaceGL>(); }

} // namespace

bool ProbeOpenGL(TWindow* Window) {
    if (Window == nullptr) return false;
    std::unique_ptr<TGLContext> Context = TGLContext::create(*Window, 32);
    if (Context == nullptr || !Context->makeCurrent()) return false;
    bool Works = false;
    try {
        if (InitExtensions(REQUIRED_EXTENSIONS) != 1)
            DebugOutput("Necessary OpenGL extensions were not supported");
        else
            Works = TGLFramebuffer::create(FramebufferCalls()) != nullptr;
    } catch (...) {
        Works = false;
    }
    Context.reset();
    ExitExtensions();
    return Works;
}

bool ProbeOpenGLEngine(TWindow* Window) {
    if (Window == nullptr) return false;
    std::unique_ptr<TGLContext> Context = TGLContext::create(*Window, 32);
    if (Context == nullptr || !Context->makeCurrent()) return false;
    const bool Generic = IsSoftwareRenderer(GLGetString(TGLText::Renderer));
    Context.reset();
    return !Generic && ProbeOpenGL(Window);
}

TEngineBackEnd OpenGLBackEnd() { return {CreateOpenGL, ProbeOpenGLEngine}; }

TSurfaceGL::TSurfaceGL() = default;

TSurfaceGL::~TSurfaceGL() {
    // GL objects go with their context in ExitSurfaces; one left behind dies with it here.
    deleteWindowContext();
}

void TSurfaceGL::InitSurfaces() {
    Window = nullptr;
    ViewMode = 0;
    Lost = false;
    deleteWindowContext();
    SetPageSize(GL_PAGE_SIZE, GL_PAGE_SIZE);
    for (TSurfaceTexture& T : Textures)
        T = TSurfaceTexture();
    InitSurfaceRects(SurfaceRect, NUMBER_OF_SURFACES_GL, GL_PAGE_SIZE);
    NumberOfPages = 0;
    if (TDisplayDevice::create(Display) != PLATFORM_OK) throw PROGRAM_ERROR(7);
    InitNoStretching(false);
    ResetFrameClock();
    SetFrameRate(GetConfineFramerate());
}

void TSurfaceGL::ExitSurfaces() {
    ReleaseSurfaces();
    deleteWindowContext();
    ExitExtensions();
    if (Display != nullptr && Window != nullptr) Display->setCooperativeLevel(Window, false);
}

bool TSurfaceGL::TestEngine() { return true; }

void TSurfaceGL::deleteWindowContext() {
    if (WindowContext != nullptr) WindowContext->makeCurrent();
    OffscreenBuffer.reset();
    WindowContext.reset();
    Batch.clear();
    CurrentSurface = SCREEN_SURFACE;
}

void TSurfaceGL::WindowMoved() {
    if (Window == nullptr) return;
    TakeClientRectangle(*Window, SurfaceRect, WindowRect);
    // The window's projection follows the client size, whichever surface is being drawn on.
    if (WindowContext != nullptr && CurrentSurface == SCREEN_SURFACE) {
        flush();
        GLSetProjection(0, 0, SurfaceRect[SCREEN_SURFACE].Right, SurfaceRect[SCREEN_SURFACE].Bottom, true);
    }
}

void TSurfaceGL::SetVideoMode(int32_t VMode, const TDisplayMode* GMode) {
    CHECK_TEXT(VMode == WINDOWED_MODE || VMode == FULLSCREEN_MODE,
               "VMode==WINDOWED_MODE || VMode==FULLSCREEN_MODE", VMode);
    CHECK_TEXT(VMode == WINDOWED_MODE || GMode != nullptr, "VMode==WINDOWED_MODE || GMode!=NULL", VMode);
    CHECK_TEXT(Display != nullptr, "Display!=NULL");
    if (VMode == WINDOWED_MODE) {
        TDisplayModeInfo Desktop;
        if (Display->setCooperativeLevel(Window, false) == PLATFORM_OK &&
            Display->getDisplayMode(Desktop) == PLATFORM_OK) {
            DisplayWidth = Desktop.Width;
            DisplayHeight = Desktop.Height;
            DisplayBits = Desktop.BitsPerPixel;
        }
        ViewMode = WINDOWED_MODE;
        return;
    }
    std::unique_ptr<TDisplayMode[]> Modes;
    const int32_t Count = GetDisplayModes(Modes);
    // Without any listed mode there is nothing to fall back to: the display keeps its mode.
    if (Count == 0) return;
    SubstituteFullScreenMode(GMode, Modes.get(), Count);
    const int32_t Bits = GMode->Depth & 0xFF;
    if (Display->setCooperativeLevel(Window, true) != PLATFORM_OK ||
        Display->setDisplayMode(GMode->Width, GMode->Height, Bits) != PLATFORM_OK)
        return;
    DisplayWidth = GMode->Width;
    DisplayHeight = GMode->Height;
    DisplayBits = Bits;
    ViewMode = FULLSCREEN_MODE;
}

int32_t TSurfaceGL::GetDisplayModes(std::unique_ptr<TDisplayMode[]>& List) {
    List.reset();
    NumberOfDisplayModes = 0;
    TDisplayModeInfo Desktop;
    std::vector<TDisplayModeInfo> Modes;
    if (Display == nullptr || Display->getDisplayMode(Desktop) != PLATFORM_OK ||
        Display->enumDisplayModes(Modes) != PLATFORM_OK || Modes.empty())
        return 0;
    List = std::make_unique<TDisplayMode[]>(Modes.size());
    for (const TDisplayModeInfo& M : Modes)
        if (M.BitsPerPixel == Desktop.BitsPerPixel && M.Width >= 550)
            List[NumberOfDisplayModes++] = {M.Width, M.Height, M.BitsPerPixel, M.RefreshRate};
    return NumberOfDisplayModes;
}

void TSurfaceGL::createTexture(int32_t Surface, int32_t Width, int32_t Height) {
    TSurfaceTexture& T = Textures[Surface];
    T.Width = Width;
    T.Height = Height;
    T.TextureWidth = TextureSize(Width);
    T.TextureHeight = TextureSize(Height);
    T.Texture = GLCreateTexture(T.TextureWidth, T.TextureHeight);
    T.Linear = false;
}

void TSurfaceGL::createPages() {
    const TPageTexture Layout = PageTextureLayout(GL_PAGE_SIZE);
    const uint32_t Texture = GLCreateTexture(Layout.Width, Layout.Height);
    for (int32_t Page = 0; Page < MAXIMUM_PAGES; Page++) {
        TSurfaceTexture& T = Textures[SPRITE_SURFACE + Page];
        T = TSurfaceTexture();
        T.Texture = Texture;
        T.X = PageX(Page, GL_PAGE_SIZE);
        T.Y = PageY(Page, GL_PAGE_SIZE);
        T.Width = T.Height = GL_PAGE_SIZE;
        T.TextureWidth = Layout.Width;
        T.TextureHeight = Layout.Height;
    }
    const TPixelRect& White = Layout.White;
    const std::vector<uint8_t> Texels(static_cast<size_t>(White.width()) * White.height() * 4, 255);
    GLWriteTexture(Texture, White.Left, White.Top, White.width(), White.height(), Texels.data());
    WhiteX = White.Left + White.width() / 2.0f;
    WhiteY = White.Top + White.height() / 2.0f;
}

void TSurfaceGL::CreateSurfaces() {
    CHECK_TEXT(WindowContext != nullptr, "WindowContext!=NULL");
    CHECK_TEXT(Textures[TEMP_SURFACE].Texture == 0, "Surface[TEMP_SURFACE]==NULL");
    CHECK_TEXT(Textures[STRETCH_SURFACE].Texture == 0, "Surface[STRETCH_SURFACE]==NULL");
    CHECK_TEXT(Textures[CACHE_SURFACE].Texture == 0, "Surface[CACHE_SURFACE]==NULL");
    CHECK_TEXT(Textures[AUTOMAP_SURFACE].Texture == 0, "Surface[AUTOMAP_SURFACE]==NULL");
    CHECK_TEXT(Textures[SPRITE_SURFACE].Texture == 0, "Surface[SPRITE_SURFACE]==NULL");
    // Making a texture reports no failure: the driver's refusal shows only when it is drawn from.
    for (int32_t Surface = TEMP_SURFACE; Surface < SPRITE_SURFACE; Surface++)
        if (Surface == STRETCH_SURFACE)
            createTexture(Surface, KEPT_STRETCH_PAGE, KEPT_STRETCH_PAGE);
        else
            createTexture(Surface, SurfaceRect[Surface].Right, SurfaceRect[Surface].Bottom);
    createPages();
    NumberOfPages = MAXIMUM_PAGES;
    FlushCount = 0;
    OffscreenBuffer = TGLFramebuffer::create(FramebufferCalls());
    if (OffscreenBuffer == nullptr) throw PROGRAM_ERROR(12);
    RenewedFlags[0] = RenewedFlags[1] = RenewedFlags[2] = true;
}

void TSurfaceGL::ReleaseSurfaces() {
    if (WindowContext != nullptr) {
        SelectSurface(SCREEN_SURFACE);
        // The pages share one texture: it goes with the first.
        for (int32_t Surface = TEMP_SURFACE; Surface <= SPRITE_SURFACE; Surface++)
            if (Textures[Surface].Texture != 0) GLDeleteTexture(Textures[Surface].Texture);
        if (LightTexture.Texture != 0) GLDeleteTexture(LightTexture.Texture);
        WindowContext->makeCurrent();
    }
    for (TSurfaceTexture& T : Textures)
        T.Texture = 0;
    LightTexture = TSurfaceTexture();
    Batch.clear();
    OffscreenBuffer.reset();
    NumberOfPages = 0;
    ViewMode = 0;
}

void TSurfaceGL::InitVideo(int32_t VMode, const TDisplayMode* GMode) {
    try {
        SetVideoMode(VMode, GMode);
    } catch (...) {
        try {
            ReleaseSurfaces();
        } catch (...) {
        }
        throw PROGRAM_ERROR(12);
    }
}

void TSurfaceGL::RestoreSurfaces(int32_t, const TDisplayMode*) {
    try {
        Lost = false;
        CreateSurfaces();
    } catch (...) {
        throw PROGRAM_ERROR(12);
    }
}

bool TSurfaceGL::ChangeVideoMode(TWindow* NewWindow, int32_t VMode, const TDisplayMode* GMode, bool Force) {
    RenewedFlags[0] = RenewedFlags[1] = RenewedFlags[2] = false;
    WindowMoved();
    if (GetDisplayChanged()) {
        SetDisplayChanged(false);
        RenewedFlags[2] = true;
    }
    if (WindowContext != nullptr && !Force && VMode == ViewMode) return true;
    ReleaseSurfaces();
    deleteWindowContext();
    Window = NewWindow;
    InitVideo(VMode, GMode);
    const int32_t Bits = GMode != nullptr && VMode == FULLSCREEN_MODE ? (GMode->Depth & 0xFF) : 32;
    if (Window == nullptr) return false;
    WindowContext = TGLContext::create(*Window, Bits);
    if (WindowContext == nullptr || !WindowContext->makeCurrent()) {
        WindowContext.reset();
        return false;
    }
    GLInitState();
    TakeClientRectangle(*Window, SurfaceRect, WindowRect);
    GLSelectWindowBuffer(WindowContext->isDoubleBuffered());
    GLSetProjection(0, 0, SurfaceRect[SCREEN_SURFACE].Right, SurfaceRect[SCREEN_SURFACE].Bottom, true);
    CurrentSurface = SCREEN_SURFACE;
    if (InitExtensions(REQUIRED_EXTENSIONS) != 1) DebugOutput("Necessary extensions were not supported");
    RestoreSurfaces(VMode, GMode);
    return true;
}

// Drawing goes straight into the surface's texture (at its place in it), or into the window's buffer.
void TSurfaceGL::SelectSurface(int32_t Surface) {
    CHECK_TEXT(In(Surface, 0, NUMBER_OF_SURFACES_GL - 1), "In(Surface,0,NUMBER_OF_SURFACES_GL-1)", Surface);
    if (Surface == CurrentSurface || WindowContext == nullptr) return;
    flush();
    const TSurfaceTexture& T = Textures[Surface];
    if (Surface == SCREEN_SURFACE || OffscreenBuffer == nullptr || T.Texture == 0) {
        if (OffscreenBuffer != nullptr) OffscreenBuffer->leave();
        if (SurfaceRect[SCREEN_SURFACE].Right == 0) TakeClientRectangle(*Window, SurfaceRect, WindowRect);
        GLSetProjection(0, 0, SurfaceRect[SCREEN_SURFACE].Right, SurfaceRect[SCREEN_SURFACE].Bottom, true);
        GLSelectWindowBuffer(WindowContext->isDoubleBuffered());
    } else {
        OffscreenBuffer->select(T.Texture);
        GLSetProjection(T.X, T.Y, T.Width, T.Height, false);
    }
    CurrentSurface = Surface;
}

void TSurfaceGL::Present() {
    if (ViewMode == 0 || WindowContext == nullptr) return;
    WaitFrame();
    SelectSurface(SCREEN_SURFACE);
    flush();
    WindowContext->swapBuffers();
}

TRectangle TSurfaceGL::GetSurfaceRect(int32_t Surface) {
    CHECK_TEXT(In(Surface, 0, NUMBER_OF_SURFACES_GL - 1), "In(Surface,0,NUMBER_OF_SURFACES_GL-1)", Surface);
    const TPixelRect& R = SurfaceRect[Surface];
    return {R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top};
}

bool TSurfaceGL::SurfacesRenewed(int32_t Type) {
    CHECK_TEXT(Type >= 0 && Type < 3, "Type>=0 && Type<3", Type);
    const bool Renewed = RenewedFlags[Type];
    RenewedFlags[Type] = false;
    return Renewed;
}

bool TSurfaceGL::SupportsLightEffects() { return true; }

int32_t TSurfaceGL::GetSurfaceMemory(int32_t Surface) {
    CHECK_TEXT(In(Surface, 0, NUMBER_OF_SURFACES_GL - 1), "In(Surface,0,NUMBER_OF_SURFACES_GL-1)", Surface);
    // Every surface of this engine lives in video memory: the window's buffer or a texture.
    if (Surface == PRIMARY_SURFACE || Surface == SCREEN_SURFACE)
        return WindowContext != nullptr ? MEMORY_VIDEO : MEMORY_NONE;
    return Textures[Surface].Texture != 0 ? MEMORY_VIDEO : MEMORY_NONE;
}

void TSurfaceGL::readPixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                            uint8_t* Bgrx) {
    CHECK_TEXT(In(Surface, 0, NUMBER_OF_SURFACES_GL - 1), "In(Surface,0,NUMBER_OF_SURFACES_GL-1)", Surface);
    if (WindowContext == nullptr) return;
    if (Surface == SCREEN_SURFACE) {
        SelectSurface(SCREEN_SURFACE);
        flush();
        GLReadPixels(x, y, Width, Height, true, SurfaceRect[SCREEN_SURFACE].Bottom, Bgrx);
        return;
    }
    const TSurfaceTexture& T = Textures[Surface];
    if (T.Texture == 0 || x < 0 || y < 0 || x + Width > T.TextureWidth - T.X ||
        y + Height > T.TextureHeight - T.Y)
        return;
    SelectSurface(SCREEN_SURFACE); // what was drawn on the surface is in its texture
    flush();
    std::vector<uint8_t> Bgra(static_cast<size_t>(T.TextureWidth) * T.TextureHeight * 4);
    GLReadTexture(T.Texture, Bgra.data());
    for (int32_t r = 0; r < Height; r++) {
        uint8_t* To = Bgrx + static_cast<size_t>(r) * Width * 4;
        std::memcpy(To, &Bgra[(static_cast<size_t>(T.Y + y + r) * T.TextureWidth + T.X + x) * 4],
                    static_cast<size_t>(Width) * 4);
        for (int32_t c = 0; c < Width; c++)
            To[4 * c + 3] = 0;
    }
}
