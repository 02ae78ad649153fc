// Stand-ins for the fog procedures (raster/s_fog_standins.h).
#include "raster/s_fog_standins.h"

#include "core/s_standin.h"

// clang-format off
GLfloat __glFogVertex(GlContext *, GlVertex *)
    GL_STANDIN_BODY(__glFogVertex, 1.0f)
GLfloat __glFogVertexLinear(GlContext *, GlVertex *)
    GL_STANDIN_BODY(__glFogVertexLinear, 1.0f)
void __glFogFragmentSlow(GlContext *, GlFragment *, GLfloat)
    GL_STANDIN_VOID_BODY(__glFogFragmentSlow)
void __glFogColorSlow(GlContext *, GlColor *, const GlColor *, GLfloat)
    GL_STANDIN_VOID_BODY(__glFogColorSlow)
// clang-format on
