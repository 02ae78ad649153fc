// Binding texture objects to a context's targets. The context keeps a copy
// of the bound object's parameters that the setters and the pickers use, so
// a binding writes the copy back into the object it leaves and loads it
// from the object it takes.
#include "core/context.h"
#include "core/s_error.h"
#include "core/s_names.h"
#include "pixels/px_texture.h"

namespace {

// A named object's new reference for the binding: taken through the name
// array, or made for a name that has no object yet. Null when the call is
// refused (the error is recorded and nothing changed).
GlTextureObject *NamedObject(GlContext *gc, int32_t index, GLuint name) {
  GlTextureMachine *tx = &gc->texture;
  auto *tex = static_cast<GlTextureObject *>(__glNamesLockData(gc, tx->shared, name));
  if (tex != nullptr) {
    if (tex->targetIndex == index) return tex;
    __glNamesUnlockData(gc, tx->shared, tex);
    __glSetError(GL_INVALID_OPERATION);
    return nullptr;
  }
  tex = tx->createTexture(gc, name, index);
  if (tex == nullptr) {
    __glSetError(GL_OUT_OF_MEMORY);
    return nullptr;
  }
  // The entry's reference: the array sets the count to 1, or refuses (and
  // has recorded why) and the object goes again.
  if (!__glNamesNewData(gc, tx->shared, name, tex)) {
    tex->refcount = 0;
    tex->free(gc, tex);
    return nullptr;
  }
  __glNamesEnterLock();
  tex->refcount++;
  __glNamesLeaveLock();
  return tex;
}

}  // namespace

void __glBindTextureObject(GlContext *gc, int32_t index, GlTextureObject *tex) {
  GlTextureMachine *tx = &gc->texture;
  GlTextureObject *old = tx->bound[index];
  // Only the two real targets have a context copy.
  GlTextureTargetState *copy = index < 2 ? &tx->targets[index] : nullptr;
  if (old != nullptr && copy != nullptr) {
    __glLoadTextureParams(old, &copy->params);
    old->texobjs = copy->texobjs;
  }
  tx->bound[index] = tex;
  if (copy != nullptr && tex != nullptr) {
    copy->params = {tex->wrapS, tex->wrapT, tex->minFilter, tex->magFilter,
                    {tex->borderColor[0], tex->borderColor[1], tex->borderColor[2],
                     tex->borderColor[3]}};
    copy->texobjs = tex->texobjs;
  }
  if (old != nullptr && old->texobjs.name != 0) __glNamesUnlockData(gc, tx->shared, old);
}

void __glBindTexture(GlContext *gc, int32_t index, GLuint name) {
  GlTextureObject *tex =
      name == 0 ? gc->texture.defaults[index] : NamedObject(gc, index, name);
  if (tex == nullptr) return;
  __glBindTextureObject(gc, index, tex);
}
