// The display's pixel layout as GDI describes it: the bits per pixel of a
// bitmap compatible with the device context, and its colour masks.
#include <string.h>

#include "wgl/wgl_alloc.h"
#include "wgl/wgl_pixel_format.h"

namespace {

// Header and room for a 256-entry colour table, which GDI may write.
constexpr size_t kInfoBytes = 1080;

}  // namespace

uint32_t getDisplayMasks(HDC hdc, uint32_t *red, uint32_t *green, uint32_t *blue, uint32_t *alpha) {
  HBITMAP bitmap = CreateCompatibleBitmap(hdc, 1, 1);
  if (bitmap == nullptr) return 0;
  BITMAPINFO *info = static_cast<BITMAPINFO *>(__wglMalloc(kInfoBytes));
  if (info == nullptr) {
    DeleteObject(bitmap);
    return 0;
  }
  info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  // The first call describes the bitmap, the second adds its masks. A
  // description that could not be had gives no depth: a list built from a
  // half-filled header would name masks the display does not have.
  if (GetDIBits(hdc, bitmap, 0, 1, nullptr, info, DIB_RGB_COLORS) == 0 ||
      GetDIBits(hdc, bitmap, 0, 1, nullptr, info, DIB_RGB_COLORS) == 0) {
    DeleteObject(bitmap);
    __wglFree(info);
    return 0;
  }
  const BITMAPINFOHEADER &h = info->bmiHeader;
  uint32_t fields[3];
  memcpy(fields, info->bmiColors, sizeof fields);
  const bool bitFields = h.biCompression == BI_BITFIELDS;
  switch (h.biBitCount) {
    case 1:
    case 4:
    case 8:
      *red = *green = *blue = 0;
      break;
    case 16:
      *red = bitFields ? fields[0] : 0x7C00;
      *green = bitFields ? fields[1] : 0x3E0;
      *blue = bitFields ? fields[2] : 0x1F;
      break;
    case 24:
      *red = 0xFF0000, *green = 0xFF00, *blue = 0xFF;
      break;
    case 32:
      *red = bitFields ? fields[0] : 0xFF0000;
      *green = bitFields ? fields[1] : 0xFF00;
      *blue = bitFields ? fields[2] : 0xFF;
      break;
    default:
      // Other depths leave the colour masks as the caller had them.
      break;
  }
  *alpha = 0;
  const uint32_t bits = h.biBitCount;
  DeleteObject(bitmap);
  __wglFree(info);
  return bits;
}
