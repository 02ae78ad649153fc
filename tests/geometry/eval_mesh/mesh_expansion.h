// The naive expansion of a mesh into glBegin, glEvalCoord and glEnd calls,
// in the order the meshes issue their primitives and points.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

namespace eval_test {

struct GridAxis {
  GLfloat x1, x2;
  int32_t n;
  GLfloat At(int64_t i) const {
    if (i == n) return x2;
    return GLfloat(i) * ((x2 - x1) / GLfloat(n)) + x1;
  }
};

struct Expansion {
  void (*begin)(GLenum mode);
  void (*end)();
  void (*coord1)(GLfloat u);
  void (*coord2)(GLfloat u, GLfloat v);
};

void ExpandMesh1(const Expansion &x, const GridAxis &u, GLenum mode, int64_t i1, int64_t i2);
void ExpandMesh2(const Expansion &x, const GridAxis &u, const GridAxis &v, GLenum mode,
                 int64_t i1, int64_t i2, int64_t j1, int64_t j2);

}  // namespace eval_test
