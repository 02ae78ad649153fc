// Call-window hooks: which messages reach them, with which parameters, on
// which thread and when; the chain; removal from any thread; refusals.
#include <condition_variable>
#include <mutex>
#include <thread>

#include "tests/platform/windows/desktop_fixture.h"

namespace {

struct Seen {
  DWORD thread;
  int code;
  WPARAM sentBySameThread;
  UINT message;
  HWND hwnd;
  WPARAM wParam;
  LPARAM lParam;
  WINDOWPOS pos;
  BOOL windowExists;  // asked from inside the hook, which calls back into the platform
};

std::mutex seenLock;
std::vector<Seen> seen;
HHOOK recorderHandle[2];  // by installing thread: 0 the test's, 1 a worker's

std::vector<Seen> Take() {
  std::lock_guard<std::mutex> hold(seenLock);
  std::vector<Seen> out;
  out.swap(seen);
  return out;
}

LRESULT Record(int slot, int code, WPARAM wParam, LPARAM lParam) {
  const CWPSTRUCT *m = reinterpret_cast<const CWPSTRUCT *>(lParam);
  Seen s = {GetCurrentThreadId(), code, wParam, m->message, m->hwnd, m->wParam, m->lParam, {}, IsWindow(m->hwnd)};
  if (m->message == WM_WINDOWPOSCHANGED) s.pos = *reinterpret_cast<const WINDOWPOS *>(m->lParam);
  {
    std::lock_guard<std::mutex> hold(seenLock);
    seen.push_back(s);
  }
  return CallNextHookEx(recorderHandle[slot], code, wParam, lParam);
}

LRESULT WINAPI Recorder(int code, WPARAM wParam, LPARAM lParam) { return Record(0, code, wParam, lParam); }
LRESULT WINAPI WorkerRecorder(int code, WPARAM wParam, LPARAM lParam) { return Record(1, code, wParam, lParam); }

// Steps two threads through a scenario in turn.
class Baton {
 public:
  void Pass(int to) {
    std::lock_guard<std::mutex> hold(lock_);
    step_ = to;
    changed_.notify_all();
  }
  void Await(int step) {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [&] { return step_ == step; });
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  int step_ = 0;
};

class Hooks : public DesktopTest {
 protected:
  void SetUp() override { Take(); }
  void TearDown() override {
    if (recorderHandle[0]) UnhookWindowsHookEx(recorderHandle[0]);
    recorderHandle[0] = nullptr;
    DesktopTest::TearDown();
    Take();
  }
  void Install() {
    recorderHandle[0] = SetWindowsHookExA(WH_CALLWNDPROC, &Recorder, nullptr, GetCurrentThreadId());
    ASSERT_NE(recorderHandle[0], nullptr);
  }
};

TEST_F(Hooks, TheFourMessagesArriveAtOnceOnTheThreadThatCausedThem) {
  struct Expect {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  struct Case {
    const char *name;
    void (*setUp)(HWND w);  // messages it causes are not looked at
    void (*act)(HWND w);
    std::vector<Expect> expected;
  } const cases[] = {
      {"move and resize", [](HWND) {}, [](HWND w) { MoveWindow(w, 5, 6, 70, 80, TRUE); },
       {{WM_WINDOWPOSCHANGED, 0, 0}}},
      {"destroy", [](HWND) {}, [](HWND w) { DestroyWindow(w); }, {{WM_DESTROY, 0, 0}}},
      {"display change to 15 bits", [](HWND) {}, [](HWND) { DesktopSetDisplayMode(15, 800, 600); },
       {{WM_DISPLAYCHANGE, 16, MAKELPARAM(800, 600)}}},
      {"display change to 32 bits", [](HWND) {}, [](HWND) { DesktopSetDisplayMode(32, 640, 480); },
       {{WM_DISPLAYCHANGE, 32, MAKELPARAM(640, 480)}}},
      {"system palette set", [](HWND) { DesktopSetDisplayMode(8, 640, 480); },
       [](HWND) {
         PALETTEENTRY entries[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
         DesktopSetSystemPalette(10, 2, entries);
       },
       {{WM_PALETTECHANGED, 0, 0}}},
      {"palette realized in the window", [](HWND) { DesktopSetDisplayMode(8, 640, 480); },
       [](HWND w) {
         LOGPALETTE lp = {0x300, 1, {{9, 8, 7, 0}}};
         HPALETTE palette = CreatePalette(&lp);
         HDC dc = GetDC(w);
         HPALETTE old = SelectPalette(dc, palette, FALSE);
         RealizePalette(dc);
         RealizePalette(dc);  // nothing changes the second time
         SelectPalette(dc, old, FALSE);
         ReleaseDC(w, dc);
         DeleteObject(palette);
       },
       {{WM_PALETTECHANGED, 1 /* the window */, 0}}},
      {"palette realized in memory", [](HWND) { DesktopSetDisplayMode(8, 640, 480); },
       [](HWND) {
         LOGPALETTE lp = {0x300, 1, {{9, 8, 7, 0}}};
         HPALETTE palette = CreatePalette(&lp);
         HDC dc = CreateCompatibleDC(nullptr);
         SelectPalette(dc, palette, FALSE);
         RealizePalette(dc);
         DeleteDC(dc);
         DeleteObject(palette);
       },
       {}},
      {"palette set outside the 8-bit mode", [](HWND) {},
       [](HWND) {
         PALETTEENTRY entry = {1, 2, 3, 0};
         DesktopSetSystemPalette(0, 1, &entry);
       },
       {}},
  };
  for (const Case &c : cases) {
    HWND w = Window(10, 10, 50, 50);
    Install();
    c.setUp(w);
    Take();
    c.act(w);
    std::vector<Seen> got = Take();
    ASSERT_EQ(got.size(), c.expected.size()) << c.name;
    for (size_t i = 0; i < got.size(); ++i) {
      const Seen &s = got[i];
      const Expect &e = c.expected[i];
      EXPECT_EQ(s.thread, GetCurrentThreadId()) << c.name;
      EXPECT_EQ(s.code, HC_ACTION) << c.name;
      EXPECT_NE(s.sentBySameThread, 0u) << c.name;
      EXPECT_EQ(s.hwnd, w) << c.name;
      EXPECT_EQ(s.message, e.message) << c.name;
      EXPECT_TRUE(s.windowExists) << c.name;  // even WM_DESTROY comes while the handle works
      if (e.message == WM_WINDOWPOSCHANGED) continue;  // its record is checked below
      WPARAM wParam = e.message == WM_PALETTECHANGED && e.wParam == 1 ? reinterpret_cast<WPARAM>(w) : e.wParam;
      EXPECT_EQ(s.wParam, wParam) << c.name;
      EXPECT_EQ(s.lParam, e.lParam) << c.name;
    }
    UnhookWindowsHookEx(recorderHandle[0]);
    recorderHandle[0] = nullptr;
    if (IsWindow(w)) DestroyWindow(w);
    DesktopSetDisplayMode(16, 1024, 768);
  }
}

TEST_F(Hooks, WindowPositionRecordsSayWhatChanged) {
  struct Case {
    const char *name;
    BOOL (*act)(HWND w);
    RECT place;
    bool moved, sized;
  } const cases[] = {
      {"moved and resized", [](HWND w) { return MoveWindow(w, 5, 6, 70, 80, TRUE); }, {5, 6, 75, 86}, true, true},
      {"moved", [](HWND w) { return MoveWindow(w, 5, 6, 50, 40, TRUE); }, {5, 6, 55, 46}, true, false},
      {"resized", [](HWND w) { return SetWindowPos(w, HWND_TOP, 0, 0, 9, 8, SWP_NOMOVE); }, {10, 20, 19, 28},
       false, true},
      {"neither", [](HWND w) { return SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); },
       {10, 20, 60, 60}, false, false},
  };
  for (const Case &c : cases) {
    HWND w = Window(10, 20, 50, 40);
    Install();
    ASSERT_TRUE(c.act(w)) << c.name;
    std::vector<Seen> got = Take();
    ASSERT_EQ(got.size(), 1u) << c.name;
    const WINDOWPOS &p = got[0].pos;
    EXPECT_EQ(p.hwnd, w) << c.name;
    EXPECT_EQ((RECT{p.x, p.y, p.x + p.cx, p.y + p.cy}), c.place) << c.name;
    EXPECT_EQ((p.flags & SWP_NOMOVE) == 0, c.moved) << c.name;
    EXPECT_EQ((p.flags & SWP_NOSIZE) == 0, c.sized) << c.name;
    UnhookWindowsHookEx(recorderHandle[0]);
    recorderHandle[0] = nullptr;
    DestroyWindow(w);
  }
}

// A worker owns the window and its hook; the test's thread changes things.
// The worker hears of them only when it next calls the window manager.
TEST_F(Hooks, ChangesByAnotherThreadWaitForTheOwner) {
  Baton baton;
  HWND w = nullptr, spare = nullptr;
  DWORD workerId = 0;
  unsigned pumped = 0;
  std::vector<Seen> beforePump, afterPump, afterCreate, afterShow;
  std::thread worker([&] {
    workerId = GetCurrentThreadId();
    w = DesktopCreateWindow(10, 10, 50, 50);
    spare = DesktopCreateWindow(300, 300, 5, 5);
    recorderHandle[1] = SetWindowsHookExA(WH_CALLWNDPROC, &WorkerRecorder, nullptr, workerId);
    baton.Pass(1);
    baton.Await(2);
    RECT r;
    GetClientRect(spare, &r);  // a query delivers nothing
    beforePump = Take();
    pumped = DesktopPumpMessages();
    afterPump = Take();
    baton.Pass(3);
    baton.Await(4);
    HWND tiny = DesktopCreateWindow(0, 0, 1, 1);  // creating a window delivers first
    afterCreate = Take();
    baton.Pass(5);
    baton.Await(6);
    ShowWindow(spare, SW_SHOW);  // delivers first, also when nothing changes
    afterShow = Take();
    UnhookWindowsHookEx(recorderHandle[1]);
    DestroyWindow(tiny);
    DestroyWindow(spare);
  });
  baton.Await(1);
  Install();  // the test's own hook must hear nothing of the worker's window
  ASSERT_TRUE(MoveWindow(w, 20, 30, 40, 50, TRUE));
  ASSERT_TRUE(DesktopSetDisplayMode(24, 800, 600));
  ASSERT_TRUE(DestroyWindow(w));
  EXPECT_FALSE(IsWindow(w));  // gone at once for everyone but the owner's hooks
  EXPECT_EQ(DesktopPumpMessages(), 0u);  // nothing here is for this thread
  EXPECT_TRUE(Take().empty());
  baton.Pass(2);
  baton.Await(3);
  ASSERT_TRUE(MoveWindow(spare, 0, 0, 5, 5, TRUE));
  baton.Pass(4);
  baton.Await(5);
  ASSERT_TRUE(MoveWindow(spare, 1, 1, 5, 5, TRUE));
  baton.Pass(6);
  worker.join();

  EXPECT_TRUE(beforePump.empty());
  EXPECT_EQ(pumped, 4u);
  ASSERT_EQ(afterPump.size(), 4u);
  const UINT order[4] = {WM_WINDOWPOSCHANGED, WM_DISPLAYCHANGE, WM_DISPLAYCHANGE, WM_DESTROY};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(afterPump[i].message, order[i]) << i;
    EXPECT_EQ(afterPump[i].thread, workerId) << i;
    EXPECT_EQ(afterPump[i].sentBySameThread, 0u) << i;
  }
  EXPECT_EQ(afterPump[0].hwnd, w);
  EXPECT_EQ((RECT{afterPump[0].pos.x, afterPump[0].pos.y, afterPump[0].pos.cx, afterPump[0].pos.cy}),
            (RECT{20, 30, 40, 50}));
  // Both of the worker's windows hear of the display change.
  EXPECT_EQ(afterPump[1].wParam, 24u);
  EXPECT_EQ(afterPump[1].lParam, MAKELPARAM(800, 600));
  EXPECT_NE(afterPump[1].hwnd, afterPump[2].hwnd);
  EXPECT_EQ(afterPump[3].hwnd, w);
  EXPECT_FALSE(afterPump[3].windowExists);
  ASSERT_EQ(afterCreate.size(), 1u);
  EXPECT_EQ(afterCreate[0].hwnd, spare);
  EXPECT_EQ(afterCreate[0].message, WM_WINDOWPOSCHANGED);
  ASSERT_EQ(afterShow.size(), 1u);
  EXPECT_EQ(afterShow[0].hwnd, spare);
  EXPECT_EQ(afterShow[0].message, WM_WINDOWPOSCHANGED);
}

// Each of the four messages, caused by the test's thread for a worker's
// window, reaches the worker's hook with its parameters when the worker pumps.
TEST_F(Hooks, EachMessageCausedElsewhereReachesTheOwnerWithItsParameters) {
  struct Case {
    const char *name;
    void (*setUp)();  // before the worker has its window
    void (*act)(HWND w, HWND mine);
    UINT message;
    WPARAM wParam;  // for WM_PALETTECHANGED: 1 stands for the test's own window
    LPARAM lParam;
  } const cases[] = {
      {"moved and resized", [] {}, [](HWND w, HWND) { MoveWindow(w, 7, 8, 30, 20, TRUE); }, WM_WINDOWPOSCHANGED, 0,
       0},
      {"destroyed", [] {}, [](HWND w, HWND) { DestroyWindow(w); }, WM_DESTROY, 0, 0},
      {"display changed to 15 bits", [] {}, [](HWND, HWND) { DesktopSetDisplayMode(15, 640, 480); },
       WM_DISPLAYCHANGE, 16, MAKELPARAM(640, 480)},
      {"display changed to 8 bits", [] {}, [](HWND, HWND) { DesktopSetDisplayMode(8, 800, 600); }, WM_DISPLAYCHANGE,
       8, MAKELPARAM(800, 600)},
      {"system palette set", [] { DesktopSetDisplayMode(8, 640, 480); },
       [](HWND, HWND) {
         PALETTEENTRY entry = {1, 2, 3, 0};
         DesktopSetSystemPalette(20, 1, &entry);
       },
       WM_PALETTECHANGED, 0, 0},
      {"palette realized in another window", [] { DesktopSetDisplayMode(8, 640, 480); },
       [](HWND, HWND mine) {
         LOGPALETTE lp = {0x300, 1, {{9, 8, 7, 0}}};
         HPALETTE palette = CreatePalette(&lp);
         HDC dc = GetDC(mine);
         HPALETTE old = SelectPalette(dc, palette, FALSE);
         RealizePalette(dc);
         SelectPalette(dc, old, FALSE);
         ReleaseDC(mine, dc);
         DeleteObject(palette);
       },
       WM_PALETTECHANGED, 1, 0},
  };
  for (const Case &c : cases) {
    c.setUp();
    HWND mine = Window(500, 500, 10, 10);
    Baton baton;
    HWND w = nullptr;
    DWORD workerId = 0;
    std::vector<Seen> before, got;
    std::thread worker([&] {
      workerId = GetCurrentThreadId();
      w = DesktopCreateWindow(10, 10, 50, 50);
      recorderHandle[1] = SetWindowsHookExA(WH_CALLWNDPROC, &WorkerRecorder, nullptr, workerId);
      baton.Pass(1);
      baton.Await(2);
      before = Take();
      DesktopPumpMessages();
      got = Take();
      UnhookWindowsHookEx(recorderHandle[1]);
      if (IsWindow(w)) DestroyWindow(w);
    });
    baton.Await(1);
    c.act(w, mine);
    Take();  // what the test's own window heard
    baton.Pass(2);
    worker.join();
    EXPECT_TRUE(before.empty()) << c.name;
    ASSERT_EQ(got.size(), 1u) << c.name;
    const Seen &s = got[0];
    EXPECT_EQ(s.thread, workerId) << c.name;
    EXPECT_EQ(s.code, HC_ACTION) << c.name;
    EXPECT_EQ(s.sentBySameThread, 0u) << c.name;
    EXPECT_EQ(s.hwnd, w) << c.name;
    EXPECT_EQ(s.message, c.message) << c.name;
    if (c.message == WM_WINDOWPOSCHANGED) {
      EXPECT_EQ(s.pos.hwnd, w);
      EXPECT_EQ((RECT{s.pos.x, s.pos.y, s.pos.cx, s.pos.cy}), (RECT{7, 8, 30, 20}));
    } else {
      WPARAM wParam = c.wParam == 1 && c.message == WM_PALETTECHANGED ? reinterpret_cast<WPARAM>(mine) : c.wParam;
      EXPECT_EQ(s.wParam, wParam) << c.name;
      EXPECT_EQ(s.lParam, c.lParam) << c.name;
    }
    DestroyWindow(mine);
    DesktopSetDisplayMode(16, 1024, 768);
  }
}

// A window is destroyed once, even when its destruction is asked for again
// while its owner's hooks hear WM_DESTROY: by the hook itself, or by another
// thread meanwhile.
HWND destroyedTwice;
BOOL againResult;
DWORD againError;
int againDepth;
LRESULT WINAPI DestroysAgain(int code, WPARAM wParam, LPARAM lParam) {
  const CWPSTRUCT *m = reinterpret_cast<const CWPSTRUCT *>(lParam);
  if (m->message == WM_DESTROY && m->hwnd == destroyedTwice && againDepth++ == 0) {
    SetLastError(0);
    againResult = DestroyWindow(destroyedTwice);
    againError = GetLastError();
  }
  return Recorder(code, wParam, lParam);
}

LRESULT WINAPI AnotherThreadDestroysAgain(int code, WPARAM wParam, LPARAM lParam) {
  const CWPSTRUCT *m = reinterpret_cast<const CWPSTRUCT *>(lParam);
  if (m->message == WM_DESTROY && m->hwnd == destroyedTwice && againDepth++ == 0) {
    std::thread([] {
      SetLastError(0);
      againResult = DestroyWindow(destroyedTwice);
      againError = GetLastError();
    }).join();
  }
  return Recorder(code, wParam, lParam);
}

TEST_F(Hooks, AWindowIsDestroyedOnce) {
  struct Case {
    const char *name;
    HOOKPROC hook;
  } const cases[] = {
      {"the owner's hook destroys it again", &DestroysAgain},
      {"another thread destroys it meanwhile", &AnotherThreadDestroysAgain},
  };
  for (const Case &c : cases) {
    destroyedTwice = DesktopCreateWindow(0, 0, 10, 10);
    againDepth = 0;
    againResult = TRUE;
    againError = 0;
    recorderHandle[0] = SetWindowsHookExA(WH_CALLWNDPROC, c.hook, nullptr, GetCurrentThreadId());
    ASSERT_NE(recorderHandle[0], nullptr);
    EXPECT_TRUE(DestroyWindow(destroyedTwice)) << c.name;
    DesktopPumpMessages();
    std::vector<Seen> got = Take();
    ASSERT_EQ(got.size(), 1u) << c.name;
    EXPECT_EQ(got[0].message, WM_DESTROY) << c.name;
    EXPECT_FALSE(againResult) << c.name;
    EXPECT_EQ(againError, (DWORD)ERROR_INVALID_WINDOW_HANDLE) << c.name;
    EXPECT_FALSE(IsWindow(destroyedTwice)) << c.name;
    UnhookWindowsHookEx(recorderHandle[0]);
    recorderHandle[0] = nullptr;
  }
}

// A hook installed from one thread for another runs on the watched thread.
TEST_F(Hooks, AHookForAnotherThreadRunsThere) {
  Baton baton;
  DWORD workerId = 0;
  std::thread worker([&] {
    workerId = GetCurrentThreadId();
    baton.Pass(1);
    baton.Await(2);
    HWND w = DesktopCreateWindow(0, 0, 10, 10);
    MoveWindow(w, 1, 1, 10, 10, TRUE);
    DestroyWindow(w);
  });
  baton.Await(1);
  recorderHandle[1] = SetWindowsHookExA(WH_CALLWNDPROC, &WorkerRecorder, nullptr, workerId);
  ASSERT_NE(recorderHandle[1], nullptr);
  baton.Pass(2);
  worker.join();
  std::vector<Seen> got = Take();
  ASSERT_EQ(got.size(), 2u);
  for (const Seen &s : got) {
    EXPECT_EQ(s.thread, workerId);
    EXPECT_NE(s.sentBySameThread, 0u);
  }
  // The thread has ended; its hook stays until someone removes it.
  EXPECT_TRUE(UnhookWindowsHookEx(recorderHandle[1]));
}

TEST_F(Hooks, AnotherThreadMayRemoveAHook) {
  Baton baton;
  HWND w = nullptr;
  std::vector<Seen> got;
  std::thread worker([&] {
    w = DesktopCreateWindow(0, 0, 10, 10);
    recorderHandle[1] = SetWindowsHookExA(WH_CALLWNDPROC, &WorkerRecorder, nullptr, GetCurrentThreadId());
    baton.Pass(1);
    baton.Await(2);
    MoveWindow(w, 5, 5, 10, 10, TRUE);
    got = Take();
    DestroyWindow(w);
  });
  baton.Await(1);
  ASSERT_NE(recorderHandle[1], nullptr);
  EXPECT_TRUE(UnhookWindowsHookEx(recorderHandle[1]));
  SetLastError(0);
  EXPECT_FALSE(UnhookWindowsHookEx(recorderHandle[1]));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HOOK_HANDLE);
  baton.Pass(2);
  worker.join();
  EXPECT_TRUE(got.empty());
}

