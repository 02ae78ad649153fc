// Client values to floats: the component types, colour indices and
// stencil values, non-component words and the packed layouts, each against
// values worked out from the conversion rules.
#include <cmath>

#include "pixels/px_enums.h"
#include "pixels/px_unpack.h"
#include "tests/pixels/unpack/stage_fixture.h"

namespace span_stage_test {
namespace {

class Unpack : public StageTest {};

// The context's reciprocals, held as floats.
constexpr float kByteStep = 1.0f / 255.0f;
constexpr float kShortStep = 1.0f / 65535.0f;
constexpr float kUintStep = 1.0f / 4294964992.0f;

TEST_F(Unpack, ComponentTypesNormalise) {
  info.srcSpanComponents = 1;
  struct Row {
    const char *what;
    GlSpanModifier stage;
    std::vector<uint8_t> bytes;  // one element
    float expected;
  };
  auto bytesOf = [](auto v) {
    std::vector<uint8_t> b(sizeof v);
    memcpy(b.data(), &v, sizeof v);
    return b;
  };
  const Row rows[] = {
      {"ubyte 0", __glSpanUnpackUbyte, {0}, 0.0f},
      {"ubyte 255", __glSpanUnpackUbyte, {255}, 255.0f * kByteStep},
      {"ubyte 128", __glSpanUnpackUbyte, {128}, 128.0f * kByteStep},
      {"byte -128", __glSpanUnpackByte, bytesOf(int8_t(-128)), -1.0f},
      {"byte 127", __glSpanUnpackByte, bytesOf(int8_t(127)), 1.0f},
      {"byte 0", __glSpanUnpackByte, bytesOf(int8_t(0)), float(1.0L * kByteStep)},
      {"ushort 65535", __glSpanUnpackUshort, bytesOf(uint16_t(65535)),
       float(65535.0L * kShortStep)},
      {"ushort 1", __glSpanUnpackUshort, bytesOf(uint16_t(1)), kShortStep},
      {"short -32768", __glSpanUnpackShort, bytesOf(int16_t(-32768)), -1.0f},
      {"short 32767", __glSpanUnpackShort, bytesOf(int16_t(32767)), 1.0f},
      {"uint 0", __glSpanUnpackUint, bytesOf(uint32_t(0)), 0.0f},
      {"uint 4294964992", __glSpanUnpackUint, bytesOf(uint32_t(4294964992u)),
       float(4294964992.0L * kUintStep)},
      {"int -2^31", __glSpanUnpackInt, bytesOf(int32_t(INT32_MIN)),
       float((2.0L * INT32_MIN + 1.0L) * kUintStep)},
      {"int 2^31 - 1", __glSpanUnpackInt, bytesOf(int32_t(INT32_MAX)),
       float((2.0L * INT32_MAX + 1.0L) * kUintStep)},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(RunAs<float>(r.stage, r.bytes.data(), 1)[0], r.expected);
  }
  // All ones is above 1.0: the divisor is the float just below 2^32.
  const uint32_t top = 4294967295u;
  const float v = RunAs<float>(__glSpanUnpackUint, &top, 1)[0];
  EXPECT_GT(v, 1.0f);
  EXPECT_LT(v, 1.0f + 1e-6f);
}

// Each product is rounded once, from extended precision, and every element
// of the span is converted: components x width.
TEST_F(Unpack, EveryComponentOfEveryPixel) {
  info.srcSpanComponents = 3;
  info.width = info.spanWidth = 5;
  int16_t shorts[15];
  for (int i = 0; i < 15; i++) shorts[i] = int16_t(i * 4000 - 30000);
  const std::vector<float> out = RunAs<float>(__glSpanUnpackShort, shorts, 15);
  for (int i = 0; i < 15; i++)
    EXPECT_EQ(out[i], float((2.0L * shorts[i] + 1.0L) * kShortStep)) << i;
  // Unsigned bytes come from the context's table.
  uint8_t bytes[15];
  for (int i = 0; i < 15; i++) bytes[i] = uint8_t(i * 17);
  const std::vector<float> u = RunAs<float>(__glSpanUnpackUbyte, bytes, 15);
  for (int i = 0; i < 15; i++) EXPECT_EQ(u[i], gc->constants.uByteToFloat[bytes[i]]) << i;
}

TEST_F(Unpack, IndicesAreTheFloatsOfTheSameIntegers) {
  info.width = info.spanWidth = 3;
  info.srcSpanComponents = 4;  // indices take one value per pixel whatever this says
  const uint8_t ub[] = {0, 200, 255};
  const int8_t b[] = {-128, -1, 127};
  const uint16_t us[] = {0, 40000, 65535};
  const int16_t s[] = {-32768, -5, 32767};
  const uint32_t ui[] = {0, 16777216, 4294967295u};
  const int32_t i[] = {INT32_MIN, -7, 123456};
  EXPECT_EQ(RunAs<float>(__glSpanUnpackUbyteI, ub, 3), (std::vector<float>{0, 200, 255}));
  EXPECT_EQ(RunAs<float>(__glSpanUnpackByteI, b, 3), (std::vector<float>{-128, -1, 127}));
  EXPECT_EQ(RunAs<float>(__glSpanUnpackUshortI, us, 3), (std::vector<float>{0, 40000, 65535}));
  EXPECT_EQ(RunAs<float>(__glSpanUnpackShortI, s, 3), (std::vector<float>{-32768, -5, 32767}));
  EXPECT_EQ(RunAs<float>(__glSpanUnpackUintI, ui, 3),
            (std::vector<float>{0, 16777216.0f, 4294967296.0f}));
  EXPECT_EQ(RunAs<float>(__glSpanUnpackIntI, i, 3),
            (std::vector<float>{-2147483648.0f, -7, 123456}));
  // Non-component words: every component, unnormalised.
  info.width = info.spanWidth = 1;
  info.srcSpanComponents = 3;
  EXPECT_EQ(RunAs<float>(__glSpanUnpackNonCompUint, ui, 3),
            (std::vector<float>{0, 16777216.0f, 4294967296.0f}));
}

struct PackedCase {
  const char *what;
  GlSpanModifier stage;
  uint32_t element;
  int bytes;
  std::vector<float> expected;
};

TEST_F(Unpack, PackedLayoutsSplitIntoFields) {
  const float third = float(1.0 / 3.0), seventh = float(1.0 / 7.0);
  const PackedCase rows[] = {
      {"3-3-2 all ones", __glSpanUnpack332Ubyte, 0xFF, 1, {1, 1, 1}},
      {"3-3-2 0x24", __glSpanUnpack332Ubyte, 0x24, 1, {seventh, seventh, 0}},
      {"3-3-2 blue 1", __glSpanUnpack332Ubyte, 0x01, 1, {0, 0, third}},
      {"4-4-4-4", __glSpanUnpack4444Ushort, 0xF70F, 2, {1, float(7.0 / 15), 0, 1}},
      {"A-R-G-B 4-4-4-4", __glSpanUnpackARGB4444Ushort, 0x1F70, 2,
       {1, float(7.0 / 15), 0, float(1.0 / 15)}},
      {"5-5-5-1 alpha only", __glSpanUnpack5551Ushort, 0x0001, 2, {0, 0, 0, 1}},
      {"5-5-5-1 fields", __glSpanUnpack5551Ushort, 0x8042, 2,
       {float(16.0 / 31), float(1.0 / 31), float(1.0 / 31), 0}},
      {"8-8-8-8", __glSpanUnpack8888Uint, 0xFF00807F, 4,
       {1, 0, float(128.0 / 255), float(127.0 / 255)}},
      {"10-10-10-2", __glSpanUnpack_10_10_10_2_Uint, 0xFFC00401, 4,
       {1, 0, float(256.0 / 1023), third}},
      {"5-6-5: green divides by 63", __glSpanUnpack565Ushort, 0x0020, 2, {0, float(1.0 / 63), 0}},
      {"5-6-5 white", __glSpanUnpack565Ushort, 0xFFFF, 2, {1, 1, 1}},
      {"X-5-5-5 ignores the top bit", __glSpanUnpackX555Ushort, 0x8000, 2, {0, 0, 0}},
      {"X-5-5-5 fields", __glSpanUnpackX555Ushort, 0x7C1F, 2, {1, 0, 1}},
      {"1-5-5-5 alpha", __glSpanUnpack1555Ushort, 0x8000, 2, {0, 0, 0, 1}},
      {"1-5-5-5 red", __glSpanUnpack1555Ushort, 0x7C00, 2, {1, 0, 0, 0}},
  };
  for (const PackedCase &r : rows) {
    SCOPED_TRACE(r.what);
    // Two pixels: the second element is the first's complement, so that a
    // stage that reads the wrong stride shows.
    info.width = info.spanWidth = 2;
    uint8_t in[8];
    const uint32_t other = ~r.element;
    memcpy(in, &r.element, r.bytes);
    memcpy(in + r.bytes, &other, r.bytes);
    const size_t n = r.expected.size();
    const std::vector<float> out = RunAs<float>(r.stage, in, 2 * n);
    EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + n), r.expected);
    info.width = info.spanWidth = 1;
    const std::vector<float> second = RunAs<float>(r.stage, in + r.bytes, n);
    EXPECT_EQ(std::vector<float>(out.begin() + n, out.end()), second);
  }
}

// The shortcuts walk the width source pixels and sample 1, 3 or 4 bytes
// per output pixel by the run array.
TEST_F(Unpack, ByteShortcutsSampleByTheRunArray) {
  uint8_t in[64];
  for (int i = 0; i < 64; i++) in[i] = uint8_t(i);
  int16_t run[] = {2, 1, 3, 1};
  info.pixelArray = run;
  info.width = 7, info.spanWidth = 4;
  EXPECT_EQ(Run(__glSpanUnpackIndexUbyte, in, 4), (std::vector<uint8_t>{0, 2, 3, 6}));
  EXPECT_EQ(Run(__glSpanUnpackRGBubyte, in, 12),
            (std::vector<uint8_t>{0, 1, 2, 6, 7, 8, 9, 10, 11, 18, 19, 20}));
  EXPECT_EQ(Run(__glSpanUnpackRGBAubyte, in, 16),
            (std::vector<uint8_t>{0, 1, 2, 3, 8, 9, 10, 11, 12, 13, 14, 15, 24, 25, 26, 27}));
}

}  // namespace
}  // namespace span_stage_test
