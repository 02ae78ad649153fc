// Every allocation the image commands and the cooked copies make, refused
// in turn: the command records GL_OUT_OF_MEMORY or goes on without what it
// could not have, and nothing is left allocated once the texture goes.
#include "pixels/px_texture_cook.h"
#include "tests/pixels/tex_images/tex_image_fixture.h"
#include "tests/support/counting_imports.h"

namespace tex_image_test {
namespace {

class Allocation : public TexImageTest {
 protected:
  // Defines, cooks, replaces, copies and redefines levels of the bound 2D
  // object; returns the errors recorded.
  std::vector<GLenum> Work() {
    std::vector<GLenum> errors;
    auto note = [&] {
      const GLenum e = Error();
      if (e != GL_NO_ERROR) errors.push_back(e);
    };
    const std::vector<uint8_t> p = Pattern(8, 8, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    note();
    gc->texture.current = Bound(1);
    __glCookTexture(gc);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 1, 1, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    note();
    glCopyTexImage2D(GL_TEXTURE_2D, 1, GL_RGB, 3, 3, 4, 4, 0);
    note();
    glCopyTexSubImage2D(GL_TEXTURE_2D, 1, 0, 0, 0, 0, 2, 2);
    note();
    glCopyTexImage2D(GL_TEXTURE_2D, 2, GL_RGB, 100, 3, 2, 2, 0);
    note();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    note();
    gc->texture.current = nullptr;
    return errors;
  }
};

TEST_F(Allocation, RefusedAllocationsLeaveNothingBehind) {
  FillPattern();
  const GLuint name = 3;
  for (int n = 1;; ++n) {
    SCOPED_TRACE(n);
    const int live = CountingImports::live();
    glBindTexture(GL_TEXTURE_2D, name);
    ASSERT_EQ(Error(), GLenum(GL_NO_ERROR));
    const int first = CountingImports::allocations();
    CountingImports::failAllocation(n);
    const std::vector<GLenum> errors = Work();
    CountingImports::failAllocation(0);
    const int made = CountingImports::allocations() - first;
    // Out of memory first; a level left empty by it may refuse later
    // sub-images.
    if (!errors.empty()) {
      EXPECT_EQ(errors[0], GLenum(GL_OUT_OF_MEMORY));
    }
    for (GLenum e : errors)
      EXPECT_TRUE(e == GL_OUT_OF_MEMORY || e == GL_INVALID_OPERATION) << std::hex << e;
    glDeleteTextures(1, &name);
    EXPECT_EQ(CountingImports::live(), live);
    if (made < n) break;  // every allocation of the work has been refused once
  }
}

}  // namespace
}  // namespace tex_image_test
