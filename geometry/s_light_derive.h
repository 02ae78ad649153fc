// Steps of the derived material state that full validation and the
// colour-material patches share, so that both give the same values.
#pragma once

#include <stdint.h>

#include "geometry/s_light.h"

struct GlContext;

// Light-model ambient x material ambient + emission.
GlRGB __glSceneColor(const GlContext *gc, const GlMaterial *mat);
// The alpha of every lit colour of a face: diffuse alpha x alpha scale,
// clamped to [0, alpha scale].
GLfloat __glLitAlpha(const GlContext *gc, GLfloat diffuseAlpha);
// Light colour x material colour of one face (0 front, 1 back) for every
// enabled light, for the ambient, diffuse and specular bits of mask.
void __glUpdateLightProducts(GlContext *gc, int32_t face, const GlMaterial *mat, uint32_t mask);
// The front base colour: the front scene colour plus the front ambient
// product of every enabled light, clamped to [0, scale].
void __glUpdateBaseColor(GlContext *gc);
