// glNormal3, all 10 forms: the current normal as given, converted like a
// colour component and never normalised here.
#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "geometry/s_vapi_convert.h"

namespace {

template <typename T>
void SetNormal(const T *c) {
  GlContext *gc = __glGetTLSCXValue();
  const GlConstants &k = gc->constants;
  GLfloat *n = gc->state.current.normal;
  n[0] = vapi::Component(k, c[0]);
  n[1] = vapi::Component(k, c[1]);
  n[2] = vapi::Component(k, c[2]);
}

}  // namespace

#define GL_NORMAL_ENTRIES(suffix, T)                      \
  void GLENTRY __glim_Normal3##suffix(T nx, T ny, T nz) { \
    const T c[] = {nx, ny, nz};                           \
    SetNormal(c);                                         \
  }                                                       \
  void GLENTRY __glim_Normal3##suffix##v(const T *v) { SetNormal(v); }

GL_NORMAL_ENTRIES(b, GLbyte)
GL_NORMAL_ENTRIES(s, GLshort)
GL_NORMAL_ENTRIES(i, GLint)
GL_NORMAL_ENTRIES(f, GLfloat)
GL_NORMAL_ENTRIES(d, GLdouble)
