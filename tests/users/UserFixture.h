#pragma once
// The login and the three user dialogs on one fresh folder holding the user admin/admin, with the
// dialogs scripted; a plain window stands for the main window, another for the entry screen.

#include <gtest/gtest.h>

#include <QString>
#include <string>
#include <vector>

#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"
#include "users/TChangePinForm.h"
#include "users/TCreatPinForm.h"
#include "users/TDelPinForm.h"
#include "users/TPinForm.h"

inline const QString kUnknownCode =
    QStringLiteral("使用者代碼不存在,請確認代碼是否存在,並重新輸入");
inline const QString kCodeExists = QStringLiteral("使用者代碼已存在,請另選代碼,並重新輸入");
inline const QString kPasswordsDiffer =
    QStringLiteral("您所輸入的密碼不一致,請確認所輸入密碼,並重新輸入");
inline const QString kEmptyEntry = QStringLiteral("使用者代碼及密碼不可空白,請重新輸入");
inline const QString kWrongPassword = QStringLiteral("密碼錯誤,請重新輸入");
inline const QString kAdded = QStringLiteral("新增使用者代碼及密碼成功");
inline const QString kChanged = QStringLiteral("變更使用者代碼及密碼成功");
inline const QString kDeleted = QStringLiteral("使用者代碼及密碼刪除成功");

class UserFixture : public ::testing::Test {
 protected:
  UserFixture();
  ~UserFixture() override;

  // Each shows its dialog, fills its boxes and presses its OK button.
  void add(const QString& code, const QString& password, const QString& again);
  void change(const QString& oldCode, const QString& newCode, const QString& password,
              const QString& again);
  void remove(const QString& code, const QString& password);

  // "USERID PASSWORD" of every row of pass.DB, in code order.
  std::vector<std::string> users();
  // Presses the login's OK with these texts; true when the main window came up.
  bool logsIn(const QString& code, const QString& password);
  // The texts of the dialog's boxes, joined by "|" ("||" when all three of three are empty).
  static QString boxes(const QWidget& dialog);

  TestFolder folder;
  store::Session session{folder.path()};
  toolkit::ScriptedDialogs dialogs;
  TPinForm pin{session};
  TCreatPinForm creat{session};
  TChangePinForm changer{session};
  TDelPinForm deleter{session};
  QWidget entryScreen;
  QWidget mainMenu;
};
