// A perspective triangle receding from the eye, mipmapped, against a
// reference written from OpenGL 1.1: exact coverage, texture coordinates
// interpolated as s/w, t/w and 1/w in window space, the level of detail of
// the homogeneous gradients at each vertex times q interpolated the same
// way, and the sampler model. The driver works in single precision, so
// each pixel's reference is the span of what the model gives for
// coordinates and level of detail a hair's breadth around the exact ones;
// every covered pixel must lie within it, or one below it: single-precision
// weights may sum to just under 1 at coordinates the reference does not
// try, and the sum is truncated (a few pixels at most).
#include <gtest/gtest.h>

#include <math.h>

#include <algorithm>

#include "core/gl_api.h"
#include "tests/pixels/tex_draw/tex_draw_fixture.h"

namespace tex_draw_test {
namespace {

constexpr int32_t kWidth = 64, kHeight = 48, kSide = 32;

// Window position, clip w and texture coordinates of a vertex.
struct Corner {
  double x, y, w, s, t;
};

// Each level its own noise: neighbours and levels differ, so a wrong texel,
// level or weight shows.
ModelTexture Noise(GLenum minFilter, GLenum magFilter, GLenum wrap) {
  ModelTexture tex;
  tex.minFilter = minFilter, tex.magFilter = magFilter;
  tex.wrapS = tex.wrapT = wrap;
  tex.border = {10, 200, 90, 255};
  uint32_t seed = 12345;
  auto next = [&seed]() {
    seed = seed * 1103515245u + 12345u;
    return uint8_t(seed >> 16);
  };
  const bool mipmapped = minFilter != GL_NEAREST && minFilter != GL_LINEAR;
  for (int32_t side = kSide; side >= 1; side /= 2) {
    tex.levels.push_back(MakeLevel(side, side, [&](int32_t, int32_t) {
      return Texel{next(), next(), next(), uint8_t(next() | 0x80)};
    }));
    if (!mipmapped) break;
  }
  return tex;
}

// The plane through the three values: f = f0 + dfdx (x - x0) + dfdy (y - y0).
struct Plane {
  double dfdx, dfdy;
};

Plane Gradients(const Corner c[3], const double f[3]) {
  const double x1 = c[1].x - c[0].x, y1 = c[1].y - c[0].y;
  const double x2 = c[2].x - c[0].x, y2 = c[2].y - c[0].y;
  const double f1 = f[1] - f[0], f2 = f[2] - f[0];
  const double det = x1 * y2 - x2 * y1;
  return {(f1 * y2 - f2 * y1) / det, (x1 * f2 - x2 * f1) / det};
}

// The squared scale factor at a vertex from the per-pixel changes of the
// homogeneous coordinates: s/q one pixel either side, in texels.
double VertexRho(double s, double t, double q, const Plane &ds, const Plane &dt, const Plane &dq,
                 double width, double height) {
  auto span = [](double v, double dv, double q, double dq) {
    return (v + dv) / (q + dq) - (v - dv) / (q - dq);
  };
  const double sx = span(s, ds.dfdx, q, dq.dfdx) * width;
  const double tx = span(t, dt.dfdx, q, dq.dfdx) * height;
  const double sy = span(s, ds.dfdy, q, dq.dfdy) * width;
  const double ty = span(t, dt.dfdy, q, dq.dfdy) * height;
  return std::max(sx * sx + tx * tx, sy * sy + ty * ty) * 0.25;
}

struct Reference {
  bool inside, onEdge;
  double s, t, rho;
};

class PerspectiveTriangle {
 public:
  PerspectiveTriangle(const Corner c[3], double width0, double height0) {
    for (int i = 0; i < 3; i++) c_[i] = c[i];
    double sw[3], tw[3], qw[3];
    for (int i = 0; i < 3; i++)
      sw[i] = c[i].s / c[i].w, tw[i] = c[i].t / c[i].w, qw[i] = 1 / c[i].w;
    const Plane ds = Gradients(c, sw), dt = Gradients(c, tw), dq = Gradients(c, qw);
    for (int i = 0; i < 3; i++)
      rhoQ_[i] = VertexRho(sw[i], tw[i], qw[i], ds, dt, dq, width0, height0) * qw[i];
  }

