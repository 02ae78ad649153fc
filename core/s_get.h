// The state queries' shared engine: glGetBooleanv, glGetIntegerv,
// glGetFloatv and glGetDoublev stage a pname's values in the array of their
// natural kind and convert them once into the caller's type; the object
// queries use the same conversion.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

struct GlContext;

// The caller's type.
#define __GL_FLOAT32 1
#define __GL_FLOAT64 2
#define __GL_INT32 3
#define __GL_BOOLEAN 4

// How staged values are read and converted. Codes 1 and 2 are reserved:
// nothing converts from them.
#define __GL_FLOAT 0
#define __GL_INT 3
#define __GL_BOOL 4
#define __GL_NORMALIZED 5    // a float in [-1, 1] spread over the integer range
#define __GL_SCALED_COLOR 6  // four floats at the colour scales: unscaled first

// Writes `count` values of `source` (of kind sourceKind) into `result` as
// resultType (a scaled colour always writes four, except to GLboolean).
// An unknown kind or type writes nothing.
void __glConvertResult(GlContext *gc, int32_t sourceKind, const void *source, int32_t resultType,
                       void *result, int32_t count);

// The engine of the four glGet entries.
void __glDoGet(GLenum pname, void *result, int32_t resultType);

// float to GLint as the queries round: half away from zero, the sum in
// single precision; saturating, NaN 0.
int32_t __glRoundQueryToInt(GLfloat v);
// A value in [-1, 1] to GLint: floor(v x uIntMax / 2); saturating, NaN 0.
int32_t __glNormalizedToInt(const GlContext *gc, GLfloat v);

// glIsEnabled's answer for a capability, without recording anything; false
// when `cap` is no capability of the context.
bool __glLookUpEnable(const GlContext *gc, GLenum cap, GLboolean *on);
