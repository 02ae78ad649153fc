// The vertex shape generated code is made for.
#pragma once

struct GlContext;

// Called by validation once the vertex-needs words are known: chooses the
// vertex layout the generated vertex and set-up code reads.
void __glPickVertexShape(GlContext *gc);
