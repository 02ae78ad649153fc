// The handle tables of the window manager and GDI, the stock objects and the
// system palette they start with.
#include <stdlib.h>
#include <string.h>

#include "platform/screen.h"
#include "platform/window_system.h"

namespace platform {
namespace {

// The twenty colours the platform reserves in the 8-bit mode: ten at each end
// of the system palette.
const PALETTEENTRY kStaticColors[20] = {
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
    {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
    {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
    {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
};

// Larger pixel blocks fail as out of memory.
constexpr uint64_t kLargestBitmap = 256u << 20;

void ResetSystemPalette(WindowSystem &ws) {
  memset(ws.systemPalette, 0, sizeof ws.systemPalette);
  for (int i = 0; i < 10; ++i) {
    ws.systemPalette[i] = kStaticColors[i];
    ws.systemPalette[246 + i] = kStaticColors[10 + i];
  }
}

void MakeStockObjects(WindowSystem &ws) {
  Bitmap mono;
  mono.width = mono.height = 1;
  mono.bitCount = 1;
  mono.stride = 4;
  mono.colors = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  mono.stock = true;
  AllocateBitmapBits(&mono);
  ws.stockBitmap = reinterpret_cast<HBITMAP>(NewHandle());
  ws.bitmaps.emplace(Key(ws.stockBitmap), mono);

  Palette defaults;
  defaults.entries.assign(kStaticColors, kStaticColors + 20);
  defaults.stock = true;
  ws.stockPalette = reinterpret_cast<HPALETTE>(NewHandle());
  ws.palettes.emplace(Key(ws.stockPalette), defaults);

  const COLORREF greys[5] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                             RGB(64, 64, 64), RGB(0, 0, 0)};
  for (int i = 0; i < 6; ++i) {
    Brush brush;
    brush.color = i < 5 ? greys[i] : 0;
    brush.hollow = i == NULL_BRUSH;
    brush.stock = true;
    ws.stockBrushes[i] = reinterpret_cast<HBRUSH>(NewHandle());
    ws.brushes.emplace(Key(ws.stockBrushes[i]), brush);
  }

  ResetSystemPalette(ws);
}

// Colours a layout through the system palette, copied into `colors`.
void UseSystemPalette(PixelLayout *layout, RGBQUAD colors[256]) {
  const PALETTEENTRY *system = Ws().systemPalette;
  for (int i = 0; i < 256; ++i) colors[i] = {system[i].peBlue, system[i].peGreen, system[i].peRed, 0};
  layout->colors = colors;
  layout->colorCount = 256;
}

template <typename T>
T *Find(std::map<uintptr_t, T> &table, const void *handle) {
  auto it = table.find(Key(handle));
  return it == table.end() ? nullptr : &it->second;
}

}  // namespace

WindowSystem &Ws() {
  static WindowSystem *ws = [] {
    WindowSystem *made = new WindowSystem;  // never destroyed: calls may come late at exit
    MakeStockObjects(*made);
    return made;
  }();
  return *ws;
}

uintptr_t NewHandle() {
  // Called under the lock, also while Ws() makes the stock objects.
  static uintptr_t next = 0x10000;
  uintptr_t handle = next;
  next += 4;
  return handle;
}

void ResetSystemPalette() { ResetSystemPalette(Ws()); }

Window *FindWindow(HWND hwnd) { return Find(Ws().windows, hwnd); }
DeviceContext *FindDC(HDC hdc) { return Find(Ws().dcs, hdc); }
Bitmap *FindBitmap(HBITMAP bitmap) { return Find(Ws().bitmaps, bitmap); }
Palette *FindPalette(HPALETTE palette) { return Find(Ws().palettes, palette); }
Brush *FindBrush(HBRUSH brush) { return Find(Ws().brushes, brush); }

void EraseWindow(HWND hwnd) {
  WindowSystem &ws = Ws();
  ws.windows.erase(Key(hwnd));
  for (auto it = ws.zOrder.begin(); it != ws.zOrder.end(); ++it) {
    if (*it == hwnd) {
      ws.zOrder.erase(it);
      break;
    }
  }
  // Its device contexts go with it.
  for (auto it = ws.dcs.begin(); it != ws.dcs.end();) {
    if (it->second.kind == DCKind::kWindow && it->second.window == hwnd)
      it = ws.dcs.erase(it);
    else
      ++it;
  }
  ++ws.clipGeneration;
}

bool AllocateBitmapBits(Bitmap *bitmap) {
  uint64_t bytes = static_cast<uint64_t>(bitmap->stride) * static_cast<uint64_t>(bitmap->height);
  if (bitmap->stride == 0 || bytes > kLargestBitmap) return false;
  void *block = nullptr;
  // 16 spare bytes on each side: generated span code may touch a little past a row's end.
  if (posix_memalign(&block, 16, static_cast<size_t>(bytes) + 32) != 0) return false;
  memset(block, 0, static_cast<size_t>(bytes) + 32);
  bitmap->block = static_cast<uint8_t *>(block);
  bitmap->bits = bitmap->block + 16;
  bitmap->bytes = static_cast<size_t>(bytes);
  return true;
}

void FreeBitmapBits(Bitmap *bitmap) {
  free(bitmap->block);
  bitmap->block = bitmap->bits = nullptr;
  bitmap->bytes = 0;
}

PixelLayout ScreenLayout(RGBQUAD colors[256]) {
  ScreenMode mode = CurrentScreenMode();
  PixelLayout layout;
  layout.bitCount = ReportedBitsPerPixel(mode);
  ScreenModeMasks(mode, &layout.masks[0], &layout.masks[1], &layout.masks[2]);
  if (mode.bitsPerPixel == 8) UseSystemPalette(&layout, colors);
  return layout;
}

PixelLayout BitmapLayout(const Bitmap &bitmap, RGBQUAD colors[256]) {
  PixelLayout layout;
  layout.bitCount = bitmap.bitCount;
  for (int i = 0; i < 3; ++i) layout.masks[i] = bitmap.masks[i];
  if (bitmap.bitCount <= 8) {
    if (bitmap.systemColors) {
      UseSystemPalette(&layout, colors);
    } else {
      layout.colors = bitmap.colors.data();
      layout.colorCount = static_cast<int>(bitmap.colors.size());
    }
  }
  return layout;
}

}  // namespace platform
