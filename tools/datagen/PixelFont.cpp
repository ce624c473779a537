// Glyphs drawn pixel by pixel. A glyph is written as its rows joined by '/', '#' for ink, top first; missing
// rows are empty. Letters with an accent are composed from a letter and the accent above it.
#include "tools/datagen/PixelFont.h"

#include "foundation/Exception.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int CELL = 8, ROWS = 7;
const TColor INK{255, 255, 255}, SHADOW{24, 24, 24};

struct TPattern {
    int Code;
    const char* Rows;
};

constexpr const char* BOX = "/####/#..#/#..#/#..#/####";

constexpr TPattern GLYPHS[] = {
    {'!', "/#/#/#//#"},
    {'"', "/#.#/#.#"},
    {'#', "/.#.#./#####/.#.#./#####/.#.#."},
    {'$', "..#./.###/#.../.##./...#/###./..#."},
    {'%', "/##..#/##.#./..#../.#.##/#..##"},
    {'&', "/.##../#..#./.##../#..##/.##.#"},
    {'\'', "/#/#"},
    {'(', "/.#/#./#./#./.#"},
    {')', "/#./.#/.#/.#/#."},
    {'*', "/#.#/.#./#.#"},
    {'+', "//.#./###/.#."},
    {',', "/////.#/#."},
    {'-', "///###"},
    {'.', "/////#"},
    {'/', "/..#/..#/.#./#../#.."},
    {'0', "/.##./#..#/#..#/#..#/.##."},
    {'1', "/.#./##./.#./.#./###"},
    {'2', "/###./...#/.##./#.../####"},
    {'3', "/###./...#/.##./...#/###."},
    {'4', "/#..#/#..#/####/...#/...#"},
    {'5', "/####/#.../###./...#/###."},
    {'6', "/.##./#.../###./#..#/.##."},
    {'7', "/####/...#/..#./.#../.#.."},
    {'8', "/.##./#..#/.##./#..#/.##."},
    {'9', "/.##./#..#/.###/...#/.##."},
    {':', "//#///#"},
    {';', "//.#///.#/#."},
    {'<', "/..#/.#./#../.#./..#"},
    {'=', "//###//###"},
    {'>', "/#../.#./..#/.#./#.."},
    {'?', "/###./...#/..#.//..#."},
    {'@', "/.###./#...#/#.###/#.##./#..../.###."},
    {'A', "/.##./#..#/####/#..#/#..#"},
    {'B', "/###./#..#/###./#..#/###."},
    {'C', "/.###/#.../#.../#.../.###"},
    {'D', "/###./#..#/#..#/#..#/###."},
    {'E', "/####/#.../###./#.../####"},
    {'F', "/####/#.../###./#.../#..."},
    {'G', "/.###/#.../#.##/#..#/.###"},
    {'H', "/#..#/#..#/####/#..#/#..#"},
    {'I', "/###/.#./.#./.#./###"},
    {'J', "/...#/...#/...#/#..#/.##."},
    {'K', "/#..#/#.#./##../#.#./#..#"},
    {'L', "/#.../#.../#.../#.../####"},
    {'M', "/#...#/##.##/#.#.#/#...#/#...#"},
    {'N', "/#..#/##.#/#.##/#..#/#..#"},
    {'O', "/.###./#...#/#...#/#...#/.###."},
    {'P', "/###./#..#/###./#.../#..."},
    {'Q', "/.###./#...#/#...#/#..#./.##.#"},
    {'R', "/###./#..#/###./#.#./#..#"},
    {'S', "/.###/#.../.##./...#/###."},
    {'T', "/###/.#./.#./.#./.#."},
    {'U', "/#..#/#..#/#..#/#..#/.##."},
    {'V', "/#...#/#...#/.#.#./.#.#./..#.."},
    {'W', "/#...#/#...#/#.#.#/##.##/#...#"},
    {'X', "/#...#/.#.#./..#../.#.#./#...#"},
    {'Y', "/#...#/.#.#./..#../..#../..#.."},
    {'Z', "/#####/...#./..#../.#.../#####"},
    {'[', "/##/#./#./#./##"},
    {'\\', "/#../#../.#./..#/..#"},
    {']', "/##/.#/.#/.#/##"},
    {'^', "/.#./#.#"},
    {'_', "//////####"},
    {'`', "/#./.#"},
    {'a', "//.###/#..#/#..#/.###"},
    {'b', "#.../#.../###./#..#/#..#/###."},
    {'c', "//.###/#.../#.../.###"},
    {'d', "...#/...#/.###/#..#/#..#/.###"},
    {'e', "//.##./####/#.../.###"},
    {'f', ".##/#../###/#../#../#.."},
    {'g', "//.###/#..#/.###/...#/###."},
    {'h', "#.../#.../###./#..#/#..#/#..#"},
    {'i', "#//#/#/#/#"},
    {'j', ".#//.#/.#/.#/.#/#."},
    {'k', "#../#../#.#/##./#.#/#.#"},
    {'l', "#/#/#/#/#/#"},
    {'m', "//####./#.#.#/#.#.#/#.#.#"},
    {'n', "//###./#..#/#..#/#..#"},
    {'o', "//.##./#..#/#..#/.##."},
    {'p', "//###./#..#/###./#.../#..."},
    {'q', "//.###/#..#/.###/...#/...#"},
    {'r', "//#.#/##./#../#.."},
    {'s', "//.###/##../..##/###."},
    {'t', "/.#./###/.#./.#./.##"},
    {'u', "//#..#/#..#/#..#/.###"},
    {'v', "//#.#/#.#/#.#/.#."},
    {'w', "//#...#/#.#.#/#.#.#/.#.#."},
    {'x', "//#..#/.##./.##./#..#"},
    {'y', "//#..#/#..#/.###/...#/.##."},
    {'z', "//####/..#./.#../####"},
    {'{', "/.##/.#./#../.#./.##"},
    {'|', "#/#/#/#/#/#/#"},
    {'}', "/##./.#./..#/.#./##."},
    {'~', "//.#.#/#.#."},
    // Windows-1252 punctuation of the codes 128 to 159.
    {128, "/..###/####./.#.../####./..###"},
    {130, "/////#/#"},
    {131, "/..#/.#./###/.#./.#./#.."},
    {132, "/////.#.#/#.#."},
    {133, "/////#.#.#"},
    {134, "/.#./###/.#./.#./.#."},
    {135, "/.#./###/.#./###/.#."},
    {136, "/.#./#.#"},
    {137, "/##..#../##.#.../..#..../.#.#.#./#..#.#."},
    {139, "//.#/#./.#"},
    {140, "/.####/#.#../#.###/#.#../.####"},
    {145, "/.#/##"},
    {146, "/##/#."},
    {147, "/.#.#/##.##"},
    {148, "/##.##/#..#."},
    {149, "///##/##"},
    {150, "///####"},
    {151, "///######"},
    {152, "/.#.#/#.#."},
    {153, "/###.#.#/.#..###/.#..#.#"},
    {155, "//#./.#/#."},
    {156, "//.#.#./#.###/#.#../.#.##"},
    // Latin-1 signs.
    {161, "//#//#/#/#"},
    {162, "/..#./.###/#.#./#.#./.###/..#."},
    {163, "/..##/.#../###./.#../####"},
    {164, "/#...#/.###./.#.#./.###./#...#"},
    {165, "/#...#/.#.#./#####/..#../..#.."},
    {166, "#/#/#//#/#/#"},
    {167, ".##/#../.#./#.#/.#./..#/##."},
    {168, "/#.#"},
    {169, "/.#####./#..##.#/#.#...#/#..##.#/.#####."},
    {170, "/.##/#.#/.##//###"},
    {171, "//.#.#/#.#./.#.#"},
    {172, "///####/...#"},
    {173, "///##"},
    {174, "/.#####./#.##..#/#.##..#/#.#.#.#/.#####."},
    {175, "###"},
    {176, "/.#./#.#/.#."},
    {177, "/.#./###/.#.//###"},
    {178, "##./..#/.#./###"},
    {179, "###/.##/..#/###"},
    {180, "/.#/#."},
    {181, "//#..#/#..#/#..#/####/#..."},
    {182, "/.###/##.#/.#.#/.#.#/.#.#"},
    {183, "///#"},
    {184, "/////.#/##"},
    {185, ".#/##/.#/.#"},
    {186, "/.#./#.#/.#.//###"},
    {187, "//#.#./.#.#/#.#."},
    {188, "#...../#...#./#..#../..#.../.#.#.#/...###/.....#"},
    {189, "#...../#...#./#..#../..#.../.#.##./....#./...###"},
    {190, "##..../.#..#./##.#../..#.../.#.#.#/...###/.....#"},
    {191, "//.#..//.#../#.../.###"},
    {198, "/.####/#.#../####./#.#../#.###"},
    {208, "/.###./.#..#/###.#/.#..#/.###."},
    {215, "//#.#/.#./#.#"},
    {216, "/.###./#..##/#.#.#/##..#/.###."},
    {222, "/#.../###./#..#/###./#..."},
    {223, ".##./#..#/#.#./#..#/#..#/#.#."},
    {230, "//##.#./..###/.##../#.###"},
    {240, "##../.##./.###/#..#/#..#/.##."},
    {247, "/.#.//###//.#."},
    {248, "//.###/#.##/##.#/###."},
    {254, "#.../#.../###./#..#/###./#.../#..."},
};

