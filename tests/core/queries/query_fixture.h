// A bound context of the core back end for the query tests, with the check
// that reads one pname through all four glGet entries against the model.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/context.h"
#include "tests/core/context/life_fixture.h"
#include "tests/core/queries/query_model.h"

namespace query_test {

class QueryTest : public life_test::BoundContextTest {
 protected:
  void Bound() override { ValidatePending(); }
  // Reads and clears the recorded error.
  GLenum TakeError();
  // glGetBooleanv, glGetIntegerv, glGetFloatv and glGetDoublev of pname
  // each write exactly the model's values, and record no error.
  void ExpectGet(GLenum pname, const Staged &want, const std::string &what, double tolerance = 0);
  // The four entries record `error` and write nothing.
  void ExpectGetRefused(GLenum pname, GLenum error, const std::string &what);
  // The context's reciprocal colour scales, red to alpha.
  void Recips(float out[4]) const;
};

}  // namespace query_test
