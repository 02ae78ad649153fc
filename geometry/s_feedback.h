// Feedback state of a context: where GL_FEEDBACK mode writes its records.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

typedef struct GlFeedbackState {
  uint8_t overflow;  // the buffer ran full: nothing more is written
  GLfloat *buffer;   // the application's buffer (glFeedbackBuffer)
  GLfloat *cursor;   // next free value
  int32_t size;      // in floats
  GLenum type;       // GL_2D .. GL_4D_COLOR_TEXTURE
} GlFeedbackState;
