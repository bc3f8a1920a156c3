#pragma once
// Value: one stored value of a field: empty (null), bytes of a string field as stored (code
// page 950), or a number.

#include <string>
#include <string_view>
#include <variant>

namespace store {

class Value {
 public:
  Value() = default;
  static Value bytes(std::string b) {
    Value v;
    v.v_ = std::move(b);
    return v;
  }
  static Value number(double d) {
    Value v;
    v.v_ = d;
    return v;
  }

  bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
  bool isBytes() const { return std::holds_alternative<std::string>(v_); }
  bool isNumber() const { return std::holds_alternative<double>(v_); }
  const std::string& asBytes() const;  // "" when not bytes
  double asNumber() const;             // 0 when not a number

  bool operator==(const Value&) const = default;

 private:
  std::variant<std::monostate, std::string, double> v_;
};

// A number as plain decimal text in its shortest form with at most 15 significant digits:
// 35000 -> "35000", 1234.5 -> "1234.5", -100 -> "-100", 0.1 + 0.2 -> "0.3". Never an exponent.
std::string formatNumber(double d);

// Parses decimal text ("35000", " -1234.50 ", "1e3"); nullopt-like failure is reported by
// returning false. Thousands separators and currency signs are not accepted.
bool parseNumber(std::string_view text, double& out);

}  // namespace store
