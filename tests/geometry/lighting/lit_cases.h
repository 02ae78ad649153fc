// The lit-colour checks every RGBA form of the lighting procedures must
// pass: a table of named states and vertices with hand-worked colours, and
// random states checked against the double-precision model (lit_model.h).
// The 3DNow! program runs them on its own forms.
#pragma once

#include <stdint.h>

#include "core/procs.h"
#include "tests/geometry/lighting/light_fixture.h"

// The procedures of one form.
struct LitProcs {
  const char *name;
  GlCalcColorProc fast;  // null when the form has no fast procedure
  GlCalcColorProc full;
};

void ExpectLitCases(const LitProcs &procs);
// `states` random states of each kind (only fast lights; any lights), each
// lighting `vertices` random vertices on both faces, in a context made by
// `setup` (its colour scales).
void ExpectRandomLitColors(const LitProcs &procs, uint32_t seed, int states, int vertices,
                           const LightSetup &setup = LightSetup());

// Colour scales that differ per component, so that a component scaled or
// clamped by another's scale shows.
LightSetup DistinctScales();
