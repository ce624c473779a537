// Latin-1 character classes and string helpers, the colour helpers and the little-endian message buffers.
#include "foundation/Utils.h"

#include <cstdio>
#include <cstring>

// ---- Character classes -------------------------------------------------------------------------------

bool IsSpace(int c) { return c == ' ' || c == '\f' || c == '\n' || c == '\r' || c == '\t' || c == '\v'; }

bool IsLetter(int c) {
    if (('a' <= c && c <= 'z') || ('A' <= c && c <= 'Z')) return true;
    // The Latin-1 letters, as signed bytes: ä ö ü Ä Ö Ü ß.
    switch (c) {
    case 0xE4 - 256:
    case 0xF6 - 256:
    case 0xFC - 256:
    case 0xC4 - 256:
    case 0xD6 - 256:
    case 0xDC - 256:
    case 0xDF - 256:
        return true;
    default:
        return false;
    }
}

bool IsDigit(int c) { return '0' <= c && c <= '9'; }

int ToLower(int c) {
    int Low = c & 0xFF;
    if (('A' <= c && c <= 'Z') || (0xC0 <= Low && Low <= 0xDE)) return c + 32;
    return c;
}

int ToUpper(int c) {
    int Low = c & 0xFF;
    if (('a' <= c && c <= 'z') || (0xE0 <= Low && Low <= 0xFE)) return c - 32;
    return c;
}

// ---- String helpers ----------------------------------------------------------------------------------

void LowerString(char* s) {
    CHECK_TEXT(s != nullptr, "s!=NULL");
    for (; *s != 0; s++)
        *s = ToLower(*s);
}

void CapitalizeWords(char* s) {
    CHECK_TEXT(s != nullptr, "s!=NULL");
    bool AfterLetter = false;
    for (; *s != 0; s++) {
        bool Letter = IsLetter(*s);
        if (Letter && !AfterLetter) *s = ToUpper(*s);
        AfterLetter = Letter;
    }
}

int CompareNoCase(const char* s1, const char* s2, int32_t n) {
    CHECK_TEXT(s1 != nullptr, "s1!=NULL");
    CHECK_TEXT(s2 != nullptr, "s2!=NULL");
    for (int32_t i = 0; n < 0 || i < n; i++) {
        int a = static_cast<signed char>(ToLower(s1[i]));
        int b = static_cast<signed char>(ToLower(s2[i]));
        if (a > b) return 1;
        if (a < b) return -1;
        if (s1[i] == 0) return 0;
    }
    return 0;
}

char* CopyString(char* Destination, const char* Source, int32_t n) {
    CHECK_TEXT(Destination != nullptr, "Destination!=NULL");
    CHECK_TEXT(Source != nullptr, "Source!=NULL");
    CHECK(n >= 1, n);
    int32_t i = 0;
    for (; i < n && Source[i] != 0; i++)
        Destination[i] = Source[i];
    for (; i < n; i++)
        Destination[i] = 0;
    Destination[n - 1] = 0;
    return Destination;
}

void CopyTrimmed(char* Destination, const char* Source) {
    CHECK_TEXT(Source != nullptr, "Source!=NULL");
    CHECK_TEXT(Destination != nullptr, "Destination!=NULL");
    while (*Source != 0 && IsSpace(*Source))
        Source++;
    size_t Length = strlen(Source);
    while (Length > 0 && IsSpace(Source[Length - 1]))
        Length--;
    memmove(Destination, Source, Length);
    Destination[Length] = 0;
}

bool ShortenText(char* Text, int32_t Length) {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    size_t L = strlen(Text);
    if (Length >= 0 && L <= static_cast<size_t>(Length)) return false;
    size_t p = Length < 3 ? 0 : static_cast<size_t>(Length) - 3;
    size_t d = L < 3 ? L : 3;
    memset(Text + p, '.', d);
    Text[p + d] = 0;
    return true;
}

