#include "TransferBatch.h"

#include <exception>
#include <string>
#include <vector>

#include "SendDate.h"
#include "store/EngineError.h"
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

// An entry without amount enters the batch with 0, so it meets an entry of 0 that is equal to
// it in every other field: the batch cannot hold both.
constexpr const char* kMissingAmountBesideZero =
    "SELECT s.NUMBER, s.SENDDATE, s.SALARYITEM FROM salary s JOIN salary z"
    " ON z.NUMBER = s.NUMBER AND z.SENDDATE = s.SENDDATE AND z.SALARYITEM = s.SALARYITEM"
    " JOIN basic b ON b.NUMBER = s.NUMBER"
    " WHERE s.PAY IS NULL AND z.PAY = 0 AND substr(s.SENDDATE, 1, :DATELENGTH) = :FROMDATE";

[[noreturn]] void refuseMissingAmountBesideZero(store::Session& session, const std::string& date,
                                                const store::EngineError& error) {
  store::Query find(session, kMissingAmountBesideZero);
  find.setParam("FROMDATE", store::Value::bytes(date));
  find.setParam("DATELENGTH", store::Value::number(static_cast<double>(date.size())));
  find.Open();
  if (find.Eof()) throw error;
  throw store::EngineError(store::EngineError::Code::KeyViolation,
                           "員工編號 " + find.FieldByName("NUMBER").text() + " 入帳日 " +
                               find.FieldByName("SENDDATE").text() + " 的薪資項目「" +
                               find.FieldByName("SALARYITEM").text() +
                               "」有一筆沒有金額的資料和一筆金額為 0 "
                               "的資料,轉帳時兩者相同;請刪除其中一筆再產生轉帳磁片");
}

// The least byte string above every string that begins with `prefix`, or "" when there is none
// (a prefix of 0xFF bytes only).
std::string beyondPrefix(std::string prefix) {
  while (!prefix.empty() && static_cast<unsigned char>(prefix.back()) == 0xFF) prefix.pop_back();
  if (!prefix.empty())
    prefix.back() = static_cast<char>(static_cast<unsigned char>(prefix.back()) + 1);
  return prefix;
}

// Replaces the batch inside the caller's transaction over temp.DB, salary.DB and basic.DB.
long long fillBatch(store::Session& session, std::string_view sendDateText) {
  const std::string date = sendDateBytes(sendDateText);
  const std::string beyond = date.empty() ? std::string() : beyondPrefix(date);

  std::string sql = kFillColumns;
  if (!date.empty()) sql += beyond.empty() ? kOpenEndedDate : kBoundedDate;

  store::Table temp(session, "temp.DB");
  temp.EmptyTable();

  store::Query fill(session, sql);
  fill.setParam("SUBJECT", store::Value::bytes("2"));
  fill.setParam("PAY1", store::Value::bytes("00"));
  fill.setParam("SPACE", store::Value::bytes("****"));
  fill.setParam("TRAN", store::Value::bytes("SA"));
  fill.setParam("MEMO", store::Value::bytes(""));
  if (!date.empty()) {
    fill.setParam("FROMDATE", store::Value::bytes(date));
    fill.setParam("DATELENGTH", store::Value::number(static_cast<double>(date.size())));
    if (!beyond.empty()) fill.setParam("BEYOND", store::Value::bytes(beyond));
  }
  long long rows = 0;
  try {
    rows = fill.ExecSQL();
  } catch (const store::EngineError& e) {
    if (e.code() != store::EngineError::Code::KeyViolation) throw;
    refuseMissingAmountBesideZero(session, date, e);
  }
  return rows;
}

const std::vector<std::string> kBatchFiles{"temp.DB", "salary.DB", "basic.DB"};

}  // namespace

long long buildTransferBatch(store::Session& session, std::string_view sendDateText) {
  store::Transaction tx(session, kBatchFiles);
  const long long rows = fillBatch(session, sendDateText);
  tx.commit();
  return rows;
}

TransferText buildTransferBatchAndText(store::Session& session, std::string_view sendDateText) {
  std::string bytes;
  TransferText text = buildTransferBatchAndWrite(session, sendDateText,
                                                 [&](std::string_view piece) { bytes += piece; });
  text.bytes = std::move(bytes);
  return text;
}

TransferText buildTransferBatchAndWrite(store::Session& session, std::string_view sendDateText,
                                        const TextSink& sink) {
  store::Transaction tx(session, kBatchFiles);
  fillBatch(session, sendDateText);
  TransferText text;
  std::exception_ptr refused;
  try {
    text = writeTransferText(session, sendDateText, sink);
  } catch (const store::EngineError& e) {
    if (e.code() != store::EngineError::Code::InvalidValue) throw;
    refused = std::current_exception();
  }
  tx.commit();
  if (refused) std::rethrow_exception(refused);
  return text;
}

}  // namespace transfer
