// An independent model of what the state queries return: staged values in
// long double, converted by OpenGL's query rules as this driver keeps them
// (floats round half away from zero through a single-precision sum; values
// in [-1, 1] spread over the integer range by floor(v x 4294964992 / 2);
// scaled colours divided by their scale first). Out-of-range integers
// saturate and NaN gives 0.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "core/gl_defs.h"

namespace query_test {

enum class Kind { kFloat, kInt, kBool, kNormalized, kColor };

struct Staged {
  Kind kind;
  std::vector<long double> values;
  // For kColor: the reciprocal colour scales, red, green, blue, alpha.
  float recip[4] = {1, 1, 1, 1};
};

std::vector<GLfloat> AsFloats(const Staged &s);
std::vector<GLdouble> AsDoubles(const Staged &s);
std::vector<GLint> AsInts(const Staged &s);
std::vector<GLboolean> AsBools(const Staged &s);

// Saturating conversions of the model.
GLint SaturateToInt(long double v);

// Calls `get` on a buffer filled with a canary, and expects `want` in front
// (floating values within `tolerance`, relative beyond 1, when it is not 0)
// and the canary untouched behind it.
template <typename T, typename Get>
void ExpectWritten(const std::vector<T> &want, Get get, const std::string &what,
                   double tolerance = 0);
// Expects nothing written at all.
template <typename T, typename Get>
void ExpectUntouched(Get get, const std::string &what);

}  // namespace query_test

#include "tests/core/queries/query_model_inl.h"
