// The text-script reader and writer and the little-endian binary file reader and writer.
#include "foundation/Script.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"

#include <cstring>
#include <string>

namespace {

// Throws a file failure: Text, up to one named value, and the file name (or another text) as reason.
[[noreturn]] void FailAt(int32_t Line, const char* Text, const char* Reason, const char* Name = "",
                         int32_t Value = 0) {
    throw TMyException(EBRUN_SOURCE_NAME, Line, Text, Name, Value, "", 0, Reason);
}
#define FILE_FAILURE(...) FailAt(__LINE__, __VA_ARGS__)

FILE* OpenOrFail(FILE* Current, const char* CurrentName, const char* FileName, const char* Mode) {
    if (Current != nullptr) FILE_FAILURE("file still open", CurrentName);
    CHECK_TEXT(FileName != nullptr, "FileName!=NULL");
    FILE* File = OpenFile(FileName, Mode);
    if (File == nullptr) FILE_FAILURE("failed to open file", FileName);
    return File;
}

// A writer takes a stream opened elsewhere, and owns it from the call on, only when it has none open.
FILE* TakeOrFail(FILE* Current, const char* CurrentName, FILE* Stream, const char* Name) {
    if (Current == nullptr && Stream != nullptr && Name != nullptr) return Stream;
    if (Stream != nullptr) fclose(Stream);
    if (Current != nullptr) FILE_FAILURE("file still open", CurrentName);
    FILE_FAILURE("no file open", Name != nullptr ? Name : "");
}

// Answers false when the close failed to write out what was buffered.
bool CloseFile(FILE*& File) {
    bool Written = File == nullptr || fclose(File) == 0;
    File = nullptr;
    return Written;
}

// Largest values a number may reach: a number token one more than 2^31 - 1, so that "-2147483648"
// reads; the values of byte sequences and coordinates 2^31 - 1.
constexpr int64_t NUMBER_LIMIT = 2147483648;
constexpr int64_t VALUE_LIMIT = 2147483647;

} // namespace

// ---- Script reader -----------------------------------------------------------------------------------

enum TScriptReader::TState : int32_t {
    STATE_START,
    STATE_COMMENT,
    STATE_IDENTIFIER,
    STATE_NUMBER,
    STATE_BYTE_START,
    STATE_BYTE_VALUE,
    STATE_STRING,
    STATE_ESCAPE,
    STATE_COORDINATE_START,
    STATE_X,
    STATE_Y_START,
    STATE_Y,
    STATE_Z_START,
    STATE_Z,
    STATE_LESS,
    STATE_GREATER,
    STATE_MINUS,
};

TScriptReader::TScriptReader() : Bytes(reinterpret_cast<uint8_t*>(Text)), State(STATE_START) { reset(); }

TScriptReader::~TScriptReader() { CloseFile(File); }

void TScriptReader::reset() {
    FileName[0] = 0;
    Line = 0;
    memset(Text, 0, sizeof(Text));
    TextLength = 0;
    Number = CoordX = CoordY = CoordZ = 0;
    Special = '#';
}

void TScriptReader::open(const char* Name) {
    File = OpenOrFail(File, FileName, Name, "rb");
    Line = 1;
    CopyString(FileName, Name);
}

void TScriptReader::close() {
    CloseFile(File);
    reset();
}

void TScriptReader::error(const char* Reason) {
    CloseFile(File);
    std::string Message =
        std::string("error in script file '") + FileName + "' in line " + std::to_string(Line);
    throw TMyException(EBRUN_SOURCE_NAME, __LINE__, Message, "", 0, "", 0,
                       Reason != nullptr ? Reason : "(unknown)");
}

void TScriptReader::nextToken() {
    if (File == nullptr) FILE_FAILURE("no file open", FileName);
    memset(Text, 0, sizeof(Text));
    Number = 0;
    TextLength = 0;
    Value = 0;
    State = STATE_START;
    for (;;) {
        bool Done = step(getc(File));
        if (TextLength >= 999) error("string too long");
        if (Done) return;
    }
}

void TScriptReader::append(int c) { Text[TextLength++] = static_cast<char>(c); }

void TScriptReader::storeByte() { append(static_cast<int>(Value & 0xFF)); }

void TScriptReader::addDigit(int c, int64_t Limit) {
    Value = Value * 10 + (c - '0');
    if (Value > Limit) error("number too large");
}

