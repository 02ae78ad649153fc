// The transform forms under test, matrices of each type with the elements
// a form must not read set to NaN, and the double-precision reference with
// the tolerance each kind of arithmetic earns.
#pragma once

#include <stdint.h>

#include <random>

#include "geometry/s_xform.h"
#include "tests/geometry/xform_asm/asm_call.h"

struct XformForm {
  const char *name;
  GlXformProc proc;
  Isa isa;
  uint32_t type;  // the matrix type the form is written for (0 .. 3)
  int size;       // source components read
};

// Every hand-written form, and the portable forms as the baseline.
extern const XformForm kXformForms[];
extern const int kXformFormCount;

// A matrix of type 0 .. 4 (general .. identity). Elements the type leaves
// free are random in [-4, 4]; the type's zeros and ones hold their values,
// except those the form's own type promises, which hold NaN. `value` has
// the values the matrix stands for.
struct TestMatrix {
  GlMatrix m;
  double value[16];
};
TestMatrix MakeMatrix(uint32_t type, uint32_t formType, std::mt19937 &rng);
// Sets element i to v (both the stored and the stood-for value).
void SetElement(TestMatrix *t, int i, float v);

// out[j] = x·m[j] + y·m[4+j] + z·m[8+j] + w·m[12+j] over the stood-for
// values, with a missing z 0 and a missing w 1, and the sum of the terms'
// magnitudes.
struct XformExpected {
  double value[4];
  double magnitude[4];
};
XformExpected ReferenceXform(const TestMatrix &t, const float *in, int size);

// How far a result may be from the reference: sums held in extended (at
// least double) precision and rounded once come within half a step of the
// result, give or take double's error; 3DNow! rounds every product and
// sum to single precision, up to about one step of the terms' magnitude
// per term.
double XformTolerance(Isa isa, double expected, double magnitude, float got);
