// glDrawArrays, glDrawElements and their list-compile forms.
#include <stddef.h>

#include "core/gl_api.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "geometry/s_prim.h"
#include "geometry/s_varray_draw.h"
#include "geometry/s_varray_entries.h"
#include "core/current.h"

namespace {

// The Begin check and pending validation of a drawing command.
GlContext *ReadyToDraw() {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return nullptr;
  }
  if (gc->beginMode == __GL_VALIDATE_PENDING) {
    gc->procs.validate(gc);
    gc->beginMode = __GL_NOT_IN_BEGIN;
  }
  return gc;
}

bool ValidArguments(GLenum mode, GLint first, GLsizei count) {
  if (first < 0 || count < 0) {
    __glSetError(GL_INVALID_VALUE);
    return false;
  }
  if (mode > GL_POLYGON) {
    __glSetError(GL_INVALID_ENUM);
    return false;
  }
  return true;
}

// Whether every element of the draw lies in the locked range.
bool InLockedRange(const GlVertexArrayMachine &va, GLint first, GLsizei count,
                   const uint32_t *list) {
  const int64_t low = va.lockFirst, high = int64_t(va.lockFirst) + va.lockCount;
  if (!list) return first >= low && int64_t(first) + count <= high;
  for (GLsizei i = 0; i < count; ++i)
    if (list[i] < low || list[i] >= high) return false;
  return true;
}

void Draw(GlContext *gc, GLenum mode, GLint first, GLsizei count, const uint32_t *list) {
  GlVertexArrayMachine &va = gc->vertexArray;
  const bool lock = va.lockModes & (1u << mode);
  if (lock) __glRenderLock(gc);
  if (va.flags & (__GL_VARRAY_COLOR_MATERIAL | __GL_VARRAY_NO_VERTEX)) {
    glBegin(mode);
    for (GLsizei i = 0; i < count; ++i) glArrayElement(list ? GLint(list[i]) : first + i);
    glEnd();
  } else if (!(va.flags & __GL_VARRAY_LOCK_COMPILED) || InLockedRange(va, first, count, list)) {
    if ((va.flags & __GL_VARRAY_LOCK_COMPILED) && (va.flags & __GL_VARRAY_COMPILE_PENDING)) {
      va.compileProc(gc, va.lockFirst, va.lockFirst, va.lockCount);
      va.flags &= ~__GL_VARRAY_COMPILE_PENDING;
    }
    va.drawVertexes[mode](gc, first, count, list);
  } else {
    // Elements outside the locked range were never compiled: this draw
    // takes the batched walk from the buffer's start, which overwrites the
    // range, so the next draw compiles it again.
    const uintptr_t cursor = va.cursor;
    va.cursor = reinterpret_cast<uintptr_t>(va.buffer);
    va.flags |= __GL_VARRAY_COMPILE_PENDING;
    va.drawVertexes[mode](gc, first, count, list);
    va.cursor = cursor;
  }
  if (lock) __glRenderUnlock(gc);
}

// The element list as 32-bit numbers: the caller's own for GL_UNSIGNED_INT,
// else a widened copy (`*owned`). False, with the error recorded, when the
// type is unknown or the copy cannot be had.
bool ElementList(GlContext *gc, GLsizei count, GLenum type, const GLvoid *indices,
                 const uint32_t **list, uint32_t **owned) {
  *owned = nullptr;
  *list = static_cast<const uint32_t *>(indices);
  if (type == GL_UNSIGNED_INT) return true;
  if (type != GL_UNSIGNED_BYTE && type != GL_UNSIGNED_SHORT) {
    __glSetError(GL_INVALID_ENUM);
    return false;
  }
  if (count == 0) return true;
  const uint64_t bytes = uint64_t(count) * sizeof(uint32_t);
  uint32_t *words = nullptr;
  if (bytes <= uint64_t(INT32_MAX))
    words = static_cast<uint32_t *>(gc->imports.calloc(gc, 1, size_t(bytes)));
  if (!words) {
    __glSetError(GL_OUT_OF_MEMORY);
    return false;
  }
  for (GLsizei i = 0; i < count; ++i)
    words[i] = type == GL_UNSIGNED_BYTE ? static_cast<const GLubyte *>(indices)[i]
                                        : static_cast<const GLushort *>(indices)[i];
  *list = *owned = words;
  return true;
}

// The list forms compile the drawing as the calls it stands for, an empty
// one too; the immediate forms draw what is not empty.
void CompileDrawing(GLenum mode, GLint first, GLsizei count, const uint32_t *list) {
  glBegin(mode);
  for (GLsizei i = 0; i < count; ++i) __glSendArrayElement(list ? GLint(list[i]) : first + i);
  glEnd();
}

template <bool kCompile>
void Drawing(GlContext *gc, GLenum mode, GLint first, GLsizei count, const uint32_t *list) {
  if (kCompile)
    CompileDrawing(mode, first, count, list);
  else if (count)
    Draw(gc, mode, first, count, list);
}

template <bool kCompile>
void DrawArrays(GLenum mode, GLint first, GLsizei count) {
  GlContext *gc = ReadyToDraw();
  if (!gc || !ValidArguments(mode, first, count)) return;
  Drawing<kCompile>(gc, mode, first, count, nullptr);
}

template <bool kCompile>
void DrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid *indices) {
  GlContext *gc = ReadyToDraw();
  if (!gc || !ValidArguments(mode, 0, count)) return;
  const uint32_t *list;
  uint32_t *owned;
  if (!ElementList(gc, count, type, indices, &list, &owned)) return;
  Drawing<kCompile>(gc, mode, 0, count, list);
  if (owned) gc->imports.free(gc, owned);
}

}  // namespace

void GLENTRY __glim_DrawArrays(GLenum mode, GLint first, GLsizei count) {
  DrawArrays<false>(mode, first, count);
}
void GLENTRY __glim_DrawArraysEXT(GLenum mode, GLint first, GLsizei count) {
  DrawArrays<false>(mode, first, count);
}
void GLENTRY __glim_DrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid *indices) {
  DrawElements<false>(mode, count, type, indices);
}

void GLENTRY __gllc_DrawArrays(GLenum mode, GLint first, GLsizei count) {
  DrawArrays<true>(mode, first, count);
}
void GLENTRY __gllc_DrawArraysEXT(GLenum mode, GLint first, GLsizei count) {
  DrawArrays<true>(mode, first, count);
}
void GLENTRY __gllc_DrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid *indices) {
  DrawElements<true>(mode, count, type, indices);
}
