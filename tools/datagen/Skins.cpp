// The interface picture (picture 4): every skin rectangle drawn as one consistent bevelled interface.
#include "tools/datagen/Skins.h"

#include "tools/datagen/Pictograms.h"
#include "tools/datagen/SkinTable.h"

#include <cmath>

using namespace SkinPalette;

namespace {

const TSkinRect& R(int Skin) { return SKIN_RECTS[Skin]; }

// The stone tile behind panels: seamless over its 96-pixel period.
void DrawBackground(TCanvas& C, int x0, int y0, int Size) {
    for (int y = 0; y < Size; y++)
        for (int x = 0; x < Size; x++) {
            double n = FractalNoise(x, y, 24, Size, 71) - 0.5;
            double Grain = HashUnit(x, y, 72) - 0.5;
            double Vein = std::abs(ValueNoise(x, y, 12, Size, 73) - 0.5) < 0.03 ? -10 : 0;
            int d = static_cast<int>(n * 34 + Grain * 8 + Vein);
            C.set(x0 + x, y0 + y, Rgb(STONE.r + d, STONE.g + d, STONE.b + d - 2));
        }
}

// A button face: a soft vertical gradient, raised (lit top left) or pressed (lit bottom right, darker).
void DrawButton(TCanvas& C, int x, int y, int w, int h, bool Pressed, TColor Face = FACE) {
    TColor Top = Pressed ? Shade(Face, 0.78) : Shade(Face, 1.12),
           Bottom = Pressed ? Shade(Face, 0.9) : Shade(Face, 0.82);
    C.verticalGradient(x, y, w, h, Top, Bottom);
    C.frameRect(x, y, w, h, DARK);
    if (Pressed) {
        C.fillRect(x + 1, y + 1, w - 2, 1, MIDDARK);
        C.fillRect(x + 1, y + 1, 1, h - 2, MIDDARK);
    } else {
        C.bevel(x + 1, y + 1, w - 2, h - 2, LIGHT, MIDDARK);
    }
}

void DrawButtonPair(TCanvas& C, int Up, int Down, TColor Face = FACE) {
    DrawButton(C, R(Up).x, R(Up).y, R(Up).w, R(Up).h, false, Face);
    DrawButton(C, R(Down).x, R(Down).y, R(Down).w, R(Down).h, true, Face);
}

// A pictogram centred on a skin; pressed buttons show it one pixel lower right.
void PlaceIcon(TCanvas& C, int Skin, TPictogram Kind, TColor Color, int Inset, bool Pressed) {
    const TSkinRect& r = R(Skin);
    TCanvas Icon = Pictogram(Kind, r.w - 2 * Inset, r.h - 2 * Inset, Color);
    C.paste(Icon, r.x + Inset + (Pressed ? 1 : 0), r.y + Inset + (Pressed ? 1 : 0));
}

void IconButton(TCanvas& C, int Up, int Down, TPictogram Kind, TColor Color, int Inset = 3) {
    DrawButtonPair(C, Up, Down);
    PlaceIcon(C, Up, Kind, Color, Inset, false);
    PlaceIcon(C, Down, Kind, Shade(Color, 0.85), Inset, true);
}

// A sunken well: dark top left, light bottom right, hollow inside.
void DrawWell(TCanvas& C, int x, int y, int w, int h, TColor Inside = HOLLOW) {
    C.fillRect(x, y, w, h, Inside);
    C.bevel(x, y, w, h, DARK, MIDLIGHT);
}

// Frame rings of the dialog and side windows, 4 pixels: the left side runs [light, face, face, dark] from
// the outside in, the right side and the bottom [light, face, face, dark] from the inside out, so the ring
// stands out and the window inside it lies deeper.
TColor RingColumn(int Offset) { return Offset == 0 ? LIGHT : Offset == 3 ? DARK : FACE; }

void DrawRingSides(TCanvas& C) {
    for (int i = 0; i < 4; i++) {
        C.fillRect(R(47).x + i, R(47).y, 1, R(47).h, RingColumn(i));
        C.fillRect(R(48).x + i, R(48).y, 1, R(48).h, RingColumn(i));
        C.fillRect(R(50).x, R(50).y + i, R(50).w, 1, RingColumn(i));
    }
    // Bottom corners: the outer edge dark at the bottom, the left outer column light.
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++) {
            TColor Left = y == 3 ? DARK : x == 0 ? LIGHT : (y == 0 && x == 3) ? FACE : y == 0 ? LIGHT : FACE;
            TColor Right = (y == 3 || x == 3) ? DARK : (y == 0 || x == 0) ? LIGHT : FACE;
            C.set(R(45).x + x, R(45).y + y, Left);
            C.set(R(46).x + x, R(46).y + y, Right);
        }
}

