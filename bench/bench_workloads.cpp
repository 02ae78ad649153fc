// The whole road as an application draws it, on fixed workloads at 640 x 480:
// small triangles by glDrawArrays and by glBegin / glEnd, a clear of colour
// and depth, large flat triangles, bilinear GL_MODULATE texturing, and the
// same with GL_LEQUAL depth and blending (bench_workload_scenes.cpp). Each
// runs through the loader into a desktop window, on the software-only device
// on 16- and 32-bit displays and on the SiS device on a 16-bit display.
//
// The path switches are read once per process, so the program runs itself as
// a child (`--child`) per device, display and path, and prints the children's
// figures side by side: units a second, cycles per triangle and per pixel
// (the time-stamp counter, its rate measured once at start-up), the ratio to
// the generic path and the target, and the share of the wall time the
// process had a processor (on a busy machine the figures count others' time
// too; `--cpu` takes cycles as processor time times the counter's rate
// instead). `--profile` samples each workload on the
// default path and prints the routines its time went to.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_app_window.h"
#include "bench/bench_cycles.h"
#include "bench/bench_profile.h"
#include "bench/bench_workload_scenes.h"
#include "platform/sis6326.h"

namespace {

constexpr int kRuns = 5;

struct Device {
  const char *name;
  const char *library;
  int displayBits;
};
const Device kDevices[] = {
    {"soft", VLX_SOFT_DRIVER_PATH, 16},
    {"soft", VLX_SOFT_DRIVER_PATH, 32},
    {"sis", VLX_SIS_DRIVER_PATH, 16},
};

struct Path {
  const char *name;
  const char *env;  // as `env` takes them
};
const Path kPaths[] = {
    {"default", ""},
    {"generic", "__GL_DISABLE_FASTPATH=1"},
    {"setup", "__GL_GENERIC_SETUP=1"},
    {"spanlets", "__GL_DISABLE_OG=1"},
    {"nommx", "__GL_FORCE_MMX=0"},
};

struct Options {
  const char *workload = nullptr, *path = nullptr, *device = nullptr;
  int display = 0;
  double seconds = 1;  // of frames, per run
  bool quick = false, profile = false, child = false, cpu = false;
  bool Wants(const char *wanted, const char *name) const {
    return !wanted || strstr(name, wanted) != nullptr;
  }
};

bool ParseOptions(int argc, char **argv, Options *o) {
  for (int i = 1; i < argc; i++) {
    const char *a = argv[i];
    const bool more = i + 1 < argc;
    if (strcmp(a, "--case") == 0 && more) o->workload = argv[++i];
    else if (strcmp(a, "--path") == 0 && more) o->path = argv[++i];
    else if (strcmp(a, "--device") == 0 && more) o->device = argv[++i];
    else if (strcmp(a, "--display") == 0 && more) o->display = atoi(argv[++i]);
    else if (strcmp(a, "--seconds") == 0 && more) o->seconds = atof(argv[++i]);
    else if (strcmp(a, "--quick") == 0) o->quick = true;
    else if (strcmp(a, "--profile") == 0) o->profile = true;
    else if (strcmp(a, "--child") == 0) o->child = true;
    else if (strcmp(a, "--cpu") == 0) o->cpu = true;
    else return false;
  }
  return o->seconds > 0 && o->seconds <= 3600 && (o->display == 0 || o->display == 16 ||
                                                   o->display == 32);
}

// One timed run: frames and the counter ticks they took.
struct Run {
  double frames = 0, cycles = 0, cpuSeconds = 0;
  double PerFrame() const { return frames > 0 ? cycles / frames : 0; }
};

// The child's side: every wanted workload in a window of its own, one line
// "R name frames cycles processor-seconds depth-bits" for the median run, and with --profile its routines
// as lines starting with "#".
int RunChild(const Options &o, const Device &device, const char *pathName) {
  setenv("VLX_GL_DRIVER", device.library, 1);
  // The stand-in's event log is for tests; a chip keeps none.
  PlatformSiS6326SetLogging(FALSE);
  int status = 0;
  for (int w = 0; w < bench::kWorkloadCount; w++) {
    const bench::Workload &work = bench::kWorkloads[w];
    if (!o.Wants(o.workload, work.name)) continue;
    bench::AppWindow window;
    if (!bench::OpenAppWindow(device.displayBits, bench::kSceneWidth, bench::kSceneHeight,
                              &window)) {
      fprintf(stderr, "bench_workloads: %s-%d: no window could be drawn\n", device.name,
              device.displayBits);
      return 1;
    }
    work.setUp();
    work.frame();  // warm-up: routines are generated and caches filled here
    if (o.profile && !bench::StartProfile(1000))
      fprintf(stderr, "bench_workloads: the profiling timer could not be set\n");
    std::vector<Run> runs(o.quick ? 1 : kRuns);
    for (size_t r = 0; r < runs.size(); r++) {
      const double start = bench::MonotonicSeconds(), cpu = bench::ProcessSeconds();
      const uint64_t ticks = bench::ReadTsc();
      do {
        work.frame();
        runs[r].frames++;
      } while (!o.quick && bench::MonotonicSeconds() - start < o.seconds);
      runs[r].cycles = double(bench::ReadTsc() - ticks);
      runs[r].cpuSeconds = bench::ProcessSeconds() - cpu;
    }
    if (o.profile) bench::StopProfile();
    std::sort(runs.begin(), runs.end(),
              [](const Run &a, const Run &b) { return a.PerFrame() < b.PerFrame(); });
    const Run &median = runs[runs.size() / 2];
    if (glGetError() != GL_NO_ERROR) {
      fprintf(stderr, "bench_workloads: %s: GL error\n", work.name);
      status = 1;
    }
    printf("R %s %.0f %.0f %.6f %d\n", work.name, median.frames, median.cycles,
           median.cpuSeconds, window.depthBits);
    if (o.profile) {
      printf("# %s-%d %s %s, %d-bit depth:\n", device.name, device.displayBits, pathName,
             work.name, window.depthBits);
      bench::PrintProfile(stdout, "#   ", 15);
    }
    fflush(stdout);
    bench::CloseAppWindow(&window);
  }
  return status;
}

struct Result {
  double frames = 0, cycles = 0, cpuSeconds = 0;
  int depthBits = 0;
};
// By "device-bits path workload".
using Results = std::map<std::string, Result>;

std::string Key(const Device &d, const char *path, const char *workload) {
  return std::string(d.name) + "-" + std::to_string(d.displayBits) + " " + path + " " + workload;
}

// Runs this program as the device's and path's child, forwarding the options.
bool RunPath(const char *self, const Device &d, const Path &p, const Options &o, Results *out,
             std::string *profile) {
  std::string command =
      "env -u __GL_DISABLE_FASTPATH -u __GL_GENERIC_SETUP -u __GL_DISABLE_OG -u __GL_FORCE_MMX ";
  command += std::string(p.env) + " '" + self + "' --child --device " + d.name + " --display " +
             std::to_string(d.displayBits) + " --path " + p.name + " --seconds " +
             std::to_string(o.seconds);
  if (o.workload) command += std::string(" --case '") + o.workload + "'";
  if (o.quick) command += " --quick";
  if (o.profile) command += " --profile";
  FILE *f = popen(command.c_str(), "r");
  if (!f) return false;
  char line[1024];
  while (fgets(line, sizeof line, f)) {
    char name[128];
    Result r;
    if (line[0] == '#')
      *profile += line;
    else if (sscanf(line, "R %127s %lf %lf %lf %d", name, &r.frames, &r.cycles, &r.cpuSeconds,
                    &r.depthBits) == 5)
      (*out)[Key(d, p.name, name)] = r;
  }
  return pclose(f) == 0;
}

const Device *FindDevice(const char *name, int bits) {
  for (const Device &d : kDevices)
    if (strcmp(d.name, name) == 0 && d.displayBits == bits) return &d;
  return nullptr;
}

// The run's cycles: counter ticks, or with --cpu processor time in ticks.
double Cycles(const Options &o, const Result &r, double hz) {
  return o.cpu ? r.cpuSeconds * hz : r.cycles;
}

void PrintTable(const Options &o, const Results &results, double hz) {
  printf("bench_workloads: %d x %d, median of %d runs of at least %.2f s of frames after one "
         "warm-up frame; time-stamp counter %.1f MHz; cycles of %s\n",
         bench::kSceneWidth, bench::kSceneHeight, o.quick ? 1 : kRuns,
         o.quick ? 0.0 : o.seconds, hz / 1e6, o.cpu ? "processor time" : "wall time");
  printf("%-22s %-8s %-9s %5s %14s %9s %9s %9s %5s %8s\n", "workload", "device", "path",
         "depth", "rate", "cyc/tri", "cyc/pixel", "x generic", "cpu%", "target");
  for (int w = 0; w < bench::kWorkloadCount; w++) {
    const bench::Workload &work = bench::kWorkloads[w];
    const bool triangles = work.unit == bench::Unit::kTriangle;
    // Pixels the triangles cover: 50 each, the clear not counted.
    const double pixels = triangles ? work.perFrame * 50 : work.perFrame;
    for (const Device &d : kDevices)
      for (const Path &p : kPaths) {
        const auto it = results.find(Key(d, p.name, work.name));
        if (it == results.end()) continue;
        const Result &r = it->second;
        const double cpuShare = r.cycles > 0 ? r.cpuSeconds * hz / r.cycles : 0;
        const double perFrame = Cycles(o, r, hz) / r.frames;
        const double perUnit = perFrame / work.perFrame;
        const auto generic = results.find(Key(d, "generic", work.name));
        const double ratio = generic == results.end()
                                 ? 0
                                 : Cycles(o, generic->second, hz) / generic->second.frames / perFrame;
        char rate[32], perTriangle[16] = "-", target[24];
        snprintf(rate, sizeof rate, triangles ? "%.0f tri/s" : "%.2f Mpix/s",
                 (triangles ? work.perFrame : work.perFrame / 1e6) * hz / perFrame);
        if (triangles) snprintf(perTriangle, sizeof perTriangle, "%.0f", perUnit);
        snprintf(target, sizeof target, "%.0f/%s", work.target, triangles ? "tri" : "px");
        printf("%-22s %-8s %-9s %5d %14s %9s %9.1f %9.2f %5.0f %8s %s\n", work.name,
               (std::string(d.name) + "-" + std::to_string(d.displayBits)).c_str(), p.name,
               r.depthBits, rate, perTriangle, perFrame / pixels, ratio, 100 * cpuShare, target,
               perUnit <= work.target ? "met" : "missed");
      }
  }
}

}  // namespace

