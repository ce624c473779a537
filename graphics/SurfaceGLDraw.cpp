// The OpenGL engine's drawing: fills and textured copies gathered into batches, the smooth stretch through
// the two scratch surfaces, uploads with recolouring and the light. Nothing is drawn before the context and
// its surfaces exist.
#include "graphics/SurfaceGL.h"

#include "foundation/Exception.h"
#include "graphics/SurfaceCommon.h"
#include "graphics/graphics.h"

#include <cstdlib>
#include <vector>

bool TSurfaceGL::hasTexture(int32_t Surface) const {
    return In(Surface, 0, NUMBER_OF_SURFACES_GL - 1) && Textures[Surface].Texture != 0;
}

bool TSurfaceGL::select(int32_t Surface) {
    SelectSurface(Surface);
    if (WindowContext == nullptr) return false;
    return Surface == SCREEN_SURFACE || (OffscreenBuffer != nullptr && hasTexture(Surface));
}

TSurfaceTexture& TSurfaceGL::filterOwner(int32_t Surface) {
    return Textures[Surface >= SPRITE_SURFACE ? SPRITE_SURFACE : Surface];
}

// A source of another texture or filter than the batch's draws the batch first.
void TSurfaceGL::bindSource(int32_t Surface, bool Linear) {
    const uint32_t Texture = Textures[Surface].Texture;
    if (Texture != BatchTexture || Linear != BatchLinear) flush();
    BatchTexture = Texture;
    BatchLinear = Linear;
    GLBindTexture(Texture);
    BoundSurface = Surface;
    SetFilter(Linear ? GL_TEXTURE_LINEAR : GL_TEXTURE_NEAREST);
}

void TSurfaceGL::SetFilter(int32_t Filter) {
    if (!hasTexture(BoundSurface)) return;
    const bool Linear = Filter == GL_TEXTURE_LINEAR;
    TSurfaceTexture& Owner = filterOwner(BoundSurface);
    if (Owner.Linear == Linear) return;
    flush();
    GLSetTextureFilter(Linear);
    Owner.Linear = Linear;
}

void TSurfaceGL::addQuad(float Left, float Top, float Right, float Bottom, const TSurfaceTexture& Source,
                         float U0, float V0, float U1, float V1, uint32_t Rgba) {
    const float tw = static_cast<float>(Source.TextureWidth), th = static_cast<float>(Source.TextureHeight);
    const float u0 = (Source.X + U0) / tw, v0 = (Source.Y + V0) / th, u1 = (Source.X + U1) / tw,
                v1 = (Source.Y + V1) / th;
    const auto Corner = [Rgba](float x, float y, float u, float v) {
        return TGLVertex{x,
                         y,
                         u,
                         v,
                         static_cast<uint8_t>(Rgba >> 24),
                         static_cast<uint8_t>(Rgba >> 16),
                         static_cast<uint8_t>(Rgba >> 8),
                         static_cast<uint8_t>(Rgba)};
    };
    const TGLVertex TopLeft = Corner(Left, Top, u0, v0), BottomRight = Corner(Right, Bottom, u1, v1);
    Batch.insert(Batch.end(), {TopLeft, Corner(Left, Bottom, u0, v1), BottomRight, TopLeft, BottomRight,
                               Corner(Right, Top, u1, v0)});
}

void TSurfaceGL::flush() {
    if (Batch.empty()) return;
    GLBindTexture(BatchTexture);
    GLDrawTriangles(Batch.data(), static_cast<int32_t>(Batch.size()));
    Batch.clear();
    FlushCount++;
}

// A fill is a quad of the white texels below the pages in the fill colour, so that it joins the batch of
// copies from the pages.
void TSurfaceGL::FillRectangle(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                               int32_t Red, int32_t Green, int32_t Blue) {
    if (!select(Surface) || Width <= 0 || Height <= 0) return;
    bindSource(SPRITE_SURFACE, false);
    const uint32_t Rgba = static_cast<uint32_t>(Red & 0xFF) << 24 |
                          static_cast<uint32_t>(Green & 0xFF) << 16 |
                          static_cast<uint32_t>(Blue & 0xFF) << 8 | 0xFF;
    addQuad(x, y, x + Width, y + Height, Textures[SPRITE_SURFACE], WhiteX, WhiteY, WhiteX, WhiteY, Rgba);
}

