// Stand-ins for the per-vertex lighting procedures (see s_light_standins.h).
#include "geometry/s_light_standins.h"

#include "core/s_standin.h"

void __glFastCalcRGBColor(GlContext *, GLint, GlVertex *)
    GL_STANDIN_VOID_BODY(__glFastCalcRGBColor)
void __glK3DFastCalcRGBColor(GlContext *, GLint, GlVertex *)
    GL_STANDIN_VOID_BODY(__glK3DFastCalcRGBColor)
void __glI386CalcRGBColor(GlContext *, GLint, GlVertex *)
    GL_STANDIN_VOID_BODY(__glI386CalcRGBColor)
void __glK3DCalcRGBColor(GlContext *, GLint, GlVertex *)
    GL_STANDIN_VOID_BODY(__glK3DCalcRGBColor)
void __glFastCalcCIColor(GlContext *, GLint, GlVertex *)
    GL_STANDIN_VOID_BODY(__glFastCalcCIColor)
void __glFastCalcCIColor_ShiftOffset(GlContext *, GLint, GlVertex *)
    GL_STANDIN_VOID_BODY(__glFastCalcCIColor_ShiftOffset)
void __glCalcCIColor(GlContext *, GLint, GlVertex *)
    GL_STANDIN_VOID_BODY(__glCalcCIColor)
