// Compiled glCallList and glCallLists, and their execute routines.
#include "dlist/dl_list_ops.h"

#include <string.h>

#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "core/s_error.h"
#include "dlist/dl_call.h"
#include "dlist/dl_error_ops.h"
#include "dlist/dl_op.h"
#include "dlist/dl_opcodes.h"

namespace {

uint32_t Word(const GLubyte *p) {
  uint32_t w;
  memcpy(&w, p, 4);
  return w;
}

uint64_t RoundUp4(uint64_t bytes) { return (bytes + 3) & ~uint64_t(3); }

}  // namespace

const GLubyte *__glle_CallList(const GLubyte *data) {
  DoCallList(__glGetTLSCXValue(), Word(data));
  return data + 4;
}

const GLubyte *__glle_CallLists(const GLubyte *data) {
  const GLsizei n = GLsizei(Word(data));
  const GLenum type = Word(data + 4);
  DoCallLists(__glGetTLSCXValue(), n, type, data + 8);
  // Only n 0 is recorded with a refused type: no names follow it.
  const int32_t size = __glCallListsNameSize(type);
  return data + 8 + (size > 0 ? RoundUp4(uint64_t(n) * size) : 0);
}

void GLENTRY __gllc_CallList(GLuint list) {
  GlContext *gc = __glGetTLSCXValue();
  if (list == 0) {
    __gllc_InvalidEnum(gc);
    return;
  }
  GlDlistOp *op = __glDlistAllocOp2(gc, 4);
  if (op == nullptr) return;
  op->opcode = GL_DLOP_CallList;
  op->data[0] = list;
  __glDlistAppendOp(gc, op, __glle_CallList);
}

void GLENTRY __gllc_CallLists(GLsizei n, GLenum type, const GLvoid *lists) {
  GlContext *gc = __glGetTLSCXValue();
  if (n < 0) {
    __gllc_InvalidValue(gc);
    return;
  }
  // In 64 bits: n x 4 wraps in 32 for large n, and the op would claim
  // names it does not hold.
  const int64_t bytes = int64_t(n) * __glCallListsNameSize(type);
  if (bytes < 0) {
    __gllc_InvalidEnum(gc);
    return;
  }
  if (n > 0 && lists == nullptr) return;  // nothing to record or run
  const uint64_t size = 8 + RoundUp4(uint64_t(bytes));
  if (size > UINT32_MAX - GL_DLIST_OP_HEADER) {
    __glSetError(GL_OUT_OF_MEMORY);
    return;
  }
  GlDlistOp *op = __glDlistAllocOp2(gc, uint32_t(size));
  if (op == nullptr) return;
  op->opcode = GL_DLOP_CallLists;
  op->data[0] = uint32_t(n);
  op->data[1] = type;
  GLubyte *names = reinterpret_cast<GLubyte *>(op->data + 2);
  if (bytes > 0) memcpy(names, lists, size_t(bytes));
  // The pad is not the caller's: zeros keep the list's bytes defined.
  memset(names + bytes, 0, size_t(size - 8 - uint64_t(bytes)));
  __glDlistAppendOp(gc, op, __glle_CallLists);
}
