#include "dlist/dl_image.h"

#include <string.h>

#include "core/s_error.h"
#include "dlist/dl_error_ops.h"
#include "pixels/px_enums.h"
#include "pixels/px_pack.h"
#include "pixels/px_unpack.h"

namespace {

bool IsColorFormat(GLenum format) {
  return (format >= GL_RED && format <= GL_LUMINANCE_ALPHA) || format == GL_ABGR_EXT ||
         format == GL_BGR_EXT || format == GL_BGRA_EXT;
}

bool IsPackedType(GLenum type) {
  return type >= GL_UNSIGNED_BYTE_3_3_2_EXT && type <= GL_UNSIGNED_INT_10_10_10_2_EXT;
}

// The error the type raises with an accepted format, or 0.
GLenum TypeError(GLenum format, GLenum type, bool index) {
  if (type >= GL_BYTE && type <= GL_FLOAT) return 0;
  switch (type) {
    case GL_BITMAP:
      return index ? 0 : GL_INVALID_ENUM;
    case GL_UNSIGNED_BYTE_3_3_2_EXT:
      return format == GL_RGB || format == GL_BGR_EXT ? 0 : GL_INVALID_OPERATION;
    case GL_UNSIGNED_SHORT_4_4_4_4_EXT:
    case GL_UNSIGNED_SHORT_5_5_5_1_EXT:
    case GL_UNSIGNED_INT_8_8_8_8_EXT:
    case GL_UNSIGNED_INT_10_10_10_2_EXT:
      return format == GL_RGBA || format == GL_ABGR_EXT || format == GL_BGRA_EXT
                 ? 0
                 : GL_INVALID_OPERATION;
    default:
      return GL_INVALID_ENUM;
  }
}

// What the image is packed as: a packed type's pixels as whole elements of
// its width, so that they are copied (and byte-swapped) as units.
void PackingOf(const DlImage &image, GLenum *format, GLenum *type) {
  *format = image.format;
  *type = image.type;
  if (!IsPackedType(image.type)) return;
  *format = GL_LUMINANCE;
  switch (__glBytesPerElement(image.type)) {
    case 1: *type = GL_UNSIGNED_BYTE; break;
    case 2: *type = GL_UNSIGNED_SHORT; break;
    default: *type = GL_UNSIGNED_INT; break;
  }
}

int64_t PackedSize(const DlImage &image) {
  GLenum format, type;
  PackingOf(image, &format, &type);
  return __glImageSize(image.width, image.height, format, type);
}

}  // namespace

bool __glDlistImageFormatOk(GlContext *gc, GLenum format, GLenum type, bool texture) {
  const bool index = format == GL_COLOR_INDEX || (!texture && format == GL_STENCIL_INDEX);
  const bool accepted =
      index || IsColorFormat(format) || (!texture && format == GL_DEPTH_COMPONENT);
  const GLenum error = accepted ? TypeError(format, type, index) : GLenum(GL_INVALID_ENUM);
  if (error == GL_INVALID_OPERATION)
    __glSetError(error);
  else if (error != 0)
    __gllc_Error(gc, error);
  return error == 0;
}

int64_t __glDlistImageSize(const DlImage &image) {
  const int64_t size = PackedSize(image);
  return size > INT64_MAX - 3 ? size : (size + 3) & ~int64_t(3);
}

bool __glDlistImageBytes(const DlImage &image, uint32_t head, uint32_t *bytes) {
  // In 64 bits: near the top a width x height product would wrap into a
  // small op that the packing then overruns.
  const int64_t rounded = __glDlistImageSize(image);
  if (!__glImageSizeFits(rounded > INT64_MAX - head ? rounded : rounded + head)) return false;
  *bytes = uint32_t(rounded);
  return true;
}

bool __glDlistPackImage(GlContext *gc, const DlImage &image, GLubyte *dest, uint32_t bytes) {
  const uint32_t size = uint32_t(PackedSize(image));
  if (image.pixels == nullptr || size == 0) {
    memset(dest, 0, bytes);
    return true;
  }
  GLenum format, type;
  PackingOf(image, &format, &type);
  if (!__glFillImage(gc, image.width, image.height, format, type, image.pixels, dest))
    return false;
  memset(dest + size, 0, bytes - size);
  return true;
}
