// The SiS 6326 stand-in's VGA sequencer ports and PCI configuration, found
// through the PCI BIOS services, and the engine-owner word.
#include <cstring>

#include "platform/control.h"
#include "platform/fault.h"
#include "platform/sis6326_internal.h"
#include "platform/sis6326_model.h"

namespace platform {
namespace {

constexpr WORD kChipLocation = 0x0100;  // bus 1, device 0, function 0: the AGP slot
constexpr BYTE kDefaultRevision = 0xD2;

struct Ports {
  BYTE sequencerIndex;
  BYTE sequencer[256];
  BYTE configuration[256];  // PCI configuration space of the chip
};

void SetIdentity(Ports &p, WORD deviceId, BYTE revision) {
  std::memset(p.configuration, 0, sizeof p.configuration);
  if (deviceId == 0) return;  // no SiS device on the bus
  const BYTE header[12] = {BYTE(SIS6326_PCI_VENDOR), BYTE(SIS6326_PCI_VENDOR >> 8),
                           BYTE(deviceId), BYTE(deviceId >> 8),
                           0x03, 0x00,  // command: I/O and memory decoding on
                           0x00, 0x02,  // status
                           revision, 0x00, 0x00, 0x03};  // class: VGA display controller
  std::memcpy(p.configuration, header, sizeof header);
}

WORD DeviceId(const Ports &p) { return WORD(p.configuration[2] | p.configuration[3] << 8); }

Ports &ThePorts() {
  static Ports *ports = [] {
    Ports *p = new Ports;
    std::memset(p, 0, sizeof *p);
    SetIdentity(*p, SIS6326_PCI_DEVICE, kDefaultRevision);
    return p;
  }();
  return *ports;
}

}  // namespace

void PortsReset() {
  Ports &p = ThePorts();
  p.sequencerIndex = 0;
  std::memset(p.sequencer, 0, sizeof p.sequencer);
  SetIdentity(p, SIS6326_PCI_DEVICE, kDefaultRevision);
}

// Chip codes 0x26 and 0x1C: device 0x6326 at revision 0x0B, or at 0x0A with
// sequencer 0x10 bit 7 clear.
bool ChipTakesOrderedVertices() {
  const Ports &p = ThePorts();
  if (DeviceId(p) != SIS6326_PCI_DEVICE) return false;
  BYTE revision = p.configuration[8];
  return revision == 0x0B || (revision == 0x0A && !(p.sequencer[0x10] & 0x80));
}

bool ChipBlockWrite() { return (ThePorts().sequencer[0x3E] & 0x02) != 0; }

}  // namespace platform

using platform::ThePorts;

PLATFORM_API BYTE SiS6326PortIn(WORD port) {
  if (platform::ShouldFail("SiS6326PortIn", nullptr, 0, nullptr)) return 0xFF;
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  platform::Ports &p = ThePorts();
  if (port == SIS6326_SEQUENCER_INDEX_PORT) return p.sequencerIndex;
  if (port == SIS6326_SEQUENCER_DATA_PORT) return p.sequencer[p.sequencerIndex];
  return 0xFF;  // nothing decodes it
}

PLATFORM_API void SiS6326PortOut(WORD port, BYTE value) {
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  platform::Ports &p = ThePorts();
  if (port == SIS6326_SEQUENCER_INDEX_PORT) {
    p.sequencerIndex = value;
  } else if (port == SIS6326_SEQUENCER_DATA_PORT) {
    p.sequencer[p.sequencerIndex] = value;
    platform::DecodeSequencer(p.sequencerIndex, value);
  } else {
    platform::DecodePort(port, value);
  }
}

PLATFORM_API BYTE PciBiosFindDevice(WORD deviceId, WORD vendorId, WORD index,
                                    WORD *busDeviceFunction) {
  DWORD error = 0;
  if (platform::ShouldFail("PciBiosFindDevice", nullptr, PCIBIOS_DEVICE_NOT_FOUND, &error))
    return BYTE(error);
  if (vendorId == 0xFFFF) return PCIBIOS_BAD_VENDOR_ID;
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  WORD present = platform::DeviceId(ThePorts());
  if (present == 0 || vendorId != SIS6326_PCI_VENDOR || deviceId != present || index != 0)
    return PCIBIOS_DEVICE_NOT_FOUND;
  if (busDeviceFunction != nullptr) *busDeviceFunction = platform::kChipLocation;
  return PCIBIOS_SUCCESSFUL;
}

PLATFORM_API BYTE PciBiosReadConfigByte(WORD busDeviceFunction, WORD offset, BYTE *value) {
  if (value == nullptr || offset > 0xFF) return PCIBIOS_BAD_REGISTER_NUMBER;
  DWORD error = 0;
  if (platform::ShouldFail("PciBiosReadConfigByte", nullptr, PCIBIOS_BAD_REGISTER_NUMBER,
                           &error)) {
    *value = 0xFF;
    return BYTE(error);
  }
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  const platform::Ports &p = ThePorts();
  bool chip = busDeviceFunction == platform::kChipLocation && platform::DeviceId(p) != 0;
  *value = chip ? p.configuration[offset] : 0xFF;  // an empty slot reads all ones
  return PCIBIOS_SUCCESSFUL;
}

PLATFORM_API void PlatformSiS6326SetChip(WORD deviceId, BYTE revision) {
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  platform::SetIdentity(ThePorts(), deviceId, revision);
}

PLATFORM_API void PlatformSiS6326SetSequencer(BYTE index, BYTE value) {
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  ThePorts().sequencer[index] = value;
}

PLATFORM_API BYTE PlatformSiS6326Sequencer(BYTE index) {
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  return ThePorts().sequencer[index];
}

PLATFORM_API void PlatformSiS6326SetEngineOwner(DWORD processId) {
  platform::DisplayInformationBlock().engineOwner = processId;
}

PLATFORM_API DWORD PlatformSiS6326EngineOwner(void) {
  return platform::DisplayInformationBlock().engineOwner;
}
