// Big numbers: shared copy-on-write digit stores, signed arithmetic and the byte and decimal conversions.
#include "network/LargeNumber.h"

#include <string.h>
#include <string>

namespace {

TDigitStore* NewStore(uint32_t Capacity) {
    auto* Store = new TDigitStore{0, nullptr, Capacity, 0};
    Store->Digits = Capacity > 0 ? new uint32_t[Capacity]() : nullptr;
    return Store;
}

// explicit_bzero is not optimised away although the digits are freed right after.
void WipeDigits(uint32_t* Digits, uint32_t Count) {
    if (Digits != nullptr) explicit_bzero(Digits, static_cast<size_t>(Count) * sizeof(uint32_t));
}

// A small signed value as sign and magnitude (the int constructor keeps the bits with Sign 0).
TLargeNumber SignedNumber(int Value) {
    uint32_t Magnitude = Value < 0 ? 0u - static_cast<uint32_t>(Value) : static_cast<uint32_t>(Value);
    TLargeNumber Number(static_cast<int>(Magnitude));
    Number.setSign(Value < 0 ? 1 : 0);
    return Number;
}

} // namespace

TLargeNumber::TLargeNumber() : Store(NewStore(0)), Sign(0) {}

TLargeNumber::TLargeNumber(int Value) : Store(NewStore(1)), Sign(0) {
    setDigit(0, static_cast<uint32_t>(Value));
}

TLargeNumber::TLargeNumber(const TLargeNumber& Other) : Store(Other.Store), Sign(Other.Sign) {
    Store->References++;
}

TLargeNumber& TLargeNumber::operator=(const TLargeNumber& Other) {
    if (Store == Other.Store) {
        Sign = Other.Sign;
        return *this;
    }
    Other.Store->References++;
    release();
    Store = Other.Store;
    Sign = Other.Sign;
    return *this;
}

TLargeNumber::~TLargeNumber() { release(); }

void TLargeNumber::release() {
    if (Store->References > 0) {
        Store->References--;
    } else {
        WipeDigits(Store->Digits, Store->Capacity);
        delete[] Store->Digits;
        delete Store;
    }
    Store = nullptr;
}

void TLargeNumber::makePrivate() {
    if (Store->References == 0) return;
    TDigitStore* Copy = NewStore(Store->Length);
    for (uint32_t i = 0; i < Store->Length; i++)
        Copy->Digits[i] = Store->Digits[i];
    Copy->Length = Store->Length;
    Store->References--;
    Store = Copy;
}

void TLargeNumber::grow(uint32_t NewCapacity) {
    uint32_t* Digits = new uint32_t[NewCapacity]();
    for (uint32_t i = 0; i < Store->Length; i++)
        Digits[i] = Store->Digits[i];
    // The old digits are wiped as well: a growing key must not leave a shorter copy of itself behind.
    WipeDigits(Store->Digits, Store->Capacity);
    delete[] Store->Digits;
    Store->Digits = Digits;
    Store->Capacity = NewCapacity;
}

uint32_t* TLargeNumber::prepare(uint32_t Length) {
    if (Store->References > 0 || Store->Capacity < Length) {
        release();
        Store = NewStore(Length);
    } else {
        WipeDigits(Store->Digits, Store->Capacity);
    }
    Store->Length = Length;
    return Store->Digits;
}

void TLargeNumber::normalize() {
    while (Store->Length > 0 && Store->Digits[Store->Length - 1] == 0)
        Store->Length--;
    if (Store->Length == 0) Sign = 0;
}

uint32_t TLargeNumber::getLength() const { return Store->Length; }

uint32_t TLargeNumber::getDigit(uint32_t i) const { return i < Store->Length ? Store->Digits[i] : 0; }

void TLargeNumber::setDigit(uint32_t i, uint32_t Value) {
    if (i >= Store->Length && Value == 0) return;
    makePrivate();
    if (i >= Store->Length) {
        if (i + 1 > Store->Capacity) grow(i + 1);
        for (uint32_t k = Store->Length; k < i; k++)
            Store->Digits[k] = 0;
        Store->Digits[i] = Value;
        Store->Length = i + 1;
        return;
    }
    Store->Digits[i] = Value;
    if (Value == 0) normalize();
}

