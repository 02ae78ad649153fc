// The vertex-array pickers.
#pragma once

struct GlContext;

// Run by validation whenever the client arrays' enables or pointers changed:
// derives the per-size and copy procedures and the compile procedure.
void __glGenericPickVertexArrayEnables(GlContext *gc);
// The pickVertexArrayProcs slot: derives what array drawing needs of each
// vertex, then runs the enables picker.
void __glGenericPickVertexArrayProcs(GlContext *gc);

#include "geometry/s_varray.h"

// The C compile the enables picker chooses for the state in force.
GlCompileProc __glVarrayCCompile(const GlContext *gc);
