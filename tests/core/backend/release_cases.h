// When a context may be released: the render and begin modes that let it go
// and those that keep it current. Every back end's release follows them.
#pragma once

#include <stdint.h>

#include <gtest/gtest.h>

#include "core/context.h"
#include "core/current.h"
#include "tests/core/context/life_fixture.h"

namespace backend_test {

struct ReleaseCase {
  const char *what;
  GLenum renderMode;
  int32_t beginMode;
  bool released;
};

inline constexpr ReleaseCase kReleaseCases[] = {
    {"rendering", GL_RENDER, __GL_NOT_IN_BEGIN, true},
    {"validation pending", GL_RENDER, __GL_VALIDATE_PENDING, true},
    {"inside glBegin", GL_RENDER, __GL_IN_BEGIN, false},
    {"selection", GL_SELECT, __GL_NOT_IN_BEGIN, false},
    {"feedback", GL_FEEDBACK, __GL_NOT_IN_BEGIN, false},
    {"feedback inside glBegin", GL_FEEDBACK, __GL_IN_BEGIN, false},
};

// Binds gc to the window, puts it in each row's modes and releases it: a
// released context leaves the thread and its buffers; a kept one stays
// bound to the window until the modes are left.
inline void ExpectReleaseFollowsTheModes(GlContext *gc, life_test::TestWindow &window) {
  for (const ReleaseCase &c : kReleaseCases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(life_test::Bind(gc));
    gc->renderMode = c.renderMode;
    gc->beginMode = c.beginMode;
    EXPECT_EQ(life_test::Release(gc), c.released);
    if (c.released) {
      EXPECT_EQ(__glGetTLSCXValue(), &__wglPlaceholderContext) << "never null";
      EXPECT_EQ(gc->drawablePrivate, nullptr);
      EXPECT_EQ(gc->frontBuffer.buf.gc, nullptr);
      EXPECT_EQ(gc->frontBuffer.buf.drawableBuf, nullptr) << "buffers unbound";
    } else {
      EXPECT_EQ(__glGetTLSCXValue(), gc) << "the context stays current";
      EXPECT_EQ(gc->drawablePrivate, window.drawable());
      EXPECT_EQ(gc->frontBuffer.buf.drawableBuf, &window.drawable()->front);
      gc->renderMode = GL_RENDER;
      gc->beginMode = __GL_NOT_IN_BEGIN;
      ASSERT_TRUE(life_test::Release(gc));
    }
    EXPECT_EQ(window.drawable()->lockDepth, 0);
    EXPECT_EQ(window.drawable()->mutex->depth, 0);
  }
}

}  // namespace backend_test
