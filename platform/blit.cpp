// Drawing: fills and bit-block copies between memory bitmaps, windows and the
// screen. A window's device context reads its client area from the screen
// and writes only where the window is visible.
#include <string.h>

#include <algorithm>
#include <mutex>

#include "platform/fault.h"
#include "platform/kernel.h"
#include "platform/screen.h"
#include "platform/window_system.h"

namespace platform {
namespace {

using Hold = std::lock_guard<std::recursive_mutex>;

// Pixels a device context draws on, seen top row first.
struct Canvas {
  uint8_t *top = nullptr;  // row 0
  ptrdiff_t stride = 0;    // bytes from one row to the row below
  PixelLayout layout;
  RGBQUAD colors[256];
  int dcX = 0, dcY = 0;  // where the device context's (0, 0) lies
  std::vector<RECT> writable;
  RECT readable = {0, 0, 0, 0};

  uint8_t *Row(int y) const { return top + stride * y; }
};

// A rectangle from a caller's numbers, which may lie anywhere: its sums are
// taken in 64 bits so that nothing overflows before it is cut to a canvas.
struct Box {
  int64_t left, top, right, bottom;
};

Box Moved(const Box &b, int64_t dx, int64_t dy) {
  return {b.left + dx, b.top + dy, b.right + dx, b.bottom + dy};
}

// The part of `b` inside `limit`, empty when there is none; its numbers are
// then the limit's kind.
RECT Cut(const Box &b, const RECT &limit) {
  int64_t left = std::max<int64_t>(b.left, limit.left), top = std::max<int64_t>(b.top, limit.top);
  int64_t right = std::min<int64_t>(b.right, limit.right), bottom = std::min<int64_t>(b.bottom, limit.bottom);
  if (left >= right || top >= bottom) return {0, 0, 0, 0};
  return {static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right), static_cast<LONG>(bottom)};
}

void OpenScreen(Canvas *c) {
  ScreenMode mode = CurrentScreenMode();
  c->top = VideoMemoryBase();
  c->stride = mode.pitch;
  c->layout = ScreenLayout(c->colors);
  c->readable = {0, 0, mode.width, mode.height};
  c->writable = {c->readable};
}

bool Open(HDC hdc, Canvas *c) {
  const DeviceContext *dc = FindDC(hdc);
  if (dc == nullptr) return false;
  if (dc->kind == DCKind::kMemory) {
    const Bitmap *bm = FindBitmap(dc->bitmap);
    if (bm == nullptr) return false;
    c->top = bm->topDown ? bm->bits : bm->bits + static_cast<ptrdiff_t>(bm->height - 1) * bm->stride;
    c->stride = bm->topDown ? static_cast<ptrdiff_t>(bm->stride) : -static_cast<ptrdiff_t>(bm->stride);
    c->layout = BitmapLayout(*bm, c->colors);
    c->readable = {0, 0, bm->width, bm->height};
    c->writable = {c->readable};
    return true;
  }
  OpenScreen(c);
  if (dc->kind == DCKind::kWindow) {
    const Window *window = FindWindow(dc->window);
    if (window == nullptr) return false;
    c->dcX = window->rect.left;
    c->dcY = window->rect.top;
    c->readable = RectIntersection(c->readable, window->rect);
    c->writable = WindowVisibleRects(dc->window);
  }
  return true;
}

// The raw pixel value nearest to a colour in the canvas's layout.
uint32_t RawOf(const PixelLayout &layout, uint32_t argb) {
  uint8_t scratch[4] = {};
  WriteArgb(scratch, 0, layout, argb);
  return ReadRaw(scratch, 0, layout.bitCount);
}

// Fills a rectangle given in device-context coordinates.
void Fill(const Canvas &c, const Box &area, uint32_t argb) {
  Box r = Moved(area, c.dcX, c.dcY);
  uint32_t raw = RawOf(c.layout, argb);
  for (const RECT &w : c.writable) {
    RECT part = Cut(r, w);
    if (RectIsEmpty(part)) continue;
    for (LONG y = part.top; y < part.bottom; ++y) {
      uint8_t *row = c.Row(y);
      for (LONG x = part.left; x < part.right; ++x) WriteRaw(row, x, c.layout.bitCount, raw);
    }
  }
}

// The colour a brush paints with in a device context.
bool BrushColor(HDC hdc, HBRUSH handle, uint32_t *argb) {
  const Brush *brush = FindBrush(handle);
  if (brush == nullptr || brush->hollow) return false;
  COLORREF color = brush->color;
  if ((color & 0xFF000000u) == 0x01000000u) {  // PALETTEINDEX: an entry of the selected palette
    const DeviceContext *dc = FindDC(hdc);
    const Palette *palette = dc ? FindPalette(dc->palette) : nullptr;
    PALETTEENTRY e = {0, 0, 0, 0};
    if (palette && (color & 0xFFFF) < palette->entries.size()) e = palette->entries[color & 0xFFFF];
    color = RGB(e.peRed, e.peGreen, e.peBlue);
  }
  *argb = 0xFF000000u | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
  return true;
}

BOOL PatternFill(HDC hdc, int x, int y, int width, int height, DWORD rop) {
  Canvas c;
  if (!Open(hdc, &c)) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
  uint32_t argb = 0;
  if (rop == BLACKNESS) {
    argb = 0xFF000000u;
  } else if (rop == WHITENESS) {
    argb = 0xFFFFFFFFu;
  } else if (!BrushColor(hdc, FindDC(hdc)->brush, &argb)) {
    return TRUE;  // a hollow brush paints nothing
  }
  // Negative sizes reach the other way.
  int64_t x0 = x, y0 = y, x1 = x0 + width, y1 = y0 + height;
  Fill(c, {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)}, argb);
  return TRUE;
}

