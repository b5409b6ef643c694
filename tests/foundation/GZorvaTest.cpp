#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <random>
#include <string>

#include "foundation/GZorva.h"
#include "foundation/Md5.h"

namespace zxp {
namespace {

std::string opensslMd5Upper(const std::string& bytes) {
  unsigned char out[EVP_MAX_MD_SIZE];
  unsigned int n = 0;
  EVP_Digest(bytes.data(), bytes.size(), out, &n, EVP_md5(), nullptr);
  Md5::Digest d{};
  std::copy(out, out + 16, d.begin());
  return Md5::hexUpper(d);
}

TEST(GZorvaMd5, Rfc1321TestSuiteInUppercase) {
  const struct {
    const char* text;
    const char* digest;
  } cases[] = {
      {"", "D41D8CD98F00B204E9800998ECF8427E"},
      {"a", "0CC175B9C0F1B6A831C399E269772661"},
      {"abc", "900150983CD24FB0D6963F7D28E17F72"},
      {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
      {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "D174AB98D277D9F5A5611C2C9F419D9F"},
      {"1234567890123456789012345678901234567890123456789012345678901234567890123456789"
       "0",
       "57EDF4A22BE3C955AC49DA2E2107B67A"},
  };
  for (const auto& c : cases) EXPECT_EQ(GZorva::global().zGZorva_MD5(c.text), c.digest) << c.text;
}

TEST(GZorvaMd5, CharactersAreHashedAsTheirWindows1252Bytes) {
  EXPECT_EQ(GZorva::global().zGZorva_MD5("\u00e9"), "3406877694691DDD1DFB0ACA54681407");  // é = E9
  EXPECT_EQ(GZorva::global().zGZorva_MD5("\u20ac"), "8D39DD7EEF115EA6975446EF4082951F");  // € = 80
  // Characters the code page lacks, and malformed UTF-8, hash as "?".
  const std::string question = "D1457B72C3FB323A2671125AEF3EAB5D";
  EXPECT_EQ(GZorva::global().zGZorva_MD5("?"), question);
  EXPECT_EQ(GZorva::global().zGZorva_MD5("\u0101"), question);      // ā
  EXPECT_EQ(GZorva::global().zGZorva_MD5("\U0001F600"), question);  // outside the BMP
  EXPECT_EQ(GZorva::global().zGZorva_MD5("\xff"), question);
  EXPECT_EQ(GZorva::global().zGZorva_MD5("Gr\u00fc\u00dfe, \u0152uvre \u2013 \u201cquoted\u201d \u2122"),
            "B7D9CC1D86DA6641E0BDC90FEB19245D");
}

// Lengths around the padding boundaries and texts that mix ASCII runs with converted
// characters (so the conversion buffer fills and wraps), checked against OpenSSL.
TEST(GZorvaMd5, AgreesWithOpenSslAcrossBlockAndBufferBoundaries) {
  std::mt19937 rng(1321);
  for (size_t len : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 128u, 4095u, 4096u, 4097u, 10000u}) {
    std::string ascii(len, 'x');
    for (auto& ch : ascii) ch = static_cast<char>('a' + rng() % 26);
    EXPECT_EQ(GZorva::global().zGZorva_MD5(ascii), opensslMd5Upper(ascii)) << len;

    std::string utf8, ansi;  // the same text, UTF-8 and Windows-1252
    for (size_t i = 0; i < len; ++i) {
      if (rng() % 3 == 0) {
        utf8 += "\u20ac";
        ansi += '\x80';
      } else {
        utf8 += ascii[i];
        ansi += ascii[i];
      }
    }
    EXPECT_EQ(GZorva::global().zGZorva_MD5(utf8), opensslMd5Upper(ansi)) << len;
  }
}

TEST(Md5, IncrementalUpdatesInAnySplitGiveTheOneShotDigest) {
  std::string data(1000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + 3);
  const Md5::Digest whole = Md5::of(data.data(), data.size());
  EXPECT_EQ(Md5::hexUpper(whole), opensslMd5Upper(data));
  for (size_t step : {1u, 3u, 63u, 64u, 65u, 333u}) {
    Md5 md5;
    for (size_t i = 0; i < data.size(); i += step) {
      md5.update(data.data() + i, std::min(step, data.size() - i));
    }
    EXPECT_EQ(md5.digest(), whole) << step;
    md5.reset();
    md5.update(data.data(), data.size());
    EXPECT_EQ(md5.digest(), whole);
  }
}

}  // namespace
}  // namespace zxp
