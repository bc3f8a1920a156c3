#include "BenchReport.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
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

void reportRatio(const std::string& name, const std::vector<double>& program,
                 const std::vector<double>& reference) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < program.size() && i < reference.size(); ++i)
    if (reference[i] > 0) ratios.push_back(program[i] / reference[i]);
  if (ratios.empty()) return;
  std::printf("BENCH %s ratio=%.2f program_us=%.1f reference_us=%.1f pairs=%zu\n", name.c_str(),
              median(ratios), median(program), median(reference), ratios.size());
  std::fflush(stdout);
}

namespace {

int toLauncher = -1, fromLauncher = -1;

bool readAll(int fd, void* data, size_t size) {
  auto* p = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = ::read(fd, p, size);
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool writeAll(int fd, const void* data, size_t size) {
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// The launcher: reads a request (its length, then the arguments separated by NUL bytes), runs
// it, answers with a ChildRun; ends when the pipe closes.
[[noreturn]] void serve(int in, int out) {
  for (;;) {
    size_t length = 0;
    if (!readAll(in, &length, sizeof length)) _exit(0);
    std::string request(length, '\0');
    if (!readAll(in, request.data(), length)) _exit(0);
    std::vector<char*> argv;
    for (size_t at = 0;;) {
      argv.push_back(request.data() + at);
      at = request.find('\0', at);
      if (at == std::string::npos) break;
      ++at;
    }
    argv.push_back(nullptr);
    ChildRun run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
      const int null = ::open("/dev/null", O_WRONLY);
      if (null >= 0) ::dup2(null, 1);
      execv(argv[0], argv.data());
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
      run.peakKb = usage.ru_maxrss;
      run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    run.us =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    if (!writeAll(out, &run, sizeof run)) _exit(0);
  }
}

}  // namespace

void startLauncher() {
  int requests[2], answers[2];
  if (::pipe(requests) != 0 || ::pipe(answers) != 0) throw std::runtime_error("pipe");
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork");
  if (pid == 0) {
    ::close(requests[1]);
    ::close(answers[0]);
    serve(requests[0], answers[1]);
  }
  ::close(requests[0]);
  ::close(answers[1]);
  toLauncher = requests[1];
  fromLauncher = answers[0];
}

ChildRun runChild(const std::vector<std::string>& argv) {
  if (toLauncher < 0) throw std::runtime_error("startLauncher() was not called");
  std::string request;
  for (const auto& a : argv) request += a + '\0';
  request.pop_back();
  const size_t length = request.size();
  ChildRun run;
  if (!writeAll(toLauncher, &length, sizeof length) ||
      !writeAll(toLauncher, request.data(), length) || !readAll(fromLauncher, &run, sizeof run))
    throw std::runtime_error("the launcher is gone");
  return run;
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

Options readOptions(int argc, char** argv, const char* program, const char* countOption, int count,
                    int least, bool dataRequired) {
  const auto usage = [&](const std::string& why) {
    std::fprintf(stderr, "%s: %s\nusage: %s %s--data DIR%s [%s N]\n", program, why.c_str(), program,
                 dataRequired ? "" : "[", dataRequired ? "" : "]", countOption);
    std::exit(2);
  };
  Options options{{}, count};
  for (int i = 1; i < argc; i += 2) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) usage(arg + " needs a value");
    if (arg == "--data") {
      options.data = argv[i + 1];
    } else if (arg == countOption) {
      options.count = std::atoi(argv[i + 1]);
      if (options.count < least) usage(arg + " must be at least " + std::to_string(least));
    } else {
      usage("unknown option " + arg);
    }
  }
  if (dataRequired && options.data.empty()) usage("--data is required");
  if (!options.data.empty() && !std::filesystem::exists(options.data + "/salary.DB")) {
    usage("--data names no folder with the live tables");
  }
  return options;
}

}  // namespace bench
