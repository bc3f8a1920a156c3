#include "Value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

namespace store {

const std::string& Value::asBytes() const {
  static const std::string empty;
  const auto* s = std::get_if<std::string>(&v_);
  return s ? *s : empty;
}

double Value::asNumber() const {
  const auto* d = std::get_if<double>(&v_);
  return d ? *d : 0.0;
}

std::string formatNumber(double d) {
  if (!std::isfinite(d)) return d != d ? "NaN" : (d > 0 ? "INF" : "-INF");
  if (d == 0) return "0";
  // Amounts in whole cents, the common case, need no search for the precision: their shortest
  // text is the integer of cents with the point put back and trailing zeros dropped. A value
  // that is not exactly such an amount takes the general way below.
  if (std::fabs(d) < 1e13) {
    const long long cents = std::llround(d * 100);
    if (static_cast<double>(cents) / 100 == d) {
      const unsigned long long whole = static_cast<unsigned long long>(cents < 0 ? -cents : cents);
      std::string out = cents < 0 ? "-" : "";
      out += std::to_string(whole / 100);
      const unsigned fraction = static_cast<unsigned>(whole % 100);
      if (fraction != 0) {
        out += '.';
        out += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) out += static_cast<char>('0' + fraction % 10);
      }
      return out;
    }
  }
  // The shortest precision, up to 15 significant digits, that gives the same value as 15.
  // No text of fewer digits than the shortest form of that value can give it, so the search
  // starts there and almost always ends at once.
  char buf[64];
  const auto render = [&](int digits) {
    return std::string_view(
        buf,
        static_cast<size_t>(
            std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific, digits - 1).ptr -
            buf));
  };
  const auto parse = [](std::string_view text) {
    double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
  };
  const double target = parse(render(15));
  char shortest[64];
  const auto end =
      std::to_chars(shortest, shortest + sizeof shortest, target, std::chars_format::scientific)
          .ptr;
  int digits = 0;
  for (const char* c = shortest; c < end && *c != 'e'; ++c) digits += *c >= '0' && *c <= '9';
  for (digits = std::clamp(digits, 1, 15); digits < 15 && parse(render(digits)) != target;)
    ++digits;
  // Render those significant digits as plain decimal text, never with an exponent.
  std::string s(render(digits));
  bool negative = s[0] == '-';
  if (negative) s.erase(0, 1);
  size_t e = s.find('e');
  int exponent = std::atoi(s.c_str() + e + 1);
  std::string mantissa;
  for (char c : s.substr(0, e))
    if (c != '.') mantissa += c;
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
  int pointAt = exponent + 1;  // digits before the decimal point
  std::string out;
  if (pointAt <= 0) {
    out = "0." + std::string(-pointAt, '0') + mantissa;
  } else if (pointAt >= static_cast<int>(mantissa.size())) {
    out = mantissa + std::string(pointAt - mantissa.size(), '0');
  } else {
    out = mantissa.substr(0, pointAt) + "." + mantissa.substr(pointAt);
  }
  return negative ? "-" + out : out;
}

bool parseNumber(std::string_view text, double& out) {
  size_t b = text.find_first_not_of(" \t");
  size_t e = text.find_last_not_of(" \t");
  if (b == std::string_view::npos) return false;
  std::string s(text.substr(b, e - b + 1));
  for (char c : s) {
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' ||
          c == 'e' || c == 'E'))
      return false;
  }
  char* end = nullptr;
  double d = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(d)) return false;
  out = d;
  return true;
}

}  // namespace store
