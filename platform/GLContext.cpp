// The OpenGL layer of the OpenGL engine: contexts through SDL, entry points, the framebuffer object and the
// immediate-mode drawing.
#include "platform/GLContext.h"

#include "platform/Window.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <GL/glu.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

std::unique_ptr<TGLContext> TGLContext::create(TWindow& Window, int32_t ColourBits) {
    if (!Window.supportsOpenGL() || ColourBits < 15) {
        SDL_SetError("no OpenGL pixel format of %d bits", static_cast<int>(ColourBits));
        return nullptr;
    }
    // Another user of the window (the renderer of another engine) may have left its own wishes behind; the
    // engine wants the default compatibility context.
    SDL_GL_ResetAttributes();
    SDL_GLContext Native = SDL_GL_CreateContext(Window.getNative());
    if (Native == nullptr) return nullptr;
    int Red = 0, Green = 0, Blue = 0, Double = 0;
    SDL_GL_GetAttribute(SDL_GL_RED_SIZE, &Red);
    SDL_GL_GetAttribute(SDL_GL_GREEN_SIZE, &Green);
    SDL_GL_GetAttribute(SDL_GL_BLUE_SIZE, &Blue);
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &Double);
    if (Red + Green + Blue < 15) {
        SDL_GL_MakeCurrent(Window.getNative(), nullptr);
        SDL_GL_DeleteContext(Native);
        SDL_SetError("OpenGL pixel format of %d colour bits only", Red + Green + Blue);
        return nullptr;
    }
    return std::unique_ptr<TGLContext>(new TGLContext(Window, Native, Double != 0));
}

TGLContext::~TGLContext() {
    if (isCurrent()) SDL_GL_MakeCurrent(Window.getNative(), nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(Native));
}

bool TGLContext::makeCurrent() {
    return SDL_GL_MakeCurrent(Window.getNative(), static_cast<SDL_GLContext>(Native)) == 0;
}

bool TGLContext::isCurrent() const { return SDL_GL_GetCurrentContext() == Native; }

void TGLContext::swapBuffers() {
    if (DoubleBuffered)
        SDL_GL_SwapWindow(Window.getNative());
    else
        glFlush();
}

void GLMakeNoneCurrent() {
    if (SDL_GL_GetCurrentContext() != nullptr) SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
}

const char* GLGetString(TGLText Which) {
    const GLenum Name = Which == TGLText::Extensions ? GL_EXTENSIONS
                        : Which == TGLText::Version  ? GL_VERSION
                                                     : GL_RENDERER;
    const GLubyte* Text = glGetString(Name);
    return Text != nullptr ? reinterpret_cast<const char*>(Text) : "";
}

TGLProc GLGetProcAddress(const char* Name) { return reinterpret_cast<TGLProc>(SDL_GL_GetProcAddress(Name)); }

bool IsSoftwareRenderer(const char* Renderer) {
    if (Renderer == nullptr) return true;
    std::string Lower(Renderer);
    for (char& c : Lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return Lower.find("llvmpipe") != std::string::npos || Lower.find("softpipe") != std::string::npos ||
           Lower.find("software") != std::string::npos;
}

void GLInitState() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glAlphaFunc(GL_GREATER, 0.0f);
    glEnable(GL_ALPHA_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
}

void GLSetProjection(int32_t x, int32_t y, int32_t Width, int32_t Height, bool YDown) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(x, y, Width, Height);
    if (YDown)
        gluOrtho2D(0, Width, Height, 0);
    else
        gluOrtho2D(0, Width, 0, Height);
    glMatrixMode(GL_MODELVIEW);
}

void GLSelectWindowBuffer(bool DoubleBuffered) {
    glDrawBuffer(DoubleBuffered ? GL_BACK : GL_FRONT);
    glReadBuffer(DoubleBuffered ? GL_BACK : GL_FRONT);
}

uint32_t GLCreateTexture(int32_t Width, int32_t Height, bool Alpha) {
    GLuint Texture = 0;
    glGenTextures(1, &Texture);
    glBindTexture(GL_TEXTURE_2D, Texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, Alpha ? GL_RGBA8 : GL_RGB8, Width, Height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 nullptr);
    return Texture;
}

void GLDeleteTexture(uint32_t Texture) {
    const GLuint Name = Texture;
    glDeleteTextures(1, &Name);
}

void GLBindTexture(uint32_t Texture) { glBindTexture(GL_TEXTURE_2D, Texture); }

void GLSetTextureFilter(bool Linear) {
    const GLint Filter = Linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, Filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, Filter);
}

void GLWriteTexture(uint32_t Texture, int32_t x, int32_t y, int32_t Width, int32_t Height,
                    const uint8_t* Rgba) {
    glBindTexture(GL_TEXTURE_2D, Texture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, Width, Height, GL_RGBA, GL_UNSIGNED_BYTE, Rgba);
}

