// Small pictograms (swords, hearts, arrows, skulls ...) drawn at any size, for icons and empty slots.
#include "tools/datagen/Pictograms.h"

#include <cmath>

namespace {

constexpr double PI = 3.14159265358979323846;

// Draws in unit coordinates: (0, 0) is the top left and (1, 1) the bottom right of the area inside the
// one-pixel outline margin.
class TPen {
public:
    TPen(TCanvas& Canvas, TColor Color) : C(Canvas), Color(Color) {
        W = Canvas.width() - 2;
        H = Canvas.height() - 2;
    }
    double x(double u) const { return 1 + u * W; }
    double y(double v) const { return 1 + v * H; }
    double s(double d) const { return d * std::min(W, H); }

    void line(double x0, double y0, double x1, double y1, double Width, TColor c) {
        C.thickLine(x(x0), y(y0), x(x1), y(y1), std::max(1.0, s(Width)), c);
    }
    void line(double x0, double y0, double x1, double y1, double Width) {
        line(x0, y0, x1, y1, Width, Color);
    }
    void disc(double cx, double cy, double r, TColor c) {
        C.fillEllipse(x(cx), y(cy), std::max(0.6, r * W), std::max(0.6, r * H), c);
    }
    void disc(double cx, double cy, double r) { disc(cx, cy, r, Color); }
    void ball(double cx, double cy, double rx, double ry) {
        C.shadedEllipse(x(cx), y(cy), rx * W, ry * H, Color);
    }
    void poly(std::vector<std::pair<double, double>> Points, TColor c) {
        for (auto& p : Points)
            p = {x(p.first), y(p.second)};
        C.fillPolygon(Points, c);
    }
    void poly(const std::vector<std::pair<double, double>>& Points) { poly(Points, Color); }
    void rect(double x0, double y0, double x1, double y1, TColor c) {
        poly({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, c);
    }
    void rect(double x0, double y0, double x1, double y1) { rect(x0, y0, x1, y1, Color); }
    void ring(double cx, double cy, double r, double Width, TColor c) {
        for (int i = 0; i < 24; i++) {
            double a = 2 * PI * i / 24, b = 2 * PI * (i + 1) / 24;
            line(cx + r * std::cos(a), cy + r * std::sin(a), cx + r * std::cos(b), cy + r * std::sin(b),
                 Width, c);
        }
    }
    void ring(double cx, double cy, double r, double Width) { ring(cx, cy, r, Width, Color); }

    TCanvas& C;
    TColor Color;
    TColor Light() const { return Shade(Color, 1.45); }
    TColor Dark() const { return Shade(Color, 0.6); }

private:
    double W, H;
};

void Arrow(TPen& P, double Angle) {
    // An arrow pointing along Angle (0 = right), head and shaft.
    double c = std::cos(Angle), s = std::sin(Angle);
    auto R = [&](double u, double v) {
        return std::pair<double, double>{0.5 + u * c - v * s, 0.5 + u * s + v * c};
    };
    P.poly({R(0.48, 0), R(-0.02, -0.42), R(-0.02, -0.16), R(-0.46, -0.16), R(-0.46, 0.16), R(-0.02, 0.16),
            R(-0.02, 0.42)});
}

void Skull(TPen& P) {
    P.disc(0.5, 0.42, 0.4);
    P.rect(0.28, 0.6, 0.72, 0.92);
    P.disc(0.34, 0.45, 0.11, TColor{20, 16, 14});
    P.disc(0.66, 0.45, 0.11, TColor{20, 16, 14});
    P.rect(0.47, 0.62, 0.53, 0.72, TColor{20, 16, 14});
}

void Sword(TPen& P, double x0, double y0, double x1, double y1) {
    P.line(x0, y0, x1, y1, 0.16, TColor{220, 224, 232});
    double mx = x0 + (x1 - x0) * 0.72, my = y0 + (y1 - y0) * 0.72;
    double nx = -(y1 - y0) * 0.28, ny = (x1 - x0) * 0.28;
    P.line(mx - nx, my - ny, mx + nx, my + ny, 0.14, TColor{200, 160, 60});
    P.line(mx, my, x1, y1, 0.14, TColor{120, 70, 30});
}

void Bubble(TPen& P) {
    P.disc(0.5, 0.42, 0.46);
    P.poly({{0.2, 0.6}, {0.42, 0.78}, {0.12, 0.98}});
}

void Gear(TPen& P) {
    for (int i = 0; i < 8; i++) {
        double a = 2 * PI * i / 8;
        P.line(0.5, 0.5, 0.5 + 0.46 * std::cos(a), 0.5 + 0.46 * std::sin(a), 0.2);
    }
    P.disc(0.5, 0.5, 0.34);
    P.disc(0.5, 0.5, 0.13, TColor{30, 26, 22});
}

void Zoom(TPen& P, bool In) {
    P.ring(0.42, 0.42, 0.3, 0.13, TColor{210, 210, 215});
    P.line(0.62, 0.62, 0.95, 0.95, 0.2, TColor{140, 100, 60});
    P.line(0.28, 0.42, 0.56, 0.42, 0.11);
    if (In) P.line(0.42, 0.28, 0.42, 0.56, 0.11);
}

void Star(TPen& P, double cx, double cy, double r) {
    std::vector<std::pair<double, double>> Points;
    for (int i = 0; i < 10; i++) {
        double a = -PI / 2 + PI * i / 5, rr = i % 2 ? r * 0.45 : r;
        Points.push_back({cx + rr * std::cos(a), cy + rr * std::sin(a)});
    }
    P.poly(Points);
}

void Person(TPen& P) {
    P.disc(0.5, 0.22, 0.2);
    P.poly({{0.14, 1.0}, {0.22, 0.5}, {0.78, 0.5}, {0.86, 1.0}});
}

void Equipment(TPen& P, TPictogram Kind) {
    switch (Kind) {
    case TPictogram::HELMET:
        P.poly({{0.12, 0.75}, {0.12, 0.45}, {0.3, 0.12}, {0.7, 0.12}, {0.88, 0.45}, {0.88, 0.75}});
        P.rect(0.25, 0.48, 0.75, 0.56, P.Dark());
        P.rect(0.46, 0.56, 0.54, 0.86, P.Color);
        break;
    case TPictogram::AMULET:
        P.ring(0.5, 0.32, 0.3, 0.06);
        P.disc(0.5, 0.72, 0.2);
        P.disc(0.5, 0.72, 0.09, P.Light());
        break;
    case TPictogram::ARMOR:
        P.poly({{0.1, 0.28},
                {0.3, 0.1},
                {0.42, 0.22},
                {0.58, 0.22},
                {0.7, 0.1},
                {0.9, 0.28},
                {0.78, 0.46},
                {0.76, 0.95},
                {0.24, 0.95},
                {0.22, 0.46}});
        P.line(0.5, 0.3, 0.5, 0.9, 0.05, P.Dark());
        break;
    case TPictogram::LEGS:
        P.poly({{0.22, 0.05},
                {0.78, 0.05},
                {0.82, 0.95},
                {0.58, 0.95},
                {0.5, 0.35},
                {0.42, 0.95},
                {0.18, 0.95}});
        break;
    case TPictogram::BOOTS:
        P.poly({{0.08, 0.1}, {0.38, 0.1}, {0.38, 0.7}, {0.5, 0.78}, {0.5, 0.95}, {0.08, 0.95}});
        P.poly({{0.56, 0.1}, {0.86, 0.1}, {0.86, 0.7}, {0.98, 0.78}, {0.98, 0.95}, {0.56, 0.95}});
        break;
    case TPictogram::BACKPACK:
        P.poly({{0.18, 0.3}, {0.3, 0.12}, {0.7, 0.12}, {0.82, 0.3}, {0.86, 0.95}, {0.14, 0.95}});
        P.rect(0.26, 0.5, 0.74, 0.8, P.Dark());
        P.ring(0.5, 0.12, 0.12, 0.06);
        break;
    case TPictogram::QUIVER:
        P.poly({{0.3, 0.3}, {0.7, 0.3}, {0.66, 0.98}, {0.34, 0.98}});
        for (double x = 0.38; x < 0.7; x += 0.12)
            P.line(x, 0.32, x + 0.06, 0.02, 0.05, TColor{220, 210, 190});
        break;
    case TPictogram::RING:
        P.ring(0.5, 0.6, 0.3, 0.12);
        P.disc(0.5, 0.26, 0.14, TColor{120, 200, 240});
        break;
    default:
        break;
    }
}

void Symbol(TPen& P, TPictogram Kind) {
    switch (Kind) {
    case TPictogram::PLUS:
        P.rect(0.38, 0.08, 0.62, 0.92);
        P.rect(0.08, 0.38, 0.92, 0.62);
        break;
    case TPictogram::MINUS:
        P.rect(0.08, 0.38, 0.92, 0.62);
        break;
    case TPictogram::CROSS:
        P.line(0.12, 0.12, 0.88, 0.88, 0.24);
        P.line(0.88, 0.12, 0.12, 0.88, 0.24);
        break;
    case TPictogram::CHECK:
        P.line(0.1, 0.55, 0.38, 0.85, 0.22);
        P.line(0.38, 0.85, 0.9, 0.15, 0.22);
        break;
    case TPictogram::QUESTION:
        P.ring(0.5, 0.3, 0.24, 0.18);
        P.rect(0.2, 0.3, 0.45, 0.55, TColor{255, 0, 255}); // cut the ring open at the lower left
        P.line(0.55, 0.5, 0.5, 0.7, 0.18);
        P.disc(0.5, 0.9, 0.1);
        break;
    case TPictogram::EXCLAMATION:
        P.poly({{0.36, 0.04}, {0.64, 0.04}, {0.56, 0.68}, {0.44, 0.68}});
        P.disc(0.5, 0.88, 0.11);
        break;
    case TPictogram::DOLLAR:
        P.ring(0.5, 0.32, 0.2, 0.15);
        P.ring(0.5, 0.68, 0.2, 0.15);
        P.line(0.5, 0.02, 0.5, 0.98, 0.12);
        break;
    default:
        break;
    }
}

void Nature(TPen& P, TPictogram Kind) {
    switch (Kind) {
    case TPictogram::DROP:
        P.poly({{0.5, 0.02}, {0.82, 0.55}, {0.18, 0.55}});
        P.ball(0.5, 0.64, 0.33, 0.33);
        break;
    case TPictogram::FLAME:
        P.poly({{0.5, 0.0}, {0.85, 0.55}, {0.75, 0.95}, {0.25, 0.95}, {0.15, 0.55}}, TColor{230, 80, 20});
        P.poly({{0.5, 0.35}, {0.68, 0.7}, {0.6, 0.95}, {0.4, 0.95}, {0.32, 0.7}}, TColor{255, 220, 60});
        break;
    case TPictogram::BOLT:
        P.poly({{0.6, 0.0}, {0.15, 0.58}, {0.45, 0.58}, {0.35, 1.0}, {0.85, 0.38}, {0.55, 0.38}});
        break;
    case TPictogram::MOON:
        P.disc(0.5, 0.5, 0.45);
        P.disc(0.7, 0.36, 0.38, TColor{255, 0, 255});
        break;
    case TPictogram::SUN:
        for (int i = 0; i < 8; i++)
            P.line(0.5, 0.5, 0.5 + 0.48 * std::cos(i * PI / 4), 0.5 + 0.48 * std::sin(i * PI / 4), 0.1);
        P.ball(0.5, 0.5, 0.28, 0.28);
        break;
    case TPictogram::SNOWFLAKE:
        for (int i = 0; i < 3; i++)
            P.line(0.5 - 0.45 * std::cos(i * PI / 3), 0.5 - 0.45 * std::sin(i * PI / 3),
                   0.5 + 0.45 * std::cos(i * PI / 3), 0.5 + 0.45 * std::sin(i * PI / 3), 0.13);
        break;
    case TPictogram::SPIRAL:
        for (int i = 0; i < 40; i++) {
            double a = i * 0.45, r = 0.05 + i * 0.011;
            P.disc(0.5 + r * std::cos(a), 0.5 + r * std::sin(a), 0.07);
        }
        break;
    case TPictogram::DIAMOND:
        P.poly({{0.5, 0.04}, {0.92, 0.42}, {0.5, 0.96}, {0.08, 0.42}});
        P.poly({{0.5, 0.04}, {0.7, 0.42}, {0.5, 0.96}, {0.3, 0.42}}, P.Light());
        break;
    case TPictogram::BULB:
        P.ball(0.5, 0.4, 0.34, 0.36);
        P.rect(0.36, 0.72, 0.64, 0.96, TColor{150, 150, 160});
        break;
    default:
        break;
    }
}

void Things(TPen& P, TPictogram Kind) {
    switch (Kind) {
    case TPictogram::COIN:
        P.ball(0.5, 0.5, 0.44, 0.44);
        P.ring(0.5, 0.5, 0.3, 0.06, P.Dark());
        break;
    case TPictogram::KEY:
        P.ring(0.28, 0.3, 0.2, 0.14);
        P.line(0.42, 0.44, 0.92, 0.94, 0.14);
        P.line(0.72, 0.74, 0.6, 0.86, 0.12);
        break;
    case TPictogram::FLAG:
        P.line(0.2, 0.05, 0.2, 0.98, 0.12, TColor{150, 110, 70});
        P.poly({{0.24, 0.08}, {0.92, 0.26}, {0.24, 0.5}});
        break;
    case TPictogram::LOCK:
        P.ring(0.5, 0.36, 0.24, 0.12, TColor{190, 190, 200});
        P.rect(0.16, 0.45, 0.84, 0.96);
        P.disc(0.5, 0.66, 0.08, TColor{20, 16, 14});
        break;
    case TPictogram::BAG:
        P.ball(0.5, 0.62, 0.42, 0.36);
        P.poly({{0.32, 0.06}, {0.68, 0.06}, {0.58, 0.3}, {0.42, 0.3}});
        break;
    case TPictogram::BOOK:
        P.rect(0.14, 0.08, 0.86, 0.92);
        P.rect(0.24, 0.14, 0.8, 0.86, TColor{230, 222, 200});
        P.line(0.3, 0.14, 0.3, 0.86, 0.08, P.Dark());
        break;
    case TPictogram::SCROLL:
        P.rect(0.18, 0.14, 0.82, 0.86, TColor{226, 210, 170});
        P.disc(0.18, 0.5, 0.1, TColor{190, 170, 120});
        for (double y = 0.3; y < 0.8; y += 0.14)
            P.line(0.3, y, 0.72, y, 0.04, TColor{90, 70, 50});
        P.line(0.1, 0.12, 0.9, 0.12, 0.12, TColor{170, 140, 90});
        P.line(0.1, 0.88, 0.9, 0.88, 0.12, TColor{170, 140, 90});
        break;
    case TPictogram::BOTTLE:
        P.ball(0.5, 0.66, 0.36, 0.32);
        P.rect(0.4, 0.08, 0.6, 0.4);
        break;
    case TPictogram::CROWN:
        P.poly(
            {{0.06, 0.85}, {0.06, 0.25}, {0.3, 0.55}, {0.5, 0.15}, {0.7, 0.55}, {0.94, 0.25}, {0.94, 0.85}});
        break;
    case TPictogram::SCALES:
        P.line(0.5, 0.1, 0.5, 0.9, 0.1);
        P.line(0.1, 0.25, 0.9, 0.25, 0.08);
        P.poly({{0.02, 0.55}, {0.38, 0.55}, {0.2, 0.7}});
        P.poly({{0.62, 0.55}, {0.98, 0.55}, {0.8, 0.7}});
        P.rect(0.3, 0.86, 0.7, 0.96);
        break;
    case TPictogram::WINDOW:
        P.rect(0.06, 0.12, 0.94, 0.9);
        P.rect(0.16, 0.3, 0.84, 0.8, TColor{30, 28, 26});
        break;
    case TPictogram::TEMPLE:
        P.poly({{0.5, 0.02}, {0.96, 0.3}, {0.04, 0.3}});
        for (double x = 0.14; x < 0.9; x += 0.26)
            P.rect(x, 0.34, x + 0.12, 0.84);
        P.rect(0.04, 0.86, 0.96, 0.98);
        break;
    default:
        break;
    }
}

void Figures(TPen& P, TPictogram Kind) {
    switch (Kind) {
    case TPictogram::HAND:
        P.rect(0.22, 0.45, 0.78, 0.95);
        for (int i = 0; i < 4; i++)
            P.line(0.28 + i * 0.15, 0.5, 0.28 + i * 0.15, 0.1 + (i == 0 || i == 3 ? 0.12 : 0), 0.13);
        P.line(0.22, 0.6, 0.05, 0.42, 0.13);
        break;
    case TPictogram::FEET:
        P.ball(0.3, 0.62, 0.17, 0.32);
        P.ball(0.7, 0.42, 0.17, 0.32);
        break;
    case TPictogram::RUN:
        P.disc(0.62, 0.15, 0.13);
        P.line(0.58, 0.3, 0.45, 0.6, 0.16);
        P.line(0.45, 0.6, 0.72, 0.8, 0.13);
        P.line(0.72, 0.8, 0.66, 1.0, 0.12);
        P.line(0.45, 0.6, 0.22, 0.78, 0.13);
        P.line(0.55, 0.36, 0.85, 0.45, 0.12);
        P.line(0.55, 0.36, 0.28, 0.38, 0.12);
        break;
    case TPictogram::PERSON:
        Person(P);
        break;
    case TPictogram::EAR_CROSSED:
        Bubble(P);
        P.line(0.1, 0.9, 0.9, 0.1, 0.16, TColor{220, 40, 30});
        break;
    default:
        break;
    }
}

} // namespace

TCanvas Pictogram(TPictogram Kind, int W, int H, TColor Color, TColor Outline) {
    TCanvas C(W, H);
    TPen P(C, Color);
    switch (Kind) {
    case TPictogram::SWORD:
        Sword(P, 0.92, 0.08, 0.1, 0.9);
        break;
    case TPictogram::CROSSED_SWORDS:
        Sword(P, 0.92, 0.08, 0.1, 0.9);
        Sword(P, 0.08, 0.08, 0.9, 0.9);
        break;
    case TPictogram::SHIELD:
    case TPictogram::SHIELD_PLUS:
        P.poly({{0.1, 0.08}, {0.9, 0.08}, {0.86, 0.55}, {0.5, 0.98}, {0.14, 0.55}});
        P.poly({{0.5, 0.08}, {0.9, 0.08}, {0.86, 0.55}, {0.5, 0.98}}, P.Dark());
        if (Kind == TPictogram::SHIELD_PLUS) {
            P.rect(0.42, 0.2, 0.58, 0.74, TColor{250, 240, 200});
            P.rect(0.24, 0.38, 0.76, 0.54, TColor{250, 240, 200});
        }
        break;
    case TPictogram::HEART:
        P.disc(0.3, 0.32, 0.26);
        P.disc(0.7, 0.32, 0.26);
        P.poly({{0.06, 0.42}, {0.94, 0.42}, {0.5, 0.96}});
        P.disc(0.28, 0.26, 0.08, P.Light());
        break;
    case TPictogram::SKULL:
        Skull(P);
        break;
    case TPictogram::ARROW_UP:
        Arrow(P, -PI / 2);
        break;
    case TPictogram::ARROW_DOWN:
        Arrow(P, PI / 2);
        break;
    case TPictogram::ARROW_LEFT:
        Arrow(P, PI);
        break;
    case TPictogram::ARROW_RIGHT:
        Arrow(P, 0);
        break;
    case TPictogram::STAR:
        Star(P, 0.5, 0.54, 0.5);
        break;
    case TPictogram::BUBBLE:
        Bubble(P);
        break;
    case TPictogram::BUBBLE_DOTS:
        Bubble(P);
        for (int i = 0; i < 3; i++)
            P.disc(0.26 + i * 0.24, 0.42, 0.07, TColor{40, 40, 40});
        break;
    case TPictogram::BUBBLE_SHOUT:
        P.poly({{0.0, 0.1},
                {0.3, 0.2},
                {0.5, 0.0},
                {0.65, 0.2},
                {1.0, 0.1},
                {0.85, 0.45},
                {1.0, 0.8},
                {0.55, 0.7},
                {0.15, 1.0},
                {0.25, 0.65},
                {0.0, 0.55}});
        break;
    case TPictogram::GEAR:
        Gear(P);
        break;
    case TPictogram::ZOOM_IN:
    case TPictogram::ZOOM_OUT:
        Zoom(P, Kind == TPictogram::ZOOM_IN);
        break;
    case TPictogram::HELMET:
    case TPictogram::AMULET:
    case TPictogram::ARMOR:
    case TPictogram::LEGS:
    case TPictogram::BOOTS:
    case TPictogram::BACKPACK:
    case TPictogram::QUIVER:
    case TPictogram::RING:
        Equipment(P, Kind);
        break;
    case TPictogram::PLUS:
    case TPictogram::MINUS:
    case TPictogram::CROSS:
    case TPictogram::CHECK:
    case TPictogram::QUESTION:
    case TPictogram::EXCLAMATION:
    case TPictogram::DOLLAR:
        Symbol(P, Kind);
        break;
    case TPictogram::DROP:
    case TPictogram::FLAME:
    case TPictogram::BOLT:
    case TPictogram::MOON:
    case TPictogram::SUN:
    case TPictogram::SNOWFLAKE:
    case TPictogram::SPIRAL:
    case TPictogram::DIAMOND:
    case TPictogram::BULB:
        Nature(P, Kind);
        break;
    case TPictogram::HAND:
    case TPictogram::FEET:
    case TPictogram::RUN:
    case TPictogram::PERSON:
    case TPictogram::EAR_CROSSED:
        Figures(P, Kind);
        break;
    default:
        Things(P, Kind);
        break;
    }
    // Cut-outs are drawn in the key colour: make them transparent again.
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++)
            if (C.opaque(x, y) && C.get(x, y) == AvoidKey(COLOR_KEY)) C.clear(x, y);
    if (Outline != COLOR_KEY) C.outline(Outline);
    return C;
}

TCanvas Silhouette(TPictogram Kind, int W, int H, TColor Color) {
    TCanvas C = Pictogram(Kind, W, H, Color, COLOR_KEY);
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++)
            if (C.opaque(x, y) && C.get(x, y) != COLOR_KEY) C.set(x, y, Color);
    return C;
}
