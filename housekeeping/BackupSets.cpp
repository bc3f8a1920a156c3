#include "BackupSets.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>
#include <tuple>

#include "HousekeepingRules.h"
#include "store/BatchMove.h"
#include "store/DataFolder.h"
#include "store/EngineError.h"
#include "store/FileReplacement.h"
#include "store/Session.h"
#include "store/Sha256.h"
#include "store/Table.h"

namespace housekeeping {

namespace {

namespace fs = std::filesystem;
using Code = store::EngineError::Code;

constexpr const char* kHeader = "salary backup set 1";

struct SetName {
  std::string time;  // YYYYMMDD-HHMMSS
  int count = 1;     // the N of "-N", 1 without
  bool operator<(const SetName& other) const {
    return std::tie(time, count) < std::tie(other.time, other.count);
  }
};

bool digits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<SetName> parseSetName(std::string_view name) {
  if (name.size() < 15 || name[8] != '-' || !digits(name.substr(0, 8)) ||
      !digits(name.substr(9, 6)))
    return {};
  if (name.size() == 15) return SetName{std::string(name), 1};
  const std::string_view count = name.substr(16);
  if (name[15] != '-' || !digits(count) || count.size() > 6 || count[0] == '0') return {};
  return SetName{std::string(name.substr(0, 15)), std::stoi(std::string(count))};
}

std::string nameOf(const SetName& set) {
  return set.count == 1 ? set.time : set.time + "-" + std::to_string(set.count);
}

// The sets in `folder`, oldest first.
std::vector<std::string> setNames(const fs::path& folder) {
  std::vector<SetName> sets;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const auto set = parseSetName(entry.path().filename().string());
    if (set && entry.is_directory(ec)) sets.push_back(*set);
  }
  std::sort(sets.begin(), sets.end());
  std::vector<std::string> names;
  for (const auto& set : sets) names.push_back(nameOf(set));
  return names;
}

std::string now() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

struct Entry {
  std::string file;
  std::uintmax_t size = 0;
  long long rows = 0;
  std::string sha256;
};

std::string manifestText(const std::vector<Entry>& entries) {
  std::ostringstream out;
  out << kHeader << "\n";
  for (const auto& e : entries)
    out << e.file << " " << e.size << " " << e.rows << " " << e.sha256 << "\n";
  return out.str();
}

// The manifest of a set; what cannot be read of it goes into `problems`.
std::vector<Entry> readManifest(const fs::path& set, std::vector<std::string>& problems) {
  std::ifstream in(set / kManifest);
  std::string line;
  if (!in || !std::getline(in, line) || line != kHeader) {
    problems.push_back(std::string(kManifest) + " 不存在或無法辨識");
    return {};
  }
  std::vector<Entry> entries;
  while (std::getline(in, line)) {
    Entry e;
    std::istringstream fields(line);
    if (!(fields >> e.file >> e.size >> e.rows >> e.sha256) ||
        e.file.find('/') != std::string::npos) {
      problems.push_back(std::string(kManifest) + " 有無法辨識的一行: " + line);
      continue;
    }
    entries.push_back(e);
  }
  return entries;
}

// Whether the copy in `set` is still the one its manifest entry describes.
void compareWithEntry(const fs::path& set, const Entry& e, std::vector<std::string>& problems) {
  const fs::path file = set / e.file;
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(file, ec);
  if (ec) {
    problems.push_back(e.file + " 不存在");
  } else if (size != e.size) {
    problems.push_back(e.file + " 大小為 " + std::to_string(size) + " 位元組,紀錄為 " +
                       std::to_string(e.size));
  } else if (store::sha256OfFile(file) != e.sha256) {
    problems.push_back(e.file + " 的 SHA-256 與紀錄不符");
  }
}

std::string joined(const std::vector<std::string>& problems) {
  std::string out;
  for (const auto& p : problems) out += (out.empty() ? "" : "; ") + p;
  return out;
}

}  // namespace

std::string makeBackupSet(store::Session& session, int keep) {
  const fs::path folder = store::backupSetsFolder(session.folder());
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    throw store::EngineError::fromErrno(errno, folder.string());
  }
  const std::string time = now();
  std::string name = time;
  std::error_code ec;
  for (int n = 2; fs::exists(folder / name, ec); ++n) name = nameOf({time, n});

  store::FileReplacement set(folder / name, store::FileReplacement::Kind::Folder);
  std::vector<Entry> entries;
  for (int i = 0; i < kBackupPairs; ++i) {
    const char* table = backupPair(i).tableFile;
    const fs::path copy = set.temporary() / table;
    store::BatchMove move;
    store::Table source(session, table), destination(session, copy.string());
    move.SetSource(&source);
    move.SetDestination(&destination);
    move.SetMode(store::BatchMove::Mode::Copy);
    move.Execute();
    entries.push_back({table, fs::file_size(copy), move.copiedRows(), store::sha256OfFile(copy)});
  }
  {
    store::FileReplacement manifest(set.temporary() / kManifest);
    manifest.write(manifestText(entries));
    manifest.commit();
  }
  set.commit(
      [&](const fs::path& made) {
        std::vector<std::string> problems;
        for (const auto& e : entries) {
          if (fs::file_size(made / e.file, ec) != e.size || ec) problems.push_back(e.file);
        }
        if (!problems.empty()) {
          throw store::EngineError::of(Code::IoError, (folder / name).string(), {},
                                       "寫入後讀回的大小不符: " + joined(problems));
        }
      },
      store::FileReplacement::Existing::Keep);

  // An earlier set goes only now that the new one is complete under its name.
  const std::vector<std::string> names = setNames(folder);
  for (std::size_t i = 0; i + static_cast<std::size_t>(keep) < names.size(); ++i) {
    store::FileReplacement::remove(folder / names[i]);
  }
  return name;
}

std::vector<BackupSetStatus> listBackupSets(store::Session& session) {
  const fs::path folder = store::backupSetsFolder(session.folder());
  std::vector<BackupSetStatus> sets;
  for (const auto& name : setNames(folder)) {
    BackupSetStatus status{name, {}};
    for (const auto& e : readManifest(folder / name, status.problems))
      compareWithEntry(folder / name, e, status.problems);
    sets.push_back(std::move(status));
  }
  return sets;
}

std::string restoreFromSet(store::Session& session, int index, const std::string& name) {
  const fs::path set = store::backupSetsFolder(session.folder()) / name;
  std::error_code ec;
  if (!parseSetName(name) || !fs::is_directory(set, ec)) {
    throw store::EngineError::of(Code::MissingFile, set.string(), {}, "沒有這個備份組");
  }
  const std::string table = backupPair(index).tableFile;
  std::vector<std::string> problems;
  const std::vector<Entry> entries = readManifest(set, problems);
  const auto entry =
      std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.file == table; });
  if (entry == entries.end()) {
    problems.push_back(std::string(kManifest) + " 沒有 " + table);
  } else {
    compareWithEntry(set, *entry, problems);
  }
  if (!problems.empty()) {
    throw store::EngineError::of(Code::NotATable, (set / table).string(), {},
                                 "與備份組的紀錄不符,未回復: " + joined(problems));
  }
  return restoreTable(session, index, (set / table).string());
}

}  // namespace housekeeping
