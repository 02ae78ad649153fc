// glDrawPixels: the record from the raster position and modes, the clip of
// the zoomed rectangle to the clip box, and the chain run between the
// buffer locks.
#include "pixels/px_draw_pixels.h"

#include <string.h>

#include "core/context.h"
#include "core/drawable.h"
#include "core/gl_convert.h"
#include "pixels/px_span_procs.h"
#include "pixels/px_unpack.h"

namespace {

int32_t Trunc(GLfloat v) { return __glTruncateToInt(v); }

// Finite: a NaN or infinite zoom or position would make the run array's
// column counts meaningless.
bool Finite(GLfloat v) { return v - v == 0.0f; }

// One axis of the clip: pos and zoom of the image, its source count, and
// the clip box's first and last-plus-one pixel. Fills the first destination
// pixel, the count of destination pixels and the source pixels skipped;
// false when nothing is left. Every step is single precision.
struct Axis {
  GLfloat pos, zoom;
  int32_t count;
  int32_t start, end, pixels, skip;
};

bool ClipAxis(Axis &ax, int32_t lo, int32_t hi, GLfloat h, GLfloat a) {
  GLfloat low = GLfloat(lo) + h, high = GLfloat(hi) - a;
  const GLfloat far = GLfloat(ax.count) * ax.zoom + ax.pos;
  if (ax.zoom > 0.0f) {
    if (ax.pos > low) low = GLfloat(Trunc(ax.pos + a)) + h;
    const int32_t skip = Trunc((low - ax.pos) / ax.zoom);
    if (skip >= ax.count) return false;
    ax.start = Trunc(low);
    ax.pos = GLfloat(skip) * ax.zoom + ax.pos + a;
    if (far < high) high = GLfloat(Trunc(far + a)) - a;
    const int32_t cut = Trunc((far - high) / ax.zoom);
    if (cut >= ax.count - skip) return false;
    ax.count -= skip + cut;
    ax.skip = skip;
    ax.end = Trunc(high) + 1;
    ax.pixels = ax.end - ax.start;
  } else {
    if (ax.pos < high) high = GLfloat(Trunc(a + ax.pos)) - a;
    const int32_t skip = Trunc((high - ax.pos) / ax.zoom);
    if (skip >= ax.count) return false;
    ax.start = Trunc(high);
    ax.pos = GLfloat(skip) * ax.zoom + ax.pos + a - 1.0f;
    if (far > low) low = GLfloat(Trunc(a + far)) + h;
    const int32_t cut = Trunc((far - low) / ax.zoom);
    if (cut >= ax.count - skip) return false;
    ax.count -= skip + cut;
    ax.skip = skip;
    ax.end = Trunc(low) - 1;
    ax.pixels = ax.start - ax.end;
  }
  // An empty clip box leaves no destination pixel.
  return ax.pixels > 0;
}

}  // namespace

void __glInitDrawPixelsInfo(GlContext *gc, GlPixelSpanInfo *info, GLsizei width, GLsizei height,
                            GLenum format, GLenum type, const void *pixels) {
  memset(info, 0, sizeof *info);
  const GlVertex &rp = gc->state.current.rasterPos;
  const GlPixelTransferMode &tm = gc->pixel.transferMode;
  info->x = rp.window.x;
  info->y = rp.window.y;
  info->fragz = int32_t(__glTruncateToUint(rp.window.z * gc->constants.depthMax));
  info->zoomx = tm.zoomX;
  if (info->zoomx <= 0.0f) {
    info->coladd = -1;
    info->rendZoomx = info->zoomx <= -1.0f ? info->zoomx : -1.0f;
  } else {
    info->coladd = 1;
    info->rendZoomx = info->zoomx >= 1.0f ? info->zoomx : 1.0f;
  }
  if (gc->constants.yInverted) {
    info->zoomy = -tm.zoomY;
  } else {
    info->zoomy = tm.zoomY;
    info->y += gc->constants.viewportEpsilon;
  }
  info->rowadd = info->zoomy <= 0.0f ? -1 : 1;
  info->width = width;
  info->height = height;
  info->spanWidth = width;
  info->srcFormat = format;
  info->srcType = type;
  info->srcImage = pixels;
  info->dstFormat = format == GL_COLOR_INDEX && gc->modes.rgbMode ? GLenum(GL_RGBA) : format;
  info->dstType = GL_FLOAT;
  info->dstElementSize = 4;
  info->dstSwapBytes = 0;
  info->dstImage = nullptr;
  info->dim = 2;
}

