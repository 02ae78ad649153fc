// Validation: picking the procedures for the state in force.
#pragma once

#include <stdint.h>

struct GlContext;

// The core's `validate`: runs procs.pickAllProcs, then hands the calling
// thread's current table to the operating system again, since pickers may
// have replaced entries in place.
void __glGenericValidate(GlContext *gc);
// The all-pickers pass: runs the pickers the dirty words call for, in their
// fixed order, and clears both words.
void __glGenericPickAllProcs(GlContext *gc);
// The four vertex-needs words (gc->vertexBuffer.baseNeeds, frontNeeds,
// backNeeds, smoothNeeds) for the current state and raster-mode flags.
void __glComputeVertexNeeds(GlContext *gc, uint32_t modeFlags);
// The vertex fields the enabled texture-coordinate generation reads.
uint32_t __glTextureGenerationNeeds(const GlContext *gc);