void GLWriteTextureRows(uint32_t Texture, int32_t x, int32_t y, int32_t Width, int32_t Height,
                        const uint8_t* Bgrx, int32_t Pitch) {
    glBindTexture(GL_TEXTURE_2D, Texture);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, Pitch / 4);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, Width, Height, GL_BGRA, GL_UNSIGNED_BYTE, Bgrx);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

void GLReadTexture(uint32_t Texture, uint8_t* Bgra) {
    glBindTexture(GL_TEXTURE_2D, Texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, Bgra);
}

void GLDrawTriangles(const TGLVertex* Vertices, int32_t Count) {
    if (Count <= 0) return;
    glVertexPointer(2, GL_FLOAT, sizeof(TGLVertex), &Vertices->x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(TGLVertex), &Vertices->u);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(TGLVertex), &Vertices->Red);
    glDrawArrays(GL_TRIANGLES, 0, Count);
}

void GLMultiplyTriangles(const TGLVertex* Vertices, int32_t Count) {
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    GLDrawTriangles(Vertices, Count);
    glDisable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
}

void GLReadPixels(int32_t x, int32_t y, int32_t Width, int32_t Height, bool YDown, int32_t WindowHeight,
                  uint8_t* Bgrx) {
    const size_t RowBytes = static_cast<size_t>(Width) * 4;
    glReadPixels(x, YDown ? WindowHeight - y - Height : y, Width, Height, GL_BGRA, GL_UNSIGNED_BYTE, Bgrx);
    if (YDown) {
        std::vector<uint8_t> Row(RowBytes);
        for (int32_t r = 0; r < Height / 2; r++) {
            uint8_t* A = Bgrx + r * RowBytes;
            uint8_t* B = Bgrx + (Height - 1 - r) * RowBytes;
            std::memcpy(Row.data(), A, RowBytes);
            std::memcpy(A, B, RowBytes);
            std::memcpy(B, Row.data(), RowBytes);
        }
    }
    for (size_t i = 3; i < RowBytes * Height; i += 4)
        Bgrx[i] = 0;
}

namespace {

using TGenNames = void(APIENTRY*)(GLsizei, GLuint*);
using TDeleteNames = void(APIENTRY*)(GLsizei, const GLuint*);
using TBindName = void(APIENTRY*)(GLenum, GLuint);
using TCheckStatus = GLenum(APIENTRY*)(GLenum);
using TAttachTexture = void(APIENTRY*)(GLenum, GLenum, GLenum, GLuint, GLint);

template <typename T> T Call(TGLProc Proc) { return reinterpret_cast<T>(Proc); }

} // namespace

std::unique_ptr<TGLFramebuffer> TGLFramebuffer::create(const TGLFramebufferCalls& Calls) {
    const TGLProc All[] = {Calls.GenFramebuffers, Calls.BindFramebuffer, Calls.DeleteFramebuffers,
                           Calls.CheckFramebufferStatus, Calls.FramebufferTexture2D};
    for (TGLProc Proc : All)
        if (Proc == nullptr) return nullptr;
    std::unique_ptr<TGLFramebuffer> Buffer(new TGLFramebuffer(Calls));
    GLuint Name = 0;
    Call<TGenNames>(Calls.GenFramebuffers)(1, &Name);
    Buffer->Framebuffer = Name;
    // The driver must draw into the textures the surfaces are kept in.
    const uint32_t Probe = GLCreateTexture(1, 1);
    Buffer->select(Probe);
    const GLenum Status = Call<TCheckStatus>(Calls.CheckFramebufferStatus)(GL_FRAMEBUFFER_EXT);
    Buffer->leave();
    GLDeleteTexture(Probe);
    if (Status != GL_FRAMEBUFFER_COMPLETE_EXT) return nullptr;
    return Buffer;
}

TGLFramebuffer::~TGLFramebuffer() {
    // The window's buffer must not stay bound to a name that no longer exists.
    leave();
    const GLuint Framebuffers[] = {Framebuffer};
    if (Framebuffer != 0) Call<TDeleteNames>(Calls.DeleteFramebuffers)(1, Framebuffers);
}

void TGLFramebuffer::select(uint32_t Texture) {
    Call<TBindName>(Calls.BindFramebuffer)(GL_FRAMEBUFFER_EXT, Framebuffer);
    Call<TAttachTexture>(Calls.FramebufferTexture2D)(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT,
                                                     GL_TEXTURE_2D, Texture, 0);
    glDrawBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
}

void TGLFramebuffer::leave() { Call<TBindName>(Calls.BindFramebuffer)(GL_FRAMEBUFFER_EXT, 0); }
