#pragma once
// UserDialog: what the add, change and delete dialogs share. Each is a plain window shown without
// blocking, so the main window and the other dialogs stay usable; the modal results of its
// standard buttons therefore close nothing, and a failure of the table engine leaves the dialog
// open with what was typed.
//
// Every outcome is reported with one message, and the dialog then closes with its boxes empty
// and the focus in its first box, ready for the next showing; only an empty code or password,
// which the table refuses, leaves it open with its entries. The close box only hides it,
// keeping the entries.

#include <QList>
#include <QString>
#include <QWidget>
#include <initializer_list>

#include "UserRules.h"

class QLineEdit;

class UserDialog : public QWidget {
  Q_OBJECT

 protected:
  explicit UserDialog(QWidget* parent);

  struct Box {
    QLineEdit* edit;
    const char* field;  // the field of pass.DB the box's text goes to
  };
  // Call once the design is loaded, with the boxes in tab order: each box takes only what its
  // field holds (8 bytes of code page 950), the labels fit their captions, Enter and Esc press
  // the declared buttons.
  void prepare(std::initializer_list<Box> boxes);

  // Closes the dialog and empties its boxes.
  void closeAndClear();
  // Reports `outcome`: a refusal is shown, then the dialog closes and empties (an empty entry
  // leaves it open as it is); Done closes and empties the dialog first, then shows `doneMessage`.
  void report(users::UserOutcome outcome, const QString& doneMessage);

 private:
  QList<QLineEdit*> boxes_;
};
