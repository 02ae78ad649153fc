#include "tests/pixels/draw/draw_fixture.h"

#include <math.h>

#include <sstream>

#include "core/current.h"
#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "raster/s_depth.h"
#include "tests/support/counting_imports.h"

namespace draw_test {

namespace {
std::vector<Recorded> &Recorder() {
  static std::vector<Recorded> fragments;
  return fragments;
}
void RecordFragment(GlColorBuffer *, const GlFragment *f) {
  Recorder().push_back({f->x, f->y, f->z, f->color});
}
}  // namespace

std::vector<Recorded> &DrawTest::Fragments() { return Recorder(); }

void DrawTest::Open(bool useRgba, bool yInverted, int colorBits, int depthBits, int windowWidth,
                    int windowHeight) {
  GlModes m = TestModes(useRgba, true, uint32_t(depthBits), 8, false);
  if (useRgba && colorBits == 32) {
    m.colorBits = 32;
    m.redBits = m.greenBits = m.blueBits = m.alphaBits = 8;
    m.redMask = 0xFF0000, m.greenMask = 0xFF00, m.blueMask = 0xFF, m.alphaMask = 0xFF000000u;
  } else if (useRgba && colorBits == 8) {
    m.colorBits = m.indexBits = 8;
    m.redBits = m.greenBits = 3, m.blueBits = 2;
    m.redMask = 0x07, m.greenMask = 0x38, m.blueMask = 0xC0;
  }
  OpenModes(m, useRgba ? colorBits : 8, yInverted, windowWidth, windowHeight);
}

void DrawTest::OpenFormat(const ColorFormat &f, bool yInverted) {
  GlModes m = TestModes(f.rgba, true, 16, 8, false);
  SetFormatModes(&m, f);
  OpenModes(m, int(f.colorBits), yInverted, kWidth, kHeight);
}

void DrawTest::OpenModes(const GlModes &m, int bits, bool yInverted, int windowWidth,
                         int windowHeight) {
  rgba = m.rgbMode != 0;
  width = windowWidth, height = windowHeight;
  ASSERT_NE(OpenWindow(m, uint32_t(bits), width, height, yInverted), nullptr);
}

void DrawTest::Prepare() {
  Validate();
  gc->procs.pixel.drawPixelsStore = RecordFragment;
}

void DrawTest::SetRaster(double x, double y, double z) {
  GlVertex &rp = gc->state.current.rasterPos;
  rp.window.x = GLfloat(x + gc->constants.fviewportXAdjust);
  rp.window.y = GLfloat(y + gc->constants.fviewportYAdjust);
  rp.window.z = GLfloat(z);
  gc->state.current.validRasterPos = 1;
}

void DrawTest::Apply(const ModelStore &s, const ModelTransfer &t) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, s.alignment);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, s.rowLength);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, s.skipPixels);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, s.skipRows);
  glPixelStorei(GL_UNPACK_SWAP_BYTES, s.swapBytes);
  glPixelStorei(GL_UNPACK_LSB_FIRST, s.lsbFirst);
  const GLenum scales[4] = {GL_RED_SCALE, GL_GREEN_SCALE, GL_BLUE_SCALE, GL_ALPHA_SCALE};
  const GLenum biases[4] = {GL_RED_BIAS, GL_GREEN_BIAS, GL_BLUE_BIAS, GL_ALPHA_BIAS};
  for (int k = 0; k < 4; k++) {
    glPixelTransferf(scales[k], t.scale[k]);
    glPixelTransferf(biases[k], t.bias[k]);
  }
  glPixelTransferf(GL_DEPTH_SCALE, t.depthScale);
  glPixelTransferf(GL_DEPTH_BIAS, t.depthBias);
  glPixelTransferi(GL_INDEX_SHIFT, t.indexShift);
  glPixelTransferi(GL_INDEX_OFFSET, t.indexOffset);
  glPixelTransferi(GL_MAP_COLOR, t.mapColor);
  glPixelTransferi(GL_MAP_STENCIL, t.mapStencil);
  const GLenum maps[8] = {GL_PIXEL_MAP_R_TO_R, GL_PIXEL_MAP_G_TO_G, GL_PIXEL_MAP_B_TO_B,
                          GL_PIXEL_MAP_A_TO_A, GL_PIXEL_MAP_I_TO_R, GL_PIXEL_MAP_I_TO_G,
                          GL_PIXEL_MAP_I_TO_B, GL_PIXEL_MAP_I_TO_A};
  for (int k = 0; k < 8; k++)
    if (!t.maps[k].empty()) glPixelMapfv(maps[k], GLsizei(t.maps[k].size()), t.maps[k].data());
  if (!t.itoi.empty()) {
    std::vector<GLuint> v(t.itoi.begin(), t.itoi.end());
    glPixelMapuiv(GL_PIXEL_MAP_I_TO_I, GLsizei(v.size()), v.data());
  }
  if (!t.stos.empty()) {
    std::vector<GLuint> v(t.stos.begin(), t.stos.end());
    glPixelMapuiv(GL_PIXEL_MAP_S_TO_S, GLsizei(v.size()), v.data());
  }
}

