#pragma once
// What every benchmark prints: timings as "BENCH <name> median_us=<x> p99_us=<y>" lines, the
// process's memory, and the machine it ran on.

#include <chrono>
#include <string>
#include <vector>

namespace bench {

// Microseconds that f takes.
template <class F>
double timeUs(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
      .count();
}

double median(std::vector<double> samples);

// BENCH <name> median_us=<x> p99_us=<y> samples=<n>
void report(const std::string& name, std::vector<double> us);

// BENCH peak_rss_kb=<x> and BENCH rss_kb=<y> of this process.
void reportMemory();

// MACHINE cpu="..." cores=<n> ... of this machine.
void reportMachine();

// A "Key: <n> kB" value of a /proc file, or -1.
long kbFrom(const char* file, const std::string& key);

}  // namespace bench
