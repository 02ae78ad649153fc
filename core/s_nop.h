// Procedures that do nothing, for slots that have nothing to do, so that no
// caller ever tests a slot for null. They are typed by the number of 32-bit
// argument words they take.
#pragma once

#include <stdint.h>

#include "core/calling.h"

struct GlContext;

// Internal procedures (plain cdecl, the caller pops): N words, the first
// (from N = 1) being the context.
void __glNop0(void);
void __glNop1(GlContext *gc);
void __glNop2(GlContext *gc, uint32_t);
void __glNop3(GlContext *gc, uint32_t, uint32_t);
void __glNop4(GlContext *gc, uint32_t, uint32_t, uint32_t);
void __glNop5(GlContext *gc, uint32_t, uint32_t, uint32_t, uint32_t);
void __glNop6(GlContext *gc, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
// The register-convention twin of __glNop4: the callee pops its two stack
// words, so a cdecl no-op would unbalance the caller's stack.
void GLFASTCALL __glNopFast4(GlContext *gc, uint32_t, uint32_t, uint32_t);

// A GL entry of one argument word (callee-pops): the initial per-element
// procedure of the client arrays.
void GLENTRY __glAPINop1(uint32_t);

// GL entries of N argument words (callee-pops) that return 0: the no-op
// dispatch table.
uint32_t GLENTRY __glnop_Nop0(void);
uint32_t GLENTRY __glnop_Nop1(uint32_t);
uint32_t GLENTRY __glnop_Nop2(uint32_t, uint32_t);
uint32_t GLENTRY __glnop_Nop3(uint32_t, uint32_t, uint32_t);
uint32_t GLENTRY __glnop_Nop4(uint32_t, uint32_t, uint32_t, uint32_t);
uint32_t GLENTRY __glnop_Nop5(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
uint32_t GLENTRY __glnop_Nop6(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
uint32_t GLENTRY __glnop_Nop7(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                              uint32_t);
uint32_t GLENTRY __glnop_Nop8(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                              uint32_t, uint32_t);
uint32_t GLENTRY __glnop_Nop9(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                              uint32_t, uint32_t, uint32_t);
uint32_t GLENTRY __glnop_Nop10(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                               uint32_t, uint32_t, uint32_t, uint32_t);
uint32_t GLENTRY __glnop_Nop12(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                               uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
uint32_t GLENTRY __glnop_Nop14(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                               uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                               uint32_t, uint32_t);

// The internal no-op for a procedure slot of type Slot (a pointer to a cdecl
// procedure whose arguments are all words): __glNopN, N its argument count.
// The caller pops cdecl arguments, so a no-op of the right word count stands
// in for any such slot:  gc->procs.primVertex = __glNopProc<decltype(gc->procs.primVertex)>();
template <typename Slot>
struct GlNopFor;
template <typename... A>
struct GlNopFor<void (*)(A...)> {
  static_assert(((sizeof(A) == 4) && ...), "internal no-ops take word arguments");
  static_assert(sizeof...(A) <= 6, "no-ops take at most six words");
  typedef void (*Slot)(A...);
  template <typename P>
  static Slot Cast(P proc) {  // through void (*)(void), the type of "some procedure"
    return reinterpret_cast<Slot>(reinterpret_cast<void (*)(void)>(proc));
  }
  static Slot Get() {
    constexpr unsigned n = sizeof...(A);
    if constexpr (n == 0) return Cast(&__glNop0);
    else if constexpr (n == 1) return Cast(&__glNop1);
    else if constexpr (n == 2) return Cast(&__glNop2);
    else if constexpr (n == 3) return Cast(&__glNop3);
    else if constexpr (n == 4) return Cast(&__glNop4);
    else if constexpr (n == 5) return Cast(&__glNop5);
    else return Cast(&__glNop6);
  }
};
// Fastcall slots (the triangle render slots) take the fastcall no-op.
template <typename... A>
struct GlNopFor<void(GLFASTCALL *)(A...)> {
  static_assert(((sizeof(A) == 4) && ...), "internal no-ops take word arguments");
  static_assert(sizeof...(A) == 4, "only four-word fastcall no-ops exist");
  typedef void(GLFASTCALL *Slot)(A...);
  static Slot Get() {
    return reinterpret_cast<Slot>(reinterpret_cast<void (*)(void)>(&__glNopFast4));
  }
};
template <typename Slot>
inline Slot __glNopProc() {
  return GlNopFor<Slot>::Get();
}
