// Stand-ins for the evaluation procedures (geometry/s_eval_standins.h).
#include "geometry/s_eval_standins.h"

#include "core/s_standin.h"

void __glDoEvalCoord1(GlContext *, GLfloat, GLfloat) GL_STANDIN_VOID_BODY(__glDoEvalCoord1)
void __glDoEvalCoord2(GlContext *, GLfloat, GLfloat) GL_STANDIN_VOID_BODY(__glDoEvalCoord2)
