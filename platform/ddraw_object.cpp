// The DirectDraw object: DirectDrawCreate, the cooperative level, the display
// mode, and the registry of live DirectDraw records that lets every method
// refuse a pointer that is not (or no longer) one of them.
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>

#include "platform/control.h"
#include "platform/ddraw_internal.h"
#include "platform/fault.h"
#include "platform/screen.h"

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IDirectDraw = {0x6C14DB80, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
const IID IID_IDirectDrawSurface = {0x6C14DB81, 0xA733, 0x11CE,
                                    {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
const IID IID_IDirectDrawClipper = {0x6C14DB85, 0xA733, 0x11CE,
                                    {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};

namespace platform {
namespace {

std::unordered_set<const void *> &Live() {
  static auto *live = new std::unordered_set<const void *>;  // never destroyed
  return *live;
}

std::vector<DdObject *> &Objects() {
  static auto *objects = new std::vector<DdObject *>;  // never destroyed
  return *objects;
}

using Guard = std::lock_guard<std::recursive_mutex>;

DdObject *Self(IDirectDraw *iface) { return LiveObject(iface); }

HRESULT WINAPI QueryInterface(IDirectDraw *self, REFIID iid, LPVOID *out) {
  Guard hold(ScreenLock());
  return QueryRecord(Self(self), iid, IID_IDirectDraw, out);
}

ULONG WINAPI AddRef(IDirectDraw *self) {
  Guard hold(ScreenLock());
  DdObject *o = Self(self);
  return o ? ++o->refs : 0;
}

// The last release takes every surface and clipper made through the object
// with it, as the platform does.
ULONG WINAPI Release(IDirectDraw *self) {
  Guard hold(ScreenLock());
  DdObject *o = Self(self);
  if (o == nullptr) return 0;
  if (--o->refs > 0) return o->refs;
  while (!o->surfaces.empty()) DestroyChain(o->surfaces.back());
  while (!o->clippers.empty()) DestroyClipper(o->clippers.back());
  Live().erase(o);
  std::erase(Objects(), o);
  delete o;
  return 0;
}

HRESULT WINAPI Compact(IDirectDraw *self) {
  Guard hold(ScreenLock());
  return Self(self) ? DDERR_NOEXCLUSIVEMODE : DDERR_INVALIDOBJECT;
}

HRESULT WINAPI CreateClipper(IDirectDraw *self, DWORD flags, LPDIRECTDRAWCLIPPER *out,
                             IUnknown *outer) {
  Guard hold(ScreenLock());
  DdObject *o = Self(self);
  if (o == nullptr) return DDERR_INVALIDOBJECT;
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if (flags != 0) return DDERR_INVALIDPARAMS;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  DWORD error;
  if (ShouldFail("CreateClipper", "clipper", DDERR_OUTOFMEMORY, &error)) return error;
  return CreateClipperFor(o, out);
}

HRESULT WINAPI CreatePalette(IDirectDraw *self, DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE *out,
                             IUnknown *) {
  Guard hold(ScreenLock());
  if (out) *out = nullptr;
  return Self(self) ? DDERR_UNSUPPORTED : DDERR_INVALIDOBJECT;
}

HRESULT WINAPI CreateSurface(IDirectDraw *self, LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE *out,
                             IUnknown *outer) {
  Guard hold(ScreenLock());
  DdObject *o = Self(self);
  if (o == nullptr) return DDERR_INVALIDOBJECT;
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if (!o->cooperative) return DDERR_NOCOOPERATIVELEVELSET;
  return CreateSurfaceFor(o, desc, out);
}

HRESULT WINAPI DuplicateSurface(IDirectDraw *self, LPDIRECTDRAWSURFACE, LPDIRECTDRAWSURFACE *out) {
  Guard hold(ScreenLock());
  if (out) *out = nullptr;
  return Self(self) ? DDERR_CANTDUPLICATE : DDERR_INVALIDOBJECT;
}

HRESULT WINAPI EnumDisplayModes(IDirectDraw *self, DWORD, LPDDSURFACEDESC, LPVOID,
                                LPDDENUMMODESCALLBACK) {
  Guard hold(ScreenLock());
  return Self(self) ? DDERR_UNSUPPORTED : DDERR_INVALIDOBJECT;
}

HRESULT WINAPI EnumSurfaces(IDirectDraw *self, DWORD, LPDDSURFACEDESC, LPVOID,
                            LPDDENUMSURFACESCALLBACK) {
  Guard hold(ScreenLock());
  return Self(self) ? DDERR_UNSUPPORTED : DDERR_INVALIDOBJECT;
}

HRESULT WINAPI FlipToGDISurface(IDirectDraw *self) {
  Guard hold(ScreenLock());
  return Self(self) ? DDERR_NOTFLIPPABLE : DDERR_INVALIDOBJECT;
}

HRESULT WINAPI GetCaps(IDirectDraw *self, LPDDCAPS, LPDDCAPS) {
  Guard hold(ScreenLock());
  return Self(self) ? DDERR_UNSUPPORTED : DDERR_INVALIDOBJECT;
}

HRESULT WINAPI GetDisplayMode(IDirectDraw *self, LPDDSURFACEDESC desc) {
  Guard hold(ScreenLock());
  if (Self(self) == nullptr) return DDERR_INVALIDOBJECT;
  if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
  DWORD error;
  if (ShouldFail("GetDisplayMode", "DirectDraw", DDERR_GENERIC, &error)) return error;
  ScreenMode mode = CurrentScreenMode();
  std::memset(desc, 0, sizeof *desc);
  desc->dwSize = sizeof *desc;
  desc->dwFlags = DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
  desc->dwWidth = mode.width;
  desc->dwHeight = mode.height;
  desc->lPitch = mode.pitch;
  desc->dwRefreshRate = 60;
  desc->ddpfPixelFormat = ScreenPixelFormat();
  return DD_OK;
}

HRESULT WINAPI GetFourCCCodes(IDirectDraw *self, LPDWORD count, LPDWORD) {
  Guard hold(ScreenLock());
  if (Self(self) == nullptr) return DDERR_INVALIDOBJECT;
  if (count == nullptr) return DDERR_INVALIDPARAMS;
  *count = 0;
  return DD_OK;
}

HRESULT WINAPI GetGDISurface(IDirectDraw *self, LPDIRECTDRAWSURFACE *out) {
  Guard hold(ScreenLock());
  if (out) *out = nullptr;
  return Self(self) ? DDERR_NOTFOUND : DDERR_INVALIDOBJECT;
}

HRESULT WINAPI GetMonitorFrequency(IDirectDraw *self, LPDWORD frequency) {
  Guard hold(ScreenLock());
  if (Self(self) == nullptr) return DDERR_INVALIDOBJECT;
  if (frequency == nullptr) return DDERR_INVALIDPARAMS;
  *frequency = 60;
  return DD_OK;
}

HRESULT WINAPI GetScanLine(IDirectDraw *self, LPDWORD) {
  Guard hold(ScreenLock());
  return Self(self) ? DDERR_UNSUPPORTED : DDERR_INVALIDOBJECT;
}

HRESULT WINAPI GetVerticalBlankStatus(IDirectDraw *self, BOOL *inBlank) {
  Guard hold(ScreenLock());
  if (Self(self) == nullptr) return DDERR_INVALIDOBJECT;
  if (inBlank == nullptr) return DDERR_INVALIDPARAMS;
  *inBlank = FALSE;
  return DD_OK;
}

HRESULT WINAPI Initialize(IDirectDraw *self, GUID *) {
  Guard hold(ScreenLock());
  return Self(self) ? DDERR_ALREADYINITIALIZED : DDERR_INVALIDOBJECT;
}

HRESULT WINAPI RestoreDisplayMode(IDirectDraw *self) {
  Guard hold(ScreenLock());
  return Self(self) ? DDERR_NOEXCLUSIVEMODE : DDERR_INVALIDOBJECT;
}

// Only the normal (windowed) level is offered: exclusive use of the display
// would take the screen from the window system's other programs.
HRESULT WINAPI SetCooperativeLevel(IDirectDraw *self, HWND window, DWORD flags) {
  Guard hold(ScreenLock());
  DdObject *o = Self(self);
  if (o == nullptr) return DDERR_INVALIDOBJECT;
  DWORD error;
  if (ShouldFail("SetCooperativeLevel", "DirectDraw", DDERR_GENERIC, &error)) return error;
  const DWORD known = DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_NOWINDOWCHANGES | DDSCL_NORMAL |
                      DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX;
  if ((flags & ~known) || !(flags & (DDSCL_NORMAL | DDSCL_EXCLUSIVE)) ||
      ((flags & DDSCL_NORMAL) && (flags & (DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | DDSCL_ALLOWMODEX))))
    return DDERR_INVALIDPARAMS;
  if (flags & DDSCL_EXCLUSIVE) return window ? DDERR_UNSUPPORTED : DDERR_INVALIDPARAMS;
  o->cooperative = true;
  return DD_OK;
}

HRESULT WINAPI SetDisplayMode(IDirectDraw *self, DWORD, DWORD, DWORD) {
  Guard hold(ScreenLock());
  return Self(self) ? DDERR_NOEXCLUSIVEMODE : DDERR_INVALIDOBJECT;
}

HRESULT WINAPI WaitForVerticalBlank(IDirectDraw *self, DWORD flags, HANDLE) {
  Guard hold(ScreenLock());
  if (Self(self) == nullptr) return DDERR_INVALIDOBJECT;
  return flags == DDWAITVB_BLOCKBEGIN ? DD_OK : DDERR_UNSUPPORTED;
}

const IDirectDrawVtbl kVtbl = {
    QueryInterface,   AddRef,           Release,
    Compact,          CreateClipper,    CreatePalette,
    CreateSurface,    DuplicateSurface, EnumDisplayModes,
    EnumSurfaces,     FlipToGDISurface, GetCaps,
    GetDisplayMode,   GetFourCCCodes,   GetGDISurface,
    GetMonitorFrequency, GetScanLine,   GetVerticalBlankStatus,
    Initialize,       RestoreDisplayMode, SetCooperativeLevel,
    SetDisplayMode,   WaitForVerticalBlank,
};

const PlatformExport kExports[] = {
    {"DirectDrawCreate", reinterpret_cast<void *>(&DirectDrawCreate)},
};

__attribute__((constructor)) void RegisterLibrary() {
  PlatformRegisterModule("DDRAW.DLL", kExports, sizeof kExports / sizeof kExports[0]);
}

}  // namespace

// The registry holds the record addresses of every kind; each kind's
// interface table tells them apart.
DdObject *LiveObject(IDirectDraw *iface) {
  if (iface == nullptr || !Live().count(iface)) return nullptr;
  return iface->lpVtbl == &kVtbl ? reinterpret_cast<DdObject *>(iface) : nullptr;
}

const std::vector<DdObject *> &AllObjects() { return Objects(); }

void RegisterLive(const void *record) { Live().insert(record); }
void UnregisterLive(const void *record) { Live().erase(record); }
bool IsLive(const void *record) { return record != nullptr && Live().count(record) != 0; }

}  // namespace platform

using namespace platform;

PLATFORM_API HRESULT WINAPI DirectDrawCreate(GUID *driver, LPDIRECTDRAW *out, IUnknown *outer) {
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if (driver != nullptr && driver != DDCREATE_HARDWAREONLY && driver != DDCREATE_EMULATIONONLY)
    return DDERR_INVALIDDIRECTDRAWGUID;
  DWORD error;
  if (ShouldFail("DirectDrawCreate", "DirectDraw", DDERR_NODIRECTDRAWHW, &error)) return error;
  DdObject *o = new (std::nothrow) DdObject{};
  if (o == nullptr) return DDERR_OUTOFMEMORY;
  o->iface.lpVtbl = &kVtbl;
  o->refs = 1;
  Guard hold(ScreenLock());
  RegisterLive(o);
  Objects().push_back(o);
  *out = &o->iface;
  return DD_OK;
}