bool TScriptReader::finish(TOKEN Kind) {
    Token = Kind;
    return true;
}

bool TScriptReader::special(char c) {
    Special = c;
    return finish(TOKEN_SPECIAL);
}

bool TScriptReader::step(int c) {
    switch (State) {
    case STATE_START:
        return stepStart(c);
    case STATE_COMMENT:
        if (c == EOF) return finish(TOKEN_END);
        if (c == '\n') {
            Line++;
            State = STATE_START;
        }
        return false;
    case STATE_IDENTIFIER:
        return stepWord(c);
    case STATE_NUMBER:
    case STATE_BYTE_START:
    case STATE_BYTE_VALUE:
        return stepNumber(c);
    case STATE_STRING:
    case STATE_ESCAPE:
        return stepString(c);
    case STATE_LESS:
    case STATE_GREATER:
    case STATE_MINUS:
        return stepOperator(c);
    default:
        return stepCoordinate(c);
    }
}

bool TScriptReader::stepStart(int c) {
    if (c == EOF) return finish(TOKEN_END);
    if (c == '\n') Line++;
    if (IsSpace(c)) return false;
    if (c == '#') {
        State = STATE_COMMENT;
    } else if (IsLetter(c)) {
        append(c);
        State = STATE_IDENTIFIER;
    } else if (IsDigit(c)) {
        Value = c - '0';
        State = STATE_NUMBER;
    } else if (c == '"') {
        State = STATE_STRING;
    } else if (c == '[') {
        State = STATE_COORDINATE_START;
    } else if (c == '<' || c == '>' || c == '-') {
        State = c == '<' ? STATE_LESS : c == '>' ? STATE_GREATER : STATE_MINUS;
    } else {
        return special(static_cast<char>(c));
    }
    return false;
}

bool TScriptReader::stepWord(int c) {
    if (TextLength == 20) error("identifier too long");
    if (c == EOF) return finish(TOKEN_IDENTIFIER);
    if (IsLetter(c) || IsDigit(c) || c == '_') {
        append(c);
        return false;
    }
    ungetc(c, File);
    return finish(TOKEN_IDENTIFIER);
}

bool TScriptReader::stepNumber(int c) {
    if (State == STATE_BYTE_START) {
        if (c == EOF) error("unexpected end of file");
        if (!IsDigit(c)) error("syntax error");
        Value = c - '0';
        State = STATE_BYTE_VALUE;
        return false;
    }
    bool Bytes = State == STATE_BYTE_VALUE;
    if (IsDigit(c)) {
        addDigit(c, Bytes ? VALUE_LIMIT : NUMBER_LIMIT);
        return false;
    }
    if (c == '-') {
        storeByte();
        State = STATE_BYTE_START;
        return false;
    }
    if (c != EOF) ungetc(c, File);
    if (!Bytes) {
        Number = static_cast<int32_t>(Value); // 2^31 becomes -2^31, for readNumber to apply the sign
        return finish(TOKEN_NUMBER);
    }
    storeByte();
    return finish(TOKEN_BYTES);
}

bool TScriptReader::stepString(int c) {
    if (c == EOF) error("unexpected end of file");
    if (State == STATE_ESCAPE) {
        append(c == 'n' ? '\n' : c);
        State = STATE_STRING;
    } else if (c == '"') {
        return finish(TOKEN_STRING);
    } else if (c == '\\') {
        State = STATE_ESCAPE;
    } else {
        if (c == '\n') Line++;
        append(c);
    }
    return false;
}

bool TScriptReader::stepCoordinate(int c) {
    if (State == STATE_COORDINATE_START && !IsDigit(c)) {
        if (c != EOF) ungetc(c, File);
        return special('[');
    }
    if (c == EOF) error("unexpected end of file");
    if (!IsDigit(c)) {
        if (State == STATE_X && c == ',') {
            CoordX = static_cast<int32_t>(Value);
            State = STATE_Y_START;
            return false;
        }
        if (State == STATE_Y && c == ',') {
            CoordY = static_cast<int32_t>(Value);
            State = STATE_Z_START;
            return false;
        }
        if (State != STATE_Z || c != ']') error("syntax error");
        CoordZ = static_cast<int32_t>(Value);
        return finish(TOKEN_COORDINATE);
    }
    if (State == STATE_COORDINATE_START || State == STATE_Y_START || State == STATE_Z_START) {
        Value = c - '0';
        State = State == STATE_COORDINATE_START ? STATE_X : State == STATE_Y_START ? STATE_Y : STATE_Z;
    } else {
        addDigit(c, VALUE_LIMIT);
    }
    return false;
}

