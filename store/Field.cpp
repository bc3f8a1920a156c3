#include "Field.h"

#include <cmath>

#include "Cp950.h"
#include "EngineError.h"

namespace store {

namespace {

EngineError invalid(const FieldDef& def, const std::string& why) {
  return EngineError::of(EngineError::Code::InvalidValue, {}, def.name, why);
}

}  // namespace

Value checkedValue(const FieldDef& def, const Value& v, bool forKey) {
  if (v.isNull()) return v;
  if (def.type == FieldType::Currency) {
    if (!v.isNumber()) throw invalid(def, "必須是數字");
    if (!std::isfinite(v.asNumber())) throw invalid(def, "數值無效");
    return v;
  }
  if (!v.isBytes()) return checkedValue(def, Value::bytes(formatNumber(v.asNumber())), forKey);
  if (!forKey && static_cast<int>(v.asBytes().size()) > def.width) {
    throw invalid(def, "內容超過 " + std::to_string(def.width) + " 個位元組 (輸入了 " +
                           std::to_string(v.asBytes().size()) + " 個位元組)");
  }
  // An empty string is stored as an empty field.
  if (v.asBytes().empty()) return Value();
  return v;
}

Value valueFromText(const FieldDef& def, std::string_view utf8, bool forKey) {
  if (def.type == FieldType::Currency) {
    if (utf8.find_first_not_of(" \t") == std::string_view::npos) return Value();
    double d = 0;
    if (!parseNumber(utf8, d)) throw invalid(def, "「" + std::string(utf8) + "」不是數字");
    return Value::number(d);
  }
  auto enc = cp950::encode(utf8);
  if (enc.invalidUtf8) throw invalid(def, "文字編碼無效");
  if (!enc.ok()) {
    throw invalid(def, "字元「" + enc.shownBadChar() + "」(第 " +
                           std::to_string(enc.badCharIndex + 1) +
                           " 字) 無法以 Big5 儲存");
  }
  return checkedValue(def, Value::bytes(std::move(enc.bytes)), forKey);
}

bool Field::isNull() const {
  return value().isNull();
}

std::string Field::text() const {
  const Value& v = value();
  if (v.isNull()) return {};
  if (v.isNumber()) return formatNumber(v.asNumber());
  return cp950::decode(v.asBytes());
}

std::string Field::bytes() const {
  const Value& v = value();
  if (v.isNumber()) return formatNumber(v.asNumber());
  return v.asBytes();
}

double Field::number() const {
  const Value& v = value();
  if (v.isNull()) return 0;
  if (v.isNumber()) return v.asNumber();
  double d = 0;
  if (!parseNumber(v.asBytes(), d)) {
    throw EngineError::of(EngineError::Code::InvalidValue, {}, name(),
                          "「" + text() + "」不是數字");
  }
  return d;
}

void Field::setText(std::string_view utf8) {
  owner_->setFieldValue(index_, valueFromText(def(), utf8, owner_->takesKey()));
}

void Field::setNumber(double d) {
  owner_->setFieldValue(index_, checkedValue(def(), Value::number(d), owner_->takesKey()));
}

void Field::setValue(const Value& v) {
  owner_->setFieldValue(index_, checkedValue(def(), v, owner_->takesKey()));
}

void Field::clear() {
  owner_->setFieldValue(index_, Value());
}

}  // namespace store
