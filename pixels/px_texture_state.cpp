// A context's texture state: set up at creation, reset on the first binding,
// released at destruction, and the texture-object names shared between
// contexts.
#include "core/context.h"
#include "core/device.h"
#include "core/gl_assert.h"
#include "core/s_names.h"
#include "pixels/px_texture.h"

namespace {

GLbool8 InitManager(GlContext *gc) {
  if (__glDevice != nullptr && __glDevice->initTextureManager != nullptr) {
    return __glDevice->initTextureManager(gc);
  }
  return __glInitTextureManager(gc);
}

// 2^(levels - 1), with the level count kept where the shift is defined.
int32_t MaxTextureSize(int32_t levels) {
  if (levels < 1) levels = 1;
  if (levels > 31) levels = 31;
  return int32_t{1} << (levels - 1);
}

const GlTextureParams kDefaultParams = {
    GL_REPEAT, GL_REPEAT, GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR, {0.0f, 0.0f, 0.0f, 0.0f}};

}  // namespace

GLbool8 __glEarlyInitTextureState(GlContext *gc) {
  GlTextureMachine *tx = &gc->texture;
  if (!InitManager(gc)) return 0;
  gc->constants.numberOfTextures = __GL_NUM_TEXTURE_TARGETS;
  gc->constants.maxTextureSize = MaxTextureSize(gc->constants.maxMipMapLevel);
  int32_t envs = gc->constants.numberOfTextureEnvs;
  if (envs > 0 && tx->env == nullptr) {
    tx->env = static_cast<GlTextureEnv *>(gc->imports.calloc(gc, envs, sizeof(GlTextureEnv)));
    if (tx->env == nullptr) return 0;
  }
  if (tx->shared == nullptr) {
    tx->shared = __glNamesNewArray(gc, GL_NAMES_TEXOBJ);
    if (tx->shared == nullptr) return 0;
  }
  // The objects of name 0 are the context's own: never in the name array.
  for (int32_t i = 0; i < __GL_NUM_TEXTURE_TARGETS; ++i) {
    if (tx->defaults[i] != nullptr) continue;
    GlTextureObject *tex = tx->createTexture ? tx->createTexture(gc, 0, i) : nullptr;
    if (tex == nullptr) return 0;
    tx->defaults[i] = tex;
    __glBindTextureObject(gc, i, tex);
  }
  return 1;
}

void __glInitTextureState(GlContext *gc) {
  GlTextureMachine *tx = &gc->texture;
  gc->state.current.texture.w = 1.0f;
  for (GlTextureTargetState &target : tx->targets) {
    target.params = kDefaultParams;
    target.texobjs = {0, 1.0f};
  }
  // The bound objects take the defaults too; each target's dimension
  // follows from its index.
  for (int32_t i = 0; i < __GL_NUM_TEXTURE_TARGETS; ++i) {
    GlTextureObject *tex = tx->bound[i];
    if (tex == nullptr) continue;
    tex->owner = gc;
    __glLoadTextureParams(tex, &kDefaultParams);
    tex->dim = (i == __GL_TEXTURE_1D_INDEX || i == __GL_PROXY_TEXTURE_1D_INDEX) ? 1 : 2;
    if (tex->levels == nullptr) continue;
    for (int32_t level = 0; level < gc->constants.maxMipMapLevel; ++level) {
      if (tex->levels[level] != nullptr) tex->levels[level]->requestedFormat = 1;
    }
  }
  for (GlTexCoordGen &gen : tx->texCoordGen) gen = GlTexCoordGen{GL_EYE_LINEAR, {}, {}};
  tx->texCoordGen[__GL_TEXGEN_S].eyePlane = tx->texCoordGen[__GL_TEXGEN_S].objectPlane =
      GlCoord{1.0f, 0.0f, 0.0f, 0.0f};
  tx->texCoordGen[__GL_TEXGEN_T].eyePlane = tx->texCoordGen[__GL_TEXGEN_T].objectPlane =
      GlCoord{0.0f, 1.0f, 0.0f, 0.0f};
  GlTextureEnv *env = tx->env;
  if (env == nullptr) return;
  for (int32_t i = 0; i < gc->constants.numberOfTextureEnvs; ++i) env[i].mode = GL_MODULATE;
}

void __glFreeTextureState(GlContext *gc) {
  GlTextureMachine *tx = &gc->texture;
  // Named objects lose this context's bindings before the names go.
  for (int32_t i = 0; i < __GL_NUM_TEXTURE_TARGETS; ++i) {
    if (tx->bound[i] != nullptr && tx->bound[i] != tx->defaults[i]) {
      __glBindTextureObject(gc, i, tx->defaults[i]);
    }
    tx->bound[i] = nullptr;
    GlTextureObject *tex = tx->defaults[i];
    tx->defaults[i] = nullptr;
    if (tex == nullptr) continue;
    tex->refcount--;
    tex->free(gc, tex);
  }
  tx->current = nullptr;
  tx->active = 0;
  if (tx->shared != nullptr) __glNamesReleaseArray(gc, tx->shared);
  tx->shared = nullptr;
  if (tx->manager != nullptr && tx->manager->release != nullptr) tx->manager->release(gc);
  tx->manager = nullptr;
  gc->imports.free(gc, tx->env);
  tx->env = nullptr;
}

void __glDisposeTexObj(GlContext *gc, void *texobj) {
  GlTextureObject *tex = static_cast<GlTextureObject *>(texobj);
  // Objects are shared between contexts on other threads: the count
  // changes under the names lock, wherever the release comes from.
  __glNamesEnterLock();
  tex->refcount--;
  __GL_ASSERT(tex->refcount >= 0, "texobj->refcount >= 0", "s_texobj");
  if (tex->refcount == 0 && tex->free != nullptr) tex->free(gc, tex);
  __glNamesLeaveLock();
}

void __glShareTextureObjects(GlContext *gc, GlContext *share) {
  GlNamesArray *theirs = share->texture.shared;
  if (theirs == nullptr || theirs == gc->texture.shared) return;
  // The reference to the new array first, then the old one goes.
  __glNamesAddRef(gc, theirs);
  if (gc->texture.shared != nullptr) __glNamesReleaseArray(gc, gc->texture.shared);
  gc->texture.shared = theirs;
}
