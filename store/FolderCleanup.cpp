#include "FolderCleanup.h"

#include <sqlite3.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "DataFolder.h"
#include "FileReplacement.h"
#include "SqliteHandles.h"

namespace store {

namespace fs = std::filesystem;

namespace {

// Taken when the program is loaded, before any of its own files are written.
const fs::file_time_type kProcessStart = fs::file_time_type::clock::now();

// SQLite names a super-journal after the connection's main database, which is the session's
// empty ".session.db" (see Session).
constexpr std::string_view kSuperJournalPrefix = ".session.db-mj";
constexpr std::string_view kJournalSuffix = "-journal";

bool isStale(const fs::path& file) {
  std::error_code ec;
  const fs::file_status st = fs::symlink_status(file, ec);
  if (ec || !fs::is_regular_file(st)) return false;
  const fs::file_time_type written = fs::last_write_time(file, ec);
  return !ec && written < FolderCleanup::staleBefore();
}

bool isPresent(const fs::path& file) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(file, ec));
}

void removeFile(const fs::path& file) {
  std::error_code ec;
  fs::remove(file, ec);
}

// The journals a super-journal lists: full paths, each ended by a zero byte.
std::vector<fs::path> journalsListedIn(const fs::path& superJournal) {
  std::ifstream in(superJournal, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<fs::path> journals;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\0', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) journals.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return journals;
}

// SQLite takes a journal whose first byte is zero for one that holds nothing to roll back (its
// header is completed only when its content is on disk), and never reads its super-journal.
bool mayBeHot(const fs::path& journal) {
  std::ifstream in(journal, std::ios::binary);
  char first = 0;
  return !in.get(first) || first != 0;
}

// A super-journal is still needed while a journal it lists may be hot, or may belong to a
// commit that another process is still making.
void removeIfUnneeded(const fs::path& folder, const fs::path& superJournal) {
  bool needed = false;
  for (const fs::path& journal : journalsListedIn(superJournal)) {
    if (!isPresent(journal)) continue;
    const std::string name = journal.filename().string();
    std::error_code ec;
    bool idle = false;
    if (name.ends_with(kJournalSuffix) && fs::equivalent(journal.parent_path(), folder, ec)) {
      idle = FolderCleanup::recoverJournal(journal.parent_path() /
                                           name.substr(0, name.size() - kJournalSuffix.size()));
    }
    needed = needed || (isPresent(journal) && (!idle || mayBeHot(journal)));
  }
  if (!needed) removeFile(superJournal);  // SQLite may have removed it already
}

}  // namespace

bool FolderCleanup::recoverJournal(const fs::path& tableFile) noexcept {
  sqlite3* raw = nullptr;
  sqlite3_open_v2(tableFile.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  const ConnectionHandle db(raw);
  if (!raw || sqlite3_exec(raw, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) !=
                  SQLITE_OK) {
    return false;
  }
  const bool idle = sqlite3_exec(raw, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_exec(raw, "ROLLBACK", nullptr, nullptr, nullptr);
  return idle;
}

fs::file_time_type FolderCleanup::staleBefore() {
  return kProcessStart - std::chrono::seconds(3);
}

void FolderCleanup::removeLeftovers(const fs::path& folder) noexcept {
  try {
    std::error_code ec;
    std::vector<fs::path> superJournals;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with(kSuperJournalPrefix)) superJournals.push_back(entry.path());
    }
    for (const fs::path& file : superJournals) {
      if (isStale(file)) removeIfUnneeded(folder, file);
    }
  } catch (...) {
    // A leftover that cannot be removed is harmless; the start goes on.
  }
  FileReplacement::removeLeftovers(folder);
  FileReplacement::removeLeftovers(backupSetsFolder(folder));
}

}  // namespace store