uint32_t TLargeNumber::bitLength() const {
    uint32_t Length = Store->Length;
    if (Length == 0) return 0;
    return 32 * (Length - 1) + (32 - static_cast<uint32_t>(__builtin_clz(Store->Digits[Length - 1])));
}

int TLargeNumber::compareMagnitude(const TLargeNumber& a, const TLargeNumber& b) {
    if (a.getLength() != b.getLength()) return a.getLength() < b.getLength() ? -1 : 1;
    for (uint32_t i = a.getLength(); i-- > 0;) {
        uint32_t x = a.Store->Digits[i], y = b.Store->Digits[i];
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

int TLargeNumber::compare(const TLargeNumber& Other) const {
    bool Negative = Sign == 1 && !isZero(), OtherNegative = Other.Sign == 1 && !Other.isZero();
    if (Negative != OtherNegative) return Negative ? -1 : 1;
    int Magnitude = compareMagnitude(*this, Other);
    return Negative ? -Magnitude : Magnitude;
}

TLargeNumber TLargeNumber::addMagnitudes(const TLargeNumber& a, const TLargeNumber& b) {
    uint32_t Length = (a.getLength() > b.getLength() ? a.getLength() : b.getLength()) + 1;
    TLargeNumber Sum;
    uint32_t* Digits = Sum.prepare(Length);
    uint64_t Carry = 0;
    for (uint32_t i = 0; i < Length; i++) {
        Carry += static_cast<uint64_t>(a.getDigit(i)) + b.getDigit(i);
        Digits[i] = static_cast<uint32_t>(Carry);
        Carry >>= 32;
    }
    Sum.normalize();
    return Sum;
}

TLargeNumber TLargeNumber::subtractMagnitudes(const TLargeNumber& Larger, const TLargeNumber& Smaller) {
    TLargeNumber Difference;
    uint32_t* Digits = Difference.prepare(Larger.getLength());
    int64_t Borrow = 0;
    for (uint32_t i = 0; i < Larger.getLength(); i++) {
        int64_t Value = static_cast<int64_t>(Larger.Store->Digits[i]) - Smaller.getDigit(i) - Borrow;
        Borrow = Value < 0 ? 1 : 0;
        Digits[i] = static_cast<uint32_t>(Value + (Borrow << 32));
    }
    Difference.normalize();
    return Difference;
}

TLargeNumber TLargeNumber::operator+(const TLargeNumber& Other) const {
    bool Negative = Sign == 1, OtherNegative = Other.Sign == 1;
    TLargeNumber Result;
    if (Negative == OtherNegative) {
        Result = addMagnitudes(*this, Other);
        Result.Sign = Negative ? 1 : 0;
    } else if (compareMagnitude(*this, Other) >= 0) {
        Result = subtractMagnitudes(*this, Other);
        Result.Sign = Negative ? 1 : 0;
    } else {
        Result = subtractMagnitudes(Other, *this);
        Result.Sign = OtherNegative ? 1 : 0;
    }
    Result.normalize();
    return Result;
}

TLargeNumber TLargeNumber::operator-(const TLargeNumber& Other) const {
    TLargeNumber Negated(Other);
    Negated.Sign = Other.Sign == 1 ? 0 : 1;
    return *this + Negated;
}

TLargeNumber& TLargeNumber::operator+=(const TLargeNumber& Other) { return *this = *this + Other; }

TLargeNumber& TLargeNumber::operator-=(const TLargeNumber& Other) { return *this = *this - Other; }

TLargeNumber TLargeNumber::multiplyTruncated(const TLargeNumber& a, const TLargeNumber& b, uint32_t Bits) {
    uint32_t Length = (Bits + 31) / 32;
    TLargeNumber Product;
    uint32_t* Digits = Product.prepare(Length);
    for (uint32_t i = 0; i < a.getLength() && i < Length; i++) {
        uint64_t Carry = 0, x = a.Store->Digits[i];
        for (uint32_t j = 0; j < b.getLength() && i + j < Length; j++) {
            Carry += x * b.Store->Digits[j] + Digits[i + j];
            Digits[i + j] = static_cast<uint32_t>(Carry);
            Carry >>= 32;
        }
        if (i + b.getLength() < Length) Digits[i + b.getLength()] = static_cast<uint32_t>(Carry);
    }
    if (Bits % 32 != 0 && Length > 0) Digits[Length - 1] &= (1u << (Bits % 32)) - 1;
    Product.normalize();
    Product.Sign = Product.isZero() ? 0 : (a.Sign ^ b.Sign);
    return Product;
}

TLargeNumber TLargeNumber::operator*(const TLargeNumber& Other) const {
    return multiplyTruncated(*this, Other, bitLength() + Other.bitLength());
}

TLargeNumber TLargeNumber::shiftRight(uint32_t Bits) const {
    uint32_t Words = Bits / 32, Rest = Bits % 32;
    TLargeNumber Result;
    if (Words >= getLength()) return Result;
    uint32_t Length = getLength() - Words;
    uint32_t* Digits = Result.prepare(Length);
    for (uint32_t i = 0; i < Length; i++) {
        uint64_t Pair = static_cast<uint64_t>(getDigit(i + Words + 1)) << 32 | getDigit(i + Words);
        Digits[i] = static_cast<uint32_t>(Pair >> Rest);
    }
    Result.Sign = Sign;
    Result.normalize();
    return Result;
}

TLargeNumber TLargeNumber::shiftLeft(uint32_t Bits) const {
    uint32_t Words = Bits / 32, Rest = Bits % 32;
    TLargeNumber Result;
    if (isZero()) return Result;
    uint32_t Length = getLength() + Words + 1;
    uint32_t* Digits = Result.prepare(Length);
    for (uint32_t i = 0; i <= getLength(); i++) {
        uint64_t Pair = static_cast<uint64_t>(getDigit(i)) << 32 | (i > 0 ? getDigit(i - 1) : 0);
        Digits[i + Words] = static_cast<uint32_t>(Pair >> (32 - Rest));
    }
    Result.Sign = Sign;
    Result.normalize();
    return Result;
}

// Long division of the magnitudes by whole digits (Knuth's algorithm D): both numbers are shifted so that the
// divisor's top bit is set, each quotient digit is estimated from the top two digits and corrected at most
// twice.
void TLargeNumber::divide(const TLargeNumber& Dividend, const TLargeNumber& Divisor, TLargeNumber* Quotient,
                          TLargeNumber* Remainder) {
    if (Divisor.isZero()) throw std::string("division by zero");
    TLargeNumber Digits, Rest;
    if (compareMagnitude(Dividend, Divisor) < 0) {
        Rest = Dividend;
    } else {
        uint32_t n = Divisor.getLength(), m = Dividend.getLength() - n;
        uint32_t Shift = static_cast<uint32_t>(__builtin_clz(Divisor.Store->Digits[n - 1]));
        TLargeNumber U = Dividend.shiftLeft(Shift), V = Divisor.shiftLeft(Shift);
        U.makePrivate();
        if (U.Store->Capacity < m + n + 1) U.grow(m + n + 1);
        uint32_t *u = U.Store->Digits, *q = Digits.prepare(m + 1);
        const uint32_t* v = V.Store->Digits;
        for (uint32_t i = U.Store->Length; i < m + n + 1; i++)
            u[i] = 0;
        for (uint32_t j = m + 1; j-- > 0;)
            q[j] = divideStep(u + j, v, n);
        U.Store->Length = n;
        U.normalize();
        Rest = U.shiftRight(Shift);
        Digits.normalize();
    }
    if (Quotient != nullptr) {
        *Quotient = Digits;
        Quotient->Sign = Digits.isZero() ? 0 : (Dividend.Sign ^ Divisor.Sign);
    }
    if (Remainder != nullptr) {
        *Remainder = Rest;
        Remainder->Sign = Rest.isZero() ? 0 : Dividend.Sign;
    }
}

// One quotient digit of the n + 1 digits at u by the n normalised digits at v; u keeps the remainder.
uint32_t TLargeNumber::divideStep(uint32_t* u, const uint32_t* v, uint32_t n) {
    constexpr uint64_t BASE = 1ull << 32;
    uint64_t Top = static_cast<uint64_t>(u[n]) << 32 | u[n - 1];
    uint64_t Estimate = Top / v[n - 1], Rest = Top % v[n - 1];
    while (Estimate >= BASE || (n > 1 && Estimate * v[n - 2] > (Rest << 32 | u[n - 2]))) {
        Estimate--;
        Rest += v[n - 1];
        if (Rest >= BASE) break;
    }
    int64_t Borrow = 0;
    uint64_t Carry = 0;
    for (uint32_t i = 0; i < n; i++) {
        uint64_t Product = Estimate * v[i] + Carry;
        Carry = Product >> 32;
        int64_t Difference =
            static_cast<int64_t>(u[i]) - static_cast<int64_t>(Product & 0xFFFFFFFFu) - Borrow;
        u[i] = static_cast<uint32_t>(Difference);
        Borrow = Difference < 0 ? 1 : 0;
    }
    int64_t Difference = static_cast<int64_t>(u[n]) - static_cast<int64_t>(Carry) - Borrow;
    u[n] = static_cast<uint32_t>(Difference);
    if (Difference >= 0) return static_cast<uint32_t>(Estimate);
    // The estimate was one too large: add the divisor back.
    uint64_t Sum = 0;
    for (uint32_t i = 0; i < n; i++) {
        Sum += static_cast<uint64_t>(u[i]) + v[i];
        u[i] = static_cast<uint32_t>(Sum);
        Sum >>= 32;
    }
    u[n] += static_cast<uint32_t>(Sum);
    return static_cast<uint32_t>(Estimate - 1);
}

TLargeNumber TLargeNumber::operator/(const TLargeNumber& Divisor) const {
    TLargeNumber Quotient;
    divide(*this, Divisor, &Quotient, nullptr);
    return Quotient;
}

TLargeNumber TLargeNumber::operator%(const TLargeNumber& Divisor) const {
    TLargeNumber Remainder;
    divide(*this, Divisor, nullptr, &Remainder);
    return Remainder;
}

TLargeNumber TLargeNumber::operator+(int Value) const { return *this + SignedNumber(Value); }

TLargeNumber TLargeNumber::operator*(int Value) const { return *this * SignedNumber(Value); }

bool TLargeNumber::operator<(int Value) const { return compare(SignedNumber(Value)) < 0; }

void ByteArrayToLargeNumber(const uint8_t* pData, int Length, TLargeNumber& Number) {
    if (pData == nullptr) throw std::string("pData pointer is NULL");
    uint32_t Bytes = static_cast<uint32_t>(Length) & 0xFFFF, Groups = (Bytes + 3) / 4;
    uint32_t Sign = Number.getSign();
    Number = TLargeNumber();
    Number.setSign(Sign);
    for (uint32_t g = 0; g < Groups; g++) {
        uint32_t Digit = 0;
        for (uint32_t k = 0; k < 4; k++) {
            uint32_t i = 4 * g + k;
            Digit = Digit << 8 | (i < Bytes ? pData[i] : 0);
        }
        Number.setDigit(Groups - 1 - g, Digit);
    }
}

void LargeNumberToByteArray(TLargeNumber Number, uint8_t* pData, int Length) {
    if (pData == nullptr) throw std::string("pData pointer is NULL");
    uint32_t Bytes = static_cast<uint32_t>(Length) & 0xFFFF, Groups = (Bytes + 3) / 4;
    for (uint32_t i = 0; i < Bytes; i++)
        pData[i] = 0;
    for (uint32_t g = 0; g < Groups; g++) {
        uint32_t Digit = Number.getDigit(Groups - 1 - g);
        for (uint32_t k = 0; k < 4 && 4 * g + k < Bytes; k++)
            pData[4 * g + k] = static_cast<uint8_t>(Digit >> (24 - 8 * k));
    }
}

void DecimalToLargeNumber(const char* pDecimal, TLargeNumber& Number) {
    if (pDecimal == nullptr) throw std::string("pDecimal pointer is NULL");
    Number = TLargeNumber();
    for (const char* c = pDecimal; *c != 0; c++) {
        if (*c < '0' || *c > '9') throw std::string("digit out of range");
        Number = Number * 10 + (*c - '0');
    }
}
