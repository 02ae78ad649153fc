// The span records of texture images: a client image as the source, and a
// level, whole or from an offset, as the destination or the source.
#include "core/context.h"
#include "pixels/px_image_paths.h"
#include "pixels/px_span.h"
#include "pixels/px_tex_image.h"
#include "pixels/px_texformat.h"
#include "pixels/px_texture.h"

namespace {

// The fields of one block of the record, so that a level can be described
// on either side the same way.
template <typename Image>
struct Block {
  Image GlPixelSpanInfo::*image;
  GLenum GlPixelSpanInfo::*format, GlPixelSpanInfo::*type;
  int32_t GlPixelSpanInfo::*skipPixels, GlPixelSpanInfo::*skipLines,
      GlPixelSpanInfo::*lineLength, GlPixelSpanInfo::*alignment;
  uint32_t GlPixelSpanInfo::*swapBytes, GlPixelSpanInfo::*lsbFirst;
};

constexpr Block<void *> kDestination = {
    &GlPixelSpanInfo::dstImage,      &GlPixelSpanInfo::dstFormat,
    &GlPixelSpanInfo::dstType,       &GlPixelSpanInfo::dstSkipPixels,
    &GlPixelSpanInfo::dstSkipLines,  &GlPixelSpanInfo::dstLineLength,
    &GlPixelSpanInfo::dstAlignment,  &GlPixelSpanInfo::dstSwapBytes,
    &GlPixelSpanInfo::dstLsbFirst};
constexpr Block<const void *> kSource = {
    &GlPixelSpanInfo::srcImage,      &GlPixelSpanInfo::srcFormat,
    &GlPixelSpanInfo::srcType,       &GlPixelSpanInfo::srcSkipPixels,
    &GlPixelSpanInfo::srcSkipLines,  &GlPixelSpanInfo::srcLineLength,
    &GlPixelSpanInfo::srcAlignment,  &GlPixelSpanInfo::srcSwapBytes,
    &GlPixelSpanInfo::srcLsbFirst};

// Rows of the level's full width, border included; a 1D level keeps its
// texels in the row past the border.
template <typename Image>
void DescribeLevel(GlPixelSpanInfo *info, const Block<Image> &b, const GlTextureObject *tex,
                   GLint level) {
  const GlTextureLevel *l = tex->levels[level];
  info->*b.image = l->image;
  info->*b.skipPixels = 0;
  info->*b.skipLines = tex->dim == 1 ? l->border : 0;
  info->*b.swapBytes = 0;
  info->*b.lsbFirst = 1;
  info->*b.lineLength = l->width;
  info->dim = tex->dim;
  // An empty level has no format; nothing reads it then.
  if (l->texFormat != nullptr) {
    info->*b.format = l->texFormat->storageFormat;
    info->*b.type = l->texFormat->storageType;
    info->*b.alignment = l->texFormat->rowAlignment;
  }
}

}  // namespace

void __glInitTexSourceUnpack(GlContext *gc, GlPixelSpanInfo *info, GLint width, GLint height,
                             GLint depth, GLenum format, GLenum type, const void *image,
                             GLbool8 packed) {
  __glInitMemUnpack(gc, info, width, height, depth, format, type, image, packed);
}

void __glInitTexImageStore(GlContext *, GlPixelSpanInfo *info, GlTextureObject *tex,
                           GLint level) {
  DescribeLevel(info, kDestination, tex, level);
}

void __glInitTexSubImageStore(GlContext *gc, GlPixelSpanInfo *info, GlTextureObject *tex,
                              GLint level, GLint xoffset, GLint yoffset, GLint) {
  __glInitTexImageStore(gc, info, tex, level);
  // Offsets count from the interior: -border is the first texel.
  const int32_t border = tex->levels[level]->border;
  info->dstSkipPixels = border + xoffset;
  info->dstSkipLines = border + yoffset;
}

void __glInitTexImageGet(GlContext *, GlPixelSpanInfo *info, GlTextureObject *tex, GLint level) {
  DescribeLevel(info, kSource, tex, level);
}
