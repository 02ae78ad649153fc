// Affine textured triangles through the MMX body (installed by hand:
// texturing keeps the picker in spanlet mode) on the 8- and 16-bit RGB
// formats: every base format, GL_REPLACE and GL_MODULATE, flat and smooth,
// dithered or not, texels through the palette and texels already in the
// frame buffer's format; each against the forced x86/x87 textured routine
// and the generic path, samples near a texel boundary left out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/codegen/span_texture/tex_span_fixture.h"

namespace tex_span_test {
namespace {

const GLenum kNone = 0;

// name, internal format, palette, environment, smooth, perspective,
// dither, copy, widthLog2, heightLog2.
const TexCase kCases[] = {
    {"RGBA replace", GL_RGBA, kNone, GL_REPLACE, false, false, false, false, 4, 3},
    {"RGB replace", GL_RGB, kNone, GL_REPLACE, true, false, false, false, 5, 4},
    {"LA replace", GL_LUMINANCE_ALPHA, kNone, GL_REPLACE, false, false, false, false, 3, 5},
    {"L replace", GL_LUMINANCE, kNone, GL_REPLACE, false, false, false, false, 4, 2},
    {"I replace", GL_INTENSITY, kNone, GL_REPLACE, false, false, false, false, 0, 4},
    {"RGB decal", GL_RGB, kNone, GL_DECAL, false, false, false, false, 4, 0},
    {"RGBA replace, dithered", GL_RGBA, kNone, GL_REPLACE, false, false, true, false, 4, 4},
    {"RGBA modulate flat", GL_RGBA, kNone, GL_MODULATE, false, false, false, false, 4, 3},
    {"RGBA modulate smooth", GL_RGBA, kNone, GL_MODULATE, true, false, false, false, 6, 6},
    {"RGB modulate smooth", GL_RGB, kNone, GL_MODULATE, true, false, false, false, 5, 3},
    {"RGB modulate flat", GL_RGB, kNone, GL_MODULATE, false, false, false, false, 1, 4},
    {"L modulate smooth", GL_LUMINANCE, kNone, GL_MODULATE, true, false, false, false, 3, 3},
    {"LA modulate flat", GL_LUMINANCE_ALPHA, kNone, GL_MODULATE, false, false, false, false, 4, 6},
    {"LA modulate smooth", GL_LUMINANCE_ALPHA, kNone, GL_MODULATE, true, false, false, false, 2, 2},
    {"I modulate smooth, dithered", GL_INTENSITY, kNone, GL_MODULATE, true, false, true, false, 4, 3},
    {"I modulate flat", GL_INTENSITY, kNone, GL_MODULATE, false, false, false, false, 3, 1},
    {"RGBA modulate flat, dithered", GL_RGBA, kNone, GL_MODULATE, false, false, true, false, 3, 4},
    {"palette RGB replace", GL_COLOR_INDEX8_EXT, GL_RGB, GL_REPLACE, false, false, false, false, 4, 3},
    {"palette RGBA modulate", GL_COLOR_INDEX8_EXT, GL_RGBA, GL_MODULATE, true, false, false, false, 4, 4},
    {"palette LA replace", GL_COLOR_INDEX8_EXT, GL_LUMINANCE_ALPHA, GL_REPLACE, false, false, false, false, 3, 3},
    {"palette L modulate", GL_COLOR_INDEX8_EXT, GL_LUMINANCE, GL_MODULATE, false, false, false, false, 5, 2},
    {"palette I replace", GL_COLOR_INDEX8_EXT, GL_INTENSITY, GL_REPLACE, false, false, false, false, 2, 5},
    {"RGBA copy", GL_RGBA, kNone, GL_REPLACE, false, false, false, true, 4, 3},
    {"L copy", GL_LUMINANCE, kNone, GL_REPLACE, false, false, false, true, 5, 5},
    {"RGB copy", GL_RGB, kNone, GL_REPLACE, false, false, false, true, 2, 6},
    // Failing pixels still step the coordinates.
    {"RGBA replace behind", GL_RGBA, kNone, GL_REPLACE, false, false, false, false, 4, 3, true},
    {"RGB modulate smooth behind", GL_RGB, kNone, GL_MODULATE, true, false, false, false, 4, 4, true},
    {"L copy behind", GL_LUMINANCE, kNone, GL_REPLACE, false, false, false, true, 3, 3, true},
};

using MmxTextureTest = TexSpanTest;

TEST_F(MmxTextureTest, AffineSpansMatchTheX87RoutineAndTheGenericPath) {
  for (const ColorFormat *f : {&kRgbFormats[0], &kRgbFormats[1], &kRgbFormats[2]}) {
    SCOPED_TRACE(f->name);
    const std::vector<TexTriangle> tris = Scene(false);
    std::vector<Image> x87;
    ASSERT_TRUE(OpenPlain(*f, 16));
    for (const TexCase &c : kCases) x87.push_back(DrawTex(Path::kGenerated, c, tris));
    Close();
    ASSERT_TRUE(OpenMmx(*f, 16));
    for (size_t i = 0; i < std::size(kCases); i++) {
      const TexCase &c = kCases[i];
      const Image mmx = DrawTex(Path::kGenerated, c, tris);
      ExpectNearGeneric(c, tris, mmx, x87[i]);
      ExpectNearGeneric(c, tris, mmx, DrawTex(Path::kGeneric, c, tris));
      if (c.depth) ExpectBlocked(c, mmx, DrawTex(Path::kGeneric, c, {}));
    }
    Close();
  }
}

// Textured colour as the blend source: texel alpha (modulated or not) or
// the colour's alpha where the texture has none, against the generic path.
TEST_F(MmxTextureTest, TexturedSpansBlendAsTheGenericPath) {
  const TexCase cases[] = {
      {"RGBA modulate smooth", GL_RGBA, kNone, GL_MODULATE, true, false, false, false, 4, 4},
      {"LA replace", GL_LUMINANCE_ALPHA, kNone, GL_REPLACE, false, false, false, false, 3, 5},
      {"I modulate flat, dithered", GL_INTENSITY, kNone, GL_MODULATE, false, false, true, false, 4, 3},
      {"L modulate smooth", GL_LUMINANCE, kNone, GL_MODULATE, true, false, false, false, 3, 3},
      {"RGB replace", GL_RGB, kNone, GL_REPLACE, true, false, false, false, 5, 4},
      {"palette RGBA replace", GL_COLOR_INDEX8_EXT, GL_RGBA, GL_REPLACE, false, false, false, false, 4, 4},
      // Every stage at once: the longest routine the body makes.
      {"RGBA modulate smooth, dithered, behind", GL_RGBA, kNone, GL_MODULATE, true, false, true, false, 4, 4, true},
  };
  struct Factors {
    GLenum src, dst;
  };
  const Factors pairs[] = {{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
                           {GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA},
                           {GL_ONE, GL_ONE},
                           {GL_SRC_ALPHA_SATURATE, GL_ONE}};
  std::vector<TexTriangle> tris = Scene(false);
  const double alphas[3] = {0.3, 0.85, 0.55};
  for (TexTriangle &t : tris)
    for (size_t v = 0; v < 3; v++) t[v].c[3] = alphas[v];
  for (const ColorFormat *f : {&kRgbFormats[0], &kRgbFormats[1], &kRgbFormats[2]}) {
    SCOPED_TRACE(f->name);
    ASSERT_TRUE(OpenMmx(*f, 16));
    for (const Factors &p : pairs)
      for (const TexCase &c : cases) {
        SCOPED_TRACE("blend 0x" + std::to_string(p.src) + " / 0x" + std::to_string(p.dst));
        glBlendFunc(p.src, p.dst);
        glEnable(GL_BLEND);
        const Image mmx = DrawTex(Path::kGenerated, c, tris);
        const Image generic = DrawTex(Path::kGeneric, c, tris);
        glDisable(GL_BLEND);
        ExpectNearGeneric(c, tris, mmx, generic);
      }
    Close();
  }
}

// Every vertex at s = t = 1.0 (or 2.0): the coordinate wraps to texel
// (0, 0), which covers the whole triangle.
TEST_F(MmxTextureTest, WholeRepeatsWrapToTheFirstTexel) {
  const ColorFormat &f = kRgbFormats[2];
  ASSERT_TRUE(OpenMmx(f, 16));
  const TexCase c = {"RGBA replace", GL_RGBA, kNone, GL_REPLACE, false, false, false, false, 3, 3};
  for (double at : {1.0, 2.0}) {
    std::vector<TexTriangle> tris = Scene(false);
    for (TexTriangle &t : tris)
      for (TexVertex &v : t) v.s = v.t = at;
    const Image im = DrawTex(Path::kGenerated, c, tris);
    const std::array<uint32_t, 4> texel = Texel(0, 0);
    const uint32_t want = ((texel[0] >> 3) << 11) | ((texel[1] >> 2) << 5) | (texel[2] >> 3);
    int judged = 0;
    for (int32_t row = 0; row < scene_test::kHeight; row++)
      for (int32_t x = 0; x < scene_test::kWidth; x++) {
        Sample s{};
        if (!HitAt(c, tris, x, row, &s)) continue;
        judged++;
        ASSERT_EQ(im.color[size_t(row) * scene_test::kWidth + size_t(x)], want)
            << "s = t = " << at << ", pixel " << x << ", " << row;
      }
    EXPECT_GT(judged, 500);
  }
}

}  // namespace
}  // namespace tex_span_test
