#include "TMainMenuForm.h"

#include <QCloseEvent>
#include <QTabBar>

#include "pay/TSalaryItemSetForm.h"
#include "reports/TPrintSimpleForm.h"
#include "reports/TQuickReport1.h"
#include "store/ReadScope.h"
#include "toolkit/Forms.h"
#include "toolkit/Guard.h"

TMainMenuForm* MainMenuForm = nullptr;

TMainMenuForm::TMainMenuForm(store::Session& session, QWidget* parent)
    : QWidget(parent),
      EmployeeBasicTable(session, "basic.DB"),
      EmployeeSalaryTable(session, "salary.DB"),
      SalaryItemTable(session, "item.DB"),
      DeleteSalaryDateTable(session, "salary.DB"),
      SaveBasicTable(session, "basic.DB"),
      SaveSalaryTable(session, "salary.DB"),
      SavePassTable(session, "pass.DB"),
      BasicDestTable(session),
      SalaryDestTable(session),
      PassDestTable(session),
      RecoverSaveBasicTable(session, "basic_bk.db"),
      RecoverSaveSalaryTable(session, "salary_bk.db"),
      RecoverSavePassTable(session, "pass_bk.db"),
      DataSource1(EmployeeBasicTable),
      DataSource2(EmployeeSalaryTable),
      DataSource3(SalaryItemTable),
      DataSource4(DeleteSalaryDateTable) {
  setupUi(this);
  // The window's colour is the system's tool-tip background, on the pages as well.
  const QString info = palette().color(QPalette::ToolTipBase).name();
  setStyleSheet(styleSheet() +
                QStringLiteral(" TMainMenuForm, #BasicData, #SalaryMaintain, #FileTansfer, "
                               "#SuperViser, #FileClear { background-color: %1; }")
                    .arg(info));
  for (int i = 0; i < PageControl1->count(); ++i) {
    PageControl1->widget(i)->setAttribute(Qt::WA_StyledBackground);
  }
  setWindowState(Qt::WindowMaximized);
  QueryPanel->raise();

  EmployeeBasicTable.SetIndexFieldNames("NUMBER");
  EmployeeSalaryTable.SetIndexFieldNames("NUMBER");
  EmployeeSalaryTable.SetMasterSource(&EmployeeBasicTable, "NUMBER");
  SalaryItemTable.SetIndexFieldNames("SALARYITEM");
  DeleteSalaryDateTable.SetIndexFieldNames("SENDDATE");
  SalaryItemTable.Open();

  BasicData->bind(this);
  QueryPanel->bind(this);
  QueryPanel->attachMenuTo(BasicData->Panel15);
  QueryPanel->attachMenuTo(SalaryMaintain->Panel16);
  SalaryMaintain->bind(this, &DataSource1, &DataSource2, &DataSource3, "NUMBER");
  FileClear->bind({&EmployeeBasicTable,
                   &EmployeeSalaryTable,
                   &DeleteSalaryDateTable,
                   {&SaveBasicTable, &SaveSalaryTable, &SavePassTable},
                   {&BasicDestTable, &SalaryDestTable, &PassDestTable},
                   {&RecoverSaveBasicTable, &RecoverSaveSalaryTable, &RecoverSavePassTable},
                   &BatchMove1});

  toolkit::prepareForm(this);
  toolkit::connectGuarded(PageControl1, &QTabWidget::currentChanged, this,
                          &TMainMenuForm::PageControl1Change);
  for (auto* back : {BasicData->EmployeeExitBitBtn1, SalaryMaintain->LoginBitBtn12,
                     FileTansfer->BitBtn2, SuperViser->BitBtn3}) {
    toolkit::connectGuarded(back, &toolkit::BitBtn::activated, this,
                            &TMainMenuForm::EmployeeExitBitBtn1Click);
  }
  toolkit::connectGuarded(FileTansfer->PreviewBitBtn1, &toolkit::BitBtn::activated, this,
                          &TMainMenuForm::PreviewBitBtn1Click);
  toolkit::connectGuarded(FileTansfer->PrintBitBtn1, &toolkit::BitBtn::activated, this,
                          &TMainMenuForm::PrintBitBtn1Click);
  // The pay-entry page moves between employees with the employee page's handlers. A new pay
  // entry still open is dropped first, as by a search: only 寫入 ever writes one.
  auto* pay = SalaryMaintain;
  const std::pair<toolkit::BitBtn*, void (BasicDataPage::*)()> employeeBar[] = {
      {pay->FirstBitBtn7, &BasicDataPage::FirstBitBtn1Click},
      {pay->PriorBitBtn8, &BasicDataPage::PriorBitBtn1Click},
      {pay->NextBitBtn9, &BasicDataPage::NextBitBtn1Click},
      {pay->LastBitBtn10, &BasicDataPage::LastBitBtn1Click},
      {pay->CancelBitBtn11, &BasicDataPage::CancelBitBtn1Click}};
  for (const auto& [button, handler] : employeeBar) {
    toolkit::connectGuarded(button, &toolkit::BitBtn::activated, this, [this, handler] {
      SalaryMaintain->dropPendingEntry();
      (BasicData->*handler)();
    });
  }
  toolkit::connectGuarded(QueryPanel->QueryBitBtn, &toolkit::BitBtn::activated, this,
                          [this] { SalaryMaintain->dropPendingEntry(); });
  // Hidden and disabled on the password page: the catalogue dialog is reached only this way.
  toolkit::connectGuarded(SuperViser->Button1, &toolkit::BitBtn::activated, this,
                          &TMainMenuForm::Button1Click);

  EmployeeBasicFormCreate();
}

