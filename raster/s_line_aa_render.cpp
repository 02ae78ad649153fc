// The antialiased line's render procedure: the set-up, then one run per
// pixel of the line's cross-section, each placed by stepping its DDA back
// and forth to the first pixel whose centre lies past half a pixel before
// the first vertex, with the iterated parameters started at that pixel.
#include <math.h>

#include "core/context.h"
#include "core/gl_convert.h"
#include "raster/s_line.h"
#include "raster/s_line_aa.h"

namespace {

// The values at vertex a and their change per unit along the major axis.
struct Gradients {
  GLfloat z, dz;
  GlColor c, dc;
  GLfloat s, t, q, rho, ds, dt, dq, drho;
  GLfloat fog, dfog;
};

Gradients LineGradients(GlContext *gc, const GlLinePrepared &a, const GlLinePrepared &b,
                        GLfloat inv) {
  Gradients g{};
  const uint32_t flags = gc->polygon.shader.modeFlags;
  g.z = a.v.window.z, g.dz = (b.v.window.z - a.v.window.z) * inv;
  if (flags & __GL_SHADE_ITERATE_COLOR) {
    g.c = a.color;
    g.dc = {(b.color.r - a.color.r) * inv, (b.color.g - a.color.g) * inv,
            (b.color.b - a.color.b) * inv, (b.color.a - a.color.a) * inv};
  } else {
    g.c = b.color;  // flat: the provoking (second) end
  }
  if (flags & __GL_SHADE_TEXTURE) {
    const GlCoord &ta = a.v.texture, &tb = b.v.texture;
    g.s = ta.x, g.t = ta.y, g.q = ta.w;
    g.ds = (tb.x - ta.x) * inv, g.dt = (tb.y - ta.y) * inv, g.dq = (tb.w - ta.w) * inv;
    GLfloat rhoA = 0, rhoB = 0;
    if (gc->procs.texRho) {
      rhoA = gc->procs.texRho(gc, ta.x, ta.y, ta.w) * ta.w;
      rhoB = gc->procs.texRho(gc, tb.x, tb.y, tb.w) * tb.w;
    }
    g.rho = rhoA, g.drho = (rhoB - rhoA) * inv;
  }
  if (flags & __GL_SHADE_FRAGMENT_FOG) {
    // The fog stage reads eye z along the run (the factor itself when no
    // eye distance is wanted).
    const bool eye = gc->state.hints.fog == GL_NICEST;
    const GLfloat fa = eye ? a.v.eye.z : a.v.fog, fb = eye ? b.v.eye.z : b.v.fog;
    g.fog = fa, g.dfog = (fb - fa) * inv;
  }
  return g;
}

// The steps per pixel, set once per line.
void SetSteps(GlContext *gc, const Gradients &g) {
  GlShader &sh = gc->polygon.shader;
  const uint32_t flags = sh.modeFlags;
  sh.drdx = g.dc.r, sh.dgdx = g.dc.g, sh.dbdx = g.dc.b, sh.dadx = g.dc.a;
  if (flags & __GL_SHADE_DEPTH_ITER) {
    // More than half the range within one pixel saturates.
    sh.dzdx = __glTruncateToInt(g.dz);
    sh.dzdxBig = int32_t(uint32_t(sh.dzdx) << 5);
  }
  sh.dsdx = g.ds, sh.dtdx = g.dt, sh.dqdx = g.dq, sh.drhodx = g.drho;
  sh.dfdx = g.dfog;
}

// Every parameter at the pixel `t` along the major axis from vertex a.
void SetRunStart(GlContext *gc, const Gradients &g, GLfloat t) {
  GlShader &sh = gc->polygon.shader;
  const uint32_t flags = sh.modeFlags;
  sh.r = g.c.r + g.dc.r * t, sh.g = g.c.g + g.dc.g * t;
  sh.b = g.c.b + g.dc.b * t, sh.a = g.c.a + g.dc.a * t;
  // A run that starts before the near end may extrapolate a little below 0.
  if (flags & __GL_SHADE_DEPTH_ITER)
    sh.z = __glTruncateToUint(double(sh.dzdx) * double(t) + double(g.z));
  if (flags & __GL_SHADE_TEXTURE)
    sh.s = g.s + g.ds * t, sh.t = g.t + g.dt * t, sh.q = g.q + g.dq * t, sh.rho = g.rho + g.drho * t;
  if (flags & __GL_SHADE_FRAGMENT_FOG) sh.fog = g.fog + g.dfog * t;
}

// One DDA step of the run's start, l and d following it.
struct Walker {
  GlLineMachine &l;
  GLfloat along, across;

