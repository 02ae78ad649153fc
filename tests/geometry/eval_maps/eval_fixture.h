// A bound context for the evaluator tests, with the error the last calls
// left and the whole map state as values (to show a refused call changed
// nothing).
#pragma once

#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/core/context/life_fixture.h"
#include "tests/geometry/eval_maps/eval_reference.h"
#include "tests/geometry/eval_maps/eval_stream.h"

namespace eval_test {

class EvalTest : public life_test::BoundContextTest {
 protected:
  GLenum TakeError() {
    GLenum e = gc->error;
    gc->error = GL_NO_ERROR;
    return e;
  }
  // Descriptors and control points of all eighteen maps.
  std::vector<GLfloat> Maps() const;
  // Only map `index` of the dimension enabled, with no others.
  void EnableOnly1(std::initializer_list<int> indices);
  void EnableOnly2(std::initializer_list<int> indices);
  // Loads a map given as a reference map with glMap1f / glMap2f.
  void Load1(GLenum target, const RefMap &map);
  void Load2(GLenum target, const RefMap &map);
};

}  // namespace eval_test
