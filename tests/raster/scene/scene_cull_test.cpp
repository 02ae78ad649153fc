// Culling through glBegin / glEnd: front face CCW or CW, culling of front,
// back or both faces, on bottom-up and top-down drawables (whose device y
// runs the other way, so that the window winding is reversed), against the
// reference; and the cross-check that swapping the front face and the
// culled face together leaves the image unchanged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gl_api.h"
#include "tests/raster/scene/scene_builders.h"
#include "tests/raster/scene/scene_fixture.h"

namespace scene_test {
namespace {

// Faces of both windings in every primitive kind: loose triangles wound at
// random, a strip (its triangles alternate in order but not in facing), a
// fan folding over itself, quads and polygons in both windings, a quad strip
// (simple quads only: a quad strip cannot change winding without a
// self-crossing quad, which OpenGL leaves undefined).
std::vector<ScenePrimitive> BothWindings() {
  std::vector<ScenePrimitive> scene;
  SceneRandom random(29);
  ScenePrimitive loose{GL_TRIANGLES, {}};
  for (int i = 0; i < 30; i++) loose.v.push_back(random.Vertex(0, kWidth, 0, kHeight));
  scene.push_back(loose);
  scene.push_back({GL_TRIANGLE_STRIP,
                   {V(2, 40, 0.5, 1, 0, 0), V(4, 47, 0.5, 0, 1, 0), V(12, 41, 0.5, 0, 0, 1),
                    V(10, 46.5, 0.5, 1, 1, 0), V(20, 40.5, 0.5, 0, 1, 1),
                    V(30, 47, 0.5, 1, 0, 1)}});
  // The third and fourth triangles turn back over the first two.
  scene.push_back({GL_TRIANGLE_FAN,
                   {V(48, 24, 0.25, 1, 1, 1), V(62, 24, 0.25, 1, 0, 0), V(60, 36, 0.25, 0, 1, 0),
                    V(50, 40, 0.25, 0, 0, 1), V(63, 30.5, 0.25, 1, 1, 0),
                    V(58, 20, 0.25, 0, 1, 1)}});
  const AffineField field{0.5, 0, 0, {0.2, 0.7, 0.4, 1}, {0.01, -0.005, 0.004, 0},
                          {0.004, 0.004, 0.008, 0}};
  scene.push_back({GL_QUADS,
                   {field.At(2, 2), field.At(14, 3), field.At(15, 14), field.At(3, 12),
                    field.At(18, 2), field.At(19, 13), field.At(30, 14.5), field.At(29, 1.5)}});
  scene.push_back({GL_QUAD_STRIP,
                   {field.At(34, 2), field.At(34, 10), field.At(40, 2), field.At(40, 10),
                    field.At(46, 3), field.At(46, 9)}});
  scene.push_back({GL_POLYGON,
                   {field.At(20, 20), field.At(30, 18), field.At(36, 26), field.At(28, 34),
                    field.At(18, 30)}});
  scene.push_back({GL_POLYGON,
                   {field.At(4, 20), field.At(6, 34), field.At(14, 32.5), field.At(15, 21)}});
  return scene;
}

struct CullCase {
  GLenum frontFace;
  bool cull;
  GLenum cullFace;
};

std::string Name(const CullCase &c) {
  std::string n = c.frontFace == GL_CCW ? "front CCW" : "front CW";
  if (!c.cull) return n + ", no culling";
  return n + (c.cullFace == GL_FRONT ? ", cull front" : c.cullFace == GL_BACK ? ", cull back"
                                                                             : ", cull both");
}

std::vector<CullCase> CullCases() {
  std::vector<CullCase> cases;
  for (GLenum front : {GL_CCW, GL_CW}) {
    cases.push_back({front, false, GL_BACK});
    for (GLenum face : {GL_FRONT, GL_BACK, GL_FRONT_AND_BACK}) cases.push_back({front, true, face});
  }
  return cases;
}

class CullTest : public SceneTest {
 protected:
  std::vector<uint32_t> Image() const {
    std::vector<uint32_t> image;
    for (int32_t row = 0; row < kHeight; row++)
      for (int32_t x = 0; x < kWidth; x++) image.push_back(colorMemory->Read(x, row));
    return image;
  }
  // Draws the scene in one culling state; returns the image.
  std::vector<uint32_t> Draw(const CullCase &c, const std::string &what) {
    SceneReference ref(Target());
    ClearAll(&ref);
    std::vector<SceneStep> steps;
    for (const ScenePrimitive &p : BothWindings()) {
      SceneState s;
      s.depthTest = true;
      s.frontFace = c.frontFace;
      s.cull = c.cull;
      s.cullFace = c.cullFace;
      steps.push_back({s, p});
    }
    Run(&ref, ForFormat(steps, format));
    Compare(ref, what);
    return Image();
  }
};

const GLenum kOpposite[][2] = {{GL_FRONT, GL_BACK}, {GL_BACK, GL_FRONT},
                               {GL_FRONT_AND_BACK, GL_FRONT_AND_BACK}};

TEST_F(CullTest, CullingDrawsTheFacesOpenGLDefines) {
  const ColorFormat formats[] = {kRgbFormats[2], kRgbFormats[6], kIndexFormats[1]};
  for (const ColorFormat &f : formats)
    for (bool inverted : {false, true}) {
      if (!Open(f, 16, inverted)) continue;
      const std::string where = std::string(f.name) + (inverted ? ", top-down" : "");
      for (const CullCase &c : CullCases()) {
        const std::string what = Name(c) + ", " + where;
        SCOPED_TRACE(what);
        const std::vector<uint32_t> image = Draw(c, what);
        if (!c.cull) continue;
        // The same faces go when both the winding and the culled face swap.
        GLenum swapped = c.cullFace;
        for (const auto &pair : kOpposite)
          if (pair[0] == c.cullFace) swapped = pair[1];
        const CullCase twin{c.frontFace == GL_CCW ? GLenum(GL_CW) : GLenum(GL_CCW), true, swapped};
        EXPECT_TRUE(Draw(twin, Name(twin) + ", " + where) == image)
            << what << " and " << Name(twin) << " draw different images";
      }
    }
}

// Culling both faces draws nothing at all, whatever the winding.
TEST_F(CullTest, CullingBothFacesLeavesTheBuffersUntouched) {
  for (bool inverted : {false, true}) {
    if (!Open(kRgbFormats[6], 16, inverted)) continue;
    SceneReference ref(Target());
    ClearAll(&ref, 0x40);
    const std::vector<uint32_t> before = Image();
    SceneState s;
    s.depthTest = true;
    s.cull = true;
    s.cullFace = GL_FRONT_AND_BACK;
    s.stencil = {true, GL_ALWAYS, 0, 0xFF, GL_INCR, GL_INCR, GL_INCR, 0xFF};
    for (GLenum front : {GL_CCW, GL_CW}) {
      s.frontFace = front;
      for (const ScenePrimitive &p : BothWindings()) {
        Apply(s);
        Send(p);
      }
    }
    EXPECT_TRUE(Image() == before) << (inverted ? "top-down" : "bottom-up");
    Compare(ref, inverted ? "cull both, top-down" : "cull both");
  }
}

}  // namespace
}  // namespace scene_test
