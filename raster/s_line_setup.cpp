// The set-up of an aliased segment: which pixels it covers by the diamond
// rule, as a start pixel, a pixel count and a DDA. The vertices' window x
// and y carry the half-pixel shift, so pixel i's centre lies at i + 1.
#include <math.h>

#include "core/context.h"
#include "core/gl_convert.h"
#include "raster/s_line.h"

namespace {

// Beyond this the float rounding below keeps no fraction, and no run could
// fit a drawable; NaN fails the test too.
constexpr GLfloat kMaxCoord = 4194304.0f;  // 2^22

// Round to nearest, ties to even, as adding 2^23 in single precision does.
GLfloat RoundNearest(GLfloat c) {
  volatile GLfloat sum = c + 8388608.0f;
  return sum - 8388608.0f;
}

// One coordinate's nearest pixel and its offset from that pixel's centre.
struct Rounded {
  int32_t index;  // the pixel
  GLfloat f;      // -0.5 .. 0.5
};

Rounded Round(GLfloat c) {
  const GLfloat r = RoundNearest(c);
  return {int32_t(r) - 1, c - r};
}

// Whether an end leaves its nearest pixel's diamond forward along a major
// axis travelled in direction dir.
bool PastDiamond(int32_t dir, GLfloat fMajor, GLfloat fMinor) {
  return dir > 0 ? fMajor + fabsf(fMinor) > 0.5f : fabsf(fMinor) - fMajor > 0.5f;
}

}  // namespace

void __glInitLineData(GlContext *gc, GlVertex *a, GlVertex *b) {
  GlLineMachine &l = gc->line;
  l.vertexA = a;
  l.vertexB = b;
  l.width = gc->state.line.aliasedWidth;
  l.pixelCount = 0;
  const GLfloat x0 = a->window.x, y0 = a->window.y, x1 = b->window.x, y1 = b->window.y;
  if (!(fabsf(x0) <= kMaxCoord && fabsf(y0) <= kMaxCoord && fabsf(x1) <= kMaxCoord &&
        fabsf(y1) <= kMaxCoord))
    return;
  const GLfloat dx = x1 - x0, dy = y1 - y0;
  if (dx == 0.0f && dy == 0.0f) return;

  // The octant: an exact diagonal is y-major.
  bool xMajor;
  int32_t majorDir, minorDir;
  if (dx > 0) {
    if (dy > 0) {
      xMajor = dy < dx, majorDir = 1, minorDir = 1;
    } else {
      xMajor = -dy < dx;
      majorDir = xMajor ? 1 : -1;
      minorDir = xMajor ? -1 : 1;
    }
  } else {
    if (dy > 0) {
      xMajor = -dx > dy;
      majorDir = xMajor ? -1 : 1;
      minorDir = xMajor ? 1 : -1;
    } else {
      xMajor = dy > dx;
      majorDir = -1, minorDir = -1;
    }
  }

  const GLfloat M0 = xMajor ? x0 : y0, m0 = xMajor ? y0 : x0;
  const GLfloat M1 = xMajor ? x1 : y1, m1 = xMajor ? y1 : x1;
  const Rounded rM0 = Round(M0), rm0 = Round(m0), rM1 = Round(M1), rm1 = Round(m1);
  int32_t start = rM0.index, end = rM1.index;
  if (PastDiamond(majorDir, rM0.f, rm0.f)) start += majorDir;
  if (PastDiamond(majorDir, rM1.f, rm1.f)) end += majorDir;
  const int32_t count = majorDir > 0 ? end - start : start - end;
  // A segment that enters a diamond without leaving it draws nothing; runs
  // longer than the span arrays come only from vertices far off the window.
  if (count <= 0 || count > GL_SPAN_PIXELS) return;

  const GLfloat startOffset =
      majorDir > 0 ? (GLfloat(start) + 1.0f) - M0 : M0 - GLfloat(start) - 1.0f;
  // The minor position in double: exact for window coordinates, so only the
  // 31-bit fraction limits where the run meets a pixel boundary.
  const double majorDelta = double(M1) - double(M0), minorDelta = double(m1) - double(m0);
  const double slope = minorDelta / fabs(majorDelta);
  const double s = slope * double(startOffset) + double(m0) - double(l.width) * 0.5;
  const int32_t minorStart = __glFloorToInt(s);

  l.majorAxis = xMajor ? 0 : 1;
  l.pixelCount = count;
  l.startOffset = startOffset;
  l.majorLength = fabsf(M1 - M0);
  l.fraction = int32_t(uint32_t((s - double(minorStart)) * 2147483648.0) & 0x7FFFFFFFu);
  // A slope of magnitude 1 takes the big step at every pixel: 2^31 itself.
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
}
