// The display's colour masks on each display mode, and how a mask decodes
// to the bits and shift of a pixel-format row.
#include <gtest/gtest.h>

#include "tests/wgl/drawable/pixel_format_fixture.h"

namespace {

using pixel_format_test::PixelFormatTest;

TEST_F(PixelFormatTest, TheDisplayMasksFollowTheMode) {
  struct Case {
    int mode;
    uint32_t bits, red, green, blue;
  };
  const Case cases[] = {
      {8, 8, 0, 0, 0},
      {15, 16, 0x7C00, 0x3E0, 0x1F},
      {16, 16, 0xF800, 0x7E0, 0x1F},
      {24, 24, 0xFF0000, 0xFF00, 0xFF},
      {32, 32, 0xFF0000, 0xFF00, 0xFF},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.mode);
    SetMode(c.mode);
    uint32_t red = 1, green = 1, blue = 1, alpha = 1;
    const unsigned blocks = PlatformGetHeapStats().liveBlocks;
    EXPECT_EQ(getDisplayMasks(dc_, &red, &green, &blue, &alpha), c.bits);
    EXPECT_EQ(red, c.red);
    EXPECT_EQ(green, c.green);
    EXPECT_EQ(blue, c.blue);
    EXPECT_EQ(alpha, 0u);
    EXPECT_EQ(PlatformGetHeapStats().liveBlocks, blocks);
  }
}

// Either description failing gives no depth and leaves the masks as they
// were: the list is then not built from a half-read header.
TEST_F(PixelFormatTest, AFailedDescriptionGivesNoDepth) {
  SetMode(16);
  for (unsigned skip : {0u, 1u}) {
    SCOPED_TRACE(skip == 0 ? "the header" : "the masks");
    const unsigned blocks = PlatformGetHeapStats().liveBlocks;
    PlatformArmFault({"GetDIBits", nullptr, skip, 1, 0});
    uint32_t red = 1, green = 1, blue = 1, alpha = 1;
    EXPECT_EQ(getDisplayMasks(dc_, &red, &green, &blue, &alpha), 0u);
    EXPECT_EQ(PlatformFaultsFired("GetDIBits"), 1u);
    PlatformClearFaults();
    EXPECT_EQ(red + green + blue + alpha, 4u);
    EXPECT_EQ(PlatformGetHeapStats().liveBlocks, blocks);
    EXPECT_EQ(getDisplayMasks(dc_, &red, &green, &blue, &alpha), 16u);
    EXPECT_EQ(red, 0xF800u);
  }
}

TEST(PixelFormatMasks, AMaskDecodesToItsLowestRun) {
  struct Case {
    uint32_t mask;
    int bits, shift;
  };
  const Case cases[] = {
      {0, 0, 0},           {0xF800, 5, 11},     {0x7E0, 6, 5},       {0x1F, 5, 0},
      {0x7C00, 5, 10},     {0xFF0000, 8, 16},   {0xE0, 3, 5},        {0x03, 2, 0},
      {0xFF000000, 8, 24}, {0x80000000, 1, 31}, {0xFFFFFFFF, 32, 0}, {0x0F0F, 4, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.mask);
    uint8_t bits = 99, shift = 99;
    __wglDecodeColorMask(c.mask, &bits, &shift);
    EXPECT_EQ(bits, c.bits);
    EXPECT_EQ(shift, c.shift);
  }
}

}  // namespace
