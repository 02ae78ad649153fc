// What the strip drawer's tests share: a bound context whose render, clip and
// compile slots record what they are called with, a batch buffer of the
// test's own, and the runs of the C walk and of the generated drawer from
// the same starting buffer.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "tests/codegen/emitter/og_support.h"
#include "tests/core/context/life_fixture.h"

namespace strip_test {

// One recorded call: a triangle ("render" or "clip") with its vertices as
// batch places, their `has` words, the provoking vertex's place and the
// stipple byte; or a compile with its arguments.
struct Call {
  std::string what;
  int32_t v[3] = {};
  uint32_t has[3] = {};
  int32_t provoking = 0;
  uint32_t stipple = 0;
  int32_t position = 0, first = 0, count = 0;
  const uint32_t *elements = nullptr;
  bool operator==(const Call &) const = default;
};
std::string Describe(const Call &c);

// The `has` word the fake compile gives array element e.
typedef uint32_t (*HasPattern)(int32_t e);

// After a run: the calls, the buffer's bytes and the batch-walk fields.
struct Outcome {
  std::vector<Call> calls;
  std::vector<uint8_t> buffer;
  int32_t batchMode = 0, batchFirst = 0, batchPosition = 0;
  const uint32_t *batchElements = nullptr;
};

class StripTest : public life_test::BoundContextTest {
 protected:
  static constexpr int kPlaces = 200;  // batch places of the test's buffer

  void SetUp() override;
  void TearDown() override;
  // A new bound context in place of this one, its slots recording.
  void Replace();

  // Compile pending (the batched walk from the buffer's start), or a locked
  // range from `lockFirst` already compiled (cursor = buffer - lockFirst).
  void Batched(HasPattern has, bool continued = false);
  void Locked(HasPattern has, int32_t lockFirst, int32_t lockCount);

  Outcome RunC(int32_t first, int32_t count, const uint32_t *elements);
  // Through the run harness: registers, the direction flag and the stack
  // are checked; ecx is checked here.
  Outcome RunGenerated(int32_t first, int32_t count, const uint32_t *elements);
  // Through the GL_TRIANGLE_STRIP slot as it stands.
  Outcome RunSlot(int32_t first, int32_t count, const uint32_t *elements);
  // The drawer for the current state.
  void *Generated();

  std::vector<GlVertex> buffer;

 private:
  void Install();
  void Reset();
  Outcome Finish();
  std::vector<uint8_t> start;  // the buffer as every run begins
  GlVertexArrayMachine saved = {};
  GlProcs savedProcs = {};
};

}  // namespace strip_test
