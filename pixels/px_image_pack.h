// Span records that copy an image into client memory with the pack modes:
// the polygon stipple and texture levels read back by the queries.
#pragma once

#include "core/gl_defs.h"

struct GlContext;
struct GlPixelSpanInfo;

// The destination's pixel-store fields from the context's pack modes; the
// row length is the record's width when the pack row length is below 1.
void __glLoadPackModes(GlContext *gc, GlPixelSpanInfo *info);
// A width x height image of depth 1 whose source rows are packed (row length
// the width, alignment 4, nothing skipped), into `buffer` as format and type
// with the pack modes. The caller names the source's format, type and image.
void __glInitImagePack(GlContext *gc, GlPixelSpanInfo *info, GLint width, GLint height,
                       GLenum format, GLenum type, void *buffer);
// The destination of a texture read-back: sizes, format, type, image, then
// the pack modes.
void __glInitTexDestPack(GlContext *gc, GlPixelSpanInfo *info, GLint width, GLint height,
                         GLint depth, GLenum format, GLenum type, void *pixels);
