// Clippers: a window's visible rectangles from the window model (or a list
// set by hand), handed out in the platform's region-data layout, and a
// "changed" answer that compares the window model's generation with the one
// of the last clip list fetched.
#include <cstring>
#include <mutex>
#include <new>

#include "platform/ddraw_internal.h"
#include "platform/fault.h"
#include "platform/screen.h"

namespace platform {

extern const IDirectDrawClipperVtbl kClipperVtbl;

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

DdClipper *Self(IDirectDrawClipper *iface) { return LiveClipper(iface); }

HRESULT WINAPI QueryInterface(IDirectDrawClipper *self, REFIID iid, LPVOID *out) {
  Guard hold(ScreenLock());
  return QueryRecord(Self(self), iid, IID_IDirectDrawClipper, out);
}

ULONG WINAPI AddRef(IDirectDrawClipper *self) {
  Guard hold(ScreenLock());
  DdClipper *c = Self(self);
  return c ? ++c->refs : 0;
}

ULONG WINAPI Release(IDirectDrawClipper *self) {
  Guard hold(ScreenLock());
  DdClipper *c = Self(self);
  return c ? ReleaseClipper(c) : 0;
}

HRESULT WINAPI GetClipList(IDirectDrawClipper *self, LPRECT clip, LPRGNDATA data, LPDWORD size) {
  Guard hold(ScreenLock());
  DdClipper *c = Self(self);
  if (c == nullptr) return DDERR_INVALIDOBJECT;
  if (size == nullptr) return DDERR_INVALIDPARAMS;
  if (!ClipperUsable(c)) return DDERR_NOCLIPLIST;
  DWORD error;
  if (ShouldFail("GetClipList", "clipper", DDERR_GENERIC, &error)) return error;
  uint32_t generation = WindowClipGeneration();
  std::vector<RECT> rects = ClipRectsTo(ClipperRects(c), clip);
  DWORD need = RegionDataSize(rects.size());
  if (data == nullptr) {
    *size = need;
    return DD_OK;
  }
  if (*size < need) {
    *size = need;
    return DDERR_REGIONTOOSMALL;
  }
  WriteRegionData(rects, data);
  *size = need;
  c->fetched = true;
  c->fetchedGeneration = generation;
  return DD_OK;
}

HRESULT WINAPI GetHWnd(IDirectDrawClipper *self, HWND *window) {
  Guard hold(ScreenLock());
  DdClipper *c = Self(self);
  if (c == nullptr) return DDERR_INVALIDOBJECT;
  if (window == nullptr) return DDERR_INVALIDPARAMS;
  *window = c->window;
  return DD_OK;
}

HRESULT WINAPI Initialize(IDirectDrawClipper *self, LPDIRECTDRAW, DWORD) {
  Guard hold(ScreenLock());
  return Self(self) ? DDERR_ALREADYINITIALIZED : DDERR_INVALIDOBJECT;
}

// Changed until a clip list is fetched, and again after any window change.
HRESULT WINAPI IsClipListChanged(IDirectDrawClipper *self, BOOL *changed) {
  Guard hold(ScreenLock());
  DdClipper *c = Self(self);
  if (c == nullptr) return DDERR_INVALIDOBJECT;
  if (changed == nullptr) return DDERR_INVALIDPARAMS;
  DWORD error;
  if (ShouldFail("IsClipListChanged", "clipper", DDERR_GENERIC, &error)) return error;
  *changed = !c->fetched || (c->window != nullptr && c->fetchedGeneration != WindowClipGeneration());
  return DD_OK;
}

HRESULT WINAPI SetClipList(IDirectDrawClipper *self, LPRGNDATA data, DWORD flags) {
  Guard hold(ScreenLock());
  DdClipper *c = Self(self);
  if (c == nullptr) return DDERR_INVALIDOBJECT;
  if (flags != 0) return DDERR_INVALIDPARAMS;
  if (c->window != nullptr) return DDERR_CLIPPERISUSINGHWND;
  DWORD error;
  if (ShouldFail("SetClipList", "clipper", DDERR_OUTOFMEMORY, &error)) return error;
  if (data == nullptr) {
    c->hasList = false;
    c->list.clear();
  } else {
    RGNDATAHEADER header;
    std::memcpy(&header, &data->rdh, sizeof header);
    if (header.dwSize != sizeof header || header.iType != RDH_RECTANGLES ||
        header.nCount > 0x10000 || header.nRgnSize < header.nCount * sizeof(RECT))
      return DDERR_INVALIDCLIPLIST;
    std::vector<RECT> list(header.nCount);
    if (header.nCount) std::memcpy(list.data(), data->Buffer, header.nCount * sizeof(RECT));
    c->list = std::move(list);
    c->hasList = true;
  }
  c->fetched = false;
  return DD_OK;
}

HRESULT WINAPI SetHWnd(IDirectDrawClipper *self, DWORD flags, HWND window) {
  Guard hold(ScreenLock());
  DdClipper *c = Self(self);
  if (c == nullptr) return DDERR_INVALIDOBJECT;
  RECT ignored;
  if (flags != 0 || (window != nullptr && !WindowClientScreenRect(window, &ignored)))
    return DDERR_INVALIDPARAMS;
  DWORD error;
  if (ShouldFail("SetHWnd", "clipper", DDERR_GENERIC, &error)) return error;
  c->window = window;
  c->hasList = false;
  c->list.clear();
  c->fetched = false;
  return DD_OK;
}

}  // namespace

const IDirectDrawClipperVtbl kClipperVtbl = {
    QueryInterface, AddRef,     Release,           GetClipList, GetHWnd,
    Initialize,     IsClipListChanged, SetClipList, SetHWnd,
};

DdClipper *LiveClipper(IDirectDrawClipper *iface) {
  if (!IsLive(iface) || iface->lpVtbl != &kClipperVtbl) return nullptr;
  return reinterpret_cast<DdClipper *>(iface);
}

HRESULT CreateClipperFor(DdObject *owner, LPDIRECTDRAWCLIPPER *out) {
  DdClipper *c = new (std::nothrow) DdClipper{};
  if (c == nullptr) return DDERR_OUTOFMEMORY;
  c->iface.lpVtbl = &kClipperVtbl;
  c->owner = owner;
  c->refs = 1;
  RegisterLive(c);
  owner->clippers.push_back(c);
  *out = &c->iface;
  return DD_OK;
}

// Surfaces that still hold the clipper let go of it first.
void DestroyClipper(DdClipper *c) {
  for (DdObject *o : AllObjects())
    for (DdSurface *root : o->surfaces)
      for (DdSurface *s = root; s; s = s->next)
        if (s->clipper == c) s->clipper = nullptr;
  std::erase(c->owner->clippers, c);
  UnregisterLive(c);
  delete c;
}

ULONG ReleaseClipper(DdClipper *c) {
  if (--c->refs > 0) return c->refs;
  DestroyClipper(c);
  return 0;
}

bool ClipperUsable(const DdClipper *c) { return c->window != nullptr || c->hasList; }

std::vector<RECT> ClipperRects(const DdClipper *c) {
  if (c->window != nullptr) return WindowVisibleRects(c->window);
  return c->list;
}

}  // namespace platform
