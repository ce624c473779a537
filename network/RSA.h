// Modular exponentiation by Montgomery multiplication and the RSA public key of the login handshake.
#pragma once

#include "network/LargeNumber.h"

// The public exponent of every key, 65537.
extern const TLargeNumber PublicExponent;

// The numbers of Montgomery arithmetic for one odd modulus m: R = 2^k, the least power of two >= m. An even
// modulus throws the text "modulus is even".
struct TMontgomeryContext {
    explicit TMontgomeryContext(const TLargeNumber& Modulus);
    TLargeNumber m;
    TLargeNumber R;
    TLargeNumber NPrime; // -m^-1 mod R
    uint32_t k = 0;
};

// The Montgomery product a * b * R^-1 mod m of two residues below m; the result replaces a.
void MontgomeryMultiply(TLargeNumber& a, const TLargeNumber& b, const TMontgomeryContext& Context);

// Base^Exponent mod Modulus, for 0 <= Base < Modulus, Exponent >= 1 and an odd Modulus.
TLargeNumber ModularExponentiation(TLargeNumber Base, TLargeNumber Exponent, TLargeNumber Modulus);

// Raw RSA (c = p^65537 mod m) on one 128-byte big-endian block. Failures are thrown as texts (std::string).
class TRSAPublicKey {
public:
    TRSAPublicKey() = default;
    virtual ~TRSAPublicKey() = default;

    // Decimal text without sign, blank or separator.
    void setModulus(const char* ModulusM);
    // Replaces the 128 bytes at Data by their encipherment.
    void encrypt(uint8_t* Data) const;

private:
    TLargeNumber m_ModulusM;
};

inline constexpr int RSA_BLOCK_SIZE = 128;
