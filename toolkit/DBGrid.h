#pragma once
// DBGrid: the rows of a data source's table, one line each, in the table's order, with the
// current row marked; clicking a line makes that row current.
//
// The grid reads its lines through a cursor of its own over the same file, order and (for a
// detail table) master link, so reading never moves the table's current row. It shows at most
// kMaxLines lines, enough for one employee's entries.

#include <QPointer>
#include <QTableWidget>
#include <string>
#include <vector>

#include "DataSource.h"

namespace toolkit {

class DBGrid : public QTableWidget {
  Q_OBJECT

 public:
  static constexpr int kMaxLines = 5000;

  struct Column {
    std::string field;
    QString title;
  };

  explicit DBGrid(QWidget* parent = nullptr);
  ~DBGrid() override;

  void setDataSource(DataSource* source, std::vector<Column> columns);
  // For a detail table: the master table and its link fields, as given to the table itself.
  void setMasterLink(store::Table* master, const std::string& masterFields);

  // Re-reads the lines.
  void reload();

 private:
  void follow(store::TableEvent event);
  void markCurrent();
  void choose(int line);
  std::vector<store::Value> currentKey();

  QPointer<DataSource> source_;
  std::vector<Column> columns_;
  store::Table* master_ = nullptr;
  std::string masterFields_;
  std::vector<std::vector<store::Value>> keys_;  // primary key of each line
  bool moving_ = false;
};

}  // namespace toolkit
