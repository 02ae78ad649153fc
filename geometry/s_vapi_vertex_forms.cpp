// The other 21 glVertex forms: the coordinates, converted to float by value,
// go to the glVertexNfv slot of the immediate table in force, so that the
// vertex cache can take every form by replacing three slots.
#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"

namespace {

template <int N, typename T>
void VertexFrom(const T *c) {
  static_assert(N >= 2 && N <= 4, "two to four coordinates");
  GLfloat v[N];
  for (int i = 0; i < N; ++i) v[i] = GLfloat(c[i]);
  const GlDispatchState *table = __glGetTLSCXValue()->dispatchState;
  if constexpr (N == 2)
    table->Vertex2fv(v);
  else if constexpr (N == 3)
    table->Vertex3fv(v);
  else
    table->Vertex4fv(v);
}

}  // namespace

#define GL_VERTEX_ENTRIES(suffix, T)                                       \
  void GLENTRY __glim_Vertex2##suffix(T x, T y) {                          \
    const T c[] = {x, y};                                                  \
    VertexFrom<2>(c);                                                      \
  }                                                                        \
  void GLENTRY __glim_Vertex2##suffix##v(const T *v) { VertexFrom<2>(v); } \
  void GLENTRY __glim_Vertex3##suffix(T x, T y, T z) {                     \
    const T c[] = {x, y, z};                                               \
    VertexFrom<3>(c);                                                      \
  }                                                                        \
  void GLENTRY __glim_Vertex3##suffix##v(const T *v) { VertexFrom<3>(v); } \
  void GLENTRY __glim_Vertex4##suffix(T x, T y, T z, T w) {                \
    const T c[] = {x, y, z, w};                                            \
    VertexFrom<4>(c);                                                      \
  }                                                                        \
  void GLENTRY __glim_Vertex4##suffix##v(const T *v) { VertexFrom<4>(v); }

GL_VERTEX_ENTRIES(d, GLdouble)
GL_VERTEX_ENTRIES(i, GLint)
GL_VERTEX_ENTRIES(s, GLshort)

// The float forms need no conversion, only a local array.
void GLENTRY __glim_Vertex2f(GLfloat x, GLfloat y) {
  const GLfloat c[] = {x, y};
  __glGetTLSCXValue()->dispatchState->Vertex2fv(c);
}

void GLENTRY __glim_Vertex3f(GLfloat x, GLfloat y, GLfloat z) {
  const GLfloat c[] = {x, y, z};
  __glGetTLSCXValue()->dispatchState->Vertex3fv(c);
}

void GLENTRY __glim_Vertex4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
  const GLfloat c[] = {x, y, z, w};
  __glGetTLSCXValue()->dispatchState->Vertex4fv(c);
}
