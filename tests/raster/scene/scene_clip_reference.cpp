#include "tests/raster/scene/scene_clip_reference.h"

#include <math.h>

#include <algorithm>

namespace scene_test {

Mat4 Mat4::Identity() { return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}; }

Mat4 Mat4::Ortho(double l, double r, double b, double t, double n, double f) {
  Mat4 o = Identity();
  o.m[0] = 2 / (r - l), o.m[5] = 2 / (t - b), o.m[10] = -2 / (f - n);
  o.m[12] = -(r + l) / (r - l), o.m[13] = -(t + b) / (t - b), o.m[14] = -(f + n) / (f - n);
  return o;
}

Mat4 Mat4::Frustum(double l, double r, double b, double t, double n, double f) {
  Mat4 o{};
  o.m[0] = 2 * n / (r - l), o.m[5] = 2 * n / (t - b);
  o.m[8] = (r + l) / (r - l), o.m[9] = (t + b) / (t - b), o.m[10] = -(f + n) / (f - n);
  o.m[11] = -1, o.m[14] = -2 * f * n / (f - n);
  return o;
}

Mat4 Mat4::Translate(double x, double y, double z) {
  Mat4 o = Identity();
  o.m[12] = x, o.m[13] = y, o.m[14] = z;
  return o;
}

std::array<double, 4> Mat4::Apply(const std::array<double, 4> &v) const {
  std::array<double, 4> out{};
  for (int row = 0; row < 4; row++)
    for (int k = 0; k < 4; k++) out[row] += m[k * 4 + row] * v[k];
  return out;
}

namespace {

struct Clipped {
  std::array<double, 4> eye, clip;
  double c[4];
};

Clipped Lerp(const Clipped &a, const Clipped &b, double t) {
  Clipped o;
  for (int k = 0; k < 4; k++) {
    o.eye[k] = a.eye[k] + t * (b.eye[k] - a.eye[k]);
    o.clip[k] = a.clip[k] + t * (b.clip[k] - a.clip[k]);
    o.c[k] = a.c[k] + t * (b.c[k] - a.c[k]);
  }
  return o;
}

template <typename Distance>
std::vector<Clipped> ClipBy(const std::vector<Clipped> &in, Distance distance) {
  std::vector<Clipped> out;
  for (size_t i = 0; i < in.size(); i++) {
    const Clipped &a = in[i], &b = in[(i + 1) % in.size()];
    const double da = distance(a), db = distance(b);
    if (da >= 0) out.push_back(a);
    if ((da >= 0) != (db >= 0)) out.push_back(Lerp(a, b, da / (da - db)));
  }
  return out;
}

double Dot(const std::array<double, 4> &a, const std::array<double, 4> &b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3];
}

}  // namespace

std::vector<WindowVertex> ClipTriangle(const ClipSetup &setup, const ObjectVertex *const v[3],
                                       int32_t width, int32_t height) {
  std::vector<Clipped> poly;
  for (int i = 0; i < 3; i++) {
    Clipped c;
    c.eye = setup.modelview.Apply({v[i]->x, v[i]->y, v[i]->z, 1});
    c.clip = setup.projection.Apply(c.eye);
    for (int k = 0; k < 4; k++) c.c[k] = v[i]->c[k];
    poly.push_back(c);
  }
  for (const std::array<double, 4> &plane : setup.eyePlanes)
    poly = ClipBy(poly, [&](const Clipped &c) { return Dot(plane, c.eye); });
  for (int axis = 0; axis < 3; axis++)
    for (double sign : {1.0, -1.0})
      poly = ClipBy(poly, [&](const Clipped &c) { return c.clip[3] + sign * c.clip[axis]; });
  std::vector<WindowVertex> out;
  if (poly.size() < 3) return out;
  for (const Clipped &c : poly) {
    WindowVertex w;
    w.x = (c.clip[0] / c.clip[3] + 1) * width / 2;
    w.y = (c.clip[1] / c.clip[3] + 1) * height / 2;
    w.z = (c.clip[2] / c.clip[3] + 1) / 2;
    for (int k = 0; k < 4; k++) w.c[k] = c.c[k];
    out.push_back(w);
  }
  return out;
}

