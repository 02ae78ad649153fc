// The comparison helper of the drawing model (see sis6326_compare.h). Like
// the model, it shares no code with the driver.
#include "platform/sis6326_compare.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "platform/sis6326_model_internal.h"
#include "platform/sis6326_model_texture.h"

namespace platform {
namespace {

constexpr double kEdgeTolerance = 1.0 / 1024;      // 2^-10 pixel
constexpr double kLineTolerance = 1.0 / 65536;     // 2^-16 pixel
constexpr uint32_t kDepth16Tolerance = 1, kDepth32Tolerance = 1u << 12;
constexpr float kTextureTolerance = 1.0f / 256;    // 2^-8 texel, of lambda, of rho relative to c

struct Channel {
  int shift, bits;
};

// A format's bytes per pixel and channels (depth: one channel).
struct Layout {
  int bytes;
  int count;
  Channel channels[4];
};

bool LayoutOf(uint32_t format, Layout *out) {
  switch (format) {
    case 0x10: *out = {2, 3, {{10, 5}, {5, 5}, {0, 5}}}; return true;
    case 0x11: *out = {2, 3, {{11, 5}, {5, 6}, {0, 5}}}; return true;
    case 0x12: *out = {2, 4, {{15, 1}, {10, 5}, {5, 5}, {0, 5}}}; return true;
    case 0x13: *out = {2, 4, {{12, 4}, {8, 4}, {4, 4}, {0, 4}}}; return true;
    case 0x33: *out = {4, 4, {{24, 8}, {16, 8}, {8, 8}, {0, 8}}}; return true;
    case 0x34: *out = {4, 3, {{16, 8}, {8, 8}, {0, 8}}}; return true;
    case SIS6326_FRAME_Z16: *out = {2, 1, {{0, 16}}}; return true;
    case SIS6326_FRAME_Z32: *out = {4, 1, {{0, 32}}}; return true;
    default: return false;
  }
}

uint32_t PixelAt(const SiS6326Frame &f, int bytes, int i, int j) {
  const uint8_t *p = static_cast<const uint8_t *>(f.pixels) + size_t(j) * size_t(f.pitch) +
                     size_t(i) * size_t(bytes);
  uint32_t v = 0;
  for (int b = 0; b < bytes; ++b) v |= uint32_t(p[b]) << (8 * b);
  return v;
}

uint32_t ChannelOf(uint32_t pixel, const Channel &c) {
  return c.bits >= 32 ? pixel : (pixel >> c.shift) & ((1u << c.bits) - 1);
}

bool SameShape(const SiS6326Frame *a, const SiS6326Frame *b, Layout *layout) {
  return a != nullptr && b != nullptr && a->pixels != nullptr && b->pixels != nullptr &&
         a->format == b->format && a->width == b->width && a->height == b->height &&
         a->width >= 0 && a->height >= 0 && LayoutOf(a->format, layout) &&
         int64_t(a->pitch) >= int64_t(a->width) * layout->bytes &&
         int64_t(b->pitch) >= int64_t(b->width) * layout->bytes;
}

bool SameLevels(const SamplePlan &a, const SamplePlan &b) {
  return a.linear == b.linear && a.levels == b.levels && a.level[0] == b.level[0] &&
         (a.levels == 1 || a.level[1] == b.level[1]);
}

// Whether a nearest tap at u may be either of two texels.
bool NearTexelBoundary(float u, int size, bool repeat) {
  return NearestTexel(double(u) - kTextureTolerance, size, repeat) !=
         NearestTexel(double(u) + kTextureTolerance, size, repeat);
}

// The decision of the sampler (F4, F5) that a textured pixel lies so near
// that the software, computing it in other precision, may take its other
// side. Only decisions whose sides sample differently count: a tap that
// truncation, wrap or clamp keeps, a level that stays, a magnification
// that samples as the minification would.
uint32_t TextureDecision(const TexturedPixel &x) {
  const TextureSetup &texture = x.texture;
  const SamplePlan &p = x.plan;
  if (!p.linear)
    for (int k = 0; k < p.levels; ++k) {
      const TextureLevel &level = texture.level[p.level[k]];
      if (NearTexelBoundary(p.u[k], level.width, texture.repeatS) ||
          NearTexelBoundary(p.v[k], level.height, texture.repeatT))
        return SIS6326_ALLOWED_TEXEL_BOUNDARY;
    }
  if (x.point) return SIS6326_ALLOWED_BY_NONE;  // a point's rho is 1 on both paths
  if (!p.magnified && texture.filter >= 2 && std::isfinite(p.lambda)) {
    // Lambda is above 0 wherever it minifies; below that is magnification's.
    SamplePlan below = p, above = p;
    ChooseLevels(texture, std::fmax(0.0f, p.lambda - kTextureTolerance), &below);
    ChooseLevels(texture, p.lambda + kTextureTolerance, &above);
    if (!SameLevels(below, above)) return SIS6326_ALLOWED_LEVEL_SWITCH;
  }
  const float c = texture.switchOver;
  if (std::isfinite(p.rho) && std::fabs(p.rho - c) <= c * kTextureTolerance &&
      !SameLevels(PlanSample(texture, p.s, p.t, c), PlanSample(texture, p.s, p.t, c * (1 + kTextureTolerance))))
    return SIS6326_ALLOWED_SWITCH_OVER;
  return SIS6326_ALLOWED_BY_NONE;
}

// What the model drew, read once per comparison.
struct Record {
  std::vector<DrawnTriangle> triangles = ModelDrawnTriangles();
  std::vector<DrawnLine> lines = ModelDrawnLines();
  std::set<std::pair<int, int>> depthTies = Ties();

