// Character classes, string helpers and colours.
#include "foundation/Utils.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::string Capitalized(const char* Text) {
    char Buffer[64];
    CopyString(Buffer, Text, sizeof(Buffer));
    CapitalizeWords(Buffer);
    return Buffer;
}

std::string Shortened(const char* Text, int32_t Length, bool& Changed) {
    char Buffer[64];
    memset(Buffer, 'X', sizeof(Buffer));
    strcpy(Buffer, Text);
    Changed = ShortenText(Buffer, Length);
    // Nothing behind the text's own terminator is touched.
    EXPECT_EQ(Buffer[strlen(Text) + 1], 'X');
    return Buffer;
}

std::string Thousands(int32_t Number) {
    char Buffer[14];
    return FormatThousands(Number, Buffer);
}

} // namespace

TEST(CharacterClasses, Latin1LettersCountOnlyAsSignedBytes) {
    for (char c : std::string("\xE4\xF6\xFC\xC4\xD6\xDC\xDF")) {
        EXPECT_TRUE(IsLetter(c)) << int(c);
        EXPECT_TRUE(IsLetter(static_cast<int>(static_cast<signed char>(c))));
        EXPECT_FALSE(IsLetter(static_cast<int>(static_cast<unsigned char>(c)))) << "0..255 form";
    }
    EXPECT_FALSE(IsLetter('\xE9'));
    EXPECT_FALSE(IsLetter('\xFF'));
    EXPECT_FALSE(IsLetter('_'));
    EXPECT_FALSE(IsLetter('@'));
    EXPECT_FALSE(IsLetter('['));
    EXPECT_TRUE(IsLetter('z'));
    EXPECT_TRUE(IsDigit('0') && IsDigit('9') && !IsDigit('/') && !IsDigit(':'));
    for (char c : std::string(" \f\n\r\t\v"))
        EXPECT_TRUE(IsSpace(c));
    EXPECT_FALSE(IsSpace('\0'));
    EXPECT_FALSE(IsSpace('\xA0'));
}

TEST(CharacterClasses, CaseMappingWorksOnBothByteForms) {
    EXPECT_EQ(ToLower('\xC9'), '\xE9');
    EXPECT_EQ(ToLower(0xC9), 0xE9);
    EXPECT_EQ(ToLower(0xC9 - 256), 0xE9 - 256);
    EXPECT_EQ(ToUpper('\xFC'), '\xDC');
    EXPECT_EQ(ToUpper('\xDF'), '\xDF'); // sharp s has no capital
    EXPECT_EQ(ToUpper('\xFF'), '\xFF');
    EXPECT_EQ(ToLower('\xDF'), '\xDF');
    EXPECT_EQ(ToLower('Z'), 'z');
    EXPECT_EQ(ToUpper('a'), 'A');
    EXPECT_EQ(ToLower('['), '[');
    EXPECT_EQ(ToUpper('{'), '{');
}

TEST(StringHelpers, CapitalizeWordsStartsEachLetterRun) {
    EXPECT_EQ(Capitalized("\xE4rger im \xFC"
                          "bel-tal"),
              "\xC4rger Im \xDC"
              "bel-Tal");
    EXPECT_EQ(Capitalized("\xDF"
                          "a"),
              "\xDF"
              "a");
    EXPECT_EQ(Capitalized("x1y"), "X1Y");
    EXPECT_EQ(Capitalized(""), "");
    char Buffer[8] = "a";
    LowerString(Buffer);
    EXPECT_EQ(ThrownFrom("Utils.cpp", [] { LowerString(nullptr); }), "assertion failed, reason:\ns!=NULL");
    EXPECT_EQ(ThrownFrom("Utils.cpp", [] { CapitalizeWords(nullptr); }),
              "assertion failed, reason:\ns!=NULL");
}

