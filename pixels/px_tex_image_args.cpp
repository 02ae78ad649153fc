// The argument checks of the texture image commands, each in its fixed
// order: the first failure records its error and ends the check.
#include "core/context.h"
#include "core/s_error.h"
#include "pixels/px_args.h"
#include "pixels/px_enums.h"
#include "pixels/px_tex_image.h"
#include "pixels/px_texformat.h"
#include "pixels/px_texture.h"

namespace {

GlTextureObject *Fail(GLenum error) {
  __glSetError(error);
  return nullptr;
}

bool IsProxy(const GlTextureObject *tex) {
  return tex->targetIndex == __GL_PROXY_TEXTURE_1D_INDEX ||
         tex->targetIndex == __GL_PROXY_TEXTURE_2D_INDEX;
}

bool LevelInRange(const GlContext *gc, GLint level) {
  return level >= 0 && level < gc->constants.maxMipMapLevel;
}

// The error an internal format raises with this client format and type.
GLenum InternalFormatError(GLint internalFormat, GLenum format, GLenum type) {
  const GLenum f = GLenum(internalFormat);
  if ((f >= 1 && f <= 4) || f == GL_ALPHA || f == GL_RGB || f == GL_RGBA || f == GL_LUMINANCE ||
      f == GL_LUMINANCE_ALPHA || f == GL_R3_G3_B2 || (f >= GL_ALPHA4 && f <= GL_INTENSITY16) ||
      (f >= GL_RGB4 && f <= GL_RGBA16)) {
    return GL_NO_ERROR;
  }
  if (f >= GL_COLOR_INDEX1_EXT && f <= GL_COLOR_INDEX16_EXT) {
    return format == GL_COLOR_INDEX && type >= GL_BYTE && type <= GL_UNSIGNED_INT
               ? GL_NO_ERROR
               : GLenum(GL_INVALID_VALUE);
  }
  return GL_INVALID_ENUM;
}

GlTextureObject *CheckTexImageArgs(GlContext *gc, GLenum target, GLint level,
                                   GLint internalFormat, GLint border, GLenum format,
                                   GLenum type, GLint dim) {
  GlTextureObject *tex = __glLookUpTexture(gc, target);
  if (tex == nullptr || tex->dim != dim) return Fail(GL_INVALID_ENUM);
  GLenum error = __glTexImageFormatError(format, type);
  if (error != GL_NO_ERROR) return Fail(error);
  if (!LevelInRange(gc, level)) return Fail(GL_INVALID_VALUE);
  error = InternalFormatError(internalFormat, format, type);
  if (error != GL_NO_ERROR) return Fail(error);
  if (border < 0 || border > 1) return Fail(GL_INVALID_VALUE);
  return tex;
}

// The interior, size - 2 border, must be 0 or a power of two. 64 bits: no
// size wraps.
bool IsLegalRange(GlContext *, GLsizei size, GLint border) {
  const int64_t interior = int64_t(size) - 2 * int64_t(border);
  if (interior >= 0 && (interior & (interior - 1)) == 0) return true;
  __glSetError(GL_INVALID_VALUE);
  return false;
}

GlTextureObject *CheckTexSubImageArgs(GlContext *gc, GLenum target, GLint level, GLenum format,
                                      GLenum type, GLint dim) {
  GlTextureObject *tex = __glLookUpTexture(gc, target);
  if (tex == nullptr || IsProxy(tex) || tex->dim != dim) return Fail(GL_INVALID_ENUM);
  const GLenum error = __glTexImageFormatError(format, type);
  if (error != GL_NO_ERROR) return Fail(error);
  if (!LevelInRange(gc, level)) return Fail(GL_INVALID_VALUE);
  return tex;
}

// From -border to levelSize - border along one axis. 64 bits: an offset
// near 2^31 must not wrap past the far edge.
bool CheckTexSubImageRange(GlContext *, const GlTextureLevel *level, GLint offset, GLsizei size,
                           GLint levelSize) {
  const int64_t border = level->border;
  if (size >= 0 && offset >= -border && int64_t(offset) + size <= levelSize - border) return true;
  __glSetError(GL_INVALID_VALUE);
  return false;
}

// The level a sub-image replaces texels of, or none after the error: an
// empty level has nothing to replace.
const GlTextureLevel *DefinedLevel(const GlTextureObject *tex, GLint level) {
  const GlTextureLevel *l = tex->levels[level];
  if (l->image != nullptr) return l;
  __glSetError(GL_INVALID_OPERATION);
  return nullptr;
}

}  // namespace

