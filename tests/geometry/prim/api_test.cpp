// The whole road: a bound context of the core back end, validated as the
// first glBegin validates it, driven through glBegin, glEdgeFlag,
// glVertex2f/3f/4f and glEnd. The immediate entries transform and clip-check
// each vertex; what primitive assembly then hands on must be what the model
// predicts for the codes the positions give.
#include <gtest/gtest.h>

#include "core/current.h"
#include "core/gl_api.h"
#include "geometry/s_vertex.h"
#include "tests/core/context/life_fixture.h"
#include "tests/geometry/prim/prim_fixture.h"
#include "tests/geometry/prim/prim_model.h"
#include "tests/geometry/prim/prim_patterns.h"
#include "tests/support/counting_imports.h"

namespace {

class ThroughTheApi : public life_test::BoundContextTest,
                      public testing::WithParamInterface<GLenum> {
 protected:
  // Validated as the first glBegin validates it.
  void Bound() override { ValidatePending(); }
};

// Identity matrices: x beyond +-1 gives the right or left code.
struct Position {
  GLfloat x;
  uint32_t codes;
};
const Position kPositions[] = {
    {0.25f, 0}, {-0.5f, 0}, {0.0f, 0}, {2.0f, __GL_CLIP_RIGHT}, {-3.0f, __GL_CLIP_LEFT}};

TEST_P(ThroughTheApi, HandsOnWhatTheModelPredicts) {
  const GLenum mode = GetParam();
  PrimFixture f(gc);
  const uint32_t frontNeeds = gc->vertexBuffer.frontNeeds;
  for (bool clean : {true, false}) {
    for (int count = 0; count <= 31; ++count) {
      const std::vector<bool> flags = MakeFlags(FlagPattern::Scattered, count);
      std::vector<uint32_t> codes(count, 0);
      f.prepare(mode);
      glBegin(mode);
      for (int i = 0; i < count; ++i) {
        const Position &p = kPositions[clean ? i % 3 : (i * 7 + count) % 5];
        codes[i] = p.codes;
        const GLfloat y = PrimFixture::CoordOf(i);
        f.setDuring(i);
        glEdgeFlag(flags[i] ? GL_TRUE : GL_FALSE);
        switch (i % 3) {
          case 0:
            glVertex2f(p.x, y);
            break;
          case 1:
            glVertex3f(p.x, y, 0.5f);
            break;
          default:
            glVertex4f(p.x, y, -0.5f, 1.0f);
            break;
        }
      }
      f.setDuring(count);
      glEnd();
      EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

      // Validation of the real vertex sizes is covered elsewhere: compare
      // the hand-offs.
      auto handOffs = [](const std::vector<PrimCall> &calls) {
        std::vector<std::string> out;
        for (const PrimCall &c : calls)
          if (c.kind.rfind("validate", 0) != 0) out.push_back(Describe(c));
        return out;
      };
      const std::vector<PrimCall> want =
          ModelCalls(ModelRun{mode, count, codes, flags, frontNeeds});
      ASSERT_EQ(handOffs(f.calls()), handOffs(want)) << count << (clean ? " clean" : " coded");
      EXPECT_EQ(gc->renderLockCount, 0);
      EXPECT_EQ(f.lockCalls(), f.unlockCalls());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllModes, ThroughTheApi, testing::ValuesIn(kAllModes), ModeParamName());

}  // namespace
