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
