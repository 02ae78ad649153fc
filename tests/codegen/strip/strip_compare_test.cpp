// The generated strip drawer against the C walk: the same calls (vertices,
// their `has` words, the provoking vertex, the compile arguments), the same
// buffer afterwards and the same batch-walk fields, over counts around the
// batch size, with and without element lists, batched and locked walks and
// every kind of clip code.
#include <gtest/gtest.h>

#include "geometry/s_prim.h"
#include "raster/s_shader.h"
#include "tests/codegen/strip/strip_fixture.h"

namespace strip_test {
namespace {

constexpr uint32_t kWindow = 0x20;  // a bit outside the clip mask, on every vertex

uint32_t Clean(int32_t) { return kWindow; }
uint32_t SomeCulled(int32_t e) { return kWindow | (e % 5 == 3 ? 0x2000u : 0u); }
uint32_t MixedCodes(int32_t e) {
  return kWindow | (e % 4 == 1 ? 0x10000u : 0u) | (e % 7 == 2 ? 0x20000u : 0u);
}
uint32_t SharedCode(int32_t e) { return kWindow | 0x40000u | (e % 3 == 0 ? 0x10000u : 0u); }
uint32_t AllCulled(int32_t) { return 0x2000u; }

struct Pattern {
  const char *name;
  HasPattern has;
} const kPatterns[] = {
    {"clean", Clean},         {"some culled", SomeCulled}, {"mixed codes", MixedCodes},
    {"shared code", SharedCode}, {"all culled", AllCulled},
};

// How a draw reaches the walk.
enum class Walk { batched, continued, lockedFromZero, lockedOdd, lockedEven };
struct WalkCase {
  const char *name;
  Walk walk;
  int32_t lockFirst, first;
} const kWalks[] = {
    {"batched", Walk::batched, 0, 0},
    {"batched from 7", Walk::batched, 0, 7},
    {"continued by the vertex cache", Walk::continued, 0, 0},
    {"locked from 0", Walk::lockedFromZero, 0, 0},
    {"locked, drawn from 5", Walk::lockedOdd, 3, 5},
    {"locked, drawn from 10", Walk::lockedEven, 3, 10},
};

struct State {
  const char *name;
  uint32_t modeFlags;
  GLenum front, back;
} const kStates[] = {
    {"smooth, filled", __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_SMOOTH_LIGHT,
     __GL_POLYGON_MODE_FILL, __GL_POLYGON_MODE_FILL},
    {"flat, filled", __GL_SHADE_RGB, __GL_POLYGON_MODE_FILL, __GL_POLYGON_MODE_FILL},
    {"smooth, fogged", __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_SMOOTH_LIGHT |
                           __GL_SHADE_FOG,
     __GL_POLYGON_MODE_FILL, __GL_POLYGON_MODE_FILL},
    {"smooth, back faces as lines", __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR |
                                        __GL_SHADE_SMOOTH_LIGHT,
     __GL_POLYGON_MODE_FILL, __GL_POLYGON_MODE_LINE},
};

constexpr int32_t kCounts[] = {0, 1, 2, 3, 36, 37, 38, 73};

class StripCompare : public StripTest {
 protected:
  void Expect(const Outcome &c, const Outcome &g) {
    ASSERT_EQ(c.calls.size(), g.calls.size());
    for (size_t i = 0; i < c.calls.size(); i++)
      EXPECT_EQ(c.calls[i], g.calls[i]) << "call " << i << ": C " << Describe(c.calls[i])
                                        << ", generated " << Describe(g.calls[i]);
    EXPECT_TRUE(c.buffer == g.buffer) << "the vertices differ afterwards";
    EXPECT_EQ(c.batchMode, g.batchMode);
    EXPECT_EQ(c.batchFirst, g.batchFirst);
    EXPECT_EQ(c.batchPosition, g.batchPosition);
    EXPECT_EQ(c.batchElements, g.batchElements);
  }
  void Prepare(const WalkCase &w, HasPattern has) {
    switch (w.walk) {
      case Walk::batched: Batched(has); break;
      case Walk::continued: Batched(has, true); break;
      default: Locked(has, w.lockFirst, 150); break;
    }
  }
};

TEST_F(StripCompare, TheSameCallsAsTheCWalk) {
  for (const State &s : kStates) {
    gc->polygon.shader.modeFlags = s.modeFlags;
    gc->polygon.mode[__GL_FRONTFACE_INDEX] = s.front;
    gc->polygon.mode[__GL_BACKFACE_INDEX] = s.back;
    for (const WalkCase &w : kWalks) {
      for (const Pattern &p : kPatterns) {
        for (int32_t count : kCounts) {
          for (bool listed : {false, true}) {
            if (listed && w.first != 0) continue;  // a list always starts at 0
            SCOPED_TRACE(std::string(s.name) + ", " + w.name + ", " + p.name + ", count " +
                         std::to_string(count) + (listed ? ", listed" : ""));
            // A list inside the locked range, in an order of its own.
            std::vector<uint32_t> list(size_t(count) + 1);
            for (int32_t i = 0; i < count; i++)
              list[size_t(i)] = uint32_t(w.lockFirst + (i * 7 + 3) % 80);
            const uint32_t *elements = listed ? list.data() : nullptr;
            Prepare(w, p.has);
            const Outcome c = RunC(w.first, count, elements);
            const Outcome g = RunGenerated(w.first, count, elements);
            Expect(c, g);
            if (HasFatalFailure() || HasFailure()) return;
          }
        }
      }
    }
  }
}

// A locked strip drawn from inside its range ends at first + count and keeps
// its winding from an odd start.
TEST_F(StripCompare, LockedStripFromInsideTheRange) {
  for (int32_t first : {10, 11}) {
    Locked(Clean, 0, 150);
    const Outcome g = RunGenerated(first, 5, nullptr);
    ASSERT_EQ(g.calls.size(), 3u) << "from " << first << ": " << Describe(g.calls.back());
    const int32_t f = first;
    const int32_t expected[3][3] = {{f, f + 1, f + 2}, {f + 2, f + 1, f + 3}, {f + 2, f + 3, f + 4}};
    for (int t = 0; t < 3; t++) {
      EXPECT_EQ(g.calls[size_t(t)].what, "render");
      for (int k = 0; k < 3; k++) EXPECT_EQ(g.calls[size_t(t)].v[k], expected[t][k]);
      EXPECT_EQ(g.calls[size_t(t)].provoking, f + 2 + t) << "the newest vertex provokes";
    }
  }
}

// A stale provoking vertex is never left behind, whatever the shading.
TEST_F(StripCompare, EveryTriangleSetsTheProvokingVertex) {
  gc->polygon.shader.modeFlags = kStates[0].modeFlags;
  Batched(Clean);
  const Outcome g = RunGenerated(0, 5, nullptr);
  ASSERT_EQ(g.calls.size(), 4u);
  EXPECT_EQ(g.calls[0].what, "compile");
  for (size_t t = 1; t < 4; t++) EXPECT_EQ(g.calls[t].provoking, int32_t(t) + 1);
}

// The second batch of a long strip starts with the last two vertices of the
// first at places 0 and 1, their colour pointers aimed at their own colours.
TEST_F(StripCompare, CarriedPairLeadsTheNextBatch) {
  Batched(Clean);
  const Outcome g = RunGenerated(0, 40, nullptr);
  size_t compiles = 0;
  for (const Call &c : g.calls) compiles += c.what == "compile";
  EXPECT_EQ(compiles, 2u);
  EXPECT_EQ(g.calls.size(), 38u + 2u);
  const GlVertex *v = reinterpret_cast<const GlVertex *>(g.buffer.data());
  EXPECT_EQ(v[0].colors[0].r, 34.0f);
  EXPECT_EQ(v[1].colors[0].r, 35.0f);
  EXPECT_EQ(v[0].color, &buffer[0].colors[0]);
  EXPECT_EQ(v[1].color, &buffer[1].colors[0]);
}

}  // namespace
}  // namespace strip_test
