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

namespace store {
class Session;
}

namespace transfer {

// Returns the number of rows of the new batch. Throws store::EngineError.
long long buildTransferBatch(store::Session& session, std::string_view sendDateText);

}  // namespace transfer
