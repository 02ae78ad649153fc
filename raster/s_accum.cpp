// The accumulation buffer object, its clear, the operations that need no
// colour buffer (GL_MULT, GL_ADD), and glAccum's choice of operation.
#include <string.h>

#include "core/context.h"
#include "core/drawable.h"
#include "core/s_error.h"
#include "core/s_setters.h"
#include "raster/s_accum.h"

namespace {

using accum::Wrap;

// The four components of every pixel of the clip box, rows upward, pixels
// rightward, under the accumulation buffer's lock.
template <typename Op>
void ForEachComponent(GlAccumBuffer *afb, Op op) {
  GlContext *gc = afb->buf.gc;
  if (gc == nullptr) return;
  __GL_LOCK_DRAWABLE(gc, "s_accum");
  int32_t box[4];
  if (accum::Region(afb, box)) {
    __glLockBuffersIfInstalled(gc, __GL_ACCUM_BUFFER_MASK);
    for (int32_t y = box[1]; y < box[3]; y++) {
      uint8_t *p = __glPixelAddress(gc, afb->buf.drawableBuf, box[0], y);
      for (int32_t x = box[0]; x < box[2]; x++, p += 8) {
        int16_t c[4];
        memcpy(c, p, 8);
        for (int i = 0; i < 4; i++) c[i] = op(i, c[i]);
        memcpy(p, c, 8);
      }
    }
    __glUnlockBuffersIfInstalled(gc, __GL_ACCUM_BUFFER_MASK);
  }
  __GL_UNLOCK_DRAWABLE(gc);
}

// scale_c x the front buffer's scale_c, each component (close to 32767).
void FullScales(const GlAccumBuffer *afb, GLfloat out[4]) {
  const GlColorBuffer *cfb = afb->buf.gc->front;
  out[0] = afb->redScale * cfb->redScale;
  out[1] = afb->greenScale * cfb->greenScale;
  out[2] = afb->blueScale * cfb->blueScale;
  out[3] = afb->alphaScale * cfb->alphaScale;
}

void Pick(GlContext *, GlAccumBuffer *) {}

void Clear(GlAccumBuffer *afb) {
  GlContext *gc = afb->buf.gc;
  if (gc == nullptr) return;
  GLfloat full[4];
  FullScales(afb, full);
  const GlColor &clear = gc->state.accum.clear;  // already in [-1, 1]
  const GLfloat value[4] = {clear.r, clear.g, clear.b, clear.a};
  int16_t v[4];
  for (int i = 0; i < 4; i++) v[i] = Wrap(__glTruncateToInt(full[i] * value[i]));
  ForEachComponent(afb, [&](int i, int16_t) { return v[i]; });
}

void Mult(GlAccumBuffer *afb, GLfloat value) {
  if (value == 0) {
    ForEachComponent(afb, [](int, int16_t) { return int16_t(0); });
    return;
  }
  ForEachComponent(
      afb, [value](int, int16_t old) { return Wrap(__glTruncateToInt(GLfloat(old) * value)); });
}

void Add(GlAccumBuffer *afb, GLfloat value) {
  if (afb->buf.gc == nullptr) return;
  GLfloat full[4];
  FullScales(afb, full);
  int16_t k[4];
  for (int i = 0; i < 4; i++)
    k[i] = Wrap(__glTruncateToInt(full[i] * value + afb->buf.gc->constants.half));
  ForEachComponent(afb, [&](int i, int16_t old) { return Wrap(int32_t(old) + k[i]); });
}

// 32767 / a colour buffer scale, and its inverse; nothing for a component
// the buffer cannot hold.
GLfloat AccumScale(GLfloat colorScale) { return colorScale > 0 ? 32767.0f / colorScale : 0; }
GLfloat Inverse(GLfloat scale) { return scale != 0 ? 1.0f / scale : 0; }

}  // namespace

bool accum::Region(const GlAccumBuffer *afb, int32_t box[4]) {
  const GlContext *gc = afb->buf.gc;
  const GlDrawableBuffer *drawableBuf = afb->buf.drawableBuf;
  if (gc == nullptr || drawableBuf == nullptr || drawableBuf->base == nullptr) return false;
  memcpy(box, gc->transform.clipBox, 4 * sizeof(int32_t));
  return box[2] > box[0] && box[3] > box[1];
}

void __glInitAccum64(GlAccumBuffer *afb, GlContext *gc) {
  __glInitBuffer(&afb->buf, gc);
  afb->pick = Pick;
  afb->clear = Clear;
  afb->accumulate = accum::Accumulate;
  afb->load = accum::Load;
  afb->return_ = accum::Return;
  afb->mult = Mult;
  afb->add = Add;
  if (!gc->modes.rgbMode || gc->front == nullptr) return;
  const GlColorBuffer *cfb = gc->front;
  afb->redScale = AccumScale(cfb->redScale);
  afb->greenScale = AccumScale(cfb->greenScale);
  afb->blueScale = AccumScale(cfb->blueScale);
  afb->alphaScale = AccumScale(cfb->alphaScale);
  afb->oneOverRedScale = Inverse(afb->redScale);
  afb->oneOverGreenScale = Inverse(afb->greenScale);
  afb->oneOverBlueScale = Inverse(afb->blueScale);
  afb->oneOverAlphaScale = Inverse(afb->alphaScale);
}

void __glAccumOp(GlContext *gc, GLenum op, GLfloat value) {
  if (!gc->modes.haveAccumBuffer || gc->modes.colorIndexMode) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  if (op < GL_ACCUM || op > GL_ADD) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  gc->procs.waitIdle(gc);
  if (gc->renderMode != GL_RENDER) return;
  GlAccumBuffer *afb = &gc->accumBuffer;
  void (*const operations[])(GlAccumBuffer *, GLfloat) = {afb->accumulate, afb->load, afb->return_,
                                                          afb->mult, afb->add};
  operations[op - GL_ACCUM](afb, value);
}
