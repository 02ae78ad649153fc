// Running lists by name: glCallList, glCallLists and the ops that call
// lists when a list runs.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

struct GlContext;

// Calls nest at most this deep; the call that finds the limit stores
// GL_DLIST_NESTING_HIT, so every further list call of the outermost call is
// skipped until it resets the count.
#define GL_DLIST_MAX_NESTING 64
#define GL_DLIST_NESTING_HIT 128
// Names per glCallLists batch: resolved and locked in one pass.
#define GL_DLIST_CALL_BATCH 256

// Bytes per name of the glCallLists types, indexed by type - GL_BYTE.
extern const int8_t __GLdlsize_tab[10];
// The bytes of one name of `type`; -1 for a type glCallLists refuses.
inline int32_t __glCallListsNameSize(GLenum type) {
  GLenum index = type - GL_BYTE;
  return index < 10 ? __GLdlsize_tab[index] : -1;
}

// Runs the list bound to `name` (nothing when none), one level deeper.
void DoCallList(GlContext *gc, GLuint name);
// Runs the lists of n names of `type` (a valid one), each plus the list base.
void DoCallLists(GlContext *gc, GLsizei n, GLenum type, const GLvoid *lists);
