// Montgomery exponentiation and the RSA public key.
#include "network/RSA.h"

#include <string>

const TLargeNumber PublicExponent(65537);

TLargeNumber ModularInverse(const TLargeNumber& Value, const TLargeNumber& Modulus) {
    TLargeNumber r0 = Modulus, r1 = Value % Modulus, t0(0), t1(1);
    while (!r1.isZero()) {
        TLargeNumber q = r0 / r1;
        TLargeNumber r2 = r0 - q * r1, t2 = t0 - q * t1;
        r0 = r1;
        r1 = r2;
        t0 = t1;
        t1 = t2;
    }
    if (!(r0 == TLargeNumber(1))) throw std::string("no modular inverse");
    if (t0 < 0) t0 += Modulus;
    return t0;
}

TMontgomeryContext::TMontgomeryContext(const TLargeNumber& Modulus) : m(Modulus), R(1) {
    while (R < m) {
        R = R + R;
        k++;
    }
    RInverse = ModularInverse(R - m, m);
    NPrime = R - ModularInverse(m, R);
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
    return A * Context.RInverse % Modulus;
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
