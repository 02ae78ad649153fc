// glGetPointerv and its EXT form: the client arrays' pointers and the
// feedback and selection buffers.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/gl_get_enums.h"
#include "core/s_entry.h"
#include "core/s_error.h"

void GLENTRY __glim_GetPointerv(GLenum pname, GLvoid **params) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  // The six array pointers are consecutive, in the order of the records.
  static_assert(
      GL_EDGE_FLAG_ARRAY_POINTER - GL_VERTEX_ARRAY_POINTER == __GL_VARRAY_EDGEFLAG &&
          GL_TEXTURE_COORD_ARRAY_POINTER - GL_VERTEX_ARRAY_POINTER == __GL_VARRAY_TEXCOORD &&
          GL_INDEX_ARRAY_POINTER - GL_VERTEX_ARRAY_POINTER == __GL_VARRAY_INDEX &&
          GL_COLOR_ARRAY_POINTER - GL_VERTEX_ARRAY_POINTER == __GL_VARRAY_COLOR &&
          GL_NORMAL_ARRAY_POINTER - GL_VERTEX_ARRAY_POINTER == __GL_VARRAY_NORMAL,
      "array records in pointer-name order");
  GLuint array = pname - GL_VERTEX_ARRAY_POINTER;
  if (array < __GL_VARRAY_COUNT) {
    *params = const_cast<GLvoid *>(gc->vertexArray.arrays[array].pointer);
    return;
  }
  switch (pname) {
    case GL_FEEDBACK_BUFFER_POINTER: *params = gc->feedback.buffer; break;
    case GL_SELECTION_BUFFER_POINTER: *params = gc->select.buffer; break;
    default: __glSetError(GL_INVALID_ENUM); break;
  }
}

void GLENTRY __glim_GetPointervEXT(GLenum pname, GLvoid **params) {
  __glim_GetPointerv(pname, params);
}
