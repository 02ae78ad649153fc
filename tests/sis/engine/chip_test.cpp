// Chip identification through the sequencer flag and the PCI BIOS, the
// sequencer reads, and the bring-up a new context gives the chip.
#include <string.h>

#include "tests/sis/engine/engine_fixture.h"

namespace {

using sisengine::EngineTest;
using sisengine::Script;

class ChipIdentification : public EngineTest {
 protected:
  static void Present(WORD device, BYTE revision, bool flag) {
    PlatformSiS6326SetChip(device, revision);
    PlatformSiS6326SetSequencer(0x10, flag ? 0x80 : 0x00);
  }
};

TEST_F(ChipIdentification, EveryRowOfTheTableGivesItsCode) {
  struct Row {
    WORD device;
    BYTE revision;
    bool flag;
    uint32_t code;
  } const rows[] = {
      {0x6326, 0xAF, 0, 0x17}, {0x6326, 0xC1, 0, 0x18}, {0x6326, 0x92, 0, 0x23},
      {0x6326, 0x92, 1, 0x23}, {0x6326, 0x0A, 0, 0x1C}, {0x6326, 0xD0, 0, 0x21},
      {0x6326, 0xD1, 0, 0x22}, {0x6326, 0xD2, 0, 0x23}, {0x6326, 0xD2, 1, 0x23},
      {0x6326, 0x0B, 0, 0x26}, {0x6326, 0x0B, 1, 0x26}, {0x0200, 0x6F, 0, 0x0A},
      {0x0205, 0x6F, 0, 0x0A}, {0x0205, 0x44, 1, 0x04}, {0x0205, 0xD3, 1, 0x05},
      {0x0204, 0x2F, 1, 0x06}, {0x0205, 0x44, 0, 0x07}, {0x0205, 0xD3, 0, 0x08},
  };
  for (const Row &r : rows) {
    Present(r.device, r.revision, r.flag);
    // The argument only matters when nothing matches.
    for (uint32_t argument : {0u, 7u})
      EXPECT_EQ(T05_GetChipVer(argument), r.code)
          << std::hex << r.device << " rev " << int(r.revision) << " flag " << r.flag;
  }
}

TEST_F(ChipIdentification, ARevisionEndingInFMatchesItsWholeHighNibble) {
  struct Case {
    WORD device;
    BYTE revision;
    bool flag;
    uint32_t code;  // argument 0: 0 when no row matches
  } const cases[] = {
      {0x0204, 0x2A, 1, 0x06},  // the row with revision 0x2F
      {0x0204, 0x20, 1, 0x06},
      {0x0204, 0x2A, 0, 0x00},  // the flag must match too
      {0x0204, 0x3A, 1, 0x00},  // another high nibble
      {0x6326, 0xA3, 0, 0x17},  // the 0xAF row
      {0x6326, 0xA3, 1, 0x00},
      {0x0200, 0x61, 0, 0x0A},
      {0x0205, 0x6E, 0, 0x0A},
      {0x6326, 0xD5, 0, 0x00},  // exact rows do not widen
      {0x6326, 0x0C, 0, 0x00},
  };
  for (const Case &c : cases) {
    Present(c.device, c.revision, c.flag);
    EXPECT_EQ(T05_GetChipVer(0), c.code)
        << std::hex << c.device << " rev " << int(c.revision) << " flag " << c.flag;
  }
}

TEST_F(ChipIdentification, OnlyBit7OfSequencer10IsTheFlag) {
  struct Case {
    BYTE sequencer10;
    uint32_t code;
  } const cases[] = {{0x80, 0x04}, {0xFF, 0x04}, {0x7F, 0x07}, {0x00, 0x07}};
  PlatformSiS6326SetChip(0x0205, 0x44);
  for (const Case &c : cases) {
    PlatformSiS6326SetSequencer(0x10, c.sequencer10);
    EXPECT_EQ(T05_GetChipVer(0), c.code) << std::hex << int(c.sequencer10);
  }
}

TEST_F(ChipIdentification, NoMatchGives0x17OnlyForArgument7) {
  struct Case {
    WORD device;
    BYTE revision;
    uint32_t argument, code;
  } const cases[] = {
      {0x0000, 0x00, 7, 0x17},  // no SiS device on the bus
      {0x0000, 0x00, 0, 0x00},
      {0x0000, 0x00, 6, 0x00},
      {0x0000, 0x00, 8, 0x00},
      {0x0000, 0x00, 0x107, 0x00},
      {0x6326, 0x55, 7, 0x17},  // a revision no row knows
      {0x6326, 0x55, 1, 0x00},
      {0x1234, 0xD2, 7, 0x17},  // a device no row knows
  };
  for (const Case &c : cases) {
    Present(c.device, c.revision, false);
    EXPECT_EQ(T05_GetChipVer(c.argument), c.code)
        << std::hex << c.device << " rev " << int(c.revision) << " argument " << c.argument;
  }
}

TEST_F(ChipIdentification, AFailingPciCallDoesNotMatch) {
  struct Case {
    const char *call;
    unsigned count;  // 0: every call fails
    WORD device;
    BYTE revision;
    uint32_t argument, code;
  } const cases[] = {
      {"PciBiosFindDevice", 0, 0x6326, 0xD2, 7, 0x17},
      {"PciBiosFindDevice", 0, 0x6326, 0xD2, 0, 0x00},
      {"PciBiosReadConfigByte", 0, 0x6326, 0xD2, 0, 0x00},
      // The first row's look-up fails; no later row knows revision 0xAF.
      {"PciBiosFindDevice", 1, 0x6326, 0xAF, 0, 0x00},
      {"PciBiosReadConfigByte", 1, 0x6326, 0xAF, 0, 0x00},
      // A passing failure on an earlier row leaves the matching row alone.
      {"PciBiosFindDevice", 1, 0x6326, 0xD2, 0, 0x23},
  };
  for (const Case &c : cases) {
    PlatformClearFaults();
    Present(c.device, c.revision, false);
    PlatformArmFault({c.call, nullptr, 0, c.count, 0});
    EXPECT_EQ(T05_GetChipVer(c.argument), c.code) << c.call << " " << c.count << " rev "
                                                  << std::hex << int(c.revision);
    EXPECT_GT(PlatformFaultsFired(c.call), 0u) << c.call;
  }
}

TEST_F(ChipIdentification, BlockWriteIsBit1OfSequencer3E) {
  struct Case {
    BYTE sequencer3E;
    uint32_t blockWrite;
  } const cases[] = {{0x02, 1}, {0x03, 1}, {0xFF, 1}, {0x00, 0}, {0xFD, 0}, {0x01, 0}};
  for (const Case &c : cases) {
    PlatformSiS6326SetSequencer(0x3E, c.sequencer3E);
    EXPECT_EQ(sis::IsBlockWrite(), c.blockWrite) << std::hex << int(c.sequencer3E);
  }
}

TEST_F(ChipIdentification, SequencerReadsGoThroughTheBlocksPortBase) {
  for (BYTE index : {BYTE(0x10), BYTE(0x3D), BYTE(0x3E), BYTE(0xFF)}) {
    PlatformSiS6326SetSequencer(index, BYTE(index ^ 0x5A));
    EXPECT_EQ(sis::GetSRReg(index), BYTE(index ^ 0x5A)) << int(index);
    EXPECT_EQ(SiS6326PortIn(SIS6326_SEQUENCER_INDEX_PORT), index);
  }
  // Reads change nothing the chip logs.
  EXPECT_TRUE(Log().empty());
}

TEST_F(ChipIdentification, WithoutTheDisplayDriverNothingIsRead) {
  __wglProcess.lpDispData = nullptr;
  PlatformSiS6326SetSequencer(0x3E, 0x02);
  EXPECT_EQ(sis::GetSRReg(0x3E), 0);
  EXPECT_EQ(sis::IsBlockWrite(), 0u);
  EXPECT_EQ(mWait3DCmdQueue(5), 1);
  EXPECT_EQ(chip.Counter(), short(SIS6326_QUEUE_SLOTS - DD326_QUEUE_RESERVE));
  GlSiSContext *block = static_cast<GlSiSContext *>(calloc(1, sizeof(GlSiSContext)));
  EXPECT_EQ(Init6326HW3D(&block->gc), 1);
  EXPECT_EQ(block->sis.mmioBase, nullptr);
  free(block);
  EXPECT_TRUE(Log().empty());
}

// ---- Bring-up ------------------------------------------------------------------------

class BringUp : public EngineTest {};

constexpr const char *kBringUpWrites =
    "w10 8A00=200880 8A04=130000 8A0C=0 8A14=C000000 8A1C=0 8A20=1000000 8A28=1000000 "
    "8A38=30000 8A3C=82000000 8A40=0";

TEST_F(BringUp, IsOneWaitForTenSlotsThenTheTenWrites) {
  struct Case {
    WORD device;
    BYTE revision;
    uint32_t chipCode;
    bool bringUpBit;  // sequencer 0x3D bit 0 is set
  } const cases[] = {
      {0x6326, 0xD0, 0x21, true},  {0x6326, 0xD1, 0x22, true}, {0x6326, 0xD2, 0x23, true},
      {0x6326, 0x92, 0x23, true},  {0x6326, 0xAF, 0x17, false}, {0x6326, 0xC1, 0x18, false},
      {0x6326, 0x0A, 0x1C, false}, {0x6326, 0x0B, 0x26, false}, {0x0205, 0x44, 0x07, false},
      {0x0000, 0x00, 0x17, false},  // no device: the 6326's argument gives 0x17
  };
  for (const Case &c : cases) {
    PlatformSiS6326Reset();
    PlatformSiS6326SetChip(c.device, c.revision);
    PlatformSiS6326SetSequencer(0x3D, 0x40);
    PlatformSiS6326SetSequencer(0x3E, 0x02);
    sisengine::HandContext &ctx = NewContext(1);
    ctx.sis()->mmioBase = nullptr;
    EXPECT_EQ(Init6326HW3D(ctx.gc()), 1);
    EXPECT_EQ(ctx.sis()->mmioBase, chip.mmio);
    EXPECT_EQ(ctx.sis()->chipCode, c.chipCode) << std::hex << c.chipCode;
    EXPECT_EQ(ctx.sis()->blockWrite, 1u);
    EXPECT_EQ(PlatformSiS6326Sequencer(0x3D), c.bringUpBit ? 0x41 : 0x40) << std::hex << c.chipCode;

    std::vector<sistest::Brief> expected;
    if (c.bringUpBit) expected.push_back({SIS6326_EVENT_SEQUENCER, SIS6326_SEQUENCER_DATA_PORT, 0x41, 0});
    for (const sistest::Brief &b : Script(kBringUpWrites)) expected.push_back(b);
    EXPECT_EQ(Log(), expected) << std::hex << c.chipCode;
  }
}

TEST_F(BringUp, SetsTheWorkingWordsItWrites) {
  sisengine::HandContext &ctx = NewContext(1);
  memset(&ctx.sis()->work, 0xEE, sizeof ctx.sis()->work);
  Init6326HW3D(ctx.gc());
  const GlSiSWorkingRegs &w = ctx.sis()->work;
  struct Word {
    const char *name;
    uint32_t got, expected;
  } const words[] = {
      {"mode", w.mode, 0x200880},          {"Z pitch", w.zPitch, 0x130000},
      {"alpha test", w.alphaTest, 0},      {"colour pitch", w.colorPitch, 0xC000000},
      {"line pattern", w.linePattern, 0},  {"fog", w.fog, 0x1000000},
      {"blend", w.blend, 0x1000000},       {"texture set-up", w.textureSetup, 0x30000},
      {"texture env", w.textureEnv, 0x82000000}, {"transparent", w.transparent, 0},
      // Words bring-up does not send stay as they were.
      {"Z address", w.zAddress, 0xEEEEEEEE}, {"clip rows", w.clipRows, 0xEEEEEEEE},
  };
  for (const Word &x : words) EXPECT_EQ(x.got, x.expected) << x.name;
}

}  // namespace
