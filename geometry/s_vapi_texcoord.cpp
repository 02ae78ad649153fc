// glTexCoord, all 32 forms: the current texture coordinates, converted by
// value (integers are not normalised); missing t and r are 0, missing q 1.
#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"

namespace {

template <int N, typename T>
void SetTexCoord(const T *c) {
  static_assert(N >= 1 && N <= 4, "one to four coordinates");
  GlContext *gc = __glGetTLSCXValue();
  GlCoord t = {GLfloat(c[0]), 0.0f, 0.0f, gc->constants.one};
  if constexpr (N > 1) t.y = GLfloat(c[1]);
  if constexpr (N > 2) t.z = GLfloat(c[2]);
  if constexpr (N > 3) t.w = GLfloat(c[3]);
  gc->state.current.texture = t;
}

}  // namespace

#define GL_TEXCOORD_ENTRIES(suffix, T)                                        \
  void GLENTRY __glim_TexCoord1##suffix(T s) { SetTexCoord<1>(&s); }          \
  void GLENTRY __glim_TexCoord1##suffix##v(const T *v) { SetTexCoord<1>(v); } \
  void GLENTRY __glim_TexCoord2##suffix(T s, T t) {                           \
    const T c[] = {s, t};                                                     \
    SetTexCoord<2>(c);                                                        \
  }                                                                           \
  void GLENTRY __glim_TexCoord2##suffix##v(const T *v) { SetTexCoord<2>(v); } \
  void GLENTRY __glim_TexCoord3##suffix(T s, T t, T r) {                      \
    const T c[] = {s, t, r};                                                  \
    SetTexCoord<3>(c);                                                        \
  }                                                                           \
  void GLENTRY __glim_TexCoord3##suffix##v(const T *v) { SetTexCoord<3>(v); } \
  void GLENTRY __glim_TexCoord4##suffix(T s, T t, T r, T q) {                 \
    const T c[] = {s, t, r, q};                                               \
    SetTexCoord<4>(c);                                                        \
  }                                                                           \
  void GLENTRY __glim_TexCoord4##suffix##v(const T *v) { SetTexCoord<4>(v); }

GL_TEXCOORD_ENTRIES(d, GLdouble)
GL_TEXCOORD_ENTRIES(f, GLfloat)
GL_TEXCOORD_ENTRIES(i, GLint)
GL_TEXCOORD_ENTRIES(s, GLshort)
