#include "tests/geometry/lighting/lit_support.h"

#include <math.h>

GlVertex LitVertex(GlCoord eye, GlCoord normal) {
  GlVertex v{};
  v.eye = eye;
  v.normal = normal;
  v.colors[0] = v.colors[1] = GlColor{-7, -7, -7, -7};
  return v;
}

void SetSpotDirection(LightContext &ctx, int light, double x, double y, double z) {
  ctx.light(light).direction = GlCoord{GLfloat(x), GLfloat(y), GLfloat(z), 0.0f};
  const double len = sqrt(x * x + y * y + z * z);
  GLfloat *unit = ctx.cache(light).direction;
  unit[0] = GLfloat(x / len), unit[1] = GLfloat(y / len), unit[2] = GLfloat(z / len);
}

void FillLitState(LightContext &ctx, RandomLighting &random, bool fast) {
  random.Fill(ctx);
  GlContext *gc = ctx.gc();
  for (int i = 0; i < gc->constants.numberOfLights; i++) {
    GlLight &l = ctx.light(i);
    if (fast) {
      l.positionEye.w = 0.0f;
      l.spotLightCutOffAngle = 180.0f;
    }
    // Towards a point near the middle of the vertices.
    const double tx = random.Uniform(-1, 1) - l.positionEye.x;
    const double ty = random.Uniform(-1, 1) - l.positionEye.y;
    const double tz = random.Uniform(-1, 1) - l.positionEye.z;
    SetSpotDirection(ctx, i, tx, ty, tz);
  }
  if (fast) gc->state.light.model.localViewer = 0;
  ctx.setEnable(__GL_LIGHTING_ENABLE, true);
  ctx.validate();
}

GlVertex RandomLitVertex(RandomLighting &random) {
  const double w = random.Chance(0.8) ? 1.0 : random.Chance(0.5) ? 0.0 : random.Uniform(-2, 3);
  const GlCoord eye = {GLfloat(random.Uniform(-3, 3)), GLfloat(random.Uniform(-3, 3)),
                       GLfloat(random.Uniform(-3, 3)), GLfloat(w)};
  GlCoord normal = {0, 0, 0, 0};
  if (!random.Chance(0.05)) {
    const double x = random.Uniform(-1, 1), y = random.Uniform(-1, 1), z = random.Uniform(-1, 1);
    const double len = sqrt(x * x + y * y + z * z) + 1e-9;
    const double scale = random.Chance(0.7) ? 1.0 : random.Uniform(0.2, 2.5);
    normal = {GLfloat(x / len * scale), GLfloat(y / len * scale), GLfloat(z / len * scale), 0};
  }
  return LitVertex(eye, normal);
}
