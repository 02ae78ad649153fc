// The colour transfer stages against a reference written from the OpenGL
// transfer rules (scale and bias, then the colour map or the clamp to
// [0, 1], at colour-buffer scale) with the rounding points of the stages:
// map-colour off and on, 5-6-5 and 8-8-8-8 buffers, maps of 1, 2, 256 and
// 1024 entries, every colour format's stage.
#include <cmath>

#include "tests/pixels/modify/modify_fixture.h"

namespace span_stage_test {
namespace {

class ColorModify : public ModifyTest {
 protected:
  // The transferred value of component c, at colour-buffer scale.
  float Reference(float x, int c) {
    const GlPixelTransferMode &t = transfer();
    const double scale[4] = {t.redScale, t.greenScale, t.blueScale, t.alphaScale};
    const double bias[4] = {t.redBias, t.greenBias, t.blueBias, t.alphaBias};
    if (t.mapColor) {
      const GlPixelMap &m = gc->pixel.pixelMap[__GL_PIXEL_MAP_R_TO_R + c];
      const float v = float(x * scale[c] + bias[c]);
      const double at = (m.size - 1) * double(v) + 0.5;
      const int index = at < 1.0 ? 0 : at >= m.size ? m.size - 1 : int(at);
      return m.base.mapF[index] * Scale(c);
    }
    const double v = std::fmin(std::fmax(x * scale[c] + bias[c], 0.0), 1.0);
    return float(v * Scale(c));
  }
  void Check(float got, float x, int c) {
    const float expected = Reference(x, c);
    if (transfer().mapColor)
      EXPECT_EQ(got, expected) << "x " << x << " component " << c;
    else  // scale and bias meet the buffer scale before the clamp
      EXPECT_NEAR(got, expected, 2e-6 * Scale(c)) << "x " << x << " component " << c;
  }
};

struct ColorStage {
  const char *what;
  GlSpanModifier stage;
  std::vector<int> slots;  // per input component, its slot; luminance: -1
};

const ColorStage kStages[] = {
    {"RGBA", __glSpanModifyRGBA, {0, 1, 2, 3}},
    {"ABGR", __glSpanModifyABGR, {3, 2, 1, 0}},
    {"BGRA", __glSpanModifyBGRA, {2, 1, 0, 3}},
    {"RGB", __glSpanModifyRGB, {0, 1, 2}},
    {"BGR", __glSpanModifyBGR, {2, 1, 0}},
    {"red", __glSpanModifyRed, {0}},
    {"green", __glSpanModifyGreen, {1}},
    {"blue", __glSpanModifyBlue, {2}},
    {"alpha", __glSpanModifyAlpha, {3}},
    {"luminance", __glSpanModifyLuminance, {-1}},
    {"luminance-alpha", __glSpanModifyLuminanceAlpha, {-1, 3}},
    {"red-alpha", __glSpanModifyRedAlpha, {0, 3}},
};

struct TransferState {
  const char *what;
  bool mapColor;
  float scale[4], bias[4];
  int mapSize;
};

const TransferState kStates[] = {
    {"scale 2", false, {2, 2, 2, 2}, {0, 0, 0, 0}, 0},
    {"scales and biases", false, {0.5f, 1.5f, -1, 3}, {0.25f, -0.5f, 1, 0.1f}, 0},
    {"bias only", false, {1, 1, 1, 1}, {0.3f, 0.3f, 0.3f, -0.3f}, 0},
    {"one-entry maps", true, {1, 1, 1, 1}, {0, 0, 0, 0}, 1},
    {"two-entry maps", true, {1, 1, 1, 1}, {0, 0, 0, 0}, 2},
    {"256-entry maps, scaled", true, {1, 0.5f, 2, 1}, {0, 0.1f, -0.25f, 0}, 256},
    {"1024-entry maps", true, {1, 1, 1, 1}, {0, 0, 0, 0.5f}, 1024},
};

TEST_F(ColorModify, StagesFollowTheTransferRules) {
  for (int buffers = 0; buffers < 2; buffers++) {
    if (buffers == 1) UseRgbaBuffer(8, 8, 8, 8);
    for (const TransferState &s : kStates) {
      GlPixelTransferMode &t = transfer();
      t.mapColor = s.mapColor;
      t.redScale = s.scale[0], t.greenScale = s.scale[1];
      t.blueScale = s.scale[2], t.alphaScale = s.scale[3];
      t.redBias = s.bias[0], t.greenBias = s.bias[1];
      t.blueBias = s.bias[2], t.alphaBias = s.bias[3];
      if (s.mapSize)
        for (int m = 0; m < 4; m++) SetMap(GL_PIXEL_MAP_R_TO_R + m, Ramp(s.mapSize, m));
      Validate();
      const GlColor &fill = gc->pixel.modify.defaultColor;
      const float defaults[4] = {fill.r, fill.g, fill.b, fill.a};
      for (const ColorStage &st : kStages) {
        SCOPED_TRACE(testing::Message() << st.what << ", " << s.what << ", buffer " << buffers);
        // Values in and a little beyond [0, 1].
        const int n = int(st.slots.size());
        info.width = info.spanWidth = 120 / n;
        std::vector<float> in(info.width * n);
        for (size_t i = 0; i < in.size(); i++) in[i] = float(int(i) - 10) / 97.0f;
        const std::vector<float> out = RunAs<float>(st.stage, in.data(), info.width * 4);
        for (int p = 0; p < info.width; p++) {
          bool given[4] = {};
          for (int k = 0; k < n; k++) {
            const float x = in[p * n + k];
            if (st.slots[k] < 0) {
              for (int c = 0; c < 3; c++) Check(out[p * 4 + c], x, c), given[c] = true;
            } else {
              Check(out[p * 4 + st.slots[k]], x, st.slots[k]);
              given[st.slots[k]] = true;
            }
          }
          for (int c = 0; c < 4; c++)
            if (!given[c]) {
              EXPECT_EQ(out[p * 4 + c], defaults[c]) << "default, component " << c;
            }
        }
      }
    }
  }
}

TEST_F(ColorModify, ScaleClampsAtTheBufferScale) {
  transfer().redScale = 2.0f;
  Validate();
  const float in[] = {0.75f, 0.25f};
  info.width = info.spanWidth = 2;
  const std::vector<float> out = RunAs<float>(__glSpanModifyRed, in, 8);
  EXPECT_EQ(out[0], 31.0f);
  EXPECT_EQ(out[4], 0.5f * 31.0f);
}

TEST_F(ColorModify, MapsAreIndexedByTheNearestEntryWithinTheMap) {
  std::vector<GLfloat> map(256);
  for (int i = 0; i < 256; i++) map[i] = GLfloat(i) / 256.0f;
  SetMap(GL_PIXEL_MAP_R_TO_R, map);
  transfer().mapColor = 1;
  Validate();
  const float in[] = {1.0f, -0.2f, 0.5f};
  info.width = info.spanWidth = 3;
  std::vector<float> out = RunAs<float>(__glSpanModifyRed, in, 12);
  EXPECT_EQ(out[0], 255.0f / 256.0f * 31.0f);
  EXPECT_EQ(out[4], 0.0f);
  EXPECT_EQ(out[8], 128.0f / 256.0f * 31.0f);  // 127.5 + 0.5
  SetMap(GL_PIXEL_MAP_R_TO_R, {0.5f});
  Validate();
  out = RunAs<float>(__glSpanModifyRed, in, 12);
  for (int p = 0; p < 3; p++) EXPECT_EQ(out[p * 4], 0.5f * 31.0f);
}

// Drawing GL_RED with a green bias gives every pixel the bias as green, and
// opaque alpha through the alpha scale and bias.
TEST_F(ColorModify, MissingComponentsTakeTheDefaultColour) {
  transfer().greenBias = 0.5f;
  transfer().alphaScale = 0.5f;
  transfer().alphaBias = 0.25f;
  Validate();
  const float in[] = {0.0f, 1.0f};
  info.width = info.spanWidth = 2;
  const std::vector<float> out = RunAs<float>(__glSpanModifyRed, in, 8);
  for (int p = 0; p < 2; p++) {
    EXPECT_EQ(out[p * 4 + 1], 0.5f * 63.0f);
    EXPECT_EQ(out[p * 4 + 2], 0.0f);
    EXPECT_EQ(out[p * 4 + 3], 0.75f * 255.0f);
  }
  EXPECT_EQ(out[4], 31.0f);
}

}  // namespace
}  // namespace span_stage_test
