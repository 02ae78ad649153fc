// The pre-built set-up, and the generated setup with its raster routine in
// spanlet mode, against the generic path on bottom-up and top-down
// drawables, through the same hand-built chains (stencil marks, depth test,
// pre-built kernels): triangles whose corners and edges pass exactly
// through pixel centres, and exact-slope triangles, with the long edge on
// either side. Covered pixels (the stencil marks) exact, colour within one
// unit a channel, stored depth within the generic path's drift. Then
// polygon offset with large factors and units, which on a 16-bit buffer
// reach past what a signed word holds.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "tests/fastraster/scene/fast_scene_fixture.h"

namespace scene_test {
namespace {

enum class Path { kPrebuilt, kGenerated };

class OrientationSceneTest : public FastSceneTest {
 protected:
  void ColorStage(const SceneState &, FrSpanletProc *colors, FrSpanletProc *last) override {
    KernelStage(gc, Tail::kFused, colors, last);
  }

  // Each channel of a packed pixel, by the format's masks.
  bool Near(uint32_t a, uint32_t b) const {
    for (int c = 0; c < 3; c++) {
      const uint32_t m = format.masks[c];
      const uint32_t low = m & (~m + 1);
      const int64_t d = int64_t((a & m) / low) - int64_t((b & m) / low);
      if (llabs(d) > 1) return false;
    }
    return true;
  }

