// The salary item catalogue dialog: the list in item order, 確定 with its duplicate, letter
// case, empty, over-wide and unencodable texts, 刪除薪資項目, both 取消 and the close box.

#include "pay/TSalaryItemSetForm.h"
#include "PayFixture.h"

namespace {

using Rows = std::vector<std::string>;

const QString kAlreadyThere = QStringLiteral("本薪資項目已存在,請重新輸入");
const QString kAdded = QStringLiteral("設定成功");
const QString kTooWide =
    QStringLiteral("薪資項目最多 20 個位元組(10 個中文字或 20 個英數字),請重新輸入");

class ItemDialog : public PayFixture {
 protected:
  ItemDialog() : d(SalaryItemSetForm) { m->Button1Click(); }
  QStringList listed() const {
    QStringList out;
    for (int i = 0; i < d->DBLookupListBox1->count(); ++i)
      out << d->DBLookupListBox1->item(i)->text();
    return out;
  }
  void add(const QString& text) {
    type(d->SalaryItemSetEdit, text);
    d->BitBtn1->press();
  }
  TSalaryItemSetForm* d;
};

TEST_F(ItemDialog, OkAddsNewTextsInItemOrderAndStaysOpen) {
  ASSERT_TRUE(d->isVisible());
  EXPECT_EQ(listed(), (QStringList{"股利發放", "退稅", "薪水轉帳"}));  // Big5 order
  struct Case {
    QString text;
  } cases[] = {{"abc"}, {"ABC"}, {""}, {QStringLiteral("一二三四五六七八九十")}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    dialogs.clear();
    add(c.text);
    EXPECT_EQ(dialogs.texts(), QStringList{kAdded});
    EXPECT_TRUE(d->SalaryItemSetEdit->text().isEmpty());
    EXPECT_TRUE(d->isVisible());
  }
  const Rows expected = {"", "ABC", "abc", "一二三四五六七八九十", "股利發放", "退稅", "薪水轉帳"};
  EXPECT_EQ(itemsOnDisk(), expected);
  QStringList shown;
  for (const auto& t : expected) shown << QString::fromStdString(t);
  EXPECT_EQ(listed(), shown);
}

TEST_F(ItemDialog, ExistingTextShowsItsMessageClosesAndEmptiesTheEdit) {
  for (const QString& text : {QStringLiteral("股利發放"), QString()}) {
    SCOPED_TRACE(text.toStdString());
    if (text.isEmpty()) add(text);  // a first empty text is an item like any other
    const Rows before = itemsOnDisk();
    m->Button1Click();
    dialogs.clear();
    add(text);
    EXPECT_EQ(dialogs.texts(), QStringList{kAlreadyThere});
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(d->SalaryItemSetEdit->text().isEmpty());
    EXPECT_EQ(itemsOnDisk(), before);
  }
}

TEST_F(ItemDialog, TextsTheFieldCannotHoldAreRefusedAndKept) {
  struct Case {
    QString text, message;
  } cases[] = {
      {QStringLiteral("一二三四五六七八九十一"), kTooWide},
      {QStringLiteral("abcdefghij0123456789x"), kTooWide},
      {QStringLiteral("獎金😀"), QStringLiteral("薪資項目含有無法儲存的字元,請重新輸入")},
  };
  const Rows before = itemsOnDisk();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    dialogs.clear();
    add(c.text);
    EXPECT_EQ(dialogs.texts(), QStringList{c.message});
    EXPECT_EQ(d->SalaryItemSetEdit->text(), c.text);
    EXPECT_TRUE(d->isVisible());
  }
  EXPECT_EQ(itemsOnDisk(), before);
}

TEST_F(ItemDialog, DeleteRemovesTheItemLastClickedWithoutAQuestion) {
  auto* list = d->DBLookupListBox1;
  emit list->itemClicked(list->item(1));
  d->DeleteSalaryItemSetBitBtn->press();
  EXPECT_TRUE(dialogs.texts().isEmpty());
  EXPECT_EQ(itemsOnDisk(), (Rows{"股利發放", "薪水轉帳"}));
  EXPECT_EQ(listed(), (QStringList{"股利發放", "薪水轉帳"}));
  d->DeleteSalaryItemSetBitBtn->press();
  d->DeleteSalaryItemSetBitBtn->press();
  EXPECT_TRUE(itemsOnDisk().empty());
  d->DeleteSalaryItemSetBitBtn->press();  // nothing left
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("目前沒有薪資項目可刪除")});
}

TEST_F(ItemDialog, ClosedCatalogueListsNothingUntilTheFirstOk) {
  d->SalaryItemSetTable1.Close();  // as the second configuration creates the dialog
  EXPECT_TRUE(listed().isEmpty());
  d->DeleteSalaryItemSetBitBtn->press();
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("目前沒有薪資項目可刪除")});
  EXPECT_EQ(itemsOnDisk().size(), 3u);
  add(QStringLiteral("年終獎金"));
  EXPECT_EQ(listed().size(), 4);
}

TEST_F(ItemDialog, BothCancelButtonsCloseAndEmptyTheEditWhileTheCloseBoxKeepsIt) {
  for (auto* cancel : {d->BitBtn2, d->BitBtn3}) {
    m->Button1Click();
    type(d->SalaryItemSetEdit, "abc");
    cancel->press();
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(d->SalaryItemSetEdit->text().isEmpty());
  }
  m->Button1Click();
  type(d->SalaryItemSetEdit, "abc");
  d->close();
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(d->SalaryItemSetEdit->text(), "abc");
  EXPECT_EQ(itemsOnDisk().size(), 3u);
  EXPECT_TRUE(dialogs.texts().isEmpty());
}

}  // namespace
