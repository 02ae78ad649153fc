// The read-only tables of the vertex arrays: packed strides, format-word
// type codes, the entry and converter of every allowed array, size and
// type, and the interleaved formats.
#pragma once

#include <stdint.h>

#include "geometry/s_varray.h"

#define __GL_VARRAY_TYPES 11  // GL_BYTE .. GL_DOUBLE

// Bytes per element by [type - GL_BYTE][size]; 0 for the GL_n_BYTES types.
extern const uint8_t __glVarrayStrides[__GL_VARRAY_TYPES][5];
// The format-word type code by [type - GL_BYTE].
extern const uint8_t type_flag_table[__GL_VARRAY_TYPES];

// One allowed array form: the immediate entry glArrayElement calls and the
// converter compiles use. Both empty where the form is not allowed.
typedef struct GlArrayForm {
  GlArrayImmediateProc immediate;
  GlArrayCopyProc copy;
} GlArrayForm;

typedef GlArrayForm GlArrayForms[__GL_VARRAY_TYPES][5];
extern const GlArrayForms vertex_funcs, normal_funcs, color_funcs, index_funcs, tex_coord_funcs;

// The edge-flag array has one form.
extern const GlArrayForm __glEdgeFlagForm;

// One glInterleavedArrays format: enable bytes, sizes, colour type, byte
// offsets and the packed stride.
typedef struct GlInterleavedFormat {
  uint8_t texCoordOn, colorOn, indexOn, normalOn;
  int32_t texCoordSize, colorSize, vertexSize;
  GLenum colorType;
  int32_t colorOffset, indexOffset, normalOffset, vertexOffset;
  int32_t stride;
} GlInterleavedFormat;

static_assert(sizeof(GlInterleavedFormat) == 40, "ten words per row");

#define __GL_INTERLEAVED_FORMATS 22
extern const GlInterleavedFormat interleavedFormats[__GL_INTERLEAVED_FORMATS];
