// DirectDraw surfaces: creation from a description (the primary, off-screen
// plain surfaces, z-buffers, textures and their mipmap chains), where their
// memory lies, their description, loss and restoration, and release.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>

#include "platform/control.h"
#include "platform/ddraw_internal.h"
#include "platform/display.h"
#include "platform/fault.h"
#include "platform/kernel.h"
#include "platform/screen.h"
#include "platform/sis6326_model.h"

namespace platform {

extern const IDirectDrawSurfaceVtbl kSurfaceVtbl;

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

constexpr int kLargestSide = 4096;
constexpr uint8_t kFreshPattern = 0xCD;  // new surfaces are not zero, so reliance on zeros shows

// Caps a description may ask for; the rest are refused.
constexpr DWORD kOfferedCaps = DDSCAPS_COMPLEX | DDSCAPS_OFFSCREENPLAIN | DDSCAPS_PRIMARYSURFACE |
                               DDSCAPS_SYSTEMMEMORY | DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE |
                               DDSCAPS_VIDEOMEMORY | DDSCAPS_VISIBLE | DDSCAPS_WRITEONLY |
                               DDSCAPS_ZBUFFER | DDSCAPS_MIPMAP | DDSCAPS_ALLOCONLOAD |
                               DDSCAPS_LOCALVIDMEM | DDSCAPS_NONLOCALVIDMEM;
// Caps a surface keeps from its description; its placement adds the rest.
constexpr DWORD kKeptCaps = DDSCAPS_COMPLEX | DDSCAPS_OFFSCREENPLAIN | DDSCAPS_TEXTURE |
                            DDSCAPS_3DDEVICE | DDSCAPS_WRITEONLY | DDSCAPS_ZBUFFER |
                            DDSCAPS_MIPMAP | DDSCAPS_ALLOCONLOAD;

struct Request {
  SurfaceKind kind;
  DWORD caps;
  int width, height;
  DDPIXELFORMAT format;
  int bytesPerPixel;
  DWORD levels;
  Placement order[3];  // placements to try, in order
  int choices;
  HRESULT exhausted;  // the result when none has room
};

int FormatBytes(const DDPIXELFORMAT &f) {
  DWORD bits = f.dwRGBBitCount;
  if (f.dwFlags & DDPF_ZBUFFER) return bits == 16 ? 2 : 4;  // 24-bit depths in 32-bit words
  return int((bits + 7) / 8);
}

// A pixel format a surface can take: RGB of 8, 16, 24 or 32 bits (with or
// without alpha), or 8-bit palette indices.
bool OfferedFormat(const DDPIXELFORMAT &f) {
  if (f.dwSize != sizeof(DDPIXELFORMAT)) return false;
  DWORD flags = f.dwFlags & ~DDPF_ALPHAPIXELS;
  if (flags == (DDPF_RGB | DDPF_PALETTEINDEXED8) || flags == DDPF_PALETTEINDEXED8)
    return f.dwRGBBitCount == 8;
  if (flags != DDPF_RGB) return false;
  switch (f.dwRGBBitCount) {
    case 8: case 16: case 24: case 32: return true;
    default: return false;
  }
}

DDPIXELFORMAT ZFormat(DWORD depth) {
  DDPIXELFORMAT f = {};
  f.dwSize = sizeof f;
  f.dwFlags = DDPF_ZBUFFER;
  f.dwZBufferBitDepth = depth;
  return f;
}

DWORD FullChain(int width, int height) {
  DWORD levels = 1;
  for (int side = std::max(width, height); side > 1; side >>= 1) ++levels;
  return levels;
}

HRESULT Parse(const DDSURFACEDESC &d, Request *r) {
  DWORD flags = d.dwFlags;
  DWORD caps = (flags & DDSD_CAPS) ? d.ddsCaps.dwCaps : 0;
  if (caps & (DDSCAPS_FLIP | DDSCAPS_BACKBUFFER | DDSCAPS_FRONTBUFFER) ||
      (flags & DDSD_BACKBUFFERCOUNT))
    return DDERR_NOEXCLUSIVEMODE;  // flipping needs the display for oneself
  if (caps & DDSCAPS_OVERLAY) return DDERR_NOOVERLAYHW;
  if (caps & ~kOfferedCaps) return DDERR_INVALIDCAPS;

  bool primary = caps & DDSCAPS_PRIMARYSURFACE, z = caps & DDSCAPS_ZBUFFER,
       texture = caps & DDSCAPS_TEXTURE, plain = caps & DDSCAPS_OFFSCREENPLAIN;
  if (primary + z + texture > 1 || (plain && (primary || z))) return DDERR_INVALIDCAPS;
  bool system = caps & DDSCAPS_SYSTEMMEMORY, video = caps & DDSCAPS_VIDEOMEMORY;
  bool local = caps & DDSCAPS_LOCALVIDMEM, nonLocal = caps & DDSCAPS_NONLOCALVIDMEM;
  if ((system && video) || ((local || nonLocal) && !video) || (local && nonLocal) ||
      (nonLocal && !texture))
    return DDERR_INVALIDCAPS;
  bool mipmap = caps & DDSCAPS_MIPMAP, complex = caps & DDSCAPS_COMPLEX;
  if ((mipmap && !texture) || (complex && !mipmap)) return DDERR_INVALIDCAPS;

  r->caps = caps & kKeptCaps;
  if (primary) {
    if (flags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_ZBUFFERBITDEPTH |
                 DDSD_MIPMAPCOUNT | DDSD_PITCH | DDSD_LPSURFACE))
      return DDERR_INVALIDPARAMS;
    if (system) return DDERR_INVALIDCAPS;
    ScreenMode mode = CurrentScreenMode();
    r->kind = SurfaceKind::kPrimary;
    r->caps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_VISIBLE | (caps & (DDSCAPS_3DDEVICE | DDSCAPS_WRITEONLY));
    r->width = mode.width;
    r->height = mode.height;
    r->format = ScreenPixelFormat();
    r->bytesPerPixel = mode.bytesPerPixel;
    r->levels = 1;
    r->order[0] = Placement::kScreen;
    r->choices = 1;
    r->exhausted = DDERR_OUTOFVIDEOMEMORY;
    return DD_OK;
  }

