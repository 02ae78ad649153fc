// Nothing stays behind: after windows, contexts and threads are gone and the
// driver was unloaded, the global heap, virtual memory, video memory and the
// modules the driver loads are as they were before the driver was first
// loaded in this process, whatever the threads did before they went.
#include <dlfcn.h>
#include <stdlib.h>

#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/wgl/threads/threads_fixture.h"

namespace {

// What the driver can leave behind.
struct Holdings {
  PlatformHeapStats heap;
  DWORD videoMemory;
  unsigned modules[5];
};

const char *const kModules[] = {"DDRAW.DLL", "DCIMAN32.DLL", "dd326_32.dll", "gdi32",
                                "opengl32.dll"};

Holdings Now() {
  Holdings h;
  h.heap = PlatformGetHeapStats();
  h.videoMemory = PlatformVideoMemoryUsed(FALSE);
  for (size_t i = 0; i < std::size(kModules); ++i)
    h.modules[i] = PlatformModuleLoadCount(kModules[i]);
  return h;
}

// Taken before main runs: no driver has been loaded yet. The platform keeps
// no blocks of its own on the global heap or in virtual memory, and the
// unload unmaps the driver's code (checked below), so a block that outlives
// the unload is owned by nobody: the baseline is the process before the
// first load, not after a first load and unload.
const Holdings kAtStart = Now();

void ExpectSame(const Holdings &want, const Holdings &got, const std::string &when) {
  EXPECT_EQ(got.heap.liveBlocks, want.heap.liveBlocks) << when << ": global-heap blocks";
  EXPECT_EQ(got.heap.liveBytes, want.heap.liveBytes) << when << ": global-heap bytes";
  EXPECT_EQ(got.heap.liveVirtual, want.heap.liveVirtual) << when << ": virtual allocations";
  EXPECT_EQ(got.videoMemory, want.videoMemory) << when << ": video memory";
  for (size_t i = 0; i < std::size(kModules); ++i)
    EXPECT_EQ(got.modules[i], want.modules[i]) << when << ": loads of " << kModules[i];
}

// ---- Workloads ---------------------------------------------------------------------------

// A thread with a window in `slot` that binds a new context, draws a few
// frames and checks them; leaves the context as `end` says.
enum End { kDeletes, kLeavesItCurrent, kLeavesItSelecting, kReleasesOnly };

// The selection buffer of a context left selecting: it outlives the thread,
// as the context keeps pointing at it. One such thread runs at a time.
GLuint gSelection[8];

HGLRC DrawOnAThread(int slot, bool doubleBuffered, End end, bool *drewRight) {
  HGLRC context = nullptr;
  std::thread([&] {
    ThreadWindow window;
    if (!window.Open(slot, doubleBuffered)) return;
    std::vector<ScenePixels> reference =
        DrawReferenceScenes(window.hwnd, window.hdc, doubleBuffered);
    context = wglCreateContext(window.hdc);
    if (!context || !wglMakeCurrent(window.hdc, context) ||
        reference.size() != size_t(kSceneVariants))
      return;
    bool right = true;
    for (int v : {1, 2, 3}) {
      DrawSceneFrame(window.hdc, v, doubleBuffered);
      right = right && CompareScenes(reference[size_t(v)], ReadScene(window.hwnd)).count == 0;
    }
    *drewRight = right;
    switch (end) {
      case kDeletes:
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context);
        window.Close(true);
        break;
      case kReleasesOnly:
        wglMakeCurrent(nullptr, nullptr);
        window.Close(true);
        break;
      case kLeavesItSelecting:
        glSelectBuffer(GLsizei(std::size(gSelection)), gSelection);
        glRenderMode(GL_SELECT);
        break;
      case kLeavesItCurrent:
        break;
    }
  }).join();
  return context;
}

void OneThreadDraws() {
  bool right = false;
  DrawOnAThread(0, true, kDeletes, &right);
  EXPECT_TRUE(right);
}

void SingleBufferedThreadDraws() {
  bool right = false;
  DrawOnAThread(0, false, kDeletes, &right);
  EXPECT_TRUE(right);
}

void TwoThreadsDrawAtOnce() {
  bool right[2] = {false, false};
  std::thread a([&] { DrawOnAThread(0, true, kDeletes, &right[0]); });
  std::thread b([&] { DrawOnAThread(1, false, kDeletes, &right[1]); });
  a.join();
  b.join();
  EXPECT_TRUE(right[0] && right[1]);
}

// Contexts of ended threads: released by the loader and the driver, then
// deleted on this thread.
void ThreadsEndWithContextsCurrent() {
  bool right[2] = {false, false};
  HGLRC left[2] = {DrawOnAThread(0, true, kLeavesItCurrent, &right[0]),
                   DrawOnAThread(1, true, kLeavesItSelecting, &right[1])};
  EXPECT_TRUE(right[0] && right[1]);
  for (HGLRC context : left) EXPECT_TRUE(wglDeleteContext(context));
}

