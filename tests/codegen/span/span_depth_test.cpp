// The depth rows as a table: a surface drawn over one drawn before on the
// same triangle, through the generated span, passes or fails by the depth
// function; a 16-bit buffer compares the top half of the depth word only;
// with writes off the stored depth never changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/codegen/span/span_fixture.h"

namespace span_test {
namespace {

using scene_test::Tri;
using scene_test::V;

struct DepthRow {
  GLenum func;
  double dz;  // the second surface's window z less the first's (0.5)
  bool write;
  bool pass16, pass32;  // over a 16-bit and a 32-bit buffer
};

// 2^-22 moves the 32-bit word by about 500 units but stays inside one
// 16-bit unit of 0.5.
constexpr double kTiny = 1.0 / (1 << 22);

const DepthRow kRows[] = {
    {GL_LESS, 0, true, false, false},        // an equal stored value leaves the pixel
    {GL_LEQUAL, 0, true, true, true},        // and GL_LEQUAL writes it
    {GL_EQUAL, 0, true, true, true},
    {GL_NOTEQUAL, 0, true, false, false},
    {GL_GREATER, 0, true, false, false},
    {GL_GEQUAL, 0, true, true, true},
    {GL_NEVER, -0.25, true, false, false},
    {GL_ALWAYS, 0.25, true, true, true},
    {GL_LESS, -kTiny, true, false, true},    // 16 bits: the same top half
    {GL_GREATER, kTiny, true, false, true},
    {GL_NOTEQUAL, kTiny, true, false, true},
    {GL_LESS, -0.25, true, true, true},
    {GL_GREATER, -0.25, true, false, false},
    {GL_LESS, -0.25, false, true, true},     // writes off: colour only
    {GL_ALWAYS, 0.25, false, true, true},
    {GL_GEQUAL, 0.25, false, true, true},
};

TEST_F(SpanSceneTest, DepthRowsPassAndWriteByTheFunction) {
  for (uint32_t depthBits : {16u, 32u})
    for (bool smooth : {false, true}) {
      ASSERT_TRUE(OpenPlain(kRgbFormats[2], depthBits));
      for (const DepthRow &row : kRows) {
        SceneState first;
        first.smooth = smooth;
        first.depthTest = true;
        first.depthFunc = GL_ALWAYS;
        SceneState second = first;
        second.depthFunc = row.func;
        second.depthWrite = row.write;
        const double z = 0.5 + row.dz;
        const SceneStep under = Tri(first, V(3.25, 2.5, 0.5, 0.1, 0.2, 0.9), V(60.5, 20.75, 0.5, 0.3, 0.1, 0.8),
                                    V(20, 45.25, 0.5, 0.2, 0.3, 0.7));
        const SceneStep over = Tri(second, V(3.25, 2.5, z, 0.9, 0.8, 0.1), V(60.5, 20.75, z, 0.7, 0.9, 0.2),
                                   V(20, 45.25, z, 0.8, 0.7, 0.3));
        SceneStep alone = over;
        alone.state.depthFunc = GL_ALWAYS;
        alone.state.depthWrite = true;
        const Image cleared = DrawOn(Path::kGenerated, {});
        const Image below = DrawOn(Path::kGenerated, {under});
        const Image above = DrawOn(Path::kGenerated, {alone});
        const Image both = DrawOn(Path::kGenerated, {under, over});
        const bool pass = depthBits == 16 ? row.pass16 : row.pass32;
        const std::string what = std::to_string(depthBits) + "-bit" + (smooth ? ", smooth" : "") +
                                 ", function 0x" + std::to_string(row.func) + ", dz " +
                                 std::to_string(row.dz) + (row.write ? "" : ", no writes");
        int covered = 0, wrong = 0;
        for (size_t i = 0; i < both.color.size(); i++) {
          if (below.color[i] == cleared.color[i]) {
            wrong += both.color[i] != cleared.color[i] || both.depth[i] != cleared.depth[i];
            continue;
          }
          covered++;
          const uint32_t color = pass ? above.color[i] : below.color[i];
          const uint32_t depth = pass && row.write ? above.depth[i] : below.depth[i];
          if ((both.color[i] != color || both.depth[i] != depth) && wrong++ < 4)
            ADD_FAILURE() << what << ": pixel " << i % scene_test::kWidth << ", "
                          << i / scene_test::kWidth << ": colour " << both.color[i] << " depth "
                          << both.depth[i] << ", want " << color << ", " << depth;
        }
        EXPECT_GT(covered, 500) << what;
        EXPECT_EQ(wrong, 0) << what;
      }
      Close();
    }
}

}  // namespace
}  // namespace span_test
