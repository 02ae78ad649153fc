// Making a texture resident: a square DirectDraw texture surface (with its
// mipmap chain when the minification filter reads mipmaps), found room for
// by evicting resident textures, and every sampled level copied into it. A
// lost surface is restored (or made anew after a display-mode change) and
// filled again.
#include <algorithm>

#include "pixels/px_texformat.h"
#include "sis/sis_engine_lock.h"
#include "sis/sis_texmgr.h"

namespace {

GlDDrawTextureLevel *Level(GlDDrawTextureObject *tex, int32_t i) {
  return reinterpret_cast<GlDDrawTextureLevel *>(tex->base.levels[i]);
}

bool Mipmapped(GLenum filter) { return filter != GL_NEAREST && filter != GL_LINEAR; }

// The levels the surface holds: level 0 alone without mipmapping.
int32_t LevelCount(GlContext *gc, GlDDrawTextureObject *tex) {
  if (!Mipmapped(tex->base.minFilter)) return 1;
  return std::clamp(tex->base.chainLength, 1, gc->constants.maxMipMapLevel);
}

int32_t Side(const GlTextureLevel *level) { return std::max(level->width, level->height); }

// A surface made while the filter read level 0 alone has no chain; the
// mipmap filter set since needs one.
bool NeedsChain(GlContext *gc, GlDDrawTextureObject *tex) {
  return LevelCount(gc, tex) > 1 && Level(tex, 1)->surface == nullptr;
}

bool MakeResidentTryAllocateSurface(GlDDrawTextureManager *m, GlDDrawTextureObject *tex,
                                    const GlDDrawTexFormat *row) {
  const int32_t side = Side(tex->base.levels[0]);
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
  desc.dwHeight = desc.dwWidth = DWORD(side);
  desc.ddpfPixelFormat = row->format;
  desc.ddsCaps.dwCaps = Mipmapped(tex->base.minFilter)
                            ? DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX
                            : DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY;
  LPDIRECTDRAWSURFACE surface = nullptr;
  if (m->ddraw->lpVtbl->CreateSurface(m->ddraw, &desc, &surface, nullptr) != DD_OK) return false;
  tex->surface = surface;
  return true;
}

// Evicts until the surface fits; false when nothing is left to evict.
bool AllocateSurface(GlContext *gc, GlDDrawTextureManager *m, GlDDrawTextureObject *tex) {
  const GlTextureLevel *base = tex->base.levels[0];
  const GlDDrawTexFormat *row = tex->base.texFormat ? m->lookup(tex->base.texFormat->id) : nullptr;
  // Without a level 0 there is nothing to make room for.
  if (row == nullptr || base->image == nullptr || Side(base) <= 0) return false;
  while (!MakeResidentTryAllocateSurface(m, tex, row)) {
    if (!ddtex::MakeResidentRemoveActive(gc, m)) return false;
  }
  if (!ddtex::InsertActive(m, tex)) {
    ddtex::ReleaseActiveTexture(gc, tex);
    return false;
  }
  return true;
}

// Locks the level's surface, records where its memory lies and converts the
// level into it. A level larger than its surface (one whose size does not
// follow level 0's) is refused rather than written past the surface.
bool CopyLevel(GlDDrawTextureObject *tex, GlDDrawTextureLevel *level, LPDIRECTDRAWSURFACE surface) {
  level->surface = surface;
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof desc;
  if (surface->lpVtbl->Lock(surface, nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return false;
  level->address = static_cast<uint8_t *>(desc.lpSurface);
  level->pitch = desc.lPitch;
  const GlTextureLevel &l = level->base;
  const int64_t side = Side(&l);
  const bool fits = side <= int64_t(desc.dwWidth) && side <= int64_t(desc.dwHeight) &&
                    side * 4 <= int64_t(desc.lPitch);
  if (fits) level->squareCopy(tex, level, 0, 0, l.width, l.height);
  const bool unlocked = surface->lpVtbl->Unlock(surface, desc.lpSurface) == DD_OK;
  return fits && unlocked;
}

// Walks the chain down level by level. Each attached surface's reference is
// given back once its level is copied: the level keeps the pointer, which
// stays valid while the texture holds the top of the chain.
bool MakeResidentMoveTexture(GlContext *gc, GlDDrawTextureObject *tex) {
  const int32_t count = LevelCount(gc, tex);
  LPDIRECTDRAWSURFACE current = tex->surface;
  bool ok = true;
  for (int32_t i = 0; i < count && ok; ++i) {
    GlDDrawTextureLevel *level = Level(tex, i);
    if (level->squareCopy != nullptr && level->base.image != nullptr) {
      ok = CopyLevel(tex, level, current);
    }
    if (ok && i + 1 < count) {
      DDSCAPS caps = {DDSCAPS_TEXTURE | DDSCAPS_MIPMAP};
      LPDIRECTDRAWSURFACE next = nullptr;
      ok = current->lpVtbl->GetAttachedSurface(current, &caps, &next) == DD_OK && next != nullptr;
      if (current != tex->surface) current->lpVtbl->Release(current);
      current = next;
    }
  }
  if (current != nullptr && current != tex->surface) current->lpVtbl->Release(current);
  return ok;
}

// A texture that could not be filled holds no surface: the next attempt
// starts over instead of taking a half-filled surface as resident.
GLbool8 Fail(GlContext *gc, GlDDrawTextureObject *tex) {
  ddtex::RemoveResidency(gc, tex);
  return 0;
}

}  // namespace

GLbool8 __glDDrawTextureMakeResident(GlContext *gc, GlTextureObject *t, uint32_t) {
  auto *tex = reinterpret_cast<GlDDrawTextureObject *>(t);
  GlDDrawTextureManager *m = __glDDrawManager(gc);
  if (m == nullptr) return 0;
  // Eviction may take a surface another thread's queued work samples.
  SiSEngineGuard engine;
  if (tex->surface != nullptr && NeedsChain(gc, tex)) {
    if (!ddtex::RemoveResidency(gc, tex)) return 0;
  }
  if (tex->surface != nullptr) {
    if (tex->surface->lpVtbl->IsLost(tex->surface) == DD_OK) {
      t->resident = 1;
      return 1;
    }
    HRESULT restored = tex->surface->lpVtbl->Restore(tex->surface);
    if (restored == DDERR_WRONGMODE) {
      // Made under another display mode: only a new surface will do.
      if (!ddtex::RemoveResidency(gc, tex)) return 0;
    } else if (restored != DD_OK) {
      return Fail(gc, tex);
    }
  }
  if (tex->surface == nullptr && !AllocateSurface(gc, m, tex)) return Fail(gc, tex);
  if (!MakeResidentMoveTexture(gc, tex)) return Fail(gc, tex);
  // New or restored surfaces: the chip's texture registers are computed anew.
  __glSiSTextureChanged();
  t->resident = 1;
  return 1;
}
