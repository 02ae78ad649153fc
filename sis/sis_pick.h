// The SiS context's validation and pickers. Each picker runs the generic
// picker of its slot first, then puts on the chip what the state allows and
// computes the working register words; what the chip cannot draw keeps the
// generic procedures and sets the fallback flag of its primitive kind.
#pragma once

#include <stdint.h>

struct GlContext;
struct GlSiSTail;
struct GlTextureObject;

void __glSiSValidate(GlContext *gc);
void __glSiSPickBlendProcs(GlContext *gc);
void __glSiSPickBufferProcs(GlContext *gc);
void __glSiSPickFogProcs(GlContext *gc);
void __glSiSPickLineProcs(GlContext *gc);
void __glSiSPickPointProcs(GlContext *gc);
void __glSiSPickTextureProcs(GlContext *gc);
void __glSiSPickTriangleProcs(GlContext *gc);
void __glSiSPickVertexArrayProcs(GlContext *gc);
void __glSiSPickDepthProcs(GlContext *gc);
void __glSiSSetLinePattern(GlContext *gc);

namespace sis {

// The chip's pitch code of a surface pitch in bytes.
uint32_t TransferTexturePitch(uint32_t pitchBytes);

// Computes the texture registers for the current texture into the working
// words and marks them dirty when they changed; false when the chip cannot
// sample it (mode bit 10 is then clear).
bool ProgramTexture(GlContext *gc, GlTextureObject *tex);

// What every hardware primitive needs: GL_RENDER, an RGBA context, one
// colour buffer drawn, every needed buffer a DirectDraw surface, no stencil
// test, partial write mask or index test, and no depth test on the 24-bit
// buffer (its words carry clear epochs).
bool ChipCanDraw(GlContext *gc);

// Whether the context is bound to a memory bitmap: it draws in software.
bool BoundToBitmap(GlContext *gc);

}  // namespace sis
