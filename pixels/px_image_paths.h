// The image paths: span chains between two memory images (texture levels,
// colour tables, client images) and from the frame buffer into a memory
// image, in the four image-picker slots of the procedure table, and the
// set-up of the records they run.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;
struct GlPixelSpanInfo;
struct GlTextureObject;

// Each picks a chain for the move `info` describes and runs it. A memory
// chain always has a stage: an empty one gets the plain row copy.
void __glGenericPickCopyImage(GlContext *gc, GlPixelSpanInfo *info, GLbool8 applyModify);
// As the copy, then the format's extra store stage when it has one.
void __glGenericPickStoreTexture(GlContext *gc, GlTextureObject *tex, GlPixelSpanInfo *info,
                                 GLbool8 applyModify);
// The format's extra get stage first when it has one, then as the copy.
void __glGenericPickGetTexture(GlContext *gc, GlTextureObject *tex, GlPixelSpanInfo *info,
                               GLbool8 applyModify);
// Frame buffer to memory (copy-texture, copy-colour-table): the caller
// clips and holds the read buffer's lock.
void __glGenericPickReadImage(GlContext *gc, GlTextureObject *tex, GlPixelSpanInfo *info);

// The source block of a client image, with the unpack modes (or dense
// when packed).
void __glInitMemUnpack(GlContext *gc, GlPixelSpanInfo *info, GLint width, GLint height,
                       GLint depth, GLenum format, GLenum type, const void *pixels,
                       GLbool8 packed);
// The destination block of a client image, with the pack modes.
void __glInitMemPack(GlContext *gc, GlPixelSpanInfo *info, GLint width, GLint height,
                     GLint depth, GLenum format, GLenum type, void *pixels);
// A frame-buffer source at drawable (x, y), read as RGBA or colour index
// by the context's mode.
void __glInitReadImageSrcInfo(GlContext *gc, GlPixelSpanInfo *info, GLint x, GLint y,
                              GLint width, GLint height);
// The source block of a float image in a texture internal format.
void __glInitMemGet(GlContext *gc, GlPixelSpanInfo *info, GLint width, GLint unused,
                    GLenum internalFormat, const void *image);
// The memory format of a texture internal format's float image.
GLenum __glMemGetFormat(GLenum internalFormat);