bool TScriptReader::stepOperator(int c) {
    if (State == STATE_LESS && c == '=') return special('L');
    if (State == STATE_LESS && c == '>') return special('N');
    if (State == STATE_GREATER && c == '=') return special('G');
    if (State == STATE_MINUS && c == '>') return special('I');
    if (c != EOF) ungetc(c, File);
    return special(State == STATE_LESS ? '<' : State == STATE_GREATER ? '>' : '-');
}

const char* TScriptReader::getIdentifier() {
    if (Token != TOKEN_IDENTIFIER) error("identifier expected");
    LowerString(Text);
    return Text;
}

int32_t TScriptReader::getNumber() {
    if (Token != TOKEN_NUMBER) error("number expected");
    if (Number < 0) error("number too large"); // 2^31 only reads with a minus before it
    return Number;
}

const char* TScriptReader::getString() {
    if (Token != TOKEN_STRING) error("string expected");
    return Text;
}

char TScriptReader::getSpecial() {
    if (Token != TOKEN_SPECIAL) error("special-char expected");
    return Special;
}

const char* TScriptReader::readIdentifier() {
    nextToken();
    return getIdentifier();
}

int32_t TScriptReader::readNumber() {
    nextToken();
    if (Token != TOKEN_SPECIAL || Special != '-') return getNumber();
    nextToken();
    if (Token != TOKEN_NUMBER) error("number expected");
    return Number < 0 ? Number : -Number;
}

const char* TScriptReader::readString() {
    nextToken();
    return getString();
}

void TScriptReader::readSymbol(char Char) {
    nextToken();
    if (Token != TOKEN_SPECIAL || Special != Char) error("special-char expected");
}

// ---- Script writer -----------------------------------------------------------------------------------

TScriptWriter::TScriptWriter() { FileName[0] = 0; }

TScriptWriter::~TScriptWriter() { CloseFile(File); }

void TScriptWriter::open(const char* Name) {
    File = OpenOrFail(File, FileName, Name, "wb");
    CopyString(FileName, Name);
    Written = 0;
}

void TScriptWriter::open(FILE* Stream, const char* Name) {
    File = TakeOrFail(File, FileName, Stream, Name);
    CopyString(FileName, Name);
    Written = 0;
}

void TScriptWriter::close() {
    if (!CloseFile(File)) FILE_FAILURE("failed to write file", FileName);
    FileName[0] = 0;
}

void TScriptWriter::put(const char* Data, size_t Size) {
    if (Size > 0 && fwrite(Data, Size, 1, File) != 1) FILE_FAILURE("failed to write file", FileName);
    Written += static_cast<int64_t>(Size);
}

void TScriptWriter::writeLn() {
    if (File == nullptr) FILE_FAILURE("no file open", FileName);
    put("\r\n", 2);
}

void TScriptWriter::writeText(const char* Text) {
    if (File == nullptr) FILE_FAILURE("no file open", FileName);
    if (Text == nullptr) FILE_FAILURE("no text", FileName);
    put(Text, strlen(Text));
}

void TScriptWriter::writeString(const char* Text) {
    if (File == nullptr) FILE_FAILURE("no file open", FileName);
    if (Text == nullptr) FILE_FAILURE("no text", FileName);
    put("\"", 1);
    for (; *Text != 0; Text++) {
        if (*Text == '"' || *Text == '\\') put("\\", 1);
        if (*Text == '\n')
            put("\\n", 2);
        else
            put(Text, 1);
    }
    put("\"", 1);
}

void TScriptWriter::writeNumber(int32_t Number) {
    if (File == nullptr) FILE_FAILURE("no file open", FileName);
    char Digits[16];
    snprintf(Digits, sizeof(Digits), "%d", Number);
    writeText(Digits);
}

// ---- Binary reader -----------------------------------------------------------------------------------

TBinaryReader::TBinaryReader() { FileName[0] = 0; }

TBinaryReader::~TBinaryReader() { CloseFile(File); }

