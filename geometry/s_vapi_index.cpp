// glIndex, all 10 forms: the current colour index, converted by value. It is
// masked and used only when vertices are coloured.
#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"

namespace {

template <typename T>
void SetIndex(T c) {
  GlContext *gc = __glGetTLSCXValue();
  gc->state.current.index = GLfloat(c);
  // Tells the vertex cache a colour arrived since its glBegin.
  gc->vcache.colorChanged = 1;
}

}  // namespace

#define GL_INDEX_ENTRIES(suffix, T)                       \
  void GLENTRY __glim_Index##suffix(T c) { SetIndex(c); } \
  void GLENTRY __glim_Index##suffix##v(const T *c) { SetIndex(*c); }

GL_INDEX_ENTRIES(d, GLdouble)
GL_INDEX_ENTRIES(f, GLfloat)
GL_INDEX_ENTRIES(i, GLint)
GL_INDEX_ENTRIES(s, GLshort)
GL_INDEX_ENTRIES(ub, GLubyte)
