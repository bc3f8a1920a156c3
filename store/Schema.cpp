#include "Schema.h"

#include <strings.h>

#include <sstream>

#include "EngineError.h"

namespace store {

namespace {

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::vector<std::string> split(std::string_view text, char sep) {
  std::vector<std::string> out;
  size_t start = 0;
  while (true) {
    size_t end = text.find(sep, start);
    out.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return out;
}

std::string join(const std::vector<std::string>& parts, char sep) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += sep;
    out += parts[i];
  }
  return out;
}

FieldDef str(const char* name, int width, bool required = false) {
  return {name, FieldType::String, width, required};
}
FieldDef money(const char* name) {
  return {name, FieldType::Currency, 0, false};
}

}  // namespace

int TableSchema::fieldIndex(std::string_view name) const {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (equalsIgnoreCase(fields[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

// One record per line, fields separated by tabs:
//   field <name> <string|currency> <width> <required 0|1>
//   primary <f1;f2;...>
//   index <name> <f1;f2;...> <caseInsensitive 0|1>
std::string TableSchema::serialize() const {
  std::ostringstream out;
  for (const auto& f : fields) {
    out << "field\t" << f.name << '\t' << (f.type == FieldType::String ? "string" : "currency")
        << '\t' << f.width << '\t' << (f.required ? 1 : 0) << '\n';
  }
  out << "primary\t" << join(primaryKey, ';') << '\n';
  for (const auto& ix : indexes) {
    out << "index\t" << ix.name << '\t' << join(ix.fields, ';') << '\t'
        << (ix.caseInsensitive ? 1 : 0) << '\n';
  }
  return out.str();
}

TableSchema TableSchema::parse(std::string_view text) {
  auto bad = [] {
    return EngineError::of(EngineError::Code::NotATable, {}, {}, "資料表結構無法辨識");
  };
  TableSchema schema;
  for (const auto& line : split(text, '\n')) {
    if (line.empty()) continue;
    auto parts = split(line, '\t');
    if (parts[0] == "field" && parts.size() == 5) {
      FieldDef f;
      f.name = parts[1];
      if (parts[2] == "string") {
        f.type = FieldType::String;
      } else if (parts[2] == "currency") {
        f.type = FieldType::Currency;
      } else {
        throw bad();
      }
      try {
        f.width = std::stoi(parts[3]);
      } catch (const std::exception&) {
        throw bad();
      }
      f.required = parts[4] == "1";
      schema.fields.push_back(f);
    } else if (parts[0] == "primary" && parts.size() == 2) {
      if (!parts[1].empty()) schema.primaryKey = split(parts[1], ';');
    } else if (parts[0] == "index" && parts.size() == 4) {
      schema.indexes.push_back({parts[1], split(parts[2], ';'), parts[3] == "1"});
    } else {
      throw bad();
    }
  }
  if (schema.fields.empty()) throw bad();
  auto known = [&](const std::string& n) { return schema.fieldIndex(n) >= 0; };
  for (const auto& k : schema.primaryKey)
    if (!known(k)) throw bad();
  for (const auto& ix : schema.indexes)
    for (const auto& k : ix.fields)
      if (!known(k)) throw bad();
  return schema;
}

const TableSchema& basicSchema() {
  static const TableSchema s{
      {str("NUMBER", 6, true), str("ACCOUNT", 14, true), str("NAME", 10, true), str("ID", 10),
       str("INDATE", 6), str("LEVEL", 20), str("MEMO", 40)},
      {"NUMBER"},
      {{"NUMBER", {"NUMBER"}, false},
       {"ACCOUNT", {"ACCOUNT"}, false},
       {"NAME", {"NAME"}, false},
       {"ID", {"ID"}, false}}};
  return s;
}

const TableSchema& salarySchema() {
  static const TableSchema s{
      {str("NUMBER", 6), str("SENDDATE", 6), money("PAY"), str("SALARYITEM", 20)},
      {"NUMBER", "SENDDATE", "PAY", "SALARYITEM"},
      {{"SALARYSENDDATE", {"SENDDATE"}, true}, {"Salary Number", {"NUMBER", "SENDDATE"}, true}}};
  return s;
}

const TableSchema& itemSchema() {
  static const TableSchema s{{str("SALARYITEM", 20)}, {"SALARYITEM"}, {}};
  return s;
}

const TableSchema& passSchema() {
  static const TableSchema s{{str("USERID", 8, true), str("PASSWORD", 8, true)},
                             {"USERID"},
                             {{"PASSWORD", {"PASSWORD"}, false}, {"USERID", {"USERID"}, false}}};
  return s;
}

const TableSchema& tempSchema() {
  static const TableSchema s{
      {str("NUMBER", 6), str("SENDDATE", 6), str("SUBJECT", 1), str("ACCOUNT", 14), money("PAY"),
       str("PAY1", 2), str("ID", 10), str("SPACE", 4), str("TRAN", 2), str("MEMO", 16),
       str("SALARYITEM", 20), str("NAME", 10)},
      {"NUMBER", "SENDDATE", "SUBJECT", "ACCOUNT", "PAY", "PAY1", "ID", "SPACE", "TRAN", "MEMO",
       "SALARYITEM", "NAME"},
      {}};
  return s;
}

const std::vector<LiveTable>& liveTables() {
  static const std::vector<LiveTable> tables{{"basic.DB", basicSchema()},
                                             {"salary.DB", salarySchema()},
                                             {"item.DB", itemSchema()},
                                             {"pass.DB", passSchema()},
                                             {"temp.DB", tempSchema()}};
  return tables;
}

const LiveTable* liveTableNamed(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  for (const auto& live : liveTables()) {
    if (strcasecmp(name.c_str(), live.fileName) == 0) return &live;
  }
  return nullptr;
}

const std::vector<std::string>& defaultSalaryItems() {
  static const std::vector<std::string> items{
      "薪水轉帳",       "股利發放",       "退稅",       "事業費用",  "代收稅款", "信用卡款",
      "代扣保費",       "保險給付",       "電話費",     "瓦斯費",    "電費",     "水費",
      "批次轉帳(扣款)", "批次轉帳(入帳)", "轉帳(扣款)", "轉帳(入帳)"};
  return items;
}

}  // namespace store
