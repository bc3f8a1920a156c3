#include "Session.h"

#include "internal/Acquired.h"
#include "internal/Connection.h"

namespace store {

Session::Session(std::filesystem::path folder)
    : connection_(std::make_unique<Connection>(std::move(folder))) {}

Session::~Session() = default;

void Session::AddPassword(const std::string& password) {
  connection_->addPassword(password);
}

const std::filesystem::path& Session::folder() const {
  return connection_->folder();
}

std::filesystem::path Session::resolve(const std::string& fileName) const {
  return connection_->resolve(fileName);
}

bool Session::exists(const std::string& fileName) const {
  std::error_code ec;
  return std::filesystem::exists(resolve(fileName), ec);
}

void Session::createTable(const std::string& fileName, const TableSchema& schema) {
  connection_->createTable(fileName, schema);
}

TableSchema Session::schemaOf(const std::string& fileName) {
  const Acquired file(*connection_, fileName);
  return file.schema();
}

bool Session::inTransaction() const {
  return connection_->inTransaction();
}

}  // namespace store
