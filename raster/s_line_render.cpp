// The aliased line's render procedure: working copies of the two vertices
// prepared as the rasterizer wants them, the set-up, the start values and
// per-pixel steps of every iterated parameter, and the picked processor.
// The flat-fog wrapper fogs the provoking colour once per end.
#include <math.h>

#include "core/context.h"
#include "core/gl_convert.h"
#include "raster/s_line.h"

void __glPrepareLineVertex(const GlContext *gc, const GlVertex *in, GlLinePrepared *out) {
  const GlConstants &k = gc->constants;
  out->v = *in;
  out->v.window.x += 0.5f;
  out->v.window.y += 0.5f;
  out->v.window.z *= k.depthMax;
  // By component name: the rescale words are stored red, blue, green, alpha.
  out->color = in->color ? GlColor{in->color->r * k.redRescale, in->color->g * k.greenRescale,
                                   in->color->b * k.blueRescale, in->color->a * k.alphaRescale}
                         : GlColor{0, 0, 0, 0};
  out->v.color = &out->color;
}

namespace {

void SetColors(GlContext *gc, const GlColor &ca, const GlColor &cb, GLfloat invLength) {
  GlShader &sh = gc->polygon.shader;
  const uint32_t flags = sh.modeFlags;
  if (!(flags & __GL_SHADE_ITERATE_COLOR)) {  // flat: the provoking (second) end
    sh.r = cb.r, sh.g = cb.g, sh.b = cb.b, sh.a = cb.a;
    return;
  }
  sh.r = ca.r;
  sh.drdx = (cb.r - ca.r) * invLength;
  if (flags & __GL_SHADE_RGB) {
    sh.g = ca.g, sh.b = ca.b, sh.a = ca.a;
    sh.dgdx = (cb.g - ca.g) * invLength;
    sh.dbdx = (cb.b - ca.b) * invLength;
    sh.dadx = (cb.a - ca.a) * invLength;
  }
}

void SetTexture(GlContext *gc, const GlVertex &a, const GlVertex &b, GLfloat invLength,
                GLfloat startOffset) {
  GlShader &sh = gc->polygon.shader;
  sh.dsdx = (b.texture.x - a.texture.x) * invLength;
  sh.dtdx = (b.texture.y - a.texture.y) * invLength;
  sh.dqdx = (b.texture.w - a.texture.w) * invLength;
  sh.s = sh.dsdx * startOffset + a.texture.x;
  sh.t = sh.dtdx * startOffset + a.texture.y;
  sh.q = sh.dqdx * startOffset + a.texture.w;
  GLfloat rhoA = 0, rhoB = 0;
  if (gc->procs.texRho) {
    rhoA = gc->procs.texRho(gc, a.texture.x, a.texture.y, a.texture.w) * a.texture.w;
    rhoB = gc->procs.texRho(gc, b.texture.x, b.texture.y, b.texture.w) * b.texture.w;
  }
  sh.drhodx = (rhoB - rhoA) * invLength;
  sh.rho = sh.drhodx * startOffset + rhoA;
}

// Per-fragment fog: the fog stage reads eye z along the run (the factor
// itself when no eye distance is wanted).
void SetFragmentFog(GlContext *gc, const GlVertex &a, const GlVertex &b, GLfloat invLength,
                    GLfloat startOffset) {
  GlShader &sh = gc->polygon.shader;
  const bool eye = gc->state.hints.fog == GL_NICEST;
  const GLfloat fa = eye ? a.eye.z : a.fog, fb = eye ? b.eye.z : b.fog;
  sh.dfdx = (fb - fa) * invLength;
  sh.fog = sh.dfdx * startOffset + fa;
}

}  // namespace

void __glRenderAliasLine(GlContext *gc, GlVertex *a, GlVertex *b) {
  GlLinePrepared pa, pb;
  __glPrepareLineVertex(gc, a, &pa);
  __glPrepareLineVertex(gc, b, &pb);
  GlLineMachine &l = gc->line;
  __glInitLineData(gc, &pa.v, &pb.v);
  l.vertexA = a;  // the copies die with this call
  l.vertexB = b;
  if (l.pixelCount == 0) return;

  GlShader &sh = gc->polygon.shader;
  const uint32_t flags = sh.modeFlags;
  const GLfloat invLength = gc->constants.one / l.majorLength;
  const GLfloat startOffset = l.startOffset;
  if (flags & __GL_SHADE_DEPTH_ITER) {
    const GLfloat za = pa.v.window.z, dz = (pb.v.window.z - za) * invLength;
    // A line that starts on the near plane may extrapolate a little below 0.
    sh.z = __glTruncateToUint(double(dz) * double(startOffset) + double(za));
    // More than half the range within one pixel saturates.
    sh.dzdx = __glTruncateToInt(dz);
    sh.dzdxBig = int32_t(uint32_t(sh.dzdx) << 5);
  }
  if (flags & __GL_SHADE_LINE_STIPPLE) {
    if (!gc->lineStippleStarted) {
      l.stippleBit = 0;
      l.stippleRepeatCount = 0;
      gc->lineStippleStarted = 1;
    }
  }
  if (flags & __GL_SHADE_TEXTURE) SetTexture(gc, pa.v, pb.v, invLength, startOffset);
  SetColors(gc, pa.color, pb.color, invLength);
  if (flags & __GL_SHADE_FRAGMENT_FOG) SetFragmentFog(gc, pa.v, pb.v, invLength, startOffset);

  sh.spanColors = gc->spanColors[0];
  sh.fbcolors = gc->spanColors[1];
  sh.stipplePat = gc->spanStipple;
  sh.length = l.pixelCount;
  if (gc->procs.line.processLine) gc->procs.line.processLine(gc);
}

void __glRenderFlatFogLine(GlContext *gc, GlVertex *a, GlVertex *b) {
  GlColor *const colorA = a->color, *const colorB = b->color;
  if (!colorB || !gc->procs.fogColor || !gc->procs.renderLineUnfogged) return;
  GlColor fogA, fogB;
  gc->procs.fogColor(gc, &fogA, colorB, a->fog);
  gc->procs.fogColor(gc, &fogB, colorB, b->fog);
  a->color = &fogA;
  b->color = &fogB;
  gc->procs.renderLineUnfogged(gc, a, b);
  a->color = colorA;
  b->color = colorB;
}
