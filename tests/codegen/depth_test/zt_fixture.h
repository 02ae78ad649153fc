// The generated depth test against a model of its loop: a context with the
// depth-test cache and a plain depth buffer of either width, a depth row
// fenced by guard pages, and a recording successor in procs.afterDepthTest.
#pragma once

#include <stdint.h>

#include <vector>

#include "codegen/og_fr.h"
#include "fastraster/fr_setup.h"
#include "tests/codegen/emitter/og_run_support.h"

namespace zt_test {

// One chunk for the routine: the incoming mask, the first pixel's depth and
// step, the offset and the walk direction.
struct Chunk {
  uint32_t mask;
  uint32_t z;
  int32_t dzdx;
  int32_t offsetZ;
  int32_t direction;
};

// What the model expects: the buffer after the chunk and the call made.
struct Outcome {
  std::vector<uint32_t> depth;  // one entry per pixel of the chunk, walk order
  bool called;
  uint32_t handedOn;
};

// The routine's loop written plainly: wrapped depths through the buffer's
// range rule, the offset saturated and held to the scale, 16-bit buffers
// on the top halves, unsigned compares.
Outcome Model(uint32_t key, const Chunk &c, const std::vector<uint32_t> &depth);

class ZtTest : public RunTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The state that gives `key`; the buffer is re-made at its width.
  void SetKey(uint32_t key);
  // Runs the routine on `depth` (walk order) laid out so that the element
  // after the last live pixel is a guard page; checks the registers.
  Outcome Run(const void *routine, uint32_t key, const Chunk &c, std::vector<uint32_t> depth);

  uint8_t *pages_ = nullptr;  // guard, two data pages, guard
};

// Every key the picker can ask for: GL_ALWAYS only with writes.
std::vector<uint32_t> AllKeys();

}  // namespace zt_test
