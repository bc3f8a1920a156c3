// The form toolkit: the handler guard, the data-aware controls over a table, and Enter and
// Esc as the buttons declare them.

#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "app/toolkit/BitBtn.h"
#include "app/toolkit/DBComboBox.h"
#include "app/toolkit/DBEdit.h"
#include "app/toolkit/DBGrid.h"
#include "app/toolkit/DBLookupListBox.h"
#include "app/toolkit/DataSource.h"
#include "app/toolkit/Forms.h"
#include "app/toolkit/Guard.h"
#include "app/toolkit/ScriptedDialogs.h"
#include "store/EngineError.h"
#include "store/Table.h"
#include "tests/app/DataFolder.h"

namespace {

// Types text as an input method commits it (QTest::keyClicks cannot send Chinese).
void commit(QWidget* w, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(w, &event);
}

TEST(Guard, ReportsTheHandlersErrorAndTheProgramGoesOn) {
  toolkit::ScriptedDialogs dialogs;
  QPushButton button;
  int runs = 0;
  toolkit::connectGuarded(&button, &QPushButton::clicked, &button, [&] {
    ++runs;
    throw store::EngineError(store::EngineError::Code::MissingFile, "找不到 temp.DB");
  });
  button.click();
  button.click();
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(dialogs.texts(), (QStringList{"找不到 temp.DB", "找不到 temp.DB"}));
  EXPECT_EQ(dialogs.shown()[0].kind, toolkit::ScriptedDialogs::Kind::Error);
}

class DataAware : public ::testing::Test {
 protected:
  DataAware() : basic(folder.session(), "basic.DB"), source(basic) {
    folder.addEmployee("000001", "王小明");
    folder.addEmployee("000002", "李大同");
    basic.SetIndexFieldNames("NUMBER");
    basic.Open();
  }
  DataFolder folder;
  store::Table basic;
  toolkit::DataSource source;
  toolkit::ScriptedDialogs dialogs;
};

TEST_F(DataAware, EditShowsTheCurrentRowAndFollowsMoves) {
  toolkit::DBEdit edit;
  edit.setDataField(&source, "NAME");
  EXPECT_EQ(edit.text(), QStringLiteral("王小明"));
  basic.Next();
  EXPECT_EQ(edit.text(), QStringLiteral("李大同"));
  basic.Close();
  EXPECT_EQ(edit.text(), "");
}

TEST_F(DataAware, EditRefusesTypingInBrowseState) {
  toolkit::DBEdit edit;
  edit.setDataField(&source, "NAME");
  QTest::keyClicks(&edit, "abc");
  EXPECT_EQ(edit.text(), QStringLiteral("王小明"));
  EXPECT_EQ(basic.FieldByName("NAME").text(), "王小明");
}

TEST_F(DataAware, EditWritesTypingIntoTheRowBeingEdited) {
  toolkit::DBEdit edit;
  edit.setDataField(&source, "NAME");
  basic.Edit();
  edit.selectAll();
  QTest::keyClicks(&edit, "Lee");
  EXPECT_EQ(basic.FieldByName("NAME").text(), "Lee");
  basic.Post();
  EXPECT_EQ(edit.text(), "Lee");
}

TEST_F(DataAware, EditLimitsInputByTheFieldsWidthInBytes) {
  toolkit::DBEdit edit;
  edit.setDataField(&source, "NAME");  // 10 bytes
  basic.Insert();
  commit(&edit, QStringLiteral("一二三四五"));
  commit(&edit, QStringLiteral("六"));
  QTest::keyClicks(&edit, "x");
  EXPECT_EQ(edit.text(), QStringLiteral("一二三四五"));
  EXPECT_EQ(basic.FieldByName("NAME").text(), "一二三四五");
}

TEST_F(DataAware, EditRefusesCharactersCodePage950CannotHold) {
  toolkit::DBEdit edit;
  edit.setDataField(&source, "NAME");
  basic.Insert();
  commit(&edit, QStringLiteral("王"));
  commit(&edit, QStringLiteral("한"));
  EXPECT_EQ(edit.text(), QStringLiteral("王"));
  EXPECT_EQ(basic.FieldByName("NAME").text(), "王");
}

TEST_F(DataAware, UpperCaseEditTurnsTypedLettersToCapitals) {
  toolkit::DBEdit edit;
  edit.setUpperCase(true);
  edit.setDataField(&source, "ID");
  basic.Edit();
  QTest::keyClicks(&edit, "a123456789");
  EXPECT_EQ(basic.FieldByName("ID").text(), "A123456789");
}

TEST(DataAwareLifetime, EditLetsGoOfATableDestroyedFirst) {
  DataFolder folder;
  folder.addEmployee("000001", "王小明");
  auto basic = std::make_unique<store::Table>(folder.session(), "basic.DB");
  basic->Open();
  toolkit::DataSource source(*basic);
  toolkit::DBEdit edit;
  edit.setDataField(&source, "NAME");
  EXPECT_EQ(edit.text(), QStringLiteral("王小明"));
  basic.reset();
  EXPECT_EQ(edit.text(), "");
  EXPECT_FALSE(source.hasTable());
}

TEST(DataAwareCurrency, EditTakesASignedAmount) {
  DataFolder folder;
  store::Table salary(folder.session(), "salary.DB");
  salary.Open();
  toolkit::DataSource source(salary);
  toolkit::DBEdit edit;
  edit.setDataField(&source, "PAY");
  salary.Insert();
  QTest::keyClicks(&edit, "-1x00");
  EXPECT_EQ(edit.text(), "-100");
  EXPECT_EQ(salary.FieldByName("PAY").number(), -100);
}

TEST_F(DataAware, ComboBoxWritesTheChosenItemOnlyWhileEditing) {
  toolkit::DBComboBox box;
  box.addItems({"A", "B"});
  box.setDataField(&source, "LEVEL");
  EXPECT_EQ(box.currentIndex(), -1);
  QTest::keyClick(&box, Qt::Key_Down);
  EXPECT_EQ(box.currentIndex(), -1);
  basic.Edit();
  box.setCurrentIndex(1);
  emit box.activated(1);
  EXPECT_EQ(basic.FieldByName("LEVEL").text(), "B");
}

TEST_F(DataAware, LookupListBoxListsTheTableAndMovesItOnClick) {
  toolkit::DataSource names(basic);
  toolkit::DBLookupListBox list;
  list.setListSource(&source, "NUMBER");
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list.currentRow(), 0);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                    list.visualItemRect(list.item(1)).center());
  EXPECT_EQ(basic.FieldByName("NUMBER").text(), "000002");
}

