// The generic texture manager: a reference-counted record per share group
// whose objects keep their levels in ordinary memory.
#include <string.h>

#include "core/context.h"
#include "core/s_names.h"
#include "pixels/px_texture.h"
#include "pixels/px_texture_manager.h"

namespace {

const GlTextureManager genericManager = {0, __glReleaseTextureManager, __glInvalidateTextureAll};

}  // namespace

GLbool8 __glInitTextureManager(GlContext *gc) {
  auto *manager = static_cast<GlTextureManager *>(gc->imports.malloc(gc, sizeof(GlTextureManager)));
  if (manager == nullptr) return 0;
  memcpy(manager, &genericManager, sizeof *manager);
  manager->refcount = 1;
  if (gc->texture.manager != nullptr) gc->texture.manager->release(gc);
  gc->texture.manager = manager;
  gc->texture.createTexture = __glCreateTexture;
  return 1;
}

void __glReleaseTextureManager(GlContext *gc) {
  GlTextureManager *manager = gc->texture.manager;
  if (manager == nullptr) return;
  // The contexts of a share group live on different threads: the count
  // changes under the names lock, like every other shared count.
  __glNamesEnterLock();
  bool last = --manager->refcount == 0;
  __glNamesLeaveLock();
  if (last) gc->imports.free(gc, manager);
  gc->texture.manager = nullptr;
}

// Textures held in memory have nothing the device must drop.
void __glInvalidateTextureAll(GlContext *gc, GlTextureManager *manager) {}

void __glShareTextureManager(GlContext *gc, GlContext *share) {
  GlTextureManager *theirs = share->texture.manager;
  if (theirs == nullptr || theirs == gc->texture.manager) return;
  // The reference to the new manager first, then the old one goes.
  __glNamesEnterLock();
  theirs->refcount++;
  __glNamesLeaveLock();
  if (gc->texture.manager != nullptr) gc->texture.manager->release(gc);
  gc->texture.manager = theirs;
}
