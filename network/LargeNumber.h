// Unsigned-magnitude-and-sign integers of any size, with shared copy-on-write digits that are wiped on
// release.
#pragma once

#include <cstdint>

// One magnitude, shared by the numbers that copy it.
struct TDigitStore {
    uint32_t Length;     // digits in use; the top one is never 0 (0 digits for the value 0)
    uint32_t* Digits;    // base 2^32, least significant first; owned
    uint32_t Capacity;   // digits allocated
    uint32_t References; // holders besides the first
};

// Copies share the store; a change in place first gives the changed number a private copy. A store is wiped
// (every allocated digit) before it is freed, so released numbers leave no digits in freed memory.
// Failures are thrown as texts (std::string).
class TLargeNumber {
public:
    TLargeNumber();
    TLargeNumber(int Value); // stored as digit 0 with Sign 0
    TLargeNumber(const TLargeNumber& Other);
    TLargeNumber& operator=(const TLargeNumber& Other);
    virtual ~TLargeNumber();

    uint32_t getLength() const;
    uint32_t getDigit(uint32_t i) const; // 0 at or beyond the length
    // The one primitive through which single digits are stored; keeps the top digit non-zero.
    void setDigit(uint32_t i, uint32_t Value);
    uint32_t getSign() const { return Sign; }
    void setSign(uint32_t NewSign) { Sign = NewSign; }
    bool isZero() const { return getLength() == 0; }
    // Number of stores currently shared with this one, besides this holder (for tests of the sharing).
    uint32_t getReferences() const { return Store->References; }
    bool sharesStoreWith(const TLargeNumber& Other) const { return Store == Other.Store; }

    uint32_t bitLength() const;                   // of the magnitude
    int compare(const TLargeNumber& Other) const; // signed: -1, 0, 1
    static int compareMagnitude(const TLargeNumber& a, const TLargeNumber& b);

    TLargeNumber& operator+=(const TLargeNumber& Other);
    TLargeNumber& operator-=(const TLargeNumber& Other);
    TLargeNumber operator+(const TLargeNumber& Other) const;
    TLargeNumber operator-(const TLargeNumber& Other) const;
    TLargeNumber operator*(const TLargeNumber& Other) const;
    TLargeNumber operator/(const TLargeNumber& Divisor) const; // sign: XOR of the signs
    TLargeNumber operator%(const TLargeNumber& Divisor) const; // sign: the dividend's
    TLargeNumber operator+(int Value) const;
    TLargeNumber operator*(int Value) const;
    bool operator<(int Value) const;
    bool operator==(const TLargeNumber& Other) const { return compare(Other) == 0; }
    bool operator<(const TLargeNumber& Other) const { return compare(Other) < 0; }
    bool operator>=(const TLargeNumber& Other) const { return compare(Other) >= 0; }

    TLargeNumber shiftRight(uint32_t Bits) const;
    TLargeNumber shiftLeft(uint32_t Bits) const;
    // The product of the magnitudes modulo 2^Bits; sign the XOR of the signs.
    static TLargeNumber multiplyTruncated(const TLargeNumber& a, const TLargeNumber& b, uint32_t Bits);

private:
    void release();
    void makePrivate();
    void grow(uint32_t NewCapacity);
    // Gives this number a private, zeroed store of Length digits and returns them; normalize() afterwards.
    uint32_t* prepare(uint32_t Length);
    void normalize();
    static void divide(const TLargeNumber& Dividend, const TLargeNumber& Divisor, TLargeNumber* Quotient,
                       TLargeNumber* Remainder);
    static uint32_t divideStep(uint32_t* u, const uint32_t* v, uint32_t n);
    static TLargeNumber addMagnitudes(const TLargeNumber& a, const TLargeNumber& b);
    static TLargeNumber subtractMagnitudes(const TLargeNumber& Larger, const TLargeNumber& Smaller);

    TDigitStore* Store;
    uint32_t Sign; // 0 non-negative, 1 negative
};

// Big-endian bytes in groups of four; a short last group is filled with 0 bytes at its low end. Only the low
// 16 bits of Length count. Number becomes the value; its sign is left as it was.
void ByteArrayToLargeNumber(const uint8_t* pData, int Length, TLargeNumber& Number);
// The reverse: Length bytes, zero-filled in front; digits that do not fit are dropped.
void LargeNumberToByteArray(TLargeNumber Number, uint8_t* pData, int Length);
// Decimal digits up to the terminator; an empty text gives 0, anything else than a digit "digit out of
// range".
void DecimalToLargeNumber(const char* pDecimal, TLargeNumber& Number);
