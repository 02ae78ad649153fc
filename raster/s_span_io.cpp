// Whole spans between a colour buffer and the rasterizer: the default span
// reader, the span store through the fragment store, the destination fetch
// of the span pipeline, and the write-back of accumulation values.
#include "core/context.h"
#include "core/gl_assert.h"
#include "core/s_entry.h"
#include "raster/s_buffers.h"
#include "raster/s_color_pixel.h"

GLbool8 __glReadSpan(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *colors, int32_t count) {
  for (int32_t i = 0; i < count; i++) {
    if (__glColorPixelExists(cfb->buf.gc, cfb, x + i, y)) {
      cfb->fetch[0](cfb, x + i, y, colors + i);
    } else {
      colors[i] = GlColor{0, 0, 0, 0};
    }
  }
  return 0;
}

void __glStoreSpanThroughFragments(GlContext *gc, bool stippled) {
  const GlShader &sh = gc->polygon.shader;
  GlColorBuffer *cfb = sh.cfb;
  GlFragment frag{};
  frag.y = sh.y;
  for (int32_t i = 0; i < sh.length; i++) {
    if (stippled && !(sh.stipplePat[i >> 5] & (0x80000000u >> (i & 31)))) continue;
    frag.x = sh.x + i;
    frag.color = sh.spanColors[i];
    cfb->store(cfb, &frag);
  }
}

GLbool8 __glFetchSpan(GlContext *gc) {
  const GlShader &sh = gc->polygon.shader;
  GlColorBuffer *cfb = sh.cfb;
  cfb->readSpan(cfb, sh.x, sh.y, sh.fbcolors, sh.length);
  return 0;
}

namespace {

// OpenGL applies ownership, the scissor, dithering and the write masks to a
// returned span, nothing else: blending and the logic op are switched off.
constexpr uint32_t kNotOnReturn =
    __GL_BLEND_ENABLE | __GL_COLOR_LOGIC_OP_ENABLE | __GL_INDEX_LOGIC_OP_ENABLE;

// Below 0 (NaN too) -> 0, above the channel's largest value -> that value.
GLfloat ClampToChannel(GLfloat c, GLfloat largest) {
  if (!(c > 0.0f)) return 0.0f;
  return c >= largest ? largest : c;
}

void Revalidate(GlContext *gc) {
  __GL_ASSERT(gc->beginMode != __GL_IN_BEGIN, "__gl_beginMode != __GL_IN_BEGIN", "s_span");
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
  if (gc->procs.validate) gc->procs.validate(gc);
}

}  // namespace

void __glReturnSpan(GlColorBuffer *cfb, int32_t x, int32_t y, const int16_t *values, GLfloat scale,
                    int32_t count) {
  GlContext *gc = cfb->buf.gc;
  uint32_t &enables = gc->state.enables.general;
  const uint32_t savedEnables = enables;
  const int32_t savedBeginMode = gc->beginMode;
  const bool switchOff = (enables & kNotOnReturn) != 0;
  if (switchOff) {
    enables &= ~kNotOnReturn;
    Revalidate(gc);
  }

  const GlAccumBuffer &afb = gc->accumBuffer;
  const GLfloat factor[4] = {scale * afb.oneOverRedScale, scale * afb.oneOverGreenScale,
                             scale * afb.oneOverBlueScale, scale * afb.oneOverAlphaScale};
  GlFragment frag{};
  frag.y = y;
  for (int32_t i = 0; i < count; i++, values += 4) {
    // Out-of-range sums saturate at the buffer's own channel maxima (the
    // context's colour range is 0-255 whatever the buffer holds) rather than
    // wrap into the neighbouring bits.
    frag.color = {ClampToChannel(values[0] * factor[0], cfb->redScale),
                  ClampToChannel(values[1] * factor[1], cfb->greenScale),
                  ClampToChannel(values[2] * factor[2], cfb->blueScale),
                  ClampToChannel(values[3] * factor[3], cfb->alphaScale)};
    frag.x = x + i;
    cfb->store(cfb, &frag);
  }

  if (switchOff) {
    enables = savedEnables;
    Revalidate(gc);
    // Everything pending before the call has been validated by now.
    gc->beginMode = savedBeginMode;
  }
}
