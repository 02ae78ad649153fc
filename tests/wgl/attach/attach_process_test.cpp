// Process and thread attachment through DllMain: the reasons, the order in
// which the device hears of attachment, each attach step failing in turn
// (the detach that follows undoes only what was done, and a second detach
// does nothing), and many rounds in one process.
#include <string>
#include <thread>
#include <vector>

#include "core/current.h"
#include "platform/vlxdesktop.h"
#include "tests/wgl/attach/attach_fixture.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_global_lock.h"
#include "wgl/wgl_process_state.h"

namespace attach_test {
namespace {

typedef std::vector<std::string> Events;

bool SameHeap(const PlatformHeapStats &a, const PlatformHeapStats &b) {
  return a.liveBlocks == b.liveBlocks && a.liveBytes == b.liveBytes;
}

// A hook of the test's own, installed before the driver's: a message reaches
// it only when no hook of the driver stands in front of it.
struct SentinelHook {
  static inline int seen = 0;
  HHOOK hook = nullptr;
  static LRESULT WINAPI Proc(int, WPARAM, LPARAM) {
    ++seen;
    return 0;
  }
  SentinelHook() {
    seen = 0;
    hook = SetWindowsHookExA(WH_CALLWNDPROC, Proc, nullptr, GetCurrentThreadId());
  }
  ~SentinelHook() { UnhookWindowsHookEx(hook); }
};

// A new thread attached and detached as the platform would, and the hook it
// held in between.
struct ThreadRun {
  BOOL attached = FALSE;
  HHOOK hook = nullptr;
  BOOL detached = FALSE;
};

ThreadRun RunOtherThread() {
  ThreadRun run;
  std::thread other([&run] {
    run.attached = DllMain(nullptr, 2, nullptr);
    run.hook = wgl::ThreadHook();
    run.detached = DllMain(nullptr, 3, nullptr);
  });
  other.join();
  return run;
}

// ---- DllMain's reasons ---------------------------------------------------------------

struct ReasonCase {
  DWORD reason;
  BOOL result;
};

class DllMainOtherReasons : public AttachTest, public ::testing::WithParamInterface<ReasonCase> {};

TEST_P(DllMainOtherReasons, GiveTrueAndTouchNothing) {
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  Events before = gRecorder.Events();
  PlatformHeapStats heap = PlatformGetHeapStats();
  EXPECT_EQ(DllMain(nullptr, GetParam().reason, nullptr), GetParam().result);
  EXPECT_EQ(gRecorder.Events(), before);
  EXPECT_TRUE(SameHeap(PlatformGetHeapStats(), heap));
  EXPECT_NE(wgl::ThreadHook(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Reasons, DllMainOtherReasons,
                         ::testing::Values(ReasonCase{4, TRUE}, ReasonCase{7, TRUE},
                                           ReasonCase{0xFFFFFFFFu, TRUE}));

// ---- The order the device hears of attachment ------------------------------------------

struct OrderCase {
  const char *name;
  bool threadHooks;
  Events processAttach, threadAttach, threadDetach, processDetach;
};

const OrderCase kOrders[] = {
    {"WithThreadHooks", true,
     {"threadAttach", "invalidate", "processAttach"},
     {"threadAttach", "invalidate"},
     {"invalidate", "threadDetach"},
     {"processDetach", "invalidate", "threadDetach"}},
    {"WithoutThreadHooks", false,
     {"invalidate", "processAttach"},
     {"invalidate"},
     {"invalidate"},
     {"processDetach", "invalidate"}},
};

class AttachOrder : public AttachTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(AttachOrder, DeviceHooksRunInTheirPlace) {
  const OrderCase &c = GetParam();
  UseDevice(c.threadHooks);
  auto take = [] {
    Events e = gRecorder.Events();
    gRecorder.Reset();
    return e;
  };
  PlatformHeapStats heap = PlatformGetHeapStats();
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  EXPECT_EQ(take(), c.processAttach);
  EXPECT_EQ(processTerminated, 0u);
  ASSERT_NE(__wglProcess.lpDispData, nullptr);
  EXPECT_EQ(glrcListEnd.gc, __wglInvalidGC);
  EXPECT_EQ(__wglPlaceholderContext.imports.other, &glrcListEnd);

  const ThreadRun other = RunOtherThread();
  EXPECT_TRUE(other.attached);
  EXPECT_TRUE(other.detached);
  EXPECT_NE(other.hook, nullptr);
  // The other thread's hook went with its area.
  EXPECT_FALSE(UnhookWindowsHookEx(other.hook));
  Events threadEvents = take();
  Events expected = c.threadAttach;
  expected.insert(expected.end(), c.threadDetach.begin(), c.threadDetach.end());
  EXPECT_EQ(threadEvents, expected);

  HHOOK hook = wgl::ThreadHook();
  ASSERT_TRUE(DllMain(nullptr, 0, nullptr));
  EXPECT_EQ(take(), c.processDetach);
  EXPECT_EQ(processTerminated, 1u);
  EXPECT_EQ(__wglProcess.lpDispData, nullptr);
  EXPECT_EQ(glrcListEnd.gc, nullptr);
  EXPECT_EQ(__wglPlaceholderContext.imports.other, nullptr);
  EXPECT_FALSE(UnhookWindowsHookEx(hook));
  EXPECT_EQ(__wglLock.count, 0);
  EXPECT_EQ(PlatformModuleLoadCount("dd326_32.dll"), 0u);
  EXPECT_TRUE(SameHeap(PlatformGetHeapStats(), heap));
}

INSTANTIATE_TEST_SUITE_P(Devices, AttachOrder, ::testing::ValuesIn(kOrders),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(AttachTest, ManyRoundsInOneProcessStartAfresh) {
  PlatformHeapStats heap = PlatformGetHeapStats();
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
    EXPECT_EQ(__wglLock.count, 1);
    EXPECT_NE(wgl::ThreadHook(), nullptr);
    EXPECT_EQ(__wglGetCurrentGC(), __wglInvalidGC);
    ASSERT_TRUE(DllMain(nullptr, 0, nullptr));
    EXPECT_EQ(wgl::ThreadHook(), nullptr);
  }
  EXPECT_TRUE(SameHeap(PlatformGetHeapStats(), heap));
  EXPECT_EQ(gRecorder.Count("processAttach"), 5u);
  EXPECT_EQ(gRecorder.Count("processDetach"), 5u);
}

// ---- Each attach step failing ------------------------------------------------------------

enum Refusal { kNoRefusal, kRefuseProcessAttach };

struct FailureCase {
  const char *name;
  const char *call;  // the platform call made to fail, or none
  const char *key;
  Refusal refusal;
  Events events;       // what the device heard, attach and both detaches
  const char *report;  // the system error reported, or none
  DWORD lastError;
};

const FailureCase kFailures[] = {
    {"VersionQuery", "GetVersionExA", nullptr, kNoRefusal, {}, nullptr, 0},
    {"ThreadAreaSlot", "TlsAlloc", nullptr, kNoRefusal, {}, nullptr, 0},
    {"ThreadAreaAllocation", "GlobalAlloc", nullptr, kNoRefusal, {},
     "WGL Message:System Error: (8):attachThread\n", 0xC0070008u},
    {"ThreadAreaStore", "TlsSetValue", nullptr, kNoRefusal, {},
     "WGL Message:System Error: (8):attachThread\n", 0xC0070008u},
    {"MessageHook", "SetWindowsHookExA", nullptr, kNoRefusal,
     {"threadAttach", "invalidate", "invalidate", "threadDetach"},
     "WGL Message:System Error: (1114):attachMessageHook\n", 0xC007045Au},
    {"DeviceRefuses", nullptr, nullptr, kRefuseProcessAttach,
     {"threadAttach", "invalidate", "processAttach", "invalidate", "threadDetach"}, nullptr, 0},
    {"DisplayLibrary", "LoadLibraryA", "dd326_32.dll", kNoRefusal,
     {"threadAttach", "invalidate", "processAttach", "processDetach", "invalidate", "threadDetach"},
     nullptr, 0},
    {"DisplayFunction", "GetProcAddress", "ddGetDispInfo", kNoRefusal,
     {"threadAttach", "invalidate", "processAttach", "processDetach", "invalidate", "threadDetach"},
     nullptr, 0},
    {"DisplayBlock", "ddGetDispInfo", nullptr, kNoRefusal,
     {"threadAttach", "invalidate", "processAttach", "processDetach", "invalidate", "threadDetach"},
     nullptr, 0},
};

class AttachStepFails : public AttachTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(AttachStepFails, DetachUndoesOnlyWhatWasDoneAndOnlyOnce) {
  const FailureCase &c = GetParam();
  HWND window = DesktopCreateWindow(10, 10, 40, 30);
  ASSERT_NE(window, nullptr);
  SentinelHook sentinel;
  ASSERT_NE(sentinel.hook, nullptr);
  PlatformHeapStats heap = PlatformGetHeapStats();

  if (c.call) PlatformArmFault(PlatformFault{c.call, c.key, 0, 1, 0});
  gRecorder.refuseProcessAttach = c.refusal == kRefuseProcessAttach;
  SetLastError(0);
  EXPECT_FALSE(DllMain(nullptr, 1, nullptr));
  if (c.call) {
    EXPECT_EQ(PlatformFaultsFired(c.call), 1u);
  }
  if (c.report) {
    EXPECT_NE(DebugText().find(c.report), std::string::npos) << DebugText();
    EXPECT_EQ(GetLastError(), c.lastError);
  }
  // The loader's detach after the refusal, and a second one.
  DllMain(nullptr, 0, nullptr);
  DllMain(nullptr, 0, nullptr);
  EXPECT_EQ(gRecorder.Events(), c.events);
  EXPECT_TRUE(SameHeap(PlatformGetHeapStats(), heap));
  EXPECT_EQ(PlatformModuleLoadCount("dd326_32.dll"), 0u);
  EXPECT_EQ(__wglLock.count, 0);
  EXPECT_EQ(__wglTLSIndex, TLS_OUT_OF_INDEXES);
  EXPECT_EQ(glrcListEnd.gc, nullptr);
  if (gRecorder.hookAtProcessAttach) {
    EXPECT_FALSE(UnhookWindowsHookEx(gRecorder.hookAtProcessAttach));
  }
  // No hook of the driver is left in front of the test's own.
  MoveWindow(window, 12, 12, 40, 30, FALSE);
  EXPECT_GT(SentinelHook::seen, 0);

  // The next attach works.
  PlatformClearFaults();
  gRecorder.Reset();
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  EXPECT_NE(wgl::ThreadHook(), nullptr);
  ASSERT_TRUE(DllMain(nullptr, 0, nullptr));
  EXPECT_TRUE(SameHeap(PlatformGetHeapStats(), heap));
  DestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(Steps, AttachStepFails, ::testing::ValuesIn(kFailures),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- Refusals at detach --------------------------------------------------------------------

struct DetachRefusalCase {
  const char *name;
  bool refuseThreadDetach, refuseProcessDetach;
  const char *unhookFault;  // "UnhookWindowsHookEx" to make unhooking fail
  const char *report;
};

const DetachRefusalCase kDetachRefusals[] = {
    {"DeviceThreadDetach", true, false, nullptr, nullptr},
    {"DeviceProcessDetach", false, true, nullptr, nullptr},
    {"Unhooking", false, false, "UnhookWindowsHookEx",
     "WGL Message:System Error: (1114):dettachMessageHook\n"},
};

class DetachRefused : public AttachTest,
                      public ::testing::WithParamInterface<DetachRefusalCase> {};

// The library goes whatever the device says: the result tells of the
// refusal, but no area is left allocated and no hook of the driver stays
// in place.
TEST_P(DetachRefused, GivesFalseAndStillLetsGoOfTheThreads) {
  const DetachRefusalCase &c = GetParam();
  HWND window = DesktopCreateWindow(10, 10, 40, 30);
  SentinelHook sentinel;
  PlatformHeapStats heap = PlatformGetHeapStats();
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  gRecorder.refuseThreadDetach = c.refuseThreadDetach;
  gRecorder.refuseProcessDetach = c.refuseProcessDetach;
  if (c.unhookFault) PlatformArmFault(PlatformFault{c.unhookFault, nullptr, 0, 1, 0});
  EXPECT_FALSE(DllMain(nullptr, 0, nullptr));
  if (c.report) {
    EXPECT_NE(DebugText().find(c.report), std::string::npos);
  }
  EXPECT_TRUE(SameHeap(PlatformGetHeapStats(), heap));
  EXPECT_EQ(__wglLock.count, 0);
  if (c.unhookFault) {
    // The hook that would not go is taken out by hand, or it would stand
    // in the chain of the next attachment.
    PlatformClearFaults();
    EXPECT_TRUE(UnhookWindowsHookEx(gRecorder.hookAtProcessAttach));
  }
  MoveWindow(window, 12, 12, 40, 30, FALSE);
  EXPECT_GT(SentinelHook::seen, 0);
  gRecorder.Reset();
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  ASSERT_TRUE(DllMain(nullptr, 0, nullptr));
  DestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(Refusals, DetachRefused, ::testing::ValuesIn(kDetachRefusals),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- Threads attaching -----------------------------------------------------------------------

TEST_F(AttachTest, RefusedThreadAttachLeavesNothingForItsDetach) {
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  gRecorder.Reset();
  PlatformHeapStats heap = PlatformGetHeapStats();
  gRecorder.refuseThreadAttach = true;
  const ThreadRun other = RunOtherThread();
  EXPECT_FALSE(other.attached);
  EXPECT_TRUE(other.detached);
  EXPECT_EQ(other.hook, nullptr);
  // The device that refused is not asked to detach the thread.
  EXPECT_EQ(gRecorder.Events(), Events{"threadAttach"});
  EXPECT_TRUE(SameHeap(PlatformGetHeapStats(), heap));
}

TEST_F(AttachTest, ThreadAreaAllocationFailureIsReported) {
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  BOOL attached = TRUE;
  DWORD error = 0;
  std::thread other([&] {
    PlatformArmFault(PlatformFault{"GlobalAlloc", nullptr, 0, 1, 0});
    attached = DllMain(nullptr, 2, nullptr);
    error = GetLastError();
    DllMain(nullptr, 3, nullptr);
  });
  other.join();
  EXPECT_FALSE(attached);
  EXPECT_EQ(error, 0xC0070008u);
  EXPECT_NE(DebugText().find("WGL Message:System Error: (8):attachThread\n"), std::string::npos);
}

// After the process detached, a late thread detach does nothing.
TEST_F(AttachTest, ThreadDetachAfterProcessDetachDoesNothing) {
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  ASSERT_TRUE(DllMain(nullptr, 0, nullptr));
  gRecorder.Reset();
  EXPECT_TRUE(DllMain(nullptr, 3, nullptr));
  EXPECT_FALSE(DllMain(nullptr, 2, nullptr));
  EXPECT_TRUE(gRecorder.Events().empty());
}

TEST_F(AttachTest, OperatingSystemFamilyIsRecorded) {
  struct {
    DWORD platform;
    uint32_t win95;
  } const kCases[] = {{VER_PLATFORM_WIN32_WINDOWS, 1}, {VER_PLATFORM_WIN32_NT, 0}};
  for (const auto &c : kCases) {
    PlatformSetPlatformId(c.platform);
    ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
    EXPECT_EQ(__wglOSWin95, c.win95);
    ASSERT_TRUE(DllMain(nullptr, 0, nullptr));
  }
  PlatformSetPlatformId(VER_PLATFORM_WIN32_NT);
}

}  // namespace
}  // namespace attach_test
