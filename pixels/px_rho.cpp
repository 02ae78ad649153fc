// rho for lines and polygons, in level 0's texels: the square of how many
// texels one pixel step covers.
#include <math.h>

#include "core/context.h"
#include "pixels/px_rho.h"

GLfloat __glComputePolygonRho(GlContext *gc, const GlEdgeWalker *, GLfloat s, GLfloat t,
                              GLfloat q) {
  const GlShader &sh = gc->polygon.shader;
  const GlTextureLevel *base = gc->texture.current->levels[0];
  // s/q and t/q one pixel either side, along x and then y.
  const GLfloat ax = 1.0f / (q - sh.dqdx), bx = 1.0f / (sh.dqdx + q);
  const GLfloat sx = ((sh.dsdx + s) * bx - (s - sh.dsdx) * ax) * base->width2f;
  const GLfloat tx = ((sh.dtdx + t) * bx - (t - sh.dtdx) * ax) * base->height2f;
  const GLfloat ay = 1.0f / (q - sh.dqdy), by = 1.0f / (sh.dqdy + q);
  const GLfloat sy = ((sh.dsdy + s) * by - (s - sh.dsdy) * ay) * base->width2f;
  const GLfloat ty = ((sh.dtdy + t) * by - (t - sh.dtdy) * ay) * base->height2f;
  const GLfloat rx = tx * tx + sx * sx, ry = ty * ty + sy * sy;
  // The differences span two pixels.
  return (rx > ry ? rx : ry) * 0.25f;
}

// The change of s and t from one end of the line to the other, over that
// end's q, per pixel of the line's length. The ends' own coordinates do not
// enter, so an offset added to s changes nothing.
GLfloat __glComputeLineRho(GlContext *gc, GLfloat, GLfloat, GLfloat q) {
  const GlVertex &v0 = *gc->line.vertexA, &v1 = *gc->line.vertexB;
  const GlTextureLevel *base = gc->texture.current->levels[0];
  const GLfloat dx = v1.window.x - v0.window.x, dy = v1.window.y - v0.window.y;
  const GLfloat invLength = 1.0f / sqrtf(dx * dx + dy * dy);
  const GLfloat k = invLength * invLength;
  const GLfloat iq = 1.0f / q;
  const GLfloat ds = (v1.texture.x - v0.texture.x) * iq;
  const GLfloat dt = (v1.texture.y - v0.texture.y) * iq;
  const GLfloat ux = base->width2f * (dx * k * ds), uy = base->width2f * (dy * k * ds);
  const GLfloat vx = base->height2f * (dx * k * dt), vy = base->height2f * (dy * k * dt);
  const GLfloat p = ux * dx + uy * dy, r = vy * dy + vx * dx;
  return (p * p + r * r) * k;
}