void TMainMenuForm::EmployeeBasicFormCreate() {
  EmployeeBasicTable.Open();
  EmployeeSalaryTable.Open();
}

void TMainMenuForm::EmployeeBasicFormClose() {}

void TMainMenuForm::PageControl1Change() {
  // The re-reads of the three tables see the files in one state, checked once.
  store::ReadScope reads(EmployeeBasicTable.session());
  EmployeeBasicTable.Close();
  EmployeeBasicTable.Open();
  EmployeeBasicTable.Refresh();
  SetBrowseButtons();
  EmployeeSalaryTable.Close();
  EmployeeSalaryTable.Open();
  EmployeeSalaryTable.Refresh();
  SalaryItemTable.Close();
  SalaryItemTable.Open();
  SalaryItemTable.Refresh();
}

QWidget* TMainMenuForm::sendDateEdit() {
  return SalaryMaintain->SendDateEdit;
}

void TMainMenuForm::EmployeeExitBitBtn1Click() {
  close();
}

void TMainMenuForm::Button1Click() {
  SalaryItemSetForm->show();
}

namespace {

constexpr int kDetailedStyle = 1;  // PrintRadioGroup's "詳細列印"

}  // namespace

void TMainMenuForm::PreviewBitBtn1Click() {
  if (FileTansfer->PrintRadioGroup->ItemIndex() == kDetailedStyle) {
    QuickReport1->Preview();
  } else {
    PrintSimpleForm->SimpleQuickRep2.Preview();
  }
}

void TMainMenuForm::PrintBitBtn1Click() {
  if (FileTansfer->PrintRadioGroup->ItemIndex() == kDetailedStyle) {
    QuickReport1->Print();
  } else {
    PrintSimpleForm->SimpleQuickRep2.Print();
  }
}

void TMainMenuForm::closeEvent(QCloseEvent* event) {
  toolkit::runGuarded([this] {
    // A new pay entry left open is not kept for the next login: only 寫入 writes one.
    SalaryMaintain->dropPendingEntry();
    EmployeeBasicFormClose();
  });
  event->accept();
}

void TMainMenuForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PageControl1->setGeometry(rect());
}

namespace {

void enableAll(std::initializer_list<QWidget*> controls, bool enabled) {
  for (QWidget* w : controls) w->setEnabled(enabled);
}

// The groups that the switching operations turn on and off together.
void enableBrowseButtons(BasicDataPage* p, bool enabled) {
  enableAll({p->FirstBitBtn1, p->PriorBitBtn1, p->NextBitBtn1, p->LastBitBtn1, p->InsertBitBtn1,
             p->EditBitBtn1, p->DeleteBitBtn1},
            enabled);
}

void enableWriteButtons(BasicDataPage* p, SalaryMaintainPage* s, bool enabled) {
  enableAll({p->PostBitBtn1, p->CancelBitBtn1, s->SalaryPostBitBtn}, enabled);
}

void enableEmployeeEdits(BasicDataPage* p, bool enabled) {
  enableAll(
      {p->EmployeeNumberDBEdit, p->EmployeeAccountDBEdit, p->EmployeeNameDBEdit,
       p->EmployeeIDDBEdit, p->EmployeeInDateDBEdit, p->EmployeeLevelDBEdit, p->EmployeeMemoDBEdit},
      enabled);
}

// The fourth control of the group is the employee page's memo edit, not the pay-entry page's.
void enableSalaryEdits(BasicDataPage* p, SalaryMaintainPage* s, bool enabled) {
  enableAll({s->EmployeeDateDBEdit, s->EmployeePayDBEdit, s->EmployeeSalaryItemDBLookupComboBox,
             p->EmployeeMemoDBEdit},
            enabled);
}

}  // namespace

void TMainMenuForm::SetEditButtons() {
  enableBrowseButtons(BasicData, false);
  enableWriteButtons(BasicData, SalaryMaintain, true);
}

void TMainMenuForm::SetBrowseButtons() {
  enableBrowseButtons(BasicData, true);
  enableWriteButtons(BasicData, SalaryMaintain, false);
}

void TMainMenuForm::EnableEmployeeEdits() {
  enableEmployeeEdits(BasicData, true);
}

void TMainMenuForm::DisableEmployeeEdits() {
  enableEmployeeEdits(BasicData, false);
}

void TMainMenuForm::EnableSalaryEdits() {
  enableSalaryEdits(BasicData, SalaryMaintain, true);
}

void TMainMenuForm::DisableSalaryEdits() {
  enableSalaryEdits(BasicData, SalaryMaintain, false);
}
