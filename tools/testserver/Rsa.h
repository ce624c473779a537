// The login servers' private RSA key: raw (unpadded) deciphering of the 128-byte login block.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

typedef struct evp_pkey_st EVP_PKEY;

namespace testserver {

inline constexpr size_t RSA_BLOCK_SIZE = 128;
using TRsaBlock = std::array<uint8_t, RSA_BLOCK_SIZE>;

class TRsaPrivateKey {
public:
    // Pem: a PEM private key of 1,024 bits. Throws TWireError when it cannot be read or has another size.
    explicit TRsaPrivateKey(std::string_view Pem);
    ~TRsaPrivateKey();
    TRsaPrivateKey(const TRsaPrivateKey&) = delete;
    TRsaPrivateKey& operator=(const TRsaPrivateKey&) = delete;

    // c^d mod m as 128 big-endian bytes; throws TWireError when the block is not below the modulus.
    TRsaBlock decipher(std::span<const uint8_t, RSA_BLOCK_SIZE> Cipher) const;

private:
    EVP_PKEY* Key = nullptr;
};

// The key pair of tools/testserver/keys, built in so that the server runs from any directory.
std::string_view DefaultPrivateKeyPem();

} // namespace testserver