void TBinaryReader::open(const char* Name) {
    File = OpenOrFail(File, FileName, Name, "rb");
    CopyString(FileName, Name);
}

void TBinaryReader::close() { CloseFile(File); }

void TBinaryReader::checkOpen() const {
    if (File == nullptr) FILE_FAILURE("no file open", FileName);
}

void TBinaryReader::seek(int32_t Offset) {
    checkOpen();
    if (Offset < 0) FILE_FAILURE("negative offset", FileName, "Offset", Offset);
    fseek(File, Offset, SEEK_SET);
}

bool TBinaryReader::eof() {
    checkOpen();
    int c = getc(File);
    if (c == EOF) return true;
    ungetc(c, File);
    return false;
}

uint8_t TBinaryReader::readByte() {
    checkOpen();
    int c = getc(File);
    if (c == EOF) FILE_FAILURE("out of data", FileName);
    return static_cast<uint8_t>(c);
}

uint16_t TBinaryReader::readWord() try {
    const uint8_t Bytes[2] = {readByte(), readByte()}; // a braced list is read left to right
    return LoadLE16(Bytes);
}
CATCH_FRAME()

uint32_t TBinaryReader::readQuad() try {
    checkOpen();
    const uint8_t Bytes[4] = {readByte(), readByte(), readByte(), readByte()};
    return LoadLE32(Bytes);
}
CATCH_FRAME()

void TBinaryReader::readBytes(uint8_t* Buffer, int32_t Count) {
    checkOpen();
    if (Buffer == nullptr) FILE_FAILURE("Buffer==NULL", "");
    CHECK(Count >= 0, Count);
    if (fread(Buffer, 1, Count, File) != static_cast<size_t>(Count))
        FILE_FAILURE("out of data", FileName, "Count", Count);
}

std::unique_ptr<char[]> TBinaryReader::readNewString() try {
    checkOpen();
    uint16_t Length = readWord();
    auto Text = std::make_unique<char[]>(Length + 1);
    readBytes(reinterpret_cast<uint8_t*>(Text.get()), Length);
    Text[Length] = 0;
    return Text;
}
CATCH_FRAME()

// ---- Binary writer -----------------------------------------------------------------------------------

TBinaryWriter::TBinaryWriter() { FileName[0] = 0; }

TBinaryWriter::~TBinaryWriter() { CloseFile(File); }

void TBinaryWriter::open(const char* Name) {
    File = OpenOrFail(File, FileName, Name, "wb");
    CopyString(FileName, Name);
    Written = 0;
}

void TBinaryWriter::open(FILE* Stream, const char* Name) {
    File = TakeOrFail(File, FileName, Stream, Name);
    CopyString(FileName, Name);
    Written = 0;
}

void TBinaryWriter::close() {
    if (!CloseFile(File)) FILE_FAILURE("failed to write file", FileName);
}

void TBinaryWriter::checkOpen() const {
    if (File == nullptr) FILE_FAILURE("no file open", FileName);
}

void TBinaryWriter::writeByte(uint8_t b) {
    checkOpen();
    if (putc(b, File) == EOF) FILE_FAILURE("failed to write file", FileName);
    Written++;
}

void TBinaryWriter::writeWord(uint16_t w) try {
    checkOpen();
    writeByte(static_cast<uint8_t>(w));
    writeByte(static_cast<uint8_t>(w >> 8));
}
CATCH_FRAME()

void TBinaryWriter::writeQuad(uint32_t q) try {
    checkOpen();
    for (int i = 0; i < 4; i++)
        writeByte(static_cast<uint8_t>(q >> (8 * i)));
}
CATCH_FRAME()

void TBinaryWriter::writeBytes(const uint8_t* Buffer, int32_t Count) {
    checkOpen();
    if (Buffer == nullptr) FILE_FAILURE("Buffer==NULL", "");
    CHECK(Count >= 0, Count);
    if (Count > 0 && fwrite(Buffer, Count, 1, File) != 1)
        FILE_FAILURE("failed to write file", FileName, "Count", Count);
    Written += Count;
}

void TBinaryWriter::writeString(const char* Text) try {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    auto Length = static_cast<uint16_t>(strlen(Text)); // modulo 65,536, as its length word says
    writeWord(Length);
    if (Length != 0) writeBytes(reinterpret_cast<const uint8_t*>(Text), Length);
}
CATCH_FRAME()
