#include "BatchMove.h"

#include <sqlite3.h>

#include <filesystem>

#include "EngineError.h"
#include "FileReplacement.h"
#include "Session.h"
#include "Table.h"
#include "TableFileCheck.h"
#include "internal/Acquired.h"
#include "internal/Connection.h"
#include "internal/PageCopy.h"
#include "internal/SqlValue.h"
#include "internal/TableFile.h"
#include "internal/TableImpl.h"

namespace store {

namespace {

using Code = EngineError::Code;

// Whether the copy at `copy` may take the place of `target`; throws if not (see BatchMove.h).
// Returns the copy's rows.
long long checkCopy(Session& session, const std::filesystem::path& copy,
                    const std::string& sourceName, const std::filesystem::path& target) {
  const std::filesystem::path source = session.resolve(sourceName);
  const LiveTable* live = liveTableNamed(target);
  const LiveTable* liveSource = liveTableNamed(source);
  const TableSchema expected = live         ? live->schema
                               : liveSource ? liveSource->schema
                                            : session.schemaOf(sourceName);
  const auto depth = live ? TableFileCheck::Depth::Content : TableFileCheck::Depth::Structure;
  const TableFileCheck::Report report = TableFileCheck::check(session, copy, expected, depth);
  if (!report.sound()) {
    throw EngineError::of(
        Code::NotATable, source.string(), {},
        "複製後的檢查未通過,原有的 " + target.string() + " 維持原狀: " + report.problemsText());
  }
  return report.rows;
}

}  // namespace

void BatchMove::Execute() {
  if (!source_ || !destination_) {
    throw EngineError::of(Code::WrongState, {}, {}, "複製需要來源與目的資料表");
  }
  if (mode_ != Mode::Copy) throw EngineError::of(Code::WrongState, {}, {}, "只支援複製模式");
  Session& session = source_->session();
  Connection& connection = session.connection();
  if (session.inTransaction()) {
    throw EngineError::of(Code::WrongState, source_->TableName(), {}, "交易進行中不可複製資料表");
  }
  const std::string destinationName = destination_->TableName();
  if (destinationName.empty()) {
    throw EngineError::of(Code::WrongState, {}, {}, "目的資料表沒有指定檔案名稱");
  }
  warning_.clear();
  rows_ = 0;
  const std::string sourceName = source_->TableName();
  const std::filesystem::path target = session.resolve(destinationName);
  FileReplacement replacement(target, FileReplacement::Kind::TableFile);
  if (source_->Active()) {
    copyVisibleRows(replacement.temporary(), destinationName);
  } else {
    PageCopy::copy(session, sourceName, replacement.temporary(), target.string());
  }
  const auto synced = connection.replace(replacement, [&](const std::filesystem::path& copy) {
    rows_ = checkCopy(session, copy, sourceName, target);
  });
  if (synced == FileReplacement::Synced::Unconfirmed) {
    warning_ = FileReplacement::unconfirmedWarning(target);
  }
  if (destination_->Active()) destination_->Refresh();
}

// The rows as the source object shows them, into a new table file of the source's structure.
void BatchMove::copyVisibleRows(const std::filesystem::path& into,
                                const std::string& destinationName) {
  Connection& connection = source_->session().connection();
  const std::string sourceName = source_->TableName();
  const Acquired source(connection, sourceName);
  const TableSchema schema = source.schema();
  std::string filter = "1";
  std::vector<Value> binds;
  source_->impl().visibleFilter(filter, binds);

  const std::string as = "batchmove";
  const Connection::Files target{destinationName};
  const Connection::Files both{sourceName, destinationName};
  {
    StatementHandle st = connection.prepare("ATTACH DATABASE ? AS batchmove", target);
    sqlite3_bind_text(st.get(), 1, into.c_str(), -1, SQLITE_TRANSIENT);
    connection.step(st.get(), target);
  }
  try {
    // A copy that fails is thrown away whole: it needs no journal.
    connection.exec("PRAGMA batchmove.journal_mode=OFF", target);
    connection.exec("BEGIN", target);
    for (const auto& sql : TableFile::createStatements(schema, as)) connection.exec(sql, target);
    const std::string src = TableFile::quote(source.schemaName());
    connection.exec("INSERT INTO " + as + "._meta SELECT key, value FROM " + src + "._meta", both);
    std::string cols;
    for (const auto& f : schema.fields)
      cols += (cols.empty() ? "" : ", ") + TableFile::columnName(f);
    StatementHandle st = connection.prepare("INSERT INTO " + as + ".data(" + cols + ") SELECT " +
                                                cols + " FROM " + src + ".data WHERE " + filter,
                                            both);
    for (size_t i = 0; i < binds.size(); ++i) {
      bindValue(st.get(), static_cast<int>(i + 1), binds[i]);
    }
    connection.step(st.get(), both);
    st.reset();
    connection.exec("COMMIT", target);
    connection.exec("DETACH DATABASE " + as, target);
  } catch (...) {
    for (const char* sql : {"ROLLBACK", "DETACH DATABASE batchmove"}) {
      try {
        connection.exec(sql, target);
      } catch (const EngineError&) {
        // Nothing to roll back, or already detached: the copy is removed either way.
      }
    }
    throw;
  }
}

}  // namespace store
