// The polygon-offset depth stages against a per-pixel model: pixel k's
// depth is zo + k dzdx, held to 0 .. scale; a pixel held at a clamp depth
// C fails outright with GL_LESS when C is not 0 and with GL_GREATER when C
// is 0, and otherwise goes through the depth buffer's own store. The offset
// fields are made as the triangle setup makes them, from values that
// floats hold exactly, so that the model's interval is the setup's.
#include <gtest/gtest.h>

#include <math.h>

#include <string>

#include "tests/raster/fragment_stages/stage_fixture.h"

namespace fragment_stages {
namespace {

struct OffsetCase {
  const char *name;
  double zo;      // depth of pixel 0, in units of `unit` below
  int32_t steps;  // dzdx in the same units
  int32_t x, length;
};

// unit: 2^26 for 16 bits, 2^24 for the wider buffers; scale is then 63.999
// or 127.75 units.
const OffsetCase kCases[] = {
    {"starts before the interval, enters it", -3.5, 1, 0, 20},
    {"starts before it, enters inside the first word", -5.0, 1, 2, 40},
    {"starts before it, enters in the second word", -37.25, 1, 1, 70},
    {"starts before it and stays before", -80.0, 1, 3, 50},
    {"starts inside, stays inside", 10.0, 1, 5, 40},
    {"starts inside, leaves in the first word", 120.0, 1, 0, 33},
    {"starts inside, leaves after a word and a bit", 90.0, 1, 4, 64},
    {"starts after the interval", 200.0, 1, 0, 45},
    {"falling: starts before (above the scale), enters", 130.5, -1, 0, 30},
    {"falling: starts inside, leaves below 0", 20.0, -1, 6, 60},
    {"falling and steep: crosses the whole interval", 300.0, -16, 0, 70},
    {"rising and steep: crosses the whole interval", -40.0, 8, 0, 64},
    {"flat inside", 50.0, 0, 0, 66},
    {"flat below 0", -2.0, 0, 0, 10},
    {"flat above the scale", 130.0, 0, 1, 37},
};

struct Width {
  uint32_t bits;
  bool descending;
  double unit;
};
const Width kWidths[] = {{16, false, 67108864.0},
                         {24, false, 16777216.0},
                         {24, true, 16777216.0},
                         {32, false, 16777216.0}};

// The offset fields as the triangle setup computes them, in floats; dzdx
// is the whole step, kept as the setup keeps it: the gradient, and the word
// of its low 32 bits.
void SetOffsetFields(GlShader &sh, uint32_t scale, float zo, int64_t dzdx) {
  const float d = float(dzdx), s = float(scale);
  const uint32_t word = uint32_t(uint64_t(dzdx));
  sh.offsetZ = zo;
  sh.dzdxFloat = d;
  sh.dzdx = int32_t(word);
  sh.dzdxBig = int32_t(word << 5);
  sh.offsetClampLeft = dzdx >= 0 ? 0 : scale;
  sh.offsetClampRight = dzdx >= 0 ? scale : 0;
  if (d > 0) {
    sh.offsetRangeEnd = (s - zo) / d;
    sh.offsetRangeWidth = s / d;
  } else if (d < 0) {
    sh.offsetRangeEnd = -(zo / d);
    sh.offsetRangeWidth = -(s / d);
  } else {
    sh.offsetRangeEnd = (s - zo) / 0.00001f;
    sh.offsetRangeWidth = s / 0.00001f;
  }
}

Outcome Model(SpanContext &ctx, double zo, int64_t dzdx, bool stippled, bool stencil,
              const std::vector<uint32_t> &in) {
  GlShader &sh = ctx.sh();
  GlStencilBuffer *sfb = &ctx.gc()->stencilBuffer;
  const double scale = ctx.depth().dfb()->scale;
  const GLenum func = ctx.gc()->state.depth.testFunc;
  Outcome o{};
  int32_t rejected = 0;
  for (int32_t k = 0; k < sh.length; k++) {
    bool pass = false;
    if (!stippled || Alive(in, k)) {
      const double real = zo + double(k) * double(dzdx);
      const bool clamped = real < 0 || real > scale;
      const double depth = real < 0 ? 0 : real > scale ? scale : real;
      if (clamped && ((func == GL_LESS && depth != 0) || (func == GL_GREATER && depth == 0)))
        pass = false;
      else
        pass = ctx.depth().Store(sh.x - kBias + k, sh.y - kBias, uint32_t(depth));
      if (stencil)
        (pass ? sfb->depthPassOp : sfb->passDepthFailOp)(sfb, sh.x + k, sh.y);
    }
    o.bits.push_back(pass);
    rejected += !pass;
  }
  o.result = stippled ? rejected == sh.length : rejected > 0;
  o.done = !stippled && rejected == sh.length;
  o.memory = ctx.Snapshot();
  return o;
}

Outcome BySpan(SpanContext &ctx, bool stippled, bool stencil) {
  GlSpanProc proc = stencil ? (stippled ? __glDepthTestStencilStippledOffsetSpan
                                        : __glDepthTestStencilOffsetSpan)
                            : (stippled ? __glDepthTestStippledOffsetSpan
                                        : __glDepthTestOffsetSpan);
  return RunSpan(ctx, proc);
}

TEST(OffsetSpans, RunsAgreeWithThePerPixelModel) {
  std::mt19937 rng(17);
  for (const Width &w : kWidths)
    for (const OffsetCase &c : kCases)
      for (GLenum func : kFunctions)
        for (bool write : {true, false}) {
          SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(w.bits) + " bits" +
                       (w.descending ? " descending" : "") + ", function " +
                       std::to_string(func) + (write ? ", writing" : ", masked"));
          SpanContext ctx(w.bits);
          ctx.SetDepth(func, write, w.descending);
          ctx.SetStencil(GL_ALWAYS, 0x21, 0xFF, GL_KEEP, GL_INCR, GL_INVERT);
          const uint32_t scale = ctx.depth().dfb()->scale;
          const double zo = c.zo * w.unit;
          const int32_t dzdx = int32_t(c.steps * w.unit);
          for (bool stencil : {false, true})
            for (bool stippled : {false, true}) {
              SCOPED_TRACE(std::string(stencil ? "stencil " : "") + (stippled ? "stippled" : ""));
              ctx.Scramble(rng);
              ctx.SetSpan(c.x, 1, c.length);
              SetOffsetFields(ctx.sh(), scale, float(zo), dzdx);
              std::vector<uint32_t> in(GL_SPAN_STIPPLE_WORDS);
              for (uint32_t &word : in) word = rng() | rng();
              const std::vector<uint8_t> before = ctx.Snapshot();
              const Outcome expected = Model(ctx, zo, dzdx, stippled, stencil, in);
              ctx.Restore(before);
              ctx.words() = in;
              ctx.sh().stipplePat = ctx.words().data();
              ASSERT_EQ(BySpan(ctx, stippled, stencil), expected);
            }
        }
}

// A 16-bit buffer's depths reach 2^32, so a steep span's step per pixel may
// pass 2^31, beyond what the step's word says when read as signed.
TEST(OffsetSpans, SixteenBitStepsBeyondHalfTheRange) {
  struct Case {
    const char *name;
    double zo, dzdx;
    int32_t x, length;
  };
  const Case kSteep[] = {
      {"rising from inside", 1.0e8, 3.0e9, 0, 6},
      {"rising from below 0", -2.5e9, 3.0e9, 3, 6},
      {"falling from inside", 4.2e9, -3.0e9, 1, 6},
      {"falling from above the scale", 6.0e9, -2.5e9, 0, 6},
  };
  std::mt19937 rng(29);
  for (const Case &c : kSteep)
    for (GLenum func : kFunctions)
      for (bool stippled : {false, true}) {
        SCOPED_TRACE(std::string(c.name) + ", function " + std::to_string(func) +
                     (stippled ? ", stippled" : ""));
        SpanContext ctx(16);
        ctx.SetDepth(func, true, false);
        const uint32_t scale = ctx.depth().dfb()->scale;
        ctx.Scramble(rng);
        ctx.SetSpan(c.x, 1, c.length);
        SetOffsetFields(ctx.sh(), scale, float(c.zo), int64_t(c.dzdx));
        std::vector<uint32_t> in(GL_SPAN_STIPPLE_WORDS);
        for (uint32_t &word : in) word = rng() | rng();
        const std::vector<uint8_t> before = ctx.Snapshot();
        const Outcome expected = Model(ctx, c.zo, int64_t(c.dzdx), stippled, false, in);
        ctx.Restore(before);
        ctx.words() = in;
        ctx.sh().stipplePat = ctx.words().data();
        ASSERT_EQ(BySpan(ctx, stippled, false), expected);
      }
}

// GL_LESS with a clamp depth that is not 0 rejects every clamped pixel,
// even where the stored depth is farther; with the clamp 0 it compares.
TEST(OffsetSpans, GL_LESSRejectsEveryPixelAtANonZeroClamp) {
  struct Case {
    GLenum func;
    uint32_t clamp;  // fraction of the scale, in 1/4
    bool passes;
  } cases[] = {{GL_LESS, 2, false}, {GL_LESS, 0, true},     {GL_GREATER, 0, false},
               {GL_GREATER, 2, false}, {GL_LEQUAL, 2, true}, {GL_GEQUAL, 0, false}};
  for (const DepthKind &kind : kDepthKinds)
    for (const Case &c : cases) {
      SCOPED_TRACE(std::string(kind.name) + ", function " + std::to_string(c.func));
      SpanContext ctx(kind.bits);
      ctx.SetDepth(c.func, true, kind.descending);
      // Cleared to the middle: a clamp at half the scale is "less" than
      // nothing and equal to everything.
      ctx.gc()->state.depth.clear = 0.5;
      ctx.depth().Clear();
      ctx.depth().ValidateIfAsked();
      const uint32_t scale = ctx.depth().dfb()->scale;
      ctx.SetSpan(0, 0, 40);
      GlShader &sh = ctx.sh();
      sh.offsetRangeEnd = -1.0f;  // after the interval: one clamped run
      sh.offsetRangeWidth = 10.0f;
      sh.offsetClampRight = scale / 4 * c.clamp;
      EXPECT_EQ(__glDepthTestOffsetSpan(ctx.gc()) == 0, c.passes);
      EXPECT_EQ(sh.done, c.passes ? 0 : 1);
    }
}

// The setup's truncated step can start the stepped run a little below 0
// (here pixel 11 at 11 x 10 - 115 = -5): its pixels are held at 0, not
// wrapped to the far end, and nothing stops the process.
TEST(OffsetSpans, AStartJustOutsideTheScaleIsHeldInside) {
  for (const DepthKind &kind : kDepthKinds) {
    SCOPED_TRACE(kind.name);
    SpanContext ctx(kind.bits);
    ctx.SetDepth(GL_ALWAYS, true, kind.descending);
    ctx.SetSpan(0, 2, 70);
    GlShader &sh = ctx.sh();
    sh.offsetZ = -115.0f;
    sh.dzdx = 10;
    sh.dzdxBig = 320;
    sh.offsetClampLeft = 0;
    sh.offsetClampRight = ctx.depth().dfb()->scale;
    sh.offsetRangeEnd = 100.0f;
    sh.offsetRangeWidth = 90.0f;  // pixels from 11 on are in the interval
    EXPECT_FALSE(__glDepthTestOffsetSpan(ctx.gc()));
    const uint32_t top = ctx.depth().dfb()->scale >> ctx.depth().rec()->shift;
    for (int32_t k = 0; k < 70; k++) EXPECT_LE(ctx.depth().Fetch(k, 2), 700u >> ctx.depth().rec()->shift) << k;
    EXPECT_GT(top, 700u);
  }
}

// NaN and infinite set-up values: nothing outside the span is touched.
TEST(OffsetSpans, NonFiniteSetUpValuesStayInsideTheSpan) {
  const float inf = INFINITY, nan = NAN;
  struct Case {
    float offsetZ, end, width;
  } cases[] = {{nan, nan, nan}, {nan, 5.0f, 10.0f}, {inf, 5.0f, 10.0f}, {-inf, 20.0f, 10.0f},
               {0.0f, inf, inf}, {0.0f, inf, 3.0f}, {100.0f, -inf, nan}, {1.0f, 3.0f, nan}};
  std::mt19937 rng(23);
  for (const DepthKind &kind : kDepthKinds)
    for (const Case &c : cases) {
      SCOPED_TRACE(std::string(kind.name) + " " + std::to_string(c.offsetZ) + " " +
                   std::to_string(c.end) + " " + std::to_string(c.width));
      SpanContext ctx(kind.bits);
      ctx.SetDepth(GL_ALWAYS, true, kind.descending);
      ctx.Scramble(rng);
      const std::vector<uint8_t> before = ctx.Snapshot();
      ctx.SetSpan(5, 1, 50);
      GlShader &sh = ctx.sh();
      sh.offsetZ = c.offsetZ;
      sh.offsetRangeEnd = c.end;
      sh.offsetRangeWidth = c.width;
      sh.dzdx = 1000;
      sh.dzdxBig = 32000;
      sh.offsetClampLeft = 0;
      sh.offsetClampRight = ctx.depth().dfb()->scale;
      __glDepthTestStencilOffsetSpan(ctx.gc());
      const std::vector<uint8_t> after = ctx.Snapshot();
      PixelMemory &depth = ctx.depth().memory();
      for (int32_t y = 0; y < kHeight; y++)
        for (int32_t x = 0; x < kWidth; x++) {
          if (y == 1 && x >= 5 && x < 55) continue;
          const size_t at = size_t(depth.At(x, y) - depth.At(0, 0));
          ASSERT_EQ(after[at], before[at]) << x << ", " << y;
        }
      EXPECT_TRUE(depth.GuardsIntact());
    }
}

// Before the first depth pick there is no compare: the stages test and
// write nothing, even where a run would compare at a clamp with NEVER and
// the next run with the missing compare.
TEST(OffsetSpans, WithoutAPickedCompareNothingIsTested) {
  const GlSpanProc procs[] = {__glDepthTestOffsetSpan, __glDepthTestStippledOffsetSpan,
                              __glDepthTestStencilOffsetSpan,
                              __glDepthTestStencilStippledOffsetSpan, __glDepthTestSpan,
                              __glDepthTestStencilSpan};
  std::mt19937 rng(43);
  for (const Width &w : kWidths)
    for (GlSpanProc proc : procs) {
      SCOPED_TRACE(std::to_string(w.bits) + " bits" + (w.descending ? " descending" : ""));
      SpanContext ctx(w.bits);
      ctx.SetDepth(GL_LESS, true, w.descending);
      ctx.Scramble(rng);
      ctx.SetSpan(0, 1, 30);
      // Falling from 2.5 steps above the scale: a clamped run of 3 pixels,
      // then a stepped one.
      const uint32_t scale = ctx.depth().dfb()->scale;
      SetOffsetFields(ctx.sh(), scale, float(scale + 2.5 * w.unit), -int32_t(w.unit));
      ctx.sh().z = scale / 2;
      std::fill(ctx.words().begin(), ctx.words().end(), ~0u);
      const std::vector<uint8_t> before = ctx.Snapshot();
      ctx.gc()->procs.depthTestPixel = nullptr;
      const Outcome got = RunSpan(ctx, proc);
      EXPECT_FALSE(got.result);
      EXPECT_EQ(got.done, 0);
      EXPECT_EQ(got.memory, before);
    }
}

}  // namespace
}  // namespace fragment_stages
