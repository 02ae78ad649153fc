// glInterleavedArrays, glLockArraysVLX, glUnlockArraysVLX and
// glArrayElement.
#include <string.h>

#include "core/gl_api.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "geometry/s_varray_entries.h"
#include "geometry/s_varray_tables.h"
#include "core/current.h"

namespace {

const GlInterleavedFormat *FindInterleaved(GLenum format) {
  if (format >= 0x2A20 && format <= 0x2A2D) return &interleavedFormats[format - 0x2A20];
  if (format >= 0x81AD && format <= 0x81B4) return &interleavedFormats[14 + (format - 0x81AD)];
  return nullptr;
}

// One element of an array: its bytes and its components' natural alignment.
// Normals have three components, indices and edge flags one.
struct ElementLayout {
  size_t bytes, align;
};

ElementLayout LayoutOf(int array, const GlArrayRecord &r) {
  if (array == __GL_VARRAY_EDGEFLAG) return {1, 1};
  static const uint8_t kTypeBytes[] = {1, 1, 2, 2, 4, 4, 4, 0, 0, 0, 8};  // GL_BYTE .. GL_DOUBLE
  const unsigned t = r.type - GL_BYTE;
  const size_t component = t < sizeof kTypeBytes && kTypeBytes[t] ? kTypeBytes[t] : 1;
  const size_t components = array == __GL_VARRAY_NORMAL  ? 3
                            : array == __GL_VARRAY_INDEX ? 1
                                                         : size_t(r.size);
  return {components * component, component};
}

}  // namespace

void __glSendArrayElement(GLint i) {
  GlContext *gc = __glGetTLSCXValue();
  const GlVertexArrayMachine &va = gc->vertexArray;
  // The vertex goes last: it takes the other attributes with it.
  static const struct {
    int array;
    uint32_t bit;
  } kOrder[] = {
      {__GL_VARRAY_NORMAL, __GL_VARRAY_NORMAL_ENABLE},
      {__GL_VARRAY_COLOR, __GL_VARRAY_COLOR_ENABLE},
      {__GL_VARRAY_TEXCOORD, __GL_VARRAY_TEXCOORD_ENABLE},
      {__GL_VARRAY_INDEX, __GL_VARRAY_INDEX_ENABLE},
      {__GL_VARRAY_EDGEFLAG, __GL_VARRAY_EDGEFLAG_ENABLE},
      {__GL_VARRAY_VERTEX, __GL_VARRAY_VERTEX_ENABLE},
  };
  for (const auto &o : kOrder) {
    if (!(va.enables & o.bit)) continue;
    const GlArrayRecord &r = va.arrays[o.array];
    const uint8_t *p = static_cast<const uint8_t *>(r.pointer) + intptr_t(i) * r.stride;
    // The immediate entries read through typed pointers: an element that the
    // application's pointer or stride leaves unaligned goes through a copy.
    const ElementLayout layout = LayoutOf(o.array, r);
    if (uintptr_t(p) % layout.align == 0 || layout.bytes > 32) {
      r.immediateProc(p);
      continue;
    }
    alignas(8) uint8_t element[32];
    memcpy(element, p, layout.bytes);
    r.immediateProc(element);
  }
}

void GLENTRY __glim_InterleavedArrays(GLenum format, GLsizei stride, const GLvoid *pointer) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (stride < 0) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  const GlInterleavedFormat *f = FindInterleaved(format);
  if (!f) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (stride == 0) stride = f->stride;
  const uint8_t *p = static_cast<const uint8_t *>(pointer);
  glDisableClientState(GL_EDGE_FLAG_ARRAY);
  if (f->texCoordOn) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(f->texCoordSize, GL_FLOAT, stride, p);
  } else {
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  }
  if (f->colorOn) {
    glColorPointer(f->colorSize, f->colorType, stride, p + f->colorOffset);
    glEnableClientState(GL_COLOR_ARRAY);
  } else {
    glDisableClientState(GL_COLOR_ARRAY);
  }
  if (f->indexOn) {
    glIndexPointer(GL_INT, stride, p + f->indexOffset);
    glEnableClientState(GL_INDEX_ARRAY);
  } else {
    glDisableClientState(GL_INDEX_ARRAY);
  }
  if (f->normalOn) {
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, stride, p + f->normalOffset);
  } else {
    glDisableClientState(GL_NORMAL_ARRAY);
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(f->vertexSize, GL_FLOAT, stride, p + f->vertexOffset);
  GlVertexArrayMachine &va = gc->vertexArray;
  va.interleavedPointer = pointer;
  va.interleavedFormat = format;
  __glDelayValidate(gc, __GL_DIRTY_VERTEX_ARRAY);
}

void GLENTRY __glim_LockArraysVLX(GLint first, GLsizei count) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (first < 0 || count < 0) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  GlVertexArrayMachine &va = gc->vertexArray;
  if (va.flags & __GL_VARRAY_LOCKED) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  va.flags |= __GL_VARRAY_LOCKED;
  va.lockFirst = first;
  va.lockCount = count;
  __glDelayValidate(gc, __GL_DIRTY_VERTEX_ARRAY);
}

void GLENTRY __glim_UnlockArraysVLX(void) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  GlVertexArrayMachine &va = gc->vertexArray;
  if (!(va.flags & __GL_VARRAY_LOCKED)) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  va.flags &= ~__GL_VARRAY_LOCKED;
  va.lockFirst = va.lockCount = 0;
  __glDelayValidate(gc, __GL_DIRTY_VERTEX_ARRAY);
}

// No checks and no Begin test: the calls go through the dispatch in force,
// which also makes the list-compile forms compile them.
void GLENTRY __glim_ArrayElement(GLint i) { __glSendArrayElement(i); }
void GLENTRY __glim_ArrayElementEXT(GLint i) { __glSendArrayElement(i); }
void GLENTRY __gllc_ArrayElement(GLint i) { __glSendArrayElement(i); }
void GLENTRY __gllc_ArrayElementEXT(GLint i) { __glSendArrayElement(i); }
