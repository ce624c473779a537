// Speed of our ciphers against independent ones on the same data: XTEA deciphering against libtomcrypt, the
// RSA block encipherment against OpenSSL's modular exponentiation with the same modulus.
#include "bench/BenchArguments.h"
#include "network/LoginKey.h"
#include "network/RSA.h"
#include "network/XTEA.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <openssl/bn.h>
#include <random>
#include <tomcrypt.h>
#include <vector>

namespace {

// Best time of one call over Rounds rounds of Repeats calls, in nanoseconds.
double BestNanoseconds(const std::function<void()>& Work, int Repeats, int Rounds) {
    double Best = 1e300;
    for (int Round = 0; Round < Rounds; Round++) {
        auto Start = std::chrono::steady_clock::now();
        for (int i = 0; i < Repeats; i++)
            Work();
        std::chrono::duration<double, std::nano> Took = std::chrono::steady_clock::now() - Start;
        Best = std::min(Best, Took.count() / Repeats);
    }
    return Best;
}

std::vector<uint8_t> RandomBytes(size_t Count, uint32_t Seed) {
    std::mt19937 Random(Seed);
    std::vector<uint8_t> Bytes(Count);
    for (uint8_t& b : Bytes)
        b = static_cast<uint8_t>(Random());
    return Bytes;
}

void BenchXTEA() {
    const int Blocks = 2048; // one full receive buffer of 16,384 bytes
    std::vector<uint8_t> Key = RandomBytes(16, 1), Data = RandomBytes(8 * Blocks, 2), Work(Data.size());
    TXTEACipher Ours;
    Ours.setKey(Key.data());
    symmetric_key Theirs;
    xtea_setup(Key.data(), 16, 32, &Theirs);

    auto DecipherOurs = [&] {
        std::copy(Data.begin(), Data.end(), Work.begin());
        Ours.decryptBlocks(Work.data(), Blocks);
    };
    auto DecipherTheirs = [&] {
        std::copy(Data.begin(), Data.end(), Work.begin());
        for (int i = 0; i < Blocks; i++)
            xtea_ecb_decrypt(Work.data() + 8 * i, Work.data() + 8 * i, &Theirs);
    };
    double OursNs = 0, TheirsNs = 0;
    for (int Pass = 0; Pass < 3; Pass++) { // interleaved, so both see the same machine state
        OursNs = Pass == 0 ? BestNanoseconds(DecipherOurs, 200, 5)
                           : std::min(OursNs, BestNanoseconds(DecipherOurs, 200, 5));
        TheirsNs = Pass == 0 ? BestNanoseconds(DecipherTheirs, 200, 5)
                             : std::min(TheirsNs, BestNanoseconds(DecipherTheirs, 200, 5));
    }
    double MiB = Data.size() / 1048576.0;
    std::printf(
        "XTEA decipher, 16 KiB buffer: ours %.1f MiB/s, libtomcrypt %.1f MiB/s, time ratio ours/theirs "
        "%.2f\n",
        MiB / (OursNs * 1e-9), MiB / (TheirsNs * 1e-9), OursNs / TheirsNs);
}

void BenchRSA() {
    TRSAPublicKey Key;
    Key.setModulus(LOGIN_RSA_MODULUS);
    std::vector<uint8_t> Plain = RandomBytes(128, 3), Block(128);
    Plain[0] = 0;

    BN_CTX* Context = BN_CTX_new();
    BIGNUM *Modulus = nullptr, *Exponent = BN_new(), *Base = BN_bin2bn(Plain.data(), 128, nullptr),
           *Result = BN_new();
    BN_dec2bn(&Modulus, LOGIN_RSA_MODULUS);
    BN_set_word(Exponent, 65537);

    auto EncipherOurs = [&] {
        std::copy(Plain.begin(), Plain.end(), Block.begin());
        Key.encrypt(Block.data());
    };
    auto EncipherTheirs = [&] { BN_mod_exp(Result, Base, Exponent, Modulus, Context); };
    double OursNs = BestNanoseconds(EncipherOurs, 20, 5);
    double TheirsNs = BestNanoseconds(EncipherTheirs, 200, 5);
    OursNs = std::min(OursNs, BestNanoseconds(EncipherOurs, 20, 5));

    std::vector<uint8_t> Check(128);
    BN_bn2binpad(Result, Check.data(), 128);
    EncipherOurs();
    std::printf(
        "RSA block encipher (1024 bits, e = 65537): ours %.1f us, OpenSSL BN_mod_exp %.1f us, time ratio "
        "ours/theirs %.1f%s\n",
        OursNs / 1000, TheirsNs / 1000, OursNs / TheirsNs, Check == Block ? "" : " (RESULTS DIFFER)");
    for (BIGNUM* Number : {Modulus, Exponent, Base, Result})
        BN_free(Number);
    BN_CTX_free(Context);
}

} // namespace

int main(int argc, char** argv) {
    TBenchArguments(
        argc, argv,
        "usage: bench_crypto\n"
        "Times our XTEA deciphering against libtomcrypt's and our RSA block encipherment against\n"
        "OpenSSL's on the same data. Takes no arguments.\n",
        {});
    BenchXTEA();
    BenchRSA();
    return 0;
}
