// glCopyTexImage and glCopyTexSubImage: a rectangle of the read buffer
// moved into a texture level through the texture's manager, clipped to the
// drawable first.
#include <string.h>

#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "pixels/px_image_paths.h"
#include "pixels/px_packer.h"
#include "pixels/px_read_pixels.h"
#include "pixels/px_span.h"
#include "pixels/px_tex_image.h"
#include "pixels/px_texture.h"
#include "pixels/px_texture_cook.h"

namespace {

// The context the copies act on: refused inside glBegin/glEnd, validated
// when validation is pending, and with the hardware's drawing finished.
GlContext *ContextForCopy() {
  GlContext *gc = __glContextOutsideBegin();
  if (gc == nullptr) return nullptr;
  __glValidateIfPending(gc);
  gc->procs.waitIdle(gc);
  return gc;
}

bool Shared(GlTextureObject *tex) {
  if (tex->refcount <= 2) return false;
  __glSetError(GL_INVALID_OPERATION);
  return true;
}

// The whole level as the destination of a copy.
constexpr const GLint *kWholeLevel = nullptr;

// Reads the rectangle at drawable (x, y) into the level, whole or from the
// interior texel offset[0], offset[1] on. The clip comes before the packer: what it cuts at
// the left and bottom moves the destination's skips, from which the packer
// finds the first texel. False when nothing was read (the manager then was
// not told).
bool ReadIntoLevel(GlContext *gc, GlTextureObject *tex, GLint level, GLint x, GLint y,
                   GLsizei width, GLsizei height, const GLint *offset) {
  GlPixelSpanInfo info;
  memset(&info, 0, sizeof info);
  __glInitReadImageSrcInfo(gc, &info, x, y, width, height);
  if (offset == kWholeLevel)
    __glInitTexImageStore(gc, &info, tex, level);
  else
    __glInitTexSubImageStore(gc, &info, tex, level, offset[0], offset[1], 0);
  if (!__glClipReadPixels(gc, &info) || info.width == 0 || info.height == 0) return false;
  if (!__glInitPacker(gc, &info)) return false;
  tex->readTexImage(gc, &info, tex, level);
  return true;
}

void CopyTexImage(GLenum target, GLint level, GLenum internalFormat, GLint x, GLint y,
                  GLsizei width, GLsizei height, GLint border, GLint dim) {
  GlContext *gc = ContextForCopy();
  if (gc == nullptr) return;
  GlTextureObject *tex = __glCheckCopyTexImageArgs(gc, target, level, internalFormat, x, y,
                                                   width, height, border, dim);
  if (tex == nullptr || Shared(tex)) return;
  const GLint thickness = 2 * border + 1;
  uint8_t *texels = tex->createLevel(gc, tex, level, internalFormat, width,
                                     dim == 1 ? thickness : height, thickness, border, dim);
  // The level is new whatever is read: the device and the pickers hear of
  // it even when the rectangle lies wholly outside (its texels are then
  // undefined).
  const GLsizei rows = dim == 1 ? 1 : height;
  if (texels == nullptr || !ReadIntoLevel(gc, tex, level, x, y, width, rows, kWholeLevel))
    tex->removeResident(gc, tex);
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

void CopyTexSubImage(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLint x, GLint y,
                     GLsizei width, GLsizei height, GLint dim) {
  GlContext *gc = ContextForCopy();
  if (gc == nullptr) return;
  GlTextureObject *tex = __glCheckCopyTexSubImageArgs(gc, target, level, xoffset, yoffset, 0, x,
                                                      y, width, height, dim);
  if (tex == nullptr || Shared(tex)) return;
  const GLint offset[2] = {xoffset, yoffset};
  if (!ReadIntoLevel(gc, tex, level, x, y, width, height, offset)) return;
  // The cooked copy follows its level, as after glTexSubImage.
  GlTextureLevel *l = tex->levels[level];
  if (l->auxImage != nullptr) __glCookSubTexture(gc, l, xoffset, yoffset, width, height);
  // Only texels changed: no format the pickers chose by.
  __glDelayValidate(gc, __GL_DIRTY_LIGHTING);
}

}  // namespace

void GLENTRY __glim_CopyTexImage1D(GLenum target, GLint level, GLenum internalformat, GLint x,
                                   GLint y, GLsizei width, GLint border) {
  CopyTexImage(target, level, internalformat, x, y, width, 1, border, 1);
}

void GLENTRY __glim_CopyTexImage2D(GLenum target, GLint level, GLenum internalformat, GLint x,
                                   GLint y, GLsizei width, GLsizei height, GLint border) {
  CopyTexImage(target, level, internalformat, x, y, width, height, border, 2);
}

void GLENTRY __glim_CopyTexSubImage1D(GLenum target, GLint level, GLint xoffset, GLint x,
                                      GLint y, GLsizei width) {
  CopyTexSubImage(target, level, xoffset, 0, x, y, width, 1, 1);
}

void GLENTRY __glim_CopyTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset,
                                      GLint x, GLint y, GLsizei width, GLsizei height) {
  CopyTexSubImage(target, level, xoffset, yoffset, x, y, width, height, 2);
}
