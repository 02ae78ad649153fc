// Sharing lists as an application does it, through the loader and the
// driver library: names made in one context are callable in the other, a
// context with a list open refuses to take another's lists, and deleting the
// last context gives back every block the lists took.
#include <gtest/gtest.h>

#include "tests/support/loader_windows.h"

namespace {

class LoaderSharing : public LoaderWindows {
 protected:
  void SetUp() override { OpenWindows(64, 48, 16); }

  HGLRC Context(int window) {
    HGLRC rc = wglCreateContext(hdc_[window]);
    EXPECT_NE(rc, nullptr);
    return rc;
  }
  bool Use(int window, HGLRC rc) { return wglMakeCurrent(hdc_[window], rc); }

  // Two contexts sharing lists: list 1 raises GL_INVALID_ENUM when it runs
  // (a compiled glCallList(0)), list 2 calls list 1 and lists base + 3.
  void SharedScenario() {
    HGLRC a = Context(0), b = Context(1);
    ASSERT_TRUE(wglShareLists(a, b));
    ASSERT_TRUE(Use(0, a));
    const GLuint first = glGenLists(3);
    ASSERT_EQ(first, 1u);
    glNewList(1, GL_COMPILE);
    glCallList(0);
    glEndList();
    glNewList(2, GL_COMPILE);
    glCallList(1);
    const GLuint three = 3;
    glCallLists(1, GL_UNSIGNED_INT, &three);
    glEndList();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    ASSERT_TRUE(Use(1, b));
    EXPECT_TRUE(glIsList(1));
    EXPECT_TRUE(glIsList(3)) << "reserved in the other context";
    EXPECT_FALSE(glIsList(4));
    glCallList(2);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
    // A list made here is callable there.
    glNewList(4, GL_COMPILE);
    glCallList(2);
    glEndList();
    ASSERT_TRUE(Use(0, a));
    glCallList(4);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));

    // The creator goes first; the lists stay with the other context.
    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    ASSERT_TRUE(wglDeleteContext(a));
    ASSERT_TRUE(Use(1, b));
    glCallList(4);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    ASSERT_TRUE(wglDeleteContext(b));
  }

};

TEST_F(LoaderSharing, NamesMadeInOneContextRunInTheOtherAndTheLastContextFreesThem) {
  // A first round loads the driver and meets each window; the second must
  // give back exactly what it took.
  SharedScenario();
  const unsigned before = PlatformGetHeapStats().liveBlocks;
  SharedScenario();
  EXPECT_EQ(PlatformGetHeapStats().liveBlocks, before);
}

TEST_F(LoaderSharing, AContextWithAnOpenListRefusesToShareAndItsListStillBinds) {
  HGLRC a = Context(0), c = Context(1);
  ASSERT_TRUE(Use(0, a));
  glNewList(900, GL_COMPILE);
  glEndList();
  ASSERT_TRUE(Use(1, c));
  glNewList(1, GL_COMPILE);
  glCallList(0);
  EXPECT_FALSE(wglShareLists(a, c));
  glCallList(0);
  glEndList();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  glCallList(1);
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
  EXPECT_TRUE(glIsList(1));
  EXPECT_FALSE(glIsList(900)) << "still its own names";
  // With the list closed, sharing works.
  ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_TRUE(wglShareLists(a, c));
  ASSERT_TRUE(Use(1, c));
  EXPECT_TRUE(glIsList(900));
  EXPECT_FALSE(glIsList(1)) << "its own lists went with the share";
  ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_TRUE(wglDeleteContext(a));
  EXPECT_TRUE(wglDeleteContext(c));
}

}  // namespace
