#pragma once
// The rules of the user dialogs and of `salary-admin user` on pass.DB: adding, changing and
// deleting a user code with its password. No widget is involved; each function opens its table
// objects afresh, so it sees pass.DB as it is now, changes made through other table objects and
// other programs included, and tells the caller which outcome to report.
//
// Codes and passwords compare exactly, byte by byte and with letter case. A code that no USERID
// can hold (wider than 8 bytes, or not code page 950) belongs to no user. Passwords are stored as
// typed.

#include <string>
#include <vector>

namespace store {
class Table;
}

namespace users {

enum class UserOutcome {
  Done,             // stored, changed or deleted
  UnknownCode,      // the code (the existing code, for a change) has no row
  CodeExists,       // the new code has a row already (also a change to the same code)
  PasswordsDiffer,  // the password and its repetition differ
  EmptyEntry,       // the new code or the password is empty
  WrongPassword,    // a delete whose password is not the row's
};

// Closes `pass`, orders it by USERID, opens it and stands on the row of `code`; false when no
// row has it (the table is then open, on no particular row).
bool findUser(store::Table& pass, const std::string& code);

// Stores the user `code` with `password` when the code is free, the two passwords are equal and
// neither code nor password is empty, tested in this order. Text pass.DB cannot hold throws
// EngineError InvalidValue naming the field; nothing is stored on any outcome but Done.
UserOutcome addUser(store::Table& pass, const std::string& code, const std::string& password,
                    const std::string& again);

// Replaces the row of `oldCode` by the row (newCode, password). Both codes are looked up, on
// `oldTable` and `newTable` (two table objects on pass.DB), before anything is decided; then
// UnknownCode, CodeExists, PasswordsDiffer and EmptyEntry are tested in this order. The old row
// is deleted and the new one stored in one transaction: on a failure (thrown as EngineError)
// pass.DB is as it was, and text it cannot hold is refused before anything changes.
UserOutcome changeUser(store::Table& oldTable, store::Table& newTable, const std::string& oldCode,
                       const std::string& newCode, const std::string& password,
                       const std::string& again);

// Sets the password of the user `code` when the code has a row, the two passwords are equal and
// the password is not empty, tested in this order (salary-admin user passwd: the way back in
// after a forgotten password). Text PASSWORD cannot hold throws EngineError InvalidValue; the
// row is then as it was.
UserOutcome setPassword(store::Table& pass, const std::string& code, const std::string& password,
                        const std::string& again);

// The user codes of pass.DB in their order (never the passwords).
std::vector<std::string> userCodes(store::Table& pass);

// Deletes the row of `code` when `password` is exactly that row's password. The last user may
// be deleted; `salary-admin user add` then brings a user back.
UserOutcome deleteUser(store::Table& pass, const std::string& code, const std::string& password);

}  // namespace users
