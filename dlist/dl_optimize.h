// The list optimiser, run by glEndList before the compiler: it folds every
// run of material ops into one FastMaterial op that writes the material
// straight into the context and validates it once.
//
// FastMaterial data, 32-bit words: zero, one or two entries (front first),
// then a 0 word. An entry: face (GL_FRONT or GL_BACK), change mask, then by
// mask bit: 0x1 ambient, 0x2 diffuse, 0x4 specular, 0x8 emission (4 floats
// each, unscaled), 0x10 shininess and the specular table built for it (owned
// by the op), 0x20 the three colour-index slots in the material's order.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"
#include "dlist/dl_state.h"
#include "geometry/s_vertex.h"

struct GlContext;
struct GlSpecLUT;

// One face's changes over a run of material ops.
typedef struct GlMatChange {
  GLenum face;
  uint32_t mask;  // __GL_MATERIAL_ bits
  GlColor ambient, diffuse, specular, emission;
  GLfloat shininess;
  GLfloat colorIndexes[3];  // the material's cmapa, cmaps, cmapd
} GlMatChange;

// The optimizer of every context: the material runs.
void __glGenericDlistOptimizer(GlContext *gc, GlDlistRecord *list);
// Nothing unless the list holds material ops (contents flag 0x100). When
// memory for an op or a specular table runs out, the runs left keep their
// plain ops, which give the same result.
void __glDlistOptimizeMaterial(GlContext *gc, GlDlistRecord *list);
// Folds one material parameter into a face's changes; a later change of the
// same parameter wins. Other pnames change nothing.
void ApplyMatChange(GlContext *gc, GlMatChange *change, GLenum pname, const GLfloat *values);
// The FastMaterial op's free procedure: gives back its specular tables.
void FreeFastMaterial(GlContext *gc, void *data);

// Words of a FastMaterial entry with this change mask, face and mask
// included.
inline uint32_t __glMatEntryWords(uint32_t mask) {
  uint32_t words = 2;
  for (uint32_t bit = 0x1; bit <= 0x8; bit <<= 1)
    if (mask & bit) words += 4;
  if (mask & 0x10) words += 2;
  if (mask & 0x20) words += 3;
  return words;
}
