// The blend factor procedures: a source one writes source x factor, a
// destination one adds destination x factor through blendAdd.
#include "core/context.h"
#include "raster/s_blend.h"

namespace {

// Each component of a colour divided by its buffer scale.
GlColor Unit(const GlContext *gc, const GlColor &c) {
  const GlColorBuffer &f = gc->frontBuffer;
  return {c.r * f.oneOverRedScale, c.g * f.oneOverGreenScale, c.b * f.oneOverBlueScale,
          c.a * f.oneOverAlphaScale};
}

GLfloat UnitAlpha(const GlContext *gc, const GlColor &c) {
  return c.a * gc->frontBuffer.oneOverAlphaScale;
}

void Scale(const GlColor &c, GLfloat k, GlColor *out) {
  *out = {c.r * k, c.g * k, c.b * k, c.a * k};
}

void Scale(const GlColor &c, const GlColor &k, GlColor *out) {
  *out = {c.r * k.r, c.g * k.g, c.b * k.b, c.a * k.a};
}

GlColor OneMinus(const GlColor &c) { return {1.0f - c.r, 1.0f - c.g, 1.0f - c.b, 1.0f - c.a}; }

void AddScaled(GlContext *gc, const GlColor *s, const GlColor &d, GLfloat k, GlColor *out) {
  GlColor term;
  Scale(d, k, &term);
  gc->procs.blend.blendAdd(gc, s, &term, out);
}

void AddScaled(GlContext *gc, const GlColor *s, const GlColor &d, const GlColor &k,
               GlColor *out) {
  GlColor term;
  Scale(d, k, &term);
  gc->procs.blend.blendAdd(gc, s, &term, out);
}

}  // namespace

void __glDoBlendSourceZERO(GlContext *, const GlColor *, const GlColor *, GlColor *out) {
  *out = {0.0f, 0.0f, 0.0f, 0.0f};
}

void __glDoBlendSourceONE(GlContext *, const GlColor *s, const GlColor *, GlColor *out) {
  *out = *s;
}

void __glDoBlendSourceDC(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  Scale(*s, Unit(gc, *d), out);
}

void __glDoBlendSourceMDC(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  Scale(*s, OneMinus(Unit(gc, *d)), out);
}

void __glDoBlendSourceSA(GlContext *gc, const GlColor *s, const GlColor *, GlColor *out) {
  Scale(*s, UnitAlpha(gc, *s), out);
}

void __glDoBlendSourceMSA(GlContext *gc, const GlColor *s, const GlColor *, GlColor *out) {
  Scale(*s, 1.0f - UnitAlpha(gc, *s), out);
}

void __glDoBlendSourceDA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  Scale(*s, UnitAlpha(gc, *d), out);
}

void __glDoBlendSourceMDA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  Scale(*s, 1.0f - UnitAlpha(gc, *d), out);
}

void __glDoBlendSourceSAT(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  const GLfloat as = UnitAlpha(gc, *s);
  const GLfloat rest = 1.0f - UnitAlpha(gc, *d);
  const GLfloat f = as < rest ? as : rest;
  *out = {s->r * f, s->g * f, s->b * f, s->a};
}

void __glDoBlendDestZERO(GlContext *, const GlColor *, const GlColor *, GlColor *) {}

void __glDoBlendDestONE(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  gc->procs.blend.blendAdd(gc, s, d, out);
}

void __glDoBlendDestSC(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  AddScaled(gc, s, *d, Unit(gc, *s), out);
}

void __glDoBlendDestMSC(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  AddScaled(gc, s, *d, OneMinus(Unit(gc, *s)), out);
}

void __glDoBlendDestSA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  AddScaled(gc, s, *d, UnitAlpha(gc, *s), out);
}

void __glDoBlendDestMSA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  AddScaled(gc, s, *d, 1.0f - UnitAlpha(gc, *s), out);
}

void __glDoBlendDestDA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  AddScaled(gc, s, *d, UnitAlpha(gc, *d), out);
}

void __glDoBlendDestMDA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  AddScaled(gc, s, *d, 1.0f - UnitAlpha(gc, *d), out);
}
