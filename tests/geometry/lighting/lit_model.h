// The lit colour of one vertex worked out in double precision from the API
// state of a context (lights, light model, materials, enables), by the rules
// the lighting procedures follow, with exact powers in place of the power
// tables. It gives, per component, the interval a procedure's result must
// lie in:
//
// - A table holds x^n at 256 steps of (1 - t) / 255 from the threshold t, and
//   a look-up takes the nearest step, half a step away at most. For n >= 1
//   the slope of x^n on [t, 1] is at most n, so a table coefficient is within
//     n (1 - t) / 510
//   of the exact power (a little more for the single-precision argument).
//   For n = 128 (t = 0.9448) that is 0.0139 of the term, for n = 10
//   (t = 0.484) 0.0101, for n = 1 0.00196; n = 0 is exact. Each specular
//   term carries it as a share of its light x material product, each spot
//   coefficient as a share of the light's whole contribution.
// - Where an argument lies within rounding of a rule's edge (n.L at 0, n.H at
//   the table threshold, the spot cosine at 0, at the cut-off or at the spot
//   table), the term it decides may be there or not: the interval takes both.
// - Sums carry single-precision rounding and the normalisation's error (a few
//   parts in a million) relative to the size of their terms.
//
// The interval is clamped as the result is (RGBA), or carried through the
// index blend and the fixed-point shift and offset (colour index).
#pragma once

#include "core/context.h"

// How a procedure finds each light's direction and half vector.
enum class LitForm {
  kFast,  // the cached vectors: every light directional, no spot, no local viewer
  kFull,  // worked out at the vertex
};

// Whether a colour-index procedure applies the index shift and offset.
enum class IndexShift { kNever, kAlways, kWhenSet };

struct LitInterval {
  double lo, hi;
  double mid;  // the value without table or rounding error, for messages
  bool Contains(double v) const { return v >= lo && v <= hi; }
};

struct LitRGBA {
  LitInterval c[3];
  double alpha;
};

LitRGBA ModelLitRGBA(const GlContext *gc, int face, const GlVertex &v, LitForm form);
LitInterval ModelLitIndex(const GlContext *gc, int face, const GlVertex &v, LitForm form,
                          IndexShift shift);

// The bound above for exponent n: what a table coefficient may differ from
// the exact power by.
double TableTolerance(double n);
