// An enum-valued parameter of a texture setter given as float, double or
// integer: the float forms truncate toward zero.
#pragma once

#include "core/gl_convert.h"
#include "core/gl_defs.h"

inline GLenum __glParamToEnum(GLdouble v) { return GLenum(__glTruncateToInt(v)); }
inline GLenum __glParamToEnum(GLfloat v) { return GLenum(__glTruncateToInt(v)); }
inline GLenum __glParamToEnum(GLint v) { return GLenum(v); }
