// Polygon modes GL_POINT and GL_LINE: the corners and edges handed to the
// point and line slots by edge flag, the closing edge taking c's flag, each
// face with its own mode.
#include <gtest/gtest.h>

#include <vector>

#include "raster/s_shader.h"
#include "raster/s_triangle.h"
#include "tests/raster/render/render_bench.h"

namespace {

struct Case {
  const char *name;
  GLenum frontMode, backMode;
  bool back;
  const char *boundary;  // vertices whose edge flag is set
  std::vector<std::string> calls;
};

const Case kCases[] = {
    {"lines, every edge", GL_LINE, GL_FILL, false, "abc", {"line a b", "line b c", "line c a"}},
    {"lines, a's edge hidden", GL_LINE, GL_FILL, false, "bc", {"line b c", "line c a"}},
    {"lines, b's edge hidden", GL_LINE, GL_FILL, false, "ac", {"line a b", "line c a"}},
    {"lines, the closing edge takes c's flag", GL_LINE, GL_FILL, false, "ab",
     {"line a b", "line b c"}},
    {"lines, only the closing edge", GL_LINE, GL_FILL, false, "c", {"line c a"}},
    {"lines, no edge", GL_LINE, GL_FILL, false, "", {}},
    {"points, every corner", GL_POINT, GL_FILL, false, "abc", {"point a", "point b", "point c"}},
    {"points, b hidden", GL_POINT, GL_FILL, false, "ac", {"point a", "point c"}},
    {"points, only c", GL_POINT, GL_FILL, false, "c", {"point c"}},
    {"points, none", GL_POINT, GL_FILL, false, "", {}},
    {"fill ignores the edge flags", GL_FILL, GL_LINE, false, "", {"fill a b c"}},
    {"back face in lines", GL_FILL, GL_LINE, true, "ab", {"line a b", "line b c"}},
    {"back face in points", GL_LINE, GL_POINT, true, "bc", {"point b", "point c"}},
    {"back face filled", GL_POINT, GL_FILL, true, "", {"fill a b c"}},
};

TEST(RenderPolygonModes, EdgesAndCornersByEdgeFlag) {
  for (const Case &c : kCases) {
    for (bool smooth : {true, false}) {
      SCOPED_TRACE(testing::Message() << c.name << (smooth ? ", smooth" : ", flat"));
      RenderBench bench;
      bench.SetFlags(__GL_SHADE_RGB | (smooth ? SMOOTH : FLAT));
      bench.PickFaces(GL_CCW, false, 0, c.frontMode, c.backMode);
      for (char name : {'a', 'b', 'c'}) bench.vertex(name)->has &= ~__GL_HAS_EDGEFLAG_BOUNDARY;
      for (const char *n = c.boundary; *n; ++n)
        bench.vertex(*n)->has |= __GL_HAS_EDGEFLAG_BOUNDARY;
      bench.Place(c.back ? kBack : kFront);
      const RenderBench::Snapshot before = bench.Take();
      __glRenderTriangle(bench.gc(), bench.a(), bench.b(), bench.c());
      EXPECT_EQ(bench.calls(), c.calls);
      bench.ExpectUnchanged(before);
    }
  }
}

// A mode byte that is none of point, line and fill draws nothing.
TEST(RenderPolygonModes, AnUnknownModeDrawsNothing) {
  for (uint8_t mode : {3, 15, 255}) {
    RenderBench bench;
    bench.gc()->polygon.mode[0] = bench.gc()->polygon.mode[1] = mode;
    bench.Place(kFront);
    const RenderBench::Snapshot before = bench.Take();
    __glRenderTriangle(bench.gc(), bench.a(), bench.b(), bench.c());
    EXPECT_TRUE(bench.calls().empty()) << int(mode);
    bench.ExpectUnchanged(before);
  }
}

}  // namespace
