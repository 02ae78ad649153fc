// Scenes that take the clipper's roads or hostile input, and the large
// drawable the fast path declines, each against the generic image: a
// triangle cut by the near plane under GL_LESS, clipped triangles with
// two-sided lighting, vertices with NaN window coordinates, and a 2048 x
// 2048 drawable with a full viewport.
#include <math.h>

#include <gtest/gtest.h>

#include "core/gl_api.h"
#include "tests/fastraster/agreement/agreement_fixture.h"
#include "tests/support/counting_imports.h"

namespace agreement {
namespace {

using scene_test::kHeight;
using scene_test::kWidth;
using scene_test::SceneReference;

class RowsTest : public AgreementTest {
 protected:
  // A back-buffer target of `format` with a cleared frame; the scene's
  // image comes from Snapshot after the caller drew.
  bool Start(const ColorFormat &f, uint32_t depth, bool inverted, bool clippedViewport = false) {
    AgreementCase c;
    c.format = f, c.depthBits = depth, c.yInverted = inverted;
    c.clippedViewport = clippedViewport;
    if (!OpenTarget(c)) return false;
    ref = std::make_unique<SceneReference>(Target());
    // The table's set-up with an empty scene: buffer, viewport, clear.
    DrawNothing(c);
    return true;
  }
  void DrawNothing(const AgreementCase &c) {
    glDrawBuffer(GL_BACK);
    colorMemory = backMemory;
    window->SetClipRects({{0, 0, kWidth, kHeight}});
    const int32_t pad = c.clippedViewport ? 16 : 0;
    glViewport(-pad, -pad / 2, kWidth + 2 * pad, kHeight + pad);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-pad, kWidth + pad, -pad / 2, kHeight + pad / 2, 0, -1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ClearAll(ref.get());
    cleared = Snapshot();
  }
  std::vector<bool> NoSkip() const { return std::vector<bool>(size_t(kWidth * kHeight)); }
  bool Drawn(const Image &im, int32_t x, int32_t row) const {
    const size_t i = size_t(row * kWidth + x);
    return im.color[i] != cleared.color[i];
  }

  std::unique_ptr<SceneReference> ref;
  Image cleared;
};

// A rectangle whose depth runs from -0.5 (in front of the near plane) on
// the left to 0.75 on the right: the clipper cuts both triangles at x =
// 26.4, and everything right of the cut is filled without holes.
TEST_F(RowsTest, ANearPlaneCutLeavesNoHoles) {
  for (uint32_t depth : {16u, 32u})
    for (bool inverted : {false, true}) {
      SCOPED_TRACE(testing::Message() << depth << "-bit depth" << (inverted ? ", top-down" : ""));
      ASSERT_TRUE(Start(kRgbFormats[2], depth, inverted));
      glEnable(GL_DEPTH_TEST);
      glDepthFunc(GL_LESS);
      glShadeModel(GL_SMOOTH);
      glBegin(GL_TRIANGLES);
      const float quad[6][2] = {{4, 4}, {60, 4}, {60, 44}, {4, 4}, {60, 44}, {4, 44}};
      for (const auto &p : quad) {
        const float t = (p[0] - 4) / 56;
        glColor3f(1, t, 0);
        glVertex3f(p[0], p[1], -0.5f + 1.25f * t);
      }
      glEnd();
      EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
      const Image image = Snapshot();
      int holes = 0, strays = 0;
      for (int32_t row = 5; row < 43; row++)
        for (int32_t x = 0; x < kWidth; x++) {
          if (x >= 28 && x < 59 && !Drawn(image, x, row)) holes++;
          if ((x < 26 || x > 60) && Drawn(image, x, row)) strays++;
        }
      EXPECT_EQ(holes, 0) << "pixels right of the cut left undrawn";
      EXPECT_EQ(strays, 0) << "pixels in front of the near plane drawn";
      AgainstGeneric(std::string("near-cut-z") + std::to_string(depth) + (inverted ? "-topdown" : ""),
                     image, NoSkip());
    }
}

// Lit triangles of both windings with two-sided lighting, cut by the
// window's edges and the near plane: the clipper makes new vertices whose
// colours the fill must take from the face they show.
TEST_F(RowsTest, ClippedTwoSidedLightingDrawsTheGenericImage) {
  for (const ColorFormat &f : {kRgbFormats[2], kRgbFormats[5]}) {
    SCOPED_TRACE(f.name);
    ASSERT_TRUE(Start(f, 16, false, true));
    static const GLfloat kAt[4] = {0.3f, 0.4f, 1, 0}, kWhite[4] = {1, 1, 1, 1};
    static const GLfloat kFront[4] = {0.9f, 0.3f, 0.1f, 1}, kBack[4] = {0.1f, 0.4f, 0.9f, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, kAt);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kWhite);
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, kFront);
    glMaterialfv(GL_BACK, GL_AMBIENT_AND_DIFFUSE, kBack);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    // Front-facing across the left and bottom edges, back-facing across
    // the right and top, and one through the near plane.
    const float tris[3][3][3] = {
        {{-10, -6, 0.2f}, {40, -2, 0.3f}, {8, 40, 0.4f}},
        {{70, 52, 0.5f}, {20, 40, 0.6f}, {60, 10, 0.7f}},
        {{10, 20, -0.4f}, {50, 24, 0.8f}, {30, 46, 0.5f}},
    };
    // The pixels a fast path may cover otherwise along the cuts; and the
    // centres lying exactly on an edge: these edges' slopes (10/42, 18/46)
    // are not exact in a float, so such a centre falls either side.
    std::vector<bool> skip = NoSkip();
    if (!IsGenericProcess())
      for (const auto &t : tris) {
        scene_test::SceneVertex v[3];
        for (int i = 0; i < 3; i++) v[i] = {t[i][0], t[i][1], t[i][2], {0, 0, 0, 1}};
        const scene_test::SceneVertex *corners[3] = {&v[0], &v[1], &v[2]};
        scene_test::MarkSnapBand(*ref, ViewBoxOf(true), corners, &skip);
        for (int e = 0; e < 3; e++) {
          const float *p = t[e], *q = t[(e + 1) % 3];
          for (int32_t row = 0; row < kHeight; row++)
            for (int32_t x = 0; x < kWidth; x++) {
              const double y = ref->DeviceY(row + 0.5);
              if (fabs((q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x + 0.5 - p[0])) < 1e-9)
                skip[size_t(row * kWidth + x)] = true;
            }
        }
      }
    for (GLenum shade : {GL_SMOOTH, GL_FLAT}) {
      glShadeModel(shade);
      glBegin(GL_TRIANGLES);
      for (int t = 0; t < 3; t++)
        for (int v = 0; v < 3; v++) {
          const float *p = tris[t][v];
          glNormal3f(0.2f * float(v), 0.3f, 1);
          glVertex3f(p[0], p[1], p[2]);
        }
      glEnd();
    }
    glDisable(GL_LIGHTING);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    std::string name = std::string("two-sided-") + f.name + "-clipped";
    for (char &ch : name)
      if (ch == ' ') ch = '_';
    AgainstGeneric(name, Snapshot(), skip);
  }
}