int main(int argc, char **argv) {
  Options o;
  if (!ParseOptions(argc, argv, &o)) {
    fprintf(stderr,
            "usage: %s [--case WORKLOAD] [--path default|generic|setup|spanlets|nommx]\n"
            "       [--device soft|sis] [--display 16|32] [--seconds S] [--quick] [--profile]\n"
            "       [--cpu]\n",
            argv[0]);
    return 2;
  }
  if (o.child) {
    const Device *d = FindDevice(o.device ? o.device : "", o.display);
    if (!d) return 2;
    return RunChild(o, *d, o.path ? o.path : "default");
  }
  // Profiles are of the default path unless a path is named.
  if (o.profile && !o.path) o.path = "default";
  bool any = false;
  for (int w = 0; w < bench::kWorkloadCount; w++)
    any |= o.Wants(o.workload, bench::kWorkloads[w].name);
  if (!any) {
    fprintf(stderr, "bench_workloads: no workload matches \"%s\"\n", o.workload);
    return 2;
  }
  const double hz = bench::MeasureTscHz();
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return 1;
  self[n] = '\0';
  Results results;
  std::string profiles;
  int status = 0;
  for (const Device &d : kDevices) {
    if (!o.Wants(o.device, d.name) || (o.display && o.display != d.displayBits)) continue;
    for (const Path &p : kPaths) {
      if (o.path ? strcmp(o.path, p.name) != 0 : false) continue;
      if (!RunPath(self, d, p, o, &results, &profiles)) {
        fprintf(stderr, "bench_workloads: %s-%d %s failed\n", d.name, d.displayBits, p.name);
        status = 1;
      }
    }
  }
  PrintTable(o, results, hz);
  fputs(profiles.c_str(), stdout);
  return status;
}
