#include "BatchMove.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>

#include "Connection.h"
#include "EngineError.h"
#include "PageCopy.h"
#include "Session.h"
#include "SqlValue.h"
#include "Table.h"
#include "TableImpl.h"

namespace store {

namespace {

using Code = EngineError::Code;

// The rename reaches the medium only with the folder. The copy is in place either way, so a
// failure here is not reported as a failed copy.
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
    throw EngineError::of(Code::WrongState, {}, {}, "複製需要來源與目的資料表");
  }
  if (mode_ != Mode::Copy) throw EngineError::of(Code::WrongState, {}, {}, "只支援複製模式");
  Session& session = source_->session();
  Connection& connection = connectionOf(session);
  if (session.inTransaction()) {
    throw EngineError::of(Code::WrongState, source_->TableName(), {}, "交易進行中不可複製資料表");
  }
  if (destination_->TableName().empty()) {
    throw EngineError::of(Code::WrongState, {}, {}, "目的資料表沒有指定檔案名稱");
  }

  // A closed source object stands for its whole file, which is copied page by page.
  if (!source_->Active()) {
    PageCopy::copy(session, source_->TableName(), session.resolve(destination_->TableName()));
    if (destination_->Active()) destination_->Refresh();
    return;
  }

  // The source: its rows as the source object shows them.
  const std::string sourceName = source_->TableName();
  const std::string sourceSchema = connection.acquire(sourceName);
  struct Release {
    Connection& c;
    std::string name;
    ~Release() { c.release(name); }
  } releaseSource{connection, sourceName};
  const TableSchema schema = connection.acquiredSchema(sourceName);
  std::string filter = "1";
  std::vector<Value> binds;
  source_->d_->visibleFilter(filter, binds);

  const std::filesystem::path target = session.resolve(destination_->TableName());
  static std::atomic<int> counter{0};
  const std::filesystem::path tmp =
      target.string() + ".copy-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
  std::error_code ec;
  std::filesystem::remove(tmp, ec);

  const std::string as = "batchmove";
  const Connection::Files targetFile{target.string()};
  bool attached = false;
  auto abandon = [&] {
    try {
      connection.exec("ROLLBACK", targetFile);
    } catch (const EngineError&) {
    }
    try {
      if (attached) connection.exec("DETACH DATABASE " + as, targetFile);
    } catch (const EngineError&) {
    }
    std::filesystem::remove(tmp, ec);
    std::filesystem::remove(tmp.string() + "-journal", ec);
  };
  try {
    {
      StatementHandle st = connection.prepare("ATTACH DATABASE ? AS batchmove", targetFile);
      sqlite3_bind_text(st.get(), 1, tmp.c_str(), -1, SQLITE_TRANSIENT);
      connection.step(st.get(), targetFile);
    }
    attached = true;

    connection.exec("BEGIN", targetFile);
    for (const auto& sql : Connection::createStatements(schema, as))
      connection.exec(sql, targetFile);
    const std::string src = "\"" + sourceSchema + "\"";
    const Connection::Files both{sourceName, target.string()};
    connection.exec("INSERT INTO " + as + "._meta SELECT key, value FROM " + src + "._meta", both);
    std::string cols;
    for (const auto& f : schema.fields)
      cols += (cols.empty() ? "" : ", ") + Connection::columnName(f);
    const std::string copy = "INSERT INTO " + as + ".data(" + cols + ") SELECT " + cols + " FROM " +
                             src + ".data WHERE " + filter;
    {
      StatementHandle st = connection.prepare(copy, both);
      for (size_t i = 0; i < binds.size(); ++i) {
        bindValue(st.get(), static_cast<int>(i + 1), binds[i]);
      }
      connection.step(st.get(), both);
    }
    connection.exec("COMMIT", targetFile);
    connection.exec("DETACH DATABASE " + as, targetFile);
    attached = false;

    // The copy is complete and on disk: put it in place of the destination.
    const bool wasAttached = connection.detachForReplace(target);
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
      const int e = errno;
      if (wasAttached) connection.reattach(target);
      throw EngineError::fromErrno(e, target.string());
    }
    syncFolder(target.parent_path());
    if (wasAttached) connection.reattach(target);
  } catch (...) {
    abandon();
    throw;
  }
  connection.noteWrite();
  if (destination_->Active()) destination_->Refresh();
}

}  // namespace store
