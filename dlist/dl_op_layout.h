// How an op's data is laid out and recorded, for the routines generated
// from the op table and the ones written by hand.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <array>
#include <tuple>
#include <utility>

#include "core/context.h"
#include "core/gl_defs.h"
#include "dlist/dl_op.h"

// The parameters of a slot's signature.
template <typename F>
struct DlSig;
template <typename R, typename... A>
struct DlSig<R(A...)> {
  using Params = std::tuple<A...>;
  static constexpr size_t kArity = sizeof...(A);
};
template <typename F, size_t I>
using DlParam = std::tuple_element_t<I, typename DlSig<F>::Params>;

// Fields in their own widths, each at a multiple of its size; the whole
// rounded up to 4 bytes, or to 8 when it holds doubles (whose op data starts
// 8-aligned in the list).
template <typename... T>
struct DlLayout {
  static constexpr size_t kCount = sizeof...(T);
  static constexpr bool kAligned = (false || ... || (sizeof(T) == 8));
  static constexpr std::array<uint32_t, kCount + 1> Place() {
    std::array<uint32_t, kCount + 1> at{};
    const uint32_t sizes[] = {uint32_t(sizeof(T))..., 1};
    uint32_t offset = 0;
    for (size_t i = 0; i < kCount; ++i) {
      offset = (offset + sizes[i] - 1) / sizes[i] * sizes[i];
      at[i] = offset;
      offset += sizes[i];
    }
    const uint32_t unit = kAligned ? 8 : 4;
    at[kCount] = (offset + unit - 1) / unit * unit;
    return at;
  }
  static constexpr std::array<uint32_t, kCount + 1> kPlace = Place();
  static constexpr uint32_t kSize = kPlace[kCount];  // data bytes
};

template <typename T>
inline T DlGet(const GLubyte *at) {
  T value;
  memcpy(&value, at, sizeof value);
  return value;
}
template <typename T>
inline void DlPut(GLubyte *at, T value) {
  memcpy(at, &value, sizeof value);
}

inline uint32_t DlWord(const GLubyte *at) { return DlGet<uint32_t>(at); }

// The common compile pattern: an op of `size` data bytes with its code and
// aligned flag, its data written by `fill`, its contents flag, appended with
// its execute routine. Nothing is recorded when the op cannot be had (the
// allocator has recorded GL_OUT_OF_MEMORY).
template <typename Fill>
inline void __glDlistRecord(GlContext *gc, int16_t code, uint32_t size, bool aligned,
                            uint32_t contents, GlDlistExecProc execute, Fill fill) {
  GlDlistOp *op = __glDlistAllocOp2(gc, size);
  if (op == nullptr) return;
  op->opcode = code;
  op->aligned = aligned ? 1 : 0;
  fill(reinterpret_cast<GLubyte *>(op->data));
  gc->dlist.listRec.contents |= contents;
  __glDlistAppendOp(gc, op, execute);
}
