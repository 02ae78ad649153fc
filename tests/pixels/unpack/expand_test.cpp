// Expansion of each format to RGBA groups (scaled by the colour buffer, or
// NS), alpha zero-fill, scaling and reordering of four-component groups,
// unscaling, and the clamps, on a 5-6-5 buffer (alpha keeps 255) and an
// 8-8-8-8 one.
#include <cmath>
#include <limits>

#include "pixels/px_unpack.h"
#include "tests/pixels/unpack/stage_fixture.h"

namespace span_stage_test {
namespace {

class Expand : public StageTest {};

struct ExpandCase {
  const char *what;
  GlSpanModifier scaled, ns;
  std::vector<float> in;  // one pixel, the format's components
  // Per slot: the input component that lands there, or -1 for none.
  int from[4];
};

const ExpandCase kExpansions[] = {
    {"red", __glSpanExpandRed, __glSpanExpandRedNS, {0.25f}, {0, -1, -1, -1}},
    {"green", __glSpanExpandGreen, __glSpanExpandGreenNS, {0.25f}, {-1, 0, -1, -1}},
    {"blue", __glSpanExpandBlue, __glSpanExpandBlueNS, {0.25f}, {-1, -1, 0, -1}},
    {"alpha", __glSpanExpandAlpha, __glSpanExpandAlphaNS, {0.25f}, {-1, -1, -1, 0}},
    {"RGB", __glSpanExpandRGB, __glSpanExpandRGBNS, {0.25f, 0.5f, 0.75f}, {0, 1, 2, -1}},
    {"BGR", __glSpanExpandBGR, __glSpanExpandBGRNS, {0.25f, 0.5f, 0.75f}, {2, 1, 0, -1}},
    {"luminance", __glSpanExpandLuminance, __glSpanExpandLuminanceNS, {0.25f}, {0, 0, 0, -1}},
    {"luminance-alpha", __glSpanExpandLuminanceAlpha, __glSpanExpandLuminanceAlphaNS,
     {0.25f, 0.5f}, {0, 0, 0, 1}},
    {"red-alpha", __glSpanExpandRedAlpha, __glSpanExpandRedAlphaNS, {0.25f, 0.5f},
     {0, -1, -1, 1}},
    {"intensity", __glSpanExpandIntensity, __glSpanExpandIntensityNS, {0.25f}, {0, 0, 0, 0}},
    {"RGBA", __glSpanScaleRGBA, nullptr, {0.25f, 0.5f, 0.75f, 1.0f}, {0, 1, 2, 3}},
    {"ABGR", __glSpanScaleABGR, __glSpanPreReorderABGR, {0.25f, 0.5f, 0.75f, 1.0f},
     {3, 2, 1, 0}},
    {"BGRA", __glSpanScaleBGRA, __glSpanPreReorderBGRA, {0.25f, 0.5f, 0.75f, 1.0f},
     {2, 1, 0, 3}},
};

// Scaled: each value times the scale of the slot it lands in, a missing
// alpha at full scale; NS: values kept, a missing alpha 1.0. Missing
// colours are 0.
TEST_F(Expand, FormatsBecomeRgbaGroups) {
  for (int b : {565, 8888}) {
    if (b == 8888) UseRgbaBuffer(8, 8, 8, 8);
    const float scale[4] = {buffer.redScale, buffer.greenScale, buffer.blueScale,
                            buffer.alphaScale};
    for (const ExpandCase &c : kExpansions) {
      SCOPED_TRACE(testing::Message() << c.what << " on " << b);
      // Three pixels: the stage must step by the format's components.
      info.width = info.spanWidth = 3;
      std::vector<float> in;
      for (int p = 0; p < 3; p++)
        for (float v : c.in) in.push_back(v / float(p + 1));
      for (bool scaled : {true, false}) {
        GlSpanModifier stage = scaled ? c.scaled : c.ns;
        if (stage == nullptr) continue;
        const std::vector<float> out = RunAs<float>(stage, in.data(), 12);
        for (int p = 0; p < 3; p++)
          for (int s = 0; s < 4; s++) {
            float expected = s == 3 ? (scaled ? scale[3] : 1.0f) : 0.0f;
            if (c.from[s] >= 0) {
              const float v = in[p * c.in.size() + c.from[s]];
              expected = scaled ? v * scale[s] : v;
            }
            EXPECT_EQ(out[p * 4 + s], expected) << (scaled ? "scaled" : "NS") << " pixel " << p
                                                << " slot " << s;
          }
      }
    }
  }
}

TEST_F(Expand, LuminanceNSAndIntensity) {
  const float l = 0.25f;
  EXPECT_EQ(RunAs<float>(__glSpanExpandLuminanceNS, &l, 4),
            (std::vector<float>{0.25f, 0.25f, 0.25f, 1.0f}));
  EXPECT_EQ(RunAs<float>(__glSpanExpandIntensity, &l, 4),
            (std::vector<float>{0.25f * 31, 0.25f * 63, 0.25f * 31, 0.25f * 255}));
}

TEST_F(Expand, ZeroFillClearsAlphaOnly) {
  info.width = info.spanWidth = 2;
  const float in[] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(RunAs<float>(__glSpanZeroFillAlpha, in, 8), (std::vector<float>{1, 2, 3, 0, 5, 6, 7, 0}));
}

// Unscaling multiplies by the reciprocal scales; the ABGR and BGRA forms
// write their own order.
TEST_F(Expand, UnscaleByTheReciprocals) {
  UseRgbaBuffer(8, 8, 8, 8);
  const float in[] = {255, 127.5f, 51, 25.5f};
  const float k = 1.0f / 255.0f;
  const std::vector<float> rgba = {255 * k, 127.5f * k, 51 * k, 25.5f * k};
  EXPECT_EQ(RunAs<float>(__glSpanPreUnscaleRGBA, in, 4), rgba);
  EXPECT_EQ(RunAs<float>(__glSpanPostUnscaleRGBA, in, 4), rgba);
  EXPECT_EQ(RunAs<float>(__glSpanUnscaleABGR, in, 4),
            (std::vector<float>{rgba[3], rgba[2], rgba[1], rgba[0]}));
  EXPECT_EQ(RunAs<float>(__glSpanUnscaleBGRA, in, 4),
            (std::vector<float>{rgba[2], rgba[1], rgba[0], rgba[3]}));
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST_F(Expand, ClampsToTheirRanges) {
  info.width = info.spanWidth = 2;
  const float in[] = {-0.5f, 0.25f, 1.5f, kNaN, 7.5f, 0.0f, 1.0f, -1e30f};
  info.srcSpanComponents = 4;
  EXPECT_EQ(RunAs<float>(__glSpanClampPreFloat, in, 8),
            (std::vector<float>{0, 0.25f, 1, 0, 1, 0, 1, 0}));
  info.srcSpanComponents = 1;
  info.dstSpanComponents = 4;
  EXPECT_EQ(RunAs<float>(__glSpanClampPostFloat, in, 8),
            (std::vector<float>{0, 0.25f, 1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(RunAs<float>(__glSpanClampSigned, in, 8),
            (std::vector<float>{0, 0.25f, 1.5f, 0, 7.5f, 0, 1, 0}));
  // The span component count decides how many values move.
  info.dstSpanComponents = 3;
  info.width = info.spanWidth = 1;
  EXPECT_EQ(RunAs<float>(__glSpanClampSigned, in, 3), (std::vector<float>{0, 0.25f, 1.5f}));
}

// The RGBA clamps limit their components to [0, colour-buffer scale] and
// copy the others bit for bit.
TEST_F(Expand, ColourClampsLimitTheirComponents) {
  const float in[] = {40, -1, 70, 300};
  const float limited[] = {31, 0, 31, 255};  // 5-6-5, alpha 255
  struct {
    GlSpanModifier stage;
    int mask;
  } rows[] = {
      {__glSpanClampRed, 0x1},  {__glSpanClampGreen, 0x2}, {__glSpanClampBlue, 0x4},
      {__glSpanClampAlpha, 0x8}, {__glSpanClampRGB, 0x7},   {__glSpanClampRGBA, 0xF},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(r.mask);
    const std::vector<float> out = RunAs<float>(r.stage, in, 4);
    for (int c = 0; c < 4; c++) EXPECT_EQ(out[c], (r.mask >> c & 1) ? limited[c] : in[c]) << c;
  }
}

}  // namespace
}  // namespace span_stage_test