// A title bar of Height rows with its two 4-pixel corners; horizontally seamless.
void DrawTitleBar(TCanvas& C, int Bar, int LeftCorner, int RightCorner) {
    int h = R(Bar).h;
    auto Row = [&](int y) {
        if (y == 0) return LIGHT;
        if (y == h - 1) return DARK;
        if (y == h - 2) return MIDDARK;
        return Mix(Shade(FACE, 1.18), Shade(FACE, 0.86), (y - 1) / double(h - 3));
    };
    for (int y = 0; y < h; y++) {
        C.fillRect(R(Bar).x, R(Bar).y + y, R(Bar).w, 1, Row(y));
        for (int x = 0; x < 4; x++) {
            TColor L = x == 0 ? LIGHT : (y >= h - 2 && x == 3) ? DARK : Row(y);
            TColor Rt = x == 3 ? DARK : (y >= h - 2 && x == 0) ? LIGHT : Row(y);
            if (y == 0) L = LIGHT, Rt = x == 3 ? DARK : LIGHT;
            C.set(R(LeftCorner).x + x, R(LeftCorner).y + y, L);
            C.set(R(RightCorner).x + x, R(RightCorner).y + y, Rt);
        }
    }
    // A gold inlay line under the highlight gives the bars some finish.
    C.fillRect(R(Bar).x, R(Bar).y + 2, R(Bar).w, 1, Mix(Row(2), GOLD, 0.35));
}

// The two-pixel frames (raised 26..33, sunken 34..41) and the one-pixel lines they contain.
void DrawThinFrames(TCanvas& C) {
    C.fillRect(R(30).x, R(30).y, 1, R(30).h, LIGHT); // also skin 10
    C.fillRect(R(30).x + 1, R(30).y, 1, R(30).h, MIDLIGHT);
    C.fillRect(R(31).x, R(31).y, 1, R(31).h, MIDDARK); // also skin 11
    C.fillRect(R(31).x + 1, R(31).y, 1, R(31).h, DARK);
    C.fillRect(R(32).x, R(32).y, R(32).w, 1, LIGHT); // also skin 8
    C.fillRect(R(32).x, R(32).y + 1, R(32).w, 1, MIDLIGHT);
    C.fillRect(R(33).x, R(33).y, R(33).w, 1, MIDDARK); // also skin 9
    C.fillRect(R(33).x, R(33).y + 1, R(33).w, 1, DARK);
    const TColor Corners[4][4] = {
        {LIGHT, LIGHT, LIGHT, MIDLIGHT}, // 26: raised top left (and sunken bottom right)
        {LIGHT, DARK, MIDLIGHT, DARK},   // 27: raised top right
        {LIGHT, MIDDARK, DARK, DARK},    // 28: raised bottom left
        {MIDDARK, DARK, DARK, DARK},     // 29: raised bottom right (and sunken top left)
    };
    const int CornerSkins[4] = {26, 27, 28, 29};
    for (int i = 0; i < 4; i++)
        for (int p = 0; p < 4; p++)
            C.set(R(CornerSkins[i]).x + p % 2, R(CornerSkins[i]).y + p / 2, Corners[i][p]);
    const TColor SunkenTR[4] = {MIDDARK, MIDLIGHT, DARK, MIDLIGHT},
                 SunkenBL[4] = {MIDDARK, DARK, MIDLIGHT, MIDLIGHT};
    for (int p = 0; p < 4; p++) {
        C.set(R(35).x + p % 2, R(35).y + p / 2, SunkenTR[p]);
        C.set(R(36).x + p % 2, R(36).y + p / 2, SunkenBL[p]);
    }
}

