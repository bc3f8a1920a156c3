#pragma once
// Saving the transfer file under the name the clerk chose.
//
// The text is written to a new file beside the target, put on the medium, read back and compared,
// and only then renamed over the name (store/FileReplacement), so that a failure (no medium, a
// write-protected or full diskette, a medium that gives back other bytes) leaves an earlier
// file of that name exactly as it was and no partial file behind. The name is used exactly as
// given; no extension is added. An existing file is replaced without asking, unless it is
// itself write-protected. A new file is readable by its owner only (mode 0600): it holds account
// numbers and national IDs. A file it replaces keeps its permissions.

#include <filesystem>
#include <string>
#include <string_view>

namespace transfer {

// Throws store::EngineError naming the file, its kind telling a full disk (DiskFull), a medium
// that cannot be written (ReadOnly), an I/O error or a file that reads back differently
// (IoError) or a missing folder (MissingFile); the file is then as it was. Once the new file has
// replaced the name, the save has succeeded: when the folder then cannot be synced (even on a
// second try), the returned text warns that the new name may not have reached the medium yet;
// it is empty otherwise.
std::string saveTransferFile(const std::filesystem::path& fileName, std::string_view bytes);

}  // namespace transfer
