// The SiS 6326 drawing model: lines by the diamond rule, their command
// table, colour and depth along the line, and the line stipple.
#include <cmath>
#include <cstdlib>

#include "platform/sis6326_model.h"
#include "platform/sis6326_model_exact.h"
#include "platform/sis6326_model_internal.h"

namespace platform {
namespace {

constexpr uint32_t kModeStipple = 1u << 12;

// The command for (y-major, backwards, smooth).
constexpr uint32_t kLineCommands[2][2][2] = {
    {{0xC1301, 0x101301}, {0x50301, 0x110301}},
    {{0xC1381, 0x101381}, {0x50381, 0x110381}},
};

// The nearest integer, ties to even, without the processor's rounding mode.
double NearestEven(double v) {
  double low = std::floor(v), rest = v - low;
  if (rest > 0.5) return low + 1.0;
  if (rest < 0.5) return low;
  return std::fmod(low, 2.0) == 0.0 ? low : low + 1.0;
}

// An end's pixel index along one axis and its offset from that pixel's centre.
struct EndAxis {
  double index, f;
};

EndAxis AxisOf(double c) {
  double r = NearestEven(c + 0.5);
  return {r - 1.0, c + 0.5 - r};
}

// The end's major index: moved by d when the end lies past its diamond.
double EndIndex(double major, double minor, int d) {
  EndAxis mj = AxisOf(major), mn = AxisOf(minor);
  return d * mj.f + std::fabs(mn.f) > 0.5 ? mj.index + d : mj.index;
}

constexpr double kUnit = 16777216.0;  // 2^24

int64_t Units(double c) { return int64_t(std::floor(c * kUnit + 0.5)); }

// floor(n1 + (n2 - n1)(s + 0.5 - m1) / (m2 - m1)), decided exactly: the
// double estimate is moved while an exact comparison disagrees.
double MinorIndex(double n1, double n2, double m1, double m2, double s) {
  double estimate = std::floor(n1 + (n2 - n1) * ((s + 0.5 - m1) / (m2 - m1)));
  int64_t un1 = Units(n1), dn = Units(n2) - un1, dm = Units(m2) - Units(m1);
  int64_t along = Units(s + 0.5) - Units(m1);
  // k <= value exactly when (k - n1)(m2 - m1) <= (n2 - n1)(s + 0.5 - m1), for m2 > m1.
  auto atMost = [&](double k) {
    int c = CompareProducts(Units(k) - un1, dm, dn, along) * Sign(dm);
    return c <= 0;
  };
  while (!atMost(estimate)) estimate -= 1.0;
  while (atMost(estimate + 1.0)) estimate += 1.0;
  return estimate;
}

}  // namespace

bool LineVertices(const SiS6326Event &e, double x[2], double y[2]) {
  bool known = false;
  for (const auto &axis : kLineCommands)
    for (const auto &direction : axis)
      for (uint32_t command : direction) known |= command == e.value;
  if (!known) return false;
  Judge quiet{0, true, false};
  for (int k = 0; k < 2; ++k) {
    ChipVertex v;
    if (!ReadVertex(e, k, quiet, &v)) return false;
    x[k] = double(v.x) + 0.5;
    y[k] = v.y;
  }
  return true;
}

bool RasterLine(const SiS6326Event &e, Judge &judge, const FragmentVisitor &visit) {
  bool known = false, smooth = false;
  for (int ym = 0; ym < 2; ++ym)
    for (int back = 0; back < 2; ++back)
      for (int s = 0; s < 2; ++s)
        if (kLineCommands[ym][back][s] == e.value) known = true, smooth = s != 0;
  if (!known) return judge.Fail("B6", "line command 0x%X", e.value);
  ChipVertex v[2];
  for (int k = 0; k < 2; ++k)
    if (!ReadVertex(e, k, judge, &v[k])) return false;
  if (!judge.quiet && ChipTakesOrderedVertices() && v[1].y < v[0].y)
    return judge.Fail("B4", "line sent bottom first (y %g, %g)", double(v[0].y), double(v[1].y));
  if (!smooth && v[0].colourWord != v[1].colourWord)
    return judge.Fail("C2", "flat line with colour words 0x%08X, 0x%08X", v[0].colourWord,
                      v[1].colourWord);
  // Buffer coordinates: X = x + 0.5, Y = y.
  double x1 = double(v[0].x) + 0.5, y1 = v[0].y, x2 = double(v[1].x) + 0.5, y2 = v[1].y;
  bool yMajor = !(std::fabs(y2 - y1) < std::fabs(x2 - x1));
  double m1 = yMajor ? y1 : x1, m2 = yMajor ? y2 : x2, n1 = yMajor ? x1 : y1, n2 = yMajor ? x2 : y2;
  int d = m2 >= m1 ? 1 : -1;
  uint32_t expected = kLineCommands[yMajor][d < 0][smooth];
  if (e.value != expected)
    return judge.Fail("B6", "line command 0x%X where its direction needs 0x%X", e.value, expected);
  uint32_t mode = StateWord(e, 0x8A00), pattern = StateWord(e, 0x8A1C);
  bool stipple = (mode & kModeStipple) != 0;
  uint32_t repeat = Bits(pattern, 0, 16);
  if (stipple && repeat == 0) return judge.Fail("B7", "line stipple with repeat 0");
  double start = EndIndex(m1, n1, d), end = EndIndex(m2, n2, d);
  long count = long((end - start) * d);
  double length = std::fabs(m2 - m1);
  ClipBox clip = ClipOf(e);
  for (long k = 0; k < count; ++k) {
    if (stipple && !((pattern >> 16) >> ((k / repeat) % 16) & 1)) continue;
    double s = start + double(k) * d;
    double t = (s + 0.5 - m1) / (m2 - m1);
    double minor = MinorIndex(n1, n2, m1, m2, s);
    int i = int(yMajor ? minor : s), j = int(yMajor ? s : minor);
    if (!clip.Holds(i, j)) continue;
    double c = double(k) / length;
    double z = std::fmin(1.0, std::fmax(0.0, v[0].z + (v[1].z - v[0].z) * t));
    if (!visit({i, j, v[0].a + c * (v[1].a - v[0].a), v[0].r + c * (v[1].r - v[0].r),
                v[0].g + c * (v[1].g - v[0].g), v[0].b + c * (v[1].b - v[0].b), z}))
      return true;
  }
  return true;
}

}  // namespace platform
