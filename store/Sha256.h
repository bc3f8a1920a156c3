#pragma once
// SHA-256 of a byte string, as 64 lower-case hex digits (for the table password verifier).

#include <string>
#include <string_view>

namespace store {

std::string sha256Hex(std::string_view data);

}  // namespace store