void TSurfaceGL::WritePixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                             const uint8_t* Pixels) {
    upload(Surface, x, y, Width, Height, Pixels, nullptr, nullptr);
}

void TSurfaceGL::WriteColoredPixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                                    const uint8_t* Pixels, const uint8_t* MaskPixels, const int32_t* Colors) {
    if (Colors == nullptr) return;
    upload(Surface, x, y, Width, Height, Pixels, MaskPixels, Colors);
}

// Converts the RGB block to RGBA (recoloured when Colors is given; the surface's key colour transparent) and
// writes it into the surface's texture. A block reaching past the texture is not written.
void TSurfaceGL::upload(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                        const uint8_t* Pixels, const uint8_t* MaskPixels, const int32_t* Colors) {
    CHECK_TEXT(Surface != SCREEN_SURFACE, "ToSurface!=SCREEN_SURFACE", Surface);
    CHECK_TEXT(x >= 0 && y >= 0 && Width > 0 && Height > 0, "x>=0 && y>=0 && Width>0 && Height>0", x, y);
    CHECK_TEXT(In(Surface, 0, NUMBER_OF_SURFACES_GL - 1), "In(Surface,0,NUMBER_OF_SURFACES_GL-1)", Surface);
    if (Colors != nullptr || Surface != AUTOMAP_SURFACE) SelectSurface(Surface);
    const TSurfaceTexture& T = Textures[Surface];
    if (Pixels == nullptr || T.Texture == 0 || x + Width > T.Width || y + Height > T.Height) return;
    const uint32_t Key = 0xFF000000u | static_cast<uint32_t>(T.KeyRed & 0xFF) << 16 |
                         static_cast<uint32_t>(T.KeyGreen & 0xFF) << 8 |
                         static_cast<uint32_t>(T.KeyBlue & 0xFF);
    std::vector<uint32_t> Texels(static_cast<size_t>(Width) * Height);
    for (size_t i = 0; i < Texels.size(); i++)
        Texels[i] =
            UploadedTexel(Pixels + 3 * i, MaskPixels != nullptr ? MaskPixels + 3 * i : nullptr, Colors, Key);
    if (WindowContext == nullptr) return;
    // Triangles waiting to be drawn may sample the texels that change, or draw into them.
    flush();
    GLWriteTextureRows(T.Texture, T.X + x, T.Y + y, Width, Height,
                       reinterpret_cast<const uint8_t*>(Texels.data()), Width * 4);
}

void TSurfaceGL::BlitClipped(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX,
                             int32_t FromY, int32_t Width, int32_t Height, int32_t ClipX, int32_t ClipY,
                             int32_t ClipWidth, int32_t ClipHeight) {
    CHECK_TEXT(FromSurface != SCREEN_SURFACE, "FromSurface != SCREEN_SURFACE", FromSurface);
    int32_t To[4] = {x, y, x + Width, y + Height}, Adjust[4] = {};
    if (!ClipRectangle(ClipX, ClipY, ClipWidth, ClipHeight, To, Adjust)) return;
    if (!select(ToSurface) || !hasTexture(FromSurface)) return;
    // Past its surface the source would read a neighbouring page or the texture's padding.
    const TSurfaceTexture& Source = Textures[FromSurface];
    int32_t From[4] = {FromX + Adjust[0], FromY + Adjust[1], FromX + Width + Adjust[2],
                       FromY + Height + Adjust[3]};
    if (!CutCopyToSource(To, From, Source.Width, Source.Height)) return;
    bindSource(FromSurface, false);
    addQuad(To[0], To[1], To[2], To[3], Source, From[0], From[1], From[2], From[3]);
}