TEST(StringHelpers, CompareNoCaseStopsAtLengthAndOrdersHighBytesLow) {
    EXPECT_EQ(CompareNoCase("abc", "ABD", 2), 0);
    EXPECT_EQ(CompareNoCase("abc", "ABD", 3), -1);
    EXPECT_EQ(CompareNoCase("ABD", "abc", 3), 1);
    EXPECT_EQ(CompareNoCase("\xE4", "z", 1), -1);
    EXPECT_EQ(CompareNoCase("\xC4", "\xE4", 1), 0);
    EXPECT_EQ(CompareNoCase("x", "y", 0), 0);
    EXPECT_EQ(CompareNoCase("Name", "name", -1), 0);
    EXPECT_EQ(CompareNoCase("Name", "names", -1), -1);
    EXPECT_EQ(CompareNoCase("ab", "ab", 10), 0); // stops at the terminator, reads no further
    EXPECT_EQ(ThrownFrom("Utils.cpp", [] { CompareNoCase("a", nullptr, 1); }),
              "assertion failed, reason:\ns2!=NULL");
}

TEST(StringHelpers, CopyStringCutsAndAlwaysTerminates) {
    char Buffer[8];
    memset(Buffer, 'X', sizeof(Buffer));
    EXPECT_STREQ(CopyString(Buffer, "abcdef", 4), "abc");
    EXPECT_EQ(Buffer[4], 'X');
    memset(Buffer, 'X', sizeof(Buffer));
    CopyString(Buffer, "ab", 8);
    EXPECT_EQ(std::string(Buffer, 8), std::string("ab\0\0\0\0\0\0", 8));
    CopyString(Buffer, "abc", 1);
    EXPECT_STREQ(Buffer, "");
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { CopyString(nullptr, "a", 1); }),
              "assertion failed, reason:\nDestination!=NULL");
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { CopyString(Buffer, nullptr, 1); }),
              "assertion failed, reason:\nSource!=NULL");
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { CopyString(Buffer, "a", 0); }),
              "assertion failed (n = 0), reason:\nn>=1");
}

TEST(StringHelpers, CopyTrimmedDropsWhiteSpaceAtBothEnds) {
    char Buffer[16];
    CopyTrimmed(Buffer, "  a b \t\n");
    EXPECT_STREQ(Buffer, "a b");
    CopyTrimmed(Buffer, "   ");
    EXPECT_STREQ(Buffer, "");
    char InPlace[16] = " x ";
    CopyTrimmed(InPlace, InPlace);
    EXPECT_STREQ(InPlace, "x");
    // Source is checked before Destination.
    EXPECT_EQ(ThrownFrom("Utils.cpp", [] { CopyTrimmed(nullptr, nullptr); }),
              "assertion failed, reason:\nSource!=NULL");
}

TEST(StringHelpers, ShortenTextEndsInDotsWithinTheText) {
    bool Changed = false;
    EXPECT_EQ(Shortened("abcdefgh", 6, Changed), "abc...");
    EXPECT_TRUE(Changed);
    EXPECT_EQ(Shortened("abcdefgh", 8, Changed), "abcdefgh");
    EXPECT_FALSE(Changed);
    EXPECT_EQ(Shortened("abcdefgh", 2, Changed), "...");
    EXPECT_TRUE(Changed);
    EXPECT_EQ(Shortened("ab", 1, Changed), "..");
    EXPECT_EQ(Shortened("abcd", 3, Changed), "...");
    EXPECT_EQ(Shortened("abc", -1, Changed), "...");
}

TEST(StringHelpers, FormatThousandsGroupsFromTheRight) {
    EXPECT_EQ(Thousands(0), "0");
    EXPECT_EQ(Thousands(999), "999");
    EXPECT_EQ(Thousands(1000), "1,000");
    EXPECT_EQ(Thousands(100000), "100,000");
    EXPECT_EQ(Thousands(1000000), "1,000,000");
    EXPECT_EQ(Thousands(2147483647), "2,147,483,647");
    EXPECT_EQ(ThrownFrom("Utils.cpp", [] { Thousands(-1); }),
              "assertion failed (Number = -1), reason:\nNumber>=0");
}

