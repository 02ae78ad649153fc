// Editing raw pixel-format rows against the display: what each row can draw
// to here, its colour layout, and which rows are offered at all. Rows of the
// display's depth come first and take its colour masks.
#include "wgl/wgl_pixel_format.h"

namespace {

constexpr DWORD kPaletteFlags = PFD_NEED_PALETTE | PFD_NEED_SYSTEM_PALETTE;

struct Masks {
  uint32_t red, green, blue, alpha;
};

// The layout a row of another depth takes: its own depth's usual one.
Masks CanonicalMasks(const PIXELFORMATDESCRIPTOR &row) {
  if (row.iPixelType != PFD_TYPE_RGBA) return Masks{0, 0, 0, 0};
  switch (row.cColorBits) {
    case 8:
      return Masks{0xE0, 0x1C, 0x03, 0};
    case 16:
      return Masks{0x7C00, 0x3E0, 0x1F, 0};
    case 24:
    case 32:
      return Masks{0xFF0000, 0xFF00, 0xFF, 0};
    default:
      return Masks{0, 0, 0, 0};
  }
}

bool Supported(PIXELFORMATDESCRIPTOR *row, uint32_t displayDepth, const Masks &m) {
  return __wglPixelFormatSupported(row, displayDepth, m.red, m.green, m.blue, m.alpha);
}

}  // namespace

void __wglDecodeColorMask(uint32_t mask, uint8_t *bits, uint8_t *shift) {
  uint8_t at = 0, run = 0;
  if (mask != 0) {
    while (!(mask & 1u)) mask >>= 1, at++;
    while (mask & 1u) mask >>= 1, run++;
  }
  *bits = run;
  *shift = at;
}

bool __wglPixelFormatSupported(PIXELFORMATDESCRIPTOR *row, uint32_t displayDepth, uint32_t redMask,
                               uint32_t greenMask, uint32_t blueMask, uint32_t alphaMask) {
  DWORD flags = row->dwFlags;
  if (row->cColorBits == displayDepth)
    flags |= PFD_DRAW_TO_WINDOW;
  else
    flags &= ~PFD_DRAW_TO_WINDOW;
  // GDI cannot draw into a back buffer, and a bitmap has none.
  if (flags & PFD_DOUBLEBUFFER) {
    flags &= ~(PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI);
    if (!(flags & PFD_DRAW_TO_WINDOW)) {
      row->dwFlags = flags;
      return false;
    }
  } else {
    flags |= PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI;
  }
  if (row->iPixelType == PFD_TYPE_RGBA && row->cColorBits == 8)
    flags |= kPaletteFlags;
  else
    flags &= ~kPaletteFlags;
  if (row->cColorBits == 16 || row->cColorBits == 32) {
    __wglDecodeColorMask(redMask, &row->cRedBits, &row->cRedShift);
    __wglDecodeColorMask(greenMask, &row->cGreenBits, &row->cGreenShift);
    __wglDecodeColorMask(blueMask, &row->cBlueBits, &row->cBlueShift);
    __wglDecodeColorMask(alphaMask, &row->cAlphaBits, &row->cAlphaShift);
  }
  bool accept = true;
  // Indices cannot reach a deeper display's window, only a bitmap.
  if (displayDepth > 8 && row->iPixelType != PFD_TYPE_RGBA) {
    flags &= ~PFD_DRAW_TO_WINDOW;
    accept = (flags & PFD_DRAW_TO_BITMAP) != 0;
  }
  row->dwFlags = flags;
  return accept;
}

bool __wglUpdatePixelFormats(HDC hdc, PIXELFORMATDESCRIPTOR *rows, int32_t rowCount,
                             PIXELFORMATDESCRIPTOR **list, int32_t *count) {
  Masks display = {0, 0, 0, 0};
  const uint32_t depth =
      getDisplayMasks(hdc, &display.red, &display.green, &display.blue, &display.alpha);
  *count = 0;
  if (depth == 0) return false;
  int32_t n = 0;
  for (int32_t i = 0; i < rowCount; i++)
    if (rows[i].cColorBits == depth && Supported(&rows[i], depth, display)) list[n++] = &rows[i];
  for (int32_t i = 0; i < rowCount; i++)
    if (rows[i].cColorBits != depth && Supported(&rows[i], depth, CanonicalMasks(rows[i])))
      list[n++] = &rows[i];
  *count = n;
  return true;
}
