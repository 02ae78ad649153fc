// Meshes over the grids. Loops count in 64 bits, so that grid ends at the
// limits of GLint neither overflow nor run forever. The 2-D line and fill
// meshes keep the points of one grid row for the next row's strips, for rows
// of up to kRowPoints points; beyond that they evaluate again.
#include "geometry/s_eval_mesh.h"

#include <stdint.h>

#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "core/s_error.h"
#include "geometry/s_eval_coord.h"

namespace {

constexpr int64_t kRowPoints = 1024;

struct Axis {
  GLfloat x1, x2;
  int32_t n;
  GLfloat At(int64_t i) const { return __glEvalGridParameter(i, x1, x2, n); }
};

Axis U(const GlContext *gc) {
  const GlEvalGrid2 &g = gc->state.evaluator.grid2;
  return Axis{g.u1, g.u2, g.un};
}

Axis V(const GlContext *gc) {
  const GlEvalGrid2 &g = gc->state.evaluator.grid2;
  return Axis{g.v1, g.v2, g.vn};
}

void Mesh1(GlContext *gc, GLenum primitive, GLint i1, GLint i2) {
  const GlEvalGrid1 &g = gc->state.evaluator.grid1;
  const Axis u{g.u1, g.u2, g.n};
  const GlEvalSavedCurrent saved = __glEvalSaveCurrent(gc);
  gc->dispatchState->Begin(primitive);
  for (int64_t i = i1; i <= i2; ++i) DoEvalCoord1(gc, u.At(i));
  gc->dispatchState->End();
  __glEvalRestoreCurrent(gc, saved);
}

// Outside glBegin/glEnd, with the procedures picked; false after recording
// GL_INVALID_OPERATION.
bool MeshAllowed(GlContext *gc) {
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return false;
  }
  if (gc->beginMode == __GL_VALIDATE_PENDING) {
    gc->procs.validate(gc);
    gc->beginMode = __GL_NOT_IN_BEGIN;
  }
  return true;
}

}  // namespace

void __glEvalMesh1Point(GlContext *gc, GLint i1, GLint i2) { Mesh1(gc, GL_POINTS, i1, i2); }
void __glEvalMesh1Line(GlContext *gc, GLint i1, GLint i2) { Mesh1(gc, GL_LINE_STRIP, i1, i2); }

void __glEvalMesh2Point(GlContext *gc, GLint i1, GLint j1, GLint i2, GLint j2) {
  const Axis u = U(gc), v = V(gc);
  const GlEvalSavedCurrent saved = __glEvalSaveCurrent(gc);
  gc->dispatchState->Begin(GL_POINTS);
  for (int64_t i = i1; i <= i2; ++i)
    for (int64_t j = j1; j <= j2; ++j) DoEvalCoord2(gc, nullptr, u.At(i), v.At(j));
  gc->dispatchState->End();
  __glEvalRestoreCurrent(gc, saved);
}

// One quad strip per pair of grid rows, each from v_j2 down to v_j1. The
// second row's points are kept for the next strip, which replays them.
void __glEvalMesh2Fill(GlContext *gc, GLint i1, GLint j1, GLint i2, GLint j2) {
  const Axis u = U(gc), v = V(gc);
  const GlEvalSavedCurrent saved = __glEvalSaveCurrent(gc);
  GlEvalResult row[kRowPoints];
  for (int64_t i = i1; i < i2; ++i) {
    const GLfloat ui = u.At(i), uNext = u.At(i + 1);
    gc->dispatchState->Begin(GL_QUAD_STRIP);
    int64_t c = 0;
    for (int64_t j = j2; j >= j1; --j, ++c) {
      const GLfloat vj = v.At(j);
      if (c < kRowPoints) {
        if (i > i1)
          sendChange(gc, &row[c]);
        else
          DoEvalCoord2(gc, nullptr, ui, vj);
        DoEvalCoord2(gc, &row[c], uNext, vj);
      } else {
        DoEvalCoord2(gc, nullptr, ui, vj);
        DoEvalCoord2(gc, nullptr, uNext, vj);
      }
    }
    gc->dispatchState->End();
  }
  __glEvalRestoreCurrent(gc, saved);
}

// Per grid point of each row but the last, one line strip: the next point
// along v, the point, the point of the next row. Then one strip along the
// last row.
void __glEvalMesh2Line(GlContext *gc, GLint i1, GLint j1, GLint i2, GLint j2) {
  const Axis u = U(gc), v = V(gc);
  const GlEvalSavedCurrent saved = __glEvalSaveCurrent(gc);
  GlEvalResult row[kRowPoints];
  for (int64_t i = i1; i < i2; ++i) {
    const GLfloat ui = u.At(i), uNext = u.At(i + 1);
    for (int64_t j = j1; j <= j2; ++j) {
      const int64_t c = j - j1;
      const GLfloat vj = v.At(j);
      gc->dispatchState->Begin(GL_LINE_STRIP);
      if (j < j2) {
        if (i > i1 && c + 1 < kRowPoints)
          sendChange(gc, &row[c + 1]);
        else  // the first row parks it in the entry its next step fills
          DoEvalCoord2(gc, i == i1 && c + 1 < kRowPoints ? &row[c + 1] : nullptr, ui, v.At(j + 1));
      }
      if (i > i1 && j > j1 && c < kRowPoints)
        sendChange(gc, &row[c]);
      else
        DoEvalCoord2(gc, nullptr, ui, vj);
      DoEvalCoord2(gc, c < kRowPoints ? &row[c] : nullptr, uNext, vj);
      gc->dispatchState->End();
    }
  }
  const bool rowKept = i1 < i2;
  const GLfloat last = u.At(rowKept ? i2 : i1);
  gc->dispatchState->Begin(GL_LINE_STRIP);
  for (int64_t j = j2; j >= j1; --j) {
    const int64_t c = j - j1;
    if (rowKept && c < kRowPoints)
      sendChange(gc, &row[c]);
    else
      DoEvalCoord2(gc, nullptr, last, v.At(j));
  }
  gc->dispatchState->End();
  __glEvalRestoreCurrent(gc, saved);
}

void GLENTRY __glim_EvalMesh1(GLenum mode, GLint i1, GLint i2) {
  GlContext *gc = __glGetTLSCXValue();
  if (!MeshAllowed(gc)) return;
  switch (mode) {
    case GL_POINT: __glEvalMesh1Point(gc, i1, i2); break;
    case GL_LINE: __glEvalMesh1Line(gc, i1, i2); break;
    default: __glSetError(GL_INVALID_ENUM); break;
  }
}

void GLENTRY __glim_EvalMesh2(GLenum mode, GLint i1, GLint i2, GLint j1, GLint j2) {
  GlContext *gc = __glGetTLSCXValue();
  if (!MeshAllowed(gc)) return;
  switch (mode) {
    case GL_POINT: __glEvalMesh2Point(gc, i1, j1, i2, j2); break;
    case GL_LINE: __glEvalMesh2Line(gc, i1, j1, i2, j2); break;
    case GL_FILL: __glEvalMesh2Fill(gc, i1, j1, i2, j2); break;
    default: __glSetError(GL_INVALID_ENUM); break;
  }
}