// The three-pixel rim of the console text and popups: symmetric, so one strip serves both sides.
void DrawRims(TCanvas& C) {
    const TColor Strip[3] = {DARK, MIDLIGHT, DARK};
    for (int i = 0; i < 3; i++) {
        C.fillRect(R(173).x + i, R(173).y, 1, R(173).h, Strip[i]);
        C.fillRect(R(175).x, R(175).y + i, R(175).w, 1, Strip[i]);
    }
    const char* Corners[4] = {"DDDDLLDLD", "DDDLLDDLD", "DLDDLLDDD", "DLDLLDDDD"};
    const int Skins[4] = {169, 170, 171, 172};
    for (int i = 0; i < 4; i++)
        for (int p = 0; p < 9; p++)
            C.set(R(Skins[i]).x + p % 3, R(Skins[i]).y + p / 3, Corners[i][p] == 'L' ? MIDLIGHT : DARK);
}

// The console's top edge: the strip the tabs and buttons sit on, with its corners.
void DrawConsoleTop(TCanvas& C) {
    const TSkinRect& Top = R(183);
    for (int y = 0; y < Top.h; y++) {
        TColor Row = y == 0           ? LIGHT
                     : y == 1         ? MIDLIGHT
                     : y == Top.h - 1 ? DARK
                                      : Mix(Shade(STONE, 0.95), Shade(STONE, 0.7), y / double(Top.h));
        C.fillRect(Top.x, Top.y + y, Top.w, 1, Row);
        C.set(R(177).x, R(177).y + y, LIGHT);
        C.set(R(177).x + 1, R(177).y + y, y == 0 ? LIGHT : MIDLIGHT);
        C.set(R(178).x, R(178).y + y, y == 0 ? LIGHT : MIDDARK);
        C.set(R(178).x + 1, R(178).y + y, DARK);
    }
}

void DrawTab(TCanvas& C, int Skin, bool Selected) {
    const TSkinRect& r = R(Skin);
    TColor Face = Selected ? Shade(FACE, 1.1) : Shade(FACE, 0.72);
    C.verticalGradient(r.x + 1, r.y + 2, r.w - 2, r.h - 2, Shade(Face, 1.08), Shade(Face, 0.92));
    C.fillRect(r.x + 3, r.y, r.w - 6, 1, Selected ? LIGHT : MIDLIGHT);
    C.fillRect(r.x + 1, r.y + 2, 1, r.h - 2, Selected ? LIGHT : MIDLIGHT);
    C.fillRect(r.x + 2, r.y + 1, 1, 1, Selected ? LIGHT : MIDLIGHT);
    C.fillRect(r.x + 2, r.y + 1, r.w - 4, 1, Selected ? Shade(LIGHT, 0.9) : FACE);
    C.fillRect(r.x + r.w - 2, r.y + 2, 1, r.h - 2, DARK);
    C.set(r.x + r.w - 3, r.y + 1, DARK);
    C.fillRect(r.x, r.y + 3, 1, r.h - 3, DARK);
    C.fillRect(r.x + r.w - 1, r.y + 3, 1, r.h - 3, DARK);
    if (!Selected) C.fillRect(r.x, r.y + r.h - 1, r.w, 1, MIDLIGHT);
    if (Selected) C.fillRect(r.x + 4, r.y + 3, r.w - 8, 1, Mix(Face, GOLD, 0.4));
}

