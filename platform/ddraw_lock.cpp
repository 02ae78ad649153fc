// Locking surfaces for direct access. Several threads may hold locks of the
// primary surface at once, overlapping or not (it is the screen every program
// draws to); another surface refuses a lock that overlaps one already held.
#include <string.h>

#include <mutex>
#include <string>

#include "platform/control.h"
#include "platform/ddraw_internal.h"
#include "platform/fault.h"
#include "platform/kernel.h"
#include "platform/screen.h"
#include "platform/sis6326_model.h"

namespace platform {

namespace {
struct LockRecord {
  bool on = false;
  std::string text;
};
LockRecord &Record() {
  static LockRecord record;
  return record;
}
void Note(const char *what, const DdSurface *s) {
  if (!Record().on) return;
  Record().text += what;
  Record().text += KindName(s);
  Record().text += "\n";
}
}  // namespace

HRESULT WINAPI SurfaceLock(IDirectDrawSurface *self, LPRECT rect, LPDDSURFACEDESC desc, DWORD flags,
                           HANDLE) {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  DdSurface *s = LiveSurface(self);
  if (s == nullptr) return DDERR_INVALIDOBJECT;
  const DWORD known = DDLOCK_WAIT | DDLOCK_EVENT | DDLOCK_READONLY | DDLOCK_WRITEONLY | DDLOCK_NOSYSLOCK;
  if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC) || (flags & ~known))
    return DDERR_INVALIDPARAMS;
  DWORD error;
  if (ShouldFail("Lock", KindName(s), DDERR_SURFACEBUSY, &error)) return error;
  if (s->root->lost) return DDERR_SURFACELOST;
  RECT r = {0, 0, s->width, s->height};
  if (rect != nullptr) {
    if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
        rect->right > s->width || rect->bottom > s->height)
      return DDERR_INVALIDRECT;
    r = *rect;
  }
  if (s->kind != SurfaceKind::kPrimary)
    for (const HeldLock &held : s->locks)
      if (!RectIsEmpty(RectIntersection(held.rect, r))) return DDERR_SURFACEBUSY;
  ModelSurfaceAccess(s, &r, "a lock");  // the chip's unfired work must not meet it
  OpenPixels(s);
  uint8_t *address = s->pixels + r.top * s->pitch + r.left * s->bytesPerPixel;
  s->locks.push_back({r, address, GetCurrentThreadId()});
  Note("lock ", s);
  DescribeSurface(s, desc);
  desc->lpSurface = address;
  return DD_OK;
}

// The lock to end is named by its address; null names the caller's latest.
HRESULT WINAPI SurfaceUnlock(IDirectDrawSurface *self, LPVOID address) {
  std::lock_guard<std::recursive_mutex> hold(ScreenLock());
  DdSurface *s = LiveSurface(self);
  if (s == nullptr) return DDERR_INVALIDOBJECT;
  DWORD error;
  if (ShouldFail("Unlock", KindName(s), DDERR_NOTLOCKED, &error)) return error;
  DWORD thread = GetCurrentThreadId();
  int found = -1;
  for (int i = int(s->locks.size()) - 1; i >= 0; --i) {
    const HeldLock &held = s->locks[i];
    if (address != nullptr && held.address != address) continue;
    if (found < 0) found = i;
    if (held.thread == thread) {
      found = i;
      break;
    }
  }
  if (found < 0) return DDERR_NOTLOCKED;
  s->locks.erase(s->locks.begin() + found);
  ClosePixels(s);
  Note("unlock ", s);
  return DD_OK;
}

}  // namespace platform

PLATFORM_API void PlatformRecordSurfaceLocks(BOOL on) {
  std::lock_guard<std::recursive_mutex> hold(platform::ScreenLock());
  platform::Record().on = on != 0;
  if (on) platform::Record().text.clear();
}

PLATFORM_API size_t PlatformSurfaceLockRecord(char *buffer, size_t size) {
  std::lock_guard<std::recursive_mutex> hold(platform::ScreenLock());
  const std::string &text = platform::Record().text;
  if (buffer != nullptr && size > 0) {
    const size_t n = text.size() < size - 1 ? text.size() : size - 1;
    memcpy(buffer, text.data(), n);
    buffer[n] = 0;
  }
  return text.size() + 1;
}
