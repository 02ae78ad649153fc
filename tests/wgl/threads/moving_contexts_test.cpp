// Contexts passed between two threads by a script of steps: bound on one,
// released, bound on the other, drawn with; binding, deleting, copying into
// or sharing into a context that another thread has current is refused and
// leaves it drawing; deleting the caller's own current context releases it
// first.
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "tests/wgl/threads/threads_fixture.h"

namespace {

enum Action {
  kCreate,         // a new context on the window
  kBind,           // wglMakeCurrent succeeds
  kBindRefused,    // wglMakeCurrent fails with `error`, and nothing is current
  kRelease,        // wglMakeCurrent(null, null)
  kDelete,         // wglDeleteContext succeeds
  kDeleteRefused,  // wglDeleteContext fails with `error`
  kDraw,           // frame `variant`; the window then shows it
  kDrawNothing,    // frame `variant` with nothing current; the window keeps frame `kept`
  kShare,          // wglShareLists(context, other) succeeds: `other` takes the lists
  kShareRefused,   // wglShareLists(context, other) fails with `error`
  kCopy,           // wglCopyContext(context, other, every attribute) succeeds
  kCopyRefused,    // wglCopyContext(context, other, every attribute) fails with `error`
  kOpenList,       // glNewList on the current context
  kCloseList,      // glEndList
};

// Thread 0 or 1 does `action` with context 0 or 1 (and `other`) on window 0
// or 1 (window 0 belongs to thread 0, window 1 to thread 1; each thread has
// a device context of both).
struct Step {
  int thread;
  Action action;
  int context;
  int other;
  int window;
  int variant;  // kDraw, kDrawNothing
  int kept;     // kDrawNothing
  DWORD error;  // the refusals
};

struct Script {
  const char *name;
  std::vector<Step> steps;
};

// Failure messages name the row.
void PrintTo(const Script &row, std::ostream *out) { *out << row.name; }

// The loader's answer for a context current on another thread, and the
// driver's invalid-parameter error.
constexpr DWORD kBusy = ERROR_BUSY;
constexpr DWORD kDriverInvalid = 0xC0070057u;
constexpr UINT kEveryAttribute = 0x000FFFFFu;

Step Create(int thread, int context, int window) {
  return {thread, kCreate, context, 0, window, 0, 0, 0};
}
Step Bind(int thread, int context, int window) {
  return {thread, kBind, context, 0, window, 0, 0, 0};
}
Step BindRefused(int thread, int context, int window, DWORD error) {
  return {thread, kBindRefused, context, 0, window, 0, 0, error};
}
Step Release(int thread) { return {thread, kRelease, 0, 0, 0, 0, 0, 0}; }
Step Delete(int thread, int context) { return {thread, kDelete, context, 0, 0, 0, 0, 0}; }
Step DeleteRefused(int thread, int context, DWORD error) {
  return {thread, kDeleteRefused, context, 0, 0, 0, 0, error};
}
Step Draw(int thread, int window, int variant) {
  return {thread, kDraw, 0, 0, window, variant, 0, 0};
}
Step DrawNothing(int thread, int window, int variant, int kept) {
  return {thread, kDrawNothing, 0, 0, window, variant, kept, 0};
}
Step Share(int thread, int first, int second) {
  return {thread, kShare, first, second, 0, 0, 0, 0};
}
Step ShareRefused(int thread, int first, int second, DWORD error) {
  return {thread, kShareRefused, first, second, 0, 0, 0, error};
}
Step Copy(int thread, int source, int destination) {
  return {thread, kCopy, source, destination, 0, 0, 0, 0};
}
Step CopyRefused(int thread, int source, int destination, DWORD error) {
  return {thread, kCopyRefused, source, destination, 0, 0, 0, error};
}
Step OpenList(int thread) { return {thread, kOpenList, 0, 0, 0, 0, 0, 0}; }
Step CloseList(int thread) { return {thread, kCloseList, 0, 0, 0, 0, 0, 0}; }

const Script kScripts[] = {
    // Another thread's state must not change under its drawing.
    {"CopyingIntoAContextCurrentElsewhereIsRefused",
     {Create(0, 0, 0), Create(1, 1, 1), Bind(1, 1, 1), Draw(1, 1, 0), Release(1), Bind(0, 0, 0),
      Draw(0, 0, 1), CopyRefused(1, 1, 0, kDriverInvalid), Draw(0, 0, 2), Release(0), Copy(1, 1, 0),
      Bind(1, 0, 1), Draw(1, 1, 3), Release(1), Delete(0, 0), Delete(1, 1)}},
    {"SharingIntoAContextCurrentElsewhereIsRefused",
     {Create(0, 0, 0), Create(1, 1, 1), Bind(0, 0, 0), Draw(0, 0, 1),
      ShareRefused(1, 1, 0, kDriverInvalid), Draw(0, 0, 2), Release(0), Share(1, 1, 0),
      Bind(1, 0, 1), Draw(1, 1, 3), Release(1), Delete(0, 0), Delete(1, 1)}},
    // Sharing frees the target's lists, the one being compiled too.
    {"SharingIntoAContextWithAListOpenIsRefused",
     {Create(0, 0, 0), Create(0, 1, 0), Bind(0, 0, 0), OpenList(0),
      ShareRefused(0, 1, 0, kDriverInvalid), CloseList(0), Share(0, 1, 0), Draw(0, 0, 2),
      Release(0), Delete(0, 0), Delete(1, 1)}},
    {"MovedToAnotherThreadAndBack",
     {Create(0, 0, 0), Bind(0, 0, 0), Draw(0, 0, 1), Release(0), Bind(1, 0, 0), Draw(1, 0, 3),
      Release(1), Bind(0, 0, 0), Draw(0, 0, 2), Release(0), Delete(1, 0)}},
    {"MovedToAnotherThreadsWindow",
     {Create(0, 0, 0), Bind(0, 0, 0), Draw(0, 0, 1), Release(0), Bind(1, 0, 1), Draw(1, 1, 2),
      Draw(1, 1, 3), Release(1), Bind(0, 0, 0), Draw(0, 0, 0), Delete(0, 0)}},
    {"MovedWithoutAReleaseBetweenBinds",
     // Binding another context releases the thread's first: context 0 is
     // then free for the other thread.
     {Create(0, 0, 0), Create(1, 1, 1), Bind(0, 0, 0), Draw(0, 0, 1), Bind(0, 1, 0), Draw(0, 0, 2),
      Bind(1, 0, 1), Draw(1, 1, 3), BindRefused(1, 1, 1, kBusy), DrawNothing(1, 1, 0, 3),
      Draw(0, 0, 1), Release(0), Bind(1, 1, 1), Draw(1, 1, 0), Release(1), Delete(1, 0),
      Delete(0, 1)}},
    {"BindingWhileCurrentElsewhereIsRefused",
     {Create(0, 0, 0), Bind(0, 0, 0), Draw(0, 0, 1), BindRefused(1, 0, 0, kBusy),
      BindRefused(1, 0, 1, kBusy), DrawNothing(1, 1, 2, 3), Draw(0, 0, 2), Release(0),
      Bind(1, 0, 1), Draw(1, 1, 1), BindRefused(0, 0, 0, kBusy), Draw(1, 1, 0), Release(1),
      Delete(0, 0)}},
    {"ARefusedBindReleasesTheThreadsOwnContext",
     {Create(0, 0, 0), Create(1, 1, 1), Bind(0, 0, 0), Bind(1, 1, 1), Draw(1, 1, 2),
      BindRefused(1, 0, 1, kBusy), DrawNothing(1, 1, 1, 2), Draw(0, 0, 3), Bind(0, 1, 0),
      Draw(0, 0, 1), Bind(1, 0, 1), Draw(1, 1, 0), Release(0), Release(1), Delete(0, 0),
      Delete(1, 1)}},
    {"DeletingWhileCurrentElsewhereIsRefused",
     {Create(0, 0, 0), Bind(0, 0, 0), Draw(0, 0, 1), DeleteRefused(1, 0, kBusy), Draw(0, 0, 2),
      DeleteRefused(1, 0, kBusy), Draw(0, 0, 3), Release(0), Delete(1, 0)}},
    {"DeletingTheCallersCurrentContextReleasesIt",
     {Create(0, 0, 0), Bind(0, 0, 0), Draw(0, 0, 1), Delete(0, 0), DrawNothing(0, 0, 2, 1),
      Create(0, 1, 0), Bind(0, 1, 0), Draw(0, 0, 3), Delete(0, 1), DrawNothing(0, 0, 0, 3)}},
    {"DeletingOnAnotherThreadOnceReleased",
     {Create(0, 0, 0), Create(0, 1, 1), Bind(0, 0, 0), Draw(0, 0, 1), Release(0), Delete(1, 0),
      Bind(1, 1, 1), Draw(1, 1, 2), Delete(1, 1), DrawNothing(1, 1, 0, 2)}},
};

class ContextsBetweenThreads
    : public WglThreadsTest,
      public ::testing::WithParamInterface<std::tuple<Script, BufferSet>> {
 protected:
  // Shared by the two threads; each step runs on its own thread in turn.
  HGLRC contexts_[2] = {};
  HWND windows_[2] = {};
  std::vector<ScenePixels> reference_[2];

  void RunStep(size_t index, const Step &step, HDC dcs[2]) {
    const std::string where =
        "step " + std::to_string(index) + " on thread " + std::to_string(step.thread);
    HDC hdc = dcs[step.window];
    HGLRC &context = contexts_[step.context];
    switch (step.action) {
      case kCreate:
        context = wglCreateContext(hdc);
        EXPECT_NE(context, nullptr) << where;
        break;
      case kBind:
        EXPECT_TRUE(wglMakeCurrent(hdc, context)) << where << ": error " << GetLastError();
        EXPECT_EQ(wglGetCurrentContext(), context) << where;
        break;
      case kBindRefused: {
        SetLastError(0);
        EXPECT_FALSE(wglMakeCurrent(hdc, context)) << where;
        EXPECT_EQ(GetLastError(), step.error)
            << where << " (ERROR_BUSY is the loader's answer; 0xC0070057 the driver's)";
        // A binding releases what was current first, also when it then fails.
        EXPECT_EQ(wglGetCurrentContext(), nullptr) << where;
        break;
      }
      case kRelease:
        EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr)) << where;
        EXPECT_EQ(wglGetCurrentContext(), nullptr) << where;
        break;
      case kDelete:
        EXPECT_TRUE(wglDeleteContext(context)) << where << ": error " << GetLastError();
        EXPECT_NE(wglGetCurrentContext(), context) << where;
        context = nullptr;
        break;
      case kDeleteRefused:
        SetLastError(0);
        EXPECT_FALSE(wglDeleteContext(context)) << where;
        EXPECT_EQ(GetLastError(), step.error) << where;
        break;
      case kDraw: {
        DrawSceneFrame(hdc, step.variant, true);
        SceneDifference d = CompareScenes(reference_[step.window][size_t(step.variant)],
                                          ReadScene(windows_[step.window]));
        EXPECT_EQ(d.count, 0) << where << ", variant " << step.variant << ": "
                              << DescribeDifference(d);
        break;
      }
      case kShare:
        EXPECT_TRUE(wglShareLists(context, contexts_[step.other])) << where;
        break;
      case kShareRefused:
        SetLastError(0);
        EXPECT_FALSE(wglShareLists(context, contexts_[step.other])) << where;
        EXPECT_EQ(GetLastError(), step.error) << where;
        break;
      case kCopy:
        EXPECT_TRUE(wglCopyContext(context, contexts_[step.other], kEveryAttribute))
            << where << ": error 0x" << std::hex << GetLastError();
        break;
      case kCopyRefused:
        SetLastError(0);
        EXPECT_FALSE(wglCopyContext(context, contexts_[step.other], kEveryAttribute)) << where;
        EXPECT_EQ(GetLastError(), step.error) << where;
        break;
      case kOpenList:
        glNewList(1, GL_COMPILE);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << where;
        break;
      case kCloseList:
        glEndList();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << where;
        break;
      case kDrawNothing: {
        EXPECT_EQ(wglGetCurrentContext(), nullptr) << where;
        ScenePixels before = ReadScene(windows_[step.window]);
        DrawSceneFrame(hdc, step.variant, true);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << where;
        ScenePixels after = ReadScene(windows_[step.window]);
        EXPECT_EQ(CompareScenes(before, after).count, 0) << where << ": drawn with nothing bound";
        if (step.kept >= 0) {
          SceneDifference d = CompareScenes(reference_[step.window][size_t(step.kept)], after);
          EXPECT_EQ(d.count, 0) << where << ", kept variant " << step.kept << ": "
                                << DescribeDifference(d);
        }
        break;
      }
    }
  }
};

