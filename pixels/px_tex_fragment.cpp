// The fragment procedures: sample the current texture at (s, t), choosing
// magnification or minification by rho, then apply its environment.
#include "core/context.h"
#include "pixels/px_sampler.h"

namespace {

void Apply(GlContext *gc, GlTextureObject *tex, GlColor *color, const GlTexel &texel) {
  if (tex->env) tex->env(gc, color, &texel);
}

}  // namespace

void __glFastTextureFragment(GlContext *gc, GlColor *color, GLfloat s, GLfloat t, GLfloat) {
  GlTextureObject *tex = gc->texture.current;
  GlTexel texel = {};
  tex->magnify(tex, &texel, 0.0f, s, t);
  Apply(gc, tex, color, texel);
}

void __glTextureFragment(GlContext *gc, GlColor *color, GLfloat s, GLfloat t, GLfloat rho) {
  GlTextureObject *tex = gc->texture.current;
  GlTexel texel = {};
  // A NaN rho minifies.
  GlTextureFilterProc filter = tex->switchover >= rho ? tex->magnify : tex->minify;
  filter(tex, &texel, 0.0f, s, t);
  Apply(gc, tex, color, texel);
}

void __glMipMapFragment(GlContext *gc, GlColor *color, GLfloat s, GLfloat t, GLfloat rho) {
  GlTextureObject *tex = gc->texture.current;
  GlTexel texel = {};
  if (tex->switchover >= rho)
    tex->magnify(tex, &texel, rho, s, t);
  else
    tex->minify(tex, &texel, __glComputeLambda(rho, tex->maxLog2), s, t);
  Apply(gc, tex, color, texel);
}
