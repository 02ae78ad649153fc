// Logical palettes, their selection and realization, and the system palette
// that the 8-bit screen shows.
#include <string.h>

#include <algorithm>
#include <mutex>

#include "platform/fault.h"
#include "platform/kernel.h"
#include "platform/screen.h"
#include "platform/vlxdesktop.h"
#include "platform/window_system.h"

namespace platform {
namespace {

using Hold = std::lock_guard<std::recursive_mutex>;

constexpr UINT kLargestPalette = 1024;

bool Palettized() { return CurrentScreenMode().bitsPerPixel == 8; }

// Copies entries into the system palette; true when any colour changed.
bool LoadSystemPalette(UINT first, UINT count, const PALETTEENTRY *entries) {
  PALETTEENTRY *system = Ws().systemPalette;
  bool changed = false;
  for (UINT i = 0; i < count; ++i) {
    PALETTEENTRY &e = system[first + i];
    const PALETTEENTRY &n = entries[i];
    changed |= e.peRed != n.peRed || e.peGreen != n.peGreen || e.peBlue != n.peBlue;
    e = {n.peRed, n.peGreen, n.peBlue, 0};
  }
  return changed;
}

}  // namespace
}  // namespace platform

using namespace platform;

PLATFORM_API HPALETTE WINAPI CreatePalette(const LOGPALETTE *palette) {
  if (FailWithLastError("CreatePalette", nullptr, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  if (palette == nullptr || palette->palVersion != 0x300 || palette->palNumEntries == 0 ||
      palette->palNumEntries > kLargestPalette)
    return SetLastError(ERROR_INVALID_PARAMETER), nullptr;
  Palette p;
  p.entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
  Hold hold(ScreenLock());
  HPALETTE handle = reinterpret_cast<HPALETTE>(NewHandle());
  Ws().palettes.emplace(Key(handle), p);
  return handle;
}

PLATFORM_API HPALETTE WINAPI SelectPalette(HDC hdc, HPALETTE palette, BOOL) {
  if (FailWithLastError("SelectPalette", nullptr, ERROR_INVALID_HANDLE)) return nullptr;
  Hold hold(ScreenLock());
  DeviceContext *dc = FindDC(hdc);
  if (dc == nullptr || FindPalette(palette) == nullptr) return SetLastError(ERROR_INVALID_HANDLE), nullptr;
  HPALETTE old = dc->palette;
  dc->palette = palette;
  return old;
}

PLATFORM_API UINT WINAPI RealizePalette(HDC hdc) {
  if (FailWithLastError("RealizePalette", nullptr, ERROR_INVALID_HANDLE)) return GDI_ERROR;
  Outbox outbox;
  UINT mapped;
  {
    Hold hold(ScreenLock());
    const DeviceContext *dc = FindDC(hdc);
    const Palette *palette = dc ? FindPalette(dc->palette) : nullptr;
    if (palette == nullptr) return SetLastError(ERROR_INVALID_HANDLE), GDI_ERROR;
    // The default palette holds the reserved colours, which are always there.
    if (palette->stock) return 0;
    mapped = std::min<UINT>(static_cast<UINT>(palette->entries.size()), 256);
    // Only what a window shows reaches the screen's palette.
    if (Palettized() && dc->kind == DCKind::kWindow &&
        LoadSystemPalette(0, mapped, palette->entries.data()))
      SendToAllWindows(outbox, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(dc->window), 0);
  }
  outbox.Flush();
  return mapped;
}

PLATFORM_API UINT WINAPI GetPaletteEntries(HPALETTE palette, UINT start, UINT count,
                                           LPPALETTEENTRY entries) {
  if (FailWithLastError("GetPaletteEntries", nullptr, ERROR_INVALID_HANDLE)) return 0;
  Hold hold(ScreenLock());
  const Palette *p = FindPalette(palette);
  if (p == nullptr) return SetLastError(ERROR_INVALID_HANDLE), 0;
  UINT size = static_cast<UINT>(p->entries.size());
  if (entries == nullptr) return size;
  if (start >= size) return 0;
  UINT n = std::min(count, size - start);
  memcpy(entries, &p->entries[start], n * sizeof(PALETTEENTRY));
  return n;
}

PLATFORM_API UINT WINAPI GetSystemPaletteEntries(HDC hdc, UINT start, UINT count,
                                                 LPPALETTEENTRY entries) {
  if (FailWithLastError("GetSystemPaletteEntries", nullptr, ERROR_INVALID_HANDLE)) return 0;
  Hold hold(ScreenLock());
  if (FindDC(hdc) == nullptr) return SetLastError(ERROR_INVALID_HANDLE), 0;
  // Only a palettized screen has a system palette.
  if (!Palettized()) return 0;
  if (entries == nullptr) return 256;
  if (start >= 256) return 0;
  UINT n = std::min<UINT>(count, 256 - start);
  memcpy(entries, &Ws().systemPalette[start], n * sizeof(PALETTEENTRY));
  return n;
}

PLATFORM_API BOOL DesktopSetSystemPalette(UINT first, UINT count, const PALETTEENTRY *entries) {
  DeliverQueuedMessages();
  Outbox outbox;
  {
    Hold hold(ScreenLock());
    if (!Palettized() || first > 256 || count > 256 - first || (entries == nullptr && count != 0))
      return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
    LoadSystemPalette(first, count, entries);
    SendToAllWindows(outbox, WM_PALETTECHANGED, 0, 0);
  }
  outbox.Flush();
  return TRUE;
}
