// The window outcode of a clip record against one visible rectangle of the
// drawable, shared by the window-space triangle and line clippers.
#include "core/context.h"
#include "core/drawable.h"
#include "geometry/s_pgclip.h"

void __glCalc2DOutcode(GlContext *gc, GlClipVertex2D *record, const GlRect *rect) {
  // Window coordinates carry the bias; the rectangle is in drawable units.
  const GLfloat xBias = gc->constants.fviewportXAdjust;
  const GLfloat yBias = gc->constants.fviewportYAdjust;
  const GLfloat x = record->v.window.x;
  const GLfloat y = record->v.window.y;
  // A NaN coordinate compares false both ways and takes no bit.
  uint32_t code = 0;
  if (x < GLfloat(rect->x0) + xBias) code |= __GL_CLIP2D_LEFT;
  if (x > GLfloat(rect->x1) + xBias) code |= __GL_CLIP2D_RIGHT;
  if (y < GLfloat(rect->y0) + yBias) code |= __GL_CLIP2D_BOTTOM;
  if (y > GLfloat(rect->y1) + yBias) code |= __GL_CLIP2D_TOP;
  record->outcode = code;
}