char* FormatThousands(int32_t Number, char* Buffer) {
    CHECK_TEXT(Buffer != nullptr, "Buffer!=NULL");
    CHECK(Number >= 0, Number);
    char Digits[16];
    int Count = snprintf(Digits, sizeof(Digits), "%d", Number);
    char* Out = Buffer;
    for (int i = 0; i < Count; i++) {
        if (i > 0 && (Count - i) % 3 == 0) *Out++ = ',';
        *Out++ = Digits[i];
    }
    *Out = 0;
    return Buffer;
}

int32_t& Clamp(int32_t& Value, int32_t Bound1, int32_t Bound2) {
    int32_t Low = Bound1 > Bound2 ? Bound2 : Bound1;
    int32_t High = Bound1 > Bound2 ? Bound1 : Bound2;
    if (Value < Low) Value = Low;
    if (Value > High) Value = High;
    return Value;
}

void ApproachZero(int32_t& Offset, int64_t Duration, int64_t Remaining, int64_t Distance) {
    int64_t Size = Offset < 0 ? -int64_t{Offset} : Offset;
    int64_t Limit = Remaining * Distance;
    if (Duration * Size <= Limit) return;
    // Size was too large, so the largest fitting size is below it.
    int64_t Kept = Duration > 0 && Limit >= 0 ? Limit / Duration : 0;
    Offset = static_cast<int32_t>(Offset < 0 ? -Kept : Kept);
}

// ---- Colours -----------------------------------------------------------------------------------------

void HSVToRGB(double Hue, double Saturation, double Value, int32_t& Red, int32_t& Green, int32_t& Blue) {
    double r = Value, g = Value, b = Value;
    if (Value == 0) {
        r = g = b = 0;
    } else if (Saturation != 0) {
        double p = Value * (1 - Saturation);
        double Span = Value - p;
        if (Hue < 1.0 / 6) {
            r = Value, g = p + Span * Hue * 6, b = p;
        } else if (Hue < 2.0 / 6) {
            r = Value - Span * (Hue - 1.0 / 6) * 6, g = Value, b = p;
        } else if (Hue < 3.0 / 6) {
            r = p, g = Value, b = p + Span * (Hue - 2.0 / 6) * 6;
        } else if (Hue < 4.0 / 6) {
            r = p, g = Value - Span * (Hue - 3.0 / 6) * 6, b = Value;
        } else if (Hue < 5.0 / 6) {
            r = p + Span * (Hue - 4.0 / 6) * 6, g = p, b = Value;
        } else {
            r = Value, g = p, b = Value - Span * (Hue - 5.0 / 6) * 6;
        }
    }
    Red = static_cast<int32_t>(r * 255);
    Green = static_cast<int32_t>(g * 255);
    Blue = static_cast<int32_t>(b * 255);
}

void GetOutfitColor(int32_t Index, int32_t& Red, int32_t& Green, int32_t& Blue) {
    static const double RowSaturation[7] = {0.25, 0.25, 0.5, 0.667, 1.0, 1.0, 1.0};
    static const double RowValue[7] = {1.0, 0.75, 0.75, 0.75, 1.0, 0.75, 0.5};
    if (Index < 0 || Index >= 133) Index = 0;
    int32_t Row = Index / 19, Column = Index % 19;
    if (Column == 0)
        HSVToRGB(0, 0, 1 - Row * (1.0 / 7), Red, Green, Blue);
    else
        HSVToRGB(Column * (1.0 / 18), RowSaturation[Row], RowValue[Row], Red, Green, Blue);
}

TRGBColor::TRGBColor(int32_t Index) {
    Index = Clamp(Index, 0, 215);
    Red = Index / 36 * 51;
    Green = (Index / 6) % 6 * 51;
    Blue = Index % 6 * 51;
}

// ---- Message buffers ---------------------------------------------------------------------------------

TReadBuffer::TReadBuffer(const uint8_t* data, int32_t size) : Data(data), Size(size), Position(0) {
    CHECK_TEXT(data != nullptr, "data!=NULL");
    CHECK(size >= 0);
}

bool TReadBuffer::fits(int32_t Count) const {
    return Position >= 0 && Count <= Size && Position <= Size - Count;
}

