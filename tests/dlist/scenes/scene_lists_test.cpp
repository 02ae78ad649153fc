// Every sample scene's frame compiled into a list (GL_COMPILE, then called;
// GL_COMPILE_AND_EXECUTE, drawn while compiling and called again) equals
// the frame drawn immediately, pixel for pixel.
#include <gtest/gtest.h>

#include <vector>

#include "core/gl_api.h"
#include "tools/scene_list.h"
#include "tools/scene_window.h"

namespace {

constexpr int32_t kWidth = 96, kHeight = 72;

// The buffer the view draws into.
std::vector<uint16_t> Frame(const SceneWindow &window, bool front) {
  std::vector<uint16_t> pixels(size_t(kWidth) * kHeight);
  if (front)
    SceneWindowReadFront565(&window, pixels.data());
  else
    SceneWindowRead565(&window, pixels.data());
  return pixels;
}

TEST(SceneLists, EveryFrameFromAListEqualsImmediateMode) {
  for (const SceneViewEntry &view : kSceneViews) {
    SCOPED_TRACE(view.name);
    SceneWindow window;
    ASSERT_TRUE(SceneWindowOpenDepth(&window, kWidth, kHeight, 16));
    // The second immediate frame starts from the state a frame leaves.
    view.draw(kWidth, kHeight);
    view.draw(kWidth, kHeight);
    const std::vector<uint16_t> immediate = Frame(window, view.front);

    glNewList(1, GL_COMPILE);
    view.draw(kWidth, kHeight);
    glEndList();
    glCallList(1);
    EXPECT_EQ(Frame(window, view.front), immediate) << "GL_COMPILE";

    glNewList(2, GL_COMPILE_AND_EXECUTE);
    view.draw(kWidth, kHeight);
    glEndList();
    EXPECT_EQ(Frame(window, view.front), immediate) << "drawn while compiling";
    glCallList(2);
    EXPECT_EQ(Frame(window, view.front), immediate) << "GL_COMPILE_AND_EXECUTE, called";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    SceneWindowClose(&window);
  }
}

}  // namespace
