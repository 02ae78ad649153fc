// When a context may be released: the render and begin modes that let it go
// and those that keep it current. Every back end's release follows them.
#pragma once

#include <stdint.h>

#include "core/context.h"

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

}  // namespace backend_test
