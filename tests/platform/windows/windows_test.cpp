// The window model: visible regions of overlapping and off-screen windows,
// z-order, visibility, geometry queries, reading windows back, and what
// goes wrong on purpose or by bad input.
#include <thread>

#include "tests/platform/windows/desktop_fixture.h"

namespace {

using Windows = DesktopTest;

TEST_F(Windows, VisibleRegionsFollowOverlapsAndTheScreenEdge) {
  struct Case {
    const char *name;
    std::vector<RECT> windows;  // created in order: later ones on top
    size_t which;
    std::vector<RECT> expected;  // bands from the top, left to right
  } const cases[] = {
      {"alone", {{10, 20, 110, 70}}, 0, {{10, 20, 110, 70}}},
      {"off the left and top", {{-50, -20, 50, 30}}, 0, {{0, 0, 50, 30}}},
      {"off the right and bottom", {{1000, 700, 1100, 800}}, 0, {{1000, 700, 1024, 768}}},
      {"wholly off the screen", {{2000, 10, 2100, 50}}, 0, {}},
      {"no size", {{10, 10, 10, 30}}, 0, {}},
      {"hole in the middle",
       {{0, 0, 100, 100}, {25, 25, 75, 75}},
       0,
       {{0, 0, 100, 25}, {0, 25, 25, 75}, {75, 25, 100, 75}, {0, 75, 100, 100}}},
      {"corner covered", {{0, 0, 100, 100}, {50, 50, 150, 150}}, 0, {{0, 0, 100, 50}, {0, 50, 50, 100}}},
      {"the top one is whole", {{0, 0, 100, 100}, {50, 50, 150, 150}}, 1, {{50, 50, 150, 150}}},
      {"wholly covered", {{10, 10, 20, 20}, {0, 0, 100, 100}}, 0, {}},
      {"strip between two", {{0, 0, 90, 30}, {0, 0, 30, 30}, {60, 0, 90, 30}}, 0, {{30, 0, 60, 30}}},
      {"covers meet", {{0, 0, 90, 30}, {0, 0, 45, 30}, {45, 0, 90, 30}}, 0, {}},
      {"cover off the screen only", {{-10, 0, 50, 50}, {-100, 0, 0, 50}}, 0, {{0, 0, 50, 50}}},
      {"bands join again below a cover",
       {{0, 0, 60, 60}, {20, 0, 40, 20}},
       0,
       {{0, 0, 20, 20}, {40, 0, 60, 20}, {0, 20, 60, 60}}},
  };
  for (const Case &c : cases) {
    std::vector<HWND> made;
    for (const RECT &r : c.windows) made.push_back(Window(r.left, r.top, r.right - r.left, r.bottom - r.top));
    EXPECT_EQ(VisibleRects(made[c.which]), c.expected) << c.name;
    for (HWND w : made) DestroyWindow(w);
  }
}

// Every pixel of the screen belongs to at most one window: the topmost there.
// Checked pixel by pixel against the visible rectangles of many layouts.
TEST_F(Windows, VisibleRegionsAgreeWithThePixelsEachWindowOwns) {
  ASSERT_TRUE(DesktopSetDisplayMode(16, 160, 120));
  unsigned seed = 12345;
  auto next = [&seed](int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<unsigned>(range));
  };
  for (int layout = 0; layout < 40; ++layout) {
    std::vector<RECT> rects;
    std::vector<HWND> made;
    for (int i = 0; i < 5; ++i) {
      RECT r;
      r.left = next(220) - 40;
      r.top = next(180) - 40;
      r.right = r.left + next(120);
      r.bottom = r.top + next(100);
      rects.push_back(r);
      made.push_back(Window(r.left, r.top, r.right - r.left, r.bottom - r.top));
    }
    std::vector<int> owner(160 * 120, -1);  // by brute force
    for (int i = 0; i < 5; ++i)
      for (LONG y = std::max(0L, rects[i].top); y < std::min(120L, rects[i].bottom); ++y)
        for (LONG x = std::max(0L, rects[i].left); x < std::min(160L, rects[i].right); ++x)
          owner[y * 160 + x] = i;
    std::vector<int> claimed(160 * 120, -1);
    for (int i = 0; i < 5; ++i) {
      std::vector<RECT> visible = VisibleRects(made[i]);
      for (size_t k = 0; k < visible.size(); ++k) {
        const RECT &r = visible[k];
        ASSERT_LT(r.left, r.right);
        ASSERT_LT(r.top, r.bottom);
        // Bands from the top; within a band, left to right without touching.
        if (k > 0) {
          const RECT &p = visible[k - 1];
          bool sameBand = p.top == r.top && p.bottom == r.bottom;
          EXPECT_TRUE(sameBand ? p.right < r.left : p.bottom <= r.top) << "layout " << layout;
        }
        for (LONG y = r.top; y < r.bottom; ++y)
          for (LONG x = r.left; x < r.right; ++x) {
            ASSERT_EQ(claimed[y * 160 + x], -1) << "rectangles overlap, layout " << layout;
            claimed[y * 160 + x] = i;
          }
      }
    }
    EXPECT_EQ(claimed, owner) << "layout " << layout;
    for (HWND w : made) DestroyWindow(w);
  }
}

