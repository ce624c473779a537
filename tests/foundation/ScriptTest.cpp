// The script reader's tokens, limits and error texts, and the writer's round trip through the reader.
#include "foundation/Script.h"
#include "tests/foundation/TempDirectory.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>

namespace {

std::string Describe(const TScriptReader& r) {
    switch (r.Token) {
    case TOKEN_END:
        return "END";
    case TOKEN_IDENTIFIER:
        return std::string("I:") + r.Text;
    case TOKEN_NUMBER:
        return "N:" + std::to_string(r.Number);
    case TOKEN_STRING:
        return std::string("S:") + r.Text;
    case TOKEN_COORDINATE:
        return "C:" + std::to_string(r.CoordX) + "," + std::to_string(r.CoordY) + "," +
               std::to_string(r.CoordZ);
    case TOKEN_SPECIAL:
        return std::string("P:") + r.Special;
    case TOKEN_BYTES: {
        // The sequence carries no count: show it up to its last byte that is not 0.
        int Last = 998;
        while (Last > 0 && r.Bytes[Last] == 0)
            Last--;
        std::string Out = "B:";
        for (int i = 0; i <= Last; i++)
            Out.append(i > 0 ? "," : "").append(std::to_string(r.Bytes[i]));
        return Out;
    }
    }
    return "?";
}

// The tokens of Content up to the end, or up to an error, which shows as "error <line>: <reason>".
std::string Scan(const std::string& Content) {
    TTempDirectory Directory("-scan");
    TScriptReader r;
    r.open(Directory.write("s.txt", Content).c_str());
    std::string Out;
    try {
        for (int i = 0; i < 100; i++) {
            r.nextToken();
            Out.append(Out.empty() ? "" : " ").append(Describe(r));
            if (r.Token == TOKEN_END) break;
        }
    } catch (const TMyException& E) {
        std::string Text = E.getText();
        Out += (Out.empty() ? "" : " ") + std::string("error ") + std::to_string(r.Line) + ": " +
               Text.substr(Text.rfind('\n') + 1);
    }
    return Out;
}

} // namespace

TEST(ScriptReader, TokensAndTheirErrors) {
    const std::pair<std::string, std::string> Cases[] = {
        {"", "END"},
        {"abc#x", "I:abc END"},
        {"a\r\n# c\n\n b\t\v\f", "I:a I:b END"},
        {"12 007 12abc", "N:12 N:7 N:12 I:abc END"},
        {"12-0-255", "B:12,0,255 END"},
        {"300-1,", "B:44,1 P:, END"},
        {"12-", "error 1: unexpected end of file"},
        {"12-x", "error 1: syntax error"},
        {"-5", "P:- N:5 END"},
        {"-> <= <> >= < > - = (", "P:I P:L P:N P:G P:< P:> P:- P:= P:( END"},
        {"<a", "P:< I:a END"},
        {"-", "P:- END"},
        {"[1,2,3]x", "C:1,2,3 I:x END"},
        {"[1, 2,3]", "error 1: syntax error"},
        {"[1,2,3,4]", "error 1: syntax error"},
        {"[a", "P:[ I:a END"},
        {"[", "P:[ END"},
        {"[1,2,", "error 1: unexpected end of file"},
        {"\"a\\\"b\\nc\\d\\\\\"", "S:a\"b\nc"
                                  "d\\ END"},
        {"\"open\\", "error 1: unexpected end of file"},
        {"\"two\nlines\" x", "S:two\nlines I:x END"},
        {"a_1b _x", "I:a_1b P:_ I:x END"},
        {std::string(19, 'k') + " ", "I:" + std::string(19, 'k') + " END"},
        {std::string(20, 'k') + " ", "error 1: identifier too long"},
        {"abc\xE4"
         "d \"\xE4\"",
         "I:abc P:\xE4 I:d S:\xE4 END"},
        {"a\n#c\n\n\"x\ny\"\n\n", "I:a S:x\ny END"},
        {"a\n#c\n\n\"x\ny\n", "I:a error 6: unexpected end of file"},
        {"2147483648", "N:-2147483648 END"}, // the raw token; readNumber applies or refuses it
        {"-2147483649", "P:- error 1: number too large"},
        {"99999999999999999999", "error 1: number too large"},
        {"[2147483648,0,0]", "error 1: number too large"},
        {"1-2147483648", "error 1: number too large"},
    };
    for (const auto& [Input, Tokens] : Cases)
        EXPECT_EQ(Scan(Input), Tokens) << Input;
}

TEST(ScriptReader, TextLimits) {
    std::string Longest(998, 'x');
    EXPECT_EQ(Scan("\"" + Longest + "\""), "S:" + Longest + " END");
    EXPECT_EQ(Scan("\"" + Longest + "y\""), "error 1: string too long");
    std::string Sequence = "1";
    for (int i = 0; i < 997; i++)
        Sequence += "-1";
    EXPECT_EQ(Scan(Sequence + " x").substr(0, 7), "B:1,1,1");
    EXPECT_EQ(Scan(Sequence + "-1"), "error 1: string too long");
}

