// The shading spans: the colour (or index) of every pixel of the span, flat
// or stepped across it. They reject nothing and serve both stage lists.
#include "core/context.h"
#include "raster/s_shader.h"
#include "raster/s_span.h"

GLbool8 __glFlatRGBASpan(GlContext *gc) {
  const GlShader &sh = gc->polygon.shader;
  const GlColor color = {sh.r, sh.g, sh.b, sh.a};
  for (int32_t k = 0; k < sh.length; ++k) sh.spanColors[k] = color;
  return 0;
}

// The steps are added pixel by pixel in single precision, as the walker
// that set up the start values expects.
GLbool8 __glShadeRGBASpan(GlContext *gc) {
  const GlShader &sh = gc->polygon.shader;
  GLfloat r = sh.r, g = sh.g, b = sh.b, a = sh.a;
  for (int32_t k = 0; k < sh.length; ++k) {
    GlColor &c = sh.spanColors[k];
    c.r = r;
    c.g = g;
    c.b = b;
    c.a = a;
    r += sh.drdx;
    g += sh.dgdx;
    b += sh.dbdx;
    a += sh.dadx;
  }
  return 0;
}

// Colour indices travel in the first float; the other three are left alone.
GLbool8 __glFlatCISpan(GlContext *gc) {
  const GlShader &sh = gc->polygon.shader;
  for (int32_t k = 0; k < sh.length; ++k) sh.spanColors[k].r = sh.r;
  return 0;
}

GLbool8 __glShadeCISpan(GlContext *gc) {
  const GlShader &sh = gc->polygon.shader;
  GLfloat index = sh.r;
  for (int32_t k = 0; k < sh.length; ++k) {
    sh.spanColors[k].r = index;
    index += sh.drdx;
  }
  return 0;
}