  // `offsetRows`: the generic path steps the offset depth as a float sum,
  // which may stray by a float step of the depth range on each row.
  void ExpectGeneric(const std::vector<SceneStep> &steps, Path path, const std::string &what,
                     bool offsetRows = false) {
    generated = false;
    const Image generic = Draw(steps, false);
    generated = path == Path::kGenerated;
    const Image fast = Draw(steps, true);
    generated = false;
    const double depthMax = double(Target().depthMax);
    const double slack =
        kDepthDrift + depthMax / (1 << 22) + (offsetRows ? kHeight * depthMax / (1 << 24) : 0);
    int wrong = 0, covered = 0;
    for (size_t i = 0; i < generic.color.size(); i++) {
      covered += generic.stencil[i] != 0;
      const double dz = double(fast.depth[i]) - double(generic.depth[i]);
      if (fast.stencil[i] == generic.stencil[i] && Near(fast.color[i], generic.color[i]) &&
          dz <= slack && dz >= -slack)
        continue;
      if (++wrong > 8) break;
      ADD_FAILURE() << what << ": pixel " << i % kWidth << ", row " << i / kWidth
                    << ": stencil " << fast.stencil[i] << " (generic " << generic.stencil[i]
                    << "), colour " << std::hex << fast.color[i] << " (" << generic.color[i]
                    << std::dec << "), depth " << fast.depth[i] << " (" << generic.depth[i]
                    << ")";
    }
    EXPECT_GT(covered, 0) << what;
  }
};

const char *const kPathNames[] = {"pre-built", "generated"};

SceneState Marked(bool smooth) {
  SceneState s = Marking(smooth);
  s.depthTest = true;
  s.depthFunc = GL_LEQUAL;
  return s;
}

// GL window coordinates; every edge runs through pixel centres (or, for
// the quarter-grid ones, has a slope that is a multiple of 1/128).
struct Shape {
  const char *name;
  double p[3][2];
};
const Shape kShapes[] = {
    {"right angle on centres, slope -1", {{4.5, 4.5}, {40.5, 4.5}, {4.5, 40.5}}},
    {"slopes 2, -1.5 and 0.25 through centres", {{10.5, 2.5}, {50.5, 22.5}, {20.5, 42.5}}},
    {"steep, slopes 1/8, -13/8, 15/8", {{30.5, 1.5}, {34.5, 33.5}, {60.5, 17.5}}},
    {"horizontal edges on centre rows", {{6.5, 10.5}, {58.5, 10.5}, {32.5, 36.5}}},
    {"horizontal top on a centre row", {{32.5, 6.5}, {6.5, 38.5}, {58.5, 38.5}}},
    {"quarter-pixel corners, 16 and 32 rows", {{2.25, 4}, {61.5, 20}, {10.75, 36}}},
    {"one row, ends on centres", {{5.5, 20.5}, {45.5, 20.5}, {25.5, 22.5}}},
};

// The shape as given and mirrored left to right (long edge on the other
// side), each in a depth band of its own.
std::vector<SceneStep> Steps(const Shape &s, bool smooth) {
  const SceneState st = Marked(smooth);
  std::vector<SceneStep> steps;
  for (bool mirror : {false, true}) {
    const double z = mirror ? 0.625 : 0.375;
    SceneVertex v[3];
    for (int i = 0; i < 3; i++) {
      const double x = mirror ? kWidth - s.p[i][0] : s.p[i][0];
      v[i] = V(x, s.p[i][1], z + 0.1 * i, 0.1 + 0.4 * i, 0.9 - 0.3 * i, 0.5, 1);
    }
    steps.push_back(Tri(st, v[0], v[1], v[2]));
  }
  return steps;
}

TEST_F(OrientationSceneTest, BothSetupsCoverAndShadeAsTheGenericPathInBothRowOrders) {
  for (bool topDown : {false, true})
    for (const ColorFormat *f : {&kRgbFormats[2], &kRgbFormats[5]}) {
      ASSERT_TRUE(Open(*f, 16, topDown));
      for (Path path : {Path::kPrebuilt, Path::kGenerated})
        for (const Shape &s : kShapes)
          for (bool smooth : {false, true})
            ExpectGeneric(Steps(s, smooth), path,
                          std::string(kPathNames[int(path)]) + (topDown ? ", top-down, " : ", ") +
                              f->name + ", " + s.name + (smooth ? ", smooth" : ", flat"));
      Close();
    }
}

// A base triangle, then one over it with polygon offset: factors and units
// that push depth far along or past either end of the buffer's range; on a
// 16-bit buffer 200 units are 200 x 2^24 depth units and a factor of 40
// times the steepest slope about 3.8 x 10^9, both past 2^31.
TEST_F(OrientationSceneTest, LargePolygonOffsetsStoreWhatTheGenericPathStores) {
  struct Offset {
    double factor, units;
    GLenum func;
  };
  const Offset kOffsets[] = {{0, 200, GL_ALWAYS},     {0, -200, GL_ALWAYS}, {0, 120, GL_ALWAYS},
                             {0, -120, GL_ALWAYS},    {0, 200, GL_LESS},    {0, -200, GL_LESS},
                             {0, 130, GL_GREATER},    {1e6, 0, GL_ALWAYS},  {-1e6, 0, GL_ALWAYS},
                             {40, 0, GL_ALWAYS},      {-40, 0, GL_ALWAYS},  {20, 10, GL_ALWAYS},
                             {-20, -10, GL_ALWAYS}};
  for (uint32_t depthBits : {16u, 32u})
    for (bool topDown : {false, true}) {
      ASSERT_TRUE(Open(kRgbFormats[2], depthBits, topDown));
      for (const Offset &o : kOffsets) {
        SceneState base = Marked(false);
        base.depthFunc = GL_ALWAYS;
        SceneState off = Marked(true);
        off.depthFunc = o.func;
        off.stencil.zpass = GL_INCR;
        off.offset = true;
        off.factor = o.factor;
        off.units = o.units;
        const std::vector<SceneStep> steps = {
            Tri(base, V(2, 2, 0.5, 1, 0, 0), V(62, 2, 0.5, 1, 0, 0), V(2, 46, 0.5, 1, 0, 0)),
            Tri(off, V(4, 4, 0.0625, 0, 1, 0), V(60, 8, 0.5, 0, 0, 1), V(10, 44, 0.9375, 1, 1, 0))};
        ExpectGeneric(steps, Path::kPrebuilt,
                      std::to_string(depthBits) + "-bit depth" + (topDown ? ", top-down" : "") +
                          ", factor " + std::to_string(o.factor) + ", units " +
                          std::to_string(o.units) + ", function 0x" + std::to_string(o.func),
                      true);
      }
      Close();
    }
}

}  // namespace
}  // namespace scene_test
