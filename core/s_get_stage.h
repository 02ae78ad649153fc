// The staging record of one glGet call: an array per source kind, each
// with its count. A pname stages into exactly one of them.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

struct GlContext;

#define __GL_GET_STAGE_SIZE 100

typedef struct GlGetStage {
  GLint ints[__GL_GET_STAGE_SIZE];
  GLfloat floats[__GL_GET_STAGE_SIZE];
  GLubyte bools[__GL_GET_STAGE_SIZE];
  GLfloat normalized[__GL_GET_STAGE_SIZE];
  GLfloat colors[__GL_GET_STAGE_SIZE];
  int32_t intCount, floatCount, boolCount, normalizedCount, colorCount;

  void Int(GLint v) { ints[intCount++] = v; }
  void Float(GLfloat v) { floats[floatCount++] = v; }
  void Bool(GLubyte v) { bools[boolCount++] = v; }
  void Normalized(GLfloat v) { normalized[normalizedCount++] = v; }
  void Color(GLfloat v) { colors[colorCount++] = v; }
} GlGetStage;

// Stages the pname's values when it is one of the rows that copy a stored
// field of the context; false for any other pname.
bool __glStageStoredField(const GlContext *gc, GLenum pname, GlGetStage *stage);
