// The SiS 6326 drawing model's colour pipeline without texturing: colours
// kept unrounded, alpha test, blend, conversion and dither, raster
// operation, the store and the mode bits it refuses or ignores (rules E1,
// E4-E9).
#include <cmath>
#include <functional>
#include <set>
#include <utility>

#include "tests/platform/chip_model/model_support.h"

namespace {

using modeltest::Vertex;

constexpr uint32_t kDither = 1u << 0, kBlend = 1u << 2, kAlphaTest = 1u << 17;

class Colour : public modeltest::ModelTest {};

// The ordered-dither matrix, by (i AND 3) + 4 (j AND 3).
constexpr int kMatrix[16] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

// trunc(v (2^n - 1) / 255 + k) in integers: k = (2D + 1) / 32 dithered, 1/2 not.
uint32_t Expected(uint32_t v, int n, int dither) {
  uint32_t top = (1u << n) - 1;
  uint32_t q = dither < 0 ? (2 * v * top + 255) / 510 : (32 * v * top + 255 * uint32_t(2 * dither + 1)) / (255 * 32);
  return q < top ? q : top;
}

TEST_F(Colour, E6_FiveSixFiveAndFiveFiveFiveOfEveryValueAtEveryDitherPosition) {
  const modeltest::Target &t = MakeTarget(64, 64);
  struct Format {
    uint32_t code;
    int bits[3], shift[3];
  } const formats[] = {{0x11, {5, 6, 5}, {11, 5, 0}}, {0x10, {5, 5, 5}, {10, 5, 0}}};
  for (const Format &f : formats)
    for (bool dither : {false, true}) {
      Write(t, 0);
      DrawInto(t, dither ? kDither : 0, f.code);
      // Value v fills the 4 x 4 block (v mod 16, v div 16): all sixteen positions.
      for (int j = 0; j < 64; ++j)
        for (int i = 0; i < 64; ++i) {
          uint32_t v = uint32_t(j / 4 * 16 + i / 4);
          Point({float(i), float(j), 0, 0xFF000000 | v << 16 | (255 - v) << 8 | v});
        }
      Fire();
      std::vector<uint32_t> pixels = Read(t);
      for (int j = 0; j < 64; ++j)
        for (int i = 0; i < 64; ++i) {
          uint32_t v = uint32_t(j / 4 * 16 + i / 4), p = pixels[size_t(j * 64 + i)];
          int d = dither ? kMatrix[(i & 3) + 4 * (j & 3)] : -1;
          const uint32_t channel[3] = {v, 255 - v, v};
          for (int c = 0; c < 3; ++c)
            ASSERT_EQ((p >> f.shift[c]) & ((1u << f.bits[c]) - 1), Expected(channel[c], f.bits[c], d))
                << "format 0x" << std::hex << f.code << std::dec << " value " << channel[c] << " at " << i
                << ", " << j;
          if (f.code == 0x10) {
            ASSERT_EQ(p & 0x8000, 0u);
          }
        }
    }
}

TEST_F(Colour, E6_FourByteFormatsRoundEvenWithTheDitherBit) {
  const modeltest::Target &t = MakeTarget(4, 4, 32);
  for (uint32_t code : {0x33u, 0x34u}) {
    DrawInto(t, kDither, code);
    Point({1, 1, 0, 0x80402010});
    Fire();
    EXPECT_EQ(Read(t)[5], code == 0x33 ? 0x80402010u : 0x00402010u) << std::hex << code;
  }
  const modeltest::Target &s = MakeTarget(4, 4);
  for (auto [code, expected] : {std::pair{0x12u, 0x8000u | 0x8u << 10 | 0x4u << 5 | 0x2u},
                                std::pair{0x13u, 0x8000u | 0x4u << 8 | 0x2u << 4 | 0x1u}}) {
    DrawInto(s, 0, code);
    Point({1, 1, 0, 0x80402010});
    Fire();
    EXPECT_EQ(Read(s)[5], expected) << std::hex << code;
  }
}

TEST_F(Colour, E1_ColoursStayUnroundedUntilTheConversion) {
  const modeltest::Target &t = MakeTarget(64, 4);
  DrawInto(t, kDither);
  Line(modeltest::LineCommand(false, false, true), {0, 1, 0, 0xFF646464}, {64, 1, 0, 0xFF656565});
  Fire();
  std::vector<uint32_t> pixels = Read(t);
  std::set<uint32_t> seen;
  for (int k = 0; k < 64; ++k) {
    double c = 100.0 + k / 64.0;
    double d = (2.0 * kMatrix[(k & 3) + 4] + 1.0) / 32.0;
    uint32_t red = uint32_t(std::trunc(c * 31 / 255 + d));
    EXPECT_EQ(pixels[size_t(64 + k)] >> 11, red) << k;
    seen.insert(pixels[size_t(64 + k)]);
  }
  EXPECT_GT(seen.size(), 1u) << "a dithered mix, not one step";
}

TEST_F(Colour, E4_TheAlphaTestComparesTheTruncatedAlpha) {
  const modeltest::Target &t = MakeTarget(4, 4);
  for (uint32_t op = 0; op < 8; ++op)
    for (uint32_t alpha : {126u, 127u, 128u}) {
      Write(t, 0);
      DrawInto(t, kAlphaTest);
      Reg(modeltest::kAlpha, op << 24 | 127u << 16);
      Point({1, 1, 0, alpha << 24 | 0xFFFFFF});
      Fire();
      const bool pass[8] = {false, alpha < 127, alpha == 127, alpha <= 127, alpha > 127, alpha != 127, alpha >= 127, true};
      EXPECT_EQ(Read(t)[5] != 0, pass[op]) << "op " << op << " alpha " << alpha;
    }
}

// OpenGL's blend factors, as fractions, for channel c (0 alpha, 1-3 colour).
double GlFactor(int code, bool source, const double s[4], const double d[4], int c) {
  switch (code) {
    case 0: return 0;                                       // GL_ZERO
    case 1: return 1;                                       // GL_ONE
    case 2: return s[c];                                    // GL_SRC_COLOR
    case 3: return 1 - s[c];                                // GL_ONE_MINUS_SRC_COLOR
    case 4: return s[0];                                    // GL_SRC_ALPHA
    case 5: return 1 - s[0];                                // GL_ONE_MINUS_SRC_ALPHA
    case 6: return d[0];                                    // GL_DST_ALPHA
    case 7: return 1 - d[0];                                // GL_ONE_MINUS_DST_ALPHA
    case 8: return d[c];                                    // GL_DST_COLOR
    case 9: return 1 - d[c];                                // GL_ONE_MINUS_DST_COLOR
    case 10: return c == 0 ? 1 : std::fmin(s[0], 1 - d[0]);  // GL_SRC_ALPHA_SATURATE
  }
  (void)source;
  return NAN;
}

TEST_F(Colour, E5_EveryValidCodePairAgainstOpenGLsBlend) {
  const modeltest::Target &t = MakeTarget(8, 8, 32);
  const uint32_t sources[] = {0xFF804020, 0x40FF00C0, 0x00102030, 0xC0E0A060};
  const uint32_t destinations[] = {0x80204080, 0xFFFFFFFF, 0x00000000, 0x3090C0F0};
  for (int sf : {0, 1, 4, 5, 6, 7, 8, 9, 10})
    for (int df = 0; df <= 7; ++df) {
      DrawInto(t);  // pixel k holds destination k
      for (int k = 0; k < 4; ++k) Point({float(k), 0, 0, destinations[k]});
      Fire();
      DrawInto(t, kBlend);
      Reg(modeltest::kBlend, uint32_t(df) << 28 | uint32_t(sf) << 24);
      for (int k = 0; k < 4; ++k) Point({float(k), 0, 0, sources[k]});
      Fire();
      std::vector<uint32_t> pixels = Read(t);
      for (int k = 0; k < 4; ++k) {
        double s[4], d[4];
        for (int c = 0; c < 4; ++c) {
          s[c] = ((sources[k] >> (24 - 8 * c)) & 0xFF) / 255.0;
          d[c] = ((destinations[k] >> (24 - 8 * c)) & 0xFF) / 255.0;
        }
        for (int c = 0; c < 4; ++c) {
          double v = std::fmin(1.0, s[c] * GlFactor(sf, true, s, d, c) + d[c] * GlFactor(df, false, s, d, c));
          double stored = double((pixels[size_t(k)] >> (24 - 8 * c)) & 0xFF);
          EXPECT_NEAR(stored, v * 255, 0.5 + 1e-6) << "codes " << sf << ", " << df << " pixel " << k << " channel " << c;
        }
      }
    }
  // The codes without a meaning on their side.
  for (auto [sf, df] : {std::pair{2, 0}, std::pair{3, 0}, std::pair{11, 0}, std::pair{1, 8}, std::pair{1, 10}}) {
    DrawInto(t, kBlend);
    Reg(modeltest::kBlend, uint32_t(df) << 28 | uint32_t(sf) << 24);
    uint32_t at = Next() + 1;
    Point({1, 1});
    Fire();
    EXPECT_EQ(modeltest::TakeViolations(), std::vector<std::string>{"E5@" + std::to_string(at)}) << sf << ", " << df;
  }
}

TEST_F(Colour, E7_TheSixteenRasterOperationsAreOpenGLsLogicOps) {
  const modeltest::Target &t = MakeTarget(4, 4, 32);
  struct Op {
    const char *name;
    uint32_t code;
    std::function<uint32_t(uint32_t, uint32_t)> f;
  } const ops[] = {
      {"GL_CLEAR", 0x0, [](uint32_t, uint32_t) { return 0u; }},
      {"GL_AND", 0x8, [](uint32_t s, uint32_t d) { return s & d; }},
      {"GL_AND_REVERSE", 0x4, [](uint32_t s, uint32_t d) { return s & ~d; }},
      {"GL_COPY", 0xC, [](uint32_t s, uint32_t) { return s; }},
      {"GL_AND_INVERTED", 0x2, [](uint32_t s, uint32_t d) { return ~s & d; }},
      {"GL_NOOP", 0xA, [](uint32_t, uint32_t d) { return d; }},
      {"GL_XOR", 0x6, [](uint32_t s, uint32_t d) { return s ^ d; }},
      {"GL_OR", 0xE, [](uint32_t s, uint32_t d) { return s | d; }},
      {"GL_NOR", 0x1, [](uint32_t s, uint32_t d) { return ~(s | d); }},
      {"GL_EQUIV", 0x9, [](uint32_t s, uint32_t d) { return ~(s ^ d); }},
      {"GL_INVERT", 0x5, [](uint32_t, uint32_t d) { return ~d; }},
      {"GL_OR_REVERSE", 0xD, [](uint32_t s, uint32_t d) { return s | ~d; }},
      {"GL_COPY_INVERTED", 0x3, [](uint32_t s, uint32_t) { return ~s; }},
      {"GL_OR_INVERTED", 0xB, [](uint32_t s, uint32_t d) { return ~s | d; }},
      {"GL_NAND", 0x7, [](uint32_t s, uint32_t d) { return ~(s & d); }},
      {"GL_SET", 0xF, [](uint32_t, uint32_t) { return ~0u; }},
  };
  const uint32_t pairs[][2] = {{0x00F0CC55, 0x00FF33AA}, {0x00123456, 0x00FEDCBA}, {0, 0x00FFFFFF}};
  for (const Op &op : ops)
    for (const auto &pair : pairs) {
      Write(t, pair[1]);
      DrawInto(t, 0, 0x34, op.code);
      Point({1, 1, 0, pair[0]});
      Fire();
      EXPECT_EQ(Read(t)[5], op.f(pair[0], pair[1]) & 0xFFFFFF) << op.name;
    }
  const modeltest::Target &s = MakeTarget(4, 4);
  DrawInto(s, 0, 0x10, 0xF);
  Point({1, 1});
  Fire();
  EXPECT_EQ(Read(s)[5], 0x7FFFu) << "GL_SET keeps the unused bit of 5-5-5 clear";
}

TEST_F(Colour, E8_PixelsLandAtAddressPlusRowTimesPitch) {
  const modeltest::Target &t = MakeTarget(640, 4);
  DrawInto(t);
  Reg(modeltest::kColour, 0xCu << 24 | 0x11u << 16 | 1280);
  Point({3, 2, 0, 0xFFFFFFFF});
  Fire();
  const uint8_t *video = reinterpret_cast<const uint8_t *>(uintptr_t(chip.info->frameBuffer));
  EXPECT_EQ(video[t.offset + 2 * 1280 + 6], 0xFF);
  EXPECT_EQ(video[t.offset + 2 * 1280 + 7], 0xFF);
  EXPECT_EQ(video[t.offset + 2 * 1280 + 5], 0x00);
}

TEST_F(Colour, E9_TransparencyIsRefusedAndTheBringUpBitsChangeNothing) {
  const modeltest::Target &t = MakeTarget(4, 4);
  DrawInto(t, 1u << 8);
  uint32_t at = Next() + 1;
  Point({1, 1});
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), std::vector<std::string>{"E9@" + std::to_string(at)});
  EXPECT_EQ(Read(t)[5], 0u);
  DrawInto(t, 1u << 7 | 1u << 11);
  Point({1, 1, 0, 0xFF808080});
  Fire();
  EXPECT_EQ(Read(t)[5], 0x8410u);
}

TEST_F(Colour, E6_AnUnknownColourFormatIsReported) {
  const modeltest::Target &t = MakeTarget(4, 4);
  DrawInto(t, 0, 0x20);
  uint32_t at = Next() + 1;
  Point({1, 1});
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), std::vector<std::string>{"E6@" + std::to_string(at)});
}

}  // namespace
