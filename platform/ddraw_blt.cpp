// Blt: copies between surfaces of the same pixel size (stretching by the
// nearest source pixel when the rectangles differ in size), colour fills and
// depth fills. A clipper on the destination limits the copy to its
// rectangles; without one the destination rectangle must lie on the surface.
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/ddraw_internal.h"
#include "platform/fault.h"
#include "platform/pixel_layout.h"
#include "platform/screen.h"
#include "platform/sis6326_model.h"

namespace platform {
namespace {

bool Inside(const RECT &r, const DdSurface *s) {
  return r.left >= 0 && r.top >= 0 && r.right <= s->width && r.bottom <= s->height;
}

RECT Whole(const DdSurface *s) { return RECT{0, 0, s->width, s->height}; }

// The first row is written pixel by pixel; the others are copies of it.
void Fill(DdSurface *d, const RECT &r, uint32_t value) {
  int bytes = d->bytesPerPixel;
  uint8_t *first = d->pixels + r.top * d->pitch;
  for (int x = r.left; x < r.right; ++x) WriteRaw(first, x, bytes * 8, value);
  size_t skip = size_t(r.left) * bytes, width = size_t(r.right - r.left) * bytes;
  for (int y = r.top + 1; y < r.bottom; ++y) std::memcpy(d->pixels + y * d->pitch + skip, first + skip, width);
}

bool SharesMemory(const DdSurface *a, const DdSurface *b) {
  const uint8_t *aEnd = a->pixels + a->pitch * a->height, *bEnd = b->pixels + b->pitch * b->height;
  return a->pixels < bEnd && b->pixels < aEnd;
}

// Copies `clip` (inside `dest`) from the matching part of `src`; `from` holds
// the source rectangle's rows `rowBytes` apart.
void Copy(DdSurface *d, const RECT &dest, const RECT &clip, const uint8_t *from, int rowBytes,
          const RECT &src) {
  int bytes = d->bytesPerPixel;
  // In 64 bits: with a clipper the destination may span the whole coordinate range.
  int64_t dw = int64_t(dest.right) - dest.left, dh = int64_t(dest.bottom) - dest.top;
  int64_t sw = src.right - src.left, sh = src.bottom - src.top;
  for (int y = clip.top; y < clip.bottom; ++y) {
    int sy = int((y - int64_t(dest.top)) * sh / dh);
    const uint8_t *row = from + sy * rowBytes;
    uint8_t *out = d->pixels + y * d->pitch + clip.left * bytes;
    if (sw == dw) {
      std::memcpy(out, row + (clip.left - dest.left) * bytes, size_t(clip.right - clip.left) * bytes);
      continue;
    }
    for (int x = clip.left; x < clip.right; ++x, out += bytes) {
      int sx = int((x - int64_t(dest.left)) * sw / dw);
      std::memcpy(out, row + sx * bytes, bytes);
    }
  }
}

}  // namespace

HRESULT WINAPI SurfaceBlt(IDirectDrawSurface *self, LPRECT destRect, LPDIRECTDRAWSURFACE source,
                          LPRECT sourceRect, DWORD flags, LPDDBLTFX fx) {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  DdSurface *d = LiveSurface(self);
  if (d == nullptr) return DDERR_INVALIDOBJECT;
  DdSurface *s = nullptr;
  if (source != nullptr && (s = LiveSurface(source)) == nullptr) return DDERR_INVALIDOBJECT;
  if (flags & ~(DDBLT_WAIT | DDBLT_ASYNC | DDBLT_COLORFILL | DDBLT_DEPTHFILL)) return DDERR_UNSUPPORTED;
  bool colorFill = flags & DDBLT_COLORFILL, depthFill = flags & DDBLT_DEPTHFILL;
  if (colorFill || depthFill) {
    if ((colorFill && depthFill) || fx == nullptr || fx->dwSize != sizeof(DDBLTFX) || s != nullptr)
      return DDERR_INVALIDPARAMS;
    if (depthFill != (d->kind == SurfaceKind::kZBuffer)) return DDERR_INVALIDPARAMS;
  } else if (s == nullptr) {
    return DDERR_INVALIDPARAMS;
  }
  DWORD error;
  if (ShouldFail("Blt", KindName(d), DDERR_GENERIC, &error)) return error;
  if (d->root->lost || (s && s->root->lost)) return DDERR_SURFACELOST;
  // The screen may be locked by any number of programs; other surfaces are
  // busy while locked.
  if ((d->kind != SurfaceKind::kPrimary && LockedBySomeone(d)) ||
      (s && s->kind != SurfaceKind::kPrimary && LockedBySomeone(s)))
    return DDERR_SURFACEBUSY;

  RECT dest = destRect ? *destRect : Whole(d);
  if (RectIsEmpty(dest)) return DDERR_INVALIDRECT;
  RECT src = {};
  if (s) {
    src = sourceRect ? *sourceRect : Whole(s);
    if (RectIsEmpty(src) || !Inside(src, s)) return DDERR_INVALIDRECT;
    if (s->bytesPerPixel != d->bytesPerPixel ||
        (s->kind == SurfaceKind::kZBuffer) != (d->kind == SurfaceKind::kZBuffer))
      return DDERR_INVALIDPIXELFORMAT;
  }
  ModelSurfaceAccess(d, &dest, "a blit");  // the chip's unfired work must not meet it
  if (s) ModelSurfaceAccess(s, &src, "a blit");
  std::vector<RECT> clips;
  if (d->clipper) {
    if (!ClipperUsable(d->clipper)) return DDERR_NOCLIPLIST;
    for (const RECT &c : ClipperRects(d->clipper)) {
      RECT r = RectIntersection(RectIntersection(c, Whole(d)), dest);
      if (!RectIsEmpty(r)) clips.push_back(r);
    }
  } else {
    if (!Inside(dest, d)) return DDERR_INVALIDRECT;
    clips.push_back(dest);
  }

  OpenPixels(d);
  if (s) OpenPixels(s);
  if (s == nullptr) {
    uint32_t value = colorFill ? fx->dwFillColor : fx->dwFillDepth;
    for (const RECT &c : clips) Fill(d, c, value);
  } else {
    int rowBytes = s->pitch;
    const uint8_t *from = s->pixels + src.top * s->pitch + src.left * s->bytesPerPixel;
    std::vector<uint8_t> copy;
    if (SharesMemory(s, d)) {  // overlapping rectangles read the source as it was
      rowBytes = (src.right - src.left) * s->bytesPerPixel;
      copy.resize(size_t(rowBytes) * (src.bottom - src.top));
      for (int y = 0; y < src.bottom - src.top; ++y)
        std::memcpy(copy.data() + y * rowBytes, from + y * s->pitch, rowBytes);
      from = copy.data();
    }
    for (const RECT &c : clips) Copy(d, dest, c, from, rowBytes, src);
  }
  if (s) ClosePixels(s);
  ClosePixels(d);
  return DD_OK;
}

}  // namespace platform
