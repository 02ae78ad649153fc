// The DIB-section buffer kind: a top-down DIB section the layer creates on
// the drawable's device context and selects into a memory device context of
// its own, so that GDI can copy from it (the DCI swap) and set its colours.
// It serves the depth and stencil buffers of bitmap drawables and the back
// and stencil buffers of the DCI set.
#include <stdio.h>
#include <string.h>

#include "wgl/wgl_dib.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_message.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

struct DibPrivate {
  HBITMAP section;
  HGDIOBJ previous;  // what the memory DC held before the section
  BITMAPINFO *info;
  void *bits;
  uint32_t pitch;  // bytes
  HDC memoryDC;
};

// The header and the largest table that follows it (256 palette indices).
constexpr size_t kInfoBytes = sizeof(BITMAPINFOHEADER) + 256 * sizeof(WORD);

// Bits per pixel of the section. The core addresses every buffer in whole
// elements, so a section always holds elementSize bytes per pixel (a 1-bit
// buffer gets bytes, a 24-bit depth buffer 32-bit words).
uint32_t SectionBits(const GlDrawableBuffer *buffer) { return buffer->elementSize * 8; }

// Gives back the section, the memory DC and the header, leaving the record
// empty; reports each failure with its own text.
void ReleaseSection(DibPrivate *dib, GlDrawable *drawable, const char *deleteObjectFailed,
                    const char *deleteDCFailed) {
  if (dib->memoryDC != nullptr && dib->previous != nullptr) SelectObject(dib->memoryDC, dib->previous);
  if (dib->section != nullptr && !DeleteObject(dib->section)) __wglError(deleteObjectFailed);
  if (dib->memoryDC != nullptr && !DeleteDC(dib->memoryDC)) __wglError(deleteDCFailed);
  if (dib->info != nullptr && drawable->free) drawable->free(dib->info);
  memset(dib, 0, sizeof *dib);
}

void ReportCreateFailure(DWORD error, const void *bits) {
  char text[96];
  snprintf(text, sizeof text, "DIB: Update: CreateDIBSection failed: 0x%x 0x%x", unsigned(error),
           unsigned(uintptr_t(bits)));
  __wglError(text);
}

void ClearPixels(GlDrawableBuffer *buffer) {
  buffer->base = nullptr;
  buffer->width = buffer->height = 0;
  buffer->pitch = buffer->pitchBytes = 0;
}

// The colour table, or the masks, for the section's bit count; gives the
// usage CreateDIBSection is to read them with.
UINT FillTable(BITMAPINFO *info, uint32_t bits, uint32_t pitch, uint32_t rows,
               const GlModes *modes) {
  uint8_t *table = reinterpret_cast<uint8_t *>(info) + sizeof(BITMAPINFOHEADER);
  if (bits <= 8) {
    const uint32_t count = 1u << bits;
    for (uint32_t i = 0; i < count; ++i) {
      WORD index = WORD(i);
      memcpy(table + i * sizeof index, &index, sizeof index);
    }
    return DIB_PAL_COLORS;
  }
  if (bits == 16) {
    info->bmiHeader.biCompression = BI_BITFIELDS;
    info->bmiHeader.biSizeImage = pitch * rows;
    const DWORD masks[3] = {modes ? modes->redMask : 0, modes ? modes->greenMask : 0,
                            modes ? modes->blueMask : 0};
    memcpy(table, masks, sizeof masks);
  }
  return DIB_RGB_COLORS;
}