TEST_F(DataAware, GridListsTheDetailRowsOfTheCurrentMaster) {
  folder.addEntry("000001", "880105", 35000, "薪水轉帳");
  folder.addEntry("000001", "880205", 36000, "薪水轉帳");
  folder.addEntry("000002", "880205", 42000, "股利發放");
  store::Table salary(folder.session(), "salary.DB");
  salary.SetIndexFieldNames("NUMBER");
  salary.SetMasterSource(&basic, "NUMBER");
  salary.Open();
  toolkit::DataSource entries(salary);
  toolkit::DBGrid grid;
  grid.setMasterLink(&basic, "NUMBER");
  grid.setDataSource(&entries, {{"SENDDATE", "入帳日"}, {"SALARYITEM", "薪資項目"}});
  ASSERT_EQ(grid.rowCount(), 2);
  EXPECT_EQ(grid.item(1, 0)->text(), "880205");
  EXPECT_EQ(grid.horizontalHeaderItem(0)->text(), QStringLiteral("入帳日"));
  basic.Next();
  ASSERT_EQ(grid.rowCount(), 1);
  EXPECT_EQ(grid.item(0, 1)->text(), QStringLiteral("股利發放"));
}

TEST_F(DataAware, ClickingAGridLineMakesItTheCurrentRow) {
  folder.addEntry("000001", "880105", 35000, "薪水轉帳");
  folder.addEntry("000001", "880205", 36000, "薪水轉帳");
  store::Table salary(folder.session(), "salary.DB");
  salary.Open();
  toolkit::DataSource entries(salary);
  toolkit::DBGrid grid;
  grid.setDataSource(&entries, {{"SENDDATE", "入帳日"}});
  grid.resize(300, 200);
  grid.show();
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                    grid.visualItemRect(grid.item(1, 0)).center());
  EXPECT_EQ(salary.FieldByName("SENDDATE").text(), "880205");
}

class Keys : public ::testing::Test {
 protected:
  Keys() {
    auto* layout = new QVBoxLayout(&form);
    edit = new QLineEdit(&form);
    for (auto** b : {&disabledCancel, &cancel, &ok, &other}) {
      *b = new toolkit::BitBtn(&form);
      layout->addWidget(*b);
    }
    layout->addWidget(edit);
    disabledCancel->setCancel(true);
    disabledCancel->setEnabled(false);
    cancel->setCancel(true);
    ok->setDefaultButton(true);
    for (auto* b : {disabledCancel, cancel, ok, other}) {
      QObject::connect(b, &toolkit::BitBtn::activated, &form, [this, b] { pressed << b; });
    }
    toolkit::prepareForm(&form);
    form.show();
  }
  QWidget form;
  QLineEdit* edit;
  toolkit::BitBtn *disabledCancel, *cancel, *ok, *other;
  QList<QWidget*> pressed;
};

TEST_F(Keys, EscPressesTheFirstEnabledCancelButton) {
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(pressed, QList<QWidget*>{cancel});
}

TEST_F(Keys, EnterInAnEditPressesTheDefaultButton) {
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(pressed, QList<QWidget*>{ok});
}

TEST_F(Keys, EnterOnAFocusedButtonPressesThatButton) {
  other->setFocus();
  QTest::keyClick(other, Qt::Key_Return);
  EXPECT_EQ(pressed, QList<QWidget*>{other});
}

TEST_F(Keys, HiddenCancelButtonIsPassedOver) {
  cancel->hide();
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_TRUE(pressed.isEmpty());
}

}  // namespace
