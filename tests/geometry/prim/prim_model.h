// An independent model of what primitive assembly hands on, written from
// OpenGL's definition of each primitive: which vertices form each point,
// line, triangle and quad in OpenGL order, then the driver's conventions
// (triangles newest vertex first, quads split along the diagonal from their
// second to their fourth vertex, long polygons in fans of at most fifteen
// vertices that share the first), the draw/drop/clip rule on the codes, the
// edges a boundary bit may show, where the line stipple restarts and what
// each hand-off costs in locks.
#pragma once

#include <stdint.h>

#include <vector>

#include "core/gl_defs.h"
#include "tests/geometry/prim/prim_call.h"

struct ModelRun {
  GLenum mode = GL_POINTS;
  int count = 0;
  std::vector<uint32_t> codes;
  std::vector<bool> flags;
  uint32_t frontNeeds = 0;  // not 0: the slow point and line-strip forms
};

std::vector<PrimCall> ModelCalls(const ModelRun &run);

// The vertices a later primitive of `mode` still uses after `given`
// vertices, in increasing order.
std::vector<int> ModelWaiting(GLenum mode, int given);