  void Forward() {
    const uint32_t f = uint32_t(l.fraction) + uint32_t(l.dfraction);
    Move(f, +1);
  }
  void Back() {
    const uint32_t f = uint32_t(l.fraction) - uint32_t(l.dfraction);
    Move(f, -1);
  }
  void Move(uint32_t f, int32_t dir) {
    const bool big = (f & 0x80000000u) != 0;
    l.fraction = int32_t(f & 0x7FFFFFFFu);
    l.xStart += dir * (big ? l.xBig : l.xLittle);
    l.yStart += dir * (big ? l.yBig : l.yLittle);
    along += GLfloat(dir) * (big ? l.dlBig : l.dlLittle);
    across += GLfloat(dir) * (big ? l.ddBig : l.ddLittle);
  }
};

}  // namespace

void __glRenderAntiAliasLine(GlContext *gc, GlVertex *a, GlVertex *b) {
  GlLinePrepared pa, pb;
  __glPrepareLineVertex(gc, a, &pa);
  __glPrepareLineVertex(gc, b, &pb);
  GlLineMachine &l = gc->line;
  __glInitAALineData(gc, &pa.v, &pb.v);
  l.vertexA = a;  // the copies die with this call
  l.vertexB = b;
  if (l.majorLength == 0.0f) return;

  GlShader &sh = gc->polygon.shader;
  const uint32_t flags = sh.modeFlags;
  const GlConstants &k = gc->constants;
  const GLfloat half = k.half;
  const Gradients g = LineGradients(gc, pa, pb, k.one / l.majorLength);
  SetSteps(gc, g);
  const GlLineState &state = gc->state.line;
  const int32_t repeat = state.stippleRepeat < 1 ? 1 : state.stippleRepeat;
  if (flags & __GL_SHADE_LINE_STIPPLE) {
    if (!gc->lineStippleStarted) {
      l.stippleBit = 0;
      l.stippleRepeatCount = 0;
      gc->lineStippleStarted = 1;
    }
    l.stippleStart = GLfloat(repeat * l.stippleBit + l.stippleRepeatCount) - half;
    l.oneOverRepeat = k.one / GLfloat(repeat);
  }

  // Distances of the first pixel's centre from a, in the set-up's frame.
  const GLfloat x0 = pa.v.window.x - half, y0 = pa.v.window.y - half;
  const GLfloat cx = half + GLfloat(l.xStart) - x0, cy = half + GLfloat(l.yStart) - y0;
  Walker w{l, l.dirX * cx + l.dirY * cy, l.perpX * cx + l.perpY * cy};
  const GLfloat M0 = l.majorAxis == 0 ? x0 : y0;
  const int32_t majorDir = l.majorAxis == 0 ? l.xLittle : l.yLittle;

  sh.spanColors = gc->spanColors[0];
  sh.fbcolors = gc->spanColors[1];
  sh.stipplePat = gc->spanStipple;
  const int32_t runs = l.width;
  for (int32_t run = 0; run < runs; run++) {
    // Back while the pixel could still be covered, then forward to the
    // first one that is.
    int32_t guard = 4;
    while (w.along > -half && guard-- > 0) w.Back();
    guard = 8;
    while (w.along <= -half && guard-- > 0) w.Forward();
    l.lStart = w.along;
    l.dStart = w.across;
    const int32_t major = l.majorAxis == 0 ? l.xStart : l.yStart;
    SetRunStart(gc, g, GLfloat(majorDir) * (GLfloat(major) + half - M0));
    sh.length = l.pixelCount;
    if (gc->procs.line.processLine) gc->procs.line.processLine(gc);
    // The next run, one pixel across.
    if (l.majorAxis == 0) {
      l.yStart++;
      w.along += l.dirY, w.across += l.perpY;
    } else {
      l.xStart++;
      w.along += l.dirX, w.across += l.perpX;
    }
  }

  if (flags & __GL_SHADE_LINE_STIPPLE) {
    // The pattern runs on by the pixels the segment spans, carry kept.
    const int64_t total = int64_t(l.stippleRepeatCount) + int64_t(ceil(double(l.lineLength)));
    l.stippleBit = int32_t((int64_t(l.stippleBit) + total / repeat) & 15);
    l.stippleRepeatCount = int32_t(total % repeat);
  }
}
