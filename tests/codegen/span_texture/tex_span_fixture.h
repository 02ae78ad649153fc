// Textured triangles drawn through the generic path and through the
// generated x86/x87 span code outside spanlet mode (installed by hand on a
// context whose MMX flag is cleared): one level, GL_NEAREST, GL_REPEAT.
// Each covered pixel is judged by the texel under its exact sample point,
// unless that point lies within the fixed-point drift of a texel boundary.
#pragma once

#include <stdint.h>

#include <array>
#include <string>
#include <vector>

#include "pixels/px_texformat.h"
#include "tests/codegen/span/span_fixture.h"

namespace tex_span_test {

using scene_test::Image;
using span_test::Path;

// A window-space vertex with clip w (1 for no perspective), texture
// coordinates and colour (the index in c[0] in colour-index formats).
struct TexVertex {
  double x, y, z, w, s, t;
  double c[4];
};
using TexTriangle = std::array<TexVertex, 3>;

struct TexCase {
  const char *name;
  GLenum internal;  // GL_RGBA ... GL_INTENSITY, or GL_COLOR_INDEX8_EXT
  GLenum palette;   // the palette's format for indexed textures in RGBA mode
  GLenum env;
  bool smooth, perspective, dither, cook;
  int32_t widthLog2, heightLog2;
  // A nearer untextured triangle drawn first; the textured ones test
  // GL_LESS against it.
  bool depth = false;
};

// The nearer triangle of depth cases.
extern const TexTriangle kBlocker;

// A left-to-right and a right-to-left triangle, spans of up to 60 pixels,
// coordinates that repeat the texture; w varies under perspective.
std::vector<TexTriangle> Scene(bool perspective);

// The exact values at one pixel centre: texture coordinates in texels and
// the colour, and the distance of the texel coordinates from the nearest
// texel boundary.
struct Sample {
  double u, v, c[4];
};

class TexSpanTest : public span_test::SpanSceneTest {
 protected:
  // Clears, defines the case's texture, and draws the triangles through
  // `path`. With `capture`, the span record as the raster routine gets it
  // (of the last triangle) is kept in `record`.
  Image DrawTex(Path path, const TexCase &c, const std::vector<TexTriangle> &tris,
                bool capture = false);
  // The level's texels as the texture holds them, and its palette.
  const GlTextureLevel *Level() const;
  // The RGBA bytes of texel (col, row) after the palette, or the index.
  std::array<uint32_t, 4> Texel(int32_t col, int32_t row) const;
  // The exact sample of pixel (x, row) of `tri`; false outside it.
  bool SampleAt(const TexTriangle &tri, bool perspective, int32_t x, int32_t row, Sample *s) const;
  // The last of `tris` that holds pixel (x, row) with its sample there.
  const TexTriangle *HitAt(const TexCase &c, const std::vector<TexTriangle> &tris, int32_t x,
                           int32_t row, Sample *s) const;
  // How far from a texel boundary a sample must lie to be judged: the
  // 16-bit fractions, and under perspective the linear steps within runs
  // of 16 pixels.
  std::array<double, 2> Drift(const TexTriangle &tri, const TexCase &c, int32_t x,
                              int32_t row) const;
  // Every pixel of `gen` against the generic image within one unit per
  // channel (RGBA formats), ambiguous samples left out; coverage alike.
  void ExpectNearGeneric(const TexCase &c, const std::vector<TexTriangle> &tris,
                         const Image &gen, const Image &generic);
  // Every unambiguous pixel of `gen` against the combine rule of the
  // generated code applied to the texel under the exact sample.
  void ExpectCombined(const TexCase &c, const std::vector<TexTriangle> &tris, const Image &gen);

  // Depth cases: every pixel well inside the blocker as the blocker alone
  // left it.
  void ExpectBlocked(const TexCase &c, const Image &gen, const Image &behind);

  std::vector<uint32_t> record;  // the captured record, by word place
  uint8_t *captureCode_ = nullptr;
  void *captureRaster_ = nullptr;
  void TearDown() override;

 private:
  void Define(const TexCase &c);
  void InstallCapture();
};

std::string Describe(const TexCase &c);

}  // namespace tex_span_test
