// Stand-in for the rectangle procedure (geometry/s_rect_standins.h).
#include "geometry/s_rect_standins.h"

#include "core/s_standin.h"

void __glRect(GlContext *, GLfloat, GLfloat, GLfloat, GLfloat) GL_STANDIN_VOID_BODY(__glRect)
