// Character classes, string helpers and colours.
#include "foundation/Utils.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

template <size_t N> std::string Applied(void (*Helper)(char*), const char (&Text)[N]) {
    char Buffer[N];
    memcpy(Buffer, Text, N);
    Helper(Buffer);
    return Buffer;
}

// ShortenText on a copy; nothing behind the text's own terminator may change.
std::string Shortened(const char* Text, int32_t Length) {
    char Buffer[32];
    memset(Buffer, 'X', sizeof(Buffer));
    strcpy(Buffer, Text);
    bool Changed = ShortenText(Buffer, Length);
    EXPECT_EQ(Buffer[strlen(Text) + 1], 'X');
    return std::string(Changed ? "+" : "-").append(Buffer);
}

std::array<int32_t, 3> Outfit(int32_t Index) {
    std::array<int32_t, 3> c;
    GetOutfitColor(Index, c[0], c[1], c[2]);
    return c;
}

std::array<int32_t, 3> Cube(int32_t Index) {
    TRGBColor c(Index);
    return {c.Red, c.Green, c.Blue};
}

} // namespace

TEST(CharacterClasses, Latin1LettersOnlyAsSignedBytesCaseMappingBothForms) {
    for (char c : std::string("\xE4\xF6\xFC\xC4\xD6\xDC\xDF")) {
        EXPECT_TRUE(IsLetter(c));
        EXPECT_FALSE(IsLetter(static_cast<int>(static_cast<unsigned char>(c)))) << "the 0..255 form";
    }
    EXPECT_FALSE(IsLetter('\xE9') || IsLetter('_') || IsLetter('@') || IsLetter('['));
    EXPECT_FALSE(IsSpace('\xA0') || IsDigit(':'));
    EXPECT_EQ(ToLower('\xC9'), '\xE9');
    EXPECT_EQ(ToLower(0xC9), 0xE9);
    EXPECT_EQ(ToUpper('\xFC'), '\xDC');
    EXPECT_EQ(ToUpper(0xFC), 0xDC);
    EXPECT_EQ(ToUpper('\xDF'), '\xDF'); // sharp s and y diaeresis have no capital
    EXPECT_EQ(ToUpper('\xFF'), '\xFF');
    EXPECT_EQ(ToLower('['), '[');
}

TEST(StringHelpers, CaseOfWordsAndComparison) {
    EXPECT_EQ(Applied(CapitalizeWords, "\xE4rger im \xFC"
                                       "bel-tal"),
              "\xC4rger Im \xDC"
              "bel-Tal");
    EXPECT_EQ(Applied(CapitalizeWords, "\xDF"
                                       "a x1y"),
              "\xDF"
              "a X1Y");
    EXPECT_EQ(Applied(LowerString, "AbC\xC4"), "abc\xE4");
    EXPECT_EQ(CompareNoCase("abc", "ABD", 2), 0);
    EXPECT_EQ(CompareNoCase("abc", "ABD", 3), -1);
    EXPECT_EQ(CompareNoCase("\xE4", "z", 1), -1); // high bytes order below ASCII
    EXPECT_EQ(CompareNoCase("x", "y", 0), 0);
    EXPECT_EQ(CompareNoCase("Names", "name", -1), 1);
    EXPECT_EQ(CompareNoCase("ab", "AB", 10), 0);
    EXPECT_EQ(ThrownFrom("Utils.cpp", [] { CapitalizeWords(nullptr); }),
              "assertion failed, reason:\ns!=NULL");
    EXPECT_EQ(ThrownFrom("Utils.cpp", [] { CompareNoCase("a", nullptr, 1); }),
              "assertion failed, reason:\ns2!=NULL");
}

TEST(StringHelpers, CopiesCutAndTerminate) {
    char Buffer[8];
    memset(Buffer, 'X', sizeof(Buffer));
    EXPECT_STREQ(CopyString(Buffer, "abcdef", 4), "abc");
    EXPECT_EQ(Buffer[4], 'X');
    CopyString(Buffer, "ab", 8);
    EXPECT_EQ(std::string(Buffer, 8), std::string("ab\0\0\0\0\0\0", 8));
    char Small[4];
    EXPECT_STREQ(CopyString(Small, "abcdef"), "abc"); // the array's own size
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { CopyString(Buffer, "a", 0); }),
              "assertion failed (n = 0), reason:\nn>=1");
    CopyTrimmed(Buffer, "  a b \t\n");
    EXPECT_STREQ(Buffer, "a b");
    CopyTrimmed(Buffer, "   ");
    EXPECT_STREQ(Buffer, "");
    EXPECT_EQ(ThrownFrom("Utils.cpp", [] { CopyTrimmed(nullptr, nullptr); }),
              "assertion failed, reason:\nSource!=NULL");
}

