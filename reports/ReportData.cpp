#include "ReportData.h"

#include <QDate>
#include <QLocale>

#include "store/EngineError.h"
#include "store/Query.h"
#include "store/Table.h"

namespace reports {

namespace {

[[noreturn]] void unknownDataSet(const QString& name) {
  throw store::EngineError::of(store::EngineError::Code::General, {}, name.toStdString(),
                               "報表沒有這個資料集");
}

}  // namespace

QString moneyText(double amount) {
  return QLocale().toCurrencyString(amount);
}

QString dateText(const QDate& date) {
  return QLocale().toString(date, QLocale::ShortFormat);
}

void ReportData::addTable(const QString& name, store::Table& table) {
  tables_[name] = &table;
}

void ReportData::addQuery(const QString& name, store::Query& query) {
  queries_[name] = &query;
}

store::Table& ReportData::table(const QString& name) {
  auto it = tables_.find(name);
  if (it == tables_.end()) unknownDataSet(name);
  return *it->second;
}

void ReportData::checkTables() {
  try {
    for (auto& [name, t] : tables_) t->Open();
  } catch (...) {
    closeTables();
    throw;
  }
  closeTables();
}

void ReportData::closeTables() noexcept {
  for (auto& [name, t] : tables_) {
    try {
      t->Close();
    } catch (...) {
    }
  }
}

void ReportData::First(const QString& dataSet) {
  store::Table& t = table(dataSet);
  if (!t.Active()) t.Open();
  t.First();
}

void ReportData::Next(const QString& dataSet) {
  table(dataSet).Next();
}

bool ReportData::Eof(const QString& dataSet) {
  return table(dataSet).Eof();
}

std::vector<store::Value> ReportData::position(const QString& dataSet) {
  return table(dataSet).orderKey();
}

void ReportData::seek(const QString& dataSet, const std::vector<store::Value>& key) {
  store::Table& t = table(dataSet);
  if (!t.Active()) t.Open();
  if (!t.gotoOrderKey(key)) {
    throw store::EngineError::of(store::EngineError::Code::General, t.TableName(), {},
                                 "報表的資料已變更,請重新產生報表");
  }
}

void ReportData::openQueries(const ReportBand& band) {
  for (const auto& e : band.elements) {
    auto it = queries_.find(e.dataSet);
    if (e.kind == ReportElement::Kind::DBText && it != queries_.end()) {
      it->second->Close();
      it->second->Open();
    }
  }
}

void ReportData::closeQueries(const ReportBand& band) {
  for (const auto& e : band.elements) {
    auto it = queries_.find(e.dataSet);
    if (it != queries_.end()) it->second->Close();
  }
}

QString ReportData::text(const ReportElement& element) {
  store::Field field = [&] {
    if (auto q = queries_.find(element.dataSet); q != queries_.end()) {
      return q->second->FieldByName(element.field.toStdString());
    }
    return table(element.dataSet).FieldByName(element.field.toStdString());
  }();
  switch (element.format) {
    case ValueFormat::Money:
      return field.isNull() ? QString() : moneyText(field.number());
    case ValueFormat::Count:
      return QString::number(static_cast<long long>(field.number()));
    case ValueFormat::Text:
      break;
  }
  return QString::fromStdString(field.text());
}

}  // namespace reports
