#include "tests/raster/scene/scene_snap_band.h"

#include <math.h>

#include <algorithm>

#include "tests/raster/scene/scene_clip_reference.h"

namespace scene_test {
namespace {

// The fast set-ups snap every corner down to 1/16 pixel in x and y before
// they walk the edges (the generic fill does not). A corner the clipper
// makes lies off that grid and moves by less than 1/16 on each axis, so by
// less than sqrt(2)/16; a segment between two corners that each moved that
// little lies within that distance of where it was. So a pixel centre may
// fall the other way only that near a segment ending in a clip-made
// corner: an edge of the cut triangle, the cut, or a diagonal the fill
// splits the cut polygon along (which diagonals depends on the corner the
// polygon starts at). A piece thin enough to turn over when snapped lies
// within that distance of its own diagonal. The depth and colour planes
// are not snapped, so only coverage parts this way. The clipper's position
// error and the reference's edge epsilon come on top.
constexpr double kSnapReach = 1.41421356 / 16 + kClipPositionError + kClipEdgeEpsilon;

struct Corner {
  double x, y, z;
  bool made;  // by the clipper
};

double Distance(const Corner &c, int plane, const ViewBox &box) {
  switch (plane) {
    case 0: return c.x - box.x0;
    case 1: return box.x1 - c.x;
    case 2: return c.y - box.y0;
    case 3: return box.y1 - c.y;
    case 4: return c.z;
    default: return 1 - c.z;
  }
}

std::vector<Corner> ClipToBox(std::vector<Corner> poly, const ViewBox &box) {
  for (int plane = 0; plane < 6 && !poly.empty(); plane++) {
    std::vector<Corner> out;
    for (size_t i = 0; i < poly.size(); i++) {
      const Corner &a = poly[i], &b = poly[(i + 1) % poly.size()];
      const double da = Distance(a, plane, box), db = Distance(b, plane, box);
      if (da >= 0) out.push_back(a);
      if ((da >= 0) != (db >= 0)) {
        const double t = da / (da - db);
        out.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z), true});
      }
    }
    poly = out;
  }
  return poly;
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
  t = std::min(1.0, std::max(0.0, t));
  return hypot(px - (ax + t * dx), py - (ay + t * dy));
}

}  // namespace

void MarkSnapBand(const SceneReference &ref, const ViewBox &box,
                  const SceneVertex *const corners[3], std::vector<bool> *marks) {
  const int32_t width = ref.target().width, height = ref.target().height;
  std::vector<Corner> tri;
  for (int i = 0; i < 3; i++) tri.push_back({corners[i]->x, corners[i]->y, corners[i]->z, false});
  const std::vector<Corner> poly = ClipToBox(tri, box);
  for (size_t i = 0; i < poly.size(); i++)
    for (size_t j = i + 1; j < poly.size(); j++) {
      const Corner &a = poly[i], &b = poly[j];
      if (!a.made && !b.made) continue;
      const double ay = ref.DeviceY(a.y), by = ref.DeviceY(b.y);
      const int32_t r0 = std::max(0, int32_t(floor(std::min(ay, by) - 1)));
      const int32_t r1 = std::min(height - 1, int32_t(ceil(std::max(ay, by) + 1)));
      for (int32_t row = r0; row <= r1; row++) {
        // Only columns beside the part of the segment within reach of the
        // row's centre line.
        const double yc = row + 0.5;
        double t0 = 0, t1 = 1;
        if (by != ay) {
          t0 = (yc - kSnapReach - ay) / (by - ay), t1 = (yc + kSnapReach - ay) / (by - ay);
          if (t0 > t1) std::swap(t0, t1);
          t0 = std::max(0.0, t0), t1 = std::min(1.0, t1);
          if (t0 > t1) continue;
        }
        const double xa = a.x + t0 * (b.x - a.x), xb = a.x + t1 * (b.x - a.x);
        const int32_t x0 = std::max(0, int32_t(floor(std::min(xa, xb) - 1)));
        const int32_t x1 = std::min(width - 1, int32_t(ceil(std::max(xa, xb) + 1)));
        for (int32_t x = x0; x <= x1; x++)
          if (SegmentDistance(x + 0.5, yc, a.x, ay, b.x, by) < kSnapReach)
            (*marks)[size_t(row) * size_t(width) + size_t(x)] = true;
      }
    }
}

}  // namespace scene_test
