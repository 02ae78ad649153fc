// Textured triangles drawn twice into the same window: by the generic
// textured path, and by the pre-built set-up with a chain of stencil
// marking, a texture colour-generation kernel (which calls an extraction
// spanlet and through it the texel filters) and the store span. Per pixel
// the two must agree within a bound computed from the fast path's
// arithmetic for that triangle:
// - affine coordinates are 16.16 values whose rounded steps drift by up to
//   2^-17 of the texture per row and per pixel walked;
// - perspective coordinates are exact at 16-pixel segment ends and linear
//   between them, which adds the chord's distance from s/q over 16 pixels
//   (the triangles keep q's change small enough for that to stay small).
// Nearest filtering must read the same texel wherever the sample point lies
// farther than the bound from a texel boundary; bilinear filtering may move
// by the bound times the largest difference of neighbouring texels. On top
// of that each colour field may differ by the units the texture functions'
// rounding allows (the kernels truncate through the byte product, the
// generic path rounds once in the draw buffer's units).
#include <gtest/gtest.h>

#include <math.h>
#include <stdint.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fastraster/fr_genclr.h"
#include "fastraster/fr_pick.h"
#include "fastraster/fr_store.h"
#include "fastraster/fr_tex.h"
#include "pixels/px_texformat.h"
#include "tests/fastraster/scene/fast_scene_fixture.h"

namespace scene_test {
namespace {

struct TexVertex {
  double x, y;      // window position, on the 1/16 grid
  double s, t, q;   // texture coordinates as divided ones (s/q, t/q) and q
  double c[4];
};
typedef std::array<TexVertex, 3> TexTriangle;

enum class Kind { kRGB, kRGBA, kPaletted };

struct TexCase {
  const char *name;
  int32_t w, h, border;
  Kind kind;
  GLenum wrap, filter, env;
  bool perspective;
};

// Texture sizes keep the bound well below a quarter texel.
const TexCase kCases[] = {
    {"rgb 8x8 repeat nearest modulate", 8, 8, 0, Kind::kRGB, GL_REPEAT, GL_NEAREST, GL_MODULATE, false},
    {"rgba 8x4 clamp nearest replace", 8, 4, 0, Kind::kRGBA, GL_CLAMP, GL_NEAREST, GL_REPLACE, false},
    {"rgba 4x8 repeat linear modulate", 4, 8, 0, Kind::kRGBA, GL_REPEAT, GL_LINEAR, GL_MODULATE, false},
    {"rgb 8x8 clamp linear replace", 8, 8, 0, Kind::kRGB, GL_CLAMP, GL_LINEAR, GL_REPLACE, false},
    {"rgba 8x8 bordered clamp linear decal", 8, 8, 1, Kind::kRGBA, GL_CLAMP, GL_LINEAR, GL_DECAL, false},
    {"rgb 4x4 bordered repeat nearest decal", 4, 4, 1, Kind::kRGB, GL_REPEAT, GL_NEAREST, GL_DECAL, false},
    {"paletted 8x8 repeat nearest replace", 8, 8, 0, Kind::kPaletted, GL_REPEAT, GL_NEAREST, GL_REPLACE, false},
    {"paletted 8x4 clamp linear modulate", 8, 4, 0, Kind::kPaletted, GL_CLAMP, GL_LINEAR, GL_MODULATE, false},
    {"rgb 8x8 repeat nearest modulate, perspective", 8, 8, 0, Kind::kRGB, GL_REPEAT, GL_NEAREST, GL_MODULATE, true},
    {"rgba 8x8 clamp linear replace, perspective", 8, 8, 0, Kind::kRGBA, GL_CLAMP, GL_LINEAR, GL_REPLACE, true},
    {"rgba 4x4 bordered clamp linear decal, perspective", 4, 4, 1, Kind::kRGBA, GL_CLAMP, GL_LINEAR, GL_DECAL, true},
    {"paletted 8x8 repeat linear modulate, perspective", 8, 8, 0, Kind::kPaletted, GL_REPEAT, GL_LINEAR, GL_MODULATE, true},
};

// Spans up to about 60 pixels (two chunks), both walk directions; texture
// coordinates positive (the generic nearest filter truncates toward zero)
// and past 1.0 for the wraps; q changes by at most a fifth.
std::vector<TexTriangle> Triangles(bool perspective) {
  const double q0 = 1.0, q1 = perspective ? 1.2 : 1.0, q2 = perspective ? 0.85 : 1.0;
  return {
      {{{2.25, 4, 0.05, 0.10, q0, {0.9, 0.1, 0.3, 1}},
        {61.5, 20, 1.30, 0.45, q1, {0.05, 0.95, 0.6, 1}},
        {10.75, 36, 0.40, 1.20, q2, {0.4, 0.5, 1.0, 1}}}},
      {{{60.25, 11, 1.10, 0.20, q2, {0.0, 0.3, 0.95, 1}},
        {40, 43, 0.70, 1.35, q0, {1.0, 0.7, 0.02, 1}},
        {3.5, 27, 0.02, 0.60, q1, {0.6, 0.0, 0.5, 1}}}},
      {{{20.5, 30, 0.25, 0.05, q1, {0.25, 0.75, 0.125, 1}},
        {63.75, 46, 1.45, 0.90, q0, {0.8, 0.2, 0.9, 1}},
        {30, 46, 0.60, 1.10, q2, {0.1, 0.9, 0.4, 1}}}},
  };
}

class TexSceneTest : public FastSceneTest {
 protected:
  void ColorStage(const SceneState &, FrSpanletProc *, FrSpanletProc *) override {}

