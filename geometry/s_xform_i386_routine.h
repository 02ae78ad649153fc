// How the hand-written x87 and 3DNow! routines are placed. A naked function
// is not enough: GCC still adds code of its own to one (at -O0 with -fPIC it
// sets up the PIC register ahead of the body) and does not support operands
// in its asm. So each routine is assembled from inside a function that is
// never called, into a text section of its own, under the symbol of the
// declared procedure: whatever the compiler adds to the enclosing function
// stays out of the routine.
//
//   ASM_ROUTINE(__glI386XForm3, "...text...\n")
//   ASM_ROUTINE(__glI386ClipCheckFrustum, "...%c[has]...\n", [has] "i"(...))
//
// The text is intel syntax and ends with its own return; further operands
// (compile-time constants) follow it.
#pragma once

#define ASM_ROUTINE_JOIN2(a, b) a##b
#define ASM_ROUTINE_JOIN(a, b) ASM_ROUTINE_JOIN2(a, b)

#define ASM_ROUTINE_OPEN                                   \
  ".pushsection .text.%p[routine], \"ax\", @progbits\n"   \
  ".globl %p[routine]\n"                                   \
  ".hidden %p[routine]\n"                                  \
  ".type %p[routine], @function\n"                         \
  ".p2align 4\n"                                           \
  "%p[routine]:\n"                                         \
  ".intel_syntax noprefix\n"
#define ASM_ROUTINE_CLOSE                  \
  ".att_syntax prefix\n"                   \
  ".size %p[routine], . - %p[routine]\n"   \
  ".popsection\n"

#define ASM_ROUTINE(procedure, text, ...)                                                  \
  __attribute__((used)) static void ASM_ROUTINE_JOIN(EmitRoutine_, procedure)() {          \
    asm volatile(ASM_ROUTINE_OPEN text ASM_ROUTINE_CLOSE                                   \
                 :                                                                         \
                 : [routine] "X"(procedure) __VA_OPT__(, ) __VA_ARGS__);                   \
  }
