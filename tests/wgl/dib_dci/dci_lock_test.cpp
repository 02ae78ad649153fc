// The DCI front buffer: base and pitch address the window's origin on the
// screen (linear address or selector), the clip list follows the visible
// region within the core clip rectangle, drawing through it never touches a
// window on top, and a refused access draws nothing and owes no end.
#include <string.h>

#include <vector>

#include "tests/wgl/dib_dci/kind_fixture.h"
#include "wgl/wgl_dci_binding.h"

namespace {

class DciLock : public KindTest {
 protected:
  void SetUp() override {
    KindTest::SetUp();
    InstallCountingDci();
  }
  void TearDown() override {
    for (TestDrawable *d : drawables_)
      if (d->gl()->front.free) d->gl()->front.free(&d->gl()->front, d->gl());
    while (wgl::cDCICount > 0) __wglDCIClose();
    RestorePlatformDci();
    KindTest::TearDown();
  }
  // A 16-bit DCI front buffer on the window, updated.
  TestDrawable *Front(HWND hwnd) {
    TestDrawable *d = WindowDrawable(hwnd, Modes(16, 0, 0, false));
    GlDrawableBuffer *f = &d->gl()->front;
    __wglInitDCI(f, &d->record, 16);
    EXPECT_EQ(f->update(f, d->record.x, d->record.y, d->record.width, d->record.height, d->gl(), 1), 1u);
    return d;
  }
  // The clip list in screen coordinates.
  static std::vector<RECT> ClipOnScreen(TestDrawable *d) {
    std::vector<RECT> rects;
    for (int i = 0; i < d->gl()->clipCount; ++i) {
      const GlRect &r = d->gl()->clipRects[i];
      rects.push_back({r.x0 + d->record.x, r.y0 + d->record.y, r.x1 + d->record.x, r.y1 + d->record.y});
    }
    return rects;
  }
};

struct PlacementCase {
  const char *what;
  int x, y, width, height;
  bool covered;     // a window on top covers part of it
  GlRect coreClip;  // {0,0,0,0}: the whole window
  DWORD platform;   // NT: linear address; Windows: a selector
};

const PlacementCase kPlacements[] = {
    {"plain", 100, 100, 64, 48, false, {0, 0, 0, 0}, VER_PLATFORM_WIN32_NT},
    {"covered", 100, 100, 64, 48, true, {0, 0, 0, 0}, VER_PLATFORM_WIN32_NT},
    {"off the left", -20, 300, 64, 48, false, {0, 0, 0, 0}, VER_PLATFORM_WIN32_NT},
    {"off the bottom right", 1000, 740, 64, 48, true, {0, 0, 0, 0}, VER_PLATFORM_WIN32_NT},
    {"covered, core clip", 100, 100, 64, 48, true, {5, 6, 40, 30}, VER_PLATFORM_WIN32_NT},
    {"selector", 100, 100, 64, 48, true, {0, 0, 0, 0}, VER_PLATFORM_WIN32_WINDOWS},
    {"selector, off the top", 300, -10, 64, 48, false, {0, 0, 0, 0}, VER_PLATFORM_WIN32_WINDOWS},
};

TEST_F(DciLock, DrawingThroughTheLockReachesOnlyTheVisiblePixels) {
  for (const PlacementCase &c : kPlacements) {
    SCOPED_TRACE(c.what);
    PlatformSetPlatformId(c.platform);
    ASSERT_TRUE(__wglDCIOpen());
    HWND hwnd = Window(c.x, c.y, c.width, c.height);
    HWND top = c.covered ? Window(c.x + 30, c.y + 20, 50, 50) : nullptr;
    TestDrawable *d = Front(hwnd);
    if (c.coreClip.x1) __wglSetCoreClipRect(d->gl(), c.coreClip.x0, c.coreClip.y0,
                                            c.coreClip.x1 - c.coreClip.x0, c.coreClip.y1 - c.coreClip.y0);
    const GlRect core = d->gl()->coreClipRect;
    std::vector<unsigned> topBefore = top ? ReadAll(top) : std::vector<unsigned>();
    GlDrawableBuffer *f = &d->gl()->front;
    f->lock(f, d->gl());
    ASSERT_NE(f->base, nullptr);
    DDPIXELFORMAT format;
    uint8_t *screen = PrimaryAddress(&format);
    EXPECT_EQ(f->base, screen + intptr_t(c.y) * f->pitchBytes + 2 * c.x);
    EXPECT_EQ(f->pitch * 2, f->pitchBytes);
    EXPECT_EQ(d->gl()->coreClipRectValid, 0);
    // The clip list is WinWatch's region within the core clip rectangle.
    RECT coreRect = {core.x0, core.y0, core.x1, core.y1};
    std::vector<RECT> expected = VisibleRects(hwnd, &coreRect);
    if (expected.empty()) expected.push_back({c.x, c.y, c.x, c.y});
    EXPECT_EQ(ClipOnScreen(d), expected);
    // Write every clip-list pixel through base and pitch.
    for (int i = 0; i < d->gl()->clipCount; ++i) {
      const GlRect &r = d->gl()->clipRects[i];
      for (int y = r.y0; y < r.y1; ++y)
        for (int x = r.x0; x < r.x1; ++x) {
          uint16_t pixel = 0xF800;  // red
          memcpy(f->base + y * f->pitchBytes + x * 2, &pixel, 2);
        }
    }
    f->unlock(f, d->gl());
    EXPECT_EQ(f->base, nullptr);
    EXPECT_EQ(gDciCalls.begin, gDciCalls.end);
    if (top) {
      EXPECT_EQ(ReadAll(top), topBefore);
    }
    // Each pixel of the window inside the core clip rectangle that is visible is red.
    std::vector<unsigned> shown = ReadAll(hwnd);
    for (const RECT &v : VisibleRects(hwnd, &coreRect))
      for (int y = v.top; y < v.bottom; ++y)
        for (int x = v.left; x < v.right; ++x)
          ASSERT_EQ(shown[size_t(y - c.y) * c.width + (x - c.x)], 0xFFFF0000u) << x << "," << y;
    f->free(f, d->gl());
    DestroyWindow(hwnd);
    if (top) DestroyWindow(top);
    __wglDCIClose();
  }
  EXPECT_EQ(gLiveBlocks, 0);
}

TEST_F(DciLock, TheClipListIsRebuiltOnlyWhenSomethingChanged) {
  ASSERT_TRUE(__wglDCIOpen());
  HWND hwnd = Window(100, 100, 64, 48);
  TestDrawable *d = Front(hwnd);
  GlDrawableBuffer *f = &d->gl()->front;
  f->lock(f, d->gl());
  f->unlock(f, d->gl());
  ASSERT_EQ(d->gl()->clipCount, 1);
  d->gl()->clipCount = 0;  // marks the list: an update rewrites it
  f->lock(f, d->gl());
  f->unlock(f, d->gl());
  EXPECT_EQ(d->gl()->clipCount, 0);
  // The core sets its clip rectangle: rebuilt.
  __wglSetCoreClipRect(d->gl(), 0, 0, 10, 10);
  f->lock(f, d->gl());
  f->unlock(f, d->gl());
  ASSERT_EQ(d->gl()->clipCount, 1);
  EXPECT_EQ(d->gl()->clipRects[0].x1, 10);
  // Another window covers part of it: rebuilt.
  d->gl()->clipCount = 0;
  Window(90, 90, 20, 20);
  f->lock(f, d->gl());
  f->unlock(f, d->gl());
  EXPECT_GT(d->gl()->clipCount, 0);
}

struct RefusalCase {
  const char *what;
  PlatformFault fault;
  int displayBits;  // a display change after the update (0: none)
  const char *message;
  bool accessBegun;  // the refusal came after access was granted
};

const RefusalCase kRefusals[] = {
    {"access refused", {"DCIBeginAccess", nullptr, 0, 0, 0}, 0, "DCI: Lock: DCIBeginAccess failed", false},
    {"no selector entry", {"GetThreadSelectorEntry", nullptr, 0, 0, 0}, 0,
     "DCI: Lock: GetThreadSelectorEntry failed", true},
    {"deeper display", {nullptr, nullptr, 0, 0, 0}, 32,
     "DCI: Lock: the screen's pixel size differs from the buffer's", true},
};

bool DrawsIntoDiscard(const TestDrawable &d, const GlDrawableBuffer &buffer) {
  const WglDrawablePrivate &w = d.record;
  return w.discard != nullptr && buffer.base >= w.discard && buffer.base < w.discard + w.discardBytes;
}

TEST_F(DciLock, ARefusedLockDrawsNothingAndOwesNoEnd) {
  for (const RefusalCase &c : kRefusals) {
    SCOPED_TRACE(c.what);
    PlatformSetPlatformId(VER_PLATFORM_WIN32_WINDOWS);  // the provider hands out a selector
    ASSERT_TRUE(__wglDCIOpen());
    HWND hwnd = Window(100, 100, 64, 48);
    TestDrawable *d = Front(hwnd);
    GlDrawableBuffer *f = &d->gl()->front;
    if (c.displayBits) DesktopSetDisplayMode(c.displayBits, 1024, 768);
    PlatformClearDebugOutput();
    gDciCalls = DciCalls();
    PlatformArmFault(c.fault);
    f->lock(f, d->gl());
    PlatformClearFaults();
    // The core draws into the drawable's discard block, which nobody shows.
    EXPECT_TRUE(DrawsIntoDiscard(*d, *f));
    EXPECT_TRUE(ReportedError(c.message)) << DebugOutput();
    EXPECT_EQ(gDciCalls.beginRefused, c.accessBegun ? 0 : 1);
    // Access granted before the refusal is ended at once; none is owed after.
    EXPECT_EQ(gDciCalls.end, c.accessBegun ? 1 : 0);
    f->unlock(f, d->gl());
    EXPECT_EQ(gDciCalls.end, c.accessBegun ? 1 : 0);
    // With the cause gone the next lock works.
    if (c.displayBits) DesktopSetDisplayMode(16, 1024, 768);
    f->lock(f, d->gl());
    EXPECT_NE(f->base, nullptr);
    f->unlock(f, d->gl());
    EXPECT_EQ(gDciCalls.begin, gDciCalls.end + gDciCalls.beginRefused);
    f->free(f, d->gl());
    DestroyWindow(hwnd);
    __wglDCIClose();
  }
}

TEST_F(DciLock, AFailedClipListShowsNothingAndIsAskedAgain) {
  ASSERT_TRUE(__wglDCIOpen());
  HWND hwnd = Window(100, 100, 64, 48);
  TestDrawable *d = Front(hwnd);
  GlDrawableBuffer *f = &d->gl()->front;
  PlatformArmFault({"WinWatchGetClipList", nullptr, 0, 0, 0});
  f->lock(f, d->gl());
  PlatformClearFaults();
  EXPECT_TRUE(ReportedError("DCI: Lock: WinWatchGetClipList failed"));
  ASSERT_EQ(d->gl()->clipCount, 1);
  EXPECT_EQ(d->gl()->clipRects[0].x1 - d->gl()->clipRects[0].x0, 0);
  EXPECT_EQ(d->gl()->coreClipRectValid, 1);
  f->unlock(f, d->gl());
  f->lock(f, d->gl());
  f->unlock(f, d->gl());
  ASSERT_EQ(d->gl()->clipCount, 1);
  EXPECT_EQ(d->gl()->clipRects[0].x1, 64);
  EXPECT_EQ(d->gl()->clipRects[0].y1, 48);
}

struct UpdateCase {
  const char *what;
  bool open;
  PlatformFault fault;
  const char *message;
};

const UpdateCase kUpdates[] = {
    {"DCI not open", false, {nullptr, nullptr, 0, 0, 0}, "DCI: Update: no primary surface"},
    {"WinWatchOpen fails", true, {"WinWatchOpen", nullptr, 0, 0, 0}, "DCI: Update: WinWatchOpen failed"},
};

TEST_F(DciLock, UpdateOpensTheWinWatchOnce) {
  for (const UpdateCase &c : kUpdates) {
    SCOPED_TRACE(c.what);
    PlatformClearDebugOutput();
    if (c.open) {
      ASSERT_TRUE(__wglDCIOpen());
    }
    HWND hwnd = Window(100, 100, 64, 48);
    TestDrawable *d = WindowDrawable(hwnd, Modes(16, 0, 0, false));
    GlDrawableBuffer *f = &d->gl()->front;
    __wglInitDCI(f, &d->record, 16);
    PlatformArmFault(c.fault);
    EXPECT_EQ(f->update(f, 100, 100, 64, 48, d->gl(), 1), 0u);
    PlatformClearFaults();
    EXPECT_TRUE(ReportedError(c.message)) << DebugOutput();
    f->lock(f, d->gl());
    EXPECT_TRUE(DrawsIntoDiscard(*d, *f));
    f->unlock(f, d->gl());
    if (!c.open) {
      ASSERT_TRUE(__wglDCIOpen());
    }
    ASSERT_EQ(f->update(f, 100, 100, 64, 48, d->gl(), 1), 1u);
    // Later updates do not open another WinWatch.
    PlatformArmFault({"WinWatchOpen", nullptr, 0, 0, 0});
    EXPECT_EQ(f->update(f, 100, 100, 32, 16, d->gl(), 1), 1u);
    EXPECT_EQ(PlatformFaultsFired("WinWatchOpen"), 0u);
    PlatformClearFaults();
    EXPECT_EQ(f->width, 32u);
    EXPECT_EQ(f->height, 16u);
    f->free(f, d->gl());
    EXPECT_EQ(gLiveBlocks, 0);
    __wglDCIClose();
  }
}

TEST_F(DciLock, FillPaintsTheVisiblePartBlack) {
  ASSERT_TRUE(__wglDCIOpen());
  HWND hwnd = Window(100, 100, 64, 48);
  TestDrawable *d = Front(hwnd);
  HWND top = Window(120, 110, 30, 30);
  HDC topDC = GetDC(top);
  RECT all = {0, 0, 30, 30};
  HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  FillRect(topDC, &all, white);
  ReleaseDC(top, topDC);
  RECT mine = {0, 0, 64, 48};
  FillRect(d->record.hdc, &mine, white);
  std::vector<unsigned> topBefore = ReadAll(top);
  GlDrawableBuffer *f = &d->gl()->front;
  f->fill(f, d->gl(), 0xFFFF, 10, 5, 40, 30);
  EXPECT_EQ(ReadAll(top), topBefore);
  std::vector<unsigned> shown = ReadAll(hwnd);
  EXPECT_EQ(shown[5 * 64 + 10], 0xFF000000u);
  EXPECT_EQ(shown[4 * 64 + 10], 0xFFFFFFFFu);
  EXPECT_EQ(shown[34 * 64 + 15], 0xFF000000u);
  EXPECT_EQ(shown[35 * 64 + 50], 0xFFFFFFFFu);
  EXPECT_EQ(d->gl()->mutex->depth, 0);
}

}  // namespace