TEST_F(Windows, ZOrderAndVisibilityChangeWhatIsCovered) {
  const RECT a = {0, 0, 100, 100}, b = {50, 0, 150, 100};
  const std::vector<RECT> aCut = {{0, 0, 50, 100}}, bCut = {{100, 0, 150, 100}};
  const std::vector<RECT> aWhole = {a}, bWhole = {b}, none = {};
  struct Case {
    const char *name;
    bool (*change)(HWND a, HWND b);
    std::vector<RECT> a, b;
  } const cases[] = {
      {"the later window is on top", [](HWND, HWND) { return true; }, aCut, bWhole},
      {"the top window goes to the bottom",
       [](HWND, HWND b) { return SetWindowPos(b, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE) != 0; },
       aWhole, bCut},
      {"the bottom window comes to the top",
       [](HWND a, HWND) { return SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE) != 0; },
       aWhole, bCut},
      {"placed below another",
       [](HWND a, HWND b) {
         return SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE) &&
                SetWindowPos(a, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
       },
       aCut, bWhole},
      {"the top window hidden", [](HWND, HWND b) { return ShowWindow(b, SW_HIDE) != 0; }, aWhole, none},
      {"hidden and shown again",
       [](HWND, HWND b) { return ShowWindow(b, SW_HIDE) && !ShowWindow(b, SW_SHOW); }, aCut, bWhole},
      {"moved apart", [](HWND, HWND b) { return MoveWindow(b, 200, 0, 100, 100, TRUE) != 0; }, aWhole,
       {{200, 0, 300, 100}}},
      {"z-order kept by a move",
       [](HWND a, HWND) { return MoveWindow(a, 10, 0, 100, 100, TRUE) != 0; },
       {{10, 0, 50, 100}}, bWhole},
  };
  for (const Case &c : cases) {
    HWND wa = Window(a.left, a.top, 100, 100), wb = Window(b.left, b.top, 100, 100);
    EXPECT_TRUE(c.change(wa, wb)) << c.name;
    EXPECT_EQ(VisibleRects(wa), c.a) << c.name;
    EXPECT_EQ(VisibleRects(wb), c.b) << c.name;
    DestroyWindow(wa);
    DestroyWindow(wb);
  }
}

TEST_F(Windows, GeometryFollowsMovesAndResizes) {
  struct Case {
    const char *name;
    BOOL (*change)(HWND);
    RECT screen;  // the client area on the screen afterwards
  } const cases[] = {
      {"as created", [](HWND) { return TRUE; }, {10, 20, 110, 70}},
      {"moved and resized", [](HWND w) { return MoveWindow(w, -5, 7, 30, 40, TRUE); }, {-5, 7, 25, 47}},
      {"moved only", [](HWND w) { return SetWindowPos(w, HWND_TOP, 3, 4, 999, 999, SWP_NOSIZE); },
       {3, 4, 103, 54}},
      {"resized only", [](HWND w) { return SetWindowPos(w, HWND_TOP, 999, 999, 8, 9, SWP_NOMOVE); },
       {10, 20, 18, 29}},
      {"negative sizes become empty", [](HWND w) { return MoveWindow(w, 1, 2, -3, -4, TRUE); },
       {1, 2, 1, 2}},
  };
  for (const Case &c : cases) {
    HWND w = Window(10, 20, 100, 50);
    ASSERT_TRUE(c.change(w)) << c.name;
    RECT client, window;
    POINT origin = {0, 0}, corner = {2, 3};
    ASSERT_TRUE(GetClientRect(w, &client));
    ASSERT_TRUE(GetWindowRect(w, &window));
    ASSERT_TRUE(ClientToScreen(w, &origin));
    ASSERT_TRUE(ClientToScreen(w, &corner));
    EXPECT_EQ(client, (RECT{0, 0, c.screen.right - c.screen.left, c.screen.bottom - c.screen.top})) << c.name;
    EXPECT_EQ(window, c.screen) << c.name;  // no frame: the window is its client area
    EXPECT_EQ(origin.x, c.screen.left) << c.name;
    EXPECT_EQ(origin.y, c.screen.top) << c.name;
    EXPECT_EQ(corner.x, c.screen.left + 2) << c.name;
    EXPECT_EQ(corner.y, c.screen.top + 3) << c.name;
    DestroyWindow(w);
  }
}

