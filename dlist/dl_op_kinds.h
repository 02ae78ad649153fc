// The compile and execute routines of the op kinds of the op table, as
// templates over the slot they record and the slot they replay through.
// Execute routines fetch the thread's context and call its current
// dispatch table, never an immediate routine.
#pragma once

#include <tuple>
#include <utility>

#include "core/current.h"
#include "core/dispatch.h"
#include "dlist/dl_error_ops.h"
#include "dlist/dl_op_layout.h"

// Where an op is recorded and how it is replayed.
struct DlOpRow {
  int16_t code;
  uint32_t contents;
  GlDlistExecProc execute;
};

template <typename Fill>
inline void DlRecordRow(const DlOpRow &row, uint32_t size, bool aligned, Fill fill) {
  __glDlistRecord(__glGetTLSCXValue(), row.code, size, aligned, row.contents, row.execute, fill);
}

// The arguments by value, stored in `Order` (parameter indices); replayed
// in parameter order through `Slot`.
template <auto Slot, typename Sig, typename Order>
struct DlValueOp;
template <auto Slot, typename R, typename... A, size_t... P>
struct DlValueOp<Slot, R(A...), std::index_sequence<P...>> {
  static_assert(sizeof...(P) == sizeof...(A), "every argument is stored once");
  using Params = std::tuple<A...>;
  using Layout = DlLayout<std::tuple_element_t<P, Params>...>;

  static constexpr size_t FieldOf(size_t param) {
    const size_t order[] = {P..., 0};
    for (size_t k = 0; k < sizeof...(P); ++k)
      if (order[k] == param) return k;
    return 0;
  }

  static void Compile(const DlOpRow &row, A... a) {
    DlRecordRow(row, Layout::kSize, Layout::kAligned, [&](GLubyte *data) {
      memset(data, 0, Layout::kSize);  // the pad is nobody's
      const Params args(a...);
      (void)args;  // no arguments: nothing to store
      size_t k = 0;
      (DlPut(data + Layout::kPlace[k++], std::get<P>(args)), ...);
    });
  }

  template <size_t... I>
  static const GLubyte *Replay(const GLubyte *data, std::index_sequence<I...>) {
    GlContext *gc = __glGetTLSCXValue();
    (gc->dispatch.*Slot)(DlGet<A>(data + Layout::kPlace[FieldOf(I)])...);
    return data + Layout::kSize;
  }
  static const GLubyte *Execute(const GLubyte *data) {
    return Replay(data, std::index_sequence_for<A...>{});
  }
};

// N components of type T in their own width, replayed through the vector
// slot `Slot` with a pointer into the list.
template <auto Slot, typename T, size_t N>
struct DlArrayOp {
  static constexpr uint32_t kBytes = uint32_t(N * sizeof(T));
  static constexpr bool kAligned = sizeof(T) == 8;
  static constexpr uint32_t kSize = (kBytes + (kAligned ? 7 : 3)) & ~uint32_t(kAligned ? 7 : 3);

  static void Store(GLubyte *data, const T *v) {
    memcpy(data, v, kBytes);
    memset(data + kBytes, 0, kSize - kBytes);
  }
  static void Compile(const DlOpRow &row, const T *v) {
    if (v == nullptr) return;  // the immediate entry does nothing either
    DlRecordRow(row, kSize, kAligned, [&](GLubyte *data) { Store(data, v); });
  }
  template <typename... S>
  static void CompileScalar(const DlOpRow &row, S... s) {
    static_assert(sizeof...(S) == N, "one value per component");
    const T v[N] = {s...};
    Compile(row, v);
  }
  // glRect: two corners of N / 2 components.
  static void CompileCorners(const DlOpRow &row, const T *v1, const T *v2) {
    if (v1 == nullptr || v2 == nullptr) return;
    T v[N];
    memcpy(v, v1, kBytes / 2);
    memcpy(v + N / 2, v2, kBytes / 2);
    Compile(row, v);
  }

  static const GLubyte *Execute(const GLubyte *data) {
    GlContext *gc = __glGetTLSCXValue();
    (gc->dispatch.*Slot)(reinterpret_cast<const T *>(data));
    return data + kSize;
  }
  static const GLubyte *ExecuteCorners(const GLubyte *data) {
    GlContext *gc = __glGetTLSCXValue();
    const T *v = reinterpret_cast<const T *>(data);
    (gc->dispatch.*Slot)(v, v + N / 2);
    return data + kSize;
  }
};

