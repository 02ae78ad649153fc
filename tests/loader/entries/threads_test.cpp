// Threads: their attach and detach, one dispatch table per thread, the table
// callback, and contexts current on other threads or left current by a
// thread that ended.
#include <pthread.h>
#include <string.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "tests/loader/entries/gl_exports.h"
#include "tests/loader/entries/thread_support.h"

namespace {

using LoaderThreads = LoaderTest;

// ---- Attach and detach ------------------------------------------------------------------

TEST_F(LoaderThreads, AnotherThreadIsAttachedAtItsFirstCallAndDetachedWhenItEnds) {
  ASSERT_EQ(DescribePixelFormat(WindowDC(), 1, 0, nullptr), FAKE_PIXEL_FORMATS);
  DWORD self = GetCurrentThreadId();
  // Each kind of first call counts: a GL call, a wgl query, a pixel-format call.
  const std::function<void()> firstCalls[] = {
      [] { glGetError(); },
      [] { wglGetCurrentContext(); },
      [] { glVertex3f(1, 2, 3); },
      [] { GetPixelFormat(nullptr); },
  };
  std::vector<Attachment> expected = {{DLL_PROCESS_ATTACH, self}};
  for (const auto &call : firstCalls) {
    DWORD id = OnThread([&] {
      call();
      call();  // attached once
    });
    expected.push_back({DLL_THREAD_ATTACH, id});
    expected.push_back({DLL_THREAD_DETACH, id});
  }
  OnThread([] {});  // never calls in: never attached
  EXPECT_EQ(Attachments(), expected);
}

TEST_F(LoaderThreads, TheThreadThatLoadsTheDriverGetsNoThreadAttach) {
  DWORD loader = OnThread([] { DescribePixelFormat(ThreadDC(), 1, 0, nullptr); });
  // The loading thread is the driver's from the process attach on, so it is
  // detached when it ends; this thread meets the driver later.
  glGetError();
  glGetError();
  DWORD self = GetCurrentThreadId();
  EXPECT_EQ(Attachments(), (std::vector<Attachment>{{DLL_PROCESS_ATTACH, loader},
                                                    {DLL_THREAD_DETACH, loader},
                                                    {DLL_THREAD_ATTACH, self}}));
  VlxGlUnloadDriver();
  EXPECT_EQ(Attachments().back(), (Attachment{DLL_PROCESS_DETACH, self}));
}

// A destructor of the thread's own that runs once the thread was detached
// (other keys' destructors may come first: it waits for further rounds until
// then) and makes a GL call.
pthread_key_t lateKey;
void CallGlAfterTheDetach(void *) {
  std::vector<DWORD> reasons = ReasonsOf(GetCurrentThreadId());
  if (reasons.empty() || reasons.back() != DLL_THREAD_DETACH) {
    pthread_setspecific(lateKey, &lateKey);
    return;
  }
  glGetError();
}

TEST_F(LoaderThreads, ACallAfterTheThreadsDetachAttachesItAgainAndDetachesItAgain) {
  ASSERT_EQ(DescribePixelFormat(WindowDC(), 1, 0, nullptr), FAKE_PIXEL_FORMATS);
  ASSERT_EQ(pthread_key_create(&lateKey, &CallGlAfterTheDetach), 0);
  DWORD id = OnThread([] {
    glGetError();
    pthread_setspecific(lateKey, &lateKey);
  });
  pthread_key_delete(lateKey);
  EXPECT_EQ(ReasonsOf(id), (std::vector<DWORD>{DLL_THREAD_ATTACH, DLL_THREAD_DETACH,
                                               DLL_THREAD_ATTACH, DLL_THREAD_DETACH}));
}

TEST_F(LoaderThreads, ThreadsStartAndEndWhileOthersDraw) {
  constexpr int kDrawers = 3;
  constexpr int kPassers = 6;
  ASSERT_EQ(DescribePixelFormat(WindowDC(), 1, 0, nullptr), FAKE_PIXEL_FORMATS);
  std::atomic<bool> passersDone{false};
  std::atomic<int> drawersReady{0};
  std::atomic<int> wrongTable{0}, wrongVertex{0}, failures{0};
  std::mutex idsLock;
  std::vector<DWORD> drawerIds, passerIds;

  std::vector<std::thread> drawers;
  for (int d = 0; d < kDrawers; ++d) {
    drawers.emplace_back([&, d] {
      {
        std::lock_guard<std::mutex> hold(idsLock);
        drawerIds.push_back(GetCurrentThreadId());
      }
      HDC hdc = ThreadDC();
      HGLRC context = wglCreateContext(hdc);
      if (!context || !wglMakeCurrent(hdc, context)) failures++;
      drawersReady++;
      // Draw at least a little, and on until every passer has come and gone.
      for (int i = 0; i < 50 || !passersDone.load(); ++i) {
        glBegin(GL_TRIANGLES);
        glVertex3f(float(d), float(i), 0.5f);
        FakeGlCall seen = FakeDriverLastGlCall();
        float x, y;
        uint32_t xb = uint32_t(seen.bits[0]), yb = uint32_t(seen.bits[1]);
        memcpy(&x, &xb, 4);
        memcpy(&y, &yb, 4);
        if (seen.slot != GL_SLOT_Vertex3f || x != float(d) || y != float(i)) wrongVertex++;
        glEnd();
        if (glGetError() != FakeDriverExpectedMarker()) wrongTable++;
        std::this_thread::yield();
      }
      if (!wglMakeCurrent(nullptr, nullptr) || !wglDeleteContext(context)) failures++;
      ReleaseDC(WindowFromDC(hdc), hdc);
    });
  }
  while (drawersReady.load() < kDrawers) std::this_thread::yield();
  for (int p = 0; p < kPassers; ++p) {
    DWORD id = OnThread([] {
      if (glGetError() != 0) ADD_FAILURE() << "no context: the no-op table";
    });
    passerIds.push_back(id);
  }
  passersDone = true;
  for (std::thread &t : drawers) t.join();

  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(wrongVertex.load(), 0);
  EXPECT_EQ(wrongTable.load(), 0);
  // Per thread: attach first, detach last, nothing else; this thread: the process attach only.
  std::map<DWORD, std::vector<DWORD>> byThread;
  for (const Attachment &a : Attachments()) byThread[a.thread].push_back(a.reason);
  EXPECT_EQ(byThread[GetCurrentThreadId()], std::vector<DWORD>{DLL_PROCESS_ATTACH});
  for (DWORD id : drawerIds)
    EXPECT_EQ(byThread[id], (std::vector<DWORD>{DLL_THREAD_ATTACH, DLL_THREAD_DETACH}));
  for (DWORD id : passerIds)
    EXPECT_EQ(byThread[id], (std::vector<DWORD>{DLL_THREAD_ATTACH, DLL_THREAD_DETACH}));
}

// ---- Tables -----------------------------------------------------------------------------------

TEST_F(LoaderThreads, EachThreadCallsThroughTheTableOfItsOwnContext) {
  Bound();
  unsigned mine = FakeDriverExpectedMarker();
  ASSERT_NE(mine, 0u);
  EXPECT_EQ(glGetError(), mine);
  Stages stages;
  unsigned theirs = 0, theirsSeen = 0;
  std::thread other([&] {
    HGLRC context = BoundHere();
    theirs = FakeDriverExpectedMarker();
    theirsSeen = glGetError();
    stages.Reach(1);
    stages.WaitFor(2);  // both bound at once
    theirsSeen = glGetError();
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
  });
  stages.WaitFor(1);
  EXPECT_EQ(glGetError(), mine) << "another thread's binding leaves this one alone";
  stages.Reach(2);
  other.join();
  EXPECT_NE(theirs, mine);
  EXPECT_EQ(theirsSeen, theirs);
  EXPECT_EQ(glGetError(), mine);
}

TEST_F(LoaderThreads, TheCallbackSwitchesTheCallingThreadsTableAtOnce) {
  Bound();
  unsigned before = FakeDriverExpectedMarker();
  Stages stages;
  unsigned otherMarker = 0, otherSeen = 0;
  std::thread other([&] {
    HGLRC context = BoundHere();
    otherMarker = FakeDriverExpectedMarker();
    stages.Reach(1);
    stages.WaitFor(2);
    otherSeen = glGetError();
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
  });
  stages.WaitFor(1);
  for (unsigned table : {5u, 6u, 2u}) {
    FakeDriverSwitchTable(table);
    EXPECT_EQ(glGetError(), FAKE_MARKER(table));
  }
  EXPECT_NE(FakeDriverExpectedMarker(), before);
  stages.Reach(2);
  other.join();
  EXPECT_EQ(otherSeen, otherMarker) << "only the calling thread's table changes";

  // A null table stands for the no-op table.
  std::vector<FakeCall> binds = FakeCallsOf(FAKE_DrvSetContext);
  ASSERT_FALSE(binds.empty());
  VlxSetProcTableProc callback = reinterpret_cast<VlxSetProcTableProc>(binds[0].args[2]);
  ASSERT_NE(callback, nullptr);
  callback(nullptr);
  EXPECT_EQ(glGetError(), 0u);
}

TEST_F(LoaderThreads, ATableHandedOverInsideTheBindTakesEffectAtOnce) {
  FakeDriverSwitchInsideSetContext(3);
  Bound();
  EXPECT_EQ(FakeDriverMarkerSeenInsideSetContext(), FAKE_MARKER(3));
  // The table the bind answers is the one in force afterwards.
  EXPECT_EQ(glGetError(), FAKE_MARKER(FAKE_TABLE_OF(DriverHandleOfLastCreate())));
}

// ---- Contexts current on other threads ----------------------------------------------------

TEST_F(LoaderThreads, AContextCurrentOnAnotherThreadCanBeNeitherBoundNorDeleted) {
  Stages stages;
  HGLRC context = nullptr;
  std::thread owner([&] {
    context = BoundHere();
    stages.Reach(1);
    stages.WaitFor(2);
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    stages.Reach(3);
    stages.WaitFor(4);
  });
  stages.WaitFor(1);
  HDC hdc = FormattedDC();
  size_t binds = FakeCallsOf(FAKE_DrvSetContext).size();
  SetLastError(0);
  EXPECT_FALSE(wglMakeCurrent(hdc, context));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_BUSY));
  SetLastError(0);
  EXPECT_FALSE(wglDeleteContext(context));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_BUSY));
  EXPECT_EQ(FakeCallsOf(FAKE_DrvSetContext).size(), binds) << "the driver was not asked";
  EXPECT_TRUE(FakeCallsOf(FAKE_DrvDeleteContext).empty());

  stages.Reach(2);
  stages.WaitFor(3);
  EXPECT_TRUE(wglMakeCurrent(hdc, context)) << "released there: free here";
  EXPECT_TRUE(wglDeleteContext(context));
  stages.Reach(4);
  owner.join();
}

