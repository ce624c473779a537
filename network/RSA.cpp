// Montgomery exponentiation and the RSA public key.
#include "network/RSA.h"

#include <string>

const TLargeNumber PublicExponent(65537);

namespace {

// -m^-1 mod R. Newton's step x := x * (2 - m * x) doubles the number of low bits in which m * x is 1,
// starting from x = 1, which is right in the lowest bit for an odd m.
TLargeNumber NegativeInverse(const TLargeNumber& m, const TLargeNumber& R, uint32_t k) {
    TLargeNumber Inverse(1);
    for (uint32_t Bits = 1; Bits < k;) {
        Bits = Bits * 2 < k ? Bits * 2 : k;
        TLargeNumber Product = TLargeNumber::multiplyTruncated(m, Inverse, Bits);
        TLargeNumber Correction = TLargeNumber(1).shiftLeft(Bits) + 2 - Product;
        Inverse = TLargeNumber::multiplyTruncated(Inverse, Correction, Bits);
    }
    return R - Inverse;
}

} // namespace

TMontgomeryContext::TMontgomeryContext(const TLargeNumber& Modulus) : m(Modulus), R(1) {
    if ((m.getDigit(0) & 1) == 0) throw std::string("modulus is even");
    // The least power of two that is not below m: 2^(bit length of m), or half of it when m is a power of
    // two.
    k = m.bitLength();
    R = R.shiftLeft(k);
    if (k > 0 && R.shiftRight(1) >= m) {
        k--;
        R = R.shiftRight(1);
    }
    NPrime = NegativeInverse(m, R, k);
}

void MontgomeryMultiply(TLargeNumber& a, const TLargeNumber& b, const TMontgomeryContext& Context) {
    TLargeNumber T = TLargeNumber::multiplyTruncated(a, b, 2 * Context.k);
    TLargeNumber U = TLargeNumber::multiplyTruncated(T, Context.NPrime, Context.k);
    a = TLargeNumber::multiplyTruncated(U, Context.m, 2 * Context.k);
    a += T;
    a = a.shiftRight(Context.k);
    if (a >= Context.m) a -= Context.m;
}

TLargeNumber ModularExponentiation(TLargeNumber Base, TLargeNumber Exponent, TLargeNumber Modulus) {
    TMontgomeryContext Context(Modulus);
    TLargeNumber P = Base * Context.R % Modulus;
    TLargeNumber A = Context.R - Modulus;
    uint32_t Top = Exponent.bitLength();
    for (uint32_t i = 0; i < Top; i++) {
        if ((Exponent.getDigit(i / 32) >> (i % 32) & 1) != 0) MontgomeryMultiply(A, P, Context);
        if (i + 1 < Top) MontgomeryMultiply(P, P, Context);
    }
    MontgomeryMultiply(A, TLargeNumber(1), Context); // A * R^-1 mod m
    return A;
}

void TRSAPublicKey::setModulus(const char* ModulusM) {
    if (ModulusM == nullptr) throw std::string("ModulusM pointer is NULL");
    try {
        DecimalToLargeNumber(ModulusM, m_ModulusM);
    } catch (const std::string& Reason) {
        throw "failed to convert decimal text to large number, reason: " + Reason;
    }
}

void TRSAPublicKey::encrypt(uint8_t* Data) const {
    if (Data == nullptr) throw std::string("Data pointer is NULL");
    if (m_ModulusM.isZero()) throw std::string("m_ModulusM is null");
    if (Data[0] > 127)
        throw std::string("first byte of data is larger than 127 which violates the condition 'plain < m'");
    TLargeNumber Plain;
    try {
        ByteArrayToLargeNumber(Data, RSA_BLOCK_SIZE, Plain);
    } catch (const std::string& Reason) {
        throw "failed to convert byte array to large number, reason: " + Reason;
    }
    if (Plain >= m_ModulusM)
        throw std::string("Plain is not smaller than m_ModulusM which violates the condition 'plain < m'");
    TLargeNumber Cipher = ModularExponentiation(Plain, PublicExponent, m_ModulusM);
    try {
        LargeNumberToByteArray(Cipher, Data, RSA_BLOCK_SIZE);
    } catch (const std::string& Reason) {
        throw "failed to convert large number to byte array, reason: " + Reason;
    }
}