// Capitals one row shorter, rows 2 to 5 of their cell, under an accent.
constexpr TPattern SHORT_CAPITALS[] = {
    {'A', ".##./#..#/####/#..#"}, {'C', ".###/#.../#.../.###"},     {'E', "####/#.../###./####"},
    {'I', "###/.#./.#./###"},     {'N', "#..#/##.#/#.##/#..#"},     {'O', ".###./#...#/#...#/.###."},
    {'U', "#..#/#..#/#..#/.##."}, {'Y', "#...#/.#.#./..#../..#.."}, {'S', ".###/##../..##/###."},
    {'Z', "####/..#./.#../####"},
};

// A letter with an accent: the code, the letter without it and the accent.
struct TComposite {
    int Code;
    int Letter;
    TAccent Accent;
};

constexpr int DOTLESS_I = 0x131;
constexpr TAccent GRAVE = TAccent::GRAVE, ACUTE = TAccent::ACUTE, CIRCUMFLEX = TAccent::CIRCUMFLEX,
                  TILDE = TAccent::TILDE, DIAERESIS = TAccent::DIAERESIS, RING = TAccent::RING,
                  CARON = TAccent::CARON, CEDILLA = TAccent::CEDILLA;

// clang-format off
constexpr TComposite COMPOSITES[] = {
    {138, 'S', CARON}, {142, 'Z', CARON}, {154, 's', CARON}, {158, 'z', CARON}, {159, 'Y', DIAERESIS},
    {192, 'A', GRAVE}, {193, 'A', ACUTE}, {194, 'A', CIRCUMFLEX}, {195, 'A', TILDE}, {196, 'A', DIAERESIS},
    {197, 'A', RING}, {199, 'C', CEDILLA}, {200, 'E', GRAVE}, {201, 'E', ACUTE}, {202, 'E', CIRCUMFLEX},
    {203, 'E', DIAERESIS}, {204, 'I', GRAVE}, {205, 'I', ACUTE}, {206, 'I', CIRCUMFLEX},
    {207, 'I', DIAERESIS}, {209, 'N', TILDE}, {210, 'O', GRAVE}, {211, 'O', ACUTE}, {212, 'O', CIRCUMFLEX},
    {213, 'O', TILDE}, {214, 'O', DIAERESIS}, {217, 'U', GRAVE}, {218, 'U', ACUTE}, {219, 'U', CIRCUMFLEX},
    {220, 'U', DIAERESIS}, {221, 'Y', ACUTE}, {224, 'a', GRAVE}, {225, 'a', ACUTE}, {226, 'a', CIRCUMFLEX},
    {227, 'a', TILDE}, {228, 'a', DIAERESIS}, {229, 'a', RING}, {231, 'c', CEDILLA}, {232, 'e', GRAVE},
    {233, 'e', ACUTE}, {234, 'e', CIRCUMFLEX}, {235, 'e', DIAERESIS}, {236, DOTLESS_I, GRAVE},
    {237, DOTLESS_I, ACUTE}, {238, DOTLESS_I, CIRCUMFLEX}, {239, DOTLESS_I, DIAERESIS}, {241, 'n', TILDE},
    {242, 'o', GRAVE}, {243, 'o', ACUTE}, {244, 'o', CIRCUMFLEX}, {245, 'o', TILDE}, {246, 'o', DIAERESIS},
    {249, 'u', GRAVE}, {250, 'u', ACUTE}, {251, 'u', CIRCUMFLEX}, {252, 'u', DIAERESIS}, {253, 'y', ACUTE},
    {255, 'y', DIAERESIS},
};
// clang-format on