  static std::set<std::pair<int, int>> Ties() {
    const std::vector<std::pair<int, int>> list = ModelDepthTies();
    return std::set<std::pair<int, int>>(list.begin(), list.end());
  }

  bool NearDepthTie(int i, int j) const { return depthTies.count({i, j}) != 0; }

  // The texture decision near which a textured primitive covering the pixel
  // sampled; for a depth only one whose texel's alpha was tested.
  static uint32_t NearTextureDecision(int i, int j, bool depth) {
    for (const TexturedPixel &x : ModelTexturedPixels(i, j)) {
      if (depth && !x.alphaTested) continue;
      const uint32_t why = TextureDecision(x);
      if (why != SIS6326_ALLOWED_BY_NONE) return why;
    }
    return SIS6326_ALLOWED_BY_NONE;
  }

  bool NearEdge(int i, int j) const {
    for (const DrawnTriangle &t : triangles)
      if (DistanceToEdges(t, i, j) <= kEdgeTolerance) return true;
    return false;
  }

  // Pixel (i, j) lies at a major index of a drawn line where the exact
  // minor coordinate is that close to the boundary on one of its sides.
  bool NearLineStep(int i, int j) const {
    for (const DrawnLine &l : lines) {
      const bool yMajor = !(std::fabs(l.y[1] - l.y[0]) < std::fabs(l.x[1] - l.x[0]));
      const double m1 = yMajor ? l.y[0] : l.x[0], m2 = yMajor ? l.y[1] : l.x[1];
      const double n1 = yMajor ? l.x[0] : l.y[0], n2 = yMajor ? l.x[1] : l.y[1];
      if (m1 == m2) continue;
      const double s = yMajor ? j : i, minorIndex = yMajor ? i : j;
      if (s + 0.5 < std::fmin(m1, m2) - 1.0 || s + 0.5 > std::fmax(m1, m2) + 1.0) continue;
      const double minor = n1 + (n2 - n1) * (s + 0.5 - m1) / (m2 - m1);
      const double boundary = std::nearbyint(minor);
      if (std::fabs(minor - boundary) > kLineTolerance) continue;
      if (minorIndex == boundary || minorIndex == boundary - 1.0) return true;
    }
    return false;
  }
};

struct Tally {
  SiS6326Comparison *out;
  double sum = 0;
  uint64_t channels = 0;

  void Fail(int i, int j) {
    ++out->allowed[SIS6326_ALLOWED_BY_NONE];
    if (out->firstFailedX < 0) out->firstFailedX = i, out->firstFailedY = j;
  }
};

// The largest channel difference of two pixels; adds every channel's to
// the tally.
uint32_t Difference(uint32_t a, uint32_t b, const Layout &layout, Tally &tally) {
  uint32_t largest = 0;
  for (int c = 0; c < layout.count; ++c) {
    const uint32_t x = ChannelOf(a, layout.channels[c]), y = ChannelOf(b, layout.channels[c]);
    const uint32_t d = x > y ? x - y : y - x;
    tally.sum += double(d);
    ++tally.channels;
    if (d > largest) largest = d;
  }
  if (largest > tally.out->largestDifference) tally.out->largestDifference = largest;
  return largest;
}

uint32_t DepthTolerance(uint32_t format) {
  return format == SIS6326_FRAME_Z16 ? kDepth16Tolerance : kDepth32Tolerance;
}

}  // namespace
}  // namespace platform

