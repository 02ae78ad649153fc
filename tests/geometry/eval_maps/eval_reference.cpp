#include "tests/geometry/eval_maps/eval_reference.h"

#include <cmath>
#include <random>

namespace eval_test {
namespace {

// One component along one axis: de Casteljau over `n` values.
double Casteljau(std::vector<double> b, double t) {
  for (size_t level = b.size(); level > 1; --level)
    for (size_t i = 0; i + 1 < level; ++i) b[i] = (1 - t) * b[i] + t * b[i + 1];
  return b[0];
}

// The derivative along the normalized parameter of a curve of values b.
double CasteljauDeriv(const std::vector<double> &b, double t) {
  if (b.size() < 2) return 0;
  std::vector<double> diff(b.size() - 1);
  for (size_t i = 0; i + 1 < b.size(); ++i) diff[i] = double(b.size() - 1) * (b[i + 1] - b[i]);
  return Casteljau(diff, t);
}

double Point(const RefMap &m, int i, int j, int c) {
  return m.points[size_t((i * m.vOrder + j) * m.k + c)];
}

// Component c reduced along v first (value or derivative), then along u.
double Reduce(const RefMap &m, int c, double tu, double tv, bool derivU, bool derivV) {
  std::vector<double> rows(size_t(m.uOrder));
  for (int i = 0; i < m.uOrder; ++i) {
    std::vector<double> row(size_t(m.vOrder));
    for (int j = 0; j < m.vOrder; ++j) row[size_t(j)] = Point(m, i, j, c);
    rows[size_t(i)] = derivV ? CasteljauDeriv(row, tv) : Casteljau(row, tv);
  }
  return derivU ? CasteljauDeriv(rows, tu) : Casteljau(rows, tu);
}

}  // namespace

std::vector<double> RefValue(const RefMap &m, double u, double v) {
  const double tu = (u - m.u1) / (m.u2 - m.u1), tv = (v - m.v1) / (m.v2 - m.v1);
  std::vector<double> out(size_t(m.k));
  for (int c = 0; c < m.k; ++c)
    out[size_t(c)] = Reduce(m, c, tu, m.vOrder > 1 ? tv : 0, false, false);
  return out;
}

void RefPartials(const RefMap &m, double u, double v, std::vector<double> &du,
                 std::vector<double> &dv) {
  const double tu = (u - m.u1) / (m.u2 - m.u1), tv = (v - m.v1) / (m.v2 - m.v1);
  du.assign(size_t(m.k), 0);
  dv.assign(size_t(m.k), 0);
  for (int c = 0; c < m.k; ++c) {
    du[size_t(c)] = Reduce(m, c, tu, tv, true, false) / (m.u2 - m.u1);
    dv[size_t(c)] = Reduce(m, c, tu, tv, false, true) / (m.v2 - m.v1);
  }
}

std::vector<double> RefNormal(const RefMap &m, double u, double v) {
  std::vector<double> du, dv;
  RefPartials(m, u, v, du, dv);
  std::vector<double> p = RefValue(m, u, v);
  double a[3], b[3];
  for (int i = 0; i < 3; ++i) {
    if (m.k == 4) {  // the quotient rule for x / w
      a[i] = (du[size_t(i)] * p[3] - p[size_t(i)] * du[3]) / (p[3] * p[3]);
      b[i] = (dv[size_t(i)] * p[3] - p[size_t(i)] * dv[3]) / (p[3] * p[3]);
    } else {
      a[i] = du[size_t(i)];
      b[i] = dv[size_t(i)];
    }
  }
  std::vector<double> n = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                           a[0] * b[1] - a[1] * b[0]};
  const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  for (double &x : n) x /= len;
  return n;
}

std::vector<double> SomePoints(int count, unsigned seed, double range) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<float> dist(float(-range), float(range));
  std::vector<double> out(static_cast<size_t>(count));
  for (double &x : out) x = dist(gen);  // exact floats, so the driver stores the same
  return out;
}

}  // namespace eval_test
