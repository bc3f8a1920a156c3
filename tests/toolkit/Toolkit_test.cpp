// The form toolkit: the data-aware controls over a table, the greyed disabled button, Qt's own
// texts in Chinese, and Enter and Esc as the buttons declare them. (The handler guard: the
// failures of the entry screen and the report buttons.)

#include <gtest/gtest.h>

#include <QFile>
#include <QInputMethodEvent>
#include <QLibraryInfo>
#include <QTest>
#include <QVBoxLayout>

#include "store/Table.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFolder.h"
#include "toolkit/BitBtn.h"
#include "toolkit/DBComboBox.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBLookupListBox.h"
#include "toolkit/DataSource.h"
#include "toolkit/Forms.h"

namespace {

// Types text as the clerk would: ASCII key by key, anything else as an input method commits it
// (QTest::keyClicks cannot send Chinese).
void type(QWidget* w, const QString& text) {
  bool ascii = true;
  for (QChar c : text) ascii = ascii && c.unicode() < 0x80;
  if (ascii) return QTest::keyClicks(w, text);
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(w, &event);
}

class DataAware : public ::testing::Test {
 protected:
  DataAware() : basic(folder.session(), "basic.DB"), source(basic) {
    folder.addEmployee("000001", "王小明");
    folder.addEmployee("000002", "李大同");
    basic.SetIndexFieldNames("NUMBER");
    basic.Open();
  }
  TestFolder folder;
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

TEST_F(DataAware, EditTakesTypingOnlyWhileEnabledInInsertOrEditAndByCodePage950Bytes) {
  const struct {
    const char* name;
    store::TableState state;
    bool enabled;
    QStringList typed;
    QString expected;
    int maxBytes = 0;
  } cases[] = {
      {"browse", store::TableState::Browse, true, {"abc"}, "王小明"},
      {"disabled", store::TableState::Edit, false, {"abc"}, "王小明"},
      {"browse, input method", store::TableState::Browse, true, {"李"}, "王小明"},
      {"disabled, input method", store::TableState::Edit, false, {"李"}, "王小明"},
      {"edit", store::TableState::Edit, true, {"Lee"}, "Lee"},
      {"10 bytes", store::TableState::Insert, true, {"一二三四五", "六", "x"}, "一二三四五"},
      {"not in CP950", store::TableState::Insert, true, {"王", "한"}, "王"},
      {"form's 5 bytes", store::TableState::Insert, true, {"一二", "三", "x", "y"}, "一二x", 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    toolkit::DBEdit edit;
    edit.setDataField(&source, "NAME");  // 10 bytes
    edit.setMaxBytes(c.maxBytes);
    edit.setEnabled(c.enabled);
    if (c.state == store::TableState::Edit) basic.Edit();
    if (c.state == store::TableState::Insert) basic.Insert();
    edit.selectAll();
    for (const QString& t : c.typed) type(&edit, t);
    EXPECT_EQ(edit.text(), c.expected);
    EXPECT_EQ(QString::fromStdString(basic.FieldByName("NAME").text()), c.expected);
    basic.Cancel();
  }
}

TEST_F(DataAware, UpperCaseEditTurnsTypedLettersToCapitals) {
  toolkit::DBEdit edit;
  edit.setUpperCase(true);
  edit.setDataField(&source, "ID");
  basic.Edit();
  QTest::keyClicks(&edit, "a123456789");
  EXPECT_EQ(basic.FieldByName("ID").text(), "A123456789");
}

TEST(PictureButton, ADisabledButtonShowsItsCaptionAndPictureGrey) {
  for (const char* colour : {"blue", "red"}) {
    SCOPED_TRACE(colour);
    toolkit::BitBtn button;
    button.setStyleSheet(QStringLiteral("font: bold 16px; color: %1;").arg(colour));
    button.setText(QStringLiteral("修改"));
    button.setGlyph("edit");
    button.setGlyphAbove(true);
    button.resize(57, 57);
    // Pixels of a clear hue: the caption's colour, or the picture's.
    auto coloured = [&button] {
      const QImage image = button.grab().toImage();
      int count = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
          count += QColor(image.pixel(x, y)).hsvSaturation() > 60;
      }
      return count;
    };
    EXPECT_GT(coloured(), 20);
    button.setEnabled(false);
    EXPECT_EQ(coloured(), 0);
  }
}

TEST(QtTexts, StandardButtonsSpeakTraditionalChineseWhenTheCatalogueIsInstalled) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!QFile::exists(folder + "/qtbase_zh_TW.qm")) GTEST_SKIP() << "qt6-translations-l10n missing";
  toolkit::installQtTranslations();
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("確定"));
}

TEST_F(DataAware, ComboBoxWritesTheChosenItemOnlyWhileEditing) {
  toolkit::DBComboBox box;
  box.addItems({"A", "B"});
  box.setDataField(&source, "LEVEL");
  QTest::keyClick(&box, Qt::Key_Down);
  EXPECT_EQ(box.currentIndex(), -1);
  basic.Edit();
  box.setCurrentIndex(1);
  emit box.activated(1);
  EXPECT_EQ(basic.FieldByName("LEVEL").text(), "B");
}

TEST_F(DataAware, LookupListBoxListsTheTableAndMovesItOnClick) {
  toolkit::DBLookupListBox list;
  list.setListSource(&source, "NUMBER");
  ASSERT_EQ(list.count(), 2);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                    list.visualItemRect(list.item(1)).center());
  EXPECT_EQ(basic.FieldByName("NUMBER").text(), "000002");
}

class Keys : public ::testing::Test {
 protected:
  Keys() {
    auto* layout = new QVBoxLayout(&form);
    for (auto** b : {&disabledCancel, &cancel, &ok, &other}) {
      *b = new toolkit::BitBtn(&form);
      layout->addWidget(*b);
      QObject::connect(*b, &toolkit::BitBtn::activated, &form, [this, b] { pressed << *b; });
    }
    layout->addWidget(edit);
    disabledCancel->setCancel(true);
    disabledCancel->setEnabled(false);
    cancel->setCancel(true);
    ok->setDefaultButton(true);
    toolkit::prepareForm(&form);
    form.show();
  }
  QWidget form;
  QLineEdit* edit = new QLineEdit(&form);
  toolkit::BitBtn *disabledCancel, *cancel, *ok, *other;
  QList<QWidget*> pressed;
};
TEST_F(Keys, EscPressesTheFirstEnabledShownCancelAndEnterTheFocusedOrDefaultButton) {
  const struct {
    QWidget* focus;
    Qt::Key key;
    QList<QWidget*> pressed;
  } cases[] = {{edit, Qt::Key_Escape, {cancel}},
               {edit, Qt::Key_Return, {ok}},
               {other, Qt::Key_Return, {other}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    pressed.clear();
    c.focus->setFocus();
    QTest::keyClick(c.focus, c.key);
    EXPECT_EQ(pressed, c.pressed);
  }
  pressed.clear();
  cancel->hide();
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_TRUE(pressed.isEmpty());
}

}  // namespace
