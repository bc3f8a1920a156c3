// 列印報表 through a real print system: CUPS with its PDF printer (scripts/print-system.sh),
// each case in the setting ctest gives it: no printer at all (CUPS_SERVER names no server),
// printers but none the default (the environment as it is), and the PDF printer as the
// default (PRINTER=PDF). A case whose setting is not there skips, saying why.

#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QPrinterInfo>
#include <QRadioButton>
#include <filesystem>

#include "reports/QuickRep.h"
#include "support/ProgramFixture.h"
#include "support/ToolRun.h"
#include "transfer/FileTansferPage.h"

namespace {

namespace fs = std::filesystem;

class Printing : public ProgramFixture {
 protected:
  Printing() {
    folder.addEmployee("000001", "王小明", "A123456789", "11110000010000");
    folder.addEmployee("000002", "李大同", "", "11110000020000");
    folder.append("temp.DB", {{"NUMBER", "000001"},
                              {"SENDDATE", "880305"},
                              {"PAY", "100"},
                              {"NAME", "王小明"},
                              {"SALARYITEM", "薪水轉帳"}});
    folder.append("temp.DB", {{"NUMBER", "000002"},
                              {"SENDDATE", "880305"},
                              {"PAY", "50"},
                              {"NAME", "李大同"},
                              {"SALARYITEM", "薪水轉帳"}});
    start();
  }
  // Presses 列印報表 with the style chosen.
  void print(int style) {
    MainMenuForm->FileTansfer->PrintRadioGroup->button(style)->click();
    MainMenuForm->FileTansfer->PrintBitBtn1->press();
  }
};

TEST_F(Printing, WithNoPrinterAtAllTheClerkIsToldSo) {
  if (qEnvironmentVariableIsEmpty("CUPS_SERVER")) {
    GTEST_SKIP() << "run by ctest, which points CUPS at no print server";
  }
  ASSERT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty());
  for (int style : {0, 1}) {
    dialogs.clear();
    print(style);
    EXPECT_EQ(dialogs.texts(), QStringList{QString::fromUtf8(reports::kNoPrinterMessage)});
  }
}

TEST_F(Printing, WithPrintersButNoneTheDefaultTheClerkIsToldSo) {
  if (QPrinterInfo::availablePrinterNames().isEmpty()) {
    GTEST_SKIP() << "no printer here: CUPS does not run (scripts/print-system.sh start)";
  }
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a default printer is chosen";
  for (int style : {0, 1}) {
    dialogs.clear();
    print(style);
    EXPECT_EQ(dialogs.texts(), QStringList{QString::fromUtf8(reports::kNoDefaultPrinterMessage)});
  }
}

// Waits, by the file system's notices rather than by time, for a PDF file to be written whole
// into the watched folder, and returns its name; empty when none comes within a minute.
std::string awaitWrittenPdf(int watch) {
  for (int waits = 0; waits < 600; ++waits) {
    pollfd p{watch, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    alignas(inotify_event) char events[4096];
    const ssize_t n = ::read(watch, events, sizeof events);
    for (ssize_t at = 0; at < n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(events + at);
      const std::string name = e->len ? e->name : "";
      if (name.ends_with(".pdf")) return name;
      at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
    }
  }
  return {};
}

TEST_F(Printing, BothReportsPrintOnTheDefaultPrinterWholeAndInReadingOrder) {
  const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
  if (printer.printerName() != QStringLiteral("PDF")) {
    GTEST_SKIP() << "the PDF printer is not the default here (ctest sets PRINTER=PDF; "
                    "scripts/print-system.sh start sets up CUPS)";
  }
  // cups-pdf writes into ~/PDF of the user printing, as the system knows him.
  const fs::path out = fs::path(getpwuid(getuid())->pw_dir) / "PDF";
  fs::create_directories(out);
  const int watch = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  ASSERT_GE(inotify_add_watch(watch, out.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO), 0);
  // The words in reading order. cups-pdf prints from PostScript, made of the job's PDF on the
  // way, and the digits do not come back out of its PDF as characters: the Chinese do.
  const struct {
    int style;
    const char* words;
  } cases[] = {
      {0,
       "員工薪資列印報表|列印日期|員工編號|員工姓名|入帳帳號|入帳日期|入帳金額|王小明|李大同|"
       "本月入帳總筆數|總金額|頁次"},
      {1,
       "員工薪資列印報表|列印日期|員工編號|入帳帳號|員工姓名|王小明|身分證號|薪資項目|入帳日期|"
       "入帳金額|薪水轉帳|王小明|君本月的薪資總額|員工編號|李大同|本月入帳總筆數|總金額|頁次"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    dialogs.clear();
    print(c.style);
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join('\n').toStdString();
    const std::string name = awaitWrittenPdf(watch);
    ASSERT_FALSE(name.empty()) << "no PDF came out of the printer in a minute";
    const fs::path pdf = out / name;
    const ToolRun info = runCommand("pdfinfo " + shellQuoted(pdf.string()), folder.path());
    EXPECT_NE(info.out.find("Pages:           1\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("(A4)"), std::string::npos) << info.out;
    const std::string text =
        runCommand("pdftotext -layout -enc UTF-8 " + shellQuoted(pdf.string()) + " -",
                   folder.path())
            .out;
    size_t at = 0;
    for (const QString& word : QString::fromUtf8(c.words).split('|')) {
      const size_t found = text.find(word.toStdString(), at);
      ASSERT_NE(found, std::string::npos) << word.toStdString() << " after " << at << ":\n" << text;
      at = found + word.toStdString().size();
    }
    fs::remove(pdf);
  }
  close(watch);
}

}  // namespace