  Reference At(double px, double py) const {
    double l[3];
    const double area = Cross(c_[0], c_[1], c_[2].x, c_[2].y);
    bool inside = true, onEdge = false;
    for (int i = 0; i < 3; i++) {
      const Corner &a = c_[(i + 1) % 3], &b = c_[(i + 2) % 3];
      const double e = Cross(a, b, px, py);
      l[i] = e / area;
      const double distance = e / hypot(b.x - a.x, b.y - a.y) * (area > 0 ? 1 : -1);
      if (distance <= 0) inside = false;
      if (fabs(distance) < 0.01) onEdge = true;
    }
    double s = 0, t = 0, q = 0, rq = 0;
    for (int i = 0; i < 3; i++) {
      s += l[i] * c_[i].s / c_[i].w;
      t += l[i] * c_[i].t / c_[i].w;
      q += l[i] / c_[i].w;
      rq += l[i] * rhoQ_[i];
    }
    return {inside, onEdge, s / q, t / q, rq / q};
  }

 private:
  static double Cross(const Corner &a, const Corner &b, double x, double y) {
    return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
  }
  Corner c_[3];
  double rhoQ_[3];
};

// The lowest and highest value of each byte the model gives around the
// exact coordinates and level of detail.
void ModelRange(const ModelTexture &tex, const Reference &r, Texel *low, Texel *high) {
  low->fill(255);
  high->fill(0);
  const double ds = 2e-5 * (1 + fabs(r.s)), dt = 2e-5 * (1 + fabs(r.t));
  for (int i = -1; i <= 1; i++)
    for (int j = -1; j <= 1; j++)
      for (int k = -1; k <= 1; k++) {
        const Texel v = ModelSample(tex, float(r.s + i * ds), float(r.t + j * dt),
                                    float(r.rho * (1 + k * 2e-3)));
        for (size_t c = 0; c < 4; c++)
          (*low)[c] = std::min((*low)[c], v[c]), (*high)[c] = std::max((*high)[c], v[c]);
      }
}

struct Case {
  const char *name;
  GLenum minFilter, magFilter, wrap;
};

const Case kCases[] = {
    {"linear mipmap linear, repeat", GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT},
    {"nearest mipmap linear, clamp", GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST, GL_CLAMP},
    {"linear mipmap nearest, linear magnification", GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR,
     GL_REPEAT},
    {"nearest mipmap nearest", GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST, GL_REPEAT},
    {"linear minification, nearest magnification", GL_LINEAR, GL_NEAREST, GL_CLAMP},
};

// Magnified along the bottom edge, minified by up to 32 towards the far corner.
const Corner kCorners[3] = {
    {2.0, 1.5, 1.0, -0.25, -0.125}, {62.5, 4.25, 1.5, 1.0, 0.0}, {27.75, 46.5, 9.0, 0.5, 6.0}};

class Perspective : public TexDrawTest {};

TEST_F(Perspective, MipmappedTriangleMatchesTheReferencePixelByPixel) {
  // 8-8-8-8: the texel bytes are stored as they are.
  ASSERT_TRUE(Open(kRgbFormats.back(), kWidth, kHeight));
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  const PerspectiveTriangle tri(kCorners, kSide, kSide);
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    const ModelTexture tex = Noise(c.minFilter, c.magFilter, c.wrap);
    Load(tex);
    Clear();
    glBegin(GL_TRIANGLES);
    for (const Corner &v : kCorners) {
      glTexCoord2d(v.s, v.t);
      glVertex4d((v.x * 2 / kWidth - 1) * v.w, (v.y * 2 / kHeight - 1) * v.w, 0, v.w);
    }
    glEnd();
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    ASSERT_TRUE(GenericFill());
    int covered = 0, wrong = 0, slips = 0;
    for (int32_t y = 0; y < kHeight; y++)
      for (int32_t x = 0; x < kWidth; x++) {
        const Reference r = tri.At(x + 0.5, y + 0.5);
        if (r.onEdge) continue;
        if (!r.inside) {
          if (colorMemory->Read(x, y) != cleared && wrong++ < 6)
            ADD_FAILURE() << "pixel " << x << ", " << y << " drawn outside the triangle";
          continue;
        }
        covered++;
        Texel low, high;
        ModelRange(tex, r, &low, &high);
        const Channels got = Pixel(x, y);
        bool ok = true, slipped = false;
        for (size_t k = 0; k < 4; k++) {
          slipped = slipped || got[k] + 1 == low[k];
          ok = ok && got[k] + 1 >= low[k] && got[k] <= high[k];
        }
        slips += slipped;
        if (!ok && wrong++ < 6)
          ADD_FAILURE() << "pixel " << x << ", " << y << " (s " << r.s << ", t " << r.t
                        << ", rho " << r.rho << "): " << Show(got) << ", want "
                        << Show({low[0], low[1], low[2], low[3]}) << " to "
                        << Show({high[0], high[1], high[2], high[3]});
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(covered, 900);
    EXPECT_LE(slips * 100, covered) << slips << " pixels one below the model";
  }
}

}  // namespace
}  // namespace tex_draw_test
