// Window outcodes against a rectangle: each bound is the rectangle's
// integer plus the float window bias; a coordinate on a bound is inside, the
// next float beyond it is outside; NaN takes no bit.
#include <gtest/gtest.h>
#include <math.h>

#include "geometry/s_pgclip.h"
#include "tests/geometry/clip_window/window_fixture.h"

namespace clip_window_test {
namespace {

class Outcode : public WindowClipTest {};

// Where a coordinate lies against one pair of bounds.
enum Place { kBelow, kOnLow, kInside, kOnHigh, kAbove, kNaN, kMinusInf, kPlusInf };

struct AxisCase {
  Place place;
  bool low, high;  // whether the low or the high bit is expected
};
const AxisCase kAxisCases[] = {
    {kBelow, true, false},    {kOnLow, false, false},  {kInside, false, false},
    {kOnHigh, false, false},  {kAbove, false, true},   {kNaN, false, false},
    {kMinusInf, true, false}, {kPlusInf, false, true},
};

GLfloat At(Place place, GLfloat low, GLfloat high) {
  switch (place) {
    case kBelow:
      return nextafterf(low, -INFINITY);
    case kOnLow:
      return low;
    case kInside:
      return (low + high) / 2;
    case kOnHigh:
      return high;
    case kAbove:
      return nextafterf(high, INFINITY);
    case kNaN:
      return NAN;
    case kMinusInf:
      return -INFINITY;
    case kPlusInf:
      return INFINITY;
  }
  return 0;
}

const GlRect kRects[] = {{0, 0, 64, 48}, {10, 20, 11, 21}, {-5, -7, 3, 2}, {30, 12, 30, 12}};

TEST_F(Outcode, EachCoordinateAgainstItsBoundsGivesItsBits) {
  for (const GlRect &rect : kRects) {
    const GLfloat x0 = GLfloat(rect.x0) + xBias, x1 = GLfloat(rect.x1) + xBias;
    const GLfloat y0 = GLfloat(rect.y0) + yBias, y1 = GLfloat(rect.y1) + yBias;
    for (const AxisCase &xc : kAxisCases) {
      for (const AxisCase &yc : kAxisCases) {
        GlClipVertex2D record{};
        record.v.window = {At(xc.place, x0, x1), At(yc.place, y0, y1), 0.5f, 1.0f};
        record.outcode = 0xDEADBEEFu;
        __glCalc2DOutcode(gc, &record, &rect);
        const uint32_t want = (xc.low ? __GL_CLIP2D_LEFT : 0) | (xc.high ? __GL_CLIP2D_RIGHT : 0) |
                              (yc.low ? __GL_CLIP2D_BOTTOM : 0) | (yc.high ? __GL_CLIP2D_TOP : 0);
        EXPECT_EQ(record.outcode, want)
            << "rect " << rect.x0 << "," << rect.y0 << " - " << rect.x1 << "," << rect.y1 << " at "
            << record.v.window.x << ", " << record.v.window.y;
      }
    }
  }
}

TEST_F(Outcode, TheBiasIsTheContextsFloatBias) {
  // Another bias moves every bound with it.
  const GLfloat biases[] = {0.0f, 6144.0f, 100.5f};
  const GlRect rect = {4, 8, 12, 16};
  for (GLfloat bias : biases) {
    gc->constants.fviewportXAdjust = bias;
    gc->constants.fviewportYAdjust = bias + 1;
    struct {
      GLfloat x, y;
      uint32_t want;
    } const cases[] = {
        {4 + bias, 8 + bias + 1, 0},
        {nextafterf(4 + bias, 0), 16 + bias + 1, __GL_CLIP2D_LEFT},
        {12 + bias, nextafterf(16 + bias + 1, INFINITY), __GL_CLIP2D_TOP},
        {nextafterf(12 + bias, INFINITY), nextafterf(8 + bias + 1, 0),
         __GL_CLIP2D_RIGHT | __GL_CLIP2D_BOTTOM},
    };
    for (const auto &c : cases) {
      GlClipVertex2D record{};
      record.v.window = {c.x, c.y, 0, 1};
      __glCalc2DOutcode(gc, &record, &rect);
      EXPECT_EQ(record.outcode, c.want) << "bias " << bias << " at " << c.x << ", " << c.y;
    }
  }
}

}  // namespace
}  // namespace clip_window_test
