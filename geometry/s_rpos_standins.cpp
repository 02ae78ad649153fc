// Stand-ins for the raster-position procedures (geometry/s_rpos_standins.h).
#include "geometry/s_rpos_standins.h"

#include "core/s_standin.h"

void __glRasterPos2(GlContext *, const GLfloat *) GL_STANDIN_VOID_BODY(__glRasterPos2)
void __glRasterPos3(GlContext *, const GLfloat *) GL_STANDIN_VOID_BODY(__glRasterPos3)
void __glRasterPos4(GlContext *, const GLfloat *) GL_STANDIN_VOID_BODY(__glRasterPos4)
