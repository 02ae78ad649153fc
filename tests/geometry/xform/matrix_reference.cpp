#include "tests/geometry/xform/matrix_reference.h"

#include <math.h>

#include <utility>

Ref RefIdentity() {
  Ref m{};
  m[0] = m[5] = m[10] = m[15] = 1;
  return m;
}

Ref RefOf(const GlMatrix &m) {
  Ref r;
  for (int i = 0; i < 16; ++i) r[i] = m.matrix[i];
  return r;
}

Ref RefProduct(const Ref &a, const Ref &b) {
  Ref r{};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      for (int k = 0; k < 4; ++k) r[4 * i + j] += a[4 * i + k] * b[4 * k + j];
  return r;
}

Ref RefTranspose(const Ref &m) {
  Ref r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r[4 * i + j] = m[4 * j + i];
  return r;
}

Ref RefInverse(const Ref &m) {
  double a[4][8];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      a[i][j] = m[4 * i + j];
      a[i][4 + j] = i == j;
    }
  for (int c = 0; c < 4; ++c) {
    int pivot = c;
    for (int r = c + 1; r < 4; ++r)
      if (fabs(a[r][c]) > fabs(a[pivot][c])) pivot = r;
    for (int j = 0; j < 8; ++j) std::swap(a[c][j], a[pivot][j]);
    double d = a[c][c];
    for (int j = 0; j < 8; ++j) a[c][j] /= d;
    for (int r = 0; r < 4; ++r) {
      if (r == c) continue;
      double f = a[r][c];
      for (int j = 0; j < 8; ++j) a[r][j] -= f * a[c][j];
    }
  }
  Ref r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r[4 * i + j] = a[i][4 + j];
  return r;
}

// The textbook matrices are written in rows (math order) and stored by
// columns: element (row, col) goes to m[4 * col + row].
namespace {
Ref FromRows(const double rows[4][4]) {
  Ref m;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col) m[4 * col + row] = rows[row][col];
  return m;
}
}  // namespace

Ref RefRotate(double degrees, double x, double y, double z) {
  double len = sqrt(x * x + y * y + z * z);
  if (len > 0) x /= len, y /= len, z /= len;
  double a = degrees * M_PI / 180, c = cos(a), s = sin(a), t = 1 - c;
  const double rows[4][4] = {{x * x * t + c, x * y * t - z * s, x * z * t + y * s, 0},
                             {y * x * t + z * s, y * y * t + c, y * z * t - x * s, 0},
                             {x * z * t - y * s, y * z * t + x * s, z * z * t + c, 0},
                             {0, 0, 0, 1}};
  return FromRows(rows);
}

Ref RefScale(double x, double y, double z) {
  const double rows[4][4] = {{x, 0, 0, 0}, {0, y, 0, 0}, {0, 0, z, 0}, {0, 0, 0, 1}};
  return FromRows(rows);
}

Ref RefTranslate(double x, double y, double z) {
  const double rows[4][4] = {{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, z}, {0, 0, 0, 1}};
  return FromRows(rows);
}

Ref RefFrustum(double l, double r, double b, double t, double n, double f) {
  const double rows[4][4] = {{2 * n / (r - l), 0, (r + l) / (r - l), 0},
                             {0, 2 * n / (t - b), (t + b) / (t - b), 0},
                             {0, 0, -(f + n) / (f - n), -2 * f * n / (f - n)},
                             {0, 0, -1, 0}};
  return FromRows(rows);
}

Ref RefOrtho(double l, double r, double b, double t, double n, double f) {
  const double rows[4][4] = {{2 / (r - l), 0, 0, -(r + l) / (r - l)},
                             {0, 2 / (t - b), 0, -(t + b) / (t - b)},
                             {0, 0, -2 / (f - n), -(f + n) / (f - n)},
                             {0, 0, 0, 1}};
  return FromRows(rows);
}

std::array<double, 4> RefApply(const Ref &m, const std::array<double, 4> &v) {
  std::array<double, 4> out{};
  for (int j = 0; j < 4; ++j)
    for (int k = 0; k < 4; ++k) out[j] += v[k] * m[4 * k + j];
  return out;
}

double RelativeError(const GlMatrix &got, const Ref &want) {
  double worst = 0;
  for (int i = 0; i < 16; ++i) {
    double e = fabs(got.matrix[i] - want[i]) / (1 + fabs(want[i]));
    if (!(e <= worst)) worst = e;  // NaN is the worst
  }
  return worst;
}
