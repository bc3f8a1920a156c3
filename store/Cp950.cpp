#include "Cp950.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "EngineError.h"

namespace store::cp950 {

namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};

// ICU without its code page 950 table: nothing can be stored or shown.
EngineError converterMissing() {
  return EngineError::of(EngineError::Code::General, {}, {},
                         "ICU 沒有 windows-950 (Big5) 轉換表,無法轉換資料表的文字");
}

// One converter per thread, set to stop at the first character it cannot map both ways.
UConverter* converter() {
  thread_local std::unique_ptr<UConverter, ConverterCloser> conv = [] {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* c = ucnv_open("windows-950", &status);
    if (U_FAILURE(status)) throw converterMissing();
    ucnv_setFromUCallBack(c, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFallback(c, false);
    return std::unique_ptr<UConverter, ConverterCloser>(c);
  }();
  return conv.get();
}

bool toUtf16(std::string_view utf8, std::vector<UChar>& out) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  out.resize(utf8.size() + 1);
  u_strFromUTF8(out.data(), static_cast<int32_t>(out.size()), &length, utf8.data(),
                static_cast<int32_t>(utf8.size()), &status);
  if (U_FAILURE(status)) return false;
  out.resize(length);
  return true;
}

bool fromUtf16(const UChar* src, int32_t length, std::string& out) {
  UConverter* conv = converter();
  ucnv_resetFromUnicode(conv);
  out.resize(static_cast<size_t>(length) * 2 + 4);
  UErrorCode status = U_ZERO_ERROR;
  int32_t n =
      ucnv_fromUChars(conv, out.data(), static_cast<int32_t>(out.size()), src, length, &status);
  if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) return false;
  out.resize(n);
  return true;
}

// ICU drops default-ignorable characters (U+200B, U+202E, U+FEFF, variation selectors, ...)
// without a word, even with a STOP callback, so "王<U+200B>" would be stored as "王". They and
// the C1 control characters (which windows-950 maps to single bytes 0x80 to 0x9F) belong in no
// field, so they are refused like any character code page 950 cannot hold.
bool refusedOutright(UChar32 c) {
  return (c >= 0x80 && c <= 0x9F) || u_hasBinaryProperty(c, UCHAR_DEFAULT_IGNORABLE_CODE_POINT);
}

bool anyRefusedOutright(const std::vector<UChar>& u16) {
  for (int32_t i = 0; i < static_cast<int32_t>(u16.size());) {
    UChar32 c;
    U16_NEXT(u16.data(), i, static_cast<int32_t>(u16.size()), c);
    if (refusedOutright(c)) return true;
  }
  return false;
}

}  // namespace

// A refused character that would not show between the quotes of a message is named by its
// code point instead.
std::string EncodeResult::shownBadChar() const {
  if (!badChar || badChar->empty()) return badChar.value_or("");
  const auto* s = reinterpret_cast<const uint8_t*>(badChar->data());
  const auto n = static_cast<int32_t>(badChar->size());
  int32_t i = 0;
  UChar32 c = 0;
  U8_NEXT(s, i, n, c);
  if (c >= 0x20 && c != 0x7F && !refusedOutright(c) && !u_isUWhiteSpace(c)) return *badChar;
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
  return buf;
}

EncodeResult encode(std::string_view utf8) {
  EncodeResult result;
  bool ascii = true;
  for (unsigned char c : utf8) ascii = ascii && c < 0x80;
  if (ascii) {
    result.bytes.assign(utf8);
    return result;
  }
  std::vector<UChar> u16;
  if (!toUtf16(utf8, u16)) {
    result.invalidUtf8 = true;
    return result;
  }
  if (!anyRefusedOutright(u16) &&
      fromUtf16(u16.data(), static_cast<int32_t>(u16.size()), result.bytes))
    return result;

  // Find the first character that does not convert, for the message.
  result.bytes.clear();
  size_t index = 0;
  int32_t i = 0;
  const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
  const auto n = static_cast<int32_t>(utf8.size());
  while (i < n) {
    int32_t start = i;
    UChar32 c;
    U8_NEXT(s, i, n, c);
    UChar buf[2];
    int32_t len = 0;
    U16_APPEND_UNSAFE(buf, len, c);
    std::string ignored;
    if (refusedOutright(c) || !fromUtf16(buf, len, ignored)) {
      result.badChar = std::string(utf8.substr(start, i - start));
      result.badCharIndex = index;
      return result;
    }
    ++index;
  }
  result.badChar = std::string();  // the whole text failed without a single culprit
  return result;
}

std::string decode(std::string_view bytes) {
  bool ascii = true;
  for (unsigned char c : bytes) ascii = ascii && c < 0x80;
  if (ascii) return std::string(bytes);

  thread_local std::unique_ptr<UConverter, ConverterCloser> conv = [] {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* c = ucnv_open("windows-950", &status);
    if (U_FAILURE(status)) throw converterMissing();
    return std::unique_ptr<UConverter, ConverterCloser>(c);
  }();
  ucnv_resetToUnicode(conv.get());
  std::vector<UChar> u16(bytes.size() + 1);
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = ucnv_toUChars(conv.get(), u16.data(), static_cast<int32_t>(u16.size()), bytes.data(),
                            static_cast<int32_t>(bytes.size()), &status);
  if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) return std::string(bytes);
  std::string out(static_cast<size_t>(n) * 3 + 1, '\0');
  int32_t length = 0;
  status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, u16.data(), n, 0xFFFD,
                     nullptr, &status);
  out.resize(length);
  return out;
}

bool isUtf8(std::string_view text) {
  const auto* s = reinterpret_cast<const uint8_t*>(text.data());
  const auto n = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < n;) {
    UChar32 c;
    U8_NEXT(s, i, n, c);
    if (c < 0) return false;
  }
  return true;
}

bool isCp950(std::string_view bytes) {
  const EncodeResult back = encode(decode(bytes));
  return back.ok() && back.bytes == bytes;
}

std::string foldAsciiCase(std::string_view bytes) {
  std::string out(bytes);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (isLeadByte(c) && i + 1 < out.size()) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      out[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return out;
}

}  // namespace store::cp950
