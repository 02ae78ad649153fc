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
// refused (the error is recorded and nothing changed). The look-up, the
// entry and the binding's reference are one step under the names lock:
// another context binding the same new name meanwhile would otherwise enter
// its own object and release this one before it is counted.
GlTextureObject *NamedObject(GlContext *gc, int32_t index, GLuint name) {
  GlTextureMachine *tx = &gc->texture;
  __glNamesEnterLock();
  auto *tex = static_cast<GlTextureObject *>(__glNamesLockData(gc, tx->shared, name));
  if (tex == nullptr) {
    tex = tx->createTexture(gc, name, index);
    if (tex == nullptr) {
      __glSetError(GL_OUT_OF_MEMORY);
    } else if (!__glNamesNewData(gc, tx->shared, name, tex)) {
      // The array refused (and recorded why): the object goes again.
      tex->refcount = 0;
      tex->free(gc, tex);
      tex = nullptr;
    } else {
      tex->refcount++;  // the array set 1 for the entry
    }
  } else if (tex->targetIndex != index) {
    __glNamesUnlockData(gc, tx->shared, tex);
    __glSetError(GL_INVALID_OPERATION);
    tex = nullptr;
  }
  __glNamesLeaveLock();
  return tex;
}

}  // namespace

void __glBindTextureObject(GlContext *gc, int32_t index, GlTextureObject *tex) {
  GlTextureMachine *tx = &gc->texture;
  GlTextureObject *old = tx->bound[index];
  // Only the two real targets have a context copy.
  GlTextureTargetState *copy = index < 2 ? &tx->targets[index] : nullptr;
  // Another context may hold the same object: its fields change under the
  // names lock, as its count does.
  __glNamesEnterLock();
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
  __glNamesLeaveLock();
}

void __glBindTexture(GlContext *gc, int32_t index, GLuint name) {
  GlTextureObject *tex =
      name == 0 ? gc->texture.defaults[index] : NamedObject(gc, index, name);
  if (tex == nullptr) return;
  __glBindTextureObject(gc, index, tex);
}

GLbool8 __glCanBindTexture(GlContext *gc, int32_t index, GLuint name) {
  if (name == 0) return 1;
  GlTextureMachine *tx = &gc->texture;
  __glNamesEnterLock();
  auto *tex = static_cast<GlTextureObject *>(__glNamesLockData(gc, tx->shared, name));
  const bool fits = tex == nullptr || tex->targetIndex == index;
  if (tex != nullptr) __glNamesUnlockData(gc, tx->shared, tex);
  __glNamesLeaveLock();
  return fits;
}
