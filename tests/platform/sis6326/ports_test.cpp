// The SiS 6326 stand-in's VGA sequencer ports and PCI configuration look-up,
// with their controls and failure on demand.
#include <gtest/gtest.h>

#include <vector>

#include "platform/kernel.h"
#include "tests/platform/sis6326/sis6326_support.h"

namespace {

using sistest::ChipTest;

class Ports : public ChipTest {
 protected:
  // The driver's sequencer read: the index to base + 0x44, the data from base + 0x45.
  BYTE ReadSequencer(BYTE index) const {
    WORD base = WORD(chip.info->sequencerIoBase);
    SiS6326PortOut(WORD(base + 0x44), index);
    return SiS6326PortIn(WORD(base + 0x45));
  }
  void WriteSequencer(BYTE index, BYTE value) const {
    WORD base = WORD(chip.info->sequencerIoBase);
    SiS6326PortOut(WORD(base + 0x44), index);
    SiS6326PortOut(WORD(base + 0x45), value);
  }
};

TEST_F(Ports, TheSequencerPairReadsWhatTheControlsSet) {
  EXPECT_EQ(WORD(chip.info->sequencerIoBase + 0x44), SIS6326_SEQUENCER_INDEX_PORT);
  struct Case {
    BYTE index, value;
  } const cases[] = {
      {0x10, 0x80},  // the identification flag
      {0x10, 0x00},
      {0x3E, 0x02},  // block write on
      {0x3E, 0xFD},  // everything but block write
      {0x3D, 0x5A},
      {0xFF, 0x11},
  };
  for (const Case &c : cases) {
    PlatformSiS6326SetSequencer(c.index, c.value);
    EXPECT_EQ(ReadSequencer(c.index), c.value) << int(c.index);
    EXPECT_EQ(SiS6326PortIn(SIS6326_SEQUENCER_INDEX_PORT), c.index);
  }
}

TEST_F(Ports, ASequencerStoreIsKeptAndLogged) {
  PlatformSiS6326SetSequencer(0x3D, 0x40);
  WriteSequencer(0x3D, BYTE(ReadSequencer(0x3D) | 1));  // set bit 0, the rest kept
  EXPECT_EQ(PlatformSiS6326Sequencer(0x3D), 0x41);
  std::vector<SiS6326Event> log = sistest::TakeLog();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].kind, uint32_t(SIS6326_EVENT_SEQUENCER));
  EXPECT_EQ(log[0].index, 0x3Du);
  EXPECT_EQ(log[0].value, 0x41u);
  EXPECT_EQ(PlatformSiS6326QueuePending(), 0u);  // ports do not go through the queue
}

TEST_F(Ports, OtherPortsReadAllOnesAndLogTheirStores) {
  for (WORD port : {WORD(0x3C0), WORD(0x3C6), WORD(0x3D4), WORD(0x80)}) {
    EXPECT_EQ(SiS6326PortIn(port), 0xFF) << port;
    SiS6326PortOut(port, 0x12);
    std::vector<SiS6326Event> log = sistest::TakeLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].kind, uint32_t(SIS6326_EVENT_PORT));
    EXPECT_EQ(log[0].offset, port);
  }
}

// The chip identification's look-up: the device by ids, then its revision.
struct Found {
  BYTE status;
  BYTE revision;
};

Found LookUp(WORD deviceId, WORD vendorId) {
  WORD location = 0xFFFF;
  BYTE status = PciBiosFindDevice(deviceId, vendorId, 0, &location);
  if (status != PCIBIOS_SUCCESSFUL) return {status, 0};
  BYTE revision = 0;
  EXPECT_EQ(PciBiosReadConfigByte(location, 8, &revision), PCIBIOS_SUCCESSFUL);
  return {status, revision};
}

TEST_F(Ports, ThePciLookUpFindsTheChipTheControlSets) {
  struct Case {
    WORD presentDevice;
    BYTE presentRevision;
    WORD askedDevice, askedVendor;
    BYTE status, revision;
  } const cases[] = {
      {0x6326, 0xD2, 0x6326, 0x1039, PCIBIOS_SUCCESSFUL, 0xD2},  // the default chip
      {0x6326, 0xAF, 0x6326, 0x1039, PCIBIOS_SUCCESSFUL, 0xAF},
      {0x0205, 0x44, 0x0205, 0x1039, PCIBIOS_SUCCESSFUL, 0x44},
      {0x0204, 0x2A, 0x0204, 0x1039, PCIBIOS_SUCCESSFUL, 0x2A},
      {0x0205, 0x44, 0x6326, 0x1039, PCIBIOS_DEVICE_NOT_FOUND, 0},
      {0x6326, 0xD2, 0x6326, 0x8086, PCIBIOS_DEVICE_NOT_FOUND, 0},
      {0x6326, 0xD2, 0x6326, 0xFFFF, PCIBIOS_BAD_VENDOR_ID, 0},
      {0x0000, 0x00, 0x6326, 0x1039, PCIBIOS_DEVICE_NOT_FOUND, 0},  // no SiS device
  };
  bool first = true;
  for (const Case &c : cases) {
    if (!first) PlatformSiS6326SetChip(c.presentDevice, c.presentRevision);
    first = false;
    Found f = LookUp(c.askedDevice, c.askedVendor);
    EXPECT_EQ(f.status, c.status) << std::hex << c.presentDevice << " " << c.askedDevice;
    EXPECT_EQ(f.revision, c.revision) << std::hex << c.presentDevice;
  }
}

