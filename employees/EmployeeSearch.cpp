#include "EmployeeSearch.h"

#include <QMenu>

#include "EmployeeWindow.h"
#include "store/EngineError.h"
#include "store/Table.h"
#include "toolkit/Dialogs.h"
#include "toolkit/FieldValidator.h"
#include "toolkit/Guard.h"

namespace {

struct Criterion {
  const char* item;    // the menu item's caption
  const char* prompt;  // the panel's prompt once it is chosen
  const char* field;   // the field a prefix search looks in
};

const Criterion kCriteria[] = {
    {"1.請輸入員工編號以查詢員工資料", "請輸入員工編號 :", "NUMBER"},
    {"2.請輸入員工姓名以查詢員工資料", "請輸入員工姓名 :", "NAME"},
    {"3.請輸入員工帳號以查詢員工資料", "請輸入員工帳號 :", "ACCOUNT"},
    {"4.請輸入員工身分證號以查詢員工資料", "請輸入員工身分證號 :", "ID"},
};

const QString kNotFound = QStringLiteral("查無此資料,請確認資料是否存在,並重新輸入");
const QString kChooseCriterion = QStringLiteral("請選擇查詢條件");

}  // namespace

EmployeeSearch::EmployeeSearch(QWidget* parent) : QFrame(parent) {
  setupUi(this);
  EmployeeSearchPopupMenu = new QMenu(this);
  EmployeeSearchPopupMenu->setObjectName("EmployeeSearchPopupMenu");
  QAction** items[] = {&N11, &N21, &N31, &N41};
  const char* names[] = {"N11", "N21", "N31", "N41"};
  for (int i = 0; i < 4; ++i) {
    *items[i] = EmployeeSearchPopupMenu->addAction(QString::fromUtf8(kCriteria[i].item));
    (*items[i])->setObjectName(names[i]);
  }
  // As many bytes as the widest field searched, the account, holds.
  const store::TableSchema& basic = store::basicSchema();
  toolkit::limitToField(QueryEdit, basic.fields[basic.fieldIndex("ACCOUNT")]);
}

void EmployeeSearch::bind(EmployeeWindow* window) {
  window_ = window;
  using toolkit::connectGuarded;
  connectGuarded(N11, &QAction::triggered, this, &EmployeeSearch::N11Click);
  connectGuarded(N21, &QAction::triggered, this, &EmployeeSearch::N21Click);
  connectGuarded(N31, &QAction::triggered, this, &EmployeeSearch::N31Click);
  connectGuarded(N41, &QAction::triggered, this, &EmployeeSearch::N41Click);
  connectGuarded(QueryBitBtn, &toolkit::BitBtn::activated, this, &EmployeeSearch::QueryBitBtnClick);
  connectGuarded(BitBtn5, &toolkit::BitBtn::activated, this, &EmployeeSearch::BitBtn5Click);
}

void EmployeeSearch::attachMenuTo(QWidget* panel) {
  panel->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(panel, &QWidget::customContextMenuRequested, EmployeeSearchPopupMenu,
          [menu = EmployeeSearchPopupMenu, panel](const QPoint& at) {
            menu->popup(panel->mapToGlobal(at));
          });
}

void EmployeeSearch::choose(int criterion) {
  window_->SearchCriterion = criterion;
  QueryLabel->setText(QString::fromUtf8(kCriteria[criterion - 1].prompt));
  // Screen readers name the edit by the prompt the clerk sees.
  QueryEdit->setAccessibleName(QueryLabel->text().simplified());
  show();
}

void EmployeeSearch::N11Click() {
  choose(1);
}

void EmployeeSearch::N21Click() {
  choose(2);
}

void EmployeeSearch::N31Click() {
  choose(3);
}

void EmployeeSearch::N41Click() {
  choose(4);
}

void EmployeeSearch::QueryBitBtnClick() {
  const int criterion = window_->SearchCriterion;
  if (criterion < 1 || criterion > 4) {
    toolkit::ShowMessage(kChooseCriterion);
    QueryEdit->clear();
    return;
  }
  const QString text = QueryEdit->text();
  const bool found = criterion == 1
                         ? findNumber(text)
                         : window_->employeeTable().Locate(kCriteria[criterion - 1].field,
                                                           text.toStdString(), store::PartialKey);
  if (!found) toolkit::ShowMessage(kNotFound);
  finish();
}

// Exact search on the key, from the table reopened in number order.
bool EmployeeSearch::findNumber(const QString& number) {
  store::Table& employees = window_->employeeTable();
  employees.Close();
  employees.SetIndexFieldNames("NUMBER");
  employees.Open();
  employees.SetKey();
  try {
    employees.FieldByName("NUMBER").setText(number.toStdString());
  } catch (const store::EngineError& e) {
    // Text that code page 950 cannot hold is no stored number: nothing is found.
    employees.Cancel();
    if (e.code() == store::EngineError::Code::InvalidValue) return false;
    throw;
  }
  return employees.GotoKey();
}

void EmployeeSearch::BitBtn5Click() {
  finish();
}

void EmployeeSearch::finish() {
  QueryEdit->clear();
  hide();
}
