// The per-vertex procedures the vertex picker installs besides the clip
// checks: lazy validation by size class and the save procedures.
#pragma once

#include <stdint.h>

struct GlContext;
struct GlVertex;

// Computes the fields of `needs` that v lacks, in the order eye, normal,
// fog, texture, front colour, back colour, and returns the new `has`
// (which it also stores).
uint32_t __glValidateVertex2(GlContext *gc, GlVertex *v, uint32_t needs);
uint32_t __glValidateVertex3(GlContext *gc, GlVertex *v, uint32_t needs);
uint32_t __glValidateVertex4(GlContext *gc, GlVertex *v, uint32_t needs);

typedef uint32_t (*GlValidateVertexProc)(GlContext *gc, GlVertex *v, uint32_t needs);
// The installed validator of a size class (the index of
// procs.validateVertex), or the full one of that size where the picker
// installed the empty one because drawing needs no vertex fields: the
// raster position and feedback need them all the same.
GlValidateVertexProc __glFullValidator(const GlContext *gc, uint32_t sizeClass);

// Copy the current values the state needs into v, then hand it to
// procs.primVertex. None of them touches `has`.
void __glSaveN(GlContext *gc, GlVertex *v);
void __glSaveC(GlContext *gc, GlVertex *v);
void __glSaveCI(GlContext *gc, GlVertex *v);
void __glSaveT(GlContext *gc, GlVertex *v);
void __glSaveNT(GlContext *gc, GlVertex *v);
void __glSaveCT(GlContext *gc, GlVertex *v);
void __glSaveCIT(GlContext *gc, GlVertex *v);
void __glSaveCAll(GlContext *gc, GlVertex *v);
void __glSaveCIAll(GlContext *gc, GlVertex *v);
