// Stand-ins for the image pickers and colour tables (pixels/px_image_standins.h).
#include "pixels/px_image_standins.h"

#include "core/s_standin.h"

void __glGenericPickCopyImage(GlContext *, GlPixelSpanInfo *, GLbool8)
    GL_STANDIN_VOID_BODY(__glGenericPickCopyImage)
void __glGenericPickStoreTexture(GlContext *, GlTextureObject *, GlPixelSpanInfo *, GLbool8)
    GL_STANDIN_VOID_BODY(__glGenericPickStoreTexture)
void __glGenericPickGetTexture(GlContext *, GlTextureObject *, GlPixelSpanInfo *, GLbool8)
    GL_STANDIN_VOID_BODY(__glGenericPickGetTexture)
void __glGenericPickReadImage(GlContext *, GlTextureObject *, GlPixelSpanInfo *)
    GL_STANDIN_VOID_BODY(__glGenericPickReadImage)

void __glColorTableEXT(GlContext *, GLenum, GLenum, GLsizei, GLenum, GLenum, const void *, GLbool8)
    GL_STANDIN_VOID_BODY(__glColorTableEXT)
void __glColorSubTableEXT(GlContext *, GLenum, GLsizei, GLsizei, GLenum, GLenum, const void *,
                          GLbool8) GL_STANDIN_VOID_BODY(__glColorSubTableEXT)
