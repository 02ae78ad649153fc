// Lighting validation: the list of enabled lights with their derived
// caches, and the object-space vectors the generated vertex code reads.
#include <math.h>

#include "core/context.h"
#include "geometry/s_light_table.h"
#include "geometry/s_lighting.h"
#include "geometry/s_xform.h"

namespace {

// Degrees to radians as a single, the factor the cutoff cosine has always used.
constexpr GLfloat kDegreesToRadians = 0.017453292f;

// Colour-index lighting weighs indexes by these luminances, which must
// therefore run from 0 to 1 like the light's colour as given: the stored
// colour is scaled, so each component is unscaled first.
GLfloat Luminance(const GlConstants &k, const GlColor &c) {
  return 0.59f * (c.g * k.oneOverGreenScale) + 0.11f * (c.b * k.oneOverBlueScale) +
         0.3f * (c.r * k.oneOverRedScale);
}

void ComputeOneLight(GlContext *gc, GlLightCache *lc, GlLight *l) {
  lc->source = l;
  lc->position = l->positionEye;

  lc->isSpot = l->spotLightCutOffAngle != 180.0f;
  if (lc->isSpot) {
    lc->cosCutOffAngle = GLfloat(cos(double(l->spotLightCutOffAngle * kDegreesToRadians)));
    // A light without spot keeps whatever table it held.
    if (lc->spotLut == nullptr || lc->spotLightExponent != l->spotLightExponent) {
      if (__glTakeSpecTable(gc, l->spotLightExponent, &lc->spotLut, &lc->spotTable,
                            &lc->spotThreshold, &lc->spotScale))
        lc->spotLightExponent = l->spotLightExponent;
    }
  }

  lc->constantAttenuation = l->constantAttenuation;
  lc->linearAttenuation = l->linearAttenuation;
  lc->quadraticAttenuation = l->quadraticAttenuation;
  if (l->constantAttenuation != 0.0f) lc->attenuation = 1.0f / l->constantAttenuation;

  if (gc->modes.colorIndexMode) {
    lc->sli = Luminance(gc->constants, l->specular);
    lc->dli = Luminance(gc->constants, l->diffuse);
  }

  // A directional light without spot under an infinite viewer has one
  // direction and one half vector for every vertex.
  if (!gc->state.light.model.localViewer && !lc->isSpot && l->positionEye.w == 0.0f) {
    GLfloat toLight[3];
    gc->procs.normalize(toLight, &l->positionEye.x);
    lc->unitVPpli = GlCoord{toLight[0], toLight[1], toLight[2], 0.0f};
    toLight[2] += 1.0f;
    GLfloat half[3];
    gc->procs.normalize(half, toLight);
    lc->hHat = GlCoord{half[0], half[1], half[2], 0.0f};
    lc->slowPath = 0;
  } else {
    lc->slowPath = 1;
  }
}

}  // namespace

void ComputeLightState(GlContext *gc) {
  GlLightMachine &lm = gc->light;
  const uint32_t enabled = gc->state.enables.lights;
  GlLightCache **link = &lm.sources;
  // The enable word has one bit per light.
  const int32_t count = gc->constants.numberOfLights < 32 ? gc->constants.numberOfLights : 32;
  for (int32_t i = 0; i < count; i++) {
    if (!(enabled & (1u << i))) continue;
    GlLightCache *lc = &lm.lightCaches[i];
    *link = lc;
    link = &lc->next;
    ComputeOneLight(gc, lc, &gc->state.light.source[i]);
  }
  *link = nullptr;
}

void __glValidateLightingModelView(GlContext *gc) {
  if (!(gc->state.enables.general & __GL_LIGHTING_ENABLE)) return;
  GlTransform *tr = gc->transform.modelView;
  if (tr->stale) gc->procs.computeInverseTranspose(gc, tr);
  // A row vector times the inverse transpose: the modelview's inverse.
  for (GlLightCache *lc = gc->light.sources; lc; lc = lc->next) {
    GlCoord toLight = {lc->unitVPpli.x, lc->unitVPpli.y, lc->unitVPpli.z, 0.0f};
    GlCoord half = {lc->hHat.x, lc->hHat.y, lc->hHat.z, 0.0f};
    __glXForm4_PreMultiply(&lc->unitVPpliObj, &toLight, &tr->inverseTranspose);
    __glXForm4_PreMultiply(&lc->hHatObj, &half, &tr->inverseTranspose);
  }
}

void __glValidateLighting(GlContext *gc) {
  if (gc->dirtyMask & __GL_DIRTY_LIGHTING) {
    ComputeLightState(gc);
    ComputeLightProcs(gc);
    __glValidateLightingModelView(gc);
    __glValidateMaterial(gc, __GL_MATERIAL_ALL, __GL_MATERIAL_ALL);
  } else {
    // The choice also follows fog, shading, render mode and the processor.
    ComputeLightProcs(gc);
    // The index-material enable marks only the generic bit, yet it decides
    // where the index offset of lighting comes from.
    ComputeIndexMaterialState(gc, 0, 0);
  }
}