uint32_t DibUpdate(GlDrawableBuffer *buffer, int32_t, int32_t, int32_t width, int32_t height,
                   GlDrawable *drawable, uint32_t) {
  DibPrivate *dib = static_cast<DibPrivate *>(buffer->kindPrivate);
  if (dib == nullptr) {
    dib = drawable->malloc ? static_cast<DibPrivate *>(drawable->malloc(sizeof *dib)) : nullptr;
    if (dib == nullptr) {
      __wglError("DIB: Update: Malloc failed");
      return 0;
    }
    memset(dib, 0, sizeof *dib);
    buffer->kindPrivate = dib;
  }
  // The old section goes first; until a new one exists the buffer is empty.
  ReleaseSection(dib, drawable, "DIB: Update: DeleteObject failed", "DIB: Update: DeleteDC failed");
  ClearPixels(buffer);

  const uint32_t bits = SectionBits(buffer);
  // Rows padded to 16 bytes; one row more than the buffer has.
  const uint64_t pitch = ((uint64_t(width < 0 ? 0 : width) * bits + 127) / 128) * 16;
  const uint64_t rows = uint64_t(height < 0 ? 0 : height) + 1;
  if (bits == 0 || width < 0 || height < 0 || pitch * rows > 0x7FFFFFFFu) {
    ReportCreateFailure(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    return 0;
  }
  BITMAPINFO *info =
      drawable->malloc ? static_cast<BITMAPINFO *>(drawable->malloc(kInfoBytes)) : nullptr;
  if (info == nullptr) {
    __wglError("DIB: Update: Malloc failed");
    return 0;
  }
  memset(info, 0, kInfoBytes);
  BITMAPINFOHEADER &h = info->bmiHeader;
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = width == 0 ? 1 : LONG(pitch * 8 / bits);
  h.biHeight = -LONG(rows);  // top-down
  h.biPlanes = 1;
  h.biBitCount = WORD(bits);
  const UINT usage = FillTable(info, bits, uint32_t(pitch), uint32_t(rows), drawable->modes);

  HDC hdc = drawable->wglPrivate ? drawable->wglPrivate->hdc : nullptr;
  void *pixels = nullptr;
  HBITMAP section = CreateDIBSection(hdc, info, usage, &pixels, nullptr, 0);
  if (section == nullptr) {
    ReportCreateFailure(GetLastError(), pixels);
    drawable->free(info);
    return 0;
  }
  HDC memoryDC = CreateCompatibleDC(hdc);
  HGDIOBJ previous = memoryDC ? SelectObject(memoryDC, section) : nullptr;
  if (previous == nullptr) {
    __wglError(memoryDC ? "DIB: Update: SelectObject failed" : "DIB: Update: CreateCompatibleDC failed");
    if (memoryDC) DeleteDC(memoryDC);
    DeleteObject(section);
    drawable->free(info);
    return 0;
  }
  dib->section = section;
  dib->previous = previous;
  dib->info = info;
  dib->bits = pixels;
  dib->pitch = uint32_t(pitch);
  dib->memoryDC = memoryDC;
  buffer->base = static_cast<uint8_t *>(pixels);
  buffer->pitchBytes = int32_t(pitch);
  buffer->pitch = int32_t(pitch / buffer->elementSize);
  buffer->width = uint32_t(width);
  buffer->height = uint32_t(height);
  return 1;
}

// The value is not used: the section is filled black.
void DibFill(GlDrawableBuffer *buffer, GlDrawable *drawable, uint32_t, int32_t x, int32_t y,
             int32_t width, int32_t height) {
  WglDrawableHold hold(drawable, "wgldib");
  const DibPrivate *dib = static_cast<const DibPrivate *>(buffer->kindPrivate);
  if (dib != nullptr && dib->memoryDC != nullptr) {
    const RECT rect = {x, y, x + width, y + height};
    if (!FillRect(dib->memoryDC, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))))
      __wglError("DIB: Fill: FillRect failed");
  }
}

void DibFree(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  DibPrivate *dib = static_cast<DibPrivate *>(buffer->kindPrivate);
  if (dib != nullptr) {
    ReleaseSection(dib, drawable, "DIB: Free: DeleteObject failed", "DIB: Free: DeleteDC failed");
    if (drawable->free) drawable->free(dib);
  }
  buffer->kindPrivate = nullptr;
  ClearPixels(buffer);
}

}  // namespace

void __wglInitDIB(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable, uint32_t depth) {
  __wglStartBufferKind(buffer, drawable, depth);
  buffer->update = DibUpdate;
  buffer->lock = __wglPixelsStayPut;
  buffer->unlock = __wglPixelsStayPut;
  buffer->fill = DibFill;
  buffer->free = DibFree;
}

HDC __wglDIBGetHDC(const GlDrawableBuffer *buffer) {
  // Another kind's private record is not ours to read.
  if (buffer == nullptr || buffer->update != DibUpdate || buffer->kindPrivate == nullptr)
    return nullptr;
  return static_cast<const DibPrivate *>(buffer->kindPrivate)->memoryDC;
}

// A bitmap shares its pixels with no other window: it owns all of them.
void __wglDIBUpdateClipList(GlDrawable *drawable) {
  if (drawable == nullptr || drawable->wglPrivate == nullptr) return;
  if (!drawable->coreClipRectValid && drawable->clipRects != nullptr) return;
  __wglUpdateOwnershipRegion(drawable->wglPrivate, nullptr);
  drawable->coreClipRectValid = 0;
}
