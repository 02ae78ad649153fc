// The rectangle: a GL_POLYGON of four vertices issued through the calling
// thread's current dispatch table, so that it takes the road of an
// application's polygon, or is recorded by a display list being compiled.
#include "geometry/s_rect.h"

#include "core/gl_api.h"

// Counter-clockwise when x1 < x2 and y1 < y2; swapping one axis's corners
// turns it around.
void __glRect(GlContext *, GLfloat x1, GLfloat y1, GLfloat x2, GLfloat y2) {
  glBegin(GL_POLYGON);
  glVertex2f(x1, y1);
  glVertex2f(x2, y1);
  glVertex2f(x2, y2);
  glVertex2f(x1, y2);
  glEnd();
}
