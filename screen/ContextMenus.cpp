// The context menu's entries, separators, layout and placement, and the help popup with its placement rule.
#include "screen/ContextMenus.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/Engine.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/DialogElementsControls.h"
#include "gui/DialogElementsText.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "state/Status.h"

#include <algorithm>
#include <cstring>

namespace {

// Frame skins in the order top left, top, top right, left, right, bottom left, bottom, bottom right, centre.
constexpr int32_t MENU_FRAME[9] = {208, 214, 209, 212, 213, 210, 215, 211, 207};
constexpr int32_t NEW_SEPARATOR_WIDTH = 50;

int32_t w(int32_t Skin) { return GetSkin(Skin).Width; }
int32_t h(int32_t Skin) { return GetSkin(Skin).Height; }

void ArrangeFrame(TComponent& Window, const int32_t (&S)[9]) {
    const int32_t W = Window.Width, H = Window.Height;
    TSkinPiece* P = Window.DrawingList.get();
    P[0] = TSkinPiece{S[0], 0, 0, 0, 0, 0, 0};
    P[1] = TSkinPiece{S[1], w(S[0]), 0, W - w(S[0]) - w(S[2]), h(S[1]), 0, 0};
    P[2] = TSkinPiece{S[2], W - w(S[2]), 0, 0, 0, 0, 0};
    P[3] = TSkinPiece{S[3], 0, h(S[0]), w(S[3]), H - h(S[0]) - h(S[5]), 0, 0};
    P[4] = TSkinPiece{S[4], W - w(S[4]), h(S[2]), w(S[4]), H - h(S[2]) - h(S[7]), 0, 0};
    P[5] = TSkinPiece{S[5], 0, H - h(S[5]), 0, 0, 0, 0};
    P[6] = TSkinPiece{S[6], w(S[5]), H - h(S[6]), W - w(S[5]) - w(S[7]), h(S[6]), 0, 0};
    P[7] = TSkinPiece{S[7], W - w(S[7]), H - h(S[7]), 0, 0, 0, 0};
    P[8] = TSkinPiece{S[8], w(S[3]), h(S[1]), W - w(S[3]) - w(S[4]), H - h(S[1]) - h(S[6]), 0, 0};
}

const auto& Menu() { return SkinProperties.ContextMenu; }
const auto& Help() { return SkinProperties.HelpPopup; }

} // namespace

// ---- TContextMenuEntry ----

TContextMenuEntry::TContextMenuEntry(const char* _Text, const char* _Shortcut, TComponent* Target,
                                     int32_t Identifier)
    : Binding(Target, Identifier) {
    CopyString(Text, _Text);
    CopyString(Shortcut, _Shortcut != nullptr ? _Shortcut : "");
    const int32_t Font = Menu().TextFormat.Font;
    int32_t EntryWidth = GetStringWidth(Font, Text) + 2 * Menu().TextInset + Menu().ShortcutGap;
    if (Shortcut[0] != 0) EntryWidth += GetStringWidth(Font, Shortcut);
    TComponent::setSize(EntryWidth, GetFontLineHeight(Font) + 2 * Menu().TextInset);
}

void TContextMenuEntry::draw(int32_t Surface, int32_t X, int32_t Y) {
    const TTextFormat& Format = Menu().TextFormat;
    const int32_t Inset = Menu().TextInset;
    if (In(GetMouseX() - X, 0, Width - 1) && In(GetMouseY() - Y, 0, Height - 1)) {
        const TSkinColor& Bar = Menu().HighlightColor;
        GetSurface()->FillRectangle(Surface, X, Y, Width, GetFontHeight(Format.Font) + 2 * Inset, Bar.red,
                                    Bar.green, Bar.blue);
    }
    PrintText(Surface, X + Inset, Y + Inset, Format.Font, Format.Red, Format.Green, Format.Blue, Text,
              LEFT_ALIGN);
    if (Shortcut[0] != 0)
        PrintText(Surface, X + Width - Inset - 1, Y + Inset, Format.Font, Format.Red, Format.Green,
                  Format.Blue, Shortcut, RIGHT_ALIGN);
}

bool TContextMenuEntry::leftButtonUp(int32_t, int32_t, uint32_t) {
    Binding.fire();
    return true;
}

// ---- TContextMenu ----

TContextMenu::TContextMenu() { allocateDrawingList(9); }

void TContextMenu::arrange() { ArrangeFrame(*this, MENU_FRAME); }

bool TContextMenu::leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) try {
    TParentComponent::leftButtonUp(X, Y, Flags);
    SetActionState(ACTIONSTATE_NONE);
    return true;
}
CATCH_FRAME(X, Y)

bool TContextMenu::rightClick(int32_t, int32_t, uint32_t) {
    SetActionState(ACTIONSTATE_NONE);
    return true;
}

void TContextMenu::keyPressed(int32_t Key) {
    if (Key == KEY_ESCAPE) SetActionState(ACTIONSTATE_NONE);
}

void TContextMenu::handleEvent(int32_t) { SetActionState(ACTIONSTATE_NONE); }

void TContextMenu::AddEntry(int32_t Event, const char* Text, const char* Shortcut) try {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    const auto TextLength = static_cast<int32_t>(std::strlen(Text));
    if (TextLength >= 50)
        ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "strlen(Text)<50", "strlen(Text)", TextLength);
    const auto ShortcutLength = static_cast<int32_t>(Shortcut != nullptr ? std::strlen(Shortcut) : 0);
    if (ShortcutLength >= 20)
        ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "Shortcut==NULL || strlen(Shortcut)<20",
                          "strlen(Shortcut)", ShortcutLength);
    if (SeparatorPending && !NoEntries) {
        addSeparator();
        SeparatorPending = false;
    }
    auto* Entry = new TContextMenuEntry(Text, Shortcut, this, Event);
    if (Entry->Width > EntryWidth) EntryWidth = Entry->Width;
    appendChild(Entry);
    NoEntries = false;
}
CATCH_FRAME(Event)

