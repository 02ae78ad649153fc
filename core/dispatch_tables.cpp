// The three static dispatch tables, generated from the slot table.
#include <array>
#include <type_traits>

#include "core/dispatch.h"
#include "core/dispatch_nop.h"
#include "core/dispatch_pending.h"
#include "core/gl_entries.h"

namespace {

// ---- Procedures not built yet (see dispatch_pending.h) ----------------------------

enum class Table { kImmediate, kListCompile };

// Does nothing and returns 0, with the slot's own signature. Immediate and
// list-compile stand-ins are distinct procedures, so the tables still show
// which of the two a slot holds.
template <Table T, typename F>
struct StandIn;
template <Table T, typename R, typename... A>
struct StandIn<T, R(A...)> {
  static R GLENTRY Proc(A...) {
    if constexpr (std::is_void_v<R>)
      return;
    else
      return R();
  }
};

typedef std::array<bool, GL_SLOT_COUNT> SlotSet;

// Marked slot by slot, so that either list may run empty before the other.
#define GL_PENDING_MARK(Name) set[GL_SLOT_##Name] = true;
constexpr SlotSet kPendingImmediate = [] {
  SlotSet set{};
  GL_PENDING_IMMEDIATE(GL_PENDING_MARK)
  return set;
}();
constexpr SlotSet kPendingListCompile = [] {
  SlotSet set{};
  GL_PENDING_LIST_COMPILE(GL_PENDING_MARK)
  return set;
}();
#undef GL_PENDING_MARK

#define GL_SLOT_COMPILED_COMPILED true
#define GL_SLOT_COMPILED_IMMEDIATE false
#define GL_SLOT_COMPILED(s, Name, words, list, Ret, params) GL_SLOT_COMPILED_##list,
constexpr bool kCompiled[GL_SLOT_COUNT] = {GL_SLOTS(GL_SLOT_COMPILED)};
#undef GL_SLOT_COMPILED

constexpr bool ListCompilePendingOnlyForCompiledSlots() {
  for (int s = 0; s < GL_SLOT_COUNT; ++s)
    if (kPendingListCompile[s] && !kCompiled[s]) return false;
  return true;
}
static_assert(ListCompilePendingOnlyForCompiledSlots(),
              "a slot that is not compiled has no list-compile procedure to wait for");

constexpr int CountCompiled() {
  int n = 0;
  for (bool c : kCompiled) n += c;
  return n;
}
static_assert(CountCompiled() == 285, "285 slots are compiled into lists, 73 run at once");

// The procedure a slot holds in table T: the real one once it is built, else
// the stand-in. The real procedure is named only in the branch that is kept,
// so a procedure still pending is never referenced.
#define GL_DEFINE_PICK(Pick, T, Name, real)   \
  template <bool Pending>                     \
  constexpr GlProc_##Name Pick##_##Name() {   \
    if constexpr (Pending)                    \
      return &StandIn<T, GlSig_##Name>::Proc; \
    else                                      \
      return &real;                           \
  }

#define GL_PICK_IMMEDIATE(s, Name, words, list, Ret, params) \
  GL_DEFINE_PICK(Immediate, Table::kImmediate, Name, __glim_##Name)
GL_SLOTS(GL_PICK_IMMEDIATE)
#undef GL_PICK_IMMEDIATE

#define GL_PICK_LIST_IMMEDIATE(Name)
#define GL_PICK_LIST_COMPILED(Name) \
  GL_DEFINE_PICK(ListCompile, Table::kListCompile, Name, __gllc_##Name)
#define GL_PICK_LIST_COMPILE(s, Name, words, list, Ret, params) GL_PICK_LIST_##list(Name)
GL_SLOTS(GL_PICK_LIST_COMPILE)
#undef GL_PICK_LIST_COMPILE
#undef GL_DEFINE_PICK

}  // namespace

#define GL_IMMEDIATE_ENTRY(s, Name, words, list, Ret, params) \
  .Name = Immediate_##Name<kPendingImmediate[s]>(),
constinit const GlDispatchState __glImmedState = {
    .count = GL_SLOT_CORE_COUNT,
    GL_SLOTS(GL_IMMEDIATE_ENTRY).zero = {0, 0, 0}};
#undef GL_IMMEDIATE_ENTRY

#define GL_LIST_ENTRY_COMPILED(s, Name) ListCompile_##Name<kPendingListCompile[s]>()
#define GL_LIST_ENTRY_IMMEDIATE(s, Name) Immediate_##Name<kPendingImmediate[s]>()
#define GL_LIST_ENTRY(s, Name, words, list, Ret, params) .Name = GL_LIST_ENTRY_##list(s, Name),
constinit const GlDispatchState __glListCompState = {
    .count = GL_SLOT_CORE_COUNT,
    GL_SLOTS(GL_LIST_ENTRY).zero = {0, 0, 0}};
#undef GL_LIST_ENTRY

const GlDispatchState __glNopDispatchState = GL_NOP_DISPATCH_INITIALIZER;