void TSurfaceGL::StretchBlit(int32_t ToSurface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                             int32_t FromSurface, int32_t FromX, int32_t FromY, int32_t FromWidth,
                             int32_t FromHeight) {
    CHECK_TEXT(FromSurface != SCREEN_SURFACE, "FromSurface != SCREEN_SURFACE", FromSurface);
    if (!select(ToSurface) || !hasTexture(FromSurface) || Width <= 0 || Height <= 0) return;
    bindSource(FromSurface, true);
    TStretchPiece Pieces[9];
    for (int32_t i = 0, n = StretchPieces(x, y, Width, Height, FromX, FromY, FromWidth, FromHeight, Pieces);
         i < n; i++) {
        const TStretchPiece& P = Pieces[i];
        addQuad(P.Left, P.Top, P.Right, P.Bottom, Textures[FromSurface], P.U0, P.V0, P.U1, P.V1);
    }
}

// The scaled picture's background, which the copies would draw (they ignore the key), turns transparent in
// the scratch square; the kept stretches beside it stay as they are.
void TSurfaceGL::keyStretchedBackground(int32_t Red, int32_t Green, int32_t Blue) {
    if (!hasTexture(STRETCH_SURFACE) || WindowContext == nullptr) return;
    SelectSurface(SCREEN_SURFACE); // the scaled picture is drawn into the texture
    const TSurfaceTexture& T = Textures[STRETCH_SURFACE];
    std::vector<uint32_t> Texels(static_cast<size_t>(T.TextureWidth) * T.TextureHeight);
    GLReadTexture(T.Texture, reinterpret_cast<uint8_t*>(Texels.data()));
    for (int32_t Row = 0; Row < STRETCH_SIZE; Row++)
        MakeBackgroundTransparent(Texels.data() + static_cast<size_t>(Row) * T.TextureWidth, STRETCH_SIZE,
                                  Red, Green, Blue);
    GLWriteTextureRows(T.Texture, 0, 0, STRETCH_SIZE, STRETCH_SIZE,
                       reinterpret_cast<const uint8_t*>(Texels.data()), T.TextureWidth * 4);
}

void TSurfaceGL::DrawShadedQuads(int32_t Surface, int32_t Count, const int32_t* Rectangles,
                                 const int32_t* Colors) {
    if (Count <= 0 || Rectangles == nullptr || Colors == nullptr || !select(Surface)) return;
    const TPixelRect& Extent = SurfaceRect[Surface];
    LightMap.shade(Extent.Right, Extent.Bottom, Count, Rectangles, Colors,
                   [this](const TPixelSurface& Light, TPixelRect Area) { multiplyByLight(Light, Area); });
}

// Multiplies Area of the current surface by the same area of the light picture, through the light texture.
void TSurfaceGL::multiplyByLight(const TPixelSurface& Light, TPixelRect Area) {
    flush();
    if (LightTexture.TextureWidth < Light.getWidth() || LightTexture.TextureHeight < Light.getHeight()) {
        if (LightTexture.Texture != 0) GLDeleteTexture(LightTexture.Texture);
        LightTexture.TextureWidth = TextureSize(Light.getWidth());
        LightTexture.TextureHeight = TextureSize(Light.getHeight());
        LightTexture.Texture = GLCreateTexture(LightTexture.TextureWidth, LightTexture.TextureHeight, false);
    }
    GLWriteTextureRows(LightTexture.Texture, Area.Left, Area.Top, Area.width(), Area.height(),
                       Light.row(Area.Top) + 4 * Area.Left, Light.getPitch());
    BoundSurface = -1; // the light texture is bound now
    BatchTexture = 0;
    addQuad(Area.Left, Area.Top, Area.Right, Area.Bottom, LightTexture, Area.Left, Area.Top, Area.Right,
            Area.Bottom);
    GLMultiplyTriangles(Batch.data(), static_cast<int32_t>(Batch.size()));
    Batch.clear();
}

void TSurfaceGL::SetSurfaceColorKey(int32_t Surface, int32_t Red, int32_t Green, int32_t Blue) {
    CHECK_TEXT(In(Surface, 0, NUMBER_OF_SURFACES_GL - 1), "In(Surface,0,NUMBER_OF_SURFACES_GL-1)", Surface);
    Textures[Surface].KeyRed = Red;
    Textures[Surface].KeyGreen = Green;
    Textures[Surface].KeyBlue = Blue;
}