// Contexts nobody deleted, some bound to windows that are gone: the driver's
// process detach frees them.
void ContextsLeftForTheUnload() {
  bool right[3] = {false, false, false};
  DrawOnAThread(0, true, kReleasesOnly, &right[0]);
  DrawOnAThread(1, true, kLeavesItCurrent, &right[1]);
  DrawOnAThread(2, true, kLeavesItSelecting, &right[2]);
  EXPECT_TRUE(right[0] && right[1] && right[2]);
}

// A context bound on one thread, released, bound and drawn with on another.
void AContextMovesBetweenThreads() {
  Stages stages;
  HWND hwnd = nullptr;
  HGLRC context = nullptr;
  std::vector<ScenePixels> reference;
  std::thread owner([&] {
    ThreadWindow window;
    if (window.Open(0, true)) {
      reference = DrawReferenceScenes(window.hwnd, window.hdc, true);
      context = wglCreateContext(window.hdc);
      wglMakeCurrent(window.hdc, context);
      DrawSceneFrame(window.hdc, 1, true);
      wglMakeCurrent(nullptr, nullptr);
      hwnd = window.hwnd;
    }
    stages.Reach(1);
    stages.WaitFor(2);
    window.Close(true);
  });
  stages.WaitFor(1);
  std::thread mover([&] {
    ThreadWindow shared;
    if (!hwnd || !shared.Share(hwnd)) return;
    EXPECT_TRUE(wglMakeCurrent(shared.hdc, context));
    DrawSceneFrame(shared.hdc, 2, true);
    EXPECT_EQ(CompareScenes(reference[2], ReadScene(hwnd)).count, 0);
    EXPECT_TRUE(wglDeleteContext(context));
    shared.Close(false);
  });
  mover.join();
  stages.Reach(2);
  owner.join();
  EXPECT_NE(hwnd, nullptr);
}

// The back and depth buffers fall back to system memory.
void VideoMemoryRunsOut() {
  ASSERT_TRUE(PlatformSetVideoMemorySize(1024 * 768 * 2 + 4096));
  bool right = false;
  DrawOnAThread(0, true, kDeletes, &right);
  EXPECT_TRUE(right);
  DrawOnAThread(1, true, kLeavesItCurrent, &right);
  EXPECT_TRUE(right);
}

void DciSetDraws() {
  setenv("VLX_SOFT_BUFFER_SET", "dci", 1);
  bool right = false;
  DrawOnAThread(0, true, kDeletes, &right);
  EXPECT_TRUE(right);
  DrawOnAThread(1, false, kLeavesItCurrent, &right);
  EXPECT_TRUE(right);
  unsetenv("VLX_SOFT_BUFFER_SET");
}

struct Workload {
  const char *name;
  std::function<void()> run;
  bool softDevice = false;  // through the soft driver library (DCI is only there)
};

// Failure messages name the row.
void PrintTo(const Workload &row, std::ostream *out) { *out << row.name; }

const Workload kWorkloads[] = {
    {"OneThreadDraws", OneThreadDraws},
    {"SingleBufferedThreadDraws", SingleBufferedThreadDraws},
    {"TwoThreadsDrawAtOnce", TwoThreadsDrawAtOnce},
    {"ThreadsEndWithContextsCurrent", ThreadsEndWithContextsCurrent},
    {"ContextsLeftForTheUnload", ContextsLeftForTheUnload},
    {"AContextMovesBetweenThreads", AContextMovesBetweenThreads},
    {"VideoMemoryRunsOut", VideoMemoryRunsOut},
    {"DciSetDraws", DciSetDraws, true},
    {"SoftDeviceDraws", OneThreadDraws, true},
};

// Whether the driver library is still mapped into the process.
bool DriverStillMapped(bool softDevice) {
#ifdef VLX_DRIVER_PATH
  void *library =
      dlopen(softDevice ? VLX_SOFT_DRIVER_PATH : VLX_DRIVER_PATH, RTLD_NOW | RTLD_NOLOAD);
  if (library == nullptr) return false;
  dlclose(library);
  return true;
#else
  return false;
#endif
}

class Teardown : public WglThreadsTest, public ::testing::WithParamInterface<Workload> {
 protected:
  void TearDown() override {
    WglThreadsTest::TearDown();
    PlatformSetVideoMemorySize(8u << 20);
    unsetenv("VLX_SOFT_BUFFER_SET");
  }
};

TEST_P(Teardown, TheUnloadGivesBackEverything) {
  const Holdings before = Now();
  // Two loads: what one load keeps for later must not come again with the next.
  for (int load = 1; load <= 2; ++load) {
    UseSoftDevice(GetParam().softDevice);
    GetParam().run();
    EXPECT_TRUE(VlxGlUnloadDriver());
    const std::string when = "after load " + std::to_string(load);
    // The library's code is gone, so nothing it made can be kept for later.
    EXPECT_FALSE(DriverStillMapped(GetParam().softDevice))
        << when << ": the driver stayed loaded after its unload";
    const Holdings after = Now();
    ExpectSame(before, after, when);
    ExpectSame(kAtStart, after, when + ", against the process before any load");
  }
}

INSTANTIATE_TEST_SUITE_P(Workloads, Teardown, ::testing::ValuesIn(kWorkloads), RowName());

}  // namespace
