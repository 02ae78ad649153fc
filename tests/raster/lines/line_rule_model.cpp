#include "tests/raster/lines/line_rule_model.h"

#include <stdlib.h>

namespace line_test {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) {  // b > 0
  int64_t q = a / b;
  if (a % b != 0 && a < 0) q--;
  return q;
}

// c in sixteenths, already shifted by half a pixel: the nearest integer R
// (ties to even), its pixel R - 1 and the offset c - R in sixteenths.
struct Near {
  int64_t index, f;
};
Near Round(int64_t c) {
  int64_t q = FloorDiv(c, 16);
  const int64_t r = c - 16 * q;
  if (r > 8 || (r == 8 && (q & 1))) q++;
  return {q - 1, c - 16 * q};
}

}  // namespace

ModelLine ModelAliasedLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  ModelLine line;
  // The half-pixel shift: pixel centres at whole numbers.
  x0 += 8, y0 += 8, x1 += 8, y1 += 8;
  const int64_t dx = x1 - x0, dy = y1 - y0;
  if (dx == 0 && dy == 0) return line;
  bool xMajor;
  int64_t dir;
  if (dx > 0) {
    xMajor = dy > 0 ? dy < dx : -dy < dx;
    dir = xMajor ? 1 : (dy > 0 ? 1 : -1);
  } else {
    xMajor = dy > 0 ? -dx > dy : dy > dx;
    dir = xMajor ? -1 : (dy > 0 ? 1 : -1);
  }
  line.xMajor = xMajor;
  const int64_t M0 = xMajor ? x0 : y0, m0 = xMajor ? y0 : x0;
  const int64_t M1 = xMajor ? x1 : y1, m1 = xMajor ? y1 : x1;
  const Near a = Round(M0), am = Round(m0), b = Round(M1), bm = Round(m1);
  auto past = [dir](const Near &M, const Near &m) {
    return dir > 0 ? M.f + llabs(m.f) > 8 : llabs(m.f) - M.f > 8;
  };
  int64_t start = a.index, end = b.index;
  if (past(a, am)) start += dir;
  if (past(b, bm)) end += dir;
  const int64_t count = dir > 0 ? end - start : start - end;
  const int64_t dM = M1 - M0, dm = m1 - m0;
  for (int64_t k = 0; k < count; k++) {
    const int64_t major = start + dir * k;
    // Minor position (unshifted) at the major centre, over 16 |dM|:
    // (m0 - 8) + (16 (major + 1) - M0) dm / dM.
    const int64_t den = 16 * llabs(dM);
    const int64_t num =
        (m0 - 8) * llabs(dM) + (16 * (major + 1) - M0) * dm * (dM < 0 ? -1 : 1);
    const int64_t minor = FloorDiv(num, den);
    const int64_t rest = num - minor * den;  // 0 .. den - 1
    int64_t alternative = minor;
    // 2^-12 of a pixel: rest / den < 2^-12.
    if (rest * 4096 < den) alternative = minor - 1;
    if ((den - rest) * 4096 < den) alternative = minor + 1;
    line.pixels.push_back({int32_t(major), int32_t(minor), int32_t(alternative)});
  }
  return line;
}

}  // namespace line_test