  // Level 0 of random texels, with the case's filter, wrap and environment.
  void DefineTexture(const TexCase &c) {
    const int32_t W = c.w + 2 * c.border, H = c.h + 2 * c.border;
    uint32_t x = uint32_t(W * 977 + H * 131 + int(c.kind));
    const auto next = [&] {
      x ^= x << 13, x ^= x >> 17, x ^= x << 5;
      return uint8_t(x >> 8);
    };
    texels.assign(size_t(W * H * 4), 0);
    if (c.kind == Kind::kPaletted) {
      std::vector<uint8_t> palette(256 * 4), indices(size_t(W * H));
      for (uint8_t &b : palette) b = next();
      for (uint8_t &i : indices) i = next();
      for (size_t k = 0; k < indices.size(); k++)
        for (size_t ch = 0; ch < 4; ch++) texels[4 * k + ch] = palette[4 * indices[k] + ch];
      glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 256, GL_RGBA, GL_UNSIGNED_BYTE, palette.data());
      glTexImage2D(GL_TEXTURE_2D, 0, GL_COLOR_INDEX8_EXT, W, H, c.border, GL_COLOR_INDEX,
                   GL_UNSIGNED_BYTE, indices.data());
    } else {
      for (uint8_t &b : texels) b = next();
      if (c.kind == Kind::kRGB)
        for (size_t k = 3; k < texels.size(); k += 4) texels[k] = 255;
      glTexImage2D(GL_TEXTURE_2D, 0, c.kind == Kind::kRGB ? GL_RGB : GL_RGBA, W, H, c.border,
                   GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(c.wrap));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(c.wrap));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(c.filter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(c.filter));
    const GLfloat border[4] = {0.2f, 0.6f, 1.0f, 0.4f};
    glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLint(c.env));
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, c.perspective ? GL_NICEST : GL_FASTEST);
    glEnable(GL_TEXTURE_2D);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << c.name;
  }

  // The colour key's texture code and the extraction spanlet for the case,
  // as the picker chooses them.
  void TextureStage(const TexCase &c, uint32_t *key, FrSpanletProc *extract) {
    const bool alpha = c.kind != Kind::kRGB;
    const bool four = c.env == GL_DECAL && alpha;
    *key = 0x02 | (c.env == GL_MODULATE ? 0x0C : four ? 0x28 : 0x04);
    if (c.perspective)
      *extract = four ? __glGenericExtractTexelsPC_4 : __glGenericExtractTexelsPC_3;
    else
      *extract = four ? __glGenericExtractTexels_4 : __glGenericExtractTexels_3;
  }

  Image DrawTex(const TexCase &c, const std::vector<TexTriangle> &tris, bool fast) {
    uint32_t key = 0;
    FrSpanletProc extract = nullptr;
    TextureStage(c, &key, &extract);
    const FrTexelFilterProc filter =
        c.filter == GL_NEAREST ? __glFRNearestFilter : __glFRLinearFilter;
    return Draw(tris, fast, c.perspective, key, extract, filter, filter);
  }

  // Both paths; the fast one with this colour key, extraction spanlet and
  // filters.
  Image Draw(const std::vector<TexTriangle> &tris, bool fast, bool perspective, uint32_t key,
             FrSpanletProc extract, FrTexelFilterProc minify, FrTexelFilterProc magnify) {
    SceneReference ref(Target());
    glDisable(GL_DITHER);
    glDisable(GL_TEXTURE_2D);
    ClearAll(&ref);
    const SceneState state = Marking(true);
    Apply(state);
    glEnable(GL_TEXTURE_2D);
    Validate();
    if (fast) {
      const uint32_t flags = gc->polygon.shader.modeFlags;
      EXPECT_TRUE(flags & __GL_SHADE_TEXTURE);
      EXPECT_EQ((flags & __GL_SHADE_PERSPECTIVE) != 0, perspective);
      const uint8_t type = gc->drawBuffer->frFbType;
      InstallChain(state, __glGenColorTab[type][key], __glStoreTab[type]);
      gc->procs.extractTexels = extract;
      gc->procs.texMinFilter = minify;
      gc->procs.texMagFilter = magnify;
    }
    glBegin(GL_TRIANGLES);
    for (const TexTriangle &tri : tris)
      for (const TexVertex &v : tri) {
        glColor4f(GLfloat(v.c[0]), GLfloat(v.c[1]), GLfloat(v.c[2]), GLfloat(v.c[3]));
        glTexCoord4f(GLfloat(v.s * v.q), GLfloat(v.t * v.q), 0.0f, GLfloat(v.q));
        glVertex3f(GLfloat(v.x), GLfloat(v.y), 0.5f);
      }
    glEnd();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    return Snapshot();
  }

  // The largest difference of a colour byte between neighbouring texels
  // (the border colour's bytes included), for the bilinear bound.
  int LargestStep(const TexCase &c) const {
    const int32_t W = c.w + 2 * c.border, H = c.h + 2 * c.border;
    const uint8_t border[3] = {51, 153, 255};  // 0.2, 0.6, 1.0 times 255
    int most = 0;
    for (int32_t y = 0; y < H; y++)
      for (int32_t x = 0; x < W; x++)
        for (size_t ch = 0; ch < 3; ch++) {
          const int here = texels[size_t(4 * (y * W + x)) + ch];
          if (x + 1 < W) most = std::max(most, abs(here - texels[size_t(4 * (y * W + x + 1)) + ch]));
          if (y + 1 < H) most = std::max(most, abs(here - texels[size_t(4 * ((y + 1) * W + x)) + ch]));
          most = std::max(most, abs(here - border[ch]));
        }
    return most;
  }

  std::vector<uint8_t> texels;  // level 0 as R, G, B, A, border included
};