TEST_P(ContextsBetweenThreads, EveryStepDoesWhatItShould) {
  const std::vector<Step> &steps = std::get<0>(GetParam()).steps;
  UseBufferSet(std::get<1>(GetParam()));
  TestMutex lock;
  std::condition_variable_any turn;
  size_t next = 0;
  bool windowsReady[2] = {false, false};
  Stages stages;
  Rendezvous meet(2);

  auto worker = [&](int me) {
    ThreadWindow own;
    // One after the other: the window, its references, then the other's.
    stages.WaitFor(me);
    windowsReady[me] = own.Open(me, true);
    if (windowsReady[me]) reference_[me] = DrawReferenceScenes(own.hwnd, own.hdc, true);
    windows_[me] = own.hwnd;
    stages.Reach(me + 1);
    stages.WaitFor(2);
    ThreadWindow other;
    bool ready = windowsReady[0] && windowsReady[1] && other.Share(windows_[1 - me]);
    HDC dcs[2];
    dcs[me] = own.hdc;
    dcs[1 - me] = other.hdc;
    meet.Meet();  // both have their device contexts
    for (;;) {
      std::unique_lock<TestMutex> hold(lock);
      turn.wait(hold, [&] { return next >= steps.size() || steps[next].thread == me; });
      if (next >= steps.size()) break;
      size_t index = next;
      hold.unlock();
      if (ready) RunStep(index, steps[index], dcs);
      hold.lock();
      next = index + 1;
      turn.notify_all();
    }
    wglMakeCurrent(nullptr, nullptr);
    // The windows stay until both threads are done with them.
    meet.Meet();
    other.Close(false);
    own.Close(true);
  };
  std::thread first(worker, 0), second(worker, 1);
  first.join();
  second.join();
  ASSERT_TRUE(windowsReady[0] && windowsReady[1]) << "no windows, formats or references";
  for (HGLRC left : contexts_) {
    if (left) {
      EXPECT_TRUE(wglDeleteContext(left));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, ContextsBetweenThreads,
                         ::testing::Combine(::testing::ValuesIn(kScripts),
                                            ::testing::ValuesIn(kBufferSets)),
                         RowOnSetName());

}  // namespace
