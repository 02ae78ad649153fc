// Colour material: what procs.applyColor does with the current colour, and
// the picker that chooses it.
#include "core/context.h"
#include "core/s_nop.h"
#include "geometry/s_lighting.h"

namespace {

bool Lighting(const GlContext *gc) {
  return (gc->state.enables.general & __GL_LIGHTING_ENABLE) != 0;
}

void (*ChangeFor(GLenum mode))(GlContext *, GlMaterial *, GlMaterialCache *) {
  switch (mode) {
    case GL_EMISSION: return ChangeMaterialEmission;
    case GL_AMBIENT: return ChangeMaterialAmbient;
    case GL_DIFFUSE: return ChangeMaterialDiffuse;
    case GL_SPECULAR: return ChangeMaterialSpecular;
    default: return ChangeMaterialAmbientAndDiffuse;  // the only other mode glColorMaterial takes
  }
}

}  // namespace

// Vertices already given in this primitive are lit with the material they
// were given under.
void __glLightPendingVertices(GlContext *gc) {
  if (gc->beginMode == __GL_IN_BEGIN && gc->vertexBuffer.smoothNeeds != 0)
    gc->procs.matValidate(gc);
}

void __glClampAndScaleColor(GlContext *gc) {
  const GlConstants &k = gc->constants;
  const GlColor &c = gc->state.current.userColor;
  GlColor &out = gc->state.current.color;
  // Below 0 (or not a number) -> 0, above 1 -> the scale.
  auto scale = [](GLfloat v, GLfloat s) { return !(v >= 0.0f) ? 0.0f : v > 1.0f ? s : v * s; };
  out.r = scale(c.r, k.redScale);
  out.g = scale(c.g, k.greenScale);
  out.b = scale(c.b, k.blueScale);
  out.a = scale(c.a, k.alphaScale);
}

void __glChangeOneMaterialColor(GlContext *gc) {
  __glLightPendingVertices(gc);
  gc->procs.changeMaterial(gc, gc->light.cmTarget, gc->light.cmCacheTarget);
  if (!Lighting(gc)) __glClampAndScaleColor(gc);
}

void __glChangeBothMaterialColors(GlContext *gc) {
  __glLightPendingVertices(gc);
  GlLightState &ls = gc->state.light;
  GlMaterialCache *caches = gc->light.materialCache;
  gc->procs.changeMaterial(gc, &ls.front, &caches[__GL_FRONTFACE]);
  gc->procs.changeMaterial(gc, &ls.back, &caches[__GL_BACKFACE]);
  if (!Lighting(gc)) __glClampAndScaleColor(gc);
}

void __glGenericPickColorMaterialProcs(GlContext *gc) {
  GlProcs &p = gc->procs;
  if (gc->modes.colorIndexMode) {
    p.applyColor = __glNop1;
    return;
  }
  if (!(gc->state.enables.general & __GL_COLOR_MATERIAL_ENABLE)) {
    p.applyColor = Lighting(gc) ? __glNop1 : __glClampAndScaleColor;
    return;
  }
  GlLightState &ls = gc->state.light;
  GlLightMachine &lm = gc->light;
  switch (ls.colorMaterialFace) {
    case GL_FRONT:
      p.applyColor = __glChangeOneMaterialColor;
      lm.cmTarget = &ls.front;
      lm.cmCacheTarget = &lm.materialCache[__GL_FRONTFACE];
      break;
    case GL_BACK:
      p.applyColor = __glChangeOneMaterialColor;
      lm.cmTarget = &ls.back;
      lm.cmCacheTarget = &lm.materialCache[__GL_BACKFACE];
      break;
    default:  // GL_FRONT_AND_BACK
      p.applyColor = __glChangeBothMaterialColors;
      lm.cmTarget = nullptr;
      lm.cmCacheTarget = nullptr;
      break;
  }
  p.changeMaterial = ChangeFor(ls.colorMaterialParam);
}
