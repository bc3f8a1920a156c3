#pragma once
// The pay-entry page's table rules: starting a new pay entry as a copy of the employee's latest
// one, the acceptance rule of 寫入, and writing the entry. No widget is involved; tests and
// benchmarks call them on any pair of table objects.
//
// Only postEntry() ever writes: an entry begun by startEntry() that is left by a move, a search,
// a change of the employee or a Close is dropped by the table, unwritten.

#include <cstddef>
#include <string>

namespace store {
class Table;
}

namespace pay {

// The amount field of the bank's transfer file holds this many characters; an amount whose plain
// text is longer could never be sent.
inline constexpr std::size_t kTransferAmountWidth = 13;

// REQUIRES: `entries` is open on salary.DB as the detail of `employees`, which stands on an
// employee. Drops a pending entry, moves to the employee's latest entry (the last in key order:
// latest send date, then amount, then item) and begins a new entry holding the batch send date
// and that entry's amount and item (empty when the employee has none; an empty batch send date
// leaves the send date empty). Throws store::EngineError (a batch send date the field cannot
// hold, for instance).
void startEntry(store::Table& entries, store::Table& employees, const std::string& batchSendDate);

enum class EntryCheck {
  Accepted,
  NothingPending,  // no entry is being inserted or edited
  Incomplete,      // send date empty, amount 0 or empty, or item empty (tested in that order)
  AmountTooLong,   // the amount's text is longer than kTransferAmountWidth
  UnknownItem,     // the item is none of the sixteen the transfer file has a code for
};

// The acceptance rule of 寫入 for the pending entry of `entries`, then what the bank's transfer
// file could not carry (an entry copied from one stored by other means may hold either). A
// negative amount is accepted; the form of the send date is not checked. salary-admin import
// applies the same rule to every imported entry.
EntryCheck checkEntry(store::Table& entries);

// The same, with the field that decided it (SENDDATE, PAY or SALARYITEM; empty when accepted or
// nothing is pending).
struct EntryVerdict {
  EntryCheck check = EntryCheck::Accepted;
  std::string field;
};
EntryVerdict judgeEntry(store::Table& entries);

enum class EntryPosted { Posted, Duplicate };

// Writes the pending entry. An entry equal to a stored one in all four fields is not written
// and stays pending with its values (Duplicate). Other failures throw store::EngineError and
// leave the entry pending as well.
EntryPosted postEntry(store::Table& entries);

}  // namespace pay
