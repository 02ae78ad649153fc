// The portable frustum checks against the double-precision model: codes,
// 1/w and window coordinates, on the faces, outside them, with w <= 0, NaN
// and infinities; and the shortcut for two-component vertices.
#include <gtest/gtest.h>
#include <math.h>
#include <stdio.h>

#include <random>
#include <string>

#include "geometry/s_clipcheck.h"
#include "tests/geometry/vertex/clip_cases.h"
#include "tests/geometry/vertex/vertex_fixture.h"
#include "tests/geometry/vertex/vertex_reference.h"

namespace vertex_test {
namespace {

const GLfloat kNaN = NAN, kInf = INFINITY;

class FrustumCheck : public VertexTest {
 protected:
  // Runs `check` on a vertex with these clip coordinates and earlier bits,
  // and holds the result to the model.
  void Expect(uint32_t (*check)(GlContext *, GlVertex *), const GlCoord &clip) {
    GlVertex v{};
    v.clip = clip;
    v.window = {-7, -7, -7, -7};
    const uint32_t earlier = __GL_HAS_SIZE3 | __GL_HAS_EDGEFLAG_BOUNDARY | __GL_HAS_FRONT_COLOR;
    v.has = earlier;
    const uint32_t codes = check(gc, &v);
    const Vec4 c = ToVec(clip);
    EXPECT_EQ(codes, FrustumCodes(c));
    EXPECT_EQ(v.has, earlier | __GL_HAS_CLIP) << "the clip bit is added, nothing else";
    EXPECT_TRUE(Same(v.window.w, GLfloat(1.0 / clip.w))) << v.window.w << " for w = " << clip.w;
    if (codes) return;
    const Vec4 want = WindowOf(gc->state.viewport, c, v.window.w);
    EXPECT_TRUE(Near(v.window.x, want.x)) << v.window.x << " vs " << want.x;
    EXPECT_TRUE(Near(v.window.y, want.y)) << v.window.y << " vs " << want.y;
    EXPECT_TRUE(Near(v.window.z, want.z)) << v.window.z << " vs " << want.z;
  }
};

TEST_F(FrustumCheck, CodesAndWindowCoordinatesFollowTheModel) {
  for (const ClipCase &c : kClipCases) {
    SCOPED_TRACE(c.what);
    Expect(__glClipCheckFrustum, c.clip);
  }
}

TEST_F(FrustumCheck, RandomVerticesNearTheFacesFollowTheModel) {
  std::mt19937 random(8);
  std::uniform_real_distribution<float> any(-3.0f, 3.0f);
  std::uniform_int_distribution<int> pick(0, 5);
  for (int n = 0; n < 4000; ++n) {
    GlCoord clip = {any(random), any(random), any(random), any(random)};
    // Put some coordinates exactly on a face, or one float beyond it.
    GLfloat *c = &clip.x + pick(random) % 3;
    switch (pick(random)) {
      case 0:
        *c = clip.w;
        break;
      case 1:
        *c = -clip.w;
        break;
      case 2:
        *c = nextafterf(clip.w, 2 * clip.w);
        break;
      default:
        break;
    }
    SCOPED_TRACE(testing::Message()
                 << clip.x << ", " << clip.y << ", " << clip.z << ", " << clip.w);
    Expect(__glClipCheckFrustum, clip);
    if (HasFailure()) break;
  }
}

TEST_F(FrustumCheck, AVertexOnAFaceGetsWindowCoordinatesOnTheViewportEdge) {
  const GlViewport &vp = gc->state.viewport;
  GlVertex v{};
  v.clip = {4, -4, 4, 4};
  ASSERT_EQ(__glClipCheckFrustum(gc, &v), 0u);
  EXPECT_EQ(v.window.x, vp.xCenter + vp.xScale);
  EXPECT_EQ(v.window.y, vp.yCenter - vp.yScale);
  EXPECT_EQ(v.window.z, vp.zCenter + vp.zScale);
  EXPECT_EQ(v.window.w, 0.25f);
}

// ---- The two-component shortcut ----

struct FlatCase {
  const char *what;
  GlCoord clip;
  uint32_t codes;
};

const FlatCase kFlatCases[] = {
    {"inside", {0.5f, -0.75f, 0.5f, 1}, 0},
    {"on the faces", {1, -1, 0, 1}, 0},
    {"left", {-1.5f, 0, 0, 1}, __GL_CLIP_LEFT},
    {"right", {1.5f, 0, 0, 1}, __GL_CLIP_RIGHT},
    {"bottom", {0, -1.5f, 0, 1}, __GL_CLIP_BOTTOM},
    {"top", {0, 1.5f, 0, 1}, __GL_CLIP_TOP},
    {"corner", {-2, 2, 0, 1}, __GL_CLIP_LEFT | __GL_CLIP_TOP},
    {"z is never tested", {0, 0, 5, 1}, 0},
    {"NaN x", {kNaN, 0, 0, 1}, __GL_CLIP_RIGHT},
    {"NaN y", {0, kNaN, 0, 1}, __GL_CLIP_TOP},
    {"infinite x", {-kInf, 0, 0, 1}, __GL_CLIP_LEFT},
};

TEST_F(FrustumCheck, TheShortcutTestsXAndYAndDoesNotDivide) {
  const GlViewport &vp = gc->state.viewport;
  for (const FlatCase &c : kFlatCases) {
    SCOPED_TRACE(c.what);
    GlVertex v{};
    v.clip = c.clip;
    v.has = __GL_HAS_SIZE2 | __GL_HAS_EDGEFLAG_BOUNDARY;
    v.window = {-7, -7, -7, -7};
    EXPECT_EQ(__glClipCheckFrustum2D(gc, &v), c.codes);
    EXPECT_EQ(v.has, __GL_HAS_SIZE2 | __GL_HAS_EDGEFLAG_BOUNDARY | __GL_HAS_CLIP);
    EXPECT_EQ(v.window.w, c.clip.w) << "w itself";
    if (c.codes) {
      EXPECT_EQ(v.window.x, -7.0f) << "no window coordinates outside";
      continue;
    }
    EXPECT_TRUE(Near(v.window.x, double(vp.xScale) * c.clip.x + vp.xCenter));
    EXPECT_TRUE(Near(v.window.y, double(vp.yScale) * c.clip.y + vp.yCenter));
    EXPECT_TRUE(Near(v.window.z, double(vp.zScale) * c.clip.z + vp.zCenter));
  }
}

// The shortcut agrees with the full check wherever it is installed: w = 1
// and z inside.
TEST_F(FrustumCheck, TheShortcutAgreesWithTheFullCheckForItsVertices) {
  std::mt19937 random(2);
  std::uniform_real_distribution<float> any(-2.0f, 2.0f), inside(-1.0f, 1.0f);
  for (int n = 0; n < 2000; ++n) {
    GlVertex a{}, b{};
    a.clip = b.clip = {any(random), any(random), inside(random), 1.0f};
    const uint32_t codes = __glClipCheckFrustum2D(gc, &a);
    ASSERT_EQ(codes, __glClipCheckFrustum(gc, &b));
    if (codes) continue;
    ASSERT_TRUE(Same(a.window.x, b.window.x) && Same(a.window.y, b.window.y) &&
                Same(a.window.z, b.window.z))
        << a.clip.x << ", " << a.clip.y << ", " << a.clip.z;
  }
}

// ---- Which check a two-component vertex takes, and what it gives ----

struct CompositeCase {
  const char *what;
  void (*set)();  // GL commands on the model-view, from the identity
  bool shortcut;
};

const CompositeCase kCompositeCases[] = {
    {"identity", [] {}, true},
    {"z translation 0.5", [] { glTranslatef(0.25f, -0.5f, 0.5f); }, true},
    {"z translation 1.5", [] { glTranslatef(0, 0, 1.5f); }, false},
    {"z translation -1.5", [] { glTranslatef(0, 0, -1.5f); }, false},
    {"z translation exactly 1", [] { glTranslatef(0, 0, 1.0f); }, true},
    {"z translation exactly -1", [] { glTranslatef(0, 0, -1.0f); }, true},
    {"rotation about z, z translation 0.5",
     [] {
       glTranslatef(0, 0, 0.5f);
       glRotatef(30, 0, 0, 1);
     },
     true},
    {"rotation about x", [] { glRotatef(30, 1, 0, 0); }, false},
    {"a loaded matrix",
     [] {
       const GLfloat m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0.5f, 1};
       glLoadMatrixf(m);
     },
     false},
};

TEST_F(FrustumCheck, TwoComponentVerticesTakeTheShortcutOnlyWhereZStaysInside) {
  const GLfloat kPoints[][2] = {{0, 0}, {0.5f, -0.5f}, {1, 1}, {-1.25f, 0.25f}, {3, -3}};
  for (const CompositeCase &c : kCompositeCases) {
    SCOPED_TRACE(c.what);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    c.set();
    Ready();
    EXPECT_EQ(gc->procs.clipCheck[0] == __glClipCheckFrustum2D, c.shortcut);
    const GlMatrix &mvp = gc->transform.modelView->mvp;
    for (const auto &p : kPoints) {
      glVertex2f(p[0], p[1]);
      ASSERT_FALSE(Handed().empty());
      const GlVertex v = Handed().back();
      const Vec4 clip = Transform(mvp.matrix, {p[0], p[1], 0, 1});
      const uint32_t codes = FrustumCodes(clip);
      EXPECT_EQ(v.has, __GL_HAS_SIZE2 | __GL_HAS_CLIP | codes) << p[0] << ", " << p[1];
      // A composite that puts z beyond 1 leaves every vertex beyond the far plane.
      if (mvp.matrix[14] > 1.0f) {
        EXPECT_TRUE(v.has & __GL_CLIP_FAR);
      }
      if (codes) continue;
      const Vec4 want = WindowOf(gc->state.viewport, clip, 1.0);
      EXPECT_TRUE(Near(v.window.x, want.x, 2) && Near(v.window.y, want.y, 2) &&
                  Near(v.window.z, want.z, 2))
          << v.window.x << ", " << v.window.y << ", " << v.window.z;
    }
    Handed().clear();
  }
}

}  // namespace
}  // namespace vertex_test
