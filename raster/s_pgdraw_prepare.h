// The triangle fills' preparation: working copies of the vertices (pixel
// centres at whole numbers, depth and colour in buffer units) and the plane
// gradients of every iterated parameter, shared by the plain and the
// antialiased fill.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"
#include "geometry/s_vertex.h"

struct GlContext;
struct GlConstants;

namespace tri_prepare {

// Beyond this floats keep no fraction of a pixel, and the walk would take
// more rows than any drawable has; NaN fails the test too.
constexpr GLfloat kMaxWindowCoord = 16777216.0f;

// A working copy of a vertex: pixel centres at whole numbers, z in
// depth-buffer units, colour rescaled. The caller's vertex is never written.
struct Prepared {
  GlVertex v;
  GlColor color;
  GLfloat fog, rho;
  GLfloat s, t, q;
};

// Gradients of a parameter over the triangle, from its values at the
// sorted vertices and the 1/area terms.
struct Plane {
  GLfloat t1, t2, t3, t4;  // dyBC, dyAC, dxAC, dxBC over the area
  void Gradients(GLfloat pMin, GLfloat pMid, GLfloat pMax, GLfloat *dpdx, GLfloat *dpdy) const {
    const GLfloat dpAC = pMin - pMax, dpBC = pMid - pMax;
    *dpdx = dpAC * t1 - dpBC * t2;
    *dpdy = dpBC * t3 - dpAC * t4;
  }
};

bool Walkable(const GlVertex *v);
// Colours to colour-buffer units, by component name.
GlColor Rescaled(const GlConstants &k, const GlColor &c);
void Prepare(const GlContext *gc, const GlVertex *in, Prepared *out);
// Colour gradients (iterated colour) or the flat colour into the shader.
void SetColors(GlContext *gc, const Plane &plane, const Prepared *min, const Prepared *mid,
               const Prepared *max);
// Texture gradients; fills each vertex's s, t, q and rho.
void SetTexture(GlContext *gc, const Plane &plane, Prepared *v[3]);

// What the set-up found: the rows of the three sorted vertices and the side
// of the long edge.
struct TriangleSetUp {
  int32_t iyMin, iyMid, iyMax;
  bool longEdgeLeft;
};
// Sorts the three (prepared) vertices by y and sets every gradient of the
// shader; false when the area is 0.
bool SetUpTriangle(GlContext *gc, Prepared *sorted[3], TriangleSetUp *out);
// Rows iyStart .. iyEnd - 1 of one sub-triangle, edges and parameters set.
typedef void (*SubTriangleRows)(void *user, GlContext *gc, int32_t iyStart, int32_t iyEnd);
// The edges and left-edge starts of both sub-triangles, each walked by `rows`.
void WalkTriangle(GlContext *gc, Prepared *const sorted[3], const TriangleSetUp &t,
                  SubTriangleRows rows, void *user);

}  // namespace tri_prepare
