// Hardware lines and points against the generic ones through the drawing
// model: flat and smooth, depth-tested, lines in every octant (on the chip
// that sends the upper vertex first, only lines given upper vertex first,
// whose ends and colour ramps would otherwise run the other way), and
// hardware work sent without the device lock caught at the next access.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/context.h"
#include "raster/s_line.h"
#include "raster/s_point.h"
#include "sis/sis_primitives.h"
#include "tests/platform/chip_model/model_support.h"
#include "tests/sis/hw_compare/hw_compare_fixture.h"

namespace {


struct End {
  double x, y, z;
  GlColor color;
};

// Spokes from near the window's centre in thirty-two directions, given
// hub first and tip first in turn, their ends off the pixel grid, each end
// with its own colour and depth; they cross near the hub, where the depth
// test decides.
std::vector<std::pair<End, End>> Spokes() {
  std::vector<std::pair<End, End>> out;
  for (int k = 0; k < 32; ++k) {
    const double a = (k + 0.3) * 0.196349540849362, r = 15.0 + (k % 5) * 1.37;
    const GLfloat shade = GLfloat(8 * k);
    const End hub = {32.2 + 0.11 * (k % 9), 24.35 - 0.07 * (k % 11), 0.2 + 0.02 * k,
                     {shade, 255 - shade, 40, 255}};
    const End tip = {hub.x + r * std::cos(a), hub.y + r * std::sin(a), 0.9 - 0.025 * k,
                     {255, shade, 255 - shade, 255}};
    if (k % 2 == 0)
      out.push_back({hub, tip});
    else
      out.push_back({tip, hub});
  }
  return out;
}

using LineAgainstSoftware = hwcompare::OnEachChip;

TEST_P(LineAgainstSoftware, LinesInEveryOctantAgreeWithinTheTolerances) {
  Open(GetParam());
  const bool ordered = GetParam() == hwcompare::kRevisionOrdered;
  std::vector<std::pair<End, End>> lines;
  for (const auto &l : Spokes())
    if (!ordered || l.first.y <= l.second.y) lines.push_back(l);
  for (bool smooth : {false, true}) {
    SCOPED_TRACE(smooth ? "smooth" : "flat");
    UseState(smooth, true);
    ExpectAgree(smooth ? "smooth" : "flat", [&](bool hardware) {
      for (const auto &l : lines) {
        GlVertex a = hwcompare::Vertex(gc, l.first.x, l.first.y, l.first.z, l.first.color);
        GlVertex b = hwcompare::Vertex(gc, l.second.x, l.second.y, l.second.z, l.second.color);
        if (hardware)
          (smooth ? __glSiSRenderSmoothDepthLine : __glSiSRenderFlatDepthLine)(gc, &a, &b);
        else
          __glRenderAliasLine(gc, &a, &b);
      }
    });
  }
}

TEST_P(LineAgainstSoftware, PointsAgree) {
  Open(GetParam());
  UseState(false, true);
  ExpectAgree("points", [&](bool hardware) {
    for (int k = 0; k < 40; ++k) {
      // Points on a spiral; every third one lands on an earlier one's
      // pixel nearer or farther.
      const double a = k * 0.9, r = 2.0 + k * 0.5;
      GlVertex v = hwcompare::Vertex(gc, 31.7 + r * std::cos(a), 23.3 + r * std::sin(a),
                                     0.1 + 0.02 * (k % 7),
                                     {GLfloat(6 * k), GLfloat(255 - 6 * k), 128, 255});
      if (hardware)
        __glSiSRenderAliasedPoint1_NoTex(gc, &v);
      else
        __glRenderAliasedPoint1_NoTex(gc, &v);
    }
  });
}

TEST_P(LineAgainstSoftware, WorkSentWithoutTheDeviceLockIsCaught) {
  Open(GetParam());
  UseState(true, true);
  struct Case {
    const char *name;
    std::function<void(GlVertex *, GlVertex *, GlVertex *)> send;
  } const cases[] = {
      {"a point", [&](GlVertex *a, GlVertex *, GlVertex *) {
         __glSiSRenderAliasedPoint1_NoTex(gc, a);
       }},
      {"a triangle", [&](GlVertex *a, GlVertex *b, GlVertex *c) {
         __glSiSRenderSmoothDepthTriangle(gc, a, b, c);
       }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    LoadChip();
    GlVertex a = hwcompare::Vertex(gc, 10.5, 5.5, 0.5, {255, 255, 255, 255});
    GlVertex b = hwcompare::Vertex(gc, 30.5, 9.5, 0.5, {255, 255, 255, 255});
    GlVertex d = hwcompare::Vertex(gc, 12.5, 30.5, 0.5, {255, 255, 255, 255});
    c.send(&a, &b, &d);
    // Nothing fired it: the colour surface's lock meets it.
    DDSURFACEDESC locked;
    ASSERT_EQ(ddtest::Lock(colour, nullptr, &locked), DD_OK);
    ddtest::Unlock(colour, nullptr);
    std::vector<SiS6326Violation> v = modeltest::Violations();
    ASSERT_EQ(v.size(), 1u) << modeltest::Describe(v);
    EXPECT_STREQ(v[0].rule, "A5");
    PlatformSiS6326ClearViolations();
    EXPECT_TRUE(modeltest::Drawn().empty() || modeltest::Drawn().back().written == 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Chips, LineAgainstSoftware,
                         ::testing::Values(hwcompare::kRevisionPlain, hwcompare::kRevisionOrdered),
                         hwcompare::ChipName);

}  // namespace
