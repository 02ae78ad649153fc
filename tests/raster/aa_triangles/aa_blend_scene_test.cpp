// A scene of antialiased triangles and lines blended with GL_SRC_ALPHA /
// GL_ONE_MINUS_SRC_ALPHA through the real span pipeline, line stages and
// stores, in every RGB format, against a per-pixel reference. The reference
// keeps each channel as an interval: the line's coverage may differ from
// the double-precision rule by 1/64 (and faint pixels below 0.15 may be
// left out), and a blended value on a rounding tie may go either way.
#include <gtest/gtest.h>
#include <math.h>

#include <array>
#include <vector>

#include "core/s_pick.h"
#include "raster/s_blend.h"
#include "raster/s_line_aa.h"
#include "raster/s_pgdraw_aa.h"
#include "raster/s_store.h"
#include "tests/raster/aa_lines/aa_line_formula.h"
#include "tests/raster/aa_triangles/aa_supersampler.h"
#include "tests/raster/color/color_fixture.h"
#include "tests/raster/color/color_model.h"

namespace {

constexpr int32_t kW = 40, kH = 30;

struct Interval {
  double lo, hi;
};

// The reference image: per pixel and channel the values the buffer may hold.
class Reference {
 public:
  Reference(const ColorFormat &f, const GlColorBuffer *cfb, const std::vector<uint8_t> &bytes,
            const GlDrawableBuffer *mem)
      : f_(f), scale_{cfb->redScale, cfb->greenScale, cfb->blueScale, cfb->alphaScale} {
    px_.resize(kW * kH);
    for (int y = 0; y < kH; y++)
      for (int x = 0; x < kW; x++) {
        const GlColor c = ModelRgbFetch(f, ReadPixel(bytes, mem, x, y), cfb->alphaScale);
        const double v[4] = {c.r, c.g, c.b, c.a};
        for (int i = 0; i < 4; i++) px_[y * kW + x][i] = {v[i], v[i]};
      }
  }

  // Blends colour `s` (buffer units) with coverage in [cLo, cHi] into (x, y).
  void Blend(int x, int y, const double s[4], double cLo, double cHi) {
    if (x < 0 || y < 0 || x >= kW || y >= kH) return;
    std::array<Interval, 4> &p = px_[y * kW + x];
    // The source alpha factor, the source alpha itself scaled by coverage.
    const double as[2] = {s[3] * cLo / scale_[3], s[3] * cHi / scale_[3]};
    for (int i = 0; i < 4; i++) {
      if (i == 3 && !f_.hasAlpha()) continue;
      double lo = INFINITY, hi = -INFINITY;
      for (double a : as) {
        const double source = i == 3 ? a * scale_[3] : s[i];
        for (double d : {p[i].lo, p[i].hi}) {
          const double v = fmin(source * a + d * (1 - a), scale_[i]);
          lo = fmin(lo, v), hi = fmax(hi, v);
        }
      }
      // The store rounds to nearest; a value within float error of a tie
      // may go either way.
      p[i] = {floor(lo + 0.5 - 1e-3), floor(hi + 0.5 + 1e-3)};
    }
  }

  // The first pixel whose stored channels fall outside their intervals.
  std::string Check(const std::vector<uint8_t> &bytes, const GlDrawableBuffer *mem,
                    const GlColorBuffer *cfb) const {
    for (int y = 0; y < kH; y++)
      for (int x = 0; x < kW; x++) {
        const GlColor c = ModelRgbFetch(f_, ReadPixel(bytes, mem, x, y), cfb->alphaScale);
        const double v[4] = {c.r, c.g, c.b, c.a};
        for (int i = 0; i < (f_.hasAlpha() ? 4 : 3); i++) {
          const Interval &in = px_[y * kW + x][i];
          if (v[i] < in.lo || v[i] > in.hi)
            return testing::PrintToString(x) + "," + testing::PrintToString(y) + " channel " +
                   testing::PrintToString(i) + ": " + testing::PrintToString(v[i]) + " not in [" +
                   testing::PrintToString(in.lo) + ", " + testing::PrintToString(in.hi) + "]";
        }
      }
    return "";
  }

