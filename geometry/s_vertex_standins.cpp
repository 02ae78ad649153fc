// Stand-ins for the per-vertex procedures (geometry/s_vertex_standins.h).
#include "geometry/s_vertex_standins.h"

#include "core/s_standin.h"
#include "geometry/s_vertex.h"

uint32_t __glI386ClipCheckFrustum(GlContext *, GlVertex *)
    GL_STANDIN_BODY(__glI386ClipCheckFrustum, 0)
uint32_t __glK3DClipCheckFrustum(GlContext *, GlVertex *)
    GL_STANDIN_BODY(__glK3DClipCheckFrustum, 0)
uint32_t __glClipCheckFrustum2D(GlContext *, GlVertex *) GL_STANDIN_BODY(__glClipCheckFrustum2D, 0)
uint32_t __glClipCheckAll2(GlContext *, GlVertex *) GL_STANDIN_BODY(__glClipCheckAll2, 0)
uint32_t __glClipCheckAll3(GlContext *, GlVertex *) GL_STANDIN_BODY(__glClipCheckAll3, 0)
uint32_t __glClipCheckAll4(GlContext *, GlVertex *) GL_STANDIN_BODY(__glClipCheckAll4, 0)

// Computing nothing, the validators leave the vertex its `has`.
uint32_t __glValidateVertex2(GlContext *, GlVertex *v, uint32_t)
    GL_STANDIN_BODY(__glValidateVertex2, v->has)
uint32_t __glValidateVertex3(GlContext *, GlVertex *v, uint32_t)
    GL_STANDIN_BODY(__glValidateVertex3, v->has)
uint32_t __glValidateVertex4(GlContext *, GlVertex *v, uint32_t)
    GL_STANDIN_BODY(__glValidateVertex4, v->has)

void __glSaveN(GlContext *, GlVertex *) GL_STANDIN_VOID_BODY(__glSaveN)
void __glSaveC(GlContext *, GlVertex *) GL_STANDIN_VOID_BODY(__glSaveC)
void __glSaveCI(GlContext *, GlVertex *) GL_STANDIN_VOID_BODY(__glSaveCI)
void __glSaveT(GlContext *, GlVertex *) GL_STANDIN_VOID_BODY(__glSaveT)
void __glSaveNT(GlContext *, GlVertex *) GL_STANDIN_VOID_BODY(__glSaveNT)
void __glSaveCT(GlContext *, GlVertex *) GL_STANDIN_VOID_BODY(__glSaveCT)
void __glSaveCIT(GlContext *, GlVertex *) GL_STANDIN_VOID_BODY(__glSaveCIT)
void __glSaveCAll(GlContext *, GlVertex *) GL_STANDIN_VOID_BODY(__glSaveCAll)
void __glSaveCIAll(GlContext *, GlVertex *) GL_STANDIN_VOID_BODY(__glSaveCIAll)
