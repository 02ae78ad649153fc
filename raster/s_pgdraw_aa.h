// Antialiased triangles: fringe pixels sampled on an n x n grid and stored
// one by one with their coverage, fully covered runs as ordinary spans.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;
struct GlVertex;

// One edge a x + b y + c = 0. The inside is where the value's sign matches
// `inside` (1: >= 0). Kept in double: window coordinates with their bias on
// the 1/8 grid need more bits than a float has for exact sample tests.
typedef struct AALine {
  double a, b, c;
  uint8_t inside;
} AALine;

// One parameter: its value at window position (x, y) is -(a x + b y + d).
typedef struct AAPlane {
  GLfloat a, b, one, d;
} AAPlane;

typedef struct AACoverage {
  GLfloat dx, dy;  // sample spacing, 1/n
  int32_t n;       // samples per axis
  int32_t count;   // n x n
  GLfloat weight;  // 1 / count
  uint8_t full;    // the last pixel was fully covered
  GLfloat firstX, lastX, firstY, lastY;  // first and last sample offsets
} AACoverage;

typedef struct AATriangle {
  AAPlane r, g, b, a, z, s, t, q, rho, fog;
  AALine edges[3];
  AACoverage coverage;
  GlContext *gc;
} AATriangle;

void GLFASTCALL __glFillAntiAliasedTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);

// The pieces, named so that tests can check them on their own.
namespace aa_triangle {
// Edge through p and q (window x, y); inside is r's side.
void FindLineEquation(AALine *edge, const double p[2], const double q[2], const double r[2]);
// The plane of one parameter through three points (x, y with the + 0.5 of
// the prepared vertices) carrying p0, p1, p2.
void FindPlaneEquation(AAPlane *plane, const GLfloat x[3], const GLfloat y[3],
                       const GLfloat p[3]);
void ComputeCoverageStuff(AACoverage *coverage, int32_t n);
GLfloat FindP(const AAPlane *plane, GLfloat x, GLfloat y);
// Coverage of the pixel whose grid is centred on (*x, *y), in 0 .. 1; moves
// (*x, *y) to the centre of the inside samples' bounding box.
GLfloat Coverage(const AALine edges[3], GLfloat *x, GLfloat *y, AACoverage *coverage);
}  // namespace aa_triangle
