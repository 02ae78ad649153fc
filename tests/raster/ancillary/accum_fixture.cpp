#include "tests/raster/ancillary/accum_fixture.h"

#include <string.h>

#include "raster/s_buffers.h"

namespace ancillary_test {

AccumFixture *AccumFixture::self_ = nullptr;

AccumFixture::AccumFixture(AncillaryContext *ctx, const GLfloat scales[4])
    : ctx_(ctx), memory_(ctx->width(), ctx->height(), 64, 8) {
  self_ = this;
  memory_.Fill(0);
  GlContext *gc = ctx->gc();
  gc->modes.rgbMode = 1;
  gc->modes.haveAccumBuffer = 1;
  gc->renderMode = GL_RENDER;
  gc->front = &gc->frontBuffer;
  gc->back = &gc->backBuffer;
  for (GlColorBuffer *cfb : {gc->front, gc->back}) {
    cfb->buf.gc = gc;
    cfb->redScale = scales[0];
    cfb->greenScale = scales[1];
    cfb->blueScale = scales[2];
    cfb->alphaScale = scales[3];
    cfb->readSpan = [](GlColorBuffer *, int32_t x, int32_t y, GlColor *colors,
                       int32_t count) -> GLbool8 {
      self_->reads.push_back({x, y, count});
      for (int32_t i = 0; i < count; i++) colors[i] = self_->picture(x + i - kBias, y - kBias);
      return 0;
    };
    cfb->returnSpan = [](GlColorBuffer *cfb, int32_t x, int32_t y, const int16_t *values,
                         GLfloat scale, int32_t count) {
      ReturnedSpan span{cfb, x, y, count, scale, {}, cfb->buf.gc->state.enables.general};
      span.values.assign(values, values + 4 * count);
      self_->returned.push_back(span);
    };
  }
  gc->drawBuffer = gc->readBuffer = gc->front;
  gc->drawBufferMask = gc->readBufferMask = __GL_FRONT_BUFFER_MASK;
  gc->procs.validate = [](GlContext *gc) {
    self_->validations.push_back(gc->state.enables.general);
  };
  gc->procs.waitIdle = [](GlContext *) { self_->waits++; };
  picture = [](int32_t, int32_t) { return GlColor{0, 0, 0, 0}; };
  __glInitAccum64(afb(), gc);
  afb()->buf.makeCurrent(&afb()->buf, memory_.buffer(), gc);
}

AccumFixture::~AccumFixture() { self_ = nullptr; }

void AccumFixture::Get(int32_t x, int32_t y, int16_t c[4]) { memcpy(c, memory_.At(x, y), 8); }
void AccumFixture::Set(int32_t x, int32_t y, const int16_t c[4]) {
  memcpy(memory_.At(x, y), c, 8);
}

}  // namespace ancillary_test
