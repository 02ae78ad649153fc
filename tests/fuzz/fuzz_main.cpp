// vlx_fuzz: the API fuzzer. An application of the loader and the platform,
// as any program that uses the driver.
//
//   vlx_fuzz [--seed N|random] [--steps N] [--sequences N] [--display 8|16|32]
//            [--soft] [--only a,b,c] [--minimise] [--minutes M] [--verbose]
//
// --soft loads the software-only device's driver library; --sequences runs
// seeds N, N+1, ...; --only runs just the listed steps of the seed; on a
// failure --minimise shrinks the steps to a smaller set that still fails;
// --minutes runs seed after seed (each in a child process) for that long,
// minimising every failure, and prints what it found.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_minimise.h"
#include "tests/fuzz/fuzz_run.h"

namespace {

struct ChildResult {
  bool ok;
  int failStep;
};

// The sequence in a child process, so crashes and hangs are reported back.
ChildResult RunChild(const FuzzOptions &o, bool quiet) {
  int fds[2];
  if (pipe(fds) != 0) return {false, -1};
  fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    if (quiet) {
      if (freopen("/dev/null", "w", stderr) == nullptr) _exit(4);
    }
    FuzzReportFailuresTo(fds[1]);
    _exit(FuzzRunSequence(o) ? 0 : 1);
  }
  close(fds[1]);
  int step = -1, got = -1;
  while (read(fds[0], &got, sizeof got) == sizeof got) step = got;
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return {ok, step};
}

std::string Join(const std::set<int> &steps) {
  std::string s;
  for (int step : steps) s += (s.empty() ? "" : ",") + std::to_string(step);
  return s;
}

// The failing steps shrunk, each candidate run in a child process.
std::set<int> Minimise(FuzzOptions o, int failStep) {
  std::vector<int> steps;
  const bool atEnd = failStep >= o.steps;
  for (int s = 0; s <= std::min(failStep, o.steps - 1); s++) steps.push_back(s);
  o.endCheck = atEnd;
  const std::vector<int> kept = FuzzMinimise(steps, [&](const std::vector<int> &trial) {
    std::set<int> only(trial.begin(), trial.end());
    FuzzOptions t = o;
    t.only = &only;
    if (!atEnd) t.steps = trial.empty() ? 0 : trial.back() + 1;
    return !RunChild(t, true).ok;
  });
  return std::set<int>(kept.begin(), kept.end());
}

void Usage() {
  fprintf(stderr,
          "usage: vlx_fuzz [--seed N|random] [--steps N] [--sequences N] [--display 8|16|32]\n"
          "                [--soft] [--only a,b,c] [--minimise] [--minutes M] [--verbose]\n");
  exit(2);
}

}  // namespace

int main(int argc, char **argv) {
  FuzzOptions o;
  int sequences = 1;
  bool minimise = false;
  double minutes = 0;
  std::set<int> only;
  for (int i = 1; i < argc; i++) {
    const std::string a = argv[i];
    auto next = [&]() -> const char * {
      if (i + 1 >= argc) Usage();
      return argv[++i];
    };
    if (a == "--seed") {
      const char *v = next();
      o.seed = !strcmp(v, "random") ? uint64_t(time(nullptr)) ^ (uint64_t(getpid()) << 20)
                                    : strtoull(v, nullptr, 10);
    } else if (a == "--steps") {
      o.steps = atoi(next());
    } else if (a == "--sequences") {
      sequences = atoi(next());
    } else if (a == "--display") {
      o.displayBits = atoi(next());
    } else if (a == "--soft") {
#ifdef VLX_FUZZ_SOFT_DRIVER
      setenv("VLX_GL_DRIVER", VLX_FUZZ_SOFT_DRIVER, 1);
#endif
    } else if (a == "--only") {
      std::string list = next();
      for (size_t p = 0; p < list.size();) {
        only.insert(atoi(list.c_str() + p));
        p = list.find(',', p);
        p = p == std::string::npos ? list.size() : p + 1;
      }
      o.only = &only;
    } else if (a == "--minimise") {
      minimise = true;
    } else if (a == "--minutes") {
      minutes = atof(next());
    } else if (a == "--verbose") {
      o.verbose = true;
    } else {
      Usage();
    }
  }
  const char *driver = getenv("VLX_GL_DRIVER");
  printf("vlx_fuzz: seed %llu, %d steps, %d-bit display, driver %s\n",
         (unsigned long long)o.seed, o.steps, o.displayBits, driver ? driver : "(SiS)");
  fflush(stdout);

  if (minutes > 0) {
    const time_t end = time(nullptr) + time_t(minutes * 60);
    int runs = 0, failures = 0;
    for (uint64_t seed = o.seed; time(nullptr) < end; seed++, runs++) {
      FuzzOptions s = o;
      s.seed = seed;
      const ChildResult r = RunChild(s, false);
      if (!r.ok) {
        failures++;
        const std::set<int> steps = Minimise(s, r.failStep);
        printf("vlx_fuzz: seed %llu failed at step %d; minimised: --seed %llu --steps %d --only %s\n",
               (unsigned long long)seed, r.failStep, (unsigned long long)seed, s.steps,
               Join(steps).c_str());
      }
      fflush(stdout);
    }
    printf("vlx_fuzz: %d sequences (%lld steps) from seed %llu, %d failed\n", runs,
           (long long)runs * o.steps, (unsigned long long)o.seed, failures);
    return failures == 0 ? 0 : 1;
  }

  for (int k = 0; k < sequences; k++) {
    FuzzOptions s = o;
    s.seed = o.seed + uint64_t(k);
    if (!minimise) {
      if (!FuzzRunSequence(s)) return 1;
      continue;
    }
    const ChildResult r = RunChild(s, false);
    if (r.ok) continue;
    const std::set<int> steps = Minimise(s, r.failStep);
    printf("vlx_fuzz: minimised: --seed %llu --steps %d --only %s\n",
           (unsigned long long)s.seed, s.steps, Join(steps).c_str());
    FuzzOptions v = s;
    v.only = &steps;
    v.verbose = true;
    RunChild(v, false);
    return 1;
  }
  printf("vlx_fuzz: passed\n");
  return 0;
}
