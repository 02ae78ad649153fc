// The vertex shape generated code is made for.
#pragma once

struct GlContext;

// Called by validation once the vertex-needs words are known: fixes how the
// generated set-up code finds vertex fields (gc->vertexShape).
void __glPickVertexShape(GlContext *gc);
