#include "dlist/dl_error_ops.h"

#include "core/s_error.h"
#include "dlist/dl_op.h"
#include "dlist/dl_opcodes.h"

const GLubyte *__glle_InvalidValue(const GLubyte *data) {
  __glSetError(GL_INVALID_VALUE);
  return data;
}

const GLubyte *__glle_InvalidEnum(const GLubyte *data) {
  __glSetError(GL_INVALID_ENUM);
  return data;
}

const GLubyte *__glle_InvalidOperation(const GLubyte *data) {
  __glSetError(GL_INVALID_OPERATION);
  return data;
}

const GLubyte *__glle_UnimplementedExtension(const GLubyte *data) {
  __glSetError(GL_INVALID_OPERATION);
  return data;
}

const GLubyte *__glle_TableTooLarge(const GLubyte *data) {
  __glSetError(GL_TABLE_TOO_LARGE_EXT);
  return data;
}

void __gllc_InvalidValue(GlContext *gc) {
  __glDlistAppendEmptyOp(gc, GL_DLOP_InvalidValue, __glle_InvalidValue);
}

void __gllc_InvalidEnum(GlContext *gc) {
  __glDlistAppendEmptyOp(gc, GL_DLOP_InvalidEnum, __glle_InvalidEnum);
}

void __gllc_InvalidOperation(GlContext *gc) {
  __glDlistAppendEmptyOp(gc, GL_DLOP_InvalidOperation, __glle_InvalidOperation);
}

void __gllc_TableTooLarge(GlContext *gc) {
  __glDlistAppendEmptyOp(gc, GL_DLOP_TableTooLarge, __glle_TableTooLarge);
}

void __gllc_Error(GlContext *gc, GLenum code) {
  switch (code) {
    case GL_INVALID_ENUM: __gllc_InvalidEnum(gc); break;
    case GL_INVALID_VALUE: __gllc_InvalidValue(gc); break;
    case GL_INVALID_OPERATION: __gllc_InvalidOperation(gc); break;
    case GL_TABLE_TOO_LARGE_EXT: __gllc_TableTooLarge(gc); break;
    default: break;
  }
}
