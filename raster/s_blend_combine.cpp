// The blend combiners, the fused forms of the four commonest factor pairs,
// the adder and the front ends that the colour stores call.
#include "core/context.h"
#include "raster/s_blend.h"

namespace {

GLfloat AtMost(GLfloat v, GLfloat limit) { return v > limit ? limit : v; }

GLfloat SourceAlpha(const GlContext *gc, const GlColor *s) {
  return s->a * gc->frontBuffer.oneOverAlphaScale;
}

// out = s x ks + d x kd, component by component.
void Mix(const GlColor *s, GLfloat ks, const GlColor *d, GLfloat kd, GlColor *out) {
  *out = {s->r * ks + d->r * kd, s->g * ks + d->g * kd, s->b * ks + d->b * kd,
          s->a * ks + d->a * kd};
}

}  // namespace

void __glDoBlend(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  gc->procs.blend.blendSrc(gc, s, d, out);
  gc->procs.blend.blendDst(gc, s, d, out);
  const GlColorBuffer &f = gc->frontBuffer;
  out->r = AtMost(out->r, f.redScale);
  out->g = AtMost(out->g, f.greenScale);
  out->b = AtMost(out->b, f.blueScale);
  out->a = AtMost(out->a, f.alphaScale);
}

void __glDoBlendNoClamp(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  gc->procs.blend.blendSrc(gc, s, d, out);
  gc->procs.blend.blendDst(gc, s, d, out);
}

void __glDoBlend_SA_ZERO(GlContext *gc, const GlColor *s, const GlColor *, GlColor *out) {
  const GLfloat as = SourceAlpha(gc, s);
  *out = {s->r * as, s->g * as, s->b * as, s->a * as};
}

void __glDoBlend_SA_ONE(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  const GLfloat as = SourceAlpha(gc, s);
  const GlColorBuffer &f = gc->frontBuffer;
  *out = {AtMost(s->r * as + d->r, f.redScale), AtMost(s->g * as + d->g, f.greenScale),
          AtMost(s->b * as + d->b, f.blueScale), AtMost(s->a * as + d->a, f.alphaScale)};
}

void __glDoBlend_SA_MSA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  const GLfloat as = SourceAlpha(gc, s);
  Mix(s, as, d, 1.0f - as, out);
}

void __glDoBlend_MSA_SA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out) {
  const GLfloat as = SourceAlpha(gc, s);
  Mix(s, 1.0f - as, d, as, out);
}

void __glDoBlendNone(GlContext *, const GlColor *s, const GlColor *, GlColor *out) { *out = *s; }

void __glDoBlendAdd(GlContext *, const GlColor *, const GlColor *term, GlColor *out) {
  out->r += term->r;
  out->g += term->g;
  out->b += term->b;
  out->a += term->a;
}

void __glBlendFetching(GlContext *gc, GlColorBuffer *cfb, const GlFragment *frag, GlColor *out) {
  GlColor destination;
  cfb->fetch[0](cfb, frag->x, frag->y, &destination);
  gc->procs.blend.blendColor(gc, &frag->color, &destination, out);
}

void __glBlendNonFetching(GlContext *gc, GlColorBuffer *, const GlFragment *frag, GlColor *out) {
  gc->procs.blend.blendColor(gc, &frag->color, nullptr, out);
}
