#include "BatchMove.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>

#include "EngineError.h"
#include "Session.h"
#include "SqlValue.h"
#include "Table.h"

namespace store {

namespace {

using Code = EngineError::Code;

void syncFolder(const std::filesystem::path& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

void BatchMove::Execute() {
  if (!source_ || !destination_) {
    throw EngineError(Code::WrongState, "複製需要來源與目的資料表 (source and destination)");
  }
  if (mode_ != Mode::Copy) {
    throw EngineError(Code::WrongState, "只支援複製模式 (only the copy mode is supported)");
  }
  Session& session = source_->session();
  if (session.inTransaction()) {
    throw EngineError(Code::WrongState, "交易進行中不可複製資料表 (not inside a transaction)");
  }
  if (destination_->TableName().empty()) {
    throw EngineError(Code::WrongState, "目的資料表沒有指定檔案名稱");
  }

  // The source: its rows as the source object shows them, or the whole file when closed.
  const bool sourceOpen = source_->Active();
  const std::string sourceName = source_->TableName();
  const std::string sourceSchema = session.acquire(sourceName);
  struct Release {
    Session& s;
    std::string name;
    ~Release() { s.release(name); }
  } releaseSource{session, sourceName};
  const TableSchema schema = session.acquiredSchema(sourceName);
  std::string filter = "1";
  std::vector<Value> binds;
  if (sourceOpen) source_->visibleFilter(filter, binds);

  const std::filesystem::path target = session.resolve(destination_->TableName());
  static std::atomic<int> counter{0};
  const std::filesystem::path tmp =
      target.string() + ".copy-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
  std::error_code ec;
  std::filesystem::remove(tmp, ec);

  const std::string as = "batchmove";
  sqlite3* db = session.connection();
  bool attached = false;
  auto abandon = [&] {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    if (attached) sqlite3_exec(db, ("DETACH DATABASE " + as).c_str(), nullptr, nullptr, nullptr);
    std::filesystem::remove(tmp, ec);
    std::filesystem::remove(tmp.string() + "-journal", ec);
  };
  try {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "ATTACH DATABASE ? AS batchmove", -1, &st, nullptr);
    sqlite3_bind_text(st, 1, tmp.c_str(), -1, SQLITE_TRANSIENT);
    int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) session.fail(rc, "無法建立 " + target.string());
    attached = true;

    session.exec("BEGIN");
    for (const auto& sql : Session::createStatements(schema, as)) session.exec(sql);
    const std::string src = "\"" + sourceSchema + "\"";
    session.exec("INSERT INTO " + as + "._meta SELECT key, value FROM " + src + "._meta");
    std::string cols;
    for (const auto& f : schema.fields) cols += (cols.empty() ? "" : ", ") + Session::columnName(f);
    const std::string copy = "INSERT INTO " + as + ".data(" + cols + ") SELECT " + cols + " FROM " +
                             src + ".data WHERE " + filter;
    rc = sqlite3_prepare_v2(db, copy.c_str(), -1, &st, nullptr);
    if (rc != SQLITE_OK) session.fail(rc, "複製資料表 " + sourceName);
    for (size_t i = 0; i < binds.size(); ++i) {
      bindValue(st, static_cast<int>(i + 1), binds[i]);
    }
    rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) session.fail(rc, "複製資料表 " + sourceName);
    session.exec("COMMIT");
    session.exec("DETACH DATABASE " + as);
    attached = false;

    // The copy is complete and on disk: put it in place of the destination.
    const bool wasAttached = session.detachForReplace(target);
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
      const int e = errno;
      if (wasAttached) session.reattach(target);
      throw EngineError(Code::General,
                        "無法寫入 " + target.string() + ": " + std::generic_category().message(e));
    }
    syncFolder(target.parent_path());
    if (wasAttached) session.reattach(target);
  } catch (...) {
    abandon();
    throw;
  }
  session.noteWrite();
  if (destination_->Active()) destination_->Refresh();
}

}  // namespace store
