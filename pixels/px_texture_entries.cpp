// The texture-object entries: names reserved, bound, deleted, prioritised
// and asked about.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_names.h"
#include "pixels/px_texture.h"

namespace {

// Null, after recording GL_INVALID_VALUE, for a negative count.
GlContext *ContextForCount(GLsizei n) {
  GlContext *gc = __glContextOutsideBegin();
  if (gc != nullptr && n < 0) {
    __glSetError(GL_INVALID_VALUE);
    return nullptr;
  }
  return gc;
}

int32_t TargetIndex(GLenum target) {
  if (target == GL_TEXTURE_1D) return __GL_TEXTURE_1D_INDEX;
  if (target == GL_TEXTURE_2D) return __GL_TEXTURE_2D_INDEX;
  return -1;
}

// A deleted name bound here leaves its targets to their default objects.
void UnbindDeleted(GlContext *gc, GLuint name) {
  GlTextureMachine *tx = &gc->texture;
  for (int32_t i = 0; i < 2; ++i) {
    GlTextureObject *tex = tx->bound[i];
    if (tex == nullptr || tex == tx->defaults[i] || tex->texobjs.name != name) continue;
    __glBindTextureObject(gc, i, tx->defaults[i]);
    __glDelayValidate(gc, __GL_DIRTY_GENERIC);
  }
}

GLfloat Clampf(GLfloat value) {
  if (!(value >= 0.0f)) return 0.0f;  // NaN too
  return value > 1.0f ? 1.0f : value;
}

}  // namespace

// Every level a filter reads has an image: level 0 alone without
// mipmapping, else the levels down to the first of 1 x 1.
GLbool8 IsTextureResident(GlContext *gc, GlTextureObject *tex) {
  bool levelZeroOnly = tex->minFilter == GL_NEAREST || tex->minFilter == GL_LINEAR;
  for (int32_t i = 0; i < gc->constants.maxMipMapLevel; ++i) {
    const GlTextureLevel *level = tex->levels[i];
    if (level->image == nullptr) return 0;
    if (levelZeroOnly || (level->width2 == 1 && level->height2 == 1)) return 1;
  }
  return 1;
}

void GLENTRY __glim_GenTextures(GLsizei n, GLuint *textures) {
  GlContext *gc = ContextForCount(n);
  if (gc == nullptr || n == 0 || textures == nullptr) return;
  __glNamesGenNames(gc, gc->texture.shared, n, textures);
}

void GLENTRY __glim_DeleteTextures(GLsizei n, const GLuint *textures) {
  GlContext *gc = ContextForCount(n);
  if (gc == nullptr || textures == nullptr) return;
  GlNamesArray *names = gc->texture.shared;
  // Ascending consecutive names go in one range; a zero ends a range.
  GLuint first = 0, count = 0;
  for (GLsizei i = 0; i < n; ++i) {
    GLuint name = textures[i];
    if (count != 0 && (name == 0 || name != first + count)) {
      __glNamesDeleteRange(gc, names, first, count);
      count = 0;
    }
    if (name == 0) continue;
    UnbindDeleted(gc, name);
    if (count == 0) first = name;
    count++;
  }
  if (count != 0) __glNamesDeleteRange(gc, names, first, count);
}

void GLENTRY __glim_BindTexture(GLenum target, GLuint texture) {
  GlContext *gc = __glContextOutsideBegin();
  if (gc == nullptr) return;
  __glValidateIfPending(gc);
  int32_t index = TargetIndex(target);
  if (index < 0) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glBindTexture(gc, index, texture);
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

void GLENTRY __glim_PrioritizeTextures(GLsizei n, const GLuint *textures,
                                       const GLclampf *priorities) {
  GlContext *gc = ContextForCount(n);
  if (gc == nullptr || textures == nullptr || priorities == nullptr) return;
  GlTextureMachine *tx = &gc->texture;
  for (GLsizei i = 0; i < n; ++i) {
    if (textures[i] == 0) continue;
    auto *tex = static_cast<GlTextureObject *>(__glNamesLockData(gc, tx->shared, textures[i]));
    if (tex == nullptr) continue;
    GLfloat priority = Clampf(priorities[i]);
    tex->texobjs.priority = priority;
    int32_t index = tex->targetIndex;
    if (index < 2 && tx->bound[index] == tex) tx->targets[index].texobjs.priority = priority;
    __glNamesUnlockData(gc, tx->shared, tex);
  }
}

GLboolean GLENTRY __glim_AreTexturesResident(GLsizei n, const GLuint *textures,
                                             GLboolean *residences) {
  GlContext *gc = ContextForCount(n);
  if (gc == nullptr || n == 0 || textures == nullptr || residences == nullptr) return GL_FALSE;
  GlNamesArray *names = gc->texture.shared;
  GLboolean all = GL_TRUE;
  for (GLsizei i = 0; i < n; ++i) {
    auto *tex = textures[i] == 0
                    ? nullptr
                    : static_cast<GlTextureObject *>(__glNamesLockData(gc, names, textures[i]));
    if (tex == nullptr) {
      __glSetError(GL_INVALID_VALUE);
      return GL_FALSE;
    }
    bool resident = __glIsTextureConsistent(gc, tex) && IsTextureResident(gc, tex);
    residences[i] = resident ? GL_TRUE : GL_FALSE;
    if (!resident) all = GL_FALSE;
    __glNamesUnlockData(gc, names, tex);
  }
  return all;
}

GLboolean GLENTRY __glim_IsTexture(GLuint texture) {
  GlContext *gc = __glContextOutsideBegin();
  if (gc == nullptr || texture == 0) return GL_FALSE;
  void *tex = __glNamesLockData(gc, gc->texture.shared, texture);
  if (tex == nullptr) return GL_FALSE;
  __glNamesUnlockData(gc, gc->texture.shared, tex);
  return GL_TRUE;
}
