#include "tests/geometry/eval_mesh/mesh_expansion.h"

namespace eval_test {

void ExpandMesh1(const Expansion &x, const GridAxis &u, GLenum mode, int64_t i1, int64_t i2) {
  x.begin(mode == GL_POINT ? GL_POINTS : GL_LINE_STRIP);
  for (int64_t i = i1; i <= i2; ++i) x.coord1(u.At(i));
  x.end();
}

void ExpandMesh2(const Expansion &x, const GridAxis &u, const GridAxis &v, GLenum mode,
                 int64_t i1, int64_t i2, int64_t j1, int64_t j2) {
  switch (mode) {
    case GL_POINT:
      x.begin(GL_POINTS);
      for (int64_t i = i1; i <= i2; ++i)
        for (int64_t j = j1; j <= j2; ++j) x.coord2(u.At(i), v.At(j));
      x.end();
      return;
    case GL_FILL:
      for (int64_t i = i1; i < i2; ++i) {
        x.begin(GL_QUAD_STRIP);
        for (int64_t j = j2; j >= j1; --j) {
          x.coord2(u.At(i), v.At(j));
          x.coord2(u.At(i + 1), v.At(j));
        }
        x.end();
      }
      return;
    default:
      for (int64_t i = i1; i < i2; ++i)
        for (int64_t j = j1; j <= j2; ++j) {
          x.begin(GL_LINE_STRIP);
          if (j < j2) x.coord2(u.At(i), v.At(j + 1));
          x.coord2(u.At(i), v.At(j));
          x.coord2(u.At(i + 1), v.At(j));
          x.end();
        }
      x.begin(GL_LINE_STRIP);
      for (int64_t j = j2; j >= j1; --j) x.coord2(u.At(i1 < i2 ? i2 : i1), v.At(j));
      x.end();
  }
}

}  // namespace eval_test