// Signs of the 10-pixel outline faces, rows from the top of the capitals.
constexpr TPattern NARROW_SIGNS[] = {
    {137, "##...#./##..#../...#.../..#..../.#...../#.##.##/..##.##"},
    {170, ".##./...#/.###/#..#/.###//####"},
    {171, "//..#..#/.#..#./#..#../.#..#./..#..#"},
    {187, "//#..#../.#..#./..#..#/.#..#./#..#.."},
};

TGlyphRows Split(const char* Text) {
    TGlyphRows Rows(1);
    for (const char* p = Text; *p != 0; p++) {
        if (*p == '/')
            Rows.emplace_back();
        else
            Rows.back() += *p;
    }
    return Rows;
}

const char* Find(const TPattern* Table, size_t Count, int Code) {
    for (size_t i = 0; i < Count; i++)
        if (Table[i].Code == Code) return Table[i].Rows;
    return nullptr;
}

// Rows 0 to 6 of a glyph of the small font.
TGlyphRows SmallRows(const char* Text) {
    TGlyphRows Rows = Split(Text);
    CHECK_TEXT(Rows.size() <= ROWS, "glyph taller than its cell", static_cast<int>(Rows.size()));
    Rows.resize(ROWS);
    return Rows;
}

// The letter under an accent in the small font: a capital one row shorter, a small letter from its row 2.
TGlyphRows LetterRows(int Letter, TAccent Accent) {
    if (Letter == DOTLESS_I) return {"#", "#", "#", "#"};
    if (Letter >= 'A' && Letter <= 'Z' && Accent != CEDILLA)
        return Split(Find(SHORT_CAPITALS, std::size(SHORT_CAPITALS), Letter));
    TGlyphRows Rows = SmallRows(Find(GLYPHS, std::size(GLYPHS), Letter));
    return Accent == CEDILLA ? Rows : TGlyphRows(Rows.begin() + 2, Rows.end());
}

