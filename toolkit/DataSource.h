#pragma once
// DataSource: links data-aware controls (and nothing else) to a store::Table.
//
// It observes the table through Table::subscribe and re-emits each event as the Qt signal
// changed(), so that any number of controls follow the table's current row and state. Declare
// the data source after its table; should the table still go first, the data source lets go
// of it and reads as closed from then on.

#include <QObject>
#include <string>

#include "store/Table.h"

namespace toolkit {

class DataSource : public QObject {
  Q_OBJECT

 public:
  explicit DataSource(store::Table& table, QObject* parent = nullptr);
  ~DataSource() override;

  // REQUIRES: the table still exists (hasTable()).
  store::Table& table() const { return *table_; }
  bool hasTable() const { return table_ != nullptr; }
  // True while the table holds a row being inserted or edited: the only time a control may
  // write into its field.
  bool editing() const;
  // The field of the current row, as text; "" when the table is closed or has no row.
  QString fieldText(const std::string& fieldName) const;

 signals:
  void changed(store::TableEvent event);

 private:
  store::Table* table_;
  int token_ = -1;
};

}  // namespace toolkit
