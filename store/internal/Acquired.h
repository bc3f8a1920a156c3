#pragma once
// Acquired (engine internal): a table file acquired from the session's connection for as long
// as the object lives (Connection::acquire, released when it goes, on every path). Movable, so
// that a query can hold one for each file it names.

#include <string>
#include <utility>

#include "Connection.h"

namespace store {

class Acquired {
 public:
  // Attaches the file when it is not yet (see Connection::acquire); throws EngineError.
  Acquired(Connection& connection, std::string fileName)
      : connection_(&connection),
        fileName_(std::move(fileName)),
        schemaName_(connection.acquire(fileName_)) {}
  ~Acquired() {
    if (connection_) connection_->release(fileName_);
  }
  Acquired(Acquired&& other) noexcept
      : connection_(std::exchange(other.connection_, nullptr)),
        fileName_(std::move(other.fileName_)),
        schemaName_(std::move(other.schemaName_)) {}
  Acquired& operator=(Acquired&&) = delete;
  Acquired(const Acquired&) = delete;
  Acquired& operator=(const Acquired&) = delete;

  const std::string& fileName() const { return fileName_; }
  // The schema name under which the file is attached ("f3").
  const std::string& schemaName() const { return schemaName_; }
  // The file's structure, as read when it was attached.
  const TableSchema& schema() const { return connection_->acquiredSchema(fileName_); }

 private:
  Connection* connection_;
  std::string fileName_;
  std::string schemaName_;
};

}  // namespace store
