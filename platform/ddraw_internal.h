// Internal: the records behind the DirectDraw interfaces, shared by the
// object, surface, clipper and blit files. Everything here is read and
// written under platform::ScreenLock().
#pragma once

#include <stdint.h>

#include <cstring>
#include <vector>

#include "platform/ddraw.h"
#include "platform/video_memory.h"

namespace platform {

struct DdObject;
struct DdClipper;

enum class SurfaceKind { kPrimary, kOffscreen, kZBuffer, kTexture };
enum class Placement { kScreen, kLocal, kNonLocal, kSystem };

struct HeldLock {
  RECT rect;
  uint8_t *address;  // the rectangle's first pixel
  DWORD thread;
};

struct DdSurface {
  IDirectDrawSurface iface;  // first: the interface pointer is the record's address
  DdObject *owner;
  ULONG refs;
  SurfaceKind kind;
  Placement placement;
  DWORD caps;  // as reported
  int width, height;
  int pitch;  // bytes
  int bytesPerPixel;
  DDPIXELFORMAT format;
  uint8_t *pixels;  // first pixel; never changes
  uint32_t offset;  // in its video-memory pool
  bool ownsMemory;  // false once a new screen footprint took the memory over
  void *systemBlock;  // system memory: the page allocation
  uint32_t modeSerial;  // the display mode it was made under
  bool lost;
  // Mipmap chains: the next smaller level, the top of the chain, and the
  // levels from this one down.
  DdSurface *next;
  DdSurface *root;
  DWORD mipLevels;
  std::vector<HeldLock> locks;
  DdClipper *clipper;  // holds a reference
};

struct DdClipper {
  IDirectDrawClipper iface;
  DdObject *owner;  // the object it was made through
  ULONG refs;
  HWND window;
  bool hasList;
  std::vector<RECT> list;  // SetClipList, screen coordinates
  bool fetched;            // a clip list was fetched since the last change
  uint32_t fetchedGeneration;
};

struct DdObject {
  IDirectDraw iface;
  ULONG refs;
  bool cooperative;
  std::vector<DdSurface *> surfaces;  // tops of chains and single surfaces
  std::vector<DdClipper *> clippers;
};

// Live records, found by their interface pointers; null for anything else
// (a pointer never given out, or one whose record was released).
DdObject *LiveObject(IDirectDraw *iface);
DdSurface *LiveSurface(IDirectDrawSurface *iface);
DdClipper *LiveClipper(IDirectDrawClipper *iface);
void RegisterLive(const void *record);
void UnregisterLive(const void *record);
bool IsLive(const void *record);
// Every DirectDraw object not yet released.
const std::vector<DdObject *> &AllObjects();

const char *KindName(const DdSurface *surface);

inline bool SameIid(REFIID a, const IID &b) { return a != nullptr && std::memcmp(a, &b, sizeof b) == 0; }

// QueryInterface of every record: IUnknown and the record's own interface
// give the same pointer with one more reference.
template <typename Record>
HRESULT QueryRecord(Record *record, REFIID iid, const IID &own, LPVOID *out) {
  if (record == nullptr) return DDERR_INVALIDOBJECT;
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  if (SameIid(iid, IID_IUnknown) || SameIid(iid, own)) {
    ++record->refs;
    *out = &record->iface;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

// Surfaces and clippers.
HRESULT CreateSurfaceFor(DdObject *owner, LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE *out);
HRESULT CreateClipperFor(DdObject *owner, LPDIRECTDRAWCLIPPER *out);
void DestroyChain(DdSurface *root);  // frees the memory and the records of a chain
void DestroyClipper(DdClipper *clipper);
ULONG ReleaseClipper(DdClipper *clipper);  // gives the remaining count

// The display mode's pixel format.
DDPIXELFORMAT ScreenPixelFormat();
// The surface's description as GetSurfaceDesc reports it.
void DescribeSurface(const DdSurface *surface, DDSURFACEDESC *desc);

// Pixel access for the stand-in itself: system-memory surfaces are
// page-protected while unlocked in the checking build.
void OpenPixels(DdSurface *surface);
void ClosePixels(DdSurface *surface);

// The clip rectangles (screen coordinates) a clipper gives now.
std::vector<RECT> ClipperRects(const DdClipper *clipper);
bool ClipperUsable(const DdClipper *clipper);

bool LockedBySomeone(const DdSurface *surface);

// Surface methods kept in files of their own.
HRESULT WINAPI SurfaceLock(IDirectDrawSurface *self, LPRECT rect, LPDDSURFACEDESC desc, DWORD flags,
                           HANDLE event);
HRESULT WINAPI SurfaceUnlock(IDirectDrawSurface *self, LPVOID address);
HRESULT WINAPI SurfaceBlt(IDirectDrawSurface *self, LPRECT destRect, LPDIRECTDRAWSURFACE source,
                          LPRECT sourceRect, DWORD flags, LPDDBLTFX fx);

}  // namespace platform
