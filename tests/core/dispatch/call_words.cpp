#include "tests/core/dispatch/call_words.h"

// EDI keeps ESP from before the pushes: it is callee-saved, and a callee that
// broke it would also break the check below.
asm(R"(
  .text
  .globl CallWithWords
  .hidden CallWithWords
  .type CallWithWords, @function
CallWithWords:
  pushl %ebp
  pushl %ebx
  pushl %esi
  pushl %edi
  movl 20(%esp), %eax
  movl 24(%esp), %esi
  movl 28(%esp), %ecx
  movl %esp, %edi
1:
  testl %ecx, %ecx
  jz 2f
  pushl -4(%esi,%ecx,4)
  decl %ecx
  jmp 1b
2:
  movl $0x0B0B0B0B, %ebx
  movl $0x05050505, %esi
  movl $0x0E0E0E0E, %ebp
  call *%eax
  movl 32(%edi), %ecx
  movl %esp, %edx
  subl %edi, %edx
  movl %edx, 0(%ecx)
  movl %ebx, 4(%ecx)
  movl %esi, 8(%ecx)
  movl %ebp, 12(%ecx)
  movl %edi, %esp
  popl %edi
  popl %esi
  popl %ebx
  popl %ebp
  ret
  .size CallWithWords, . - CallWithWords
)");
