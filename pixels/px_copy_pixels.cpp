// glCopyPixels: the record set up as a draw from the raster position and a
// read from the given corner, the clip of the source to the drawable and of
// the zoomed destination to the clip box, the overlap test, and the chain
// run between the locks of every buffer drawn and read.
#include "pixels/px_copy_pixels.h"

#include "core/context.h"
#include "core/drawable.h"
#include "pixels/px_draw_pixels.h"
#include "pixels/px_read_pixels.h"
#include "pixels/px_span_procs.h"
#include "raster/s_buffers.h"

void __glInitCopyPixelsInfo(GlContext *gc, GlPixelSpanInfo *info, GLint x, GLint y,
                            GLsizei width, GLsizei height, GLenum format) {
  // Draw position, depth and zoom as a draw sets them.
  __glInitDrawPixelsInfo(gc, info, width, height, format, GL_FLOAT, nullptr);
  __glSetReadPosition(gc, info, x, y);
  __glSetFrameBufferSource(gc, info);
  info->dstFormat = format;
  info->dstType = GL_FLOAT;
  info->dstElementSize = 4;
  info->dstSwapBytes = 0;
  info->dstImage = nullptr;
  info->zeroFillAlpha = 0;
  info->applyClamp = 1;
  info->applyScale = 1;
  info->nonComponent = 0;
  info->dim = 2;
}

namespace {

// A half-open run of integers [lo, hi).
struct Run {
  int64_t lo, hi;
};
bool Meet(Run a, Run b) { return a.lo < b.hi && b.lo < a.hi; }

// first and `count` more along `step`, as a half-open run.
Run Along(int64_t first, int64_t count, int32_t step) {
  return step > 0 ? Run{first, first + count} : Run{first - count + 1, first + 1};
}

// Whether the clipped source and destination share a pixel: the columns
// and rows each covers, taken from the clips' integer results.
bool Overlaps(const GlContext *gc, const GlPixelSpanInfo *info) {
  const int32_t readStep = gc->constants.yInverted ? -1 : 1;
  const Run srcCols = {info->readWindowX, info->readWindowX + info->width};
  const Run srcRows = Along(info->readWindowY, info->height, readStep);
  const Run dstCols = Along(info->startCol, info->columns, info->coladd);
  const Run dstRows = Along(info->startRow, info->rows, info->rowadd);
  return Meet(srcCols, dstCols) && Meet(srcRows, dstRows);
}

}  // namespace

GLbool8 __glClipCopyPixels(GlContext *gc, GlPixelSpanInfo *info) {
  info->dstSkipPixels = 0;
  info->dstSkipLines = 0;
  if (!__glClipReadPixels(gc, info)) return 0;
  info->x += GLfloat(info->dstSkipPixels) * info->zoomx;
  info->y += GLfloat(info->dstSkipLines) * info->zoomy;
  info->srcSkipPixels = 0;
  info->srcSkipLines = 0;
  if (!__glClipDrawPixels(gc, info)) return 0;
  const int32_t readStep = gc->constants.yInverted ? -1 : 1;
  info->readWindowX += info->srcSkipPixels;
  info->readWindowY += int64_t(info->srcSkipLines) * readStep;
  info->readX = GLfloat(info->readWindowX);
  info->readY = GLfloat(info->readWindowY);
  info->overlap = Overlaps(gc, info) ? 1 : 0;
  // Without overlap one cursor takes every row; the overlapping loop plans
  // both cursors when it runs.
  info->forwardRows = info->height;
  info->backwardRows = 0;
  info->forwardDelay = info->backwardDelay = 0;
  info->forwardStartY = info->y;
  info->forwardStartRow = int32_t(info->readWindowY);
  info->backwardStartY = info->y;
  info->backwardStartRow = info->forwardStartRow;
  return 1;
}

uint32_t __glCopyPixelsLockMask(const GlContext *gc, GLenum format) {
  if (format == GL_STENCIL_INDEX) return __GL_STENCIL_BUFFER_MASK;
  uint32_t mask = gc->renderBufferMask | gc->drawBufferMask;
  // The source is read through its own lock: a buffer without an address
  // while unlocked cannot be read otherwise.
  mask |= format == GL_DEPTH_COMPONENT ? __GL_DEPTH_BUFFER_MASK : gc->readBufferMask;
  return mask;
}

void __glGenericPickCopyPixels(GlContext *gc, GlPixelSpanInfo *info) {
  GlSpanPickRequest request = __glSpanRequest(__GL_SPAN_PATH_COPY);
  info->numSpanMods = 0;
  PickSpanModifiers(gc, info, &request);
  info->spanReader = request.reader;
  info->spanRender = request.renderer;
  __glRunSpanLoop(gc, info,
                  {__glCopyPixels0, __glCopyPixels1, __glCopyPixels2, __glCopyPixelSpans});
}

namespace {

void CopyPixelsInWindow(GlContext *gc, GLint x, GLint y, GLsizei width, GLsizei height,
                        GLenum format) {
  GlPixelSpanInfo info;
  __glInitCopyPixelsInfo(gc, &info, x, y, width, height, format);
  if (!__glClipCopyPixels(gc, &info)) return;
  // Storage for wide rows (and for the overlapping loop) now: nothing may
  // fail once locked.
  GlSpanStorage storage;
  if (!__glReserveCopyStorage(gc, &info, &storage)) return;
  __glRunLocked(gc, &info, __glCopyPixelsLockMask(gc, format), __glGenericPickCopyPixels);
}

}  // namespace

void __glSlowPickCopyPixels(GlContext *gc, GLint x, GLint y, GLsizei width, GLsizei height,
                            GLenum format) {
  // The drawable's lock delivers a pending resize, which the clip must see.
  __GL_LOCK_DRAWABLE(gc, "px_copy_pixels");
  CopyPixelsInWindow(gc, x, y, width, height, format);
  __GL_UNLOCK_DRAWABLE(gc);
}