// Any point converts; far ones wrap around as the platform's 32-bit sums do.
TEST_F(Windows, ClientToScreenTakesAnyPoint) {
  constexpr LONG kMax = 0x7FFFFFFF, kMin = -kMax - 1;
  HWND w = Window(10, -20, 5, 5);
  struct Case {
    POINT client, screen;
  } const cases[] = {
      {{0, 0}, {10, -20}},
      {{kMax - 10, kMin + 20}, {kMax, kMin}},
      {{kMax, kMin}, {kMin + 9, kMax - 19}},
  };
  for (const Case &c : cases) {
    POINT p = c.client;
    ASSERT_TRUE(ClientToScreen(w, &p));
    EXPECT_EQ(p.x, c.screen.x) << c.client.x;
    EXPECT_EQ(p.y, c.screen.y) << c.client.y;
  }
}

TEST_F(Windows, StaleAndMadeUpHandlesAreRefused) {
  HWND gone = DesktopCreateWindow(0, 0, 10, 10);
  ASSERT_TRUE(DestroyWindow(gone));
  HWND madeUp = reinterpret_cast<HWND>(0x1234);
  RECT r;
  POINT p = {0, 0};
  for (HWND w : {gone, madeUp, static_cast<HWND>(nullptr)}) {
    EXPECT_FALSE(IsWindow(w));
    struct Call {
      const char *name;
      BOOL result;
    } const calls[] = {
        {"MoveWindow", MoveWindow(w, 0, 0, 1, 1, TRUE)},
        {"SetWindowPos", SetWindowPos(w, HWND_TOP, 0, 0, 1, 1, 0)},
        {"ShowWindow", ShowWindow(w, SW_HIDE)},
        {"DestroyWindow", DestroyWindow(w)},
        {"GetClientRect", GetClientRect(w, &r)},
        {"GetWindowRect", GetWindowRect(w, &r)},
        {"ClientToScreen", ClientToScreen(w, &p)},
        {"GetWindowThreadProcessId", static_cast<BOOL>(GetWindowThreadProcessId(w, nullptr))},
        {"DesktopReadWindow", DesktopReadWindow(w, 0, 0, 0, 0, nullptr)},
    };
    for (const Call &c : calls) EXPECT_FALSE(c.result) << c.name;
    SetLastError(0);
    EXPECT_FALSE(GetClientRect(w, &r));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_WINDOW_HANDLE);
  }
  HWND w = Window(0, 0, 10, 10);
  EXPECT_FALSE(GetClientRect(w, nullptr));
  EXPECT_FALSE(ClientToScreen(w, nullptr));
  // Placing a window below itself or below no window.
  EXPECT_FALSE(SetWindowPos(w, w, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  EXPECT_FALSE(SetWindowPos(w, madeUp, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
}

TEST_F(Windows, CreationRefusesUnreasonableGeometry) {
  struct Case {
    int x, y, width, height;
    bool made;
  } const cases[] = {
      {0, 0, 0, 0, true},          {-5000, -5000, 10, 10, true}, {0, 0, -1, 10, false},
      {0, 0, 10, -1, false},       {1 << 30, 0, 10, 10, false},  {0, 0, 1 << 30, 10, false},
      {0, -(1 << 30), 10, 10, false},
  };
  for (const Case &c : cases) {
    HWND w = DesktopCreateWindow(c.x, c.y, c.width, c.height);
    EXPECT_EQ(w != nullptr, c.made) << c.x << " " << c.y << " " << c.width << " " << c.height;
    if (w) DestroyWindow(w);
  }
  HWND w = Window(0, 0, 10, 10);
  EXPECT_FALSE(MoveWindow(w, 1 << 30, 0, 10, 10, TRUE));
}

TEST_F(Windows, ANewWindowIsBlackWhereVisibleAndReadsBack) {
  HWND w = Window(100, 100, 8, 4);
  for (unsigned pixel : ReadAll(w)) EXPECT_EQ(pixel, 0xFF000000u);
  // Off the screen a window has no pixels to show.
  HWND edge = Window(1020, 0, 8, 2);
  std::vector<unsigned> row = ReadAll(edge);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(row[x], x < 4 ? 0xFF000000u : 0u) << x;
}

TEST_F(Windows, ReadingBackStaysInsideTheClientArea) {
  HWND w = Window(0, 0, 10, 10);
  unsigned pixels[100];
  struct Case {
    int x, y, width, height;
    bool ok;
  } const cases[] = {
      {0, 0, 10, 10, true},  {9, 9, 1, 1, true},   {0, 0, 0, 0, true},    {0, 0, 11, 1, false},
      {5, 0, 6, 1, false},   {-1, 0, 1, 1, false}, {0, -1, 1, 1, false},  {0, 0, -1, 1, false},
      {0x7FFFFFFF, 0, 1, 1, false}, {1, 0, 0x7FFFFFFF, 1, false},
  };
  for (const Case &c : cases)
    EXPECT_EQ(DesktopReadWindow(w, c.x, c.y, c.width, c.height, pixels) != 0, c.ok)
        << c.x << " " << c.y << " " << c.width << " " << c.height;
  EXPECT_FALSE(DesktopReadWindow(w, 0, 0, 1, 1, nullptr));
}

TEST_F(Windows, WinWatchNoticesEveryWindowChange) {
  HWND watched = Window(0, 0, 50, 50);
  HWND other = Window(200, 200, 10, 10);
  HWINWATCH watch = WinWatchOpen(watched);
  ASSERT_NE(watch, nullptr);
  auto fetch = [&] {
    std::vector<char> block(WinWatchGetClipList(watch, nullptr, 0, nullptr));
    WinWatchGetClipList(watch, nullptr, static_cast<UINT>(block.size()), reinterpret_cast<RGNDATA *>(block.data()));
  };
  struct Case {
    const char *name;
    void (*change)(HWND watched, HWND other);
    bool changed;
  } const cases[] = {
      {"nothing", [](HWND, HWND) {}, false},
      {"queries", [](HWND w, HWND) { RECT r; GetClientRect(w, &r); IsWindow(w); }, false},
      {"another window moves", [](HWND, HWND o) { MoveWindow(o, 300, 300, 10, 10, TRUE); }, true},
      {"another window hides", [](HWND, HWND o) { ShowWindow(o, SW_HIDE); }, true},
      {"a window appears", [](HWND, HWND) { DestroyWindow(DesktopCreateWindow(0, 0, 1, 1)); }, true},
      {"the display mode changes", [](HWND, HWND) { DesktopSetDisplayMode(32, 800, 600); }, true},
      {"the window itself moves", [](HWND w, HWND) { MoveWindow(w, 1, 1, 50, 50, TRUE); }, true},
  };
  EXPECT_TRUE(WinWatchDidStatusChange(watch));  // nothing fetched yet
  for (const Case &c : cases) {
    fetch();
    EXPECT_FALSE(WinWatchDidStatusChange(watch)) << c.name;
    c.change(watched, other);
    EXPECT_EQ(WinWatchDidStatusChange(watch) != 0, c.changed) << c.name;
  }
  WinWatchClose(watch);
}

TEST_F(Windows, AThreadsWindowsGoWithIt) {
  HWND made = nullptr;
  std::thread([&made] { made = DesktopCreateWindow(0, 0, 10, 10); }).join();
  ASSERT_NE(made, nullptr);
  EXPECT_FALSE(IsWindow(made));
  EXPECT_TRUE(VisibleRects(made).empty());
}

TEST_F(Windows, OwnerIsTheCreatingThread) {
  HWND w = Window(0, 0, 1, 1);
  DWORD process = 0;
  EXPECT_EQ(GetWindowThreadProcessId(w, &process), GetCurrentThreadId());
  EXPECT_EQ(process, GetCurrentProcessId());
}

TEST_F(Windows, CallsFailOnDemand) {
  HWND w = Window(0, 0, 10, 10);
  RECT r;
  POINT p = {0, 0};
  struct Case {
    const char *call;
    bool (*fails)(HWND w, RECT *r, POINT *p);
  } const cases[] = {
      {"DesktopCreateWindow", [](HWND, RECT *, POINT *) { return DesktopCreateWindow(0, 0, 1, 1) == nullptr; }},
      {"SetWindowPos", [](HWND w, RECT *, POINT *) { return !SetWindowPos(w, HWND_TOP, 1, 1, 1, 1, 0); }},
      {"MoveWindow", [](HWND w, RECT *, POINT *) { return !MoveWindow(w, 1, 1, 1, 1, TRUE); }},
      {"DestroyWindow", [](HWND w, RECT *, POINT *) { return !DestroyWindow(w) && IsWindow(w); }},
      {"GetClientRect", [](HWND w, RECT *r, POINT *) { return !GetClientRect(w, r); }},
      {"GetWindowRect", [](HWND w, RECT *r, POINT *) { return !GetWindowRect(w, r); }},
      {"ClientToScreen", [](HWND w, RECT *, POINT *p) { return !ClientToScreen(w, p); }},
  };
  for (const Case &c : cases) {
    PlatformArmFault({c.call, nullptr, 0, 1, 0});
    SetLastError(0);
    EXPECT_TRUE(c.fails(w, &r, &p)) << c.call;
    EXPECT_NE(GetLastError(), 0u) << c.call;
    EXPECT_EQ(PlatformFaultsFired(c.call), 1u) << c.call;
    PlatformClearFaults();
  }
  EXPECT_TRUE(GetClientRect(w, &r));  // only the armed calls failed
}

}  // namespace