void TContextMenu::addSeparator() {
    auto* Separator = new TSeparator(true);
    Separator->setSize(NEW_SEPARATOR_WIDTH, Menu().SeparatorHeight);
    appendChild(Separator);
}

void TContextMenu::layout(int32_t X, int32_t Y, int32_t ParentWidth, int32_t ParentHeight) try {
    int32_t Top = 0;
    for (TComponent* Child = getFirstChild(); Child != nullptr; Child = Child->getNext()) {
        Child->setSize(EntryWidth, Child->getHeight());
        Child->setPosition(0, Top);
        Top += Child->getHeight();
    }
    if (getFirstChild() == nullptr) AddEntry(0, "", nullptr);
    TComponent* LastEntry = getLastChild();
    CHECK_TEXT(LastEntry != nullptr, "LastEntry!=NULL");
    const int32_t Font = Menu().TextFormat.Font;
    LastEntry->setSize(LastEntry->getWidth(),
                       LastEntry->getHeight() + GetFontHeight(Font) - GetFontLineHeight(Font));
    const TSkinRectangle& M = Menu().Margins;
    fitToChildren(M.x, M.y, M.width, M.height, true);
    arrange();
    int32_t x = X + Width < ParentWidth ? X : X - Width;
    int32_t y = Y + Height < ParentHeight ? Y : Y - Height;
    setPosition(x < 0 ? 0 : x, y < 0 ? 0 : y);
}
CATCH_FRAME(X, Y)

// ---- THelpPopup ----

THelpPopup::THelpPopup(const char* HelpText) try : TextBox(nullptr) {
    CHECK_TEXT(HelpText != nullptr, "HelpText!=NULL");
    allocateDrawingList(9);
    TextBox = new TMarkupTextBox(HelpText);
    addChild(TextBox);
    setSize(Help().MaximumWidth, Help().MaximumHeight);
    const TSkinRectangle& M = Help().TextMargins;
    fitToChild(TextBox, M.x, M.y, M.width, M.height, true);
    TextBox->fitToChildren(0, 0, 0, 0, true);
    fitToChild(TextBox, M.x, M.y, M.width, M.height, true);
}
CATCH_FRAME()

void THelpPopup::setSize(int32_t Width, int32_t Height) try {
    const int32_t Step = Help().SizeStep, Remainder = Help().SizeRemainder;
    if (Width % Step != Remainder) Width += Remainder - Width % Step;
    if (Height % Step != Remainder) Height += Remainder - Height % Step;
    Width = std::min(std::max(Width, getMinimumWidth()), Help().MaximumWidth);
    Height = std::min(std::max(Height, getMinimumHeight()), Help().MaximumHeight);
    TComponent::setSize(Width, Height);
    const TSkinRectangle& M = Help().TextMargins;
    placeChild(TextBox, M.x, M.y, M.width, M.height);
    arrange();
}
CATCH_FRAME(Width, Height)

int32_t THelpPopup::getMinimumWidth() const { return Help().MinimumWidth; }

int32_t THelpPopup::getMinimumHeight() const { return Help().MinimumHeight; }

void THelpPopup::arrange() {
    ArrangeFrame(*this, POPUP_FRAME_SKINS);
    TParentComponent::arrange();
}

bool FitsInParent(int32_t& x, int32_t& y, int32_t Width, int32_t Height, const TComponent& Parent) try {
    const int32_t m = Help().Distance;
    if (x == 0) x = m;
    if (y == 0) y = m;
    if (x < m || y < m || x + Width > Parent.Width - m || y + Height > Parent.Height - m) return false;
    CHECK_TEXT(x >= 0, "x>=0");
    CHECK_TEXT(y >= 0, "y>=0");
    return true;
}
CATCH_FRAME(x, y)

void PlacePopup(THelpPopup& Popup, const TComponent& Parent) try {
    const int32_t m = Help().Distance, W = Popup.Width, H = Popup.Height;
    const int32_t PW = Parent.Width, PH = Parent.Height;
    int32_t hx, hy, hw, hh;
    GetHelpRectangle(&hx, &hy, &hw, &hh);
    int32_t y5 = hy + hh - H - m;
    if (y5 < m) y5 = m;
    if (y5 + H > PH - m) y5 = PH - H - m;
    const int32_t Left = hx - W - m, Right = hx + hw + m;
    const int32_t Candidates[8][2] = {{Left, hy}, {Right, hy}, {Left, hy + hh - H}, {Right, hy + hh - H},
                                      {Left, y5}, {Right, y5}, {hx, hy + hh + m},   {hx, hy - H - m}};
    for (const auto& Candidate : Candidates) {
        int32_t x = Candidate[0], y = Candidate[1];
        if (FitsInParent(x, y, W, H, Parent)) {
            Popup.setPosition(x, y);
            Popup.setSize(W, H);
            return;
        }
    }
    const int32_t newX = GetMouseX() < PW / 2 ? PW - W - m : m, newY = m;
    CHECK_TEXT(newX >= 0, "newX>=0", newX);
    CHECK_TEXT(newY >= 0, "newY>=0", newY);
    Popup.setPosition(newX, newY);
    Popup.setSize(W, H);
}
CATCH_FRAME()
