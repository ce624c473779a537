// Tests of the big numbers and RSA: conversions, sign rules, sharing, and exponentiation against OpenSSL.
#include "network/RSA.h"
#include "network/LoginKey.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <random>
#include <string>
#include <vector>

namespace {

TLargeNumber FromDecimal(const char* Text) {
    TLargeNumber Number;
    DecimalToLargeNumber(Text, Number);
    return Number;
}

std::string ThrownText(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const std::string& Text) {
        return Text;
    }
    return "";
}

std::vector<uint8_t> Bytes(const TLargeNumber& Number, int Length) {
    std::vector<uint8_t> Out(static_cast<size_t>(Length));
    LargeNumberToByteArray(Number, Out.data(), Length);
    return Out;
}

// The OpenSSL value of a number, through its big-endian bytes.
BIGNUM* ToBignum(const TLargeNumber& Number) {
    std::vector<uint8_t> Out = Bytes(Number, 4 * static_cast<int>(Number.getLength()) + 4);
    return BN_bin2bn(Out.data(), static_cast<int>(Out.size()), nullptr);
}

std::vector<uint8_t> RandomBelowModulus(std::mt19937& Random) {
    std::vector<uint8_t> Block(128);
    for (uint8_t& b : Block)
        b = static_cast<uint8_t>(Random());
    Block[0] &= 0x7F;
    return Block;
}

} // namespace

TEST(LargeNumber, BytesRoundTripAndShortValuesComeBackZeroFilledInFront) {
    std::mt19937 Random(3);
    std::vector<uint8_t> Block(128);
    for (uint8_t& b : Block)
        b = static_cast<uint8_t>(Random());
    TLargeNumber Number;
    ByteArrayToLargeNumber(Block.data(), 128, Number);
    EXPECT_EQ(Bytes(Number, 128), Block);

    std::vector<uint8_t> Short = {0x01, 0x02, 0x03};
    ByteArrayToLargeNumber(Short.data(), 3, Number);
    EXPECT_EQ(Number.getDigit(0), 0x01020300u) << "a short last group is filled at its low end";
    std::vector<uint8_t> Expected(8, 0);
    Expected[4] = 0x01;
    Expected[5] = 0x02;
    Expected[6] = 0x03;
    EXPECT_EQ(Bytes(TLargeNumber(0x01020300), 8), Expected);
    EXPECT_EQ(Bytes(TLargeNumber(0x01020304), 2), (std::vector<uint8_t>{0x01, 0x02}))
        << "digits that do not fit";
}

