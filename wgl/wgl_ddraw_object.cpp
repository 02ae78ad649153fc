// The process-wide DirectDraw object and the screen's primary surface,
// shared by every drawable and by the DirectDraw texture manager, counted by
// their users.
#include "platform/kernel.h"
#include "wgl/wgl_ddraw.h"

HMODULE hDirectDraw;
LPDIRECTDRAW lpDirectDraw;
int32_t lpDirectDrawCount;
LPDIRECTDRAWSURFACE lpPrimarySurface;
void *lpPrimaryBase;

namespace {

typedef HRESULT(WINAPI *DirectDrawCreateProc)(GUID *driver, LPDIRECTDRAW *out, IUnknown *outer);

// Gives back whatever a creation got before it failed, and the use it
// counted, so that the next user tries again from the start.
LPDIRECTDRAW GiveUp(LPDIRECTDRAW object) {
  if (lpPrimarySurface) lpPrimarySurface->lpVtbl->Release(lpPrimarySurface);
  lpPrimarySurface = nullptr;
  if (object) object->lpVtbl->Release(object);
  if (hDirectDraw) FreeLibrary(hDirectDraw);
  hDirectDraw = nullptr;
  --lpDirectDrawCount;
  return nullptr;
}

LPDIRECTDRAW Create(void) {
  hDirectDraw = LoadLibraryA("DDRAW.DLL");
  if (hDirectDraw == nullptr) return GiveUp(nullptr);
  DirectDrawCreateProc create =
      reinterpret_cast<DirectDrawCreateProc>(
          reinterpret_cast<void *>(GetProcAddress(hDirectDraw, "DirectDrawCreate")));
  LPDIRECTDRAW object = nullptr;
  HRESULT result = create ? create(nullptr, &object, nullptr) : DDERR_NODIRECTDRAWSUPPORT;
  if (result != DD_OK || object == nullptr) {
    __wglDDrawError("DDraw: Allocate: Create", result);
    return GiveUp(nullptr);
  }
  result = object->lpVtbl->SetCooperativeLevel(object, nullptr, DDSCL_NORMAL);
  if (result != DD_OK) {
    __wglDDrawError("DDraw: Allocate: SetCooperativeLevel", result);
    return GiveUp(object);
  }
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  result = object->lpVtbl->CreateSurface(object, &desc, &lpPrimarySurface, nullptr);
  if (result != DD_OK) {
    lpPrimarySurface = nullptr;
    __wglDDrawError("DDraw: Allocate: CreateSurface", result);
    return GiveUp(object);
  }
  lpDirectDraw = object;
  return object;
}

}  // namespace

LPDIRECTDRAW __wglAllocateDDrawObject(void) {
  ++lpDirectDrawCount;
  // Only the first user creates: a failed creation gives its use back, so
  // the next user is the first again.
  return lpDirectDraw ? lpDirectDraw : Create();
}

void __wglFreeDDrawObject(LPDIRECTDRAW object) {
  (void)object;  // there is only the one
  // A free without a use has nothing to give back.
  if (lpDirectDrawCount <= 0) return;
  if (--lpDirectDrawCount > 0) return;
  if (lpPrimarySurface) lpPrimarySurface->lpVtbl->Release(lpPrimarySurface);
  lpPrimarySurface = nullptr;
  lpPrimaryBase = nullptr;
  if (lpDirectDraw) lpDirectDraw->lpVtbl->Release(lpDirectDraw);
  lpDirectDraw = nullptr;
  if (hDirectDraw) FreeLibrary(hDirectDraw);
  hDirectDraw = nullptr;
}

bool __wglDDrawOpen(void) { return __wglAllocateDDrawObject() != nullptr; }

bool __wglDDrawClose(void) {
  __wglFreeDDrawObject(lpDirectDraw);
  return true;
}

LPDIRECTDRAW __wglGetDDrawObject(void) { return lpDirectDraw; }

void *__wglDDrawGetPrimaryBase(void) { return lpPrimaryBase; }
