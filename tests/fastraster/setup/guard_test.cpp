// What the set-up leaves alone: vertices and colours bit for bit, the
// render lock (taken once, around the walk only, and not again when a
// caller holds it), and the buffers when a vertex is NaN, infinite or
// outside the range of window coordinates.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <string>

#include "tests/fastraster/setup/setup_fixture.h"

namespace fr_test {
namespace {

constexpr uint32_t kAllGroups = __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR |
                                __GL_SHADE_DEPTH_TEST | __GL_SHADE_STENCIL_TEST |
                                __GL_SHADE_POLYGON_OFFSET | __GL_SHADE_DITHER;

bool SameBytes(const GlVertex &a, const GlVertex &b) { return memcmp(&a, &b, sizeof a) == 0; }

TEST(SetupGuards, VerticesAndColoursComeBackUnchanged) {
  for (uint32_t flags : {kAllGroups, uint32_t(__GL_SHADE_RGB)}) {
    SetupContext ctx;
    ctx.gc()->constants.redRescale = 31.0f;
    ctx.SetFlags(flags);
    GlVertex v[3] = {SetupContext::Vertex(3.3, 2.7, 0.1, {0.1f, 0.2f, 0.3f, 0.4f}),
                     SetupContext::Vertex(80.6, 30.2, 0.9, {1, 1, 1, 1}),
                     SetupContext::Vertex(20.1, 66.9, 0.4, {0.5f, 0.6f, 0.7f, 0.8f})};
    // Two vertices share one colour record, as flat shading arranges it.
    GlColor shared = {0.25f, 0.5f, 0.75f, 1.0f};
    v[0].color = v[2].color = &shared;
    v[1].color = &v[1].colors[0];
    ctx.gc()->vertexBuffer.provoking = &v[2];
    GlVertex before[3] = {v[0], v[1], v[2]};
    const GlColor sharedBefore = shared;
    // The same vertex twice is a zero-area triangle; nothing is moved twice.
    ctx.Draw(&v[0], &v[1], &v[2]);
    ctx.Draw(&v[0], &v[0], &v[1]);
    for (int i = 0; i < 3; i++) EXPECT_TRUE(SameBytes(v[i], before[i])) << "vertex " << i;
    EXPECT_EQ(memcmp(&shared, &sharedBefore, sizeof shared), 0);
    EXPECT_FALSE(ctx.chunks.empty());
  }
}

TEST(SetupGuards, TheLockIsTakenOnceAroundTheWalk) {
  SetupContext ctx;
  GlVertex a = SetupContext::Vertex(3, 3), b = SetupContext::Vertex(40, 50),
           c = SetupContext::Vertex(60, 10);
  ctx.Draw(&a, &b, &c);
  EXPECT_EQ(ctx.locks, 1);
  EXPECT_EQ(ctx.unlocks, 1);
  EXPECT_EQ(ctx.lockCountSeen, 1);
  EXPECT_EQ(ctx.gc()->renderLockCount, 0);

  // A caller holding the lock: the count nests, no lock procedure runs.
  ctx.gc()->renderLockCount = 1;
  ctx.Draw(&a, &b, &c);
  EXPECT_EQ(ctx.locks, 1);
  EXPECT_EQ(ctx.unlocks, 1);
  EXPECT_EQ(ctx.lockCountSeen, 2);
  EXPECT_EQ(ctx.gc()->renderLockCount, 1);
}

TEST(SetupGuards, ZeroAreaDrawsNothingAndTakesNoLock) {
  struct Case {
    const char *name;
    double p[3][2];
  };
  const Case kCases[] = {
      {"collinear", {{1, 1}, {10, 10}, {20, 20}}},
      {"one point", {{5, 5}, {5, 5}, {5, 5}}},
      // Within one sixteenth of a pixel in y: snapped onto one line.
      {"flat after snapping", {{1, 7.01}, {40, 7.05}, {80, 7.0}}},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    SetupContext ctx;
    ctx.SetFlags(kAllGroups);
    GlVertex v[3];
    for (int i = 0; i < 3; i++) v[i] = SetupContext::Vertex(c.p[i][0], c.p[i][1]);
    ctx.Draw(&v[0], &v[1], &v[2]);
    EXPECT_TRUE(ctx.chunks.empty());
    EXPECT_EQ(ctx.locks, 0);
    EXPECT_EQ(ctx.gc()->renderLockCount, 0);
  }
}

// Window x or y (plus half a pixel) outside [4096, 8192) in any vertex:
// nothing drawn, no lock, guard rows and vertices untouched, with a chain
// head that would write every pixel it is handed.
void GLFASTCALL WritePixels(uint32_t mask, FrSpan *span) {
  uint8_t *p = span->pixel;
  for (; mask; mask <<= 1, p += span->dpixeldx)
    if (mask & 0x80000000u) memset(p, 0x5A, 4);
}

TEST(SetupGuards, HostileCoordinatesDrawNothing) {
  const float kNaN = nanf(""), kInf = INFINITY;
  const float kBad[] = {kNaN, -kNaN, kInf, -kInf, 4095.0f, 8191.5f, 8192.0f, 1e30f, -6144.0f, 0.0f};
  for (float bad : kBad) {
    for (int which = 0; which < 3; which++) {
      for (bool inY : {false, true}) {
        SCOPED_TRACE("value " + std::to_string(bad) + " in vertex " + std::to_string(which) +
                     (inY ? " y" : " x"));
        SetupContext ctx;
        ctx.SetFlags(kAllGroups);
        ctx.gc()->procs.fillTriangleSpan = WritePixels;
        ctx.color.Fill(0);
        GlVertex v[3] = {SetupContext::Vertex(3, 3), SetupContext::Vertex(90, 70),
                         SetupContext::Vertex(60, 10)};
        (inY ? v[which].window.y : v[which].window.x) = bad;
        GlVertex before[3] = {v[0], v[1], v[2]};
        for (GlVertex &x : before) x.color = &x.colors[0];
        ctx.Draw(&v[0], &v[1], &v[2]);
        EXPECT_EQ(ctx.locks, 0);
        EXPECT_TRUE(ctx.color.GuardsIntact());
        EXPECT_EQ(ctx.color.Read(40, 30), 0u);
        for (int i = 0; i < 3; i++) {
          before[i].color = v[i].color;
          EXPECT_TRUE(SameBytes(v[i], before[i]));
        }
      }
    }
  }
}

// The first and last values of the range still draw (recorded only: their
// columns lie outside the test's buffer).
TEST(SetupGuards, TheEndsOfTheRangeStillDraw) {
  for (float x : {4095.5f, 8191.4375f}) {
    SetupContext ctx;
    GlVertex v[3] = {SetupContext::Vertex(3, 3), SetupContext::Vertex(90, 70),
                     SetupContext::Vertex(60, 10)};
    v[0].window.x = x;
    ctx.Draw(&v[0], &v[1], &v[2]);
    EXPECT_EQ(ctx.locks, 1) << x;
    EXPECT_FALSE(ctx.chunks.empty()) << x;
  }
}

}  // namespace
}  // namespace fr_test
