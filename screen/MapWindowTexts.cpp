// What the map view draws over the finished picture: creature bars, names and marks, the talk boxes and their
// layout, the status message, the rising texts and the hint button; and the view's own commands.
#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/DialogElements.h"
#include "screen/MapWindow.h"
#include "screen/MessageTexts.h"
#include "state/CreaturesPlayer.h"
#include "state/EventHints.h"
#include "state/Events.h"
#include "state/MapEffects.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

int32_t ClampValue(int32_t v, int32_t lo, int32_t hi);

namespace {

constexpr int32_t FONT = 2;
constexpr int32_t MAX_TALKBOXES = 10;

// Module state: the hint texts, set once by the help module.
THintTexts HintTexts;

bool HasGroundAbove(int32_t rx, int32_t ry, int32_t rz, int32_t TopFloor) {
    for (int32_t z = rz + 1; z <= TopFloor; z++) {
        TObject Obj;
        GetFirstObject(Obj, rx, ry, z);
        if (Obj.Type != 0 && GetObjectFlag(Obj.Type, BANK)) return true;
    }
    return false;
}

bool InBox(int32_t rx, int32_t ry, int32_t rz) {
    return In(rx, 0, MAPSIZE_X - 1) && In(ry, 0, MAPSIZE_Y - 1) && In(rz, 0, MAPSIZE_Z - 1);
}

} // namespace

void SetHintTexts(const THintTexts& Texts) { HintTexts = Texts; }

void TMapView::pictureToView(int32_t& x, int32_t& y) const {
    if (GetNoStretching()) {
        x -= _CropX;
        y -= _CropY;
    } else {
        x = x * Width / MAP_PICTURE_WIDTH;
        y = y * Height / MAP_PICTURE_HEIGHT;
    }
}

// A point outside the box, or one that a ground on a higher drawn floor hides.
bool TMapView::isRoofed(int32_t rx, int32_t ry, int32_t rz) {
    return !InBox(rx, ry, rz) || HasGroundAbove(rx, ry, rz, _TopFloor);
}

// ---- Creature information ----

void TMapView::drawCreatureInfo(int32_t Surface, int32_t X, int32_t Y) {
    const int32_t Info = GetCreatureInfo(), FontHeight = GetFontHeight(FONT);
    for (int32_t i = 0; i < _LabelCount; i++) {
        const TCreature* C = GetCreature(_Labels[i].CreatureID);
        if (C == nullptr) continue;
        int32_t rx = C->X, ry = C->Y, rz = C->Z;
        WorldToLocal(rx, ry, rz);
        TRGBColor Colour;
        const bool Visible = !isRoofed(rx, ry, rz);
        if (Visible) {
            C->getHealthColor(Colour);
        } else {
            Colour.Red = Colour.Green = Colour.Blue = 192;
        }
        // Outside the box no light was gathered: full brightness.
        int32_t Brightness = InBox(rx, ry, rz) ? _Light[rx][ry][0] : 255;
        if (C->CreatureID == GetPlayerID())
            Brightness = std::max(Brightness, ClampValue(C->LightBrightness, 2, 5) * 51);
        for (int32_t* Component : {&Colour.Red, &Colour.Green, &Colour.Blue})
            *Component = *Component * (Brightness / 5) / 51;
        int32_t sx = _Labels[i].x, sy = _Labels[i].y;
        pictureToView(sx, sy);
        const int32_t BarX = ClampValue(sx - 14, 1, Width - 28);
        // A health above 100 from the server must not draw past the bar.
        const int32_t Health = ClampValue(C->HealthPercent, 0, 100);
        const int32_t BarY = Info == 2 ? ClampValue(sy - 4, FontHeight + 1, Height - FontHeight - 5)
                                       : ClampValue(sy - 4, 1, Height - 5);
        GetSurface()->FillRectangle(Surface, X + BarX, Y + BarY, 27, 4, 0, 0, 0);
        GetSurface()->FillRectangle(Surface, X + BarX + 1, Y + BarY + 1, Health / 4, 2, Colour.Red,
                                    Colour.Green, Colour.Blue);
        if (Info == 2) {
            const int32_t w = GetStringWidth(FONT, C->Name);
            const int32_t NameX = ClampValue(BarX + 14 - w / 2, 1, Width - w - 1);
            PrintText(Surface, X + NameX, Y + BarY - FontHeight, FONT, Colour.Red, Colour.Green, Colour.Blue,
                      C->Name, LEFT_ALIGN);
        }
        drawMarks(Surface, X, Y, *C, sx, sy);
    }
}

