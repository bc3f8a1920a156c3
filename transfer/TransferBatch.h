#pragma once
// The transfer batch: the content of temp.DB from which the transfer file and both transfer
// reports are made.
//
// Building it replaces whatever temp.DB held with one row for every pay entry of salary.DB
// whose send date passes the date filter (SendDate.h) and whose employee exists in basic.DB;
// an entry without an employee is passed over. Each row carries the entry's NUMBER, SENDDATE,
// PAY (0 for an entry without amount) and SALARYITEM, the employee's ACCOUNT, ID and NAME,
// and the fixed values SUBJECT "2", PAY1 "00", SPACE "****", TRAN "SA" and an empty MEMO.
//
// The whole replacement is one transaction over the three files: it happens entirely or, when
// anything fails, not at all, and the previous batch stays.

#include <string_view>

#include "TransferText.h"

namespace store {
class Session;
}

namespace transfer {

// Returns the number of rows of the new batch. Throws store::EngineError.
long long buildTransferBatch(store::Session& session, std::string_view sendDateText);

// Builds the batch and, inside the same transaction, the transfer file's text from it
// (TransferText.h), so that no other program can change temp.DB between the two: the text is
// always the text of this batch. A text refused for one of its rows (an item without code, an
// amount too long) still leaves the new batch stored, for the reports, and throws that refusal;
// any failure of the engine leaves the previous batch. Throws store::EngineError.
TransferText buildTransferBatchAndText(store::Session& session, std::string_view sendDateText);

// The same with the text given piece by piece to `sink` (writeTransferText); the result's bytes
// stay empty. A sink that throws ends the build as any failure does and leaves the previous
// batch.
TransferText buildTransferBatchAndWrite(store::Session& session, std::string_view sendDateText,
                                        const TextSink& sink);

}  // namespace transfer
