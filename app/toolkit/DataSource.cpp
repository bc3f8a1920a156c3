#include "DataSource.h"

namespace toolkit {

DataSource::DataSource(store::Table& table, QObject* parent) : QObject(parent), table_(table) {
  token_ = table_.subscribe([this](store::TableEvent event) { emit changed(event); });
}

DataSource::~DataSource() {
  table_.unsubscribe(token_);
}

bool DataSource::editing() const {
  auto s = table_.State();
  return s == store::TableState::Insert || s == store::TableState::Edit;
}

QString DataSource::fieldText(const std::string& fieldName) const {
  if (!table_.Active()) return {};
  return QString::fromStdString(table_.FieldByName(fieldName).text());
}

}  // namespace toolkit
