// The clip list of a DirectDraw window: its visible rectangles within the
// core's clip rectangle, in window coordinates, fetched again only when the
// windows or the core's rectangle changed.
#include "platform/control.h"
#include "platform/vlxdesktop.h"
#include "tests/wgl/ddraw/ddraw_fixture.h"

namespace wgl_ddraw_test {
namespace {

using DDrawClip = DDrawTest;

struct Box {
  int x0, y0, x1, y1;
};

int64_t Area(const GlRect &r) {
  return r.x1 > r.x0 && r.y1 > r.y0 ? int64_t(r.x1 - r.x0) * (r.y1 - r.y0) : 0;
}

int64_t Overlap(const GlRect &r, const Box &b) {
  GlRect c = {r.x0 > b.x0 ? r.x0 : b.x0, r.y0 > b.y0 ? r.y0 : b.y0, r.x1 < b.x1 ? r.x1 : b.x1,
              r.y1 < b.y1 ? r.y1 : b.y1};
  return Area(c);
}

TEST_F(DDrawClip, TheListHoldsWhatShowsOfTheWindowWithinTheCoreRectangle) {
  struct Case {
    const char *what;
    Box above;        // screen; x1 == x0: no window above
    Box core;         // the core clip rectangle, window coordinates
  } cases[] = {
      {"alone", {0, 0, 0, 0}, {0, 0, 200, 150}},
      {"partly covered", {150, 120, 250, 170}, {0, 0, 200, 150}},
      {"corner covered", {250, 200, 350, 300}, {0, 0, 200, 150}},
      {"wholly covered", {50, 50, 450, 400}, {0, 0, 200, 150}},
      {"scissored", {150, 120, 250, 170}, {10, 20, 60, 70}},
      {"scissored off the cover", {150, 120, 250, 170}, {0, 100, 40, 150}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    WglDrawablePrivate *w = MakeWindow(100, 100, 200, 150);
    ASSERT_TRUE(Update(w));
    HWND above = nullptr;
    if (c.above.x1 > c.above.x0)
      above = DesktopCreateWindow(c.above.x0, c.above.y0, c.above.x1 - c.above.x0,
                                  c.above.y1 - c.above.y0);
    GlDrawable &d = w->drawable;
    __wglSetCoreClipRect(&d, c.core.x0, c.core.y0, c.core.x1 - c.core.x0, c.core.y1 - c.core.y0);
    d.updateClipList(&d);
    EXPECT_EQ(d.coreClipRectValid, 0);
    ASSERT_GT(d.clipCount, 0);
    // Window coordinates of the cover; the expected area is the core's less
    // what the cover hides of it.
    Box cover = {c.above.x0 - 100, c.above.y0 - 100, c.above.x1 - 100, c.above.y1 - 100};
    GlRect core = {c.core.x0, c.core.y0, c.core.x1, c.core.y1};
    int64_t expected = Area(core) - Overlap(core, cover), area = 0;
    for (int i = 0; i < d.clipCount; ++i) {
      const GlRect &r = d.clipRects[i];
      area += Area(r);
      if (Area(r) == 0) continue;
      EXPECT_GE(r.x0, c.core.x0);
      EXPECT_GE(r.y0, c.core.y0);
      EXPECT_LE(r.x1, c.core.x1);
      EXPECT_LE(r.y1, c.core.y1);
      EXPECT_EQ(Overlap(r, cover), 0) << r.x0 << "," << r.y0 << "," << r.x1 << "," << r.y1;
    }
    EXPECT_EQ(area, expected);
    if (above) DestroyWindow(above);
    FreeWindows();
  }
}

TEST_F(DDrawClip, TheListIsFetchedAgainOnlyAfterAChange) {
  WglDrawablePrivate *w = MakeWindow(100, 100, 200, 150);
  ASSERT_TRUE(Update(w));
  HWND above = DesktopCreateWindow(150, 120, 100, 50);
  GlDrawable &d = w->drawable;
  ClipToWindow(w);
  // The primary lock brings the list up to date.
  d.front.lock(&d.front, &d);
  d.front.unlock(&d.front, &d);
  ASSERT_GT(d.clipCount, 1);
  const int32_t marker = -77;
  d.clipRects[0].x0 = marker;
  d.updateClipList(&d);
  EXPECT_EQ(d.clipRects[0].x0, marker);  // nothing changed: kept
  MoveWindow(above, 160, 120, 100, 50, TRUE);
  d.updateClipList(&d);
  EXPECT_NE(d.clipRects[0].x0, marker);
  d.clipRects[0].x0 = marker;
  ClipToWindow(w);  // the core's rectangle was set again
  d.updateClipList(&d);
  EXPECT_NE(d.clipRects[0].x0, marker);
  DestroyWindow(above);
}

TEST_F(DDrawClip, FailuresAreReportedAndKeepTheList) {
  struct Case {
    PlatformFault fault;
    const char *message;
  } cases[] = {
      {{"IsClipListChanged", nullptr, 0, 1, 0},
       "WGL: DDraw: UpdateClipList: IsClipListChanged: DDERROR = DDERR_GENERIC"},
      {{"GetClipList", nullptr, 0, 1, 0}, "WGL: DDraw: UpdateClipList: GetClipList (1): DDERROR"},
      {{"GetClipList", nullptr, 1, 1, 0}, "WGL: DDraw: UpdateClipList: GetClipList (2): DDERROR"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.message);
    WglDrawablePrivate *w = MakeWindow(100, 100, 200, 150);
    ASSERT_TRUE(Update(w));
    GlDrawable &d = w->drawable;
    PlatformClearDebugOutput();
    PlatformArmFault(c.fault);
    ClipToWindow(w);
    d.updateClipList(&d);
    PlatformClearFaults();
    EXPECT_NE(Messages().find(c.message), std::string::npos) << Messages();
    EXPECT_EQ(d.clipCount, 0);
    EXPECT_EQ(d.coreClipRectValid, 1);  // tried again next time
    d.updateClipList(&d);
    EXPECT_EQ(d.clipCount, 1);
    FreeWindows();
  }
}

}  // namespace
}  // namespace wgl_ddraw_test
