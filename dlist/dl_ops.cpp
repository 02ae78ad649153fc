// The compile and execute routines generated from the op table: every row
// whose data is the call's arguments (by value, as a vector, as two
// corners, or as a pname and its values), and the glBegin modes.
#include "dlist/dl_ops.h"

#include <type_traits>

#include "core/gl_entries.h"
#include "core/s_setters.h"
#include "dlist/dl_op_kinds.h"
#include "dlist/dl_opcodes.h"
#include "pixels/px_texparam_size.h"

namespace {

// glMaterial's own checks come before the count.
struct MaterialCheck {
  template <typename T>
  static GLenum Error(const std::array<GLenum, 2> &e, const T *params) {
    return __glErrorCheckMaterial(e[0], e[1], GLfloat(params[0]));
  }
};

template <typename F>
using DlElement = std::remove_const_t<std::remove_pointer_t<DlParam<F, 0>>>;

}  // namespace

#define DL_P(Name, i) DlParam<GlSig_##Name, i>
#define DL_PARAMS_0(N) (void)
#define DL_PARAMS_1(N) (DL_P(N, 0) a0)
#define DL_PARAMS_2(N) (DL_P(N, 0) a0, DL_P(N, 1) a1)
#define DL_PARAMS_3(N) (DL_P(N, 0) a0, DL_P(N, 1) a1, DL_P(N, 2) a2)
#define DL_PARAMS_4(N) (DL_P(N, 0) a0, DL_P(N, 1) a1, DL_P(N, 2) a2, DL_P(N, 3) a3)
#define DL_PARAMS_5(N) (DL_P(N, 0) a0, DL_P(N, 1) a1, DL_P(N, 2) a2, DL_P(N, 3) a3, DL_P(N, 4) a4)
#define DL_PARAMS_6(N) \
  (DL_P(N, 0) a0, DL_P(N, 1) a1, DL_P(N, 2) a2, DL_P(N, 3) a3, DL_P(N, 4) a4, DL_P(N, 5) a5)
#define DL_PARAMS_7(N)                                                                        \
  (DL_P(N, 0) a0, DL_P(N, 1) a1, DL_P(N, 2) a2, DL_P(N, 3) a3, DL_P(N, 4) a4, DL_P(N, 5) a5, \
   DL_P(N, 6) a6)
#define DL_PARAMS_8(N)                                                                        \
  (DL_P(N, 0) a0, DL_P(N, 1) a1, DL_P(N, 2) a2, DL_P(N, 3) a3, DL_P(N, 4) a4, DL_P(N, 5) a5, \
   DL_P(N, 6) a6, DL_P(N, 7) a7)
#define DL_ARGS_0
#define DL_ARGS_1 , a0
#define DL_ARGS_2 , a0, a1
#define DL_ARGS_3 , a0, a1, a2
#define DL_ARGS_4 , a0, a1, a2, a3
#define DL_ARGS_5 , a0, a1, a2, a3, a4
#define DL_ARGS_6 , a0, a1, a2, a3, a4, a5
#define DL_ARGS_7 , a0, a1, a2, a3, a4, a5, a6
#define DL_ARGS_8 , a0, a1, a2, a3, a4, a5, a6, a7
#define DL_EXPAND(...) __VA_ARGS__

