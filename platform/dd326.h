// The SiS 6326 display-driver support library, "dd326_32.dll": its one
// function ddGetDispInfo gives the display-information block the chip's
// drivers share. The block is kept live: the bits per pixel follow every
// display-mode change.
//
// The register window and the free-slot counter belong to the chip stand-in
// (platform/sis6326.h): the window is the chip's 64 KiB aperture, whose
// queue status starts at "every slot free", and the counter starts full.
#pragma once

#include "platform/win_types.h"

#define DD326_REGISTER_WINDOW_SIZE 0x10000u
#define DD326_QUEUE_STATUS 0x82A8u   // 16-bit: bits 0-12 free command-queue slots
#define DD326_QUEUE_SLOTS 0x1000u    // slots of the command queue
#define DD326_QUEUE_RESERVE 16u      // slots the display driver keeps for itself
#define DD326_SEQUENCER_IO_BASE 0x380u  // index port at base + 0x44 (0x3C4), data at + 0x45
#define DD326_CHIP_ARGUMENT 7u       // the 6326's chip-identification argument

// Word n lies at byte offset 4n; the named words are the ones the chip's
// drivers read. Words 1 to 5 describe the screen for tools and the chip model.
typedef struct DD326DISPINFO {
  DWORD chipArgument;     // 0: argument of the chip identification
  DWORD screenWidth;      // 1
  DWORD screenHeight;     // 2
  DWORD screenPitch;      // 3: bytes per row of the screen
  DWORD frameBuffer;      // 4: address of video memory (the screen's first pixel)
  DWORD videoMemorySize;  // 5: bytes of local video memory
  DWORD bitsPerPixel;     // 6: 8, 15, 16, 24 or 32
  DWORD reserved7[7];
  DWORD registerWindow;   // 14: address of the memory-mapped registers
  DWORD reserved15[2];
  DWORD freeSlotCounter;  // 17: address of the shared 16-bit count of free queue slots
  DWORD reserved18[4];
  DWORD sequencerIoBase;  // 22: I/O base of the VGA sequencer pair (16-bit)
  DWORD queueReserve;     // 23: low 16 bits: queue slots held in reserve
  DWORD reserved24[3];
  DWORD engineOwner;      // 27: id of the process that last owned the 3D engine
  DWORD reserved28[4];
} DD326DISPINFO, *LPDD326DISPINFO;

// The block, or null when the display driver is not available (failure on
// demand: "ddGetDispInfo").
PLATFORM_API LPDD326DISPINFO WINAPI ddGetDispInfo(void);

#ifdef __cplusplus
static_assert(sizeof(DD326DISPINFO) == 128, "the display-information block is 32 words");
static_assert(offsetof(DD326DISPINFO, bitsPerPixel) == 4 * 6 &&
                  offsetof(DD326DISPINFO, registerWindow) == 4 * 14 &&
                  offsetof(DD326DISPINFO, freeSlotCounter) == 4 * 17 &&
                  offsetof(DD326DISPINFO, sequencerIoBase) == 4 * 22 &&
                  offsetof(DD326DISPINFO, queueReserve) == 4 * 23 &&
                  offsetof(DD326DISPINFO, engineOwner) == 4 * 27,
              "the words the chip's drivers read");
#endif
