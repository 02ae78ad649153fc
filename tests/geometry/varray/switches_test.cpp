// "__GL_DISABLE_OG_VARRAY" and "__GL_DISABLE_OG_DRAWVERTEXES", read at a
// context reset; each process of this test runs with its own environment
// (VLX_EXPECT_SWITCHES: the two bytes expected, e.g. "10").
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include "geometry/s_varray.h"
#include "geometry/s_varray_draw.h"
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
  // Until the generators exist the table procedures run either way.
  ValidatePending();
  const GlVertexArrayMachine &va = gc->vertexArray;
  for (int mode = 0; mode < 10; ++mode) EXPECT_EQ(va.drawVertexes[mode], __glDrawVertexesProcs[mode]);
}

}  // namespace
}  // namespace varray_test
