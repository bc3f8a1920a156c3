// report-bench: the list and the detailed report of one month's batch rendered to PDF by
// salary-admin report (time, pages, peak memory of the process), and the time until the
// preview window shows its first page.
//
//   report-bench --data DIR [--month 8803] [--runs N]
//
// DIR is a folder made by `store-bench --employees 50000 --entries 1400000 --data DIR`; it is
// copied first and never written. Prints
//   BENCH report_list_month_large median_us=<x> pages=<n> peak_rss_kb=<k>
//   BENCH report_detailed_month_large median_us=<x> pages=<n> peak_rss_kb=<k>
//   BENCH report_<style>_floor_large rows_only_us=<x> paint_only_us=<y> texts=<n>
//   BENCH report_preview_first_page_large detailed_ms=<x> list_ms=<y> peak_rss_kb=<k> ...

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchReport.h"
#include "reports/PainterCanvas.h"
#include "reports/PreviewWindow.h"
#include "reports/QuickRep.h"
#include "reports/SalaryReport.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "toolkit/Dialogs.h"
#include "toolkit/FontsAndFormats.h"

namespace fs = std::filesystem;

namespace {

struct Child {
  int status = 0;
  long peakKb = 0;
  double cpuUs = 0;  // user and system time: the machine may be shared
  std::string out;
};

// Runs `work` in a child process and returns its output, exit status and peak memory.
template <class Work>
Child inChild(Work work) {
  std::fflush(nullptr);
  int pipeFds[2];
  if (pipe(pipeFds) != 0) throw std::runtime_error("pipe");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork");
  if (pid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    work();
    std::fflush(nullptr);
    _exit(0);
  }
  close(pipeFds[1]);
  Child c;
  char buffer[4096];
  ssize_t n;
  while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0) c.out.append(buffer, size_t(n));
  close(pipeFds[0]);
  struct rusage usage {};
  if (wait4(pid, &c.status, 0, &usage) < 0) throw std::runtime_error("wait4");
  c.peakKb = usage.ru_maxrss;
  auto us = [](const timeval& t) { return t.tv_sec * 1e6 + t.tv_usec; };
  c.cpuUs = us(usage.ru_utime) + us(usage.ru_stime);
  return c;
}

void runTool(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(SALARY_ADMIN, argv.data());
  _exit(127);
}

// The pages salary-admin report tells ("已寫入 FILE: 共 N 頁").
int pagesIn(const std::string& out) {
  const auto at = out.rfind("共 ");
  return at == std::string::npos ? -1 : std::atoi(out.c_str() + at + std::string("共 ").size());
}

void renderBench(const fs::path& folder, const std::string& style, int runs) {
  std::vector<double> us, cpu;
  Child last;
  for (int i = 0; i < runs; ++i) {
    const fs::path pdf = folder / (style + ".pdf");
    us.push_back(bench::timeUs([&] {
      last = inChild([&] {
        runTool({SALARY_ADMIN, "report", "--data", folder.string(), "--style", style, "--pdf",
                 pdf.string()});
      });
    }));
    if (!WIFEXITED(last.status) || WEXITSTATUS(last.status) != 0) {
      throw std::runtime_error("salary-admin report failed: " + last.out);
    }
    cpu.push_back(last.cpuUs);
    std::cout << "pdf " << style << ": " << fs::file_size(pdf) / 1024 << " kB\n";
  }
  std::printf(
      "BENCH report_%s_month_large median_us=%.0f cpu_us=%.0f pages=%d peak_rss_kb=%ld "
      "samples=%zu\n",
      style.c_str(), bench::median(us), bench::median(cpu), pagesIn(last.out), last.peakKb,
      us.size());
}

// The preview window from 預覽 to its first page painted, then (for its memory) every page laid
// out and the last one shown.
struct PreviewFigures {
  double firstMs = 0;
  double allMs = 0;
  int pages = 0;
  long peakKb = 0;
};

PreviewFigures previewBench(const fs::path& folder, const std::string& style) {
  Child c = inChild([&] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "report-bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    toolkit::installFontSubstitutions();
    store::Session session(folder);
    session.AddPassword(store::kTablePassword);
    const std::unique_ptr<reports::SalaryReport> report = reports::reportOfStyle(session, style);
    QWidget owner;
    reports::QuickRep rep(*report, &owner);
    const double first = bench::timeUs([&] {
      rep.Preview();
      rep.previewWindow()->grab();  // painted
    });
    const double all = bench::timeUs([&] {
      rep.previewWindow()->findChild<QAction*>("LastPageAction")->trigger();
      rep.previewWindow()->grab();
    });
    std::printf("%.0f %.0f %d\n", first, all, rep.pageCount());
  });
  PreviewFigures f;
  std::sscanf(c.out.c_str(), "%lf %lf %d", &f.firstMs, &f.allMs, &f.pages);
  f.firstMs /= 1000;
  f.allMs /= 1000;
  f.peakKb = c.peakKb;
  std::printf("preview %s: first page %.0f ms, to the last of %d pages %.0f ms, peak %ld kB\n",
              style.c_str(), f.firstMs, f.pages, f.allMs, f.peakKb);
  return f;
}

