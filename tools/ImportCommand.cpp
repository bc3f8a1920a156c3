// salary-admin import: stores employees (basic.DB) and pay entries (salary.DB) prepared elsewhere
// as UTF-8 CSV files, through the same rules as the pages that enter them (widths in code page
// 950 bytes, characters it can hold, required fields, keys).
//
// The first row names the columns, in any order and any letter case; every column of the table
// must be there, once. Each file is one transaction: a refused row leaves nothing of its file
// stored. Employees are stored first, so that entries may refer to them; when the entries file
// is then refused, the employees stay stored.
//
// A refused row (its own fault: a field that does not fit, a key stored already) is listed and
// the reading goes on, so that one run names every bad row. Any other failure of the engine (a
// full disk, an I/O error, a folder that cannot be written) ends the file at once with one
// message: its transaction is over, and nothing of the file is stored.

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "Commands.h"
#include "CsvReader.h"
#include "employees/EmployeeRules.h"
#include "pay/SalaryEntryRules.h"
#include "store/Cp950.h"
#include "store/EngineError.h"
#include "store/Field.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/Table.h"
#include "store/Transaction.h"
#include "store/Value.h"

namespace admin {

namespace {

using Code = store::EngineError::Code;

// Beyond this many refused rows of a file the rest are counted, not listed.
constexpr int kListedRefusals = 20;

// The pages of the file being filled that SQLite keeps in memory (its default is 2 MiB). Rows
// come in any key order, so each row changes pages of its three indexes all over the file;
// 64 MiB holds the index pages of some years of a large company's entries, so that most
// changes find their page in memory instead of reading it back, while the whole import stays
// well under 128 MB. A larger file only rereads more; the memory stays bounded.
constexpr long kBulkCacheKib = 64 * 1024;

struct Kind {
  const char* tableName;
  std::vector<std::string> columns;
};

const Kind kEmployees{"basic.DB", {"NUMBER", "ACCOUNT", "NAME", "ID", "INDATE", "LEVEL", "MEMO"}};
const Kind kEntries{"salary.DB", {"NUMBER", "SENDDATE", "PAY", "SALARYITEM"}};

// One refused row (or header, or the file itself): the message says why, without the file name.
struct Refusal : std::runtime_error {
  Refusal(int line, const std::string& what) : std::runtime_error(what), line(line) {}
  int line;  // 0: the file as a whole
};

std::string join(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : ",") + n;
  return out;
}

// A file that is not UTF-8 but reads whole as code page 950 (Big5): what a Taiwanese
// spreadsheet usually writes as CSV. Its first row names the columns in ASCII; a file whose
// first row is not ASCII (a byte order mark cut short, say) is told by the header's check.
// Read in pieces of whole lines (a line feed is never part of a character in either encoding);
// the stream is left at its start.
bool savedAsBig5(std::istream& in) {
  std::string header;
  std::getline(in, header);
  if (std::any_of(header.begin(), header.end(), [](char c) { return c & 0x80; })) {
    in.clear();
    in.seekg(0);
    return false;
  }
  bool utf8 = true, big5 = true;
  for (int pass = 0; pass < 2 && !(pass == 1 && utf8); ++pass) {
    auto check = [&](std::string_view lines) {
      if (pass == 0) utf8 = utf8 && store::cp950::isUtf8(lines);
      if (pass == 1) big5 = big5 && store::cp950::isCp950(lines);
    };
    in.clear();
    in.seekg(0);
    std::string block(1 << 20, '\0'), rest;
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
      std::string piece = rest + block.substr(0, static_cast<size_t>(in.gcount()));
      const size_t end = piece.rfind('\n') + 1;  // 0 without a line feed
      rest = piece.substr(end);
      piece.resize(end);
      check(piece);
    }
    check(rest);
  }
  in.clear();
  in.seekg(0);
  return !utf8 && big5;
}

// Column names match without regard to ASCII letter case, as the engine's field names do.
bool sameName(const std::string& a, const std::string& b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Why a file could not be opened for reading, as the clerk reads it.
std::string whyNotOpened(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return "找不到這個檔案";
    case EACCES:
    case EPERM:
      return "沒有讀取這個檔案的權限";
    case EISDIR:
      return "這是資料夾,不是檔案";
    default:
      return "系統錯誤代碼 " + std::to_string(error);
  }
}

