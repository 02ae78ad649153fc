// The display mode. The screen's pixels are the bottom of local video memory;
// a mode change loses every video-memory surface (and every primary), and
// surfaces made before it cannot be restored: Restore answers DDERR_WRONGMODE,
// as on the platform, so owners release them and make new ones. Off-screen
// surfaces keep their memory (and address) until released, except where the
// larger screen footprint of the new mode takes it over. System-memory
// surfaces are not affected.
#include <cstring>

#include "platform/display.h"
#include "platform/kernel.h"
#include "platform/screen.h"
#include "platform/selector.h"
#include "platform/video_memory.h"

namespace platform {
namespace {

constexpr int kLargestSide = 4096;

struct Screen {
  ScreenMode mode;
  uint32_t serial = 1;
};

bool MakeMode(int bitsPerPixel, int width, int height, ScreenMode *mode) {
  int bytes;
  switch (bitsPerPixel) {
    case 8: bytes = 1; break;
    case 15:
    case 16: bytes = 2; break;
    case 24: bytes = 3; break;
    case 32: bytes = 4; break;
    default: return false;
  }
  if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide) return false;
  mode->bitsPerPixel = bitsPerPixel;
  mode->width = width;
  mode->height = height;
  mode->bytesPerPixel = bytes;
  mode->pitch = (width * bytes + 7) & ~7;  // rows start on 8-byte boundaries
  return true;
}

uint32_t Footprint(const ScreenMode &mode) {
  return uint32_t(mode.pitch) * uint32_t(mode.height) + kSpareBytes;
}

Screen &State() {
  static Screen *screen = [] {
    Screen *s = new Screen;  // never destroyed: calls may come late at exit
    MakeMode(16, 1024, 768, &s->mode);
    VideoSetFloor(Footprint(s->mode));
    return s;
  }();
  return *screen;
}

}  // namespace

std::recursive_mutex &ScreenLock() {
  static std::recursive_mutex *lock = new std::recursive_mutex;
  return *lock;
}

ScreenMode CurrentScreenMode() {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  return State().mode;
}

uint32_t ScreenModeSerial() {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  return State().serial;
}

uint8_t *VideoMemoryBase() {
  State();
  return VideoPoolBase(VideoPool::kLocal);
}

uint32_t VideoMemorySize() {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  State();
  return VideoPoolCapacity(VideoPool::kLocal);
}

bool SetScreenMode(int bitsPerPixel, int width, int height, uint32_t *error) {
  uint32_t ignored;
  if (error == nullptr) error = &ignored;
  ScreenMode mode;
  if (!MakeMode(bitsPerPixel, width, height, &mode)) {
    *error = ERROR_INVALID_PARAMETER;
    return false;
  }
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  Screen &s = State();
  if (Footprint(mode) > VideoPoolCapacity(VideoPool::kLocal)) {
    *error = ERROR_NOT_ENOUGH_MEMORY;
    return false;
  }
  s.mode = mode;
  ++s.serial;
  std::vector<uint32_t> dropped = VideoSetFloor(Footprint(mode));
  // The new mode starts with a black screen.
  std::memset(VideoPoolBase(VideoPool::kLocal), 0, size_t(mode.pitch) * mode.height);
  SurfacesLoseAll(dropped);
  DisplayInformationRefresh();
  return true;
}

void ScreenModeMasks(const ScreenMode &mode, uint32_t *red, uint32_t *green, uint32_t *blue) {
  switch (mode.bitsPerPixel) {
    case 15: *red = 0x7C00, *green = 0x03E0, *blue = 0x001F; break;
    case 16: *red = 0xF800, *green = 0x07E0, *blue = 0x001F; break;
    case 24:
    case 32: *red = 0xFF0000, *green = 0x00FF00, *blue = 0x0000FF; break;
    default: *red = *green = *blue = 0; break;
  }
}

int ReportedBitsPerPixel(const ScreenMode &mode) {
  return mode.bitsPerPixel == 15 ? 16 : mode.bitsPerPixel;
}

uint16_t ScreenSelector() { return PLATFORM_SCREEN_SELECTOR; }

}  // namespace platform
