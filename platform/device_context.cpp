// Device contexts of windows, of the screen and of memory bitmaps; object
// selection, types, deletion and the stock objects; the pixel-format number.
#include <mutex>

#include "platform/fault.h"
#include "platform/kernel.h"
#include "platform/screen.h"
#include "platform/window_system.h"

namespace platform {
namespace {

using Hold = std::lock_guard<std::recursive_mutex>;

HDC NewDC(DCKind kind, HWND window) {
  WindowSystem &ws = Ws();
  DeviceContext dc;
  dc.kind = kind;
  dc.window = window;
  dc.bitmap = ws.stockBitmap;
  dc.palette = ws.stockPalette;
  dc.brush = ws.stockBrushes[WHITE_BRUSH];
  HDC hdc = reinterpret_cast<HDC>(NewHandle());
  ws.dcs.emplace(Key(hdc), dc);
  return hdc;
}

bool SelectedAnywhere(const void *object) {
  for (const auto &entry : Ws().dcs) {
    const DeviceContext &dc = entry.second;
    if (dc.bitmap == object || dc.palette == object || dc.brush == object) return true;
  }
  return false;
}

}  // namespace
}  // namespace platform

using namespace platform;

PLATFORM_API HDC WINAPI GetDC(HWND hwnd) {
  if (FailWithLastError("GetDC", nullptr, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  Hold hold(ScreenLock());
  if (hwnd == nullptr) return NewDC(DCKind::kScreen, nullptr);
  if (FindWindow(hwnd) == nullptr) return SetLastError(ERROR_INVALID_WINDOW_HANDLE), nullptr;
  return NewDC(DCKind::kWindow, hwnd);
}

PLATFORM_API int WINAPI ReleaseDC(HWND hwnd, HDC hdc) {
  if (ShouldFail("ReleaseDC", nullptr, 0, nullptr)) return 0;
  Hold hold(ScreenLock());
  const DeviceContext *dc = FindDC(hdc);
  // Only what GetDC gave, for the window it was given for.
  if (dc == nullptr || dc->kind == DCKind::kMemory || dc->provider || dc->window != hwnd) return 0;
  Ws().dcs.erase(Key(hdc));
  return 1;
}

PLATFORM_API HWND WINAPI WindowFromDC(HDC hdc) {
  if (FailWithLastError("WindowFromDC", nullptr, ERROR_INVALID_HANDLE)) return nullptr;
  Hold hold(ScreenLock());
  const DeviceContext *dc = FindDC(hdc);
  return dc && dc->kind == DCKind::kWindow ? dc->window : nullptr;
}

PLATFORM_API HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (FailWithLastError("CreateCompatibleDC", nullptr, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  Hold hold(ScreenLock());
  // Every device context here is compatible with the screen.
  if (hdc != nullptr && FindDC(hdc) == nullptr) return SetLastError(ERROR_INVALID_HANDLE), nullptr;
  return NewDC(DCKind::kMemory, nullptr);
}

PLATFORM_API BOOL WINAPI DeleteDC(HDC hdc) {
  if (FailWithLastError("DeleteDC", nullptr, ERROR_INVALID_HANDLE)) return FALSE;
  Hold hold(ScreenLock());
  DeviceContext *dc = FindDC(hdc);
  if (dc == nullptr || dc->kind != DCKind::kMemory) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
  // The selected bitmap stays; it is only free to be selected elsewhere.
  if (Bitmap *bitmap = FindBitmap(dc->bitmap)) {
    if (bitmap->selectedIn == hdc) bitmap->selectedIn = nullptr;
  }
  Ws().dcs.erase(Key(hdc));
  return TRUE;
}

PLATFORM_API DWORD WINAPI GetObjectType(HGDIOBJ object) {
  if (FailWithLastError("GetObjectType", nullptr, ERROR_INVALID_HANDLE)) return 0;
  Hold hold(ScreenLock());
  if (const DeviceContext *dc = FindDC(static_cast<HDC>(object)))
    return dc->kind == DCKind::kMemory ? OBJ_MEMDC : OBJ_DC;
  if (FindBitmap(static_cast<HBITMAP>(object))) return OBJ_BITMAP;
  if (FindPalette(static_cast<HPALETTE>(object))) return OBJ_PAL;
  if (FindBrush(static_cast<HBRUSH>(object))) return OBJ_BRUSH;
  SetLastError(ERROR_INVALID_HANDLE);
  return 0;
}

PLATFORM_API HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ object) {
  if (FailWithLastError("SelectObject", nullptr, ERROR_INVALID_HANDLE)) return nullptr;
  Hold hold(ScreenLock());
  DeviceContext *dc = FindDC(hdc);
  if (dc == nullptr) return SetLastError(ERROR_INVALID_HANDLE), nullptr;
  if (FindBrush(static_cast<HBRUSH>(object))) {
    HBRUSH old = dc->brush;
    dc->brush = static_cast<HBRUSH>(object);
    return old;
  }
  Bitmap *bitmap = FindBitmap(static_cast<HBITMAP>(object));
  // Bitmaps go only into memory device contexts, and into one at a time.
  if (bitmap == nullptr || dc->kind != DCKind::kMemory ||
      (bitmap->selectedIn != nullptr && bitmap->selectedIn != hdc))
    return SetLastError(ERROR_INVALID_PARAMETER), nullptr;
  HBITMAP old = dc->bitmap;
  if (Bitmap *previous = FindBitmap(old)) {
    if (previous->selectedIn == hdc) previous->selectedIn = nullptr;
  }
  dc->bitmap = static_cast<HBITMAP>(object);
  if (!bitmap->stock) bitmap->selectedIn = hdc;
  return old;
}

PLATFORM_API HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
  if (FailWithLastError("GetCurrentObject", nullptr, ERROR_INVALID_HANDLE)) return nullptr;
  Hold hold(ScreenLock());
  const DeviceContext *dc = FindDC(hdc);
  if (dc == nullptr) return SetLastError(ERROR_INVALID_HANDLE), nullptr;
  switch (type) {
    case OBJ_BITMAP: return dc->bitmap;
    case OBJ_PAL: return dc->palette;
    case OBJ_BRUSH: return dc->brush;
    default: return SetLastError(ERROR_INVALID_PARAMETER), nullptr;
  }
}

PLATFORM_API BOOL WINAPI DeleteObject(HGDIOBJ object) {
  if (FailWithLastError("DeleteObject", nullptr, ERROR_INVALID_HANDLE)) return FALSE;
  Hold hold(ScreenLock());
  WindowSystem &ws = Ws();
  Bitmap *bitmap = FindBitmap(static_cast<HBITMAP>(object));
  Palette *palette = FindPalette(static_cast<HPALETTE>(object));
  Brush *brush = FindBrush(static_cast<HBRUSH>(object));
  if (!bitmap && !palette && !brush) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
  // Stock objects are not deleted, and asking is harmless.
  if ((bitmap && bitmap->stock) || (palette && palette->stock) || (brush && brush->stock)) return TRUE;
  // An object still selected into a device context stays.
  if (SelectedAnywhere(object)) return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
  if (bitmap) {
    FreeBitmapBits(bitmap);
    ws.bitmaps.erase(Key(object));
  } else if (palette) {
    ws.palettes.erase(Key(object));
  } else {
    ws.brushes.erase(Key(object));
  }
  return TRUE;
}

PLATFORM_API HGDIOBJ WINAPI GetStockObject(int index) {
  Hold hold(ScreenLock());
  WindowSystem &ws = Ws();
  if (index >= WHITE_BRUSH && index <= NULL_BRUSH) return ws.stockBrushes[index];
  if (index == DEFAULT_PALETTE) return ws.stockPalette;
  return nullptr;
}

PLATFORM_API int WINAPI GetDeviceCaps(HDC hdc, int index) {
  Hold hold(ScreenLock());
  if (FindDC(hdc) == nullptr) return SetLastError(ERROR_INVALID_HANDLE), 0;
  // Memory device contexts report the screen they are compatible with.
  ScreenMode mode = CurrentScreenMode();
  bool palettized = mode.bitsPerPixel == 8;
  switch (index) {
    case HORZRES: return mode.width;
    case VERTRES: return mode.height;
    case BITSPIXEL: return ReportedBitsPerPixel(mode);
    case PLANES: return 1;
    case NUMCOLORS: return palettized ? 20 : -1;
    case RASTERCAPS: return RC_BITBLT | RC_DI_BITMAP | (palettized ? RC_PALETTE : 0);
    case SIZEPALETTE: return palettized ? 256 : 0;
    default: return 0;
  }
}

PLATFORM_API int WINAPI PlatformGetPixelFormatNumber(HDC hdc) {
  if (FailWithLastError("PlatformGetPixelFormatNumber", nullptr, ERROR_INVALID_PIXEL_FORMAT)) return 0;
  Hold hold(ScreenLock());
  const DeviceContext *dc = FindDC(hdc);
  if (dc == nullptr) return SetLastError(ERROR_INVALID_HANDLE), 0;
  if (dc->kind == DCKind::kMemory) return dc->pixelFormat;
  const Window *window = FindWindow(dc->window);
  return window ? window->pixelFormat : 0;
}

PLATFORM_API BOOL WINAPI PlatformSetPixelFormatNumber(HDC hdc, int format) {
  if (FailWithLastError("PlatformSetPixelFormatNumber", nullptr, ERROR_INVALID_PIXEL_FORMAT)) return FALSE;
  Hold hold(ScreenLock());
  DeviceContext *dc = FindDC(hdc);
  if (dc == nullptr) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
  Window *window = dc->kind == DCKind::kWindow ? FindWindow(dc->window) : nullptr;
  int *number = dc->kind == DCKind::kMemory ? &dc->pixelFormat : window ? &window->pixelFormat : nullptr;
  // The whole screen has no pixel format, and a number once set stays.
  if (number == nullptr || format <= 0 || (*number != 0 && *number != format))
    return SetLastError(ERROR_INVALID_PIXEL_FORMAT), FALSE;
  *number = format;
  return TRUE;
}
