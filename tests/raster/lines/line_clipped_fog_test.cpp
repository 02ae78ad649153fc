// Per-fragment fog (GL_NICEST) of smooth primitives that the near and a
// side plane cut: the ends clipping makes carry eye z interpolated with
// their other attributes, so a line or triangle cut by the clippers fogs
// as the same visible piece drawn from vertices the test cut itself (in
// clip space, the object coordinates carried along), with no clipping.
#include <gtest/gtest.h>

#include <math.h>

#include <algorithm>
#include <array>
#include <climits>
#include <string>
#include <vector>

#include "core/gl_api.h"
#include "tests/raster/scene/scene_fixture.h"

namespace scene_test {
namespace {

using Point = std::array<double, 3>;  // object coordinates

// The projection of the scenes; the modelview is the identity.
constexpr double kL = -1, kR = 1, kB = -0.75, kT = 0.75, kN = 1, kF = 20;

std::array<double, 4> Clip(const Point &p) {
  const double x = 2 * kN / (kR - kL) * p[0] + (kR + kL) / (kR - kL) * p[2];
  const double y = 2 * kN / (kT - kB) * p[1] + (kT + kB) / (kT - kB) * p[2];
  const double z = -(kF + kN) / (kF - kN) * p[2] - 2 * kF * kN / (kF - kN);
  return {x, y, z, -p[2]};
}

// Distance to each frustum plane, inside >= 0.
double Distance(const Point &p, int plane) {
  const std::array<double, 4> c = Clip(p);
  const double w = c[3];
  switch (plane) {
    case 0: return w + c[0];
    case 1: return w - c[0];
    case 2: return w + c[1];
    case 3: return w - c[1];
    case 4: return w + c[2];
    default: return w - c[2];
  }
}

// A closed polygon (or, with `closed` false, a segment) cut by every plane.
std::vector<Point> Cut(std::vector<Point> in, bool closed) {
  for (int plane = 0; plane < 6; ++plane) {
    std::vector<Point> out;
    const size_t n = in.size();
    for (size_t i = 0; i < n; ++i) {
      const Point &a = in[i];
      const double da = Distance(a, plane);
      if (da >= 0) out.push_back(a);
      if (!closed && i + 1 == n) break;
      const Point &b = in[(i + 1) % n];
      const double db = Distance(b, plane);
      if ((da >= 0) != (db >= 0)) {
        const double t = da / (da - db);
        out.push_back({a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1]), a[2] + t * (b[2] - a[2])});
      }
    }
    in = out;
  }
  return in;
}

class ClippedFog : public SceneTest {
 protected:
  void FogScene() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(kL, kR, kB, kT, kN, kF);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glShadeModel(GL_SMOOTH);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 0.5f);
    glFogf(GL_FOG_END, 12.0f);
    const GLfloat black[4] = {0, 0, 0, 0};
    glFogfv(GL_FOG_COLOR, black);
    glEnable(GL_FOG);
    glHint(GL_FOG_HINT, GL_NICEST);
    glColor4f(1, 1, 1, 1);
  }

  std::vector<uint32_t> Draw(GLenum mode, const std::vector<Point> &v) {
    glClearColor(0.5f, 0.25f, 0.75f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(mode);
    for (const Point &p : v) glVertex3d(p[0], p[1], p[2]);
    glEnd();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    std::vector<uint32_t> out;
    for (int32_t row = 0; row < kHeight; ++row)
      for (int32_t x = 0; x < kWidth; ++x) out.push_back(colorMemory->Read(x, row));
    return out;
  }
};

struct FogCase {
  const char *name;
  GLenum mode;
  std::vector<Point> v;
};

TEST_F(ClippedFog, ClipMadeEndsFogFromInterpolatedEyeZ) {
  const FogCase cases[] = {
      // From in front of the near plane to past the right one.
      {"a line", GL_LINES, {{-1.5, -0.1, -0.3}, {11, 0.6, -10}}},
      {"a line the other way", GL_LINES, {{11, -0.5, -10}, {-1.4, 0.1, -0.35}}},
      {"a triangle", GL_TRIANGLES, {{-0.4, -0.3, -0.4}, {9, 0.2, -6}, {-1, 3, -9}}},
  };
  if (!Open(kRgbFormats[6])) return;
  FogScene();
  for (const FogCase &c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<Point> piece = Cut(c.v, c.mode != GL_LINES);
    ASSERT_GE(piece.size(), c.mode == GL_LINES ? 2u : 3u);
    const std::vector<uint32_t> clipped = Draw(c.mode, c.v);
    const uint32_t background = clipped[0];
    // The clipper may start the cut polygon at another vertex, and a fan
    // from another vertex interpolates eye z over other triangles (it is
    // not affine in window space): the best of the rotations.
    int both = 0, differ = INT32_MAX;
    std::string first;
    const size_t rotations = c.mode == GL_LINES ? 1 : piece.size();
    for (size_t rot = 0; rot < rotations; ++rot) {
      std::vector<Point> v = c.mode == GL_LINES ? std::vector<Point>{piece.front(), piece.back()}
                                                : piece;
      std::rotate(v.begin(), v.begin() + long(rot), v.end());
      const std::vector<uint32_t> want = Draw(c.mode == GL_LINES ? GL_LINES : GL_POLYGON, v);
      int b = 0, d = 0;
      std::string f;
      for (size_t i = 0; i < clipped.size(); ++i) {
        // Edge pixels may fall either way: the two draw from window
        // coordinates computed apart.
        if (clipped[i] == background || want[i] == background) continue;
        b++;
        for (int shift : {0, 8, 16}) {
          const int e = int((clipped[i] >> shift) & 0xFF) - int((want[i] >> shift) & 0xFF);
          if (abs(e) > 2) {
            if (!d++)
              f = "pixel " + std::to_string(i % kWidth) + ", " + std::to_string(i / kWidth) +
                  ": " + std::to_string(clipped[i]) + ", want " + std::to_string(want[i]);
            break;
          }
        }
      }
      if (d < differ) differ = d, both = b, first = f;
    }
    EXPECT_GT(both, c.mode == GL_LINES ? 20 : 300);
    EXPECT_EQ(differ, 0) << first;
  }
}

}  // namespace
}  // namespace scene_test
