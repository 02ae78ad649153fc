// The pointer entries: glVertexPointer, glNormalPointer, glColorPointer,
// glIndexPointer, glTexCoordPointer, glEdgeFlagPointer and their EXT forms.
// Value checks come before enum checks; a refused call changes nothing.
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "geometry/s_varray_tables.h"

namespace {

// What sets one array apart from the others.
struct PointerKind {
  int array;
  const GlArrayForms *forms;
  int minSize, maxSize;  // both 0: the array has no size argument
  int fixedSize;         // the table column of an array without one
  int typeShift;         // of its type code in the format word
  int sizeShift;         // of its size, or -1
};

const PointerKind kVertex = {__GL_VARRAY_VERTEX, &vertex_funcs, 2, 4, 0, 0, 4};
const PointerKind kNormal = {__GL_VARRAY_NORMAL, &normal_funcs, 0, 0, 3, 8, -1};
const PointerKind kColor = {__GL_VARRAY_COLOR, &color_funcs, 3, 4, 0, 12, 16};
const PointerKind kIndex = {__GL_VARRAY_INDEX, &index_funcs, 0, 0, 1, 28, -1};
const PointerKind kTexCoord = {__GL_VARRAY_TEXCOORD, &tex_coord_funcs, 1, 4, 0, 20, 24};

void SetPointer(const PointerKind &k, GLint size, GLenum type, GLsizei stride,
                const GLvoid *pointer) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  const bool sized = k.maxSize != 0;
  if (stride < 0 || (sized && (size < k.minSize || size > k.maxSize))) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  if (type < GL_BYTE || type > GL_DOUBLE) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  const int column = sized ? size : k.fixedSize;
  const unsigned t = type - GL_BYTE;
  const GlArrayForm &form = (*k.forms)[t][column];
  if (!form.immediate) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  GlVertexArrayMachine &va = gc->vertexArray;
  GlArrayRecord &r = va.arrays[k.array];
  r.immediateProc = form.immediate;
  r.copyProc = form.copy;
  r.pointer = pointer;
  if (sized) r.size = size;
  r.type = type;
  r.stride = stride ? stride : __glVarrayStrides[t][column];
  r.userStride = stride;
  uint32_t word = va.formatWord & ~(0xFu << k.typeShift);
  word |= uint32_t(type_flag_table[t]) << k.typeShift;
  if (k.sizeShift >= 0) {
    // The texture-coordinate size has three bits, the others four.
    const uint32_t mask = k.array == __GL_VARRAY_TEXCOORD ? 0x7u : 0xFu;
    word = (word & ~(mask << k.sizeShift)) | (uint32_t(size) << k.sizeShift);
  }
  va.formatWord = word;
  r.count = 0;
  va.interleavedFormat = 0;
  __glDelayValidate(gc, __GL_DIRTY_VERTEX_ARRAY);
}

// The EXT forms: the 1.1 call, then the count, which is kept even when the
// 1.1 call refused the rest.
template <typename Call>
void SetPointerEXT(int array, GLsizei count, Call call) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (count < 0) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  call();
  gc->vertexArray.arrays[array].count = count;
}

}  // namespace

void GLENTRY __glim_VertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid *p) {
  SetPointer(kVertex, size, type, stride, p);
}
void GLENTRY __glim_NormalPointer(GLenum type, GLsizei stride, const GLvoid *p) {
  SetPointer(kNormal, 0, type, stride, p);
}
void GLENTRY __glim_ColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid *p) {
  SetPointer(kColor, size, type, stride, p);
}
void GLENTRY __glim_IndexPointer(GLenum type, GLsizei stride, const GLvoid *p) {
  SetPointer(kIndex, 0, type, stride, p);
}
void GLENTRY __glim_TexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid *p) {
  SetPointer(kTexCoord, size, type, stride, p);
}

void GLENTRY __glim_EdgeFlagPointer(GLsizei stride, const GLvoid *p) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (stride < 0) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  GlVertexArrayMachine &va = gc->vertexArray;
  GlArrayRecord &r = va.arrays[__GL_VARRAY_EDGEFLAG];
  r.immediateProc = __glEdgeFlagForm.immediate;
  r.copyProc = __glEdgeFlagForm.copy;
  r.pointer = p;
  r.stride = stride ? stride : 1;
  r.userStride = stride;
  va.formatWord |= __GL_VARRAY_EDGEFLAG_FIELDS;
  r.count = 0;
  va.interleavedFormat = 0;
  __glDelayValidate(gc, __GL_DIRTY_VERTEX_ARRAY);
}

void GLENTRY __glim_VertexPointerEXT(GLint size, GLenum type, GLsizei stride, GLsizei count,
                                     const GLvoid *p) {
  SetPointerEXT(__GL_VARRAY_VERTEX, count, [&] { __glim_VertexPointer(size, type, stride, p); });
}
void GLENTRY __glim_NormalPointerEXT(GLenum type, GLsizei stride, GLsizei count, const GLvoid *p) {
  SetPointerEXT(__GL_VARRAY_NORMAL, count, [&] { __glim_NormalPointer(type, stride, p); });
}
void GLENTRY __glim_ColorPointerEXT(GLint size, GLenum type, GLsizei stride, GLsizei count,
                                    const GLvoid *p) {
  SetPointerEXT(__GL_VARRAY_COLOR, count, [&] { __glim_ColorPointer(size, type, stride, p); });
}
void GLENTRY __glim_IndexPointerEXT(GLenum type, GLsizei stride, GLsizei count, const GLvoid *p) {
  SetPointerEXT(__GL_VARRAY_INDEX, count, [&] { __glim_IndexPointer(type, stride, p); });
}
void GLENTRY __glim_TexCoordPointerEXT(GLint size, GLenum type, GLsizei stride, GLsizei count,
                                       const GLvoid *p) {
  SetPointerEXT(__GL_VARRAY_TEXCOORD, count,
                [&] { __glim_TexCoordPointer(size, type, stride, p); });
}
void GLENTRY __glim_EdgeFlagPointerEXT(GLsizei stride, GLsizei count, const GLboolean *p) {
  SetPointerEXT(__GL_VARRAY_EDGEFLAG, count, [&] { __glim_EdgeFlagPointer(stride, p); });
}