// The shape of a pname vector slot: one or two enums (the last is the
// pname), then a pointer to the values.
template <typename Sig>
struct DlPnameShape;
template <typename R, typename T>
struct DlPnameShape<R(GLenum, const T *)> {
  static constexpr size_t kLead = 1;
  using Value = T;
};
template <typename R, typename T>
struct DlPnameShape<R(GLenum, GLenum, const T *)> {
  static constexpr size_t kLead = 2;
  using Value = T;
};

// The check a pname op makes before counting: 0 or the error to compile.
struct NoCheck {
  template <typename T, size_t L>
  static GLenum Error(const std::array<GLenum, L> &, const T *) {
    return 0;
  }
};

// The enum words, then as many values as `Count` gives for the pname;
// replayed through `Slot` with a pointer to the values, the size counted
// again from the stored pname.
template <auto Slot, typename Sig, GLint (*Count)(GLenum), typename Check>
struct DlPnameOp {
  static constexpr size_t kLead = DlPnameShape<Sig>::kLead;
  using T = typename DlPnameShape<Sig>::Value;
  using Enums = std::array<GLenum, kLead>;
  static constexpr uint32_t kLeadBytes = 4 * kLead;
  static constexpr bool kAligned = sizeof(T) == 8;
  static_assert(kLeadBytes % sizeof(T) == 0, "the values follow the enums at their own alignment");

  template <typename Args, size_t... I>
  static Enums Lead(const Args &args, std::index_sequence<I...>) {
    return {GLenum(std::get<I>(args))...};
  }

  static void CompileWith(const DlOpRow &row, const Enums &e, const T *params) {
    if (params == nullptr) return;  // the immediate entry does nothing either
    GlContext *gc = __glGetTLSCXValue();
    const GLenum error = Check::Error(e, params);
    if (error != 0) {
      __gllc_Error(gc, error);
      return;
    }
    const GLint n = Count(e[kLead - 1]);
    if (n < 0) {
      __gllc_InvalidEnum(gc);
      return;
    }
    DlRecordRow(row, kLeadBytes + uint32_t(n) * sizeof(T), kAligned, [&](GLubyte *data) {
      memcpy(data, e.data(), kLeadBytes);
      memcpy(data + kLeadBytes, params, n * sizeof(T));
    });
  }
  template <typename... X>
  static void Compile(const DlOpRow &row, X... x) {
    static_assert(sizeof...(X) == kLead + 1, "the enums and the values");
    const std::tuple<X...> args(x...);
    CompileWith(row, Lead(args, std::make_index_sequence<kLead>{}), std::get<kLead>(args));
  }

  // A scalar form: a pname of one value only, else an InvalidEnum op; then
  // the vector form's compile routine with the value's address.
  template <typename Vector, typename... X>
  static void CompileScalar(Vector vector, X... x) {
    static_assert(sizeof...(X) == kLead + 1, "the enums and the value");
    const std::tuple<X...> args(x...);
    const Enums e = Lead(args, std::make_index_sequence<kLead>{});
    if (Count(e[kLead - 1]) != 1) {
      __gllc_InvalidEnum(__glGetTLSCXValue());
      return;
    }
    const T param = std::get<kLead>(args);
    CallVector(vector, e, &param, std::make_index_sequence<kLead>{});
  }
  template <typename Vector, size_t... I>
  static void CallVector(Vector vector, const Enums &e, const T *param, std::index_sequence<I...>) {
    vector(e[I]..., param);
  }

  template <size_t... I>
  static const GLubyte *Replay(const GLubyte *data, std::index_sequence<I...>) {
    GlContext *gc = __glGetTLSCXValue();
    (gc->dispatch.*Slot)(GLenum(DlWord(data + 4 * I))...,
                         reinterpret_cast<const T *>(data + kLeadBytes));
    const GLint n = Count(DlWord(data + kLeadBytes - 4));
    return data + kLeadBytes + uint32_t(n) * sizeof(T);
  }
  static const GLubyte *Execute(const GLubyte *data) {
    return Replay(data, std::make_index_sequence<kLead>{});
  }
};
