#include "pixels/px_pixel_standins.h"

#include "core/s_standin.h"

void __glOptPickDrawPixels(GlContext *gc, GLsizei width, GLsizei height, GLenum format,
                           GLenum type, const void *pixels, GLbool8 packed)
    GL_STANDIN_VOID_BODY(__glOptPickDrawPixels)

void __glSlowPickCopyPixels(GlContext *gc, GLint x, GLint y, GLsizei width, GLsizei height,
                            GLenum format) GL_STANDIN_VOID_BODY(__glSlowPickCopyPixels)

void __glSlowPickReadPixels(GlContext *gc, GLint x, GLint y, GLsizei width, GLsizei height,
                            GLenum format, GLenum type, void *pixels)
    GL_STANDIN_VOID_BODY(__glSlowPickReadPixels)

void __glSlowDrawPixelsStore(GlColorBuffer *cfb, const GlFragment *frag)
    GL_STANDIN_VOID_BODY(__glSlowDrawPixelsStore)

void __glOptPickRenderBitmapProcs(GlContext *gc) GL_STANDIN_VOID_BODY(__glOptPickRenderBitmapProcs)

void __glRenderBitmap(GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits)
    GL_STANDIN_VOID_BODY(__glRenderBitmap)