TEST(StringHelpers, ClampTakesTheBoundsInEitherOrder) {
    int32_t v = 5;
    EXPECT_EQ(Clamp(v, 10, 0), 5);
    v = -3;
    EXPECT_EQ(Clamp(v, 10, 0), 0);
    v = 11;
    EXPECT_EQ(Clamp(v, 0, 10), 10);
    EXPECT_EQ(v, 10); // changed in place
    v = 7;
    EXPECT_EQ(Clamp(v, 3, 3), 3);
}

TEST(Colours, HsvSectorsAndTruncation) {
    int32_t r, g, b;
    HSVToRGB(1.0, 1, 1, r, g, b);
    EXPECT_EQ(std::vector<int32_t>({r, g, b}), std::vector<int32_t>({255, 0, 0}));
    HSVToRGB(0.5, 1, 1, r, g, b); // a boundary belongs to the later sector
    EXPECT_EQ(std::vector<int32_t>({r, g, b}), std::vector<int32_t>({0, 255, 255}));
    HSVToRGB(0.3, 0, 0.5, r, g, b);
    EXPECT_EQ(std::vector<int32_t>({r, g, b}), std::vector<int32_t>({127, 127, 127}));
    HSVToRGB(0.3, 1, 0, r, g, b);
    EXPECT_EQ(std::vector<int32_t>({r, g, b}), std::vector<int32_t>({0, 0, 0}));
    HSVToRGB(1.0 / 12, 1, 1, r, g, b); // half way to yellow: 127.5 truncated
    EXPECT_EQ(std::vector<int32_t>({r, g, b}), std::vector<int32_t>({255, 127, 0}));
}

TEST(Colours, OutfitColoursByRowAndColumn) {
    int32_t r, g, b;
    GetOutfitColor(0, r, g, b);
    EXPECT_EQ(std::vector<int32_t>({r, g, b}), std::vector<int32_t>({255, 255, 255}));
    GetOutfitColor(114, r, g, b);
    EXPECT_EQ(std::vector<int32_t>({r, g, b}), std::vector<int32_t>({36, 36, 36}));
    GetOutfitColor(133, r, g, b);
    EXPECT_EQ(std::vector<int32_t>({r, g, b}), std::vector<int32_t>({255, 255, 255}));
    GetOutfitColor(76 + 1, r, g, b); // row 4, hue 1/18: full red going toward yellow
    EXPECT_EQ(std::vector<int32_t>({r, g, b}), std::vector<int32_t>({255, 85, 0}));
    GetOutfitColor(57 + 6, r, g, b); // row 3 uses 0.667, not 2/3: p = 0.75 * 0.333
    EXPECT_EQ(std::vector<int32_t>({r, g, b}), std::vector<int32_t>({63, 191, 63}));
}

TEST(Colours, CubeColoursAndBytesOutsideTheCube) {
    TRGBColor White(215), Black(0), Red(36), Green(6), Blue(1);
    EXPECT_EQ(std::vector<int32_t>({White.Red, White.Green, White.Blue}),
              std::vector<int32_t>({255, 255, 255}));
    EXPECT_EQ(std::vector<int32_t>({Black.Red, Black.Green, Black.Blue}), std::vector<int32_t>({0, 0, 0}));
    EXPECT_EQ(std::vector<int32_t>({Red.Red, Green.Green, Blue.Blue}), std::vector<int32_t>({51, 51, 51}));
    EXPECT_EQ(Red.Green + Red.Blue + Green.Red + Blue.Red, 0);
    TRGBColor Outside(250);
    EXPECT_EQ(std::vector<int32_t>({Outside.Red, Outside.Green, Outside.Blue}),
              std::vector<int32_t>({0, 0, 0}));
}
