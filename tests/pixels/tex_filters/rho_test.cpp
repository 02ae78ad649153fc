// Level of detail: the squared scale factor of polygons from the span
// increments and of lines from the change of s and t along them, against
// closed forms, and values that divide by zero.
#include <gtest/gtest.h>

#include <math.h>

#include "pixels/px_rho.h"
#include "tests/core/services/service_context.h"
#include "tests/pixels/tex_filters/filter_fixture.h"

namespace rho_test {
namespace {

// A context whose current texture has a 16 x 8 level 0.
class RhoContext {
 public:
  RhoContext() : texture_(16, 8, __glTexFormatRGBA8, GL_RGBA) {
    gc()->texture.current = texture_.tex();
  }
  ~RhoContext() { gc()->texture.current = nullptr; }
  GlContext *gc() { return ctx_.gc(); }

 private:
  ServiceContext ctx_;
  FilterTexture texture_;
};

struct PolygonCase {
  float dsdx, dtdx, dqdx, dsdy, dtdy, dqdy;
  float s, t, q;
};

const PolygonCase kPolygons[] = {
    {1.0f / 16, 0, 0, 0, 1.0f / 8, 0, 0.3f, 0.2f, 1.0f},  // one texel a pixel
    {0.25f, 0, 0, 0, 0, 0, 0.0f, 0.0f, 1.0f},             // x dominates
    {0.01f, 0.02f, 0, 0.5f, 0.25f, 0, 7.0f, -3.0f, 1.0f},  // y dominates
    {0.1f, 0.05f, 0.02f, -0.03f, 0.2f, 0.01f, 0.8f, 0.4f, 2.0f},  // perspective
    {0.1f, 0.05f, -0.3f, -0.03f, 0.2f, 0.25f, 1.8f, 0.4f, 0.5f},
};

// The difference of s/q and t/q one pixel either side, in texels, halved
// and squared; the larger of x and y.
double PolygonReference(const PolygonCase &c) {
  auto along = [&](double ds, double dt, double dq) {
    const double sx = ((c.s + ds) / (c.q + dq) - (c.s - ds) / (c.q - dq)) * 16 / 2;
    const double tx = ((c.t + dt) / (c.q + dq) - (c.t - dt) / (c.q - dq)) * 8 / 2;
    return sx * sx + tx * tx;
  };
  return fmax(along(c.dsdx, c.dtdx, c.dqdx), along(c.dsdy, c.dtdy, c.dqdy));
}

TEST(PolygonRho, MatchesTheScaleOfTheProjectedCoordinates) {
  RhoContext r;
  GlShader &sh = r.gc()->polygon.shader;
  for (const PolygonCase &c : kPolygons) {
    SCOPED_TRACE(testing::Message() << c.dsdx << " " << c.dqdx << " q " << c.q);
    sh.dsdx = c.dsdx, sh.dtdx = c.dtdx, sh.dqdx = c.dqdx;
    sh.dsdy = c.dsdy, sh.dtdy = c.dtdy, sh.dqdy = c.dqdy;
    const double expected = PolygonReference(c);
    EXPECT_NEAR(__glComputePolygonRho(r.gc(), nullptr, c.s, c.t, c.q), expected,
                expected * 1e-5);
  }
}

// q equal to a q increment divides by zero: the result is not finite, and
// the fragment procedures take that to the last level.
TEST(PolygonRho, ZeroDivisorGivesANonFiniteValue) {
  RhoContext r;
  GlShader &sh = r.gc()->polygon.shader;
  sh.dsdx = 0.1f, sh.dqdx = 1.0f;
  EXPECT_FALSE(isfinite(__glComputePolygonRho(r.gc(), nullptr, 0.5f, 0.5f, 1.0f)));
}

struct LineCase {
  float x0, y0, x1, y1;
  float s0, t0, s1, t1;
  float q;
};

const LineCase kLines[] = {
    {0, 0, 8, 0, 0, 0, 1, 0, 1},                 // 2 texels a pixel: rho 4
    {1, 1, 4, 5, 0, 0, 0.5f, 0.25f, 1},          // length 5
    {10, 2, 10, -30, 0.2f, 0.9f, 0.3f, 0.1f, 1},  // vertical
    {0, 0, 8, 6, 0, 0, 1, 1, 2},                 // q scales ds and dt
};

TEST(LineRho, SameAtBothEndsWhateverTheOffsetOfS) {
  RhoContext r;
  GlVertex v0 = {}, v1 = {};
  r.gc()->line.vertexA = &v0;
  r.gc()->line.vertexB = &v1;
  for (const LineCase &c : kLines) {
    for (float offset : {0.0f, 5.0f, -3.25f}) {
      SCOPED_TRACE(testing::Message() << "line to (" << c.x1 << ", " << c.y1 << ") offset "
                                      << offset);
      v0.window.x = c.x0, v0.window.y = c.y0, v1.window.x = c.x1, v1.window.y = c.y1;
      v0.texture.x = c.s0 + offset, v0.texture.y = c.t0;
      v1.texture.x = c.s1 + offset, v1.texture.y = c.t1;
      const double dx = c.x1 - c.x0, dy = c.y1 - c.y0;
      const double ds = (c.s1 - c.s0) * 16 / c.q, dt = (c.t1 - c.t0) * 8 / c.q;
      const double expected = (ds * ds + dt * dt) / (dx * dx + dy * dy);
      for (const GlVertex *end : {&v0, &v1})
        EXPECT_NEAR(__glComputeLineRho(r.gc(), end->texture.x, end->texture.y, c.q), expected,
                    expected * 1e-5);
    }
  }
  r.gc()->line.vertexA = r.gc()->line.vertexB = nullptr;
}

TEST(LineRho, ZeroLengthLineGivesANonFiniteValue) {
  RhoContext r;
  GlVertex v0 = {}, v1 = {};
  v1.texture.x = 1.0f;
  r.gc()->line.vertexA = &v0;
  r.gc()->line.vertexB = &v1;
  EXPECT_FALSE(isfinite(__glComputeLineRho(r.gc(), 0.0f, 0.0f, 1.0f)));
  r.gc()->line.vertexA = r.gc()->line.vertexB = nullptr;
}

}  // namespace
}  // namespace rho_test
