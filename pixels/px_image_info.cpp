// Set-up of the records the image paths run: client images on either side,
// a frame-buffer source, and the float images of texture internal formats.
#include "core/context.h"
#include "core/gl_assert.h"
#include "pixels/px_draw_pixels.h"
#include "pixels/px_enums.h"
#include "pixels/px_image_pack.h"
#include "pixels/px_image_paths.h"
#include "pixels/px_read_pixels.h"
#include "pixels/px_span.h"

namespace {

// A memory image moves unzoomed from column 0.
void SetSize(GlPixelSpanInfo *info, GLint width, GLint height, GLint depth) {
  info->x = 0.0f;
  info->zoomx = 1.0f;
  info->width = width;
  info->height = height;
  info->spanWidth = width;
  info->depth = depth;
}

}  // namespace

void __glInitMemUnpack(GlContext *gc, GlPixelSpanInfo *info, GLint width, GLint height,
                       GLint depth, GLenum format, GLenum type, const void *pixels,
                       GLbool8 packed) {
  SetSize(info, width, height, depth);
  info->srcFormat = format;
  info->srcType = type;
  info->srcImage = pixels;
  __glLoadUnpackModes(gc, info, packed);
}

void __glInitMemPack(GlContext *gc, GlPixelSpanInfo *info, GLint width, GLint height,
                     GLint depth, GLenum format, GLenum type, void *pixels) {
  SetSize(info, width, height, depth);
  info->dstFormat = format;
  info->dstType = type;
  info->dstImage = pixels;
  __glLoadPackModes(gc, info);
}

void __glInitReadImageSrcInfo(GlContext *gc, GlPixelSpanInfo *info, GLint x, GLint y,
                              GLint width, GLint height) {
  __glSetReadPosition(gc, info, x, y);
  __glSetFrameBufferSource(gc, info);
  SetSize(info, width, height, info->depth);
  info->srcAlignment = 1;
  info->srcSkipPixels = 0;
  info->srcSkipLines = 0;
  info->srcLsbFirst = 0;
  info->srcLineLength = width;
}

GLenum __glMemGetFormat(GLenum internalFormat) {
  switch (internalFormat) {
    case GL_ALPHA:
      return GL_ALPHA;
    case GL_RGB:
      return GL_RGB;
    case GL_RGBA:
      return GL_RGBA;
    case GL_LUMINANCE:
    case GL_INTENSITY:
      return GL_RED;
    case GL_LUMINANCE_ALPHA:
      return __GL_RED_ALPHA;
    default:
      __GL_ASSERT(false, "0", "px_paths");
  }
}

void __glInitMemGet(GlContext *, GlPixelSpanInfo *info, GLint width, GLint,
                    GLenum internalFormat, const void *image) {
  info->srcImage = image;
  info->srcSkipPixels = 0;
  info->srcSkipLines = 0;
  info->srcSwapBytes = 0;
  info->srcLsbFirst = 1;
  info->srcLineLength = width;
  info->dim = 0;
  info->srcAlignment = 4;
  info->srcType = GL_FLOAT;
  info->srcFormat = __glMemGetFormat(internalFormat);
}
