// The derived material state of each face: the scene colour, the specular
// table, the lit alpha, the index differences, the per-light products and
// the front base colour that generated vertex lighting starts from.
#include "core/context.h"
#include "geometry/s_color.h"
#include "geometry/s_light_derive.h"
#include "geometry/s_light_table.h"
#include "geometry/s_lighting.h"

namespace {

constexpr uint32_t kLightColors =
    __GL_MATERIAL_AMBIENT | __GL_MATERIAL_DIFFUSE | __GL_MATERIAL_SPECULAR;

GlRGB Product(const GlColor &light, const GlColor &material) {
  return GlRGB{light.r * material.r, light.g * material.g, light.b * material.b};
}

}  // namespace

GlRGB __glSceneColor(const GlContext *gc, const GlMaterial *mat) {
  const GlColor &a = gc->state.light.model.ambient;
  return GlRGB{a.r * mat->ambient.r + mat->emissive.r, a.g * mat->ambient.g + mat->emissive.g,
               a.b * mat->ambient.b + mat->emissive.b};
}

GLfloat __glLitAlpha(const GlContext *gc, GLfloat diffuseAlpha) {
  const GLfloat scale = gc->constants.alphaScale;
  GLfloat a = diffuseAlpha * scale;
  if (!(a >= 0.0f)) return 0.0f;  // not a number too
  return a > scale ? scale : a;
}

void __glUpdateLightProducts(GlContext *gc, int32_t face, const GlMaterial *mat, uint32_t mask) {
  if (!(mask & kLightColors)) return;
  for (GlLightCache *lc = gc->light.sources; lc; lc = lc->next) {
    const GlLight &l = *lc->source;
    GlLightFaceProducts &p = lc->face[face];
    if (mask & __GL_MATERIAL_AMBIENT) p.ambient = Product(l.ambient, mat->ambient);
    if (mask & __GL_MATERIAL_DIFFUSE) p.diffuse = Product(l.diffuse, mat->diffuse);
    if (mask & __GL_MATERIAL_SPECULAR) p.specular = Product(l.specular, mat->specular);
  }
}

void __glUpdateBaseColor(GlContext *gc) {
  GlLightMachine &lm = gc->light;
  const GlRGB &scene = lm.materialCache[__GL_FRONTFACE].sceneColor;
  GlColor sum = {scene.r, scene.g, scene.b, 0.0f};
  for (const GlLightCache *lc = lm.sources; lc; lc = lc->next) {
    const GlRGB &a = lc->face[__GL_FRONTFACE].ambient;
    sum.r += a.r, sum.g += a.g, sum.b += a.b;
  }
  __glClampScaledColorf(gc, &sum, &sum);
  lm.baseColor = GlRGB{sum.r, sum.g, sum.b};
}

void ComputeMaterialState(GlContext *gc, GlMaterial *mat, GlMaterialCache *cache, uint32_t mask) {
  // Specular alone feeds only the per-light products.
  if (!(mask & (__GL_MATERIAL_ALL & ~__GL_MATERIAL_SPECULAR))) return;
  if (cache->specLut == nullptr || cache->specularExponent != mat->specularExponent) {
    if (__glTakeSpecTable(gc, mat->specularExponent, &cache->specLut, &cache->specTable,
                          &cache->threshold, &cache->scale))
      cache->specularExponent = mat->specularExponent;
  }
  if (mask & (__GL_MATERIAL_AMBIENT | __GL_MATERIAL_EMISSIVE))
    cache->sceneColor = __glSceneColor(gc, mat);
  if (mask & __GL_MATERIAL_DIFFUSE) cache->alpha = __glLitAlpha(gc, mat->diffuse.a);
  if (mask & __GL_MATERIAL_COLORINDEXES) {
    cache->ddsIndex[0] = mat->cmapd - mat->cmapa;
    cache->ddsIndex[1] = mat->cmaps - mat->cmapa;
  }
}

void ComputeLightMaterialState(GlContext *gc, uint32_t frontMask, uint32_t backMask) {
  if (!((frontMask | backMask) & (kLightColors | __GL_MATERIAL_EMISSIVE))) return;
  const GlLightState &ls = gc->state.light;
  __glUpdateLightProducts(gc, __GL_FRONTFACE, &ls.front, frontMask);
  __glUpdateLightProducts(gc, __GL_BACKFACE, &ls.back, backMask);
  if (frontMask & (__GL_MATERIAL_AMBIENT | __GL_MATERIAL_EMISSIVE)) __glUpdateBaseColor(gc);
}

void ComputeIndexMaterialState(GlContext *gc, uint32_t frontMask, uint32_t backMask) {
  (void)frontMask, (void)backMask;  // the sources follow the enables, not the change
  GlLightState &ls = gc->state.light;
  GlMaterialCache *caches = gc->light.materialCache;
  GLfloat *frontSource = &ls.front.indexOffset, *backSource = &ls.back.indexOffset;
  if (gc->state.enables.general & __GL_INDEX_MATERIAL_ENABLE) {
    const GLenum face = ls.indexMaterialFace;
    if (face == GL_FRONT || face == GL_FRONT_AND_BACK) frontSource = &gc->state.current.index;
    if (face == GL_BACK || face == GL_FRONT_AND_BACK) backSource = &gc->state.current.index;
  }
  caches[__GL_FRONTFACE].indexOffsetSource = frontSource;
  caches[__GL_BACKFACE].indexOffsetSource = backSource;
}

void __glValidateMaterial(GlContext *gc, uint32_t frontMask, uint32_t backMask) {
  GlLightState &ls = gc->state.light;
  GlMaterialCache *caches = gc->light.materialCache;
  ComputeMaterialState(gc, &ls.front, &caches[__GL_FRONTFACE], frontMask);
  ComputeMaterialState(gc, &ls.back, &caches[__GL_BACKFACE], backMask);
  ComputeLightMaterialState(gc, frontMask, backMask);
  ComputeIndexMaterialState(gc, frontMask, backMask);
  // glMaterial marks nothing, yet an index shift or offset decides between
  // the colour-index procedures: choose again now.
  if (gc->modes.colorIndexMode && ((frontMask | backMask) & __GL_MATERIAL_COLORINDEXES))
    ComputeLightProcs(gc);
}
