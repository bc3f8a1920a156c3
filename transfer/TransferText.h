#pragma once
// The transfer file that the company hands to its bank, built from the batch in temp.DB.
//
// The text is code page 950 bytes, a line "020000020000", one 74-byte record per batch row in
// temp.DB's primary-key order whose send date passes the date filter, and a line "END$END";
// every line ends with CR LF. A record is, without separators: NUMBER (6, right-aligned, filled
// with "0"), SENDDATE (6, left-aligned, filled with spaces), the item's SUBJECT digit (1),
// ACCOUNT (14, right-aligned, filled with spaces), the amount (13, right-aligned, filled with
// "0"), PAY1 (2), ID (10, only when exactly 10 bytes, else spaces), SPACE (4), the item's TRAN
// code (2) and 16 spaces.
//
// buildTransferText builds the whole text in memory; writeTransferText hands it to a sink in
// pieces of about kPiece bytes instead, so that a file of a whole table never needs its size
// in memory. Nothing is written to any file here. A row that cannot
// make an exact record (a salary item outside the item code table, an amount whose text exceeds
// 13 characters) refuses the whole text with an EngineError naming the employee number, the
// send date and the value; no record is ever longer or shorter than 74 bytes.

#include <functional>
#include <string>
#include <string_view>

namespace store {
class Session;
}

namespace transfer {

inline constexpr std::size_t kRecordLength = 74;
inline constexpr std::size_t kPiece = 64 * 1024;

using TextSink = std::function<void(std::string_view)>;

struct TransferText {
  std::string bytes;      // the file's content
  long long records = 0;  // record lines
  double total = 0;       // sum of the amounts of the records
};

// Throws store::EngineError.
TransferText buildTransferText(store::Session& session, std::string_view sendDateText);

// The same text given piece by piece to `sink`; the result's bytes stay empty. A refused row
// throws after the pieces before it were given: the receiver must then drop what it got.
// Throws store::EngineError, and what the sink throws.
TransferText writeTransferText(store::Session& session, std::string_view sendDateText,
                               const TextSink& sink);

}  // namespace transfer
