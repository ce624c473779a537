// A contact sheet of the generated data for a person to look at: a mock game screen built from the skins,
// every skin, the fonts, a sample of sprites and the pictures.
#include "tools/datagen/ContactSheet.h"

#include "tools/datagen/Catalog.h"
#include "tools/datagen/SheetPainter.h"
#include "tools/datagen/SkinTable.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int SHEET_WIDTH = 1440;
const TColor SHEET_BACK{26, 28, 34}, LABEL{200, 200, 190}, TITLE{255, 220, 140};

const int DIALOG_FRAME[9] = {43, 49, 44, 47, 48, 45, 50, 46, 51};
const int SIDE_FRAME[9] = {128, 132, 129, 134, 135, 130, 133, 131, 7};
const int CONSOLE_FRAME[9] = {177, 183, 178, 181, 182, 179, 184, 180, 185};
const int RAISED_FRAME[9] = {26, 32, 27, 30, 31, 28, 33, 29, 0};
const int SUNKEN_FRAME[9] = {34, 40, 35, 38, 39, 36, 41, 37, 0};
const int RIM_FRAME[9] = {169, 175, 170, 173, 174, 171, 176, 172, 0};
const int START_FRAME[9] = {52, 58, 53, 56, 57, 54, 59, 55, 60};

void Button(TSheetPainter& P, int x, int y, int Up, int Down, bool Pressed, const char* Caption) {
    const TSkinRect& r = SKIN_RECTS[Pressed ? Down : Up];
    P.skin(x, y, r.w, r.h, Pressed ? Down : Up);
    int o = Pressed ? 1 : 0;
    P.text(x + r.w / 2 + o, y + (r.h - P.fontHeight(3)) / 2 + o, 3, Caption, TColor{255, 255, 255}, 1);
}

void EditField(TSheetPainter& P, int x, int y, int w, int h, const char* Text) {
    P.fillRect(x, y, w, h, TColor{54, 54, 54});
    P.skin(x, y, w, 1, 9);
    P.skin(x, y + 1, 1, h - 1, 11);
    P.skin(x + w - 1, y + 1, 1, h - 1, 10);
    P.skin(x + 1, y + h - 1, w - 2, 1, 8);
    P.text(x + 3, y + (h - P.fontHeight(4)) / 2, 4, Text, TColor{224, 224, 224});
}

void VerticalScrollBar(TSheetPainter& P, int x, int y, int h, int Thumb, int ThumbLength) {
    P.skin(x, y, 157);
    P.skin(x, y + 12, 12, h - 24, 153);
    P.skin(x, y + 12 + Thumb, 154);
    P.skin(x, y + 12 + Thumb + 6, 12, ThumbLength - 12, 155);
    P.skin(x, y + 12 + Thumb + ThumbLength - 6, 156);
    P.skin(x, y + h - 12, 159);
}

