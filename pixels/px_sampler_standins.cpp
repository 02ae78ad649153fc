// The stand-ins of pixels/px_sampler_standins.h.
#include "pixels/px_sampler_standins.h"

#include "core/context.h"
#include "core/s_standin.h"
#include "raster/s_buffers.h"

PIXELS_SAMPLER_STANDINS(GL_STANDIN_DEFINE)

namespace {

void ConstantTexel(GlContext *gc, GlColor *color) {
  if (!gc || !color || !gc->drawBuffer) return;
  const GlColorBuffer *cfb = gc->drawBuffer;
  *color = GlColor{cfb->redScale, cfb->greenScale, cfb->blueScale, cfb->alphaScale};
}

}  // namespace

void __glFastTextureFragment(GlContext *gc, GlColor *color, GLfloat, GLfloat, GLfloat) {
  __glStandInCalled("__glFastTextureFragment");
  ConstantTexel(gc, color);
}

void __glTextureFragment(GlContext *gc, GlColor *color, GLfloat, GLfloat, GLfloat) {
  __glStandInCalled("__glTextureFragment");
  ConstantTexel(gc, color);
}

void __glMipMapFragment(GlContext *gc, GlColor *color, GLfloat, GLfloat, GLfloat) {
  __glStandInCalled("__glMipMapFragment");
  ConstantTexel(gc, color);
}
