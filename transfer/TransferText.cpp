#include "TransferText.h"

#include <cmath>

#include "SendDate.h"
#include "TransferItemCodes.h"
#include "store/Cp950.h"
#include "store/EngineError.h"
#include "store/Table.h"
#include "store/Value.h"

namespace transfer {

namespace {

constexpr std::string_view kHeader = "020000020000";
constexpr std::string_view kTrailer = "END$END";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kAmountWidth = 13;

enum class Align { Left, Right };

[[noreturn]] void refuse(std::string_view number, std::string_view sendDate,
                         const std::string& what) {
  throw store::EngineError(store::EngineError::Code::InvalidValue,
                           "員工編號 " + store::cp950::decode(number) + " 入帳日 " +
                               store::cp950::decode(sendDate) + " 的" + what +
                               ",無法寫入轉帳檔,未產生任何檔案");
}

// The fields read from one batch row, as stored bytes.
struct Row {
  std::string number, sendDate, account, pay1, id, space, salaryItem;
  double pay = 0;
};

class RecordWriter {
 public:
  explicit RecordWriter(std::string& out) : out_(out) {}

  void write(const Row& r) {
    const std::optional<ItemCode> code = itemCode(r.salaryItem);
    if (!code) {
      refuse(r.number, r.sendDate,
             "薪資項目「" + store::cp950::decode(r.salaryItem) + "」不在轉帳代碼表中");
    }
    const std::string amount = amountText(r);
    put(r, "NUMBER", r.number, 6, Align::Right, '0');
    put(r, "SENDDATE", r.sendDate, 6, Align::Left, ' ');
    out_ += code->subject;
    put(r, "ACCOUNT", r.account, 14, Align::Right, ' ');
    put(r, "PAY", amount, kAmountWidth, Align::Right, '0');
    // PAY1 and SPACE are "00" and "****" in every batch row; any other stored text keeps its
    // place rather than shifting the fields after it.
    put(r, "PAY1", r.pay1, 2, Align::Left, ' ');
    put(r, "ID", r.id.size() == 10 ? r.id : std::string(), 10, Align::Left, ' ');
    put(r, "SPACE", r.space, 4, Align::Left, ' ');
    out_ += code->tran;
    out_.append(16, ' ');
    out_ += kLineEnd;
  }

 private:
  std::string amountText(const Row& r) {
    double pay = r.pay;
    if (pay == 0) pay = 0;  // never "-0"
    std::string text = std::isfinite(pay) ? store::formatNumber(pay) : std::string();
    if (text.empty() || text.size() > kAmountWidth) {
      refuse(r.number, r.sendDate,
             "金額 " + (std::isfinite(pay) ? text : std::string("(非數值)")) + " 超過轉帳檔的 " +
                 std::to_string(kAmountWidth) + " 位");
    }
    return text;
  }

  void put(const Row& r, const char* field, std::string_view value, std::size_t width, Align align,
           char fill) {
    if (value.size() > width) {
      refuse(r.number, r.sendDate,
             std::string("欄位 ") + field + "「" + store::cp950::decode(value) + "」超過 " +
                 std::to_string(width) + " 位");
    }
    if (align == Align::Right) out_.append(width - value.size(), fill);
    out_ += value;
    if (align == Align::Left) out_.append(width - value.size(), fill);
  }

  std::string& out_;
};

}  // namespace

TransferText buildTransferText(store::Session& session, std::string_view sendDateText) {
  std::string bytes;
  TransferText result =
      writeTransferText(session, sendDateText, [&](std::string_view piece) { bytes += piece; });
  result.bytes = std::move(bytes);
  return result;
}

TransferText writeTransferText(store::Session& session, std::string_view sendDateText,
                               const TextSink& sink) {
  const std::string date = sendDateBytes(sendDateText);
  TransferText result;
  std::string out;
  out.reserve(kPiece + kRecordLength + 64);
  out += kHeader;
  out += kLineEnd;

  store::Table temp(session, "temp.DB");
  temp.Open();
  store::Field number = temp.FieldByName("NUMBER");
  store::Field sendDate = temp.FieldByName("SENDDATE");
  store::Field account = temp.FieldByName("ACCOUNT");
  store::Field pay = temp.FieldByName("PAY");
  store::Field pay1 = temp.FieldByName("PAY1");
  store::Field id = temp.FieldByName("ID");
  store::Field space = temp.FieldByName("SPACE");
  store::Field salaryItem = temp.FieldByName("SALARYITEM");

  RecordWriter writer(out);
  Row row;
  for (temp.First(); !temp.Eof(); temp.Next()) {
    row.sendDate = sendDate.bytes();
    if (!passesDateFilter(row.sendDate, date)) continue;
    row.number = number.bytes();
    row.account = account.bytes();
    row.pay = pay.number();
    row.pay1 = pay1.bytes();
    row.id = id.bytes();
    row.space = space.bytes();
    row.salaryItem = salaryItem.bytes();
    writer.write(row);
    ++result.records;
    result.total += row.pay;
    if (out.size() >= kPiece) {
      sink(out);
      out.clear();
    }
  }
  temp.Close();

  out += kTrailer;
  out += kLineEnd;
  sink(out);
  return result;
}

}  // namespace transfer