TEST(LargeNumber, DecimalConversion) {
    EXPECT_TRUE(FromDecimal("0").isZero());
    EXPECT_TRUE(FromDecimal("").isZero());
    EXPECT_EQ(Bytes(FromDecimal("4294967296"), 8), (std::vector<uint8_t>{0, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(ThrownText([] { FromDecimal("12a4"); }), "digit out of range");
    EXPECT_EQ(ThrownText([] { FromDecimal("-1"); }), "digit out of range");
    EXPECT_EQ(ThrownText([] { FromDecimal(nullptr); }), "pDecimal pointer is NULL");
    TLargeNumber Target;
    EXPECT_EQ(ThrownText([&] { ByteArrayToLargeNumber(nullptr, 4, Target); }), "pData pointer is NULL");
}

TEST(LargeNumber, SignedArithmetic) {
    TLargeNumber Five(5), Three(3), Eight(8);
    TLargeNumber MinusTwo = Three - Five;
    EXPECT_EQ(MinusTwo.getSign(), 1u);
    EXPECT_EQ(MinusTwo.getDigit(0), 2u);
    EXPECT_TRUE((MinusTwo + 2).isZero());
    EXPECT_EQ((MinusTwo + 2).getSign(), 0u) << "zero is never negative";
    EXPECT_TRUE(MinusTwo < 0);
    EXPECT_TRUE(MinusTwo < Three);
    EXPECT_EQ((MinusTwo * Three).compare(TLargeNumber(0) + (-6)), 0);
    TLargeNumber MinusSeven = TLargeNumber(0) + (-7);
    EXPECT_EQ((MinusSeven / TLargeNumber(2)).compare(TLargeNumber(0) + (-3)), 0);
    EXPECT_EQ((MinusSeven % TLargeNumber(2)).compare(TLargeNumber(0) + (-1)), 0) << "sign of the dividend";
    EXPECT_EQ((Eight - MinusTwo).getDigit(0), 10u);
    EXPECT_EQ((MinusTwo - Eight).compare(TLargeNumber(0) + (-10)), 0);
    EXPECT_EQ(ThrownText([&] { Five / TLargeNumber(0); }), "division by zero");
}

TEST(LargeNumber, WideArithmeticAgreesWithOpenSSL) {
    std::mt19937 Random(11);
    BN_CTX* Context = BN_CTX_new();
    for (int Round = 0; Round < 20; Round++) {
        std::vector<uint8_t> A(1 + Random() % 200), B(1 + Random() % 100);
        for (uint8_t& b : A)
            b = static_cast<uint8_t>(Random());
        for (uint8_t& b : B)
            b = static_cast<uint8_t>(Random());
        B[0] |= 1;
        TLargeNumber a, b;
        ByteArrayToLargeNumber(A.data(), static_cast<int>(A.size()), a);
        ByteArrayToLargeNumber(B.data(), static_cast<int>(B.size()), b);
        BIGNUM *x = ToBignum(a), *y = ToBignum(b), *Expected = BN_new(), *Remainder = BN_new();
        BN_mul(Expected, x, y, Context);
        BIGNUM* Product = ToBignum(a * b);
        EXPECT_EQ(BN_cmp(Product, Expected), 0) << "product, round " << Round;
        BN_div(Expected, Remainder, x, y, Context);
        BIGNUM *Quotient = ToBignum(a / b), *Rest = ToBignum(a % b);
        EXPECT_EQ(BN_cmp(Quotient, Expected), 0) << "quotient, round " << Round;
        EXPECT_EQ(BN_cmp(Rest, Remainder), 0) << "remainder, round " << Round;
        for (BIGNUM* n : {x, y, Expected, Remainder, Product, Quotient, Rest})
            BN_free(n);
    }
    BN_CTX_free(Context);
}

TEST(LargeNumber, CopiesShareUntilOneChanges) {
    TLargeNumber First = FromDecimal("123456789012345678901234567890");
    TLargeNumber Copy(First);
    EXPECT_TRUE(Copy.sharesStoreWith(First));
    EXPECT_EQ(First.getReferences(), 1u);
    Copy.setDigit(0, 7);
    EXPECT_FALSE(Copy.sharesStoreWith(First));
    EXPECT_EQ(First.getReferences(), 0u);
    EXPECT_EQ(First.compare(FromDecimal("123456789012345678901234567890")), 0);
    Copy = Copy;
    EXPECT_EQ(Copy.getDigit(0), 7u);
    TLargeNumber Third;
    Third = First;
    EXPECT_EQ(First.getReferences(), 1u);
    Third.setDigit(Third.getLength() - 1, 0);
    EXPECT_NE(Third.getDigit(Third.getLength() - 1), 0u) << "the top digit in use is never 0";
}

TEST(LargeNumber, MontgomeryContextOfOurModulus) {
    TLargeNumber m = FromDecimal(LOGIN_RSA_MODULUS);
    TMontgomeryContext Context(m);
    EXPECT_EQ(Context.k, 1024u);
    EXPECT_EQ(Context.R.bitLength(), 1025u);
    EXPECT_TRUE(((m * Context.NPrime + 1) % Context.R).isZero()) << "NPrime is -m^-1 mod R";
    EXPECT_EQ(ThrownText([] { TMontgomeryContext Even(TLargeNumber(1000)); }), "modulus is even");
}

TEST(LargeNumber, DivisionThatOverestimatesAQuotientDigit) {
    // The first estimate of the quotient digit is one too large here, so the divisor is added back.
    TLargeNumber u, v;
    u.setDigit(3, 0x7FFFFFFF);
    u.setDigit(2, 0x80000000);
    v.setDigit(2, 0x80000000);
    v.setDigit(0, 1);
    TLargeNumber q = u / v, r = u % v;
    EXPECT_EQ(q.getLength(), 1u);
    EXPECT_EQ(q.getDigit(0), 0xFFFFFFFEu);
    EXPECT_EQ(r.getLength(), 3u);
    EXPECT_EQ(r.getDigit(2), 0x7FFFFFFFu);
    EXPECT_EQ(r.getDigit(1), 0xFFFFFFFFu);
    EXPECT_EQ(r.getDigit(0), 2u);
}

TEST(LargeNumber, ModularExponentiationAgreesWithOpenSSL) {
    std::mt19937 Random(5);
    BN_CTX* Context = BN_CTX_new();
    TLargeNumber m = FromDecimal(LOGIN_RSA_MODULUS);
    BIGNUM* Modulus = ToBignum(m);
    for (int Exponent : {1, 2, 3, 65537}) {
        for (int Round = 0; Round < 3; Round++) {
            std::vector<uint8_t> Block = RandomBelowModulus(Random);
            TLargeNumber Base;
            ByteArrayToLargeNumber(Block.data(), 128, Base);
            BIGNUM *x = ToBignum(Base), *e = BN_new(), *Expected = BN_new();
            BN_set_word(e, static_cast<BN_ULONG>(Exponent));
            BN_mod_exp(Expected, x, e, Modulus, Context);
            BIGNUM* Ours = ToBignum(ModularExponentiation(Base, TLargeNumber(Exponent), m));
            EXPECT_EQ(BN_cmp(Ours, Expected), 0) << "exponent " << Exponent;
            for (BIGNUM* n : {x, e, Expected, Ours})
                BN_free(n);
        }
    }
    EXPECT_EQ(ModularExponentiation(TLargeNumber(4), TLargeNumber(13), TLargeNumber(497)).getDigit(0), 445u);
    BN_free(Modulus);
    BN_CTX_free(Context);
}

TEST(RSAPublicKey, BlockDecipheredWithOurPrivateKeyGivesThePlainBlock) {
    std::mt19937 Random(9);
    std::vector<uint8_t> Plain = RandomBelowModulus(Random);
    Plain[0] = 0;
    std::vector<uint8_t> Block = Plain;
    TRSAPublicKey Key;
    Key.setModulus(LOGIN_RSA_MODULUS);
    Key.encrypt(Block.data());
    EXPECT_NE(Block, Plain);

    FILE* File = fopen(EBRUN_LOGIN_PRIVATE_KEY, "r");
    ASSERT_NE(File, nullptr);
    EVP_PKEY* Private = PEM_read_PrivateKey(File, nullptr, nullptr, nullptr);
    fclose(File);
    ASSERT_NE(Private, nullptr);
    EVP_PKEY_CTX* Context = EVP_PKEY_CTX_new(Private, nullptr);
    ASSERT_EQ(EVP_PKEY_decrypt_init(Context), 1);
    ASSERT_EQ(EVP_PKEY_CTX_set_rsa_padding(Context, RSA_NO_PADDING), 1);
    std::vector<uint8_t> Deciphered(128);
    size_t Length = Deciphered.size();
    ASSERT_EQ(EVP_PKEY_decrypt(Context, Deciphered.data(), &Length, Block.data(), Block.size()), 1);
    EXPECT_EQ(Length, 128u);
    EXPECT_EQ(Deciphered, Plain);
    EVP_PKEY_CTX_free(Context);
    EVP_PKEY_free(Private);
}

TEST(RSAPublicKey, RefusalsAndTheirTexts) {
    TRSAPublicKey Key;
    std::vector<uint8_t> Block(128, 0);
    EXPECT_EQ(ThrownText([&] { Key.encrypt(Block.data()); }), "m_ModulusM is null");
    EXPECT_EQ(ThrownText([&] { Key.setModulus(nullptr); }), "ModulusM pointer is NULL");
    EXPECT_EQ(ThrownText([&] { Key.setModulus("12x"); }),
              "failed to convert decimal text to large number, reason: digit out of range");
    Key.setModulus(LOGIN_RSA_MODULUS);
    EXPECT_EQ(ThrownText([&] { Key.encrypt(nullptr); }), "Data pointer is NULL");
    Block[0] = 128;
    std::vector<uint8_t> Before = Block;
    EXPECT_EQ(ThrownText([&] { Key.encrypt(Block.data()); }),
              "first byte of data is larger than 127 which violates the condition 'plain < m'");
    EXPECT_EQ(Block, Before) << "refused before any arithmetic";
    Key.setModulus("201");
    Block.assign(128, 0);
    Block[127] = 0xFF;
    EXPECT_EQ(ThrownText([&] { Key.encrypt(Block.data()); }),
              "Plain is not smaller than m_ModulusM which violates the condition 'plain < m'");
}
