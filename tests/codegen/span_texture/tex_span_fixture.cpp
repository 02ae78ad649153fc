#include "tests/codegen/span_texture/tex_span_fixture.h"

#include <math.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "codegen/og.h"
#include "codegen/og_ns.h"
#include "codegen/og_ras.h"
#include "core/gl_api.h"
#include "fastraster/fr_tables.h"
#include "pixels/px_color_table.h"
#include "pixels/px_enums.h"
#include "pixels/px_texformat.h"
#include "pixels/px_texture_cook.h"
#include "platform/kernel.h"

namespace tex_span_test {

using scene_test::kHeight;
using scene_test::kWidth;

const TexTriangle kBlocker = {TexVertex{18.3, 0.2, 0.25, 1, 0, 0, {0.2, 0.4, 0.6, 1}},
                              TexVertex{45.7, 0.2, 0.25, 1, 0, 0, {0.2, 0.4, 0.6, 1}},
                              TexVertex{31.9, 47.8, 0.25, 1, 0, 0, {0.2, 0.4, 0.6, 1}}};

std::vector<TexTriangle> Scene(bool perspective) {
  const double w[6] = {1, 1, 1, 1, 1, 1};
  // Mild enough that runs of 16 stay within a fraction of a texel.
  const double pw[6] = {1.0, 1.2, 1.1, 1.15, 1.0, 1.25};
  const double *ws = perspective ? pw : w;
  return {
      TexTriangle{TexVertex{1.3, 1.7, 0.5, ws[0], 0.05, 0.1, {0.9, 0.05, 0.4, 1}},
                  TexVertex{62.6, 9.2, 0.5, ws[1], 1.9, 0.4, {0.1, 1.0, 0.7, 1}},
                  TexVertex{20.2, 22.9, 0.5, ws[2], 0.7, 1.3, {0.6, 0.3, 0.0, 1}}},
      TexTriangle{TexVertex{61.7, 25.3, 0.5, ws[3], 2.2, 0.6, {0.0, 0.8, 1.0, 1}},
                  TexVertex{3.4, 30.1, 0.5, ws[4], 0.3, 1.7, {1.0, 0.5, 0.2, 1}},
                  TexVertex{44.8, 46.6, 0.5, ws[5], 1.1, 0.2, {0.3, 0.9, 0.6, 1}}},
  };
}

namespace {

double Edge(const TexVertex &a, const TexVertex &b, double x, double y) {
  return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
}

// Whether pixel (x, row) lies in the blocker or within a pixel of it.
bool NearBlocker(int32_t x, int32_t row) {
  for (int k = 0; k < 3; k++) {
    const TexVertex &a = kBlocker[size_t(k)], &b = kBlocker[size_t((k + 1) % 3)];
    const double inside = Edge(a, b, x + 0.5, row + 0.5) / hypot(b.x - a.x, b.y - a.y);
    if (inside * (Edge(a, b, kBlocker[size_t((k + 2) % 3)].x, kBlocker[size_t((k + 2) % 3)].y) > 0 ? 1 : -1) < -1)
      return false;
  }
  return true;
}

// Whether pixel (x, row) lies in the blocker by more than a pixel.
bool InsideBlocker(int32_t x, int32_t row) {
  for (int k = 0; k < 3; k++) {
    const TexVertex &a = kBlocker[size_t(k)], &b = kBlocker[size_t((k + 1) % 3)];
    const TexVertex &o = kBlocker[size_t((k + 2) % 3)];
    const double inside = Edge(a, b, x + 0.5, row + 0.5) / hypot(b.x - a.x, b.y - a.y);
    if (inside * (Edge(a, b, o.x, o.y) > 0 ? 1 : -1) < 1) return false;
  }
  return true;
}

}  // namespace

void TexSpanTest::ExpectBlocked(const TexCase &c, const Image &gen, const Image &behind) {
  int inside = 0, wrong = 0;
  for (int32_t row = 0; row < kHeight; row++)
    for (int32_t x = 0; x < kWidth; x++) {
      if (!InsideBlocker(x, row)) continue;
      const size_t i = size_t(row) * kWidth + size_t(x);
      inside++;
      if ((gen.color[i] != behind.color[i] || gen.depth[i] != behind.depth[i]) && wrong++ < 4)
        ADD_FAILURE() << Describe(c) << ": pixel " << x << ", " << row << " behind the blocker changed";
    }
  EXPECT_GT(inside, 300);
}

std::string Describe(const TexCase &c) {
  std::ostringstream o;
  o << c.name << " (env 0x" << std::hex << c.env << std::dec << (c.smooth ? ", smooth" : ", flat")
    << (c.perspective ? ", perspective" : ", affine") << (c.dither ? ", dithered" : "")
    << (c.cook ? ", copy" : "") << ", " << (1 << c.widthLog2) << " x " << (1 << c.heightLog2) << ")";
  return o.str();
}

void TexSpanTest::TearDown() {
  SpanSceneTest::TearDown();
  if (captureCode_) VirtualFree(captureCode_, 0, MEM_RELEASE);
  captureCode_ = nullptr;
}

void TexSpanTest::Define(const TexCase &c) {
  const int32_t w = 1 << c.widthLog2, h = 1 << c.heightLog2;
  const bool indexed = c.internal == GL_COLOR_INDEX8_EXT;
  std::vector<uint8_t> src(size_t(w) * size_t(h) * 4);
  for (size_t i = 0; i < src.size(); i++) src[i] = uint8_t((i * 97 + 13) ^ ((i >> 3) * 29));
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GLint(c.internal), w, h, 0, indexed ? GL_COLOR_INDEX : GL_RGBA,
               GL_UNSIGNED_BYTE, src.data());
  if (indexed && format.rgba) {
    // Fewer entries than indices: indices wrap at the table's width.
    std::vector<uint8_t> entries(64 * 4);
    for (size_t i = 0; i < entries.size(); i++) entries[i] = uint8_t(i * 53 + 7);
    glColorTableEXT(GL_TEXTURE_2D, c.palette, 64, GL_RGBA, GL_UNSIGNED_BYTE, entries.data());
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLint(c.env));
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, c.perspective ? GL_NICEST : GL_FASTEST);
  glEnable(GL_TEXTURE_2D);
}

