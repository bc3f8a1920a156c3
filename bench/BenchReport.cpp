#include "BenchReport.h"

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/utsname.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace bench {

double median(std::vector<double> samples) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

void report(const std::string& name, std::vector<double> us) {
  if (us.empty()) return;
  std::sort(us.begin(), us.end());
  auto rank = [&](double q) {
    const auto k = static_cast<std::size_t>(std::ceil(q * static_cast<double>(us.size())));
    return us[std::min(us.size() - 1, k == 0 ? 0 : k - 1)];
  };
  std::printf("BENCH %s median_us=%.1f p99_us=%.1f samples=%zu\n", name.c_str(), rank(0.5),
              rank(0.99), us.size());
  std::fflush(stdout);
}

long kbFrom(const char* file, const std::string& key) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + key.size());
  return -1;
}

void reportMemory() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("BENCH peak_rss_kb=%ld\n", usage.ru_maxrss);
  std::printf("BENCH rss_kb=%ld\n", kbFrom("/proc/self/status", "VmRSS:"));
}

void reportMachine() {
  std::ifstream in("/proc/cpuinfo");
  std::string line, model = "unknown";
  int processors = 0;
  while (std::getline(in, line)) {
    if (line.rfind("processor", 0) == 0) ++processors;
    if (line.rfind("model name", 0) == 0 && model == "unknown") {
      const auto colon = line.find(':');
      if (colon != std::string::npos) model = line.substr(line.find_first_not_of(" \t", colon + 1));
    }
  }
  utsname os{};
  uname(&os);
  std::printf("MACHINE cpu=\"%s\" cores=%d online=%u mem_total_kb=%ld os=\"%s %s %s\" sqlite=%s\n",
              model.c_str(), processors, std::thread::hardware_concurrency(),
              kbFrom("/proc/meminfo", "MemTotal:"), os.sysname, os.release, os.machine,
              sqlite3_libversion());
  std::fflush(stdout);
}

}  // namespace bench
