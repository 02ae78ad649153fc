// glTexImage and glTexSubImage, immediate and as display lists run them:
// the level defined by the texture's manager, the client image moved into
// it through a span chain, the device told, and the pickers marked.
#include <string.h>

#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "pixels/px_packer.h"
#include "pixels/px_span.h"
#include "pixels/px_tex_image.h"
#include "pixels/px_texture.h"
#include "pixels/px_texture_cook.h"
#include "pixels/px_unpack.h"

namespace {

// Interior sizes of a command: a 1D image is one row, its level 2 border + 1.
struct Image {
  GLint width, height;
  GLenum format, type;
  const void *pixels;
  GLbool8 packed;
};

// Runs the prepared record into the level through the texture's manager; a
// refused layout has recorded its error and moves nothing.
void Store(GlContext *gc, GlPixelSpanInfo *info, GlTextureObject *tex, GLint level) {
  if (!__glInitUnpacker(gc, info) || !__glInitPacker(gc, info)) return;
  tex->copyTexImage(gc, info, tex, level);
}

void TexImage(GlContext *gc, GlTextureObject *tex, GLint level, GLint internalFormat,
              GLint border, const Image &image) {
  // Another context has it bound too: its texels are not ours to replace.
  if (tex->refcount > 2) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  const GLint thickness = 2 * border + 1;
  const GLint levelHeight = tex->dim == 1 ? thickness : image.height;
  uint8_t *texels = tex->createLevel(gc, tex, level, GLenum(internalFormat), image.width,
                                     levelHeight, thickness, border, tex->dim);
  if (image.pixels != nullptr && texels != nullptr) {
    GlPixelSpanInfo info;
    memset(&info, 0, sizeof info);
    __glInitTexSourceUnpack(gc, &info, image.width, tex->dim == 1 ? 1 : image.height, 1,
                            image.format, image.type, image.pixels, image.packed);
    __glInitTexImageStore(gc, &info, tex, level);
    Store(gc, &info, tex, level);
  }
  tex->removeResident(gc, tex);
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

// A null image replaces nothing.
void TexSubImage(GlContext *gc, GlTextureObject *tex, GLint level, GLint xoffset, GLint yoffset,
                 const Image &image) {
  if (image.pixels == nullptr) return;
  GlPixelSpanInfo info;
  memset(&info, 0, sizeof info);
  __glInitTexSourceUnpack(gc, &info, image.width, image.height, 1, image.format, image.type,
                          image.pixels, image.packed);
  __glInitTexSubImageStore(gc, &info, tex, level, xoffset, yoffset, 0);
  Store(gc, &info, tex, level);
  GlTextureLevel *l = tex->levels[level];
  // The cooked copy shows the texels just replaced (a 1D level's are its
  // border row).
  if (l->auxImage != nullptr)
    __glCookSubTexture(gc, l, xoffset, yoffset, image.width, image.height);
  tex->removeResident(gc, tex);
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

// The context the texture commands act on: refused inside glBegin/glEnd,
// validated first when validation is pending. `gc` is the caller's (the
// list forms are handed it).
bool Ready(GlContext *gc) {
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return false;
  }
  __glValidateIfPending(gc);
  return true;
}

void TexImage1D(GlContext *gc, GLenum target, GLint level, GLint internalFormat, GLsizei width,
                GLint border, GLenum format, GLenum type, const GLvoid *pixels, GLbool8 packed) {
  if (!Ready(gc)) return;
  GlTextureObject *tex =
      __glCheckTexImage1DArgs(gc, target, level, internalFormat, width, border, format, type);
  if (tex != nullptr)
    TexImage(gc, tex, level, internalFormat, border, {width, 1, format, type, pixels, packed});
}

void TexImage2D(GlContext *gc, GLenum target, GLint level, GLint internalFormat, GLsizei width,
                GLsizei height, GLint border, GLenum format, GLenum type, const GLvoid *pixels,
                GLbool8 packed) {
  if (!Ready(gc)) return;
  GlTextureObject *tex = __glCheckTexImage2DArgs(gc, target, level, internalFormat, width,
                                                 height, border, format, type);
  if (tex != nullptr)
    TexImage(gc, tex, level, internalFormat, border,
             {width, height, format, type, pixels, packed});
}

void TexSubImage1D(GlContext *gc, GLenum target, GLint level, GLint xoffset, GLsizei width,
                   GLenum format, GLenum type, const GLvoid *pixels, GLbool8 packed) {
  if (!Ready(gc)) return;
  GlTextureObject *tex =
      __glCheckTexSubImage1DArgs(gc, target, level, xoffset, width, format, type);
  if (tex != nullptr)
    TexSubImage(gc, tex, level, xoffset, 0, {width, 1, format, type, pixels, packed});
}

void TexSubImage2D(GlContext *gc, GLenum target, GLint level, GLint xoffset, GLint yoffset,
                   GLsizei width, GLsizei height, GLenum format, GLenum type,
                   const GLvoid *pixels, GLbool8 packed) {
  if (!Ready(gc)) return;
  GlTextureObject *tex = __glCheckTexSubImage2DArgs(gc, target, level, xoffset, yoffset, width,
                                                    height, format, type);
  if (tex != nullptr)
    TexSubImage(gc, tex, level, xoffset, yoffset, {width, height, format, type, pixels, packed});
}

}  // namespace

void GLENTRY __glim_TexImage1D(GLenum target, GLint level, GLint internalformat, GLsizei width,
                               GLint border, GLenum format, GLenum type, const GLvoid *pixels) {
  TexImage1D(__glGetTLSCXValue(), target, level, internalformat, width, border, format, type,
             pixels, 0);
}

void GLENTRY __glim_TexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width,
                               GLsizei height, GLint border, GLenum format, GLenum type,
                               const GLvoid *pixels) {
  TexImage2D(__glGetTLSCXValue(), target, level, internalformat, width, height, border, format,
             type, pixels, 0);
}

