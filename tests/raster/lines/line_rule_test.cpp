// Aliased lines against the exact model of the line rule: first pixel,
// pixel count and major positions exactly, the minor position exactly
// except where the line passes within 2^-12 pixel of a boundary.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "raster/s_line.h"
#include "tests/raster/lines/line_fixture.h"
#include "tests/raster/lines/line_rule_model.h"

namespace line_test {
namespace {

struct Segment {
  int64_t x0, y0, x1, y1;  // sixteenths of a pixel
};

std::string Text(const Segment &s) {
  std::ostringstream os;
  os << "(" << s.x0 / 16.0 << ", " << s.y0 / 16.0 << ") to (" << s.x1 / 16.0 << ", " << s.y1 / 16.0
     << ")";
  return os.str();
}

// Draws the segment and compares with the model; false after the first
// difference (reported).
bool Matches(const Segment &s) {
  LineContext ctx;
  ctx.Draw(LineContext::Vertex(s.x0 / 16.0, s.y0 / 16.0), LineContext::Vertex(s.x1 / 16.0, s.y1 / 16.0));
  const ModelLine want = ModelAliasedLine(s.x0, s.y0, s.x1, s.y1);
  const std::vector<Pixel> got = ctx.runs.empty() ? std::vector<Pixel>{} : ctx.runs[0].pixels;
  EXPECT_EQ(got.size(), want.pixels.size()) << Text(s);
  if (got.size() != want.pixels.size()) return false;
  for (size_t k = 0; k < got.size(); k++) {
    const ModelPixel &m = want.pixels[k];
    const int32_t major = want.xMajor ? got[k].first : got[k].second;
    const int32_t minor = want.xMajor ? got[k].second : got[k].first;
    const bool ok = major == m.major && (minor == m.minor || minor == m.alternative);
    EXPECT_TRUE(ok) << Text(s) << " pixel " << k << ": got (" << got[k].first << ", "
                    << got[k].second << "), model major " << m.major << " minor " << m.minor;
    if (!ok) return false;
  }
  return true;
}

TEST(AliasedLineRule, EdgeCases) {
  const Segment rows[] = {
      {168, 88, 216, 88},    // centres 10.5 .. 13.5 on row 5: pixels 10, 11, 12
      {216, 88, 168, 88},    // and back
      {160, 80, 160, 80},    // both ends equal: nothing
      {168, 88, 177, 88},    // end just past the next diamond draws the pixel
      {169, 89, 172, 90},    // inside one diamond
      {0, 0, 160, 160},      // exact diagonal, y-major
      {0, 0, 160, 159},      // slope next to 1, x-major
      {0, 0, 159, 160},      // and y-major
      {160, 0, 0, 160},      // diagonals in every direction
      {0, 160, 160, 0},
      {160, 160, 0, 0},
      {16, 16, 16, 400},     // vertical
      {16, 400, 16, 16},
      {0, 168, 32768, 173},  // window (0, 10.5) to (2048, 10.8): 2049 pixels
  };
  for (const Segment &s : rows) Matches(s);
  // The last row's run.
  LineContext ctx;
  ctx.Draw(LineContext::Vertex(0, 10.5), LineContext::Vertex(2048, 10.8));
  ASSERT_EQ(ctx.runs.size(), 1u);
  EXPECT_EQ(ctx.runs[0].pixels.size(), 2049u);
}

TEST(AliasedLineRule, RandomSegmentsEveryOctantBothDirections) {
  std::mt19937 rng(20261210);
  std::uniform_int_distribution<int64_t> pos(-64 * 16, 256 * 16), small(-48, 48),
      grid(-8, 8);
  int failures = 0;
  for (int i = 0; i < 6000 && failures < 5; i++) {
    Segment s;
    s.x0 = pos(rng), s.y0 = pos(rng);
    switch (i % 6) {
      case 0:  // anywhere
        s.x1 = pos(rng), s.y1 = pos(rng);
        break;
      case 1:  // short, often inside one diamond
        s.x1 = s.x0 + small(rng), s.y1 = s.y0 + small(rng);
        break;
      case 2: {  // rounding ties: whole window coordinates
        s.x0 &= ~15, s.y0 &= ~15;
        s.x1 = pos(rng) & ~15, s.y1 = pos(rng) & ~15;
        break;
      }
      case 3: {  // slopes next to 1
        const int64_t d = pos(rng);
        s.x1 = s.x0 + d, s.y1 = s.y0 + (rng() & 1 ? d : -d) + grid(rng) / 8;
        break;
      }
      case 4:  // axis-aligned
        s.x1 = s.x0 + (rng() & 1 ? pos(rng) : 0), s.y1 = s.x1 == s.x0 ? pos(rng) : s.y0;
        break;
      default:  // half pixels
        s.x0 = (s.x0 & ~7), s.y0 = s.y0 & ~7, s.x1 = pos(rng) & ~7, s.y1 = pos(rng) & ~7;
    }
    if (!Matches(s)) failures++;
    const Segment back = {s.x1, s.y1, s.x0, s.y0};
    if (!Matches(back)) failures++;
  }
}

TEST(AliasedLineRule, LongSegments) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int64_t> pos(0, 2048 * 16);
  int failures = 0;
  for (int i = 0; i < 300 && failures < 5; i++) {
    Segment s = {pos(rng), pos(rng), pos(rng), pos(rng)};
    if (i % 2) s.x0 = 0, s.x1 = 2048 * 16;  // the full width
    if (!Matches(s)) failures++;
  }
}

TEST(AliasedLineRule, NonFiniteAndFarCoordinatesDrawNothing) {
  const double inf = 1.0 / 0.0, nan = inf - inf;
  const double bad[] = {nan, inf, -inf, 1e9, -1e9};
  for (double v : bad) {
    LineContext ctx;
    ctx.Draw(LineContext::Vertex(v, 3), LineContext::Vertex(10, 3));
    ctx.Draw(LineContext::Vertex(3, 4), LineContext::Vertex(3, v));
    EXPECT_TRUE(ctx.runs.empty()) << v;
  }
}

}  // namespace
}  // namespace line_test
