// The single-precision Bernstein bases against the closed form in double:
// values, and derivatives up to the degree, for every order.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "geometry/s_eval_domain.h"

namespace {

// B(i, m)(t) for degree m; 0 outside 0..m.
double Bernstein(int i, int m, double t) {
  if (i < 0 || i > m) return 0;
  return std::tgamma(m + 1.0) / (std::tgamma(i + 1.0) * std::tgamma(m - i + 1.0)) *
         std::pow(t, i) * std::pow(1 - t, m - i);
}

TEST(EvalBasis, ValuesAndDerivativesMatchTheClosedFormForEveryOrder) {
  for (int order = 1; order <= 30; ++order) {
    const int m = order - 1;
    for (float t : {0.0f, 0.125f, 0.3f, 0.5f, 0.77f, 1.0f}) {
      GLfloat basis[__GL_EVAL_BASIS_SIZE], again[__GL_EVAL_BASIS_SIZE],
          deriv[__GL_EVAL_BASIS_SIZE];
      PreEvaluate(order, basis, t);
      PreEvaluateWithDeriv(order, again, t, deriv);
      const double tol = 4.0 * order * FLT_EPSILON;
      for (int i = 0; i < order; ++i) {
        SCOPED_TRACE(testing::Message() << "order " << order << ", t " << t << ", i " << i);
        EXPECT_NEAR(basis[i], Bernstein(i, m, t), tol);
        EXPECT_EQ(again[i], basis[i]) << "both give one basis";
        // d/dt B(i, m) = m (B(i - 1, m - 1) - B(i, m - 1)); the derivative
        // basis leaves out the factor m.
        const double want = m == 0 ? 0 : Bernstein(i - 1, m - 1, t) - Bernstein(i, m - 1, t);
        EXPECT_NEAR(deriv[i], want, tol);
      }
    }
  }
}

}  // namespace