// Where a report's time goes: its rows read and laid out with nothing painted, and the same
// pages painted on a PDF writer from a record, with no row read.
class Recorder : public reports::ReportCanvas {
 public:
  explicit Recorder(bool keep) : keep_(keep) {}
  void beginPage(int) override {
    if (keep_) pages.emplace_back();
  }
  void drawText(const reports::PlacedText& text) override {
    ++texts;
    if (keep_) pages.back().push_back(text);
  }
  void endPage() override {}
  std::vector<std::vector<reports::PlacedText>> pages;
  long texts = 0;

 private:
  bool keep_;
};

void floorBench(const fs::path& folder, const std::string& style) {
  Child c = inChild([&] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "report-bench";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    toolkit::installFontSubstitutions();
    store::Session session(folder);
    session.AddPassword(store::kTablePassword);
    const std::unique_ptr<reports::SalaryReport> report = reports::reportOfStyle(session, style);
    Recorder rows(false);
    const double readUs = bench::timeUs([&] { report->render(rows); });
    Recorder record(true);
    report->render(record);
    QByteArray bytes;
    const double paintUs = bench::timeUs([&] {
      QBuffer buffer(&bytes);
      buffer.open(QIODevice::WriteOnly);
      QPdfWriter writer(&buffer);
      reports::PainterCanvas canvas(writer, report->reportLayout());
      int page = 0;
      for (const auto& texts : record.pages) {
        canvas.beginPage(++page);
        for (const auto& t : texts) canvas.drawText(t);
        canvas.endPage();
      }
      canvas.finish();
    });
    std::printf("%.0f %.0f %ld\n", readUs, paintUs, rows.texts);
  });
  double readUs = 0, paintUs = 0;
  long texts = 0;
  std::sscanf(c.out.c_str(), "%lf %lf %ld", &readUs, &paintUs, &texts);
  std::printf("BENCH report_%s_floor_large rows_only_us=%.0f paint_only_us=%.0f texts=%ld\n",
              style.c_str(), readUs, paintUs, texts);
}

}  // namespace

int main(int argc, char** argv) {
  fs::path data;
  std::string month = "8803";
  int runs = 1;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string opt = argv[i];
    if (opt == "--data") {
      data = argv[i + 1];
    } else if (opt == "--month") {
      month = argv[i + 1];
    } else if (opt == "--runs") {
      runs = std::max(1, std::atoi(argv[i + 1]));
    } else {
      std::cerr << "usage: report-bench --data DIR [--month YYMM] [--runs N]\n";
      return 2;
    }
  }
  if (data.empty() || !fs::exists(data / "basic.DB")) {
    std::cerr << "report-bench: --data DIR must name a folder made by store-bench\n";
    return 2;
  }
  bench::reportMachine();
  const fs::path folder = fs::temp_directory_path() / ("report-bench-" + std::to_string(getpid()));
  fs::create_directories(folder);
  for (const auto& entry : fs::directory_iterator(data)) {
    if (entry.is_regular_file()) fs::copy_file(entry.path(), folder / entry.path().filename());
  }
  try {
    Child t = inChild([&] {
      runTool({SALARY_ADMIN, "transfer", "--data", folder.string(), "--date", month, "--out",
               (folder / "BT000020").string()});
    });
    std::cout << "batch of " << month << ": " << t.out;
    for (const std::string style : {"list", "detailed"}) renderBench(folder, style, runs);
    for (const std::string style : {"list", "detailed"}) floorBench(folder, style);
    const PreviewFigures list = previewBench(folder, "list");
    const PreviewFigures detailed = previewBench(folder, "detailed");
    std::printf(
        "BENCH report_preview_first_page_large detailed_ms=%.0f list_ms=%.0f peak_rss_kb=%ld "
        "detailed_pages=%d last_page_detailed_ms=%.0f\n",
        detailed.firstMs, list.firstMs, std::max(list.peakKb, detailed.peakKb), detailed.pages,
        detailed.allMs);
  } catch (const std::exception& e) {
    std::cerr << "report-bench: " << e.what() << "\n";
    fs::remove_all(folder);
    return 1;
  }
  fs::remove_all(folder);
  return 0;
}