TEST_F(Ports, TheConfigurationSpaceIsADisplayController) {
  PlatformSiS6326SetChip(0x6326, 0x0B);
  WORD location = 0;
  ASSERT_EQ(PciBiosFindDevice(0x6326, 0x1039, 0, &location), PCIBIOS_SUCCESSFUL);
  EXPECT_EQ(PciBiosFindDevice(0x6326, 0x1039, 1, &location), PCIBIOS_DEVICE_NOT_FOUND);  // one chip
  struct Case {
    WORD offset;
    BYTE value;
  } const cases[] = {{0, 0x39}, {1, 0x10}, {2, 0x26}, {3, 0x63}, {8, 0x0B}, {0x0B, 0x03}, {0xFF, 0}};
  for (const Case &c : cases) {
    BYTE value = 0xEE;
    EXPECT_EQ(PciBiosReadConfigByte(location, c.offset, &value), PCIBIOS_SUCCESSFUL);
    EXPECT_EQ(value, c.value) << c.offset;
  }
  BYTE value = 0;
  EXPECT_EQ(PciBiosReadConfigByte(location, 0x100, &value), PCIBIOS_BAD_REGISTER_NUMBER);
  EXPECT_EQ(PciBiosReadConfigByte(location, 8, nullptr), PCIBIOS_BAD_REGISTER_NUMBER);
  EXPECT_EQ(PciBiosReadConfigByte(WORD(location + 8), 0, &value), PCIBIOS_SUCCESSFUL);
  EXPECT_EQ(value, 0xFF);  // an empty slot
}

TEST_F(Ports, FailureOnDemand) {
  struct Case {
    PlatformFault fault;
    BYTE findStatus, readStatus, sequencer;
  } const cases[] = {
      {{"PciBiosFindDevice", nullptr, 0, 1, 0}, PCIBIOS_DEVICE_NOT_FOUND, PCIBIOS_SUCCESSFUL, 0x80},
      {{"PciBiosFindDevice", nullptr, 0, 1, 0x81}, 0x81, PCIBIOS_SUCCESSFUL, 0x80},
      {{"PciBiosReadConfigByte", nullptr, 0, 1, 0}, PCIBIOS_SUCCESSFUL, PCIBIOS_BAD_REGISTER_NUMBER,
       0x80},
      {{"SiS6326PortIn", nullptr, 0, 1, 0}, PCIBIOS_SUCCESSFUL, PCIBIOS_SUCCESSFUL, 0xFF},
  };
  PlatformSiS6326SetSequencer(0x10, 0x80);
  for (const Case &c : cases) {
    PlatformClearFaults();
    PlatformArmFault(c.fault);
    WORD location = 0x0100;
    EXPECT_EQ(PciBiosFindDevice(0x6326, 0x1039, 0, &location), c.findStatus) << c.fault.call;
    BYTE revision = 0;
    EXPECT_EQ(PciBiosReadConfigByte(0x0100, 8, &revision), c.readStatus) << c.fault.call;
    EXPECT_EQ(revision, c.readStatus == PCIBIOS_SUCCESSFUL ? 0xD2 : 0xFF) << c.fault.call;
    EXPECT_EQ(ReadSequencer(0x10), c.sequencer) << c.fault.call;
    EXPECT_EQ(PlatformFaultsFired(c.fault.call), 1u) << c.fault.call;
    // One failure only: the next look-up works.
    EXPECT_EQ(LookUp(0x6326, 0x1039).revision, 0xD2) << c.fault.call;
    EXPECT_EQ(ReadSequencer(0x10), 0x80) << c.fault.call;
  }
}

TEST_F(Ports, ResetBringsBackThePowerOnChip) {
  PlatformSiS6326SetChip(0x0205, 0xD3);
  PlatformSiS6326SetSequencer(0x3E, 2);
  PlatformSiS6326SetEngineOwner(1234);
  chip.Wait(1);
  chip.Store32(0x8A00, 7);
  PlatformSiS6326Reset();
  EXPECT_EQ(LookUp(0x6326, 0x1039).revision, 0xD2);
  EXPECT_EQ(PlatformSiS6326Sequencer(0x3E), 0);
  EXPECT_EQ(PlatformSiS6326EngineOwner(), 0u);
  EXPECT_EQ(chip.mmio[0x8A00], 0);
  EXPECT_EQ(chip.Counter(), short(SIS6326_QUEUE_SLOTS - DD326_QUEUE_RESERVE));
  EXPECT_EQ(PlatformSiS6326LogCount(), 0u);
}

}  // namespace
