// Latin-1 character classes and string helpers, the colour helpers and the little-endian message buffers.
#pragma once

#include "foundation/Exception.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// Character classes take a byte as a signed 8-bit value widened to int: Latin-1 letters arrive as -128..-1.
// A caller passing 0..255 (a C library character read) gets false from IsLetter above 0x7F. The char
// overloads make the signed reading independent of the platform's char signedness.
bool IsSpace(int c);
bool IsLetter(int c); // a-z, A-Z and the Latin-1 letters ä ö ü Ä Ö Ü ß
bool IsDigit(int c);
// ASCII ranges are tested on the value, Latin-1 ranges on its low 8 bits; the result is the value +-32,
// so signed and unsigned forms map alike.
int ToLower(int c);
int ToUpper(int c);

inline int SignedByte(char c) { return static_cast<signed char>(c); }
inline bool IsSpace(char c) { return IsSpace(SignedByte(c)); }
inline bool IsLetter(char c) { return IsLetter(SignedByte(c)); }
inline bool IsDigit(char c) { return IsDigit(SignedByte(c)); }
inline char ToLower(char c) { return static_cast<char>(ToLower(SignedByte(c))); }
inline char ToUpper(char c) { return static_cast<char>(ToUpper(SignedByte(c))); }

// In-place helpers on terminated character arrays.
void LowerString(char* s);
void CapitalizeWords(char* s);
// Compares at most n characters without case (n < 0: the whole strings); bytes 0x80-0xFF order below ASCII.
// Returns -1, 0 or 1.
int CompareNoCase(const char* s1, const char* s2, int32_t n);
// n is the size of Destination (at least 1); a longer Source is cut to n - 1 characters, the rest of
// Destination is filled with terminators.
char* CopyString(char* Destination, const char* Source, int32_t n);
template <size_t N> char* CopyString(char (&Destination)[N], const char* Source) {
    static_assert(N <= INT32_MAX);
    return CopyString(Destination, Source, static_cast<int32_t>(N));
}
// Copies Source without leading and trailing white space; Destination holds strlen(Source) + 1 bytes.
void CopyTrimmed(char* Destination, const char* Source);
// Cuts a text longer than Length to Length characters ending in "..."; true when it changed the text.
bool ShortenText(char* Text, int32_t Length);
// Number >= 0 in decimal with ',' between groups of three digits; Buffer holds 14 bytes.
char* FormatThousands(int32_t Number, char* Buffer);
// Limits Value to the range between the bounds, which may come in either order.
int32_t& Clamp(int32_t& Value, int32_t Bound1, int32_t Bound2);
// Moves a pixel offset of a movement toward 0 so that |Offset| <= Distance * Remaining / Duration, in whole
// pixels; it never grows nor changes sign, and it becomes 0 when no size fits (Remaining < 0, Duration <= 0).
void ApproachZero(int32_t& Offset, int64_t Duration, int64_t Remaining, int64_t Distance);

// Hue, Saturation and Value in 0..1; components 0..255.
void HSVToRGB(double Hue, double Saturation, double Value, int32_t& Red, int32_t& Green, int32_t& Blue);
// Outfit colour 0..132 (7 rows of 19); larger indices count as 0.
void GetOutfitColor(int32_t Index, int32_t& Red, int32_t& Green, int32_t& Blue);

// A colour of the 6 x 6 x 6 cube, components in steps of 51.
struct TRGBColor {
    TRGBColor() = default;
    // Index 0..215; an index outside the cube (a server or file byte of 216 or more) is clamped to it.
    explicit TRGBColor(int32_t Index);

    int32_t Red = 0;
    int32_t Green = 0;
    int32_t Blue = 0;
};

// Little-endian numbers at p; the caller has made sure the bytes are there.
inline uint16_t LoadLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t LoadLE32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline void StoreLE16(uint8_t* p, uint16_t Value) {
    p[0] = static_cast<uint8_t>(Value);
    p[1] = static_cast<uint8_t>(Value >> 8);
}
inline void StoreLE32(uint8_t* p, uint32_t Value) {
    StoreLE16(p, static_cast<uint16_t>(Value));
    StoreLE16(p + 2, static_cast<uint16_t>(Value >> 16));
}

// Reads a message from a caller-owned block: little-endian numbers, strings as a 16-bit length and the
// characters without terminator. Every read is checked before a byte moves; 0 <= Position <= Size holds
// after each successful read. The caller may repoint Data, Size and Position directly.
class TReadBuffer {
public:
    TReadBuffer(const uint8_t* data, int32_t size);

    uint8_t readByte();
    uint16_t readWord();
    uint32_t readQuad();
    // Into an array of MaxLength bytes (MaxLength < 0: no limit; 0 is refused); a longer string is cut
    // to MaxLength - 1 characters and its rest skipped.
    void readString(char* Buffer, int32_t MaxLength);
    // A terminated copy of the string, owned by the caller.
    std::unique_ptr<char[]> readNewString();
    void readBytes(uint8_t* Buffer, int32_t Count);

    const uint8_t* Data;
    int32_t Size;
    int32_t Position;

private:
    bool fits(int32_t Count) const;
};

// Writes a message into a caller-owned block, with the same layout and checks as TReadBuffer.
class TWriteBuffer {
public:
    TWriteBuffer(uint8_t* data, int32_t size);

    void writeByte(uint8_t b);
    void writeWord(uint16_t w);
    void writeQuad(uint32_t q);
    // Strings of 65,536 characters or more are outside the format.
    void writeString(const char* s);
    void writeBytes(const uint8_t* Buffer, int32_t Count);

    uint8_t* Data;
    int32_t Size;
    int32_t Position;

private:
    bool fits(int32_t Count) const;
};
