#include "pixels/px_rho.h"

GLfloat __glNopLineRho(GlContext *gc, GLfloat s, GLfloat t, GLfloat q) { return 0.0f; }

GLfloat __glNopPolygonRho(GlContext *gc, const GlEdgeWalker *walker, GLfloat s, GLfloat t,
                          GLfloat q) {
  return 0.0f;
}