GlTextureObject *__glCheckTexImage1DArgs(GlContext *gc, GLenum target, GLint level,
                                         GLint internalFormat, GLsizei width, GLint border,
                                         GLenum format, GLenum type) {
  GlTextureObject *tex =
      CheckTexImageArgs(gc, target, level, internalFormat, border, format, type, 1);
  if (tex == nullptr || !IsLegalRange(gc, width, border)) return nullptr;
  return tex;
}

GlTextureObject *__glCheckTexImage2DArgs(GlContext *gc, GLenum target, GLint level,
                                         GLint internalFormat, GLsizei width, GLsizei height,
                                         GLint border, GLenum format, GLenum type) {
  GlTextureObject *tex =
      CheckTexImageArgs(gc, target, level, internalFormat, border, format, type, 2);
  if (tex == nullptr || !IsLegalRange(gc, width, border) || !IsLegalRange(gc, height, border))
    return nullptr;
  return tex;
}

GlTextureObject *__glCheckCopyTexImageArgs(GlContext *gc, GLenum target, GLint level,
                                           GLenum internalFormat, GLint, GLint, GLsizei width,
                                           GLsizei height, GLint border, GLint dim) {
  GlTextureObject *tex = CheckTexImageArgs(gc, target, level, GLint(internalFormat), border,
                                           GL_RGBA, GL_FLOAT, dim);
  if (tex == nullptr) return nullptr;
  if (IsProxy(tex) || (internalFormat >= 1 && internalFormat <= 4)) return Fail(GL_INVALID_ENUM);
  if (!IsLegalRange(gc, width, border)) return nullptr;
  if (dim == 2 && !IsLegalRange(gc, height, border)) return nullptr;
  return tex;
}

GlTextureObject *__glCheckTexSubImage1DArgs(GlContext *gc, GLenum target, GLint level,
                                            GLint xoffset, GLsizei width, GLenum format,
                                            GLenum type) {
  GlTextureObject *tex = CheckTexSubImageArgs(gc, target, level, format, type, 1);
  if (tex == nullptr) return nullptr;
  const GlTextureLevel *l = DefinedLevel(tex, level);
  if (l == nullptr || !CheckTexSubImageRange(gc, l, xoffset, width, l->width)) return nullptr;
  return tex;
}

GlTextureObject *__glCheckTexSubImage2DArgs(GlContext *gc, GLenum target, GLint level,
                                            GLint xoffset, GLint yoffset, GLsizei width,
                                            GLsizei height, GLenum format, GLenum type) {
  GlTextureObject *tex = CheckTexSubImageArgs(gc, target, level, format, type, 2);
  if (tex == nullptr) return nullptr;
  const GlTextureLevel *l = DefinedLevel(tex, level);
  if (l == nullptr || !CheckTexSubImageRange(gc, l, xoffset, width, l->width) ||
      !CheckTexSubImageRange(gc, l, yoffset, height, l->height)) {
    return nullptr;
  }
  return tex;
}

GlTextureObject *__glCheckCopyTexSubImageArgs(GlContext *gc, GLenum target, GLint level,
                                              GLint xoffset, GLint yoffset, GLint zoffset,
                                              GLint, GLint, GLsizei width, GLsizei height,
                                              GLint dim) {
  GlTextureObject *tex = CheckTexSubImageArgs(gc, target, level, GL_RGBA, GL_FLOAT, dim);
  if (tex == nullptr) return nullptr;
  const GlTextureLevel *l = DefinedLevel(tex, level);
  if (l == nullptr || !CheckTexSubImageRange(gc, l, xoffset, width, l->width) ||
      !CheckTexSubImageRange(gc, l, yoffset, height, l->height) ||
      !CheckTexSubImageRange(gc, l, zoffset, 1, l->depth)) {
    return nullptr;
  }
  return tex;
}
