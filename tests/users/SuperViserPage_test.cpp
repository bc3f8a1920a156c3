// The password page: its buttons show the single dialogs without blocking, and a company that
// deleted its last user can add one while the main window is still open.

#include <QApplication>

#include "UserFixture.h"
#include "users/SuperViserPage.h"

namespace {

class PasswordPage : public UserFixture {
 protected:
  SuperViserPage page;
};

TEST_F(PasswordPage, EachButtonShowsItsOneDialogWithoutBlockingAndAllMayBeOpen) {
  const std::pair<toolkit::BitBtn*, QWidget*> buttons[] = {{page.PinCreatButton, &creat},
                                                           {page.PinChangeButton, &changer},
                                                           {page.DelUserPinButton, &deleter}};
  for (int round = 0; round < 2; ++round) {
    for (const auto& [button, dialog] : buttons) {
      button->press();
      EXPECT_TRUE(dialog->isVisible());
      EXPECT_FALSE(dialog->isModal());
    }
  }
  EXPECT_TRUE(creat.isVisible() && changer.isVisible() && deleter.isVisible());
  EXPECT_EQ(QApplication::topLevelWidgets().count(&creat), 1);
  EXPECT_FALSE(page.Button1->isVisibleTo(&page) || page.Button1->isEnabled());
  EXPECT_FALSE(page.PinExplainLabel5->isVisibleTo(&page));
}

TEST_F(PasswordPage, LastUserMayBeDeletedAndAnotherAddedWhileTheMainWindowIsOpen) {
  ASSERT_TRUE(logsIn("admin", "admin"));
  page.DelUserPinButton->press();
  remove("admin", "admin");
  EXPECT_TRUE(users().empty());
  EXPECT_FALSE(logsIn("admin", "admin"));

  page.PinCreatButton->press();
  add("boss", "pw", "pw");
  EXPECT_EQ(dialogs.texts().back(), kAdded);
  EXPECT_TRUE(logsIn("boss", "pw"));
  change("boss", "chief", "pw2", "pw2");  // the change dialog sees the added user
  EXPECT_EQ(dialogs.texts().back(), kChanged);
  EXPECT_FALSE(logsIn("boss", "pw"));
  EXPECT_FALSE(logsIn("chief", "pw"));
  EXPECT_TRUE(logsIn("chief", "pw2"));
}

}  // namespace
