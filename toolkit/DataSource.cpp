#include "DataSource.h"

namespace toolkit {

DataSource::DataSource(store::Table& table, QObject* parent) : QObject(parent), table_(&table) {
  token_ = table_->subscribe([this](store::TableEvent event) {
    if (event == store::TableEvent::Destroyed) {
      table_ = nullptr;
      event = store::TableEvent::Closed;
    }
    emit changed(event);
  });
}

DataSource::~DataSource() {
  if (table_) table_->unsubscribe(token_);
}

bool DataSource::editing() const {
  if (!table_) return false;
  auto s = table_->State();
  return s == store::TableState::Insert || s == store::TableState::Edit;
}

QString DataSource::fieldText(const std::string& fieldName) const {
  if (!table_ || !table_->Active()) return {};
  return QString::fromStdString(table_->FieldByName(fieldName).text());
}

}  // namespace toolkit
