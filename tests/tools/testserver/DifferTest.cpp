// The test server's differ: count fields, known streams, and random round trips through the client's patch
// builder, an implementation of the format written apart from the differ.
#include "tools/testserver/Differ.h"
#include "foundation/ScriptPatch.h"
#include "tests/foundation/TempDirectory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>

using namespace testserver;

namespace {

using TBytes = std::vector<uint8_t>;

TBytes Bytes(std::string_view Text) { return TBytes(Text.begin(), Text.end()); }

TBytes Command(TPatchOperation Operation, uint32_t Count, const TBytes& Data = {}) {
    TBytes Patch;
    AppendPatchCommand(Patch, Operation, Count, Data);
    return Patch;
}

// The new file that ApplyPatch builds from Old and Patch.
TBytes Applied(const TTempDirectory& Directory, const TBytes& Old, const TBytes& Patch) {
    std::string Name = Directory.file("old.dat");
    std::ofstream(Name, std::ios::binary).write(reinterpret_cast<const char*>(Old.data()), Old.size());
    EXPECT_TRUE(ApplyPatch(Name.c_str(), Patch.data(), static_cast<int32_t>(Patch.size()), 0));
    std::string New = Directory.read("old.da_");
    return TBytes(New.begin(), New.end());
}

// Operations (bits 7-6) and count-field widths (0, 1, 2 or 4) of each command of a patch.
void Survey(const TBytes& Patch, std::set<uint8_t>& Operations, std::set<int>& Widths) {
    for (size_t p = 0; p < Patch.size();) {
        uint8_t Code = Patch[p++];
        uint32_t Count = Code & 0x3F;
        int Width = Count < 61 ? 0 : Count == 61 ? 1 : Count == 62 ? 2 : 4;
        if (Width > 0) Count = 0;
        for (int k = 0; k < Width; k++)
            Count |= static_cast<uint32_t>(Patch[p++]) << (8 * k);
        Operations.insert(Code & 0xC0);
        Widths.insert(Width);
        if ((Code & 0x80) != 0) p += Count;
    }
}

// Old with a few random edits: runs dropped, inserted, overwritten.
TBytes Edited(const TBytes& Old, std::mt19937& Random) {
    TBytes New = Old;
    int Edits = 1 + static_cast<int>(Random() % 6);
    for (int e = 0; e < Edits && !New.empty(); e++) {
        size_t At = Random() % New.size();
        size_t Length = 1 + Random() % 400;
        switch (Random() % 3) {
        case 0:
            New.erase(New.begin() + At, New.begin() + std::min(New.size(), At + Length));
            break;
        case 1:
            for (size_t k = 0; k < Length; k++)
                New.insert(New.begin() + At, static_cast<uint8_t>(Random()));
            break;
        default:
            for (size_t k = At; k < std::min(New.size(), At + Length); k++)
                New[k] = static_cast<uint8_t>(Random());
        }
    }
    return New;
}

} // namespace

TEST(Differ, CountFieldsTakeTheShortestWidth) {
    EXPECT_EQ(Command(TPatchOperation::Copy, 60), TBytes({0x3C}));
    EXPECT_EQ(Command(TPatchOperation::Skip, 61), TBytes({0x7D, 61}));
    EXPECT_EQ(Command(TPatchOperation::Copy, 255), TBytes({0x3D, 0xFF}));
    EXPECT_EQ(Command(TPatchOperation::Skip, 256), TBytes({0x7E, 0x00, 0x01}));
    EXPECT_EQ(Command(TPatchOperation::Copy, 65535), TBytes({0x3E, 0xFF, 0xFF}));
    EXPECT_EQ(Command(TPatchOperation::Copy, 65536), TBytes({0x3F, 0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(Command(TPatchOperation::Insert, 2, Bytes("xy")), TBytes({0x82, 'x', 'y'}));
    EXPECT_EQ(Command(TPatchOperation::Replace, 1, Bytes("Q")), TBytes({0xC1, 'Q'}));
    EXPECT_THROW(Command(TPatchOperation::Copy, 0), TWireError);
    EXPECT_THROW(Command(TPatchOperation::Insert, 3, Bytes("xy")), TWireError);
}

TEST(Differ, KnownStreams) {
    struct TCase {
        const char *Old, *New;
        TBytes Patch;
    } Cases[] = {
        {"abcdef", "abcdef", {0x06}},
        {"abcXYZdef", "abcdef", {0x03, 0x43, 0x03}},
        {"abcdef", "abcXYdef", {0x03, 0x82, 'X', 'Y', 0x03}},
        {"abcdef", "abQRef", {0x02, 0xC2, 'Q', 'R', 0x02}},
        {"abcdef", "abc", {0x03}}, // the old tail is simply not carried over
        {"", "new", {0x83, 'n', 'e', 'w'}},
        {"old", "", {}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::string(Case.Old) + " -> " + Case.New);
        EXPECT_EQ(MakePatch(Bytes(Case.Old), Bytes(Case.New)), Case.Patch);
    }
}

TEST(Differ, RandomEditsRoundTripAndUseTheWholeFormat) {
    TTempDirectory Directory;
    std::mt19937 Random(772);
    std::set<uint8_t> Operations;
    std::set<int> Widths;
    for (int Round = 0; Round < 60; Round++) {
        // every tenth old file is long enough that an unchanged stretch needs a four-byte count
        TBytes Old(Round % 10 == 0 ? 150000 : 1 + Random() % 3000);
        for (uint8_t& b : Old)
            b = static_cast<uint8_t>(Random() % (Round % 2 == 0 ? 256 : 4)); // also repetitive data
        TBytes New = Edited(Old, Random);
        TBytes Patch = MakePatch(Old, New);
        ASSERT_EQ(Applied(Directory, Old, Patch), New) << "round " << Round;
        Survey(Patch, Operations, Widths);
    }
    EXPECT_EQ(Operations, std::set<uint8_t>({0x00, 0x40, 0x80, 0xC0}));
    EXPECT_EQ(Widths, std::set<int>({0, 1, 2, 4}));
}
