// The glRasterPos entries, all 24 forms: validated like every drawing
// entry, then the coordinates, as floats, go to the raster-position
// procedure for their count.
#include <type_traits>

#include "core/context.h"
#include "core/gl_api.h"
#include "core/gl_entries.h"
#include "core/s_draw_entry.h"

namespace {

template <int N, typename T, typename Reissue>
void RasterPos(const T *coords, Reissue reissue) {
  static_assert(N >= 2 && N <= 4, "two to four coordinates");
  GlContext *gc = __glContextForDrawing(reissue);
  if (!gc) return;
  if constexpr (std::is_same_v<T, GLfloat>) {
    gc->procs.rasterPos[N - 2](gc, coords);  // the caller's own floats
  } else {
    GLfloat v[N];
    for (int i = 0; i < N; ++i) v[i] = GLfloat(coords[i]);
    gc->procs.rasterPos[N - 2](gc, v);
  }
}

}  // namespace

void GLENTRY __glim_RasterPos2d(GLdouble x, GLdouble y) {
  const GLdouble v[] = {x, y};
  RasterPos<2>(v, [&] { glRasterPos2d(x, y); });
}

void GLENTRY __glim_RasterPos2dv(const GLdouble *v) {
  RasterPos<2>(v, [&] { glRasterPos2dv(v); });
}

void GLENTRY __glim_RasterPos2f(GLfloat x, GLfloat y) {
  const GLfloat v[] = {x, y};
  RasterPos<2>(v, [&] { glRasterPos2f(x, y); });
}

void GLENTRY __glim_RasterPos2fv(const GLfloat *v) {
  RasterPos<2>(v, [&] { glRasterPos2fv(v); });
}

void GLENTRY __glim_RasterPos2i(GLint x, GLint y) {
  const GLint v[] = {x, y};
  RasterPos<2>(v, [&] { glRasterPos2i(x, y); });
}

void GLENTRY __glim_RasterPos2iv(const GLint *v) {
  RasterPos<2>(v, [&] { glRasterPos2iv(v); });
}

void GLENTRY __glim_RasterPos2s(GLshort x, GLshort y) {
  const GLshort v[] = {x, y};
  RasterPos<2>(v, [&] { glRasterPos2s(x, y); });
}

void GLENTRY __glim_RasterPos2sv(const GLshort *v) {
  RasterPos<2>(v, [&] { glRasterPos2sv(v); });
}

void GLENTRY __glim_RasterPos3d(GLdouble x, GLdouble y, GLdouble z) {
  const GLdouble v[] = {x, y, z};
  RasterPos<3>(v, [&] { glRasterPos3d(x, y, z); });
}

void GLENTRY __glim_RasterPos3dv(const GLdouble *v) {
  RasterPos<3>(v, [&] { glRasterPos3dv(v); });
}

void GLENTRY __glim_RasterPos3f(GLfloat x, GLfloat y, GLfloat z) {
  const GLfloat v[] = {x, y, z};
  RasterPos<3>(v, [&] { glRasterPos3f(x, y, z); });
}

void GLENTRY __glim_RasterPos3fv(const GLfloat *v) {
  RasterPos<3>(v, [&] { glRasterPos3fv(v); });
}

void GLENTRY __glim_RasterPos3i(GLint x, GLint y, GLint z) {
  const GLint v[] = {x, y, z};
  RasterPos<3>(v, [&] { glRasterPos3i(x, y, z); });
}

void GLENTRY __glim_RasterPos3iv(const GLint *v) {
  RasterPos<3>(v, [&] { glRasterPos3iv(v); });
}

void GLENTRY __glim_RasterPos3s(GLshort x, GLshort y, GLshort z) {
  const GLshort v[] = {x, y, z};
  RasterPos<3>(v, [&] { glRasterPos3s(x, y, z); });
}

void GLENTRY __glim_RasterPos3sv(const GLshort *v) {
  RasterPos<3>(v, [&] { glRasterPos3sv(v); });
}

void GLENTRY __glim_RasterPos4d(GLdouble x, GLdouble y, GLdouble z, GLdouble w) {
  const GLdouble v[] = {x, y, z, w};
  RasterPos<4>(v, [&] { glRasterPos4d(x, y, z, w); });
}

void GLENTRY __glim_RasterPos4dv(const GLdouble *v) {
  RasterPos<4>(v, [&] { glRasterPos4dv(v); });
}

void GLENTRY __glim_RasterPos4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
  const GLfloat v[] = {x, y, z, w};
  RasterPos<4>(v, [&] { glRasterPos4f(x, y, z, w); });
}

void GLENTRY __glim_RasterPos4fv(const GLfloat *v) {
  RasterPos<4>(v, [&] { glRasterPos4fv(v); });
}

void GLENTRY __glim_RasterPos4i(GLint x, GLint y, GLint z, GLint w) {
  const GLint v[] = {x, y, z, w};
  RasterPos<4>(v, [&] { glRasterPos4i(x, y, z, w); });
}

void GLENTRY __glim_RasterPos4iv(const GLint *v) {
  RasterPos<4>(v, [&] { glRasterPos4iv(v); });
}

void GLENTRY __glim_RasterPos4s(GLshort x, GLshort y, GLshort z, GLshort w) {
  const GLshort v[] = {x, y, z, w};
  RasterPos<4>(v, [&] { glRasterPos4s(x, y, z, w); });
}

void GLENTRY __glim_RasterPos4sv(const GLshort *v) {
  RasterPos<4>(v, [&] { glRasterPos4sv(v); });
}
