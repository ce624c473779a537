// The message buffers: layout, bounds and the exact failure texts.
#include "foundation/Utils.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::string Failure(const char* Condition, int32_t Position, const char* SizeName, int32_t SizeValue) {
    return "assertion failed (Position = " + std::to_string(Position) + ") (" + SizeName + " = " +
           std::to_string(SizeValue) + "), reason:\n" + Condition;
}

} // namespace

TEST(MessageBuffers, WrittenLayoutIsLittleEndianAndReadsBack) {
    uint8_t Block[16] = {};
    TWriteBuffer w(Block, sizeof(Block));
    w.writeByte(0xAB);
    w.writeWord(0x1234);
    w.writeQuad(0x01020304);
    w.writeString("");
    w.writeString("abc");
    const uint8_t Raw[] = {5, 6};
    w.writeBytes(Raw, 2);
    const uint8_t Expected[] = {0xAB, 0x34, 0x12, 4, 3, 2, 1, 0, 0, 3, 0, 'a', 'b', 'c', 5, 6};
    EXPECT_EQ(0, memcmp(Block, Expected, sizeof(Expected)));

    TReadBuffer r(Block, w.Position);
    EXPECT_EQ(r.readByte(), 0xAB);
    EXPECT_EQ(r.readWord(), 0x1234);
    EXPECT_EQ(r.readQuad(), 0x01020304u);
    EXPECT_STREQ(r.readNewString().get(), "");
    EXPECT_STREQ(r.readNewString().get(), "abc");
    uint8_t Out[2];
    r.readBytes(Out, 2);
    EXPECT_EQ(r.Position, r.Size);
}

TEST(MessageBuffers, LittleEndianHelpersKeepTheHighBits) {
    uint8_t Bytes[4];
    StoreLE32(Bytes, 0xFFFEFDFCu);
    EXPECT_EQ(std::vector<uint8_t>(Bytes, Bytes + 4), (std::vector<uint8_t>{0xFC, 0xFD, 0xFE, 0xFF}));
    EXPECT_EQ(LoadLE32(Bytes), 0xFFFEFDFCu);
    StoreLE16(Bytes + 1, 0x80FF);
    EXPECT_EQ(LoadLE16(Bytes + 1), 0x80FF);
    EXPECT_EQ(LoadLE32(Bytes), 0xFF80FFFCu);
}

TEST(MessageBuffers, OverrunsFailBeforeAnyByteMoves) {
    const uint8_t Bytes[4] = {1, 2, 3, 4};
    TReadBuffer Empty(Bytes, 0);
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { Empty.readByte(); }), Failure("Position<=Size-1", 0, "Size", 0));
    TReadBuffer r(Bytes, 4);
    r.Position = 3;
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { r.readWord(); }), Failure("Position<=Size-2", 3, "Size", 4));
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { r.readQuad(); }), Failure("Position<=Size-4", 3, "Size", 4));
    r.Position = 2;
    EXPECT_EQ(r.readWord(), 0x0403);
    r.Position = -1; // a caller's bad position is refused, not read
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { r.readByte(); }), Failure("Position<=Size-1", -1, "Size", 4));

    uint8_t Block[5] = {9, 9, 9, 9, 9};
    TWriteBuffer w(Block, 4);
    w.Position = 3;
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { w.writeQuad(1); }), Failure("Position<=Size-4", 3, "Size", 4));
    w.Position = 0;
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { w.writeString("abc"); }),
              Failure("Position<=Size-Length", 2, "Size-Length", 1));
    EXPECT_EQ(Block[2], 9);
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { w.writeBytes(Bytes, 3); }),
              Failure("Position<=Size-Count", 2, "Size-Count", 1));
    EXPECT_EQ(ThrownFrom("Utils.cpp", [] { TReadBuffer(nullptr, 1); }),
              "assertion failed, reason:\ndata!=NULL");
}

TEST(MessageBuffers, StringsAreCutToTheLimitAndConsumedWhole) {
    const uint8_t Bytes[] = {7, 0, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 0x2A};
    TReadBuffer r(Bytes, sizeof(Bytes));
    char Buffer[8];
    memset(Buffer, 'X', sizeof(Buffer));
    r.readString(Buffer, 5);
    EXPECT_STREQ(Buffer, "abcd");
    EXPECT_EQ(Buffer[5], 'X');
    EXPECT_EQ(r.Position, 9);
    EXPECT_EQ(r.readByte(), 0x2A);
    for (int32_t Limit : {-1, 8}) {
        r.Position = 0;
        r.readString(Buffer, Limit);
        EXPECT_STREQ(Buffer, "abcdefg");
    }
    r.Position = 0;
    r.readString(Buffer, 1);
    EXPECT_STREQ(Buffer, "");
    EXPECT_EQ(r.Position, 9);
}

TEST(MessageBuffers, StringClaimingMoreThanRemainsNamesSizeLessLength) {
    const uint8_t Bytes[] = {5, 0, 'a', 'b'};
    TReadBuffer r(Bytes, sizeof(Bytes));
    char Buffer[8] = "old";
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { r.readString(Buffer, 8); }),
              Failure("Position<=Size-Length", 2, "Size-Length", -1));
    EXPECT_STREQ(Buffer, "");
    r.Position = 0;
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { r.readNewString(); }),
              Failure("Position<=Size-Length", 2, "Size-Length", -1));
}

TEST(MessageBuffers, NegativeCountsZeroLimitsAndUncarriableLengthsAreRefused) {
    const uint8_t Bytes[] = {1, 0, 'a'};
    TReadBuffer r(Bytes, sizeof(Bytes));
    uint8_t Out[3];
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { r.readBytes(Out, -2147483647 - 1); }),
              "assertion failed (Count = -2147483648), reason:\nCount>=0");
    char One[1];
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { r.readString(One, 0); }),
              "assertion failed (MaxLength = 0), reason:\nMaxLength!=0");
    EXPECT_EQ(r.Position, 0);

    std::vector<uint8_t> Block(70000);
    TWriteBuffer w(Block.data(), int32_t(Block.size()));
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { w.writeBytes(Out, -4); }),
              "assertion failed (Count = -4), reason:\nCount>=0");
    std::string Long(65536, 'x');
    EXPECT_EQ(ThrownFrom("Utils.cpp", [&] { w.writeString(Long.c_str()); }),
              "assertion failed (Characters = 65536), reason:\nCharacters<=0xFFFF");
    EXPECT_EQ(w.Position, 0);
}
