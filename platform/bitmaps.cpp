// Bitmaps: device-dependent bitmaps in the screen's format, DIB sections
// (top-down or bottom-up, with colour tables or bit-field masks), their
// descriptions, and reading their bits in another format.
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

// The format of a bitmap compatible with the screen as it is now.
void TakeScreenFormat(Bitmap *b) {
  ScreenMode mode = CurrentScreenMode();
  b->bitCount = ReportedBitsPerPixel(mode);
  ScreenModeMasks(mode, &b->masks[0], &b->masks[1], &b->masks[2]);
  // 5-6-5 is not the 16-bit default, so it is described by masks.
  b->compression = mode.bitsPerPixel == 16 ? BI_BITFIELDS : BI_RGB;
  b->systemColors = mode.bitsPerPixel == 8;
}

// The largest bitmap header the platform knows (the fifth version's); a
// larger size names no header, and the table would lie past any real block.
constexpr DWORD kLargestHeader = 124;

bool ValidBitCount(int bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
         bitCount == 32;
}

// A header size some bitmap header has.
bool KnownHeaderSize(DWORD size) { return size >= sizeof(BITMAPINFOHEADER) && size <= kLargestHeader; }

// Rows this GDI can hold: a known bit count, uncompressed or with masks on 16
// or 32 bits, and a real width and height.
bool ValidFormat(const BITMAPINFOHEADER &h) {
  bool fields = h.biCompression == BI_BITFIELDS;
  return ValidBitCount(h.biBitCount) && (h.biCompression == BI_RGB || fields) &&
         (!fields || h.biBitCount == 16 || h.biBitCount == 32) && h.biWidth > 0 && h.biHeight != 0 &&
         h.biHeight != LONG(0x80000000);
}

// A mask is contiguous and apart from the others; an empty one is allowed.
bool MaskShapesSound(const uint32_t masks[3]) {
  uint32_t seen = 0;
  for (int i = 0; i < 3; ++i) {
    uint32_t m = masks[i];
    if (m == 0) continue;
    if (m & seen) return false;
    uint32_t low = m >> __builtin_ctz(m);
    if (low & (low + 1)) return false;
    seen |= m;
  }
  return true;
}

// Masks that describe a real format: non-empty, sound, inside the pixel.
bool ValidMasks(const uint32_t masks[3], int bitCount) {
  for (int i = 0; i < 3; ++i)
    if (masks[i] == 0 || (bitCount == 16 && (masks[i] >> 16))) return false;
  return MaskShapesSound(masks);
}

// The masks BI_RGB means: 5-5-5 for 16 bits, 8-8-8 for 32.
void DefaultMasks(int bitCount, uint32_t masks[3]) {
  bool narrow = bitCount == 16;
  masks[0] = narrow ? 0x7C00 : 0xFF0000;
  masks[1] = narrow ? 0x03E0 : 0x00FF00;
  masks[2] = narrow ? 0x001F : 0x0000FF;
}

HBITMAP AddBitmap(Bitmap &bitmap) {
  HBITMAP handle = reinterpret_cast<HBITMAP>(NewHandle());
  Ws().bitmaps.emplace(Key(handle), bitmap);
  return handle;
}

// The colour table of a bitmap with `bitCount` bits or fewer, as RGB or as
// palette indices, `n` entries.
void WriteColorTable(const Bitmap &bm, UINT usage, int n, void *table) {
  if (usage == DIB_PAL_COLORS) {
    // Byte copies: the table follows a header of any size, so it may lie at any address.
    for (int i = 0; i < n; ++i) {
      WORD index = static_cast<WORD>(i);
      memcpy(static_cast<uint8_t *>(table) + i * sizeof index, &index, sizeof index);
    }
    return;
  }
  RGBQUAD system[256];
  PixelLayout layout = BitmapLayout(bm, system);
  RGBQUAD *colors = static_cast<RGBQUAD *>(table);
  for (int i = 0; i < n; ++i) colors[i] = i < layout.colorCount ? layout.colors[i] : RGBQUAD{0, 0, 0, 0};
}

