// The clip checks: (gc, v) -> clip codes, with v's obj and clip filled.
// Each sets the clip bit in `has`, stores 1/w in window.invW and, when the
// codes are zero, the window coordinates.
//
// One contract for every caller: the caller sets `has` before the call (the
// immediate entry and the raster position to the size class alone) and ORs
// the result into `has` read after the call. The user-plane checks replace
// only the size class of `has` and return `has` | codes; the frustum checks
// return the codes alone. A coordinate or w that is not a number counts as
// outside, so no NaN clip coordinate reaches window coordinates; degenerate
// vertices inside the volume (w = 0 at the origin, c and w infinite) still
// get NaN ones.
#pragma once

#include <stdint.h>

struct GlContext;
struct GlVertex;

// Portable reference of the frustum check (no table installs it).
uint32_t __glClipCheckFrustum(GlContext *gc, GlVertex *v);
// x87 with an integer fast path for w > 0; 3DNow!.
uint32_t __glI386ClipCheckFrustum(GlContext *gc, GlVertex *v);
uint32_t __glK3DClipCheckFrustum(GlContext *gc, GlVertex *v);
// Two-component vertices under a composite that keeps z inside: x and y
// only, no division.
uint32_t __glClipCheckFrustum2D(GlContext *gc, GlVertex *v);
// With user clip planes: frustum and planes, for size classes 2, 3 and 4.
uint32_t __glClipCheckAll2(GlContext *gc, GlVertex *v);
uint32_t __glClipCheckAll3(GlContext *gc, GlVertex *v);
uint32_t __glClipCheckAll4(GlContext *gc, GlVertex *v);
uint32_t __glClipCheckAll(GlContext *gc, GlVertex *v);