// A plane through three values at the triangle's corners.
struct PlaneFit {
  double a, b, c;  // value = a + b x + c y
  PlaneFit(const TexTriangle &t, double TexVertex::*f, bool timesQ) {
    double v[3];
    for (int k = 0; k < 3; k++) v[k] = timesQ ? t[size_t(k)].*f * t[size_t(k)].q : t[size_t(k)].*f;
    const double x0 = t[0].x, y0 = t[0].y, x1 = t[1].x, y1 = t[1].y, x2 = t[2].x, y2 = t[2].y;
    const double det = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
    b = ((v[1] - v[0]) * (y2 - y0) - (v[2] - v[0]) * (y1 - y0)) / det;
    c = ((v[2] - v[0]) * (x1 - x0) - (v[1] - v[0]) * (x2 - x0)) / det;
    a = v[0] - b * x0 - c * y0;
  }
  double At(double x, double y) const { return a + b * x + c * y; }
};

bool Inside(const TexTriangle &t, double x, double y) {
  const auto side = [](const TexVertex &p, const TexVertex &q, double x, double y) {
    return (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x);
  };
  const double d0 = side(t[0], t[1], x, y), d1 = side(t[1], t[2], x, y), d2 = side(t[2], t[0], x, y);
  return (d0 >= 0 && d1 >= 0 && d2 >= 0) || (d0 <= 0 && d1 <= 0 && d2 <= 0);
}

