// Internal: what the SiS 6326 stand-in's files share. Every function
// here expects ChipLock() to be held unless it says otherwise.
#pragma once

#include <mutex>

#include "platform/dd326.h"
#include "platform/sis6326.h"

namespace platform {

// One lock for the chip: its window, queue, ports and log. Taken before
// ScreenLock(): a fire runs the drawing model, which looks surfaces up under
// ScreenLock(); nothing holding ScreenLock() may take this one.
std::mutex &ChipLock();

// The register window and the free-slot counter the display-information
// block points at (no lock needed: their addresses never change).
uint8_t *ChipWindow();
volatile short *ChipFreeSlotCounter();
// The display-information block itself, for the owner word.
DD326DISPINFO &DisplayInformationBlock();

// Logs, as plain stores, what changed in the window behind the stand-in.
void ChipFindDirectStores();

// The register window: the driver's read-only view, whose plain stores are
// tracked a page at a time, and (in `own`) the stand-in's writable view of
// the same memory. Called once, under no lock.
constexpr uint32_t kChipPageSize = 4096;
uint8_t *ChipMapWindow(uint8_t **own);
// The pages written through the driver's view since the last call, one bit
// each; they are tracked afresh from now on.
uint32_t ChipTakeWrittenPages();

// The decoder. `registers` is the window as the chip's stores have left it.
void DecodeStore(const uint8_t *registers, uint32_t offset, uint32_t bytes, uint32_t value,
                 uint32_t flags);
void DecodeWait(uint32_t slots, uint32_t flags);
void DecodeSequencer(uint32_t index, uint32_t value);
void DecodePort(uint32_t port, uint32_t value);
// Closes a primitive still taking vertex words.
void DecodeFlush();
void DecoderReset();

// The ports and the PCI configuration at power-on.
void PortsReset();

}  // namespace platform