// Scroll bar tracks, the thumb's caps and middles, and the arrow buttons.
void DrawScrollParts(TCanvas& C) {
    const TSkinRect& V = R(153);
    for (int x = 0; x < V.w; x++) {
        TColor Col = x == 0         ? DARK
                     : x == V.w - 1 ? MIDLIGHT
                                    : Mix(Shade(HOLLOW, 0.8), HOLLOW, std::abs(x - V.w / 2.0) / (V.w / 2.0));
        C.fillRect(V.x + x, V.y, 1, V.h, Col);
    }
    const TSkinRect& H = R(161);
    for (int y = 0; y < H.h; y++) {
        TColor Row = y == 0         ? DARK
                     : y == H.h - 1 ? MIDLIGHT
                                    : Mix(Shade(HOLLOW, 0.8), HOLLOW, std::abs(y - H.h / 2.0) / (H.h / 2.0));
        C.fillRect(H.x, H.y + y, H.w, 1, Row);
    }
    auto Edge = [](int i, int n) {
        return i == 0 || i == n - 1 ? DARK : i == 1 ? LIGHT : i == n - 2 ? MIDDARK : FACE;
    };
    for (int i = 0; i < 12; i++) {
        C.fillRect(R(155).x + i, R(155).y, 1, R(155).h, Edge(i, 12));
        C.fillRect(R(163).x, R(163).y + i, R(163).w, 1, Edge(i, 12));
    }
    // The knob: its halves are the caps of both bars (154/156 top and bottom, 162/164 left and right).
    int kx = R(154).x, ky = R(154).y;
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++) {
            bool Corner = (x == 0 || x == 11) && (y == 0 || y == 11);
            if (Corner) continue;
            TColor c = std::min(x, y) == 0 || std::max(x, y) == 11 ? DARK
                       : (x == 1 || y == 1)                        ? LIGHT
                       : (x == 10 || y == 10)                      ? MIDDARK
                                                                   : FACE;
            C.set(kx + x, ky + y, c);
        }
    const TColor ArrowColor{214, 204, 180};
    IconButton(C, 157, 158, TPictogram::ARROW_UP, ArrowColor, 2);
    IconButton(C, 159, 160, TPictogram::ARROW_DOWN, ArrowColor, 2);
    IconButton(C, 165, 166, TPictogram::ARROW_LEFT, ArrowColor, 2);
    IconButton(C, 167, 168, TPictogram::ARROW_RIGHT, ArrowColor, 2);
}

// A horizontal bar trough with a filled variant: both tile from the left, so the rows are uniform.
void DrawBar(TCanvas& C, int x, int y, int w, int h, TColor Fill, bool Filled) {
    for (int j = 0; j < h; j++) {
        TColor Row = j == 0       ? DARK
                     : j == h - 1 ? MIDLIGHT
                     : Filled     ? Mix(Shade(Fill, 1.35), Shade(Fill, 0.7), (j - 1) / double(h - 3))
                                  : Shade(HOLLOW, 0.8);
        C.fillRect(x, y + j, w, 1, Row);
    }
    C.fillRect(x, y, 1, h - 1, DARK);
    C.fillRect(x + w - 1, y + 1, 1, h - 1, MIDLIGHT);
    if (Filled) C.fillRect(x + 1, y + 2, w - 2, 1, Shade(Fill, 1.6));
}

void DrawBars(TCanvas& C) {
    DrawBar(C, R(120).x, R(120).y, R(120).w, R(120).h, HOLLOW, false); // also 123 and the progress trough
    DrawBar(C, R(121).x, R(121).y, R(121).w, R(121).h, TColor{176, 30, 24}, true); // also the progress fill
    DrawBar(C, R(124).x, R(124).y, R(124).w, R(124).h, TColor{40, 70, 190}, true);
    const TSkinRect& States = R(100);
    DrawWell(C, States.x, States.y, States.w, States.h, Shade(HOLLOW, 0.85));
    C.fillRect(R(101).x, R(101).y, 1, R(101).h, MIDLIGHT);
    C.set(R(101).x, R(101).y, DARK);
    C.paste(Pictogram(TPictogram::HEART, R(119).w, R(119).h, TColor{210, 36, 30}), R(119).x, R(119).y);
    C.paste(Pictogram(TPictogram::DROP, R(122).w, R(122).h, TColor{60, 100, 230}), R(122).x, R(122).y);
}

// Rectangles of wells and slots: labels, slot frames, the drop field, empty slots.
void DrawSlots(TCanvas& C) {
    DrawWell(C, R(98).x, R(98).y, R(98).w, R(98).h, Shade(HOLLOW, 0.9));
    const TSkinRect& Slot = R(102);
    C.fillRect(Slot.x, Slot.y, Slot.w, Slot.h, Shade(HOLLOW, 0.85));
    C.bevel(Slot.x, Slot.y, Slot.w, Slot.h, DARK, MIDLIGHT);
    const TSkinRect& Drop = R(99);
    DrawWell(C, Drop.x, Drop.y, Drop.w, Drop.h);
    C.paste(Pictogram(TPictogram::BACKPACK, 22, 26, Shade(HOLLOW, 1.5), COLOR_KEY), Drop.x + 5, Drop.y + 8);
    const struct {
        int Skin;
        TPictogram Kind;
    } Empty[10] = {{88, TPictogram::HELMET}, {89, TPictogram::AMULET}, {90, TPictogram::BACKPACK},
                   {91, TPictogram::ARMOR},  {92, TPictogram::SWORD},  {93, TPictogram::SHIELD},
                   {94, TPictogram::LEGS},   {95, TPictogram::BOOTS},  {96, TPictogram::RING},
                   {97, TPictogram::QUIVER}};
    for (const auto& e : Empty) {
        const TSkinRect& r = R(e.Skin);
        C.fillRect(r.x, r.y, r.w, r.h, Shade(HOLLOW, 0.85));
        C.paste(Silhouette(e.Kind, 24, 24, Shade(HOLLOW, 1.55)), r.x + 4, r.y + 4);
    }
}