// A CSV file opened and its header checked: fields[i] names the field of the i-th cell.
class Source {
 public:
  Source(const std::string& path, const Kind& kind) : path_(path), kind_(kind) {
    in_.open(path, std::ios::binary);
    if (!in_) throw Refusal(0, "無法開啟: " + whyNotOpened(errno));
    if (savedAsBig5(in_)) {
      throw Refusal(0,
                    "請將檔案另存為 UTF-8 (例如 Excel 的「CSV UTF-8 (逗號分隔)」) 再匯入:"
                    "這個檔案是 Big5 (code page 950) 編碼");
    }
    csv_ = std::make_unique<CsvReader>(in_);
    std::vector<std::string> header;
    try {
      if (!csv_->next(header)) throw Refusal(1, "是空的;第一列須為欄位名稱");
    } catch (const CsvError& e) {
      throw Refusal(e.line, e.what());
    }
    for (const auto& name : header) {
      std::string field;
      for (const auto& c : kind.columns) {
        if (sameName(name, c)) field = c;
      }
      if (field.empty()) throw Refusal(1, "不認得的欄位「" + name + "」" + expected());
      for (const auto& f : fields_) {
        if (f == field) throw Refusal(1, "欄位 " + field + " 出現兩次");
      }
      fields_.push_back(field);
    }
    for (const auto& c : kind.columns) {
      bool found = false;
      for (const auto& f : fields_) found = found || f == c;
      if (!found) throw Refusal(1, "缺少欄位 " + c + expected());
    }
  }

  const std::string& path() const { return path_; }
  const Kind& kind() const { return kind_; }
  const std::vector<std::string>& fields() const { return fields_; }

  // The next record, or false at the end. Throws Refusal on malformed text or a short read.
  bool next(std::vector<std::string>& cells) {
    try {
      if (csv_->next(cells)) return true;
    } catch (const CsvError& e) {
      throw Refusal(e.line, e.what());
    }
    if (in_.bad()) throw Refusal(0, "無法讀到檔案結尾");
    return false;
  }
  int line() const { return csv_->recordLine(); }

 private:
  std::string expected() const { return " (欄位為 " + join(kind_.columns) + ")"; }

  std::string path_;
  const Kind& kind_;
  std::ifstream in_;
  std::unique_ptr<CsvReader> csv_;
  std::vector<std::string> fields_;
};

std::string where(const std::string& path, int line) {
  return line > 0 ? path + " 第 " + std::to_string(line) + " 行" : path;
}

// The line and field of a refused row.
Refusal fieldRefusal(int line, const std::string& field, const std::string& why) {
  return Refusal(line, "欄位 " + field + ": " + why);
}

// Whether the engine refused the row itself rather than failed.
bool refusesRow(const store::EngineError& e) {
  return e.code() == Code::InvalidValue || e.code() == Code::RequiredField ||
         e.code() == Code::KeyViolation;
}

// Line breaks, tabs and other control characters fit no field of a one-line box on the pages,
// and would break the fixed-width lines of the transfer file.
void checkPrintable(int line, const std::string& field, const std::string& cell) {
  for (unsigned char c : cell) {
    if (c < 0x20 || c == 0x7F) {
      throw fieldRefusal(line, field, "有換行、定位或其他控制字元");
    }
  }
}

// The key values of the row being inserted, as "NUMBER 000001" or "NUMBER 000001, SENDDATE ...".
std::string keyText(store::Table& table) {
  std::string out;
  for (const auto& k : table.schema().primaryKey) {
    const store::Field f = table.FieldByName(k);
    out += (out.empty() ? "" : ", ") + k + " " + (f.isNull() ? "(空白)" : f.text());
  }
  return out;
}

