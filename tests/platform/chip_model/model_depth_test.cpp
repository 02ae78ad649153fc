// The SiS 6326 drawing model's depth: the test and write bits, the two
// formats and their scales, the eight functions, and the order of the tests
// (rules D1-D4).
#include <cmath>

#include "tests/platform/chip_model/model_support.h"

namespace {

using modeltest::Vertex;

constexpr uint32_t kZTest = 1u << 20, kZWrite = 1u << 21, kAlphaTest = 1u << 17;

class Depth : public modeltest::ModelTest {
 protected:
  // A point at pixel (1, 1) with depth z, colour white, into t with the Z
  // buffer z of the given format and function.
  void PointAt(const modeltest::Target &t, const modeltest::Target &zb, uint32_t mode, uint32_t format,
               uint32_t function, float z) {
    DrawInto(t, mode);
    Reg(modeltest::kZ, format << 20 | function << 16 | uint32_t(zb.pitch));
    Reg(modeltest::kZAddress, zb.offset);
    Point({1, 1, z, 0xFFFFFFFF});
    Fire();
  }
  uint8_t Peek(uint32_t offset) const {
    return reinterpret_cast<const uint8_t *>(uintptr_t(chip.info->frameBuffer))[offset];
  }
};

TEST_F(Depth, D1_TheWriteBitAloneTouchesNoDepth) {
  const modeltest::Target &t = MakeTarget(4, 4);
  uint8_t before[64];
  for (uint32_t i = 0; i < 64; ++i) before[i] = Peek(i);
  DrawInto(t, kZWrite);
  Reg(modeltest::kZ, 1u << 20 | 7u << 16 | 64);
  Reg(modeltest::kZAddress, 0);  // the primary surface, as at bring-up
  Point({1, 1, 0.25f, 0xFFFFFFFF});
  Fire();
  for (uint32_t i = 0; i < 64; ++i) EXPECT_EQ(Peek(i), before[i]) << i;
  EXPECT_EQ(Read(t)[5], 0xFFFFu);
}

TEST_F(Depth, D2_StoredValuesByFormat) {
  const modeltest::Target &t = MakeTarget(4, 4);
  const modeltest::Target &z16 = MakeZ(4, 4, 16);
  const modeltest::Target &z32 = MakeZ(4, 4, 32);
  const uint32_t bits = 0x3F7FFFEF;
  float belowOne;
  std::memcpy(&belowOne, &bits, 4);
  struct Case {
    float z;
    uint32_t format, expected;
  } const cases[] = {
      {0.5f, 1, 32767},      {0.5f, 3, 1071644672}, {belowOne, 1, 65534}, {1.5f, 1, 65535},
      {-0.5f, 1, 0},         {1.0f, 3, 2143289344}, {0.25f, 3, 535822336},
  };
  for (const Case &c : cases) {
    const modeltest::Target &zb = c.format == 1 ? z16 : z32;
    Write(zb, 0);
    PointAt(t, zb, kZTest | kZWrite, c.format, 7, c.z);
    EXPECT_EQ(Read(zb)[5], c.expected) << c.z << " format " << c.format;
  }
  for (uint32_t format : {0u, 2u}) {
    uint32_t at = Next() + 15;  // after seven registers and the point's wait
    PointAt(t, z16, kZTest, format, 7, 0.5f);
    EXPECT_EQ(modeltest::TakeViolations(), std::vector<std::string>{"D2@" + std::to_string(at)});
  }
  uint32_t at = Next() + 15;
  PointAt(t, z16, kZTest, 1, 7, NAN);
  EXPECT_EQ(modeltest::TakeViolations(), std::vector<std::string>{"D2@" + std::to_string(at)});
}

TEST_F(Depth, D3_TheEightFunctionsCompareUnsigned) {
  const modeltest::Target &t = MakeTarget(4, 4);
  const modeltest::Target &zb = MakeZ(4, 4, 16);
  const uint32_t stored[] = {0, 100, 32766, 32767, 32768, 65535};
  for (uint32_t function = 0; function < 8; ++function)
    for (uint32_t s : stored) {
      Write(t, 0);
      Write(zb, s);
      PointAt(t, zb, kZTest | kZWrite, 1, function, 0.5f);  // new value 32767
      const uint32_t fresh = 32767;
      const bool pass[8] = {false, fresh < s, fresh == s, fresh <= s, fresh > s, fresh != s, fresh >= s, true};
      EXPECT_EQ(Read(t)[5] != 0, pass[function]) << "function " << function << " stored " << s;
      EXPECT_EQ(Read(zb)[5], pass[function] ? fresh : s) << "function " << function << " stored " << s;
    }
  // Without the write bit the test still decides, and Z stays.
  Write(t, 0);
  Write(zb, 40000);
  PointAt(t, zb, kZTest, 1, 1, 0.5f);
  EXPECT_EQ(Read(t)[5], 0xFFFFu);
  EXPECT_EQ(Read(zb)[5], 40000u);
}

TEST_F(Depth, D4_AFragmentFailingTheAlphaTestLeavesDepthUnchanged) {
  const modeltest::Target &t = MakeTarget(4, 4);
  const modeltest::Target &zb = MakeZ(4, 4, 16);
  Write(zb, 60000);
  DrawInto(t, kZTest | kZWrite | kAlphaTest);
  Reg(modeltest::kAlpha, 4u << 24 | 200u << 16);  // greater than 200
  Reg(modeltest::kZ, 1u << 20 | 7u << 16 | uint32_t(zb.pitch));
  Reg(modeltest::kZAddress, zb.offset);
  Point({1, 1, 0.5f, 0x10FFFFFF});
  Fire();
  EXPECT_EQ(Read(zb)[5], 60000u);
  EXPECT_EQ(Read(t)[5], 0u);
}

}  // namespace
