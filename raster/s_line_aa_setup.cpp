// The set-up of an antialiased segment: direction and normal, the DDA of
// the run along the major axis and its start across the line, and what the
// along and cross distances gain per step. Coordinates are window
// coordinates (pixel p's centre at p + 0.5), the frame of xStart and yStart.
#include <math.h>

#include "core/context.h"
#include "core/gl_convert.h"
#include "raster/s_line_aa.h"

namespace {

// Beyond this no run could fit a drawable; NaN fails the test too.
constexpr GLfloat kMaxCoord = 4194304.0f;  // 2^22

}  // namespace

void __glInitAALineData(GlContext *gc, GlVertex *a, GlVertex *b) {
  GlLineMachine &l = gc->line;
  const GLfloat half = gc->constants.half;
  l.vertexA = a;
  l.vertexB = b;
  l.majorLength = 0;
  l.pixelCount = 0;
  const GLfloat x0 = a->window.x - half, y0 = a->window.y - half;
  const GLfloat x1 = b->window.x - half, y1 = b->window.y - half;
  if (!(fabsf(x0) <= kMaxCoord && fabsf(y0) <= kMaxCoord && fabsf(x1) <= kMaxCoord &&
        fabsf(y1) <= kMaxCoord))
    return;
  const GLfloat dx = x1 - x0, dy = y1 - y0;
  if (dx == 0.0f && dy == 0.0f) return;
  l.lineLength = sqrtf(dx * dx + dy * dy);
  const GLfloat r = gc->constants.one / l.lineLength;
  l.dirX = r * dx, l.dirY = r * dy;
  l.perpX = -l.dirY, l.perpY = l.dirX;

  // The octant: an exact diagonal is y-major.
  const bool xMajor = fabsf(dy) < fabsf(dx);
  const GLfloat M0 = xMajor ? x0 : y0, m0 = xMajor ? y0 : x0;
  const GLfloat majorDelta = xMajor ? dx : dy, minorDelta = xMajor ? dy : dx;
  const int32_t majorDir = majorDelta > 0 ? 1 : -1, minorDir = minorDelta >= 0 ? 1 : -1;
  const GLfloat majorLength = fabsf(majorDelta);

  // The pixel whose centre is nearest the first vertex along the major
  // axis, and the distance to that centre.
  const int32_t start = __glFloorToInt(M0);
  const GLfloat startOffset = majorDir > 0 ? (GLfloat(start) + half) - M0 : M0 - (GLfloat(start) + half);
  const double pixels = ceil(double(majorLength)) + 1.0;
  // Runs longer than the span arrays come only from vertices far off the
  // window: nothing is drawn.
  if (pixels > GL_SPAN_PIXELS) return;

  // Across: enough runs for the width, the first one n/2 below the axis.
  const double slope = double(minorDelta) / double(majorLength);
  const int32_t n = int32_t(ceil(double(gc->state.line.smoothWidth) * l.lineLength / majorLength));
  const double s = slope * double(startOffset) + double(m0) - double(n) * 0.5;
  const int32_t minorStart = __glFloorToInt(s);

  l.majorAxis = xMajor ? 0 : 1;
  l.majorLength = majorLength;
  l.startOffset = startOffset;
  l.pixelCount = int32_t(pixels);
  l.width = n + 1;
  l.fraction = int32_t(uint32_t((s - double(minorStart)) * 2147483648.0) & 0x7FFFFFFFu);
  // The minor position walks by the signed slope; a borrow or carry out of
  // the 31-bit fraction takes the big step (a slope of magnitude 1 at
  // every pixel: 2^31 itself).
  l.dfraction = fabs(slope) >= 1.0 ? int32_t(0x80000000u)
                                   : int32_t(__glTruncateToInt(slope * 2147483648.0));
  if (xMajor) {
    l.xStart = start, l.yStart = minorStart;
    l.xLittle = l.xBig = majorDir;
    l.yLittle = 0, l.yBig = minorDir;
  } else {
    l.yStart = start, l.xStart = minorStart;
    l.yLittle = l.yBig = majorDir;
    l.xLittle = 0, l.xBig = minorDir;
  }
  // Along and across distances per step, from the steps themselves.
  l.dlLittle = l.dirX * GLfloat(l.xLittle) + l.dirY * GLfloat(l.yLittle);
  l.ddLittle = l.perpX * GLfloat(l.xLittle) + l.perpY * GLfloat(l.yLittle);
  l.dlBig = l.dirX * GLfloat(l.xBig) + l.dirY * GLfloat(l.yBig);
  l.ddBig = l.perpX * GLfloat(l.xBig) + l.perpY * GLfloat(l.yBig);
}
