#include "CommandList.h"

#include "store/DataFolder.h"

#ifndef SALARY_VERSION
#define SALARY_VERSION "0"
#endif

namespace admin {

namespace {

const OptionInfo kData{"--data 資料夾",
                       "資料表所在的資料夾;不指定時用本系統的資料夾 ($XDG_DATA_HOME/salary/別名,"
                       "通常為 ~/.local/share/salary/別名)"};

// Lines of a text, each indented.
std::string indented(std::string_view text, const char* indent) {
  std::string out;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    out += indent + std::string(text.substr(0, end)) + "\n";
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return out;
}

}  // namespace

const std::vector<CommandInfo>& commands() {
  static const std::vector<CommandInfo> list{
      {"init",
       initCommand,
       "init [--data 資料夾] [--missing]",
       "建立新安裝的五個資料表,含預設使用者 admin (密碼 admin) 與十六個薪資項目;\n"
       "已有任何資料表時不做任何變更。加上 --missing 只建立缺少的資料表,已有的一概不動。",
       {kData,
        {"--missing", "只建立缺少的資料表 (item.DB 含十六個薪資項目,pass.DB 含使用者 admin)"}},
       true},
      {"transfer",
       transferCommand,
       "transfer [--data 資料夾] --date 年月日 --out 檔案",
       "以入帳日期開頭為 --date 的薪資資料產生轉帳批次 (留在 temp.DB 供報表使用) 與\n"
       "銀行的轉帳檔,印出筆數與總金額。",
       {kData,
        {"--date 年月日", "入帳日期 YYMMDD 或其開頭 (最多 6 個字元,空白則取全部)"},
        {"--out 檔案", "轉帳檔的檔名,照寫入,不加副檔名;銀行要求 BTXXXX20 形式"}},
       true},
      {"import",
       importCommand,
       "import --data 資料夾 [--employees 檔案] [--entries 檔案]",
       "由 UTF-8 的 CSV 檔存入員工 (basic.DB) 與薪資資料 (salary.DB);第一列為欄位名稱,\n"
       "順序與大小寫不拘: NUMBER,ACCOUNT,NAME,ID,INDATE,LEVEL,MEMO 與\n"
       "NUMBER,SENDDATE,PAY,SALARYITEM。每個檔案全部存入或完全不存;員工先存,\n"
       "薪資檔被拒時員工仍保留。",
       {kData, {"--employees 檔案", "員工資料的 CSV 檔"}, {"--entries 檔案", "薪資資料的 CSV 檔"}},
       true},
      {"report",
       reportCommand,
       "report [--data 資料夾] --style list|detailed --pdf 檔案",
       "把 temp.DB 中的轉帳批次印成條列式 (list) 或詳細列印 (detailed) 報表的 PDF 檔。",
       {kData, {"--style list|detailed", "條列式或詳細列印"}, {"--pdf 檔案", "PDF 檔的檔名"}},
       false},
      {"user",
       userCommand,
       "user add|passwd [--data 資料夾] --code 代碼\nuser list [--data 資料夾]",
       "add 新增使用者,passwd 設定使用者的密碼 (忘記密碼時用);密碼由標準輸入讀兩次,\n"
       "各一行,在終端機輸入時不顯示。list 列出所有使用者代碼,不列密碼。",
       {kData, {"--code 代碼", "使用者代碼 (最多 8 個位元組)"}},
       true},
      {"backup",
       backupCommand,
       "backup [--data 資料夾] [--keep N]\nbackup [--data 資料夾] --list",
       "把 basic.DB、salary.DB、pass.DB 複製為 basic_bk.db、salary_bk.db、pass_bk.db,\n"
       "每份複本通過檢查後才取代原有的備份檔。--keep N 另寫一組有日期的備份\n"
       "backups/YYYYMMDD-HHMMSS,只保留最新的 N 組。--list 列出各組備份是否仍完好。",
       {kData,
        {"--keep N", "另寫一組有日期的備份,並只保留最新的 N 組 (1 以上)"},
        {"--list", "只列出各組備份及其是否完好,不做備份"}},
       true},
      {"restore",
       restoreCommand,
       "restore [--data 資料夾] --table basic|salary|pass [--from 備份組]",
       "以備份檔 (或 --from 指定的備份組中的複本) 取代資料表檔案;複本須先通過該資料表的\n"
       "所有檢查,否則不做任何變更。",
       {kData,
        {"--table basic|salary|pass", "要回復的資料表: 員工、薪資或密碼"},
        {"--from 備份組", "由 backups 中這一組 (YYYYMMDD-HHMMSS) 回復,而不是由備份檔"}},
       true},
      {"check",
       checkCommand,
       "check [--data 資料夾]",
       "檢查各資料表檔案與備份檔是否完好,每個檔案一行;有損毀或缺少的檔案時結束狀態為 1。",
       {kData},
       false},
  };
  return list;
}

const CommandInfo* commandNamed(std::string_view name) {
  for (const auto& c : commands()) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

const char* version() {
  return SALARY_VERSION;
}

std::string usageText() {
  const std::string alias(store::databaseAlias());
  std::string out =
      "用法: salary-admin 指令 [選項]\n不指定 --data 時用本系統的資料夾 ($XDG_DATA_HOME/salary/";
  out += alias;
  out += ",通常為 ~/.local/share/salary/";
  out += alias;
  out += ")。salary-admin 指令 --help 說明該指令的選項。\n";
  for (const auto& c : commands()) {
    out += "\n";
    out += indented(c.synopsis, "  salary-admin ");
    out += indented(c.about, "      ");
  }
  return out;
}

std::string helpText(const CommandInfo& command) {
  std::string out = indented(command.synopsis, "用法: salary-admin ");
  out += "\n";
  out += indented(command.about, "");
  out += "\n選項:\n";
  for (const auto& o : command.options) {
    out += "  ";
    out += o.name;
    out += "\n";
    out += indented(o.about, "      ");
  }
  return out;
}

}  // namespace admin
