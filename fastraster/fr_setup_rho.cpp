// The level-of-detail group of the span record: the squared texel-space
// scale of a one-pixel step, times q, as a plane over the triangle.
#include "core/context.h"
#include "fastraster/fr_setup.h"

GLfloat GLFASTCALL __glFRComputePolygonRho(GlContext *gc, FrSpan *span, GLfloat s, GLfloat t,
                                           GLfloat q) {
  const GlTextureObject *tex = gc->texture.current;
  const GlTextureLevel *level = tex && tex->levels ? tex->levels[0] : nullptr;
  if (!level) return 0.0f;
  // Central differences: the change of s/q and t/q between the pixels one
  // step to either side.
  GLfloat before = 1.0f / (q - span->dqfdx), after = 1.0f / (q + span->dqfdx);
  GLfloat dudx = (s + span->dsfdx) * after - (s - span->dsfdx) * before;
  GLfloat dvdx = (t + span->dtfdx) * after - (t - span->dtfdx) * before;
  before = 1.0f / (q - span->dqfdy);
  after = 1.0f / (q + span->dqfdy);
  GLfloat dudy = (s + span->dsfdy) * after - (s - span->dsfdy) * before;
  GLfloat dvdy = (t + span->dtfdy) * after - (t - span->dtfdy) * before;
  dudx *= level->width2f;
  dudy *= level->width2f;
  dvdx *= level->height2f;
  dvdy *= level->height2f;
  const GLfloat x = dudx * dudx + dvdx * dvdx, y = dudy * dudy + dvdy * dvdy;
  // A quarter turns the two-pixel differences into one-pixel ones.
  return y < x ? 0.25f * x : 0.25f * y;
}

void GLFASTCALL __glFRSetupRho(GlContext *gc, FrSpan *span, GlVertex *a, GlVertex *b,
                               GlVertex *c, GLfloat dxAB, GLfloat dyAB, GLfloat dxAC,
                               GLfloat dyAC, GLfloat slopeAB, GLfloat dxA, GLfloat dyA) {
  const auto rhoTimesQ = [gc, span](const GlVertex *v) {
    const GlCoord &tc = v->texture;
    return __glFRComputePolygonRho(gc, span, tc.x, tc.y, tc.w) * tc.w;
  };
  const GLfloat rhoA = rhoTimesQ(a), rhoB = rhoTimesQ(b), rhoC = rhoTimesQ(c);
  const GLfloat dRhoAB = rhoB - rhoA, dRhoAC = rhoC - rhoA;
  const GLfloat drhodx = dRhoAC * dyAB - dRhoAB * dyAC;
  const GLfloat drhody = dRhoAB * dxAC - dRhoAC * dxAB;
  span->rhoEdge = rhoA + drhody * dyA + drhodx * dxA;
  span->drhodx = drhodx;
  // The row step takes the long edge's true step.
  const int32_t dxLong = span->direction < 0 ? -span->dxLong : span->dxLong;
  span->drhoEdge = GLfloat(dxLong) * drhodx + drhody;
  span->drhoEdgeCarry = slopeAB >= 0.0f ? span->drhoEdge + drhodx : span->drhoEdge - drhodx;
}
