// The colour-material patches: the current colour becomes one material
// colour of one face, and only the derived values that colour feeds are
// recomputed, the same way full material validation computes them.
#include "core/context.h"
#include "geometry/s_color.h"
#include "geometry/s_light_derive.h"
#include "geometry/s_lighting.h"

namespace {

int32_t FaceOf(GlContext *gc, const GlMaterialCache *cache) {
  return cache == &gc->light.materialCache[__GL_BACKFACE] ? __GL_BACKFACE : __GL_FRONTFACE;
}

const GlColor &Current(const GlContext *gc) { return gc->state.current.userColor; }

void PatchScene(GlContext *gc, const GlMaterial *mat, GlMaterialCache *cache) {
  cache->sceneColor = __glSceneColor(gc, mat);
}

// Only the front face has a base colour; it is built on the scene colour
// and the ambient products.
void PatchBase(GlContext *gc, int32_t face) {
  if (face == __GL_FRONTFACE) __glUpdateBaseColor(gc);
}

}  // namespace

void ChangeMaterialEmission(GlContext *gc, GlMaterial *mat, GlMaterialCache *cache) {
  __glScaleColorf(gc, &mat->emissive, &Current(gc));
  PatchScene(gc, mat, cache);
  PatchBase(gc, FaceOf(gc, cache));
}

void ChangeMaterialAmbient(GlContext *gc, GlMaterial *mat, GlMaterialCache *cache) {
  const int32_t face = FaceOf(gc, cache);
  mat->ambient = Current(gc);
  PatchScene(gc, mat, cache);
  __glUpdateLightProducts(gc, face, mat, __GL_MATERIAL_AMBIENT);
  PatchBase(gc, face);
}

void ChangeMaterialDiffuse(GlContext *gc, GlMaterial *mat, GlMaterialCache *cache) {
  mat->diffuse = Current(gc);
  cache->alpha = __glLitAlpha(gc, mat->diffuse.a);
  __glUpdateLightProducts(gc, FaceOf(gc, cache), mat, __GL_MATERIAL_DIFFUSE);
}

void ChangeMaterialSpecular(GlContext *gc, GlMaterial *mat, GlMaterialCache *cache) {
  mat->specular = Current(gc);
  __glUpdateLightProducts(gc, FaceOf(gc, cache), mat, __GL_MATERIAL_SPECULAR);
}

void ChangeMaterialAmbientAndDiffuse(GlContext *gc, GlMaterial *mat, GlMaterialCache *cache) {
  const int32_t face = FaceOf(gc, cache);
  mat->ambient = Current(gc);
  mat->diffuse = Current(gc);
  PatchScene(gc, mat, cache);
  cache->alpha = __glLitAlpha(gc, mat->diffuse.a);
  __glUpdateLightProducts(gc, face, mat, __GL_MATERIAL_AMBIENT | __GL_MATERIAL_DIFFUSE);
  PatchBase(gc, face);
}
