#include "UserRules.h"

#include "store/Cp950.h"
#include "store/EngineError.h"
#include "store/Field.h"
#include "store/Table.h"
#include "store/Transaction.h"

namespace users {

namespace {

// Throws what Post would throw for these texts, before anything is written.
void checkStorable(store::Table& pass, const std::string& code, const std::string& password) {
  const store::TableSchema& schema = pass.schema();
  for (const auto& [name, text] : {std::pair{"USERID", &code}, {"PASSWORD", &password}}) {
    store::valueFromText(schema.fields.at(schema.fieldIndex(name)), *text);
  }
}

void writeRow(store::Table& pass, const std::string& code, const std::string& password) {
  pass.Append();
  pass.FieldByName("USERID").setText(code);
  pass.FieldByName("PASSWORD").setText(password);
  pass.Post();
}

}  // namespace

bool findUser(store::Table& pass, const std::string& code) {
  pass.Close();
  pass.SetIndexFieldNames("USERID");
  pass.Open();
  auto field = pass.FieldByName("USERID");
  const auto encoded = store::cp950::encode(code);
  if (code.empty() || !encoded.ok() || static_cast<int>(encoded.bytes.size()) > field.width()) {
    return false;
  }
  pass.SetKey();
  field.setText(code);
  return pass.GotoKey();
}

UserOutcome addUser(store::Table& pass, const std::string& code, const std::string& password,
                    const std::string& again) {
  if (findUser(pass, code)) return UserOutcome::CodeExists;
  if (password != again) return UserOutcome::PasswordsDiffer;
  if (code.empty() || password.empty()) return UserOutcome::EmptyEntry;
  try {
    writeRow(pass, code, password);
  } catch (...) {
    pass.Cancel();
    throw;
  }
  return UserOutcome::Done;
}

UserOutcome changeUser(store::Table& oldTable, store::Table& newTable, const std::string& oldCode,
                       const std::string& newCode, const std::string& password,
                       const std::string& again) {
  const bool oldFound = findUser(oldTable, oldCode);
  const bool newFound = findUser(newTable, newCode);
  if (!oldFound) return UserOutcome::UnknownCode;
  if (newFound) return UserOutcome::CodeExists;
  if (password != again) return UserOutcome::PasswordsDiffer;
  if (newCode.empty() || password.empty()) return UserOutcome::EmptyEntry;
  checkStorable(oldTable, newCode, password);

  // The old row goes only together with the new row's arrival: a user who can log in is never
  // lost to a failed write.
  try {
    store::Transaction tx(oldTable.session(), {oldTable.TableName()});
    oldTable.Delete();
    writeRow(oldTable, newCode, password);
    tx.commit();
  } catch (...) {
    // The row is back in the file; the next look-up reopens the table.
    oldTable.Cancel();
    throw;
  }
  return UserOutcome::Done;
}

UserOutcome setPassword(store::Table& pass, const std::string& code, const std::string& password,
                        const std::string& again) {
  if (!findUser(pass, code)) return UserOutcome::UnknownCode;
  if (password != again) return UserOutcome::PasswordsDiffer;
  if (password.empty()) return UserOutcome::EmptyEntry;
  try {
    pass.Edit();
    pass.FieldByName("PASSWORD").setText(password);
    pass.Post();
  } catch (...) {
    pass.Cancel();
    throw;
  }
  return UserOutcome::Done;
}

std::vector<std::string> userCodes(store::Table& pass) {
  pass.Close();
  pass.SetIndexFieldNames("USERID");
  pass.Open();
  std::vector<std::string> codes;
  for (pass.First(); !pass.Eof(); pass.Next()) codes.push_back(pass.FieldByName("USERID").text());
  return codes;
}

UserOutcome deleteUser(store::Table& pass, const std::string& code, const std::string& password) {
  if (!findUser(pass, code)) return UserOutcome::UnknownCode;
  const auto typed = store::cp950::encode(password);
  if (!typed.ok() || typed.bytes != pass.FieldByName("PASSWORD").bytes()) {
    return UserOutcome::WrongPassword;
  }
  pass.Delete();
  return UserOutcome::Done;
}

}  // namespace users
