// __glMMXFillRun(code, dst, value, words, rows, skip), cdecl.
// The generated fill has a register convention of its own (edi, eax, ecx;
// ebx changed) and leaves MMX in use: this keeps ebx, esi, edi and ebp for
// the compiled caller and ends with emms so x87 code may follow.
#include "codegen/og_fill.h"

asm(R"(
        .pushsection .text.__glMMXFillRun, "ax", @progbits
        .intel_syntax noprefix
        .globl __glMMXFillRun
        .hidden __glMMXFillRun
        .type __glMMXFillRun, @function
        .p2align 4
__glMMXFillRun:
        push ebp
        push ebx
        push edi
        push esi
        mov esi, [esp + 20]
        mov edi, [esp + 24]
        mov eax, [esp + 28]
        mov ebp, [esp + 36]
        cmp dword ptr [esp + 32], 0
        je 2f
        test ebp, ebp
        je 2f
1:      mov ecx, [esp + 32]
        call esi
        add edi, [esp + 40]
        dec ebp
        jne 1b
2:      emms
        pop esi
        pop edi
        pop ebx
        pop ebp
        ret
        .size __glMMXFillRun, . - __glMMXFillRun
        .att_syntax prefix
        .popsection
)");
