// Antialiased lines through their render procedure, each run handed to a
// recorder that runs the coverage stage on it and keeps every pixel's
// coverage, against an independent double-precision evaluation of the
// coverage rule at the pixel's centre.
#include <gtest/gtest.h>
#include <math.h>

#include <map>
#include <random>
#include <utility>
#include <vector>

#include "core/context.h"
#include "raster/s_line_aa.h"
#include "raster/s_line_walk.h"
#include "tests/raster/aa_lines/aa_line_formula.h"
#include "tests/core/services/service_context.h"

namespace {

constexpr int32_t kBias = 4096;
constexpr uint32_t kCanary = 0xC0FFEE11u;
using Pixel = std::pair<int32_t, int32_t>;

class AALineContext {
 public:
  AALineContext() {
    GlContext *g = gc();
    g->imports.other = this;
    GlConstants &k = g->constants;
    k.half = 0.5f, k.one = 1.0f;
    k.viewportXAdjust = k.viewportYAdjust = kBias;
    k.redRescale = k.greenRescale = k.blueRescale = k.alphaRescale = 1.0f;
    k.depthMax = float(0x7FC00000u);
    g->state.line.smoothWidth = 1.0f;
    g->state.line.stippleRepeat = 1;
    g->procs.line.processLine = Record;
    g->polygon.shader.modeFlags = __GL_SHADE_RGB;
    // The span arrays exactly as large as the context's, canaries behind.
    for (int i = 0; i < 2; i++) {
      colors_[i].assign(GL_SPAN_PIXELS + 4, GlColor{0, 0, 0, 0});
      for (int j = 0; j < 4; j++) colors_[i][GL_SPAN_PIXELS + j].r = GLfloat(kCanary);
      g->spanColors[i] = colors_[i].data();
    }
    stipple_.assign(GL_SPAN_STIPPLE_WORDS + 2, kCanary);
    g->spanStipple = stipple_.data();
  }
  GlContext *gc() const { return ctx_.gc(); }
  static GlVertex Vertex(double x, double y, double eyeZ = 0.0) {
    GlVertex v{};
    v.window = {float(x + kBias), float(y + kBias), 0.5f, 1.0f};
    v.eye.z = float(eyeZ);
    v.colors[0] = {1, 1, 1, 1};
    return v;
  }
  void Draw(GlVertex a, GlVertex b) {
    a.color = &a.colors[0];
    b.color = &b.colors[0];
    __glRenderAntiAliasLine(gc(), &a, &b);
  }
  bool CanariesIntact() const {
    for (int i = 0; i < 2; i++)
      for (int j = 0; j < 4; j++)
        if (colors_[i][GL_SPAN_PIXELS + j].r != GLfloat(kCanary)) return false;
    return stipple_[GL_SPAN_STIPPLE_WORDS] == kCanary && stipple_[GL_SPAN_STIPPLE_WORDS + 1] == kCanary;
  }

  std::map<Pixel, double> coverage;  // stored pixels
  int duplicates = 0;
  int32_t longestRun = 0;
  // Per pixel of every run: the fog value the fog stage would read.
  std::map<Pixel, double> fog;