void TMapView::drawMarks(int32_t Surface, int32_t X, int32_t Y, const TCreature& C, int32_t sx, int32_t sy) {
    int32_t Marks[2], Count = 0;
    CHECK_TEXT(C.PARTYFlag <= 4, "unknown creature party flag [bug0001106]", C.PARTYFlag);
    if (C.PARTYFlag >= 2 || (C.PARTYFlag == 1 && !IsPlayerInParty())) Marks[Count++] = 251 + C.PARTYFlag;
    CHECK_TEXT(C.PKFlag <= 4, "unknown creature PK flag", C.PKFlag);
    const bool Skull = C.PKFlag >= 1;
    if (Skull) Marks[Count++] = 243 + C.PKFlag;
    if (Count == 0) return;
    const bool SkullHidden = Skull && C.PKFlagRemovalTime > 0 && !GetBlink();
    const TSkin& First = GetSkin(Marks[0]);
    if (Count == 2) {
        const int32_t mx = ClampValue(sx - First.Width + 20, 1, Width - First.Width - 14);
        const int32_t my = ClampValue(sy + 1, 1, Height - First.Height - 1);
        DrawSkin(Surface, X + mx, Y + my, First.Width, First.Height, Marks[0], 0, 0);
        const TSkin& Second = GetSkin(Marks[1]);
        if (!SkullHidden) DrawSkin(Surface, X + mx + 13, Y + my, Second.Width, Second.Height, Marks[1], 0, 0);
        return;
    }
    if (Skull && SkullHidden) return;
    const int32_t mx = ClampValue(sx - First.Width + 20, 1, Width - First.Width - 1);
    const int32_t my = ClampValue(sy + 1, 1, Height - First.Height - 1);
    DrawSkin(Surface, X + mx, Y + my, First.Width, First.Height, Marks[0], 0, 0);
}

// ---- Talk boxes ----

