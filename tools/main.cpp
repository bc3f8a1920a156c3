// salary-admin: the companion tool of salary. It creates the table files of a new
// installation and does, from the command line, work the program does from its screens. It
// speaks to the clerk in Traditional Chinese, as the program does; option and file names stay
// as they are typed.

#include <algorithm>
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <string>

#include "Commands.h"
#include "store/DataFolder.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const admin::Args&);
  const char* synopsis;  // the command line, its options as typed
  const char* about;     // what it does
};

const Command kCommands[] = {
    {"init", admin::initCommand, "init [--data 資料夾] [--missing]",
     "建立新安裝的五個資料表,含預設使用者 admin (密碼 admin) 與十六個薪資項目;\n"
     "已有任何資料表時不做任何變更。加上 --missing 只建立缺少的資料表,已有的一概不動。"},
    {"transfer", admin::transferCommand, "transfer [--data 資料夾] --date 年月日 --out 檔案",
     "以入帳日期開頭為 --date 的薪資資料產生轉帳批次 (留在 temp.DB 供報表使用) 與\n"
     "銀行的轉帳檔,印出筆數與總金額。"},
    {"import", admin::importCommand, "import --data 資料夾 [--employees 檔案] [--entries 檔案]",
     "由 UTF-8 的 CSV 檔存入員工 (basic.DB) 與薪資資料 (salary.DB);第一列為欄位名稱,\n"
     "順序與大小寫不拘: NUMBER,ACCOUNT,NAME,ID,INDATE,LEVEL,MEMO 與\n"
     "NUMBER,SENDDATE,PAY,SALARYITEM。每個檔案全部存入或完全不存;員工先存,\n"
     "薪資檔被拒時員工仍保留。"},
    {"report", admin::reportCommand, "report [--data 資料夾] --style list|detailed --pdf 檔案",
     "把 temp.DB 中的轉帳批次印成條列式 (list) 或詳細列印 (detailed) 報表的 PDF 檔。"},
    {"user", admin::userCommand,
     "user add|passwd [--data 資料夾] --code 代碼\n"
     "  salary-admin user list [--data 資料夾]",
     "add 新增使用者,passwd 設定使用者的密碼 (忘記密碼時用);密碼由標準輸入讀兩次,\n"
     "各一行,在終端機輸入時不顯示。list 列出所有使用者代碼,不列密碼。"},
    {"backup", admin::backupCommand,
     "backup [--data 資料夾] [--keep N]\n"
     "  salary-admin backup [--data 資料夾] --list",
     "把 basic.DB、salary.DB、pass.DB 複製為 basic_bk.db、salary_bk.db、pass_bk.db,\n"
     "每份複本通過檢查後才取代原有的備份檔。--keep N 另寫一組有日期的備份\n"
     "backups/YYYYMMDD-HHMMSS,只保留最新的 N 組。--list 列出各組備份是否仍完好。"},
    {"restore", admin::restoreCommand,
     "restore [--data 資料夾] --table basic|salary|pass [--from 備份組]",
     "以備份檔 (或 --from 指定的備份組中的複本) 取代資料表檔案;複本須先通過該資料表的\n"
     "所有檢查,否則不做任何變更。"},
    {"check", admin::checkCommand, "check [--data 資料夾]",
     "檢查各資料表檔案與備份檔是否完好,每個檔案一行;有損毀或缺少的檔案時結束狀態為 1。"},
};

// The commands that write to the data folder: refused while the program runs on it.
const char* const kWriting[] = {"init", "import", "transfer", "user", "backup", "restore"};

int usage() {
  std::cerr << "用法: salary-admin 指令 [選項]\n"
               "不指定 --data 時用本系統的資料夾 ($XDG_DATA_HOME/salary/"
            << store::databaseAlias() << ",通常為 ~/.local/share/salary/" << store::databaseAlias()
            << ")。\n";
  for (const auto& c : kCommands) {
    std::cerr << "\n  salary-admin " << c.synopsis << "\n";
    std::string about = c.about;
    for (size_t at = 0; at != std::string::npos;) {
      const size_t end = about.find('\n', at);
      std::cerr << "      " << about.substr(at, end == std::string::npos ? end : end - at) << "\n";
      at = end == std::string::npos ? end : end + 1;
    }
  }
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  admin::Args args(argv + 2, argv + argc);
  for (const auto& c : kCommands) {
    if (std::strcmp(argv[1], c.name) != 0) continue;
    try {
      std::unique_ptr<store::FolderLock> hold;
      // Listing the backup sets only reads.
      const bool listing = std::strcmp(c.name, "backup") == 0 &&
                           std::find(args.begin(), args.end(), "--list") != args.end();
      for (const char* w : kWriting) {
        if (std::strcmp(c.name, w) == 0 && !listing) hold = admin::holdDataFolder(args);
      }
      return c.run(args);
    } catch (const admin::UsageError& e) {
      std::cerr << "salary-admin " << c.name << ": " << e.what() << "\n";
      return usage();
    } catch (const std::exception& e) {
      std::cerr << "salary-admin " << c.name << ": " << e.what() << "\n";
      return 1;
    }
  }
  std::cerr << "salary-admin: 沒有 " << argv[1] << " 這個指令\n";
  return usage();
}
