// glReadPixels: the record from the read position and pack modes, the clip
// of the source rectangle to the drawable, and the chain run between the
// buffer locks.
#include "pixels/px_read_pixels.h"

#include <string.h>

#include "core/context.h"
#include "core/drawable.h"
#include "pixels/px_image_pack.h"
#include "pixels/px_packer.h"
#include "pixels/px_span_procs.h"
#include "raster/s_buffers.h"

void __glSetReadPosition(GlContext *gc, GlPixelSpanInfo *info, GLint x, GLint y) {
  const GlConstants &k = gc->constants;
  info->readWindowX = int64_t(k.viewportXAdjust) + x;
  info->readWindowY = k.yInverted ? int64_t(k.viewportYAdjust) + k.height - y - 1
                                  : int64_t(k.viewportYAdjust) + y;
  // Only a position the clip has kept is read; these are for callers that
  // never clip, and are exact for every position inside a drawable.
  info->readX = GLfloat(info->readWindowX);
  info->readY = GLfloat(info->readWindowY);
}

void __glSetFrameBufferSource(GlContext *gc, GlPixelSpanInfo *info) {
  info->srcFormat = gc->modes.rgbMode ? GL_RGBA : GL_COLOR_INDEX;
  info->srcType = GL_FLOAT;
  info->srcElementSize = 4;
  info->srcSwapBytes = 0;
  info->srcImage = nullptr;
  info->srcPackedData = 0;
}

void __glInitReadPixelsInfo(GlContext *gc, GlPixelSpanInfo *info, GLint x, GLint y,
                            GLsizei width, GLsizei height, GLenum format, GLenum type,
                            void *pixels) {
  memset(info, 0, sizeof *info);
  __glSetReadPosition(gc, info, x, y);
  info->width = width;
  info->height = height;
  info->spanWidth = width;
  info->dstFormat = format;
  info->dstType = type;
  info->dstImage = pixels;
  info->zoomx = 1.0f;
  info->x = 0.0f;
  __glLoadPackModes(gc, info);
  __glSetFrameBufferSource(gc, info);
  info->dim = 2;
}

namespace {

// Adds a cut to a skip; a skip past 2^31 - 1 stays there, which the packer
// refuses as reaching beyond any image.
void AddSkip(int32_t &skip, int64_t cut) {
  const int64_t sum = int64_t(skip) + cut;
  skip = sum > INT32_MAX ? INT32_MAX : int32_t(sum);
}

}  // namespace

GLbool8 __glClipReadPixels(GlContext *gc, GlPixelSpanInfo *info) {
  const GlConstants &k = gc->constants;
  const int64_t ox = k.viewportXAdjust, oy = k.viewportYAdjust, W = k.width, H = k.height;
  int64_t sx = info->readWindowX, sy = info->readWindowY;
  const int64_t width = info->width, height = info->height;
  int64_t w = width, h = height;
  if (sx < ox) {
    const int64_t d = ox - sx;
    if (w < d) return 0;
    w -= d;
    AddSkip(info->dstSkipPixels, d);
    sx = ox;
  }
  if (info->readWindowX + width > ox + W) {
    const int64_t d = info->readWindowX + width - (ox + W);
    if (d > w) return 0;
    w -= d;
  }
  if (!k.yInverted) {
    if (sy < oy) {
      const int64_t d = oy - sy;
      if (h < d) return 0;
      h -= d;
      AddSkip(info->dstSkipLines, d);
      sy = oy;
    }
    if (info->readWindowY + height > oy + H) {
      const int64_t d = info->readWindowY + height - (oy + H);
      if (d > h) return 0;
      h -= d;
    }
  } else {
    // Rows are read downwards from sy.
    if (sy >= oy + H) {
      const int64_t d = sy - (oy + H) + 1;
      if (h < d) return 0;
      h -= d;
      AddSkip(info->dstSkipLines, d);
      sy = oy + H - 1;
    }
    if (oy - 1 > info->readWindowY - height) {
      const int64_t d = oy - 1 - (info->readWindowY - height);
      if (d > h) return 0;
      h -= d;
    }
  }
  // A rectangle cut to nothing may start past the drawable: keep its
  // position at the edge, where the float is exact.
  sx = sx > ox + W ? ox + W : sx;
  sy = sy > oy + H ? oy + H : sy < oy - 1 ? oy - 1 : sy;
  info->readWindowX = sx;
  info->readWindowY = sy;
  info->readX = GLfloat(sx);
  info->readY = GLfloat(sy);
  info->width = int32_t(w);
  info->height = int32_t(h);
  info->spanWidth = int32_t(w);
  return 1;
}

uint32_t __glReadPixelsLockMask(const GlContext *gc, GLenum format) {
  if (format == GL_DEPTH_COMPONENT) return __GL_DEPTH_BUFFER_MASK;
  if (format == GL_STENCIL_INDEX) return __GL_STENCIL_BUFFER_MASK;
  return gc->readBufferMask;
}

void __glGenericPickReadPixels(GlContext *gc, GlPixelSpanInfo *info) {
  GlSpanPickRequest request = __glSpanRequest(__GL_SPAN_PATH_READ);
  info->numSpanMods = 0;
  PickSpanModifiers(gc, info, &request);
  info->spanReader = request.reader;
  __glRunSpanLoop(gc, info,
                  {__glReadPixels0, __glReadPixels1, __glReadPixels2, __glReadPixelSpans});
}

namespace {

void ReadPixelsInWindow(GlContext *gc, GLint x, GLint y, GLsizei width, GLsizei height,
                        GLenum format, GLenum type, void *pixels) {
  GlPixelSpanInfo info;
  __glInitReadPixelsInfo(gc, &info, x, y, width, height, format, type, pixels);
  if (!__glClipReadPixels(gc, &info)) return;
  if (info.width == 0 || info.height == 0) return;
  if (!__glInitPacker(gc, &info)) return;
  // Wide rows get their span storage now: nothing may fail once locked.
  GlSpanStorage storage;
  if (!__glReserveSpanStorage(gc, &info, &storage, info.width)) return;
  __glRunLocked(gc, &info, __glReadPixelsLockMask(gc, format), __glGenericPickReadPixels);
}

}  // namespace

void __glSlowPickReadPixels(GlContext *gc, GLint x, GLint y, GLsizei width, GLsizei height,
                            GLenum format, GLenum type, void *pixels) {
  // The drawable's lock delivers a pending resize, which the clip must see.
  __GL_LOCK_DRAWABLE(gc, "px_read_pixels");
  ReadPixelsInWindow(gc, x, y, width, height, format, type, pixels);
  __GL_UNLOCK_DRAWABLE(gc);
}
