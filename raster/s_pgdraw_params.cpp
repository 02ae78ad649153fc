// Start values of a left edge: every enabled parameter at the centre of the
// first pixel, and what it gains per row when the edge takes its little or
// its big x step.
#include "core/context.h"
#include "core/gl_convert.h"
#include "raster/s_pgdraw.h"
#include "raster/s_triangle.h"

namespace {

constexpr GLfloat kFlatDivisor = 0.00001f;  // as in the offset depth
const GlColor kNoColor = {0, 0, 0, 0};

struct Steps {
  GLfloat dx, dy;  // vertex to the first pixel's centre
  GLfloat little;  // the left edge's x steps
  bool bigRight;   // the big step lies right of the little one
  void Start(GLfloat pv, GLfloat dpdx, GLfloat dpdy, GLfloat *p, GLfloat *pLittle,
             GLfloat *pBig) const {
    *p = pv + dpdx * dx + dpdy * dy;
    *pLittle = dpdx * little + dpdy;
    *pBig = bigRight ? *pLittle + dpdx : *pLittle - dpdx;
  }
};

}  // namespace

void SetInitialParameters(GlContext *gc, const GlVertex *v, const GlColor *color, GLfloat fog,
                          GLfloat rho, GLfloat dx, GLfloat dy) {
  GlShader &sh = gc->polygon.shader;
  const GlEdge &left = gc->polygon.edges.left;
  const uint32_t flags = sh.modeFlags;
  const GLfloat L = GLfloat(left.little);
  const Steps st = {dx, dy, L, GLfloat(left.big) > L};
  if (flags & __GL_SHADE_ITERATE_COLOR) {
    if (!color) color = &kNoColor;
    st.Start(color->r, sh.drdx, sh.drdy, &sh.r, &sh.rLittle, &sh.rBig);
    if (flags & __GL_SHADE_RGB) {
      st.Start(color->g, sh.dgdx, sh.dgdy, &sh.g, &sh.gLittle, &sh.gBig);
      st.Start(color->b, sh.dbdx, sh.dbdy, &sh.b, &sh.bLittle, &sh.bBig);
      st.Start(color->a, sh.dadx, sh.dady, &sh.a, &sh.aLittle, &sh.aBig);
    }
  }
  if (flags & __GL_SHADE_TEXTURE) {
    GLfloat s = v->texture.x, t = v->texture.y, q = v->texture.w;
    if ((flags & __GL_SHADE_PERSPECTIVE) && !(flags & __GL_SHADE_TEX_DIVIDED)) {
      s *= v->window.w;
      t *= v->window.w;
      q *= v->window.w;
    }
    st.Start(s, sh.dsdx, sh.dsdy, &sh.s, &sh.sLittle, &sh.sBig);
    st.Start(t, sh.dtdx, sh.dtdy, &sh.t, &sh.tLittle, &sh.tBig);
    st.Start(q, sh.dqdx, sh.dqdy, &sh.q, &sh.qLittle, &sh.qBig);
    st.Start(rho, sh.drhodx, sh.drhody, &sh.rho, &sh.rhoLittle, &sh.rhoBig);
  }
  if (flags & __GL_SHADE_DEPTH_ITER) {
    const GLfloat zLittle = sh.dzdxFloat * L + sh.dzdyFloat;
    const GLfloat zBig = st.bigRight ? zLittle + sh.dzdxFloat : zLittle - sh.dzdxFloat;
    sh.zLittle = DepthStep(zLittle);
    sh.zBig = DepthStep(zBig);
    sh.offsetZLittle = DepthStepValue(zLittle);
    sh.offsetZBig = DepthStepValue(zBig);
    if (gc->state.enables.general & __GL_POLYGON_OFFSET_FILL_ENABLE) {
      sh.z = uint32_t(__glPolygonOffsetZ(gc, v, dx, dy));
      const GLfloat divisor = sh.dzdxFloat != 0 ? sh.dzdxFloat : kFlatDivisor;
      sh.offsetRangeEndBig = -sh.offsetZBig / divisor;
      sh.offsetRangeEndLittle = -sh.offsetZLittle / divisor;
    } else {
      // The first pixel may lie outside the triangle (its row starts beside a
      // sharp corner), where the plane runs below 0 or past the top: keep the
      // value's low 32 bits, as the steps do, so they bring it back in range.
      const GLfloat z = v->window.z + sh.dzdxFloat * dx + sh.dzdyFloat * dy;
      sh.z = uint32_t(DepthStep(z));
    }
  }
  if (flags & __GL_SHADE_FRAGMENT_FOG) st.Start(fog, sh.dfdx, sh.dfdy, &sh.fog, &sh.fogLittle, &sh.fogBig);
}
