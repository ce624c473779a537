// Skin images, object views and outfit views.
#include "gui/DialogElementsViews.h"

#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"

namespace {

void CopyBackground(int32_t* Destination, const int32_t* Background) {
    for (int32_t i = 0; i < 3; i++)
        Destination[i] = Background != nullptr ? Background[i] : 0;
}

} // namespace

// ---- TSkinImage ----

TSkinImage::TSkinImage(int32_t Skin) : Skin(Skin) { setSize(GetSkin(Skin).Width, GetSkin(Skin).Height); }

void TSkinImage::draw(int32_t Surface, int32_t X, int32_t Y) try {
    CHECK_TEXT(X >= 0, "x>=0", X);
    CHECK_TEXT(Y >= 0, "y>=0", Y);
    DrawSkin(Surface, X, Y, Width, Height, Skin, 0, 0);
}
CATCH_FRAME(X, Y)

bool TSkinImage::mouseMove(int32_t, int32_t) { return false; }
bool TSkinImage::leftButtonDown(int32_t, int32_t, uint32_t) { return false; }
bool TSkinImage::leftButtonUp(int32_t, int32_t, uint32_t) { return false; }
bool TSkinImage::rightClick(int32_t, int32_t, uint32_t) { return false; }
bool TSkinImage::mouseScroll(int32_t, int32_t, uint32_t) { return false; }

// ---- TObjectView ----

TObjectView::TObjectView(TObject Object, const int32_t* Background, bool Framed)
    : Framed(Framed), Object(Object) {
    CopyBackground(this->Background, Background);
}

void TObjectView::draw(int32_t Surface, int32_t X, int32_t Y) try {
    int32_t AreaX = X, AreaY = Y, AreaWidth = Width, AreaHeight = Height;
    if (Framed) {
        CHECK_TEXT(X >= 0, "x>=0", X);
        CHECK_TEXT(Y >= 0, "y>=0", Y);
        DrawSkin(Surface, X, Y, Width, Height, 102, 0, 0);
        int32_t Margin = SkinProperties.ObjectView.Margin;
        AreaX += Margin, AreaY += Margin, AreaWidth -= 2 * Margin, AreaHeight -= 2 * Margin;
    }
    CHECK(getWidth() == getHeight());
    DrawObject(Surface, X, Y, Width, Object, Background[0], Background[1], Background[2], AreaX, AreaY,
               AreaWidth, AreaHeight, SkinProperties.ObjectView.CountFormat, false);
}
CATCH_FRAME(X, Y)

bool TObjectView::mouseMove(int32_t, int32_t) { return false; }
bool TObjectView::leftButtonDown(int32_t, int32_t, uint32_t) { return false; }
bool TObjectView::leftButtonUp(int32_t, int32_t, uint32_t) { return false; }
bool TObjectView::rightClick(int32_t, int32_t, uint32_t) { return false; }

// ---- TOutfitView ----

TOutfitView::TOutfitView(int32_t LookType, int32_t Mode, const int32_t* ColorData, const int32_t* Background)
    : LookType(LookType), Colors{}, Mode(Mode) {
    CHECK_TEXT(ColorData != nullptr, "ColorData!=NULL");
    for (int32_t i = 0; i < 4; i++)
        Colors[i] = ColorData[i];
    CopyBackground(this->Background, Background);
}

void TOutfitView::setMask(int32_t Mask, int32_t Color) {
    CHECK(In(Mask, 1, 4), Mask);
    Colors[Mask - 1] = Color;
}

void TOutfitView::draw(int32_t Surface, int32_t X, int32_t Y) try {
    CHECK(getWidth() == getHeight());
    DrawOutfit(Surface, X, Y, Width, LookType, Colors, Background[0], Background[1], Background[2], X, Y,
               Width, Height, SkinProperties.ObjectView.CountFormat);
}
CATCH_FRAME(X, Y)

bool TOutfitView::mouseMove(int32_t, int32_t) { return false; }
bool TOutfitView::leftButtonDown(int32_t, int32_t, uint32_t) { return false; }
bool TOutfitView::leftButtonUp(int32_t, int32_t, uint32_t) { return false; }
bool TOutfitView::rightClick(int32_t, int32_t, uint32_t) { return false; }
