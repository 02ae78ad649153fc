// A bound context of the core back end for the vertex-array tests, with a
// few helpers: the error the last calls left, and the vertex-array record
// as bytes (to show that a refused call changed nothing).
#pragma once

#include <string.h>

#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/core/context/life_fixture.h"

namespace varray_test {

class VarrayTest : public life_test::BoundContextTest {
 protected:
  // The recorded error, cleared.
  GLenum TakeError() {
    GLenum e = gc->error;
    gc->error = GL_NO_ERROR;
    return e;
  }
  std::vector<uint8_t> Record() const {
    const uint8_t *p = reinterpret_cast<const uint8_t *>(&gc->vertexArray);
    return std::vector<uint8_t>(p, p + sizeof gc->vertexArray);
  }
};

}  // namespace varray_test
