#pragma once
// The rules of the clearing page and of salary-admin's backup and restore, without widgets:
// emptying tables, purging a range of months of pay entries, copying a table file to its backup
// file and back. Each either happens entirely or leaves every file as it was.
//
// The three backup pairs, by the index of the item chosen on the page:
//   0 basic.DB -> basic_bk.db, 1 salary.DB -> salary_bk.db, 2 pass.DB -> pass_bk.db.

#include <string>
#include <vector>

namespace store {
class BatchMove;
class Session;
class Table;
}  // namespace store

namespace housekeeping {

// The items of the clearing combo box.
enum class ClearChoice { EmployeesAndEntries = 0, EntriesOnly = 1 };

struct BackupPair {
  const char* tableFile;   // as the table objects name it ("basic.DB")
  const char* backupFile;  // as the handlers name it ("basic_bk.db")
  const char* restoreAs;   // the table file as the recovery names it ("basic.db")
};
inline constexpr int kBackupPairs = 3;
// REQUIRES: 0 <= index < kBackupPairs.
const BackupPair& backupPair(int index);

// Closes `salary` (and `basic` for EmployeesAndEntries) and empties salary.DB, and basic.DB for
// EmployeesAndEntries, in one transaction: on a failure both files are as they were. The closed
// objects stay closed.
void clearTables(store::Table& basic, store::Table& salary, ClearChoice choice);

// Deletes, in one transaction and one statement, every pay entry of salary.DB whose SENDDATE
// lies between `start` and `end`, both included, comparing bytes and putting a text before its
// extensions: start "8801" and end "8812" take 880101 to 881130 and keep 881201; an empty start
// begins at the earliest entry; an empty end admits only empty send dates. Returns the number
// deleted. The texts are taken as given.
long long purgeMonths(store::Session& session, const std::string& start, const std::string& end);

// Copies `source` (a closed table object on the pair's table file) over the backup file with
// `move`, `destination` bound to that file. The earlier backup file is replaced only by a
// complete copy that passes SQLite's integrity check and has the table's structure and password
// verifier (store/BatchMove.h); otherwise EngineError names the table and the fault, and the
// earlier backup stays byte for byte as it was. Returns the warning of a backup in place whose
// folder could not be synced (empty when none).
std::string backup(store::BatchMove& move, store::Table& source, store::Table& destination,
                   const BackupPair& pair);

// Copies the backup file (`backupSource`, a closed table object on it) over the pair's table
// file with `move`, `destination` bound to that file. The copy must first pass what
// salary-admin check asks of that table (store/BatchMove.h); otherwise EngineError names the
// backup file and the fault, and the table file stays byte for byte as it was. The objects of
// `holders` open on that file are closed first and opened again afterwards, whatever the
// outcome, so none of them reads a file that changes under it. Returns the warning as backup().
std::string restore(store::BatchMove& move, store::Table& backupSource, store::Table& destination,
                    const BackupPair& pair, const std::vector<store::Table*>& holders);

// The backup of one pair for salary-admin, on table objects of its own.
std::string backupTable(store::Session& session, int index);
// The restore of one pair for salary-admin, from the backup file, or from another file of the
// folder (`backupFile`, a table of a backup set).
std::string restoreTable(store::Session& session, int index, const std::string& backupFile = {});

}  // namespace housekeeping