void DrawClipped(SceneReference *ref, const SceneState &s, const std::vector<WindowVertex> &poly,
                 const ObjectVertex &provoking, uint64_t surface) {
  const size_t n = poly.size();
  if (n < 3) return;
  const SceneTarget &t = ref->target();
  double glArea = 0;
  for (size_t i = 0; i < n; i++)
    glArea += poly[i].x * poly[(i + 1) % n].y - poly[(i + 1) % n].x * poly[i].y;
  if (glArea == 0) return;
  const bool front = (s.frontFace == GL_CCW) == (glArea > 0);
  if (s.cull && (s.cullFace == GL_FRONT_AND_BACK || (s.cullFace == GL_FRONT) == front)) return;

  std::vector<std::array<double, 2>> p(n);
  for (size_t i = 0; i < n; i++) p[i] = {poly[i].x, ref->DeviceY(poly[i].y)};
  double deviceArea = 0;
  for (size_t i = 0; i < n; i++)
    deviceArea += p[i][0] * p[(i + 1) % n][1] - p[(i + 1) % n][0] * p[i][1];
  const double orientation = deviceArea > 0 ? 1 : -1;

  // The plane of colour and depth from the widest corner triangle.
  size_t bj = 1, bk = 2;
  double best = 0;
  for (size_t j = 1; j + 1 < n; j++)
    for (size_t k = j + 1; k < n; k++) {
      const double a = fabs((p[j][0] - p[0][0]) * (p[k][1] - p[0][1]) -
                            (p[k][0] - p[0][0]) * (p[j][1] - p[0][1]));
      if (a > best) best = a, bj = j, bk = k;
    }
  const double det = (p[bj][0] - p[0][0]) * (p[bk][1] - p[0][1]) -
                     (p[bk][0] - p[0][0]) * (p[bj][1] - p[0][1]);
  auto gradient = [&](double v0, double v1, double v2, double *ddx, double *ddy) {
    *ddx = ((v1 - v0) * (p[bk][1] - p[0][1]) - (v2 - v0) * (p[bj][1] - p[0][1])) / det;
    *ddy = ((v2 - v0) * (p[bj][0] - p[0][0]) - (v1 - v0) * (p[bk][0] - p[0][0])) / det;
  };
  auto value = [&](double v0, double v1, double v2, double dx, double dy) {
    double ddx, ddy;
    gradient(v0, v1, v2, &ddx, &ddy);
    return v0 + ddx * dx + ddy * dy;
  };
  // The new corners sit where single precision put them: the depth plane
  // moves with them.
  double dzdx, dzdy;
  gradient(poly[0].z, poly[bj].z, poly[bk].z, &dzdx, &dzdy);
  const double zSlack = (fabs(dzdx) + fabs(dzdy)) * kClipPositionError;

  for (int32_t row = 0; row < t.height; row++)
    for (int32_t x = 0; x < t.width; x++) {
      const double cx = x + 0.5, cy = row + 0.5;
      bool inside = true, near = false;
      for (size_t i = 0; i < n; i++) {
        const std::array<double, 2> &a = p[i], &b = p[(i + 1) % n];
        const double ex = b[0] - a[0], ey = b[1] - a[1];
        const double length = sqrt(ex * ex + ey * ey);
        if (length == 0) continue;
        const double d = orientation * (ex * (cy - a[1]) - ey * (cx - a[0])) / length;
        if (fabs(d) < kClipEdgeEpsilon) near = true;
        if (d <= 0) inside = false;
      }
      if (near) {
        // Within reach of the outline: either way is right.
        ref->At(x, row).ambiguous = true;
        continue;
      }
      if (!inside) continue;
      const double dx = cx - p[0][0], dy = cy - p[0][1];
      double color[4];
      for (int k = 0; k < 4; k++)
        color[k] = s.smooth ? value(poly[0].c[k], poly[bj].c[k], poly[bk].c[k], dx, dy)
                            : provoking.c[k];
      const double z = value(poly[0].z, poly[bj].z, poly[bk].z, dx, dy);
      ref->Shade(s, x, row, color, std::min(1.0, std::max(0.0, z)), surface, zSlack);
    }
}

}  // namespace scene_test
