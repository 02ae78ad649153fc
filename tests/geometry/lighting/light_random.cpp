#include "tests/geometry/lighting/light_random.h"

#include <math.h>

namespace {

GlColor Scaled(GlColor c, const GlConstants &k) {
  return GlColor{c.r * k.redScale, c.g * k.greenScale, c.b * k.blueScale, c.a * k.alphaScale};
}

}  // namespace

GlColor RandomLighting::Color(double lo, double hi) {
  return GlColor{GLfloat(Uniform(lo, hi)), GLfloat(Uniform(lo, hi)), GLfloat(Uniform(lo, hi)),
                 GLfloat(Uniform(lo, hi))};
}

GLfloat RandomLighting::Exponent() {
  static const GLfloat exponents[] = {0.0f, 1.0f, 10.0f, 64.5f, 128.0f};
  return exponents[std::uniform_int_distribution<int>(0, 4)(rng_)];
}

void RandomLighting::FillLight(GlLight &l, const GlConstants &k) {
  // Lights may be brighter than full intensity.
  l.ambient = Scaled(Color(0, 0.5), k);
  l.diffuse = Scaled(Color(0, 1.2), k);
  l.specular = Scaled(Color(0, 1.2), k);
  l.positionEye = GlCoord{GLfloat(Uniform(-10, 10)), GLfloat(Uniform(-10, 10)),
                          GLfloat(Uniform(-10, 10)), Chance(0.5) ? 0.0f : GLfloat(Uniform(0.1, 3))};
  l.position = l.positionEye;
  l.spotLightCutOffAngle = Chance(0.5) ? 180.0f : GLfloat(Uniform(0, 90));
  l.spotLightExponent = Exponent();
  l.constantAttenuation = Chance(0.2) ? 0.0f : GLfloat(Uniform(0.1, 3));
  l.linearAttenuation = Chance(0.5) ? 0.0f : GLfloat(Uniform(0, 2));
  l.quadraticAttenuation = Chance(0.5) ? 0.0f : GLfloat(Uniform(0, 2));
}

void RandomLighting::FillMaterial(GlMaterial &m, const GlConstants &k) {
  m.ambient = Color(-0.2, 1.3);
  m.diffuse = Color(-0.2, 1.3);
  m.specular = Color(-0.2, 1.3);
  m.emissive = Scaled(Color(0, 0.6), k);
  m.specularExponent = Exponent();
  m.cmapa = GLfloat(Uniform(0, 50));
  m.cmaps = GLfloat(Uniform(0, 255));
  m.cmapd = GLfloat(Uniform(0, 255));
  m.indexOffset = Chance(0.5) ? 0.0f : GLfloat(Uniform(-4, 4));
  m.indexShift = Chance(0.5) ? 0.0f : GLfloat(Uniform(-4, 4));
}

void RandomLighting::FillModelView(LightContext &ctx) {
  // Rotation about a random axis, a positive scale per axis, a translation.
  double ax = Uniform(-1, 1), ay = Uniform(-1, 1), az = Uniform(-1, 1);
  double len = sqrt(ax * ax + ay * ay + az * az) + 1e-9;
  ax /= len, ay /= len, az /= len;
  double angle = Uniform(-3.14159, 3.14159), c = cos(angle), s = sin(angle), t = 1 - c;
  double r[3][3] = {{t * ax * ax + c, t * ax * ay - s * az, t * ax * az + s * ay},
                    {t * ax * ay + s * az, t * ay * ay + c, t * ay * az - s * ax},
                    {t * ax * az - s * ay, t * ay * az + s * ax, t * az * az + c}};
  double scale[3] = {Uniform(0.5, 2), Uniform(0.5, 2), Uniform(0.5, 2)};
  GLfloat m[16] = {};
  for (int row = 0; row < 3; row++)
    for (int col = 0; col < 3; col++) m[col * 4 + row] = GLfloat(r[row][col] * scale[col]);
  m[12] = GLfloat(Uniform(-5, 5)), m[13] = GLfloat(Uniform(-5, 5)), m[14] = GLfloat(Uniform(-5, 5));
  m[15] = 1.0f;
  ctx.setModelView(m);
}

void RandomLighting::Fill(LightContext &ctx) {
  GlContext *gc = ctx.gc();
  const GlConstants &k = gc->constants;
  for (int i = 0; i < k.numberOfLights; i++) FillLight(ctx.light(i), k);
  GlLightModelState &model = gc->state.light.model;
  model.ambient = Scaled(Color(0, 0.4), k);
  model.localViewer = Chance(0.25);
  model.twoSided = Chance(0.5);
  FillMaterial(ctx.material(__GL_FRONTFACE), k);
  FillMaterial(ctx.material(__GL_BACKFACE), k);
  ctx.setLights(std::uniform_int_distribution<uint32_t>(0, 255)(rng_));
  FillModelView(ctx);
}