uint8_t TReadBuffer::readByte() {
    CHECK_TEXT(fits(1), "Position<=Size-1", Position, Size);
    return Data[Position++];
}

uint16_t TReadBuffer::readWord() {
    CHECK_TEXT(fits(2), "Position<=Size-2", Position, Size);
    uint16_t w = LoadLE16(Data + Position);
    Position += 2;
    return w;
}

uint32_t TReadBuffer::readQuad() {
    CHECK_TEXT(fits(4), "Position<=Size-4", Position, Size);
    uint32_t q = LoadLE32(Data + Position);
    Position += 4;
    return q;
}

void TReadBuffer::readString(char* Buffer, int32_t MaxLength) {
    CHECK_TEXT(Buffer != nullptr, "Buffer!=NULL");
    CHECK(MaxLength != 0, MaxLength); // a limit of 0 leaves no room for the terminator
    int32_t Length = readWord();
    Buffer[0] = 0;
    if (Length == 0) return;
    CHECK_TEXT(fits(Length), "Position<=Size-Length", Position, Size - Length);
    int32_t Kept = MaxLength >= 0 && Length >= MaxLength ? MaxLength - 1 : Length;
    memcpy(Buffer, Data + Position, Kept);
    Buffer[Kept] = 0;
    Position += Length;
}

std::unique_ptr<char[]> TReadBuffer::readNewString() {
    int32_t Length = readWord();
    CHECK_TEXT(fits(Length), "Position<=Size-Length", Position, Size - Length);
    auto Text = std::make_unique<char[]>(Length + 1);
    memcpy(Text.get(), Data + Position, Length);
    Text[Length] = 0;
    Position += Length;
    return Text;
}

void TReadBuffer::readBytes(uint8_t* Buffer, int32_t Count) {
    CHECK_TEXT(Buffer != nullptr, "Buffer!=NULL");
    CHECK(Count >= 0, Count);
    CHECK_TEXT(fits(Count), "Position<=Size-Count", Position, Size - Count);
    memcpy(Buffer, Data + Position, Count);
    Position += Count;
}

TWriteBuffer::TWriteBuffer(uint8_t* data, int32_t size) : Data(data), Size(size), Position(0) {
    CHECK_TEXT(data != nullptr, "data!=NULL");
    CHECK(size >= 0);
}

bool TWriteBuffer::fits(int32_t Count) const {
    return Position >= 0 && Count <= Size && Position <= Size - Count;
}

void TWriteBuffer::writeByte(uint8_t b) {
    CHECK_TEXT(fits(1), "Position<=Size-1", Position, Size);
    Data[Position++] = b;
}

void TWriteBuffer::writeWord(uint16_t w) {
    CHECK_TEXT(fits(2), "Position<=Size-2", Position, Size);
    StoreLE16(Data + Position, w);
    Position += 2;
}

void TWriteBuffer::writeQuad(uint32_t q) {
    CHECK_TEXT(fits(4), "Position<=Size-4", Position, Size);
    StoreLE32(Data + Position, q);
    Position += 4;
}

void TWriteBuffer::writeString(const char* s) {
    CHECK_TEXT(s != nullptr, "s!=NULL");
    size_t Characters = strlen(s);
    CHECK(Characters <= 0xFFFF, Characters); // the length word could not carry it
    int32_t Length = static_cast<int32_t>(Characters);
    writeWord(static_cast<uint16_t>(Length));
    if (Length == 0) return;
    CHECK_TEXT(fits(Length), "Position<=Size-Length", Position, Size - Length);
    memcpy(Data + Position, s, Length);
    Position += Length;
}

void TWriteBuffer::writeBytes(const uint8_t* Buffer, int32_t Count) {
    CHECK_TEXT(Buffer != nullptr, "Buffer!=NULL");
    CHECK(Count >= 0, Count);
    CHECK_TEXT(fits(Count), "Position<=Size-Count", Position, Size - Count);
    memcpy(Data + Position, Buffer, Count);
    Position += Count;
}