// The map: a little village by a pond, with people, beasts and things lying about.
void MapScene(TSheetPainter& P, int x0, int y0) {
    using namespace Catalog;
    auto Ground = [&](int fx, int fy) {
        if (fx <= 3 && fy >= 7) return (fx + fy) % 5 == 0 && fx == 3 ? SAND : WATER;
        if ((fx == 4 && fy >= 6) || (fy == 6 && fx <= 4)) return SAND;
        if (fx >= 8 && fx <= 13 && fy >= 1 && fy <= 6) return WOOD_FLOOR;
        if (fy == 8 || fx == 10) return COBBLES;
        return GRASS;
    };
    for (int fy = 0; fy < 11; fy++)
        for (int fx = 0; fx < 15; fx++)
            P.item(x0 + fx * 32, y0 + fy * 32, Ground(fx, fy), fx % 2 + 1, fy % 2 + 1, 2);
    P.item(x0 + 5 * 32, y0 + 5 * 32, GRASS_EDGE, 1, 1);
    for (int fx = 8; fx <= 13; fx++) {
        P.item(x0 + fx * 32, y0 + 0 * 32,
               fx == 8    ? STONE_WALL_CORNER
               : fx == 11 ? WALL_WINDOW
                          : STONE_WALL_H);
        if (fx != 10) P.item(x0 + fx * 32, y0 + 6 * 32, STONE_WALL_H);
    }
    P.item(x0 + 10 * 32, y0 + 6 * 32, DOOR_OPEN);
    for (int fy = 1; fy <= 6; fy++)
        P.item(x0 + 8 * 32, y0 + fy * 32, STONE_WALL_V);
    P.item(x0 + 9 * 32, y0 + 0 * 32, TORCH, 2, 1, 2);
    P.item(x0 + 12 * 32, y0 + 2 * 32, TABLE);
    P.item(x0 + 12 * 32 - 4, y0 + 2 * 32 - 12, CANDLESTICK);
    P.item(x0 + 13 * 32, y0 + 2 * 32, CHAIR);
    P.item(x0 + 9 * 32, y0 + 1 * 32, BOOKCASE);
    P.item(x0 + 13 * 32, y0 + 5 * 32, CHEST);
    P.item(x0 + 9 * 32, y0 + 4 * 32, BARREL);
    P.item(x0 + 11 * 32, y0 + 4 * 32, POOL, 3, 1);
    const struct {
        int Type, fx, fy, px, py;
    } Things[] = {{TREE, 2, 2, 1, 1},         {TREE, 5, 1, 1, 1},      {FIR, 0, 4, 1, 1},
                  {FIR, 14, 9, 1, 1},         {BUSH, 6, 4, 1, 1},      {FLOWERS, 3, 4, 1, 1},
                  {FLOWERS, 6, 9, 2, 2},      {BOULDER, 13, 10, 1, 1}, {CAMPFIRE, 6, 7, 1, 1},
                  {STREET_LAMP, 11, 9, 1, 1}, {SIGN, 7, 9, 1, 1},      {GOLD_COINS, 12, 8, 4, 2},
                  {VIAL, 9, 9, 3, 1},         {SWORD, 8, 10, 1, 1},    {FENCE, 0, 0, 1, 1},
                  {FENCE, 1, 0, 1, 1},        {FENCE, 2, 0, 1, 1},     {MOSS, 7, 2, 1, 1},
                  {STONE_TABLE, 14, 4, 1, 1}, {CRATE, 14, 6, 1, 1}};
    for (const auto& t : Things)
        P.item(x0 + t.fx * 32, y0 + t.fy * 32, t.Type, t.px, t.py, 2);
    const TColor Red{200, 40, 40}, Blue{40, 80, 200}, Green{60, 150, 60}, Brown{110, 70, 40},
        Gold{220, 180, 60}, Grey{150, 150, 150}, Purple{120, 50, 160};
    const TColor Citizen[4] = {Brown, Green, Brown, Brown}, Knight[4] = {Grey, Red, Grey, Brown},
                 Mage[4] = {Purple, Purple, Blue, Brown}, Noble[4] = {Gold, Red, Purple, Gold};
    P.outfit(x0 + 9 * 32, y0 + 8 * 32, OUTFIT_CITIZEN, 2, 1, Citizen);
    P.outfit(x0 + 7 * 32, y0 + 6 * 32, OUTFIT_KNIGHT, 1, 2, Knight);
    P.outfit(x0 + 11 * 32, y0 + 3 * 32, OUTFIT_MAGE, 3, 1, Mage);
    P.outfit(x0 + 12 * 32, y0 + 9 * 32, OUTFIT_NOBLE, 0, 3, Noble);
    P.outfit(x0 + 4 * 32, y0 + 9 * 32, OUTFIT_RAT, 3, 2, Citizen);
    P.outfit(x0 + 2 * 32, y0 + 5 * 32, OUTFIT_WOLF, 1, 1, Citizen);
    P.outfit(x0 + 5 * 32, y0 + 5 * 32, OUTFIT_DRAGON, 3, 2, Citizen);
    P.outfit(x0 + 6 * 32, y0 + 10 * 32, OUTFIT_GHOST, 2, 2, Citizen);
    P.effect(x0 + 2 * 32, y0 + 5 * 32, 1, 2);
    P.missile(x0 + 5 * 32, y0 + 7 * 32, 4, 7);
    P.effect(x0 + 3 * 32, y0 + 3 * 32, 3, 2);
    // Names and health bars as the map draws them.
    const struct {
        int x, y;
        const char* Name;
        TColor Color;
    } Names[] = {{9, 8, "Aldric", {96, 248, 96}},
                 {7, 6, "Sir Bertram", {96, 248, 96}},
                 {2, 5, "Wolf", {248, 96, 96}},
                 {5, 4, "Dragon", {248, 248, 96}}};
    for (const auto& n : Names) {
        int sx = x0 + n.x * 32 + 2, sy = y0 + n.y * 32 - 10;
        P.fillRect(sx, sy, 27, 4, TColor{0, 0, 0});
        P.fillRect(sx + 1, sy + 1, 20, 2, n.Color);
        P.text(sx + 14, sy - P.fontHeight(2), 2, n.Name, n.Color, 1);
    }
    P.text(x0 + 240, y0 + 330, 2, "You see a chest. It weighs 40.00 oz.", TColor{255, 255, 255}, 1);
}

