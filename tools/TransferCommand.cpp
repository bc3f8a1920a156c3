// salary-admin transfer: builds the transfer batch of a send date in temp.DB and writes the
// transfer file, as the transfer dialog does. The batch stays in temp.DB for the reports.

#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>

#include "Commands.h"
#include "store/EngineError.h"
#include "store/FileReplacement.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/Value.h"
#include "transfer/SendDate.h"
#include "transfer/TransferBatch.h"

namespace admin {

namespace {

// The dialog's date box takes at most six characters.
constexpr std::size_t kDateTextLimit = 6;

}  // namespace

int transferCommand(const Args& args) {
  checkOptions(args, {"--data", "--date", "--out"});
  std::filesystem::path folder = dataFolder(args);
  const std::string date = optionValue(args, "--date", true);
  const std::filesystem::path out = optionValue(args, "--out", true);
  if (out.empty()) throw UsageError("--out 需要檔案名稱");
  if (transfer::sendDateBytes(date).size() > kDateTextLimit) {
    throw UsageError("--date 最多 6 個字元 (年月日 YYMMDD 或其開頭)");
  }

  store::Session session(folder);
  session.AddPassword(store::kTablePassword);
  // The text goes record by record into the new file beside the target. A failure of the file
  // is held until the batch is stored, as when the file is saved after the batch is built.
  std::optional<store::FileReplacement> file;
  std::exception_ptr saveFailed;
  const transfer::TransferText text =
      transfer::buildTransferBatchAndWrite(session, date, [&](std::string_view piece) {
        if (saveFailed) return;
        try {
          if (!file) file.emplace(out);
          file->write(piece);
        } catch (const store::EngineError&) {
          saveFailed = std::current_exception();
        }
      });
  if (saveFailed) std::rethrow_exception(saveFailed);
  if (!file) file.emplace(out);  // never reached: the text always has its last line
  if (file->commit() == store::FileReplacement::Synced::Unconfirmed) {
    std::cerr << "salary-admin transfer: " << store::FileReplacement::unconfirmedWarning(out)
              << "\n";
  }
  std::cout << "已寫入 " << out.string() << ": " << text.records << " 筆,總金額 "
            << store::formatNumber(text.total) << "\n";
  return 0;
}

}  // namespace admin
