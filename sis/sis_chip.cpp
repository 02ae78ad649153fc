// Chip identification through the sequencer and the PCI BIOS, and the
// bring-up that gives a new context the chip's initial register values.
#include "sis/sis_engine_lock.h"
#include "sis/sis_hw.h"
#include "sis/sis_registers.h"

namespace {

constexpr uint16_t kSiSVendor = 0x1039;
constexpr uint16_t kRevisionOffset = 8;  // PCI configuration byte
constexpr uint8_t kSRIdentification = 0x10;
constexpr uint8_t kSRIdentificationFlag = 0x80;
constexpr uint8_t kSRBringUp = 0x3D;
constexpr uint8_t kSRBlockWrite = 0x3E;
constexpr uint32_t kSequencerIndexOffset = 0x44;  // from the I/O base of word 22

struct ChipRow {
  uint16_t device;
  uint8_t revision;  // low nibble 0xF: any revision with this high nibble
  uint8_t flag;      // sequencer 0x10 bit 7
  uint32_t code;
};

// Searched in order; the first match gives the code.
constexpr ChipRow kChipRows[] = {
    {0x6326, 0xAF, 0, 0x17}, {0x6326, 0xC1, 0, 0x18}, {0x6326, 0x92, 0, 0x23},
    {0x6326, 0x92, 1, 0x23}, {0x6326, 0x0A, 0, 0x1C}, {0x6326, 0xD0, 0, 0x21},
    {0x6326, 0xD1, 0, 0x22}, {0x6326, 0xD2, 0, 0x23}, {0x6326, 0xD2, 1, 0x23},
    {0x6326, 0x0B, 0, 0x26}, {0x6326, 0x0B, 1, 0x26}, {0x0200, 0x6F, 0, 0x0A},
    {0x0205, 0x6F, 0, 0x0A}, {0x0205, 0x44, 1, 0x04}, {0x0205, 0xD3, 1, 0x05},
    {0x0204, 0x2F, 1, 0x06}, {0x0205, 0x44, 0, 0x07}, {0x0205, 0xD3, 0, 0x08},
};
static_assert(sizeof(kChipRows) / sizeof(kChipRows[0]) == 18, "the identification table");

// The argument whose chip is assumed when no row matches.
constexpr uint32_t kFallbackArgument = 7;
constexpr uint32_t kFallbackCode = 0x17;

bool RevisionMatches(uint8_t row, uint8_t read) {
  if (row == read) return true;
  return (row & 0x0F) == 0x0F && (row & 0xF0) == (read & 0xF0);
}

// The revision of the first device with this id; false when the PCI BIOS
// finds none or cannot read it.
bool ReadRevision(uint16_t device, uint8_t *revision) {
  WORD where = 0;
  if (PciBiosFindDevice(device, kSiSVendor, 0, &where) != PCIBIOS_SUCCESSFUL) return false;
  BYTE value = 0;
  if (PciBiosReadConfigByte(where, kRevisionOffset, &value) != PCIBIOS_SUCCESSFUL) return false;
  *revision = value;
  return true;
}

// The bring-up values: each goes to its register and its working word.
struct InitialRegister {
  uint32_t offset;
  uint32_t GlSiSWorkingRegs::*word;
  uint32_t value;
};

constexpr InitialRegister kInitialRegisters[] = {
    {sis::kRegMode, &GlSiSWorkingRegs::mode, 0x200880},
    {sis::kRegZPitch, &GlSiSWorkingRegs::zPitch, 0x130000},
    {sis::kRegAlphaTest, &GlSiSWorkingRegs::alphaTest, 0},
    {sis::kRegColorPitch, &GlSiSWorkingRegs::colorPitch, 0xC000000},
    {sis::kRegLinePattern, &GlSiSWorkingRegs::linePattern, 0},
    {sis::kRegFog, &GlSiSWorkingRegs::fog, 0x1000000},
    {sis::kRegBlend, &GlSiSWorkingRegs::blend, 0x1000000},
    {sis::kRegTextureSetup, &GlSiSWorkingRegs::textureSetup, 0x30000},
    {sis::kRegTextureEnv, &GlSiSWorkingRegs::textureEnv, 0x82000000},
    {sis::kRegTransparent, &GlSiSWorkingRegs::transparent, 0},
};
constexpr int kInitialCount = sizeof(kInitialRegisters) / sizeof(kInitialRegisters[0]);

// Revisions that need bit 0 of sequencer 0x3D at bring-up.
bool NeedsBringUpBit(uint32_t chipCode) { return chipCode >= 0x21 && chipCode <= 0x23; }

}  // namespace

namespace sis {

uint8_t GetSRReg(uint8_t index) {
  LPDD326DISPINFO info = DispInfo();
  if (info == nullptr) return 0;
  const WORD port = WORD(info->sequencerIoBase + kSequencerIndexOffset);
  SiS6326PortOut(port, index);
  return SiS6326PortIn(WORD(port + 1));
}

uint32_t IsBlockWrite(void) { return (GetSRReg(kSRBlockWrite) & 2u) >> 1; }

}  // namespace sis

uint32_t T05_GetChipVer(uint32_t argument) {
  const uint8_t flag = (sis::GetSRReg(kSRIdentification) & kSRIdentificationFlag) ? 1 : 0;
  for (const ChipRow &row : kChipRows) {
    if (row.flag != flag) continue;
    uint8_t revision = 0;
    if (ReadRevision(row.device, &revision) && RevisionMatches(row.revision, revision))
      return row.code;
  }
  return argument == kFallbackArgument ? kFallbackCode : 0;
}

namespace {

// The chip's side of bring-up. The caller holds the engine lock: another
// thread's context may be drawing, and the sequencer's index port, the
// slot counter and the register batch must not interleave with it.
void BringUp(GlSiSTail *sis, LPDD326DISPINFO info) {
  sis->mmioBase = reinterpret_cast<uint8_t *>(uintptr_t(info->registerWindow));
  sis->blockWrite = sis::IsBlockWrite();
  sis->chipCode = T05_GetChipVer(info->chipArgument);
  if (NeedsBringUpBit(sis->chipCode)) {
    SiS6326PortOut(SIS6326_SEQUENCER_INDEX_PORT, kSRBringUp);
    const BYTE value = SiS6326PortIn(SIS6326_SEQUENCER_DATA_PORT);
    SiS6326PortOut(SIS6326_SEQUENCER_DATA_PORT, BYTE(value | 1));
  }
  if (sis->mmioBase == nullptr) return;
  mWait3DCmdQueue(kInitialCount);
  for (const InitialRegister &r : kInitialRegisters) {
    sis->work.*r.word = r.value;
    sis::Put(sis, r.offset, r.value);
  }
  // The engine now holds bring-up's values, no context's: the next lock of
  // any context reloads every group.
  __wglProcess.sisLoadedSerial = 0;
}

}  // namespace

int Init6326HW3D(GlContext *gc) {
  LPDD326DISPINFO info = sis::DispInfo();
  if (info == nullptr) return 1;  // no display driver: the engine stays unused
  __glSiSEngineLock();
  BringUp(__glSiSTail(gc), info);
  __glSiSEngineUnlock();
  return 1;
}
