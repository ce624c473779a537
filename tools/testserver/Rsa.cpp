// Raw RSA deciphering of the login block with OpenSSL.
#include "tools/testserver/Rsa.h"

#include "tools/testserver/Wire.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <memory>

namespace testserver {

namespace {

struct TContextFree {
    void operator()(EVP_PKEY_CTX* Context) const { EVP_PKEY_CTX_free(Context); }
};

} // namespace

TRsaPrivateKey::TRsaPrivateKey(std::string_view Pem) {
    std::unique_ptr<BIO, decltype(&BIO_free)> Input(BIO_new_mem_buf(Pem.data(), static_cast<int>(Pem.size())),
                                                    BIO_free);
    if (Input) Key = PEM_read_bio_PrivateKey(Input.get(), nullptr, nullptr, nullptr);
    if (Key == nullptr) throw TWireError("RSA private key cannot be read");
    if (EVP_PKEY_get_size(Key) != static_cast<int>(RSA_BLOCK_SIZE)) {
        EVP_PKEY_free(Key);
        throw TWireError("RSA private key is not of 1,024 bits");
    }
}

TRsaPrivateKey::~TRsaPrivateKey() { EVP_PKEY_free(Key); }

TRsaBlock TRsaPrivateKey::decipher(std::span<const uint8_t, RSA_BLOCK_SIZE> Cipher) const {
    std::unique_ptr<EVP_PKEY_CTX, TContextFree> Context(EVP_PKEY_CTX_new(Key, nullptr));
    TRsaBlock Plain{};
    size_t Length = Plain.size();
    if (!Context || EVP_PKEY_decrypt_init(Context.get()) <= 0 ||
        EVP_PKEY_CTX_set_rsa_padding(Context.get(), RSA_NO_PADDING) <= 0 ||
        EVP_PKEY_decrypt(Context.get(), Plain.data(), &Length, Cipher.data(), Cipher.size()) <= 0 ||
        Length != Plain.size())
        throw TWireError("RSA block cannot be deciphered");
    return Plain;
}

} // namespace testserver
