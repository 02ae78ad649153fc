// What a raster position carries besides its place: validity (frustum, user
// planes, w), the current colour lit or not but never fogged, the texture
// coordinates through the texture matrix and never divided, the procedure
// slots put back, and the selection hit a valid position records.
#include <gtest/gtest.h>

#include <math.h>

#include <functional>
#include <vector>

#include "tests/geometry/rpos/rpos_fixture.h"
#include "tests/support/counting_imports.h"

// __glSelectPoint is wrapped at link time: the recorder sees every call the
// raster position makes, whether selection is built or still a stand-in.
namespace {
std::vector<const GlVertex *> gSelected;
std::vector<GLfloat> gSelectedZ;
}  // namespace
extern "C" void __wrap__Z15__glSelectPointP9GlContextP8GlVertex(GlContext *, GlVertex *v) {
  gSelected.push_back(v);
  gSelectedZ.push_back(v->window.z);
}

namespace rpos_test {
namespace {

// ---- Validity ----

struct ValidityCase {
  const char *what;
  std::function<void()> setUp;
  std::function<void()> call;
  bool valid;
};

const GLdouble kRightHalf[] = {1, 0, 0, 0};  // x >= 0 in object space

std::vector<ValidityCase> ValidityCases() {
  auto plane = [] {
    glClipPlane(GL_CLIP_PLANE0, kRightHalf);
    glEnable(GL_CLIP_PLANE0);
  };
  auto none = [] {};
  return {
      {"inside the frustum", none, [] { glRasterPos3f(1, -1, 2); }, true},
      {"beyond the far plane", none, [] { glRasterPos3f(0, 0, -40); }, false},
      {"before the near plane", none, [] { glRasterPos3f(0, 0, 12); }, false},
      {"left of the frustum", none, [] { glRasterPos2f(-40, 0); }, false},
      {"above the frustum", none, [] { glRasterPos2f(0, 30); }, false},
      {"inside an enabled user plane", plane, [] { glRasterPos3f(1, 2, 1); }, true},
      {"outside an enabled user plane", plane, [] { glRasterPos3f(-1, 2, 1); }, false},
      {"negative w", none, [] { glRasterPos4f(1, 1, 1, -1); }, false},
      {"w = 0 at the eye", none, [] { glRasterPos4f(0, 0, 0, 0); }, false},
      {"w = 0 away from the eye", none, [] { glRasterPos4f(1, 1, 1, 0); }, false},
      {"a coordinate that is not a number", none, [] { glRasterPos3f(NAN, 0, 0); }, false},
      {"an infinite coordinate", none, [] { glRasterPos3f(INFINITY, 0, 0); }, false},
  };
}

class RasterPosValidity : public RasterPosTest {};

// An invalid position clears the flag and changes nothing else; the next
// valid one sets it again.
TEST_F(RasterPosValidity, InvalidPositionsLeaveTheLastValidOneWhole) {
  for (const ValidityCase &c : ValidityCases()) {
    SCOPED_TRACE(c.what);
    LoadScene(kPerspective);
    glDisable(GL_CLIP_PLANE0);
    glColor4f(0.25f, 0.5f, 0.75f, 1);
    glTexCoord4f(1, 2, 3, 4);
    glRasterPos2f(1, 1);
    ASSERT_TRUE(valid());
    const GlVertex before = raster();
    c.setUp();
    glColor4f(1, 0, 0, 0.5f);
    glTexCoord4f(-1, -2, -3, -4);
    c.call();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(valid(), c.valid);
    if (!c.valid) {
      EXPECT_TRUE(Same(raster(), before));
      glDisable(GL_CLIP_PLANE0);
      glRasterPos2f(2, 2);
      EXPECT_TRUE(valid());
    } else {
      EXPECT_EQ(raster().colors[0].g, 0.0f) << "took the current colour";
    }
  }
}

// ---- Colour ----

struct ColorCase {
  const char *what;
  bool rgba, lit, fog;
  double normal[3];  // current normal, object space
};

const ColorCase kColorCases[] = {
    {"unlit", true, false, false, {0, 0, 1}},
    {"unlit with fog", true, false, true, {0, 0, 1}},
    {"lit, facing the light", true, true, false, {0, 0, 1}},
    {"lit, at a slant", true, true, false, {0.6, -0.3, 0.74}},
    {"lit, turned away", true, true, false, {0, 0.1, -1}},
    {"lit with fog", true, true, true, {0.3, 0.2, 0.9}},
    {"colour index, unlit", false, false, false, {0, 0, 1}},
    {"colour index, unlit with fog", false, false, true, {0, 0, 1}},
};

const Lighting kLighting = {{0.1, 0.2, 0.3, 1}, {0.6, 0.4, 0.2, 0.7}, {0.5, 0.25, 0.2, 1}};

class RasterPosColor : public RasterPosTest {};

TEST_F(RasterPosColor, LitWhenLightingIsOnAndNeverFogged) {
  for (const ColorCase &c : kColorCases) {
    SCOPED_TRACE(c.what);
    Use(TestModes(c.rgba));
    ValidatePending();
    LoadScene(kPerspective);
    if (c.fog) {
      const GLfloat fogColor[] = {1, 0, 1, 1};
      glFogfv(GL_FOG_COLOR, fogColor);
      glFogi(GL_FOG_MODE, GL_LINEAR);
      glFogf(GL_FOG_START, 0);
      glFogf(GL_FOG_END, 1);  // every position here is fully fogged
      glFogf(GL_FOG_INDEX, 7);
      glEnable(GL_FOG);
    }
    if (c.lit) LoadLighting(kLighting);
    glColor4f(0.25f, 0.5f, 0.75f, 0.6f);
    glIndexf(3);
    glNormal3d(c.normal[0], c.normal[1], c.normal[2]);
    // Validated now, so that the slots the call swaps can be compared.
    ValidatePending();
    const GlCalcColorProc calcColor = gc->procs.calcColor;
    const GlVertexProc calcTexture = gc->procs.calcTexture;
    const double obj[4] = {2, -1, 3, 1};
    glRasterPos3d(obj[0], obj[1], obj[2]);
    EXPECT_EQ(gc->procs.calcColor, calcColor);
    EXPECT_EQ(gc->procs.calcTexture, calcTexture);
    ASSERT_TRUE(valid());
    const Expected e = Reference(gc, kPerspective, obj, c.normal);
    const GlConstants &k = gc->constants;
    double want[4];
    if (!c.rgba) {
      want[0] = 3;
    } else if (c.lit) {
      LitColor(gc, kLighting, e.normal, want);
    } else {
      const double color[4] = {0.25, 0.5, 0.75, 0.6};
      const double scale[4] = {k.redScale, k.greenScale, k.blueScale, k.alphaScale};
      for (int i = 0; i < 4; ++i) want[i] = double(GLfloat(color[i])) * scale[i];
    }
    const GlColor &got = raster().colors[__GL_FRONTFACE];
    EXPECT_EQ(raster().color, &raster().colors[__GL_FRONTFACE]);
    EXPECT_NEAR(got.r, want[0], 1e-4 * (1 + fabs(want[0])));
    if (c.rgba) {
      EXPECT_NEAR(got.g, want[1], 1e-4 * (1 + want[1]));
      EXPECT_NEAR(got.b, want[2], 1e-4 * (1 + want[2]));
      EXPECT_NEAR(got.a, want[3], 1e-4 * (1 + want[3]));
    }
    if (c.lit) {
      for (int i = 0; i < 3; ++i)
        EXPECT_NEAR((&raster().normal.x)[i], e.normal[i], 1e-5) << "eye normal " << i;
    }
  }
}

// ---- Texture coordinates ----

struct TextureCase {
  const char *what;
  GLenum shading;
  bool lit;
  GLfloat texture[16];  // the texture matrix
};

const TextureCase kTextureCases[] = {
    {"smooth, identity", GL_SMOOTH, false, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
    {"smooth, projective matrix", GL_SMOOTH, false,
     {2, 0.5f, 0, 0.25f, 0, 3, 0.1f, 0, 1, 0, 0.5f, 0.5f, 0.125f, -1, 0, 2}},
    // Nothing else needs vertex fields then: the raster position still does.
    {"flat and unlit, projective matrix", GL_FLAT, false,
     {2, 0.5f, 0, 0.25f, 0, 3, 0.1f, 0, 1, 0, 0.5f, 0.5f, 0.125f, -1, 0, 2}},
    {"flat and lit, scale and shift", GL_FLAT, true,
     {0.5f, 0, 0, 0, 0, 0.25f, 0, 0, 0, 0, 1, 0, 0.5f, 0.75f, 0, 1}},
};

class RasterPosTexture : public RasterPosTest {};

TEST_F(RasterPosTexture, TheTextureMatrixAppliesAndNothingDivides) {
  for (const TextureCase &c : kTextureCases) {
    SCOPED_TRACE(c.what);
    Use(TestModes());
    ValidatePending();
    LoadScene(kPerspective);
    glShadeModel(c.shading);
    if (c.lit) LoadLighting(kLighting);
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(c.texture);
    glMatrixMode(GL_MODELVIEW);
    const double tc[4] = {0.25, 0.5, 0.75, 2};
    glTexCoord4d(tc[0], tc[1], tc[2], tc[3]);
    const double obj[4] = {-1, 2, 1, 1};
    glRasterPos3d(obj[0], obj[1], obj[2]);
    ASSERT_TRUE(valid());
    double want[4];
    Transform(c.texture, tc, want);
    const GLfloat *got = &raster().texture.x;
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], want[i], 1e-6 * (1 + fabs(want[i]))) << i;
    // The eye coordinates are the position's own, whatever the state needs.
    const Expected e = Reference(gc, kPerspective, obj, obj);
    for (int i = 0; i < 4; ++i)
      EXPECT_NEAR((&raster().eye.x)[i], e.eye[i], 2e-6 * (1 + fabs(e.eye[i]))) << "eye " << i;
  }
}

// ---- Selection ----

struct SelectCase {
  const char *what;
  GLenum mode;
  double obj[3];
  bool hit;
};

const SelectCase kSelectCases[] = {
    {"selection, valid position", GL_SELECT, {1, 2, 3}, true},
    {"selection, another depth", GL_SELECT, {-2, 0, -4}, true},
    {"selection, invalid position", GL_SELECT, {0, 0, -40}, false},
    {"rendering", GL_RENDER, {1, 2, 3}, false},
    {"feedback: reported later, by the pixel operations", GL_FEEDBACK, {1, 2, 3}, false},
};

class RasterPosSelect : public RasterPosTest {};

TEST_F(RasterPosSelect, AValidPositionRecordsAHitAtItsDepth) {
  LoadScene(kPerspective);
  ValidatePending();
  for (const SelectCase &c : kSelectCases) {
    SCOPED_TRACE(c.what);
    gSelected.clear();
    gSelectedZ.clear();
    gc->renderMode = c.mode;
    glRasterPos3d(c.obj[0], c.obj[1], c.obj[2]);
    gc->renderMode = GL_RENDER;
    ASSERT_EQ(gSelected.size(), c.hit ? 1u : 0u);
    if (!c.hit) continue;
    EXPECT_EQ(gSelected[0], &raster());
    const double obj[4] = {c.obj[0], c.obj[1], c.obj[2], 1};
    const Expected e = Reference(gc, kPerspective, obj, obj);
    EXPECT_NEAR(gSelectedZ[0], e.window[2], 2e-6);
  }
}

}  // namespace
}  // namespace rpos_test
