#include "FolderCleanup.h"

#include <signal.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

bool allDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// The letters and digits of the temporary names that mkstemp makes, whatever the locale.
bool allLettersOrDigits(std::string_view s) {
  for (char c : s)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
  return true;
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

// Reading a table file makes SQLite roll back its hot journal, if it has one that may be
// rolled back now. Returns whether no other process is writing the file (it could take the
// write lock), so that a journal left beside it belongs to no commit still running.
bool recoveredAndIdle(const fs::path& tableFile) {
  sqlite3* db = nullptr;
  bool idle = false;
  if (sqlite3_open_v2(tableFile.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
      sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) ==
          SQLITE_OK) {
    idle = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  sqlite3_close_v2(db);
  return idle;
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
      idle = recoveredAndIdle(journal.parent_path() /
                              name.substr(0, name.size() - kJournalSuffix.size()));
    }
    needed = needed || (isPresent(journal) && (!idle || mayBeHot(journal)));
  }
  if (!needed) removeFile(superJournal);  // SQLite may have removed it already
}

// "NAME.copy-PID-N" or "NAME.new-PID", with or without "-journal": the process that wrote it.
pid_t writerOfUnfinishedCopy(std::string name) {
  if (name.ends_with(kJournalSuffix)) name.resize(name.size() - kJournalSuffix.size());
  for (std::string_view mark : {".copy-", ".new-"}) {
    const size_t at = name.rfind(mark);
    if (at == std::string::npos || at == 0) continue;
    std::string_view rest = std::string_view(name).substr(at + mark.size());
    std::string_view pid = rest;
    if (mark == ".copy-") {
      const size_t dash = rest.find('-');
      if (dash == std::string_view::npos || !allDigits(rest.substr(dash + 1))) continue;
      pid = rest.substr(0, dash);
    }
    if (allDigits(pid) && pid.size() < 10) return static_cast<pid_t>(std::stol(std::string(pid)));
  }
  return 0;
}

bool processRuns(pid_t pid) {
  return pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH;
}

}  // namespace

fs::file_time_type FolderCleanup::staleBefore() {
  return kProcessStart - std::chrono::seconds(3);
}

void FolderCleanup::removeLeftovers(const fs::path& folder) noexcept {
  try {
    std::error_code ec;
    std::vector<fs::path> superJournals, copies;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with(kSuperJournalPrefix)) {
        superJournals.push_back(entry.path());
      } else if (const pid_t pid = writerOfUnfinishedCopy(name); pid > 0 && !processRuns(pid)) {
        copies.push_back(entry.path());
      }
    }
    for (const fs::path& file : superJournals) {
      if (isStale(file)) removeIfUnneeded(folder, file);
    }
    for (const fs::path& file : copies) {
      if (isStale(file)) removeFile(file);
    }
  } catch (...) {
    // A leftover that cannot be removed is harmless; the start goes on.
  }
}

void FolderCleanup::removeUnfinishedSaves(const fs::path& target) noexcept {
  try {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string prefix = "." + target.filename().string() + ".";
    std::error_code ec;
    std::vector<fs::path> unfinished;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
      const std::string name = entry.path().filename().string();
      if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
      if (allLettersOrDigits(std::string_view(name).substr(prefix.size())))
        unfinished.push_back(entry.path());
    }
    for (const fs::path& file : unfinished) {
      if (isStale(file)) removeFile(file);
    }
  } catch (...) {
    // As above: the save goes on.
  }
}

}  // namespace store
