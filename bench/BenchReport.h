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

// BENCH <name> ratio=<r> program_us=<x> reference_us=<y> pairs=<n>: r is the median of the
// per-pair ratios program[i] / reference[i], each pair timed one right after the other, so that
// a slow moment of a shared machine weighs on both sides of one pair.
void reportRatio(const std::string& name, const std::vector<double>& program,
                 const std::vector<double>& reference);

// Children timed and measured alone. A child's peak memory as wait4 reports it includes what
// its parent held when it forked, so children are forked by a small launcher process made
// before the benchmark holds anything: startLauncher() must be called first thing in main.
struct ChildRun {
  double us = 0;    // from the request to the child's end
  long peakKb = 0;  // the child's own peak resident memory
  int status = -1;  // its exit status, -1 when it did not exit normally
};
void startLauncher();
// Runs the program argv[0] with these arguments, its output to /dev/null.
ChildRun runChild(const std::vector<std::string>& argv);

// BENCH peak_rss_kb=<x> and BENCH rss_kb=<y> of this process.
void reportMemory();

// MACHINE cpu="..." cores=<n> ... of this machine.
void reportMachine();

// A benchmark's options: "--data DIR" (a folder made by store-bench) and one count, "--samples N"
// or "--pairs N". Anything else, a count below `least` or a missing folder when `dataRequired`
// prints "usage: <program> ..." and exits 2.
struct Options {
  std::string data;
  int count = 0;
};
Options readOptions(int argc, char** argv, const char* program, const char* countOption, int count,
                    int least, bool dataRequired);

// A "Key: <n> kB" value of a /proc file, or -1.
long kbFrom(const char* file, const std::string& key);

}  // namespace bench
