#pragma once
// BasicDataPage: the employee page of the main window: the seven data-bound edits of the
// current employee and the button row. Its handlers are methods of the main window, which
// owns the tables it shows.

#include <QWidget>

#include "ui_BasicDataPage.h"

namespace toolkit {
class DataSource;
}

class BasicDataPage : public QWidget, public Ui::BasicDataPage {
  Q_OBJECT

 public:
  explicit BasicDataPage(QWidget* parent = nullptr);

  // Binds the seven edits to the employee table (the main window's DataSource1).
  void bind(toolkit::DataSource* employees);
};
