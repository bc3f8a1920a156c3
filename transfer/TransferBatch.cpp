#include "TransferBatch.h"

#include <string>

#include "SendDate.h"
#include "store/Query.h"
#include "store/Session.h"
#include "store/Table.h"
#include "store/Transaction.h"
#include "store/Value.h"

namespace transfer {

namespace {

constexpr const char* kFillColumns =
    "INSERT INTO temp (NUMBER, SENDDATE, SUBJECT, ACCOUNT, PAY, PAY1, ID, SPACE, TRAN, MEMO, "
    "SALARYITEM, NAME) "
    "SELECT s.NUMBER, s.SENDDATE, :SUBJECT, b.ACCOUNT, ifnull(s.PAY, 0), :PAY1, b.ID, :SPACE, "
    ":TRAN, :MEMO, s.SALARYITEM, b.NAME "
    "FROM salary s JOIN basic b ON b.NUMBER = s.NUMBER";

// The range lets the send-date index find the entries; the prefix test alone decides.
constexpr const char* kBoundedDate =
    " WHERE s.SENDDATE >= :FROMDATE AND s.SENDDATE < :BEYOND"
    " AND substr(s.SENDDATE, 1, :DATELENGTH) = :FROMDATE";
constexpr const char* kOpenEndedDate =
    " WHERE s.SENDDATE >= :FROMDATE AND substr(s.SENDDATE, 1, :DATELENGTH) = :FROMDATE";

// The least byte string above every string that begins with `prefix`, or "" when there is none
// (a prefix of 0xFF bytes only).
std::string beyondPrefix(std::string prefix) {
  while (!prefix.empty() && static_cast<unsigned char>(prefix.back()) == 0xFF) prefix.pop_back();
  if (!prefix.empty())
    prefix.back() = static_cast<char>(static_cast<unsigned char>(prefix.back()) + 1);
  return prefix;
}

}  // namespace

long long buildTransferBatch(store::Session& session, std::string_view sendDateText) {
  const std::string date = sendDateBytes(sendDateText);
  const std::string beyond = date.empty() ? std::string() : beyondPrefix(date);

  std::string sql = kFillColumns;
  if (!date.empty()) sql += beyond.empty() ? kOpenEndedDate : kBoundedDate;

  store::Transaction tx(session, {"temp.DB", "salary.DB", "basic.DB"});
  store::Table temp(session, "temp.DB");
  temp.EmptyTable();

  store::Query fill(session, sql);
  fill.setParam("SUBJECT", store::Value::bytes("2"));
  fill.setParam("PAY1", store::Value::bytes("00"));
  fill.setParam("SPACE", store::Value::bytes("****"));
  fill.setParam("TRAN", store::Value::bytes("SA"));
  fill.setParam("MEMO", store::Value());
  if (!date.empty()) {
    fill.setParam("FROMDATE", store::Value::bytes(date));
    fill.setParam("DATELENGTH", store::Value::number(static_cast<double>(date.size())));
    if (!beyond.empty()) fill.setParam("BEYOND", store::Value::bytes(beyond));
  }
  const long long rows = fill.ExecSQL();
  tx.commit();
  return rows;
}

}  // namespace transfer
