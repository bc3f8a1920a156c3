#pragma once
// Dated backup sets, for salary-admin's nightly job: a clerk's mistake during the day (a purge
// of the wrong months, say) must not reach the only backup the next night.
//
// A set is a folder backups/YYYYMMDD-HHMMSS beside the tables (local time; "-2", "-3", ... when
// a set of that second exists) holding copies of basic.DB, salary.DB and pass.DB and a text
// file MANIFEST that names each copy with its size, rows and SHA-256:
//   salary backup set 1
//   basic.DB 8192 3 5e884898da28047151d0e56f8dc6292773603d0d6aabbdd62a11ef721d1542d8
// A set is made beside its name and takes it only when each copy has passed the checks of a
// restored table and the manifest is written (store/FileReplacement): a set under its name is
// always complete. The backup files of the clearing page (basic_bk.db, ...) are not touched.

#include <string>
#include <vector>

namespace store {
class Session;
}  // namespace store

namespace housekeeping {

inline constexpr const char* kManifest = "MANIFEST";

struct BackupSetStatus {
  std::string name;
  std::vector<std::string> problems;  // empty while every copy matches the manifest
};

// Makes a new set of the three tables, then removes the sets beyond the newest `keep`. Returns
// the new set's name. REQUIRES: keep >= 1. Throws EngineError (a copy that fails its check names
// the table and the fault); the earlier sets are then as they were and nothing of the new one
// remains under a set's name.
std::string makeBackupSet(store::Session& session, int keep);

// The sets of the folder, oldest first, each with whether it still verifies: every copy the
// manifest names present, of its size and SHA-256.
std::vector<BackupSetStatus> listBackupSets(store::Session& session);

// Restores the table of the pair `index` from the set `name`, as restoreTable does from the
// backup file. A set that does not exist, or whose copy no longer matches its manifest, is
// refused with EngineError naming it; the table file is then as it was. Returns restoreTable's
// warning.
std::string restoreFromSet(store::Session& session, int index, const std::string& name);

}  // namespace housekeeping
