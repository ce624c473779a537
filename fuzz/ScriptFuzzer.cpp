// libFuzzer harness of the text-script reader: each input is a whole script file, read token by token to
// its end or its first error. Oracle: every string, number and identifier read is written again by the
// script writer and reads back unchanged; line numbers start at 1 and never go back.
#include "foundation/Exception.h"
#include "foundation/Script.h"
#include "fuzz/FuzzSupport.h"

#include <string>

namespace {

constexpr const char* FILE_NAME = "script.txt";
constexpr const char* COPY_NAME = "copy.txt";
constexpr int32_t MAX_TOKENS = 4096;

struct TToken {
    TOKEN Kind;
    std::string Text;
    int32_t Number;
};

// The tokens up to the end or the first error.
std::vector<TToken> ReadTokens() {
    std::vector<TToken> Tokens;
    TScriptReader Reader;
    try {
        Reader.open(FILE_NAME);
        int32_t Line = 1;
        for (int32_t n = 0; n < MAX_TOKENS; n++) {
            Reader.nextToken();
            Expect(Reader.Line >= Line, "line number went back");
            Line = Reader.Line;
            if (Reader.Token == TOKEN_END) break;
            if (Reader.Token == TOKEN_IDENTIFIER)
                Tokens.push_back({TOKEN_IDENTIFIER, Reader.getIdentifier(), 0});
            if (Reader.Token == TOKEN_STRING) Tokens.push_back({TOKEN_STRING, Reader.getString(), 0});
            if (Reader.Token == TOKEN_NUMBER) Tokens.push_back({TOKEN_NUMBER, "", Reader.getNumber()});
        }
    } catch (const TMyException& Error) {
        Refused(Error);
    }
    return Tokens;
}

void WriteCopy(const std::vector<TToken>& Tokens) {
    TScriptWriter Writer;
    Writer.open(COPY_NAME);
    for (const TToken& Token : Tokens) {
        if (Token.Kind == TOKEN_IDENTIFIER) Writer.writeText(Token.Text.c_str());
        if (Token.Kind == TOKEN_STRING) Writer.writeString(Token.Text.c_str());
        if (Token.Kind == TOKEN_NUMBER) Writer.writeNumber(Token.Number);
        Writer.writeLn();
    }
    Writer.close();
}

void CheckCopy(const std::vector<TToken>& Tokens) {
    TScriptReader Reader;
    Reader.open(COPY_NAME);
    for (const TToken& Token : Tokens) {
        if (Token.Kind == TOKEN_IDENTIFIER)
            Expect(Token.Text == Reader.readIdentifier(), "identifier read back differently");
        if (Token.Kind == TOKEN_STRING)
            Expect(Token.Text == Reader.readString(), "string read back differently");
        if (Token.Kind == TOKEN_NUMBER)
            Expect(Token.Number == Reader.readNumber(), "number read back differently");
    }
    Reader.nextToken();
    Expect(Reader.Token == TOKEN_END, "the copy holds more tokens");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    WriteInput(FILE_NAME, Data, Size);
    const std::vector<TToken> Tokens = ReadTokens();
    try {
        WriteCopy(Tokens);
        CheckCopy(Tokens);
    } catch (const TMyException& Error) {
        Finding("the copy could not be written or read: " + Error.getText());
    }
    return 0;
}
