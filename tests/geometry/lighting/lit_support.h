// Vertices and lighting states for the tests of the per-vertex lighting
// procedures.
#pragma once

#include <stdint.h>

#include <gtest/gtest.h>

#include "core/context.h"
#include "core/current.h"
#include "tests/geometry/lighting/light_fixture.h"
#include "tests/geometry/lighting/light_random.h"

// Makes a test context current on the calling thread for the life of the
// object, as it is while the driver works on it: errors are recorded there.
class CurrentContext {
 public:
  explicit CurrentContext(GlContext *gc) : before_(__glGetTLSCXValue()) { __glSetTLSCXValue(gc); }
  ~CurrentContext() { __glSetTLSCXValue(before_); }
  CurrentContext(const CurrentContext &) = delete;
  CurrentContext &operator=(const CurrentContext &) = delete;

 private:
  GlContext *before_;
};

// A vertex with the fields lighting reads: eye coordinates and the
// eye-space normal. Both face colours start as a marker no procedure writes.
GlVertex LitVertex(GlCoord eye, GlCoord normal);

// The spot direction as glLight stores it: the eye-space direction in the
// light, its unit x, y, z in the light's cache.
void SetSpotDirection(LightContext &ctx, int light, double x, double y, double z);

// Random states on top of RandomLighting's: spotlights aimed near the
// vertices (so that cones and spot tables are crossed), and with `fast`
// every light directional without spot under an infinite viewer. Lighting
// is enabled and the state validated.
void FillLitState(LightContext &ctx, RandomLighting &random, bool fast);
// Eye coordinates in the region the lights point at (w mostly 1, sometimes
// 0 or another value), normals of any length, some zero.
GlVertex RandomLitVertex(RandomLighting &random);

// Calls check(ctx, given, fast, i) for `vertices` random vertices in each of
// `states` random states of each kind (only fast lights; any lights), in a
// context made by `setup`; stops at the first failure.
template <typename Check>
void ForEachRandomLitVertex(const LightSetup &setup, uint32_t seed, int states, int vertices,
                            Check check) {
  const bool kinds[] = {true, false};
  for (bool fast : kinds) {
    SCOPED_TRACE(fast ? "only fast lights" : "any lights");
    LightContext ctx(setup);
    RandomLighting random(seed + fast);
    for (int s = 0; s < states && !testing::Test::HasFailure(); s++) {
      SCOPED_TRACE(testing::Message() << "state " << s);
      FillLitState(ctx, random, fast);
      for (int i = 0; i < vertices && !testing::Test::HasFailure(); i++)
        check(ctx, RandomLitVertex(random), fast, i);
    }
  }
}