// How far (in normalised units) the fast path's sample point may be from
// the exact one: rounding of the start, the row steps and the pixel steps,
// plus for perspective the chord over 16 pixels, plus a little for the
// generic path's own single-precision walk.
double SampleBound(const TexTriangle &t, bool perspective, double TexVertex::*coord) {
  double yMin = 1e9, yMax = -1e9, xMin = 1e9, xMax = -1e9;
  for (const TexVertex &v : t) {
    yMin = std::min(yMin, v.y), yMax = std::max(yMax, v.y);
    xMin = std::min(xMin, v.x), xMax = std::max(xMax, v.x);
  }
  double bound = (2 + (yMax - yMin) + (xMax - xMin)) * ldexp(1.0, -17) + ldexp(1.0, -14);
  if (perspective) {
    // f = (A + Bx) / (C + Dx) along a row: |f''| = 2 |D (BC - AD)| / |C + Dx|^3,
    // largest where q is smallest (q is linear, so at a corner).
    const PlaneFit num(t, coord, true), q(t, &TexVertex::q, false);
    double worst = 0;
    for (const TexVertex &v : t) {
      const double A = num.a + num.c * v.y, C = q.a + q.c * v.y;
      const double B = num.b, D = q.b;
      const double denom = fabs(C + D * v.x);
      worst = std::max(worst, 2 * fabs(D * (B * C - A * D)) / (denom * denom * denom));
    }
    bound += 32 * worst + 16 * ldexp(1.0, -17);
  }
  return bound;
}

struct Field {
  uint32_t shift, bits;
};

// What one comparison allows: the texture's level-0 size, whether the
// coordinates are perspective ones, nearest filtering (pixels near a texel
// boundary are left out) or bilinear (the bound times the largest step),
// the units of the texture function, and extra 8-bit units (level blends).
struct Allowance {
  std::string what;
  int32_t w, h;
  bool perspective, nearest;
  int functionUnits;
  int maxStep;
  double extra8;
};

struct TexTarget {
  const ColorFormat *format;
  uint8_t type;
};
// Made on demand: the formats are another file's vector.
std::vector<TexTarget> Targets() {
  return {{&kRgbFormats[2], FR_FB_RGB565}, {&kRgbFormats[5], FR_FB_XRGB8},
          {&kRgbFormats[1], FR_FB_RGB555}};
}

std::vector<Field> Fields(const ColorFormat &format) {
  std::vector<Field> fields;
  for (int k = 0; k < 3; k++)
    fields.push_back({uint32_t(__builtin_ctz(format.masks[k])), uint32_t(format.bits[k])});
  return fields;
}

