// The line stipple, the scissor stage and the processors with their wide-
// line repeat, run with a recording store: which pixels of which rows
// survive.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "raster/s_line.h"
#include "raster/s_line_walk.h"
#include "tests/raster/lines/line_fixture.h"

namespace line_test {
namespace {

std::vector<Pixel> gStored;

bool AliveBit(const GlContext *gc, int32_t k) {
  return (gc->polygon.shader.stipplePat[k >> 5] & (0x80000000u >> (k & 31))) != 0;
}

template <bool kStippled>
GLbool8 RecordStore(GlContext *gc) {
  const std::vector<Pixel> pixels = RunPixels(gc);
  for (int32_t k = 0; k < int32_t(pixels.size()); k++)
    if (!kStippled || AliveBit(gc, k)) gStored.push_back(pixels[size_t(k)]);
  return 0;
}

GLbool8 Nothing(GlContext *) { return 0; }

// Stipple (optional), scissor and the recording store, with the wide-line
// repeat for widths above 1, as the line picker lays them out.
void Install(GlContext *gc, bool stipple, int32_t width) {
  GlLineProcs &p = gc->procs.line;
  p = GlLineProcs{};
  int32_t n = 0;
  if (stipple) p.lineFuncs[n++] = __glStippleLine;
  const int32_t row = n;
  p.lineFuncs[n] = __glScissorLine, p.stippledLineFuncs[n++] = __glScissorStippledLine;
  p.lineFuncs[n] = RecordStore<false>, p.stippledLineFuncs[n++] = RecordStore<true>;
  p.count = p.storeIndex = n;
  p.lineFinal = p.stippledLineFinal = Nothing;
  if (width > 1) {
    p.startReplicate = row;
    p.lineEnd = __glWideLineRep;
    p.stippledLineEnd = __glWideStippleLineRep;
  } else {
    p.startReplicate = n;
    p.lineEnd = p.stippledLineEnd = Nothing;
  }
  p.processLine = __glProcessLine;
  gc->polygon.shader.modeFlags = stipple ? __GL_SHADE_LINE_STIPPLE : 0;
  gc->state.line.aliasedWidth = width;
  int32_t *box = gc->transform.clipBox;
  box[0] = box[1] = kBias - 4096;
  box[2] = box[3] = kBias + 4096;
}

void Draw(GlContext *gc, double x0, double y0, double x1, double y1) {
  GlVertex a = LineContext::Vertex(x0, y0), b = LineContext::Vertex(x1, y1);
  a.color = &a.colors[0];
  b.color = &b.colors[0];
  __glRenderAliasLine(gc, &a, &b);
}

TEST(LineStipple, PatternAndRepeatRunOnAlongAStripAndRestart) {
  LineContext ctx;
  GlContext *gc = ctx.gc();
  Install(gc, true, 1);
  gc->state.line.stipple = 0x00FF;
  gc->state.line.stippleRepeat = 2;
  gc->lineStippleStarted = 0;
  gStored.clear();
  Draw(gc, 0.2, 0.5, 40.2, 0.5);  // 40 pixels: 16 on, 16 off, 8 on
  std::vector<Pixel> want;
  for (int32_t x = 0; x < 16; x++) want.push_back({x, 0});
  for (int32_t x = 32; x < 40; x++) want.push_back({x, 0});
  EXPECT_EQ(gStored, want);
  // The next segment of the strip continues: 8 more on, then 16 off.
  gStored.clear();
  Draw(gc, 40.2, 0.5, 70.2, 0.5);
  want.clear();
  for (int32_t x = 40; x < 48; x++) want.push_back({x, 0});
  for (int32_t x = 64; x < 70; x++) want.push_back({x, 0});
  EXPECT_EQ(gStored, want);
  // Cleared: the pattern starts again.
  gc->lineStippleStarted = 0;
  gStored.clear();
  Draw(gc, 0.2, 2.5, 20.2, 2.5);
  want.clear();
  for (int32_t x = 0; x < 16; x++) want.push_back({x, 2});
  EXPECT_EQ(gStored, want);
}

TEST(LineStipple, EveryPatternAndRepeatAgainstThePixelCount) {
  std::mt19937 rng(3);
  for (int i = 0; i < 200; i++) {
    LineContext ctx;
    GlContext *gc = ctx.gc();
    Install(gc, true, 1);
    const uint16_t pattern = uint16_t(rng());
    const int32_t repeat = 1 + int32_t(rng() % 5);
    gc->state.line.stipple = pattern;
    gc->state.line.stippleRepeat = uint16_t(repeat);
    gStored.clear();
    const int32_t length = 1 + int32_t(rng() % 300);
    Draw(gc, 2.2, 3.5, 2.2 + length, 3.5);
    std::vector<Pixel> want;
    for (int32_t k = 0; k < length; k++)
      if (pattern >> ((k / repeat) & 15) & 1) want.push_back({2 + k, 3});
    ASSERT_EQ(gStored, want) << "pattern " << pattern << " repeat " << repeat;
    EXPECT_EQ(gc->line.stippleBit, (length / repeat) & 15);
    EXPECT_EQ(gc->line.stippleRepeatCount, length % repeat);
  }
}

TEST(WideLines, RowsRepeatAcrossTheMajorAxis) {
  for (bool stipple : {false, true}) {
    LineContext ctx;
    GlContext *gc = ctx.gc();
    Install(gc, stipple, 3);
    gc->state.line.stipple = 0xF0F0;
    gc->state.line.stippleRepeat = 1;
    // x-major: three rows in +y, the middle one on the line.
    gStored.clear();
    Draw(gc, 10.2, 10.5, 20.2, 10.5);
    std::set<Pixel> got(gStored.begin(), gStored.end()), want;
    for (int32_t y = 9; y <= 11; y++)
      for (int32_t x = 10; x < 20; x++)
        if (!stipple || (0xF0F0 >> ((x - 10) & 15) & 1)) want.insert({x, y});
    EXPECT_EQ(got, want) << "x-major, stipple " << stipple;
    EXPECT_EQ(gStored.size(), want.size());
    // y-major: three columns in +x.
    gc->lineStippleStarted = 0;
    gStored.clear();
    Draw(gc, 5.5, 0.2, 5.5, 6.2);
    got = std::set<Pixel>(gStored.begin(), gStored.end());
    want.clear();
    for (int32_t x = 4; x <= 6; x++)
      for (int32_t y = 0; y < 6; y++)
        if (!stipple || (0xF0F0 >> (y & 15) & 1)) want.insert({x, y});
    EXPECT_EQ(got, want) << "y-major, stipple " << stipple;
  }
}

// The scissor's quick checks against a plain walk of every pixel, over
// random segments (runs up to 2049 pixels, falling minor positions) and
// boxes.
TEST(LineScissor, QuickChecksGiveThePixelsOfTheFullWalk) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> pos(-20, 2070), boxPos(-10, 2060);
  int checked = 0;
  for (int i = 0; i < 3000; i++) {
    LineContext ctx;
    GlContext *gc = ctx.gc();
    Install(gc, false, 1);
    int32_t *box = gc->transform.clipBox;
    int32_t bx[2] = {int32_t(boxPos(rng)), int32_t(boxPos(rng))};
    int32_t by[2] = {int32_t(boxPos(rng)), int32_t(boxPos(rng))};
    if (i % 3 == 0) bx[0] = -30, bx[1] = 2100, by[0] = -30, by[1] = 2100;
    box[0] = kBias + std::min(bx[0], bx[1]), box[2] = kBias + std::max(bx[0], bx[1]);
    box[1] = kBias + std::min(by[0], by[1]), box[3] = kBias + std::max(by[0], by[1]);
    double x0 = pos(rng), y0 = pos(rng), x1 = pos(rng), y1 = pos(rng);
    if (i % 4 == 1) x0 = 0, x1 = 2048, y0 = 10.5, y1 = 10.8;
    gStored.clear();
    Draw(gc, x0, y0, x1, y1);
    // The set-up is still in gc->line.
    std::vector<Pixel> want;
    gc->polygon.shader.length = gc->line.pixelCount;
    for (const Pixel &p : RunPixels(gc))
      if (p.first + kBias >= box[0] && p.first + kBias < box[2] && p.second + kBias >= box[1] &&
          p.second + kBias < box[3])
        want.push_back(p);
    ASSERT_EQ(gStored, want) << "(" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << ")";
    checked += !want.empty();
  }
  EXPECT_GT(checked, 1000);
}

}  // namespace
}  // namespace line_test
