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

#include <cerrno>
#include <cstring>
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

// Column names match without regard to ASCII letter case, as the engine's field names do.
bool sameName(const std::string& a, const std::string& b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// A CSV file opened and its header checked: fields[i] names the field of the i-th cell.
class Source {
 public:
  Source(const std::string& path, const Kind& kind) : path_(path), kind_(kind) {
    in_.open(path, std::ios::binary);
    if (!in_) throw Refusal(0, "cannot be opened: " + std::string(std::strerror(errno)));
    csv_ = std::make_unique<CsvReader>(in_);
    std::vector<std::string> header;
    try {
      if (!csv_->next(header)) throw Refusal(1, "is empty; its first row must name the columns");
    } catch (const CsvError& e) {
      throw Refusal(e.line, e.what());
    }
    for (const auto& name : header) {
      std::string field;
      for (const auto& c : kind.columns) {
        if (sameName(name, c)) field = c;
      }
      if (field.empty()) throw Refusal(1, "unknown column \"" + name + "\"" + expected());
      for (const auto& f : fields_) {
        if (f == field) throw Refusal(1, "column " + field + " appears twice");
      }
      fields_.push_back(field);
    }
    for (const auto& c : kind.columns) {
      bool found = false;
      for (const auto& f : fields_) found = found || f == c;
      if (!found) throw Refusal(1, "column " + c + " is missing" + expected());
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
    if (in_.bad()) throw Refusal(0, "could not be read to its end");
    return false;
  }
  int line() const { return csv_->recordLine(); }

 private:
  std::string expected() const { return " (the columns are " + join(kind_.columns) + ")"; }

  std::string path_;
  const Kind& kind_;
  std::ifstream in_;
  std::unique_ptr<CsvReader> csv_;
  std::vector<std::string> fields_;
};

std::string where(const std::string& path, int line) {
  return line > 0 ? path + " line " + std::to_string(line) : path;
}

// The line and field of a refused row.
Refusal fieldRefusal(int line, const std::string& field, const std::string& why) {
  return Refusal(line, "field " + field + ": " + why);
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
      throw fieldRefusal(line, field, "a line break, tab or other control character");
    }
  }
}

// The key values of the row being inserted, as "NUMBER 000001" or "NUMBER 000001, SENDDATE ...".
std::string keyText(store::Table& table) {
  std::string out;
  for (const auto& k : table.schema().primaryKey) {
    const store::Field f = table.FieldByName(k);
    out += (out.empty() ? "" : ", ") + k + " " + (f.isNull() ? "(empty)" : f.text());
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
      return field == "PAY" ? "may not be zero or empty" : "may not be empty";
    case pay::EntryCheck::AmountTooLong:
      return "longer than the " + std::to_string(pay::kTransferAmountWidth) +
             " characters of the transfer file's amount";
    case pay::EntryCheck::UnknownItem:
      return "not one of the sixteen salary items";
    default:
      return "refused";
  }
}

// Stores one record as a new row of `table`, or throws Refusal naming the line and the field.
void storeRow(Source& source, const std::vector<std::string>& cells, store::Table& table,
              KnownEmployees* employees, const std::set<int>& refused, long long& capitalised) {
  const int line = source.line();
  const auto& fields = source.fields();
  if (cells.size() != fields.size()) {
    throw Refusal(line, "has " + std::to_string(cells.size()) + " cells; the first row names " +
                            std::to_string(fields.size()) + " columns");
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
                       "wider than the " + std::to_string(::employees::kMemoBytes) +
                           " bytes the employee page can show and write back");
  }
  if (employees) {
    const std::string number = table.FieldByName("NUMBER").text();
    if (number.empty()) throw fieldRefusal(line, "NUMBER", "an entry needs an employee number");
    if (!employees->has(number)) {
      throw fieldRefusal(line, "NUMBER", "no employee has the number " + number + " in basic.DB");
    }
    if (const pay::EntryVerdict v = pay::judgeEntry(table); v.check != pay::EntryCheck::Accepted) {
      throw fieldRefusal(line, v.field, entryRefusal(v.check, v.field));
    }
  }
  try {
    table.Post();
  } catch (const store::EngineError& e) {
    if (!refusesRow(e)) throw;
    if (e.code() == Code::RequiredField) throw fieldRefusal(line, e.field(), "may not be empty");
    if (e.code() != Code::KeyViolation) throw Refusal(line, e.what());
    const std::string key = keyText(table);
    const int earlier = earlierLineWithKey(source, table, line, refused);
    throw Refusal(line, earlier > 0 ? key + ": the same as line " + std::to_string(earlier)
                                    : key + ": exists already in " + table.TableName());
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
    std::cerr << "salary-admin import: nothing of " << source.path() << " was stored\n";
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
      std::cerr << "salary-admin import: " << source.path() << ": " << unlisted
                << " more rows refused\n";
    }
    if (!refused.empty()) return nothingStored();
    tx.commit();
  } catch (const store::EngineError& e) {
    std::cerr << "salary-admin import: " << source.path() << ": " << e.what() << "\n";
    return nothingStored();
  }
  std::cout << "Stored " << stored << " rows of " << source.path() << " in " << kind.tableName
            << "\n";
  if (capitalised > 0) {
    std::cout << capitalised << " national IDs stored with their letters in capitals\n";
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
  if (folder.empty()) throw UsageError("--data needs a folder");
  const std::string employeesPath = optionValue(args, "--employees", false);
  const std::string entriesPath = optionValue(args, "--entries", false);
  if (employeesPath.empty() && entriesPath.empty()) {
    throw UsageError("--employees FILE or --entries FILE (or both) is required");
  }

  // Both headers are checked before anything is stored.
  std::unique_ptr<Source> employees, entries;
  bool ok = true;
  if (!employeesPath.empty()) ok = (employees = openSource(employeesPath, kEmployees)) && ok;
  if (!entriesPath.empty()) ok = (entries = openSource(entriesPath, kEntries)) && ok;
  if (!ok) {
    std::cerr << "salary-admin import: nothing was stored\n";
    return 1;
  }

  store::Session session(folder);
  session.AddPassword(store::kTablePassword);
  if (employees && !importFile(session, *employees)) {
    if (entries) std::cerr << "salary-admin import: " << entriesPath << " was not read\n";
    return 1;
  }
  if (entries && !importFile(session, *entries)) {
    if (employees) {
      std::cerr << "salary-admin import: the employees of " << employeesPath
                << " stay stored; import " << entriesPath << " again alone once it is mended\n";
    }
    return 1;
  }
  return 0;
}

}  // namespace admin