void __glLoadUnpackModes(GlContext *gc, GlPixelSpanInfo *info, GLbool8 packed) {
  if (packed) {
    info->srcAlignment = 1;
    info->srcSwapBytes = 0;
    info->srcLsbFirst = 0;
    info->srcSkipPixels = 0;
    info->srcSkipLines = 0;
    info->srcLineLength = info->width;
    return;
  }
  const GlPixelStoreModes &m = gc->pixel.unpackModes;
  info->srcLineLength = m.rowLength < 1 ? info->width : m.rowLength;
  info->srcAlignment = m.alignment;
  info->srcSkipPixels = m.skipPixels;
  info->srcSkipLines = m.skipRows;
  info->srcLsbFirst = m.lsbFirst;
  info->srcSwapBytes = m.swapBytes;
}

GLbool8 __glClipDrawPixels(GlContext *gc, GlPixelSpanInfo *info) {
  if (info->zoomx == 0.0f || info->zoomy == 0.0f) return 0;
  if (!Finite(info->zoomx) || !Finite(info->zoomy) || !Finite(info->x) || !Finite(info->y))
    return 0;
  const int32_t *box = gc->transform.clipBox;
  const GLfloat h = 0.5f, a = gc->constants.viewportAlmostHalf;
  Axis x = {info->x, info->zoomx, info->width, 0, 0, 0, 0};
  Axis y = {info->y, info->zoomy, info->height, 0, 0, 0, 0};
  if (!ClipAxis(x, box[0], box[2], h, a) || !ClipAxis(y, box[1], box[3], h, a)) return 0;
  info->x = x.pos;
  info->startCol = x.start;
  info->endCol = x.end;
  info->columns = x.pixels;
  info->srcSkipPixels += x.skip;
  info->width = x.count;
  info->y = y.pos;
  info->startRow = y.start;
  info->rows = y.pixels;
  info->srcSkipLines += y.skip;
  info->height = y.count;
  info->spanWidth = x.count;
  return 1;
}

uint32_t __glDrawPixelsLockMask(const GlContext *gc, GLenum format) {
  if (format == GL_STENCIL_INDEX) return __GL_STENCIL_BUFFER_MASK;
  uint32_t mask = gc->renderBufferMask;
  if (format == GL_DEPTH_COMPONENT) mask |= __GL_DEPTH_BUFFER_MASK;
  return mask;
}

void __glGenericPickDrawPixels(GlContext *gc, GlPixelSpanInfo *info) {
  GlSpanPickRequest request = __glSpanRequest(__GL_SPAN_PATH_DRAW);
  info->numSpanMods = 0;
  PickSpanModifiers(gc, info, &request);
  info->spanRender = request.renderer;
  __glRunSpanLoop(gc, info,
                  {__glDrawPixels0, __glDrawPixels1, __glDrawPixels2, __glDrawPixelSpans});
}

namespace {

void DrawPixelsInWindow(GlContext *gc, GLsizei width, GLsizei height, GLenum format,
                        GLenum type, const void *pixels, GLbool8 packed) {
  GlPixelSpanInfo info;
  __glInitDrawPixelsInfo(gc, &info, width, height, format, type, pixels);
  __glLoadUnpackModes(gc, &info, packed);
  if (!__glClipDrawPixels(gc, &info)) return;
  if (!__glInitUnpacker(gc, &info)) return;
  // Wide rows get their span storage now: nothing may fail once locked.
  GlSpanStorage storage;
  if (!__glReserveSpanStorage(gc, &info, &storage, info.width)) return;
  __glRunLocked(gc, &info, __glDrawPixelsLockMask(gc, format), __glGenericPickDrawPixels);
}

}  // namespace

void __glSlowPickDrawPixels(GlContext *gc, GLsizei width, GLsizei height, GLenum format,
                            GLenum type, const void *pixels, GLbool8 packed) {
  // The drawable's lock delivers a pending resize, which the clip must see.
  __GL_LOCK_DRAWABLE(gc, "px_draw_pixels");
  DrawPixelsInWindow(gc, width, height, format, type, pixels, packed);
  __GL_UNLOCK_DRAWABLE(gc);
}

// Textured with the raster position's coordinates at level-of-detail 1.0,
// fogged by its eye z, then stored.
void __glSlowDrawPixelsStore(GlColorBuffer *cfb, const GlFragment *frag) {
  GlContext *gc = cfb->buf.gc;
  const GlVertex &rp = gc->state.current.rasterPos;
  GlFragment f = *frag;
  if (gc->texture.current != nullptr) {
    const GLfloat q = rp.texture.w;
    gc->procs.textureRaster(gc, &f.color, rp.texture.x / q, rp.texture.y / q, 1.0f);
  }
  if ((gc->state.enables.general & __GL_FOG_ENABLE) && gc->procs.fogFragment)
    gc->procs.fogFragment(gc, &f, rp.eye.z);
  gc->procs.store(cfb, &f);
}
