// The mesh procedures behind glEvalMesh1 and glEvalMesh2: grid points i1..i2
// (and j1..j2) evaluated and issued in primitives through the immediate
// table in force.
#pragma once

#include "core/gl_defs.h"

struct GlContext;

void __glEvalMesh1Point(GlContext *gc, GLint i1, GLint i2);
void __glEvalMesh1Line(GlContext *gc, GLint i1, GLint i2);
void __glEvalMesh2Point(GlContext *gc, GLint i1, GLint j1, GLint i2, GLint j2);
void __glEvalMesh2Line(GlContext *gc, GLint i1, GLint j1, GLint i2, GLint j2);
void __glEvalMesh2Fill(GlContext *gc, GLint i1, GLint j1, GLint i2, GLint j2);
