// The text-script format (tokens with '#' comments) and little-endian binary files, read and written
// through the C library in binary mode. Every failure throws TMyException naming the file.
#pragma once

#include "foundation/Exception.h"
#include "foundation/sysinc.h"

#include <cstdint>
#include <cstdio>
#include <memory>

enum TOKEN : int32_t {
    TOKEN_END = 0,
    TOKEN_IDENTIFIER = 1, // a letter, then letters, digits and '_'; at most 19 characters
    TOKEN_NUMBER = 2,     // decimal digits without sign
    TOKEN_STRING = 3,     // in double quotes, with \" \\ and \n; at most 998 characters
    TOKEN_BYTES = 4,      // numbers joined by '-' (12-0-255), each kept as its low 8 bits
    TOKEN_COORDINATE = 5, // [x,y,z] without blanks
    TOKEN_SPECIAL = 6,    // any other character; "<=" "<>" ">=" "->" become 'L' 'N' 'G' 'I'
};

// Reads a script file one token at a time. Letters are ASCII only: the reader hands the character
// classes bytes as 0..255, so a Latin-1 byte outside a string is a special token of its own.
// Every error closes the file and throws "error in script file '<name>' in line <n>" with the cause as
// reason.
class TScriptReader {
public:
    TScriptReader();
    ~TScriptReader();
    TScriptReader(const TScriptReader&) = delete;
    TScriptReader& operator=(const TScriptReader&) = delete;

    void open(const char* FileName);
    void close(); // also resets every field
    void nextToken();
    [[noreturn]] void error(const char* Text);

    const char* getIdentifier(); // lower-cased in place
    int32_t getNumber();
    const char* getString();
    char getSpecial();
    const char* readIdentifier();
    int32_t readNumber(); // applies a '-' special before the number
    const char* readString();
    void readSymbol(char Char);

    TOKEN Token = TOKEN_END; // of the current token; meaningless before the first nextToken
    char FileName[1024];
    int32_t Line;
    char Text[1000];      // identifier or string text, terminated; the bytes of a byte sequence
    uint8_t* const Bytes; // the byte sequence's values, stored in Text; the format knows their count
    int32_t Number;
    int32_t CoordX, CoordY, CoordZ;
    char Special;

private:
    enum TState : int32_t;
    void reset();
    void append(int c);
    void storeByte();
    void addDigit(int c, int64_t Limit);
    bool finish(TOKEN Kind);
    bool special(char c);
    bool step(int c);
    bool stepStart(int c);
    bool stepWord(int c);
    bool stepNumber(int c);
    bool stepString(int c);
    bool stepCoordinate(int c);
    bool stepOperator(int c);

    FILE* File = nullptr;
    TState State;
    int32_t TextLength = 0;
    int64_t Value = 0; // the number being read, wide enough to notice one beyond 32 bits
};

// Writes the script format; lines end in carriage return and line feed.
class TScriptWriter {
public:
    // What a save in place puts after the content until its cut: white space, which the reader skips.
    static constexpr char FILLER = ' ';

    TScriptWriter();
    ~TScriptWriter();
    TScriptWriter(const TScriptWriter&) = delete;
    TScriptWriter& operator=(const TScriptWriter&) = delete;

    void open(const char* FileName);
    void open(FILE* Stream, const char* Name); // a stream opened elsewhere, named Name; owned from here
    void close();
    void writeLn();
    void writeText(const char* Text);
    void writeString(const char* Text); // quoted, with \" \\ and \n
    void writeNumber(int32_t Number);
    int64_t written() const { return Written; } // bytes handed on since open

    char FileName[1024];

private:
    void put(const char* Data, size_t Size);

    FILE* File = nullptr;
    int64_t Written = 0;
};

// Reads a little-endian binary file; a short read is "out of data" with the file name as reason.
class TBinaryReader {
public:
    TBinaryReader();
    ~TBinaryReader();
    TBinaryReader(const TBinaryReader&) = delete;
    TBinaryReader& operator=(const TBinaryReader&) = delete;

    void open(const char* FileName);
    void close();
    void seek(int32_t Offset); // from the file's start
    bool eof();
    uint8_t readByte();
    uint16_t readWord();
    uint32_t readQuad();
    void readBytes(uint8_t* Buffer, int32_t Count);
    std::unique_ptr<char[]> readNewString(); // a 16-bit length and the characters, terminated here

    char FileName[1024];

private:
    void checkOpen() const;

    FILE* File = nullptr;
};

// Writes a little-endian binary file, creating or truncating it.
class TBinaryWriter {
public:
    // What a save in place puts after the content until its cut: the readers of the binary files saved
    // with SaveThroughTempFile stop where the content ends.
    static constexpr char FILLER = 0;

    TBinaryWriter();
    ~TBinaryWriter();
    TBinaryWriter(const TBinaryWriter&) = delete;
    TBinaryWriter& operator=(const TBinaryWriter&) = delete;

    void open(const char* FileName);
    void open(FILE* Stream, const char* Name); // a stream opened elsewhere, named Name; owned from here
    void close();
    void writeByte(uint8_t b);
    void writeWord(uint16_t w);
    void writeQuad(uint32_t q);
    void writeBytes(const uint8_t* Buffer, int32_t Count); // a Count of 0 writes nothing
    void writeString(const char* Text);                    // 16-bit length (modulo 65,536) and the characters
    int64_t written() const { return Written; }            // bytes handed on since open

    char FileName[1024];

private:
    void checkOpen() const;

    FILE* File = nullptr;
    int64_t Written = 0;
};

// Saves FileName so that a failed or interrupted save leaves the old content or the new one: Write fills a
// TWriter (TScriptWriter or TBinaryWriter) on a new file, which replaces the file FileName stands for as
// TFileReplacement does (in place where the directory refuses new files, with TWriter::FILLER after the
// content until the cut). False when that file exists but its mode refuses writing (the rename would
// replace it all the same), when neither a new file can be made beside it nor the file written in place,
// or Ready refused; a failed write throws TMyException. The new file is gone in every failure.
template <typename TWriter, typename TWrite>
bool SaveThroughTempFile(const char* FileName, TWrite&& Write, bool (*Ready)() = nullptr) {
    if (FileExists(FileName) && !IsFileWritable(FileName)) return false;
    TFileReplacement Replacement(FileName, TWriter::FILLER);
    FILE* Stream = Replacement.openStream();
    if (Stream == nullptr) return false;
    TWriter Writer;
    Writer.open(Stream, FileName);
    Write(Writer);
    Writer.close();
    return Replacement.commit(Writer.written(), Ready);
}
