// The depth-test generator: one spanlet per depth state, kept in the
// context's depth-test code cache. The spanlet tests (and writes) the live
// pixels of a chunk in registers and jumps on to procs.afterDepthTest.
#pragma once

#include <stdint.h>

struct GlContext;

// Bits of the depth-test key (the cache's second key; the first is 0).
#define OG_ZT_FUNC 0x07u     // depth function AND 7
#define OG_ZT_STENCIL 0x08u  // stencil test on: hand on even an empty mask
#define OG_ZT_WRITE 0x10u    // depth writes on
#define OG_ZT_16BIT 0x20u    // 16-bit buffer, else 32-bit
#define OG_ZT_OFFSET 0x40u   // polygon offset

// The key of the current state.
uint32_t OGDepthTestKey(GlContext *gc);
// The spanlet for the current state: mask in ECX, FrSpan in EDX. The depth
// buffer must be a plain 16- or 32-bit one, and GL_ALWAYS must come with
// depth writes; anything else is a programming error.
void *OGGenerateZT(GlContext *gc);