void ExpectAgree(const Allowance &al, const std::vector<Field> &fields,
                 const std::vector<TexTriangle> &tris, const Image &generic, const Image &fast) {
  const std::string &what = al.what;
  int compared = 0, skipped = 0, wrong = 0;
  for (int32_t row = 0; row < kHeight; row++)
    for (int32_t x = 0; x < kWidth; x++) {
      const size_t i = size_t(row * kWidth + x);
      if (fast.stencil[i] != generic.stencil[i]) {
        if (wrong++ < 6) ADD_FAILURE() << what << ": coverage differs at " << x << ", " << row;
        continue;
      }
      if (!generic.stencil[i]) continue;
      const double px = x + 0.5, py = row + 0.5;
      const TexTriangle *tri = nullptr;
      for (const TexTriangle &t : tris)
        if (Inside(t, px, py)) tri = &t;
      if (!tri) continue;  // on an edge shared by two triangles
      // The exact sample point in level-0 texels and its bound.
      const PlaneFit S(*tri, &TexVertex::s, true), T(*tri, &TexVertex::t, true),
          Q(*tri, &TexVertex::q, false);
      const double q = Q.At(px, py);
      const double u = S.At(px, py) / q * al.w, v = T.At(px, py) / q * al.h;
      const double eu = SampleBound(*tri, al.perspective, &TexVertex::s) * al.w,
                   ev = SampleBound(*tri, al.perspective, &TexVertex::t) * al.h;
      ASSERT_LT(std::max(eu, ev), 0.25) << what;
      double slack8 = al.extra8;  // in 8-bit units
      if (al.nearest) {
        // Level 0's boundaries include every smaller level's.
        const auto nearBoundary = [](double p, double e) { return fabs(p - floor(p + 0.5)) <= e; };
        if (nearBoundary(u, eu) || nearBoundary(v, ev)) {
          skipped++;
          continue;
        }
      } else {
        // Bilinear: both fractions may move by the bound, and the
        // filters truncate.
        slack8 += (eu + ev) * al.maxStep + 1;
      }
      compared++;
      const uint32_t a = fast.color[i], b = generic.color[i];
      for (const Field &f : fields) {
        const int unit = 1 << (8 - f.bits);
        const int fa = int((a >> f.shift) & ((1u << f.bits) - 1)) * unit;
        const int fb = int((b >> f.shift) & ((1u << f.bits) - 1)) * unit;
        const double allowed = al.functionUnits * unit + slack8;
        if (abs(fa - fb) > allowed && wrong++ < 6)
          ADD_FAILURE() << what << ": pixel " << x << ", " << row << " field at " << f.shift
                        << ": " << fa << " (generic " << fb << "), allowed " << allowed
                        << ", texel " << u << ", " << v;
      }
    }
  EXPECT_GT(compared, kWidth * kHeight / 4) << what << " (skipped " << skipped << ")";
}

TEST_F(TexSceneTest, FastTexturedTrianglesAgreeWithTheGenericPath) {
  for (const TexTarget &target : Targets()) {
    ASSERT_TRUE(Open(*target.format, 16));
    ASSERT_EQ(gc->drawBuffer->frFbType, target.type);
    for (const TexCase &c : kCases) {
      DefineTexture(c);
      const std::vector<TexTriangle> tris = Triangles(c.perspective);
      const Image generic = DrawTex(c, tris, false);
      const Image fast = DrawTex(c, tris, true);
      // Rounding of the texture function: one field unit, two for the
      // product of two truncated bytes.
      const Allowance al{std::string(target.format->name) + ", " + c.name,
                         c.w, c.h, c.perspective, c.filter == GL_NEAREST,
                         c.env == GL_MODULATE ? 2 : 1, LargestStep(c), 0.0};
      ExpectAgree(al, Fields(*target.format), tris, generic, fast);
    }
    Close();
  }
}

