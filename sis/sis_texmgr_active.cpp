// The active list of resident textures: a circular list through the
// objects' tails with the manager's sentinel as head. New textures go in at
// the tail and eviction takes the tail, so the texture made resident last
// goes first.
#include "sis/sis_engine_lock.h"
#include "sis/sis_texmgr.h"

namespace ddtex {

namespace {

void Unlink(GlDDrawTextureObject *tex) {
  tex->prevActive->nextActive = tex->nextActive;
  tex->nextActive->prevActive = tex->prevActive;
  tex->nextActive = tex->prevActive = nullptr;
}

// The level pointers came from the chain just released.
void ForgetLevelSurfaces(GlContext *gc, GlDDrawTextureObject *tex) {
  for (int32_t i = 0; i < gc->constants.maxMipMapLevel; ++i) {
    auto *level = reinterpret_cast<GlDDrawTextureLevel *>(tex->base.levels[i]);
    level->surface = nullptr;
    level->address = nullptr;
    level->pitch = 0;
  }
}

}  // namespace

bool InsertActive(GlDDrawTextureManager *m, GlDDrawTextureObject *tex) {
  if (tex->priority < -1.0f || tex->nextActive != nullptr) return false;
  // The sentinel's -1.0 is never above a texture's priority, so the
  // comparison with it settles the place at once: before it, at the tail.
  GlDDrawTextureObject *at = m->sentinel;
  tex->nextActive = at;
  tex->prevActive = at->prevActive;
  at->prevActive->nextActive = tex;
  at->prevActive = tex;
  return true;
}

bool TexMgrRemoveActive(GlDDrawTextureManager *m, GlDDrawTextureObject *tex) {
  for (GlDDrawTextureObject *p = m->sentinel->nextActive; p != m->sentinel; p = p->nextActive) {
    if (p == tex) {
      Unlink(tex);
      return true;
    }
  }
  return false;
}

bool MakeResidentRemoveActive(GlContext *gc, GlDDrawTextureManager *m) {
  GlDDrawTextureObject *tail = m->sentinel->prevActive;
  if (tail == m->sentinel) return false;
  Unlink(tail);
  ReleaseActiveTexture(gc, tail);
  tail->base.resident = 0;
  return true;
}

bool ReleaseActiveTexture(GlContext *gc, GlDDrawTextureObject *tex) {
  if (tex->surface == nullptr) return true;
  // The chip may still be reading the texels.
  if (gc->procs.waitIdle != nullptr) gc->procs.waitIdle(gc);
  if (tex->surface->lpVtbl->Release(tex->surface) != 0) return false;
  tex->surface = nullptr;
  ForgetLevelSurfaces(gc, tex);
  __glSiSTextureChanged();
  return true;
}

// A texture outside the list still gives its surface back, so that none is
// kept for good.
bool RemoveResidency(GlContext *gc, GlDDrawTextureObject *tex) {
  SiSEngineGuard engine;
  GlDDrawTextureManager *m = __glDDrawManager(gc);
  if (m != nullptr && tex->nextActive != nullptr) TexMgrRemoveActive(m, tex);
  bool released = ReleaseActiveTexture(gc, tex);
  tex->base.resident = 0;
  return released;
}

}  // namespace ddtex