// The chain: the latest hook first; each decides whether the older ones hear.
struct Chain {
  HHOOK handle[3];
  std::vector<int> calls;
  LRESULT fromNext[3];
} chain;

template <int N>
LRESULT WINAPI Link(int code, WPARAM wParam, LPARAM lParam) {
  chain.calls.push_back(N);
  if (N == 2) return 99;  // the newest hook keeps the message to itself when armed
  chain.fromNext[N] = CallNextHookEx(chain.handle[N], code, wParam, lParam);
  return 10 + N;
}

TEST_F(Hooks, TheLatestHookRunsFirstAndPassesTheMessageOn) {
  HWND w = Window(0, 0, 10, 10);
  DWORD self = GetCurrentThreadId();
  chain = {};
  chain.handle[0] = SetWindowsHookExA(WH_CALLWNDPROC, &Link<0>, nullptr, self);
  chain.handle[1] = SetWindowsHookExW(WH_CALLWNDPROC, &Link<1>, nullptr, self);
  MoveWindow(w, 1, 1, 10, 10, TRUE);
  EXPECT_EQ(chain.calls, (std::vector<int>{1, 0}));
  EXPECT_EQ(chain.fromNext[1], 10);  // what the older hook gave
  EXPECT_EQ(chain.fromNext[0], 0);   // the end of the chain

  chain.calls.clear();
  chain.handle[2] = SetWindowsHookExA(WH_CALLWNDPROC, &Link<2>, nullptr, self);
  MoveWindow(w, 2, 2, 10, 10, TRUE);
  EXPECT_EQ(chain.calls, (std::vector<int>{2}));

  chain.calls.clear();
  UnhookWindowsHookEx(chain.handle[2]);
  UnhookWindowsHookEx(chain.handle[1]);
  MoveWindow(w, 3, 3, 10, 10, TRUE);
  EXPECT_EQ(chain.calls, (std::vector<int>{0}));
  UnhookWindowsHookEx(chain.handle[0]);
  // A removed hook's handle ends the chain.
  EXPECT_EQ(CallNextHookEx(chain.handle[0], HC_ACTION, 0, 0), 0);
}