// Mipmapped and min/mag-switching textures. The texture is mapped with the
// same scale k in s and t and q = 1, so rho is k^2 everywhere in both paths
// (each computes it from the same derivatives), and each k keeps lambda
// away from the levels' rounding points and rho away from the switch-over
// value: both paths choose the same levels, which lets the tolerance of
// the filters stand. Blending two levels adds the 8-bit fraction's
// truncation and the two byte products.
struct MipCase {
  const char *name;
  GLenum minFilter, magFilter;
  FrTexelFilterProc minify, magnify;
  FrSpanletProc extract;
  double k;  // level-0 texels per pixel
  bool nearest, blends;
};

const MipCase kMipCases[] = {
    {"NMN k 2.5", GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST, __glFR_NMNFilter, __glFRNearestFilter,
     __glGenericExtractTexelsPCMipmap_3, 2.5, true, false},
    {"LMN k 5", GL_LINEAR_MIPMAP_NEAREST, GL_NEAREST, __glFR_LMNFilter, __glFRNearestFilter,
     __glGenericExtractTexelsPCMipmap_3, 5, false, false},
    {"NML k 2.5", GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST, __glFR_NMLFilter, __glFRNearestFilter,
     __glGenericExtractTexelsPCMipmap_3, 2.5, true, true},
    {"LML k 5", GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, __glFR_LMLFilter, __glFRLinearFilter,
     __glGenericExtractTexelsPCMipmap_3, 5, false, true},
    {"LML magnified k 0.75", GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, __glFR_LMLFilter,
     __glFRLinearFilter, __glGenericExtractTexelsPCMipmap_3, 0.75, false, false},
    {"linear min, nearest mag, k 2.5", GL_LINEAR, GL_NEAREST, __glFRLinearFilter,
     __glFRNearestFilter, __glGenericExtractTexelsPCRho_3, 2.5, false, false},
    {"linear min, nearest mag, k 0.5", GL_LINEAR, GL_NEAREST, __glFRLinearFilter,
     __glFRNearestFilter, __glGenericExtractTexelsPCRho_3, 0.5, true, false},
};

TEST_F(TexSceneTest, MipmappedTrianglesAgreeWithTheGenericPath) {
  constexpr int32_t kSize = 32;
  for (const TexTarget &target : Targets()) {
    ASSERT_TRUE(Open(*target.format, 16));
    // Random RGB levels 32 x 32 down to 1 x 1.
    uint32_t x = 12345;
    int maxStep = 0;
    for (int32_t level = 0, size = kSize; size >= 1; level++, size /= 2) {
      std::vector<uint8_t> image(size_t(size * size * 3));
      for (uint8_t &b : image) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        b = uint8_t(x >> 8);
      }
      for (int32_t p = 0; p + 1 < size * size; p++)
        for (int ch = 0; ch < 3; ch++)
          maxStep = std::max(maxStep, abs(int(image[size_t(3 * p + ch)]) -
                                          int(image[size_t(3 * (p + 1) + ch)])));
      glTexImage2D(GL_TEXTURE_2D, level, GL_RGB, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE,
                   image.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    for (const MipCase &c : kMipCases) {
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(c.minFilter));
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(c.magFilter));
      std::vector<TexTriangle> tris = Triangles(false);
      for (TexTriangle &t : tris)
        for (TexVertex &v : t) v.s = c.k * v.x / kSize, v.t = c.k * v.y / kSize;
      const Image generic = Draw(tris, false, true, 0x06, c.extract, c.minify, c.magnify);
      const Image fast = Draw(tris, true, true, 0x06, c.extract, c.minify, c.magnify);
      const Allowance al{std::string(target.format->name) + ", " + c.name, kSize, kSize, true,
                         c.nearest, 1, maxStep, c.blends ? 4.0 : 0.0};
      ExpectAgree(al, Fields(*target.format), tris, generic, fast);
    }
    Close();
  }
}

}  // namespace
}  // namespace scene_test