TCanvas Compose(int Letter, TAccent Accent) {
    TCanvas Cell(CELL, CELL);
    const TGlyphRows Body = LetterRows(Letter, Accent);
    if (Accent != CEDILLA) {
        DrawGlyphRows(Cell, WithAccent(Body, Accent), 0, 0);
    } else {
        // The letter keeps its own rows and the cedilla takes the last.
        DrawGlyphRows(Cell, Body, 0, 0);
        DrawGlyphRows(Cell, AccentRows(Accent, GlyphRowsWidth(Body)), GlyphRowsWidth(Body) / 2, ROWS - 1);
    }
    return Cell;
}

} // namespace

void DrawGlyphRows(TCanvas& Cell, const TGlyphRows& Rows, int Left, int Top) {
    for (int y = 0; y < static_cast<int>(Rows.size()); y++)
        for (int x = 0; x < static_cast<int>(Rows[y].size()); x++)
            if (Rows[y][x] == '#') Cell.set(Left + x, Top + y, INK);
}

int GlyphRowsWidth(const TGlyphRows& Rows) {
    size_t Width = 0;
    for (const std::string& Row : Rows)
        Width = std::max(Width, Row.size());
    return static_cast<int>(Width);
}

TCanvas PixelGlyph(int Code) {
    CHECK(In(Code, 33, 255), Code);
    int Letter = 0;
    TAccent Accent = GRAVE;
    TCanvas Strokes(CELL, CELL);
    if (SplitAccent(Code, Letter, Accent)) {
        Strokes = Compose(Letter, Accent);
    } else {
        const char* Rows = Find(GLYPHS, std::size(GLYPHS), Code);
        DrawGlyphRows(Strokes, SmallRows(Rows != nullptr ? Rows : BOX), 0, 0);
    }
    TCanvas Cell = Strokes;
    for (int y = 0; y < CELL; y++)
        for (int x = 0; x < CELL; x++)
            if (Strokes.opaque(x, y) && !Strokes.opaque(x + 1, y + 1)) Cell.set(x + 1, y + 1, SHADOW);
    return Cell;
}