// A hook may change windows itself; what it causes is sent to it at once.
HWND chained[2];
LRESULT WINAPI MovesTheOther(int code, WPARAM wParam, LPARAM lParam) {
  Recorder(code, wParam, lParam);
  const CWPSTRUCT *m = reinterpret_cast<const CWPSTRUCT *>(lParam);
  if (m->hwnd == chained[0]) MoveWindow(chained[1], 100, 100, 5, 5, TRUE);
  return 0;
}

TEST_F(Hooks, AHookMayCallBackIntoTheWindowManager) {
  chained[0] = Window(0, 0, 10, 10);
  chained[1] = Window(50, 50, 10, 10);
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &MovesTheOther, nullptr, GetCurrentThreadId());
  ASSERT_TRUE(MoveWindow(chained[0], 1, 1, 10, 10, TRUE));
  std::vector<Seen> got = Take();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].hwnd, chained[0]);
  EXPECT_EQ(got[1].hwnd, chained[1]);
  EXPECT_EQ(got[1].pos.x, 100);
  UnhookWindowsHookEx(hook);
}

TEST_F(Hooks, InstallingRefusesWhatIsNotOffered) {
  DWORD self = GetCurrentThreadId();
  struct Case {
    const char *name;
    int type;
    HOOKPROC proc;
    DWORD thread;
    DWORD error;
  } const cases[] = {
      {"another hook type", 5, &Recorder, self, ERROR_INVALID_HOOK_FILTER},
      {"no procedure", WH_CALLWNDPROC, nullptr, self, ERROR_INVALID_FILTER_PROC},
      {"every thread", WH_CALLWNDPROC, &Recorder, 0, ERROR_INVALID_PARAMETER},
      {"no such thread", WH_CALLWNDPROC, &Recorder, 0x7FFFFFF0u, ERROR_INVALID_PARAMETER},
  };
  for (const Case &c : cases) {
    SetLastError(0);
    EXPECT_EQ(SetWindowsHookExA(c.type, c.proc, nullptr, c.thread), nullptr) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
  }
  struct Fault {
    const char *call;
    DWORD armed, expected;
  } const faults[] = {
      {"SetWindowsHookExA", 0, ERROR_NOT_ENOUGH_MEMORY},
      {"SetWindowsHookExA", ERROR_DLL_INIT_FAILED, ERROR_DLL_INIT_FAILED},
  };
  for (const Fault &f : faults) {
    PlatformArmFault({f.call, nullptr, 0, 1, f.armed});
    SetLastError(0);
    EXPECT_EQ(SetWindowsHookExA(WH_CALLWNDPROC, &Recorder, nullptr, self), nullptr);
    EXPECT_EQ(GetLastError(), f.expected);
    PlatformClearFaults();
  }
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &Recorder, nullptr, self);
  ASSERT_NE(hook, nullptr);
  PlatformArmFault({"UnhookWindowsHookEx", nullptr, 0, 1, 0});
  EXPECT_FALSE(UnhookWindowsHookEx(hook));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HOOK_HANDLE);
  EXPECT_TRUE(UnhookWindowsHookEx(hook));  // the hook stayed installed
}

}  // namespace
