#pragma once
// Saving the transfer file under the name the clerk chose.
//
// The text is written to a new file beside the target, flushed to the medium, and only then
// renamed over the name, so that a failure (no medium, a write-protected or full diskette)
// leaves an earlier file of that name exactly as it was and no partial file behind. The name is
// used exactly as given; no extension is added. An existing file is replaced without asking,
// unless it is itself write-protected.

#include <filesystem>
#include <string_view>

namespace transfer {

// Throws store::EngineError naming the file and giving the system's reason.
void saveTransferFile(const std::filesystem::path& fileName, std::string_view bytes);

}  // namespace transfer
