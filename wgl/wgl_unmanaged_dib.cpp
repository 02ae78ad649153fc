// The application-bitmap buffer kind: the front buffer of a bitmap drawable
// is the DIB section the application selected into its memory device
// context. The kind owns nothing; it only describes the bitmap's bits.
#include <string.h>

#include "wgl/wgl_dib.h"
#include "wgl/wgl_message.h"

namespace {

void Describe(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable, uint32_t width,
              uint32_t height, uint8_t *base, int32_t pitchBytes) {
  buffer->width = width;
  buffer->height = height;
  buffer->base = base;
  buffer->pitchBytes = pitchBytes;
  buffer->pitch = buffer->elementSize ? pitchBytes / int32_t(buffer->elementSize) : 0;
  drawable->width = int32_t(width);
  drawable->height = int32_t(height);
}

// Reads the bitmap now selected in the drawable's device context. A bitmap
// that is not a DIB section (no bits to draw into) leaves the buffer and the
// drawable 0 x 0.
bool TakeSelectedBitmap(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable) {
  Describe(buffer, drawable, 0, 0, nullptr, 0);
  HGDIOBJ bitmap = GetCurrentObject(drawable->hdc, OBJ_BITMAP);
  if (bitmap == nullptr) {
    __wglError("__wglInitUnmanagedDIB: GetCurrentObject failed");
    return false;
  }
  DIBSECTION ds;
  memset(&ds, 0, sizeof ds);
  if (GetObject(bitmap, sizeof ds, &ds) != int(sizeof ds) || ds.dsBm.bmBits == nullptr ||
      ds.dsBm.bmWidth < 0 || ds.dsBm.bmHeight < 0) {
    __wglError("__wglInitUnmanagedDIB: GetObject failed");
    return false;
  }
  // The bitmap's pixels are what the core writes: their size rules (a 32-bit
  // bitmap of an 8-8-8 format has 4-byte pixels, not 3). Fewer than 8 bits a
  // pixel cannot be drawn into; and pixels smaller than the format's would
  // be overrun, as the core stores colour indices in the format's size.
  const uint32_t formatBytes = __wglBufferElementSize(buffer, drawable, buffer->depth);
  if (ds.dsBm.bmBitsPixel < 8 || ds.dsBm.bmBitsPixel / 8u < formatBytes) {
    __wglError("__wglInitUnmanagedDIB: the bitmap's pixels are smaller than the format's");
    return false;
  }
  buffer->elementSize = ds.dsBm.bmBitsPixel / 8u;
  buffer->elementSizeLog2 = 31 - __builtin_clz(buffer->elementSize);
  drawable->drawable.yInverted = ds.dsBmih.biHeight < 0 ? 1 : 0;
  const int32_t pitchBytes = (ds.dsBm.bmWidthBytes + 3) & ~3;
  Describe(buffer, drawable, uint32_t(ds.dsBm.bmWidth), uint32_t(ds.dsBm.bmHeight),
           static_cast<uint8_t *>(ds.dsBm.bmBits), pitchBytes);
  return true;
}

// The application may have selected another bitmap since: describe the one
// selected now, so that base never points into a bitmap that is gone.
uint32_t UnmanagedUpdate(GlDrawableBuffer *buffer, int32_t, int32_t, int32_t, int32_t,
                         GlDrawable *drawable, uint32_t) {
  if (drawable->wglPrivate == nullptr) return 0;
  return TakeSelectedBitmap(buffer, drawable->wglPrivate) ? 1 : 0;
}

}  // namespace

void __wglInitUnmanagedDIB(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable,
                           uint32_t depth) {
  __wglStartBufferKind(buffer, drawable, depth);
  buffer->update = UnmanagedUpdate;
  buffer->lock = __wglPixelsStayPut;
  buffer->unlock = __wglPixelsStayPut;
  buffer->fill = nullptr;
  buffer->free = nullptr;
  TakeSelectedBitmap(buffer, drawable);
}