// The colour table that Set/GetDIBColorTable reach: that of the DIB section
// selected in a memory device context, when it has entry `start`; null when
// there is none or no `colors` to copy.
Bitmap *SelectedColorTable(HDC hdc, UINT start, const RGBQUAD *colors) {
  const DeviceContext *dc = FindDC(hdc);
  Bitmap *bm = dc && dc->kind == DCKind::kMemory ? FindBitmap(dc->bitmap) : nullptr;
  if (bm == nullptr || !bm->dibSection || bm->bitCount > 8 || colors == nullptr || start >= bm->colors.size())
    return nullptr;
  return bm;
}

// Row `y` (from the top) of a bitmap.
const uint8_t *RowOf(const Bitmap &bm, int y) {
  int memoryRow = bm.topDown ? y : bm.height - 1 - y;
  return bm.bits + static_cast<size_t>(memoryRow) * bm.stride;
}

}  // namespace
}  // namespace platform

using namespace platform;

PLATFORM_API HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int width, int height) {
  if (FailWithLastError("CreateCompatibleBitmap", nullptr, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  Hold hold(ScreenLock());
  const DeviceContext *dc = FindDC(hdc);
  if (dc == nullptr) return SetLastError(ERROR_INVALID_HANDLE), nullptr;
  if (width < 0 || height < 0) return SetLastError(ERROR_INVALID_PARAMETER), nullptr;
  // An empty request gives the stock 1 x 1 monochrome bitmap, as on the platform.
  if (width == 0 || height == 0) return Ws().stockBitmap;
  Bitmap b;
  const Bitmap *selected = FindBitmap(dc->bitmap);
  if (dc->kind == DCKind::kMemory && selected != nullptr) {
    // A memory device context makes bitmaps like the one it holds, so a fresh
    // one (holding the stock bitmap) makes monochrome ones.
    b.bitCount = selected->bitCount;
    memcpy(b.masks, selected->masks, sizeof b.masks);
    b.compression = selected->compression;
    b.colors = selected->colors;
    b.systemColors = selected->systemColors;
  } else {
    TakeScreenFormat(&b);
  }
  b.width = width;
  b.height = height;
  b.topDown = true;
  b.stride = DwordRowBytes(width, b.bitCount);
  if (!AllocateBitmapBits(&b)) return SetLastError(ERROR_NOT_ENOUGH_MEMORY), nullptr;
  return AddBitmap(b);
}

PLATFORM_API HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO *info, UINT usage,
                                             void **bits, HANDLE section, DWORD offset) {
  if (bits) *bits = nullptr;
  if (FailWithLastError("CreateDIBSection", nullptr, ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  if (info == nullptr) return SetLastError(ERROR_INVALID_PARAMETER), nullptr;
  const BITMAPINFOHEADER &h = info->bmiHeader;
  Bitmap b;
  b.bitCount = h.biBitCount;
  bool fields = h.biCompression == BI_BITFIELDS;
  if (!KnownHeaderSize(h.biSize) || !ValidFormat(h) || h.biPlanes != 1 ||
      (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS))
    return SetLastError(ERROR_INVALID_PARAMETER), nullptr;
  // File-mapping sections do not exist here.
  if (section != nullptr) return SetLastError(ERROR_NOT_SUPPORTED), nullptr;
  const uint8_t *table = reinterpret_cast<const uint8_t *>(info) + h.biSize;

  Hold hold(ScreenLock());
  const DeviceContext *dc = hdc ? FindDC(hdc) : nullptr;
  if ((hdc != nullptr && dc == nullptr) || (usage == DIB_PAL_COLORS && dc == nullptr))
    return SetLastError(ERROR_INVALID_HANDLE), nullptr;
  if (b.bitCount <= 8) {
    int n = 1 << b.bitCount;
    if (h.biClrUsed != 0 && h.biClrUsed < static_cast<DWORD>(n)) n = static_cast<int>(h.biClrUsed);
    b.colors.resize(n);
    if (usage == DIB_PAL_COLORS) {
      // Indices into the palette selected in the device context.
      const Palette *palette = FindPalette(dc->palette);
      for (int i = 0; i < n; ++i) {
        WORD index;  // byte copy: the table may lie at any address
        memcpy(&index, table + i * sizeof index, sizeof index);
        PALETTEENTRY e = {0, 0, 0, 0};
        if (palette && index < palette->entries.size()) e = palette->entries[index];
        b.colors[i] = {e.peBlue, e.peGreen, e.peRed, 0};
      }
    } else {
      memcpy(b.colors.data(), table, n * sizeof(RGBQUAD));
    }
  } else if (fields) {
    memcpy(b.masks, table, sizeof b.masks);
    // Empty masks, or masks beyond a 16-bit pixel, are taken: the driver builds
    // 16-bit DIBs with the visual's masks, 8-8-8 for deep visuals and empty in
    // colour-index mode. Such a channel reads as 0.
    if (!MaskShapesSound(b.masks)) return SetLastError(ERROR_INVALID_PARAMETER), nullptr;
  } else if (b.bitCount != 24) {
    DefaultMasks(b.bitCount, b.masks);
  }
  b.compression = fields ? BI_BITFIELDS : BI_RGB;
  b.width = h.biWidth;
  b.topDown = h.biHeight < 0;
  b.height = b.topDown ? -h.biHeight : h.biHeight;
  b.stride = DwordRowBytes(b.width, b.bitCount);
  b.dibSection = true;
  b.header = h;
  b.header.biSize = sizeof(BITMAPINFOHEADER);
  b.offset = offset;
  if (!AllocateBitmapBits(&b)) return SetLastError(ERROR_NOT_ENOUGH_MEMORY), nullptr;
  b.header.biSizeImage = static_cast<DWORD>(b.bytes);
  if (bits) *bits = b.bits;
  return AddBitmap(b);
}

PLATFORM_API int WINAPI GetObjectA(HGDIOBJ object, int size, LPVOID out) {
  if (FailWithLastError("GetObjectA", nullptr, ERROR_INVALID_HANDLE)) return 0;
  Hold hold(ScreenLock());
  if (const Palette *palette = FindPalette(static_cast<HPALETTE>(object))) {
    if (out == nullptr) return sizeof(WORD);
    if (size < static_cast<int>(sizeof(WORD))) return SetLastError(ERROR_INVALID_PARAMETER), 0;
    WORD count = static_cast<WORD>(palette->entries.size());
    memcpy(out, &count, sizeof count);
    return sizeof(WORD);
  }
  const Bitmap *bm = FindBitmap(static_cast<HBITMAP>(object));
  if (bm == nullptr) return SetLastError(ERROR_INVALID_HANDLE), 0;
  if (out == nullptr) return bm->dibSection ? sizeof(DIBSECTION) : sizeof(BITMAP);
  if (size < static_cast<int>(sizeof(BITMAP))) return SetLastError(ERROR_INVALID_PARAMETER), 0;
  DIBSECTION ds;
  memset(&ds, 0, sizeof ds);
  ds.dsBm.bmWidth = bm->width;
  ds.dsBm.bmHeight = bm->height;
  // A device-dependent bitmap reports rows padded to 2 bytes and no bits.
  ds.dsBm.bmWidthBytes = bm->dibSection ? static_cast<LONG>(bm->stride)
                                        : static_cast<LONG>(((int64_t(bm->width) * bm->bitCount + 15) / 16) * 2);
  ds.dsBm.bmPlanes = 1;
  ds.dsBm.bmBitsPixel = static_cast<WORD>(bm->bitCount);
  ds.dsBm.bmBits = bm->dibSection ? bm->bits : nullptr;
  if (!bm->dibSection || size < static_cast<int>(sizeof(DIBSECTION))) {
    memcpy(out, &ds.dsBm, sizeof(BITMAP));
    return sizeof(BITMAP);
  }
  ds.dsBmih = bm->header;
  memcpy(ds.dsBitfields, bm->masks, sizeof ds.dsBitfields);
  // dshSection stays null: there are no file-mapping sections here.
  ds.dsOffset = bm->offset;
  memcpy(out, &ds, sizeof ds);
  return sizeof(DIBSECTION);
}

PLATFORM_API int WINAPI GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits,
                                  LPBITMAPINFO info, UINT usage) {
  if (FailWithLastError("GetDIBits", nullptr, ERROR_INVALID_PARAMETER)) return 0;
  Hold hold(ScreenLock());
  const Bitmap *bm = FindBitmap(bitmap);
  if (FindDC(hdc) == nullptr || bm == nullptr) return SetLastError(ERROR_INVALID_HANDLE), 0;
  if (info == nullptr || !KnownHeaderSize(info->bmiHeader.biSize) ||
      (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS))
    return SetLastError(ERROR_INVALID_PARAMETER), 0;
  BITMAPINFOHEADER &h = info->bmiHeader;
  uint8_t *table = reinterpret_cast<uint8_t *>(info) + h.biSize;

  // No bit count asked: describe the bitmap in the header, nothing more.
  if (bits == nullptr && h.biBitCount == 0) {
    h.biWidth = bm->width;
    h.biHeight = bm->dibSection && bm->topDown ? -bm->height : bm->height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bm->bitCount);
    h.biCompression = bm->compression;
    h.biSizeImage = static_cast<DWORD>(bm->bytes);
    h.biXPelsPerMeter = h.biYPelsPerMeter = 0;
    h.biClrUsed = h.biClrImportant = 0;
    return bm->height;
  }

  // A format is asked: its colour table or masks, and with a buffer the rows.
  int bitCount = h.biBitCount;
  bool fields = h.biCompression == BI_BITFIELDS;
  if (!ValidFormat(h) || (bitCount <= 8 && bitCount != bm->bitCount))  // no colour reduction into indices
    return SetLastError(ERROR_INVALID_PARAMETER), 0;
  PixelLayout to;
  to.bitCount = bitCount;
  if (bitCount <= 8) {
    WriteColorTable(*bm, usage, 1 << bitCount, table);
  } else if (bitCount != 24) {
    uint32_t masks[3];
    memcpy(masks, table, sizeof masks);
    if (!fields || !ValidMasks(masks, bitCount)) {
      if (fields && bitCount == bm->bitCount)
        memcpy(masks, bm->masks, sizeof masks);
      else
        DefaultMasks(bitCount, masks);
    }
    if (fields) memcpy(table, masks, sizeof masks);
    memcpy(to.masks, masks, sizeof masks);
  }
  LONG height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  uint32_t rowBytes = DwordRowBytes(h.biWidth, bitCount);
  if (rowBytes == 0) return SetLastError(ERROR_INVALID_PARAMETER), 0;
  h.biSizeImage = static_cast<DWORD>(static_cast<uint64_t>(rowBytes) * height);
  if (bits == nullptr) return bm->height;

  RGBQUAD system[256];
  PixelLayout from = BitmapLayout(*bm, system);
  if (bitCount <= 8) to = from;
  bool topDown = h.biHeight < 0;
  int width = std::min<int>(h.biWidth, bm->width);
  UINT copied = 0;
  for (UINT i = 0; i < lines; ++i) {
    uint64_t scan = static_cast<uint64_t>(start) + i;
    if (scan >= static_cast<uint64_t>(bm->height)) break;
    int y = topDown ? static_cast<int>(scan) : bm->height - 1 - static_cast<int>(scan);
    const uint8_t *source = RowOf(*bm, y);
    uint8_t *dest = static_cast<uint8_t *>(bits) + static_cast<size_t>(i) * rowBytes;
    memset(dest, 0, rowBytes);  // padding and any width the bitmap lacks read as zero
    if (SameLayout(from, to)) {
      memcpy(dest, source, (static_cast<size_t>(width) * bitCount + 7) / 8);
    } else {
      for (int x = 0; x < width; ++x) WriteArgb(dest, x, to, ReadArgb(source, x, from));
    }
    ++copied;
  }
  return static_cast<int>(copied);
}

PLATFORM_API UINT WINAPI SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD *colors) {
  if (FailWithLastError("SetDIBColorTable", nullptr, ERROR_INVALID_PARAMETER)) return 0;
  Hold hold(ScreenLock());
  Bitmap *bm = SelectedColorTable(hdc, start, colors);
  if (bm == nullptr) return SetLastError(ERROR_INVALID_PARAMETER), 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(bm->colors.size()) - start);
  memcpy(&bm->colors[start], colors, n * sizeof(RGBQUAD));
  return n;
}

PLATFORM_API UINT WINAPI GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD *colors) {
  if (FailWithLastError("GetDIBColorTable", nullptr, ERROR_INVALID_PARAMETER)) return 0;
  Hold hold(ScreenLock());
  const Bitmap *bm = SelectedColorTable(hdc, start, colors);
  if (bm == nullptr) return SetLastError(ERROR_INVALID_PARAMETER), 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(bm->colors.size()) - start);
  memcpy(colors, &bm->colors[start], n * sizeof(RGBQUAD));
  return n;
}
