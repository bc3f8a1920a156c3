// salary-admin report: the PDF a script gets, read back with pdftotext and pdffonts.

#include <gtest/gtest.h>

#include <zlib.h>

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <map>
#include <tuple>
#include <vector>

#include "support/TestFolder.h"
#include "support/ToolRun.h"

namespace {

class ReportCommandTest : public ::testing::Test {
 protected:
  ReportCommandTest() {
    folder.addEmployee("000001", "王小明", "A123456789", "11110000010000");
    folder.addEmployee("000002", "李大同", "", "11110000020000");
    for (const auto& [number, name, pay] : {std::tuple{"000001", "王小明", "100"},
                                            {"000001", "王小明", "200"},
                                            {"000001", "王小明", "300"},
                                            {"000002", "李大同", "50"}}) {
      folder.append("temp.DB", {{"NUMBER", number},
                                {"SENDDATE", "880305"},
                                {"ACCOUNT", "1234"},
                                {"PAY", pay},
                                {"SALARYITEM", "薪水轉帳"},
                                {"NAME", name}});
    }
  }
  ToolRun run(const std::string& options) {
    // As cron runs it: without XDG_RUNTIME_DIR.
    return runCommand("LC_ALL=zh_TW.UTF-8 env -u XDG_RUNTIME_DIR " + std::string(SALARY_ADMIN) +
                          " report --data " + shellQuoted(folder.path().string()) + " " + options,
                      folder.path());
  }
  std::string shell(const std::string& command) { return runCommand(command, folder.path()).out; }

  TestFolder folder;
  std::string pdf = (folder.path() / "report.pdf").string();
};

// pdftotext -layout gives the page's lines top to bottom, each left to right: every text in
// turn must follow the one before.
TEST_F(ReportCommandTest, PdfTextReadsInOrderWithFontsEmbedded) {
  // The texts of each report in reading order, separated by '|'.
  const std::pair<std::string, QString> cases[] = {
      {"list",
       "員工薪資列印報表|Ravek|列印日期:|員工編號 |員工姓名 |入帳帳號 |入帳日期 |入帳金額|000001|"
       "王小明|1234|880305|$100.00|$200.00|$300.00|000002|李大同|$50.00|本月入帳總筆數 : 4|"
       "總金額: $650.00|頁次 :|1"},
      {"detailed",
       "Ravek|員工薪資列印報表|列印日期:|員工編號 : 000001|入帳帳號 :|11110000010000|"
       "員工姓名 : 王小明|身分證號 :|A123456789|薪資項目 :|入帳日期 :|入帳金額 :|薪水轉帳|880305|"
       "$100.00|$300.00|王小明|君本月的薪資總額 :|$600.00|員工編號 : 000002|李大同|$50.00|"
       "君本月的薪資總額 :|$50.00|本月入帳總筆數 :|4|總金額:|$650.00|頁次 :|1"},
  };
  for (const auto& [style, words] : cases) {
    SCOPED_TRACE(style);
    ToolRun r = run("--style " + style + " --pdf " + shellQuoted(pdf));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find(": 共 1 頁"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "");  // nothing of Qt's remarks, which a nightly job would mail
    const std::string text = shell("pdftotext -layout -enc UTF-8 " + shellQuoted(pdf) + " -");
    size_t at = 0;
    for (const QString& word : words.split('|')) {
      const std::string w = word.toStdString();
      const size_t found = text.find(w, at);
      ASSERT_NE(found, std::string::npos) << "'" << w << "' after offset " << at << ":\n" << text;
      at = found + w.size();
    }
    // pdffonts: one line per font after two heading lines, "emb" the fifth column from the end.
    const std::string fonts =
        shell("pdffonts " + shellQuoted(pdf) + " | tail -n +3 | awk '{print $(NF-4)}' | sort -u");
    EXPECT_EQ(fonts, "yes\n");
  }
}

// The streams of a PDF file, inflated.
std::vector<std::string> inflatedStreams(const std::string& pdf) {
  std::vector<std::string> out;
  for (size_t at = pdf.find("stream\n"); at != std::string::npos;
       at = pdf.find("stream\n", at + 1)) {
    const size_t begin = at + 7, end = pdf.find("\nendstream", begin);
    if (end == std::string::npos) break;
    z_stream z{};
    inflateInit(&z);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(pdf.data() + begin));
    z.avail_in = static_cast<uInt>(end - begin);
    std::string text;
    char buffer[65536];
    int rc = Z_OK;
    while (rc == Z_OK) {
      z.next_out = reinterpret_cast<Bytef*>(buffer);
      z.avail_out = sizeof buffer;
      rc = inflate(&z, Z_NO_FLUSH);
      text.append(buffer, sizeof buffer - z.avail_out);
    }
    inflateEnd(&z);
    if (rc == Z_STREAM_END) out.push_back(text);
    at = end;
  }
  return out;
}

// Every text of both reports prints bold in the PDF, as the layouts ask: in a bold face
// (Liberation Mono Bold for "Courier New"), or emboldened, each glyph painted a second time a
// hair apart and marked as no text (the Chinese faces have no bold).
TEST_F(ReportCommandTest, EveryTextIsBoldInThePdf) {
  for (const char* style : {"list", "detailed"}) {
    SCOPED_TRACE(style);
    ASSERT_EQ(run(std::string("--style ") + style + " --pdf " + shellQuoted(pdf)).status, 0);
    const std::string bytes = TestFolder::readFile(pdf);
    std::map<std::string, std::string> faces;  // "F7" -> "UKaiTW"
    const QRegularExpression font(
        R"((\d+) 0 obj\s*<< /Type /Font\s*/Subtype /Type0\s*/BaseFont /(\S+))");
    for (auto m = font.globalMatch(QString::fromLatin1(bytes)); m.hasNext();) {
      const auto match = m.next();
      std::string resource = "F";
      resource += match.captured(1).toStdString();
      faces[resource] = match.captured(2).toStdString();
    }
    ASSERT_FALSE(faces.empty());
    int texts = 0;
    for (const std::string& stream : inflatedStreams(bytes)) {
      for (size_t begin = stream.find("BT\n"); begin != std::string::npos;
           begin = stream.find("BT\n", begin + 1)) {
        const std::string text = stream.substr(begin, stream.find("ET\n", begin) - begin);
        const size_t f = text.find(" Tf");
        ASSERT_NE(f, std::string::npos) << text;
        const std::string resource = text.substr(
            text.rfind('/', f) + 1, text.find(' ', text.rfind('/', f)) - text.rfind('/', f) - 1);
        const std::string face = faces[resource];
        const bool boldFace = face.find("Bold") != std::string::npos;
        const bool emboldened = text.find("/ActualText <>") != std::string::npos;
        EXPECT_TRUE(boldFace || emboldened) << face << ":\n" << text.substr(0, 200);
        ++texts;
      }
    }
    EXPECT_GE(texts, 5);  // a run for each band line of one font and colour
  }
}

TEST_F(ReportCommandTest, BadOptionsAndMissingTablesAreRefusedWithoutAFile) {
  EXPECT_EQ(run("--style wide --pdf " + shellQuoted(pdf)).status, 2);
  EXPECT_EQ(run("--style list").status, 2);
  std::filesystem::remove(folder.path() / "temp.DB");
  ToolRun r = run("--style list --pdf " + shellQuoted(pdf));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("temp.DB"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

}  // namespace
