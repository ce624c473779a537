// The Direct3D 9 engine's drawing: fills, quads collected in a batch, texture uploads with the key as alpha
// 0, the smooth stretch and the light pass. Without a device nothing is drawn.
#include "graphics/surfaceDX9.h"

#include "foundation/Exception.h"
#include "graphics/SurfaceCommon.h"
#include "graphics/graphics.h"

#include <algorithm>

namespace {

constexpr uint32_t WHITE = 0xFFFFFFFFu;
const uint32_t AllWhite[4] = {WHITE, WHITE, WHITE, WHITE};

uint32_t Opaque(int32_t Red, int32_t Green, int32_t Blue) {
    return 0xFF000000u | static_cast<uint32_t>(std::clamp(Red, 0, 255)) << 16 |
           static_cast<uint32_t>(std::clamp(Green, 0, 255)) << 8 |
           static_cast<uint32_t>(std::clamp(Blue, 0, 255));
}

TQuadVertex Vertex(float x, float y, uint32_t Argb, float u, float v) {
    return {x,
            y,
            static_cast<uint8_t>(Argb >> 16),
            static_cast<uint8_t>(Argb >> 8),
            static_cast<uint8_t>(Argb),
            static_cast<uint8_t>(Argb >> 24),
            u,
            v};
}

} // namespace

TQuadTexture* TSurfaceDX9::texture(int32_t Surface) const {
    CHECK_TEXT(In(Surface, 0, NUMBER_OF_SURFACES_DX9 - 1), "In(Surface,0,NUMBER_OF_SURFACES_DX9-1)", Surface);
    return Surface >= SPRITE_SURFACE ? PageTexture.get() : Texture[Surface].get();
}

void TSurfaceDX9::selectRenderTarget(int32_t Surface) {
    if (Surface == CurrentTarget) return;
    FlushQuads();
    CurrentTarget = Surface;
}

// Index 1 names the staging texture: SCREEN_SURFACE is never a source. The pages are one source.
void TSurfaceDX9::selectTexture(int32_t Surface) {
    Surface = std::min(Surface, SPRITE_SURFACE);
    if (Surface == CurrentTexture) return;
    FlushQuads();
    CurrentTexture = Surface;
}

void TSurfaceDX9::FlushQuads() {
    if (QuadBatch.empty()) return;
    TQuadTexture* Target = CurrentTarget >= 0 ? texture(CurrentTarget) : nullptr;
    TQuadTexture* Source = CurrentTexture == SCREEN_SURFACE ? StagingTexture.get() : texture(CurrentTexture);
    // A failed draw (a lost device) only loses what it drew.
    if (Device != nullptr && Target != nullptr && Source != nullptr)
        Device->drawTriangles(*Target, *Source, QuadBatch.data(), static_cast<int32_t>(QuadBatch.size()));
    FlushCount++;
    QuadBatch.clear();
}

// Corners: top-left, top-right, bottom-left, bottom-right colours as 0xAARRGGBB. Positions are pixel edges.
void TSurfaceDX9::addQuad(std::vector<TQuadVertex>& Batch, float Left, float Top, float Right, float Bottom,
                          float uLeft, float uRight, float vTop, float vBottom, const uint32_t Corners[4]) {
    const TQuadVertex TopLeft = Vertex(Left, Top, Corners[0], uLeft, vTop);
    const TQuadVertex BottomRight = Vertex(Right, Bottom, Corners[3], uRight, vBottom);
    Batch.insert(Batch.end(), {TopLeft, Vertex(Right, Top, Corners[1], uRight, vTop), BottomRight,
                               BottomRight, Vertex(Left, Bottom, Corners[2], uLeft, vBottom), TopLeft});
}

void TSurfaceDX9::addTexturedQuad(float Left, float Top, float Right, float Bottom, float uLeft, float uRight,
                                  float vTop, float vBottom, const uint32_t Corners[4]) {
    addQuad(QuadBatch, Left, Top, Right, Bottom, uLeft, uRight, vTop, vBottom, Corners);
    if (static_cast<int32_t>(QuadBatch.size()) >= QUAD_BATCH_VERTICES) FlushQuads();
}

// A fill is a quad of the white texels below the pages in the fill colour, so that it joins the batch of
// copies from the pages.
void TSurfaceDX9::FillRectangle(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                                int32_t Red, int32_t Green, int32_t Blue) {
    if (Width <= 0 || Height <= 0 || texture(Surface) == nullptr || PageTexture == nullptr) return;
    selectRenderTarget(Surface);
    selectTexture(SPRITE_SURFACE);
    const uint32_t Colour = Opaque(Red, Green, Blue);
    const uint32_t Corners[4] = {Colour, Colour, Colour, Colour};
    addTexturedQuad(x, y, x + Width, y + Height, WhiteU, WhiteU, WhiteV, WhiteV, Corners);
}

