// The generic manager's texture objects: made with every level empty, made
// resident by being in memory, and freed with their images.
#include "core/context.h"
#include "core/gl_assert.h"
#include "pixels/px_texformat.h"
#include "pixels/px_texture.h"
#include "pixels/px_texture_manager.h"

namespace {

const GlTextureParams kDefaultParams = {
    GL_REPEAT, GL_REPEAT, GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR, {0.0f, 0.0f, 0.0f, 0.0f}};

}  // namespace

void __glEmptyTextureLevel(GlTextureLevel *level) {
  GLubyte *image = level->image, *aux = level->auxImage;
  *level = GlTextureLevel{};
  level->image = image;
  level->auxImage = aux;
  level->requestedFormat = 1;
  level->extract = __glExtractTexelNone;
}

GlTextureObject *__glAllocTextureObject(GlContext *gc, GLuint name, int32_t targetIndex,
                                        size_t objectSize, size_t levelSize) {
  int32_t count = gc->constants.maxMipMapLevel;
  if (targetIndex < 0 || targetIndex >= __GL_NUM_TEXTURE_TARGETS || count < 1) return nullptr;
  auto *tex = static_cast<GlTextureObject *>(gc->imports.calloc(gc, 1, objectSize));
  if (tex == nullptr) return nullptr;
  tex->levels =
      static_cast<GlTextureLevel **>(gc->imports.calloc(gc, size_t(count), sizeof *tex->levels));
  auto *block = static_cast<uint8_t *>(gc->imports.calloc(gc, size_t(count), levelSize));
  if (tex->levels == nullptr || block == nullptr) {
    gc->imports.free(gc, block);
    gc->imports.free(gc, tex->levels);
    gc->imports.free(gc, tex);
    return nullptr;
  }
  for (int32_t i = 0; i < count; ++i) {
    tex->levels[i] = reinterpret_cast<GlTextureLevel *>(block + size_t(i) * levelSize);
    __glEmptyTextureLevel(tex->levels[i]);
  }
  tex->refcount = 1;
  tex->owner = gc;
  tex->targetIndex = targetIndex;
  tex->free = __glFreeTexture;
  tex->makeResident = __glTextureMakeResident;
  tex->removeResident = __glTextureRemoveResident;
  tex->copyTexImage = __glCopyTexImage;
  tex->readTexImage = __glReadTexImage;
  tex->deleteLevel = __glTextureDeleteLevel;
  tex->texobjs = {name, 1.0f};
  __glLoadTextureParams(tex, &kDefaultParams);
  tex->colorTable.internalFormat = GL_RGBA;
  bool proxy = targetIndex >= __GL_PROXY_TEXTURE_1D_INDEX;
  bool oneD = targetIndex == __GL_TEXTURE_1D_INDEX || targetIndex == __GL_PROXY_TEXTURE_1D_INDEX;
  tex->dim = oneD ? 1 : 2;
  tex->createLevel = proxy ? __glTextureCreateProxyLevel : __glTextureCreateLevel;
  if (!proxy) tex->colorTable.target = oneD ? GL_TEXTURE_1D : GL_TEXTURE_2D;
  return tex;
}

GlTextureObject *__glCreateTexture(GlContext *gc, GLuint name, int32_t targetIndex) {
  return __glAllocTextureObject(gc, name, targetIndex, sizeof(GlTextureObject),
                                sizeof(GlTextureLevel));
}

void __glFreeTextureRecords(GlContext *gc, GlTextureObject *tex) {
  for (int32_t i = 0; i < gc->constants.maxMipMapLevel; ++i) tex->deleteLevel(gc, tex, i);
  // The colour table's entries belong to the object too.
  gc->imports.free(gc, tex->colorTable.table);
  // The level records are one block, the first entry its start.
  gc->imports.free(gc, tex->levels[0]);
  gc->imports.free(gc, tex->levels);
  gc->imports.free(gc, tex);
}

void __glFreeTexture(GlContext *gc, GlTextureObject *tex) {
  __GL_ASSERT(tex->refcount == 0, "tex->refcount == 0", "s_texmgr");
  __glFreeTextureRecords(gc, tex);
}

// Levels in memory are always usable; the resident word stays 0 since
// there is no device copy to keep.
GLbool8 __glTextureMakeResident(GlContext *gc, GlTextureObject *tex, uint32_t flag) { return 1; }

void __glTextureRemoveResident(GlContext *gc, GlTextureObject *tex) {}
