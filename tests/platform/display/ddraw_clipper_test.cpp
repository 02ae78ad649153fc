// Clippers bound to windows: clip lists from the window model (cross-checked
// with DCI's WinWatch), the region-data layout, change tracking, and blits
// to the screen that land only where a window is visible.
#include <gtest/gtest.h>

#include <vector>

#include "platform/dci.h"
#include "tests/platform/display/ddraw_support.h"

namespace {

using namespace ddtest;

constexpr int kScreenW = 1024, kScreenH = 768;

struct Box {
  int x, y, width, height;
  RECT Rect() const { return RECT{x, y, x + width, y + height}; }
};

// Which screen pixels a list of rectangles covers; false when two overlap.
struct Coverage {
  std::vector<unsigned char> cells = std::vector<unsigned char>(kScreenW * kScreenH);
  bool disjoint = true;
  void Add(const RECT &r) {
    for (LONG y = std::max(r.top, 0L); y < std::min(r.bottom, LONG(kScreenH)); ++y)
      for (LONG x = std::max(r.left, 0L); x < std::min(r.right, LONG(kScreenW)); ++x)
        if (cells[y * kScreenW + x]++) disjoint = false;
  }
  void Remove(const RECT &r) {
    for (LONG y = std::max(r.top, 0L); y < std::min(r.bottom, LONG(kScreenH)); ++y)
      for (LONG x = std::max(r.left, 0L); x < std::min(r.right, LONG(kScreenW)); ++x)
        cells[y * kScreenW + x] = 0;
  }
  bool operator==(const Coverage &o) const { return cells == o.cells; }
};

std::vector<RECT> Rects(const std::vector<char> &data) {
  RGNDATAHEADER h;
  std::memcpy(&h, data.data(), sizeof h);
  std::vector<RECT> rects(h.nCount);
  if (h.nCount) std::memcpy(rects.data(), data.data() + sizeof h, h.nCount * sizeof(RECT));
  return rects;
}

class Clippers : public DisplayTest {
 protected:
  void TearDown() override {
    DestroyWindows();
    DisplayTest::TearDown();
  }

  void DestroyWindows() {
    for (HWND w : windows_) DestroyWindow(w);
    windows_.clear();
  }

  HWND Window(const Box &b) {
    HWND w = DesktopCreateWindow(b.x, b.y, b.width, b.height);
    EXPECT_NE(w, nullptr);
    windows_.push_back(w);
    return w;
  }

  LPDIRECTDRAWCLIPPER ClipperFor(const DirectDraw &dd, HWND w) {
    LPDIRECTDRAWCLIPPER c = nullptr;
    EXPECT_EQ(dd->lpVtbl->CreateClipper(dd.dd, 0, &c, nullptr), DD_OK);
    EXPECT_EQ(c->lpVtbl->SetHWnd(c, 0, w), DD_OK);
    return c;
  }

  // The clip list in two calls, as the driver fetches it: the size, then the data.
  static std::vector<char> ClipList(LPDIRECTDRAWCLIPPER c, RECT *clip) {
    DWORD size = 0;
    EXPECT_EQ(c->lpVtbl->GetClipList(c, clip, nullptr, &size), DD_OK);
    std::vector<char> data(size);
    EXPECT_EQ(c->lpVtbl->GetClipList(c, clip, reinterpret_cast<LPRGNDATA>(data.data()), &size), DD_OK);
    return data;
  }

  static std::vector<char> WinWatchList(HWND w, RECT *clip) {
    HWINWATCH watch = WinWatchOpen(w);
    EXPECT_NE(watch, nullptr);
    UINT size = WinWatchGetClipList(watch, clip, 0, nullptr);
    std::vector<char> data(size);
    EXPECT_EQ(WinWatchGetClipList(watch, clip, size, reinterpret_cast<LPRGNDATA>(data.data())), size);
    WinWatchClose(watch);
    return data;
  }

