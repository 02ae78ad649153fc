// Textured spans of every base format and environment the generated code
// combines, affine and perspective, flat and smooth, dithered or not,
// through the palette and from the frame-buffer copy: against the generic
// path (RGBA formats) and against the combine rule applied to the texel
// under each exact sample.
#include <gtest/gtest.h>

#include "tests/codegen/span_texture/tex_span_fixture.h"

namespace tex_span_test {
namespace {

// Colour-index scenes: indices along the triangle, room for the texel.
std::vector<TexTriangle> IndexScene(bool perspective) {
  std::vector<TexTriangle> tris = Scene(perspective);
  for (TexTriangle &t : tris)
    for (TexVertex &v : t) v.c[0] = 1 + v.c[0] * 60;
  return tris;
}

const GLenum kNone = 0;

// name, internal format, palette, environment, smooth, perspective,
// dither, copy, widthLog2, heightLog2.
const TexCase kRgbaCases[] = {
    {"RGBA replace", GL_RGBA, kNone, GL_REPLACE, false, false, false, false, 4, 3},
    {"RGB replace", GL_RGB, kNone, GL_REPLACE, false, true, false, false, 5, 4},
    {"LA replace", GL_LUMINANCE_ALPHA, kNone, GL_REPLACE, false, false, false, false, 3, 5},
    {"L replace", GL_LUMINANCE, kNone, GL_REPLACE, false, true, false, false, 4, 2},
    {"I replace", GL_INTENSITY, kNone, GL_REPLACE, false, false, false, false, 0, 4},
    {"RGB decal", GL_RGB, kNone, GL_DECAL, false, false, false, false, 4, 0},
    {"RGBA replace, dithered", GL_RGBA, kNone, GL_REPLACE, false, true, true, false, 4, 4},
    {"RGBA modulate flat", GL_RGBA, kNone, GL_MODULATE, false, false, false, false, 4, 3},
    {"RGB modulate smooth", GL_RGB, kNone, GL_MODULATE, true, false, false, false, 5, 3},
    {"L modulate smooth", GL_LUMINANCE, kNone, GL_MODULATE, true, true, false, false, 3, 3},
    {"LA modulate flat", GL_LUMINANCE_ALPHA, kNone, GL_MODULATE, false, true, false, false, 4, 6},
    {"I modulate smooth, dithered", GL_INTENSITY, kNone, GL_MODULATE, true, false, true, false, 4, 3},
    {"RGBA modulate flat, dithered", GL_RGBA, kNone, GL_MODULATE, false, true, true, false, 3, 4},
    {"RGB modulate smooth, perspective", GL_RGB, kNone, GL_MODULATE, true, true, false, false, 4, 1},
    {"palette RGB replace", GL_COLOR_INDEX8_EXT, GL_RGB, GL_REPLACE, false, false, false, false, 4, 3},
    {"palette RGBA modulate", GL_COLOR_INDEX8_EXT, GL_RGBA, GL_MODULATE, true, true, false, false, 4, 4},
    {"palette LA replace", GL_COLOR_INDEX8_EXT, GL_LUMINANCE_ALPHA, GL_REPLACE, false, true, false, false, 3, 3},
    {"palette L modulate", GL_COLOR_INDEX8_EXT, GL_LUMINANCE, GL_MODULATE, false, false, false, false, 5, 2},
    {"palette I replace", GL_COLOR_INDEX8_EXT, GL_INTENSITY, GL_REPLACE, false, false, false, false, 2, 5},
    {"RGBA copy", GL_RGBA, kNone, GL_REPLACE, false, false, false, true, 4, 3},
    {"L copy, perspective", GL_LUMINANCE, kNone, GL_REPLACE, false, true, false, true, 5, 5},
    {"RGB copy", GL_RGB, kNone, GL_REPLACE, false, false, false, true, 2, 6},
    // Failing pixels still step the coordinate.
    {"RGBA replace behind", GL_RGBA, kNone, GL_REPLACE, false, false, false, false, 4, 3, true},
    {"RGB modulate smooth behind", GL_RGB, kNone, GL_MODULATE, true, true, false, false, 4, 4, true},
    {"L copy behind", GL_LUMINANCE, kNone, GL_REPLACE, false, true, false, true, 3, 3, true},
};

TEST_F(TexSpanTest, RgbaSpansMatchTheGenericPathAndTheCombineRule) {
  for (const ColorFormat *f : {&kRgbFormats[2], &kRgbFormats[5], &kRgbFormats[0]}) {
    ASSERT_TRUE(OpenPlain(*f, 16));
    for (const TexCase &c : kRgbaCases) {
      // Buffers of 4 bytes a pixel never dither: those cases repeat others.
      if (c.dither && f->bytes() > 2) continue;
      SCOPED_TRACE(f->name);
      const std::vector<TexTriangle> tris = Scene(c.perspective);
      const Image generic = DrawTex(Path::kGeneric, c, tris);
      const Image gen = DrawTex(Path::kGenerated, c, tris);
      ExpectNearGeneric(c, tris, gen, generic);
      ExpectCombined(c, tris, gen);
      if (c.depth) ExpectBlocked(c, gen, DrawTex(Path::kGeneric, c, {}));
    }
    Close();
  }
}

// The generic path takes an index texel as a fraction (index / 255); the
// generated code takes the index itself, so these follow the rule alone.
const TexCase kIndexCases[] = {
    {"index replace", GL_COLOR_INDEX8_EXT, kNone, GL_REPLACE, false, false, false, false, 4, 3},
    {"index replace, perspective", GL_COLOR_INDEX8_EXT, kNone, GL_REPLACE, false, true, false, false, 5, 4},
    {"index add flat", GL_COLOR_INDEX8_EXT, kNone, GL_ADD, false, false, false, false, 3, 3},
    {"index add smooth", GL_COLOR_INDEX8_EXT, kNone, GL_ADD, true, true, false, false, 4, 4},
    {"index add smooth, dithered", GL_COLOR_INDEX8_EXT, kNone, GL_ADD, true, false, true, false, 4, 2},
    {"index replace behind", GL_COLOR_INDEX8_EXT, kNone, GL_REPLACE, false, true, false, false, 4, 3, true},
};

TEST_F(TexSpanTest, IndexTexturesInColourIndexMode) {
  ASSERT_TRUE(OpenPlain(kIndexFormats[0], 16));
  for (const TexCase &c : kIndexCases) {
    const std::vector<TexTriangle> tris = IndexScene(c.perspective);
    const Image gen = DrawTex(Path::kGenerated, c, tris);
    ExpectCombined(c, tris, gen);
    if (c.depth) ExpectBlocked(c, gen, DrawTex(Path::kGeneric, c, {}));
  }
}

}  // namespace
}  // namespace tex_span_test