void DrawTextButtons(TCanvas& C) {
    DrawButtonPair(C, 12, 13);
    DrawButtonPair(C, 14, 15);
    DrawButtonPair(C, 16, 17);
    DrawButtonPair(C, 18, 19);
    DrawButtonPair(C, 20, 21);
    DrawButtonPair(C, 22, 23);
    DrawButtonPair(C, 24, 25);
    // The colour button fills its rectangle with its colour and then draws the face over it: the face is a
    // sunken rim around a transparent middle through which the colour shows.
    for (int Skin : {22, 23}) {
        const TSkinRect& r = R(Skin);
        DrawWell(C, r.x + 2, r.y + 2, r.w - 4, r.h - 4);
        for (int y = r.y + 3; y < r.y + r.h - 3; y++)
            for (int x = r.x + 3; x < r.x + r.w - 3; x++)
                C.clear(x, y);
    }
}

void DrawPanelButtons(TCanvas& C) {
    const TColor Steel{208, 206, 196}, Red{220, 60, 44}, Green{80, 190, 70}, Gold{230, 190, 80},
        Blue{90, 140, 230};
    IconButton(C, 66, 67, TPictogram::ZOOM_IN, Steel);
    IconButton(C, 68, 69, TPictogram::ZOOM_OUT, Steel);
    IconButton(C, 70, 71, TPictogram::ARROW_UP, Gold);
    IconButton(C, 72, 73, TPictogram::ARROW_DOWN, Gold);
    IconButton(C, 103, 104, TPictogram::SWORD, Red);
    IconButton(C, 105, 106, TPictogram::CROSSED_SWORDS, Gold);
    IconButton(C, 107, 108, TPictogram::SHIELD, Blue);
    IconButton(C, 109, 110, TPictogram::FEET, Steel);
    IconButton(C, 111, 112, TPictogram::RUN, Steel);
    IconButton(C, 113, 114, TPictogram::HAND, Green);
    // The secure-mode button pressed means secure mode off: its hand turns red.
    PlaceIcon(C, 114, TPictogram::HAND, Red, 3, true);
    IconButton(C, 115, 116, TPictogram::GEAR, Steel);
    IconButton(C, 117, 118, TPictogram::QUESTION, Gold);
    IconButton(C, 136, 137, TPictogram::CROSS, Steel, 2);
    IconButton(C, 138, 139, TPictogram::MINUS, Steel, 2);
    IconButton(C, 140, 141, TPictogram::PLUS, Steel, 2);
    IconButton(C, 126, 127, TPictogram::ARROW_UP, Steel, 2);
    IconButton(C, 188, 189, TPictogram::CROSS, Steel);
    IconButton(C, 190, 191, TPictogram::BUBBLE, Gold);
    IconButton(C, 192, 194, TPictogram::EAR_CROSSED, Steel);
    DrawButton(C, R(193).x, R(193).y, R(193).w, R(193).h, false, TColor{150, 60, 40});
    PlaceIcon(C, 193, TPictogram::EAR_CROSSED, TColor{255, 210, 120}, 3, false);
    IconButton(C, 195, 196, TPictogram::PLUS, Green);
    IconButton(C, 197, 198, TPictogram::BUBBLE, Steel);      // say
    IconButton(C, 199, 200, TPictogram::BUBBLE_DOTS, Steel); // whisper
    IconButton(C, 201, 202, TPictogram::BUBBLE_SHOUT, Gold); // yell
    // The tab-scrolling arrows share one picture for up and down.
    DrawButton(C, R(203).x, R(203).y, R(203).w, R(203).h, false);
    PlaceIcon(C, 203, TPictogram::ARROW_LEFT, Gold, 3, false);
    DrawButton(C, R(205).x, R(205).y, R(205).w, R(205).h, false);
    PlaceIcon(C, 205, TPictogram::ARROW_RIGHT, Gold, 3, false);
    // The check box: a well with or without a tick.
    for (int Skin : {150, 151})
        DrawWell(C, R(Skin).x, R(Skin).y, R(Skin).w, R(Skin).h);
    C.paste(Pictogram(TPictogram::CHECK, 10, 10, Gold), R(150).x + 1, R(150).y + 1);
}