  std::vector<HWND> windows_;
};

// Windows are created bottom first; the last one is the window clipped.
TEST_F(Clippers, ClipListsFollowTheWindowModelThroughBothPaths) {
  struct Case {
    const char *what;
    std::vector<Box> above;  // the windows above it, bottom first
    Box window;
  } const cases[] = {
      {"alone", {}, {100, 100, 200, 150}},
      {"a corner covered", {{250, 200, 100, 100}}, {100, 100, 200, 150}},
      {"a hole in the middle", {{150, 150, 50, 30}}, {100, 100, 200, 150}},
      {"under two windows", {{90, 90, 50, 50}, {280, 230, 50, 50}}, {100, 100, 200, 150}},
      {"partly off the top left", {}, {-50, -30, 200, 100}},
      {"partly off the bottom right", {{1000, 700, 100, 100}}, {950, 700, 200, 200}},
      {"wholly off the screen", {}, {2000, 100, 50, 50}},
      {"wholly covered", {{50, 50, 400, 400}}, {100, 100, 200, 150}},
  };
  DirectDraw dd;
  for (const Case &c : cases) {
    HWND w = Window(c.window);
    for (const Box &b : c.above) Window(b);
    Coverage want;
    want.Add(c.window.Rect());
    for (const Box &b : c.above) want.Remove(b.Rect());

    LPDIRECTDRAWCLIPPER clipper = ClipperFor(dd, w);
    std::vector<char> data = ClipList(clipper, nullptr);
    RGNDATAHEADER h;
    std::memcpy(&h, data.data(), sizeof h);
    EXPECT_EQ(h.dwSize, 32u);
    EXPECT_EQ(h.iType, DWORD(RDH_RECTANGLES));
    EXPECT_EQ(h.nRgnSize, h.nCount * 16);
    EXPECT_EQ(data.size(), 32 + h.nCount * 16);
    Coverage got;
    for (const RECT &r : Rects(data)) {
      got.Add(r);
      EXPECT_TRUE(r.left >= h.rcBound.left && r.right <= h.rcBound.right && r.top >= h.rcBound.top &&
                  r.bottom <= h.rcBound.bottom)
          << c.what;
    }
    EXPECT_TRUE(got.disjoint) << c.what;
    EXPECT_TRUE(got == want) << c.what;

    Coverage watched;
    for (const RECT &r : Rects(WinWatchList(w, nullptr))) watched.Add(r);
    EXPECT_TRUE(watched == got) << c.what;

    // A clip rectangle (screen coordinates here, client coordinates for WinWatch).
    RECT screenClip = {c.window.x + 20, c.window.y + 10, c.window.x + 120, c.window.y + 60};
    RECT clientClip = {20, 10, 120, 60};
    Coverage inClip, watchedInClip;
    for (const RECT &r : Rects(ClipList(clipper, &screenClip))) inClip.Add(r);
    for (const RECT &r : Rects(WinWatchList(w, &clientClip))) watchedInClip.Add(r);
    EXPECT_TRUE(inClip == watchedInClip) << c.what;
    Coverage wantInClip = want;
    for (int y = 0; y < kScreenH; ++y)
      for (int x = 0; x < kScreenW; ++x)
        if (x < screenClip.left || x >= screenClip.right || y < screenClip.top || y >= screenClip.bottom)
          wantInClip.cells[y * kScreenW + x] = 0;
    EXPECT_TRUE(inClip == wantInClip) << c.what;

    clipper->lpVtbl->Release(clipper);
    DestroyWindows();
  }
}

TEST_F(Clippers, TheRegionDataIsSizedAsThePlatformDoes) {
  DirectDraw dd;
  HWND w = Window({100, 100, 200, 150});
  Window({150, 150, 50, 30});  // makes a hole: several rectangles
  LPDIRECTDRAWCLIPPER c = ClipperFor(dd, w);
  DWORD need = 0;
  ASSERT_EQ(c->lpVtbl->GetClipList(c, nullptr, nullptr, &need), DD_OK);
  ASSERT_GT(need, 32u + 16u);
  std::vector<char> data(need + 16, '\x5A');
  struct Case {
    DWORD size;
    HRESULT result;
  } const cases[] = {{0, DDERR_REGIONTOOSMALL}, {32, DDERR_REGIONTOOSMALL},
                     {need - 1, DDERR_REGIONTOOSMALL}, {need, DD_OK}, {need + 16, DD_OK}};
  for (const Case &k : cases) {
    DWORD size = k.size;
    EXPECT_EQ(c->lpVtbl->GetClipList(c, nullptr, reinterpret_cast<LPRGNDATA>(data.data()), &size), k.result);
    EXPECT_EQ(size, need);  // what it takes, either way
  }
  EXPECT_EQ(data[need], '\x5A');  // nothing written past the list
  EXPECT_EQ(c->lpVtbl->GetClipList(c, nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
  // A clip rectangle that misses the window gives a header alone.
  RECT away = {0, 0, 50, 50};
  std::vector<char> none = ClipList(c, &away);
  ASSERT_EQ(none.size(), 32u);
  RGNDATAHEADER h;
  std::memcpy(&h, none.data(), sizeof h);
  EXPECT_EQ(h.nCount, 0u);
  c->lpVtbl->Release(c);
}

TEST_F(Clippers, IsClipListChangedFollowsWindowChanges) {
  DirectDraw dd;
  HWND w = Window({100, 100, 200, 150});
  LPDIRECTDRAWCLIPPER c = ClipperFor(dd, w);
  auto changed = [&] {
    BOOL result = 2;
    EXPECT_EQ(c->lpVtbl->IsClipListChanged(c, &result), DD_OK);
    return result;
  };
  EXPECT_TRUE(changed());  // never fetched
  ClipList(c, nullptr);
  EXPECT_FALSE(changed());
  EXPECT_FALSE(changed());  // asking does not reset or set it
  ASSERT_TRUE(MoveWindow(w, 120, 100, 200, 150, TRUE));
  EXPECT_TRUE(changed());
  DWORD size = 0;
  c->lpVtbl->GetClipList(c, nullptr, nullptr, &size);  // a size query is not a fetch
  EXPECT_TRUE(changed());
  ClipList(c, nullptr);
  EXPECT_FALSE(changed());
  HWND other = Window({500, 500, 20, 20});  // elsewhere, but the window model changed
  EXPECT_TRUE(changed());
  ClipList(c, nullptr);
  DestroyWindow(other);
  windows_.pop_back();
  EXPECT_TRUE(changed());
  ClipList(c, nullptr);
  ASSERT_TRUE(DesktopSetDisplayMode(16, 800, 600));
  EXPECT_TRUE(changed());
  // A destroyed window has nothing visible.
  ClipList(c, nullptr);
  DestroyWindow(w);
  windows_.clear();
  EXPECT_TRUE(changed());
  std::vector<char> gone = ClipList(c, nullptr);
  EXPECT_EQ(gone.size(), 32u);
  EXPECT_EQ(c->lpVtbl->IsClipListChanged(c, nullptr), DDERR_INVALIDPARAMS);
  c->lpVtbl->Release(c);
}

TEST_F(Clippers, BadCallsAreRefused) {
  DirectDraw dd;
  HWND w = Window({10, 10, 20, 20});
  LPDIRECTDRAWCLIPPER c = nullptr;
  ASSERT_EQ(dd->lpVtbl->CreateClipper(dd.dd, 0, &c, nullptr), DD_OK);
  DWORD size = 0;
  EXPECT_EQ(c->lpVtbl->GetClipList(c, nullptr, nullptr, &size), DDERR_NOCLIPLIST);
  EXPECT_EQ(c->lpVtbl->SetHWnd(c, 0, reinterpret_cast<HWND>(0x1234)), DDERR_INVALIDPARAMS);
  EXPECT_EQ(c->lpVtbl->SetHWnd(c, 1, w), DDERR_INVALIDPARAMS);
  ASSERT_EQ(c->lpVtbl->SetHWnd(c, 0, w), DD_OK);
  HWND got = nullptr;
  EXPECT_EQ(c->lpVtbl->GetHWnd(c, &got), DD_OK);
  EXPECT_EQ(got, w);
  EXPECT_EQ(c->lpVtbl->SetClipList(c, nullptr, 0), DDERR_CLIPPERISUSINGHWND);
  ASSERT_EQ(c->lpVtbl->SetHWnd(c, 0, nullptr), DD_OK);
  RGNDATAHEADER bad = {16, RDH_RECTANGLES, 0, 0, {0, 0, 0, 0}};
  EXPECT_EQ(c->lpVtbl->SetClipList(c, reinterpret_cast<LPRGNDATA>(&bad), 0), DDERR_INVALIDCLIPLIST);
  RGNDATAHEADER lying = {32, RDH_RECTANGLES, 1000, 16, {0, 0, 0, 0}};  // more rectangles than bytes
  EXPECT_EQ(c->lpVtbl->SetClipList(c, reinterpret_cast<LPRGNDATA>(&lying), 0), DDERR_INVALIDCLIPLIST);
  EXPECT_EQ(c->lpVtbl->Initialize(c, dd.dd, 0), DDERR_ALREADYINITIALIZED);
  LPDIRECTDRAWCLIPPER none;
  EXPECT_EQ(dd->lpVtbl->CreateClipper(dd.dd, 1, &none, nullptr), DDERR_INVALIDPARAMS);
  c->lpVtbl->Release(c);
}

// A blit to the screen through a window's clipper changes only the window's
// visible pixels, as DesktopReadWindow shows them.
TEST_F(Clippers, BlitsToTheScreenLandOnlyWhereTheWindowIsVisible) {
  struct Case {
    const char *what;
    Box window, above;
  } const cases[] = {
      {"a corner covered", {100, 100, 64, 48}, {140, 120, 64, 48}},
      {"partly off the screen", {990, 740, 64, 48}, {0, 0, 8, 8}},
  };
  for (const Case &c : cases) {
    DirectDraw dd;
    HWND w = Window(c.window);
    HWND above = Window(c.above);
    LPDIRECTDRAWSURFACE primary = Primary(dd), src;
    ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, c.window.width, c.window.height), &src), DD_OK);
    ASSERT_EQ(Fill(src, nullptr, 0xF800), DD_OK);  // red in 5-6-5
    LPDIRECTDRAWCLIPPER clipper = ClipperFor(dd, w);
    ASSERT_EQ(primary->lpVtbl->SetClipper(primary, clipper), DD_OK);
    RECT to = c.window.Rect();  // may leave the screen: the clipper takes care of it
    ASSERT_EQ(Copy(primary, &to, src, nullptr), DD_OK) << c.what;

    std::vector<unsigned> pixels(c.window.width * c.window.height);
    ASSERT_TRUE(DesktopReadWindow(w, 0, 0, c.window.width, c.window.height, pixels.data()));
    RECT cover = c.above.Rect();
    for (int y = 0; y < c.window.height; ++y)
      for (int x = 0; x < c.window.width; ++x) {
        int sx = c.window.x + x, sy = c.window.y + y;
        bool onScreen = sx < kScreenW && sy < kScreenH;
        bool covered = sx >= cover.left && sx < cover.right && sy >= cover.top && sy < cover.bottom;
        unsigned want = !onScreen ? 0u : covered ? 0xFF000000u : 0xFFFF0000u;
        ASSERT_EQ(pixels[y * c.window.width + x], want) << c.what << " " << x << "," << y;
      }
    std::vector<unsigned> top(c.above.width * c.above.height);
    ASSERT_TRUE(DesktopReadWindow(above, 0, 0, c.above.width, c.above.height, top.data()));
    for (unsigned p : top) ASSERT_EQ(p, 0xFF000000u) << c.what;  // the window above is untouched

    clipper->lpVtbl->Release(clipper);
    Release(src);
    Release(primary);
    DestroyWindows();
  }
}

}  // namespace
