// The three static dispatch tables, generated from the slot table.
#include "core/dispatch.h"
#include "core/dispatch_nop.h"
#include "core/gl_entries.h"

namespace {

#define GL_SLOT_COMPILED_COMPILED true
#define GL_SLOT_COMPILED_IMMEDIATE false
#define GL_SLOT_COMPILED(s, Name, words, list, Ret, params) GL_SLOT_COMPILED_##list,
constexpr bool kCompiled[GL_SLOT_COUNT] = {GL_SLOTS(GL_SLOT_COMPILED)};
#undef GL_SLOT_COMPILED

constexpr int CountCompiled() {
  int n = 0;
  for (bool c : kCompiled) n += c;
  return n;
}
static_assert(CountCompiled() == 285, "285 slots are compiled into lists, 73 run at once");

}  // namespace

#define GL_IMMEDIATE_ENTRY(s, Name, words, list, Ret, params) .Name = &__glim_##Name,
constinit const GlDispatchState __glImmedState = {
    .count = GL_SLOT_CORE_COUNT,
    GL_SLOTS(GL_IMMEDIATE_ENTRY).zero = {0, 0, 0}};
#undef GL_IMMEDIATE_ENTRY

#define GL_LIST_ENTRY_COMPILED(s, Name) &__gllc_##Name
#define GL_LIST_ENTRY_IMMEDIATE(s, Name) &__glim_##Name
#define GL_LIST_ENTRY(s, Name, words, list, Ret, params) .Name = GL_LIST_ENTRY_##list(s, Name),
constinit const GlDispatchState __glListCompState = {
    .count = GL_SLOT_CORE_COUNT,
    GL_SLOTS(GL_LIST_ENTRY).zero = {0, 0, 0}};
#undef GL_LIST_ENTRY

const GlDispatchState __glNopDispatchState = GL_NOP_DISPATCH_INITIALIZER;
