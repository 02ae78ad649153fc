// glColor, all 32 forms: the colour as given, converted to float but neither
// clamped nor scaled, becomes the current user colour; procs.applyColor then
// brings the scaled current colour (or a material) up to date.
#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "geometry/s_vapi_convert.h"

namespace {

template <int N, typename T>
void SetColor(const T *c) {
  static_assert(N == 3 || N == 4, "three or four components");
  GlContext *gc = __glGetTLSCXValue();
  const GlConstants &k = gc->constants;
  GlColor &user = gc->state.current.userColor;
  user.r = vapi::Component(k, c[0]);
  user.g = vapi::Component(k, c[1]);
  user.b = vapi::Component(k, c[2]);
  if constexpr (N == 4)
    user.a = vapi::Component(k, c[3]);
  else
    user.a = k.one;
  // Tells the vertex cache a colour arrived since its glBegin.
  gc->vcache.colorChanged = 1;
  gc->procs.applyColor(gc);
}

}  // namespace

#define GL_COLOR_ENTRIES(suffix, T)                                     \
  void GLENTRY __glim_Color3##suffix(T red, T green, T blue) {          \
    const T c[] = {red, green, blue};                                   \
    SetColor<3>(c);                                                     \
  }                                                                     \
  void GLENTRY __glim_Color3##suffix##v(const T *v) { SetColor<3>(v); } \
  void GLENTRY __glim_Color4##suffix(T red, T green, T blue, T alpha) { \
    const T c[] = {red, green, blue, alpha};                            \
    SetColor<4>(c);                                                     \
  }                                                                     \
  void GLENTRY __glim_Color4##suffix##v(const T *v) { SetColor<4>(v); }

GL_COLOR_ENTRIES(b, GLbyte)
GL_COLOR_ENTRIES(ub, GLubyte)
GL_COLOR_ENTRIES(s, GLshort)
GL_COLOR_ENTRIES(us, GLushort)
GL_COLOR_ENTRIES(i, GLint)
GL_COLOR_ENTRIES(ui, GLuint)
GL_COLOR_ENTRIES(f, GLfloat)
GL_COLOR_ENTRIES(d, GLdouble)