namespace {

struct TBoxLayout {
    int32_t W, H, IX, IY, X, Y;
    int32_t XLow, XHigh, YLow, YHigh;
    int32_t EdgeFlags;
};

// Ideal place and moving range of box n (1-based).
void PlaceBox(TBoxLayout& B, int32_t n, int32_t VW, int32_t VH, int32_t S) {
    B.W = 0;
    for (int32_t i = 0; i < GetTalkboxLines(n); i++)
        B.W = std::max(B.W, GetStringWidth(FONT, GetTalkboxLine(n, i)));
    B.H = GetFontLineHeight(FONT) * GetTalkboxLines(n);
    int32_t x = 0, y = 0, z = 0;
    GetTalkboxPosition(n, x, y, z);
    if (x != 0) {
        WorldToLocal(x, y, z);
        int32_t Top = 0;
        if (GetNoStretching()) {
            B.IX = x * 32 - (MAP_PICTURE_WIDTH - VW) / 2 - 16;
            Top = y * 32 - (MAP_PICTURE_HEIGHT - VH) / 2 - 32;
        } else {
            B.IX = (x - 1) * VW / MAP_WIDTH + VW / 30;
            Top = (y - 1) * VH / MAP_HEIGHT;
        }
        B.IY = Top - B.H / 2;
        B.YLow = std::max(B.IY, B.H / 2 + 1);
        B.EdgeFlags = 0;
    } else {
        const int32_t Mode = GetTalkboxMode(n);
        B.IX = VW / 2;
        if (Mode == TALK_PRIVATE_MESSAGE)
            B.IY = VH / 4;
        else if (Mode == TALK_GAMEMASTER_BROADCAST || Mode == TALK_GAMEMASTER_MESSAGE ||
                 Mode == TALK_ADMIN_MESSAGE || Mode == TALK_EVENT_MESSAGE)
            B.IY = B.H / 2 + 5 + VH / 2;
        else
            // Info messages; also a spoken text that the server sent without a place, which must not stop
            // every frame of the map.
            B.IY = VH / 2 - B.H / 2 - 5;
        B.YLow = std::max(B.IY - B.H, B.H / 2 + 1);
        B.EdgeFlags = 3;
    }
    B.XLow = std::max(B.IX - B.W / 2, B.W / 2 + 1);
    B.XHigh = std::min(B.IX + B.W / 2, VW - B.W / 2);
    B.YHigh = std::min(B.IY + B.H, VH - B.H / 2 - S);
    B.X = ClampValue(ClampValue(B.IX, B.XLow, B.XHigh), B.W / 2 + 1, VW - B.W / 2);
    B.Y = ClampValue(ClampValue(B.IY, B.YLow, B.YHigh), B.H / 2 + 1, VH - B.H / 2 - S);
}

// Overlap of two extents along one axis, with the rule for one box reaching over the other.
int32_t Overlap(int32_t Ai, int32_t Aj, int32_t Distance) {
    if (Aj / 2 >= Ai / 2 + Distance) return Ai + 20;
    if (Ai / 2 >= Aj / 2 + Distance) return Aj + 20;
    return Ai / 2 + Aj / 2 - Distance + 10;
}

// One pass of pushing overlapping boxes apart; the pass's cost.
int64_t SeparationPass(TBoxLayout* Boxes, int32_t N) {
    int64_t Cost = 0;
    int32_t PushX[MAX_TALKBOXES] = {}, PushY[MAX_TALKBOXES] = {};
    for (int32_t i = 0; i < N; i++)
        for (int32_t j = 0; j < N; j++) {
            if (i == j) continue;
            const TBoxLayout &A = Boxes[i], &B = Boxes[j];
            const int32_t dx = B.X - A.X, dy = B.Y - A.Y;
            if (std::abs(dx) >= A.W / 2 + B.W / 2 + 10 || std::abs(dy) >= A.H / 2 + B.H / 2 + 10) continue;
            const int32_t ox = Overlap(A.W, B.W, std::abs(dx)), oy = Overlap(A.H, B.H, std::abs(dy));
            Cost += static_cast<int64_t>(ox) * oy;
            PushX[i] += dx > 0 ? -ox : dx < 0 ? ox : 0;
            PushY[i] += dy > 0 ? -oy : dy < 0 ? oy : 0;
            if (dx == 0 && dy == 0) PushX[i] += i - j;
        }
    for (int32_t i = 0; i < N; i++) {
        TBoxLayout& B = Boxes[i];
        if (PushX[i] < 0 && B.X > B.XLow) B.X--;
        if (PushX[i] > 0 && B.X < B.XHigh) B.X++;
        if (PushY[i] < 0 && B.Y > B.YLow) B.Y--;
        if (PushY[i] > 0 && B.Y < B.YHigh) B.Y++;
    }
    return Cost;
}

} // namespace

void TMapView::arrangeTalkboxes() try {
    const int32_t N = std::min(GetNumberOfTalkboxes(), MAX_TALKBOXES);
    const int32_t VW = Width, VH = Height;
    const int32_t S = GetStatusMessage() != nullptr ? GetFontHeight(FONT) + 10 : 0;
    TBoxLayout Boxes[MAX_TALKBOXES];
    for (int32_t n = 0; n < N; n++)
        PlaceBox(Boxes[n], n + 1, VW, VH, S);
    int64_t Previous = INT_MAX;
    for (;;) {
        const int64_t Cost = SeparationPass(Boxes, N);
        if (Cost == 0 || Cost >= Previous) break;
        Previous = Cost;
    }
    for (int32_t n = 0; n < N; n++) {
        TBoxLayout& B = Boxes[n];
        if (B.X == B.W / 2 + 1 || B.X == VW - B.W / 2) B.EdgeFlags |= 1;
        if (B.Y == B.H / 2 + 1 || B.Y == VH - B.H / 2 - S) B.EdgeFlags |= 2;
        const int32_t q = B.W / 4;
        if (B.X < B.IX - q)
            SetTalkboxArea(n + 1, B.X + B.W / 2, B.Y - B.H / 2, RIGHT_ALIGN, B.EdgeFlags);
        else if (B.X > B.IX + q)
            SetTalkboxArea(n + 1, B.X - B.W / 2, B.Y - B.H / 2, LEFT_ALIGN, B.EdgeFlags);
        else
            SetTalkboxArea(n + 1, B.X, B.Y - B.H / 2, CENTER_ALIGN, B.EdgeFlags);
    }
}
CATCH_FRAME()