TEST(StringHelpers, ShortenFormatAndClamp) {
    EXPECT_EQ(Shortened("abcdefgh", 6), "+abc...");
    EXPECT_EQ(Shortened("abcdefgh", 8), "-abcdefgh");
    EXPECT_EQ(Shortened("abcdefgh", 2), "+...");
    EXPECT_EQ(Shortened("ab", 1), "+..");
    char Digits[14];
    EXPECT_STREQ(FormatThousands(0, Digits), "0");
    EXPECT_STREQ(FormatThousands(999, Digits), "999");
    EXPECT_STREQ(FormatThousands(1000, Digits), "1,000");
    EXPECT_STREQ(FormatThousands(2147483647, Digits), "2,147,483,647");
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { FormatThousands(-1, Digits); }),
              "assertion failed (Number = -1), reason:\nNumber>=0");
    int32_t v = -3;
    EXPECT_EQ(Clamp(v, 10, 0), 0);
    v = 11;
    Clamp(v, 0, 10);
    EXPECT_EQ(v, 10);
}

// The offset stepped one pixel at a time, as movements were once animated.
int32_t SteppedToZero(int32_t Offset, int64_t Duration, int64_t Remaining, int64_t Distance) {
    while (Offset > 0 && Duration * Offset > Remaining * Distance)
        Offset--;
    while (Offset < 0 && -Duration * Offset > Remaining * Distance)
        Offset++;
    return Offset;
}

TEST(Movement, ApproachZeroMatchesPixelStepping) {
    for (int32_t Offset = -100; Offset <= 100; Offset++)
        for (int64_t Duration : {-150, -1, 0, 1, 7, 150, 1000})
            for (int64_t Remaining : {-75, -1, 0, 1, 3, 74, 75, 149, 150, 151, 2000})
                for (int64_t Distance : {0, 1, 32, 96}) {
                    int32_t Direct = Offset;
                    ApproachZero(Direct, Duration, Remaining, Distance);
                    ASSERT_EQ(Direct, SteppedToZero(Offset, Duration, Remaining, Distance))
                        << Offset << " " << Duration << " " << Remaining << " " << Distance;
                }
    int32_t Far = INT32_MIN;
    ApproachZero(Far, 1000, 500, int64_t{1} << 31);
    EXPECT_EQ(Far, -(1 << 30));
}

TEST(Colours, HsvOutfitAndCube) {
    std::array<int32_t, 3> c;
    HSVToRGB(1.0, 1, 1, c[0], c[1], c[2]); // falls in the last sector
    EXPECT_EQ(c, (std::array<int32_t, 3>{255, 0, 0}));
    HSVToRGB(0.5, 1, 1, c[0], c[1], c[2]); // a boundary belongs to the later sector
    EXPECT_EQ(c, (std::array<int32_t, 3>{0, 255, 255}));
    EXPECT_EQ(Outfit(0), (std::array<int32_t, 3>{255, 255, 255}));
    EXPECT_EQ(Outfit(114), (std::array<int32_t, 3>{36, 36, 36}));
    EXPECT_EQ(Outfit(133), Outfit(0));
    EXPECT_EQ(Outfit(57 + 6), (std::array<int32_t, 3>{63, 191, 63})); // row 3 takes 0.667, not 2/3
    EXPECT_EQ(Cube(215), (std::array<int32_t, 3>{255, 255, 255}));
    EXPECT_EQ(Cube(36 + 6 + 1), (std::array<int32_t, 3>{51, 51, 51}));
    EXPECT_EQ(Cube(250), (std::array<int32_t, 3>{255, 255, 255})); // a byte beyond the cube is clamped to it
    EXPECT_EQ(Cube(-1), (std::array<int32_t, 3>{0, 0, 0}));
}
