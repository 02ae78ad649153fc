// The whole colour and index clear: its lock bracket, and which pixels a
// front or back buffer clear reaches (visible rectangles cut to the scissor
// box, the back end's hook for RGB buffers, the clip box for index ones).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "raster/s_buffers.h"
#include "tests/raster/color/color_fixture.h"
#include "tests/raster/color/color_model.h"

namespace {

std::vector<std::string> gClearRects;
void (*gPickedClearRect)(GlColorBuffer *, int32_t, int32_t, int32_t, int32_t);

// Logs the rectangle and the lock-site trace's innermost file, then clears.
void LoggingClearRect(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  const GlDrawable *d = cfb->buf.gc->drawablePrivate;
  EventLog().push_back(std::string("clearRect, traced ") +
                       (d->lockDepth > 0 ? d->lockFiles[0] : "nothing"));
  gClearRects.push_back(std::to_string(x0 - kBias) + "," + std::to_string(y0 - kBias) + "-" +
                        std::to_string(x1 - kBias) + "," + std::to_string(y1 - kBias));
  gPickedClearRect(cfb, x0, y0, x1, y1);
}

void LoggingColorClear(GlColorBuffer *cfb) {
  EventLog().push_back("colorClear");
  __glClearColorBufferClipBox(cfb);
}

struct ClearCase {
  const char *what;
  bool frontRecord;
  GLenum drawBuffer;  // what the flags say is drawn
  std::vector<GlRect> visible;
  GlRect box;  // the clip box, drawable coordinates
  std::vector<std::string> rects;
};

const std::vector<ClearCase> kClearCases = {
    {"front, all visible", true, GL_FRONT, {{0, 0, 11, 6}}, {0, 0, 11, 6}, {"0,0-11,6"}},
    {"front, two visible rectangles",
     true,
     GL_FRONT,
     {{0, 0, 4, 6}, {6, 2, 11, 5}},
     {0, 0, 11, 6},
     {"0,0-4,6", "6,2-11,5"}},
    {"front, scissored",
     true,
     GL_FRONT,
     {{0, 0, 4, 6}, {6, 2, 11, 5}},
     {2, 1, 8, 4},
     {"2,1-4,4", "6,2-8,4"}},
    {"front, scissor box misses a rectangle",
     true,
     GL_FRONT,
     {{0, 0, 4, 6}, {6, 2, 11, 5}},
     {5, 0, 11, 2},
     {}},
    {"front, nothing visible", true, GL_FRONT, {}, {0, 0, 11, 6}, {}},
    {"front record while the back is drawn",
     true,
     GL_BACK,
     {{0, 0, 4, 6}},
     {1, 1, 11, 6},
     {"1,1-4,6"}},
    {"back record while the front is drawn too",
     false,
     GL_FRONT_AND_BACK,
     {{0, 0, 4, 6}},
     {1, 1, 10, 5},
     {"1,1-10,5"}},
    {"back record, whole window", false, GL_BACK, {}, {0, 0, 11, 6}, {"0,0-11,6"}},
};

bool Inside(const std::vector<GlRect> &rects, const GlRect &box, int32_t col, int32_t row,
            bool front) {
  if (!(col >= box.x0 && col < box.x1 && row >= box.y0 && row < box.y1)) return false;
  if (!front) return true;
  for (const GlRect &r : rects)
    if (col >= r.x0 && col < r.x1 && row >= r.y0 && row < r.y1) return true;
  return false;
}

TEST(ColourClear, ReachesTheVisibleRectanglesOfTheFrontOrTheClipBox) {
  for (const ColorFormat &f :
       {kRgbFormats[2], kRgbFormats[4], kIndexFormats[0], kIndexFormats[3]}) {
    for (const ClearCase &c : kClearCases) {
      SCOPED_TRACE(testing::Message() << f.name << ": " << c.what);
      BoundColorBuffer b(f, 11, 6, c.frontRecord);
      GlContext *gc = b.gc();
      gc->state.raster.clear = {0.5f, 0.25f, 1.0f, 1.0f};
      gc->state.raster.clearIndex = 5.5f;
      gc->state.raster.drawBuffer = c.drawBuffer;
      b.SetFlags((f.rgba ? __GL_SHADE_RGB : 0) |
                 (c.drawBuffer != GL_BACK ? __GL_SHADE_FRONT_BUFFER : 0));
      b.cfb()->pick(gc, b.cfb());
      b.SetVisible(c.visible);
      b.SetClipBox(c.box.x0, c.box.y0, c.box.x1, c.box.y1);
      gc->colorClear = LoggingColorClear;
      gPickedClearRect = b.cfb()->clearRect;
      b.cfb()->clearRect = LoggingClearRect;
      gClearRects.clear();
      EventLog().clear();

      b.FillPattern(1);
      std::vector<uint8_t> want = b.Bytes();
      const GlDrawableBuffer *mem = b.memory().buffer();
      const ModelState s;
      for (int32_t row = 0; row < 6; row++) {
        for (int32_t col = 0; col < 11; col++) {
          if (!Inside(c.visible, c.box, col, row, c.frontRecord)) continue;
          const uint32_t old = ReadPixel(want, mem, col, row);
          WritePixel(want, mem, col, row,
                     f.rgba ? ModelRgbStore(f, s, col + kBias, row + kBias,
                                            ModelClearColor(gc->state.raster.clear, gc->front), old)
                            : ModelIndexStore(f, s, col + kBias, row + kBias, 5.0f, old));
        }
      }
      b.cfb()->clear(b.cfb());
      EXPECT_EQ(gClearRects, c.rects);
      EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
      const bool hook =
          std::find(EventLog().begin(), EventLog().end(), "colorClear") != EventLog().end();
      // The back end's hook packs an RGB colour: index buffers clear their
      // clip box themselves.
      EXPECT_EQ(hook, !c.frontRecord && f.rgba) << "the back end clears RGB buffers but the front";
    }
  }
}

TEST(ColourClear, LocksDrawableThenBufferThenDeviceAndTracesItsFile) {
  struct Case {
    const ColorFormat *format;
    bool frontRecord;
    std::vector<std::string> events;
  } cases[] = {
      {&kRgbFormats[2],
       true,
       {"drawable lock", "buffer lock", "device lock", "drawable lock", "clearRect, traced s_rgb",
        "drawable unlock", "device unlock", "buffer unlock", "drawable unlock"}},
      {&kIndexFormats[0],
       true,
       {"drawable lock", "buffer lock", "device lock", "drawable lock", "clearRect, traced s_ci",
        "drawable unlock", "device unlock", "buffer unlock", "drawable unlock"}},
      {&kRgbFormats[6],
       false,
       {"drawable lock", "buffer lock", "device lock", "colorClear", "clearRect, traced s_rgb",
        "device unlock", "buffer unlock", "drawable unlock"}},
      {&kIndexFormats[0],
       false,
       {"drawable lock", "buffer lock", "device lock", "clearRect, traced s_ci", "device unlock",
        "buffer unlock", "drawable unlock"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.format->name << (c.frontRecord ? " front" : " back"));
    BoundColorBuffer b(*c.format, 11, 6, c.frontRecord);
    b.LogLocks();
    b.gc()->colorClear = LoggingColorClear;
    gPickedClearRect = b.cfb()->clearRect;
    b.cfb()->clearRect = LoggingClearRect;
    EventLog().clear();
    b.cfb()->clear(b.cfb());
    EXPECT_EQ(EventLog(), c.events);
    EXPECT_EQ(b.drawable()->lockDepth, 0);
    EXPECT_EQ(b.drawable()->lockFiles[0], nullptr);
    EXPECT_EQ(b.drawable()->lockLines[0], 0);
  }
}

// Unbound, or bound to a drawable buffer without pixels: nothing is
// written and nothing breaks, front or back.
TEST(ColourClear, WithoutPixelsNothingIsCleared) {
  for (const ColorFormat &f : {kRgbFormats[0], kRgbFormats[4], kIndexFormats[1]}) {
    for (bool front : {true, false}) {
      for (bool unbound : {true, false}) {
        SCOPED_TRACE(testing::Message() << f.name << (front ? " front" : " back")
                                        << (unbound ? ", unbound" : ", no pixels"));
        BoundColorBuffer b(f, 11, 6, front);
        b.FillPattern(3);
        const std::vector<uint8_t> before = b.Bytes();
        GlDrawableBuffer *mem = b.memory().buffer();
        uint8_t *base = mem->base;
        if (unbound)
          b.cfb()->buf.gc = nullptr;
        else
          mem->base = nullptr;
        b.cfb()->clear(b.cfb());
        mem->base = base;
        EXPECT_EQ(b.Bytes(), before);
      }
    }
  }
}

// The region clear hands each visible rectangle, biased and cut to the
// clip box, to the clear rectangle it is given; empty ones are skipped.
TEST(ClearRegionRects, VisibleRectanglesCutToTheClipBox) {
  struct Case {
    const char *what;
    std::vector<GlRect> visible;
    GlRect box;
    std::vector<std::string> rects;
  } cases[] = {
      {"inside", {{2, 1, 5, 3}}, {0, 0, 11, 6}, {"2,1-5,3"}},
      {"cut on every side", {{0, 0, 11, 6}}, {1, 2, 9, 5}, {"1,2-9,5"}},
      {"touching the box only", {{0, 0, 3, 6}, {3, 0, 11, 2}}, {3, 2, 11, 6}, {}},
      {"order kept", {{6, 0, 11, 6}, {0, 0, 6, 3}}, {0, 0, 11, 6}, {"6,0-11,6", "0,0-6,3"}},
      {"empty box", {{0, 0, 11, 6}}, {4, 4, 4, 6}, {}},
      {"no visible rectangles", {}, {0, 0, 11, 6}, {}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    BoundColorBuffer b(kRgbFormats[0]);
    b.SetVisible(c.visible);
    b.SetClipBox(c.box.x0, c.box.y0, c.box.x1, c.box.y1);
    gClearRects.clear();
    gPickedClearRect = b.cfb()->clearRect;
    __glClearRegionRects(b.cfb(), LoggingClearRect);
    EXPECT_EQ(gClearRects, c.rects);
    EXPECT_EQ(b.drawable()->lockDepth, 0);
  }
}

}  // namespace
