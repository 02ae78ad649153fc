// "__GL_DISABLE_OG_VARRAY" and "__GL_DISABLE_OG_DRAWVERTEXES", read at a
// context reset; each process of this test runs with its own environment
// (VLX_EXPECT_SWITCHES: the two bytes expected, e.g. "10").
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include "geometry/s_varray.h"
#include "geometry/s_varray_draw.h"
#include "geometry/s_varray_og.h"
#include "tests/geometry/varray/varray_fixture.h"

namespace varray_test {
namespace {

class Switches : public VarrayTest {};

TEST_F(Switches, AreReadAtTheReset) {
  const char *expect = getenv("VLX_EXPECT_SWITCHES");
  ASSERT_NE(expect, nullptr);
  ASSERT_EQ(strlen(expect), 2u);
  EXPECT_EQ(__glDisableOgVarray, expect[0] - '0');
  EXPECT_EQ(__glDisableOgDrawVertexes, expect[1] - '0');
  // The strip slot takes the generating wrapper unless its switch is set;
  // every other mode keeps its table procedure.
  ValidatePending();
  const GlVertexArrayMachine &va = gc->vertexArray;
  for (int mode = 0; mode < 10; ++mode) {
    const bool wrapped = mode == GL_TRIANGLE_STRIP && expect[1] == '0';
    EXPECT_EQ(va.drawVertexes[mode],
              wrapped ? __glDrawVertexes_TstripWrapper : __glDrawVertexesProcs[mode])
        << "mode " << mode;
  }
}

}  // namespace
}  // namespace varray_test