 private:
  ColorFormat f_;
  double scale_[4];
  std::vector<std::array<Interval, 4>> px_;
};

struct SceneTriangle {
  double v[3][2];
  double color[4];  // in [0, 1]
};
struct SceneLine {
  double a[2], b[2], width;
  double color[4];
};

const SceneTriangle kTriangles[] = {
    {{{3.2, 2.7}, {30.6, 5.1}, {12.3, 24.8}}, {0.9, 0.2, 0.1, 0.7}},
    {{{20.1, 27.3}, {8.7, 9.9}, {37.4, 15.2}}, {0.1, 0.8, 0.3, 0.45}},
    {{{1.1, 28.4}, {15.5, 20.05}, {6.3, 12.6}}, {0.3, 0.3, 0.95, 0.85}},
};
const SceneLine kLines[] = {
    {{2.3, 20.6}, {36.8, 3.4}, 1.0, {1.0, 1.0, 0.2, 0.6}},
    {{5.5, 5.5}, {5.5, 26.5}, 2.0, {0.2, 0.9, 0.9, 0.9}},
    {{33.2, 27.7}, {10.4, 14.1}, 3.0, {0.8, 0.1, 0.7, 0.5}},
};

class BlendScene {
 public:
  explicit BlendScene(const ColorFormat &f) : b_(f, kW, kH) {
    GlContext *gc = b_.gc();
    GlConstants &k = gc->constants;
    k.redRescale = k.greenRescale = k.blueRescale = k.alphaRescale = 1.0f;
    k.depthMax = 1.0f;
    k.width = kW, k.height = kH;
    gc->transform.viewportInside = 1;
    gc->drawBuffer = b_.cfb();
    gc->drawBufferMask = __GL_FRONT_BUFFER_MASK;
    for (int i = 0; i < 2; i++) {
      colors_[i].resize(GL_SPAN_PIXELS);
      gc->spanColors[i] = colors_[i].data();
    }
    stipple_.resize(GL_SPAN_STIPPLE_WORDS);
    gc->spanStipple = stipple_.data();
    GlRasterState &r = gc->state.raster;
    r.blendSrc = GL_SRC_ALPHA, r.blendDst = GL_ONE_MINUS_SRC_ALPHA;
    gc->state.enables.general |= __GL_BLEND_ENABLE | __GL_LINE_SMOOTH_ENABLE;
    gc->state.line.stippleRepeat = 1;
    b_.SetFlags(__GL_SHADE_RGB | __GL_SHADE_BLEND);
    __glGenericPickBlendProcs(gc);
    b_.cfb()->pick(gc, b_.cfb());
    __glGenericPickSpanProcs(gc);
    __glGenericPickStoreProcs(gc);
    __glGenericPickLineProcs(gc);
  }

  GlVertex Vertex(double x, double y, const double c[4]) {
    const GlColorBuffer *cfb = b_.cfb();
    GlVertex v{};
    v.window = {float(x + kBias), float(y + kBias), 0.5f, 1.0f};
    v.colors[0] = {float(c[0] * cfb->redScale), float(c[1] * cfb->greenScale),
                   float(c[2] * cfb->blueScale), float(c[3] * cfb->alphaScale)};
    return v;
  }

  BoundColorBuffer &buffer() { return b_; }

 private:
  BoundColorBuffer b_;
  std::vector<GlColor> colors_[2];
  std::vector<uint32_t> stipple_;
};

TEST(AABlendScene, TrianglesAndLinesInEveryFormat) {
  for (const ColorFormat &f : kRgbFormats) {
    SCOPED_TRACE(f.name);
    BlendScene scene(f);
    BoundColorBuffer &b = scene.buffer();
    GlContext *gc = b.gc();
    const GlDrawableBuffer *mem = b.memory().buffer();
    b.FillPattern(21);
    Reference ref(f, b.cfb(), b.Bytes(), mem);
    const GlColorBuffer *cfb = b.cfb();
    for (const SceneTriangle &t : kTriangles) {
      GlVertex v[3];
      for (int i = 0; i < 3; i++) v[i] = scene.Vertex(t.v[i][0], t.v[i][1], t.color);
      for (GlVertex &x : v) x.color = &x.colors[0];
      gc->vertexBuffer.provoking = &v[2];
      __glFillAntiAliasedTriangle(gc, &v[0], &v[1], &v[2]);
      const aa_model::Point p[3] = {
          {aa_model::Snap(float(t.v[0][0] + kBias) - kBias), aa_model::Snap(float(t.v[0][1] + kBias) - kBias)},
          {aa_model::Snap(float(t.v[1][0] + kBias) - kBias), aa_model::Snap(float(t.v[1][1] + kBias) - kBias)},
          {aa_model::Snap(float(t.v[2][0] + kBias) - kBias), aa_model::Snap(float(t.v[2][1] + kBias) - kBias)}};
      const double s[4] = {v[2].colors[0].r, v[2].colors[0].g, v[2].colors[0].b, v[2].colors[0].a};
      for (const auto &[pixel, c] : aa_model::Supersample(p, 4))
        ref.Blend(pixel.first, pixel.second, s, c, c);
    }
    for (const SceneLine &l : kLines) {
      gc->state.line.smoothWidth = float(l.width);
      GlVertex a = scene.Vertex(l.a[0], l.a[1], l.color), e = scene.Vertex(l.b[0], l.b[1], l.color);
      a.color = &a.colors[0], e.color = &e.colors[0];
      __glRenderAntiAliasLine(gc, &a, &e);
      const double ax = double(a.window.x) - kBias, ay = double(a.window.y) - kBias;
      const double bx = double(e.window.x) - kBias, by = double(e.window.y) - kBias;
      const double s[4] = {e.colors[0].r, e.colors[0].g, e.colors[0].b, e.colors[0].a};
      for (int y = 0; y < kH; y++)
        for (int x = 0; x < kW; x++) {
          const double c = aa_model::LineCoverage(ax, ay, bx, by, l.width, x, y);
          if (c <= 0) continue;
          ref.Blend(x, y, s, c < 0.15 ? 0.0 : fmax(c - 1.0 / 64, 0.0), fmin(c + 1.0 / 64, 1.0));
        }
    }
    EXPECT_EQ(ref.Check(b.Bytes(), mem, cfb), "");
    EXPECT_TRUE(b.memory().GuardsIntact());
  }
}

}  // namespace
