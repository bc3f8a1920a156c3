#pragma once
// ReportData: the data sets a report layout names, by those names: table objects, walked by
// the report, and queries, which give single values.
//
// A query is run afresh each time a band that shows it is printed and closed right after,
// so that its value is the one for the rows current at that moment (an employee's total in
// the footer after his lines), and so that a query linked to a table's data source is not
// re-run on every move of that table while the report walks it.
//
// Values are read as text in the element's format; every error is the engine's
// (store::EngineError), for example a missing table file.

#include <QDate>
#include <QString>
#include <map>
#include <vector>

#include "store/Value.h"

#include "ReportLayout.h"

namespace store {
class Query;
class Table;
}  // namespace store

namespace reports {

class ReportData {
 public:
  // Not owned; they must outlive this object.
  void addTable(const QString& name, store::Table& table);
  void addQuery(const QString& name, store::Query& query);

  // Opens every table and closes them again: throws when a file is missing or is not its
  // table. Reports hold no file open between builds, so that the entry screen can empty
  // temp.DB and see the files as they are.
  void checkTables();
  void closeTables() noexcept;

  void First(const QString& dataSet);
  void Next(const QString& dataSet);
  bool Eof(const QString& dataSet);
  // The order key of the row a table stands on, and a return to that row. seek throws
  // store::EngineError when the row is no longer there: the data changed meanwhile.
  std::vector<store::Value> position(const QString& dataSet);
  void seek(const QString& dataSet, const std::vector<store::Value>& key);

  // Runs the queries that `band` shows.
  void openQueries(const ReportBand& band);
  void closeQueries(const ReportBand& band);

  QString text(const ReportElement& element);

 private:
  store::Table& table(const QString& name);

  std::map<QString, store::Table*> tables_;
  std::map<QString, store::Query*> queries_;
};

// The program's one currency format (the system locale's, as the pay-entry grid shows it).
QString moneyText(double amount);
// The program's one date format: the system locale's short date.
QString dateText(const QDate& date);

}  // namespace reports