void GLENTRY __glim_TexSubImage1D(GLenum target, GLint level, GLint xoffset, GLsizei width,
                                  GLenum format, GLenum type, const GLvoid *pixels) {
  TexSubImage1D(__glGetTLSCXValue(), target, level, xoffset, width, format, type, pixels, 0);
}

void GLENTRY __glim_TexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset,
                                  GLsizei width, GLsizei height, GLenum format, GLenum type,
                                  const GLvoid *pixels) {
  TexSubImage2D(__glGetTLSCXValue(), target, level, xoffset, yoffset, width, height, format,
                type, pixels, 0);
}

void __gllei_TexImage1D(GlContext *gc, GLenum target, GLint level, GLint internalFormat,
                        GLsizei width, GLint border, GLenum format, GLenum type,
                        const GLvoid *pixels) {
  TexImage1D(gc, target, level, internalFormat, width, border, format, type, pixels, 1);
}

void __gllei_TexImage2D(GlContext *gc, GLenum target, GLint level, GLint internalFormat,
                        GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type,
                        const GLvoid *pixels) {
  TexImage2D(gc, target, level, internalFormat, width, height, border, format, type, pixels, 1);
}

void __gllei_TexSubImage1D(GlContext *gc, GLenum target, GLint level, GLint xoffset,
                           GLsizei width, GLenum format, GLenum type, const GLvoid *pixels) {
  TexSubImage1D(gc, target, level, xoffset, width, format, type, pixels, 1);
}

void __gllei_TexSubImage2D(GlContext *gc, GLenum target, GLint level, GLint xoffset,
                           GLint yoffset, GLsizei width, GLsizei height, GLenum format,
                           GLenum type, const GLvoid *pixels) {
  TexSubImage2D(gc, target, level, xoffset, yoffset, width, height, format, type, pixels, 1);
}
