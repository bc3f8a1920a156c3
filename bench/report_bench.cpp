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
//   BENCH report_preview_<style>_month_large first_page_us=<x> pages=<n> peak_rss_kb=<k>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchReport.h"
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

int pagesIn(const std::string& out) {
  const auto colon = out.rfind(": ");
  return colon == std::string::npos ? -1 : std::atoi(out.c_str() + colon + 2);
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

// The preview window builds every page before it shows the first: Qt's preview widget asks
// for the whole document at once.
void previewBench(const fs::path& folder, const std::string& style) {
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
    const double us = bench::timeUs([&] { rep.Preview(); });
    std::printf("%.0f %d\n", us, rep.pageCount());
  });
  double us = 0;
  int pages = 0;
  std::sscanf(c.out.c_str(), "%lf %d", &us, &pages);
  std::printf(
      "BENCH report_preview_%s_month_large first_page_us=%.0f pages=%d peak_rss_kb=%ld "
      "process_cpu_us=%.0f\n",
      style.c_str(), us, pages, c.peakKb, c.cpuUs);
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
    for (const std::string style : {"list", "detailed"}) previewBench(folder, style);
  } catch (const std::exception& e) {
    std::cerr << "report-bench: " << e.what() << "\n";
    fs::remove_all(folder);
    return 1;
  }
  fs::remove_all(folder);
  return 0;
}
