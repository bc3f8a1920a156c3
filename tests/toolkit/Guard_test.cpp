// The handler guard: whatever leaves a handler is told to the clerk in one error box, in
// Traditional Chinese, and the program goes on.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <new>
#include <stdexcept>
#include <system_error>

#include "store/EngineError.h"
#include "support/ScriptedDialogs.h"
#include "toolkit/Guard.h"

namespace {

using toolkit::ScriptedDialogs;

TEST(Guard, WhatLeavesAHandlerIsToldInChineseInOneErrorBox) {
  const store::EngineError keyViolation =
      store::EngineError::of(store::EngineError::Code::KeyViolation, "basic.DB");
  const struct {
    const char* name;
    std::function<void()> handler;
    QString told;
  } cases[] = {
      {"the engine's error", [&] { throw keyViolation; }, QString::fromUtf8(keyViolation.what())},
      {"a full disk met by the standard library",
       [] {
         throw std::filesystem::filesystem_error("copy_file", "/media/usb/BT123420",
                                                 std::error_code(ENOSPC, std::generic_category()));
       },
       QStringLiteral("磁碟已滿,無法寫入 /media/usb/BT123420")},
      {"no memory", [] { throw std::bad_alloc(); }, QStringLiteral("記憶體不足,作業未完成")},
      {"a fault of the program", [] { throw std::out_of_range("vector::_M_range_check"); },
       QStringLiteral("發生未預期的錯誤,作業未完成")},
      {"not an exception class", [] { throw 42; }, QStringLiteral("發生未預期的錯誤,作業未完成")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedDialogs dialogs;
    EXPECT_FALSE(toolkit::runGuarded(c.handler));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, ScriptedDialogs::Kind::Error);
    EXPECT_EQ(dialogs.shown()[0].text, c.told);
  }
  ScriptedDialogs dialogs;
  EXPECT_TRUE(toolkit::runGuarded([] {}));
  EXPECT_TRUE(dialogs.shown().empty());
}

}  // namespace
