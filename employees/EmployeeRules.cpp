#include "EmployeeRules.h"

#include "store/EngineError.h"
#include "store/Query.h"
#include "store/Table.h"
#include "store/Transaction.h"

namespace employees {

std::string idInCapitals(std::string id) {
  // UTF-8 text: no byte of a multi-byte character is an ASCII letter.
  for (char& c : id) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return id;
}

void renumberEmployee(store::Table& employees, store::Table& entries, const std::string& oldNumber,
                      const std::string& newNumber) {
  store::Session& session = employees.session();
  try {
    store::Transaction tx(session, {employees.TableName(), entries.TableName()});
    store::Query taken(session, "SELECT NUMBER FROM basic WHERE NUMBER = :NEW");
    taken.setParam("NEW", newNumber);
    taken.Open();
    if (!taken.Eof()) {
      throw store::EngineError(store::EngineError::Code::KeyViolation,
                               "員工編號 " + newNumber + " 已存在");
    }
    taken.Close();
    store::Query move(session, "UPDATE salary SET NUMBER = :NEW WHERE NUMBER = :OLD");
    move.setParam("NEW", newNumber);
    move.setParam("OLD", oldNumber);
    move.ExecSQL();
    employees.Post();
    tx.commit();
  } catch (...) {
    entries.Refresh();
    if (employees.State() == store::TableState::Browse) {
      // Written, then rolled back by a failed commit: stand on the employee as the file has it.
      employees.SetKey();
      employees.FieldByName("NUMBER").setText(oldNumber);
      employees.GotoKey();
    }
    throw;
  }
  employees.Refresh();
  entries.Refresh();
}

void deleteEmployee(store::Table& employees, store::Table& entries) {
  store::Session& session = employees.session();
  try {
    store::Transaction tx(session, {employees.TableName(), entries.TableName()});
    store::Query drop(session, "DELETE FROM salary WHERE NUMBER = :NUMBER");
    drop.setParam("NUMBER", employees.FieldByName("NUMBER").text());
    drop.ExecSQL();
    employees.Delete();
    tx.commit();
  } catch (...) {
    employees.Refresh();
    entries.Refresh();
    throw;
  }
  employees.Refresh();
  entries.Refresh();
}

}  // namespace employees
