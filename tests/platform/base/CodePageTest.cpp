#include <gtest/gtest.h>

#include "platform/base/CodePage.h"

namespace zxp::testing {
namespace {

TEST(CodePage, Windows1252RoundTripsEveryByte) {
  for (int b = 0; b < 256; ++b) {
    const std::string ansi(1, static_cast<char>(b));
    const std::string utf8 = cp1252ToUtf8(ansi);
    EXPECT_TRUE(isValidUtf8(utf8)) << b;
    EXPECT_EQ(utf8ToCp1252(utf8), ansi) << b;
  }
  EXPECT_EQ(cp1252ToUtf8("\x80\x9f\xe9"), "\u20ac\u0178\u00e9");
}

TEST(CodePage, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(utf8ToCp1252("a\u0101b\u4e2d\U0001F600c"), "a?b??c");
  // C1 controls other than the five undefined bytes have no place in the code page.
  EXPECT_EQ(utf8ToCp1252("\u0080\u0081\u009d"), "?\x81\x9d");
}

TEST(CodePage, MalformedUtf8DecodesAsOneReplacementPerMaximalSubpart) {
  struct Case {
    const char* bytes;
    const char* ansi;
  } cases[] = {
      {"\x80", "?"},                 // lone continuation byte
      {"\xc0\xaf", "??"},            // overlong lead, then a stray continuation
      {"\xe2\x82", "?"},             // truncated three-byte sequence
      {"\xe2\x82" "A", "?A"},        // broken sequence resumes at the breaking byte
      {"\xed\xa0\x80", "???"},       // surrogate: ED takes only 80-9F
      {"\xf0\x90\x80" "A", "?A"},    // three valid bytes of a four-byte sequence
      {"\xf4\x90\x80\x80", "????"},  // past U+10FFFF
      {"\xff\xfe", "??"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(isValidUtf8(c.bytes)) << c.ansi;
    EXPECT_EQ(utf8ToCp1252(c.bytes), c.ansi);
    EXPECT_EQ(sanitizeUtf8(c.bytes), c.ansi);
    EXPECT_EQ(utf8Length(c.bytes), std::string(c.ansi).size());
  }
  EXPECT_TRUE(isValidUtf8("\xef\xbf\xbd"));  // U+FFFD spelled out is well-formed
  EXPECT_EQ(sanitizeUtf8("ok \u00e9\xef\xbf\xbd"), "ok \u00e9\xef\xbf\xbd");
}

TEST(CodePage, StreamingConversionNeverSplitsACharacter) {
  const std::string text = "ab\u20acde\u00e9";  // 2 + 3 + 2 + 2 bytes, 6 characters
  char out[4];
  ConvertProgress p = utf8ToCp1252(text, out);
  EXPECT_EQ(std::tuple(p.written, p.read, std::string(out, 4)), std::tuple(4u, 6u, "ab\x80" "d"));
  p = utf8ToCp1252(std::string_view(text).substr(p.read), out);
  EXPECT_EQ(std::tuple(p.written, std::string(out, 2)), std::tuple(2u, "e\xe9"));
}

}  // namespace
}  // namespace zxp::testing
