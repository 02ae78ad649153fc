#include "bench/bench_profile.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/time.h>
#include <ucontext.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_symbols.h"

namespace bench {
namespace {

constexpr int kMaxSamples = 1 << 20;
uint32_t gSamples[kMaxSamples];
volatile sig_atomic_t gCount = 0;
volatile sig_atomic_t gDropped = 0;

void OnProfileSignal(int, siginfo_t *, void *context) {
  const ucontext_t *uc = static_cast<const ucontext_t *>(context);
  const uint32_t eip = uint32_t(uc->uc_mcontext.gregs[REG_EIP]);
  if (gCount < kMaxSamples) {
    gSamples[gCount] = eip;
    gCount = gCount + 1;
  } else {
    gDropped = gDropped + 1;
  }
}

std::string Demangled(const char *name) {
  int status = 0;
  char *plain = abi::__cxa_demangle(name, nullptr, nullptr, &status);
  std::string out = status == 0 && plain ? plain : name;
  free(plain);
  return out;
}

const char *BaseName(const char *path) {
  const char *slash = strrchr(path, '/');
  return slash ? slash + 1 : path;
}

// "routine (file)", "file+0xoffset" for a place in a file with no routine
// known there, or "generated code" outside every loaded file.
std::string RoutineAt(uint32_t address, SymbolFiles *files) {
  Dl_info info;
  if (!dladdr(reinterpret_cast<void *>(uintptr_t(address)), &info) || !info.dli_fname)
    return "generated code";
  const uintptr_t base = reinterpret_cast<uintptr_t>(info.dli_fbase);
  std::string name = info.dli_sname ? info.dli_sname : "";
  if (name.empty()) name = files->Find(info.dli_fname, base, address);
  if (name.empty()) {
    char offset[32];
    snprintf(offset, sizeof offset, "+0x%lx", static_cast<unsigned long>(address - base));
    return std::string(BaseName(info.dli_fname)) + offset;
  }
  return Demangled(name.c_str()) + " (" + BaseName(info.dli_fname) + ")";
}

}  // namespace

bool StartProfile(int microseconds) {
  StopProfile();
  gCount = 0;
  gDropped = 0;
  struct sigaction action = {};
  action.sa_sigaction = OnProfileSignal;
  action.sa_flags = SA_SIGINFO | SA_RESTART;
  sigemptyset(&action.sa_mask);
  if (sigaction(SIGPROF, &action, nullptr) != 0) return false;
  itimerval timer = {};
  timer.it_interval.tv_usec = microseconds, timer.it_value.tv_usec = microseconds;
  return setitimer(ITIMER_PROF, &timer, nullptr) == 0;
}

void StopProfile() {
  const itimerval off = {};
  setitimer(ITIMER_PROF, &off, nullptr);
}

void PrintProfile(FILE *out, const char *prefix, int top) {
  const int count = gCount;
  std::vector<uint32_t> samples(gSamples, gSamples + count);
  std::sort(samples.begin(), samples.end());
  SymbolFiles files;
  std::map<std::string, int> byRoutine;
  for (size_t i = 0; i < samples.size();) {
    size_t j = i;
    while (j < samples.size() && samples[j] == samples[i]) j++;
    byRoutine[RoutineAt(samples[i], &files)] += int(j - i);
    i = j;
  }
  std::vector<std::pair<int, std::string>> ranked;
  for (const auto &r : byRoutine) ranked.push_back({r.second, r.first});
  std::sort(ranked.begin(), ranked.end(),
            [](const auto &a, const auto &b) { return a.first > b.first; });
  fprintf(out, "%s%d samples%s\n", prefix, count, gDropped ? " (some dropped: buffer full)" : "");
  for (int i = 0; i < top && i < int(ranked.size()); i++)
    fprintf(out, "%s%6.1f%%  %s\n", prefix, 100.0 * ranked[size_t(i)].first / count,
            ranked[size_t(i)].second.c_str());
}

}  // namespace bench
