// What every benchmark program shares: the clock, the median of several
// timed runs, the command line (`--case NAME`, `--seconds S`, `--cpu`) and
// the walk over the cases it asks for.
#pragma once

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <time.h>

#include <algorithm>
#include <chrono>

namespace bench {

constexpr int kRuns = 5;  // timed runs per case; the median is reported

// Wall time, or with `--cpu` the process's processor time: on a busy machine
// the ratio of two cases is then not at the mercy of the other programs.
inline bool &CpuClock() {
  static bool on = false;
  return on;
}

inline double Now() {
  if (CpuClock()) {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
  }
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

// One run's totals: units of work (triangles, pixels) and the seconds they took.
struct RunTotals {
  double work = 0, pixels = 0, seconds = 0;
  double Rate() const { return seconds > 0 ? work / seconds : 0; }
  double PixelRate() const { return seconds > 0 ? pixels / seconds : 0; }
  RunTotals &operator+=(const RunTotals &o) {
    work += o.work, pixels += o.pixels, seconds += o.seconds;
    return *this;
  }
};

// The run whose rate is the median of the runs (they are reordered).
inline RunTotals Median(RunTotals *runs, int count) {
  std::sort(runs, runs + count,
            [](const RunTotals &a, const RunTotals &b) { return a.Rate() < b.Rate(); });
  return runs[count / 2];
}

// Times `batch`, whose every call gives the work it did and the seconds it
// took: one call to warm up, then kRuns runs of at least seconds / kRuns of
// batch time each; the median run.
template <typename Batch>
RunTotals TimeRuns(double seconds, Batch batch) {
  batch();
  RunTotals runs[kRuns];
  for (RunTotals &run : runs)
    while (run.seconds < seconds / kRuns) run += batch();
  return Median(runs, kRuns);
}

struct Options {
  const char *only = nullptr;  // case names containing this, or all
  double seconds = 0.5;        // per case, shared by its runs
  bool Wants(const char *name) const { return !only || strstr(name, only) != nullptr; }
};

// False on anything it does not know.
inline bool ReadOptions(int argc, char **argv, Options *options) {
  for (int i = 1; i < argc; i++) {
    if (strcmp(argv[i], "--case") == 0 && i + 1 < argc) {
      options->only = argv[++i];
    } else if (strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      char *end = nullptr;
      options->seconds = strtod(argv[++i], &end);
      if (*end != '\0' || !(options->seconds > 0 && options->seconds <= 3600)) return false;
    } else if (strcmp(argv[i], "--cpu") == 0) {
      CpuClock() = true;
    } else {
      return false;
    }
  }
  return true;
}

// The command line of every benchmark program: false, with a usage line on
// stderr, on anything it does not know.
inline bool ParseOptions(int argc, char **argv, Options *options) {
  if (ReadOptions(argc, argv, options)) return true;
  fprintf(stderr, "usage: %s [--case NAME] [--seconds S] [--cpu]\n", argv[0]);
  return false;
}

// Calls `run` on each case the options want; `run` gives false when its case
// failed. The program's exit status: 0 when every case ran, 1 when one
// failed, 2 (with a line on stderr) when the options want none.
template <typename Case, size_t N, typename Run>
int RunWanted(const char *program, const Options &options, const Case (&cases)[N], Run run) {
  bool any = false, ok = true;
  for (const Case &c : cases) {
    if (!options.Wants(c.name)) continue;
    any = true;
    ok &= run(c);
  }
  if (any) return ok ? 0 : 1;
  fprintf(stderr, "%s: no case matches \"%s\"\n", program, options.only);
  return 2;
}

}  // namespace bench