// Texels is Width x Height, row by row; only the part inside the surface's texture is written. Quads still
// waiting in the batch may sample the texture, so they are drawn first.
void TSurfaceDX9::uploadTexels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                               const uint32_t* Source) {
    TQuadTexture* Target = Surface == SCREEN_SURFACE ? StagingTexture.get() : texture(Surface);
    if (Target == nullptr) return;
    const TPixelRect Extent =
        Surface == SCREEN_SURFACE ? TPixelRect{0, 0, Target->getWidth(), Target->getHeight()} : Rect[Surface];
    const int32_t c0 = std::max(0, -x), c1 = std::min(Width, Extent.width() - x);
    const int32_t r0 = std::max(0, -y), r1 = std::min(Height, Extent.height() - y);
    if (c0 >= c1 || r0 >= r1) return;
    if (CurrentTexture == std::min(Surface, SPRITE_SURFACE)) FlushQuads();
    const int32_t Left = originX(Surface) + x, Top = originY(Surface) + y;
    Device->update(*Target, {Left + c0, Top + r0, Left + c1, Top + r1},
                   Source + static_cast<size_t>(r0) * Width + c0, Width * 4);
}

void TSurfaceDX9::WritePixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                              const uint8_t* Pixels) {
    texture(Surface); // checks the index
    const uint32_t Key = KeyColor[Surface];
    if (Pixels == nullptr || Width <= 0 || Height <= 0 || Device == nullptr) return;
    Texels.resize(static_cast<size_t>(Width) * Height);
    for (size_t i = 0; i < Texels.size(); i++)
        Texels[i] = UploadedTexel(Pixels + 3 * i, nullptr, nullptr, Key);
    if (Surface >= SPRITE_SURFACE) {
        uploadTexels(Surface, x, y, Width, Height, Texels.data());
        return;
    }
    // Below the pages it is the automap: the block goes through the staging texture and is copied at the same
    // place with point sampling, so that only its own pixels change.
    uploadTexels(SCREEN_SURFACE, x, y, Width, Height, Texels.data());
    int32_t To[4] = {x, y, x + Width, y + Height}, Adjust[4] = {};
    if (!ClipRectangle(0, 0, Rect[AUTOMAP_SURFACE].Right, Rect[AUTOMAP_SURFACE].Bottom, To, Adjust)) return;
    const float Size = static_cast<float>(StagingTexture->getWidth());
    selectRenderTarget(AUTOMAP_SURFACE);
    selectTexture(SCREEN_SURFACE);
    addTexturedQuad(To[0], To[1], To[2], To[3], To[0] / Size, To[2] / Size, To[1] / Size, To[3] / Size,
                    AllWhite);
    FlushQuads();
}

void TSurfaceDX9::WriteColoredPixels(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                                     const uint8_t* Pixels, const uint8_t* MaskPixels,
                                     const int32_t* Colors) {
    CHECK_TEXT(Surface != SCREEN_SURFACE, "ToSurface!=SCREEN_SURFACE", Surface);
    CHECK_TEXT(x >= 0 && y >= 0 && Width > 0 && Height > 0, "x>=0 && y>=0 && Width>0 && Height>0", x, y);
    texture(Surface); // checks the index
    const uint32_t Key = KeyColor[Surface];
    if (Pixels == nullptr || Colors == nullptr || Device == nullptr) return;
    Texels.resize(static_cast<size_t>(Width) * Height);
    for (size_t i = 0; i < Texels.size(); i++)
        Texels[i] =
            UploadedTexel(Pixels + 3 * i, MaskPixels != nullptr ? MaskPixels + 3 * i : nullptr, Colors, Key);
    uploadTexels(Surface, x, y, Width, Height, Texels.data());
}

void TSurfaceDX9::BlitClipped(int32_t ToSurface, int32_t x, int32_t y, int32_t FromSurface, int32_t FromX,
                              int32_t FromY, int32_t Width, int32_t Height, int32_t ClipX, int32_t ClipY,
                              int32_t ClipWidth, int32_t ClipHeight) {
    int32_t To[4] = {x, y, x + Width, y + Height}, Adjust[4] = {};
    if (!ClipRectangle(ClipX, ClipY, ClipWidth, ClipHeight, To, Adjust)) return;
    if (texture(ToSurface) == nullptr || (FromSurface != SCREEN_SURFACE && texture(FromSurface) == nullptr))
        return;
    selectRenderTarget(ToSurface);
    selectTexture(FromSurface);
    if (FromSurface == SCREEN_SURFACE) {
        addTexturedQuad(To[0], To[1], To[2], To[3], 0, 1, 0, 1, AllWhite);
        return;
    }
    // A page's source is cut to its page, any other to its texture: a texture coordinate past the texture
    // would make the device refuse the whole batch.
    const int32_t W = texture(FromSurface)->getWidth(), H = texture(FromSurface)->getHeight();
    const bool Page = FromSurface >= SPRITE_SURFACE;
    int32_t From[4] = {FromX + Adjust[0], FromY + Adjust[1], FromX + Width + Adjust[2],
                       FromY + Height + Adjust[3]};
    if (!CutCopyToSource(To, From, Page ? Rect[FromSurface].width() : W,
                         Page ? Rect[FromSurface].height() : H))
        return;
    const float x0 = static_cast<float>(originX(FromSurface)), y0 = static_cast<float>(originY(FromSurface));
    addTexturedQuad(To[0], To[1], To[2], To[3], (x0 + From[0]) / W, (x0 + From[2]) / W, (y0 + From[1]) / H,
                    (y0 + From[3]) / H, AllWhite);
}