void TMapView::drawTexts(int32_t Surface, int32_t X, int32_t Y) {
    if (GetMapTextChanged()) arrangeTalkboxes();
    const TCreature* Player = GetCreature(GetPlayerID());
    const int32_t OffsetX = Player->getOffsetX(), OffsetY = Player->getOffsetY();
    const bool NoStretching = GetNoStretching();
    const int32_t LineHeight = GetFontLineHeight(FONT);
    for (int32_t n = 1; n <= GetNumberOfTalkboxes(); n++) {
        int32_t BX = 0, BY = 0, Alignment = 0, EdgeFlags = 0;
        GetTalkboxArea(n, BX, BY, Alignment, EdgeFlags);
        if (!(EdgeFlags & 1)) BX -= NoStretching ? OffsetX : OffsetX * Width / MAP_PICTURE_WIDTH;
        if (!(EdgeFlags & 2)) BY -= NoStretching ? OffsetY : OffsetY * Height / MAP_PICTURE_HEIGHT;
        int32_t R = 0, G = 0, B = 0;
        GetTalkboxColor(R, G, B, n);
        for (int32_t i = 0; i < GetTalkboxLines(n); i++)
            PrintTextClipped(Surface, X + BX, Y + BY + i * LineHeight, FONT, R, G, B, GetTalkboxLine(n, i),
                             Alignment, X, Y, Width, Height);
    }
    if (const char* Status = GetStatusMessage(); Status != nullptr)
        PrintTextLength(Surface, X + Width / 2, Y + Height - GetFontHeight(FONT), FONT, 255, 255, 255, Status,
                        GetTextFitLength(FONT, Status, Width), CENTER_ALIGN);
    if (GetTextualEffects())
        for (int32_t i = 0; i < _TextEffectCount; i++) {
            const TMapTextEffect& T = _TextEffects[i];
            if (isRoofed(T.rx, T.ry, T.rz) && T.rz != GetViewLayer()) continue;
            const TRGBColor Colour(GetTextEffectColor(T.EffectNumber));
            const char* Text = GetTextEffectText(T.EffectNumber);
            const int32_t w = GetStringWidth(FONT, Text);
            int32_t tx = T.x, ty = T.y;
            pictureToView(tx, ty);
            tx = ClampValue(tx, w / 2, Width - w / 2);
            ty = ClampValue(ty, 0, Height - GetFontHeight(FONT));
            PrintText(Surface, X + tx, Y + ty, FONT, Colour.Red, Colour.Green, Colour.Blue, Text,
                      CENTER_ALIGN);
        }
    updateHintButton();
}

void TMapView::updateHintButton() {
    const bool Offered = HintTexts.Title != nullptr && HintTexts.Text != nullptr;
    if (GetShowNewHints() && Offered && PeekEventHelp() != 0 && _HintButton == nullptr) {
        _HintButton = new TBlinkingButton(0, 0, 61, 62, 63, 64, this, MAPVIEW_HINT,
                                          MessageTexts[TEXT_TIP_RECEIVE_HINT]);
        addChild(_HintButton);
        arrange();
        if (PeekEventHelp() == HINT_FIRST_LOGIN) handleEvent(MAPVIEW_HINT);
    } else if (!GetShowNewHints() && _HintButton != nullptr) {
        deleteChild(_HintButton);
        _HintButton = nullptr;
    }
}

void TMapView::handleEvent(int32_t Identifier) try {
    switch (static_cast<MAPVIEW_COMMAND>(Identifier)) {
    case MAPVIEW_CREATURE_INFO:
        SetCreatureInfo((GetCreatureInfo() + 1) % 3);
        break;
    case MAPVIEW_DELETE_TALKBOX:
        DeleteOldestTalkbox();
        break;
    case MAPVIEW_HINT: {
        if (_HintButton != nullptr) deleteChild(_HintButton);
        _HintButton = nullptr;
        const int32_t Hint = PopEventHelp();
        CHECK(In(Hint, 1, EVENTHELPS), Hint);
        CHECK_TEXT(HintTexts.Title != nullptr && HintTexts.Text != nullptr, "HintTexts!=NULL");
        AddMessage(MESSAGE_MESSAGEBOX2, MessageParameter(HintTexts.Title(Hint)),
                   MessageParameter(NewMessageText(HintTexts.Text(Hint))));
        break;
    }
    }
}
CATCH_FRAME(Identifier)
