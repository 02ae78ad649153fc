// glGetTexImage and glGetPolygonStipple: images copied into client memory
// through a span record with the pack modes.
#include <string.h>

#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "pixels/px_args.h"
#include "pixels/px_image_pack.h"
#include "pixels/px_image_paths.h"
#include "pixels/px_packer.h"
#include "pixels/px_span.h"
#include "pixels/px_tex_image.h"
#include "pixels/px_texture.h"
#include "pixels/px_unpack.h"

void GLENTRY __glim_GetTexImage(GLenum target, GLint level, GLenum format, GLenum type,
                                GLvoid *pixels) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  GlTextureObject *tex = __glLookUpTexture(gc, target);
  if (tex == nullptr || target == GL_PROXY_TEXTURE_1D || target == GL_PROXY_TEXTURE_2D) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (level < 0 || level >= gc->constants.maxMipMapLevel) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  if (!__glCheckGetTexImageArgs(gc, format, type)) return;
  const GlTextureLevel *l = tex->levels ? tex->levels[level] : nullptr;
  if (l == nullptr) return;
  const GLint width = l->width;
  const GLint height = tex->dim == 1 ? l->height - 2 * l->border : l->height;
  if (width == 0 || height == 0) return;

  GlPixelSpanInfo info;
  memset(&info, 0, sizeof info);
  __glInitTexDestPack(gc, &info, width, height, 1, format, type, pixels);
  __glInitTexImageGet(gc, &info, tex, level);
  // A refused layout has recorded its error: move nothing.
  if (!__glInitPacker(gc, &info) || !__glInitUnpacker(gc, &info)) return;
  gc->procs.pickGetTexture(gc, tex, &info, 1);
}

void GLENTRY __glim_GetPolygonStipple(GLubyte *mask) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  GlPixelSpanInfo info;
  memset(&info, 0, sizeof info);
  // The stored pattern: 32 rows of 4 bytes, first pixel most significant.
  info.srcImage = gc->state.polygonStipple.stipple;
  info.srcFormat = GL_COLOR_INDEX;
  info.srcType = GL_BITMAP;
  __glInitImagePack(gc, &info, 32, 32, GL_COLOR_INDEX, GL_BITMAP, mask);
  if (!__glInitPacker(gc, &info) || !__glInitUnpacker(gc, &info)) return;
  gc->procs.pickCopyImage(gc, &info, 1);
}