void DrawHintButton(TCanvas& C) {
    // 61 and 63 are the two blink states released, 62 (also 64) pressed.
    const TColor Glow{255, 226, 120};
    DrawButton(C, R(61).x, R(61).y, 32, 32, false);
    C.paste(Pictogram(TPictogram::BULB, 22, 24, TColor{200, 190, 150}), R(61).x + 5, R(61).y + 4);
    DrawButton(C, R(63).x, R(63).y, 32, 32, false, TColor{150, 120, 60});
    C.paste(Pictogram(TPictogram::BULB, 22, 24, Glow), R(63).x + 5, R(63).y + 4);
    DrawButton(C, R(62).x, R(62).y, 32, 32, true);
    C.paste(Pictogram(TPictogram::BULB, 22, 24, Glow), R(62).x + 6, R(62).y + 5);
}

void DrawCompass(TCanvas& C) {
    const TSkinRect& r = R(65);
    double cx = r.x + r.w / 2.0, cy = r.y + r.h / 2.0, Radius = r.w / 2.0 - 0.5;
    C.fillEllipse(cx, cy, Radius, Radius, DARK);
    C.shadedEllipse(cx, cy, Radius - 1.5, Radius - 1.5, FACE);
    C.fillEllipse(cx, cy, Radius - 5, Radius - 5, Shade(HOLLOW, 1.1));
    const double Pi = 3.14159265358979323846;
    for (int i = 0; i < 4; i++) {
        double a = i * Pi / 2 - Pi / 2, b = a + Pi / 2;
        TColor Tip = i == 0 ? TColor{220, 50, 40} : TColor{210, 200, 176};
        double tx = cx + (Radius - 3) * std::cos(a), ty = cy + (Radius - 3) * std::sin(a);
        C.fillPolygon({{tx, ty}, {cx + 4.5 * std::cos(b), cy + 4.5 * std::sin(b)}, {cx, cy}}, Tip);
        C.fillPolygon({{tx, ty}, {cx - 4.5 * std::cos(b), cy - 4.5 * std::sin(b)}, {cx, cy}},
                      Shade(Tip, 0.65));
    }
    C.shadedEllipse(cx, cy, 2.5, 2.5, GOLD);
}

// The start screen's button panel frame (52..60): a gold-trimmed ring, 5 pixels top and left, 6 pixels
// right and bottom (with its shadow), around a dark stone centre.
void DrawStartFrame(TCanvas& C) {
    auto Ring = [](int Offset, bool Far) {
        const TColor Near[5] = {DARK, GOLD, Shade(GOLD, 0.7), Shade(GOLD, 0.5), DARK};
        const TColor Outer[6] = {DARK, Shade(GOLD, 0.45), Shade(GOLD, 0.6), Shade(GOLD, 0.8),
                                 DARK, TColor{12, 10, 8}};
        return Far ? Outer[Offset] : Near[Offset];
    };
    for (int i = 0; i < 5; i++) {
        C.fillRect(R(56).x + i, R(56).y, 1, R(56).h, Ring(i, false));
        C.fillRect(R(58).x, R(58).y + i, R(58).w, 1, Ring(i, false));
    }
    for (int i = 0; i < 6; i++) {
        C.fillRect(R(57).x + 5 - i, R(57).y, 1, R(57).h, Ring(i, true));
        C.fillRect(R(59).x, R(59).y + 5 - i, R(59).w, 1, Ring(i, true));
    }
    auto Corner = [&](int Skin, bool FarX, bool FarY) {
        const TSkinRect& r = R(Skin);
        for (int y = 0; y < r.h; y++)
            for (int x = 0; x < r.w; x++) {
                int ox = FarX ? r.w - 1 - x : x, oy = FarY ? r.h - 1 - y : y;
                bool UseX = ox <= oy;
                C.set(r.x + x, r.y + y, UseX ? Ring(ox, FarX) : Ring(oy, FarY));
            }
    };
    Corner(52, false, false);
    Corner(53, true, false);
    Corner(54, false, true);
    Corner(55, true, true);
    const TSkinRect& Centre = R(60);
    for (int y = 0; y < Centre.h; y++)
        for (int x = 0; x < Centre.w; x++) {
            int d = static_cast<int>((FractalNoise(x, y, 16, 32, 91) - 0.5) * 20);
            C.set(Centre.x + x, Centre.y + y, Rgb(40 + d, 36 + d, 32 + d));
        }
}

