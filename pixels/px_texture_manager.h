// The generic texture manager's per-object procedures.
#pragma once

#include <stddef.h>

#include "pixels/px_texture.h"

// A new object of the target with every level empty and one reference;
// none when memory runs out (nothing is left allocated).
GlTextureObject *__glCreateTexture(GlContext *gc, GLuint name, int32_t targetIndex);
// The same for a device manager whose objects and levels are larger
// records beginning with the generic ones: zeroed blocks of these sizes,
// set up with the generic procedures for the manager to replace.
GlTextureObject *__glAllocTextureObject(GlContext *gc, GLuint name, int32_t targetIndex,
                                        size_t objectSize, size_t levelSize);
// Releases an object whose count has reached 0, its images included.
void __glFreeTexture(GlContext *gc, GlTextureObject *tex);
// Deletes every level through the object's procedure and frees the colour
// table, the level records, the pointer array and the object.
void __glFreeTextureRecords(GlContext *gc, GlTextureObject *tex);
GLbool8 __glTextureMakeResident(GlContext *gc, GlTextureObject *tex, uint32_t flag);
void __glTextureRemoveResident(GlContext *gc, GlTextureObject *tex);
// Defines a level and gives it storage; returns the image, or none after
// recording GL_INVALID_VALUE (too large) or GL_OUT_OF_MEMORY (the level is
// then empty).
uint8_t *__glTextureCreateLevel(GlContext *gc, GlTextureObject *tex, GLint level,
                                GLenum internalFormat, GLint width, GLint height, GLint depth,
                                GLint border, GLint dim);
// Describes the level when the texture would fit, else zeroes it; never
// allocates, records nothing and returns none.
uint8_t *__glTextureCreateProxyLevel(GlContext *gc, GlTextureObject *tex, GLint level,
                                     GLenum internalFormat, GLint width, GLint height,
                                     GLint depth, GLint border, GLint dim);
// Frees the level's image and cooked copy; the description stays.
void __glTextureDeleteLevel(GlContext *gc, GlTextureObject *tex, GLint level);
void __glCopyTexImage(GlContext *gc, GlPixelSpanInfo *info, GlTextureObject *tex, GLint level);
void __glReadTexImage(GlContext *gc, GlPixelSpanInfo *info, GlTextureObject *tex, GLint level);
// Sets the level to the empty form, keeping its image pointers.
void __glEmptyTextureLevel(GlTextureLevel *level);
