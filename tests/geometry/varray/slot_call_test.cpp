// The compile and drawing slots are entered as generated code enters them:
// context in ECX, second argument in EDX, the rest on the stack and removed
// by the callee, EBX, ESI, EDI and EBP kept.
#include <gtest/gtest.h>

#include <stdint.h>

#include <initializer_list>
#include <vector>

#include "geometry/s_varray.h"
#include "geometry/s_varray_compile.h"
#include "geometry/s_varray_draw.h"
#include "tests/geometry/varray/prim_stream.h"
#include "tests/geometry/varray/varray_fixture.h"

// out: ebx, esi, edi, ebp after the call, then esp after it minus esp
// before the stack arguments were pushed.
extern "C" void VarrayCallFastcall(const void *routine, uint32_t ecx, uint32_t edx,
                                   const uint32_t *stack, uint32_t count, int32_t out[5]);

asm(R"(
        .text
        .globl VarrayCallFastcall
        .type VarrayCallFastcall, @function
VarrayCallFastcall:
        pushl %ebp
        pushl %ebx
        pushl %esi
        pushl %edi
        movl 40(%esp), %eax
        pushl %eax
        movl %esp, 16(%eax)
        movl 40(%esp), %ecx
        movl 36(%esp), %esi
        leal (%esi,%ecx,4), %edx
1:      testl %ecx, %ecx
        jz 2f
        subl $4, %edx
        pushl (%edx)
        decl %ecx
        jmp 1b
2:      movl 16(%eax), %ebx
        movl 24(%ebx), %eax
        movl 28(%ebx), %ecx
        movl 32(%ebx), %edx
        movl $0x1B1B1B1B, %ebx
        movl $0x2E2E2E2E, %esi
        movl $0x3D3D3D3D, %edi
        movl $0x4B4B4B4B, %ebp
        call *%eax
        movl (%esp), %eax
        movl %ebx, 0(%eax)
        movl %esi, 4(%eax)
        movl %edi, 8(%eax)
        movl %ebp, 12(%eax)
        movl %esp, %ecx
        subl 16(%eax), %ecx
        movl %ecx, 16(%eax)
        popl %eax
        popl %edi
        popl %esi
        popl %ebx
        popl %ebp
        ret
        .size VarrayCallFastcall, .-VarrayCallFastcall
)");

namespace varray_test {
namespace {

template <typename T>
uint32_t Word(T p) {
  return uint32_t(reinterpret_cast<uintptr_t>(p));
}

template <typename F>
void Call(F *routine, uint32_t ecx, uint32_t edx, std::initializer_list<uint32_t> stack) {
  const std::vector<uint32_t> words(stack);
  int32_t out[5] = {};
  VarrayCallFastcall(reinterpret_cast<const void *>(routine), ecx, edx, words.data(),
                     uint32_t(words.size()), out);
  EXPECT_EQ(uint32_t(out[0]), 0x1B1B1B1Bu);
  EXPECT_EQ(uint32_t(out[1]), 0x2E2E2E2Eu);
  EXPECT_EQ(uint32_t(out[2]), 0x3D3D3D3Du);
  EXPECT_EQ(uint32_t(out[3]), 0x4B4B4B4Bu);
  EXPECT_EQ(out[4], 0) << "the callee removes its stack arguments";
}

class SlotCalls : public VarrayTest {};

TEST_F(SlotCalls, CompileAndDrawSlotsTakeTheRegisterConvention) {
  static GLfloat positions[3 * 8];
  for (int i = 0; i < 8; ++i) {
    positions[3 * i] = GLfloat(i) / 10.0f;
    positions[3 * i + 1] = GLfloat(i % 2) / 10.0f;
    positions[3 * i + 2] = prim_stream::ZOf(i);
  }
  glVertexPointer(3, GL_FLOAT, 0, positions);
  glEnableClientState(GL_VERTEX_ARRAY);
  ValidatePending();
  prim_stream::Install(gc);
  GlVertexArrayMachine &va = gc->vertexArray;
  const uint32_t ctx = Word(gc);

  Call(va.compileProc, ctx, 0, {4, 3});
  EXPECT_EQ(prim_stream::IdOf(__glVarrayBatchVertex(va, 0)), 4);
  EXPECT_EQ(prim_stream::IdOf(__glVarrayBatchVertex(va, 2)), 6);

  static const uint32_t list[] = {7, 1};
  Call(va.compileIndexed, ctx, 5, {0, 2, Word(list)});
  EXPECT_EQ(prim_stream::IdOf(__glVarrayBatchVertex(va, 5)), 7);
  EXPECT_EQ(prim_stream::IdOf(__glVarrayBatchVertex(va, 6)), 1);

  GlVertex *v = __glVarrayBatchVertex(va, 9);
  Call(va.compileSilhouette, ctx, Word(v), {3});
  EXPECT_EQ(prim_stream::IdOf(v), 3);

  Call(va.compileNoCull, ctx, 10, {2, 1});
  EXPECT_EQ(prim_stream::IdOf(__glVarrayBatchVertex(va, 10)), 2);

  prim_stream::Take();
  Call(va.drawVertexes[GL_TRIANGLES], ctx, 0, {6, 0});
  EXPECT_EQ(prim_stream::Take().size(), 2u);
  Call(va.drawVertexes[GL_LINE_STRIP], ctx, 0, {2, Word(list)});
  EXPECT_EQ(prim_stream::Take().size(), 1u);

  GlVertex *a = __glVarrayBatchVertex(va, 0);
  a[1].has |= __GL_CLIP_LEFT;  // mixed codes: to the clipper
  Call(__glDoClipTriangle, ctx, Word(&a[0]), {Word(&a[1]), Word(&a[2])});
  const std::vector<prim_stream::Call> calls = prim_stream::Take();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].kind, "clipTriangle");
  Call(__glCompileElements_NoCopy, ctx, 0, {0, 3});
}

}  // namespace
}  // namespace varray_test
