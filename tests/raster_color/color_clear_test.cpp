// Colour and index clears: the generic clear rectangles against the model,
// the 3-byte word fill, the clear's lock bracket, and which pixels a front
// or back buffer clear reaches (visible rectangles cut to the scissor box,
// or the back end's hook).
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "raster/s_buffers.h"
#include "raster/s_ci.h"
#include "raster/s_rgb.h"
#include "tests/raster_color/color_fixture.h"
#include "tests/raster_color/color_model.h"

namespace {

GlColor ScaledClear(const GlColor &clear, const GlColorBuffer *front) {
  return {clear.r * front->redScale, clear.g * front->greenScale, clear.b * front->blueScale,
          clear.a * front->alphaScale};
}

// The generic clear rectangle stores the clear colour at every pixel of the
// rectangle as a fragment would be stored, dithered and masked, but neither
// blended nor combined by the logic op; the flags come back unchanged.
TEST(RgbClearRect, GenericRectangleIsTheStoreOfTheClearColour) {
  for (const ColorFormat &f : kRgbFormats) {
    for (int dither = 0; dither < 2; dither++) {
      for (uint32_t mask = 0; mask < 16; mask++) {
        SCOPED_TRACE(testing::Message() << f.name << " dither " << dither << " mask " << mask);
        BoundColorBuffer b(f);
        GlContext *gc = b.gc();
        ModelState s;
        s.dither = dither;
        for (int i = 0; i < 4; i++) s.write[i] = (mask >> i) & 1;
        GlRasterState &r = gc->state.raster;
        r.rMask = s.write[0], r.gMask = s.write[1], r.bMask = s.write[2], r.aMask = s.write[3];
        r.logicOp = GL_SET;
        TestRandom random(mask + 16 * dither);
        r.clear = {GLfloat(random.Next() % 257) / 256, GLfloat(random.Next() % 257) / 256,
                   GLfloat(random.Next() % 257) / 256, GLfloat(random.Next() % 257) / 256};
        const uint32_t flags = __GL_SHADE_RGB | __GL_SHADE_BLEND | __GL_SHADE_LOGIC_OP |
                               (dither ? __GL_SHADE_DITHER : 0);
        b.SetFlags(flags);
        b.cfb()->pick(gc, b.cfb());
        b.FillPattern(mask);
        std::vector<uint8_t> want = b.Bytes();
        const GlDrawableBuffer *mem = b.memory().buffer();
        const GlColor color = ScaledClear(r.clear, gc->front);
        for (int32_t row = 1; row < 5; row++)
          for (int32_t col = 2; col < 9; col++)
            WritePixel(want, mem, col, row,
                       ModelRgbStore(f, s, col + kBias, row + kBias, color,
                                     ReadPixel(want, mem, col, row)));
        rgb::ClearRect(b.cfb(), 2 + kBias, 1 + kBias, 9 + kBias, 5 + kBias);
        EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
        EXPECT_EQ(gc->polygon.shader.modeFlags, flags);
        EXPECT_TRUE(b.memory().GuardsIntact());
      }
    }
  }
}

// The 3-byte word fill: every start alignment and width, rounded to
// nearest, nothing outside the rectangle touched; and the same pixels as
// the generic rectangle away from rounding ties.
TEST(RgbClearRect, ThreeByteFillEveryAlignmentAndWidth) {
  const ColorFormat &f = kRgbFormats[4];
  const GlColor clears[] = {{0.25f + 1.0f / 1024, 0.5f, 1.0f, 1.0f},
                            {0.0f, 0.75f + 1.0f / 1024, 0.125f, 0.0f},
                            {0.875f + 1.0f / 1024, 0.125f - 1.0f / 1024, 0.625f, 0.3f}};
  for (const GlColor &clear : clears) {
    for (int32_t x0 = 0; x0 < 5; x0++) {
      for (int32_t width = 0; width < 12; width++) {
        SCOPED_TRACE(testing::Message()
                     << "clear " << clear.r << " from " << x0 << ", " << width << " wide");
        BoundColorBuffer fill(f, 17, 4), generic(f, 17, 4);
        for (BoundColorBuffer *b : {&fill, &generic}) {
          b->gc()->state.raster.clear = clear;
          b->FillPattern(uint32_t(x0 * 16 + width));
        }
        std::vector<uint8_t> want = fill.Bytes();
        const GlDrawableBuffer *mem = fill.memory().buffer();
        auto round = [](GLfloat c) { return uint32_t(floor(double(c * 255.0f) + 0.5)); };
        const uint32_t pixel = round(clear.r) << 16 | round(clear.g) << 8 | round(clear.b);
        for (int32_t row = 1; row < 3; row++)
          for (int32_t col = x0; col < x0 + width; col++) WritePixel(want, mem, col, row, pixel);
        rgb::ClearRect_24(fill.cfb(), x0 + kBias, 1 + kBias, x0 + width + kBias, 3 + kBias);
        EXPECT_EQ(FirstDifference(want, fill.Bytes(), mem), "");
        EXPECT_TRUE(fill.memory().GuardsIntact());
        rgb::ClearRect(generic.cfb(), x0 + kBias, 1 + kBias, x0 + width + kBias, 3 + kBias);
        EXPECT_EQ(FirstDifference(generic.Bytes(), fill.Bytes(), mem), "");
      }
    }
  }
}

TEST(RgbClearRect, ThreeByteFillOfAnEmptyRectangleWritesNothing) {
  BoundColorBuffer b(kRgbFormats[4], 8, 4);
  b.gc()->state.raster.clear = {1, 1, 1, 1};
  b.FillPattern(2);
  const std::vector<uint8_t> before = b.Bytes();
  const int32_t rects[][4] = {{3, 1, 3, 3}, {3, 2, 6, 2}, {5, 1, 2, 3}, {2, 3, 6, 1}};
  for (const auto &r : rects)
    rgb::ClearRect_24(b.cfb(), r[0] + kBias, r[1] + kBias, r[2] + kBias, r[3] + kBias);
  EXPECT_EQ(b.Bytes(), before);
}

// The index clear takes the integer part of the clear index on every
// route: 3.7 clears to 3, dithered or not, whatever the width or mask.
TEST(IndexClearRect, TheIntegerPartOfTheClearIndex) {
  struct Case {
    const char *what;
    size_t format;  // in kIndexFormats
    GLfloat clearIndex;
    bool dither;
    uint32_t writeMask;
  } cases[] = {
      {"3.7", 0, 3.7f, false, UINT32_MAX},
      {"3.7 dithered", 0, 3.7f, true, UINT32_MAX},
      {"3.7, low four bits writable", 0, 3.7f, false, 0x0F},
      {"200.9375 dithered, alternate bits", 0, 200.9375f, true, 0x55},
      {"12 bits, 4095.5", 1, 4095.5f, true, UINT32_MAX},
      {"16 bits, 3.7", 2, 3.7f, false, UINT32_MAX},
      {"24 bits, the largest index", 3, 16777215.0f, false, UINT32_MAX},
      {"24 bits, 3.7 dithered", 3, 3.7f, true, 0xF0F0F0},
      {"32 bits, 3.7", 4, 3.7f, true, UINT32_MAX},
  };
  for (const Case &c : cases) {
    for (bool generic : {true, false}) {
      SCOPED_TRACE(testing::Message() << c.what << (generic ? ", generic" : ", picked"));
      const ColorFormat &f = kIndexFormats[c.format];
      BoundColorBuffer b(f);
      GlContext *gc = b.gc();
      gc->state.raster.clearIndex = c.clearIndex;
      gc->state.raster.writeMask = c.writeMask;
      gc->state.raster.logicOp = GL_CLEAR + 6;  // GL_XOR: not applied to clears
      const uint32_t flags = __GL_SHADE_LOGIC_OP | (c.dither ? __GL_SHADE_DITHER : 0);
      b.SetFlags(flags);
      b.cfb()->pick(gc, b.cfb());
      ModelState s;
      s.dither = c.dither;
      s.indexWriteMask = c.writeMask;
      b.FillPattern(7);
      std::vector<uint8_t> want = b.Bytes();
      const GlDrawableBuffer *mem = b.memory().buffer();
      for (int32_t row = 0; row < 4; row++)
        for (int32_t col = 1; col < 10; col++)
          WritePixel(want, mem, col, row,
                     ModelIndexStore(f, s, col + kBias, row + kBias, floorf(c.clearIndex),
                                     ReadPixel(want, mem, col, row)));
      auto clearRect = generic ? ci::ClearRect : b.cfb()->clearRect;
      clearRect(b.cfb(), 1 + kBias, kBias, 10 + kBias, 4 + kBias);
      EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
      EXPECT_EQ(gc->polygon.shader.modeFlags, flags);
    }
  }
}

// ---- The whole clear ----

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
                                            ScaledClear(gc->state.raster.clear, gc->front), old)
                            : ModelIndexStore(f, s, col + kBias, row + kBias, 5.0f, old));
        }
      }
      b.cfb()->clear(b.cfb());
      EXPECT_EQ(gClearRects, c.rects);
      EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
      const bool hook =
          std::find(EventLog().begin(), EventLog().end(), "colorClear") != EventLog().end();
      EXPECT_EQ(hook, !c.frontRecord) << "the back end clears every buffer but the front";
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
