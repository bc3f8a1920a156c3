#pragma once
// SHA-256 (FIPS 180-4), as 64 lower-case hex digits: the table password's verifier and the
// fingerprints of the files of a backup set.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace store {

// A digest fed piece by piece, so that a file of any size is never held whole.
class Sha256 {
 public:
  Sha256();
  void update(std::string_view data);
  // The digest of everything fed so far. REQUIRES: called once, after the last update.
  std::string hexDigest();

 private:
  std::array<uint32_t, 8> h_;
  std::array<unsigned char, 64> block_{};
  std::size_t filled_ = 0;
  uint64_t length_ = 0;
};

std::string sha256Hex(std::string_view data);

// The digest of a file's bytes. Throws EngineError naming the file when it cannot be read.
std::string sha256OfFile(const std::filesystem::path& file);

}  // namespace store
