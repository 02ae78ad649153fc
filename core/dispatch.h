// The dispatch: 358 entry procedures that every GL command goes through. The
// operating system's GL library reads a context's current table word by word,
// so the record is exactly 362 words: the count, the slots, three zero words.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "core/calling.h"
#include "core/gl_defs.h"
#include "core/gl_slots.h"

struct GlContext;

// Slot numbers by name: GL_SLOT_Color3f == 13.
enum GlSlot {
#define GL_SLOT_ENUM(s, Name, words, list, Ret, params) GL_SLOT_##Name = s,
  GL_SLOTS(GL_SLOT_ENUM)
#undef GL_SLOT_ENUM
};

// Each slot's signature, as a plain function type (GlSig_Color3f) and as the
// callee-pops entry pointer the table holds (GlProc_Color3f).
#define GL_SLOT_TYPES(s, Name, words, list, Ret, params) \
  typedef Ret GlSig_##Name params;                      \
  typedef Ret(GLENTRY *GlProc_##Name) params;
GL_SLOTS(GL_SLOT_TYPES)
#undef GL_SLOT_TYPES

typedef struct GlDispatchState {
  uint32_t count;  // GL_SLOT_CORE_COUNT
#define GL_SLOT_FIELD(s, Name, words, list, Ret, params) GlProc_##Name Name;
  GL_SLOTS(GL_SLOT_FIELD)
#undef GL_SLOT_FIELD
  uint32_t zero[3];
} GlDispatchState;

static_assert(sizeof(GlDispatchState) == 362 * 4, "a dispatch table is 362 words");
#define GL_SLOT_OFFSET(s, Name, words, list, Ret, params) \
  static_assert(offsetof(GlDispatchState, Name) == 4 * (1 + s), "slot s is word 1 + s");
GL_SLOTS(GL_SLOT_OFFSET)
#undef GL_SLOT_OFFSET

// 32-bit words a call of this signature pushes: a GLdouble takes two, every
// other argument one. Checked against each row's word count.
template <typename F>
struct GlArgWords;
template <typename R, typename... A>
struct GlArgWords<R(A...)> {
  static_assert(((sizeof(A) == 8 || sizeof(A) <= 4) && ...), "arguments are words or doubles");
  static constexpr int value = (0 + ... + int((sizeof(A) + 3) / 4));
};
#define GL_SLOT_WORDS(s, Name, words, list, Ret, params) \
  static_assert(GlArgWords<GlSig_##Name>::value == words, "argument words of gl" #Name);
GL_SLOTS(GL_SLOT_WORDS)
#undef GL_SLOT_WORDS

// A slot as the operating system reads it: an untyped entry address.
typedef void(GLENTRY *GlDispatchWord)(void);

inline GlDispatchWord __glDispatchSlot(const GlDispatchState *table, unsigned slot) {
  GlDispatchWord word;
  memcpy(&word, reinterpret_cast<const char *>(table) + 4 * (1 + slot), sizeof word);
  return word;
}
inline void __glSetDispatchSlot(GlDispatchState *table, unsigned slot, GlDispatchWord word) {
  memcpy(reinterpret_cast<char *>(table) + 4 * (1 + slot), &word, sizeof word);
}

// The three static tables; never written.
extern const GlDispatchState __glImmedState;        // __glim_X in every slot
extern const GlDispatchState __glListCompState;     // __gllc_X, or __glim_X where not compiled
extern const GlDispatchState __glNopDispatchState;  // __glnop_NopN, N = the slot's words

// Copies the table unless the two are the same or either is null; then, when
// the destination is the current context's `dispatch`, hands a non-null
// source to the operating system (also when nothing was copied).
void __glCopyDispatch(const GlDispatchState *source, GlDispatchState *destination);
// The current context's `dispatch`: the table the operating system calls.
GlDispatchState *__glGetCurrentDispatch(void);
// Fills the current context's `dispatch` with the no-op table, without
// handing it to the operating system: the caller is about to publish it.
void __glCoreNopDispatch(void);
// Export slot of a context: its `dispatch`.
GlDispatchState *__glDispatchExec(GlContext *gc);