// The side bar: inventory with combat controls, status, automap and a framed side window.
void SideBar(TSheetPainter& P, int x, int y, int Height) {
    P.skin(x, y, 176, Height, 7);
    P.skin(x + 8, y + 4, 138);
    const struct {
        int Slot, fx, fy, Type;
    } Slots[] = {{88, 37, 0, Catalog::HELMET},    {89, 0, 14, 0},
                 {90, 74, 14, Catalog::BACKPACK}, {91, 37, 37, Catalog::ARMOR},
                 {93, 74, 51, Catalog::SHIELD},   {92, 0, 51, Catalog::SWORD},
                 {94, 37, 74, Catalog::LEGS},     {95, 37, 111, 0},
                 {96, 0, 88, Catalog::RING},      {97, 74, 88, Catalog::ARROWS}};
    for (const auto& s : Slots) {
        int sx = x + 8 + s.fx, sy = y + 4 + s.fy;
        P.skin(sx, sy, 102);
        if (s.Type == 0)
            P.skin(sx + 1, sy + 1, s.Slot);
        else
            P.item(sx + 1, sy + 1, s.Type, s.Type == Catalog::ARROWS ? 3 : 1,
                   s.Type == Catalog::ARROWS ? 2 : 1);
    }
    P.text(x + 8 + 37 + 33, y + 4 + 111 + 22, 2, "47", TColor{192, 192, 192}, 2);
    // The soul and capacity labels as the client prints them into their wells.
    const struct {
        int wx;
        const char *Caption, *Number;
    } Labels[2] = {{x + 8, "Soul:", "100"}, {x + 82, "Cap:", "1450"}};
    for (const auto& l : Labels) {
        P.skin(l.wx, y + 128, 34, 21, 98);
        P.text(l.wx + 17, y + 128 + 2, 3, l.Caption, TColor{255, 255, 255}, 1);
        P.text(l.wx + 17, y + 128 + 11, 4, l.Number, TColor{176, 176, 176}, 1);
    }
    P.skin(x + 8, y + 151, 108, 13, 100);
    const int Conditions[4] = {228, 233, 234, 237};
    for (int i = 0; i < 4; i++)
        P.skin(x + 10 + 10 * i, y + 153, Conditions[i]);
    const int Combat[9][4] = {{103, 0, 0, 1},  {105, 0, 20, 0},  {107, 0, 40, 0},
                              {109, 23, 0, 1}, {111, 23, 20, 0}, {113, 23, 40, 0}};
    for (int i = 0; i < 6; i++)
        P.skin(x + 124 + Combat[i][1], y + 19 + Combat[i][2], Combat[i][0] + Combat[i][3]);
    Button(P, x + 124, y + 81, 12, 13, false, "Stop");
    Button(P, x + 124, y + 105, 12, 13, false, "Options");
    Button(P, x + 124, y + 127, 12, 13, false, "Help");
    // Status bars.
    int sy = y + 170;
    P.skin(x + 9, sy + 5, 119);
    P.skin(x + 9, sy + 18, 122);
    P.skin(x + 26, sy + 4, 90, 11, 120);
    P.skin(x + 26, sy + 17, 90, 11, 123);
    P.skin(x + 26, sy + 4, 70, 11, 121);
    P.skin(x + 26, sy + 17, 44, 11, 124);
    P.text(x + 127, sy + 3, 4, "185", TColor{176, 176, 176});
    P.text(x + 127, sy + 16, 4, "90", TColor{176, 176, 176});
    // Automap with its compass and buttons.
    int ay = sy + 32;
    P.fillRect(x + 9, ay + 5, 106, 106, TColor{0, 0, 0});
    // Automap: two pixels a field, coloured like the grounds of a small island.
    for (int j = 0; j < 106; j += 2)
        for (int i = 0; i < 106; i += 2) {
            double h = FractalNoise(i, j, 32, 128, 7) - std::hypot(i - 53, j - 53) / 180.0;
            TColor c = h < 0.3    ? TColor{51, 102, 204}
                       : h < 0.34 ? TColor{255, 204, 153}
                       : h < 0.5  ? TColor{0, 204, 0}
                       : h < 0.56 ? TColor{0, 102, 0}
                                  : TColor{153, 153, 153};
            P.fillRect(x + 9 + i, ay + 5 + j, 2, 2, c);
        }
    P.skin(x + 8, ay + 4, 108, 1, 9);
    P.skin(x + 8, ay + 4, 1, 108, 11);
    P.skin(x + 115, ay + 4, 1, 108, 10);
    P.skin(x + 8, ay + 111, 108, 1, 8);
    P.skin(x + 124, ay + 5, 65);
    P.skin(x + 124, ay + 50, 68);
    P.skin(x + 124, ay + 71, 66);
    P.skin(x + 147, ay + 50, 70);
    P.skin(x + 147, ay + 71, 73);
    Button(P, x + 124, ay + 92, 12, 13, false, "Centre");
    P.skin(x + 50, ay + 50, 77);
    // General controls.
    int gy = ay + 117;
    Button(P, x + 8, gy + 3, 14, 15, true, "Skills");
    Button(P, x + 45, gy + 3, 14, 15, false, "Battle");
    Button(P, x + 82, gy + 3, 14, 15, false, "VIP");
    Button(P, x + 124, gy + 3, 12, 13, false, "Logout");
    // A framed side window: the battle list.
    int wy = gy + 30, wh = Height - (wy - y);
    P.frame(x, wy, 176, wh, SIDE_FRAME);
    P.skin(x + 4, wy + 2, 144);
    P.text(x + 20, wy + 2, 4, "Battle", TColor{144, 144, 144});
    P.skin(x + 176 - 28, wy + 2, 138);
    P.skin(x + 176 - 15, wy + 2, 136);
    const char* Foes[3] = {"Wolf", "Dragon", "Rat"};
    const int Outfits[3] = {Catalog::OUTFIT_WOLF, Catalog::OUTFIT_DRAGON, Catalog::OUTFIT_RAT};
    const TColor Plain[4] = {{200, 200, 200}, {200, 200, 200}, {200, 200, 200}, {200, 200, 200}};
    for (int i = 0; i < 3; i++) {
        int ly = wy + 20 + i * 24;
        P.skin(x + 6, ly, 22, 22, 102);
        P.outfit(x + 8, ly + 2, Outfits[i], 2, 1, Plain, 1);
        P.text(x + 34, ly + 2, 4, Foes[i], i == 0 ? TColor{248, 96, 96} : TColor{192, 192, 192});
        P.fillRect(x + 34, ly + 16, 100, 4, TColor{0, 0, 0});
        P.fillRect(x + 35, ly + 17, 90 - 30 * i, 2, TColor{96, 248, 96});
    }
    P.skin(x + 176 - 4 - 13, wy + wh - 4 - 13, 42);
    VerticalScrollBar(P, x + 176 - 16, wy + 15, wh - 19, 10, 30);
}

