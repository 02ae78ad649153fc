// "dd326_32.dll": the display-information block of the SiS 6326 display
// driver, with the chip's register window and free-slot counter.
#include "platform/dd326.h"

#include <cstring>
#include <mutex>

#include "platform/control.h"
#include "platform/display.h"
#include "platform/fault.h"
#include "platform/screen.h"
#include "platform/sis6326_internal.h"

namespace platform {
namespace {

// The register window and the free-slot counter are the chip stand-in's.
struct DisplayInformation {
  DD326DISPINFO block;
};

DisplayInformation &Info() {
  static DisplayInformation *info = [] {
    DisplayInformation *d = new DisplayInformation;  // never destroyed: the chip reads it to the end
    std::memset(d, 0, sizeof *d);
    d->block.chipArgument = DD326_CHIP_ARGUMENT;
    d->block.registerWindow = reinterpret_cast<uintptr_t>(ChipWindow());
    d->block.freeSlotCounter = reinterpret_cast<uintptr_t>(ChipFreeSlotCounter());
    d->block.sequencerIoBase = DD326_SEQUENCER_IO_BASE;
    d->block.queueReserve = DD326_QUEUE_RESERVE;
    return d;
  }();
  return *info;
}

const PlatformExport kExports[] = {
    {"ddGetDispInfo", reinterpret_cast<void *>(&ddGetDispInfo)},
};

__attribute__((constructor)) void RegisterLibrary() {
  PlatformRegisterModule("dd326_32.dll", kExports, sizeof kExports / sizeof kExports[0]);
}

}  // namespace

DD326DISPINFO &DisplayInformationBlock() { return Info().block; }

void DisplayInformationRefresh() {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  ScreenMode mode = CurrentScreenMode();
  DD326DISPINFO &b = Info().block;
  b.screenWidth = mode.width;
  b.screenHeight = mode.height;
  b.screenPitch = mode.pitch;
  b.frameBuffer = reinterpret_cast<uintptr_t>(VideoMemoryBase());
  b.videoMemorySize = VideoMemorySize();
  b.bitsPerPixel = mode.bitsPerPixel;  // 15 in the 5-5-5 mode, unlike GDI and DirectDraw
}

}  // namespace platform

PLATFORM_API LPDD326DISPINFO WINAPI ddGetDispInfo(void) {
  if (platform::ShouldFail("ddGetDispInfo", nullptr, 0, nullptr)) return nullptr;
  platform::DisplayInformationRefresh();
  return &platform::Info().block;
}
