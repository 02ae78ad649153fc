// Lighting validation: the derived light and material caches, the choice of
// the per-vertex colour procedures and colour material.
#pragma once

#include <stdint.h>

#include "geometry/s_light.h"

struct GlContext;

// Bits of the material change masks (one word per face).
#define __GL_MATERIAL_AMBIENT 0x1u
#define __GL_MATERIAL_DIFFUSE 0x2u
#define __GL_MATERIAL_SPECULAR 0x4u
#define __GL_MATERIAL_EMISSIVE 0x8u
#define __GL_MATERIAL_SHININESS 0x10u
#define __GL_MATERIAL_COLORINDEXES 0x20u  // indexes, index shift or index offset
#define __GL_MATERIAL_ALL 0x3Fu

// Called by validation when lighting, material or texture state is dirty.
void __glValidateLighting(GlContext *gc);
// Called by validation when the modelview matrix changed.
void __glValidateLightingModelView(GlContext *gc);
// Rebuilds the derived material state of the faces the masks touch.
void __glValidateMaterial(GlContext *gc, uint32_t frontMask, uint32_t backMask);
// Its steps, in the order it runs them: each face's own cache, the
// per-light products and the front base colour, the index offset sources.
void ComputeMaterialState(GlContext *gc, GlMaterial *mat, GlMaterialCache *cache, uint32_t mask);
void ComputeLightMaterialState(GlContext *gc, uint32_t frontMask, uint32_t backMask);
void ComputeIndexMaterialState(GlContext *gc, uint32_t frontMask, uint32_t backMask);
// Chooses procs.calcColor, calcLitColor and calcRasterPosColor.
void ComputeLightProcs(GlContext *gc);
void ComputeLightState(GlContext *gc);
// The pickColorMaterialProcs picker: procs.applyColor and changeMaterial.
void __glGenericPickColorMaterialProcs(GlContext *gc);

// Before a material change between glBegin and glEnd: lights the vertices
// already given with the material in force.
void __glLightPendingVertices(GlContext *gc);

// Members of procs.applyColor.
void __glChangeOneMaterialColor(GlContext *gc);
void __glChangeBothMaterialColors(GlContext *gc);
void __glClampAndScaleColor(GlContext *gc);
// Members of procs.changeMaterial.
void ChangeMaterialEmission(GlContext *gc, GlMaterial *mat, GlMaterialCache *cache);
void ChangeMaterialAmbient(GlContext *gc, GlMaterial *mat, GlMaterialCache *cache);
void ChangeMaterialDiffuse(GlContext *gc, GlMaterial *mat, GlMaterialCache *cache);
void ChangeMaterialSpecular(GlContext *gc, GlMaterial *mat, GlMaterialCache *cache);
void ChangeMaterialAmbientAndDiffuse(GlContext *gc, GlMaterial *mat, GlMaterialCache *cache);
