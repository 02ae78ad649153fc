// glEvalCoord (all 8 forms), glEvalPoint and glMapGrid. Evaluations are
// taken inside and outside glBegin/glEnd alike and record no errors.
#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "core/s_error.h"
#include "geometry/s_eval_coord.h"

namespace {

void Coord1(GLfloat u) {
  GlContext *gc = __glGetTLSCXValue();
  gc->procs.evalCoord[0](gc, u, 0.0f);
}

void Coord2(GLfloat u, GLfloat v) {
  GlContext *gc = __glGetTLSCXValue();
  gc->procs.evalCoord[1](gc, u, v);
}

// False after recording the error of a grid command.
bool GridAllowed(GlContext *gc, GLint un, GLint vn) {
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return false;
  }
  if (un <= 0 || vn <= 0) {
    __glSetError(GL_INVALID_VALUE);
    return false;
  }
  return true;
}

void Grid1(GLint n, GLfloat u1, GLfloat u2) {
  GlContext *gc = __glGetTLSCXValue();
  if (GridAllowed(gc, n, 1)) gc->state.evaluator.grid1 = GlEvalGrid1{u1, u2, n};
}

void Grid2(GLint un, GLfloat u1, GLfloat u2, GLint vn, GLfloat v1, GLfloat v2) {
  GlContext *gc = __glGetTLSCXValue();
  if (GridAllowed(gc, un, vn)) gc->state.evaluator.grid2 = GlEvalGrid2{u1, u2, un, v1, v2, vn};
}

}  // namespace

void GLENTRY __glim_EvalCoord1f(GLfloat u) { Coord1(u); }
void GLENTRY __glim_EvalCoord1d(GLdouble u) { Coord1(GLfloat(u)); }
void GLENTRY __glim_EvalCoord1fv(const GLfloat *u) { Coord1(u[0]); }
void GLENTRY __glim_EvalCoord1dv(const GLdouble *u) { Coord1(GLfloat(u[0])); }
void GLENTRY __glim_EvalCoord2f(GLfloat u, GLfloat v) { Coord2(u, v); }
void GLENTRY __glim_EvalCoord2d(GLdouble u, GLdouble v) { Coord2(GLfloat(u), GLfloat(v)); }
void GLENTRY __glim_EvalCoord2fv(const GLfloat *u) { Coord2(u[0], u[1]); }
void GLENTRY __glim_EvalCoord2dv(const GLdouble *u) { Coord2(GLfloat(u[0]), GLfloat(u[1])); }

void GLENTRY __glim_EvalPoint1(GLint i) {
  GlContext *gc = __glGetTLSCXValue();
  const GlEvalGrid1 &g = gc->state.evaluator.grid1;
  gc->procs.evalCoord[0](gc, __glEvalGridParameter(i, g.u1, g.u2, g.n), 0.0f);
}

void GLENTRY __glim_EvalPoint2(GLint i, GLint j) {
  GlContext *gc = __glGetTLSCXValue();
  const GlEvalGrid2 &g = gc->state.evaluator.grid2;
  gc->procs.evalCoord[1](gc, __glEvalGridParameter(i, g.u1, g.u2, g.un),
                         __glEvalGridParameter(j, g.v1, g.v2, g.vn));
}

void GLENTRY __glim_MapGrid1f(GLint n, GLfloat u1, GLfloat u2) { Grid1(n, u1, u2); }
void GLENTRY __glim_MapGrid1d(GLint n, GLdouble u1, GLdouble u2) {
  Grid1(n, GLfloat(u1), GLfloat(u2));
}
void GLENTRY __glim_MapGrid2f(GLint un, GLfloat u1, GLfloat u2, GLint vn, GLfloat v1, GLfloat v2) {
  Grid2(un, u1, u2, vn, v1, v2);
}
void GLENTRY __glim_MapGrid2d(GLint un, GLdouble u1, GLdouble u2, GLint vn, GLdouble v1,
                              GLdouble v2) {
  Grid2(un, GLfloat(u1), GLfloat(u2), vn, GLfloat(v1), GLfloat(v2));
}
