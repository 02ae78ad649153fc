// The accumulation operations that move rows between the accumulation
// buffer and the colour buffers: GL_LOAD and GL_ACCUM read the read
// buffer, GL_RETURN writes the draw buffers.
#include <string.h>

#include "core/context.h"
#include "core/drawable.h"
#include "core/gl_assert.h"
#include "core/s_entry.h"
#include "core/s_setters.h"
#include "raster/s_accum.h"

namespace {

using accum::Wrap;

// Reads the read buffer's rows a chunk at a time and gives each pixel's
// converted colour (trunc(colour x f), f = scale x value once per call) and
// its accumulation components to `combine`, which returns the new ones.
template <typename Combine>
void ReadSegment(GlAccumBuffer *afb, GlColorBuffer *cfb, int32_t x0, int32_t x1, int32_t y,
                 const GLfloat f[4], Combine combine) {
  GlContext *gc = afb->buf.gc;
  GlColor colors[__GL_ACCUM_CHUNK];
  for (int32_t x = x0; x < x1; x += __GL_ACCUM_CHUNK) {
    const int32_t n = x1 - x < __GL_ACCUM_CHUNK ? x1 - x : __GL_ACCUM_CHUNK;
    cfb->readSpan(cfb, x, y, colors, n);
    uint8_t *p = __glPixelAddress(gc, afb->buf.drawableBuf, x, y);
    for (int32_t i = 0; i < n; i++, p += 8) {
      const GLfloat colour[4] = {colors[i].r, colors[i].g, colors[i].b, colors[i].a};
      int16_t c[4];
      memcpy(c, p, 8);
      for (int k = 0; k < 4; k++) c[k] = combine(c[k], Wrap(__glTruncateToInt(colour[k] * f[k])));
      memcpy(p, c, 8);
    }
  }
}

template <typename Combine>
void ReadRows(GlAccumBuffer *afb, const int32_t box[4], GLfloat value, Combine combine) {
  GlContext *gc = afb->buf.gc;
  GlColorBuffer *cfb = gc->readBuffer;
  if (cfb == nullptr) return;
  const GLfloat f[4] = {afb->redScale * value, afb->greenScale * value, afb->blueScale * value,
                        afb->alphaScale * value};
  const uint32_t mask = gc->readBufferMask | __GL_ACCUM_BUFFER_MASK;
  // The front buffer is the screen, shared with other windows and no larger
  // than the screen: only the pixels the window owns are read (the others
  // are undefined and keep their accumulation values).
  const GlDrawable *drawable = gc->drawablePrivate;
  const bool owned = cfb == gc->front && drawable && drawable->clipRects;
  const int32_t dx = gc->constants.viewportXAdjust, dy = gc->constants.viewportYAdjust;
  __glLockBuffersIfInstalled(gc, mask);
  for (int32_t y = box[1]; y < box[3]; y++) {
    if (!owned) {
      ReadSegment(afb, cfb, box[0], box[2], y, f, combine);
      continue;
    }
    for (int32_t i = 0; i < drawable->clipCount; i++) {
      const GlRect &r = drawable->clipRects[i];
      if (y - dy < r.y0 || y - dy >= r.y1) continue;
      const int32_t x0 = r.x0 + dx > box[0] ? r.x0 + dx : box[0];
      const int32_t x1 = r.x1 + dx < box[2] ? r.x1 + dx : box[2];
      if (x0 < x1) ReadSegment(afb, cfb, x0, x1, y, f, combine);
    }
  }
  __glUnlockBuffersIfInstalled(gc, mask);
}

template <typename Combine>
void FromReadBuffer(GlAccumBuffer *afb, GLfloat value, Combine combine) {
  GlContext *gc = afb->buf.gc;
  if (gc == nullptr) return;
  __GL_LOCK_DRAWABLE(gc, "s_accum");
  int32_t box[4];
  if (accum::Region(afb, box)) ReadRows(afb, box, value, combine);
  __GL_UNLOCK_DRAWABLE(gc);
}

// Picks the procedures for the state as it now is.
void Revalidate(GlContext *gc) {
  __GL_ASSERT(gc->beginMode != __GL_IN_BEGIN, "__gl_beginMode != __GL_IN_BEGIN", "s_accum");
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
  gc->procs.validate(gc);
  gc->beginMode = __GL_NOT_IN_BEGIN;
}

void ReturnRows(GlAccumBuffer *afb, const int32_t box[4], GLfloat value) {
  GlContext *gc = afb->buf.gc;
  // Only ownership, the scissor, dithering and the write masks apply to the
  // values returned: blending and the logic op are off while they go.
  constexpr uint32_t kOff = __GL_BLEND_ENABLE | __GL_COLOR_LOGIC_OP_ENABLE;
  const uint32_t enables = gc->state.enables.general;
  if (enables & kOff) {
    gc->state.enables.general = enables & ~kOff;
    Revalidate(gc);
  }
  GlColorBuffer *first = gc->drawBoth ? gc->front : gc->drawBuffer;
  GlColorBuffer *second = gc->drawBoth ? gc->back : nullptr;
  const uint32_t mask = gc->drawBufferMask | __GL_ACCUM_BUFFER_MASK;
  const int32_t width = box[2] - box[0];
  __glLockBuffersIfInstalled(gc, mask);
  for (int32_t y = box[1]; y < box[3]; y++) {
    const int16_t *values =
        reinterpret_cast<const int16_t *>(__glPixelAddress(gc, afb->buf.drawableBuf, box[0], y));
    first->returnSpan(first, box[0], y, values, value, width);
    if (second) second->returnSpan(second, box[0], y, values, value, width);
  }
  __glUnlockBuffersIfInstalled(gc, mask);
  if (enables & kOff) {
    gc->state.enables.general = enables;
    Revalidate(gc);
  }
}

}  // namespace

void accum::Load(GlAccumBuffer *afb, GLfloat value) {
  FromReadBuffer(afb, value, [](int16_t, int16_t colour) { return colour; });
}

void accum::Accumulate(GlAccumBuffer *afb, GLfloat value) {
  FromReadBuffer(afb, value,
                 [](int16_t old, int16_t colour) { return Wrap(int32_t(old) + colour); });
}

void accum::Return(GlAccumBuffer *afb, GLfloat value) {
  GlContext *gc = afb->buf.gc;
  if (gc == nullptr || gc->drawBufferMask == 0) return;  // no colour buffer is drawn
  __GL_LOCK_DRAWABLE(gc, "s_accum");
  int32_t box[4];
  if (accum::Region(afb, box)) ReturnRows(afb, box, value);
  __GL_UNLOCK_DRAWABLE(gc);
}
