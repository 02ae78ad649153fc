// Texture images: the span records that make a level the source or the
// destination of a chain, the argument checks of the image commands, and
// the display-list forms of glTexImage and glTexSubImage, which take the
// context first and an image the list holds packed.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;
struct GlPixelSpanInfo;
struct GlTextureLevel;
struct GlTextureObject;

// The source block of a client image for a level: sizes, format, type and
// image, then the unpack modes (dense when packed).
void __glInitTexSourceUnpack(GlContext *gc, GlPixelSpanInfo *info, GLint width, GLint height,
                             GLint depth, GLenum format, GLenum type, const void *image,
                             GLbool8 packed);
// The destination block as the level keeps it: its image in the storage
// format, type and row alignment, rows of the level's width; a 1D level's
// texels are the row past the border.
void __glInitTexImageStore(GlContext *gc, GlPixelSpanInfo *info, GlTextureObject *tex,
                           GLint level);
// The same, starting at interior texel (xoffset, yoffset); zoffset is not
// used.
void __glInitTexSubImageStore(GlContext *gc, GlPixelSpanInfo *info, GlTextureObject *tex,
                              GLint level, GLint xoffset, GLint yoffset, GLint zoffset);
// The level as the source of a read-back, described as the store describes
// it.
void __glInitTexImageGet(GlContext *gc, GlPixelSpanInfo *info, GlTextureObject *tex, GLint level);

// The checks return the target's bound object, or none after recording the
// first error in their fixed order.
GlTextureObject *__glCheckTexImage1DArgs(GlContext *gc, GLenum target, GLint level,
                                         GLint internalFormat, GLsizei width, GLint border,
                                         GLenum format, GLenum type);
GlTextureObject *__glCheckTexImage2DArgs(GlContext *gc, GLenum target, GLint level,
                                         GLint internalFormat, GLsizei width, GLsizei height,
                                         GLint border, GLenum format, GLenum type);
GlTextureObject *__glCheckCopyTexImageArgs(GlContext *gc, GLenum target, GLint level,
                                           GLenum internalFormat, GLint x, GLint y,
                                           GLsizei width, GLsizei height, GLint border,
                                           GLint dim);
GlTextureObject *__glCheckTexSubImage1DArgs(GlContext *gc, GLenum target, GLint level,
                                            GLint xoffset, GLsizei width, GLenum format,
                                            GLenum type);
GlTextureObject *__glCheckTexSubImage2DArgs(GlContext *gc, GLenum target, GLint level,
                                            GLint xoffset, GLint yoffset, GLsizei width,
                                            GLsizei height, GLenum format, GLenum type);
GlTextureObject *__glCheckCopyTexSubImageArgs(GlContext *gc, GLenum target, GLint level,
                                              GLint xoffset, GLint yoffset, GLint zoffset,
                                              GLint x, GLint y, GLsizei width, GLsizei height,
                                              GLint dim);

// The bodies the display-list execute routines call: the immediate
// commands with the image read as packed.
void __gllei_TexImage1D(GlContext *gc, GLenum target, GLint level, GLint internalFormat,
                        GLsizei width, GLint border, GLenum format, GLenum type,
                        const GLvoid *pixels);
void __gllei_TexImage2D(GlContext *gc, GLenum target, GLint level, GLint internalFormat,
                        GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type,
                        const GLvoid *pixels);
void __gllei_TexSubImage1D(GlContext *gc, GLenum target, GLint level, GLint xoffset,
                           GLsizei width, GLenum format, GLenum type, const GLvoid *pixels);
void __gllei_TexSubImage2D(GlContext *gc, GLenum target, GLint level, GLint xoffset,
                           GLint yoffset, GLsizei width, GLsizei height, GLenum format,
                           GLenum type, const GLvoid *pixels);
