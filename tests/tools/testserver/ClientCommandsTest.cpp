// The server's decoder of client commands against bytes built here from the layouts: every command, every
// talk layout, and every cut.
#include "tools/testserver/ClientCommands.h"
#include "tests/tools/testserver/TestClient.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace testserver;
using testclient::TBytes;

namespace {

struct TCommandBytes {
    TBytes Bytes;
    explicit TCommandBytes(uint8_t Type) : Bytes{Type} {}
    TCommandBytes& u8(uint8_t Value) {
        Bytes.push_back(Value);
        return *this;
    }
    TCommandBytes& u16(uint16_t Value) {
        testclient::Put16(Bytes, Value);
        return *this;
    }
    TCommandBytes& u32(uint32_t Value) {
        testclient::Put32(Bytes, Value);
        return *this;
    }
    TCommandBytes& text(std::string_view Text) {
        testclient::PutString(Bytes, Text);
        return *this;
    }
    TCommandBytes& place(TPlace Where) { return u16(Where.X).u16(Where.Y).u8(Where.Z); }
};

struct TCase {
    TBytes Bytes;
    TClientCommand Expected;
};

const TPlace FIELD{1010, 1004, 7}, SLOT{0xFFFF, 66, 3};

// Every command of the client with distinct values in its fields, and what the decoder must make of it.
std::vector<TCase> Cases() {
    std::vector<TCase> Cases;
    auto Add = [&](const TCommandBytes& Bytes, const std::function<void(TClientCommand&)>& Fill = {}) {
        TClientCommand Expected;
        Expected.Type = Bytes.Bytes[0];
        Expected.Known = true;
        if (Fill) Fill(Expected);
        Cases.push_back({Bytes.Bytes, Expected});
    };
    for (uint8_t Type : {20, 30, 105, 111, 112, 113, 114, 127, 128, 151, 157, 167, 170, 190, 210})
        Add(TCommandBytes(Type));
    Add(TCommandBytes(100).u8(3).u8(1).u8(3).u8(7), [](auto& c) { c.Steps = {1, 3, 7}; });
    const std::pair<uint8_t, uint8_t> Steps[] = {{101, 3}, {102, 1}, {103, 7}, {104, 5},
                                                 {106, 2}, {107, 8}, {108, 6}, {109, 4}};
    for (auto [Type, Code] : Steps)
        Add(TCommandBytes(Type), [Code](auto& c) { c.Steps = {Code}; });
    auto Object = [](uint8_t Type) { return TCommandBytes(Type).place(FIELD).u16(0x0102).u8(2); };
    auto Named = [](TClientCommand& c) {
        c.Place = FIELD;
        c.ObjectType = 0x0102;
        c.StackPosition = 2;
    };
    Add(Object(120).place(SLOT).u8(25), [&](auto& c) { Named(c), c.To = SLOT, c.Count = 25; });
    Add(Object(125).u32(0x10000ABC), [&](auto& c) { Named(c), c.CreatureId = 0x10000ABC; });
    Add(TCommandBytes(126).u8(1).u8(4), [](auto& c) { c.Side = 1, c.StackPosition = 4; });
    Add(Object(130).u8(3), [&](auto& c) { Named(c), c.Container = 3; });
    Add(Object(131).place(SLOT).u16(0x0304).u8(5),
        [&](auto& c) { Named(c), c.To = SLOT, c.ToObjectType = 0x0304, c.ToStackPosition = 5; });
    Add(Object(132).u32(0x40000002), [&](auto& c) { Named(c), c.CreatureId = 0x40000002; });
    Add(Object(133), Named);
    Add(Object(140), Named);
    for (uint8_t Type : {135, 136, 202})
        Add(TCommandBytes(Type).u8(Type - 130), [Type](auto& c) { c.Container = Type - 130; });
    Add(TCommandBytes(137).u32(0xDEADBEEF).text("a page"),
        [](auto& c) { c.Identifier = 0xDEADBEEF, c.Text = "a page"; });
    Add(TCommandBytes(138).u8(2).u32(77).text("Aldric\nBrenna"),
        [](auto& c) { c.ListKind = 2, c.Identifier = 77, c.Text = "Aldric\nBrenna"; });
    for (uint8_t Mode : {1, 2, 3, 6, 8, 9, 13})
        Add(TCommandBytes(150).u8(Mode).text("hello"), [Mode](auto& c) { c.Mode = Mode, c.Text = "hello"; });
    for (uint8_t Mode : {4, 7, 11, 15})
        Add(TCommandBytes(150).u8(Mode).text("Brenna").text("hi"),
            [Mode](auto& c) { c.Mode = Mode, c.Name = "Brenna", c.Text = "hi"; });
    for (uint8_t Mode : {5, 10, 14})
        Add(TCommandBytes(150).u8(Mode).u16(0x0203).text("wts"),
            [Mode](auto& c) { c.Mode = Mode, c.Channel = 0x0203, c.Text = "wts"; });
    for (uint8_t Type : {152, 153})
        Add(TCommandBytes(Type).u16(0x0102), [](auto& c) { c.Channel = 0x0102; });
    for (uint8_t Type : {154, 155, 156, 171, 172, 220})
        Add(TCommandBytes(Type).text("Cedric"), [](auto& c) { c.Name = "Cedric"; });
    Add(TCommandBytes(160).u8(1).u8(2).u8(0),
        [](auto& c) { c.AttackMode = 1, c.ChaseMode = 2, c.SecureMode = 0; });
    for (uint8_t Type : {161, 162, 163, 164, 165, 166, 221})
        Add(TCommandBytes(Type).u32(0x10203040u + Type),
            [Type](auto& c) { c.CreatureId = 0x10203040u + Type; });
    Add(TCommandBytes(201).place(FIELD), [](auto& c) { c.Place = FIELD; });
    Add(TCommandBytes(211).u16(128).u8(3).u8(4).u8(5).u8(6), [](auto& c) {
        c.Outfit = 128, c.Colors = {3, 4, 5, 6};
    });
    Add(TCommandBytes(230).text("a bug"), [](auto& c) { c.Text = "a bug"; });
    Add(TCommandBytes(231).text("Brenna").u8(31).u8(7).text("spam").u32(0x01020304).u8(1), [](auto& c) {
        c.Name = "Brenna", c.Reason = 31, c.Action = 7, c.Comment = "spam", c.StatementId = 0x01020304,
        c.IpBanishment = 1;
    });
    Add(TCommandBytes(232).text("title").text("12:00").text("trace").text("note"),
        [](auto& c) { c.Title = "title", c.Time = "12:00", c.Text = "trace", c.Comment = "note"; });
    return Cases;
}

} // namespace

