#include "tests/geometry/lighting/light_model.h"

#include <math.h>

namespace {

constexpr double kPi = 3.14159265358979323846;

void Normalize(double v[3]) {
  double len = sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  for (int i = 0; i < 3; i++) v[i] = len > 0 ? v[i] / len : 0.0;
}

// The inverse of a 4x4 matrix in OpenGL storage order (Gauss-Jordan with
// partial pivoting); element (row r, column c) is m[c * 4 + r].
void Invert(const GLfloat m[16], double inv[4][4]) {
  double a[4][8];
  for (int r = 0; r < 4; r++)
    for (int c = 0; c < 4; c++) {
      a[r][c] = m[c * 4 + r];
      a[r][c + 4] = r == c;
    }
  for (int col = 0; col < 4; col++) {
    int pivot = col;
    for (int r = col + 1; r < 4; r++)
      if (fabs(a[r][col]) > fabs(a[pivot][col])) pivot = r;
    for (int c = 0; c < 8; c++) {
      double t = a[col][c];
      a[col][c] = a[pivot][c];
      a[pivot][c] = t;
    }
    double d = a[col][col];
    for (int c = 0; c < 8; c++) a[col][c] /= d;
    for (int r = 0; r < 4; r++) {
      if (r == col) continue;
      double f = a[r][col];
      for (int c = 0; c < 8; c++) a[r][c] -= f * a[col][c];
    }
  }
  for (int r = 0; r < 4; r++)
    for (int c = 0; c < 4; c++) inv[r][c] = a[r][c + 4];
}

// A direction (w = 0) carried back to object space.
void ToObject(const double inv[4][4], const double v[3], double out[3]) {
  for (int r = 0; r < 3; r++) out[r] = inv[r][0] * v[0] + inv[r][1] * v[1] + inv[r][2] * v[2];
}

// Of the colour as given (1 full intensity): colour-index lighting weighs
// indexes by it.
double Luminance(const GlColor &c, const GlConstants &k) {
  return 0.3 * c.r / k.redScale + 0.59 * c.g / k.greenScale + 0.11 * c.b / k.blueScale;
}

void Product(const GlColor &l, const GlColor &m, double out[3]) {
  out[0] = double(l.r) * m.r;
  out[1] = double(l.g) * m.g;
  out[2] = double(l.b) * m.b;
}

double Clamp(double v, double top) { return v < 0 ? 0 : v > top ? top : v; }

}  // namespace

double ModelThreshold(double n) { return n == 0 ? 0.0 : pow(0.0007, 1.0 / n); }
double ModelScale(double n) { return 255.0 / (1.0 - ModelThreshold(n)); }

LightModel ComputeModel(const GlContext *gc) {
  LightModel model{};
  const GlLightState &ls = gc->state.light;
  const GlConstants &k = gc->constants;
  const GlMaterial *materials[2] = {&ls.front, &ls.back};

  double inv[4][4];
  Invert(gc->transform.modelView->matrix.matrix, inv);

  for (int f = 0; f < 2; f++) {
    const GlMaterial &m = *materials[f];
    ModelFace &face = model.face[f];
    const GlColor &a = ls.model.ambient;
    face.scene[0] = double(a.r) * m.ambient.r + m.emissive.r;
    face.scene[1] = double(a.g) * m.ambient.g + m.emissive.g;
    face.scene[2] = double(a.b) * m.ambient.b + m.emissive.b;
    face.alpha = Clamp(double(m.diffuse.a) * k.alphaScale, k.alphaScale);
    face.indexDiff[0] = double(m.cmapd) - m.cmapa;
    face.indexDiff[1] = double(m.cmaps) - m.cmapa;
    face.threshold = ModelThreshold(m.specularExponent);
    face.scale = ModelScale(m.specularExponent);
  }

  for (int i = 0; i < k.numberOfLights; i++) {
    if (!(gc->state.enables.lights & (1u << i))) continue;
    const GlLight &l = ls.source[i];
    ModelLight ml{};
    ml.index = i;
    ml.spot = l.spotLightCutOffAngle != 180.0f;
    ml.cosCutOff = cos(l.spotLightCutOffAngle * kPi / 180.0);
    ml.spotThreshold = ModelThreshold(l.spotLightExponent);
    ml.hasReciprocal = l.constantAttenuation != 0.0f;
    ml.reciprocal = ml.hasReciprocal ? 1.0 / l.constantAttenuation : 0.0;
    ml.slow = ls.model.localViewer || ml.spot || l.positionEye.w != 0.0f;
    if (!ml.slow) {
      double *L = ml.toLight, *H = ml.half;
      L[0] = l.positionEye.x, L[1] = l.positionEye.y, L[2] = l.positionEye.z;
      Normalize(L);
      H[0] = L[0], H[1] = L[1], H[2] = L[2] + 1.0;
      ml.halfLength = sqrt(H[0] * H[0] + H[1] * H[1] + H[2] * H[2]);
      Normalize(H);
      ToObject(inv, L, ml.toLightObj);
      ToObject(inv, H, ml.halfObj);
    }
    ml.specularLuminance = Luminance(l.specular, k);
    ml.diffuseLuminance = Luminance(l.diffuse, k);
    for (int f = 0; f < 2; f++) {
      Product(l.ambient, materials[f]->ambient, ml.products[f][0]);
      Product(l.diffuse, materials[f]->diffuse, ml.products[f][1]);
      Product(l.specular, materials[f]->specular, ml.products[f][2]);
    }
    model.lights.push_back(ml);
  }

  const GLfloat scales[3] = {k.redScale, k.greenScale, k.blueScale};
  for (int c = 0; c < 3; c++) {
    double sum = model.face[0].scene[c];
    for (const ModelLight &ml : model.lights) sum += ml.products[0][0][c];
    model.base[c] = Clamp(sum, scales[c]);
  }
  return model;
}
