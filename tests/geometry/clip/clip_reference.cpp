#include "tests/geometry/clip/clip_reference.h"

#include <math.h>

namespace clip_test {
namespace {

const double kFrustum[6][4] = {{1, 0, 0, 1},  {-1, 0, 0, 1}, {0, 1, 0, 1},
                               {0, -1, 0, 1}, {0, 0, 1, 1},  {0, 0, -1, 1}};

double Distance(const RefVertex &v, const RefPlane &plane) {
  const double *c = plane.eye ? v.eye : v.clip;
  return plane.p[0] * c[0] + plane.p[1] * c[1] + plane.p[2] * c[2] + plane.p[3] * c[3];
}

// The point a fraction u of the way from `from` to `to`.
RefVertex Between(const RefVertex &from, const RefVertex &to, double u, const RefVertex &earlier,
                  bool eyePlane) {
  auto lerp = [u](double x, double y) { return x + u * (y - x); };
  RefVertex v{};
  for (int i = 0; i < 4; ++i) {
    v.clip[i] = lerp(from.clip[i], to.clip[i]);
    v.eye[i] = lerp(from.eye[i], to.eye[i]);
    v.front[i] = lerp(from.front[i], to.front[i]);
    v.back[i] = lerp(from.back[i], to.back[i]);
    v.texture[i] = lerp(from.texture[i], to.texture[i]);
  }
  v.fog = lerp(from.fog, to.fog);
  v.boundary = earlier.boundary;
  v.source = -1;
  v.eyeValid = eyePlane && from.eyeValid && to.eyeValid;
  return v;
}

}  // namespace

std::vector<RefPlane> RefPlanes(const double (*userPlanes)[4], uint32_t userMask,
                                uint32_t frustumMask) {
  std::vector<RefPlane> planes;
  for (int i = 0; i < 32; ++i)
    if (userMask & (1u << i))
      planes.push_back({{userPlanes[i][0], userPlanes[i][1], userPlanes[i][2], userPlanes[i][3]},
                        true});
  for (int i = 0; i < 6; ++i)
    if (frustumMask & (1u << i))
      planes.push_back({{kFrustum[i][0], kFrustum[i][1], kFrustum[i][2], kFrustum[i][3]}, false});
  return planes;
}

RefResult RefClip(const std::vector<RefVertex> &input, const std::vector<RefPlane> &planes) {
  RefResult r;
  std::vector<RefVertex> poly = input;
  for (const RefPlane &plane : planes) {
    std::vector<RefVertex> out;
    int crossings = 0;
    for (size_t i = 0; i < poly.size(); ++i) {
      const RefVertex &prev = poly[(i + poly.size() - 1) % poly.size()];
      const RefVertex &cur = poly[i];
      const double dp = Distance(prev, plane), dc = Distance(cur, plane);
      for (double d : {dp, dc})
        if (d != 0 && fabs(d) < r.closest) r.closest = fabs(d);
      const bool prevIn = dp >= 0, curIn = dc >= 0;
      if (prevIn != curIn) {
        if (++crossings > 2) return r;
        // Where the distance along prev -> cur is zero.
        out.push_back(Between(prev, cur, dp / (dp - dc), prev, plane.eye));
      }
      if (curIn) out.push_back(cur);
    }
    if (out.size() < 3) return r;
    poly = out;
  }
  r.drawn = true;
  r.polygon = poly;
  return r;
}

std::vector<RefTriangle> RefFan(const std::vector<RefVertex> &p) {
  std::vector<RefTriangle> fan;
  const int n = int(p.size());
  for (int k = 1; k + 1 < n; ++k) {
    // Edges 0 -> k and k+1 -> 0 are polygon edges only at the ends of the fan.
    RefTriangle t{{0, k, k + 1},
                  {k == 1 && p[0].boundary, p[k].boundary, k + 2 == n && p[k + 1].boundary}};
    fan.push_back(t);
  }
  return fan;
}

}  // namespace clip_test
