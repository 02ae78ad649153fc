// The run harness: calls generated code with sentinels in the registers a
// compiled caller expects kept, ecx and edx as the caller gives them, and
// records every register and the flags after the call. Its state lives in
// static slots, so a routine that moves esp cannot lose the way back. Not
// for several threads at once.
#include "tests/codegen/emitter/og_support.h"

asm(R"(
        .pushsection .data.OgCallSlots, "aw", @progbits
        .p2align 2
OgCallSlots:
        .long 0, 0, 0, 0
        .popsection

        .pushsection .text.OgCallChecked, "ax", @progbits
        .globl OgCallCheckedFast
        .type OgCallCheckedFast, @function
        .p2align 4
OgCallCheckedFast:
        pushl %ebp
        pushl %ebx
        pushl %esi
        pushl %edi
        call 9f
9:      popl %ebx
        addl $_GLOBAL_OFFSET_TABLE_+(.-9b), %ebx
        leal OgCallSlots@GOTOFF(%ebx), %ebx
        movl %esp, 12(%ebx)
        movl 20(%esp), %eax
        movl %eax, 8(%ebx)
        movl 32(%esp), %eax
        movl %eax, 4(%ebx)
        movl 24(%esp), %esi
        movl 28(%esp), %ecx
        leal (%esi,%ecx,4), %edx
1:      testl %ecx, %ecx
        je 2f
        subl $4, %edx
        pushl (%edx)
        decl %ecx
        jmp 1b
2:      movl %esp, (%ebx)
        movl 12(%ebx), %eax
        movl 36(%eax), %ecx
        movl 40(%eax), %edx
        movl 8(%ebx), %eax
        movl $0x1B1B1B1B, %ebx
        movl $0x2E2E2E2E, %esi
        movl $0x3D3D3D3D, %edi
        movl $0x4B4B4B4B, %ebp
        call *%eax
        pushl %edx
        pushl %eax
        pushfl
        call 8f
8:      popl %eax
        addl $_GLOBAL_OFFSET_TABLE_+(.-8b), %eax
        leal OgCallSlots@GOTOFF(%eax), %eax
        movl 4(%eax), %edx
        movl %ebx, 8(%edx)
        movl %esi, 12(%edx)
        movl %edi, 16(%edx)
        movl %ebp, 20(%edx)
        popl %ecx
        movl %ecx, 56(%edx)
        popl %ecx
        movl %ecx, (%edx)
        popl %ecx
        movl %ecx, 4(%edx)
        movl %esp, %ecx
        subl (%eax), %ecx
        movl %ecx, 24(%edx)
        fnstenv 28(%edx)
        fldenv 28(%edx)
        movl 12(%eax), %esp
        popl %edi
        popl %esi
        popl %ebx
        popl %ebp
        ret
        .size OgCallCheckedFast, . - OgCallCheckedFast
        .popsection
)");

void OgCallChecked(const void *routine, const uint32_t *args, uint32_t count,
                   OgCallResult *result) {
  OgCallCheckedFast(routine, args, count, result, 0, 0);
}

namespace {

void ExpectKept(const OgCallResult &r, int32_t espDelta) {
  EXPECT_EQ(r.ebx, kSentinelEbx);
  EXPECT_EQ(r.esi, kSentinelEsi);
  EXPECT_EQ(r.edi, kSentinelEdi);
  EXPECT_EQ(r.ebp, kSentinelEbp);
  EXPECT_EQ(r.espDelta, espDelta);
  EXPECT_EQ(r.fpuEnvironment[4], 0xFFFF) << "x87 registers left in use (tag word)";
}

}  // namespace

uint32_t RunChecked(const void *routine, std::initializer_list<uint32_t> args) {
  std::vector<uint32_t> words(args);
  OgCallResult r = {};
  OgCallChecked(routine, words.data(), uint32_t(words.size()), &r);
  ExpectKept(r, 0);
  return r.eax;
}

OgCallResult RunFastChecked(const void *routine, uint32_t ecxValue, uint32_t edxValue,
                            std::initializer_list<uint32_t> args) {
  std::vector<uint32_t> words(args);
  OgCallResult r = {};
  OgCallCheckedFast(routine, words.data(), uint32_t(words.size()), &r, ecxValue, edxValue);
  // The callee removes its stack words.
  ExpectKept(r, int32_t(4 * words.size()));
  EXPECT_EQ(r.eflags & 0x400u, 0u) << "direction flag left set";
  return r;
}
