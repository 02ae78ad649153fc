// Every depth-test key generated and run on random chunks against the model
// of its loop, through the run harness (fastcall entry, ebx, esi, edi, ebp
// and esp checked), with guard pages after the last live pixel.
#include <gtest/gtest.h>

#include <random>

#include "codegen/og_cache.h"
#include "codegen/og_cache_switch.h"
#include "core/context.h"
#include "raster/s_depth.h"
#include "tests/codegen/depth_test/zt_fixture.h"

namespace zt_test {
namespace {

uint32_t ScaleOf(uint32_t key) { return (key & OG_ZT_16BIT) ? 0xFFFF0000u : 0x7FC00000u; }

// A random chunk and depth row; some rows hold the depths the chunk brings,
// so that the equality functions pass somewhere.
struct Case {
  Chunk chunk;
  std::vector<uint32_t> depth;
};

Case RandomCase(std::mt19937 &rng, uint32_t key) {
  const uint32_t scale = ScaleOf(key);
  const uint32_t stored = (key & OG_ZT_16BIT) ? 0xFFFF : scale;
  std::uniform_int_distribution<uint32_t> any;
  Case c;
  static const uint32_t kMasks[] = {0xFFFFFFFFu, 0x80000001u, 0x80000000u, 0x00000001u,
                                    0xF0F0F0F0u, 0x7FFFFFFEu};
  c.chunk.mask = rng() % 3 ? any(rng) | 1u << (rng() % 32) : kMasks[rng() % 6];
  c.chunk.direction = rng() % 2 ? 1 : -1;
  c.chunk.z = any(rng) % (scale + 1);
  c.chunk.dzdx = int32_t(any(rng) % 0x200000) - 0x100000;
  if (rng() % 4 == 0) c.chunk.dzdx = 0;
  c.chunk.offsetZ = int32_t(any(rng) % 0x40000000) - 0x20000000;
  if (rng() % 4 == 0) c.chunk.offsetZ = rng() % 2 ? INT32_MAX : INT32_MIN + 1;
  c.depth.resize(32);
  for (uint32_t &d : c.depth) d = any(rng) % (stored + 1);
  if (rng() % 3 == 0) {
    const uint32_t same = (key & OG_ZT_16BIT) ? c.chunk.z >> 16 : c.chunk.z;
    for (uint32_t &d : c.depth) d = same;
  }
  return c;
}

TEST_F(ZtTest, EveryKeyMatchesTheModelOnRandomChunks) {
  std::mt19937 rng(46);
  for (uint32_t key : AllKeys()) {
    SetKey(key);
    const void *routine = OGGenerateZT(gc);
    ASSERT_NE(routine, nullptr);
    for (int n = 0; n < 24; n++) {
      const Case c = RandomCase(rng, key);
      const Outcome want = Model(key, c.chunk, c.depth);
      const Outcome got = Run(routine, key, c.chunk, c.depth);
      SCOPED_TRACE(testing::Message() << "key 0x" << std::hex << key << " mask 0x" << c.chunk.mask
                                      << " z 0x" << c.chunk.z << " dzdx " << std::dec
                                      << c.chunk.dzdx << " dir " << c.chunk.direction);
      ASSERT_EQ(got.depth, want.depth);
      ASSERT_EQ(got.called, want.called);
      if (want.called) {
        ASSERT_EQ(got.handedOn, want.handedOn);
      }
      if (!(key & OG_ZT_16BIT)) {
        for (uint32_t d : got.depth) ASSERT_LE(d, 0x7FC00000u);
      }
    }
  }
}

// Depth stepped below 0 arrives as a word near 2^32 and counts as 0; one a
// little above the scale counts as the scale.
TEST_F(ZtTest, WrappedDepthsTakeTheBuffersRangeRule) {
  struct Row {
    uint32_t key;
    uint32_t z;
    int32_t dzdx;
    uint32_t cleared;
    uint32_t first, second;  // stored depth of pixels 0 and 1
  };
  const uint32_t less = (GL_LESS & 7) | OG_ZT_WRITE;
  const Row rows[] = {
      {less, 0, -3, 0x7FC00000u, 0, 0},
      {less | OG_ZT_16BIT, 0, -3, 0xFFFF, 0, 0},
      {(GL_LEQUAL & 7) | OG_ZT_WRITE, 0x7FC00000u, 5, 0x7FC00000u, 0x7FC00000u, 0x7FC00000u},
      {(GL_LEQUAL & 7) | OG_ZT_WRITE | OG_ZT_16BIT, 0xFFFF0000u, 5, 0xFFFF, 0xFFFF, 0xFFFF},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.key);
    SetKey(r.key);
    const void *routine = OGGenerateZT(gc);
    const Chunk chunk{0xC0000000u, r.z, r.dzdx, 0, 1};
    const Outcome got = Run(routine, r.key, chunk, std::vector<uint32_t>(32, r.cleared));
    EXPECT_TRUE(got.called);
    EXPECT_EQ(got.handedOn, 0xC0000000u);
    EXPECT_EQ(got.depth[0], r.first);
    EXPECT_EQ(got.depth[1], r.second);
  }
  // A word just above the scale compares as the scale: GL_LESS against a
  // cleared buffer fails.
  SetKey(GL_LESS & 7);
  const Chunk above{0x80000000u, 0x7FC00001u, 0, 0, 1};
  EXPECT_FALSE(Run(OGGenerateZT(gc), GL_LESS & 7, above, std::vector<uint32_t>(32, 0x7FC00000u))
                   .called);
}

TEST_F(ZtTest, PolygonOffsetSaturatesAndStaysWithinTheScale) {
  const uint32_t key = (GL_ALWAYS & 7) | OG_ZT_WRITE | OG_ZT_OFFSET;
  for (uint32_t width : {0u, OG_ZT_16BIT}) {
    SetKey(key | width);
    const void *routine = OGGenerateZT(gc);
    const Chunk up{0x80000000u, width ? 0xFF000000u : 0x7F000000u, 0, INT32_MAX, 1};
    const Chunk down{0x80000000u, 0x100u, 0, INT32_MIN + 1, 1};
    EXPECT_EQ(Run(routine, key | width, up, std::vector<uint32_t>(32, 7)).depth[0],
              width ? 0xFFFFu : 0x7FC00000u);
    EXPECT_EQ(Run(routine, key | width, down, std::vector<uint32_t>(32, 7)).depth[0], 0u);
  }
}

TEST_F(ZtTest, NeverHandsOnAnEmptyMaskOnlyUnderTheStencilTest) {
  SetKey(GL_NEVER & 7);
  const Chunk chunk{0xFFFFFFFFu, 5, 1, 0, 1};
  EXPECT_FALSE(Run(OGGenerateZT(gc), 0, chunk, std::vector<uint32_t>(32, 9)).called);
  SetKey((GL_NEVER & 7) | OG_ZT_STENCIL);
  const Outcome o = Run(OGGenerateZT(gc), OG_ZT_STENCIL, chunk, std::vector<uint32_t>(32, 9));
  EXPECT_TRUE(o.called);
  EXPECT_EQ(o.handedOn, 0u);
}

TEST_F(ZtTest, ARepeatedKeyComesFromTheCacheUnlessItIsOff) {
  const uint32_t less = (GL_LESS & 7) | OG_ZT_WRITE, greater = (GL_GREATER & 7) | OG_ZT_16BIT;
  SetKey(less);
  const void *first = OGGenerateZT(gc);
  SetKey(greater);
  const void *other = OGGenerateZT(gc);
  SetKey(less);
  const void *again = OGGenerateZT(gc);
  if (!og::CacheDisabled()) {
    EXPECT_NE(first, other);
    EXPECT_EQ(again, first);
  }
  // Either way the routine handed out is the one for the key.
  const Chunk chunk{0xF0000000u, 100, 50, 0, -1};
  const std::vector<uint32_t> depth(32, 180);
  const Outcome want = Model(less, chunk, depth), got = Run(again, less, chunk, depth);
  EXPECT_EQ(got.depth, want.depth);
  EXPECT_EQ(got.handedOn, want.handedOn);
}

}  // namespace
}  // namespace zt_test

namespace zt_test {
namespace {

// States the picker never hands over: programming errors that stop at once,
// after the cell they took was given back.
using ZtDeathTest = ZtTest;

TEST_F(ZtDeathTest, AlwaysWithoutWritesStops) {
  SetKey(GL_ALWAYS & 7);
  EXPECT_DEATH(OGGenerateZT(gc), "gc->state.depth.writeEnable \\|\\| !always");
}

TEST_F(ZtDeathTest, TheEpochBufferIsNotPlainDepth) {
  SetKey((GL_LESS & 7) | OG_ZT_WRITE);
  __glInitDepth24(&gc->depthBuffer, gc);
  EXPECT_DEATH(OGGenerateZT(gc), "plain 16- or 32-bit depth buffer");
}

}  // namespace
}  // namespace zt_test
