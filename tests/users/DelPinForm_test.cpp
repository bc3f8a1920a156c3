// The delete dialog: an unknown code, a password that must be the user's own exactly, and the
// deletion itself.

#include "UserFixture.h"

namespace {

TEST_F(UserFixture, DeleteNeedsAKnownCodeAndExactlyThatUsersPassword) {
  folder.addUser("clerk", "secret");
  const std::vector<std::string> both = {"admin admin", "clerk secret"};
  const struct {
    const char* code;
    const char* password;
    QString message;
    std::vector<std::string> rows;
  } cases[] = {
      {"nobody", "admin", kUnknownCode, both},
      {"ADMIN", "admin", kUnknownCode, both},
      {"admin", "ADMIN", kWrongPassword, both},
      {"admin", "secret", kWrongPassword, both},  // another user's password
      {"admin", "", kWrongPassword, both},
      {"admin", "admin", kDeleted, {"clerk secret"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code + std::string("/") + c.password);
    dialogs.clear();
    remove(c.code, c.password);
    EXPECT_EQ(dialogs.texts(), QStringList{c.message});
    EXPECT_EQ(users(), c.rows);
    EXPECT_FALSE(deleter.isVisible());
    EXPECT_EQ(boxes(deleter), "|");
  }
}

}  // namespace
