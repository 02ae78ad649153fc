// Lazy validation by size class: the order of the steps, only the missing
// fields computed, the eye coordinates, the eye-space normal with its plane
// term, the texture step's object coordinates, and the returned `has`.
#include <gtest/gtest.h>
#include <math.h>

#include <string>
#include <vector>

#include "geometry/s_vertex_procs.h"
#include "tests/geometry/vertex/vertex_fixture.h"
#include "tests/geometry/vertex/vertex_reference.h"

namespace vertex_test {
namespace {

typedef uint32_t (*Validator)(GlContext *, GlVertex *, uint32_t);
const Validator kValidators[] = {__glValidateVertex2, __glValidateVertex3, __glValidateVertex4};
const uint32_t kClasses[] = {__GL_HAS_SIZE2, __GL_HAS_SIZE3, __GL_HAS_SIZE4};

// The vertex as each recording procedure saw it.
std::vector<GlVertex> &Seen() {
  static std::vector<GlVertex> seen;
  return seen;
}

const GLfloat kFogValue = 0.375f;

GLfloat RecordFog(GlContext *, GlVertex *v) {
  Calls().push_back("fog");
  Seen().push_back(*v);
  return kFogValue;
}
void RecordTexture(GlContext *, GlVertex *v) {
  Calls().push_back("texture");
  Seen().push_back(*v);
}
void RecordColor(GlContext *, GLint face, GlVertex *v) {
  Calls().push_back(face == __GL_FRONTFACE ? "front" : face == __GL_BACKFACE ? "back" : "?");
  Seen().push_back(*v);
}

const GlCoord kJunk = {99, 99, 99, 99};

class Validation : public VertexTest {
 protected:
  void TearDown() override {
    Seen().clear();
    VertexTest::TearDown();
  }
  void Record() {
    Ready();
    gc->procs.fogVertex = RecordFog;
    gc->procs.calcTexture = RecordTexture;
    gc->procs.calcColor = RecordColor;
    Seen().clear();
  }
  // A class-3 vertex as the entry and the save procedure leave it.
  GlVertex Entered() const {
    GlVertex v{};
    v.obj = {0.5f, -1.5f, 2, 1};
    v.normal = {0, 0.6f, 0.8f, 42};
    v.eye = kJunk;
    v.fog = -1;
    v.has = __GL_HAS_SIZE3 | __GL_HAS_CLIP;
    return v;
  }
  const GLfloat *ModelView() const { return gc->transform.modelView->matrix.matrix; }
};

struct StepCase {
  const char *what;
  uint32_t had;  // besides the size class
  uint32_t needs;
  std::vector<std::string> calls;
};

const uint32_t kAll = 0x7F;

const StepCase kStepCases[] = {
    {"everything, in order", 0, kAll, {"fog", "texture", "front", "back"}},
    {"nothing needed", 0, 0, {}},
    {"everything there already", kAll, kAll, {}},
    {"the colours", 0, __GL_HAS_FRONT_COLOR | __GL_HAS_BACK_COLOR, {"front", "back"}},
    {"the back colour", __GL_HAS_FRONT_COLOR, __GL_HAS_FRONT_COLOR | __GL_HAS_BACK_COLOR, {"back"}},
    {"fog", 0, __GL_HAS_FOG | __GL_HAS_EYE, {"fog"}},
    {"texture with the eye there", __GL_HAS_EYE, __GL_HAS_EYE | __GL_HAS_TEXTURE, {"texture"}},
    {"eye and normal alone", 0, __GL_HAS_EYE | __GL_HAS_NORMAL, {}},
    {"a bit no step computes", 0, __GL_HAS_CLIP | __GL_HAS_FOG, {"fog"}},
};

TEST_F(Validation, OnlyMissingFieldsAreComputedInOrder) {
  glMatrixMode(GL_MODELVIEW);
  glRotatef(90, 1, 0, 0);  // so that a turned normal shows
  Record();
  const Vec4 eye = Transform(ModelView(), {0.5, -1.5, 2, 1});
  for (const StepCase &c : kStepCases) {
    SCOPED_TRACE(c.what);
    GlVertex v = Entered();
    v.has = __GL_HAS_SIZE3 | c.had;
    const uint32_t result = __glValidateVertex3(gc, &v, c.needs);
    EXPECT_EQ(TakeCalls(), c.calls);
    EXPECT_EQ(result, __GL_HAS_SIZE3 | c.had | c.needs) << "every missing bit is added";
    EXPECT_EQ(v.has, result) << "and stored";
    const uint32_t missing = c.needs & ~c.had;
    if (missing & __GL_HAS_EYE) {
      EXPECT_TRUE(Close(v.eye.x, eye.x, 1e-6) && Close(v.eye.z, eye.z, 1e-6));
    } else {
      EXPECT_EQ(v.eye.x, kJunk.x) << "eye left alone";
    }
    EXPECT_EQ(v.normal.y != 0.6f, (missing & __GL_HAS_NORMAL) != 0)
        << "normal turned exactly when missing";
    EXPECT_EQ(v.fog, (missing & __GL_HAS_FOG) ? kFogValue : -1.0f);
    // Every later step sees the earlier ones done.
    for (const GlVertex &seen : Seen()) {
      if (missing & __GL_HAS_EYE) {
        EXPECT_EQ(seen.eye.x, v.eye.x);
      }
      if (missing & __GL_HAS_NORMAL) {
        EXPECT_EQ(seen.normal.y, v.normal.y);
      }
    }
    if (c.calls.size() == 4) {
      EXPECT_EQ(Seen()[2].fog, kFogValue) << "the colour sees the fog value";
    }
    Seen().clear();
  }
}

// Fog computed per fragment leaves the per-vertex slot empty.
TEST_F(Validation, AnEmptyFogSlotIsSkipped) {
  Record();
  gc->procs.fogVertex = nullptr;
  GlVertex v = Entered();
  EXPECT_EQ(__glValidateVertex3(gc, &v, __GL_HAS_FOG),
            __GL_HAS_SIZE3 | __GL_HAS_CLIP | __GL_HAS_FOG);
  EXPECT_EQ(v.fog, -1.0f);
}

// ---- Eye coordinates by size class ----

// A model-view with a projective row, so that every element counts.
const GLfloat kProjective[16] = {1.5f, 0.25f, -0.5f, 0.2f,  -0.25f, 1,     0.75f, -0.1f,
                                 0.5f, -0.5f, 2,     0.05f, 0.5f,   0.25f, -1,    1.25f};

TEST_F(Validation, EyeCoordinatesTakeTheMissingCoordinatesAsZAndWDefaults) {
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(kProjective);
  Record();
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(testing::Message() << "class " << k + 2);
    GlVertex v = Entered();
    v.obj = {0.75f, -2, 3, -0.5f};
    v.has = kClasses[k];
    kValidators[k](gc, &v, __GL_HAS_EYE);
    const Vec4 obj = {0.75, -2, k >= 1 ? 3.0 : 0.0, k == 2 ? -0.5 : 1.0};
    const Vec4 eye = Transform(ModelView(), obj);
    EXPECT_TRUE(Close(v.eye.x, eye.x, 1e-6) && Close(v.eye.y, eye.y, 1e-6) &&
                Close(v.eye.z, eye.z, 1e-6) && Close(v.eye.w, eye.w, 1e-6))
        << v.eye.x << " " << v.eye.y << " " << v.eye.z << " " << v.eye.w;
  }
}

// ---- The eye-space normal ----

struct NormalCase {
  const char *what;
  void (*modelView)();
  bool projective;
};

const NormalCase kNormalCases[] = {
    {"identity", [] {}, false},
    {"affine",
     [] {
       glTranslatef(1, 2, 3);
       glRotatef(30, 1, 1, 0);
       glScalef(2, 0.5f, 1);
     },
     false},
    {"projective", [] { glLoadMatrixf(kProjective); }, true},
};

// The plane through the vertex that the normal stands for: -n·p, over w.
double PlaneTerm(const GlCoord &n, const GlCoord &p, int sizeClass) {
  double dot = double(n.x) * p.x + double(n.y) * p.y;
  if (sizeClass >= 3) dot += double(n.z) * p.z;
  if (sizeClass == 4) return p.w != 0 ? -dot / p.w : 0;
  return -dot;
}

TEST_F(Validation, NormalsTurnAsPlanesThroughTheVertex) {
  const GlCoord kObjects[] = {{0.5f, -1.5f, 2, 1}, {1, 2, -3, 2}, {1, 2, -3, 0}};
  for (const NormalCase &c : kNormalCases) {
    for (bool normalize : {false, true}) {
      glMatrixMode(GL_MODELVIEW);
      glLoadIdentity();
      c.modelView();
      if (normalize)
        glEnable(GL_NORMALIZE);
      else
        glDisable(GL_NORMALIZE);
      Record();
      double inverse[16];
      ASSERT_TRUE(Invert(ModelView(), inverse));
      for (int k = 0; k < 3; ++k) {
        for (const GlCoord &p : kObjects) {
          SCOPED_TRACE(testing::Message() << c.what << (normalize ? ", normalized" : "")
                                          << ", class " << k + 2 << ", w " << p.w);
          GlVertex v = Entered();
          v.obj = p;
          v.has = kClasses[k];
          const GlCoord n = {0.48f, -0.6f, 0.64f, 42};
          v.normal = n;
          kValidators[k](gc, &v, __GL_HAS_NORMAL);
          const double d = c.projective ? PlaneTerm(n, p, k + 2) : 0;
          Vec4 want = RowTimes({n.x, n.y, n.z, d}, inverse);
          if (normalize) {
            const double len = sqrt(want.x * want.x + want.y * want.y + want.z * want.z);
            want = {want.x / len, want.y / len, want.z / len, want.w};
          }
          EXPECT_TRUE(Close(v.normal.x, want.x, 1e-5) && Close(v.normal.y, want.y, 1e-5) &&
                      Close(v.normal.z, want.z, 1e-5))
              << v.normal.x << " " << v.normal.y << " " << v.normal.z << " vs " << want.x << " "
              << want.y << " " << want.z;
          if (!normalize) continue;
          // Normalising writes three components: the fourth shows what
          // validation put there.
          if (c.projective)
            EXPECT_TRUE(Close(v.normal.w, d, 1e-6)) << v.normal.w << " vs " << d;
          else
            EXPECT_EQ(v.normal.w, k == 2 ? 0.0f : 42.0f);
        }
      }
    }
  }
}

// Lighting brings the inverse transpose up to date at validation; a sphere
// map needs eye-space normals without lighting, so validation of the normal
// must not turn it by the matrix before the last change.
TEST_F(Validation, TheNormalFollowsTheModelViewEvenWithoutLighting) {
  glMatrixMode(GL_MODELVIEW);
  glRotatef(90, 0, 0, 1);
  Record();
  ASSERT_FALSE(gc->state.enables.general & __GL_LIGHTING_ENABLE);
  GlVertex v = Entered();
  v.normal = {1, 0, 0, 0};
  __glValidateVertex3(gc, &v, __GL_HAS_NORMAL);
  EXPECT_NEAR(v.normal.x, 0, 1e-6);
  EXPECT_NEAR(v.normal.y, 1, 1e-6);
  EXPECT_EQ(gc->transform.modelView->stale, 0);
}

// ---- Texture ----

TEST_F(Validation, TextureGenerationSeesAllFourObjectCoordinates) {
  Record();
  const GLfloat kZ[] = {0, 7, 7}, kW[] = {1, 1, 7};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(testing::Message() << "class " << k + 2);
    GlVertex v = Entered();
    v.obj = {0.5f, 0.25f, 7, 7};
    v.has = kClasses[k];
    kValidators[k](gc, &v, __GL_HAS_TEXTURE);
    ASSERT_EQ(TakeCalls(), std::vector<std::string>{"texture"});
    EXPECT_EQ(Seen().back().obj.z, kZ[k]);
    EXPECT_EQ(Seen().back().obj.w, kW[k]);
    Seen().clear();
  }
}

}  // namespace
}  // namespace vertex_test
