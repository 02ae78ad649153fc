// The DirectDraw texture manager record and its texture objects: one
// record per share group holding the DirectDraw object, the objects made
// through it and the active list's sentinel; objects and levels that carry
// a video-memory tail behind the generic records.
#include <string.h>

#include "core/s_names.h"
#include "pixels/px_texformat.h"
#include "pixels/px_texture_manager.h"
#include "sis/sis_engine_lock.h"
#include "sis/sis_texmgr.h"
#include "wgl/wgl_ddraw.h"

namespace {

const GlDDrawTextureManager kTemplate = {
    {0, __glDDrawReleaseTextureManager, __glDDrawInvalidateTextureAll}, nullptr, nullptr, nullptr,
    nullptr};

GlDDrawTextureManager *Manager(GlContext *gc) { return __glDDrawManager(gc); }

GlDDrawTextureObject *Object(GlTextureObject *tex) {
  return reinterpret_cast<GlDDrawTextureObject *>(tex);
}

GlDDrawTextureLevel *Level(GlTextureObject *tex, GLint level) {
  return reinterpret_cast<GlDDrawTextureLevel *>(tex->levels[level]);
}

// A new record with the DirectDraw object and an empty active list; none
// when any part cannot be had (nothing is then kept).
GlDDrawTextureManager *NewManager(GlContext *gc) {
  auto *m = static_cast<GlDDrawTextureManager *>(gc->imports.malloc(gc, sizeof(GlDDrawTextureManager)));
  if (m == nullptr) return nullptr;
  memcpy(m, &kTemplate, sizeof *m);
  m->lookup = __glLookupDDrawTextureFormat;
  m->sentinel =
      static_cast<GlDDrawTextureObject *>(gc->imports.calloc(gc, 1, sizeof(GlDDrawTextureObject)));
  m->ddraw = m->sentinel ? __wglAllocateDDrawObject() : nullptr;
  if (m->ddraw == nullptr) {
    gc->imports.free(gc, m->sentinel);
    gc->imports.free(gc, m);
    return nullptr;
  }
  m->sentinel->priority = -1.0f;
  m->sentinel->nextActive = m->sentinel->prevActive = m->sentinel;
  return m;
}

}  // namespace

GLbool8 __glDDrawInitTextureManager(GlContext *gc) {
  GlDDrawTextureManager *m = NewManager(gc);
  if (m == nullptr) return 0;
  m->base.refcount = 1;
  if (gc->texture.manager != nullptr) gc->texture.manager->release(gc);
  gc->texture.manager = &m->base;
  gc->texture.createTexture = __glDDrawCreateTexture;
  return 1;
}

GLbool8 __glSiSDDrawInitTextureManager(GlContext *gc) {
  if (!__glDDrawInitTextureManager(gc)) return 0;
  GlDDrawTextureManager *m = Manager(gc);
  if (m->base.refcount == 1) m->lookup = __glSiSLookupDDrawTextureFormat;
  return 1;
}

// The last reference empties the active list before the sentinel goes, so
// that no texture keeps a surface or links into freed memory.
void __glDDrawReleaseTextureManager(GlContext *gc) {
  GlDDrawTextureManager *m = Manager(gc);
  if (m == nullptr) return;
  __glNamesEnterLock();
  bool last = --m->base.refcount == 0;
  __glNamesLeaveLock();
  if (last) {
    __glDDrawInvalidateTextureAll(gc, &m->base);
    gc->imports.free(gc, m->sentinel);
    __wglFreeDDrawObject(m->ddraw);
    gc->imports.free(gc, m);
  }
  gc->texture.manager = nullptr;
}

// Each texture whose surface goes is no longer resident, as when it is
// evicted: the chip must not be pointed at released memory.
void __glDDrawInvalidateTextureAll(GlContext *gc, GlTextureManager *manager) {
  auto *m = reinterpret_cast<GlDDrawTextureManager *>(manager);
  SiSEngineGuard engine;
  while (m->sentinel->prevActive != m->sentinel) {
    if (!ddtex::MakeResidentRemoveActive(gc, m)) return;
  }
}

GlTextureObject *__glDDrawCreateTexture(GlContext *gc, GLuint name, int32_t targetIndex) {
  GlTextureObject *t = __glAllocTextureObject(gc, name, targetIndex, sizeof(GlDDrawTextureObject),
                                              sizeof(GlDDrawTextureLevel));
  if (t == nullptr) return nullptr;
  for (int32_t i = 0; i < gc->constants.maxMipMapLevel; ++i) {
    Level(t, i)->sScale = Level(t, i)->tScale = 1.0f;
  }
  t->free = __glDDrawFreeTexture;
  t->makeResident = __glDDrawTextureMakeResident;
  t->removeResident = __glDDrawTextureRemoveResident;
  t->deleteLevel = __glDDrawTextureDeleteLevel;
  if (t->targetIndex < __GL_PROXY_TEXTURE_1D_INDEX) t->createLevel = __glDDrawTextureCreateLevel;
  GlDDrawTextureObject *tex = Object(t);
  // The share group's threads make and free objects at once.
  SiSEngineGuard engine;
  if (GlDDrawTextureManager *m = Manager(gc)) {
    tex->nextRegistered = m->textures;
    m->textures = tex;
  }
  return t;
}

void __glDDrawFreeTexture(GlContext *gc, GlTextureObject *t) {
  GlDDrawTextureObject *tex = Object(t);
  SiSEngineGuard engine;
  ddtex::RemoveResidency(gc, tex);
  GlDDrawTextureManager *m = Manager(gc);
  GlDDrawTextureObject **first = m ? &m->textures : nullptr;
  for (GlDDrawTextureObject **p = first; p != nullptr && *p != nullptr; p = &(*p)->nextRegistered) {
    if (*p == tex) {
      *p = tex->nextRegistered;
      break;
    }
  }
  __glFreeTextureRecords(gc, t);
  // Another object may be made at this address.
  __glSiSTextureChanged();
}

uint8_t *__glDDrawTextureCreateLevel(GlContext *gc, GlTextureObject *t, GLint level,
                                     GLenum internalFormat, GLint width, GLint height,
                                     GLint depth, GLint border, GLint dim) {
  uint8_t *image =
      __glTextureCreateLevel(gc, t, level, internalFormat, width, height, depth, border, dim);
  if (level < 0 || level >= gc->constants.maxMipMapLevel) return image;
  GlDDrawTextureLevel *l = Level(t, level);
  GlDDrawTextureManager *m = Manager(gc);
  const GlDDrawTexFormat *row = m && t->texFormat ? m->lookup(t->texFormat->id) : nullptr;
  if (row != nullptr) {
    l->squareCopy = row->squareCopy;
    l->copy = row->copy;
    l->bytesPerTexel = int32_t(row->format.dwRGBBitCount / 8);
    l->sScale = l->tScale = 1.0f;
  }
  // The next make-resident builds a surface for the new level.
  GlDDrawTextureObject *tex = Object(t);
  if (tex->surface != nullptr) ddtex::RemoveResidency(gc, tex);
  return image;
}

void __glDDrawTextureDeleteLevel(GlContext *gc, GlTextureObject *t, GLint level) {
  ddtex::RemoveResidency(gc, Object(t));
  __glTextureDeleteLevel(gc, t, level);
}

void __glDDrawTextureRemoveResident(GlContext *gc, GlTextureObject *t) {
  ddtex::RemoveResidency(gc, Object(t));
}
