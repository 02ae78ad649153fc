// Selection state of a context: the name stack and where GL_SELECT mode
// writes its hit records.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

typedef struct GlSelectState {
  uint8_t hit;         // a hit record for the current name stack is open
  GLuint *stack;       // base of the name stack
  GLuint *sp;          // next free name slot; depth = sp - stack
  uint8_t overflow;    // the buffer ran full: no more words are written
  GLuint *buffer;      // the application's buffer (glSelectBuffer)
  GLuint *cursor;      // next free word
  int32_t bufferSize;  // in words
  int32_t hits;        // hit records begun
  GLuint *z;           // zmin word of the open record (zmax follows)
} GlSelectState;

struct GlContext;
struct GlVertex;

// One hit at window z (the vertex pipeline's unit) for the current name
// stack: opens a record or widens the open one's depth range.
void __glSelectHit(GlContext *gc, GLfloat z);
// The render procedures GL_SELECT mode installs; the triangle is fastcall (GLFASTCALL).
void __glSelectPoint(GlContext *gc, GlVertex *v);
void __glSelectLine(GlContext *gc, GlVertex *a, GlVertex *b);
void __attribute__((fastcall)) __glSelectTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