bool KnownRop(DWORD rop) { return rop == SRCCOPY || rop == PATCOPY || rop == BLACKNESS || rop == WHITENESS; }

}  // namespace

void PaintScreen(const std::vector<RECT> &rects, uint32_t argb) {
  Hold hold(ScreenLock());
  Canvas c;
  OpenScreen(&c);
  c.writable = rects;
  Fill(c, {c.readable.left, c.readable.top, c.readable.right, c.readable.bottom}, argb);
}

}  // namespace platform

using namespace platform;

PLATFORM_API HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  if (FailWithLastError("CreateSolidBrush", nullptr, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  Hold hold(ScreenLock());
  Brush brush;
  brush.color = color;
  HBRUSH handle = reinterpret_cast<HBRUSH>(NewHandle());
  Ws().brushes.emplace(Key(handle), brush);
  return handle;
}

PLATFORM_API int WINAPI FillRect(HDC hdc, const RECT *rect, HBRUSH brush) {
  if (FailWithLastError("FillRect", nullptr, ERROR_INVALID_HANDLE)) return 0;
  Hold hold(ScreenLock());
  Canvas c;
  uint32_t argb;
  if (rect == nullptr) return SetLastError(ERROR_INVALID_PARAMETER), 0;
  if (!Open(hdc, &c) || FindBrush(brush) == nullptr) return SetLastError(ERROR_INVALID_HANDLE), 0;
  if (BrushColor(hdc, brush, &argb)) Fill(c, {rect->left, rect->top, rect->right, rect->bottom}, argb);
  return 1;
}

PLATFORM_API BOOL WINAPI PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
  if (FailWithLastError("PatBlt", nullptr, ERROR_INVALID_HANDLE)) return FALSE;
  if (rop != PATCOPY && rop != BLACKNESS && rop != WHITENESS)
    return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
  Hold hold(ScreenLock());
  return PatternFill(hdc, x, y, width, height, rop);
}

PLATFORM_API BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC source,
                                int sourceX, int sourceY, DWORD rop) {
  if (FailWithLastError("BitBlt", nullptr, ERROR_INVALID_HANDLE)) return FALSE;
  if (!KnownRop(rop)) return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
  Hold hold(ScreenLock());
  if (rop != SRCCOPY) return PatternFill(dest, x, y, width, height, rop);
  Canvas to, from;
  if (!Open(dest, &to) || !Open(source, &from)) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
  if (width <= 0 || height <= 0) return TRUE;

  // What the source has of the rectangle, in source canvas coordinates.
  Box asked = Moved({sourceX, sourceY, int64_t(sourceX) + width, int64_t(sourceY) + height}, from.dcX, from.dcY);
  RECT s = Cut(asked, from.readable);
  if (RectIsEmpty(s)) return TRUE;
  int64_t dx = int64_t(x) + to.dcX - (int64_t(sourceX) + from.dcX);
  int64_t dy = int64_t(y) + to.dcY - (int64_t(sourceY) + from.dcY);
  LONG w = s.right - s.left, h = s.bottom - s.top;

  // Read everything first: source and destination may be the same pixels.
  bool raw = SameLayout(from.layout, to.layout);
  Box d = Moved({s.left, s.top, s.right, s.bottom}, dx, dy);
  if (raw && from.layout.bitCount >= 8) {
    // The same whole-byte layout: rows move as bytes (a swap of a window's buffer).
    size_t bpp = from.layout.bitCount / 8, rowBytes = w * bpp;
    std::vector<uint8_t> bytes(rowBytes * h);
    for (LONG row = 0; row < h; ++row)
      memcpy(&bytes[row * rowBytes], from.Row(s.top + row) + s.left * bpp, rowBytes);
    for (const RECT &visible : to.writable) {
      RECT part = Cut(d, visible);
      if (RectIsEmpty(part)) continue;
      for (LONG yy = part.top; yy < part.bottom; ++yy)
        memcpy(to.Row(yy) + part.left * bpp,
               &bytes[static_cast<size_t>(yy - d.top) * rowBytes + static_cast<size_t>(part.left - d.left) * bpp],
               (part.right - part.left) * bpp);
    }
    return TRUE;
  }
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  for (LONG row = 0; row < h; ++row) {
    const uint8_t *line = from.Row(s.top + row);
    uint32_t *out = &pixels[static_cast<size_t>(row) * w];
    for (LONG col = 0; col < w; ++col)
      out[col] = raw ? ReadRaw(line, s.left + col, from.layout.bitCount)
                     : ReadArgb(line, s.left + col, from.layout);
  }
  for (const RECT &visible : to.writable) {
    RECT part = Cut(d, visible);
    if (RectIsEmpty(part)) continue;
    for (LONG yy = part.top; yy < part.bottom; ++yy) {
      uint8_t *line = to.Row(yy);
      const uint32_t *in = pixels.data() + static_cast<size_t>(yy - d.top) * w;
      for (LONG xx = part.left; xx < part.right; ++xx) {
        size_t at = static_cast<size_t>(xx - d.left);
        if (raw)
          WriteRaw(line, xx, to.layout.bitCount, in[at]);
        else
          WriteArgb(line, xx, to.layout, in[at]);
      }
    }
  }
  return TRUE;
}