TEST(ScriptReader, EveryThirtyTwoBitNumberReadsAndErrorsNameFileAndLine) {
    TTempDirectory Directory;
    std::string Name = Directory.write(
        "Ebrun.cfg", "# options\n\nA = -2147483648\nB = 2147483647 - 7\n\n\n\n\n\n\n\nC = x\n");
    TScriptReader r;
    r.open(Name.c_str());
    EXPECT_STREQ(r.readIdentifier(), "a");
    r.readSymbol('=');
    EXPECT_EQ(r.readNumber(), -2147483647 - 1);
    r.readIdentifier();
    r.readSymbol('=');
    EXPECT_EQ(r.readNumber(), 2147483647);
    EXPECT_EQ(r.readNumber(), -7);
    r.readIdentifier();
    r.readSymbol('=');
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { r.readNumber(); }),
              "error in script file '" + Name + "' in line 12, reason:\nnumber expected");
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { r.nextToken(); }), "no file open, reason:\n" + Name);
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { r.error(nullptr); }),
              "error in script file '" + Name + "' in line 12, reason:\n(unknown)");
    r.close();
    r.open(Directory.write("big", "2147483648").c_str());
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { r.readNumber(); }),
              "error in script file '" + Directory.file("big") + "' in line 1, reason:\nnumber too large");
}

TEST(ScriptReader, GettersRefuseOtherTokens) {
    TTempDirectory Directory;
    TScriptReader r;
    auto Reason = [&](auto Call) {
        r.close();
        r.open(Directory.write("g", "7 \"s\" x (").c_str());
        r.nextToken();
        std::string Text = ThrownText(Call);
        return Text.substr(Text.rfind('\n') + 1);
    };
    EXPECT_EQ(Reason([&] { r.getIdentifier(); }), "identifier expected");
    EXPECT_EQ(Reason([&] { r.readNumber(); }), "number expected");
    EXPECT_EQ(Reason([&] { r.getString(); }), "string expected");
    EXPECT_EQ(Reason([&] { r.getSpecial(); }), "special-char expected");
    EXPECT_EQ(Reason([&] { r.readSymbol('='); }), "special-char expected");
    EXPECT_EQ(Reason([&] {
                  r.readString();
                  r.readIdentifier();
                  r.readSymbol('(');
                  r.readSymbol('(');
              }),
              "special-char expected");
}

TEST(ScriptReader, OpenAndCloseKeepTheirContracts) {
    TTempDirectory Directory;
    std::string First = Directory.write("first", "one two");
    TScriptReader r;
    EXPECT_EQ(r.Line, 0);
    EXPECT_EQ(r.Special, '#');
    r.open(First.c_str());
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { r.open(First.c_str()); }), "file still open, reason:\n" + First);
    EXPECT_STREQ(r.readIdentifier(), "one"); // the first stays open
    r.close();
    EXPECT_EQ(r.Line, 0);
    EXPECT_STREQ(r.FileName, "");
    std::string Missing = Directory.file("missing");
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { r.open(Missing.c_str()); }),
              "failed to open file, reason:\n" + Missing);
    TScriptWriter w;
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { w.writeNumber(1); }), "no file open");
    w.open(First.c_str());
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { w.writeString(nullptr); }), "no text, reason:\n" + First);
    EXPECT_EQ(ThrownFrom("Script.cpp", [&] { w.open("other"); }), "file still open, reason:\n" + First);
}

TEST(ScriptWriter, WritesTheFormatThatTheReaderReads) {
    TTempDirectory Directory;
    std::string Name = Directory.file("out.cfg");
    TScriptWriter w;
    w.open(Name.c_str());
    w.writeText("# comment");
    w.writeLn();
    w.writeText("Hotkey = (");
    w.writeNumber(-2147483647 - 1);
    w.writeText(",");
    w.writeString("say \"hi\" \\ \xE4\nnext\r");
    w.writeText(")");
    w.writeLn();
    w.close();
    EXPECT_STREQ(w.FileName, "");
    EXPECT_EQ(Directory.read("out.cfg"),
              "# comment\r\nHotkey = (-2147483648,\"say \\\"hi\\\" \\\\ \xE4\\nnext\r\")\r\n");

    TScriptReader r;
    r.open(Name.c_str());
    EXPECT_STREQ(r.readIdentifier(), "hotkey");
    r.readSymbol('=');
    r.readSymbol('(');
    EXPECT_EQ(r.readNumber(), -2147483647 - 1);
    r.readSymbol(',');
    EXPECT_STREQ(r.readString(), "say \"hi\" \\ \xE4\nnext\r");
    r.readSymbol(')');
    r.nextToken();
    EXPECT_EQ(r.Token, TOKEN_END);
    EXPECT_EQ(r.Line, 3);
}
