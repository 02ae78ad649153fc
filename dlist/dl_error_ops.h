// Error ops: errors a compile routine finds are recorded as ops that raise
// the error each time the list runs.
#pragma once

#include "core/gl_defs.h"

struct GlContext;

void __gllc_InvalidValue(GlContext *gc);
void __gllc_InvalidEnum(GlContext *gc);
void __gllc_InvalidOperation(GlContext *gc);
void __gllc_TableTooLarge(GlContext *gc);
// The error op of `code` (GL_INVALID_ENUM, GL_INVALID_VALUE,
// GL_INVALID_OPERATION, GL_TABLE_TOO_LARGE_EXT); other codes record nothing.
void __gllc_Error(GlContext *gc, GLenum code);

const GLubyte *__glle_InvalidValue(const GLubyte *data);
const GLubyte *__glle_InvalidEnum(const GLubyte *data);
const GLubyte *__glle_InvalidOperation(const GLubyte *data);
const GLubyte *__glle_UnimplementedExtension(const GLubyte *data);
const GLubyte *__glle_TableTooLarge(const GLubyte *data);