  if (!(flags & DDSD_WIDTH) || !(flags & DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
  if (d.dwWidth == 0 || d.dwHeight == 0) return DDERR_INVALIDPARAMS;
  if (d.dwWidth > kLargestSide) return DDERR_TOOBIGWIDTH;
  if (d.dwHeight > kLargestSide) return DDERR_TOOBIGHEIGHT;
  r->width = int(d.dwWidth);
  r->height = int(d.dwHeight);

  if (z) {
    DWORD depth = 0;
    if (flags & DDSD_ZBUFFERBITDEPTH) {
      depth = d.dwZBufferBitDepth;
    } else if ((flags & DDSD_PIXELFORMAT) && (d.ddpfPixelFormat.dwFlags & DDPF_ZBUFFER)) {
      depth = d.ddpfPixelFormat.dwZBufferBitDepth;
    } else {
      return DDERR_INVALIDPARAMS;
    }
    if (depth != 16 && depth != 24 && depth != 32) return DDERR_INVALIDPIXELFORMAT;
    r->kind = SurfaceKind::kZBuffer;
    r->format = ZFormat(depth);
  } else {
    if (flags & DDSD_ZBUFFERBITDEPTH) return DDERR_INVALIDPARAMS;
    if (flags & DDSD_PIXELFORMAT) {
      if (!OfferedFormat(d.ddpfPixelFormat)) return DDERR_INVALIDPIXELFORMAT;
      r->format = d.ddpfPixelFormat;
    } else {
      r->format = ScreenPixelFormat();
    }
    r->kind = texture ? SurfaceKind::kTexture : SurfaceKind::kOffscreen;
    if (!texture) r->caps |= DDSCAPS_OFFSCREENPLAIN;
  }
  r->bytesPerPixel = FormatBytes(r->format);

  r->levels = 1;
  if (flags & DDSD_MIPMAPCOUNT) {
    if (!mipmap || d.dwMipMapCount == 0 || (d.dwMipMapCount > 1 && !complex) ||
        d.dwMipMapCount > FullChain(r->width, r->height))
      return DDERR_INVALIDPARAMS;
    r->levels = d.dwMipMapCount;
  } else if (mipmap && complex) {
    r->levels = FullChain(r->width, r->height);
  }

  // Without a memory asked for, video memory is tried first, then system memory.
  r->choices = 0;
  if (!system) {
    if (!nonLocal) r->order[r->choices++] = Placement::kLocal;
    if (texture && !local) r->order[r->choices++] = Placement::kNonLocal;
  }
  if (!video) r->order[r->choices++] = Placement::kSystem;
  r->exhausted = video ? DDERR_OUTOFVIDEOMEMORY : DDERR_OUTOFMEMORY;
  return DD_OK;
}

// Bytes added to every texture row (PlatformSetTexturePitchPadding).
DWORD texturePadding = 0;

int PitchFor(const Request &r, int width) {
  int row = width * r.bytesPerPixel;
  // Texture levels are packed unless a test pads their rows.
  return r.kind == SurfaceKind::kTexture ? row + int(texturePadding) : (row + 7) & ~7;
}

VideoPool PoolOf(Placement where) {
  return where == Placement::kLocal ? VideoPool::kLocal : VideoPool::kNonLocal;
}

bool TakeMemory(DdSurface *s, Placement where) {
  uint32_t bytes = uint32_t(s->pitch) * uint32_t(s->height);
  s->placement = where;
  switch (where) {
    case Placement::kScreen:
      s->pixels = VideoMemoryBase();
      return true;
    case Placement::kLocal:
    case Placement::kNonLocal: {
      if (!VideoAllocate(PoolOf(where), bytes, &s->offset)) return false;
      s->ownsMemory = true;
      s->pixels = VideoPoolBase(PoolOf(where)) + s->offset;
      std::memset(s->pixels - kSpareBytes, kFreshPattern, bytes + 2 * kSpareBytes);
      return true;
    }
    case Placement::kSystem: {
      void *block = VirtualAlloc(nullptr, bytes + 2 * kSpareBytes, MEM_COMMIT, PAGE_READWRITE);
      if (block == nullptr) return false;
      std::memset(block, kFreshPattern, bytes + 2 * kSpareBytes);
      s->ownsMemory = true;
      s->systemBlock = block;
      s->pixels = static_cast<uint8_t *>(block) + kSpareBytes;
      ClosePixels(s);
      return true;
    }
  }
  return false;
}

void GiveMemory(DdSurface *s) {
  switch (s->placement) {
    case Placement::kScreen: break;
    case Placement::kLocal:
    case Placement::kNonLocal:
      if (s->ownsMemory) VideoFree(PoolOf(s->placement), s->offset);
      break;
    case Placement::kSystem:
      if (s->systemBlock) VirtualFree(s->systemBlock, 0, MEM_RELEASE);
      s->systemBlock = nullptr;
      break;
  }
  s->ownsMemory = false;
}

DWORD PlacementCaps(Placement where) {
  switch (where) {
    case Placement::kScreen:
    case Placement::kLocal: return DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
    case Placement::kNonLocal: return DDSCAPS_VIDEOMEMORY | DDSCAPS_NONLOCALVIDMEM;
    case Placement::kSystem: return DDSCAPS_SYSTEMMEMORY;
  }
  return 0;
}

// Frees the records of a chain not yet registered, and what memory they took.
void DropLevels(std::vector<DdSurface *> &levels) {
  for (DdSurface *s : levels) {
    GiveMemory(s);
    delete s;
  }
  levels.clear();
}

// Builds every level of a chain in one placement, or none.
bool BuildChain(DdObject *owner, const Request &r, Placement where, std::vector<DdSurface *> *out) {
  std::vector<DdSurface *> levels;
  uint32_t serial = ScreenModeSerial();
  for (DWORD i = 0; i < r.levels; ++i) {
    DdSurface *s = new (std::nothrow) DdSurface{};
    if (s == nullptr) {
      DropLevels(levels);
      return false;
    }
    s->iface.lpVtbl = &kSurfaceVtbl;
    s->owner = owner;
    s->refs = 1;  // a lower level's count includes the chain's own reference
    s->kind = r.kind;
    s->width = std::max(1, r.width >> i);
    s->height = std::max(1, r.height >> i);
    s->bytesPerPixel = r.bytesPerPixel;
    s->pitch = r.kind == SurfaceKind::kPrimary ? CurrentScreenMode().pitch : PitchFor(r, s->width);
    s->format = r.format;
    s->modeSerial = serial;
    s->mipLevels = r.levels - i;
    levels.push_back(s);
    if (!TakeMemory(s, where)) {
      DropLevels(levels);
      return false;
    }
    s->caps = r.caps | PlacementCaps(where);
  }
  for (size_t i = 0; i < levels.size(); ++i) {
    levels[i]->root = levels[0];
    levels[i]->next = i + 1 < levels.size() ? levels[i + 1] : nullptr;
  }
  *out = std::move(levels);
  return true;
}

const char *KindName(SurfaceKind kind) {
  switch (kind) {
    case SurfaceKind::kPrimary: return "primary";
    case SurfaceKind::kOffscreen: return "offscreen";
    case SurfaceKind::kZBuffer: return "zbuffer";
    case SurfaceKind::kTexture: return "texture";
  }
  return "";
}

}  // namespace

const char *KindName(const DdSurface *s) { return KindName(s->kind); }

DDPIXELFORMAT ScreenPixelFormat() {
  ScreenMode mode = CurrentScreenMode();
  DDPIXELFORMAT f = {};
  f.dwSize = sizeof f;
  f.dwFlags = mode.bitsPerPixel == 8 ? DDPF_RGB | DDPF_PALETTEINDEXED8 : DDPF_RGB;
  f.dwRGBBitCount = ReportedBitsPerPixel(mode);
  uint32_t red, green, blue;
  ScreenModeMasks(mode, &red, &green, &blue);
  f.dwRBitMask = red;
  f.dwGBitMask = green;
  f.dwBBitMask = blue;
  return f;
}

HRESULT CreateSurfaceFor(DdObject *owner, LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE *out) {
  Request r;
  HRESULT result = Parse(*desc, &r);
  if (result != DD_OK) return result;
  DWORD error;
  if (ShouldFail("CreateSurface", KindName(r.kind), r.exhausted, &error)) return error;
  std::vector<DdSurface *> levels;
  for (int i = 0; i < r.choices && levels.empty(); ++i) BuildChain(owner, r, r.order[i], &levels);
  if (levels.empty()) return r.exhausted;
  for (DdSurface *s : levels) RegisterLive(s);
  owner->surfaces.push_back(levels[0]);
  *out = &levels[0]->iface;
  return DD_OK;
}

void DestroyChain(DdSurface *root) {
  std::erase(root->owner->surfaces, root);
  for (DdSurface *s = root; s != nullptr;) {
    DdSurface *next = s->next;
    if (s->clipper) ReleaseClipper(s->clipper);
    GiveMemory(s);
    UnregisterLive(s);
    delete s;
    s = next;
  }
}

void DescribeSurface(const DdSurface *s, DDSURFACEDESC *d) {
  std::memset(d, 0, sizeof *d);
  d->dwSize = sizeof *d;
  d->dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_LPSURFACE;
  d->dwWidth = s->width;
  d->dwHeight = s->height;
  d->lPitch = s->pitch;
  d->lpSurface = s->pixels;
  if (s->kind == SurfaceKind::kZBuffer) {
    d->dwFlags |= DDSD_ZBUFFERBITDEPTH;
    d->dwZBufferBitDepth = s->format.dwZBufferBitDepth;
  } else if (s->caps & DDSCAPS_MIPMAP) {
    d->dwFlags |= DDSD_MIPMAPCOUNT;
    d->dwMipMapCount = s->mipLevels;
  }
  if (s->placement == Placement::kNonLocal) d->dwReserved = s->offset;
  d->ddpfPixelFormat = s->format;
  d->ddsCaps.dwCaps = s->caps;
}

// In the checking build an unlocked system-memory surface cannot be touched.
// The pages are protected directly, not through VirtualProtect: a failure
// armed for the program's own calls must not leave a locked surface shut.
namespace {
void ProtectSystemBlock(const DdSurface *s, int protection) {
#ifdef VLX_CHECKING
  if (s->placement == Placement::kSystem && s->systemBlock && s->locks.empty()) {
    size_t page = size_t(sysconf(_SC_PAGESIZE));
    size_t bytes = size_t(s->pitch) * s->height + 2 * kSpareBytes;
    mprotect(s->systemBlock, (bytes + page - 1) & ~(page - 1), protection);  // the block starts a page
  }
#else
  (void)s, (void)protection;
#endif
}
}  // namespace

void OpenPixels(DdSurface *s) { ProtectSystemBlock(s, PROT_READ | PROT_WRITE); }
void ClosePixels(DdSurface *s) { ProtectSystemBlock(s, PROT_NONE); }

bool LockedBySomeone(const DdSurface *s) { return !s->locks.empty(); }

void SurfacesLoseAll(const std::vector<uint32_t> &dropped) {
  for (DdObject *o : AllObjects())
    for (DdSurface *root : o->surfaces) {
      if (root->placement == Placement::kSystem) continue;
      root->lost = true;
      for (DdSurface *s = root; s; s = s->next)
        if (s->placement == Placement::kLocal && s->ownsMemory &&
            std::find(dropped.begin(), dropped.end(), s->offset) != dropped.end())
          s->ownsMemory = false;  // the screen has it now
    }
}

DdSurface *LiveSurface(IDirectDrawSurface *iface) {
  if (!IsLive(iface) || iface->lpVtbl != &kSurfaceVtbl) return nullptr;
  return reinterpret_cast<DdSurface *>(iface);
}

namespace {

DdSurface *Self(IDirectDrawSurface *iface) { return LiveSurface(iface); }

HRESULT WINAPI QueryInterface(IDirectDrawSurface *self, REFIID iid, LPVOID *out) {
  Guard hold(ScreenLock());
  return QueryRecord(Self(self), iid, IID_IDirectDrawSurface, out);
}

ULONG WINAPI AddRef(IDirectDrawSurface *self) {
  Guard hold(ScreenLock());
  DdSurface *s = Self(self);
  return s ? ++s->refs : 0;
}

// The top of a chain goes (with its chain) when its count reaches 0; a lower
// level keeps the chain's own reference and goes only with the top. A release
// made to fail keeps the reference and answers the count, as when someone
// else still holds the surface: callers take a count above 0 as failure.
ULONG WINAPI Release(IDirectDrawSurface *self) {
  Guard hold(ScreenLock());
  DdSurface *s = Self(self);
  if (s == nullptr) return 0;
  if (ShouldFail("Release", KindName(s), 0, nullptr)) return s->refs;
  if (s->root != s) return s->refs > 1 ? --s->refs : s->refs;
  if (--s->refs > 0) return s->refs;
  for (const DdSurface *level = s; level != nullptr; level = level->next)
    ModelSurfaceAccess(level, nullptr, "a release");  // the chip's unfired work must not meet it
  DestroyChain(s);
  return 0;
}

#define SURFACE_REFUSES(name, result, ...)                \
  HRESULT WINAPI name(IDirectDrawSurface *self, ##__VA_ARGS__) { \
    Guard hold(ScreenLock());                             \
    return Self(self) ? (result) : DDERR_INVALIDOBJECT;   \
  }

SURFACE_REFUSES(AddAttachedSurface, DDERR_CANNOTATTACHSURFACE, LPDIRECTDRAWSURFACE)
SURFACE_REFUSES(AddOverlayDirtyRect, DDERR_NOTAOVERLAYSURFACE, LPRECT)
SURFACE_REFUSES(BltBatch, DDERR_UNSUPPORTED, LPVOID, DWORD, DWORD)
SURFACE_REFUSES(BltFast, DDERR_UNSUPPORTED, DWORD, DWORD, LPDIRECTDRAWSURFACE, LPRECT, DWORD)
SURFACE_REFUSES(DeleteAttachedSurface, DDERR_CANNOTDETACHSURFACE, DWORD, LPDIRECTDRAWSURFACE)
SURFACE_REFUSES(EnumAttachedSurfaces, DDERR_UNSUPPORTED, LPVOID, LPDDENUMSURFACESCALLBACK)
SURFACE_REFUSES(EnumOverlayZOrders, DDERR_NOTAOVERLAYSURFACE, DWORD, LPVOID, LPDDENUMSURFACESCALLBACK)
SURFACE_REFUSES(Flip, DDERR_NOTFLIPPABLE, LPDIRECTDRAWSURFACE, DWORD)
SURFACE_REFUSES(GetColorKey, DDERR_NOCOLORKEY, DWORD, LPDDCOLORKEY)
SURFACE_REFUSES(GetDC, DDERR_CANTCREATEDC, HDC *)
SURFACE_REFUSES(GetOverlayPosition, DDERR_NOTAOVERLAYSURFACE, LPLONG, LPLONG)
SURFACE_REFUSES(GetPalette, DDERR_NOPALETTEATTACHED, LPDIRECTDRAWPALETTE *)
SURFACE_REFUSES(Initialize, DDERR_ALREADYINITIALIZED, LPDIRECTDRAW, LPDDSURFACEDESC)
SURFACE_REFUSES(ReleaseDC, DDERR_NODC, HDC)
SURFACE_REFUSES(SetColorKey, DDERR_NOCOLORKEYHW, DWORD, LPDDCOLORKEY)
SURFACE_REFUSES(SetOverlayPosition, DDERR_NOTAOVERLAYSURFACE, LONG, LONG)
SURFACE_REFUSES(SetPalette, DDERR_NOPALETTEHW, LPDIRECTDRAWPALETTE)
SURFACE_REFUSES(UpdateOverlay, DDERR_NOTAOVERLAYSURFACE, LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD,
                LPVOID)
SURFACE_REFUSES(UpdateOverlayDisplay, DDERR_NOTAOVERLAYSURFACE, DWORD)
SURFACE_REFUSES(UpdateOverlayZOrder, DDERR_NOTAOVERLAYSURFACE, DWORD, LPDIRECTDRAWSURFACE)

// Blits finish before Blt returns.
SURFACE_REFUSES(GetBltStatus, DD_OK, DWORD)
SURFACE_REFUSES(GetFlipStatus, DDERR_NOTFLIPPABLE, DWORD)

HRESULT WINAPI GetAttachedSurface(IDirectDrawSurface *self, LPDDSCAPS caps, LPDIRECTDRAWSURFACE *out) {
  Guard hold(ScreenLock());
  DdSurface *s = Self(self);
  if (s == nullptr) return DDERR_INVALIDOBJECT;
  if (caps == nullptr || out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  DWORD error;
  if (ShouldFail("GetAttachedSurface", KindName(s), DDERR_NOTFOUND, &error)) return error;
  DdSurface *next = s->next;
  if (next == nullptr || (next->caps & caps->dwCaps) != caps->dwCaps) return DDERR_NOTFOUND;
  ++next->refs;
  *out = &next->iface;
  return DD_OK;
}

HRESULT WINAPI GetCaps(IDirectDrawSurface *self, LPDDSCAPS caps) {
  Guard hold(ScreenLock());
  DdSurface *s = Self(self);
  if (s == nullptr) return DDERR_INVALIDOBJECT;
  if (caps == nullptr) return DDERR_INVALIDPARAMS;
  caps->dwCaps = s->caps;
  return DD_OK;
}

HRESULT WINAPI GetClipper(IDirectDrawSurface *self, LPDIRECTDRAWCLIPPER *out) {
  Guard hold(ScreenLock());
  DdSurface *s = Self(self);
  if (s == nullptr) return DDERR_INVALIDOBJECT;
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if (s->clipper == nullptr) return DDERR_NOCLIPPERATTACHED;
  ++s->clipper->refs;
  *out = &s->clipper->iface;
  return DD_OK;
}

HRESULT WINAPI GetPixelFormat(IDirectDrawSurface *self, LPDDPIXELFORMAT format) {
  Guard hold(ScreenLock());
  DdSurface *s = Self(self);
  if (s == nullptr) return DDERR_INVALIDOBJECT;
  if (format == nullptr) return DDERR_INVALIDPARAMS;
  DWORD error;
  if (ShouldFail("GetPixelFormat", KindName(s), DDERR_GENERIC, &error)) return error;
  *format = s->format;
  return DD_OK;
}

HRESULT WINAPI GetSurfaceDesc(IDirectDrawSurface *self, LPDDSURFACEDESC desc) {
  Guard hold(ScreenLock());
  DdSurface *s = Self(self);
  if (s == nullptr) return DDERR_INVALIDOBJECT;
  if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
  DWORD error;
  if (ShouldFail("GetSurfaceDesc", KindName(s), DDERR_GENERIC, &error)) return error;
  DescribeSurface(s, desc);
  return DD_OK;
}

HRESULT WINAPI IsLost(IDirectDrawSurface *self) {
  Guard hold(ScreenLock());
  DdSurface *s = Self(self);
  if (s == nullptr) return DDERR_INVALIDOBJECT;
  DWORD error;
  if (ShouldFail("IsLost", KindName(s), DDERR_SURFACELOST, &error)) return error;
  return s->root->lost ? DDERR_SURFACELOST : DD_OK;
}

// A surface lost without a mode change comes back with its memory (its
// contents are whatever the memory holds); one made under another mode cannot.
HRESULT WINAPI Restore(IDirectDrawSurface *self) {
  Guard hold(ScreenLock());
  DdSurface *s = Self(self);
  if (s == nullptr) return DDERR_INVALIDOBJECT;
  DWORD error;
  if (ShouldFail("Restore", KindName(s), DDERR_WRONGMODE, &error)) return error;
  DdSurface *root = s->root;
  if (!root->lost) return DD_OK;
  if (root->modeSerial != ScreenModeSerial()) return DDERR_WRONGMODE;
  root->lost = false;
  return DD_OK;
}

HRESULT WINAPI SetClipper(IDirectDrawSurface *self, LPDIRECTDRAWCLIPPER clipper) {
  Guard hold(ScreenLock());
  DdSurface *s = Self(self);
  if (s == nullptr) return DDERR_INVALIDOBJECT;
  DdClipper *c = nullptr;
  if (clipper != nullptr && (c = LiveClipper(clipper)) == nullptr) return DDERR_INVALIDOBJECT;
  DWORD error;
  if (ShouldFail("SetClipper", KindName(s), DDERR_GENERIC, &error)) return error;
  if (c) ++c->refs;  // before the release, so setting the same clipper again keeps it
  if (s->clipper) ReleaseClipper(s->clipper);
  s->clipper = c;
  return DD_OK;
}

}  // namespace

const IDirectDrawSurfaceVtbl kSurfaceVtbl = {
    QueryInterface,     AddRef,
    Release,            AddAttachedSurface,
    AddOverlayDirtyRect, SurfaceBlt,
    BltBatch,           BltFast,
    DeleteAttachedSurface, EnumAttachedSurfaces,
    EnumOverlayZOrders, Flip,
    GetAttachedSurface, GetBltStatus,
    GetCaps,            GetClipper,
    GetColorKey,        GetDC,
    GetFlipStatus,      GetOverlayPosition,
    GetPalette,         GetPixelFormat,
    GetSurfaceDesc,     Initialize,
    IsLost,             SurfaceLock,
    ReleaseDC,          Restore,
    SetClipper,         SetColorKey,
    SetOverlayPosition, SetPalette,
    SurfaceUnlock,      UpdateOverlay,
    UpdateOverlayDisplay, UpdateOverlayZOrder,
};

}  // namespace platform

PLATFORM_API BOOL PlatformSetTexturePitchPadding(DWORD bytes) {
  if (bytes > 4096 || bytes % 4 != 0) return FALSE;
  std::lock_guard<std::recursive_mutex> hold(platform::ScreenLock());
  platform::texturePadding = bytes;
  return TRUE;
}

PLATFORM_API void PlatformLoseSurfaces(void) {
  std::lock_guard<std::recursive_mutex> hold(platform::ScreenLock());
  platform::SurfacesLoseAll({});
}
