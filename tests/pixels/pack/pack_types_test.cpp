// Floats to client types: the component types, indices, non-component
// words and packed layouts, against values worked out from the rounding
// rules, including values outside the range the chains clamp to.
#include <cmath>
#include <limits>

#include "pixels/px_enums.h"
#include "pixels/px_packer.h"
#include "tests/pixels/unpack/stage_fixture.h"

namespace span_stage_test {
namespace {

class Pack : public StageTest {
 protected:
  void SetUp() override {
    StageTest::SetUp();
    info.dstSpanComponents = 1;
  }
  template <typename T>
  T One(GlSpanModifier stage, float v) {
    return RunAs<T>(stage, &v, 1)[0];
  }
};

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST_F(Pack, UnsignedTypesRound) {
  EXPECT_EQ(One<uint8_t>(__glSpanPackUbyte, 1.0f), 255);
  EXPECT_EQ(One<uint8_t>(__glSpanPackUbyte, 0.998f), 254);  // 254.49 + 0.5, truncated
  EXPECT_EQ(One<uint8_t>(__glSpanPackUbyte, 0.5f), 128);
  EXPECT_EQ(One<uint8_t>(__glSpanPackUbyte, 0.0f), 0);
  EXPECT_EQ(One<uint16_t>(__glSpanPackUshort, 1.0f), 65535);
  EXPECT_EQ(One<uint16_t>(__glSpanPackUshort, 0.5f), 32768);
  EXPECT_EQ(One<uint32_t>(__glSpanPackUint, 1.0f), 4294964992u);
  EXPECT_EQ(One<uint32_t>(__glSpanPackUint, 0.0f), 0u);
  EXPECT_EQ(One<uint32_t>(__glSpanPackUint, 0.5f), 2147482496u);
}

TEST_F(Pack, SignedTypesTakeTheFloorOfHalf) {
  EXPECT_EQ(One<int8_t>(__glSpanPackByte, 1.0f), 127);
  EXPECT_EQ(One<int8_t>(__glSpanPackByte, -1.0f), -128);
  EXPECT_EQ(One<int8_t>(__glSpanPackByte, 0.0f), 0);
  EXPECT_EQ(One<int8_t>(__glSpanPackByte, -0.001f), -1);
  EXPECT_EQ(One<int16_t>(__glSpanPackShort, -1.0f), -32768);
  EXPECT_EQ(One<int16_t>(__glSpanPackShort, 1.0f), 32767);
  EXPECT_EQ(One<int32_t>(__glSpanPackInt, 1.0f), 2147482496);
  EXPECT_EQ(One<int32_t>(__glSpanPackInt, -1.0f), -2147482496);
}

// Unclamped and not-a-number values still give a defined element: the low
// bits of the integer, 0 for NaN.
TEST_F(Pack, OutOfRangeValuesKeepTheLowBits) {
  EXPECT_EQ(One<uint8_t>(__glSpanPackUbyte, 2.0f), uint8_t(510));
  EXPECT_EQ(One<uint8_t>(__glSpanPackUbyte, -1.0f), uint8_t(-254));
  EXPECT_EQ(One<uint8_t>(__glSpanPackUbyte, kNaN), 0);
  EXPECT_EQ(One<uint32_t>(__glSpanPackUint, 2.0f), uint32_t(8589929984ull));
  EXPECT_EQ(One<uint32_t>(__glSpanPackUint, -0.5f), uint32_t(int64_t(-2147482496)));
  EXPECT_EQ(One<uint32_t>(__glSpanPackUint, kNaN), 0u);
  EXPECT_EQ(One<uint32_t>(__glSpanPackUint, 1e30f), uint32_t(UINT64_MAX >> 1));
  // The products are single precision.
  const float product = 4294964992.0f * 1.5f * 0.5f;
  EXPECT_EQ(One<int32_t>(__glSpanPackInt, 1.5f), int32_t(uint32_t(int64_t(product))));
  EXPECT_EQ(One<int16_t>(__glSpanPackShort, kNaN), 0);
}

TEST_F(Pack, IndicesAreTruncatedAndMasked) {
  EXPECT_EQ(One<int8_t>(__glSpanPackByteI, 200.0f), 72);
  EXPECT_EQ(One<uint8_t>(__glSpanPackUbyteI, 300.0f), 44);
  EXPECT_EQ(One<uint8_t>(__glSpanPackUbyteI, 7.9f), 7);
  EXPECT_EQ(One<int16_t>(__glSpanPackShortI, 40000.0f), 40000 & 0x7FFF);
  EXPECT_EQ(One<int16_t>(__glSpanPackShortI, -1.0f), 0x7FFF);
  EXPECT_EQ(One<uint16_t>(__glSpanPackUshortI, 70000.0f), 70000 & 0xFFFF);
  EXPECT_EQ(One<int32_t>(__glSpanPackIntI, -2.0f), 0x7FFFFFFE);
  EXPECT_EQ(One<uint32_t>(__glSpanPackUintI, 4294967296.0f), 0u);
  EXPECT_EQ(One<uint32_t>(__glSpanPackUintI, 4000000000.0f), 4000000000u);
  EXPECT_EQ(One<uint32_t>(__glSpanPackUintI, kNaN), 0u);
  // One value per pixel, whatever the span's component count says.
  info.dstSpanComponents = 4;
  info.width = info.spanWidth = 2;
  const float two[] = {1, 2, 3, 4};
  EXPECT_EQ(RunAs<uint8_t>(__glSpanPackUbyteI, two, 2), (std::vector<uint8_t>{1, 2}));
}

TEST_F(Pack, NonComponentWordsKeepTheirLowBits) {
  info.dstSpanComponents = 2;
  info.width = info.spanWidth = 2;
  const float v[] = {300, -1, 65537, 7.5f};
  EXPECT_EQ(RunAs<uint8_t>(__glSpanPackNonCompUbyte, v, 4), (std::vector<uint8_t>{44, 255, 1, 7}));
  EXPECT_EQ(RunAs<int8_t>(__glSpanPackNonCompByte, v, 4), (std::vector<int8_t>{44, -1, 1, 7}));
  EXPECT_EQ(RunAs<uint16_t>(__glSpanPackNonCompUshort, v, 4),
            (std::vector<uint16_t>{300, 65535, 1, 7}));
  EXPECT_EQ(RunAs<int16_t>(__glSpanPackNonCompShort, v, 4), (std::vector<int16_t>{300, -1, 1, 7}));
  EXPECT_EQ(RunAs<uint32_t>(__glSpanPackNonCompUint, v, 4),
            (std::vector<uint32_t>{300, 0xFFFFFFFF, 65537, 7}));
  EXPECT_EQ(RunAs<int32_t>(__glSpanPackNonCompInt, v, 4), (std::vector<int32_t>{300, -1, 65537, 7}));
}

struct PackedCase {
  const char *what;
  GlSpanModifier stage;
  std::vector<float> rgba;
  uint32_t expected;
  int bytes;
};

TEST_F(Pack, PackedLayoutsTruncateEachField) {
  const PackedCase rows[] = {
      {"4-4-4-4, half green truncates", __glSpanPack4444Ushort, {1, 0.5f, 0, 1}, 0xF70F, 2},
      {"5-5-5-1, alpha 0.9 is 0", __glSpanPack5551Ushort, {0, 0, 0, 0.9f}, 0x0000, 2},
      {"5-5-5-1, alpha 1", __glSpanPack5551Ushort, {0, 0, 0, 1}, 0x0001, 2},
      {"5-5-5-1 colours", __glSpanPack5551Ushort, {1, 0.5f, 0.1f, 0}, 0xFBC6, 2},
      {"8-8-8-8", __glSpanPack8888Uint, {1, 0, 0, 1}, 0xFF0000FF, 4},
      {"8-8-8-8 truncates", __glSpanPack8888Uint, {0.999f, 0.5f, 0.2f, 0}, 0xFE7F3300, 4},
      {"10-10-10-2", __glSpanPack_10_10_10_2_Uint, {1, 0.5f, 0, 0.7f}, 0xFFDFF002, 4},
      {"3-3-2 white", __glSpanPack332Ubyte, {1, 1, 1}, 0xFF, 1},
      {"3-3-2 thirds", __glSpanPack332Ubyte, {0.3f, 0.3f, 0.34f}, 0x49, 1},
      {"5-6-5", __glSpanPack565Ushort, {1, 0.5f, 1}, 0xFBFF, 2},
      {"X-5-5-5 sets the top bit", __glSpanPackX555Ushort, {0, 0, 0}, 0x8000, 2},
      {"X-5-5-5 white", __glSpanPackX555Ushort, {1, 1, 1}, 0xFFFF, 2},
      {"1-5-5-5", __glSpanPack1555Ushort, {1, 0, 0.5f, 1}, 0xFC0F, 2},
      {"A-R-G-B 4-4-4-4", __glSpanPackARGB4444Ushort, {1, 0.5f, 0, 0.2f}, 0x3F70, 2},
      {"fields are masked", __glSpanPack4444Ushort, {2, -0.1f, 0, 0}, 0xEF00, 2},
  };
  for (const PackedCase &r : rows) {
    SCOPED_TRACE(r.what);
    info.width = info.spanWidth = 1;
    const std::vector<uint8_t> out = Run(r.stage, r.rgba.data(), r.bytes);
    uint32_t element = 0;
    memcpy(&element, out.data(), r.bytes);
    EXPECT_EQ(element, r.expected) << std::hex << element;
  }
}

TEST_F(Pack, CopyMovesComponentsTimesElementBytes) {
  info.srcComponents = 3, info.srcElementSize = 2, info.width = info.spanWidth = 3;
  uint8_t in[18];
  for (int i = 0; i < 18; i++) in[i] = uint8_t(i + 1);
  EXPECT_EQ(Run(__glSpanCopy, in, 18), std::vector<uint8_t>(in, in + 18));
}

TEST_F(Pack, TexelPackersKeepTheTopBits) {
  struct Row {
    const char *what;
    GlSpanModifier stage;
    std::vector<uint8_t> in;
    uint16_t expected;
  } rows[] = {
      {"L8 white to 5-6-5", __glSpanPackL8ToRGB565, {0xFF}, 0xFFFF},
      {"L8 black to X-1-5-5-5", __glSpanPackL8ToXRGB1555, {0x00}, 0x8000},
      {"L8 0x84 to X-1-5-5-5", __glSpanPackL8ToXRGB1555, {0x84}, 0x8000 | 16 << 10 | 16 << 5 | 16},
      {"L8 0x84 to 5-6-5", __glSpanPackL8ToRGB565, {0x84}, 16 << 11 | 33 << 5 | 16},
      {"RGB8 to X-1-5-5-5", __glSpanPackRGB8ToXRGB1555, {0xFF, 0x08, 0x10}, 0xFC22},
      {"RGBA8 to X-1-5-5-5 ignores alpha", __glSpanPackRGBA8ToXRGB1555, {0, 0, 0, 0xFF}, 0x8000},
      {"RGB8 to 5-6-5", __glSpanPackRGB8ToRGB565, {0x08, 0x04, 0xFF}, 0x083F},
      {"RGBA8 to 5-6-5 ignores alpha", __glSpanPackRGBA8ToRGB565, {0, 0, 0, 0xFF}, 0x0000},
      {"LA8 to A-1-5-5-5", __glSpanPackLA8ToARGB1555, {0xFF, 0x80}, 0xFFFF},
      {"LA8 alpha below half", __glSpanPackLA8ToARGB1555, {0x00, 0x7F}, 0x0000},
      {"RGBA8 to A-1-5-5-5", __glSpanPackRGBA8ToARGB1555, {0x08, 0, 0, 0x80}, 0x8400},
      {"LA8 to A-4-4-4-4", __glSpanPackLA8ToARGB4, {0x9F, 0x3F}, 0x3999},
      {"RGBA8 to A-4-4-4-4", __glSpanPackRGBA8ToARGB4, {0x10, 0x2F, 0xF0, 0xC0}, 0xC12F},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.what);
    info.width = info.spanWidth = 2;
    std::vector<uint8_t> two = r.in;
    two.insert(two.end(), r.in.begin(), r.in.end());
    EXPECT_EQ(RunAs<uint16_t>(r.stage, two.data(), 2),
              (std::vector<uint16_t>{r.expected, r.expected}));
  }
}

}  // namespace
}  // namespace span_stage_test