void Console(TSheetPainter& P, int x, int y, int w, int h) {
    P.frame(x, y, w, h, CONSOLE_FRAME);
    const char* Tabs[3] = {"Default", "Game-Chat", "Trade"};
    for (int i = 0; i < 3; i++) {
        P.skin(x + 20 + 96 * i, y, 96, 18, i == 0 ? 186 : 187);
        P.text(x + 20 + 96 * i + 48, y + 4, 4, Tabs[i],
               i == 0 ? TColor{255, 255, 255} : TColor{144, 144, 144}, 1);
    }
    P.skin(x + w - 64, y + 1, 188);
    P.skin(x + w - 48, y + 1, 190);
    P.skin(x + w - 32, y + 1, 195);
    P.skin(x + w - 16, y + 1, 193);
    P.skin(x + 2, y + 1, 203);
    P.frame(x + 4, y + 20, w - 8, h - 50, RIM_FRAME);
    const struct {
        const char* Line;
        TColor Color;
    } Lines[] = {{"10:42 Welcome to Pellarune! Enjoy your stay.", {240, 240, 80}},
                 {"10:43 Aldric [12]: Has anyone seen the wolf by the pond?", {240, 240, 80}},
                 {"10:43 Sir Bertram [44]: It ran off to the east. Mind the dragon!", {240, 240, 80}},
                 {"10:44 You see a vial of mana fluid.", {255, 255, 255}},
                 {"10:44 \x9Fse na\xEFve fa\xE7"
                  "ade: \xC4pfel, \xD6l, \xDC"
                  "bermut, Stra\xDF"
                  "e, d\xE9j\xE0 vu, \x80 12.",
                  {96, 200, 255}}};
    for (int i = 0; i < 5; i++)
        P.text(x + 10, y + 26 + 14 * i, 4, Lines[i].Line, Lines[i].Color);
    VerticalScrollBar(P, x + w - 19, y + 23, h - 56, 40, 24);
    P.skin(x + 5, y + h - 25, 197);
    EditField(P, x + 24, y + h - 26, w - 30, 18, "Hello, world|");
}

