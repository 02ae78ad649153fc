// What primitive assembly hands on, recorded: each render, clip and
// polygon-clip call with copies of its vertices, the provoking vertex and
// whether the line stipple was restarted. And the rules by which two such
// streams count as the same drawing, for comparing a batched path (arrays,
// the vertex cache) with glBegin / glArrayElement / glEnd.
#pragma once

#include <gtest/gtest.h>

#include <math.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "core/context.h"

namespace prim_stream {

struct Call {
  std::string kind;  // "point", "line", "triangle", "clipLine", "clipTriangle", "clipPolygon"
  std::vector<GlVertex> vertices;
  int provoking = -1;        // its id
  uint8_t stippleStarted = 0;  // as the call found it
  uint32_t orCodes = 0;      // of the clip calls
};

// The id of a vertex: its element number, which the tests keep in obj.z
// as id / 1024.
inline int IdOf(const GlVertex *v) { return v ? int(lroundf(v->obj.z * 1024.0f)) : -1; }
inline GLfloat ZOf(int id) { return GLfloat(id) / 1024.0f; }

// Records into Calls() what gc's render procedures, its clipTriangle and
// clipLine and the two clippers called by name are given. The independent
// line procedure decides as a rasterizer would: clean lines are lines,
// lines with mixed codes go to the line clipper, the rest are dropped.
// After each call the stipple counts as started.
void Install(GlContext *gc);
std::vector<Call> &Calls();
std::vector<Call> Take();

// The same drawing: call for call the same kind, provoking vertex (of
// polygons), stipple restart (of lines and polygons) and clip codes; vertices equal in values (object, clip and window
// coordinates, front colour, clip codes, size class and boundary bit), in
// the same order up to a rotation of a triangle's three vertices. Boundary
// bits only matter to polygons drawn as lines or points (`boundaries`): the
// array compiles for filled polygons do not copy edge flags.
testing::AssertionResult SameStream(const std::vector<Call> &expected,
                                    const std::vector<Call> &actual, bool boundaries = false);

}  // namespace prim_stream
