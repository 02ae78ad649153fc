#include "tests/geometry/rpos/rpos_reference.h"

#include <math.h>

#include <algorithm>

#include "core/gl_api.h"

namespace rpos_test {

const Scene kPerspective = {
    // Scale 0.2 with a small turn about z, eye pushed 3 back.
    {0.196f, 0.04f, 0.0f, 0.0f, -0.04f, 0.196f, 0.0f, 0.0f, 0.0f, 0.0f, 0.2f, 0.0f, 0.05f, -0.1f,
     -3.0f, 1.0f},
    // Frustum l = -1, r = 1, b = -1, t = 1, n = 1, f = 10.
    {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, -11.0f / 9.0f, -1.0f, 0.0f, 0.0f,
     -20.0f / 9.0f, 0.0f},
    4,
    6,
    50,
    30,
    0.2,
    0.9,
};

void LoadScene(const Scene &s) {
  glViewport(s.x, s.y, s.width, s.height);
  glDepthRange(s.zNear, s.zFar);
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(s.projection);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(s.modelView);
}

void Transform(const GLfloat m[16], const double v[4], double out[4]) {
  for (int r = 0; r < 4; ++r) {
    out[r] = 0;
    for (int c = 0; c < 4; ++c) out[r] += double(m[c * 4 + r]) * v[c];
  }
}

namespace {

// The eye-space normal: the inverse transpose of the upper 3 x 3.
void EyeNormal(const GLfloat m[16], const double n[3], double out[3]) {
  auto a = [&](int r, int c) { return double(m[c * 4 + r]); };
  double cof[3][3];
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
      cof[r][c] = a(r1, c1) * a(r2, c2) - a(r1, c2) * a(r2, c1);
    }
  const double det = a(0, 0) * cof[0][0] + a(0, 1) * cof[0][1] + a(0, 2) * cof[0][2];
  // (A^-1)^T = cofactors / det.
  double len = 0;
  for (int r = 0; r < 3; ++r) {
    out[r] = (cof[r][0] * n[0] + cof[r][1] * n[1] + cof[r][2] * n[2]) / det;
    len += out[r] * out[r];
  }
  len = sqrt(len);
  for (int r = 0; r < 3; ++r) out[r] /= len;
}

}  // namespace

Expected Reference(const GlContext *gc, const Scene &s, const double obj[4],
                   const double normal[3]) {
  Expected e{};
  Transform(s.modelView, obj, e.eye);
  Transform(s.projection, e.eye, e.clip);
  const double *c = e.clip;
  e.valid = true;
  for (int i = 0; i < 3; ++i) e.valid = e.valid && -c[3] <= c[i] && c[i] <= c[3];
  e.valid = e.valid && c[3] > 0;
  const GlConstants &k = gc->constants;
  e.window[0] = k.fviewportXAdjust + s.x + (c[0] / c[3] + 1) * s.width / 2;
  e.window[1] = k.fviewportYAdjust + s.y + (c[1] / c[3] + 1) * s.height / 2;
  e.window[2] = k.depthScale * (s.zNear + (c[2] / c[3] + 1) * (s.zFar - s.zNear) / 2);
  EyeNormal(s.modelView, normal, e.normal);
  return e;
}

void LoadLighting(const Lighting &l) {
  const GLfloat white[] = {1, 1, 1, 1}, black[] = {0, 0, 0, 1}, fromZ[] = {0, 0, 1, 0};
  GLfloat ambient[4], diffuse[4], scene[4];
  for (int i = 0; i < 4; ++i) {
    ambient[i] = GLfloat(l.materialAmbient[i]);
    diffuse[i] = GLfloat(l.materialDiffuse[i]);
    scene[i] = GLfloat(l.sceneAmbient[i]);
  }
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glLightfv(GL_LIGHT0, GL_POSITION, fromZ);
  glPopMatrix();
  glLightfv(GL_LIGHT0, GL_AMBIENT, black);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
  glLightfv(GL_LIGHT0, GL_SPECULAR, black);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, scene);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
  glEnable(GL_LIGHT0);
  glEnable(GL_LIGHTING);
  glEnable(GL_NORMALIZE);
}

void LitColor(const GlContext *gc, const Lighting &l, const double eyeNormal[3], double out[4]) {
  const GlConstants &k = gc->constants;
  const double scale[4] = {k.redScale, k.greenScale, k.blueScale, k.alphaScale};
  const double facing = std::max(0.0, eyeNormal[2]);
  for (int i = 0; i < 3; ++i) {
    const double c = l.sceneAmbient[i] * l.materialAmbient[i] + facing * l.materialDiffuse[i];
    out[i] = std::clamp(c, 0.0, 1.0) * scale[i];
  }
  out[3] = std::clamp(l.materialDiffuse[3], 0.0, 1.0) * scale[3];
}

}  // namespace rpos_test