void Dialog(TSheetPainter& P, int x, int y) {
    int w = 300, h = 230;
    P.frame(x, y, w, h, DIALOG_FRAME);
    P.text(x + w / 2, y + 3, 4, "Options", TColor{144, 144, 144}, 1);
    P.text(x + 16, y + 26, 4, "Choose how the game looks and plays:", TColor{192, 192, 192});
    const char* Boxes[3] = {"Show names of creatures", "Show textual effects", "Classic control"};
    for (int i = 0; i < 3; i++) {
        int by = y + 46 + i * 24, bw = 24 + P.textWidth(4, Boxes[i]) + 10;
        P.skin(x + 16, by, bw, 1, 148);
        P.skin(x + 16, by + 1, 1, 21, 146);
        P.skin(x + 16 + bw - 1, by + 1, 1, 21, 147);
        P.skin(x + 17, by + 21, bw - 2, 1, 149);
        P.skin(x + 22, by + 5, i == 1 ? 151 : 150);
        P.text(x + 40, by + 4, 4, Boxes[i], TColor{176, 176, 176});
    }
    EditField(P, x + 16, y + 122, 200, 18, "Sir Bertram");
    P.text(x + 16, y + 146, 4, "Downloading new pictures", TColor{192, 192, 192});
    int px = x + 16, py = y + 164, pw = 200;
    P.skin(px, py, 6, 11, 256);
    P.skin(px + 6, py, pw - 12, 11, 257);
    P.skin(px + pw - 6, py, 6, 11, 258);
    P.skin(px, py, 130, 11, 259);
    P.skin(px + 6, py, 124, 11, 260);
    P.skin(px + 220, y + 50, 22, 12, 22);
    P.fillRect(px + 223, y + 53, 16, 6, TColor{200, 40, 40});
    P.skin(px + 246, y + 50, 24, 12, 22);
    P.fillRect(px + 249, y + 53, 18, 6, TColor{60, 150, 60});
    P.skin(x + 4, y + 190, w - 8, 1, 9);
    P.skin(x + 4, y + 191, w - 8, 1, 8);
    Button(P, x + w - 104, y + 200, 12, 13, false, "Ok");
    Button(P, x + w - 56, y + 200, 12, 13, true, "Cancel");
}

