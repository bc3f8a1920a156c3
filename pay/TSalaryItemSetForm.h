#pragma once
// TSalaryItemSetForm: the salary item catalogue dialog (item.DB). Created once at start-up,
// hidden, and shown without blocking. It lists the catalogue in item order, adds the typed item
// (確定) unless it is already there, and deletes the item last clicked in the list.
//
// Item texts are compared byte by byte with letter case. A text that code page 950 cannot hold
// or that is wider than the field's 20 bytes is refused with a message and never cut. Each
// button that closes the dialog empties the edit; the title-bar close box keeps its text. As the
// dialog never runs modally, its OK- and Cancel-kind buttons carry no modal result: 確定 keeps
// it open after adding an item.
//
// In the build for the alias MIRUVIRUDI3 the catalogue table stays closed at creation: the list
// is empty until the first 確定 opens it.

#include <QDialog>

#include "store/Table.h"
#include "toolkit/DataSource.h"
#include "ui_TSalaryItemSetForm.h"

class TSalaryItemSetForm : public QDialog, public Ui::TSalaryItemSetForm {
  Q_OBJECT

 public:
  // Throws store::EngineError when item.DB cannot be opened.
  explicit TSalaryItemSetForm(store::Session& session, QWidget* parent = nullptr);

  void BitBtn1Click();
  void DeleteSalaryItemSetBitBtnClick();
  void BitBtn2Click();

  store::Table SalaryItemSetTable1;
  toolkit::DataSource DataSource1;  // SalaryItemSetTable1
};

extern TSalaryItemSetForm* SalaryItemSetForm;
