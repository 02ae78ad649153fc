// Random lighting states: lights (directional and positional, spot or not,
// any attenuation), light model, both materials (colours outside [0, 1]
// too), light enables and a modelview of rotation, scale and translation.
#pragma once

#include <stdint.h>

#include <random>

#include "tests/geometry/lighting/light_fixture.h"

class RandomLighting {
 public:
  explicit RandomLighting(uint32_t seed) : rng_(seed) {}
  // Writes a new state into the context (nothing validated).
  void Fill(LightContext &ctx);
  GlColor Color(double lo, double hi);
  double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }
  bool Chance(double p) { return Uniform(0, 1) < p; }
  // One of the exponents the tests share tables between.
  GLfloat Exponent();

 private:
  void FillLight(GlLight &l, const GlConstants &k);
  void FillMaterial(GlMaterial &m, const GlConstants &k);
  void FillModelView(LightContext &ctx);
  std::mt19937 rng_;
};