// The first line before `line` that was stored with the key of the row being inserted, or 0.
// Read again from the file: key violations are rare, and a file of a million entries should not
// keep its keys in memory for them.
int earlierLineWithKey(const Source& source, store::Table& table, int line,
                       const std::set<int>& refused) {
  const store::TableSchema& schema = table.schema();
  std::vector<std::pair<int, store::Value>> key;  // position in the record, value
  for (const auto& k : schema.primaryKey) {
    for (size_t i = 0; i < source.fields().size(); ++i) {
      if (source.fields()[i] == k) key.emplace_back(int(i), table.FieldByName(k).value());
    }
  }
  Source again(source.path(), source.kind());
  std::vector<std::string> cells;
  while (again.next(cells) && again.line() < line) {
    if (refused.count(again.line()) || cells.size() != source.fields().size()) continue;
    bool same = true;
    try {
      for (const auto& [i, value] : key) {
        const auto& def = schema.fields[schema.fieldIndex(source.fields()[i])];
        same = same && store::valueFromText(def, cells[i]) == value;
      }
    } catch (const store::EngineError&) {
      same = false;
    }
    if (same) return again.line();
  }
  return 0;
}

// The employees of basic.DB that entries may refer to. A number is looked up once and then
// kept: basic.DB belongs to the import's transaction, so no other program changes it meanwhile.
class KnownEmployees {
 public:
  explicit KnownEmployees(store::Session& session) : table_(session, kEmployees.tableName) {
    table_.Open();
  }
  bool has(const std::string& number) {
    if (known_.count(number)) return true;
    table_.SetKey();
    table_.FieldByName("NUMBER").setText(number);
    if (!table_.GotoKey()) return false;
    known_.insert(number);
    return true;
  }

 private:
  store::Table table_;
  std::unordered_set<std::string> known_;
};

// Why the pay page's 寫入 would refuse an entry, for salary-admin's messages.
std::string entryRefusal(pay::EntryCheck check, const std::string& field) {
  switch (check) {
    case pay::EntryCheck::Incomplete:
      return field == "PAY" ? "不可為零或空白" : "不可空白";
    case pay::EntryCheck::AmountTooLong:
      return "超過轉帳檔金額的 " + std::to_string(pay::kTransferAmountWidth) + " 個字元";
    case pay::EntryCheck::UnknownItem:
      return "不是十六個薪資項目之一";
    default:
      return "不被接受";
  }
}

// Stores one record as a new row of `table`, or throws Refusal naming the line and the field.
void storeRow(Source& source, const std::vector<std::string>& cells, store::Table& table,
              KnownEmployees* employees, const std::set<int>& refused, long long& capitalised) {
  const int line = source.line();
  const auto& fields = source.fields();
  if (cells.size() != fields.size()) {
    throw Refusal(line, "有 " + std::to_string(cells.size()) + " 個欄位,第一列則有 " +
                            std::to_string(fields.size()) + " 個欄位名稱");
  }
  table.Append();
  for (size_t i = 0; i < cells.size(); ++i) {
    checkPrintable(line, fields[i], cells[i]);
    std::string text = cells[i];
    if (!employees && fields[i] == "ID") {
      text = ::employees::idInCapitals(text);
      if (text != cells[i]) ++capitalised;
    }
    try {
      table.FieldByName(fields[i]).setText(text);
    } catch (const store::EngineError& e) {
      if (e.code() != Code::InvalidValue) throw;
      throw fieldRefusal(line, e.field(), e.detail());
    }
  }
  if (!employees && table.FieldByName("MEMO").bytes().size() > ::employees::kMemoBytes) {
    throw fieldRefusal(line, "MEMO",
                       "超過員工基本資料畫面能顯示與寫回的 " +
                           std::to_string(::employees::kMemoBytes) + " 個位元組");
  }
  if (employees) {
    const std::string number = table.FieldByName("NUMBER").text();
    if (number.empty()) throw fieldRefusal(line, "NUMBER", "薪資資料須有員工編號");
    if (!employees->has(number)) {
      throw fieldRefusal(line, "NUMBER", "basic.DB 中沒有員工編號 " + number);
    }
    if (const pay::EntryVerdict v = pay::judgeEntry(table); v.check != pay::EntryCheck::Accepted) {
      throw fieldRefusal(line, v.field, entryRefusal(v.check, v.field));
    }
  }
  try {
    table.Post();
  } catch (const store::EngineError& e) {
    if (!refusesRow(e)) throw;
    if (e.code() == Code::RequiredField) throw fieldRefusal(line, e.field(), "不可空白");
    if (e.code() != Code::KeyViolation) throw Refusal(line, e.what());
    const std::string key = keyText(table);
    const int earlier = earlierLineWithKey(source, table, line, refused);
    throw Refusal(line, earlier > 0 ? key + ": 與第 " + std::to_string(earlier) + " 行相同"
                                    : key + ": " + table.TableName() + " 中已有此資料");
  }
}