void CharacterDialog(TSheetPainter& P, int x, int y) {
    int w = 300, h = 230;
    P.frame(x, y, w, h, DIALOG_FRAME);
    P.text(x + w / 2, y + 3, 4, "Select Character", TColor{144, 144, 144}, 1);
    P.text(x + 16, y + 26, 4, "Select a character:", TColor{192, 192, 192});
    int lx = x + 16, ly = y + 44, lw = 250, lh = 100;
    P.fillRect(lx, ly, lw, lh, TColor{64, 64, 64});
    P.skin(lx, ly, lw, 1, 9);
    P.skin(lx, ly + 1, 1, lh - 1, 11);
    P.skin(lx + lw - 1, ly + 1, 1, lh - 1, 10);
    P.skin(lx + 1, ly + lh - 1, lw - 2, 1, 8);
    const char* Names[6] = {"Aldric (Pellarune)",  "Sir Bertram (Pellarune)", "Mirela (Seven Isles)",
                            "Tobin (Seven Isles)", "Quill (Pellarune)",       "Odo (Seven Isles)"};
    for (int i = 0; i < 6; i++) {
        if (i == 1) P.fillRect(lx + 3, ly + 3 + 15 * i, lw - 18, 15, TColor{112, 112, 112});
        P.text(lx + 6, ly + 4 + 15 * i, 4, Names[i], i == 1 ? TColor{255, 255, 255} : TColor{176, 176, 176});
    }
    VerticalScrollBar(P, lx + lw - 13, ly + 1, lh - 2, 20, 40);
    int hx = x + 16, hy = y + 152;
    P.skin(hx, hy, 165);
    P.skin(hx + 12, hy, 226, 12, 161);
    P.skin(hx + 60, hy, 162);
    P.skin(hx + 66, hy, 40, 12, 163);
    P.skin(hx + 106, hy, 164);
    P.skin(hx + 238, hy, 167);
    P.text(x + 16, y + 170, 4, "Account Status: Premium Account", TColor{192, 192, 192});
    P.skin(x + 4, y + 190, w - 8, 1, 9);
    P.skin(x + 4, y + 191, w - 8, 1, 8);
    Button(P, x + w - 104, y + 200, 12, 13, true, "Ok");
    Button(P, x + w - 56, y + 200, 12, 13, false, "Cancel");
}

void StartScreen(TSheetPainter& P, int x, int y) {
    P.picture(x, y, PICTURE_TITLE);
    P.frame(x + 50, y + 230, 106, 160, START_FRAME);
    const char* Captions[5] = {"Enter Game", "Access Account", "Options", "Info", "Exit Game"};
    for (int i = 0; i < 5; i++)
        Button(P, x + 60, y + 240 + 30 * i, 18, 19, i == 0, Captions[i]);
}

int Section(TSheetPainter& P, int y, const char* Title) {
    P.text(12, y, 2, Title, TITLE);
    return y + 22;
}

int AllSkins(TSheetPainter& P, int y) {
    int x = 12, RowHeight = 0;
    for (int s = 1; s < SKIN_COUNT; s++) {
        const TSkinRect& r = SKIN_RECTS[s];
        if (r.w == 0) continue;
        int Scale = r.w <= 48 && r.h <= 48 ? 2 : 1, cw = std::max(r.w * Scale, 22) + 8, ch = r.h * Scale + 14;
        if (x + cw > SHEET_WIDTH - 12) x = 12, y += RowHeight, RowHeight = 0;
        P.skinScaled(x, y, s, Scale);
        if (Scale == 2) P.skin(x + 2 * r.w + 2, y, s);
        char Label[8];
        std::snprintf(Label, sizeof Label, "%d", s);
        P.text(x, y + r.h * Scale + 2, 3, Label, LABEL);
        x += cw + (Scale == 2 ? r.w + 2 : 0);
        RowHeight = std::max(RowHeight, ch);
    }
    return y + RowHeight + 10;
}

