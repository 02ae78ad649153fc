#include "tools/scene_shapes.h"

#include <math.h>

#include "tools/scene_gl.h"

namespace {

constexpr float kTwoPi = 6.28318530718f;
constexpr float kPi = 3.14159265359f;

void TorusVertex(float major, float minor, float u, float v) {
  const float cu = cosf(u), su = sinf(u), cv = cosf(v), sv = sinf(v);
  glNormal3f(cu * cv, su * cv, sv);
  glVertex3f((major + minor * cv) * cu, (major + minor * cv) * su, minor * sv);
}

void SphereVertex(float radius, float longitude, float latitude) {
  const float x = cosf(latitude) * cosf(longitude), y = sinf(latitude);
  const float z = -cosf(latitude) * sinf(longitude);
  glNormal3f(x, y, z);
  glVertex3f(radius * x, radius * y, radius * z);
}

}  // namespace

void SceneTorus(float major, float minor, int rings, int sides) {
  for (int i = 0; i < rings; i++) {
    const float u0 = kTwoPi * float(i) / float(rings), u1 = kTwoPi * float(i + 1) / float(rings);
    glBegin(GL_QUAD_STRIP);
    for (int j = 0; j <= sides; j++) {
      const float v = kTwoPi * float(j) / float(sides);
      TorusVertex(major, minor, u0, v);
      TorusVertex(major, minor, u1, v);
    }
    glEnd();
  }
}

void SceneSphere(float radius, int slices, int stacks) {
  for (int i = 0; i < stacks; i++) {
    const float lat0 = -kPi / 2 + kPi * float(i) / float(stacks);
    const float lat1 = -kPi / 2 + kPi * float(i + 1) / float(stacks);
    glBegin(GL_QUAD_STRIP);
    for (int j = 0; j <= slices; j++) {
      const float lon = kTwoPi * float(j) / float(slices);
      SphereVertex(radius, lon, lat1);
      SphereVertex(radius, lon, lat0);
    }
    glEnd();
  }
}

namespace {

// Normal, then four corners counter-clockwise seen from outside.
constexpr float kBoxFaces[6][5][3] = {
    {{1, 0, 0}, {1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}},
    {{-1, 0, 0}, {-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}},
    {{0, 1, 0}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}},
    {{0, -1, 0}, {-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}},
    {{0, 0, 1}, {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
    {{0, 0, -1}, {1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}},
};

// The faces, each shrunk to `share` within its own plane.
void BoxFaces(float sizeX, float sizeY, float sizeZ, float share) {
  const float half[3] = {sizeX / 2, sizeY / 2, sizeZ / 2};
  glBegin(GL_QUADS);
  for (const auto &face : kBoxFaces) {
    glNormal3fv(face[0]);
    for (int k = 1; k < 5; k++) {
      float at[3];
      for (int i = 0; i < 3; i++) at[i] = face[k][i] * half[i] * (face[0][i] != 0 ? 1 : share);
      glVertex3fv(at);
    }
  }
  glEnd();
}

}  // namespace

void SceneBox(float sizeX, float sizeY, float sizeZ) { BoxFaces(sizeX, sizeY, sizeZ, 1); }

void SceneBoxDecals(float sizeX, float sizeY, float sizeZ, float share) {
  BoxFaces(sizeX, sizeY, sizeZ, share);
}