void DrawPointers(TCanvas& C) {
    const TColor White{250, 250, 246}, Black{8, 8, 8};
    // 1: the arrow.
    const TSkinRect& a = R(1);
    TCanvas Arrow(a.w, a.h);
    Arrow.fillPolygon({{1, 1}, {1, 15}, {4.5, 11.5}, {7, 17}, {9, 16}, {6.5, 10.5}, {10.5, 10.5}}, White);
    Arrow.outline(Black);
    C.paste(Arrow, a.x, a.y);
    // 2: the vertical resize arrows.
    const TSkinRect& v = R(2);
    TCanvas Resize(v.w, v.h);
    Resize.fillPolygon({{4.5, 1}, {8, 6}, {1, 6}}, White);
    Resize.fillPolygon({{4.5, 19}, {8, 14}, {1, 14}}, White);
    Resize.fillRect(3, 6, 3, 8, White);
    Resize.outline(Black);
    C.paste(Resize, v.x, v.y);
    // 3: the pointing hand.
    C.paste(Pictogram(TPictogram::HAND, R(3).w, R(3).h, White, Black), R(3).x, R(3).y);
    // 4 and 5: the cross hair of use-with, trade-with and dragging.
    const TSkinRect& x = R(4);
    TCanvas Cross(x.w, x.h);
    Cross.fillRect(9, 1, 1, 7, White);
    Cross.fillRect(9, 11, 1, 7, White);
    Cross.fillRect(1, 9, 7, 1, White);
    Cross.fillRect(11, 9, 7, 1, White);
    Cross.set(9, 9, White);
    Cross.outline(Black);
    C.paste(Cross, x.x, x.y);
    // 6: the help pointer, an arrow with a question mark.
    const TSkinRect& h = R(6);
    TCanvas Help(h.w, h.h);
    Help.fillPolygon({{1, 1}, {1, 12}, {3.5, 9.5}, {5.5, 14}, {7, 13}, {5, 8.5}, {8.5, 8.5}}, White);
    Help.outline(Black);
    Help.paste(Pictogram(TPictogram::QUESTION, 8, 11, TColor{250, 220, 90}, Black), 9, 5);
    C.paste(Help, h.x, h.y);
}

void DrawResizeGrip(TCanvas& C) {
    const TSkinRect& r = R(42);
    for (int i = 0; i < 3; i++) {
        int d = 4 * i + 2;
        C.line(r.x + r.w - 1 - d, r.y + r.h - 1, r.x + r.w - 1, r.y + r.h - 1 - d, LIGHT);
        C.line(r.x + r.w - d, r.y + r.h - 1, r.x + r.w - 1, r.y + r.h - d, DARK);
    }
}

struct TIconSpec {
    int Skin;
    TPictogram Kind;
    TColor Color;
};

