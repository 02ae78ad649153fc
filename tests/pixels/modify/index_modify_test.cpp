// Index shift and offset (with the shift limit), the index maps, the stencil
// map, colour indices to RGBA through the four maps, and depth scale and
// bias.
#include "tests/pixels/modify/modify_fixture.h"

namespace span_stage_test {
namespace {

class IndexModify : public ModifyTest {
 protected:
  std::vector<float> Indices(GlSpanModifier stage, const std::vector<float> &in, size_t perPixel = 1) {
    info.width = info.spanWidth = int32_t(in.size());
    return RunAs<float>(stage, in.data(), in.size() * perPixel);
  }
};

// n shifted left, or arithmetically right, then offset, as integers.
int64_t Shifted(int64_t n, int shift, int offset) {
  return (shift >= 0 ? n * (int64_t(1) << shift) : (n >> -shift)) + offset;
}

TEST_F(IndexModify, ShiftAndOffset) {
  info.dstFormat = GL_COLOR_INDEX;
  const std::vector<float> in = {0, 1, 2, 5, 100, 255, -7};
  for (int shift = -3; shift <= 3; shift++)
    for (int offset : {0, 1, -2, 100}) {
      SCOPED_TRACE(testing::Message() << "shift " << shift << " offset " << offset);
      transfer().indexShift = shift;
      transfer().indexOffset = offset;
      for (GlSpanModifier stage : {__glSpanModifyCI, __glSpanModifyStencil}) {
        const std::vector<float> out = Indices(stage, in);
        for (size_t i = 0; i < in.size(); i++)
          EXPECT_EQ(out[i], float(Shifted(int64_t(in[i]), shift, offset))) << in[i];
      }
    }
  transfer().indexShift = 3, transfer().indexOffset = 1;
  EXPECT_EQ(Indices(__glSpanModifyCI, {2})[0], 17.0f);
  transfer().indexShift = -1, transfer().indexOffset = 0;
  EXPECT_EQ(Indices(__glSpanModifyCI, {5})[0], 2.0f);
}

// A shift beyond the destination's bits becomes shift & 31, and then at
// most the bit count.
TEST_F(IndexModify, ShiftsAreLimitedByTheBits) {
  info.dstFormat = GL_COLOR_INDEX;
  struct {
    int shift;
    uint32_t bits;
    int acts;
  } rows[] = {{40, 8, 8}, {33, 8, 1}, {9, 8, 8}, {8, 8, 8}, {31, 16, 16}, {31, 32, 31},
              {63, 32, 31}, {32, 32, 32}};
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << "shift " << r.shift << " bits " << r.bits);
    transfer().indexShift = r.shift;
    gc->modes.stencilBits = gc->modes.indexBits = r.bits;
    const uint32_t expected = r.acts >= 32 ? 0 : uint32_t(1) << r.acts;
    EXPECT_EQ(Indices(__glSpanModifyStencil, {1})[0], float(int32_t(expected)));
    EXPECT_EQ(Indices(__glSpanModifyCI, {1})[0], float(int32_t(expected)));
  }
  // Large right shifts leave the sign.
  transfer().indexShift = -40;
  EXPECT_EQ(Indices(__glSpanModifyStencil, {-5, 5}), (std::vector<float>{-1, 0}));
}

TEST_F(IndexModify, IndexMapsAreReducedBySize) {
  info.dstFormat = GL_COLOR_INDEX;
  SetMap(GL_PIXEL_MAP_S_TO_S, {10, 11, 12, 13});
  SetMap(GL_PIXEL_MAP_I_TO_I, {20, 21});
  transfer().indexOffset = 1;
  // Without the map flags the maps are not used.
  EXPECT_EQ(Indices(__glSpanModifyStencil, {0, 5}), (std::vector<float>{1, 6}));
  EXPECT_EQ(Indices(__glSpanModifyCI, {0, 5}), (std::vector<float>{1, 6}));
  transfer().mapStencil = 1;
  transfer().mapColor = 1;
  EXPECT_EQ(Indices(__glSpanModifyStencil, {0, 5, 6}), (std::vector<float>{11, 12, 13}));
  EXPECT_EQ(Indices(__glSpanModifyCI, {0, 5, 6}), (std::vector<float>{21, 20, 21}));
}

// Indices drawn as colours always go through the four maps, at colour-buffer
// scale; the default maps give transparent black.
TEST_F(IndexModify, IndicesToColoursThroughTheMaps) {
  info.dstFormat = GL_RGBA;
  EXPECT_EQ(Indices(__glSpanModifyCI, {0, 3}, 4), (std::vector<float>(8, 0.0f)));
  SetMap(GL_PIXEL_MAP_I_TO_R, {0, 0.5f, 1, 0.25f});
  SetMap(GL_PIXEL_MAP_I_TO_G, {1, 0});
  SetMap(GL_PIXEL_MAP_I_TO_B, {0.5f});
  SetMap(GL_PIXEL_MAP_I_TO_A, {1, 1, 1, 1, 1, 1, 1, 0});
  transfer().indexShift = 1;
  // 3 << 1 = 6: R entry 2, G entry 0, B entry 0, A entry 6; 7 << 1 = 14.
  EXPECT_EQ(Indices(__glSpanModifyCI, {3, 7}, 4),
            (std::vector<float>{31, 63, 15.5f, 255, 31, 63, 15.5f, 255}));
  transfer().indexShift = 0;
  EXPECT_EQ(Indices(__glSpanModifyCI, {7}, 4), (std::vector<float>{0.25f * 31, 0, 15.5f, 0}));
}

TEST_F(IndexModify, DepthScaleAndBiasClampToUnit) {
  transfer().depthScale = 2.0f;
  transfer().depthBias = -0.5f;
  EXPECT_EQ(Indices(__glSpanModifyDepth, {0.1f, 0.9f, 0.5f, 0.6f}),
            (std::vector<float>{0.0f, 1.0f, 0.5f, 2.0f * 0.6f - 0.5f}));
}

}  // namespace
}  // namespace span_stage_test
