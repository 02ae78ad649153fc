// The DCI buffer kind: the front buffer of the DCI set is the screen itself,
// reached through the process's DCI primary surface while access is held,
// and clipped to what WinWatch says of the window's visible region.
#include <string.h>

#include "platform/selector.h"
#include "wgl/wgl_dci.h"
#include "wgl/wgl_dci_binding.h"
#include "wgl/wgl_dib.h"
#include "wgl/wgl_discard.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_message.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

struct DciState {
  LPDCISURFACEINFO surface;
  HWINWATCH watch;
  uint8_t accessBegun;  // an EndAccess is owed
};

// A region fetch whose size grew in between (the window changed) is asked
// again this many times.
constexpr int kClipListTries = 4;

const RGNDATA *EmptyRegion(RGNDATA *region) {
  memset(region, 0, sizeof *region);
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  return region;
}

// Rebuilds the clip list from the window's visible region within the core
// clip rectangle. False when the region could not be had: the clip list
// then shows nothing, so no other window is drawn over.
bool UpdateClipList(GlDrawable *drawable, HWINWATCH watch) {
  WglDrawablePrivate *record = drawable->wglPrivate;
  RECT clip = {drawable->coreClipRect.x0, drawable->coreClipRect.y0, drawable->coreClipRect.x1,
               drawable->coreClipRect.y1};
  WglDrawableHold hold(drawable, "wgldci");
  RGNDATA *region = nullptr;
  UINT size = wgl::DCI.winWatchGetClipList(watch, &clip, 0, nullptr);
  for (int i = 0; i < kClipListTries && size >= sizeof(RGNDATAHEADER); ++i) {
    region = drawable->malloc ? static_cast<RGNDATA *>(drawable->malloc(size)) : nullptr;
    if (region == nullptr) break;
    UINT need = wgl::DCI.winWatchGetClipList(watch, &clip, size, region);
    if (need != 0 && need <= size) break;
    drawable->free(region);
    region = nullptr;
    size = need;
  }
  if (region != nullptr) {
    __wglUpdateOwnershipRegion(record, region);
    drawable->free(region);
  } else {
    __wglError("DCI: Lock: WinWatchGetClipList failed");
    RGNDATA empty;
    __wglUpdateOwnershipRegion(record, EmptyRegion(&empty));
  }
  return region != nullptr;
}

void EndAccess(DciState *state) {
  if (state->accessBegun && wgl::DCI.endAccess) wgl::DCI.endAccess(state->surface);
  state->accessBegun = 0;
}

// Until the lock succeeds the buffer draws into the discard block.
void DciLock(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  buffer->base = nullptr;
  WglDiscardUnlessLocked discard{buffer, drawable};
  DciState *state = static_cast<DciState *>(buffer->handle);
  WglDrawablePrivate *record = drawable->wglPrivate;
  if (state == nullptr || state->surface == nullptr || record == nullptr ||
      wgl::DCI.beginAccess == nullptr)
    return;
  LPDCISURFACEINFO surface = state->surface;
  const RECT r = record->rect;
  if (wgl::DCI.beginAccess(surface, r.left, r.top, r.right - r.left, r.bottom - r.top) < 0) {
    __wglError("DCI: Lock: DCIBeginAccess failed");
    return;
  }
  state->accessBegun = 1;
  uintptr_t linear = 0;
  if (surface->wSelSurface != 0) {
    LDT_ENTRY entry;
    memset(&entry, 0, sizeof entry);
    if (GetThreadSelectorEntry(GetCurrentThread(), surface->wSelSurface, &entry) != 1) {
      __wglError("DCI: Lock: GetThreadSelectorEntry failed");
      EndAccess(state);
      return;
    }
    linear = uintptr_t(entry.HighWord.BaseHi) << 24 | uintptr_t(entry.HighWord.BaseMid) << 16 |
             entry.BaseLow;
  }
  // After a display change to another depth the screen's pixels no longer
  // have the buffer's size; drawing would run past the rows.
  if ((surface->dwBitCount + 7) / 8 != buffer->elementSize) {
    __wglError("DCI: Lock: the screen's pixel size differs from the buffer's");
    EndAccess(state);
    return;
  }
  const intptr_t offset = intptr_t(r.top) * surface->lStride + intptr_t(buffer->elementSize) * r.left;
  buffer->base = reinterpret_cast<uint8_t *>(linear + surface->dwOffSurface + offset);
  buffer->pitchBytes = surface->lStride;
  buffer->pitch = surface->lStride / int32_t(buffer->elementSize);

  const bool changed = wgl::DCI.winWatchDidStatusChange(state->watch);
  if (!drawable->coreClipRectValid && !changed) return;
  // A failed fetch keeps the flag, so the next lock asks again.
  if (UpdateClipList(drawable, state->watch)) drawable->coreClipRectValid = 0;
}