 private:
  static void Record(GlContext *gc) {
    AALineContext *self = static_cast<AALineContext *>(gc->imports.other);
    GlShader &sh = gc->polygon.shader;
    if (sh.length > self->longestRun) self->longestRun = sh.length;
    for (int32_t k = 0; k < sh.length; k++) sh.spanColors[k] = {1, 1, 1, 1};
    sh.done = 0;  // as the processors start every run
    const bool dead = __glAntiAliasLine(gc) && sh.done;
    line_walk::Dda dda(gc->line);
    for (int32_t k = 0; k < sh.length; k++, dda.Step()) {
      const Pixel p = {dda.x - kBias, dda.y - kBias};
      self->fog[p] = double(sh.fog) + double(k) * double(sh.dfdx);
      if (dead || !(sh.stipplePat[k >> 5] & (0x80000000u >> (k & 31)))) continue;
      self->duplicates += int(self->coverage.count(p));
      // RGBA: alpha times the coverage; index: the index with the coverage
      // in its low four bits.
      self->coverage[p] = (sh.modeFlags & __GL_SHADE_RGB) ? sh.spanColors[k].a : sh.spanColors[k].r;
    }
  }
  ServiceContext ctx_;
  std::vector<GlColor> colors_[2];
  std::vector<uint32_t> stipple_;
};

double Formula(double ax, double ay, double bx, double by, double width, Pixel p) {
  return aa_model::LineCoverage(ax, ay, bx, by, width, p.first, p.second);
}

struct Segment {
  double ax, ay, bx, by, width;
};

Segment RandomSegment(std::mt19937 &rng) {
  std::uniform_real_distribution<double> pos(10, 300), len(0.5, 256), angle(0, 2 * M_PI);
  std::uniform_int_distribution<int> width(1, 4);
  const double a = angle(rng), n = len(rng);
  Segment s;
  s.ax = pos(rng), s.ay = pos(rng);
  s.bx = s.ax + n * cos(a), s.by = s.ay + n * sin(a);
  s.width = width(rng);
  return s;
}

std::map<Pixel, double> DrawSegment(const Segment &s, bool swap = false) {
  AALineContext ctx;
  ctx.gc()->state.line.smoothWidth = float(s.width);
  GlVertex a = AALineContext::Vertex(s.ax, s.ay), b = AALineContext::Vertex(s.bx, s.by);
  if (swap) std::swap(a, b);
  ctx.Draw(a, b);
  EXPECT_EQ(ctx.duplicates, 0);
  return ctx.coverage;
}

TEST(AALine, CoverageFollowsTheRuleAtEachPixelCentre) {
  std::mt19937 rng(5);
  for (int trial = 0; trial < 200; trial++) {
    const Segment s = RandomSegment(rng);
    SCOPED_TRACE(testing::Message() << "(" << s.ax << "," << s.ay << ")-(" << s.bx << "," << s.by
                                    << ") width " << s.width);
    // The vertices as the float window coordinates carry them.
    const double ax = float(s.ax + kBias) - kBias, ay = float(s.ay + kBias) - kBias;
    const double bx = float(s.bx + kBias) - kBias, by = float(s.by + kBias) - kBias;
    const std::map<Pixel, double> got = DrawSegment(s);
    double sum = 0;
    for (const auto &[p, c] : got) {
      sum += c;
      EXPECT_NEAR(c, Formula(ax, ay, bx, by, s.width, p), 1.0 / 64) << p.first << "," << p.second;
    }
    // Every clearly covered pixel is among the runs.
    const int32_t x0 = int32_t(fmin(ax, bx)) - 4, x1 = int32_t(fmax(ax, bx)) + 4;
    const int32_t y0 = int32_t(fmin(ay, by)) - 4, y1 = int32_t(fmax(ay, by)) + 4;
    for (int32_t y = y0; y <= y1; y++)
      for (int32_t x = x0; x <= x1; x++)
        if (Formula(ax, ay, bx, by, s.width, {x, y}) > 0.15) {
          EXPECT_TRUE(got.count({x, y})) << "missing " << x << "," << y;
        }
    const double length = hypot(bx - ax, by - ay);
    EXPECT_NEAR(sum, length * s.width, 0.05 * length * s.width + 2.0);
  }
}

TEST(AALine, SwappedEndsGiveTheSameCoverage) {
  std::mt19937 rng(9);
  for (int trial = 0; trial < 100; trial++) {
    const Segment s = RandomSegment(rng);
    const std::map<Pixel, double> ab = DrawSegment(s), ba = DrawSegment(s, true);
    const double ax = float(s.ax + kBias) - kBias, ay = float(s.ay + kBias) - kBias;
    const double bx = float(s.bx + kBias) - kBias, by = float(s.by + kBias) - kBias;
    for (const auto &[p, c] : ab) {
      if (Formula(ax, ay, bx, by, s.width, p) <= 0.15) continue;
      auto it = ba.find(p);
      ASSERT_TRUE(it != ba.end()) << p.first << "," << p.second;
      EXPECT_NEAR(it->second, c, 1.0 / 64) << p.first << "," << p.second;
    }
  }
}

// A level line of width 1 through pixel centres, from the centre of pixel 2
// to that of pixel 12 on row 5.
struct LevelRow {
  const char *what;
  uint16_t pattern;  // 0: no stipple
  std::map<int32_t, double> want;  // x -> coverage on row 5
};

std::map<int32_t, double> Level(double first, double middle, double last) {
  std::map<int32_t, double> m = {{2, first}, {12, last}};
  for (int32_t x = 3; x < 12; x++) m[x] = middle;
  return m;
}

TEST(AALine, LevelLineThroughPixelCentres) {
  const LevelRow rows[] = {
      {"full on its row, half on the end pixels", 0, Level(0.5, 1.0, 0.5)},
      {"stipple 0x5555 blends neighbouring bits to a half", 0x5555, Level(0.5, 0.5, 0.25)},
  };
  for (const LevelRow &row : rows) {
    SCOPED_TRACE(row.what);
    AALineContext ctx;
    if (row.pattern) {
      ctx.gc()->polygon.shader.modeFlags |= __GL_SHADE_LINE_STIPPLE;
      ctx.gc()->state.line.stipple = row.pattern;
    }
    ctx.Draw(AALineContext::Vertex(2.5, 5.5), AALineContext::Vertex(12.5, 5.5));
    std::map<Pixel, double> want;
    for (const auto &[x, c] : row.want) want[{x, 5}] = c;
    EXPECT_EQ(ctx.coverage.size(), want.size());
    for (const auto &[p, c] : want) {
      auto it = ctx.coverage.find(p);
      ASSERT_TRUE(it != ctx.coverage.end()) << p.first;
      EXPECT_NEAR(it->second, c, 1e-6) << p.first;
    }
  }
}

TEST(AALine, ZeroLengthDrawsNothingAndKeepsTheStipple) {
  AALineContext ctx;
  GlContext *gc = ctx.gc();
  gc->polygon.shader.modeFlags |= __GL_SHADE_LINE_STIPPLE;
  gc->lineStippleStarted = 1;
  gc->line.stippleBit = 5, gc->line.stippleRepeatCount = 0;
  ctx.Draw(AALineContext::Vertex(7.3, 7.3), AALineContext::Vertex(7.3, 7.3));
  ctx.Draw(AALineContext::Vertex(7.3, NAN), AALineContext::Vertex(17.3, 7.3));
  ctx.Draw(AALineContext::Vertex(7.3, 1e9), AALineContext::Vertex(17.3, 7.3));
  EXPECT_TRUE(ctx.coverage.empty());
  EXPECT_EQ(gc->line.stippleBit, 5);
  EXPECT_EQ(gc->line.stippleRepeatCount, 0);
}

TEST(AALine, StipplePositionAlongAStrip) {
  for (int repeat : {1, 3, 7}) {
    SCOPED_TRACE(repeat);
    AALineContext ctx;
    GlContext *gc = ctx.gc();
    gc->polygon.shader.modeFlags |= __GL_SHADE_LINE_STIPPLE;
    gc->state.line.stipple = 0x0F0F;
    gc->state.line.stippleRepeat = uint16_t(repeat);
    gc->lineStippleStarted = 0;
    const double points[][2] = {{3.2, 4.1}, {20.7, 9.9}, {25.3, 40.2}, {2.2, 33.3}, {60.1, 34.0}};
    int64_t position = 0;  // the reference counter, in pixels
    for (int i = 0; i + 1 < 5; i++) {
      const GlVertex a = AALineContext::Vertex(points[i][0], points[i][1]);
      const GlVertex b = AALineContext::Vertex(points[i + 1][0], points[i + 1][1]);
      ctx.Draw(a, b);
      const double dx = double(b.window.x) - a.window.x, dy = double(b.window.y) - a.window.y;
      position += int64_t(ceil(double(sqrtf(float(dx * dx + dy * dy)))));
      EXPECT_EQ(gc->line.stippleBit, (position / repeat) & 15) << "segment " << i;
      EXPECT_EQ(gc->line.stippleRepeatCount, position % repeat) << "segment " << i;
    }
  }
}

TEST(AALine, LongestRunsStayInsideTheSpanArrays) {
  // Major lengths of 2048 (2049 pixels) and 2048 plus a rounding step.
  for (double length : {2048.0, 2048.25}) {
    for (int axis = 0; axis < 2; axis++) {
      SCOPED_TRACE(testing::Message() << length << " axis " << axis);
      AALineContext ctx;
      ctx.gc()->state.line.smoothWidth = 2.0f;
      const GlVertex a = AALineContext::Vertex(0.3, 0.3);
      const GlVertex b = axis ? AALineContext::Vertex(5.3, 0.3 + length)
                              : AALineContext::Vertex(0.3 + length, 5.3);
      ctx.Draw(a, b);
      EXPECT_EQ(ctx.longestRun, length == 2048.0 ? 2049 : 2050);
      EXPECT_TRUE(ctx.CanariesIntact());
    }
  }
}

TEST(AALine, NicestFogFollowsEyeZAlongEachRun) {
  AALineContext ctx;
  GlContext *gc = ctx.gc();
  gc->polygon.shader.modeFlags |= __GL_SHADE_FRAGMENT_FOG;
  gc->state.hints.fog = GL_NICEST;
  gc->state.line.smoothWidth = 3.0f;
  const double ax = 4.2, ay = 6.7, bx = 90.9, by = 40.3, za = -2.0, zb = -50.0;
  ctx.Draw(AALineContext::Vertex(ax, ay, za), AALineContext::Vertex(bx, by, zb));
  ASSERT_FALSE(ctx.fog.empty());
  for (const auto &[p, f] : ctx.fog) {
    // x-major: eye z interpolated by the pixel centre's x.
    const double t = (p.first + 0.5 - ax) / (bx - ax);
    EXPECT_NEAR(f, za + (zb - za) * t, 1e-3 * fabs(zb - za)) << p.first << "," << p.second;
  }
}

TEST(AALine, IndexCoverageInTheLowFourBits) {
  AALineContext ctx;
  GlContext *gc = ctx.gc();
  gc->polygon.shader.modeFlags = 0;
  gc->state.line.smoothWidth = 1.0f;
  // The recorder fills every entry with index 1, whose bits above the low
  // four are 0: what is left is round(15 c).
  ctx.Draw(AALineContext::Vertex(2.5, 5.5), AALineContext::Vertex(12.5, 5.5));
  ASSERT_EQ(ctx.coverage.size(), 11u);
  for (const auto &[p, index] : ctx.coverage)
    EXPECT_EQ(index, (p.first == 2 || p.first == 12) ? 8.0 : 15.0) << p.first;
}

}  // namespace
