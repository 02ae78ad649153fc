// Lights, materials and their derived caches. The setters store the API form
// (GlLight, GlMaterial in the state); lighting validation derives the caches.
#pragma once

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

typedef struct GlMaterial {
  GlColor ambient, diffuse, specular;  // unscaled
  GlColor emissive;                    // scaled
  GLfloat specularExponent;
  // Kept ambient, specular, diffuse; GL_COLOR_INDEXES gives them as
  // ambient, diffuse, specular.
  GLfloat cmapa, cmaps, cmapd;
  GLfloat indexOffset, indexShift;
} GlMaterial;

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
