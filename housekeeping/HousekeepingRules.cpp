#include "HousekeepingRules.h"

#include "store/BatchMove.h"
#include "store/Query.h"
#include "store/Session.h"
#include "store/Table.h"
#include "store/Transaction.h"

namespace housekeeping {

namespace {

const BackupPair kPairs[kBackupPairs] = {
    {"basic.DB", "basic_bk.db", "basic.db"},
    {"salary.DB", "salary_bk.db", "salary.db"},
    {"pass.DB", "pass_bk.db", "pass.db"},
};

std::string copyWith(store::BatchMove& move, store::Table& source, store::Table& destination,
                     const std::string& file) {
  destination.Close();
  destination.SetTableName(file);
  move.SetDestination(&destination);
  move.SetSource(&source);
  move.SetMode(store::BatchMove::Mode::Copy);
  move.Execute();
  return move.warning();
}

}  // namespace

const BackupPair& backupPair(int index) {
  return kPairs[index];
}

void clearTables(store::Table& basic, store::Table& salary, ClearChoice choice) {
  const bool employees = choice == ClearChoice::EmployeesAndEntries;
  if (employees) basic.SetActive(false);
  salary.SetActive(false);
  std::vector<std::string> files{salary.TableName()};
  if (employees) files.push_back(basic.TableName());
  // Employees without their entries, or entries without their employees, never reach the files.
  store::Transaction tx(salary.session(), files);
  salary.EmptyTable();
  if (employees) basic.EmptyTable();
  tx.commit();
}

long long purgeMonths(store::Session& session, const std::string& start, const std::string& end) {
  store::Transaction tx(session, {"salary.DB"});
  store::Query purge(session,
                     "DELETE FROM salary WHERE SENDDATE >= :START AND SENDDATE <= :FINISH");
  purge.setParam("START", start);
  purge.setParam("FINISH", end);
  const long long deleted = purge.ExecSQL();
  tx.commit();
  return deleted;
}

std::string backup(store::BatchMove& move, store::Table& source, store::Table& destination,
                   const BackupPair& pair) {
  return copyWith(move, source, destination, pair.backupFile);
}

std::string restore(store::BatchMove& move, store::Table& backupSource, store::Table& destination,
                    const BackupPair& pair, const std::vector<store::Table*>& holders) {
  store::Session& session = destination.session();
  const auto target = session.resolve(pair.restoreAs);
  std::vector<store::Table*> closed;
  for (store::Table* t : holders) {
    if (t->Active() && session.resolve(t->TableName()) == target) {
      t->Close();
      closed.push_back(t);
    }
  }
  auto reopen = [&] {
    for (store::Table* t : closed) t->Open();
  };
  std::string warning;
  try {
    warning = copyWith(move, backupSource, destination, pair.restoreAs);
  } catch (...) {
    try {
      reopen();
    } catch (...) {
      // The failure of the copy is the one to report; the objects open at the next page change.
    }
    throw;
  }
  reopen();
  return warning;
}

std::string backupTable(store::Session& session, int index) {
  const BackupPair& pair = backupPair(index);
  store::BatchMove move;
  store::Table source(session, pair.tableFile), destination(session);
  return backup(move, source, destination, pair);
}

std::string restoreTable(store::Session& session, int index, const std::string& backupFile) {
  const BackupPair& pair = backupPair(index);
  store::BatchMove move;
  store::Table source(session, backupFile.empty() ? pair.backupFile : backupFile);
  store::Table destination(session);
  return restore(move, source, destination, pair, {});
}

}  // namespace housekeeping
