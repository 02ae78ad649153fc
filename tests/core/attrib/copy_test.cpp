// Context copy between the core device's contexts; the fog a copy brings
// into a context of another visual.
#include <gtest/gtest.h>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "tests/core/attrib/copy_scenarios.h"

namespace attrib_test {
namespace {

class CoreBackEnd : public life_test::LifeTest {
 protected:
  GlContext *CreateContext(const GlModes &modes) { return Create(modes); }
};

// The fog index is kept masked to the buffer's index bits: a copy from a
// 12-bit context into an 8-bit one masks it again, as glFog there would.
TEST_F(CoreBackEnd, ACopiedFogIndexFitsTheDestinationsBuffer) {
  life_test::TestWindow window(16, 16);
  UseWindow(&window);
  GlModes wide = TestModes(false), narrow = TestModes(false);
  wide.indexBits = 12;
  ASSERT_EQ(narrow.indexBits, 8u);
  GlContext *src = CreateBound(wide);
  ASSERT_NE(src, nullptr);
  glFogi(GL_FOG_INDEX, 1000);
  ASSERT_TRUE(life_test::Release(src));
  GlContext *dst = CreateBound(narrow);
  ASSERT_NE(dst, nullptr);
  ASSERT_TRUE(life_test::Release(dst));
  ASSERT_TRUE(dst->exports.copyContext(dst, src, GL_FOG_BIT));
  ASSERT_TRUE(life_test::Bind(dst));
  GLint index = 0;
  glGetIntegerv(GL_FOG_INDEX, &index);
  EXPECT_EQ(index, 1000 & 0xFF);
  EXPECT_EQ(dst->state.fog.indexByte, uint8_t(1000 & 0xFF));
  ASSERT_TRUE(life_test::Release(dst));
  src->exports.destroyContext(src);
  Destroy(dst);
  UseWindow(nullptr);
}

// A copy binds the source's names in the destination as glBindTexture
// would. A name that is a texture of the other dimension there is left, and
// the error glBindTexture would raise goes nowhere: the context current
// while the copy runs did not make the call that failed.
TEST_F(CoreBackEnd, ACopyLeavesANameOfTheOtherDimensionWithoutAnError) {
  life_test::TestWindow window(16, 16);
  UseWindow(&window);
  GlContext *dst = CreateBound(TestModes());
  ASSERT_NE(dst, nullptr);
  glBindTexture(GL_TEXTURE_1D, 9);
  glBindTexture(GL_TEXTURE_1D, 0);
  ASSERT_TRUE(life_test::Release(dst));
  GlContext *src = CreateBound(TestModes());
  ASSERT_NE(src, nullptr);
  glBindTexture(GL_TEXTURE_2D, 9);
  ASSERT_TRUE(src->exports.copyContext(dst, src, GL_TEXTURE_BIT));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  ASSERT_TRUE(life_test::Release(src));
  ASSERT_TRUE(life_test::Bind(dst));
  GLint binding = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
  EXPECT_EQ(binding, 0);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  ASSERT_TRUE(life_test::Release(dst));
  src->exports.destroyContext(src);
  Destroy(dst);
  UseWindow(nullptr);
}

}  // namespace
}  // namespace attrib_test

namespace copy_scenarios {
INSTANTIATE_TYPED_TEST_SUITE_P(Core, CopyScenarios, attrib_test::CoreBackEnd);
}  // namespace copy_scenarios
