// Every mode with 0 to 31 vertices (the polygon's 16-slot flush included),
// under several clip-code and edge-flag patterns and both forms of the point
// and line-strip procedures: the hand-offs, their arguments in order, the
// codes, the boundary bits during each call, the provoking vertex, the
// stipple restarts, the locks and the vertex on whose arrival each comes,
// against the model.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/geometry/prim/prim_fixture.h"
#include "tests/geometry/prim/prim_model.h"
#include "tests/geometry/prim/prim_patterns.h"

namespace {

using SequenceCase = std::tuple<GLenum, CodePattern, uint32_t>;  // mode, codes, front needs

class Sequence : public testing::TestWithParam<SequenceCase> {};

TEST_P(Sequence, MatchesTheModelForEveryCount) {
  const auto [mode, pattern, frontNeeds] = GetParam();
  for (FlagPattern flags : {FlagPattern::AllOn, FlagPattern::Alternating, FlagPattern::Scattered}) {
    for (int count = 0; count <= 31; ++count) {
      PrimFixture f;
      f.setFrontNeeds(frontNeeds);
      PrimRun run{mode, count, MakeCodes(pattern, count), MakeFlags(flags, count)};
      const std::vector<PrimCall> got = f.run(run);
      const std::vector<PrimCall> want =
          ModelCalls(ModelRun{mode, count, run.codes, run.flags, frontNeeds});
      ASSERT_EQ(Describe(got), Describe(want)) << count << " vertices, flag pattern " << int(flags);
      int handOffs = 0;
      for (const PrimCall &c : want) handOffs = std::max(handOffs, c.lockCalls);
      EXPECT_EQ(f.lockCalls(), handOffs) << count << " vertices";
      EXPECT_EQ(f.unlockCalls(), handOffs) << count << " vertices";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllModes, Sequence,
                         testing::Combine(testing::ValuesIn(kAllModes),
                                          testing::Values(CodePattern::Clean, CodePattern::Sparse,
                                                          CodePattern::Dense, CodePattern::AllLeft,
                                                          CodePattern::CullOnly),
                                          testing::Values(0u, 0x18u)),
                         [](const testing::TestParamInfo<SequenceCase> &info) {
                           return ModeName(std::get<0>(info.param)) + "_" +
                                  PatternName(std::get<1>(info.param)) +
                                  (std::get<2>(info.param) ? "_Validating" : "_Fast");
                         });

}  // namespace