TEST(ClientCommandsTest, EveryLayoutDecodesEachFieldAndEveryCutIsAnError) {
    for (const TCase& Case : Cases()) {
        const int Type = Case.Bytes[0];
        EXPECT_TRUE(ParseClientCommand(Case.Bytes) == Case.Expected) << "command " << Type;
        TBytes Longer = Case.Bytes;
        Longer.push_back(0xEE);
        EXPECT_TRUE(ParseClientCommand(Longer) == Case.Expected) << "command " << Type << ": bytes behind";
        for (size_t Cut = 1; Cut < Case.Bytes.size(); ++Cut)
            EXPECT_THROW(ParseClientCommand(std::span(Case.Bytes).first(Cut)), TWireError)
                << "command " << Type << " cut to " << Cut << " bytes";
    }
    EXPECT_THROW(ParseClientCommand(TBytes{}), TWireError);
}

TEST(ClientCommandsTest, OnlyTheClientsCommandsAndTalkModesAreKnown) {
    std::set<int> Commands;
    for (const TCase& Case : Cases())
        Commands.insert(Case.Bytes[0]);
    for (int Type = 0; Type < 256; ++Type) {
        TBytes Bytes(64, 0);
        Bytes[0] = static_cast<uint8_t>(Type);
        Bytes[1] = 1; // a talk mode the client sends, a count or value of 1, strings empty
        TClientCommand Command = ParseClientCommand(Bytes);
        EXPECT_EQ(Command.Known, Commands.count(Type) == 1) << "command " << Type;
        EXPECT_EQ(Command.Type, Type);
    }
    for (uint8_t Mode : {0, 12, 16, 27, 255}) {
        TClientCommand Unsent = ParseClientCommand(TBytes{150, Mode, 1, 0, 'a'});
        EXPECT_FALSE(Unsent.Known) << "mode " << int(Mode) << " is never sent; its layout is unknown";
        EXPECT_EQ(Unsent.Mode, Mode);
    }
}
