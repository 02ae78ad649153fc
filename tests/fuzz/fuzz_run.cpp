#include "tests/fuzz/fuzz_run.h"

#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <vector>

#include "platform/control.h"
#include "tests/fuzz/fuzz_calls.h"
#include "tests/fuzz/fuzz_checks.h"
#include "tests/fuzz/fuzz_gl.h"
#include "tests/fuzz/fuzz_scene.h"
#include "tests/fuzz/fuzz_world.h"

namespace {

// Where the run is, for the signal handlers (written before each step).
char g_where[128] = "vlx_fuzz: before the first step";
int g_step = -1;
int g_failFd = -1;

void ReportStep() {
  if (g_failFd >= 0) (void)!write(g_failFd, &g_step, sizeof g_step);
}

void OnSignal(int sig) {
  char text[200];
  const int n = snprintf(text, sizeof text, "%s: %s\n", g_where,
                         sig == SIGALRM ? "hang (watchdog)" : strsignal(sig));
  if (n > 0) (void)!write(2, text, size_t(n));
  ReportStep();
  if (sig == SIGALRM) _exit(3);
  signal(sig, SIG_DFL);
  raise(sig);
}

void Where(uint64_t seed, int step, const char *phase) {
  g_step = step;
  snprintf(g_where, sizeof g_where, "vlx_fuzz: FAILED seed %llu step %d%s",
           (unsigned long long)seed, step, phase);
}

bool Fail(const std::string &problem) {
  fprintf(stderr, "%s: %s\n", g_where, problem.c_str());
  ReportStep();
  return false;
}

constexpr int kSceneWidth = 64, kSceneHeight = 48;

// The scene in a fresh window of `format`, by `rc`; false when the window
// cannot take the format or the context.
bool SceneInFreshWindow(int x, int format, HGLRC rc, bool reset, std::vector<unsigned> *shown,
                        HWND *window) {
  HWND hwnd = DesktopCreateWindow(x, 700, kSceneWidth, kSceneHeight);
  *window = hwnd;
  HDC hdc = GetDC(hwnd);
  PIXELFORMATDESCRIPTOR pfd;
  if (!DescribePixelFormat(hdc, format, sizeof pfd, &pfd) || !SetPixelFormat(hdc, format, &pfd)) {
    return false;
  }
  if (rc == nullptr) rc = wglCreateContext(hdc);
  if (rc == nullptr || !wglMakeCurrent(hdc, rc)) return false;
  const bool doubleBuffered = (pfd.dwFlags & PFD_DOUBLEBUFFER) != 0;
  if (reset) FuzzResetState(doubleBuffered);
  FuzzDrawScene(kSceneWidth, kSceneHeight, pfd.iPixelType == PFD_TYPE_RGBA);
  if (doubleBuffered) SwapBuffers(hdc);
  shown->assign(size_t(kSceneWidth * kSceneHeight), 0);
  DesktopReadWindow(hwnd, 0, 0, kSceneWidth, kSceneHeight, shown->data());
  return true;
}

// The fuzzed context, reset, draws the scene as a fresh one does.
bool EndCheck(FuzzWorld &world, std::string *problem) {
  const int c = world.SurvivingWindowContext();
  if (c < 0) return true;
  const FuzzContext &context = world.Context(c);
  std::vector<unsigned> fuzzed, fresh;
  HWND windows[2] = {};
  bool ok = true;
  if (SceneInFreshWindow(700, context.format, context.rc, true, &fuzzed, &windows[0])) {
    HGLRC freshContext = nullptr;
    if (SceneInFreshWindow(800, context.format, nullptr, false, &fresh, &windows[1])) {
      freshContext = wglGetCurrentContext();
      for (size_t i = 0; i < fresh.size() && ok; i++) {
        if (fuzzed[i] != fresh[i]) {
          char text[160];
          snprintf(text, sizeof text,
                   "the reference scene differs at (%zu, %zu): 0x%08x after the sequence, "
                   "0x%08x from a fresh context",
                   i % kSceneWidth, i / kSceneWidth, fuzzed[i], fresh[i]);
          *problem = text;
          ok = false;
        }
      }
    }
    wglMakeCurrent(nullptr, nullptr);
    if (freshContext != nullptr) wglDeleteContext(freshContext);
  }
  wglMakeCurrent(nullptr, nullptr);
  world.ForgetCurrent();
  for (HWND w : windows) {
    if (w != nullptr) DestroyWindow(w);
  }
  return ok;
}

}  // namespace

void FuzzReportFailuresTo(int fd) { g_failFd = fd; }

bool FuzzRunSequence(const FuzzOptions &o) {
  static const int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGALRM};
  for (int s : kSignals) signal(s, OnSignal);

  const PlatformHeapStats before = PlatformGetHeapStats();
  bool ok = true;
  {
    FuzzMemory memory;
    FuzzWorld world(o.displayBits, memory);
    FuzzCalls calls(memory);
    calls.verbose = o.verbose;
    std::string problem;
    for (int step = 0; step < o.steps && ok; step++) {
      if (o.only != nullptr && o.only->count(step) == 0) continue;
      Where(o.seed, step, "");
      alarm(o.watchdogSeconds);
      FuzzRng rng(o.seed, uint64_t(step));
      std::string what;
      if (rng.Percent(8)) {
        world.Act(rng, &what);
      } else if (world.EnsureCurrent(rng, &what)) {
        calls.Act(rng, &what);
      }
      if (o.verbose) fprintf(stderr, "step %d:%s%s\n", step, what.empty() ? "" : " ",
                             what.c_str());
      if (world.HasCurrent() && wglGetCurrentContext() != nullptr) {
        if (!FuzzCheckErrors(&problem) || !FuzzCheckRanges(&problem)) {
          ok = Fail(problem + " (after" + what + ")");
        }
      }
    }
    if (ok && o.endCheck) {
      Where(o.seed, o.steps, " (end of sequence)");
      alarm(o.watchdogSeconds);
      if (!EndCheck(world, &problem)) ok = Fail(problem);
    }
    world.TearDown();
  }
  VlxGlUnloadDriver();
  alarm(0);
  const PlatformHeapStats after = PlatformGetHeapStats();
  if (ok && o.endCheck && (after.liveBlocks != before.liveBlocks || after.liveVirtual != before.liveVirtual)) {
    Where(o.seed, o.steps, " (after unloading)");
    ok = Fail("heap blocks " + std::to_string(before.liveBlocks) + " -> " +
              std::to_string(after.liveBlocks) + ", virtual " +
              std::to_string(before.liveVirtual) + " -> " + std::to_string(after.liveVirtual));
  }
  return ok;
}