void TexSpanTest::InstallCapture() {
  if (!captureCode_)
    captureCode_ = static_cast<uint8_t *>(
        VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
  ASSERT_NE(captureCode_, nullptr);
  record.assign(OG_SETUP_FRAME / 4, 0);
  captureRaster_ = const_cast<void *>(gc->procs.fillTriangleSpans);
  og_warmup(gc);
  og_buffer(gc, captureCode_, captureCode_ + 4096);
  uint8_t *cb = captureCode_;
  // Entered by the setup's jump with esp at the span record; every
  // register is free.
  cb = emit_code(gc, cb, mov(gc, esi, esp));
  cb = emit_code(gc, cb, mov(gc, edi, value(gc, int32_t(uintptr_t(record.data())))));
  cb = emit_code(gc, cb, mov(gc, ecx, value(gc, int32_t(record.size()))));
  cb = emit_code(gc, cb, rep(gc));
  cb = emit_code(gc, cb, movsd(gc));
  cb = emit_code(gc, cb, jmpi(gc, mem(gc, value(gc, int32_t(uintptr_t(&captureRaster_))), nullptr,
                                      nullptr, 1)));
  ASSERT_FALSE(gc->ogs.failure);
  gc->procs.fillTriangleSpans = captureCode_;
}

Image TexSpanTest::DrawTex(Path path, const TexCase &c, const std::vector<TexTriangle> &tris,
                           bool capture) {
  scene_test::SceneReference ref(Target());
  dither = c.dither;
  c.dither ? glEnable(GL_DITHER) : glDisable(GL_DITHER);
  glDisable(GL_TEXTURE_2D);
  ClearAll(&ref);
  glShadeModel(c.smooth ? GL_SMOOTH : GL_FLAT);
  if (c.depth) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glBegin(GL_TRIANGLES);
    for (const TexVertex &v : kBlocker) {
      if (format.rgba)
        glColor4f(GLfloat(v.c[0]), GLfloat(v.c[1]), GLfloat(v.c[2]), GLfloat(v.c[3]));
      else
        glIndexf(GLfloat(v.c[0]) * 100);
      glVertex3f(GLfloat(v.x), GLfloat(v.y), GLfloat(v.z));
    }
    glEnd();
  }
  Define(c);
  Validate();
  EXPECT_NE(gc->texture.current, nullptr) << Describe(c);
  if (c.cook) __glCookTexture(gc);
  if (path == Path::kGenerated) {
    EXPECT_TRUE(__glForceGeneratedTriangle(gc, GL_FALSE));
    if (capture) InstallCapture();
  }
  glBegin(GL_TRIANGLES);
  for (const TexTriangle &tri : tris)
    for (const TexVertex &v : tri) {
      if (format.rgba)
        glColor4f(GLfloat(v.c[0]), GLfloat(v.c[1]), GLfloat(v.c[2]), GLfloat(v.c[3]));
      else
        glIndexf(GLfloat(v.c[0]));
      glTexCoord2f(GLfloat(v.s), GLfloat(v.t));
      glVertex4f(GLfloat(v.x * v.w), GLfloat(v.y * v.w), GLfloat(v.z * v.w), GLfloat(v.w));
    }
  glEnd();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  return Snapshot();
}

