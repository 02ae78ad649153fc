// The interpreter of threaded code: each execute routine is called with the
// address of its data and returns the address of the next execute word.
#include <string.h>

#include "dlist/dl_dlist.h"

const GLubyte *__glle_Nop(const GLubyte *next) { return next; }

const GLubyte *__glle_Sentinel(const GLubyte *) { return nullptr; }

void __glDoInterpret(const uint32_t *code) {
  const GLubyte *pc = reinterpret_cast<const GLubyte *>(code);
  for (;;) {
    GlDlistExecProc execute;
    memcpy(&execute, pc, sizeof execute);
    if (execute == __glle_Sentinel) return;
    pc = execute(pc + 4);
  }
}
