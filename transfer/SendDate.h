#pragma once
// The send-date text of the transfer dialog and the date filter it stands for.
//
// The clerk types a Republic-of-China date YYMMDD, or its first characters: "880305" selects
// one day, "8803" a month, "88" a year, and the empty text every entry. The text is not
// checked otherwise. A send date passes when it begins with the text byte for byte, in the code
// page 950 bytes that the tables store; a shorter send date never passes.

#include <string>
#include <string_view>

namespace transfer {

// The text as the bytes the tables store. Throws store::EngineError (InvalidValue) when code
// page 950 cannot hold one of its characters.
std::string sendDateBytes(std::string_view utf8);

// REQUIRES: both arguments are stored bytes.
bool passesDateFilter(std::string_view sendDate, std::string_view filter);

}  // namespace transfer