const GlTextureLevel *TexSpanTest::Level() const {
  const GlTextureObject *tex = gc->texture.current;
  return tex ? tex->levels[0] : nullptr;
}

std::array<uint32_t, 4> TexSpanTest::Texel(int32_t col, int32_t row) const {
  GlTextureObject *tex = gc->texture.current;
  GlTextureLevel *level = tex->levels[0];
  GLubyte b[4] = {0, 0, 0, 0};
  level->extract(level, tex, 0, row, col, b);
  return {b[0], b[1], b[2], b[3]};
}

bool TexSpanTest::SampleAt(const TexTriangle &tri, bool perspective, int32_t x, int32_t row,
                           Sample *out) const {
  const double px = x + 0.5, py = row + 0.5;
  const double area = Edge(tri[0], tri[1], tri[2].x, tri[2].y);
  double l[3] = {Edge(tri[1], tri[2], px, py) / area, Edge(tri[2], tri[0], px, py) / area,
                 Edge(tri[0], tri[1], px, py) / area};
  // Pixels on or next to an edge are the coverage tests' business.
  for (double v : l)
    if (v < 1e-3) return false;
  const int32_t w = 1 << Level()->widthLog2, h = 1 << Level()->heightLog2;
  double s = 0, t = 0, q = 0;
  for (int i = 0; i < 3; i++) {
    const double f = perspective ? l[i] / tri[size_t(i)].w : l[i];
    s += f * tri[size_t(i)].s, t += f * tri[size_t(i)].t, q += f;
  }
  out->u = s / q * w;
  out->v = t / q * h;
  for (int k = 0; k < 4; k++) out->c[k] = l[0] * tri[0].c[k] + l[1] * tri[1].c[k] + l[2] * tri[2].c[k];
  return true;
}

const TexTriangle *TexSpanTest::HitAt(const TexCase &c, const std::vector<TexTriangle> &tris,
                                      int32_t x, int32_t row, Sample *s) const {
  const TexTriangle *hit = nullptr;
  for (const TexTriangle &tri : tris)
    if (SampleAt(tri, c.perspective, x, row, s)) hit = &tri;
  // The last triangle drawn over the pixel.
  if (hit) SampleAt(*hit, c.perspective, x, row, s);
  return hit;
}