// The arity written in a row is the slot's: a wrong one would define an
// overload and leave the slot's routine missing.
#define DL_ARITY(Name, arity) \
  static_assert(DlSig<GlSig_##Name>::kArity == arity, "arity of gl" #Name);

// An op type, its execute routine, its row.
#define DL_OP(OpName, Type, contents)                                                  \
  using DlOp_##OpName = Type;                                                          \
  const GLubyte *__glle_##OpName(const GLubyte *data) { return DlOp_##OpName::Execute(data); } \
  namespace {                                                                          \
  constexpr DlOpRow kRow_##OpName = {GL_DLOP_##OpName, contents, __glle_##OpName};     \
  }

#define DL_VALUE_ORDER(Name, arity, Order)                                          \
  DL_ARITY(Name, arity)                                                             \
  DL_OP(Name, DL_EXPAND(DlValueOp<&GlDispatchState::Name, GlSig_##Name, Order>), 0) \
  void GLENTRY __gllc_##Name DL_PARAMS_##arity(Name) {                              \
    DlOp_##Name::Compile(kRow_##Name DL_ARGS_##arity);                              \
  }

#define DL_GEN_VALUE(Name, arity) DL_VALUE_ORDER(Name, arity, std::make_index_sequence<arity>)
#define DL_GEN_ORDERED(Name, arity, order) \
  DL_VALUE_ORDER(Name, arity, std::index_sequence<DL_EXPAND order>)

#define DL_GEN_VECTOR(Name, arity, contents)                                                   \
  DL_ARITY(Name, arity)                                                                        \
  DL_OP(Name##v,                                                                               \
        DL_EXPAND(DlArrayOp<&GlDispatchState::Name##v, DlElement<GlSig_##Name##v>, arity>),   \
        contents)                                                                              \
  void GLENTRY __gllc_##Name DL_PARAMS_##arity(Name) {                                         \
    DlOp_##Name##v::CompileScalar(kRow_##Name##v DL_ARGS_##arity);                             \
  }                                                                                            \
  void GLENTRY __gllc_##Name##v DL_PARAMS_1(Name##v) { DlOp_##Name##v::Compile(kRow_##Name##v, a0); }

#define DL_GEN_ARRAY(Name, count)                                                           \
  DL_OP(Name, DL_EXPAND(DlArrayOp<&GlDispatchState::Name, DlElement<GlSig_##Name>, count>), 0) \
  void GLENTRY __gllc_##Name DL_PARAMS_1(Name) { DlOp_##Name::Compile(kRow_##Name, a0); }

// Execute routines of the corner ops take the two corners.
#define DL_GEN_RECT(Name)                                                                 \
  using DlOp_##Name##v = DlArrayOp<&GlDispatchState::Name##v, DlElement<GlSig_##Name##v>, 4>; \
  const GLubyte *__glle_##Name##v(const GLubyte *data) {                                  \
    return DlOp_##Name##v::ExecuteCorners(data);                                          \
  }                                                                                       \
  namespace {                                                                             \
  constexpr DlOpRow kRow_##Name##v = {GL_DLOP_##Name##v, 0x40, __glle_##Name##v};         \
  }                                                                                       \
  void GLENTRY __gllc_##Name DL_PARAMS_4(Name) {                                          \
    DlOp_##Name##v::CompileScalar(kRow_##Name##v DL_ARGS_4);                              \
  }                                                                                       \
  void GLENTRY __gllc_##Name##v DL_PARAMS_2(Name##v) {                                    \
    DlOp_##Name##v::CompileCorners(kRow_##Name##v, a0, a1);                               \
  }

#define DL_GEN_PNAME(Name, arity, contents, Check)                                              \
  DL_ARITY(Name, arity)                                                                         \
  DL_OP(Name, DL_EXPAND(DlPnameOp<&GlDispatchState::Name, GlSig_##Name, __gl##Name##_size, Check>), \
        contents)                                                                               \
  void GLENTRY __gllc_##Name DL_PARAMS_##arity(Name) {                                          \
    DlOp_##Name::Compile(kRow_##Name DL_ARGS_##arity);                                          \
  }

// Compiled through the vector routine; the scalar's own code is never
// produced.
#define DL_GEN_SCALAR(Name, arity, Vector)                                                    \
  DL_ARITY(Name, arity)                                                                       \
  void GLENTRY __gllc_##Name DL_PARAMS_##arity(Name) {                                        \
    DlPnameOp<&GlDispatchState::Vector, GlSig_##Vector, __gl##Vector##_size,                  \
              NoCheck>::CompileScalar(__gllc_##Vector DL_ARGS_##arity);                       \
  }

#define DL_GEN_MODE(Name, mode)                                \
  const GLubyte *__glle_##Name(const GLubyte *data) {         \
    __glGetTLSCXValue()->dispatch.Begin(mode);                 \
    return data;                                               \
  }

#define DL_GEN_CUSTOM(Name)
#define DL_GEN_SHARED(Name, Exec)
#define DL_GEN_EXPANDED(Name)
#define DL_GEN_BEGIN(Name)
#define DL_GEN_ERROR(Name)
#define DL_GEN_MATERIAL(Name)

#define DL_GEN_ROW(code, kind, ...) DL_GEN_##kind(__VA_ARGS__)
GL_DLIST_OPS(DL_GEN_ROW)
#undef DL_GEN_ROW

const GLubyte *__glle_DrawArraysEXT(const GLubyte *data) { return data; }
