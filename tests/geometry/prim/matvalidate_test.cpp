// The material validators: after any number of vertices of any mode,
// procs.matValidate validates exactly the buffered vertices a later
// primitive still uses, each only when the smooth-shading needs word has a
// bit it lacks, with that word and the procedure of its size class.
#include <gtest/gtest.h>

#include <algorithm>

#include "geometry/s_vertex.h"
#include "tests/geometry/prim/prim_fixture.h"
#include "tests/geometry/prim/prim_model.h"
#include "tests/geometry/prim/prim_patterns.h"

namespace {

constexpr uint32_t kSmooth = __GL_HAS_FRONT_COLOR | __GL_HAS_TEXTURE | __GL_HAS_EYE;

class MaterialValidation : public testing::TestWithParam<GLenum> {};

TEST_P(MaterialValidation, ProtectsTheVerticesStillWaiting) {
  const GLenum mode = GetParam();
  for (int given = 0; given <= 31; ++given) {
    PrimFixture f;
    GlContext *gc = f.gc();
    f.begin(mode);
    // Every third vertex already has what smooth shading needs.
    for (int i = 0; i < given; ++i) f.give(i, i % 3 == 0 ? kSmooth : 0, true);
    gc->vertexBuffer.smoothNeeds = kSmooth;
    f.calls().clear();
    gc->procs.matValidate(gc);

    std::vector<int> want;
    for (int id : ModelWaiting(mode, given))
      if (id % 3 != 0) want.push_back(id);
    std::vector<int> got;
    for (const PrimCall &c : f.calls()) {
      ASSERT_EQ(c.ids.size(), 1u);
      EXPECT_EQ(c.kind, "validate" + std::to_string(c.ids[0] % 4)) << given;
      EXPECT_EQ(c.needs, kSmooth) << given;
      got.push_back(c.ids[0]);
    }
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, want) << ModeName(mode) << " after " << given << " vertices";

    // Now they have it: a second material change validates nothing.
    f.calls().clear();
    gc->procs.matValidate(gc);
    EXPECT_TRUE(f.calls().empty()) << given;
    // Flat shading needs nothing of them.
    for (GlVertex &v : gc->vertexBuffer.slots) v.has &= ~kSmooth;
    gc->vertexBuffer.smoothNeeds = 0;
    gc->procs.matValidate(gc);
    EXPECT_TRUE(f.calls().empty()) << given;
  }
}

INSTANTIATE_TEST_SUITE_P(AllModes, MaterialValidation, testing::ValuesIn(kAllModes),
                         ModeParamName());

}  // namespace
