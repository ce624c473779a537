// The check box, the progress bar and the separator.
#include "gui/DialogElementsControls.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/graphics.h"
#include "gui/DialogElementsText.h"
#include "gui/SkinProperties.h"

#include <cstring>
#include <string>

namespace {

TTextLabel* CaptionLabel(const TTextFormat& Format, const char* Text) {
    return new TTextLabel(Format.Font, Format.Red, Format.Green, Format.Blue, Format.Alignment, Text);
}

} // namespace

// ---- TCheckBox ----

TCheckBox::TCheckBox(const char* _Text) try {
    CHECK_TEXT(_Text != nullptr, "_Text!=NULL");
    CHECK_TEXT(strlen(_Text) < 50, "strlen(_Text)<50");
    allocateDrawingList(4);
    Caption = CaptionLabel(SkinProperties.CheckBox.TextFormat, _Text);
    addChild(Caption);
    const TSkinRectangle& Margins = SkinProperties.CheckBox.Text;
    fitToChild(Caption, Margins.x, Margins.y, Margins.width, Margins.height, false);
    placeChild(Caption, Margins.x, Margins.y, Margins.width, Margins.height);
    arrange();
}
CATCH_FRAME()

void TCheckBox::arrange() {
    const TSkin &Top = GetSkin(148), &Left = GetSkin(146), &Right = GetSkin(147), &Bottom = GetSkin(149);
    DrawingList[0] = {148, 0, 0, Width, Top.Height};
    DrawingList[1] = {146, 0, Top.Height, Left.Width, Height - Top.Height};
    DrawingList[2] = {147, Width - Right.Width, Top.Height, Right.Width, Height - Top.Height};
    DrawingList[3] = {149, Left.Width, Height - Bottom.Height, Width - Right.Width - Left.Width,
                      Bottom.Height};
}

void TCheckBox::setEnabled(bool Flag) try {
    Enabled = Flag;
    const TTextFormat& Format =
        Flag ? SkinProperties.CheckBox.TextFormat : SkinProperties.CheckBox.DisabledTextFormat;
    TTextLabel* Old = Caption;
    Caption = CaptionLabel(Format, Old->getText());
    Caption->setPosition(Old->X, Old->Y);
    Caption->setSize(Old->Width, Old->Height);
    deleteChild(Old);
    addChild(Caption);
}
CATCH_FRAME()

bool TCheckBox::leftButtonUp(int32_t, int32_t, uint32_t) {
    if (Enabled) Checked = !Checked;
    return true;
}

void TCheckBox::draw(int32_t Surface, int32_t X, int32_t Y) try {
    TParentComponent::draw(Surface, X, Y);
    const TSkinPoint& Item = SkinProperties.CheckBox.Item;
    CHECK_TEXT(X + Item.x >= 0, "x+SkinProperties.CheckBox.Item.x>=0");
    CHECK_TEXT(Y + Item.y >= 0, "y+SkinProperties.CheckBox.Item.y>=0");
    int32_t Skin = Enabled && Checked ? 150 : 151;
    DrawSkin(Surface, X + Item.x, Y + Item.y, GetSkin(Skin).Width, GetSkin(Skin).Height, Skin, 0, 0);
}
CATCH_FRAME(X, Y)

// ---- TProgressBar ----

TProgressBar::TProgressBar() { allocateDrawingList(6); }

int32_t TProgressBar::getMinimumWidth() const {
    return GetSkin(256).Width + GetSkin(257).Width + GetSkin(258).Width;
}

int32_t TProgressBar::getMinimumHeight() const { return GetSkin(256).Height; }

void TProgressBar::setSize(int32_t _Width, int32_t _Height) {
    TLeafComponent::setSize(_Width, _Height);
    arrange();
}

void TProgressBar::arrange() {
    const int32_t W = Width, H = Height;
    const int32_t TroughLeft = GetSkin(256).Width, TroughRight = GetSkin(258).Width;
    const int32_t FillLeft = GetSkin(259).Width, FillRight = GetSkin(261).Width;
    const int32_t F = static_cast<int32_t>(static_cast<int64_t>(Value) * W / Maximum);
    DrawingList[0] = {256, 0, 0, TroughLeft, H};
    DrawingList[1] = {257, TroughLeft, 0, W - TroughRight - TroughLeft, H};
    DrawingList[2] = {258, W - TroughRight, 0, TroughRight, H};
    const bool RightShown = F > W - FillRight;
    const int32_t E = RightShown ? W - FillRight : F;
    DrawingList[3] = F > 0 ? TSkinPiece{259, 0, 0, F, H} : TSkinPiece{};
    DrawingList[4] = E > FillLeft ? TSkinPiece{260, FillLeft, 0, E - FillLeft, H} : TSkinPiece{};
    DrawingList[5] = RightShown ? TSkinPiece{261, W - FillRight, 0, F - (W - FillRight), H} : TSkinPiece{};
}

void TProgressBar::setMaximum(int32_t Maximum) try {
    CHECK_TEXT(Maximum > 0, "maximum>0", Maximum);
    this->Maximum = Maximum;
    Clamp(Value, 0, Maximum); // a fill wider than the bar would draw outside it
    arrange();
}
CATCH_FRAME(Maximum)

void TProgressBar::setValue(int32_t Value) {
    this->Value = Clamp(Value, 0, Maximum);
    arrange();
}

void TProgressBar::fill() {
    Value = Maximum;
    arrange();
}

// ---- TSeparator ----

TSeparator::TSeparator(bool Horizontal) : Horizontal(Horizontal) { allocateDrawingList(2); }

void TSeparator::setSize(int32_t _Width, int32_t _Height) {
    TLeafComponent::setSize(_Width, _Height);
    arrange();
}

void TSeparator::arrange() {
    if (Horizontal) {
        DrawingList[0] = {9, 0, 0, Width, GetSkin(9).Height};
        DrawingList[1] = {8, 0, GetSkin(9).Height, Width, GetSkin(8).Height};
    } else {
        DrawingList[0] = {11, 0, 0, GetSkin(11).Width, Height};
        DrawingList[1] = {10, GetSkin(11).Width, 0, GetSkin(10).Width, Height};
    }
}