PLATFORM_API BOOL PlatformSiS6326Compare(const SiS6326Frame *hardware,
                                         const SiS6326Frame *software,
                                         const SiS6326Frame *hardwareDepth,
                                         const SiS6326Frame *softwareDepth,
                                         SiS6326Comparison *result) {
  using namespace platform;
  SiS6326Comparison local;
  SiS6326Comparison *out = result != nullptr ? result : &local;
  std::memset(out, 0, sizeof *out);
  out->firstFailedX = out->firstFailedY = -1;
  Layout colour, depth;
  if (!SameShape(hardware, software, &colour) || colour.count == 1) return FALSE;
  const bool depths = hardwareDepth != nullptr || softwareDepth != nullptr;
  if (depths && (!SameShape(hardwareDepth, softwareDepth, &depth) || depth.count != 1 ||
                 hardwareDepth->width != hardware->width ||
                 hardwareDepth->height != hardware->height))
    return FALSE;
  const Record record;
  Tally tally{out};
  const int w = hardware->width, h = hardware->height;
  auto depthAt = [&](const SiS6326Frame *f, int i, int j) { return PixelAt(*f, depth.bytes, i, j); };
  auto depthClose = [&](int i, int j) {
    const uint32_t a = depthAt(hardwareDepth, i, j), b = depthAt(softwareDepth, i, j);
    return (a > b ? a - b : b - a) <= DepthTolerance(hardwareDepth->format);
  };
  // Coverage that may differ: near a triangle's edge or a line's step.
  auto coverage = [&](int i, int j) -> uint32_t {
    if (record.NearEdge(i, j)) return SIS6326_ALLOWED_EDGE;
    if (record.NearLineStep(i, j)) return SIS6326_ALLOWED_LINE_STEP;
    return SIS6326_ALLOWED_BY_NONE;
  };
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      ++out->compared;
      const uint32_t a = PixelAt(*hardware, colour.bytes, i, j);
      const uint32_t b = PixelAt(*software, colour.bytes, i, j);
      const uint32_t largest = Difference(a, b, colour, tally);
      if (a == b) continue;
      ++out->differing;
      uint32_t why = largest <= 1 ? uint32_t(SIS6326_ALLOWED_COLOUR) : coverage(i, j);
      if (why == SIS6326_ALLOWED_BY_NONE && depths && record.NearDepthTie(i, j))
        why = SIS6326_ALLOWED_DEPTH_TIE;
      if (why == SIS6326_ALLOWED_BY_NONE) why = Record::NearTextureDecision(i, j, false);
      if (why == SIS6326_ALLOWED_BY_NONE)
        tally.Fail(i, j);
      else
        ++out->allowed[why];
    }
  }
  if (depths) {
    for (int j = 0; j < h; ++j) {
      for (int i = 0; i < w; ++i) {
        ++out->compared;
        const uint32_t a = depthAt(hardwareDepth, i, j), b = depthAt(softwareDepth, i, j);
        if (a == b) continue;
        ++out->differing;
        uint32_t why = depthClose(i, j) ? uint32_t(SIS6326_ALLOWED_DEPTH) : coverage(i, j);
        if (why == SIS6326_ALLOWED_BY_NONE && record.NearDepthTie(i, j))
          why = SIS6326_ALLOWED_DEPTH_TIE;
        if (why == SIS6326_ALLOWED_BY_NONE) why = Record::NearTextureDecision(i, j, true);
        if (why == SIS6326_ALLOWED_BY_NONE)
          tally.Fail(i, j);
        else
          ++out->allowed[why];
      }
    }
  }
  out->meanDifference = tally.channels ? tally.sum / double(tally.channels) : 0.0;
  return out->allowed[SIS6326_ALLOWED_BY_NONE] == 0 ? TRUE : FALSE;
}