void Label(TSheetPainter& P, int x, int y, int Number) {
    char Text[8];
    std::snprintf(Text, sizeof Text, "%d", Number);
    P.text(x, y, 3, Text, LABEL);
}

// Every glyph cell of a font four times as large, in rows of character codes: the cell's area dark, the
// width the client measures lighter, so that glyphs and their advances can be checked one by one.
int GlyphGrid(TSheetPainter& P, int Font, int y) {
    constexpr int Scale = 4;
    const TFontLayout& L = FONT_LAYOUTS[Font - 1];
    const int PerRow = L.CharWidth > 8 ? 16 : 32, w = L.CharWidth * Scale, h = L.CharHeight * Scale;
    for (int Code = 33; Code < 256; Code++) {
        int Column = (Code - 32) % PerRow, x = 40 + Column * (w + 2),
            Top = y + (Code - 32) / PerRow * (h + 2);
        if (Column == 0 || Code == 33) Label(P, 12, Top + h / 2 - 4, Code - Column);
        P.fillRect(x, Top, w, h, TColor{40, 42, 50});
        P.fillRect(x, Top, P.glyph(x, Top, Font, static_cast<unsigned char>(Code), TColor{0, 0, 0}) * Scale,
                   h, TColor{58, 60, 72});
        P.glyph(x, Top, Font, static_cast<unsigned char>(Code), TColor{240, 240, 240}, Scale);
    }
    return y + (GLYPHS_PER_FONT + PerRow - 1) / PerRow * (h + 2) + 8;
}

int Fonts(TSheetPainter& P, int y) {
    char Line[160];
    for (int Font = 1; Font <= 4; Font++) {
        for (int Row = 0; Row < 2; Row++) {
            int n = 0;
            for (int c = 33 + Row * 112; c < 33 + (Row + 1) * 112 && c < 256; c++)
                Line[n++] = static_cast<char>(c);
            Line[n] = 0;
            P.text(12, y, Font, Line, TColor{230, 230, 230});
            y += FONT_LAYOUTS[Font - 1].CharHeight + 2;
        }
        std::snprintf(Line, sizeof Line,
                      "Font %d: The quick brown fox jumps over the lazy dog. 0123456789 (Ok) [Cancel]", Font);
        P.text(12, y, Font, Line, TColor{255, 210, 120});
        y = GlyphGrid(P, Font, y + FONT_LAYOUTS[Font - 1].CharHeight + 8);
    }
    return y;
}

// Every item type at twice its size, its field's cell at the bottom right of its box.
int Items(TSheetPainter& P, const TDataSet& Set, int y) {
    int x = 12;
    for (int Type = 100; Type <= Catalog::LAST_DEFAULT_ITEM; Type++) {
        const TDatType& t = Set.Dat.Items[Type - 100];
        int w = 64 * t.Width + 10;
        if (x + w > SHEET_WIDTH - 12) x = 12, y += 128 + 16;
        P.item(x + 64 * (t.Width - 1), y + 64, Type, 1, 1, 1, 2);
        Label(P, x, y + 130, Type);
        x += w;
    }
    return y + 128 + 24;
}

