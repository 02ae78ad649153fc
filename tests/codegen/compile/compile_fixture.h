// What the compiled vertex routine's tests share: a bound context whose
// state the tests set through the GL entries, array data of any type, size
// and stride made from float values, and runs of the C compile (with the C
// lighting where the routine lights) and of the generated routine over the
// same elements, compared field by field.
#pragma once

#include <stdint.h>

#include <deque>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/geometry/varray/varray_fixture.h"

namespace compile_test {

// One client array's bytes, converted from floats.
struct ArrayData {
  GLenum type = GL_FLOAT;
  int32_t size = 3;
  int32_t stride = 0;  // as given: 0 packs
  std::vector<uint8_t> bytes;
  int32_t Stride() const;  // in use
};
// `count` elements of `size` components from `values` (count x size floats).
ArrayData MakeArray(GLenum type, int32_t size, int32_t stride, const std::vector<float> &values);
uint32_t TypeBytes(GLenum type);

// The records after one run, and the routine's entry.
struct Records {
  std::vector<GlVertex> records;
};

// Which fields a comparison looks at.
struct Compare {
  bool windowZ = true;
  bool colors = true;     // front red, green, blue
  bool alpha = true;
  bool normal = true;     // the record's normal
  bool texture = true;
  bool obj = true;        // the record's object coordinates
  float colorTolerance = 1e-3f;  // in colour-buffer units
  bool lit = false;       // records without a valid colour are lit by the C validation
  bool sizeClass = true;  // the size class in `has`
};

class CompileTest : public varray_test::VarrayTest {
 protected:
  void SetUp() override;
  // The pickers run as a draw runs them.
  void Ready();
  // The routine of the state in force for array mode (or vertex-cache mode).
  void *Routine(bool vcache = false, uint32_t n = 0);
  // Elements first .. first + count - 1 into batch positions dst .. of the
  // batch buffer, through the C compile or the generated routine (which the
  // run harness calls, checking the registers, the stack, the x87 stack
  // and the control word it leaves).
  Records RunC(int32_t dst, int32_t first, int32_t count);
  Records RunGenerated(int32_t dst, int32_t first, int32_t count);
  // Vertex-cache mode: `start` records of vertex size n completed in place.
  Records RunCacheC(const std::vector<GlVertex> &start, uint32_t n);
  Records RunCacheGenerated(const std::vector<GlVertex> &start, uint32_t n);
  // Every vertex of the two runs against each other; false with a message.
  testing::AssertionResult Same(const Records &c, const Records &g, const Compare &what);

  // The arrays, kept alive while the pointers are in use.
  void Vertices(const ArrayData &a);
  void Normals(const ArrayData &a);
  void Colors(const ArrayData &a);
  void TexCoords(const ArrayData &a);
  void Indices(const ArrayData &a);

 private:
  std::deque<ArrayData> kept_;  // grows without moving what it holds
  const void *Keep(const ArrayData &a);
  Records Snapshot(int32_t dst, int32_t count);
  template <typename F>
  Records InCache(const std::vector<GlVertex> &start, uint32_t n, F compile);
  void Fill();
};

// Deterministic values in [lo, hi].
std::vector<float> Values(uint32_t seed, size_t count, float lo, float hi);

}  // namespace compile_test
