#pragma once
// The save of the month's transfer file, as the transfer dialog and salary-admin both make it,
// so that the two can never write different files for the same batch: the text of
// buildTransferBatchAndText (TransferBatch.h) saved under the chosen name, then read back and
// compared before the save is called done.

#include <filesystem>
#include <string>
#include <string_view>

namespace transfer {

// Saves `bytes` under `fileName` (TransferSave.h: an earlier file stays whole on failure), then
// reads the file back and compares it byte for byte. Throws store::EngineError naming the file
// when the save fails or the medium gives back other bytes than were written. Returns the
// save's warning (empty when none).
std::string saveTransferFileChecked(const std::filesystem::path& fileName, std::string_view bytes);

// The comparison alone: throws store::EngineError naming the file unless it holds exactly
// `bytes`.
void checkTransferFile(const std::filesystem::path& fileName, std::string_view bytes);

}  // namespace transfer
