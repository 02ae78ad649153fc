// The API entry stubs, gl + X for every slot, in assembly: each reads the
// calling thread's current context and jumps through slot s of its `dispatch`
// with the caller's arguments and return address untouched. The entry
// procedure then pops the arguments and returns straight to the caller.
//
// A stub has no frame. The thread-local slot is initial-exec: its offset from
// the thread pointer (%gs) is fixed per process and kept in the GOT, so under
// -fPIC the stub finds the GOT first, through a call to a routine that loads
// its own return address. Only ECX is used, a scratch register of the
// callee-pops convention, so every register the entry procedure or the caller
// relies on (EAX, EDX and the callee-saved EBX, ESI, EDI, EBP) reaches the
// procedure as the caller left it; the call pushes below the caller's stack
// and pops again, leaving the arguments as they were.
//
//   call  __glStubGetPC                       ; ECX = address of the addl
//   addl  $_GLOBAL_OFFSET_TABLE_, %ecx        ; ECX = GOT
//   movl  __glCurrentContext@gotntpoff(%ecx), %ecx  ; offset of the slot from %gs:0
//   movl  %gs:(%ecx), %ecx                    ; the current context (one load)
//   jmp   *dispatch + 4 * (1 + s)(%ecx)
//
// When the stubs are linked into an executable the linker may turn the GOT
// load into an immediate offset; the sequence stays correct either way.
#include <stddef.h>

#include "core/context.h"
#include "core/current.h"
#include "core/gl_api.h"

#define GL_STUB_ASM(s, Name, words, list, Ret, params)            \
  ".globl gl" #Name "\n"                                          \
  ".hidden gl" #Name "\n"                                         \
  ".type gl" #Name ", @function\n"                                \
  ".p2align 4\n"                                                  \
  "gl" #Name ":\n"                                                \
  "\tcall __glStubGetPC\n"                                        \
  "\taddl $_GLOBAL_OFFSET_TABLE_, %%ecx\n"                        \
  "\tmovl __glCurrentContext@gotntpoff(%%ecx), %%ecx\n"           \
  "\tmovl %%gs:(%%ecx), %%ecx\n"                                  \
  "\tjmp *(%c0 + 4 + 4 * " #s ")(%%ecx)\n"                        \
  ".size gl" #Name ", . - gl" #Name "\n"

// The asm sits in a function only so that it can take the offset of
// `dispatch` as an operand; it switches to a section of its own and emits
// nothing into the function itself.
__attribute__((used)) static void __glEmitApiStubs() {
  asm volatile(
      ".pushsection .text.__glApiStubs, \"ax\", @progbits\n"
      ".p2align 4\n"
      ".type __glStubGetPC, @function\n"
      "__glStubGetPC:\n"
      "\tmovl (%%esp), %%ecx\n"
      "\tret\n"
      ".size __glStubGetPC, . - __glStubGetPC\n"
      GL_SLOTS(GL_STUB_ASM)
      ".popsection\n"
      :
      : "i"(offsetof(GlContext, dispatch)));
}
