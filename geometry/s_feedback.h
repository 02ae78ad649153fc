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

struct GlContext;
struct GlVertex;

// Writes one value, or sets overflow when the buffer is full.
void __glFeedbackTag(GlContext *gc, GLfloat value);
// The render procedures GL_FEEDBACK mode installs; the triangle is fastcall (GLFASTCALL).
void __glFeedbackPoint(GlContext *gc, GlVertex *v);
void __glFeedbackLine(GlContext *gc, GlVertex *a, GlVertex *b);
void __attribute__((fastcall)) __glFeedbackTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
// The records of glBitmap, glDrawPixels and glCopyPixels: the token, then
// the raster position.
void __glFeedbackBitmap(GlContext *gc, GlVertex *rasterPos);
void __glFeedbackDrawPixels(GlContext *gc, GlVertex *rasterPos);
void __glFeedbackCopyPixels(GlContext *gc, GlVertex *rasterPos);
