// The platform's ANSI code page and UTF-8 text.
//
// Strings are UTF-8 throughout the API. Where the platform defines behaviour on the bytes of the
// "system ANSI code page" (the MD5 of a text, files written in the ANSI code page) this platform
// uses Windows-1252: one byte per character, the Latin-1 range as it stands, 0x80-0x9F holding
// the typographic characters (0x80 is the euro sign). A character the code page lacks becomes
// "?", as the platform's wide-to-ANSI conversion does.
//
// Malformed UTF-8 is never an error here: each maximal ill-formed subsequence (the Unicode
// recommendation) decodes as one U+FFFD, which in turn becomes "?" in the code page.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace zxp {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the code point at the start of `text` (which must not be empty) and stores in
// `length` how many bytes it took (at least 1). Malformed input gives U+FFFD.
char32_t decodeUtf8(std::string_view text, size_t& length);
// Appends the UTF-8 form of `cp`; surrogates and values past U+10FFFF append U+FFFD.
void appendUtf8(std::string& out, char32_t cp);
// The same into `out` (room for four bytes); returns the number of bytes.
size_t encodeUtf8(char32_t cp, char out[4]);
// The number of bytes of `cp`'s UTF-8 form (as appendUtf8 writes it).
size_t utf8Size(char32_t cp);

bool isValidUtf8(std::string_view text);
// `text` with every malformed subsequence replaced by "?"; well-formed text comes back unchanged.
std::string sanitizeUtf8(std::string_view text);
// Number of characters (code points; a malformed subsequence counts as one).
size_t utf8Length(std::string_view text);

// One Windows-1252 byte for a code point; '?' when the code page has no such character.
// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) round-trip as
// the C1 controls of the same number, as on the platform.
char toCp1252(char32_t cp);
char32_t fromCp1252(unsigned char byte);

std::string utf8ToCp1252(std::string_view utf8);
std::string cp1252ToUtf8(std::string_view ansi);

// Converts as much of `utf8` as fits into `out` (one byte per character), never splitting a
// character. For streaming large texts through a fixed buffer.
struct ConvertProgress {
  size_t read = 0;
  size_t written = 0;
};
ConvertProgress utf8ToCp1252(std::string_view utf8, std::span<char> out);

// Length of the leading run of 7-bit ASCII bytes, which are the same in UTF-8 and Windows-1252.
size_t asciiPrefixLength(std::string_view text);

// The text with its letters in upper or lower case: ASCII and the code page's letters (Latin-1's
// accented letters, Š/š, Œ/œ, Ž/ž, Ÿ/ÿ); every other character, malformed bytes included, stays
// as it is.
std::string upperCaseText(std::string_view text);
std::string lowerCaseText(std::string_view text);

}  // namespace zxp