int Sprites(TSheetPainter& P, const TDataSet& Set, int y) {
    y = Items(P, Set, y);
    for (int Step = 0; Step < 8; Step++)
        P.item(12 + Step * 70, y, Catalog::GOLD_COINS, Step % 4 + 1, Step / 4 + 1, 1, 2);
    for (int Liquid = 0; Liquid < 8; Liquid++)
        P.item(600 + Liquid * 70, y, Catalog::VIAL, Liquid % 4 + 1, Liquid / 4 + 1, 1, 2);
    y += 80;
    const TColor Colors[4] = {{230, 190, 60}, {200, 40, 40}, {40, 90, 200}, {90, 60, 30}};
    for (int o = 1; o <= 12; o++) {
        const TDatType& t = Set.Dat.Outfits[o - 1];
        int bx = 12 + ((o - 1) % 4) * 350, by = y + ((o - 1) / 4) * 84;
        for (int d = 0; d < 4; d++) {
            int Scale = t.Width == 2 ? 1 : 2;
            P.outfit(bx + d * 72 + 32 * Scale * (t.Width - 1),
                     by + 32 * Scale * (t.Height - 1) + 8 * (t.Width - 1), o, d, 1, Colors, Scale);
        }
        Label(P, bx, by + 68, o);
    }
    y += 3 * 84 + 8;
    for (int e = 1; e <= Catalog::EFFECTS; e++) {
        const TDatType& t = Set.Dat.Effects[e - 1];
        int bx = 12 + ((e - 1) % 5) * 285, by = y + ((e - 1) / 5) * 80;
        for (int ph = 1; ph <= t.Phases; ph++)
            P.effect(bx + (ph - 1) * 68 + 32 * (t.Width - 1), by + 32 * (t.Height - 1), e, ph,
                     t.Width == 2 ? 1 : 2);
        Label(P, bx, by + 66, e);
    }
    y += 3 * 80 + 8;
    for (int m = 1; m <= Catalog::MISSILES; m++) {
        for (int d = 0; d < 8; d++)
            P.missile(12 + d * 40 + ((m - 1) % 3) * 350, y + ((m - 1) / 3) * 44, m, d);
        Label(P, 12 + ((m - 1) % 3) * 350 + 322, y + ((m - 1) / 3) * 44 + 12, m);
    }
    return y + 3 * 44 + 10;
}

} // namespace

TCanvas BuildContactSheet(const TDataSet& Set) {
    TCanvas Sheet(SHEET_WIDTH, 6400);
    Sheet.fill(SHEET_BACK);
    TSheetPainter P(Set, Sheet);
    int y = Section(P, 8, "A game screen built from the skins");
    // Game screen: map window, console, side bar; a dialog over the map.
    const int MapX = 12, MapY = y, SideX = MapX + 500;
    P.frame(MapX, MapY, 500, 372, RAISED_FRAME);
    P.skin(MapX + 2, MapY + 2, 496, 368, 7);
    MapScene(P, MapX + 10, MapY + 10);
    P.skin(MapX + 500 - 45, MapY + 15, 63);
    P.skin(MapX, MapY + 372, 500, 1, 8);
    P.skin(MapX, MapY + 373, 500, 3, 7);
    P.skin(MapX, MapY + 376, 500, 1, 9);
    Console(P, MapX, MapY + 377, 500, 170);
    SideBar(P, SideX, MapY, 547);
    StartScreen(P, SideX + 190, MapY);
    P.skin(MapX + 250, MapY + 200, 1);
    Dialog(P, SideX + 190, MapY + 490);
    CharacterDialog(P, SideX + 190 + 330, MapY + 490);
    y = MapY + 730;
    y = Section(P, y, "Every skin (small ones twice as large, then as they are)");
    y = AllSkins(P, y);
    y = Section(P, y, "The four fonts");
    y = Fonts(P, y);
    y = Section(P, y, "Object types, counts, liquids, outfits, effects and missiles");
    y = Sprites(P, Set, y);
    y = Section(P, y, "Darkness tiles and the spare picture");
    P.fillRect(12, y, 8 * 32 + 80, 40, TColor{220, 200, 120});
    P.picture(16, y + 4, PICTURE_DARKNESS);
    P.picture(16 + 8 * 32 + 10, y - 12, PICTURE_SPARE);
    return Sheet.crop(0, 0, SHEET_WIDTH, y + 70);
}