void DciUnlock(GlDrawableBuffer *buffer, GlDrawable *) {
  DciState *state = static_cast<DciState *>(buffer->handle);
  if (state != nullptr) EndAccess(state);
  buffer->base = nullptr;
}

// Opens the window's WinWatch once; the size is only recorded (the screen
// does not change with the window).
uint32_t DciUpdate(GlDrawableBuffer *buffer, int32_t, int32_t, int32_t width, int32_t height,
                   GlDrawable *drawable, uint32_t) {
  DciState *state = static_cast<DciState *>(buffer->handle);
  if (state == nullptr) {
    state = drawable->malloc ? static_cast<DciState *>(drawable->malloc(sizeof *state)) : nullptr;
    if (state == nullptr) {
      __wglError("DCI: Update: Malloc failed");
      return 0;
    }
    memset(state, 0, sizeof *state);
    buffer->handle = state;
  }
  if (state->surface == nullptr) {
    if (wgl::lpDCIPrimarySurface == nullptr) {
      __wglError("DCI: Update: no primary surface");
      return 0;
    }
    HWINWATCH watch = wgl::DCI.winWatchOpen(drawable->wglPrivate ? drawable->wglPrivate->hwnd : nullptr);
    if (watch == nullptr) {
      __wglError("DCI: Update: WinWatchOpen failed");
      return 0;
    }
    state->surface = wgl::lpDCIPrimarySurface;
    state->watch = watch;
  }
  buffer->width = uint32_t(width < 0 ? 0 : width);
  buffer->height = uint32_t(height < 0 ? 0 : height);
  return 1;
}

void DciFill(GlDrawableBuffer *, GlDrawable *drawable, uint32_t, int32_t x, int32_t y,
             int32_t width, int32_t height) {
  WglDrawableHold hold(drawable, "wgldci");
  const RECT rect = {x, y, x + width, y + height};
  HDC hdc = drawable->wglPrivate ? drawable->wglPrivate->hdc : nullptr;
  if (!FillRect(hdc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))))
    __wglError("DCI: Fill: FillRect failed");
}

void DciFree(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  DciState *state = static_cast<DciState *>(buffer->handle);
  if (state != nullptr) {
    EndAccess(state);
    if (state->watch != nullptr && wgl::DCI.winWatchClose) wgl::DCI.winWatchClose(state->watch);
    if (drawable->free) drawable->free(state);
  }
  buffer->handle = nullptr;
  buffer->base = nullptr;
}

}  // namespace

void __wglInitDCI(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable, uint32_t depth) {
  __wglStartBufferKind(buffer, drawable, depth);
  buffer->update = DciUpdate;
  buffer->lock = DciLock;
  buffer->unlock = DciUnlock;
  buffer->fill = DciFill;
  buffer->free = DciFree;
}

void __wglDCIUpdateDrawablePalette(WglDrawablePrivate *) {}
void __wglDCIUpdateClipList(GlDrawable *) {}
