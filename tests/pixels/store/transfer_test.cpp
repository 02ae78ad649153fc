// glPixelTransferf, glPixelTransferi and glPixelZoom: the names each takes,
// the roundings of the integer modes and the zoom's window step.
#include <math.h>
#include <stdint.h>
#include <string.h>

#include "tests/pixels/store/pixel_state_fixture.h"

namespace pixel_state_test {
namespace {

const double kNaN = nan("");

// The value a name sets, read from the record directly.
double Field(const GlPixelTransferMode &t, GLenum pname) {
  switch (pname) {
    case GL_MAP_COLOR: return t.mapColor;
    case GL_MAP_STENCIL: return t.mapStencil;
    case GL_INDEX_SHIFT: return t.indexShift;
    case GL_INDEX_OFFSET: return t.indexOffset;
    case GL_RED_SCALE: return t.redScale;
    case GL_RED_BIAS: return t.redBias;
    case GL_GREEN_SCALE: return t.greenScale;
    case GL_GREEN_BIAS: return t.greenBias;
    case GL_BLUE_SCALE: return t.blueScale;
    case GL_BLUE_BIAS: return t.blueBias;
    case GL_ALPHA_SCALE: return t.alphaScale;
    case GL_ALPHA_BIAS: return t.alphaBias;
    case GL_DEPTH_SCALE: return t.depthScale;
    case GL_DEPTH_BIAS: return t.depthBias;
    default: ADD_FAILURE() << "no field for " << Hex(pname); return 0;
  }
}

bool Same(const GlPixelTransferMode &a, const GlPixelTransferMode &b) {
  const GLenum names[] = {GL_MAP_COLOR,   GL_MAP_STENCIL, GL_INDEX_SHIFT, GL_INDEX_OFFSET,
                          GL_RED_SCALE,   GL_RED_BIAS,    GL_GREEN_SCALE, GL_GREEN_BIAS,
                          GL_BLUE_SCALE,  GL_BLUE_BIAS,   GL_ALPHA_SCALE, GL_ALPHA_BIAS,
                          GL_DEPTH_SCALE, GL_DEPTH_BIAS};
  for (GLenum name : names)
    if (Field(a, name) != Field(b, name)) return false;
  return a.zoomX == b.zoomX && a.zoomY == b.zoomY;
}

struct TransferCase {
  GLenum pname;
  bool asInt;  // through glPixelTransferi
  double param;
  GLenum error;
  double stored;  // NaN: stored as given
};

const TransferCase kCases[] = {
    // The zooms have their own entry.
    {GL_ZOOM_X, true, 2, GL_INVALID_ENUM, 0},
    {GL_ZOOM_Y, false, 2.0, GL_INVALID_ENUM, 0},
    {0x0D0F, false, 1.0, GL_INVALID_ENUM, 0},
    {0x0D20, true, 1, GL_INVALID_ENUM, 0},
    {GL_UNPACK_ALIGNMENT, true, 4, GL_INVALID_ENUM, 0},
    // Index shift and offset: rounded half away from zero, saturated.
    {GL_INDEX_SHIFT, false, -1.5, GL_NO_ERROR, -2},
    {GL_INDEX_OFFSET, false, 2.5, GL_NO_ERROR, 3},
    {GL_INDEX_SHIFT, false, 0.4, GL_NO_ERROR, 0},
    {GL_INDEX_SHIFT, false, -0.4, GL_NO_ERROR, 0},
    {GL_INDEX_SHIFT, true, 7, GL_NO_ERROR, 7},
    {GL_INDEX_OFFSET, true, -9, GL_NO_ERROR, -9},
    {GL_INDEX_OFFSET, false, kNaN, GL_NO_ERROR, 0},
    {GL_INDEX_OFFSET, false, 1e30, GL_NO_ERROR, INT32_MAX},
    {GL_INDEX_SHIFT, false, -1e30, GL_NO_ERROR, INT32_MIN},
    // The two flags.
    {GL_MAP_COLOR, false, 0.5, GL_NO_ERROR, 1},
    {GL_MAP_COLOR, true, 3, GL_NO_ERROR, 1},
    {GL_MAP_STENCIL, true, 0, GL_NO_ERROR, 0},
    {GL_MAP_STENCIL, false, -2.0, GL_NO_ERROR, 1},
    // Scales and biases as given, without a range check.
    {GL_RED_SCALE, false, -2.5, GL_NO_ERROR, -2.5},
    {GL_RED_BIAS, false, 0.125, GL_NO_ERROR, 0.125},
    {GL_GREEN_SCALE, false, 3.0, GL_NO_ERROR, 3.0},
    {GL_GREEN_BIAS, true, 3, GL_NO_ERROR, 3.0},
    {GL_BLUE_SCALE, false, 1e30, GL_NO_ERROR, double(1e30f)},
    {GL_BLUE_BIAS, false, -1e30, GL_NO_ERROR, double(-1e30f)},
    {GL_ALPHA_SCALE, false, kNaN, GL_NO_ERROR, kNaN},
    {GL_ALPHA_BIAS, true, -1, GL_NO_ERROR, -1.0},
    {GL_DEPTH_SCALE, false, 0.0, GL_NO_ERROR, 0.0},
    {GL_DEPTH_BIAS, false, 0.5, GL_NO_ERROR, 0.5},
};

TEST_F(PixelStateTest, PixelTransferSetsItsNamesAndRefusesTheZooms) {
  for (const TransferCase &c : kCases) {
    SCOPED_TRACE(Hex(c.pname) + (c.asInt ? " int " : " float ") + std::to_string(c.param));
    __glInitPixelState(gc);
    const GlPixelTransferMode before = gc->pixel.transferMode;
    Settle();
    if (c.asInt)
      glPixelTransferi(c.pname, GLint(c.param));
    else
      glPixelTransferf(c.pname, GLfloat(c.param));
    EXPECT_EQ(glGetError(), c.error);
    if (c.error != GL_NO_ERROR) {
      ExpectUnmarked();
      EXPECT_TRUE(Same(gc->pixel.transferMode, before));
      continue;
    }
    ExpectMarked(__GL_DIRTY_PIXEL);
    double got = Field(gc->pixel.transferMode, c.pname);
    if (isnan(c.stored))
      EXPECT_TRUE(isnan(got));
    else
      EXPECT_EQ(got, c.stored);
  }
}

// n x step for the nearest whole n, halves away from zero; computed apart
// from the entry in long double.
double OnTheStep(double factor, double step) {
  if (isnan(factor)) return 0.0;
  long double n = factor > 0 ? floorl(factor / step + 0.5L) : ceill(factor / step - 0.5L);
  if (n > INT32_MAX) n = INT32_MAX;
  if (n < INT32_MIN) n = INT32_MIN;
  return double(GLfloat(double(n) * step));
}

TEST_F(PixelStateTest, PixelZoomKeepsToTheWindowStep) {
  const double step = gc->constants.viewportEpsilon;
  ASSERT_GT(step, 0.0);
  int exponent;
  ASSERT_EQ(frexp(step, &exponent), 0.5) << "the step is a power of two";
  const double factors[] = {1.0,       2.0,          0.3,         -0.7,        -1.0,
                            0.0,       step * 0.49,  step * 0.5,  -step * 0.5, step * 2.5,
                            1.0 / 3,   -123.456,     kNaN,        1e30,        -1e30};
  for (double x : factors) {
    SCOPED_TRACE(x);
    Settle();
    glPixelZoom(GLfloat(x), GLfloat(-x));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    ExpectMarked(__GL_DIRTY_PIXEL);
    EXPECT_EQ(gc->pixel.transferMode.zoomX, OnTheStep(GLfloat(x), step));
    EXPECT_EQ(gc->pixel.transferMode.zoomY, OnTheStep(GLfloat(-x), step));
  }
  // Whole zooms, and the step's own multiples, are kept exactly; a NaN
  // zoom is 0 and draws nothing.
  glPixelZoom(2.0f, GLfloat(3 * step));
  EXPECT_EQ(gc->pixel.transferMode.zoomX, 2.0f);
  EXPECT_EQ(gc->pixel.transferMode.zoomY, GLfloat(3 * step));
  glPixelZoom(GLfloat(kNaN), 1.0f);
  EXPECT_EQ(gc->pixel.transferMode.zoomX, 0.0f);
}

}  // namespace
}  // namespace pixel_state_test
