// The depth test of every function, width and write-mask state, held
// against a plain reference buffer: each fragment's verdict, and every
// pixel's depth read back after it.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "raster/s_depth.h"
#include "tests/raster/ancillary/ancillary_fixture.h"
#include "tests/raster/depth/depth_reference.h"

namespace ancillary_test {
namespace {

const GLenum kFunctions[] = {GL_NEVER,   GL_LESS,     GL_EQUAL,  GL_LEQUAL,
                             GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};

struct TestCase {
  DepthWidth width;
  GLenum func;
  bool write;
  double clear;
};

std::string Name(const TestCase &c) {
  return std::to_string(c.width.bits) + " bits, function " + std::to_string(c.func) +
         (c.write ? ", writing" : ", writes off") + ", cleared to " + std::to_string(c.clear);
}

std::vector<TestCase> Cases() {
  std::vector<TestCase> cases;
  for (const DepthWidth &width : {kDepth16, kDepth24, kDepth32})
    for (GLenum func : kFunctions)
      for (bool write : {true, false})
        for (double clear : {1.0, 0.0, 0.5}) cases.push_back({width, func, write, clear});
  return cases;
}

// Window z worth trying: the ends, just inside and beyond them, the steps
// of each width, depths already stored, and anything.
uint32_t PickZ(std::mt19937 &rng, const DepthWidth &width, DepthReference &ref, int32_t w,
               int32_t h) {
  const uint32_t fixed[] = {0,           1,          127,         128,
                            0xFFFF,      0x10000,    width.scale / 2, width.scale - 1,
                            width.scale, width.scale + 1, 0xFFFFFFFFu};
  switch (rng() % 4) {
    case 0:
      return fixed[rng() % (sizeof fixed / sizeof fixed[0])];
    case 1:
      return ref.At(int32_t(rng() % w), int32_t(rng() % h)) << width.shift;
    default:
      return uint32_t(uint64_t(rng()) * (uint64_t(width.scale) + 1) >> 32);
  }
}

TEST(DepthTest, EveryFunctionWidthAndWriteMaskAgreesWithAPlainBuffer) {
  constexpr int32_t kW = 7, kH = 5;
  uint32_t seed = 1;
  for (const TestCase &c : Cases()) {
    SCOPED_TRACE(Name(c));
    AncillaryContext ctx(kW, kH);
    GlContext *gc = ctx.gc();
    gc->state.depth.testFunc = c.func;
    gc->state.depth.clear = c.clear;
    DepthBufferFixture depth(&ctx, c.width.bits);
    DepthReference ref(c.width, kW, kH);
    // Two clears: on the 24-bit buffer the second may be an epoch clear,
    // which leaves most words of an older epoch.
    for (int i = 0; i < 2; i++) {
      depth.Clear();
      depth.ValidateIfAsked();
    }
    ref.Clear(c.clear, 0, 0, kW, kH);
    gc->state.depth.writeEnable = c.write;
    depth.Validate();

    std::mt19937 rng(seed++);
    for (int n = 0; n < 400; n++) {
      const int32_t x = int32_t(rng() % kW), y = int32_t(rng() % kH);
      const uint32_t z = PickZ(rng, c.width, ref, kW, kH);
      ASSERT_EQ(depth.Store(x, y, z), ref.Store(c.func, c.write, x, y, z))
          << "fragment " << n << " at " << x << ", " << y << " z " << z;
      for (int32_t py = 0; py < kH; py++)
        for (int32_t px = 0; px < kW; px++)
          ASSERT_EQ(depth.Fetch(px, py), ref.At(px, py)) << "pixel " << px << ", " << py;
    }
    EXPECT_TRUE(depth.memory().GuardsIntact());
  }
}

// The table: four blocks of the eight functions, 16-bit words writing and
// not, then 32-bit words writing and not; GL_NEVER serves both halves.
TEST(DepthTest, TheStoreTableHoldsEachFunctionWidthAndWriteState) {
  for (int index = 0; index < 32; index++) {
    SCOPED_TRACE(index);
    const DepthWidth width = index < 16 ? kDepth16 : kDepth32;
    const GLenum func = GL_NEVER + (index & 7);
    const bool write = (index & 8) == 0;
    AncillaryContext ctx(2, 1);
    DepthBufferFixture depth(&ctx, width.bits);
    depth.memory().Write(0, 0, 0x12345678u & (width.bits == 16 ? 0xFFFFu : ~0u));
    const uint32_t stored = depth.memory().Read(0, 0);
    for (uint32_t z : {0u, stored << width.shift, width.scale, (stored << width.shift) - 1,
                       (stored << width.shift) + (1u << width.shift)}) {
      const uint32_t units = width.Units(z);
      const bool passes = ReferencePasses(func, units, stored);
      EXPECT_EQ(__glStoreProcs[index](depth.dfb(), kBias, kBias, z) != 0, passes) << z;
      EXPECT_EQ(depth.memory().Read(0, 0), passes && write ? units : stored) << z;
      EXPECT_EQ(depth.memory().Read(1, 0), 0xA5A5A5A5u & (width.bits == 16 ? 0xFFFFu : ~0u))
          << "the neighbour is untouched";
      depth.memory().Write(0, 0, stored);
    }
    if ((index & 7) == 0) {
      EXPECT_EQ(__glStoreProcs[index], __glStoreProcs[index & ~8]) << "GL_NEVER serves both";
    }
  }
}

// Depths reach the buffer stepped with wraparound: a depth rounded a few
// units below 0 arrives as a word near 2^32 and must count as the near end,
// not the far one, or near-plane pixels fail a GL_LESS test against a
// buffer cleared to the far end.
TEST(DepthTest, WordsWrappedBelowZeroCountAsTheNearEnd) {
  for (const DepthWidth &width : {kDepth16, kDepth24, kDepth32}) {
    SCOPED_TRACE(width.bits);
    const uint32_t gap = UINT32_MAX - width.scale;
    const struct {
      uint32_t z;
      uint32_t units;
    } kWords[] = {
        {width.scale, width.Top()},
        {width.scale + 1, width.Top()},
        {width.scale + gap / 2, width.Top()},
        {width.scale + gap / 2 + 1, 0},
        {0xFFFFFFFDu, 0},
        {0xFFFFFFFFu, 0},
    };
    for (const auto &w : kWords) {
      AncillaryContext ctx(1, 1);
      GlContext *gc = ctx.gc();
      gc->state.depth.testFunc = GL_LESS;
      gc->state.depth.clear = 1.0;
      DepthBufferFixture depth(&ctx, width.bits);
      depth.Clear();
      depth.Validate();
      const bool nearEnd = w.units == 0;
      EXPECT_EQ(depth.Store(0, 0, w.z) != 0, nearEnd) << w.z;
      EXPECT_EQ(depth.Fetch(0, 0), nearEnd ? 0u : width.Top()) << w.z;
    }
  }
}

}  // namespace
}  // namespace ancillary_test
