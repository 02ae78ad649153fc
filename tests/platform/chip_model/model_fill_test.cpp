// The SiS 6326 drawing model's 2D fills: the packet, the command by the
// chip's block-write mode, and the display's pixel size (rules P1, P2).
#include "tests/platform/chip_model/model_support.h"

namespace {

class Fills : public modeltest::ModelTest {
 protected:
  // The driver's fill: the packet words, then the 16-bit command.
  void Fill(uint32_t offset, uint32_t pitch, uint32_t widthBytes, uint32_t height, uint32_t value,
            uint32_t command = 0x31, uint32_t rop = 0xCC) {
    chip.Wait(6);
    chip.Store32(SIS6326_2D_PACKET + 4, offset);
    chip.Store32(SIS6326_2D_PACKET + 8, pitch << 16);
    chip.Store32(SIS6326_2D_PACKET + 12, (height - 1) << 16 | (widthBytes - 1));
    chip.Store32(SIS6326_2D_PACKET + 16, rop << 24 | value);
    chip.Store32(SIS6326_2D_PACKET, 0);
    chip.Store16(SIS6326_2D_COMMAND, uint16_t(command));
  }
  std::vector<uint8_t> Bytes(const modeltest::Target &t) {
    const uint8_t *video = reinterpret_cast<const uint8_t *>(uintptr_t(chip.info->frameBuffer));
    return std::vector<uint8_t>(video + t.offset, video + t.offset + size_t(t.pitch) * size_t(t.height));
  }
};

TEST_F(Fills, P1_AFillChangesExactlyItsRows) {
  const modeltest::Target &t = MakeTarget(32, 8);
  uint32_t start = t.offset + uint32_t(t.pitch) + 4;
  Fill(start, uint32_t(t.pitch), 10, 3, 0x12ABCD);
  std::vector<uint8_t> before = Bytes(t);
  EXPECT_EQ(before, std::vector<uint8_t>(before.size(), 0)) << "nothing before the fire";
  Fire();
  std::vector<uint8_t> after = Bytes(t);
  for (size_t b = 0; b < after.size(); ++b) {
    size_t row = b / size_t(t.pitch), column = b % size_t(t.pitch);
    bool inside = row >= 1 && row <= 3 && column >= 4 && column < 14;
    EXPECT_EQ(after[b], inside ? ((column - 4) % 2 ? 0xAB : 0xCD) : 0) << row << ", " << column;
  }
  std::vector<SiS6326Drawn> drawn = modeltest::Drawn();
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].written, 15u);
}

TEST_F(Fills, P1_TheCommandFollowsTheBlockWriteModeAndOnlyCopyIsDefined) {
  const modeltest::Target &t = MakeTarget(16, 4);
  struct Case {
    const char *what;
    uint8_t sequencer3E;
    uint32_t command, rop;
    bool reported;
  } const cases[] = {
      {"0x31 without block write", 0x00, 0x31, 0xCC, false},
      {"0x35 with block write", 0x02, 0x35, 0xCC, false},
      {"0x35 without block write", 0x00, 0x35, 0xCC, true},
      {"0x31 with block write", 0x02, 0x31, 0xCC, true},
      {"an unknown command", 0x00, 0x131, 0xCC, true},
      {"another raster operation", 0x00, 0x31, 0xF0, true},
  };
  for (const Case &c : cases) {
    PlatformSiS6326SetSequencer(0x3E, c.sequencer3E);
    Write(t, 0);
    uint32_t at = Next() + 1;  // the packet stores make no event of their own
    Fill(t.offset, uint32_t(t.pitch), 8, 2, 0xFFFF, c.command, c.rop);
    Fire();
    std::vector<std::string> v = modeltest::TakeViolations();
    EXPECT_EQ(v, c.reported ? std::vector<std::string>{"P1@" + std::to_string(at)} : std::vector<std::string>{})
        << c.what;
    EXPECT_EQ(Read(t)[0], c.reported ? 0u : 0xFFFFu) << c.what;
  }
}

TEST_F(Fills, P2_TheDisplaysPixelSizeSpreadsTheValue) {
  struct Case {
    int bits;
    uint32_t value;
    std::vector<uint8_t> pixel;
  } const cases[] = {
      {8, 0x123456, {0x56}},
      {15, 0x12F81F, {0x1F, 0xF8}},
      {16, 0x12F81F, {0x1F, 0xF8}},
      {24, 0x123456, {0x56, 0x34, 0x12}},
      {32, 0x123456, {0x56, 0x34, 0x12, 0x00}},
  };
  for (const Case &c : cases) {
    ASSERT_TRUE(DesktopSetDisplayMode(c.bits, 640, 480));
    ASSERT_EQ(primary->lpVtbl->Restore(primary), DDERR_WRONGMODE);
    const modeltest::Target &t = MakeTarget(16, 2);
    Fill(t.offset, uint32_t(t.pitch), 12, 1, c.value);
    Fire();
    std::vector<uint8_t> row = Bytes(t);
    for (size_t b = 0; b < 12; ++b) EXPECT_EQ(row[b], c.pixel[b % c.pixel.size()]) << c.bits << " bits, byte " << b;
    EXPECT_EQ(row[12], 0) << c.bits;
    // A width that is no whole number of pixels.
    if (c.pixel.size() > 1) {
      uint32_t at = Next() + 1;
      Fill(t.offset, uint32_t(t.pitch), 13, 1, c.value);
      Fire();
      EXPECT_EQ(modeltest::TakeViolations(), std::vector<std::string>{"P2@" + std::to_string(at)}) << c.bits;
    }
  }
}

TEST_F(Fills, A6_AFillOutsideLiveSurfacesDrawsNothing) {
  const modeltest::Target &t = MakeTarget(16, 4);
  uint32_t at = Next() + 1;
  Fill(t.offset, uint32_t(t.pitch), 8, 40, 0xFFFF);  // runs far below the surface
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), std::vector<std::string>{"A6@" + std::to_string(at)});
  EXPECT_EQ(Read(t)[0], 0u);
}

}  // namespace
