#include "tests/raster/scene/scene_fixture.h"

#include <math.h>

#include <algorithm>

#include <sstream>

#include "core/context.h"
#include "core/current.h"
#include "core/gl_api.h"
#include "core/s_context.h"
#include "raster/s_buffers.h"
#include "tests/raster/color/color_model.h"
#include "tests/support/counting_imports.h"

namespace scene_test {

double IndexRange(const ColorFormat &f) { return f.indexMask() < 4095 ? f.indexMask() : 4095; }

std::vector<SceneStep> ForFormat(const std::vector<SceneStep> &steps, const ColorFormat &f) {
  if (f.rgba) return steps;
  std::vector<SceneStep> out = steps;
  for (SceneStep &s : out)
    for (SceneVertex &v : s.primitive.v) v.c[0] *= IndexRange(f);
  return out;
}

bool SceneTest::Open(const ColorFormat &f, uint32_t depthBits, bool inverted) {
  format = f;
  yInverted = inverted;
  GlModes m = TestModes(f.rgba, true, depthBits, 8, false);
  SetFormatModes(&m, f);
  if (!OpenWindow(m, f.colorBits, kWidth, kHeight, inverted)) {
    ADD_FAILURE() << "no context for " << f.name;
    return false;
  }
  glViewport(0, 0, kWidth, kHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // Object x, y are window pixels; z from near 0 to far -1 makes window z = z.
  glOrtho(0, kWidth, 0, kHeight, 0, -1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  return true;
}

SceneTarget SceneTest::Target() const {
  SceneTarget t{};
  t.format = format;
  t.width = kWidth, t.height = kHeight;
  t.yInverted = yInverted;
  t.epsilon = gc->constants.viewportEpsilon;
  const GlColorBuffer *cfb = gc->drawBuffer;
  if (format.rgba) {
    t.scale[0] = cfb->redScale, t.scale[1] = cfb->greenScale;
    t.scale[2] = cfb->blueScale, t.scale[3] = cfb->alphaScale;
  } else {
    t.scale[0] = t.scale[1] = t.scale[2] = t.scale[3] = 1;
  }
  const auto *rec = static_cast<const GlDepthBufferPrivate *>(window->drawable()->depth.corePrivate);
  t.depthMax = gc->depthBuffer.scale >> (rec ? rec->shift : 0);
  t.offsetUnit = 16777216.0 / gc->depthBuffer.scale;
  t.stencilBits = 8;
  return t;
}

void SceneTest::ClearAll(SceneReference *ref, uint32_t stencil) {
  glDisable(GL_SCISSOR_TEST);
  glColorMask(1, 1, 1, 1);
  glDepthMask(1);
  glStencilMask(0xFF);
  glClearColor(0.25f, 0.5f, 0.75f, 0.5f);
  glClearIndex(3);
  glClearDepth(1.0);
  glClearStencil(GLint(stencil));
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  std::vector<uint32_t> colors;
  for (int32_t row = 0; row < kHeight; row++)
    for (int32_t x = 0; x < kWidth; x++) colors.push_back(colorMemory->Read(x, row));
  ref->Clear(colors, stencil);
}

void SceneTest::Apply(const SceneState &s) {
  glShadeModel(s.smooth ? GL_SMOOTH : GL_FLAT);
  glFrontFace(s.frontFace);
  glCullFace(s.cullFace);
  s.cull ? glEnable(GL_CULL_FACE) : glDisable(GL_CULL_FACE);
  glDepthFunc(s.depthFunc);
  glDepthMask(GLboolean(s.depthWrite));
  s.depthTest ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
  glPolygonOffset(GLfloat(s.factor), GLfloat(s.units));
  s.offset ? glEnable(GL_POLYGON_OFFSET_FILL) : glDisable(GL_POLYGON_OFFSET_FILL);
  glPolygonStipple(s.pattern);
  s.stipple ? glEnable(GL_POLYGON_STIPPLE) : glDisable(GL_POLYGON_STIPPLE);
  glScissor(s.box[0], s.box[1], s.box[2], s.box[3]);
  s.scissor ? glEnable(GL_SCISSOR_TEST) : glDisable(GL_SCISSOR_TEST);
  glAlphaFunc(s.alphaFunc, GLfloat(s.alphaRef));
  s.alphaTest ? glEnable(GL_ALPHA_TEST) : glDisable(GL_ALPHA_TEST);
  glStencilFunc(s.stencil.func, GLint(s.stencil.ref), s.stencil.mask);
  glStencilOp(s.stencil.fail, s.stencil.zfail, s.stencil.zpass);
  glStencilMask(s.stencil.writeMask);
  s.stencil.on ? glEnable(GL_STENCIL_TEST) : glDisable(GL_STENCIL_TEST);
  glBlendFunc(s.blendSrc, s.blendDst);
  s.blend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
}

void SceneTest::SendVertex(double x, double y, double z, const double c[4]) {
  if (format.rgba)
    glColor4f(GLfloat(c[0]), GLfloat(c[1]), GLfloat(c[2]), GLfloat(c[3]));
  else
    glIndexf(GLfloat(c[0]));
  glVertex3f(GLfloat(x), GLfloat(y), GLfloat(z));
}

void SceneTest::Send(const ScenePrimitive &p) {
  glBegin(p.mode);
  for (const SceneVertex &v : p.v) SendVertex(v.x, v.y, v.z, v.c);
  glEnd();
}

void SceneTest::Run(SceneReference *ref, const std::vector<SceneStep> &steps) {
  for (const SceneStep &step : steps) {
    Apply(step.state);
    Send(step.primitive);
    ref->Draw(step);
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

int SceneTest::Compare(const SceneReference &constRef, const std::string &what) {
  SceneReference &ref = const_cast<SceneReference &>(constRef);
  const SceneTarget &t = ref.target();
  const ModelState plain;
  GlDepthBuffer *dfb = &gc->depthBuffer;
  const int32_t ax = gc->constants.viewportXAdjust, ay = gc->constants.viewportYAdjust;
  const double depthSlack = kDepthDrift + double(t.depthMax) / (1 << 22);
  int ambiguous = 0, wrong = 0;
  std::ostringstream first;
  auto report = [&](int32_t x, int32_t row, const std::string &text) {
    if (wrong++ < 8) first << "\n  pixel " << x << ", " << row << ": " << text;
  };
  for (int32_t row = 0; row < kHeight; row++)
    for (int32_t x = 0; x < kWidth; x++) {
      const RefPixel &p = ref.At(x, row);
      if (p.ambiguous) {
        ambiguous++;
        continue;
      }
      const uint32_t got = colorMemory->Read(x, row);
      if (!p.drawn) {
        if (got != p.initial)
          report(x, row, "written, should be untouched (" + std::to_string(got) + ")");
      } else if (format.rgba) {
        const GlColor c = {GLfloat(p.color[0]), GLfloat(p.color[1]), GLfloat(p.color[2]),
                           GLfloat(p.color[3])};
        const uint32_t want = ModelRgbStore(format, plain, x, row, c, got);
        if (got != want) {
          const GlColor g = ModelRgbFetch(format, got, GLfloat(t.scale[3]));
          const GLfloat gv[4] = {g.r, g.g, g.b, g.a};
          bool near = true;
          for (int k = 0; k < 4; k++)
            if (format.masks[k] && fabs(gv[k] - p.color[k]) > 0.5 + ColorSlack(p.color[k])) near = false;
          if (!near) {
            std::ostringstream o;
            o << "colour " << got << ", want " << want << " (" << p.color[0] << ", "
              << p.color[1] << ", " << p.color[2] << ", " << p.color[3] << ")";
            report(x, row, o.str());
          }
        }
      } else {
        const uint32_t want = ModelIndexStore(format, plain, x, row, GLfloat(p.color[0]), got);
        if (got != want && fabs(double(got) - p.color[0]) > 0.5 + ColorSlack(p.color[0])) {
          std::ostringstream o;
          o << "index " << got << ", want " << want << " (" << p.color[0] << ")";
          report(x, row, o.str());
        }
      }
      const double depth = dfb->fetch(dfb, x + ax, row + ay);
      const double wantDepth = p.depth * t.depthMax;
      if (fabs(depth - wantDepth) > (p.surface ? depthSlack + p.depthSlack * t.depthMax : 0)) {
        std::ostringstream o;
        o << "depth " << depth << ", want " << wantDepth;
        report(x, row, o.str());
      }
      const uint32_t stencil = stencilMemory->Read(x, row) & 0xFF;
      if (stencil != p.stencil)
        report(x, row, "stencil " + std::to_string(stencil) + ", want " + std::to_string(p.stencil));
    }
  if (wrong)
    ADD_FAILURE() << what << ": " << wrong << " pixels differ from the reference" << first.str();
  return ambiguous;
}

}  // namespace scene_test