void DrawIcons(TCanvas& C) {
    const TColor Red{220, 40, 30}, Yellow{240, 210, 60}, Green{70, 200, 60}, White{236, 236, 230},
        Blue{70, 120, 240}, Purple{180, 90, 230}, Orange{240, 130, 30}, Brown{150, 100, 60},
        Grey{170, 170, 170};
    const TIconSpec Icons[] = {
        // Conditions (9 x 9).
        {228, TPictogram::DROP, Green},
        {229, TPictogram::FLAME, Orange},
        {230, TPictogram::BOLT, Purple},
        {231, TPictogram::BOTTLE, Brown},
        {232, TPictogram::SHIELD, Blue},
        {233, TPictogram::SPIRAL, Red},
        {234, TPictogram::ARROW_RIGHT, Green},
        {235, TPictogram::CROSSED_SWORDS, Red},
        {236, TPictogram::SKULL, Yellow},
        {237, TPictogram::SHIELD, Yellow},
        {238, TPictogram::SKULL, White},
        {239, TPictogram::SKULL, Red},
        {240, TPictogram::SKULL, Yellow},
        {241, TPictogram::SKULL, Green},
        {242, TPictogram::SKULL, White},
        {243, TPictogram::SKULL, Red},
        {248, TPictogram::SHIELD_PLUS, White},
        {249, TPictogram::SHIELD_PLUS, Yellow},
        {250, TPictogram::SHIELD, Blue},
        {251, TPictogram::SHIELD, Yellow},
        // Skulls and party marks on the map (11 x 11).
        {244, TPictogram::SKULL, Yellow},
        {245, TPictogram::SKULL, Green},
        {246, TPictogram::SKULL, White},
        {247, TPictogram::SKULL, Red},
        {252, TPictogram::SHIELD_PLUS, White},
        {253, TPictogram::SHIELD_PLUS, Yellow},
        {254, TPictogram::SHIELD, Blue},
        {255, TPictogram::SHIELD, Yellow},
        // Side window icons (12 x 12).
        {142, TPictogram::STAR, Yellow},
        {143, TPictogram::HEART, Red},
        {144, TPictogram::CROSSED_SWORDS, White},
        {145, TPictogram::SCALES, Yellow},
        // Map marks (11 x 11), numbered by mark type.
        {74, TPictogram::CHECK, Green},
        {75, TPictogram::QUESTION, Yellow},
        {76, TPictogram::EXCLAMATION, Red},
        {77, TPictogram::STAR, Yellow},
        {78, TPictogram::CROSS, Red},
        {79, TPictogram::TEMPLE, White},
        {80, TPictogram::SWORD, White},
        {81, TPictogram::FLAG, Red},
        {82, TPictogram::LOCK, Grey},
        {83, TPictogram::BAG, Brown},
        {84, TPictogram::SKULL, White},
        {85, TPictogram::DOLLAR, Yellow},
        {86, TPictogram::ARROW_UP, Blue},
        {87, TPictogram::ARROW_DOWN, Blue},
        // VIP icons (12 x 12), 217 + icon number.
        {218, TPictogram::HEART, Red},
        {219, TPictogram::STAR, Yellow},
        {220, TPictogram::SKULL, White},
        {221, TPictogram::BOLT, Yellow},
        {222, TPictogram::CROSSED_SWORDS, White},
        {223, TPictogram::FLAG, Green},
        {224, TPictogram::SUN, Orange},
        {225, TPictogram::MOON, Blue},
        {226, TPictogram::DIAMOND, Purple},
        {227, TPictogram::CROWN, Yellow},
        // The list edit icon (32 x 32).
        {217, TPictogram::SCROLL, White},
    };
    for (const TIconSpec& i : Icons)
        C.paste(Pictogram(i.Kind, R(i.Skin).w, R(i.Skin).h, i.Color), R(i.Skin).x, R(i.Skin).y);
}

} // namespace

TPicture BuildSkinPicture() {
    TPicture Picture;
    Picture.Image = TCanvas(SKIN_PICTURE_WIDTH, SKIN_PICTURE_HEIGHT);
    TCanvas& C = Picture.Image;
    DrawBackground(C, R(7).x, R(7).y, R(7).w);
    DrawRingSides(C);
    DrawTitleBar(C, 49, 43, 44);
    DrawTitleBar(C, 132, 128, 129);
    DrawThinFrames(C);
    DrawRims(C);
    DrawConsoleTop(C);
    DrawTab(C, 186, true);
    DrawTab(C, 187, false);
    DrawScrollParts(C);
    DrawBars(C);
    DrawSlots(C);
    DrawTextButtons(C);
    DrawPanelButtons(C);
    DrawHintButton(C);
    DrawCompass(C);
    DrawStartFrame(C);
    DrawPointers(C);
    DrawResizeGrip(C);
    DrawIcons(C);
    return Picture;
}
