// Bitmaps from one client layout to another, through a packed copy.
#include "pixels/px_copy_image.h"

#include <stdint.h>

#include "core/context.h"
#include "core/s_error.h"
#include "pixels/px_pack.h"
#include "pixels/px_span.h"

void __glGenericPickCopyImage(GlContext *gc, GlPixelSpanInfo *info, GLbool8) {
  if (info->srcType != GL_BITMAP || info->dstType != GL_BITMAP) return;
  if (info->width <= 0 || info->height <= 0) return;
  const int64_t bytes = __glImageSize(info->width, info->height, GL_COLOR_INDEX, GL_BITMAP);
  if (!__glImageSizeFits(bytes)) return;
  GLubyte *packed = static_cast<GLubyte *>(gc->imports.malloc(gc, size_t(bytes)));
  if (packed == nullptr) {
    __glSetError(GL_OUT_OF_MEMORY);
    return;
  }
  const GlPixelStoreModes src = {GLboolean(info->srcSwapBytes), GLboolean(info->srcLsbFirst),
                                 info->srcLineLength,           info->srcSkipLines,
                                 info->srcSkipPixels,           info->srcAlignment};
  const GlPixelStoreModes dst = {GLboolean(info->dstSwapBytes), GLboolean(info->dstLsbFirst),
                                 info->dstLineLength,           info->dstSkipLines,
                                 info->dstSkipPixels,           info->dstAlignment};
  if (__glFillImageWithModes(&src, info->width, info->height, 1, GL_COLOR_INDEX, GL_BITMAP,
                             info->srcImage, packed))
    __glPackBitmap(&dst, info->width, info->height, packed, static_cast<GLubyte *>(info->dstImage));
  gc->imports.free(gc, packed);
}
