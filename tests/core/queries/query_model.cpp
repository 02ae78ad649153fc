#include "tests/core/queries/query_model.h"

#include <math.h>

namespace query_test {

namespace {

constexpr long double kHalfUIntMax = 2147482496.0L;  // 4294964992 / 2

long double Value(const Staged &s, size_t i) {
  if (s.kind == Kind::kColor) return s.values[i] * (long double)s.recip[i];
  return s.values[i];
}

// What the float and double results hold: a colour's unscaled float.
float AsFloat(const Staged &s, size_t i) {
  if (s.kind == Kind::kColor) return float((long double)float(s.values[i]) * s.recip[i]);
  return float(s.values[i]);
}

}  // namespace

GLint SaturateToInt(long double v) {
  if (isnan(v)) return 0;
  if (v >= 2147483647.0L) return INT32_MAX;
  if (v <= -2147483648.0L) return INT32_MIN;
  return GLint(v);
}

std::vector<GLfloat> AsFloats(const Staged &s) {
  std::vector<GLfloat> out;
  for (size_t i = 0; i < s.values.size(); ++i) out.push_back(AsFloat(s, i));
  return out;
}

std::vector<GLdouble> AsDoubles(const Staged &s) {
  std::vector<GLdouble> out;
  for (size_t i = 0; i < s.values.size(); ++i)
    out.push_back(s.kind == Kind::kInt || s.kind == Kind::kBool ? double(s.values[i])
                                                                : double(AsFloat(s, i)));
  return out;
}

std::vector<GLint> AsInts(const Staged &s) {
  std::vector<GLint> out;
  for (size_t i = 0; i < s.values.size(); ++i) {
    const long double v = s.values[i];
    switch (s.kind) {
      case Kind::kInt:
      case Kind::kBool: out.push_back(GLint(v)); break;
      case Kind::kFloat: {
        // The sum is rounded to single precision before it is truncated.
        const float sum = float(v >= 0 ? v + 0.5L : v - 0.5L);
        out.push_back(SaturateToInt(truncl(sum)));
        break;
      }
      case Kind::kNormalized:
      case Kind::kColor: out.push_back(SaturateToInt(floorl(Value(s, i) * kHalfUIntMax))); break;
    }
  }
  return out;
}

std::vector<GLboolean> AsBools(const Staged &s) {
  std::vector<GLboolean> out;
  for (long double v : s.values) out.push_back(v != 0 ? GL_TRUE : GL_FALSE);
  return out;
}

}  // namespace query_test