// Stores every record of the source in one transaction. Returns whether it was stored; the
// refusals are printed.
bool importFile(store::Session& session, Source& source) {
  const Kind& kind = source.kind();
  std::vector<std::string> files{kind.tableName};
  if (&kind == &kEntries) files.push_back(kEmployees.tableName);
  std::set<int> refused;
  int unlisted = 0;
  auto report = [&](const Refusal& r) {
    if (refused.size() < kListedRefusals) {
      std::cerr << "salary-admin import: " << where(source.path(), r.line) << ": " << r.what()
                << "\n";
    } else {
      ++unlisted;
    }
    refused.insert(r.line);
  };

  auto nothingStored = [&] {
    std::cerr << "salary-admin import: " << source.path() << " 的資料都沒有存入\n";
    return false;
  };
  long long stored = 0, capitalised = 0;
  try {
    store::Transaction tx(session, files);
    store::Table table(session, kind.tableName);
    table.Open();
    table.SetCacheSize(kBulkCacheKib);
    std::optional<KnownEmployees> employees;
    if (&kind == &kEntries) employees.emplace(session);
    std::vector<std::string> cells;
    try {
      while (source.next(cells)) {
        try {
          storeRow(source, cells, table, employees ? &*employees : nullptr, refused, capitalised);
          ++stored;
        } catch (const Refusal& r) {
          report(r);
          table.Cancel();
        }
      }
    } catch (const Refusal& r) {
      // Malformed text: what follows cannot be told apart reliably.
      report(r);
    }
    if (unlisted > 0) {
      std::cerr << "salary-admin import: " << source.path() << ": 另有 " << unlisted << " 列被拒\n";
    }
    if (!refused.empty()) return nothingStored();
    tx.commit();
  } catch (const store::EngineError& e) {
    std::cerr << "salary-admin import: " << source.path() << ": " << e.what() << "\n";
    return nothingStored();
  }
  std::cout << "已把 " << source.path() << " 的 " << stored << " 列存入 " << kind.tableName << "\n";
  if (capitalised > 0) {
    std::cout << "其中 " << capitalised << " 個身分證字號的英文字母改為大寫存入\n";
  }
  return true;
}

std::unique_ptr<Source> openSource(const std::string& path, const Kind& kind) {
  try {
    return std::make_unique<Source>(path, kind);
  } catch (const Refusal& r) {
    std::cerr << "salary-admin import: " << where(path, r.line) << ": " << r.what() << "\n";
    return nullptr;
  }
}

}  // namespace

int importCommand(const Args& args) {
  checkOptions(args, {"--data", "--employees", "--entries"});
  const std::filesystem::path folder = optionValue(args, "--data", true);
  if (folder.empty()) throw UsageError("--data 需要資料夾");
  const std::string employeesPath = optionValue(args, "--employees", false);
  const std::string entriesPath = optionValue(args, "--entries", false);
  if (employeesPath.empty() && entriesPath.empty()) {
    throw UsageError("須指定 --employees 檔案 或 --entries 檔案 (或兩者)");
  }

  // Both headers are checked before anything is stored.
  std::unique_ptr<Source> employees, entries;
  bool ok = true;
  if (!employeesPath.empty()) ok = (employees = openSource(employeesPath, kEmployees)) && ok;
  if (!entriesPath.empty()) ok = (entries = openSource(entriesPath, kEntries)) && ok;
  if (!ok) {
    std::cerr << "salary-admin import: 沒有存入任何資料\n";
    return 1;
  }

  store::Session session(folder);
  session.AddPassword(store::kTablePassword);
  if (employees && !importFile(session, *employees)) {
    if (entries) std::cerr << "salary-admin import: 沒有讀取 " << entriesPath << "\n";
    return 1;
  }
  if (entries && !importFile(session, *entries)) {
    if (employees) {
      std::cerr << "salary-admin import: " << employeesPath << " 的員工已存入並保留;請修正 "
                << entriesPath << " 後單獨再匯入一次\n";
    }
    return 1;
  }
  return 0;
}

}  // namespace admin
