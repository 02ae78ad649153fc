#include "tests/fastraster/agreement/agreement_fixture.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <math.h>

#include <algorithm>
#include <sstream>

#include "core/context.h"
#include "core/gl_api.h"
#include "raster/s_buffers.h"
#include "tests/fastraster/agreement/agreement_texture.h"
#include "tests/raster/scene/scene_builders.h"
#include "tests/raster/scene/scene_clip_reference.h"
#include "tests/support/counting_imports.h"

namespace agreement {

using scene_test::kHeight;
using scene_test::kWidth;
using scene_test::SceneReference;
using scene_test::SceneStep;
using scene_test::SceneVertex;

namespace {

// How far the depth of a triangle the window's edges cut may be off: its
// new corners move by up to the clipper's position error, which tilts the
// depth plane by its slope times that error.
double ClippedDepthSlack(const scene_test::ScenePrimitive &p) {
  double slack = 0;
  for (size_t i = 0; i + 2 < p.v.size(); i++) {
    const SceneVertex &a = p.v[i], &b = p.v[i + 1], &c = p.v[i + 2];
    const double det = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
    if (det == 0) continue;
    const double dzdx = ((b.z - a.z) * (c.y - a.y) - (c.z - a.z) * (b.y - a.y)) / det;
    const double dzdy = ((c.z - a.z) * (b.x - a.x) - (b.z - a.z) * (c.x - a.x)) / det;
    slack = std::max(slack, (fabs(dzdx) + fabs(dzdy)) * scene_test::kClipPositionError);
  }
  return slack;
}

std::string ImagePath(const std::string &name) {
  // The long form keeps images of its own: both forms may run at once.
  const char *form = getenv("VLX_AGREEMENT_LONG") ? "/long-" : "/";
  return std::string(VLX_AGREEMENT_DIR) + form + name + ".img";
}

// Disagreements between the paths that are understood and accepted: each
// row says which scenes, on which paths, and why. Nothing is listed today.
const std::vector<KnownDisagreement> kKnown = {
    // The window clipper makes the cut corners' depth in single precision;
    // on a 32-bit buffer the planes of small pieces tilt by up to a few
    // thousand stored units, beyond the uncut triangle's drift.
    {"z32-bottomup-front-overlapped", nullptr, "cut corners' float depth on 32-bit depth"},
    {"z32-topdown-front-overlapped", nullptr, "cut corners' float depth on 32-bit depth"},
    // The kernels dither left-aligned colours by a rule made for 0..255
    // values, so a dithered blend stores up to one unit low, two after
    // the blend's own rounding.
    {"5-5-5-z32-bottomup-blend-6", nullptr, "dither of left-aligned blend results"},
};

}  // namespace

// The window's visible rectangles: all of it, or all but the part another
// window hides.
std::vector<GlRect> VisibleRects(bool overlapped) {
  if (!overlapped) return {{0, 0, kWidth, kHeight}};
  return {{0, 0, kWidth, kHidden.y0},
          {0, kHidden.y0, kHidden.x0, kHidden.y1},
          {kHidden.x1, kHidden.y0, kWidth, kHidden.y1},
          {0, kHidden.y1, kWidth, kHeight}};
}

ViewBox ViewBoxOf(bool clippedViewport) {
  const double pad = clippedViewport ? 16 : 0;
  return {-pad, -pad / 2, kWidth + pad, kHeight + pad / 2};
}

bool SaveImage(const std::string &name, const Image &im) {
  FILE *f = fopen(ImagePath(name).c_str(), "wb");
  if (!f) return false;
  const int32_t size[2] = {im.width, im.height};
  bool ok = fwrite(size, sizeof size, 1, f) == 1;
  for (const std::vector<uint32_t> *v : {&im.color, &im.depth, &im.stencil})
    ok = ok && fwrite(v->data(), 4, v->size(), f) == v->size();
  return fclose(f) == 0 && ok;
}

bool LoadImage(const std::string &name, Image *im) {
  FILE *f = fopen(ImagePath(name).c_str(), "rb");
  if (!f) return false;
  int32_t size[2] = {};
  bool ok = fread(size, sizeof size, 1, f) == 1 && size[0] > 0 && size[1] > 0 &&
            size[0] <= 4096 && size[1] <= 4096;
  if (ok) {
    im->width = size[0], im->height = size[1];
    for (std::vector<uint32_t> *v : {&im->color, &im->depth, &im->stencil}) {
      v->resize(size_t(size[0]) * size_t(size[1]));
      ok = ok && fread(v->data(), 4, v->size(), f) == v->size();
    }
  }
  fclose(f);
  return ok;
}

std::string PathName() {
  const char *p = getenv("VLX_AGREEMENT_PATH");
  return p ? p : "default";
}

const KnownDisagreement *FindKnown(const std::string &scene) {
  const std::string path = PathName();
  for (const KnownDisagreement &k : kKnown)
    if (scene.find(k.scene) != std::string::npos &&
        (!k.path || path.find(k.path) != std::string::npos))
      return &k;
  return nullptr;
}

std::vector<std::string> Differences(const ColorFormat &format, const Image &got,
                                     const Image &generic, double depthSlack,
                                     const std::vector<bool> &skip,
                                     const std::vector<ColorAllowance> &allowances, size_t limit) {
  std::vector<std::string> out;
  if (got.width != generic.width || got.height != generic.height) {
    out.push_back("the images differ in size");
    return out;
  }
  size_t count = 0;
  for (size_t i = 0; i < got.color.size(); i++) {
    if (i < skip.size() && skip[i]) continue;
    const uint32_t a = got.color[i], b = generic.color[i];
    bool near = true;
    if (format.rgba) {
      const ColorAllowance al = i < allowances.size() ? allowances[i] : ColorAllowance{};
      for (size_t k = 0; k < 4; k++) {
        const uint32_t mask = format.masks[k];
        if (!mask) continue;
        const uint32_t shift = uint32_t(__builtin_ctz(mask));
        // On the 8-bit scale, where one field unit is 2^(8 - bits).
        const double unit = format.bits[k] < 8 ? double(1 << (8 - format.bits[k])) : 1.0;
        const double d = (double((a & mask) >> shift) - double((b & mask) >> shift)) * unit;
        if (fabs(d) > al.units * unit + al.slack8) near = false;
      }
    } else {
      const int64_t d = int64_t(a & format.indexMask()) - int64_t(b & format.indexMask());
      near = d <= 1 && d >= -1;
    }
    const double dz = double(got.depth[i]) - double(generic.depth[i]);
    if (near && dz <= depthSlack && dz >= -depthSlack && got.stencil[i] == generic.stencil[i])
      continue;
    if (count++ < limit) {
      std::ostringstream o;
      o << "pixel " << i % size_t(got.width) << ", row " << i / size_t(got.width) << ": colour 0x"
        << std::hex << a << " (generic 0x" << b << ")" << std::dec << ", depth " << got.depth[i]
        << " (" << generic.depth[i] << "), stencil " << got.stencil[i] << " ("
        << generic.stencil[i] << ")";
      out.push_back(o.str());
    }
  }
  if (count > limit) out.push_back("and " + std::to_string(count - limit) + " more pixels");
  return out;
}

bool AgreementTest::OpenTarget(const AgreementCase &c) {
  if (gc && !strcmp(format.name, c.format.name) && depthBits == c.depthBits &&
      yInverted == c.yInverted)
    return true;
  Close();
  format = c.format;
  yInverted = c.yInverted;
  depthBits = c.depthBits;
  GlModes m = TestModes(format.rgba, true, depthBits, 8, false);
  SetFormatModes(&m, format);
  window = std::make_unique<life_test::TestWindow>(kWidth, kHeight, yInverted);
  const uint32_t bytes = (format.colorBits + 7) / 8;
  frontMemory = window->AttachMemory(&GlDrawable::front, format.colorBits, bytes, 0x5A);
  backMemory = window->AttachMemory(&GlDrawable::back, format.colorBits, bytes, 0x5A);
  depthMemory = window->AttachMemory(&GlDrawable::depth, depthBits, depthBits > 16 ? 4 : 2, 0x5A);
  stencilMemory = window->AttachMemory(&GlDrawable::stencil, 8, 1, 0x5A);
  colorMemory = backMemory;
  UseWindow(window.get());
  gc = CreateBound(m);
  if (!gc) {
    ADD_FAILURE() << "no context for " << format.name;
    return false;
  }
  return true;
}

void AgreementTest::ApplyExtras(const AgreementCase &c) {
  c.dither ? glEnable(GL_DITHER) : glDisable(GL_DITHER);
  const GLenum logic = format.rgba ? GL_COLOR_LOGIC_OP : GL_INDEX_LOGIC_OP;
  c.logicOp ? glEnable(logic) : glDisable(logic);
  glLogicOp(c.logicOp ? c.logicOp : GL_COPY);
  glColorMask(c.colorMask & 1, c.colorMask >> 1 & 1, c.colorMask >> 2 & 1, c.colorMask >> 3 & 1);
  glIndexMask(c.indexMask);
  if (!format.rgba) {
    glIndexFuncVLX(c.indexFunc, GLfloat(c.indexRef));
    c.indexTest ? glEnable(GL_INDEX_TEST_VLX) : glDisable(GL_INDEX_TEST_VLX);
  }
  c.polygonSmooth ? glEnable(GL_POLYGON_SMOOTH) : glDisable(GL_POLYGON_SMOOTH);
  if (c.fragmentFog) {
    static const GLfloat kGrey[4] = {0.5f, 0.25f, 0.75f, 1};
    glHint(GL_FOG_HINT, GL_NICEST);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 0);
    glFogf(GL_FOG_END, 1);
    glFogfv(GL_FOG_COLOR, kGrey);
    glEnable(GL_FOG);
  } else {
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glDisable(GL_FOG);
  }
  if (!c.texture.on) {
    glDisable(GL_TEXTURE_2D);
    return;
  }
  // An 8 x 8 texture with its levels, of texels from the scene's seed.
  for (GLint level = 0, size = kTextureSize; size >= 1; level++, size /= 2) {
    const std::vector<uint8_t> texels = SceneTexels(c.seed, level);
    glTexImage2D(GL_TEXTURE_2D, level, GLint(c.texture.base), size, size, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, texels.data());
  }
  static const GLfloat kEnvColor[4] = {0.25f, 0.625f, 0.875f, 0.5f};
  glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, kEnvColor);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLint(c.texture.env));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(c.texture.minFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(c.texture.magFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glEnable(GL_TEXTURE_2D);
}

void AgreementTest::SendScene(const AgreementCase &c, SceneReference *ref) {
  scene_test::SceneRandom rnd(c.seed);
  // Vertices reach past the window where the viewport does.
  const double reach = c.clippedViewport ? 12 : 0;
  const auto vertex = [&](double z0, double z1) {
    return rnd.Vertex(-reach, kWidth + reach, -reach, kHeight + reach, z0, z1);
  };
  std::vector<SceneStep> steps;
  // Each triangle in a depth band of its own, so that depth ties stay
  // inside a triangle; then a strip behind them.
  for (int i = 0; i < 6; i++) {
    const double z0 = 0.05 + 0.14 * i;
    steps.push_back({c.state, {GL_TRIANGLES, {vertex(z0, z0 + 0.1), vertex(z0, z0 + 0.1),
                                              vertex(z0, z0 + 0.1)}}});
  }
  scene_test::ScenePrimitive strip{GL_TRIANGLE_STRIP, {}};
  for (int i = 0; i < 5; i++) strip.v.push_back(vertex(0.90, 0.98));
  steps.push_back({c.state, strip});
  steps = scene_test::ForFormat(steps, format);
  for (const SceneStep &step : steps) {
    Apply(step.state);
    ApplyExtras(c);
    glBegin(step.primitive.mode);
    for (const SceneVertex &v : step.primitive.v) {
      if (c.texture.on) glTexCoord2f(GLfloat(v.x / 16), GLfloat(v.y / 12));
      SendVertex(v.x, v.y, v.z, v.c);
    }
    glEnd();
    // Where a fast path may cover a cut triangle otherwise, nothing about
    // the pixel is compared from here on.
    std::vector<bool> band(size_t(kWidth * kHeight));
    if (!IsGenericProcess()) {
      // Front-buffer drawing also cuts each triangle to every visible
      // rectangle (given in either row order: both are marked).
      std::vector<ViewBox> boxes = {ViewBoxOf(c.clippedViewport)};
      if (overlapped)
        for (const GlRect &r : VisibleRects(true)) {
          boxes.push_back({double(r.x0), double(r.y0), double(r.x1), double(r.y1)});
          boxes.push_back({double(r.x0), double(kHeight - r.y1), double(r.x1),
                           double(kHeight - r.y0)});
        }
      const std::vector<SceneVertex> &v = step.primitive.v;
      for (const ViewBox &box : boxes)
        for (size_t i = 0; i + 2 < v.size(); i += step.primitive.mode == GL_TRIANGLES ? 3 : 1) {
          const SceneVertex *corners[3] = {&v[i], &v[i + 1], &v[i + 2]};
          scene_test::MarkSnapBand(*ref, box, corners, &band);
        }
    }
    const auto markBand = [&] {
      for (int32_t row = 0, i = 0; row < kHeight; row++)
        for (int32_t x = 0; x < kWidth; x++, i++)
          if (band[size_t(i)]) ref->At(x, row).ambiguous = true;
    };
    if (!c.clippedViewport && !overlapped) {
      ref->Draw(step);
      markBand();
      continue;
    }
    std::vector<uint64_t> surfaces;
    for (int32_t row = 0; row < kHeight; row++)
      for (int32_t x = 0; x < kWidth; x++) surfaces.push_back(ref->At(x, row).surface);
    ref->Draw(step);
    const double slack = ClippedDepthSlack(step.primitive);
    for (int32_t row = 0, i = 0; row < kHeight; row++)
      for (int32_t x = 0; x < kWidth; x++, i++) {
        scene_test::RefPixel &p = ref->At(x, row);
        if (p.surface != surfaces[size_t(i)]) p.depthSlack = std::max(p.depthSlack, slack);
      }
    markBand();
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  ApplyExtras(AgreementCase{});
}

Image AgreementTest::DrawCase(const AgreementCase &c, SceneReference *ref) {
  const bool front = c.buffer != Buffer::kBack;
  overlapped = c.buffer == Buffer::kFrontOverlapped;
  glDrawBuffer(front ? GL_FRONT : GL_BACK);
  colorMemory = front ? frontMemory : backMemory;
  window->SetClipRects(VisibleRects(overlapped));
  const int32_t pad = c.clippedViewport ? 16 : 0;
  glViewport(-pad, -pad / 2, kWidth + 2 * pad, kHeight + pad);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-pad, kWidth + pad, -pad / 2, kHeight + pad / 2, 0, -1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  ApplyExtras(AgreementCase{});
  c.dither ? glEnable(GL_DITHER) : glDisable(GL_DITHER);
  ClearAll(ref);
  SendScene(c, ref);
  return Snapshot();
}

Image AgreementTest::Snapshot() {
  Image im;
  im.width = kWidth, im.height = kHeight;
  GlDepthBuffer *dfb = &gc->depthBuffer;
  const int32_t ax = gc->constants.viewportXAdjust, ay = gc->constants.viewportYAdjust;
  for (int32_t row = 0; row < kHeight; row++)
    for (int32_t x = 0; x < kWidth; x++) {
      im.color.push_back(colorMemory->Read(x, row));
      im.depth.push_back(dfb->fetch(dfb, x + ax, row + ay));
      im.stencil.push_back(stencilMemory->Read(x, row) & 0xFF);
    }
  return im;
}

std::vector<bool> AgreementTest::Skipped(const SceneReference &constRef) const {
  SceneReference &ref = const_cast<SceneReference &>(constRef);
  std::vector<bool> skip;
  for (int32_t row = 0; row < kHeight; row++)
    for (int32_t x = 0; x < kWidth; x++) skip.push_back(ref.At(x, row).ambiguous);
  return skip;
}

double AgreementTest::DepthSlack() const {
  return scene_test::kDepthDrift + double(Target().depthMax) / (1 << 22);
}

void AgreementTest::AgainstGeneric(const std::string &name, const Image &image,
                                   const std::vector<bool> &skip) {
  if (IsGenericProcess()) {
    EXPECT_TRUE(SaveImage(name, image)) << "cannot write the generic image of " << name;
    return;
  }
  Image generic;
  if (!LoadImage(name, &generic)) {
    ADD_FAILURE() << "no generic image of " << name << " (the generic process writes it)";
    return;
  }
  // An index within one unit of the index test's reference may fall on
  // either side of it: the paths interpolate the index differently.
  std::vector<bool> kept = skip;
  if (indexTestRef >= 0)
    for (size_t i = 0; i < kept.size() && i < image.color.size(); i++) {
      const int32_t mine = int32_t(image.color[i]), theirs = int32_t(generic.color[i]);
      if (std::abs(mine - indexTestRef) <= 1 || std::abs(theirs - indexTestRef) <= 1)
        kept[i] = true;
    }
  const std::vector<std::string> diff =
      Differences(format, image, generic, DepthSlack(), kept, allowances);
  const KnownDisagreement *known = FindKnown(name);
  std::string text;
  for (const std::string &d : diff) text += "\n  " + d;
  if (!diff.empty() && !known)
    ADD_FAILURE() << name << " on the " << PathName() << " path differs from the generic image:"
                  << text;
  else if (!diff.empty())
    printf("known disagreement, %s (%s):%s\n", name.c_str(), known->why, text.c_str());
  else if (known)
    ADD_FAILURE() << name << " now agrees with the generic image: take its row out of the "
                  << "known disagreements (" << known->why << ")";
}

}  // namespace agreement
