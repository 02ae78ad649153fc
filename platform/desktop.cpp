// The desktop's controls: reading a window back from the screen, changing the
// display mode, pumping messages; and the GDI library's swap entry.
#include <mutex>

#include "platform/control.h"
#include "platform/fault.h"
#include "platform/kernel.h"
#include "platform/screen.h"
#include "platform/sis6326_model.h"
#include "platform/vlxdesktop.h"
#include "platform/window_system.h"

namespace platform {
namespace {

using Hold = std::lock_guard<std::recursive_mutex>;

// SwapBuffers of GDI hands the call to the OpenGL library, as on the
// platform: the loader registers "opengl32" with "wglSwapBuffers".
BOOL WINAPI GdiSwapBuffers(HDC hdc) {
  {
    Hold hold(ScreenLock());
    if (FindDC(hdc) == nullptr) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
  }
  HMODULE library = LoadLibraryA("opengl32.dll");
  if (library == nullptr) return FALSE;
  typedef BOOL(WINAPI * Swap)(HDC);
  // Through void *: the export's real type is not FARPROC's.
  Swap swap = reinterpret_cast<Swap>(reinterpret_cast<void *>(GetProcAddress(library, "wglSwapBuffers")));
  BOOL done = swap ? swap(hdc) : FALSE;
  FreeLibrary(library);
  return done;
}

const PlatformExport kGdiExports[] = {
    {"GdiSwapBuffers", reinterpret_cast<void *>(&GdiSwapBuffers)},
};

__attribute__((constructor)) void RegisterGdi() {
  PlatformRegisterModule("gdi32.dll", kGdiExports, sizeof kGdiExports / sizeof kGdiExports[0]);
}

}  // namespace
}  // namespace platform

using namespace platform;

PLATFORM_API BOOL DesktopReadWindow(HWND hwnd, int x, int y, int width, int height, unsigned int *argb) {
  DeliverQueuedMessages();
  Hold hold(ScreenLock());
  const Window *window = FindWindow(hwnd);
  if (window == nullptr) return SetLastError(ERROR_INVALID_WINDOW_HANDLE), FALSE;
  LONG clientWidth = window->rect.right - window->rect.left;
  LONG clientHeight = window->rect.bottom - window->rect.top;
  if (x < 0 || y < 0 || width < 0 || height < 0 || width > clientWidth - x ||
      height > clientHeight - y || (argb == nullptr && width > 0 && height > 0))
    return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
  ScreenMode mode = CurrentScreenMode();
  RGBQUAD colors[256];
  PixelLayout layout = ScreenLayout(colors);
  const uint8_t *screen = VideoMemoryBase();
  RECT read = {window->rect.left + x, window->rect.top + y, window->rect.left + x + width,
               window->rect.top + y + height};
  ModelScreenRead(read);  // the chip's unfired work must not meet it
  for (int row = 0; row < height; ++row) {
    LONG sy = window->rect.top + y + row;
    for (int col = 0; col < width; ++col) {
      LONG sx = window->rect.left + x + col;
      bool shown = sx >= 0 && sy >= 0 && sx < mode.width && sy < mode.height;
      argb[static_cast<size_t>(row) * width + col] =
          shown ? ReadArgb(screen + static_cast<size_t>(sy) * mode.pitch, sx, layout) : 0;
    }
  }
  return TRUE;
}

PLATFORM_API BOOL DesktopSetDisplayMode(int bitsPerPixel, int width, int height) {
  DeliverQueuedMessages();
  Outbox outbox;
  {
    Hold hold(ScreenLock());
    uint32_t error = 0;
    if (!SetScreenMode(bitsPerPixel, width, height, &error)) return SetLastError(error), FALSE;
    ++Ws().clipGeneration;
    ResetSystemPalette();
    ScreenMode mode = CurrentScreenMode();
    SendToAllWindows(outbox, WM_DISPLAYCHANGE, static_cast<WPARAM>(ReportedBitsPerPixel(mode)),
                     MAKELPARAM(mode.width, mode.height));
  }
  outbox.Flush();
  return TRUE;
}

PLATFORM_API UINT DesktopPumpMessages(void) { return DeliverQueuedMessages(); }