// The linear filter smooths the scaling.
void TSurfaceDX9::StretchBlit(int32_t ToSurface, int32_t x, int32_t y, int32_t Width, int32_t Height,
                              int32_t FromSurface, int32_t FromX, int32_t FromY, int32_t FromWidth,
                              int32_t FromHeight) {
    if (texture(ToSurface) == nullptr || (FromSurface != SCREEN_SURFACE && texture(FromSurface) == nullptr))
        return;
    selectRenderTarget(ToSurface);
    selectTexture(FromSurface);
    const TQuadTexture& Source = FromSurface == SCREEN_SURFACE ? *StagingTexture : *texture(FromSurface);
    const float W = static_cast<float>(Source.getWidth()), H = static_cast<float>(Source.getHeight());
    if (FromSurface == SCREEN_SURFACE) {
        FromX = FromY = 0;
        FromWidth = Source.getWidth();
        FromHeight = Source.getHeight();
    }
    const float OriginX = static_cast<float>(originX(FromSurface)),
                OriginY = static_cast<float>(originY(FromSurface));
    TStretchPiece Pieces[9];
    for (int32_t i = 0, n = StretchPieces(x, y, Width, Height, FromX, FromY, FromWidth, FromHeight, Pieces);
         i < n; i++) {
        const TStretchPiece& P = Pieces[i];
        addTexturedQuad(P.Left, P.Top, P.Right, P.Bottom, (OriginX + P.U0) / W, (OriginX + P.U1) / W,
                        (OriginY + P.V0) / H, (OriginY + P.V1) / H, AllWhite);
    }
}

// The scaled picture's background, which the copies would draw (they ignore the key), turns transparent in
// the scratch square; the kept stretches beside it stay as they are.
void TSurfaceDX9::keyStretchedBackground(int32_t Red, int32_t Green, int32_t Blue) {
    TQuadTexture* Target = texture(STRETCH_SURFACE);
    if (Target == nullptr || Device == nullptr) return;
    FlushQuads();
    const TPixelRect Area{0, 0, STRETCH_SIZE, STRETCH_SIZE};
    Texels.resize(static_cast<size_t>(Area.width()) * Area.height());
    if (Device->read(*Target, Area, Texels.data(), Area.width() * 4) != PLATFORM_OK) return;
    MakeBackgroundTransparent(Texels.data(), Texels.size(), Red, Green, Blue);
    Device->update(*Target, Area, Texels.data(), Area.width() * 4);
}

// The light picture goes into the light texture, which multiplies TEMP_SURFACE where it is drawn; copies
// still waiting in the batch lie under it.
void TSurfaceDX9::DrawShadedQuads(int32_t Surface, int32_t Count, const int32_t* Rectangles,
                                  const int32_t* Colors) {
    if (Surface != TEMP_SURFACE || Device == nullptr) return;
    const TPixelRect& Extent = Rect[TEMP_SURFACE];
    LightMap.shade(Extent.width(), Extent.height(), Count, Rectangles, Colors,
                   [this](const TPixelSurface& Light, TPixelRect Area) { multiplyByLight(Light, Area); });
}

void TSurfaceDX9::multiplyByLight(const TPixelSurface& Light, TPixelRect Area) {
    if (LightTexture == nullptr || LightTexture->getWidth() < Light.getWidth() ||
        LightTexture->getHeight() < Light.getHeight()) {
        LightTexture.reset();
        if (Device->createMultiplyTexture(Light.getWidth(), Light.getHeight(), LightTexture) != PLATFORM_OK)
            return;
    }
    FlushQuads();
    if (Device->update(*LightTexture, Area,
                       reinterpret_cast<const uint32_t*>(Light.row(Area.Top)) + Area.Left,
                       Light.getPitch()) != PLATFORM_OK)
        return;
    const float W = static_cast<float>(LightTexture->getWidth());
    const float H = static_cast<float>(LightTexture->getHeight());
    LightQuadBatch.clear();
    addQuad(LightQuadBatch, Area.Left, Area.Top, Area.Right, Area.Bottom, Area.Left / W, Area.Right / W,
            Area.Top / H, Area.Bottom / H, AllWhite);
    Device->drawTriangles(*Texture[TEMP_SURFACE], *LightTexture, LightQuadBatch.data(),
                          static_cast<int32_t>(LightQuadBatch.size()));
}

void TSurfaceDX9::SetSurfaceColorKey(int32_t Surface, int32_t Red, int32_t Green, int32_t Blue) {
    CHECK_TEXT(In(Surface, 0, NUMBER_OF_SURFACES_DX9 - 1), "In(ToSurface,0,NUMBER_OF_SURFACES_DX9-1)",
               Surface);
    KeyColor[Surface] = Opaque(Red, Green, Blue);
}
