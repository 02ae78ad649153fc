// The glRect entries, all 8 forms: validated like every drawing entry,
// then, once the hardware is idle, the corners as floats go to procs.rect.
#include "core/context.h"
#include "core/gl_api.h"
#include "core/gl_entries.h"
#include "core/s_draw_entry.h"

namespace {

template <typename T, typename Reissue>
void Rect(const T *corner1, const T *corner2, Reissue reissue) {
  GlContext *gc = __glContextForDrawing(reissue);
  if (!gc) return;
  gc->procs.waitIdle(gc);
  gc->procs.rect(gc, GLfloat(corner1[0]), GLfloat(corner1[1]), GLfloat(corner2[0]),
                 GLfloat(corner2[1]));
}

}  // namespace

void GLENTRY __glim_Rectd(GLdouble x1, GLdouble y1, GLdouble x2, GLdouble y2) {
  const GLdouble corner1[] = {x1, y1}, corner2[] = {x2, y2};
  Rect(corner1, corner2, [&] { glRectd(x1, y1, x2, y2); });
}

void GLENTRY __glim_Rectdv(const GLdouble *v1, const GLdouble *v2) {
  Rect(v1, v2, [&] { glRectdv(v1, v2); });
}

void GLENTRY __glim_Rectf(GLfloat x1, GLfloat y1, GLfloat x2, GLfloat y2) {
  const GLfloat corner1[] = {x1, y1}, corner2[] = {x2, y2};
  Rect(corner1, corner2, [&] { glRectf(x1, y1, x2, y2); });
}

void GLENTRY __glim_Rectfv(const GLfloat *v1, const GLfloat *v2) {
  Rect(v1, v2, [&] { glRectfv(v1, v2); });
}

void GLENTRY __glim_Recti(GLint x1, GLint y1, GLint x2, GLint y2) {
  const GLint corner1[] = {x1, y1}, corner2[] = {x2, y2};
  Rect(corner1, corner2, [&] { glRecti(x1, y1, x2, y2); });
}

void GLENTRY __glim_Rectiv(const GLint *v1, const GLint *v2) {
  Rect(v1, v2, [&] { glRectiv(v1, v2); });
}

void GLENTRY __glim_Rects(GLshort x1, GLshort y1, GLshort x2, GLshort y2) {
  const GLshort corner1[] = {x1, y1}, corner2[] = {x2, y2};
  Rect(corner1, corner2, [&] { glRects(x1, y1, x2, y2); });
}

void GLENTRY __glim_Rectsv(const GLshort *v1, const GLshort *v2) {
  Rect(v1, v2, [&] { glRectsv(v1, v2); });
}
