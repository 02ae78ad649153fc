// The execute tables and the slot-to-op map, generated from the op table
// and checked against the dispatch slots at compile time.
#include "dlist/dl_tables.h"

#include <array>

#include "core/dispatch.h"
#include "dlist/dl_error_ops.h"
#include "dlist/dl_list_ops.h"
#include "dlist/dl_ops.h"

namespace {

// ---- Execute routine of each row, in code order ----
#define DL_EXEC_VALUE(Name, ...) __glle_##Name
#define DL_EXEC_ORDERED(Name, ...) __glle_##Name
#define DL_EXEC_VECTOR(Name, ...) __glle_##Name##v
#define DL_EXEC_ARRAY(Name, ...) __glle_##Name
#define DL_EXEC_RECT(Name) __glle_##Name##v
#define DL_EXEC_PNAME(Name, ...) __glle_##Name
#define DL_EXEC_SCALAR(Name, arity, Vector) __glle_##Vector
#define DL_EXEC_CUSTOM(Name) __glle_##Name
#define DL_EXEC_SHARED(Name, Exec) __glle_##Exec
#define DL_EXEC_EXPANDED(Name) __glle_DrawArraysEXT
#define DL_EXEC_BEGIN(Name) nullptr
#define DL_EXEC_MODE(Name, ...) __glle_##Name
#define DL_EXEC_ERROR(Name) __glle_##Name
#define DL_EXEC_MATERIAL(Name) __glle_##Name
#define DL_EXEC_ROW(code, kind, ...) DL_EXEC_##kind(__VA_ARGS__),

struct ExecTables {
  GlDlistExecProc list[GL_DLIST_EXEC_TABLE_SIZE];
  GlDlistExecProc generic[GL_DLIST_GENERIC_OPS];
};
constinit const ExecTables kExec = {GL_DLIST_OPS(DL_EXEC_ROW)};

// ---- The rows are the codes 0-209 and 1000-1015, in order ----
#define DL_CODE_ROW(code, kind, ...) code,
constexpr int kCodes[] = {GL_DLIST_OPS(DL_CODE_ROW)};
constexpr bool CodesInOrder() {
  if (std::size(kCodes) != GL_DLIST_EXEC_TABLE_SIZE + GL_DLIST_GENERIC_OPS) return false;
  for (int i = 0; i < GL_DLIST_EXEC_TABLE_SIZE; ++i)
    if (kCodes[i] != i) return false;
  for (int i = 0; i < GL_DLIST_GENERIC_OPS; ++i)
    if (kCodes[GL_DLIST_EXEC_TABLE_SIZE + i] != GL_DLOP_FirstGeneric + i) return false;
  return true;
}
static_assert(CodesInOrder(), "one row per op code, 0-209 then 1000-1015");

// ---- The slots whose calls each row records ----
struct Recorded {
  int slot;
  int code;
};
#define DL_SLOT(Name, code) Recorded{GL_SLOT_##Name, code},
#define DL_SLOTS_VALUE(code, Name, ...) DL_SLOT(Name, code)
#define DL_SLOTS_ORDERED(code, Name, ...) DL_SLOT(Name, code)
#define DL_SLOTS_VECTOR(code, Name, ...) DL_SLOT(Name, code) DL_SLOT(Name##v, code)
#define DL_SLOTS_ARRAY(code, Name, ...) DL_SLOT(Name, code)
#define DL_SLOTS_RECT(code, Name) DL_SLOT(Name, code) DL_SLOT(Name##v, code)
#define DL_SLOTS_PNAME(code, Name, ...) DL_SLOT(Name, code)
#define DL_SLOTS_SCALAR(code, Name, arity, Vector) DL_SLOT(Name, GL_DLOP_##Vector)
#define DL_SLOTS_CUSTOM(code, Name) DL_SLOT(Name, code)
#define DL_SLOTS_SHARED(code, Name, Exec) DL_SLOT(Name, code)
#define DL_SLOTS_EXPANDED(code, Name) DL_SLOT(Name, -1)
#define DL_SLOTS_BEGIN(code, Name) DL_SLOT(Name, code)
#define DL_SLOTS_MODE(code, ...)
#define DL_SLOTS_ERROR(code, Name)
#define DL_SLOTS_MATERIAL(code, Name)
#define DL_SLOTS_ROW(code, kind, ...) DL_SLOTS_##kind(code, __VA_ARGS__)
constexpr Recorded kRecorded[] = {GL_DLIST_OPS(DL_SLOTS_ROW)};

#define DL_COMPILED_COMPILED true
#define DL_COMPILED_IMMEDIATE false
#define DL_COMPILED(s, Name, words, list, Ret, params) DL_COMPILED_##list,
constexpr bool kCompiled[GL_SLOT_COUNT] = {GL_SLOTS(DL_COMPILED)};

// Every compiled slot is recorded by exactly one row, and no immediate one is.
constexpr bool SlotsCovered() {
  int rows[GL_SLOT_COUNT] = {};
  for (const Recorded &r : kRecorded) {
    if (!kCompiled[r.slot]) return false;
    rows[r.slot]++;
  }
  for (int s = 0; s < GL_SLOT_COUNT; ++s)
    if (rows[s] != (kCompiled[s] ? 1 : 0)) return false;
  return true;
}
static_assert(SlotsCovered(), "the op table and the slot table disagree");

constexpr std::array<int, GL_SLOT_COUNT> kOpOfSlot = [] {
  std::array<int, GL_SLOT_COUNT> op{};
  op.fill(-1);
  for (const Recorded &r : kRecorded) op[r.slot] = r.code;
  return op;
}();

}  // namespace

const GlDlistExecProc (&__glListExecTable)[GL_DLIST_EXEC_TABLE_SIZE] = kExec.list;
const GlDlistExecProc (&__gl_GenericDlOps)[GL_DLIST_GENERIC_OPS] = kExec.generic;

int __glDlistOpOfSlot(int slot) {
  return slot >= 0 && slot < GL_SLOT_COUNT ? kOpOfSlot[size_t(slot)] : -1;
}