std::array<double, 2> TexSpanTest::Drift(const TexTriangle &tri, const TexCase &c, int32_t x,
                                         int32_t row) const {
  const int32_t w = 1 << c.widthLog2, h = 1 << c.heightLog2;
  // u and v at any point of the triangle's plane.
  const auto at = [&](double px, double py, double *u, double *v) {
    const double area = Edge(tri[0], tri[1], tri[2].x, tri[2].y);
    double l[3] = {Edge(tri[1], tri[2], px, py) / area, Edge(tri[2], tri[0], px, py) / area,
                   Edge(tri[0], tri[1], px, py) / area};
    double s = 0, t = 0, q = 0;
    for (int i = 0; i < 3; i++) {
      const double f = c.perspective ? l[i] / tri[size_t(i)].w : l[i];
      s += f * tri[size_t(i)].s, t += f * tri[size_t(i)].t, q += f;
    }
    *u = s / q * w, *v = t / q * h;
  };
  const double px = x + 0.5, py = row + 0.5;
  double u, v, ux, vx, uy, vy;
  at(px, py, &u, &v);
  at(px + 1, py, &ux, &vx);
  at(px, py + 1, &uy, &vy);
  // The setups' single-precision planes and snapped vertices (a sixteenth
  // of a pixel times the gradient), and 16-bit fractions whose rounded
  // steps drift by up to 2^-17 of the texture per row and pixel walked.
  const double walk = double(kWidth + kHeight) / 131072.0;
  std::array<double, 2> drift = {1.0 / 32 + (fabs(ux - u) + fabs(uy - u)) / 16 + w * walk,
                                 1.0 / 32 + (fabs(vx - v) + fabs(vy - v)) / 16 + h * walk};
  if (!c.perspective) return drift;
  // The worst linear step inside a run of 16 that holds this pixel.
  double worst[2] = {0, 0};
  for (int32_t a = x - 16; a <= x; a++) {
    double u0, v0, u1, v1;
    at(a + 0.5, py, &u0, &v0);
    at(a + 16.5, py, &u1, &v1);
    const double f = (x - a) / 16.0;
    worst[0] = std::max(worst[0], fabs(u0 + (u1 - u0) * f - u));
    worst[1] = std::max(worst[1], fabs(v0 + (v1 - v0) * f - v));
  }
  return {drift[0] + worst[0], drift[1] + worst[1]};
}

namespace {

bool NearBoundary(double u, double drift) {
  const double f = u - floor(u);
  return f < drift || 1 - f < drift;
}

int64_t ChannelOf(const ColorFormat &f, uint32_t pixel, int k) {
  if (!f.rgba) return pixel & f.indexMask();
  return (pixel & f.masks[k]) >> __builtin_ctz(f.masks[k]);
}

// S[c] + S[t] - S[c - t] over the squares table the generated code reads.
int64_t SquareProduct(int64_t c, int64_t t) {
  const uint8_t *s = __glSquareTable2.data() + 256;
  return int64_t(s[c]) + s[t] - s[c - t];
}

}  // namespace

void TexSpanTest::ExpectNearGeneric(const TexCase &c, const std::vector<TexTriangle> &tris,
                                    const Image &gen, const Image &generic) {
  // The squares table is within one of the product of the colour's whole
  // units and the texel, and the two paths dither in different phases;
  // the generic path rounds the exact product.
  const int64_t tolerance = c.env == GL_MODULATE && (c.smooth || c.dither) ? 2 : 1;
  int judged = 0, wrong = 0;
  std::ostringstream first;
  for (int32_t row = 0; row < kHeight; row++)
    for (int32_t x = 0; x < kWidth; x++) {
      const size_t i = size_t(row) * kWidth + size_t(x);
      Sample s{};
      const TexTriangle *hit = HitAt(c, tris, x, row, &s);
      if (!hit) {
        bool edge = false;
        for (const TexTriangle &tri : tris)
          for (int k = 0; k < 3; k++) {
            const TexVertex &a = tri[size_t(k)], &b = tri[size_t((k + 1) % 3)];
            const double len = hypot(b.x - a.x, b.y - a.y);
            // The two setups round edges differently.
            if (fabs(Edge(a, b, x + 0.5, row + 0.5)) / len < 1.0 / 16) edge = true;
          }
        if (!edge && gen.color[i] != generic.color[i] && wrong++ < 8)
          first << "\n  pixel " << x << ", " << row << " outside: " << std::hex << gen.color[i]
                << " vs " << generic.color[i] << std::dec;
        continue;
      }
      const std::array<double, 2> drift = Drift(*hit, c, x, row);
      if (NearBoundary(s.u, drift[0]) || NearBoundary(s.v, drift[1])) continue;
      judged++;
      for (int k = 0; k < (format.rgba ? 3 : 1); k++) {
        const int64_t a = ChannelOf(format, gen.color[i], k), b = ChannelOf(format, generic.color[i], k);
        if (llabs(a - b) <= tolerance) continue;
        if (wrong++ < 8)
          first << "\n  pixel " << x << ", " << row << " channel " << k << ": " << a << ", generic "
                << b << " (texel " << floor(s.u) << ", " << floor(s.v) << ")";
      }
    }
  EXPECT_GT(judged, 100) << Describe(c);
  if (wrong) ADD_FAILURE() << Describe(c) << ": " << wrong << " differences" << first.str();
}

