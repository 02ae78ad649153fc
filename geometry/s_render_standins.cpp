// Stand-ins for the feedback and selection render procedures and the
// triangle clipper (geometry/s_render_standins.h).
#include "geometry/s_render_standins.h"

#include "core/s_standin.h"

// clang-format off
void __glFeedbackPoint(GlContext *, GlVertex *)
    GL_STANDIN_VOID_BODY(__glFeedbackPoint)
void __glFeedbackLine(GlContext *, GlVertex *, GlVertex *)
    GL_STANDIN_VOID_BODY(__glFeedbackLine)
void __glFeedbackTriangle(GlContext *, GlVertex *, GlVertex *, GlVertex *)
    GL_STANDIN_VOID_BODY(__glFeedbackTriangle)
void __glSelectPoint(GlContext *, GlVertex *)
    GL_STANDIN_VOID_BODY(__glSelectPoint)
void __glSelectLine(GlContext *, GlVertex *, GlVertex *)
    GL_STANDIN_VOID_BODY(__glSelectLine)
void __glSelectTriangle(GlContext *, GlVertex *, GlVertex *, GlVertex *)
    GL_STANDIN_VOID_BODY(__glSelectTriangle)
void __glClipTriangle(GlContext *, GlVertex *, GlVertex *, GlVertex *, uint32_t)
    GL_STANDIN_VOID_BODY(__glClipTriangle)
// clang-format on
