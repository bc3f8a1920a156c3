#pragma once
// The letter case of names the engine compares without regard to it (file names, field names,
// the words of a query): ASCII letters only, every other byte as it is (engine internal).

#include <string>

namespace store {

inline std::string upperAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

}  // namespace store
