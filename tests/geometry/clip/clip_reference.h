// An exact polygon clipper in double precision, written from the OpenGL
// clipping rules: a polygon is cut by each plane in turn (user planes in eye
// coordinates, then the frustum planes in clip coordinates), every attribute
// varies linearly along an edge in clip space, and a cut vertex lies where
// the plane's distance is zero. The driver's own conventions it models: the
// give-up at a third crossing of one plane, the boundary flag of a new
// vertex taken from the earlier end of the cut edge, and the fan whose
// inner diagonals are hidden.
#pragma once

#include <stdint.h>

#include <vector>

namespace clip_test {

struct RefVertex {
  double clip[4];
  double eye[4];
  double front[4], back[4];
  double fog;
  double texture[4];  // undivided s, t, r, q
  bool boundary;      // the edge starting here is a polygon edge
  int source;         // index of the input vertex, -1 when made by a cut
  bool eyeValid;      // made by a user-plane cut (or an input)
};

struct RefPlane {
  double p[4];
  bool eye;  // tested against eye coordinates
};

struct RefResult {
  bool drawn = false;
  std::vector<RefVertex> polygon;
  // The smallest non-zero |distance| met: how far the case is from a
  // vertex whose side single precision might see differently.
  double closest = 1e300;
};

// The planes in the order the driver cuts: user planes from `userMask`
// (bit i plane i), then the frustum planes of `frustumMask` (bit 0 x >= -w,
// 1 x <= w, 2 y >= -w, 3 y <= w, 4 z >= -w, 5 z <= w).
std::vector<RefPlane> RefPlanes(const double (*userPlanes)[4], uint32_t userMask,
                                uint32_t frustumMask);
RefResult RefClip(const std::vector<RefVertex> &input, const std::vector<RefPlane> &planes);

// A triangle of the fan with the boundary flag each vertex carries for it.
struct RefTriangle {
  int index[3];  // positions in the clipped polygon
  bool boundary[3];
};
std::vector<RefTriangle> RefFan(const std::vector<RefVertex> &polygon);

}  // namespace clip_test
