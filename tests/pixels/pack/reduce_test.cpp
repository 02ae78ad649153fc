// RGBA groups at colour-buffer scale reduced to each format's components,
// unscaled or NS, and luminance summed and capped at 1.0.
#include "pixels/px_packer.h"
#include "tests/pixels/unpack/stage_fixture.h"

namespace span_stage_test {
namespace {

class Reduce : public StageTest {};

TEST_F(Reduce, FormatsTakeTheirComponentsInOrder) {
  // Two pixels on a 5-6-5 buffer (alpha 255).
  const float in[] = {31, 63, 15.5f, 255, 0, 21, 31, 51};
  const float k[4] = {1.0f / 31, 1.0f / 63, 1.0f / 31, 1.0f / 255};
  struct Row {
    const char *what;
    GlSpanModifier unscaled, ns;
    std::vector<int> slots;
  } rows[] = {
      {"red", __glSpanReduceRed, __glSpanReduceRedNS, {0}},
      {"green", __glSpanReduceGreen, __glSpanReduceGreenNS, {1}},
      {"blue", __glSpanReduceBlue, __glSpanReduceBlueNS, {2}},
      {"alpha", __glSpanReduceAlpha, __glSpanReduceAlphaNS, {3}},
      {"RGB", __glSpanReduceRGB, __glSpanReduceRGBNS, {0, 1, 2}},
      {"BGR", __glSpanReduceBGR, __glSpanReduceBGRNS, {2, 1, 0}},
      {"ABGR", __glSpanReorderABGR, __glSpanReorderABGRNS, {3, 2, 1, 0}},
      {"BGRA", __glSpanReorderBGRA, __glSpanReorderBGRANS, {2, 1, 0, 3}},
      {"red-alpha", __glSpanReduceRedAlpha, __glSpanReduceRedAlphaNS, {0, 3}},
  };
  info.width = info.spanWidth = 2;
  for (const Row &r : rows) {
    SCOPED_TRACE(r.what);
    const size_t n = r.slots.size();
    const std::vector<float> unscaled = RunAs<float>(r.unscaled, in, 2 * n);
    const std::vector<float> ns = RunAs<float>(r.ns, in, 2 * n);
    for (int p = 0; p < 2; p++)
      for (size_t j = 0; j < n; j++) {
        const int s = r.slots[j];
        EXPECT_EQ(unscaled[p * n + j], in[p * 4 + s] * k[s]) << p << " " << j;
        EXPECT_EQ(ns[p * n + j], in[p * 4 + s]) << p << " " << j;
      }
  }
}

TEST_F(Reduce, LuminanceIsTheCappedSumOfTheColours) {
  const float white[] = {31, 63, 31, 255};
  EXPECT_EQ(RunAs<float>(__glSpanReduceLuminance, white, 1)[0], 1.0f);
  const float grey[] = {3.1f, 6.3f, 0, 127.5f};
  const float l = 3.1f * (1.0f / 31) + 6.3f * (1.0f / 63) + 0 * (1.0f / 31);
  EXPECT_EQ(RunAs<float>(__glSpanReduceLuminance, grey, 1)[0], l);
  EXPECT_EQ(RunAs<float>(__glSpanReduceLuminanceAlpha, grey, 2),
            (std::vector<float>{l, 127.5f * (1.0f / 255)}));
  // No lower limit, and alpha is not limited either.
  const float odd[] = {-31, 0, 0, 510};
  EXPECT_EQ(RunAs<float>(__glSpanReduceLuminanceAlpha, odd, 2),
            (std::vector<float>{-1.0f, 510 * (1.0f / 255)}));
}

}  // namespace
}  // namespace span_stage_test