void TexSpanTest::ExpectCombined(const TexCase &c, const std::vector<TexTriangle> &tris,
                                 const Image &gen) {
  const GlColorBuffer *cfb = gc->drawBuffer;
  const int32_t w = 1 << c.widthLog2, h = 1 << c.heightLog2;
  int judged = 0, wrong = 0;
  std::ostringstream first;
  for (int32_t row = 0; row < kHeight; row++)
    for (int32_t x = 0; x < kWidth; x++) {
      const size_t i = size_t(row) * kWidth + size_t(x);
      Sample s{};
      const TexTriangle *hit = HitAt(c, tris, x, row, &s);
      if (!hit || (c.depth && NearBlocker(x, row))) continue;
      const std::array<double, 2> drift = Drift(*hit, c, x, row);
      if (NearBoundary(s.u, drift[0]) || NearBoundary(s.v, drift[1])) continue;
      judged++;
      const int32_t col = int32_t(floor(s.u)) & (w - 1), trow = int32_t(floor(s.v)) & (h - 1);
      const std::array<uint32_t, 4> texel = Texel(col, trow);
      const double *color = c.smooth ? s.c : (*hit)[2].c;
      for (int k = 0; k < (format.rgba ? 3 : 1); k++) {
        std::set<int64_t> ok;
        const int64_t got = ChannelOf(format, gen.color[i], k);
        if (!format.rgba) {
          // The index byte, added to the index under GL_ADD.
          const int64_t t = texel[0];
          if (c.env == GL_ADD) {
            const double r = color[0], slack = scene_test::ColorSlack(r);
            for (int64_t n = int64_t(floor(r - slack)); n <= int64_t(floor(r + slack)) + 1; n++)
              ok.insert((n + t) & int64_t(format.indexMask()));
          } else {
            ok.insert(t & int64_t(format.indexMask()));
          }
        } else {
          const uint32_t maxes[3] = {cfb->redMax, cfb->greenMax, cfb->blueMax};
          const int64_t max = maxes[k];
          const int32_t bits = 32 - __builtin_clz(uint32_t(max));
          const int64_t t = texel[size_t(k)];
          // The 8-bit results and, without dither, the buffer units they
          // give; with dither every 8-bit result p may land on floor(v) or
          // the unit above, v = (p - (p >> bits)) in buffer units.
          std::set<int64_t> results;
          bool lo8 = true;
          // GL_DECAL on an RGB texture replaces.
          if (c.env == GL_REPLACE || c.cook || (c.env == GL_DECAL && c.internal == GL_RGB)) {
            results.insert(t);
          } else {
            const double exact = color[k] * double(max);
            const double slack = scene_test::ColorSlack(exact);
            const double scale = c.dither ? 256.0 / double(max + 1) : 1.0;
            const int64_t top = c.dither ? 255 : max;
            for (int64_t n = int64_t(floor((exact - slack) * scale));
                 n <= int64_t(floor((exact + slack) * scale)) + 1; n++) {
              const int64_t cc = std::min(std::max(n, int64_t(0)), top);
              results.insert(c.smooth ? SquareProduct(cc, t) : cc * t / 255);
            }
            lo8 = c.dither;
          }
          for (int64_t p : results) {
            if (!lo8) {
              ok.insert(std::min(std::max(p, int64_t(0)), max));
            } else if (!c.dither) {
              ok.insert(p >> (8 - bits));
            } else {
              const int64_t v = (p - (p >> bits)) << bits;  // x 256
              for (int64_t n : {v >> 8, (v >> 8) + 1}) ok.insert(std::min(std::max(n, int64_t(0)), max));
            }
          }
        }
        if (ok.count(got)) continue;
        if (wrong++ < 8) {
          first << "\n  pixel " << x << ", " << row << " channel " << k << ": " << got << ", texel "
                << col << ", " << trow << " = " << texel[size_t(k)] << ", want one of";
          for (int64_t v : ok) first << " " << v;
        }
      }
    }
  EXPECT_GT(judged, 100) << Describe(c);
  if (wrong) ADD_FAILURE() << Describe(c) << ": " << wrong << " pixels differ from the combine rule" << first.str();
}

}  // namespace tex_span_test
