// The lookup tables of the unsigned-byte shortcuts equal the span stages
// they stand for on all 256 byte values, over a grid of transfer states
// (negative shifts, and map indices that fall exactly between two entries,
// included); a table that cannot be allocated leaves its set invalid.
#include <cmath>

#include "pixels/px_unpack.h"
#include "tests/pixels/modify/modify_fixture.h"
#include "tests/support/counting_imports.h"

namespace span_stage_test {
namespace {

class Tables : public ModifyTest {
 protected:
  // The 256 byte values as the unpack stage gives them, one component each.
  std::vector<float> Bytes() {
    uint8_t bytes[256];
    for (int i = 0; i < 256; i++) bytes[i] = uint8_t(i);
    info.srcSpanComponents = 1;
    info.width = info.spanWidth = 256;
    return RunAs<float>(__glSpanUnpackUbyte, bytes, 256);
  }
  // The 256 indices.
  static std::vector<float> Indices() {
    std::vector<float> v(256);
    for (int i = 0; i < 256; i++) v[i] = float(i);
    return v;
  }
};

TEST_F(Tables, RgbaTablesEqualTheColourStage) {
  const float scales[] = {1, 2, 0.5f, -1};
  const float biases[] = {0, 0.25f, -0.5f};
  for (int buffers = 0; buffers < 2; buffers++) {
    if (buffers == 1) UseRgbaBuffer(8, 8, 8, 8);
    for (int mapSize : {0, 1, 2, 256, 1024})
      for (float scale : scales)
        for (float bias : biases) {
          SCOPED_TRACE(testing::Message() << "buffer " << buffers << " map " << mapSize
                                          << " scale " << scale << " bias " << bias);
          GlPixelTransferMode &t = transfer();
          t.mapColor = mapSize != 0;
          if (mapSize)
            for (int m = 0; m < 4; m++) SetMap(GL_PIXEL_MAP_R_TO_R + m, Ramp(mapSize, 3 * m));
          t.redScale = scale, t.greenScale = -scale, t.blueScale = 1, t.alphaScale = scale;
          t.redBias = bias, t.greenBias = 0.5f, t.blueBias = -bias, t.alphaBias = bias;
          Validate();
          GlPixelModifyState &m = gc->pixel.modify;
          ASSERT_TRUE(__glBuildRGBAModifyTables(gc, &m));
          EXPECT_EQ(m.rgbaValid, 1);
          // Each component through the RGBA stage, one byte value at a time.
          const std::vector<float> x = Bytes();
          std::vector<float> groups(256 * 4);
          for (int i = 0; i < 256; i++)
            for (int c = 0; c < 4; c++) groups[i * 4 + c] = x[i];
          const std::vector<float> out = RunAs<float>(__glSpanModifyRGBA, groups.data(), 1024);
          for (int c = 0; c < 4; c++)
            for (int i = 0; i < 256; i++) {
              ASSERT_EQ(m.rgbaTables[c][i], out[i * 4 + c]) << "component " << c << " byte " << i;
            }
        }
  }
}

TEST_F(Tables, IndexTablesEqualTheIndexStage) {
  const std::vector<float> indices = Indices();
  for (int bits : {4, 8})
    for (int mapped = 0; mapped < 2; mapped++)
      for (int shift = -3; shift <= 3; shift++)
        for (int offset : {0, 1, -2, 100}) {
          SCOPED_TRACE(testing::Message() << "bits " << bits << " mapped " << mapped << " shift "
                                          << shift << " offset " << offset);
          UseIndexBuffer(bits);
          SetMap(GL_PIXEL_MAP_I_TO_I, {3, 9, 27, 81, 243, 729, 2187, 6561});
          transfer().mapColor = uint8_t(mapped);
          transfer().indexShift = shift;
          transfer().indexOffset = offset;
          Validate();
          GlPixelModifyState &m = gc->pixel.modify;
          ASSERT_TRUE(__glBuildItoIModifyTables(gc, &m));
          EXPECT_EQ(m.itoiValid, 1);
          info.dstFormat = GL_COLOR_INDEX;
          info.width = info.spanWidth = 256;
          const std::vector<float> out = RunAs<float>(__glSpanModifyCI, indices.data(), 256);
          for (int i = 0; i < 256; i++)
            ASSERT_EQ(m.itoiTable[i], float(uint32_t(int32_t(out[i])) & buffer.redMax)) << i;
        }
}

TEST_F(Tables, IndexToColourTablesEqualTheIndexStage) {
  const std::vector<float> indices = Indices();
  for (int buffers = 0; buffers < 2; buffers++) {
    if (buffers == 1) UseRgbaBuffer(8, 8, 8, 8);
    SetMap(GL_PIXEL_MAP_I_TO_R, Ramp(4, 0));
    SetMap(GL_PIXEL_MAP_I_TO_G, Ramp(256, 1));
    SetMap(GL_PIXEL_MAP_I_TO_B, Ramp(1, 2));
    SetMap(GL_PIXEL_MAP_I_TO_A, Ramp(1024, 3));
    for (int shift = -3; shift <= 3; shift++)
      for (int offset : {0, 1, -2, 100}) {
        SCOPED_TRACE(testing::Message() << "buffer " << buffers << " shift " << shift
                                        << " offset " << offset);
        transfer().indexShift = shift;
        transfer().indexOffset = offset;
        Validate();
        GlPixelModifyState &m = gc->pixel.modify;
        ASSERT_TRUE(__glBuildItoRGBAModifyTables(gc, &m));
        EXPECT_EQ(m.itoRgbaValid, 1);
        info.dstFormat = GL_RGBA;
        info.width = info.spanWidth = 256;
        const std::vector<float> out = RunAs<float>(__glSpanModifyCI, indices.data(), 1024);
        for (int c = 0; c < 4; c++)
          for (int i = 0; i < 256; i++)
            ASSERT_EQ(m.itoRgbaTables[c][i], out[i * 4 + c]) << "component " << c << " index " << i;
      }
  }
}

// A map change makes the tables built from it stale and marks validation;
// the next build reads the new map.
TEST_F(Tables, AMapChangeReachesTheNextBuild) {
  transfer().mapColor = 1;
  SetMap(GL_PIXEL_MAP_R_TO_R, {0.0f, 1.0f});
  Validate();
  GlPixelModifyState &m = gc->pixel.modify;
  ASSERT_TRUE(__glBuildRGBAModifyTables(gc, &m));
  EXPECT_EQ(m.rgbaTables[0][255], 31.0f);
  gc->beginMode = __GL_NOT_IN_BEGIN;
  gc->dirtyMask = 0;
  SetMap(GL_PIXEL_MAP_R_TO_R, {0.0f, 0.5f});
  EXPECT_EQ(m.rgbaValid, 0);
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  EXPECT_EQ(gc->dirtyMask, uint32_t(__GL_DIRTY_PIXEL));
  Validate();
  ASSERT_TRUE(__glBuildRGBAModifyTables(gc, &m));
  EXPECT_EQ(m.rgbaTables[0][255], 15.5f);
}

// Each refused allocation leaves the set's flag clear and the builder
// false; whatever was allocated is freed with the pixel state.
TEST_F(Tables, RefusedTablesLeaveTheSetInvalid) {
  using Builder = GLbool8 (*)(GlContext *, GlPixelModifyState *);
  struct {
    const char *what;
    Builder build;
    uint8_t GlPixelModifyState::*valid;
    int tables;
  } rows[] = {
      {"RGBA", __glBuildRGBAModifyTables, &GlPixelModifyState::rgbaValid, 4},
      {"index to index", __glBuildItoIModifyTables, &GlPixelModifyState::itoiValid, 1},
      {"index to RGBA", __glBuildItoRGBAModifyTables, &GlPixelModifyState::itoRgbaValid, 4},
  };
  for (const auto &r : rows)
    for (int refused = 1; refused <= r.tables; refused++) {
      SCOPED_TRACE(testing::Message() << r.what << ", allocation " << refused);
      __glFreePixelState(gc);
      ASSERT_TRUE(__glEarlyInitPixelState(gc));
      __glInitPixelState(gc);
      GlPixelModifyState &m = gc->pixel.modify;
      CountingImports::failAllocation(refused);
      EXPECT_FALSE(r.build(gc, &m));
      CountingImports::failAllocation(0);
      EXPECT_EQ(m.*r.valid, 0);
      // A later build with memory to spare completes the set.
      EXPECT_TRUE(r.build(gc, &m));
      EXPECT_EQ(m.*r.valid, 1);
    }
}

}  // namespace
}  // namespace span_stage_test