bool SplitAccent(int Code, int& Letter, TAccent& Accent) {
    for (const TComposite& c : COMPOSITES)
        if (c.Code == Code) {
            Letter = c.Letter;
            Accent = c.Accent;
            return true;
        }
    return false;
}

TGlyphRows AccentRows(TAccent Accent, int Width) {
    switch (Accent) {
    case GRAVE:
        return {"#..", ".#."};
    case ACUTE:
        return {"..#", ".#."};
    case CIRCUMFLEX:
        return {".#.", "#.#"};
    case TILDE:
        return {".#.#", "#.#."};
    case DIAERESIS:
        return {Width == 4 ? "#..#" : "#.#", ""};
    case RING:
        return {"###", "#.#"};
    case CARON:
        return {"#.#", ".#."};
    case CEDILLA:
        break;
    }
    return {"#"};
}

TGlyphRows WithAccent(const TGlyphRows& Letter, TAccent Accent) {
    const TGlyphRows Mark = AccentRows(Accent, GlyphRowsWidth(Letter));
    const int Spare = GlyphRowsWidth(Letter) - GlyphRowsWidth(Mark) + 1;
    const int MarkLeft = Spare >= 0 ? Spare / 2 : (Spare - 1) / 2; // from the letter's left, rounded down
    const int LetterLeft = std::max(0, -MarkLeft);
    const int Width =
        std::max(LetterLeft + GlyphRowsWidth(Letter), LetterLeft + MarkLeft + GlyphRowsWidth(Mark));
    TGlyphRows Rows(Mark.size() + Letter.size(), std::string(Width, '.'));
    auto Put = [&Rows](const TGlyphRows& Part, int Top, int Left) {
        for (size_t y = 0; y < Part.size(); y++)
            for (size_t x = 0; x < Part[y].size(); x++)
                if (Part[y][x] == '#') Rows[Top + y][Left + x] = '#';
    };
    Put(Mark, 0, LetterLeft + MarkLeft);
    Put(Letter, static_cast<int>(Mark.size()), LetterLeft);
    return Rows;
}

TGlyphRows NarrowSign(int Code) {
    const char* Rows = Find(NARROW_SIGNS, std::size(NARROW_SIGNS), Code);
    return Rows != nullptr ? Split(Rows) : TGlyphRows();
}
