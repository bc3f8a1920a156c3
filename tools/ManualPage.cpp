// salary-admin-manual: writes the manual pages salary-admin(1) and salary(1) in roff to standard
// output. salary-admin(1) is made from the same list of commands that salary-admin prints
// (CommandList), so that the page and the tool never tell different things. Run when the tool
// is built; not installed.
//   salary-admin-manual salary-admin|salary

#include <iostream>
#include <string>
#include <string_view>

#include "CommandList.h"
#include "store/DataFolder.h"

namespace {

// Marks that never begin a line of Chinese text.
bool beginsWithClosingMark(std::string_view text) {
  for (std::string_view mark :
       {",", ";", ":", ")", "!", "?", "，", "。", "、", "；", "：", "」", "）", "！", "？"}) {
    if (text.starts_with(mark)) return true;
  }
  return false;
}

// Text for roff: backslashes and hyphens as roff writes them, no line taken for a request, the
// usage text's line ends joined (Chinese needs no space between its lines), and a place to
// break the line after each Chinese character (\:), since groff breaks lines only at spaces.
std::string roff(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else if (c != '\n') {
      out += c;
    }
    const bool endsWide = (c & 0x80) && (i + 1 == text.size() || (text[i + 1] & 0xC0) != 0x80);
    const bool closesWide =
        i > 0 && (text[i - 1] & 0x80) && beginsWithClosingMark(text.substr(i, 1));
    if ((endsWide || closesWide) && !beginsWithClosingMark(text.substr(i + 1))) out += "\\:";
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

// Writes the page: a line that begins with '.' is a request, written as it is; any other line is
// text.
void page(std::string_view source) {
  while (!source.empty()) {
    const size_t end = source.find('\n');
    const std::string_view line = source.substr(0, end);
    std::cout << (line.starts_with('.') ? std::string(line) : roff(line)) << "\n";
    source = end == std::string_view::npos ? std::string_view() : source.substr(end + 1);
  }
}

std::string heading(const char* name) {
  return std::string(".TH ") + name + " 1 \"\" \"salary " + admin::version() +
         "\" \"salary\"\n.ad l\n";
}

std::string folder() {
  return "~/.local/share/salary/" + std::string(store::databaseAlias());
}

void salaryAdminPage() {
  std::string text = heading("SALARY-ADMIN") +
                     ".SH NAME\nsalary-admin \\- 人事薪資管理系統的管理工具\n.SH SYNOPSIS\n";
  std::cout << text;
  text.clear();
  for (const auto& c : admin::commands()) {
    std::string_view lines = c.synopsis;
    while (!lines.empty()) {
      const size_t end = lines.find('\n');
      std::cout << ".br\n.B salary\\-admin\n" << roff(lines.substr(0, end)) << "\n";
      lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
    }
  }
  page(
      ".br\n.B salary-admin --version\n"
      ".SH DESCRIPTION\n"
      "salary-admin 是人事薪資管理系統 (salary) 的管理工具:建立新安裝的資料表、匯入員工與薪資資料、"
      "產生銀行的轉帳檔與報表、管理使用者,"
      "以及備份、回復與檢查資料表。它在命令列上做程式在畫面上做的"
      "工作,用同樣的規則。會寫入資料的指令在程式開著同一個資料夾時一律拒絕,不做任何變更。\n"
      ".PP\n"
      "每個指令加上 --help 說明它的選項。\n"
      ".SH COMMANDS");
  for (const auto& c : admin::commands()) {
    std::cout << ".SS " << c.name << "\n.nf\n";
    std::string_view lines = c.synopsis;
    while (!lines.empty()) {
      const size_t end = lines.find('\n');
      std::cout << "salary\\-admin " << roff(lines.substr(0, end)) << "\n";
      lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
    }
    std::cout << ".fi\n.PP\n" << roff(c.about) << "\n";
    for (const auto& o : c.options) {
      std::cout << ".TP\n.B " << roff(o.name) << "\n" << roff(o.about) << "\n";
    }
  }
  page(
      ".SH EXIT STATUS\n"
      ".TP\n.B 0\n完成。\n"
      ".TP\n.B 1\n被拒絕或失敗,訊息說明原因;除非訊息另有說明,沒有做任何變更。"
      "check 與 backup --list 發現損毀或缺少的檔案時也是 1。\n"
      ".TP\n.B 2\n看不懂的命令列;印出用法。\n"
      ".SH ENVIRONMENT\n"
      ".TP\n.B XDG_DATA_HOME\n本系統的資料夾在 $XDG_DATA_HOME/salary/" +
      std::string(store::databaseAlias()) +
      ";未設定 (或不是絕對路徑) 時用 $HOME/.local/share。\n"
      ".SH FILES\n"
      ".TP\n.I " +
      folder() +
      "\n本系統的資料夾 (權限 0700)。\n"
      ".TP\n.I basic.DB, salary.DB, item.DB, pass.DB, temp.DB\n"
      "員工、薪資、薪資項目、使用者與最近一次轉帳批次的資料表 (權限 0600)。\n"
      ".TP\n.I basic_bk.db, salary_bk.db, pass_bk.db\n備份檔。\n"
      ".TP\n.I backups/YYYYMMDD-HHMMSS/\n"
      "backup --keep 寫的有日期的備份組,內含三個資料表的複本與 MANIFEST。\n"
      ".TP\n.I .salary.lock\n程式與會寫入的指令使用資料夾時鎖住的檔案。\n"
      ".TP\n.I .NAME.part-PID-N\n"
      "寫到一半的檔案,完成並通過檢查後才改名為 NAME;中斷留下的會在下次啟動時移除。\n"
      ".SH EXAMPLES\n"
      "每晚備份並保留 14 組 (crontab):\n.PP\n.nf\n"
      "30 2 * * * salary-admin backup --keep 14\n.fi\n"
      ".PP\n忘記密碼:\n.PP\n.nf\n"
      "salary-admin user list\nsalary-admin user passwd --code admin\n.fi\n"
      ".SH SEE ALSO\n.BR salary (1),\n.BR crontab (5),\n.BR lp (1)");
}

void salaryPage() {
  std::cout << heading("SALARY") << ".SH NAME\nsalary \\- 人事薪資管理系統\n";
  page(
      ".SH SYNOPSIS\n.B salary\n.br\n.B salary --version\n"
      ".SH DESCRIPTION\n"
      "人事薪資管理系統:管理員工基本資料與每月的薪資資料,產生銀行的薪資轉帳檔,列印轉帳報表,"
      "管理使用者代碼與密碼,並清除、刪除與備份資料表。畫面為繁體中文,資料表的文字為 Big5 "
      "(code page 950),日期為民國年月日 (YYMMDD)。\n"
      ".PP\n"
      "程式由桌面選單的「人事薪資管理系統」或命令 salary 啟動。資料夾中還沒有任何資料表時,先以 "
      "salary-admin init 建立資料表;第一次登入的使用者代碼為 admin,密碼為 admin,請立即在"
      "密碼設定作業變更。資料夾中有資料表但缺少其中之一時,程式說明缺少哪一個以及如何回復,"
      "然後結束。\n"
      ".PP\n"
      "同一個資料夾一次只能由一個程式使用:程式開著時,再啟動一次會顯示「本系統已在執行中」;"
      "salary-admin 會寫入資料的指令也一律拒絕。\n"
      ".SH OPTIONS\n.TP\n.B --version\n印出版本後結束,不開視窗。\n"
      ".SH EXIT STATUS\n程式結束時為 0,也包括資料夾已在使用中或缺少資料表而結束時。\n"
      ".SH ENVIRONMENT\n.TP\n.B XDG_DATA_HOME\n資料夾在 $XDG_DATA_HOME/salary/" +
      std::string(store::databaseAlias()) +
      ";未設定 (或不是絕對路徑) 時用 $HOME/.local/share。\n"
      ".SH FILES\n.TP\n.I " +
      folder() +
      "\n資料夾:資料表 basic.DB、salary.DB、item.DB、pass.DB、temp.DB,備份檔 basic_bk.db、"
      "salary_bk.db、pass_bk.db,有日期的備份組 backups/,以及程式使用時鎖住的 .salary.lock。\n"
      ".SH SEE ALSO\n.BR salary-admin (1)");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string which = argc > 1 ? argv[1] : "";
  if (which == "salary-admin") {
    salaryAdminPage();
  } else if (which == "salary") {
    salaryPage();
  } else {
    std::cerr << "用法: salary-admin-manual salary-admin|salary\n";
    return 2;
  }
  return 0;
}
