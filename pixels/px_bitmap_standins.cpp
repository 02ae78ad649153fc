// Stand-in for the bitmap procedure (pixels/px_bitmap_standins.h).
#include "pixels/px_bitmap_standins.h"

#include "core/s_standin.h"

void __glDrawBitmap(GlContext *, GLsizei, GLsizei, GLfloat, GLfloat, GLfloat, GLfloat,
                    const GLubyte *) GL_STANDIN_VOID_BODY(__glDrawBitmap)
