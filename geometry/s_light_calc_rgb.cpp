// The portable RGBA lighting procedures, in single precision.
#include "geometry/s_light_calc.h"
#include "geometry/s_light_calc_rgba.h"

using namespace light_rules;

void __glFastCalcRGBColor(GlContext *gc, GLint face, GlVertex *v) {
  const GlMaterial &m = FaceMaterial(gc, face);
  const GlMaterialCache &mc = gc->light.materialCache[face];
  GLfloat n[3];
  FaceNormal(n, v, face);
  GLfloat c[3] = {mc.sceneColor.r, mc.sceneColor.g, mc.sceneColor.b};
  for (const GlLightCache *lc = gc->light.sources; lc; lc = lc->next)
    AddFastLight<GLfloat, IndexRounding::kAddHalf>(c, lc, m, mc, n);
  StoreRGBA(gc, &v->colors[face], c, mc.alpha);
}

void __glCalcRGBColor(GlContext *gc, GLint face, GlVertex *v) {
  CalcRGBColor<GLfloat, IndexRounding::kAddHalf, true>(gc, face, v);
}
