// SHA-256 against the known answers of FIPS 180-4's examples, whole and fed piece by piece.

#include "store/Sha256.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/TestFolder.h"

namespace {

TEST(Sha256, GivesTheKnownDigestsWholeInPiecesAndOfAFile) {
  const struct {
    std::string message, digest;
  } known[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  TestFolder folder(TestFolder::Tables::None);
  for (const auto& k : known) {
    SCOPED_TRACE(k.message.size());
    EXPECT_EQ(store::sha256Hex(k.message), k.digest);
    store::Sha256 pieces;
    for (size_t at = 0, n = 1; at < k.message.size(); at += n, n = n * 3 % 97 + 1)
      pieces.update(std::string_view(k.message).substr(at, n));
    EXPECT_EQ(pieces.hexDigest(), k.digest);
    const auto file = folder.path() / "message";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << k.message;
    EXPECT_EQ(store::sha256OfFile(file), k.digest);
  }
}

}  // namespace
