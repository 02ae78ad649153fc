// What the raster generator's tests share: the pre-built set-up's test
// context (recording chain head, buffers) with the code caches, a second
// colour buffer for double store, and the generated path installed through
// __glForceGeneratedTriangle and run under the register-checking harness.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "codegen/og_ras.h"
#include "tests/fastraster/setup/setup_fixture.h"

namespace raster_test {

using fr_test::Chunk;

// One unit of a 16.16 colour iterator: the two setups round the steps
// differently, and the difference grows by the rows walked.
constexpr int32_t kOneUnit = 0x10000;

class RasterContext : public fr_test::SetupContext {
 public:
  explicit RasterContext(uint32_t bitsPerPixel = 32, const uint32_t shifts[4] = nullptr);
  ~RasterContext();

  // Draws through the pre-built set-up; returns its chunks.
  std::vector<Chunk> Prebuilt(GlVertex *a, GlVertex *b, GlVertex *c);
  // Installs the generated pair for the current state and draws through
  // it; returns the chunks.
  std::vector<Chunk> Generated(GlVertex *a, GlVertex *b, GlVertex *c, bool spanlet = true);
  // Turns double store on with a second colour buffer of the same format.
  void UseDoubleStore();
  // The raster routine's code for the current state (cached or new).
  void *Raster(bool spanlet) { return __glGenerateRasterizer(gc(), spanlet); }

  PixelMemory front2;
  GlColorBuffer secondBuffer{};
};

// Differences between two chunk lists, one line each; empty when they agree
// on masks, chunk positions and buffer addresses (exactly) and on depth and
// the colour iterators in use (within the tolerances).
std::string CompareChunks(const std::vector<Chunk> &expected, const std::vector<Chunk> &actual,
                          uint32_t flags, bool doubleStore, int32_t depthTolerance,
                          int32_t colorTolerance);

}  // namespace raster_test
