// A bound context of the core back end, validated once as the first drawing
// command would validate it, for driving the raster position through the API.
#pragma once

#include <string.h>

#include "core/gl_api.h"
#include "tests/core/context/life_fixture.h"
#include "tests/geometry/rpos/rpos_reference.h"

namespace rpos_test {

class RasterPosTest : public life_test::BoundContextTest {
 protected:
  void Bound() override { ValidatePending(); }

  const GlVertex &raster() const { return gc->state.current.rasterPos; }
  bool valid() const { return gc->state.current.validRasterPos != 0; }
  // Byte-for-byte the same vertex.
  static bool Same(const GlVertex &a, const GlVertex &b) { return memcmp(&a, &b, sizeof a) == 0; }
};

}  // namespace rpos_test
