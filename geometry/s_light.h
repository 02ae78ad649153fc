// Lights, materials and their derived caches. The setters store the API form
// (GlLight, GlMaterial in the state); lighting validation derives the caches.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/gl_defs.h"
#include "geometry/s_vertex.h"

struct GlSpecLUT;
struct GlSpecLUTCache;

typedef struct GlLight {
  GlColor ambient, diffuse, specular;  // scaled
  GlCoord position;                    // as given
  GlCoord positionEye;                 // w 0: directional
  GlCoord direction;                   // spot direction in eye coordinates
  GLfloat spotLightExponent;
  GLfloat spotLightCutOffAngle;
  GLfloat constantAttenuation, linearAttenuation, quadraticAttenuation;
} GlLight;

// The lighting routines and generated code read these records by offset.
static_assert(offsetof(GlLight, diffuse) == 16 && offsetof(GlLight, specular) == 32 &&
                  offsetof(GlLight, position) == 48 && offsetof(GlLight, positionEye) == 64 &&
                  offsetof(GlLight, direction) == 80 && offsetof(GlLight, spotLightExponent) == 96 &&
                  offsetof(GlLight, spotLightCutOffAngle) == 100 &&
                  offsetof(GlLight, constantAttenuation) == 104 &&
                  offsetof(GlLight, quadraticAttenuation) == 112 && sizeof(GlLight) == 116,
              "GlLight layout");

typedef struct GlMaterial {
  GlColor ambient, diffuse, specular;  // unscaled
  GlColor emissive;                    // scaled
  GLfloat specularExponent;
  // Kept ambient, specular, diffuse; GL_COLOR_INDEXES gives them as
  // ambient, diffuse, specular.
  GLfloat cmapa, cmaps, cmapd;
  GLfloat indexOffset, indexShift;
} GlMaterial;

static_assert(offsetof(GlMaterial, diffuse) == 16 && offsetof(GlMaterial, specular) == 32 &&
                  offsetof(GlMaterial, emissive) == 48 &&
                  offsetof(GlMaterial, specularExponent) == 64 && offsetof(GlMaterial, cmapa) == 68 &&
                  offsetof(GlMaterial, cmaps) == 72 && offsetof(GlMaterial, cmapd) == 76 &&
                  offsetof(GlMaterial, indexOffset) == 80 && offsetof(GlMaterial, indexShift) == 84 &&
                  sizeof(GlMaterial) == 88,
              "GlMaterial layout");

typedef struct GlRGB {
  GLfloat r, g, b;
} GlRGB;

typedef struct GlLightFaceProducts {
  GlRGB ambient, diffuse, specular;
} GlLightFaceProducts;

typedef struct GlLightCache {
  GlLightFaceProducts face[2];  // front, back: a face index picks the group
  GlLight *source;
  GLfloat constantAttenuation, linearAttenuation, quadraticAttenuation;
  GLfloat spotLightExponent;
  GlCoord position;   // eye coordinates
  GLfloat direction[3];  // unit spot direction
  GLfloat cosCutOffAngle;
  GLfloat attenuation;  // 1 / constant attenuation, when that is not 0
  uint8_t isSpot;
  GlCoord hHat;     // half vector of the fast case
  GlCoord unitVPpli;  // unit direction to the light, fast case
  GlCoord hHatObj;
  GlCoord unitVPpliObj;
  GLfloat sli, dli;  // specular and diffuse luminance (colour index)
  struct GlLightCache *next;
  GLfloat *spotTable;
  GLfloat spotThreshold, spotScale;
  GlSpecLUT *spotLut;
  uint8_t slowPath;
} GlLightCache;

// Generated vertex lighting walks the list and reads products, vectors and
// tables by these offsets; a face index times 36 picks the product group.
static_assert(sizeof(GlLightFaceProducts) == 36, "products of one face");
static_assert(offsetof(GlLightCache, face[1]) == 36 && offsetof(GlLightCache, source) == 72 &&
                  offsetof(GlLightCache, constantAttenuation) == 76 &&
                  offsetof(GlLightCache, quadraticAttenuation) == 84 &&
                  offsetof(GlLightCache, spotLightExponent) == 88 &&
                  offsetof(GlLightCache, position) == 92 && offsetof(GlLightCache, direction) == 108 &&
                  offsetof(GlLightCache, cosCutOffAngle) == 120 &&
                  offsetof(GlLightCache, attenuation) == 124 && offsetof(GlLightCache, isSpot) == 128 &&
                  offsetof(GlLightCache, hHat) == 132 && offsetof(GlLightCache, unitVPpli) == 148 &&
                  offsetof(GlLightCache, hHatObj) == 164 &&
                  offsetof(GlLightCache, unitVPpliObj) == 180 && offsetof(GlLightCache, sli) == 196 &&
                  offsetof(GlLightCache, dli) == 200 && offsetof(GlLightCache, next) == 204 &&
                  offsetof(GlLightCache, spotTable) == 208 &&
                  offsetof(GlLightCache, spotThreshold) == 212 &&
                  offsetof(GlLightCache, spotScale) == 216 && offsetof(GlLightCache, spotLut) == 220 &&
                  offsetof(GlLightCache, slowPath) == 224 && sizeof(GlLightCache) == 228,
              "GlLightCache layout");

typedef struct GlMaterialCache {
  GlRGB sceneColor;
  GLfloat specularExponent;
  GLfloat *specTable;
  GLfloat threshold, scale;
  GlSpecLUT *specLut;
  GLfloat alpha;
  GLfloat ddsIndex[2];  // diffuse - ambient, specular - ambient
  GLfloat *indexOffsetSource;
} GlMaterialCache;

static_assert(offsetof(GlMaterialCache, specularExponent) == 12 &&
                  offsetof(GlMaterialCache, specTable) == 16 &&
                  offsetof(GlMaterialCache, threshold) == 20 && offsetof(GlMaterialCache, scale) == 24 &&
                  offsetof(GlMaterialCache, specLut) == 28 && offsetof(GlMaterialCache, alpha) == 32 &&
                  offsetof(GlMaterialCache, ddsIndex) == 36 &&
                  offsetof(GlMaterialCache, indexOffsetSource) == 44 &&
                  sizeof(GlMaterialCache) == 48,
              "GlMaterialCache layout");

// Derived lighting words of the context (`gc->light`).
typedef struct GlLightMachine {
  GlLightCache *lightCaches;  // one per light, parallel to the lights
  GlMaterialCache materialCache[2];
  GlLightCache *sources;      // the enabled lights, chained
  GlMaterial *cmTarget;       // what colour material writes, or none
  GlMaterialCache *cmCacheTarget;
  GlRGB baseColor;            // front scene colour plus the enabled ambients
  GlSpecLUTCache *lutCache;
} GlLightMachine;

static_assert(offsetof(GlLightMachine, materialCache) == 4 &&
                  offsetof(GlLightMachine, sources) == 100 &&
                  offsetof(GlLightMachine, cmTarget) == 104 &&
                  offsetof(GlLightMachine, cmCacheTarget) == 108 &&
                  offsetof(GlLightMachine, baseColor) == 112 &&
                  offsetof(GlLightMachine, lutCache) == 124 && sizeof(GlLightMachine) == 128,
              "GlLightMachine layout");
