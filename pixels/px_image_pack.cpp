// Set-up of the span records that copy images into client memory.
#include "pixels/px_image_pack.h"

#include "core/context.h"
#include "pixels/px_image_paths.h"
#include "pixels/px_span.h"

void __glLoadPackModes(GlContext *gc, GlPixelSpanInfo *info) {
  const GlPixelStoreModes &m = gc->pixel.packModes;
  info->dstLineLength = m.rowLength > 0 ? m.rowLength : info->width;
  info->dstAlignment = m.alignment;
  info->dstSkipPixels = m.skipPixels;
  info->dstSkipLines = m.skipRows;
  info->dstLsbFirst = m.lsbFirst;
  info->dstSwapBytes = m.swapBytes;
}

void __glInitImagePack(GlContext *gc, GlPixelSpanInfo *info, GLint width, GLint height,
                       GLenum format, GLenum type, void *buffer) {
  info->zoomx = 1.0f;
  info->width = width;
  info->height = height;
  info->depth = 1;
  info->srcLineLength = width;
  info->srcAlignment = 4;
  info->srcSkipPixels = 0;
  info->srcSkipLines = 0;
  info->dstFormat = format;
  info->dstType = type;
  info->dstImage = buffer;
  __glLoadPackModes(gc, info);
}

void __glInitTexDestPack(GlContext *gc, GlPixelSpanInfo *info, GLint width, GLint height,
                         GLint depth, GLenum format, GLenum type, void *pixels) {
  __glInitMemPack(gc, info, width, height, depth, format, type, pixels);
}