std::vector<Recorded> DrawTest::Draw(int width, int height, unsigned format, unsigned type,
                                     const void *pixels) {
  Prepare();
  Fragments().clear();
  __glSlowPickDrawPixels(gc, width, height, format, type, pixels, 0);
  return Fragments();
}

ModelDraw DrawTest::ModelOf(int width, int height, unsigned format, unsigned type,
                            const void *pixels) const {
  ModelDraw d;
  const GlVertex &rp = gc->state.current.rasterPos;
  const GlPixelTransferMode &tm = gc->pixel.transferMode;
  d.x = rp.window.x;
  d.y = rp.window.y;
  d.zoomx = tm.zoomX;
  d.zoomy = tm.zoomY;
  if (gc->constants.yInverted)
    d.zoomy = -d.zoomy;
  else
    d.y = GLfloat(rp.window.y + gc->constants.viewportEpsilon);
  d.fragz = uint32_t(double(rp.window.z) * gc->constants.depthMax);
  const GlColor c = rp.color ? *rp.color : rp.colors[0];
  const GlConstants &k = gc->constants;
  if (rgba) {
    d.rasterColor[0] = c.r * k.redRescale, d.rasterColor[1] = c.g * k.greenRescale;
    d.rasterColor[2] = c.b * k.blueRescale, d.rasterColor[3] = c.a * k.alphaRescale;
  } else {
    d.rasterColor[0] = c.r;
  }
  d.width = width, d.height = height;
  d.format = format, d.type = type;
  d.pixels = static_cast<const uint8_t *>(pixels);
  return d;
}

ModelTarget DrawTest::Target() const {
  ModelTarget t;
  t.rgba = rgba;
  const GlColorBuffer *cfb = gc->drawBuffer;
  t.scale[0] = cfb->redScale, t.scale[1] = cfb->greenScale;
  t.scale[2] = cfb->blueScale, t.scale[3] = cfb->alphaScale;
  t.indexMask = cfb->redMax;
  t.depthScale = gc->depthBuffer.scale;
  for (int k = 0; k < 4; k++) t.box[k] = gc->transform.clipBox[k];
  return t;
}

std::string DrawTest::Compare(const std::vector<Recorded> &got, const ModelImage &want) const {
  std::ostringstream out;
  int wrong = 0;
  auto report = [&](const std::string &text) {
    if (wrong++ < 6) out << "\n  " << text;
  };
  std::map<std::pair<int, int>, int> seen;
  // Colours: the engine's single-precision steps take another order than
  // the model's (reciprocals, lookup tables), up to a few ulps of the scale.
  const double colorSlack = 1e-3;
  // Depth: the engine multiplies the largest depth word by the value in
  // single precision, whose ulp at 2^32 is 512; unsigned-int depths keep
  // the client's top bits, under one stored unit from the scaled value.
  const GlDepthBufferPrivate *rec = __glDepthPrivate(&gc->depthBuffer);
  const double unit = double(1u << (rec ? rec->shift : 0));
  const double depthSlack = gc->depthBuffer.scale / double(1 << 22) + unit;
  const int32_t ax = gc->constants.viewportXAdjust, ay = gc->constants.viewportYAdjust;
  for (const Recorded &r : got) {
    const auto at = std::make_pair(r.x, r.y);
    std::ostringstream where;
    where << "(" << r.x - ax << ", " << r.y - ay << ")";
    if (seen[at]++) {
      report("fragment twice at " + where.str());
      continue;
    }
    if (want.ambiguous.count(at)) continue;
    auto it = want.fragments.find(at);
    if (it == want.fragments.end()) {
      report("unexpected fragment at " + where.str());
      continue;
    }
    const ModelFragment &m = it->second;
    const float c[4] = {r.color.r, r.color.g, r.color.b, r.color.a};
    const int n = rgba ? 4 : 1;
    for (int k = 0; k < n; k++) {
      const bool ok = rgba ? fabs(c[k] - m.color[k]) <= colorSlack
                           : (int64_t(c[k]) & gc->drawBuffer->redMax) ==
                                 (int64_t(m.color[k]) & gc->drawBuffer->redMax);
      if (!ok) {
        std::ostringstream t;
        t << "component " << k << " at " << where.str() << ": " << c[k] << ", want " << m.color[k];
        report(t.str());
      }
    }
    if (fabs(double(r.z) - double(m.z)) > depthSlack) {
      std::ostringstream t;
      t << "z at " << where.str() << ": " << r.z << ", want " << m.z;
      report(t.str());
    }
  }
  for (const auto &[at, f] : want.fragments)
    if (!seen.count(at) && !want.ambiguous.count(at)) {
      std::ostringstream t;
      t << "missing fragment at (" << at.first - ax << ", " << at.second - ay << ")";
      report(t.str());
    }
  if (wrong) out << "\n  (" << wrong << " differences)";
  return out.str();
}

}  // namespace draw_test
