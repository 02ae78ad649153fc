// The clip list rebuilt from a visible region in screen coordinates, each
// rectangle moved into the window and kept inside the core clip rectangle.
#include <string.h>

#include "tests/wgl/drawable/drawable_fixture.h"
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_drawable_update.h"

namespace drawable_test {
namespace {

// Region data as the clipper hands it: header, then the rectangles.
std::vector<uint8_t> Region(const std::vector<RECT> &rects, uint32_t count, uint32_t sizeBytes) {
  std::vector<uint8_t> block(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT) + 4);
  RGNDATA *region = reinterpret_cast<RGNDATA *>(block.data());
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  region->rdh.nCount = count;
  region->rdh.nRgnSize = sizeBytes;
  if (!rects.empty()) memcpy(region->Buffer, rects.data(), rects.size() * sizeof(RECT));
  return block;
}

bool Same(const GlRect &a, const GlRect &b) {
  return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1;
}

TEST_F(DrawableTest, TheClipListComesFromTheRegionInsideTheCoreRectangle) {
  struct Case {
    const char *name;
    bool noRegion;
    std::vector<RECT> screen;  // the window's origin is (100, 50)
    std::vector<GlRect> clip;
    int32_t countOverride = -1;  // the header's count when it differs
  };
  const GlRect core = {0, 0, 200, 120};
  const Case cases[] = {
      {"no region: the core rectangle", true, {}, {core}},
      {"an empty region: nothing", false, {}, {{0, 0, 0, 0}}},
      {"inside", false, {{110, 60, 150, 100}}, {{10, 10, 50, 50}}},
      {"sticking out is cut", false, {{50, 30, 400, 70}}, {{0, 0, 200, 20}}},
      {"wholly outside is clamped, not dropped",
       false,
       {{400, 300, 500, 400}},
       {{200, 120, 200, 120}}},
      {"several",
       false,
       {{100, 50, 200, 100}, {250, 50, 300, 170}, {100, 100, 300, 170}},
       {{0, 0, 100, 50}, {150, 0, 200, 120}, {0, 50, 200, 120}}},
      {"a count beyond the data is not trusted", false, {{100, 50, 101, 51}}, {{0, 0, 1, 1}}, 1000},
  };
  HWND w = Window(100, 50, 200, 120);
  WglDrawablePrivate *d = Create(GetDC(w), w, Modes(false, false, false, false));
  __wglUpdateDrawableSize(d);
  __wglSetCoreClipRect(&d->drawable, core.x0, core.y0, core.x1 - core.x0, core.y1 - core.y0);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const uint32_t count = c.countOverride >= 0 ? uint32_t(c.countOverride) : c.screen.size();
    std::vector<uint8_t> block = Region(c.screen, count, uint32_t(c.screen.size() * sizeof(RECT)));
    __wglUpdateOwnershipRegion(d, c.noRegion ? nullptr : reinterpret_cast<RGNDATA *>(block.data()));
    const GlDrawable &view = d->drawable;
    ASSERT_EQ(view.clipCount, int32_t(c.clip.size()));
    ASSERT_NE(view.clipRects, nullptr);
    for (size_t i = 0; i < c.clip.size(); i++)
      EXPECT_TRUE(Same(view.clipRects[i], c.clip[i]))
          << "rectangle " << i << ": " << view.clipRects[i].x0 << "," << view.clipRects[i].y0 << " "
          << view.clipRects[i].x1 << "," << view.clipRects[i].y1;
  }
}

TEST_F(DrawableTest, TheClipListFollowsTheCoreRectangle) {
  HWND w = Window(0, 0, 100, 100);
  WglDrawablePrivate *d = Create(GetDC(w), w, Modes(false, false, false, false));
  __wglUpdateDrawableSize(d);
  std::vector<uint8_t> block = Region({{0, 0, 100, 100}}, 1, 16);
  const RGNDATA *region = reinterpret_cast<RGNDATA *>(block.data());
  struct Case {
    GlRect core;
  };
  const Case cases[] = {{{0, 0, 100, 100}}, {{10, 20, 30, 40}}, {{0, 0, 0, 0}}};
  for (const Case &c : cases) {
    __wglSetCoreClipRect(&d->drawable, c.core.x0, c.core.y0, c.core.x1 - c.core.x0,
                         c.core.y1 - c.core.y0);
    __wglUpdateOwnershipRegion(d, region);
    ASSERT_EQ(d->drawable.clipCount, 1);
    EXPECT_TRUE(Same(d->drawable.clipRects[0], c.core));
  }
}

TEST_F(DrawableTest, RebuildingTheClipListKeepsOnlyTheNewOne) {
  HWND w = Window(0, 0, 100, 100);
  WglDrawablePrivate *d = Create(GetDC(w), w, Modes(false, false, false, false));
  __wglUpdateOwnershipRegion(d, nullptr);
  MarkHeap();
  std::vector<uint8_t> block = Region({{0, 0, 5, 5}, {5, 5, 9, 9}}, 2, 32);
  for (int i = 0; i < 10; i++)
    __wglUpdateOwnershipRegion(d, i % 2 ? nullptr : reinterpret_cast<RGNDATA *>(block.data()));
  EXPECT_EQ(LiveBlocksSinceMark(), 0);
}

TEST_F(DrawableTest, AClipListWithoutMemoryOwnsNothing) {
  HWND w = Window(0, 0, 100, 100);
  WglDrawablePrivate *d = Create(GetDC(w), w, Modes(false, false, false, false));
  __wglSetCoreClipRect(&d->drawable, 0, 0, 100, 100);
  __wglUpdateOwnershipRegion(d, nullptr);
  PlatformArmFault({"GlobalAlloc", nullptr, 0, 0, 0});
  __wglUpdateOwnershipRegion(d, nullptr);
  PlatformClearFaults();
  EXPECT_EQ(d->drawable.clipCount, 0);
  EXPECT_EQ(d->drawable.clipRects, nullptr);
}

}  // namespace
}  // namespace drawable_test