// A window coordinate that is NaN draws nothing, whatever the state; a
// sound triangle after it draws as usual.
TEST_F(RowsTest, NanWindowCoordinatesDrawNothing) {
  for (bool depth : {false, true})
    for (int axis = 0; axis < 3; axis++) {
      SCOPED_TRACE(testing::Message() << "NaN in coordinate " << axis << (depth ? ", depth" : ""));
      ASSERT_TRUE(Start(kRgbFormats[2], 16, false));
      depth ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
      glShadeModel(GL_SMOOTH);
      float v[3][3] = {{4, 4, 0.5f}, {60, 8, 0.5f}, {30, 44, 0.5f}};
      v[1][axis] = NAN;
      glBegin(GL_TRIANGLES);
      for (const auto &p : v) {
        glColor3f(1, 0.5f, 0);
        glVertex3f(p[0], p[1], p[2]);
      }
      glEnd();
      const Image afterNan = Snapshot();
      int drawn = 0;
      for (int32_t row = 0; row < kHeight; row++)
        for (int32_t x = 0; x < kWidth; x++) drawn += Drawn(afterNan, x, row);
      EXPECT_EQ(drawn, 0) << "pixels drawn for a triangle with a NaN coordinate";
      glBegin(GL_TRIANGLES);
      glVertex3f(8, 8, 0.25f);
      glVertex3f(40, 8, 0.25f);
      glVertex3f(8, 40, 0.25f);
      glEnd();
      EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
      AgainstGeneric("nan-" + std::to_string(axis) + (depth ? "-depth" : ""), Snapshot(), NoSkip());
    }
}

// Every row of a large image folded to one word, so that the generic
// image of a 2048 x 2048 drawable stays small; rows must match exactly.
uint32_t Fold(uint32_t h, uint32_t v) { return (h ^ v) * 16777619u; }

TEST_F(RowsTest, AFullViewportOnA2048PixelDrawableDrawsTheGenericImage) {
  constexpr int32_t kSize = 2048;
  GlModes m = TestModes(true, true, 16, 8, false);
  SetFormatModes(&m, kRgbFormats[2]);
  ASSERT_NE(OpenWindow(m, 16, kSize, kSize, false), nullptr);
  window->SetClipRects({{0, 0, kSize, kSize}});
  glViewport(0, 0, kSize, kSize);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kSize, 0, kSize, 0, -1);
  glMatrixMode(GL_MODELVIEW);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glBegin(GL_TRIANGLES);
  // Corner to corner, so that vertices lie on the drawable's far edges.
  const float tris[2][3][3] = {{{0, 0, 0.5f}, {2048, 0, 0.25f}, {2048, 2048, 0.75f}},
                               {{0, 0, 0.3f}, {2048, 2048, 0.6f}, {0, 2048, 0.9f}}};
  for (const auto &t : tris)
    for (const auto &p : t) {
      glColor3f(p[0] / 2048, p[1] / 2048, p[2]);
      glVertex3f(p[0], p[1], p[2]);
    }
  glEnd();
  glFinish();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  Image folded;
  folded.width = 1, folded.height = kSize;
  size_t drawn = 0;
  for (int32_t row = 0; row < kSize; row++) {
    uint32_t c = 2166136261u, d = c;
    for (int32_t x = 0; x < kSize; x++) {
      const uint32_t px = colorMemory->Read(x, row);
      drawn += px != 0;
      c = Fold(c, px), d = Fold(d, depthMemory->Read(x, row));
    }
    folded.color.push_back(c), folded.depth.push_back(d), folded.stencil.push_back(0);
  }
  EXPECT_GT(drawn, size_t(kSize) * kSize / 2) << "the triangles cover most of the drawable";
  if (IsGenericProcess()) {
    EXPECT_TRUE(SaveImage("large-2048", folded));
    return;
  }
  Image generic;
  ASSERT_TRUE(LoadImage("large-2048", &generic)) << "no generic image (the generic process writes it)";
  for (int32_t row = 0; row < kSize; row++)
    if (folded.color[size_t(row)] != generic.color[size_t(row)] ||
        folded.depth[size_t(row)] != generic.depth[size_t(row)]) {
      ADD_FAILURE() << "row " << row << " differs from the generic image";
      break;
    }
}

}  // namespace
}  // namespace agreement