TEST_F(LoaderThreads, AThreadEndingWithAContextCurrentReleasesItBeforeItsDetach) {
  HGLRC context = nullptr;
  DWORD id = OnThread([&] { context = BoundHere(); });
  DHGLRC driver = DriverHandleOfLastCreate();
  std::vector<FakeCall> calls = FakeCalls();
  ASSERT_GE(calls.size(), 2u);
  const FakeCall &release = calls[calls.size() - 2];
  const FakeCall &detach = calls.back();
  EXPECT_EQ(release.entry, FAKE_DrvReleaseContext);
  EXPECT_EQ(release.args[0], driver);
  EXPECT_EQ(release.thread, id);
  EXPECT_EQ(detach.entry, FAKE_DllMain);
  EXPECT_EQ(detach.args[1], DLL_THREAD_DETACH);
  EXPECT_EQ(detach.thread, id);
  // Free for this thread now, and deletable.
  EXPECT_TRUE(wglMakeCurrent(FormattedDC(), context));
  EXPECT_TRUE(wglDeleteContext(context));
}

TEST_F(LoaderThreads, AContextOfAnEndedThreadIsNotItsAnyMoreEvenWhenTheReleaseWasRefused) {
  FakeDriverOverride(FAKE_DrvReleaseContext, FALSE, 0);
  HGLRC context = nullptr;
  DWORD id = OnThread([&] { context = BoundHere(); });
  EXPECT_EQ(ReasonsOf(id).back(), DLL_THREAD_DETACH);
  // Thread ids are reused: the loader must not keep the context as the ended
  // thread's. Binding and deleting it now are the driver's to decide.
  FakeDriverReset();
  SetLastError(0);
  EXPECT_TRUE(wglMakeCurrent(FormattedDC(), context));
  EXPECT_EQ(FakeCallsOf(FAKE_DrvSetContext).size(), 1u);
  EXPECT_TRUE(wglDeleteContext(context));
}

}  // namespace
