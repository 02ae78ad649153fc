// The SiS 6326 drawing model's texture environment (rule E3): every code
// with formats 0x73 and 0x74 on a table of fragments and texels, against
// OpenGL's environment functions for the base formats the driver sends
// that code for.
#include <cmath>
#include <string>

#include "tests/platform/chip_model/model_texture_support.h"

namespace {

using modeltest::kFormatAlpha;
using modeltest::kFormatNoAlpha;

enum Base { kL, kLA, kRGB, kRGBA, kA, kI };
enum Function { kModulate, kDecal, kBlend, kReplace };

// A texel of a base format, as fractions: the components the format has.
struct GlTexel {
  double r, g, b, a;  // L and I in r
};

// OpenGL 1.1's texture functions (colour in [0, 1], A R G B order out).
void GlEnvironment(Function f, Base base, const GlTexel &t, const double in[4], double out[4]) {
  double cf[3] = {in[1], in[2], in[3]}, af = in[0];
  double ct[3] = {t.r, t.g, t.b};
  if (base == kL || base == kLA || base == kI) ct[0] = ct[1] = ct[2] = t.r;
  double at = base == kI ? t.r : t.a;
  bool hasColour = base != kA, hasAlpha = base == kLA || base == kRGBA || base == kA || base == kI;
  double c[3], a = af;
  for (int k = 0; k < 3; ++k) {
    switch (f) {
      case kReplace: c[k] = hasColour ? ct[k] : cf[k]; break;
      case kModulate: c[k] = hasColour ? cf[k] * ct[k] : cf[k]; break;
      case kDecal: c[k] = base == kRGBA ? cf[k] * (1 - at) + ct[k] * at : ct[k]; break;
      case kBlend: c[k] = cf[k]; break;  // only the alpha texture reaches the chip
    }
  }
  if (f == kReplace && hasAlpha) a = at;
  if ((f == kModulate || f == kBlend) && hasAlpha) a = af * at;
  out[0] = a;
  for (int k = 0; k < 3; ++k) out[k + 1] = c[k];
}

// The 32-bit word the texture holds for a texel of a base format; the
// bytes a format lacks hold `junk`, which must not show.
uint32_t TexelWord(Base base, const GlTexel &t, uint8_t junk) {
  auto byte = [](double v) { return uint32_t(std::lround(v * 255)); };
  uint32_t l = byte(t.r);
  switch (base) {
    case kL: return uint32_t(junk) << 24 | l << 16 | l << 8 | l;
    case kLA: return byte(t.a) << 24 | l << 16 | l << 8 | l;
    case kRGB: return uint32_t(junk) << 24 | byte(t.r) << 16 | byte(t.g) << 8 | byte(t.b);
    case kRGBA: return byte(t.a) << 24 | byte(t.r) << 16 | byte(t.g) << 8 | byte(t.b);
    case kA: return byte(t.a) << 24 | uint32_t(junk) * 0x010101u;
    case kI: return l * 0x01010101u;
  }
  return 0;
}

struct Row {
  uint32_t code, format;
  Function function;
  Base bases[3];
  int count;
};

// What the driver sends for each OpenGL function and base format, by code.
const Row kRows[] = {
    {0x00, kFormatAlpha, kReplace, {kLA, kRGBA, kI}, 3},
    {0x00, kFormatNoAlpha, kReplace, {kL, kRGB}, 2},
    {0x04, kFormatAlpha, kReplace, {kA}, 1},
    {0x06, kFormatAlpha, kModulate, {kA}, 1},
    {0x06, kFormatAlpha, kBlend, {kA}, 1},
    {0x09, kFormatAlpha, kModulate, {kL, kRGB}, 2},
    {0x09, kFormatNoAlpha, kModulate, {kL, kRGB}, 2},
    {0x0A, kFormatAlpha, kModulate, {kLA, kRGBA, kI}, 3},
    {0x0A, kFormatNoAlpha, kModulate, {kL, kRGB}, 2},
    {0x11, kFormatAlpha, kDecal, {kRGBA}, 1},
    {0x11, kFormatNoAlpha, kDecal, {kRGB}, 1},
};

const uint32_t kFragments[] = {0xFFFFFFFF, 0x00000000, 0x80402010, 0x11EE7733, 0xC8648CFA, 0x3CFF00A0};
const GlTexel kTexels[] = {
    {1, 1, 1, 1}, {0, 0, 0, 0}, {200 / 255.0, 100 / 255.0, 50 / 255.0, 128 / 255.0},
    {17 / 255.0, 240 / 255.0, 99 / 255.0, 3 / 255.0}, {128 / 255.0, 0, 1, 250 / 255.0},
    {64 / 255.0, 192 / 255.0, 33 / 255.0, 77 / 255.0}, {1, 0.2, 0.6, 0.4}, {0.4, 0.8, 0, 1},
};

class Environment : public modeltest::TextureModelTest {};

TEST_F(Environment, E3_EachCodeAndFormatIsOpenGLsFunctionForTheBasesItIsSentFor) {
  constexpr int kTexelCount = 8, kFragmentCount = sizeof kFragments / sizeof kFragments[0];
  const modeltest::Target &target = MakeTarget(kTexelCount, kFragmentCount, 32);
  std::vector<modeltest::Level> level = MakeTexture(kTexelCount);
  for (const Row &row : kRows)
    for (int b = 0; b < row.count; ++b) {
      Base base = row.bases[b];
      Fill(level[0], [&](int col, int r) { return r == 0 ? TexelWord(base, kTexels[col], uint8_t(0x5A + col)) : 0u; });
      Write(target, 0);
      DrawInto(target, modeltest::kModeTexture);
      modeltest::TextureState state;
      state.format = row.format;
      state.environment = row.code;
      state.widthLog2 = 3;
      Texture(state, level);
      // Fragment f meets texel k at pixel (k, f): nearest magnification at texel centres.
      for (int f = 0; f < kFragmentCount; ++f)
        for (int k = 0; k < kTexelCount; ++k)
          TexPoint({float(k), float(f), (k + 0.5f) / kTexelCount, 0.5f, 1.0f, kFragments[f]});
      Fire();
      std::vector<uint32_t> pixels = Read(target);
      for (int f = 0; f < kFragmentCount; ++f)
        for (int k = 0; k < kTexelCount; ++k) {
          double in[4], out[4];
          for (int c = 0; c < 4; ++c) in[c] = double(kFragments[f] >> (24 - 8 * c) & 0xFF) / 255.0;
          // The texel as the texture holds it: bytes, so the reference sees what the chip sees.
          uint32_t word = TexelWord(base, kTexels[k], 0);
          GlTexel held = {double(word >> 16 & 0xFF) / 255, double(word >> 8 & 0xFF) / 255,
                          double(word & 0xFF) / 255, double(word >> 24) / 255};
          GlEnvironment(row.function, base, held, in, out);
          uint32_t expected = 0;
          for (int c = 0; c < 4; ++c) expected |= uint32_t(std::floor(out[c] * 255 + 0.5)) << (24 - 8 * c);
          ASSERT_EQ(pixels[size_t(f * kTexelCount + k)], expected)
              << std::hex << "code 0x" << row.code << " format 0x" << row.format << std::dec << " function "
              << row.function << " base " << base << " fragment " << f << " texel " << k;
        }
    }
}

// The environment comes before the alpha test (D4), and the fogged vertex
// colour is what it combines (E2).
TEST_F(Environment, TheAlphaTestSeesTheTexturedAlphaAndFogComesFirst) {
  const modeltest::Target &target = MakeTarget(4, 1, 32);
  std::vector<modeltest::Level> level = MakeTexture(2);
  Fill(level[0], [](int col, int) { return col == 0 ? 0x00FFFFFFu : 0xFF808080u; });
  modeltest::TextureState state;
  state.environment = 0x0A;  // modulate
  state.widthLog2 = 1;
  DrawInto(target, modeltest::kModeTexture | 1u << 17 | 1u << 3);  // alpha test, fog
  Reg(modeltest::kAlpha, 4u << 24);                                 // greater than 0
  Reg(modeltest::kFog, 0x00FF00);                                   // green fog
  Texture(state, level);
  TexPoint({0, 0, 0.25f, 0.5f, 1, 0xFFFF0000});  // texel alpha 0: fails the test
  TexPoint({1, 0, 0.75f, 0.5f, 1, 0xFFFF0000});  // fog byte 0: all fog colour, then halved
  Fire();
  std::vector<uint32_t> pixels = Read(target);
  EXPECT_EQ(pixels[0], 0u);
  EXPECT_EQ(pixels[1], 0xFF008000u);
}

}  // namespace
