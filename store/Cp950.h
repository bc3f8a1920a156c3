#pragma once
// Cp950: conversion between the UTF-8 text of the program and the code page 950 (Big5) bytes
// stored in the table files, through ICU's "windows-950" converter. (ICU's and Qt's "cp950" is
// IBM-950, a different table: never use that name.)
//
// Encoding never substitutes and never drops: a character that code page 950 cannot hold is
// reported, with its position, so that nothing half-converted is ever stored. Invisible
// formatting characters (zero-width spaces, direction marks, byte order marks, variation
// selectors: Unicode's default-ignorable code points) and the C1 control characters U+0080 to
// U+009F are refused the same way, although the converter would drop or pass them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace store::cp950 {

struct EncodeResult {
  std::string bytes;                   // valid only when ok()
  std::optional<std::string> badChar;  // the first character that cannot be encoded (UTF-8)
  std::size_t badCharIndex = 0;        // its position in characters (code points), from 0
  bool invalidUtf8 = false;            // the input itself is not UTF-8
  bool ok() const { return !badChar && !invalidUtf8; }
  // badChar as a message shows it: the character itself, or "U+200B" for one that is invisible.
  std::string shownBadChar() const;
};

EncodeResult encode(std::string_view utf8);

// Decodes stored bytes. Bytes that are not code page 950 become U+FFFD; decoding never fails.
std::string decode(std::string_view bytes);

// Whether `text` is well-formed UTF-8.
bool isUtf8(std::string_view text);

// Whether `bytes` is code page 950 text: it decodes without a byte that code page 950 does not
// define, and encodes back to the same bytes.
bool isCp950(std::string_view bytes);

// True for a lead byte of a double-byte character.
inline bool isLeadByte(unsigned char c) {
  return c >= 0x81 && c <= 0xFE;
}

// `bytes` with the ASCII letters of its single-byte characters in upper case; the trail bytes of
// double-byte characters, which may fall in the ASCII letters' range, are left alone. What a
// search without regard to letter case compares.
std::string foldAsciiCase(std::string_view bytes);

}  // namespace store::cp950
