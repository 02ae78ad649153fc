// The dither, rounding, logic-op and mask spans on small hand-made spans:
// the matrix positions, the clamps, GL_SET, and the masks' use of the
// fetched destination.
#include <gtest/gtest.h>

#include "raster/s_span_ops.h"
#include "tests/raster/color/color_fixture.h"

namespace {

constexpr int32_t kLength = 16;

class OpsSpan : public testing::Test {
 protected:
  explicit OpsSpan(const ColorFormat &f = kRgbFormats[2]) : b_(f, 20, 6) {
    GlShader &sh = b_.gc()->polygon.shader;
    sh.spanColors = colors_;
    sh.fbcolors = fetched_;
    sh.stipplePat = stipple_;
    sh.cfb = b_.cfb();
    sh.length = kLength;
    sh.x = kBias, sh.y = kBias;
  }
  GlContext *gc() { return b_.gc(); }
  GlShader &sh() { return b_.gc()->polygon.shader; }
  void Fill(GlColor c) {
    for (GlColor &k : colors_) k = c;
  }

  BoundColorBuffer b_;
  GlColor colors_[kLength], fetched_[kLength];
  uint32_t stipple_[1] = {0xFFFFFFFFu};
};

const uint8_t kMatrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

TEST_F(OpsSpan, DitherOfAHalfLightsTheUpperHalfOfTheMatrix) {
  for (int32_t row = 0; row < 4; row++) {
    sh().y = kBias + row;
    sh().length = 4;
    Fill({0.5f, 3.0f, 0.5f, 3.0f});
    EXPECT_EQ(__glDitherRGBASpan(gc()), 0);
    for (int32_t col = 0; col < 4; col++) {
      const GLfloat want = kMatrix[row][col] >= 8 ? 1.0f : 0.0f;
      EXPECT_EQ(colors_[col].r, want) << row << " " << col;
      EXPECT_EQ(colors_[col].b, want) << row << " " << col;
      EXPECT_EQ(colors_[col].g, 3.0f);
      EXPECT_EQ(colors_[col].a, 3.0f);
    }
  }
}

struct ClampRow {
  const char *what;
  GLbool8 (*span)(GlContext *);
  GlColor in;
  GlColor want;  // 5-6-5: maxima 31, 63, 31; alpha 255
};

const ClampRow kClamps[] = {
    {"dither above the maximum", __glDitherRGBASpan, {31.9f, 70.0f, 40.0f, 300.0f},
     {31, 63, 31, 255}},
    {"round above the maximum", __glRoundRGBASpan, {31.6f, 63.5f, 32.0f, 255.7f},
     {31, 63, 31, 255}},
    {"round to nearest", __glRoundRGBASpan, {3.49f, 3.5f, 0.2f, 7.0f}, {3, 4, 0, 7}},
    {"no lower clamp", __glRoundRGBASpan, {-3.0f, -0.7f, 0.0f, -1.6f}, {-2, 0, 0, -1}},
};

TEST_F(OpsSpan, ClampsAtTheMaximumOnly) {
  for (const ClampRow &row : kClamps) {
    SCOPED_TRACE(row.what);
    Fill(row.in);
    row.span(gc());
    for (int32_t i = 0; i < kLength; i++) {
      EXPECT_EQ(colors_[i].r, row.want.r) << i;
      EXPECT_EQ(colors_[i].g, row.want.g) << i;
      EXPECT_EQ(colors_[i].b, row.want.b) << i;
      EXPECT_EQ(colors_[i].a, row.want.a) << i;
    }
  }
}

TEST_F(OpsSpan, StippledTwinsLeaveDeadPixels) {
  stipple_[0] = 0xAAAA0000u;
  GLbool8 (*const twins[])(GlContext *) = {__glDitherRGBAStippledSpan, __glRoundRGBAStippledSpan};
  for (auto span : twins) {
    Fill({2.25f, 2.25f, 2.25f, 2.25f});
    span(gc());
    for (int32_t i = 0; i < kLength; i++)
      EXPECT_EQ(colors_[i].r, i % 2 ? 2.25f : 2.0f) << i;
  }
}

TEST_F(OpsSpan, MasksUseTheirOwnDestinationEntry) {
  for (int32_t i = 0; i < kLength; i++) fetched_[i] = {GLfloat(i), GLfloat(i + 1), 9, 9};
  GlRasterState &r = gc()->state.raster;
  Fill({20, 30, 40, 50});
  r.rMask = r.gMask = r.bMask = r.aMask = 1;
  __glMaskRGBASpan(gc());
  for (int32_t i = 0; i < kLength; i++) EXPECT_EQ(colors_[i].r, 20.0f);
  r.rMask = r.gMask = r.bMask = r.aMask = 0;
  __glMaskRGBASpan(gc());
  for (int32_t i = 0; i < kLength; i++) {
    EXPECT_EQ(colors_[i].r, GLfloat(i));
    EXPECT_EQ(colors_[i].g, GLfloat(i + 1));
    EXPECT_EQ(colors_[i].a, 9.0f);
  }
  Fill({20, 30, 40, 50});
  r.gMask = 1;
  __glMaskRGBASpan(gc());
  EXPECT_EQ(colors_[5].r, 5.0f);
  EXPECT_EQ(colors_[5].g, 30.0f);
}

class IndexSpan : public OpsSpan {
 protected:
  IndexSpan() : OpsSpan(kIndexFormats[1]) {}  // 12-bit indexes
};

TEST_F(IndexSpan, SetGivesMinusOne) {
  gc()->state.raster.logicOp = GL_SET;
  Fill({5, 0, 0, 0});
  for (GlColor &f : fetched_) f.r = 77;
  __glLogicOpSpan(gc());
  EXPECT_EQ(colors_[0].r, -1.0f);
  EXPECT_EQ(colors_[kLength - 1].r, -1.0f);
}

TEST_F(IndexSpan, MaskCutsANegativeIndexToTheBufferBits) {
  // -1 from GL_SET under a write mask with bits above the buffer's 12: the
  // result must be the buffer's own bits, exact as a float.
  gc()->state.raster.writeMask = 0xF0F0F0F0u;
  Fill({-1.0f, 0, 0, 0});
  for (GlColor &f : fetched_) f.r = 0x123;
  __glMaskCISpan(gc());
  EXPECT_EQ(colors_[0].r, GLfloat(0x0F0 | (0x123 & 0xF0F)));
}

TEST_F(IndexSpan, LogicOpsOnSignedIndexes) {
  struct Row {
    GLenum op;
    GLfloat s, d, want;
  };
  const Row rows[] = {{0x1500 /* CLEAR */, 6, 3, 0},         {0x1501 /* AND */, 6, 3, 2},         {0x1502 /* AND_REVERSE */, 6, 3, 4},
                      {0x1503 /* COPY */, 6, 3, 6},          {0x1504 /* AND_INVERTED */, 6, 3, 1}, {0x1505 /* NOOP */, 6, 3, 3},
                      {0x1506 /* XOR */, 6, 3, 5},           {0x1507 /* OR */, 6, 3, 7},          {0x1508 /* NOR */, 6, 3, -8},
                      {0x1509 /* EQUIV */, 6, 3, -6},        {0x150A /* INVERT */, 6, 3, -4},     {0x150B /* OR_REVERSE */, 6, 3, -2},
                      {0x150C /* COPY_INVERTED */, 6, 3, -7}, {0x150D /* OR_INVERTED */, 6, 3, -5}, {0x150E /* NAND */, 6, 3, -3},
                      {0x150F /* SET */, 6, 3, -1}};
  for (const Row &row : rows) {
    gc()->state.raster.logicOp = row.op;
    Fill({row.s, 0, 0, 0});
    for (GlColor &f : fetched_) f.r = row.d;
    stipple_[0] = 0x80000000u;
    __glLogicOpStippledSpan(gc());
    EXPECT_EQ(colors_[0].r, row.want) << std::hex << row.op;
    EXPECT_EQ(colors_[1].r, row.s) << std::hex << row.op;
  }
}

TEST_F(IndexSpan, IndexMaskKeepsProtectedBitsOfTheDestination) {
  gc()->state.raster.writeMask = 0x0F0;
  Fill({0xABC, 0, 0, 0});
  for (int32_t i = 0; i < kLength; i++) fetched_[i].r = GLfloat(0x123 + i);
  __glMaskCISpan(gc());
  for (int32_t i = 0; i < kLength; i++)
    EXPECT_EQ(colors_[i].r, GLfloat((0xABC & 0x0F0) | ((0x123 + i) & 0xF0F))) << i;
}

TEST_F(IndexSpan, DitherAndRoundClampAtTheIndexMaximum) {
  Fill({4095.4f, 0, 0, 0});
  __glRoundCISpan(gc());
  EXPECT_EQ(colors_[0].r, 4095.0f);
  Fill({4095.9f, 0, 0, 0});
  __glDitherCISpan(gc());
  for (int32_t i = 0; i < 4; i++) EXPECT_EQ(colors_[i].r, 4095.0f);
  Fill({100.5f, 0, 0, 0});
  sh().length = 4;
  __glDitherCIStippledSpan(gc());
  for (int32_t col = 0; col < 4; col++)
    EXPECT_EQ(colors_[col].r, kMatrix[0][col] >= 8 ? 101.0f : 100.0f);
}

}  // namespace
